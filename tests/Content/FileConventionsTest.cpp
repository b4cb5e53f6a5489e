// Conventions every generated FBX file keeps, because the game's import
// relies on them: identity mesh transforms, triangles with per-corner
// normals, tangents, binormals and texture coordinates, materials with a
// diffuse texture and a normal map found by plain file name in "Textures/",
// and markers directly below the root.
#include <gtest/gtest.h>

#include <filesystem>

#include "Fbx/Evaluator.h"
#include "GeneratedContent.h"

namespace {

using contenttest::generatedFolder;
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

TEST_P(ContentFile, MeshNodesBelowTheRootKeepIdentityTransforms) {
  EXPECT_EQ(scene->rootNode()->name, "RootNode");
  EXPECT_FALSE(contenttest::meshNodesBelow(scene->rootNode()).empty());
  for (fbx::Node* node : contenttest::meshNodesBelow(scene->rootNode())) {
    const fbx::Matrix4 local = fbx::localMatrix(node->transform);
    for (int i = 0; i < 16; ++i) {
      ASSERT_NEAR(local[i], fbx::Matrix4()[i], 1e-12) << node->name;
    }
    for (fbx::Node* up = node->parent; up; up = up->parent) {
      ASSERT_EQ(up->transform.translation, fbx::Vec3{}) << node->name << " below moved " << up->name;
    }
  }
}

TEST_P(ContentFile, MeshesAreTrianglesWithTangentFramesPerCorner) {
  for (fbx::Node* node : contenttest::meshNodesBelow(scene->rootNode())) {
    SCOPED_TRACE(node->name);
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
  }
}

TEST_P(ContentFile, MaterialsHaveDiffuseAndNormalMapTexturesInTheTextureFolder) {
  for (fbx::Node* node : contenttest::meshNodesBelow(scene->rootNode())) {
    SCOPED_TRACE(node->name);
    ASSERT_FALSE(node->materials.empty());
    const fbx::MaterialElement* slots = node->mesh()->layerMaterials(0);
    ASSERT_NE(slots, nullptr);
    if (slots->mapping == fbx::MappingMode::ByPolygon) {
      ASSERT_EQ(slots->indices.size(), static_cast<size_t>(node->mesh()->polygonCount()));
      for (int32_t m : slots->indices) ASSERT_TRUE(m >= 0 && m < static_cast<int32_t>(node->materials.size()));
    } else {
      EXPECT_EQ(slots->mapping, fbx::MappingMode::AllSame);
      EXPECT_EQ(node->materials.size(), 1u);
    }
    for (const fbx::Material* m : node->materials) {
      for (const auto* list : {&m->diffuseTextures(), &m->normalMapTextures()}) {
        ASSERT_EQ(list->size(), 1u) << m->name;
        const fbx::Texture* t = list->front();
        EXPECT_EQ(t->fileName.find_first_of("/\\"), std::string::npos) << t->fileName;
        EXPECT_EQ(t->name, t->fileName) << "texture object named after its file";
        EXPECT_TRUE(std::filesystem::exists(generatedFolder() + "/Textures/" + t->fileName)) << t->fileName;
      }
    }
  }
}

TEST_P(ContentFile, MarkersAreSkeletonNodesDirectlyBelowTheRoot) {
  for (fbx::Node* node : scene->nodes()) {
    if (node->attributeType() != fbx::AttributeType::Skeleton) continue;
    EXPECT_EQ(node->parent, scene->rootNode()) << node->name;
    EXPECT_TRUE(node->children.empty()) << node->name;
  }
}

INSTANTIATE_TEST_SUITE_P(Generated, ContentFile, ::testing::ValuesIn(kContentFiles),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::filesystem::path(info.param).stem().string();
                         });

}  // namespace
