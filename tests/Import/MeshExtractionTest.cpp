#include "ImportFixture.h"

#include "Import/MeshExtraction.h"

#include "Fbx/Scene.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A mesh node with `points` and polygons; layers are added by each test.
struct MeshScene {
    MeshScene(std::vector<fbx::Vec3> points, std::vector<std::vector<int32_t>> polygons)
        : node(addMeshNode(scene, "Thing", nullptr, std::move(points), std::move(polygons)))
    {
    }

    fbx::Scene scene;
    fbx::Node* node;

    fbx::Material* material(const std::string& name, const std::string& diffuse, const std::string& normal = "")
    {
        fbx::Material* m = scene.addMaterial(name);
        m->textures[fbx::Material::kDiffuse].push_back(scene.addTexture(name + "D", diffuse));
        if (!normal.empty())
            m->textures[fbx::Material::kNormalMap].push_back(scene.addTexture(name + "N", normal));
        node->materials.push_back(m);
        return m;
    }
};

// Texture ids by short name, as the texture manager would answer them.
int lookup(const std::string& shortName)
{
    static const std::map<std::string, int> ids = {{"a.png", 7}, {"b.png", 3}, {"n1.png", 20}, {"n2.png", 21}};
    auto found = ids.find(shortName);
    return found == ids.end() ? -1 : found->second;
}

const std::vector<fbx::Vec3> square = {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0.5, 0, 1.5}};

TEST(ExtractMesh, PolygonsAreFanTriangulatedAndDegenerateOnesGiveNothing)
{
    MeshScene s(square, {{0, 1, 2, 3}, {0, 2, 4}, {0, 1, 2, 4, 3}});
    MeshData mesh;
    ASSERT_TRUE(extractMeshData(*s.node, lookup, mesh));
    ASSERT_EQ(mesh.triangleCounts, std::vector<int>{6}); // 2 + 1 + 3
    ASSERT_EQ(mesh.positions.size(), 6u * 3 * 4);
    // The quad's second triangle is corners 0, 2, 3.
    std::vector<float> second(mesh.positions.begin() + 12, mesh.positions.begin() + 24);
    EXPECT_EQ(second, (std::vector<float>{0, 0, 0, 1, 1, 0, 1, 1, 0, 0, 1, 1}));
    // Without layers the other attributes are zeros and the texture unknown.
    EXPECT_EQ(mesh.normals, std::vector<float>(6 * 3 * 3, 0.0f));
    EXPECT_EQ(mesh.diffuseTextureIds[0], std::vector<int>{-1});
    EXPECT_FALSE(extractMeshData(*MeshScene(square, {{0, 1}, {2}}).node, lookup, mesh));
    EXPECT_FALSE(extractMeshData(*MeshScene(square, {}).node, lookup, mesh));
}

// Per-polygon slots group the triangles by ascending diffuse id; a slot beyond
// the node's materials (or negative) gives no texture. Without slots every
// material in turn sets the whole mesh's textures, and only the normal map
// channel gives a normal map (a "Bump" texture is a height map).
TEST(ExtractMesh, MaterialsPerPolygonOrForTheWholeMesh)
{
    MeshScene s(square, {{0, 1, 2}, {0, 2, 3, 4}, {1, 2, 3}});
    s.material("A", "C:/art/a.png", "n1.png");
    s.material("B", "b.png", "n2.png");
    s.node->mesh()->materialElements.push_back({fbx::MappingMode::ByPolygon, fbx::ReferenceMode::IndexToDirect, {0, 1, 0}});
    s.node->mesh()->layers.push_back({-1, -1, -1, -1, -1, 0});
    MeshData mesh;
    ASSERT_TRUE(extractMeshData(*s.node, lookup, mesh));
    EXPECT_EQ(mesh.diffuseTextureIds[0], (std::vector<int>{3, 7}));
    EXPECT_EQ(mesh.normalTextureIds[0], (std::vector<int>{21, 20}));
    EXPECT_EQ(mesh.triangleCounts, (std::vector<int>{2, 2}));
    // The quad (material B) comes first: its corners 0 and 1 are points 0 and 2.
    EXPECT_EQ(std::vector<float>(mesh.positions.begin(), mesh.positions.begin() + 8),
              (std::vector<float>{0, 0, 0, 1, 1, 0, 1, 1}));
    s.node->mesh()->materialElements[0].indices = {0, 2, -1};
    ASSERT_TRUE(extractMeshData(*s.node, lookup, mesh));
    EXPECT_EQ(mesh.diffuseTextureIds[0], (std::vector<int>{-1, 7}));

    s.node->mesh()->materialElements.clear();
    s.node->mesh()->layers.clear();
    s.material("C", "n2.png")->textures[fbx::Material::kBump].push_back(s.scene.addTexture("Height", "n1.png"));
    ASSERT_TRUE(extractMeshData(*s.node, lookup, mesh));
    EXPECT_EQ(mesh.diffuseTextureIds[0], std::vector<int>{21});
    EXPECT_EQ(mesh.normalTextureIds[0], std::vector<int>{21});
}

// Each attribute comes from the first layer that has it: layer 0 has normals
// and UVs, layer 1 a light map's UVs and the binormals.
TEST(ExtractMesh, LayersFollowTheirMappingModesAndTheFirstLayerWithAnAttributeWins)
{
    MeshScene s(square, {{0, 1, 2}, {0, 2, 3}});
    using M = fbx::MappingMode;
    using R = fbx::ReferenceMode;
    const fbx::LayerElement uvs{"", M::ByPolygonVertex, R::IndexToDirect, 2, {0, 0, 0.25, 0.5, 1, 1}, {1, 2, 0, 2, 2, 1}};
    fbx::LayerElement lightMap = uvs;
    lightMap.direct = {9, 9, 9, 9, 9, 9};
    const fbx::LayerElement up{"", M::ByControlPoint, R::Direct, 3, {0, 2, 0, 0, 2, 0, 0, 2, 0, 0, 2, 0, 0, 2, 0}, {}};
    s.node->mesh()->uvs = {uvs, lightMap};
    s.node->mesh()->binormals = {up};
    s.node->mesh()->normals = {up};
    s.node->mesh()->layers.push_back({0, -1, -1, 0, -1, -1});
    s.node->mesh()->layers.push_back({-1, -1, 0, 1, -1, -1});
    MeshData mesh;
    ASSERT_TRUE(extractMeshData(*s.node, lookup, mesh));
    EXPECT_EQ(mesh.texcoords, (std::vector<float>{0.25f, 0.5f, 1, 1, 0, 0, 1, 1, 1, 1, 0.25f, 0.5f}));
    EXPECT_EQ(mesh.normals[1], 1.0f);      // normalised
    EXPECT_EQ(mesh.binormals[1], 2.0f);
}

} // namespace
