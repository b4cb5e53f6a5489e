#include "Engine/Engine.h"

#include "Engine/Base/Config.h"
#include "Engine/Base/GLError.h"
#include "Engine/Base/Globals.h"
#include "Engine/Base/Timer.h"
#include "Engine/Base/Window.h"
#include "Engine/Collision/CollisionWorld.h"
#include "Engine/Lights/LightManager.h"
#include "Engine/Pipeline/RenderSettings.h"
#include "Engine/Pipeline/Renderer.h"
#include "Engine/Render/Octree.h"
#include "Engine/Render/ShaderManager.h"
#include "Engine/Render/TextureManager.h"
#include "Engine/Scene/NodeManager.h"
#include "Engine/Scene/SceneGraphNode.h"
#include "Fbx/Scene.h"
#include "Game/GameSession.h"
#include "Game/PlayerCharacter.h"
#include "Gui/CeguiSetupManager.h"
#include "Import/CameraManager.h"
#include "Import/GameObjects.h"
#include "Import/SceneLoader.h"
#include "Input/InputSystem.h"
#include "Navigation/NavigationHolder.h"
#include "Sound/SoundManager.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <ctime>
#include <iostream>

namespace {

// Mouse steering of the cameras: wheel units (120 per notch) and pixels.
constexpr float freeCameraWheelStep = 0.03f;  // distance per wheel unit
constexpr float freeCameraLookStep = 0.08f;   // degrees per pixel
constexpr float playerCameraTurnStep = 0.6f;  // radians per window width
constexpr float playerCameraWheelStep = 0.002f;

} // namespace

Engine::Engine()
    : width(config::width), height(config::height), sceneLoader(SceneLoader::getInstance()),
      title(config::windowTitle)
{
    screenWidth = static_cast<float>(static_cast<unsigned>(width));
    screenHeight = static_cast<float>(static_cast<unsigned>(height));
    renderer = Renderer::getInstance();
}

Engine::~Engine()
{
    if (window)
        CHECK_GL_ERROR();
    shutdown();
    std::cout << "Quitting application" << std::endl;
}

int Engine::init()
{
    window = openWindow(width, height, title, title);
    if (!window)
        return 1;

    inputSystem.Initialize(window, 0);
    inputSystem.setMouseArea(width, height);

    // A missing GUI file or widget has been reported by the GUI set-up.
    if (!CeguiSetupManager::getInstance()->initialize(width, height))
        return 1;

    // Every shader program must build; the shader manager has reported each failure.
    if (!ShaderManager::getInstance()->loadShaders())
        return 1;

    NodeManager::getInstance()->createRoot();
    loadGameObjects();

    sceneLoader->loadScene(config::sphereFile, config::spherePrefix);
    if (SceneGraphNode* sphere = NodeManager::getInstance()->findByName(config::sphereNode))
        sphere->setOwnVisible(false);
    // The point lights' shared volume is that sphere's mesh; without it they stay dark.
    LightManager::getInstance()->buildPointLightVolume();

    sceneLoader->loadScene(config::levelFile, config::levelPrefix);
    if (SceneGraphNode* level = NodeManager::getInstance()->findByName(config::levelRootNode))
        level->setParent(NodeManager::getInstance()->getRoot());

    // The static level mesh, from every collidable loaded so far.
    CollisionWorld::getInstance()->buildLevelMesh();
    CameraManager::getInstance()->initCameras(static_cast<float>(width), static_cast<float>(height));

    // Framebuffers and render targets; the camera module publishes each frame's matrices.
    renderer->setCameraUpdate([] { CameraManager::getInstance()->applyCamera(); });
    renderer->initialize();

    lastTime = clockNow();

    // Bounding boxes of everything loaded, then the octree over them.
    NodeManager::getInstance()->getRoot()->update();
    Octree::getInstance()->build();
    if (const OctreeCell* cells = Octree::getInstance()->getRootCell())
        CeguiSetupManager::getInstance()->screens().showOctreeCellSize(cells->smallestEdge());

    // Navigation mesh and crowd; without a usable mesh the game runs but nobody walks.
    NavigationHolder::getInstance()->init();

    setUpGameSession();
    seedRandomNumbers();

    // Last step: a sound file that cannot be decoded ends the program here.
    SoundManager::getInstance()->initSound();
    return 0;
}

void Engine::run()
{
    running = true;
    CHECK_GL_ERROR();
    while (running) {
        double now = clockNow();
        double dt = now - lastTime;
        lastTime = now;
        frame(dt);
        if (quitRequested())
            running = false;
    }
}

void Engine::frame(double dt)
{
    update(dt);
    if (gameRunning) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        renderer->render();
    } else {
        glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glFrontFace(GL_CCW);
    drawGui();
    glfwSwapBuffers(window);
    glfwPollEvents();
}

void Engine::update(double dt)
{
    inputSystem.Update();
    CeguiSetupManager::getInstance()->update(static_cast<float>(dt));
    CameraManager::getInstance()->advanceClock(dt);
    if (inputSystem.keyboard.wentDown(KC_P))
        renderer->cycleRenderMode();
    updateFpsCounter();

    if (gameRunning) {
        if (PathfindTool* crowd = NavigationHolder::crowd())
            crowd->update(static_cast<float>(dt));
        updateGameSession(dt);
        handleGameKeys(dt);
        NodeManager::getInstance()->getRoot()->update();
    }
}

void Engine::updateFpsCounter()
{
    if (fpsCounter.frame(Timer::now()))
        CeguiSetupManager::getInstance()->screens().showFps(fpsCounter.framesPerSecond());
}

void Engine::handleGameKeys(double dt)
{
    handleCameraMode(dt);
    handleCameraSwitch();
    if (inputSystem.keyboard.wentDown(KC_F1) ||
        (inputSystem.keyboard.wentDown(KC_H) && inputSystem.keyboard.isDown(KC_LCONTROL)))
        CeguiSetupManager::getInstance()->screens().swapIngameAndDebug();
    if (inputSystem.keyboard.wentDown(KC_B))
        SoundManager::getInstance()->toggleMusic();
    if (playerMode)
        movePlayer();
}

// The first wave and the player; the GUI starts games and shows the score
// and the end of a game through the session.
void Engine::setUpGameSession()
{
    GameSession* session = GameSession::getInstance();
    GuiScreens& screens = CeguiSetupManager::getInstance()->screens();
    session->onScoreChanged = [&screens](int score) { screens.showScore(score); };
    session->onGameEnded = [&screens] { screens.showMenu(); };
    screens.setStartGameHandler([session] { session->startGame(); });
    session->setUp();
}

void Engine::seedRandomNumbers()
{
    static bool seeded = false;
    if (!seeded) {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        seeded = true;
    }
    std::rand();
}

// Aim at the GUI cursor, then the player, the skulls and the waves; the
// health bar follows the player.
void Engine::updateGameSession(double dt)
{
    CeguiSetupManager* gui = CeguiSetupManager::getInstance();
    GameSession* session = GameSession::getInstance();
    float x = 0.0f, y = 0.0f;
    gui->cursorPosition(x, y);
    session->setCursor(x, y);
    session->update(dt);
    gui->screens().showPlayerHealth(session->playerHealthFraction());
}

// W/A/S/D into the player's movement input; the left button fires.
void Engine::movePlayer()
{
    PlayerCharacter* player = GameSession::getInstance()->player();
    if (!player)
        return;
    const KeyboardSlot& keys = inputSystem.keyboard;
    player->forwardInput = keys.isDown(KC_S) ? -1.0f : keys.isDown(KC_W) ? 1.0f : 0.0f;
    player->sidewaysInput = keys.isDown(KC_D) ? -1.0f : keys.isDown(KC_A) ? 1.0f : 0.0f;
    if (inputSystem.mouse.wentDown(0)) {
        GameSession::getInstance()->fire();
        SoundManager::getInstance()->playSource(gunshotSource);
    }
}

void Engine::handleCameraMode(double dt)
{
    if (cameraState != 1)
        return;
    if (inputSystem.keyboard.isDown(KC_LSHIFT) && inputSystem.keyboard.wentDown(KC_F))
        playerMode = !playerMode;
    if (!playerMode)
        moveFreeCamera(dt);
    else
        movePlayerCamera(static_cast<float>(dt));
}

// 1: the level's second camera, or the free/player camera when it has one
// camera at most; 0: the level's first camera with its animation running.
void Engine::handleCameraSwitch()
{
    CameraManager* cameras = CameraManager::getInstance();
    const std::vector<fbx::Node*>& list = cameras->cameraNodes();
    if (inputSystem.keyboard.wentDown(KC_1)) {
        cameras->setDefaultCamera(list.size() > 1 ? list[1]->name : fbx::kProducerPerspective);
        cameraState = 1;
    } else if (inputSystem.keyboard.wentDown(KC_0)) {
        if (!list.empty())
            cameras->setDefaultCamera(list[0]->name);
        cameraState = 0;
        cameras->selectAnimationStack();
    }
}

void Engine::moveFreeCamera(double dt)
{
    const KeyboardSlot& keys = inputSystem.keyboard;
    CameraManager* camera = CameraManager::getInstance();
    bool boosted = keys.isDown(KC_SPACE) || keys.isDown(KC_LSHIFT) || keys.isDown(KC_RSHIFT);
    float d = static_cast<float>((boosted ? config::freeCameraBoostedSpeed : config::freeCameraSpeed) * dt);
    if (keys.isDown(KC_W) || keys.isDown(KC_UP)) camera->moveForward(d);
    if (keys.isDown(KC_S) || keys.isDown(KC_LEFT)) camera->moveForward(-d);
    if (keys.isDown(KC_A) || keys.isDown(KC_RIGHT)) camera->strafe(d);
    if (keys.isDown(KC_D) || keys.isDown(KC_DOWN)) camera->strafe(-d);
    const MouseSlot& mouse = inputSystem.mouse;
    if (mouse.device)
        camera->moveForward(mouse.device->state().Z.rel * freeCameraWheelStep);
    if (keys.isDown(KC_ADD)) camera->zoom(d);
    if (keys.isDown(KC_MINUS)) camera->zoom(-d);
    if (mouse.device && (mouse.isDown(1) || keys.isDown(KC_LCONTROL))) {
        const MouseState& state = mouse.device->state();
        camera->lookAround(-state.X.rel * freeCameraLookStep, state.Y.rel * freeCameraLookStep);
    }
}

void Engine::movePlayerCamera(float dt)
{
    const KeyboardSlot& keys = inputSystem.keyboard;
    float turn = (float(keys.isDown(KC_RIGHT)) - float(keys.isDown(KC_LEFT))) * dt;
    float move = (float(keys.isDown(KC_DOWN)) - float(keys.isDown(KC_UP))) * dt;
    const MouseSlot& mouse = inputSystem.mouse;
    if (mouse.device) {
        if (mouse.isDown(1))
            turn += mouse.device->state().X.rel * playerCameraTurnStep / static_cast<float>(width);
        move -= mouse.device->state().Z.rel * playerCameraWheelStep;
    }
    PlayerCharacter* player = GameSession::getInstance()->player();
    Vec3 focus;
    if (player)
        focus = player->position() + Vec3{0.0f, PathFindObject::kAgentHeight, 0.0f};
    CameraManager::getInstance()->followPlayer(turn, move, player ? &focus : nullptr, dt);
}

bool Engine::quitRequested() const
{
    return inputSystem.keyboard.wentDown(KC_ESCAPE) || glfwWindowShouldClose(window);
}

// The renderer's and the octree's counters of this frame, then the active sheet over the frame.
void Engine::drawGui()
{
    CeguiSetupManager* gui = CeguiSetupManager::getInstance();
    gui->screens().showRenderStats(renderStats);
    gui->render();
}

double Engine::clockNow() const { return window ? glfwGetTime() : 0.0; }

void Engine::shutdown()
{
    LightManager::destroyInstance();
    Renderer::destroyInstance();
    renderer = nullptr;
    TextureManager::destroyInstance();
    ShaderManager::destroyInstance();
    NodeManager::destroyInstance(); // deletes the scene graph
    Octree::destroyInstance();
    CollisionWorld::destroyInstance();
    inputSystem.Shutdown();
    NavigationHolder::destroyInstance(); // crowd, query, mesh
    clearGameObjects();
    GameSession::destroyInstance(); // the registry has deleted its characters
    CeguiSetupManager::destroyInstance();
    SceneLoader::destroyInstance(); // the FBX scenes, then the camera module
    CameraManager::destroyInstance();
    SoundManager::destroyInstance();
    if (window) {
        CHECK_GL_ERROR();
        glfwTerminate();
        window = nullptr;
    }
}
