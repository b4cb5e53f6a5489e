#include "GLContext.h"

#include <GL/glew.h>
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

GLFWwindow* createHiddenWindowOnce()
{
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_COMPAT_PROFILE);
    glfwWindowHint(GLFW_DEPTH_BITS, 24);
    glfwWindowHint(GLFW_STENCIL_BITS, 8);
    GLFWwindow* window = glfwCreateWindow(64, 64, "test context", nullptr, nullptr);
    if (!window)
        return nullptr;
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        glfwDestroyWindow(window);
        return nullptr;
    }
    glGetError();
    return window;
}

GLFWwindow* createHiddenWindow()
{
    glfwSetErrorCallback(logGlfwError);
    if (!glfwInit())
        return nullptr;
    std::atexit(glfwTerminate);
    for (int attempt = 0; attempt < creationAttempts; ++attempt) {
        if (GLFWwindow* window = createHiddenWindowOnce())
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
