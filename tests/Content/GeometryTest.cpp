// Primitive builders wind outwards. The tangent frames' directions and the
// surfaces' material slots show in the reference pictures.
#include <gtest/gtest.h>

#include "Geometry.h"

namespace {

using namespace assetgen;

// Every triangle winds counter-clockwise seen from outside a convex shape
// around `centre`, and its corner normals agree with that side.
void expectOutwardWinding(const TriangleMesh& mesh, Vec3 centre) {
  ASSERT_FALSE(mesh.triangles.empty());
  for (const Triangle& t : mesh.triangles) {
    const Vec3 a = t.corners[0].position, b = t.corners[1].position, c = t.corners[2].position;
    const Vec3 n = normalized(cross(b - a, c - a));
    ASSERT_GT(dot(n, (a + b + c) * (1.0 / 3) - centre), 0);
    for (const Corner& c : t.corners) ASSERT_GT(dot(c.normal, n), 0.2);
  }
}

TEST(Primitives, ClosedShapesWindOutwards) {
  TriangleMesh box, ramp, cylinder, ball;
  addBox(box, {1, 2, 3}, {4, 6, 5}, Surface::Brick, Surface::Concrete);
  expectOutwardWinding(box, {2.5, 4, 4});
  addRamp(ramp, {0, 0, 0}, {6, 2, 2}, Surface::Concrete, Surface::Brick);
  expectOutwardWinding(ramp, {4, 0.6, 1});
  addFrustum(cylinder, {0, 0, 0}, 1.0, 0.5, 2, 12, Surface::Concrete, Surface::Gunmetal);
  expectOutwardWinding(cylinder, {0, 1, 0});
  addEllipsoid(ball, {0, 1, 0}, {1, 2, 0.5}, 16, 8, Surface::Bone);
  expectOutwardWinding(ball, {0, 1, 0});
  EXPECT_EQ(ball.triangles.size(), 2u * 16 * 8 - 2 * 16) << "no slivers at the poles";
}

}  // namespace
