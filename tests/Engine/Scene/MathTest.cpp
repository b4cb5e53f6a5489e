#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/Frustum.h"
#include "Engine/Scene/Math.h"

#include <gtest/gtest.h>

#include <cmath>

// A projective matrix uses every element of the cofactor expansion.
TEST(Mat4, InverseUndoesAProjectiveTransformAndASingularOneGivesIdentity)
{
    Mat4 m = perspective(60, 1.5f, 1, 100) * Mat4::translation(3, -4, 5) * Mat4::rotation(33, {1, 2, 3}) *
             Mat4::scaling(2, 3, 0.5f);
    const Mat4 product = m * m.inverse();
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(product[i], Mat4::identity()[i], 1e-4f) << i;
    EXPECT_EQ(Mat4::scaling(1, 0, 1).inverse(), Mat4::identity());
}

// Looking down at a target below: the view's axes take the vertical part of the direction too.
TEST(Mat4, LookAtPutsTheTargetOnTheViewAxis)
{
    EXPECT_NEAR(lookAt({0, 0, 10}, {0, -10, 0}, {0, 1, 0}).transformPoint({0, -10, 0}).z, -std::sqrt(200.0f), 1e-4f);
}

TEST(Frustum, ClassifiesBoxesInsideAcrossAndOutside)
{
    // The camera at (50, 0, 0) looking down +X, 90 degrees, near 1, far 100.
    currentCamera.setMatrices(lookAt({50, 0, 0}, {60, 0, 0}, {0, 1, 0}), perspective(90, 1, 1, 100));
    const struct {
        Vec3 lo, hi;
        BoxClass expected;
    } cases[] = {
        {{60, -1, -1}, {70, 1, 1}, BoxInside},
        {{45, -1, -1}, {55, 1, 1}, BoxIntersecting},   // across the near plane
        {{140, -1, -1}, {170, 1, 1}, BoxIntersecting}, // across the far plane
        {{59, -1, 9}, {60, 1, 11}, BoxIntersecting},   // across a side plane
        {{40, -1, -1}, {45, 1, 1}, BoxOutside},        // behind the camera
        {{50.5f, -1, -1}, {50.9f, 1, 1}, BoxOutside},  // between the camera and the near plane
        {{59, -1, 12}, {60, 1, 13}, BoxOutside},       // beside the view
    };
    for (const auto& c : cases) {
        EXPECT_EQ(classifyBox(c.lo, c.hi), c.expected) << c.lo.x << "," << c.lo.z;
        EXPECT_EQ(isBoxVisible(currentCamera.frustum, c.lo, c.hi), c.expected != BoxOutside) << c.lo.x << "," << c.lo.z;
    }
    currentCamera = CameraView{};
}
