#include "Engine/Lights/LightVolumes.h"

#include <gtest/gtest.h>

using namespace lightvolume;

namespace {

Vec3 vertexAt(const std::vector<float>& v, size_t index)
{
    return {v[index * floatsPerVertex], v[index * floatsPerVertex + 1], v[index * floatsPerVertex + 2]};
}

} // namespace

// Light volumes are drawn with back faces culled: a triangle wound the wrong
// way leaves a hole in the light. (The cone's extent is checked through the
// spot light's world box.)
TEST(ConeGenerator, AppendsTrianglesCounterClockwiseSeenFromOutside)
{
    std::vector<float> cone{9.0f, 9.0f, 9.0f, 1.0f}; // appending keeps what was there
    appendCone(cone, volumeSegments, 4.0f, 10.0f);
    ASSERT_EQ(vertexAt(cone, 0), (Vec3{9.0f, 9.0f, 9.0f}));
    cone.erase(cone.begin(), cone.begin() + floatsPerVertex);
    EXPECT_EQ(vertexAt(cone, 0), (Vec3{0.0f, 0.0f, 0.0f})); // the apex leads the first side triangle
    for (size_t t = 0; t < cone.size() / floatsPerVertex / 3; ++t) {
        Vec3 a = vertexAt(cone, t * 3), b = vertexAt(cone, t * 3 + 1), c = vertexAt(cone, t * 3 + 2);
        Vec3 frontNormal = cross(b - a, c - a);
        Vec3 centroid = (a + b + c) * (1.0f / 3.0f);
        if (a.z == -10.0f && b.z == -10.0f && c.z == -10.0f)
            EXPECT_LT(frontNormal.z, 0.0f) << "base triangle " << t;
        else
            EXPECT_GT(dot(frontNormal, Vec3{centroid.x, centroid.y, 0.0f}), 0.0f) << "side triangle " << t;
        EXPECT_EQ(cone[t * 3 * floatsPerVertex + 3], 1.0f);
    }
}
