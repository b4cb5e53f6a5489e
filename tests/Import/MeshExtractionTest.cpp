#include "Import/MaterialImport.h"
#include "Import/MeshExtraction.h"

#include "Fbx/Scene.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A mesh node with `points` and polygons; layers are added by each test.
struct MeshScene {
    fbx::Scene scene;
    fbx::Node* node = scene.addNode("Thing");
    fbx::Mesh* mesh = scene.addMesh("ThingMesh");

    explicit MeshScene(std::vector<fbx::Vec3> points, std::vector<std::vector<int32_t>> polygons)
    {
        fbx::Scene::setAttribute(node, mesh);
        mesh->controlPoints = std::move(points);
        for (const auto& polygon : polygons)
            mesh->addPolygon(polygon);
    }

    fbx::Material* material(const std::string& name, const std::string& diffuse, const std::string& normal = "")
    {
        fbx::Material* m = scene.addMaterial(name);
        m->textures[fbx::Material::kDiffuse].push_back(scene.addTexture(name + "D", diffuse));
        if (!normal.empty())
            m->textures[fbx::Material::kNormalMap].push_back(scene.addTexture(name + "N", normal));
        node->materials.push_back(m);
        return m;
    }

    void materialsPerPolygon(std::vector<int32_t> slots)
    {
        fbx::MaterialElement element;
        element.mapping = fbx::MappingMode::ByPolygon;
        element.indices = std::move(slots);
        mesh->materialElements.push_back(element);
        if (mesh->layers.empty())
            mesh->layers.push_back({});
        mesh->layers[0].materials = 0;
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

TEST(ExtractMesh, PolygonsAreFanTriangulated)
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
    EXPECT_EQ(mesh.texcoords, std::vector<float>(6 * 3 * 2, 0.0f));
    EXPECT_EQ(mesh.diffuseTextureIds[0], std::vector<int>{-1});
}

TEST(ExtractMesh, DegeneratePolygonsAndEmptyMeshesGiveNothing)
{
    MeshScene lines(square, {{0, 1}, {2}});
    MeshData mesh;
    EXPECT_FALSE(extractMeshData(*lines.node, lookup, mesh));
    MeshScene none(square, {});
    EXPECT_FALSE(extractMeshData(*none.node, lookup, mesh));
}

TEST(ExtractMesh, PerPolygonMaterialsGroupByDiffuseIdAndKeepTheirTrianglesTogether)
{
    MeshScene s(square, {{0, 1, 2}, {0, 2, 3, 4}, {1, 2, 3}});
    s.material("A", "C:/art/a.png", "n1.png");
    s.material("B", "b.png", "n2.png");
    s.materialsPerPolygon({0, 1, 0});
    MeshData mesh;
    ASSERT_TRUE(extractMeshData(*s.node, lookup, mesh));
    EXPECT_EQ(mesh.diffuseTextureIds[0], (std::vector<int>{3, 7})); // ascending diffuse id
    EXPECT_EQ(mesh.normalTextureIds[0], (std::vector<int>{21, 20}));
    EXPECT_EQ(mesh.triangleCounts, (std::vector<int>{2, 2}));
    // The quad (material B) comes first: its corners 0 and 1 are points 0 and 2.
    EXPECT_EQ(std::vector<float>(mesh.positions.begin(), mesh.positions.begin() + 8),
              (std::vector<float>{0, 0, 0, 1, 1, 0, 1, 1}));

    // A slot beyond the node's materials (or negative) gives no texture, never reads past them.
    s.mesh->materialElements[0].indices = {0, 2, -1};
    ASSERT_TRUE(extractMeshData(*s.node, lookup, mesh));
    EXPECT_EQ(mesh.diffuseTextureIds[0], (std::vector<int>{-1, 7}));
}

// A whole-mesh material takes the last material's textures; only the normal
// map channel gives a normal map (a "Bump" texture is a height map).
TEST(ExtractMesh, WholeMeshMaterialTakesTheLastTexturesAndOnlyTheNormalMapChannel)
{
    MeshScene s(square, {{0, 1, 2}});
    s.material("A", "a.png");
    fbx::Material* last = s.material("B", "b.png");
    last->textures[fbx::Material::kBump].push_back(s.scene.addTexture("Height", "n1.png"));
    MeshData mesh;
    ASSERT_TRUE(extractMeshData(*s.node, lookup, mesh));
    EXPECT_EQ(mesh.diffuseTextureIds[0], std::vector<int>{3});
    EXPECT_EQ(mesh.normalTextureIds[0], std::vector<int>{-1});
    last->textures[fbx::Material::kNormalMap].push_back(s.scene.addTexture("Normals", "n2.png"));
    ASSERT_TRUE(extractMeshData(*s.node, lookup, mesh));
    EXPECT_EQ(mesh.normalTextureIds[0], std::vector<int>{21});
}

TEST(ExtractMesh, BoundsStartFromTheSentinels)
{
    MeshScene far({{2e6, 5, 0}, {3e6, 6, 0}, {2e6, 7, 1}}, {{0, 1, 2}});
    MeshData mesh;
    ASSERT_TRUE(extractMeshData(*far.node, lookup, mesh));
    EXPECT_EQ(mesh.boundsMin.x, 1e6f);
    EXPECT_EQ(mesh.boundsMax.x, 3e6f);
    EXPECT_EQ(mesh.boundsMin.y, 5.0f);
    MeshScene low({{-2e6, 0, 0}, {-3e6, 1, 0}, {-2e6, 0, 1}}, {{0, 1, 2}});
    ASSERT_TRUE(extractMeshData(*low.node, lookup, mesh));
    EXPECT_EQ(mesh.boundsMax.x, -1e6f);
}

TEST(ExtractMesh, LayersFollowTheirMappingModes)
{
    MeshScene s(square, {{0, 1, 2}, {0, 2, 3}});
    fbx::LayerElement uvs;
    uvs.components = 2;
    uvs.mapping = fbx::MappingMode::ByPolygonVertex;
    uvs.reference = fbx::ReferenceMode::IndexToDirect;
    uvs.direct = {0, 0, 0.25, 0.5, 1, 1};
    uvs.index = {1, 2, 0, 2, 2, 1};
    fbx::LayerElement tangents; // by polygon vertex, as exporters write them
    tangents.mapping = fbx::MappingMode::ByPolygonVertex;
    for (int corner = 0; corner < 6; ++corner)
        tangents.direct.insert(tangents.direct.end(), {double(corner), 0, 0});
    fbx::LayerElement normals;
    normals.mapping = fbx::MappingMode::ByControlPoint;
    for (int point = 0; point < 5; ++point)
        normals.direct.insert(normals.direct.end(), {0, 2, 0});
    s.mesh->uvs.push_back(uvs);
    s.mesh->tangents.push_back(tangents);
    s.mesh->normals.push_back(normals);
    s.mesh->layers.push_back({0, 0, -1, 0, -1, -1});
    MeshData mesh;
    ASSERT_TRUE(extractMeshData(*s.node, lookup, mesh));
    EXPECT_EQ(mesh.texcoords, (std::vector<float>{0.25f, 0.5f, 1, 1, 0, 0, 1, 1, 1, 1, 0.25f, 0.5f}));
    EXPECT_EQ(mesh.tangents[3 * 4], 4.0f); // corner counter 4: second polygon's second corner
    EXPECT_EQ(mesh.normals[1], 1.0f);      // normalised
    EXPECT_EQ(mesh.binormals, std::vector<float>(18, 0.0f));
}

TEST(ExtractMesh, EachAttributeComesFromTheFirstLayerThatHasIt)
{
    // Layer 0: tangents and the diffuse UVs; layer 1: a light map's UVs only.
    MeshScene s(square, {{0, 1, 2}});
    auto element = [](int components, std::vector<double> values) {
        fbx::LayerElement e;
        e.components = components;
        e.mapping = fbx::MappingMode::ByControlPoint;
        e.direct = std::move(values);
        return e;
    };
    s.mesh->tangents.push_back(element(3, {1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0}));
    s.mesh->uvs.push_back(element(2, {0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5}));
    s.mesh->uvs.push_back(element(2, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9}));
    s.mesh->layers.push_back({-1, 0, -1, 0, -1, -1});
    s.mesh->layers.push_back({-1, -1, -1, 1, -1, -1});
    MeshData mesh;
    ASSERT_TRUE(extractMeshData(*s.node, lookup, mesh));
    EXPECT_EQ(mesh.texcoords, std::vector<float>(6, 0.5f));
    EXPECT_EQ(mesh.tangents, (std::vector<float>{1, 0, 0, 1, 0, 0, 1, 0, 0}));
}

TEST(TextureNames, ShortNamesAndEndings)
{
    EXPECT_EQ(fileNamePart("C:/art/wall.JPG"), "wall.JPG");
    EXPECT_EQ(fileNamePart("C:\\art\\wall.JPG"), "C:\\art\\wall.JPG");
    EXPECT_EQ(fileNamePart("wall.png"), "wall.png");
    for (const char* name : {"a.jpg", "a.Jpg", "a.jpeg", "a.BMP", "a.png", "a.tga", "dir/x.JPEG"})
        EXPECT_TRUE(isSupportedTextureFile(name)) << name;
    for (const char* name : {"wall.dds", "wall", "jpg.txt", ""})
        EXPECT_FALSE(isSupportedTextureFile(name)) << name;
}

} // namespace
