#include "Engine/Base/Window.h"

#include "Engine/Base/Config.h"
#include "Platform/WindowTitles.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cctype>
#include <iostream>

GLVersionVerdict checkGLVersion(const char* versionString)
{
    if (!versionString || !std::isdigit(static_cast<unsigned char>(versionString[0])))
        return GLVersionVerdict::Unreadable;
    int major = 0;
    const char* p = versionString;
    while (std::isdigit(static_cast<unsigned char>(*p)))
        major = major * 10 + (*p++ - '0');
    if (major < config::glVersionMajor)
        return GLVersionVerdict::Unreadable;
    if (*p != '\0')
        ++p; // the separator
    int minor = 0;
    while (std::isdigit(static_cast<unsigned char>(*p)))
        minor = minor * 10 + (*p++ - '0');
    if (major == config::glVersionMajor && minor < config::glVersionMinor)
        return GLVersionVerdict::Below33;
    return GLVersionVerdict::Supported;
}

namespace {

constexpr int probeWindowSize = 16; // pixels; the version probe is never shown

GLFWwindow* createWindow(int width, int height, const char* title, bool visible)
{
    glfwWindowHint(GLFW_VISIBLE, visible ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, config::glVersionMajor);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, config::glVersionMinor);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_COMPAT_PROFILE);
    glfwWindowHint(GLFW_DEPTH_BITS, config::depthBits);
    glfwWindowHint(GLFW_STENCIL_BITS, config::stencilBits);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    return glfwCreateWindow(width, height, title, nullptr, nullptr);
}

// Loads the entry points and checks the context version.
bool loadOpenGL()
{
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        std::cout << "Failed to initialize OpenGL." << std::endl;
        return false;
    }
    switch (checkGLVersion(reinterpret_cast<const char*>(glGetString(GL_VERSION)))) {
    case GLVersionVerdict::Unreadable:
        std::cout << "Failed to initialize OpenGL." << std::endl;
        return false;
    case GLVersionVerdict::Below33:
        std::cout << "OpenGL 3.3 is not supported." << std::endl;
        return false;
    case GLVersionVerdict::Supported:
        return true;
    }
    return false;
}

// The driver refused the 3.3 context: a hidden window with its default
// context tells which version it has, so that the line says why.
void reportRefusedContext()
{
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* probe = glfwCreateWindow(probeWindowSize, probeWindowSize, "", nullptr, nullptr);
    if (probe) {
        glfwMakeContextCurrent(probe);
        const bool supported = loadOpenGL(); // prints the verdict when it is not
        glfwMakeContextCurrent(nullptr);
        glfwDestroyWindow(probe);
        if (!supported)
            return;
    }
    std::cout << "Failed to initialize OpenGL window." << std::endl;
}

} // namespace

GLFWwindow* openWindow(int width, int height, const std::string& baseTitle, std::string& title)
{
    if (!glfwInit()) {
        std::cout << "Failed to initialise GLFW" << std::endl;
        const char* reason = nullptr;
        if (glfwGetError(&reason) != GLFW_NO_ERROR && reason)
            std::cout << "GLFW: " << reason << std::endl; // the display refused, say
        return nullptr;
    }
    // Created untitled, so that the title lookup below does not find itself.
    GLFWwindow* window = createWindow(width, height, "", true);
    if (!window) {
        reportRefusedContext();
        glfwTerminate();
        return nullptr;
    }
    title = platform::uniqueWindowTitle(baseTitle);
    glfwSetWindowTitle(window, title.c_str());
    glfwMakeContextCurrent(window);
    glfwSwapInterval(0);
    if (!loadOpenGL()) {
        glfwTerminate();
        return nullptr;
    }
    std::cout << "OpenGL " << glGetString(GL_VERSION) << " GLSL "
              << glGetString(GL_SHADING_LANGUAGE_VERSION) << std::endl;
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    glGetError(); // errors left over from context creation
    std::cout << "\n" << std::endl;
    return window;
}

GLFWwindow* openContextWindow(int width, int height, bool visible, const char* title)
{
    if (!glfwInit())
        return nullptr;
    GLFWwindow* window = createWindow(width, height, title, visible);
    if (!window)
        return nullptr;
    glfwMakeContextCurrent(window);
    glfwSwapInterval(0);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        glfwDestroyWindow(window);
        return nullptr;
    }
    glGetError(); // GLEW's probing may leave one behind
    return window;
}
