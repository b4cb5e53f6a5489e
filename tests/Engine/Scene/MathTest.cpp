#include "Engine/Scene/Math.h"

#include <gtest/gtest.h>

namespace {

void expectNear(Vec3 actual, Vec3 expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

} // namespace

TEST(Mat4, IsColumnMajorWithTranslationInTwelveToFourteen)
{
    Mat4 t = Mat4::translation(1, 2, 3);
    EXPECT_EQ(t[12], 1.0f);
    EXPECT_EQ(t[13], 2.0f);
    EXPECT_EQ(t[14], 3.0f);
    EXPECT_EQ(t.at(0, 3), 1.0f);
    expectNear(t.transformPoint({1, 1, 1}), {2, 3, 4});
    expectNear(t.transformDirection({1, 1, 1}), {1, 1, 1});
}

TEST(Mat4, ProductAppliesTheRightFactorFirst)
{
    Mat4 m = Mat4::translation(10, 0, 0) * Mat4::scaling(2, 2, 2);
    expectNear(m.transformPoint({1, 1, 1}), {12, 2, 2});
    Mat4 n = Mat4::scaling(2, 2, 2) * Mat4::translation(10, 0, 0);
    expectNear(n.transformPoint({1, 1, 1}), {22, 2, 2});
}

TEST(Mat4, RotationsAreRightHandedInDegrees)
{
    expectNear(Mat4::rotationY(90).transformPoint({0, 0, 1}), {1, 0, 0});
    expectNear(Mat4::rotationY(90).transformPoint({1, 0, 0}), {0, 0, -1});
    expectNear(Mat4::rotation(90, {0, 0, 2}).transformPoint({1, 0, 0}), {0, 1, 0});
    expectNear(Mat4::rotation(90, {1, 0, 0}).transformPoint({0, 1, 0}), {0, 0, 1});
}

TEST(Mat4, InverseUndoesAnAffineTransform)
{
    Mat4 m = Mat4::translation(3, -4, 5) * Mat4::rotation(33, {1, 2, 3}) * Mat4::scaling(2, 3, 0.5f);
    Mat4 identity = m * m.inverse();
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(identity[i], i % 5 == 0 ? 1.0f : 0.0f, 1e-5f) << i;
    expectNear(m.inverse().transformPoint(m.transformPoint({7, 8, 9})), {7, 8, 9}, 1e-4f);
}

TEST(Mat4, SingularInverseIsIdentity)
{
    EXPECT_EQ(Mat4::scaling(1, 0, 1).inverse(), Mat4::identity());
}

TEST(Mat4, LookAtPutsTheTargetOnTheNegativeZAxis)
{
    Mat4 view = lookAt({10, 5, 0}, {10, 5, -20}, {0, 1, 0});
    expectNear(view.transformPoint({10, 5, -20}), {0, 0, -20});
    Mat4 sideways = lookAt({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    expectNear(sideways.transformPoint({5, 0, 0}), {0, 0, -5});
}

TEST(Mat4, PerspectiveMapsNearAndFarToTheClipRange)
{
    Mat4 p = perspective(90, 1, 1, 100);
    Vec4 nearPoint = p * Vec4{0, 0, -1, 1};
    Vec4 farPoint = p * Vec4{0, 0, -100, 1};
    EXPECT_NEAR(nearPoint.z / nearPoint.w, -1.0f, 1e-5f);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-4f);
    Vec4 edge = p * Vec4{10, 0, -10, 1}; // 45 degrees to the side
    EXPECT_NEAR(edge.x / edge.w, 1.0f, 1e-5f);
}
