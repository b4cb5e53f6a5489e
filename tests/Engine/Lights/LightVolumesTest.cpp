#include "Engine/Lights/LightVolumes.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace lightvolume;

namespace {

Vec3 vertexAt(const std::vector<float>& v, size_t index)
{
    return {v[index * floatsPerVertex], v[index * floatsPerVertex + 1], v[index * floatsPerVertex + 2]};
}

size_t vertexCount(const std::vector<float>& v) { return v.size() / floatsPerVertex; }

} // namespace

// Light volumes are drawn with back faces culled: a triangle wound the wrong
// way leaves a hole in the light.
TEST(ConeGenerator, AppendsTrianglesCounterClockwiseSeenFromOutside)
{
    std::vector<float> cone{9.0f, 9.0f, 9.0f, 1.0f}; // appending keeps what was there
    appendCone(cone, volumeSegments, 4.0f, 10.0f);
    ASSERT_EQ(vertexAt(cone, 0), (Vec3{9.0f, 9.0f, 9.0f}));
    cone.erase(cone.begin(), cone.begin() + floatsPerVertex);
    for (size_t t = 0; t < vertexCount(cone) / 3; ++t) {
        Vec3 a = vertexAt(cone, t * 3), b = vertexAt(cone, t * 3 + 1), c = vertexAt(cone, t * 3 + 2);
        Vec3 frontNormal = cross(b - a, c - a); // points to the side that sees the triangle counter-clockwise
        Vec3 centroid = (a + b + c) * (1.0f / 3.0f);
        if (a.z == -10.0f && b.z == -10.0f && c.z == -10.0f)
            EXPECT_LT(frontNormal.z, 0.0f) << "base triangle " << t;
        else
            EXPECT_GT(dot(frontNormal, Vec3{centroid.x, centroid.y, 0.0f}), 0.0f) << "side triangle " << t;
        EXPECT_EQ(cone[t * 3 * floatsPerVertex + 3], 1.0f);
    }
}

TEST(ConeGenerator, OpensAlongMinusZWithTheRadiusAtItsLength)
{
    // The cone of a 90 degree spot light with range 10: radius 10 * tan(45) at distance 10.
    std::vector<float> cone;
    buildSpotVolume(cone, 10.0f * std::tan(0.7853982f), 10.0f);
    Vec3 boxMin, boxMax;
    vertexBounds(cone, boxMin, boxMax);
    EXPECT_NEAR(boxMin.x, -10.0f, 1e-4f);
    EXPECT_NEAR(boxMax.y, 10.0f, 1e-4f);
    EXPECT_EQ(boxMin.z, -10.0f);
    EXPECT_EQ(boxMax.z, 0.0f);
    EXPECT_EQ(vertexAt(cone, 0), (Vec3{0.0f, 0.0f, 0.0f})); // the apex leads the first side triangle
}

TEST(TransformBox, BoundsAllEightMovedCorners)
{
    Vec3 outMin, outMax;
    // A quarter turn about Y takes the cone's -Z extent onto -X; then a move up by 5.
    Mat4 m = Mat4::translation(0.0f, 5.0f, 0.0f) * Mat4::rotationY(90.0f);
    transformBox(m, {-1.0f, -2.0f, -10.0f}, {1.0f, 2.0f, 0.0f}, outMin, outMax);
    EXPECT_NEAR(outMin.x, -10.0f, 1e-4f);
    EXPECT_NEAR(outMax.x, 0.0f, 1e-4f);
    EXPECT_NEAR(outMin.y, 3.0f, 1e-4f);
    EXPECT_NEAR(outMax.y, 7.0f, 1e-4f);
    EXPECT_NEAR(outMin.z, -1.0f, 1e-4f);
    EXPECT_NEAR(outMax.z, 1.0f, 1e-4f);
}
