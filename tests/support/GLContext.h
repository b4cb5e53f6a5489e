#pragma once
// A real OpenGL 3.3 compatibility context for tests: one hidden GLFW window
// per test process, created on first use and current on the calling thread.
#include <gtest/gtest.h>

struct GLFWwindow;

// The shared hidden window, or null when no context could be made (no display).
GLFWwindow* sharedGLWindow();

// Fixture for tests that issue OpenGL calls.
class GLTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(sharedGLWindow(), nullptr) << "no OpenGL 3.3 context (is DISPLAY set?)";
    }
};
