// Conventions every generated FBX file keeps, because the game's import
// relies on them: identity mesh transforms, triangles with per-corner
// normals, tangents, binormals and texture coordinates, materials with a
// diffuse texture and a normal map, and markers and lights directly below
// the root (the import places both by their local transforms).
#include <gtest/gtest.h>

#include <filesystem>

#include "Fbx/Evaluator.h"
#include "GeneratedContent.h"

namespace {

using contenttest::loadGenerated;

const char* const kContentFiles[] = {
    "testlevel.fbx",         "sphere.fbx",          "GameObjects/Skull.fbx",       "GameObjects/PlayerDummy.fbx",
    "GameObjects/Pistol.fbx", "GameObjects/Flashlight.fbx", "GameObjects/MuzzleFlash.fbx", "GameObjects/Ammo9mm.fbx",
};

void expectPerCornerVectors(const fbx::LayerElement* e, const fbx::Mesh& mesh, const std::string& what) {
  ASSERT_NE(e, nullptr) << what << " missing";
  EXPECT_EQ(e->mapping, fbx::MappingMode::ByPolygonVertex) << what;
  EXPECT_EQ(e->reference, fbx::ReferenceMode::Direct) << what;
  EXPECT_EQ(e->directCount(), static_cast<size_t>(mesh.polygonVertexCount())) << what;
}

class ContentFile : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { scene = loadGenerated(GetParam()); }
  std::unique_ptr<fbx::Scene> scene;
};

TEST_P(ContentFile, MeshNodesKeepIdentityTransformsTrianglesTangentFramesAndTexturedMaterials) {
  int meshNodes = 0;
  for (fbx::Node* node : scene->nodes()) {
    if (!node->mesh()) continue;
    ++meshNodes;
    SCOPED_TRACE(node->name);
    const fbx::Matrix4 local = fbx::localMatrix(node->transform);
    for (int i = 0; i < 16; ++i) ASSERT_NEAR(local[i], fbx::Matrix4()[i], 1e-12);
    for (fbx::Node* up = node->parent; up; up = up->parent) ASSERT_EQ(up->transform.translation, fbx::Vec3{}) << up->name;
    const fbx::Mesh& mesh = *node->mesh();
    ASSERT_GT(mesh.polygonCount(), 0);
    for (int p = 0; p < mesh.polygonCount(); ++p) ASSERT_EQ(mesh.polygonSize(p), 3);
    // One control point per corner: data looked up by control point and by
    // corner then agree.
    EXPECT_EQ(mesh.controlPoints.size(), static_cast<size_t>(mesh.polygonVertexCount()));
    expectPerCornerVectors(mesh.layerNormals(0), mesh, "normals");
    expectPerCornerVectors(mesh.layerTangents(0), mesh, "tangents");
    expectPerCornerVectors(mesh.layerBinormals(0), mesh, "binormals");
    expectPerCornerVectors(mesh.layerUVs(0), mesh, "uvs");
    if (HasFailure()) return;
    for (int i = 0; i < mesh.polygonVertexCount(); ++i) {
      const fbx::Vec3 n = mesh.layerNormals(0)->vec3(i), t = mesh.layerTangents(0)->vec3(i);
      const fbx::Vec3 b = mesh.layerBinormals(0)->vec3(i);
      for (const fbx::Vec3& v : {n, t, b}) ASSERT_NEAR(assetgen::length(v), 1, 1e-6) << "corner " << i;
      ASSERT_NEAR(assetgen::dot(n, t), 0, 1e-6) << "corner " << i;
      ASSERT_NEAR(assetgen::dot(n, b), 0, 1e-6) << "corner " << i;
    }
    // A material slot for every polygon, or one material for all; each
    // material with one diffuse texture and one normal map (the import
    // test sees them load).
    const fbx::MaterialElement* slots = mesh.layerMaterials(0);
    ASSERT_NE(slots, nullptr);
    if (slots->mapping == fbx::MappingMode::ByPolygon) {
      ASSERT_EQ(slots->indices.size(), static_cast<size_t>(mesh.polygonCount()));
      for (int32_t m : slots->indices) ASSERT_TRUE(m >= 0 && m < static_cast<int32_t>(node->materials.size()));
    } else {
      EXPECT_EQ(slots->mapping, fbx::MappingMode::AllSame);
      EXPECT_EQ(node->materials.size(), 1u);
    }
    for (const fbx::Material* m : node->materials) {
      EXPECT_EQ(m->diffuseTextures().size(), 1u) << m->name;
      EXPECT_EQ(m->normalMapTextures().size(), 1u) << m->name;
    }
  }
  EXPECT_GT(meshNodes, 0);
}

TEST_P(ContentFile, MarkersAndLightsHangDirectlyBelowTheRoot) {
  for (fbx::Node* node : scene->nodes()) {
    if (node->attributeType() != fbx::AttributeType::Skeleton && !node->light()) continue;
    EXPECT_EQ(node->parent, scene->rootNode()) << node->name;
    EXPECT_TRUE(node->children.empty()) << node->name;
  }
}

INSTANTIATE_TEST_SUITE_P(Generated, ContentFile, ::testing::ValuesIn(kContentFiles),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::filesystem::path(info.param).stem().string();
                         });

}  // namespace
