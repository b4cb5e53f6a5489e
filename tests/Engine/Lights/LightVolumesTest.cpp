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

TEST(ConeGenerator, AddsSixNMinusSixVerticesOfFourFloatsEndingInOne)
{
    for (int segments : {3, 24, 36}) {
        std::vector<float> vertices{9.0f, 9.0f, 9.0f, 1.0f}; // appending keeps what was there
        appendCone(vertices, segments, 2.0f, 5.0f);
        ASSERT_EQ(vertexCount(vertices), static_cast<size_t>(1 + coneVertexCount(segments)));
        for (size_t i = 0; i < vertexCount(vertices); ++i)
            EXPECT_EQ(vertices[i * floatsPerVertex + 3], 1.0f);
    }
    std::vector<float> spot, shaft;
    buildSpotVolume(spot, 1.0f, 1.0f);
    buildShaft(shaft, 1.0f, 1.0f);
    EXPECT_EQ(vertexCount(spot), 210u);
    EXPECT_EQ(vertexCount(shaft), 9u * 138u);
}

TEST(ConeGenerator, EveryTriangleRunsCounterClockwiseSeenFromOutside)
{
    std::vector<float> cone;
    appendCone(cone, volumeSegments, 4.0f, 10.0f);
    for (size_t t = 0; t < vertexCount(cone) / 3; ++t) {
        Vec3 a = vertexAt(cone, t * 3), b = vertexAt(cone, t * 3 + 1), c = vertexAt(cone, t * 3 + 2);
        Vec3 frontNormal = cross(b - a, c - a); // points to the side that sees the triangle counter-clockwise
        Vec3 centroid = (a + b + c) * (1.0f / 3.0f);
        bool onBase = a.z == -10.0f && b.z == -10.0f && c.z == -10.0f;
        if (onBase) {
            EXPECT_LT(frontNormal.z, 0.0f) << "base triangle " << t;
        } else {
            Vec3 awayFromAxis{centroid.x, centroid.y, 0.0f};
            EXPECT_GT(dot(frontNormal, awayFromAxis), 0.0f) << "side triangle " << t;
        }
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
    EXPECT_NEAR(boxMax.x, 10.0f, 1e-4f);
    EXPECT_NEAR(boxMin.y, -10.0f, 1e-4f);
    EXPECT_NEAR(boxMax.y, 10.0f, 1e-4f);
    EXPECT_EQ(boxMin.z, -10.0f);
    EXPECT_EQ(boxMax.z, 0.0f);
    EXPECT_EQ(vertexAt(cone, 0), (Vec3{0.0f, 0.0f, 0.0f})); // the apex leads the first side triangle
    EXPECT_EQ(vertexAt(cone, 2), (Vec3{0.0f, 10.0f * std::tan(0.7853982f), -10.0f})); // p0 = (0, r, -L)
}

TEST(ConeGenerator, ShaftConesShrinkFromNineTenthsOfAFourteenthOfTheRadiusAtATenthOfTheLength)
{
    std::vector<float> shaft;
    buildShaft(shaft, 140.0f, 200.0f);
    const size_t perCone = static_cast<size_t>(coneVertexCount(shaftSegments));
    for (int k = 0; k < shaftConeCount; ++k) {
        std::vector<float> one(shaft.begin() + k * perCone * floatsPerVertex,
                               shaft.begin() + (k + 1) * perCone * floatsPerVertex);
        Vec3 boxMin, boxMax;
        vertexBounds(one, boxMin, boxMax);
        EXPECT_NEAR(boxMax.y, 10.0f * (0.9f - 0.1f * static_cast<float>(k)), 1e-4f) << "cone " << k;
        EXPECT_EQ(boxMin.z, -20.0f);
    }
}

TEST(VertexBounds, EmptyListGivesTheInvertedStartBox)
{
    Vec3 boxMin, boxMax;
    vertexBounds({}, boxMin, boxMax);
    EXPECT_EQ(boxMin, (Vec3{1e6f, 1e6f, 1e6f}));
    EXPECT_EQ(boxMax, (Vec3{-1e6f, -1e6f, -1e6f}));
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
