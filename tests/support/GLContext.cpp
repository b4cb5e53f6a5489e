#include "GLContext.h"

#include "Engine/Base/Window.h"

#include <GLFW/glfw3.h>

#include <cstdlib>
#include <iostream>

namespace {

void logGlfwError(int code, const char* description)
{
    std::cerr << "GLFW error " << code << ": " << description << std::endl;
}

GLFWwindow* createHiddenWindow()
{
    glfwSetErrorCallback(logGlfwError);
    std::atexit(glfwTerminate);
    return openContextWindow(64, 64, false, "test context");
}

} // namespace

GLFWwindow* sharedGLWindow()
{
    static GLFWwindow* window = createHiddenWindow();
    return window;
}
