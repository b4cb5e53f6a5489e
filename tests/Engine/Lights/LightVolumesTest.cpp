#include "Engine/Lights/LightVolumes.h"

#include <gtest/gtest.h>

using namespace lightvolume;

// Light volumes are drawn with back faces culled: a triangle wound the wrong
// way leaves a hole in the light. Appending keeps what was there.
TEST(ConeGenerator, AppendsTrianglesCounterClockwiseSeenFromOutside)
{
    std::vector<float> cone{9.0f, 9.0f, 9.0f, 1.0f};
    appendCone(cone, volumeSegments, 4.0f, 10.0f);
    ASSERT_EQ(cone[0], 9.0f);
    auto vertex = [&](size_t index) {
        const float* v = &cone[(index + 1) * floatsPerVertex];
        return Vec3{v[0], v[1], v[2]};
    };
    EXPECT_EQ(vertex(0), (Vec3{0.0f, 0.0f, 0.0f})); // the apex leads the first side triangle
    for (size_t t = 0; t < (cone.size() / floatsPerVertex - 1) / 3; ++t) {
        Vec3 a = vertex(t * 3), b = vertex(t * 3 + 1), c = vertex(t * 3 + 2);
        Vec3 frontNormal = cross(b - a, c - a);
        Vec3 centroid = (a + b + c) * (1.0f / 3.0f);
        if (a.z == -10.0f && b.z == -10.0f && c.z == -10.0f)
            EXPECT_LT(frontNormal.z, 0.0f) << "base triangle " << t;
        else
            EXPECT_GT(dot(frontNormal, Vec3{centroid.x, centroid.y, 0.0f}), 0.0f) << "side triangle " << t;
    }
}
