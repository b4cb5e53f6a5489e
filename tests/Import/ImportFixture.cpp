#include "ImportFixture.h"

#include "Engine/Collision/CollisionWorld.h"
#include "Engine/Lights/LightManager.h"
#include "Engine/Render/ShaderManager.h"
#include "Engine/Render/TextureManager.h"
#include "Engine/Scene/NodeManager.h"
#include "Import/CameraManager.h"
#include "Import/GameObjects.h"
#include "Import/SceneLoader.h"

#include <filesystem>

namespace fs = std::filesystem;

fbx::Node* addMeshNode(fbx::Scene& scene, const std::string& name, fbx::Node* parent,
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

void ImportTest::SetUp()
{
    GLTest::SetUp();
    fs::create_directories(root + "/work");
    fs::create_directories(root + "/Resources/Textures");
    previousDirectory = fs::current_path().string();
    fs::current_path(root + "/work");
    NodeManager::getInstance()->createRoot();
}

void ImportTest::TearDown()
{
    clearGameObjects();
    LightManager::destroyInstance();
    TextureManager::destroyInstance();
    ShaderManager::destroyInstance();
    NodeManager::destroyInstance();
    CollisionWorld::destroyInstance();
    SceneLoader::destroyInstance();
    CameraManager::destroyInstance();
    spawnPoints().clear();
    fs::current_path(previousDirectory);
}

std::string ImportTest::load(const std::string& file, const std::string& prefix)
{
    testing::internal::CaptureStdout();
    SceneLoader::getInstance()->loadScene(file, prefix);
    return testing::internal::GetCapturedStdout();
}
