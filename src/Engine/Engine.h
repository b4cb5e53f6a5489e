#pragma once
// src/Engine: the engine in layers (Base, Scene, Render, Lights, Pipeline, Collision), and
// here on top the application that starts, runs and stops every part. See docs/architecture.md.
//
// The application object: opens the window, creates the managers in a fixed
// order, runs the frame loop and tears everything down in a fixed order.
#include "Engine/Base/FpsCounter.h"

#include <string>

struct GLFWwindow;
class Renderer;
class SceneLoader;

class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Start-up; 0 on success, 1 when the program cannot run.
    int init();
    // The frame loop; returns when Escape went down or the window closed.
    void run();
    // One frame: game time advanced by `dt` seconds (input and logic), the
    // scene or the menu background, the GUI, and the buffer swap.
    void frame(double dt);
    // Input and logic of one frame of `dt` seconds.
    void update(double dt);

private:
    void shutdown();
    void updateFpsCounter();
    void handleGameKeys(double dt);
    void setUpGameSession();
    void seedRandomNumbers();
    void updateGameSession(double dt);
    void drawGui();
    bool quitRequested() const;
    double clockNow() const;

    bool running = false;
    int width;
    int height;
    SceneLoader* sceneLoader;
    Renderer* renderer = nullptr; // the renderer instance, taken at construction
    double lastTime = 0.0; // seconds, clock reading of the previous frame
    std::string title;
    GLFWwindow* window = nullptr;
    FpsCounter fpsCounter;
};
