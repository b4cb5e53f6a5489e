// Primitive builders: outward winding, tangent frames that follow the
// texture directions, and material slots of converted meshes.
#include <gtest/gtest.h>

#include <cmath>

#include "Geometry.h"
#include "SceneAssembly.h"

namespace {

using namespace assetgen;

Vec3 faceNormal(const Triangle& t) {
  return normalized(cross(t.corners[1].position - t.corners[0].position, t.corners[2].position - t.corners[0].position));
}

Vec3 centroid(const Triangle& t) {
  return (t.corners[0].position + t.corners[1].position + t.corners[2].position) * (1.0 / 3);
}

// Every triangle winds counter-clockwise seen from outside a convex shape
// around `centre`, and its corner normals agree with that side.
void expectOutwardWinding(const TriangleMesh& mesh, Vec3 centre) {
  ASSERT_FALSE(mesh.triangles.empty());
  for (const Triangle& t : mesh.triangles) {
    const Vec3 n = faceNormal(t);
    ASSERT_GT(dot(n, centroid(t) - centre), 0);
    for (const Corner& c : t.corners) ASSERT_GT(dot(c.normal, n), 0.2);
  }
}

TEST(Primitives, ClosedShapesWindOutwards) {
  TriangleMesh box, ramp, cylinder, ball;
  addBox(box, {1, 2, 3}, {4, 6, 5}, Surface::Brick, Surface::Concrete);
  EXPECT_EQ(box.triangles.size(), 12u);
  expectOutwardWinding(box, {2.5, 4, 4});
  addRamp(ramp, {0, 0, 0}, {6, 2, 2}, Surface::Concrete, Surface::Brick);
  expectOutwardWinding(ramp, {4, 0.6, 1});
  addFrustum(cylinder, {0, 0, 0}, 1.0, 0.5, 2, 12, Surface::Concrete, Surface::Gunmetal);
  expectOutwardWinding(cylinder, {0, 1, 0});
  addEllipsoid(ball, {0, 1, 0}, {1, 2, 0.5}, 16, 8, Surface::Bone);
  expectOutwardWinding(ball, {0, 1, 0});
  EXPECT_EQ(ball.triangles.size(), 2u * 16 * 8 - 2 * 16) << "no slivers at the poles";
}

TEST(TangentFrames, FollowTheTextureAxesAndStayOrthonormal) {
  TriangleMesh ball;
  addEllipsoid(ball, {0, 0, 0}, {1, 1, 1}, 12, 6, Surface::Bone, 2.0);
  addBox(ball, {2, 0, 0}, {3, 1, 1}, Surface::Brick);
  for (const Triangle& t : ball.triangles) {
    Vec3 tangents[3], binormals[3];
    triangleTangents(t, tangents, binormals);
    const Vec3 e1 = t.corners[1].position - t.corners[0].position;
    const Vec3 e2 = t.corners[2].position - t.corners[0].position;
    const double du1 = t.corners[1].uv.x - t.corners[0].uv.x, dv1 = t.corners[1].uv.y - t.corners[0].uv.y;
    const double du2 = t.corners[2].uv.x - t.corners[0].uv.x, dv2 = t.corners[2].uv.y - t.corners[0].uv.y;
    const double det = du1 * dv2 - du2 * dv1;
    const Vec3 alongU = (e1 * dv2 - e2 * dv1) * (1 / det), alongV = (e2 * du1 - e1 * du2) * (1 / det);
    for (int i = 0; i < 3; ++i) {
      ASSERT_NEAR(length(tangents[i]), 1, 1e-9);
      ASSERT_NEAR(dot(tangents[i], t.corners[i].normal), 0, 1e-9);
      ASSERT_NEAR(dot(binormals[i], t.corners[i].normal), 0, 1e-9);
      ASSERT_GT(dot(tangents[i], alongU), 0);
      ASSERT_GT(dot(binormals[i], alongV), 0);
    }
  }
}

TEST(FbxMeshConversion, OneSurfaceMapsAllPolygonsElseOneMaterialPerPolygon) {
  TriangleMesh single, mixed;
  addBox(single, {0, 0, 0}, {1, 1, 1}, Surface::Wood);
  addBox(mixed, {0, 0, 0}, {1, 1, 1}, Surface::Brick, Surface::Concrete);
  fbx::Mesh a, b;
  fillFbxMesh(single, a);
  fillFbxMesh(mixed, b);
  EXPECT_EQ(a.layerMaterials(0)->mapping, fbx::MappingMode::AllSame);
  EXPECT_EQ(a.layerMaterials(0)->indices, std::vector<int32_t>{0});
  ASSERT_EQ(b.layerMaterials(0)->mapping, fbx::MappingMode::ByPolygon);
  ASSERT_EQ(b.layerMaterials(0)->indices.size(), mixed.triangles.size());
  for (size_t p = 0; p < mixed.triangles.size(); ++p) {
    EXPECT_EQ(b.layerMaterials(0)->indices[p], mixed.triangles[p].surface == Surface::Brick ? 0 : 1);
  }
  EXPECT_EQ(b.controlPoints.size(), 3 * mixed.triangles.size());
}

}  // namespace
