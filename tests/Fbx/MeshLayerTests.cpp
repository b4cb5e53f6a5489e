// Mesh layer lookups for every mapping and reference mode, as the engine's
// mesh extraction reads them, and the answers for corners out of range.
#include <gtest/gtest.h>

#include "Fbx/Mesh.h"

namespace fbx {
namespace {

// A triangle (0,1,2) and a quad (2,1,3,4): 7 corners, 5 control points.
Mesh makeMesh() {
  Mesh m;
  m.controlPoints.resize(5);
  m.addPolygon({0, 1, 2});
  m.addPolygon({2, 1, 3, 4});
  m.layers.push_back({});
  return m;
}

// Element whose value i is (i, 0, 0), so a lookup reveals the direct index.
LayerElement numbered(MappingMode mapping, ReferenceMode reference, int count, std::vector<int32_t> index = {}) {
  LayerElement e{"", mapping, reference, 3, {}, std::move(index)};
  for (int i = 0; i < count; ++i) e.direct.insert(e.direct.end(), {double(i), 0, 0});
  return e;
}

TEST(MeshLayers, NormalsInEachModeAndCornersAndMaterialsOutOfRange) {
  using M = MappingMode;
  using R = ReferenceMode;
  const struct {
    const char* name;
    LayerElement element;
    int polygon, corner;
    int expected;  // direct index, or -1 for "no normal"
  } cases[] = {
      {"by corner, index -1 is unmapped", numbered(M::ByPolygonVertex, R::IndexToDirect, 3, {0, 1, 2, -1, 1, 0, 1}),
       1, 0, -1},
      {"all same", numbered(M::AllSame, R::Direct, 1), 1, 1, 0},
      {"indexed without an index array reads directly", numbered(M::ByPolygonVertex, R::IndexToDirect, 7), 1, 1, 4},
      {"index past the direct array", numbered(M::ByPolygonVertex, R::IndexToDirect, 2, {0, 0, 0, 0, 0, 9, 0}), 1,
       2, -1},
      {"direct array too short", numbered(M::ByPolygonVertex, R::Direct, 3), 1, 2, -1},
      {"corner out of range", numbered(M::ByPolygonVertex, R::Direct, 7), 0, 3, -1},
      {"polygon out of range", numbered(M::ByPolygonVertex, R::Direct, 7), 2, 0, -1},
      {"no mapping", numbered(M::None, R::Direct, 7), 0, 0, -1},
  };
  for (const auto& c : cases) {
    Mesh m = makeMesh();
    m.normals.push_back(c.element);
    m.layers[0].normals = 0;
    Vec3 out{-7, -7, -7};
    const bool found = m.polygonVertexNormal(c.polygon, c.corner, out);
    EXPECT_EQ(found, c.expected >= 0) << c.name;
    EXPECT_EQ(out.x, c.expected >= 0 ? c.expected : -7) << c.name;
  }
  const Mesh m = makeMesh();
  EXPECT_EQ(m.polygonVertex(1, 3), 4);
  EXPECT_EQ(m.polygonVertex(1, 4), -1);
  EXPECT_EQ(m.polygonVertex(-1, 0), -1);
  EXPECT_EQ(m.polygonSize(2), -1);
  const MaterialElement byPolygon{MappingMode::ByPolygon, ReferenceMode::IndexToDirect, {1, 0}};
  EXPECT_EQ(byPolygon.materialOf(1), 0);
  EXPECT_EQ(byPolygon.materialOf(2), -1);
  EXPECT_EQ((MaterialElement{MappingMode::ByPolygon, ReferenceMode::Direct, {}}).materialOf(0), -1);
}

}  // namespace
}  // namespace fbx
