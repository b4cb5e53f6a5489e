#include "ImportFixture.h"

#include "DeepChain.h"

#include "Engine/Lights/LightManager.h"
#include "Engine/Lights/SpotLight.h"
#include "Engine/Render/TextureManager.h"
#include "Engine/Scene/NodeManager.h"
#include "Engine/Scene/SceneGraphNode.h"
#include "Fbx/Load.h"
#include "Import/FBXLoader.h"
#include "Import/GameObjects.h"
#include "Import/SceneLoader.h"

#include <GL/glew.h>

#include <cmath>
#include <fstream>

namespace {

fbx::Node* meshNode(fbx::Scene& scene, const std::string& name, fbx::Node* parent,
                    std::vector<fbx::Vec3> points, std::vector<std::vector<int32_t>> polygons)
{
    fbx::Node* node = scene.addNode(name, parent);
    fbx::Mesh* mesh = scene.addMesh(name + "Mesh");
    fbx::Scene::setAttribute(node, mesh);
    mesh->controlPoints = std::move(points);
    for (const auto& polygon : polygons)
        mesh->addPolygon(polygon);
    return node;
}

fbx::Node* plain(fbx::Scene& scene, const std::string& name, fbx::Node* parent = nullptr)
{
    fbx::Node* node = scene.addNode(name, parent);
    fbx::Scene::setAttribute(node, scene.addNull(name + "Attr"));
    return node;
}

const std::vector<fbx::Vec3> triangle = {{0, 0, 0}, {2, 1, 0}, {0, 0, 2}};

// A small level: nested groups, a marker with a child, spawn pads, an empty
// mesh, three kinds of light and two cameras.
void buildLevel(fbx::Scene& scene)
{
    meshNode(scene, "Floor", nullptr, {{0, 0, 0}, {4, 0, 0}, {4, 0, 4}, {0, 0, 4}}, {{0, 1, 2, 3}});
    fbx::Node* group = plain(scene, "Group");
    group->transform.translation = {100, 0, 0};
    meshNode(scene, "Door", group, triangle, {{0, 1, 2}});
    fbx::Node* muzzle = scene.addNode("Muzzle");
    fbx::Scene::setAttribute(muzzle, scene.addSkeleton("MuzzleSkeleton"));
    muzzle->transform.translation = {1, 2, 3};
    plain(scene, "BelowMarker", muzzle);
    fbx::Node* spawn = plain(scene, "SpawnPoints");
    meshNode(scene, "Pad1", spawn, triangle, {{0, 1, 2}});
    fbx::Node* deep = plain(scene, "Deep", spawn);
    meshNode(scene, "Pad2", deep, {{10, 5, 10}, {12, 4, 10}, {12, 6, 12}, {-50, -50, -50}}, {{0, 1, 2, 3}});
    plain(scene, "spawnpoints");
    fbx::Node* empty = meshNode(scene, "Empty", nullptr, triangle, {});
    plain(scene, "EmptyChild", empty);

    auto light = [&](const std::string& name, fbx::LightType type, double hotSpot, double cone) {
        fbx::Node* node = scene.addNode(name);
        fbx::Light* l = scene.addLight(name + "Light");
        l->lightType = type;
        l->innerAngle = hotSpot;
        l->outerAngle = cone;
        fbx::Scene::setAttribute(node, l);
        node->transform.translation = {5, 6, 7};
    };
    light("Lamp", fbx::LightType::Spot, 50, 40);
    light("Bulb", fbx::LightType::Point, 0, 0);
    light("Sun", fbx::LightType::Directional, 0, 0);
    fbx::Node* cameraA = scene.addNode("CamA", group);
    fbx::Scene::setAttribute(cameraA, scene.addCamera("CamAttrA"));
    fbx::Node* cameraB = scene.addNode("CamB");
    fbx::Scene::setAttribute(cameraB, scene.addCamera("CamAttrB"));
}

class FbxImportTest : public ImportTest {
protected:
    SceneGraphNode* find(const std::string& name)
    {
        testing::internal::CaptureStdout();
        SceneGraphNode* node = NodeManager::getInstance()->findByName(name);
        testing::internal::GetCapturedStdout();
        return node;
    }
    std::string parentName(const std::string& name)
    {
        SceneGraphNode* node = find(name);
        return node && node->getParent() ? node->getParent()->getName() : "";
    }
};

// Nodes prefixed once at every depth, markers and spawn pads taken out of the
// tree, empty meshes kept for their children, lights from local transforms.
TEST_F(FbxImportTest, LevelImportsNodesMarkersSpawnPointsAndLights)
{
    fbx::Scene scene;
    buildLevel(scene);
    std::string log = load(writeScene(scene, "level.fbx"), "All");
    ASSERT_NE(find("All_RootNode"), nullptr);
    EXPECT_EQ(find("All_RootNode")->getParent(), nullptr);
    EXPECT_EQ(parentName("All_Floor"), "All_RootNode");
    EXPECT_EQ(parentName("All_Door"), "All_Group");
    EXPECT_EQ(find("All_Group_Door"), nullptr);

    EXPECT_EQ(find("All_Muzzle"), nullptr);
    const MarkerMap& markers = SceneLoader::getInstance()->getLoader()->getMarkers();
    ASSERT_EQ(markers.count("Muzzle"), 1u);
    EXPECT_EQ(markers.at("Muzzle"), (std::array<float, 4>{1, 2, 3, 1}));
    EXPECT_EQ(parentName("All_BelowMarker"), "All_RootNode"); // nearest converted ancestor

    for (const char* pad : {"All_SpawnPoints", "All_Pad1", "All_Deep"})
        EXPECT_EQ(find(pad), nullptr) << pad;
    EXPECT_NE(find("All_spawnpoints"), nullptr);
    ASSERT_EQ(spawnPoints().size(), 2u);
    EXPECT_NEAR(spawnPoints()[0].x, 0.6667f, 1e-4f);
    EXPECT_EQ(spawnPoints()[0].y, 0.0f);
    EXPECT_NEAR(spawnPoints()[0].z, 0.6667f, 1e-4f);
    EXPECT_NEAR(spawnPoints()[1].x, 34.0f / 3, 1e-4f); // first three corners of the quad only
    EXPECT_EQ(spawnPoints()[1].y, 4.0f);

    EXPECT_NE(log.find("***** Node Empty has no Polygons!\n"), std::string::npos);
    EXPECT_EQ(parentName("All_EmptyChild"), "All_Empty");
    EXPECT_NE(log.find("Found camera: \"CamAttrA\"\n"), std::string::npos);
    EXPECT_NE(log.find("Loaded ../Resources/level.fbx - Duration: "), std::string::npos);

    EXPECT_NE(log.find("Imported light: \"Lamp\"\n"), std::string::npos);
    EXPECT_NE(log.find("Did not import (non-spotlight) light: \"Sun\"\n"), std::string::npos);
    const std::vector<Light*>& lights = LightManager::getInstance()->getLights();
    ASSERT_EQ(lights.size(), 2u);
    auto* spot = dynamic_cast<SpotLight*>(lights[0]);
    ASSERT_NE(spot, nullptr);
    const float degrees = 3.14159265f / 180.0f;
    EXPECT_NEAR(spot->innerAngle, 40 * degrees, 1e-5f); // the smaller of hot spot 50 and cone 40
    EXPECT_NEAR(spot->outerAngle, 50 * degrees, 1e-5f);
    EXPECT_EQ(spot->getTransform().translationPart(), (Vec3{5, 6, 7}));
}

TEST_F(FbxImportTest, DamagedAndMissingFilesImportAsEmptyScenes)
{
    fbx::Scene scene;
    buildLevel(scene);
    std::string path = writeScene(scene, "level.fbx");
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() / 2);
    std::string log = load(path, "Bad");
    EXPECT_NE(log.find("Error while importing FBX scene.\n../Resources/level.fbx"), std::string::npos) << log;
    EXPECT_NE(find("Bad_RootNode"), nullptr);
    EXPECT_EQ(find("Bad_Floor"), nullptr);
    EXPECT_NE(log.find("Loaded ../Resources/level.fbx"), std::string::npos);

    log = load("../Resources/missing.fbx", "Gone");
    EXPECT_NE(log.find("Error while importing FBX scene.\n"), std::string::npos);
    EXPECT_NE(find("Gone_RootNode"), nullptr);
}

TEST_F(FbxImportTest, TreesAsDeepAsTheReaderAllowsConvertAndDeeperOnesAreRefused)
{
    std::ofstream("../Resources/chain.fbx") << fbx::test::deepChainDocument(fbx::kMaxNodeDepth);
    load("../Resources/chain.fbx", "Chain");
    SceneGraphNode* root = find("Chain_RootNode");
    ASSERT_NE(root, nullptr);
    root->setParent(NodeManager::getInstance()->getRoot());
    NodeManager::getInstance()->getRoot()->update();
    SceneGraphNode* deepest = find("Chain_N" + std::to_string(fbx::kMaxNodeDepth));
    ASSERT_NE(deepest, nullptr);
    EXPECT_TRUE(deepest->isInScene());

    std::ofstream("../Resources/hostile.fbx") << fbx::test::deepChainDocument(100000);
    std::string log = load("../Resources/hostile.fbx", "Hostile");
    EXPECT_NE(log.find("Error while importing FBX scene.\n../Resources/hostile.fbx: offset "), std::string::npos);
    EXPECT_NE(log.find("node trees deeper than 1000 levels are refused"), std::string::npos) << log;
    EXPECT_NE(find("Hostile_RootNode"), nullptr);
    EXPECT_EQ(find("Hostile_N1"), nullptr);
}

TEST_F(FbxImportTest, TexturesLoadByShortNameWithTheChannelOfFirstUse)
{
    writeTexture("wall.png");
    writeTexture("shared.png");
    fbx::Scene scene;
    fbx::Node* a = meshNode(scene, "A", nullptr, triangle, {{0, 1, 2}});
    fbx::Node* b = meshNode(scene, "B", nullptr, triangle, {{0, 1, 2}});
    fbx::Material* first = scene.addMaterial("First");
    first->textures[fbx::Material::kDiffuse].push_back(scene.addTexture("WallTex", "C:/art/wall.png"));
    first->textures[fbx::Material::kNormalMap].push_back(scene.addTexture("SharedN", "shared.png"));
    fbx::Material* second = scene.addMaterial("Second");
    second->textures[fbx::Material::kDiffuse].push_back(scene.addTexture("SharedD", "shared.png"));
    second->textures[fbx::Material::kNormalMap].push_back(scene.addTexture("Win", "C:\\art\\x.png"));
    second->textures[fbx::Material::kNormalMap].push_back(scene.addTexture("Dds", "wall.dds"));
    a->materials.push_back(first);
    b->materials.push_back(second);
    std::string log = load(writeScene(scene, "textured.fbx"), "T");

    TextureManager* textures = TextureManager::getInstance();
    GLuint wall = textures->getTexture("wall.png");
    GLuint shared = textures->getTexture("shared.png");
    ASSERT_NE(wall, noTexture);
    ASSERT_NE(shared, noTexture);
    EXPECT_NE(log.find("--- Failed to load texture (C:\\art\\x.png). ---\n"), std::string::npos);
    EXPECT_NE(log.find("File type 'wall.dds' is unsupported\n"), std::string::npos);
    EXPECT_EQ(log.find("Failed to load texture (shared.png)"), std::string::npos);

    // The diffuse texture is expanded to RGBA; the shared one keeps the
    // normal-map channel's RGB of its first use.
    auto alphaBits = [](GLuint texture) {
        GLint bits = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &bits);
        glBindTexture(GL_TEXTURE_2D, 0);
        return bits;
    };
    EXPECT_GT(alphaBits(wall), 0);
    EXPECT_EQ(alphaBits(shared), 0);
}

} // namespace
