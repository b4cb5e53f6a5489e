#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/Frustum.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Camera at the origin looking down -Z, 90 degrees, near 1, far 100.
Frustum lookingDownMinusZ() { return frustumFromMatrices(perspective(90, 1, 1, 100), Mat4::identity()); }

} // namespace

TEST(Frustum, PlanesAreNormalisedAndFaceInwardsInOrder)
{
    Frustum f = lookingDownMinusZ();
    for (const Plane& p : f.planes)
        EXPECT_NEAR(std::sqrt(p.a * p.a + p.b * p.b + p.c * p.c), 1.0f, 1e-5f);
    const float s = std::sqrt(0.5f);
    EXPECT_NEAR(f.planes[RightPlane].a, -s, 1e-5f);
    EXPECT_NEAR(f.planes[LeftPlane].a, s, 1e-5f);
    EXPECT_NEAR(f.planes[TopPlane].b, -s, 1e-5f);
    EXPECT_NEAR(f.planes[BottomPlane].b, s, 1e-5f);
    EXPECT_NEAR(f.planes[FarPlane].c, 1.0f, 1e-5f);
    EXPECT_NEAR(f.planes[FarPlane].d, 100.0f, 1e-3f);
    EXPECT_NEAR(f.planes[NearPlane].c, -1.0f, 1e-5f);
    EXPECT_NEAR(f.planes[NearPlane].d, -1.0f, 1e-5f);
}

TEST(Frustum, ClassifiesBoxesInsideAcrossAndOutside)
{
    Frustum f = lookingDownMinusZ();
    EXPECT_EQ(classifyBox(f, {-1, -1, -20}, {1, 1, -10}), BoxInside);
    EXPECT_EQ(classifyBox(f, {-1, -1, -5}, {1, 1, 5}), BoxIntersecting);     // across the near plane
    EXPECT_EQ(classifyBox(f, {-1, -1, -120}, {1, 1, -90}), BoxIntersecting); // across the far plane
    EXPECT_EQ(classifyBox(f, {-1, -1, 5}, {1, 1, 10}), BoxOutside);          // behind the camera
    EXPECT_EQ(classifyBox(f, {30, -1, -20}, {40, 1, -10}), BoxOutside);      // right of the view
    EXPECT_EQ(classifyBox(f, {-1, -1, -200}, {1, 1, -150}), BoxOutside);     // beyond far
}

TEST(Frustum, VisibilityCountsStraddlingBoxes)
{
    Frustum f = lookingDownMinusZ();
    EXPECT_TRUE(isBoxVisible(f, {-1, -1, -20}, {1, 1, -10}));
    EXPECT_TRUE(isBoxVisible(f, {9, -1, -10}, {11, 1, -9}));
    EXPECT_FALSE(isBoxVisible(f, {12, -1, -10}, {13, 1, -9}));
    EXPECT_FALSE(isBoxVisible(f, {-1, -1, 1}, {1, 1, 2}));
}

TEST(Frustum, CameraStateFollowsItsMatrices)
{
    CameraView saved = currentCamera;
    // Looking down +X from (50, 0, 0).
    currentCamera.setMatrices(lookAt({50, 0, 0}, {60, 0, 0}, {0, 1, 0}), perspective(60, 4.0f / 3, 1, 500));
    EXPECT_TRUE(isBoxVisible(Vec3{100, -1, -1}, Vec3{110, 1, 1}));
    EXPECT_FALSE(isBoxVisible(Vec3{0, -1, -1}, Vec3{10, 1, 1}));
    EXPECT_EQ(classifyBox(Vec3{100, -1, -1}, Vec3{110, 1, 1}), BoxInside);
    currentCamera = saved;
}
