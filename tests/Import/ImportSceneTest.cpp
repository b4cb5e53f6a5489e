#include "ImportFixture.h"

#include "DeepChain.h"

#include "Engine/Lights/LightManager.h"
#include "Engine/Lights/SpotLight.h"
#include "Engine/Render/TextureManager.h"
#include "Engine/Scene/NodeManager.h"
#include "Engine/Scene/SceneGraphNode.h"
#include "Fbx/Load.h"
#include "Fbx/Writer.h"
#include "Import/FBXLoader.h"
#include "Import/GameObjects.h"
#include "Import/SceneLoader.h"

#include <FreeImage.h>

#include <fstream>

namespace {

const std::vector<fbx::Vec3> triangle = {{0, 0, 0}, {2, 1, 0}, {0, 0, 2}};

// A small level: nested groups, a marker with a child, spawn pads, an empty
// mesh, three kinds of light and a door with a loadable and an unsupported texture.
void buildLevel(fbx::Scene& scene)
{
    fbx::Node* group = scene.addNode("Group");
    fbx::Material* material = scene.addMaterial("Wall");
    material->textures[fbx::Material::kDiffuse].push_back(scene.addTexture("WallTex", "C:/art/wall.png"));
    material->textures[fbx::Material::kNormalMap].push_back(scene.addTexture("Dds", "wall.dds"));
    addMeshNode(scene, "Door", group, triangle, {{0, 1, 2}})->materials.push_back(material);
    fbx::Node* muzzle = scene.addNode("Muzzle");
    fbx::Scene::setAttribute(muzzle, scene.addSkeleton("MuzzleSkeleton"));
    muzzle->transform.translation = {1, 2, 3};
    scene.addNode("BelowMarker", muzzle);
    fbx::Node* spawn = scene.addNode("SpawnPoints");
    addMeshNode(scene, "Pad1", spawn, triangle, {{0, 1, 2}});
    fbx::Node* deep = scene.addNode("Deep", spawn);
    addMeshNode(scene, "Pad2", deep, {{10, 5, 10}, {12, 4, 10}, {12, 6, 12}, {-50, -50, -50}}, {{0, 1, 2, 3}});
    fbx::Node* empty = addMeshNode(scene, "Empty", nullptr, triangle, {});
    scene.addNode("EmptyChild", empty);

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
}

class FbxImportTest : public ImportTest {
protected:
    SceneGraphNode* find(const std::string& name) { return NodeManager::getInstance()->findByName(name); }
    std::string parentName(const std::string& name)
    {
        SceneGraphNode* node = find(name);
        return node && node->getParent() ? node->getParent()->getName() : "";
    }
};

// Nodes prefixed once at every depth, markers and spawn pads taken out of the
// tree, empty meshes kept for their children, lights from local transforms,
// textures by their short names.
TEST_F(FbxImportTest, LevelImportsNodesMarkersSpawnPointsLightsAndTextures)
{
    FIBITMAP* image = FreeImage_Allocate(4, 4, 24);
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, image, "../Resources/Textures/wall.png"));
    FreeImage_Unload(image);
    fbx::Scene scene;
    buildLevel(scene);
    ASSERT_TRUE(fbx::writeFile(scene, "../Resources/level.fbx").ok());
    std::string log = load("../Resources/level.fbx", "All");
    EXPECT_EQ(parentName("All_Door"), "All_Group");

    EXPECT_EQ(find("All_Muzzle"), nullptr);
    const MarkerMap& markers = SceneLoader::getInstance()->getLoader()->getMarkers();
    EXPECT_EQ(markers.at("Muzzle"), (std::array<float, 4>{1, 2, 3, 1}));
    EXPECT_EQ(parentName("All_BelowMarker"), "All_RootNode"); // nearest converted ancestor

    for (const char* pad : {"All_SpawnPoints", "All_Pad1", "All_Deep"})
        EXPECT_EQ(find(pad), nullptr) << pad;
    ASSERT_EQ(spawnPoints().size(), 2u);
    EXPECT_NEAR(spawnPoints()[0].z, 0.6667f, 1e-4f);
    EXPECT_NEAR(spawnPoints()[1].x, 34.0f / 3, 1e-4f); // first three corners of the quad only
    EXPECT_EQ(spawnPoints()[1].y, 4.0f);

    EXPECT_EQ(parentName("All_EmptyChild"), "All_Empty");

    EXPECT_NE(log.find("Did not import (non-spotlight) light: \"Sun\"\n"), std::string::npos);
    const std::vector<Light*>& lights = LightManager::getInstance()->getLights();
    ASSERT_EQ(lights.size(), 2u);
    auto* spot = dynamic_cast<SpotLight*>(lights[0]);
    ASSERT_NE(spot, nullptr);
    const float degrees = 3.14159265f / 180.0f;
    EXPECT_NEAR(spot->innerAngle, 40 * degrees, 1e-5f); // the smaller of hot spot 50 and cone 40
    EXPECT_NEAR(spot->outerAngle, 50 * degrees, 1e-5f);
    EXPECT_EQ(spot->getTransform().translationPart(), (Vec3{5, 6, 7}));
    EXPECT_NE(TextureManager::getInstance()->getTexture("wall.png"), noTexture);
    EXPECT_NE(log.find("File type 'wall.dds' is unsupported\n"), std::string::npos);
}

TEST_F(FbxImportTest, DamagedFilesImportAsEmptyScenesAndTreesAsDeepAsTheReaderAllowsConvert)
{
    const std::string chain = fbx::test::deepChainDocument(fbx::kMaxNodeDepth);
    std::ofstream("../Resources/cut.fbx") << chain.substr(0, chain.size() / 2);
    std::string log = load("../Resources/cut.fbx", "Bad");
    EXPECT_NE(log.find("Error while importing FBX scene.\n../Resources/cut.fbx"), std::string::npos) << log;
    EXPECT_NE(find("Bad_RootNode"), nullptr);
    EXPECT_EQ(find("Bad_N1"), nullptr);

    std::ofstream("../Resources/chain.fbx") << chain;
    load("../Resources/chain.fbx", "Chain");
    SceneGraphNode* root = find("Chain_RootNode");
    ASSERT_NE(root, nullptr);
    root->setParent(NodeManager::getInstance()->getRoot());
    NodeManager::getInstance()->getRoot()->update();
    SceneGraphNode* deepest = find("Chain_N" + std::to_string(fbx::kMaxNodeDepth));
    EXPECT_TRUE(deepest && deepest->isInScene());
}

} // namespace
