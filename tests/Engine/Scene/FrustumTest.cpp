#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/Frustum.h"

#include <gtest/gtest.h>

TEST(Frustum, ClassifiesBoxesInsideAcrossAndOutside)
{
    // Camera at the origin looking down -Z, 90 degrees, near 1, far 100.
    const Frustum f = frustumFromMatrices(perspective(90, 1, 1, 100), Mat4::identity());
    struct Case {
        Vec3 lo, hi;
        BoxClass expected;
    };
    const Case cases[] = {
        {{-1, -1, -20}, {1, 1, -10}, BoxInside},
        {{-1, -1, -5}, {1, 1, 5}, BoxIntersecting},     // across the near plane
        {{-1, -1, -120}, {1, 1, -90}, BoxIntersecting}, // across the far plane
        {{9, -1, -10}, {11, 1, -9}, BoxIntersecting},   // across the right plane
        {{-1, -1, 5}, {1, 1, 10}, BoxOutside},          // behind the camera
        {{-1, -1, 1}, {1, 1, 2}, BoxOutside},           // between the camera and the near plane
        {{12, -1, -10}, {13, 1, -9}, BoxOutside},       // right of the view
        {{-1, -1, -200}, {1, 1, -150}, BoxOutside},     // beyond far
    };
    for (const Case& c : cases) {
        EXPECT_EQ(classifyBox(f, c.lo, c.hi), c.expected) << c.lo.x << "," << c.lo.z;
        EXPECT_EQ(isBoxVisible(f, c.lo, c.hi), c.expected != BoxOutside) << c.lo.x << "," << c.lo.z;
    }
}

TEST(Frustum, CameraStateFollowsItsMatrices)
{
    CameraView saved = currentCamera;
    // Looking down +X from (50, 0, 0).
    currentCamera.setMatrices(lookAt({50, 0, 0}, {60, 0, 0}, {0, 1, 0}), perspective(60, 4.0f / 3, 1, 500));
    EXPECT_FALSE(isBoxVisible(Vec3{0, -1, -1}, Vec3{10, 1, 1}));
    EXPECT_EQ(classifyBox(Vec3{100, -1, -1}, Vec3{110, 1, 1}), BoxInside);
    currentCamera = saved;
}
