#include "Engine/Engine.h"

#include "Engine/CollisionWorld.h"
#include "Engine/Config.h"
#include "Engine/GLError.h"
#include "Engine/Globals.h"
#include "Engine/LightManager.h"
#include "Engine/RenderSettings.h"
#include "Engine/Renderer.h"
#include "Engine/NodeManager.h"
#include "Engine/Octree.h"
#include "Engine/SceneGraphNode.h"
#include "Engine/ShaderManager.h"
#include "Engine/TextureManager.h"
#include "Engine/Timer.h"
#include "Engine/Window.h"
#include "Gui/CeguiSetupManager.h"
#include "Input/InputSystem.h"
#include "Sound/SoundManager.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <iostream>

Engine::Engine() : width(config::width), height(config::height), title(config::windowTitle)
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

    // The static level mesh, from every collidable loaded so far.
    CollisionWorld::getInstance()->buildLevelMesh();

    // Framebuffers and render targets.
    renderer->initialize();

    lastTime = clockNow();

    // Bounding boxes of everything loaded, then the octree over them.
    NodeManager::getInstance()->getRoot()->update();
    Octree::getInstance()->build();
    // Last step: a sound file that cannot be decoded ends the program here.
    SoundManager::getInstance()->initSound();
    return 0;
}

void Engine::run()
{
    running = true;
    CHECK_GL_ERROR();
    while (running) {
        update();
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
        if (quitRequested())
            running = false;
    }
}

void Engine::update()
{
    double now = clockNow();
    double dt = now - lastTime;
    lastTime = now;

    inputSystem.Update();
    CeguiSetupManager::getInstance()->update(static_cast<float>(dt));
    if (inputSystem.keyboard.wentDown(KC_P))
        renderer->cycleRenderMode();
    updateFpsCounter();

    if (gameRunning) {
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
    if (inputSystem.keyboard.wentDown(KC_F1) ||
        (inputSystem.keyboard.wentDown(KC_H) && inputSystem.keyboard.isDown(KC_LCONTROL)))
        CeguiSetupManager::getInstance()->screens().swapIngameAndDebug();
    if (inputSystem.keyboard.wentDown(KC_B))
        SoundManager::getInstance()->toggleMusic();
}

void Engine::handleCameraMode(double /*dt*/)
{
    if (cameraState != 1)
        return;
    if (inputSystem.keyboard.isDown(KC_LSHIFT) && inputSystem.keyboard.wentDown(KC_F))
        playerMode = !playerMode;
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
    CeguiSetupManager::destroyInstance();
    SoundManager::destroyInstance();
    if (window) {
        CHECK_GL_ERROR();
        glfwTerminate();
        window = nullptr;
    }
}
