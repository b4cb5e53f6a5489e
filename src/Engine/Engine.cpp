#include "Engine/Engine.h"

#include "Engine/Base/Config.h"
#include "Engine/Base/GLError.h"
#include "Engine/Base/Globals.h"
#include "Engine/Base/Timer.h"
#include "Engine/Base/Window.h"
#include "Engine/Collision/CollisionWorld.h"
#include "Engine/KeyHandling.h"
#include "Engine/Lights/LightManager.h"
#include "Engine/Pipeline/RenderSettings.h"
#include "Engine/Pipeline/Renderer.h"
#include "Engine/Render/Octree.h"
#include "Engine/Render/ShaderManager.h"
#include "Engine/Render/TextureManager.h"
#include "Engine/Scene/NodeManager.h"
#include "Engine/Scene/SceneGraphNode.h"
#include "Game/GameSession.h"
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
    // Events queued while loading are taken now, so the first snapshot already
    // holds them and is its own previous state: nothing held or pressed during
    // start-up reads as a press.
    inputSystem.collectWindowEvents();
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
    if (gameRunning)
        renderer->render();
    else
        renderer->clearForMenu();
    drawGui();
    glfwSwapBuffers(window);
    inputSystem.collectWindowEvents();
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
    KeyHandling gameKeys(inputSystem.keyboard, inputSystem.mouse, *CameraManager::getInstance(),
                         *GameSession::getInstance(), width);
    if (gameKeys.update(dt))
        SoundManager::getInstance()->playSource(gunshotSource);
    if (inputSystem.keyboard.wentDown(KC_F1) ||
        (inputSystem.keyboard.wentDown(KC_H) && inputSystem.keyboard.isDown(KC_LCONTROL)))
        CeguiSetupManager::getInstance()->screens().swapIngameAndDebug();
    if (inputSystem.keyboard.wentDown(KC_B))
        SoundManager::getInstance()->toggleMusic();
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
