#include "Engine/Scene/Math.h"

#include "SceneTestSupport.h"

#include <cmath>

// Column-major with the translation in 12..14 (as OpenGL reads it), the right
// factor of a product applied first, right-handed rotations in degrees.
TEST(Mat4, TransformsPointsAsOpenGLReadsTheMatrix)
{
    const Mat4 t = Mat4::translation(1, 2, 3);
    EXPECT_EQ(t[12], 1.0f);
    EXPECT_EQ(t.at(0, 3), 1.0f);
    expectNear(t.transformDirection({1, 1, 1}), {1, 1, 1});
    expectNear((Mat4::translation(10, 0, 0) * Mat4::scaling(2, 2, 2)).transformPoint({1, 1, 1}), {12, 2, 2});
    expectNear(Mat4::rotationY(90).transformPoint({0, 0, 1}), {1, 0, 0});
    expectNear(Mat4::rotation(90, {0, 0, 2}).transformPoint({1, 0, 0}), {0, 1, 0});
    expectNear(Mat4::rotation(90, {1, 0, 0}).transformPoint({0, 1, 0}), {0, 0, 1});
}

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

TEST(Mat4, LookAtAndPerspectiveMapTheViewToTheClipRange)
{
    expectNear(lookAt({10, 5, 0}, {10, 5, -20}, {0, 1, 0}).transformPoint({10, 5, -20}), {0, 0, -20});
    expectNear(lookAt({0, 0, 0}, {1, 0, 0}, {0, 1, 0}).transformPoint({5, 0, 0}), {0, 0, -5});
    expectNear(lookAt({0, 0, 10}, {0, -10, 0}, {0, 1, 0}).transformPoint({0, -10, 0}), {0, 0, -std::sqrt(200.0f)}, 1e-4f);
    Mat4 p = perspective(90, 1, 1, 100);
    Vec4 nearPoint = p * Vec4{0, 0, -1, 1};
    Vec4 farPoint = p * Vec4{0, 0, -100, 1};
    Vec4 edge = p * Vec4{10, 0, -10, 1}; // 45 degrees to the side
    EXPECT_NEAR(nearPoint.z / nearPoint.w, -1.0f, 1e-5f);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-4f);
    EXPECT_NEAR(edge.x / edge.w, 1.0f, 1e-5f);
}
