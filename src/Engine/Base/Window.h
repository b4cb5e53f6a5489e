#pragma once
// The game window: GLFW window with an OpenGL 3.3 compatibility context,
// entry points loaded through GLEW, and a title unique among the X server's
// windows.
#include <string>

struct GLFWwindow;

enum class GLVersionVerdict { Supported, Unreadable, Below33 };

// Reads "major<sep>minor..." from a GL_VERSION string (null allowed).
// Unreadable covers a missing string and a major version below 3.
GLVersionVerdict checkGLVersion(const char* versionString);

// Opens the window and the context, prints the OpenGL and GLSL versions and
// captures the cursor. On failure prints the reason to standard output and
// returns null (GLFW is then terminated); a driver that refuses the 3.3
// context is asked for its own version, which the line names as too old.
// `title` receives the title set.
GLFWwindow* openWindow(int width, int height, const std::string& baseTitle, std::string& title);

// A window with the game's kind of OpenGL context, current on this thread,
// with the entry points loaded, for tools and tests. Null on failure (GLFW
// stays initialised). No version check and no messages.
GLFWwindow* openContextWindow(int width, int height, bool visible, const char* title);
