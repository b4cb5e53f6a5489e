// The generated tree as the game loads it: the six templates, the light
// sphere and the level through the engine's import, with a real OpenGL
// context, from a runnable tree in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "Engine/Lights/LightManager.h"
#include "Engine/Scene/NodeManager.h"
#include "Engine/Scene/SceneGraphNode.h"
#include "Generator.h"
#include "Import/CameraManager.h"
#include "Import/GameObjects.h"
#include "Import/SceneLoader.h"
#include "ImportFixture.h"

namespace {

namespace fs = std::filesystem;

// Lines the import prints only when something in a file is wrong.
const char* const kComplaints[] = {"Warning", "WARNING", "Failed", "unsupported", "Error", "has no Polygons",
                                   "Did not import"};

// The generated tree and the shader programs in the import fixture's runnable tree.
class ImportedContent : public ImportTest {
 protected:
  void SetUp() override {
    ImportTest::SetUp();
    assetgen::GeneratedFiles files;
    std::string error;
    ASSERT_TRUE(assetgen::generateContent(root + "/Resources", files, error)) << error;
    fs::copy(UMBRANT_SHADER_DIR, fs::path(root) / "Resources" / "ShaderPrograms", fs::copy_options::recursive);
  }
  // Runs `load`, returning what it printed and checking it has no complaint.
  template <typename F>
  std::string quietly(F load) {
    testing::internal::CaptureStdout();
    load();
    const std::string printed = testing::internal::GetCapturedStdout();
    for (const char* complaint : kComplaints) EXPECT_EQ(printed.find(complaint), std::string::npos) << printed;
    return printed;
  }
};

TEST_F(ImportedContent, TemplatesSphereAndLevelLoadQuietlyWithWhatTheGameLooksUp) {
  quietly([] { loadGameObjects(); });
  for (int i = 0; i < static_cast<int>(GameObject::Count); ++i)
    EXPECT_NE(gameObjectTemplate(static_cast<GameObject>(i)), nullptr) << i;
  const std::pair<GameObject, const char*> markers[] = {
      {GameObject::PlayerDummy, "WeaponTriggerAttachpoint"}, {GameObject::Pistol, "ShotSource"},
      {GameObject::Pistol, "FlashlightMount"}, {GameObject::Flashlight, "FlashlightBackCenter"},
      {GameObject::Flashlight, "FlashlightFrontCenter"}};
  Vec4 position;
  for (const auto& [object, marker] : markers)
    EXPECT_TRUE(gameObjectTemplate(object) && gameObjectTemplate(object)->findMarker(marker, position)) << marker;
  SceneGraphNode* skull = gameObjectTemplate(GameObject::Skull);
  ASSERT_NE(skull, nullptr);
  quietly([&] {
    for (int layer : {1, 2, 0}) skull->setAnimationLayer(layer);
  });
  quietly([] {
    SceneLoader::getInstance()->loadScene("../Resources/sphere.fbx", "Sphere");
    SceneLoader::getInstance()->loadScene("../Resources/testlevel.fbx", "All");
  });
  EXPECT_NE(NodeManager::getInstance()->findByName("Sphere_sphere"), nullptr);
  EXPECT_NE(NodeManager::getInstance()->findByName("All_Ground_00_00"), nullptr);
  EXPECT_EQ(NodeManager::getInstance()->findByName("All_SpawnPad01"), nullptr) << "spawn pads are not drawn";
  EXPECT_GE(spawnPoints().size(), 8u);
  EXPECT_GE(LightManager::getInstance()->getSpotLights().size(), 8u);
  EXPECT_GE(LightManager::getInstance()->getPointLights().size(), 8u);
  EXPECT_EQ(CameraManager::getInstance()->cameraNodes().size(), 1u);
}

}  // namespace
