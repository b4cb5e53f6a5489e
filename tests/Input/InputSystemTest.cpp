#include "Input/InputSystem.h"

#include "GLContext.h"
#include "Input/InputListener.h"
#include "Input/InputManager.h"

#include <GLFW/glfw3.h>

#include <string>
#include <vector>

namespace {

// Window events enter through the manager exactly as GLFW delivers them.
class InputSystemTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        input.Initialize(sharedGLWindow(), 0);
        input.setMouseArea(1024, 768);
    }
    void TearDown() override { input.Shutdown(); }

    void key(int glfwKey, int action) { input.manager()->onKey(glfwKey, action); }

    InputSystem input;
};

TEST_F(InputSystemTest, PressHoldReleaseAcrossFrames)
{
    key(GLFW_KEY_W, GLFW_PRESS); // held before the first update: down, but not pressed
    input.manager()->onMouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    input.Update();
    EXPECT_TRUE(input.keyboard.isDown(KC_W));
    EXPECT_FALSE(input.keyboard.wentDown(KC_W));
    EXPECT_TRUE(input.mouse.isDown(0));
    EXPECT_FALSE(input.mouse.wentDown(0));
    key(GLFW_KEY_ESCAPE, GLFW_PRESS);
    input.Update();
    EXPECT_TRUE(input.keyboard.wentDown(KC_ESCAPE));
    input.Update();
    EXPECT_TRUE(input.keyboard.isDown(KC_ESCAPE));
    EXPECT_FALSE(input.keyboard.wentDown(KC_ESCAPE));
    key(GLFW_KEY_ESCAPE, GLFW_RELEASE);
    input.Update();
    EXPECT_FALSE(input.keyboard.isDown(KC_ESCAPE));
    EXPECT_NE(input.keyboard.previous[KC_ESCAPE], 0); // released this frame
}

TEST_F(InputSystemTest, TapBetweenTwoFramesIsNotLost)
{
    InputManager* events = input.manager();
    input.Update();
    key(GLFW_KEY_SPACE, GLFW_PRESS);
    key(GLFW_KEY_SPACE, GLFW_RELEASE);
    events->onMouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    events->onMouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
    input.Update();
    EXPECT_TRUE(input.keyboard.wentDown(KC_SPACE));
    EXPECT_TRUE(input.mouse.wentDown(0));
    input.Update();
    EXPECT_FALSE(input.keyboard.isDown(KC_SPACE));
    EXPECT_FALSE(input.mouse.isDown(0));
}

// Each click is a press, also when the first still reads as down in the
// snapshot before the second.
TEST_F(InputSystemTest, ClickInEachOfTwoFramesIsTwoPresses)
{
    InputManager* events = input.manager();
    input.Update();
    for (int frame = 0; frame < 2; ++frame) {
        events->onMouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
        events->onMouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE);
        input.Update();
        EXPECT_TRUE(input.mouse.wentDown(0)) << frame;
    }
}

TEST_F(InputSystemTest, KeyRepeatsAndUnmappedKeysChangeNothing)
{
    input.Update();
    key(GLFW_KEY_A, GLFW_REPEAT);
    key(GLFW_KEY_UNKNOWN, GLFW_PRESS);
    key(GLFW_KEY_LAST + 5, GLFW_PRESS);
    input.Update();
    for (int code = 0; code < keyCodeCount; ++code)
        EXPECT_EQ(input.keyboard.current[code], 0) << code;
}

TEST_F(InputSystemTest, MouseMotionWheelAndButtonsArePerFrame)
{
    InputManager* events = input.manager();
    // The first position is only the baseline: where the pointer jumped from
    // when the window captured it is unknown.
    events->onCursorPosition(100.0, 100.0);
    input.Update();
    EXPECT_EQ(input.mouse.device->state().X.rel, 0);
    events->onCursorPosition(130.0, 90.0);
    events->onCursorPosition(140.0, 95.0);
    input.Update();
    const MouseState& state = input.mouse.device->state();
    EXPECT_EQ(state.X.rel, 40);
    EXPECT_EQ(state.Y.rel, -5);
    EXPECT_GE(state.X.abs, 40);
    input.Update();
    EXPECT_EQ(input.mouse.device->state().X.rel, 0);
    events->onCursorPosition(5000.0, 5000.0);
    events->onScroll(-2.0);
    events->onMouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    input.Update();
    EXPECT_EQ(input.mouse.device->state().X.abs, 1024); // clipped to the area
    EXPECT_EQ(input.mouse.device->state().Y.abs, 768);
    EXPECT_EQ(input.mouse.device->state().Z.rel, -240);
    EXPECT_TRUE(input.mouse.wentDown(0));
    EXPECT_FALSE(input.mouse.isDown(1));
    input.Update();
    EXPECT_EQ(input.mouse.device->state().Z.rel, 0);
    EXPECT_TRUE(input.mouse.isDown(0));
    EXPECT_FALSE(input.mouse.wentDown(0));
}

TEST(InputSystemWithoutDevices, ReadsAsNothingDown)
{
    InputSystem input;
    EXPECT_TRUE(input.Update());
    EXPECT_FALSE(input.keyboard.isDown(KC_ESCAPE) || input.mouse.isDown(0));
    input.Shutdown(); // harmless when never initialised
}

struct RecordingListener : InputListener {
    std::vector<std::string> events;
    void add(const std::string& what, int a, int b = 0, int c = 0)
    {
        events.push_back(what + " " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c));
    }
    void keyPressed(KeyCode key) override { add("down", key); }
    void keyReleased(KeyCode key) override { add("up", key); }
    void characterTyped(unsigned int c) override { add("char", int(c)); }
    void mouseMoved(double dx, double dy, double wheel) override { add("move", int(dx), int(dy), int(wheel)); }
    void mousePressed(int b) override { add("press", b); }
    void mouseReleased(int b) override { add("release", b); }
};

TEST_F(InputSystemTest, BufferedEventsReachTheListenerInOrder)
{
    RecordingListener listener;
    input.setEventListener(&listener);
    InputManager* events = input.manager();
    events->onKey(GLFW_KEY_A, GLFW_PRESS);
    events->onCharacter('a');
    events->onKey(GLFW_KEY_A, GLFW_RELEASE);
    events->onCursorPosition(10.0, 10.0);
    events->onCursorPosition(13.0, 6.0);
    events->onScroll(1.0);
    events->onMouseButton(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
    events->onMouseButton(GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE);
    input.setEventListener(nullptr);
    std::vector<std::string> expected = {"down 30 0 0",  "char 97 0 0",   "up 30 0 0",     "move 3 -4 0",
                                         "move 0 0 120", "press 1 0 0", "release 1 0 0"};
    EXPECT_EQ(listener.events, expected);
}

// The callbacks installed on the window (read back from GLFW) forward what
// GLFW reports to the system's manager, and shutting down removes them.
TEST_F(InputSystemTest, WindowCallbacksForwardToTheManagerUntilShutdown)
{
    GLFWwindow* window = sharedGLWindow();
    auto installed = [window](auto setCallback) {
        auto callback = setCallback(window, nullptr);
        setCallback(window, callback);
        return callback;
    };
    input.Update();
    installed(glfwSetKeyCallback)(window, GLFW_KEY_A, 0, GLFW_PRESS, 0);
    installed(glfwSetMouseButtonCallback)(window, GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS, 0);
    installed(glfwSetCursorPosCallback)(window, 10.0, 10.0);
    installed(glfwSetCursorPosCallback)(window, 14.0, 7.0);
    installed(glfwSetScrollCallback)(window, 0.0, 1.0);
    input.Update();
    EXPECT_TRUE(input.keyboard.wentDown(KC_A));
    EXPECT_TRUE(input.mouse.wentDown(1));
    EXPECT_EQ(input.mouse.device->state().X.rel, 4);
    EXPECT_EQ(input.mouse.device->state().Y.rel, -3);
    EXPECT_EQ(input.mouse.device->state().Z.rel, 120);
    input.Shutdown();
    EXPECT_EQ(installed(glfwSetKeyCallback), nullptr);
    EXPECT_EQ(installed(glfwSetCursorPosCallback), nullptr);
}

TEST_F(InputSystemTest, ShutdownReleasesDevicesAndAllowsAnotherInitialize)
{
    input.Shutdown();
    EXPECT_FALSE(input.isInitialized());
    EXPECT_EQ(input.keyboard.device, nullptr);
    input.Initialize(sharedGLWindow(), 0);
    EXPECT_TRUE(input.isInitialized());
    EXPECT_NE(input.keyboard.device, nullptr);
}

} // namespace
