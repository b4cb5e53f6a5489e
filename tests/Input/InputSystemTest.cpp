#include "Input/InputSystem.h"

#include "GLContext.h"
#include "Input/InputListener.h"
#include "Input/InputManager.h"

#include <GLFW/glfw3.h>

#include <numeric>
#include <sstream>

namespace {

// Window events enter through the manager exactly as GLFW delivers them.
class InputSystemTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        input.Initialize(sharedGLWindow(), 0);
        input.setMouseArea(1024, 768);
        events = input.manager();
    }
    void TearDown() override { input.Shutdown(); }

    InputSystem input;
    InputManager* events = nullptr;
};

// A key or button held before the first update is down but not pressed;
// repeats, keys without a code and buttons beyond the eighth change nothing;
// a tap between two updates is not lost, and a click in each of two frames is
// two presses although the first still reads as down before the second.
TEST_F(InputSystemTest, KeysAndButtonsAcrossFrames)
{
    events->onKey(GLFW_KEY_W, GLFW_PRESS);
    events->onMouseButton(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
    events->onKey(GLFW_KEY_A, GLFW_REPEAT);
    events->onKey(GLFW_KEY_UNKNOWN, GLFW_PRESS);
    events->onKey(GLFW_KEY_LAST + 5, GLFW_PRESS);
    events->onMouseButton(-1, GLFW_PRESS);
    events->onMouseButton(mouseButtonCount, GLFW_PRESS);
    input.Update();
    EXPECT_TRUE(input.keyboard.isDown(KC_W));
    EXPECT_FALSE(input.keyboard.wentDown(KC_W));
    EXPECT_EQ(std::accumulate(input.keyboard.current, input.keyboard.current + keyCodeCount, 0), 1);
    EXPECT_EQ(input.mouse.device->state().buttons, 0b10);
    EXPECT_FALSE(input.mouse.wentDown(1));
    for (int frame = 0; frame < 2; ++frame) {
        events->onKey(GLFW_KEY_SPACE, GLFW_PRESS);
        events->onKey(GLFW_KEY_SPACE, GLFW_RELEASE);
        events->onMouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
        events->onMouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
        input.Update();
        EXPECT_EQ(input.keyboard.wentDown(KC_SPACE), frame == 0) << frame;
        EXPECT_TRUE(input.mouse.wentDown(0)) << frame;
    }
}

TEST_F(InputSystemTest, MouseMotionAndWheelArePerFrameAndClippedToTheArea)
{
    const MouseState& state = input.mouse.device->state();
    // The first position is only the baseline: where the pointer jumped from
    // when the window captured it is unknown.
    events->onCursorPosition(100.0, 100.0);
    input.Update();
    EXPECT_EQ(state.X.rel, 0);
    events->onCursorPosition(130.0, 90.0);
    events->onCursorPosition(140.5, 95.0);
    input.Update();
    EXPECT_EQ(state.X.rel, 40);
    events->onCursorPosition(141.0, 95.0);
    input.Update();
    EXPECT_EQ(state.X.rel, 1) << "the half pixel of the last frame was lost";
    events->onCursorPosition(5000.0, 5000.0);
    events->onScroll(-2.0);
    input.Update();
    EXPECT_EQ(state.X.abs, 1024);
    EXPECT_EQ(state.Y.abs, 768);
    EXPECT_EQ(state.Z.rel, -240);
}

struct RecordingListener : InputListener {
    std::ostringstream log;
    void keyPressed(KeyCode key) override { log << "down " << int(key) << ", "; }
    void keyReleased(KeyCode key) override { log << "up " << int(key) << ", "; }
    void characterTyped(unsigned int c) override { log << "char " << c << ", "; }
    void mouseMoved(double dx, double dy, double wheel) override { log << "move " << dx << " " << dy << " " << wheel << ", "; }
    void mousePressed(int b) override { log << "press " << b << ", "; }
    void mouseReleased(int b) override { log << "release " << b << ", "; }
};

// The callbacks installed on the window (read back from GLFW) pass what GLFW
// reports to the listener in order; shutting down removes them, and the
// system starts again.
TEST_F(InputSystemTest, WindowEventsReachTheListenerUntilShutdown)
{
    GLFWwindow* window = sharedGLWindow();
    auto installed = [window](auto setCallback) {
        auto callback = setCallback(window, nullptr);
        setCallback(window, callback);
        return callback;
    };
    RecordingListener listener;
    input.setEventListener(&listener);
    installed(glfwSetKeyCallback)(window, GLFW_KEY_A, 0, GLFW_PRESS, 0);
    installed(glfwSetCharCallback)(window, 'a');
    installed(glfwSetKeyCallback)(window, GLFW_KEY_A, 0, GLFW_RELEASE, 0);
    installed(glfwSetCursorPosCallback)(window, 10.0, 10.0);
    installed(glfwSetCursorPosCallback)(window, 13.0, 6.0);
    installed(glfwSetScrollCallback)(window, 0.0, 1.0);
    installed(glfwSetMouseButtonCallback)(window, GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS, 0);
    installed(glfwSetMouseButtonCallback)(window, GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE, 0);
    EXPECT_EQ(listener.log.str(), "down 30, char 97, up 30, move 3 -4 0, move 0 0 120, press 1, release 1, ");
    input.Shutdown();
    EXPECT_EQ(installed(glfwSetKeyCallback), nullptr);
    input.Update(); // without devices nothing is read
    input.Initialize(window, 0);
    EXPECT_NE(installed(glfwSetKeyCallback), nullptr);
}

} // namespace
