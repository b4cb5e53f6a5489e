#include "GameFixture.h"

#include "Engine/Collision/CollidableRenderObject.h"
#include "Engine/Collision/CollisionWorld.h"
#include "Engine/Lights/LightManager.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/NodeManager.h"
#include "Import/CameraManager.h"
#include "Import/GameObjects.h"
#include "Navigation/NavigationHolder.h"
#include "Sound/SoundManager.h"
#include "TestNavMeshes.h"

namespace {

// Marker positions in their model's space (x, y, z, 1).
const MarkerMap playerMarkers = {{"WeaponTriggerAttachpoint", {0.25f, 1.2f, 0.35f, 1.0f}}};
const MarkerMap pistolMarkers = {{"ShotSource", {0.0f, 0.05f, 0.3f, 1.0f}},
                                 {"FlashlightMount", {0.0f, -0.05f, 0.1f, 1.0f}}};
const MarkerMap flashlightMarkers = {{"FlashlightBackCenter", {0.0f, 0.0f, -0.1f, 1.0f}},
                                     {"FlashlightFrontCenter", {0.0f, 0.0f, 0.1f, 1.0f}}};

// Adds a box model to a template's root; collidable models can be hit.
void addModel(GameObject which, const std::string& name, Vec3 lo, Vec3 hi, const MarkerMap* markers,
              bool collidable)
{
    MeshData mesh = closedBoxMesh(name, lo, hi);
    mesh.markers = markers;
    SceneGraphNode* model = collidable ? new CollidableRenderObject(mesh) : new RenderObject(mesh);
    requireGameObjectTemplate(which).addChild(model);
}

void buildTemplates(bool markers)
{
    addModel(GameObject::Skull, "GAMEOBJECT_SKULL_skull", {-0.4f, 0.2f, -0.4f}, {0.4f, 1.5f, 0.4f}, nullptr, true);
    addModel(GameObject::PlayerDummy, "GAMEOBJECT_PLAYERDUMMY_body", {-0.3f, 0.0f, -0.3f}, {0.3f, 1.8f, 0.3f},
             markers ? &playerMarkers : nullptr, true);
    addModel(GameObject::Pistol, "GAMEOBJECT_PISTOL_pistol", {-0.03f, -0.1f, -0.05f}, {0.03f, 0.05f, 0.3f},
             markers ? &pistolMarkers : nullptr, false);
    addModel(GameObject::Flashlight, "GAMEOBJECT_FLASHLIGHT_lamp", {-0.03f, -0.03f, -0.1f}, {0.03f, 0.03f, 0.1f},
             markers ? &flashlightMarkers : nullptr, false);
    addModel(GameObject::MuzzleFlash, "GAMEOBJECT_MUZZLEFLASH_flame", {-0.05f, -0.05f, 0.0f},
             {0.05f, 0.05f, 0.2f}, nullptr, false);
}

// The level is built after the templates, as at start-up, so that the
// templates' meshes leave the collidables' list with the level's.
void buildLevel()
{
    auto* wall = new CollidableRenderObject(closedBoxMesh("wall", {-3.0f, 0.0f, wallZ - 0.2f}, {3.0f, 3.0f, wallZ}));
    wall->setParent(NodeManager::getInstance()->getRoot());
    CollisionWorld::getInstance()->buildLevelMesh();
    ASSERT_TRUE(CollisionWorld::getInstance()->hasLevel());
}

} // namespace

void GameTest::SetUp()
{
    SceneTest::SetUp();
    if (HasFatalFailure())
        return; // no GL context: the level and templates below would touch GL
    const std::string floor = navtest::tempPath("game_floor.bin");
    ASSERT_TRUE(navigation::saveNavMesh(floor, navtest::obstacleMesh()));
    NavigationHolder::getInstance()->init(floor);
    screenWidth = 800.0f; // pixels
    screenHeight = 600.0f;
    buildTemplates(templateMarkers());
    buildLevel();
    session = GameSession::getInstance();
    if (!HasFatalFailure())
        setUpGame();
}

void GameTest::TearDown()
{
    GameSession::destroyInstance();
    LightManager::destroyInstance();
    SceneTest::TearDown(); // the registry deletes every node: characters, templates, wall
    clearGameObjects();
    CollisionWorld::destroyInstance();
    NavigationHolder::destroyInstance();
    CameraManager::destroyInstance();
    SoundManager::destroyInstance();
    spawnPoints().clear();
    gameRunning = false;
    playerMode = true;
    cameraState = 1;
}

PlayerCharacter& GameTest::startGame()
{
    session->setUp();
    session->startGame();
    return *session->player();
}

AIAgent& GameTest::addSkull(Vec3 where)
{
    auto* skull = new AIAgent();
    skull->teleport(where);
    session->enemies.push_back(skull);
    return *skull;
}

void GameTest::frame(double dt)
{
    NavigationHolder::crowd()->update(static_cast<float>(dt));
    session->update(dt);
}

void GameTest::lookThroughCursor(Vec3 eye, Vec3 target)
{
    currentCamera.eye = eye;
    currentCamera.direction = normalize(target - eye);
    currentCamera.nearPlane = 0.1f;
    currentCamera.farPlane = 1000.0f;
    currentCamera.setMatrices(lookAt(eye, target, {0.0f, 1.0f, 0.0f}),
                              perspective(60.0f, screenWidth / screenHeight, currentCamera.nearPlane,
                                          currentCamera.farPlane));
    session->setCursor(screenWidth / 2.0f, screenHeight / 2.0f);
}
