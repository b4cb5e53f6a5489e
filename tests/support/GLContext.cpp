#include "GLContext.h"

#include "Engine/Base/Window.h"

#include <GLFW/glfw3.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>

namespace {

// A loaded X server now and then refuses a context; a second try gets one.
constexpr int creationAttempts = 3;

void logGlfwError(int code, const char* description)
{
    std::cerr << "GLFW error " << code << ": " << description << std::endl;
}

GLFWwindow* createHiddenWindow()
{
    glfwSetErrorCallback(logGlfwError);
    std::atexit(glfwTerminate);
    for (int attempt = 0; attempt < creationAttempts; ++attempt) {
        if (GLFWwindow* window = openContextWindow(64, 64, false, "test context"))
            return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    return nullptr;
}

} // namespace

GLFWwindow* sharedGLWindow()
{
    static GLFWwindow* window = createHiddenWindow();
    return window;
}
