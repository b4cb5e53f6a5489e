#include "Input/InputManager.h"

#include "Input/InputListener.h"

#include <GLFW/glfw3.h>

namespace {

InputManager* managerOf(GLFWwindow* window)
{
    return static_cast<InputManager*>(glfwGetWindowUserPointer(window));
}

void keyCallback(GLFWwindow* window, int key, int /*scancode*/, int action, int /*mods*/)
{
    managerOf(window)->onKey(key, action);
}

void characterCallback(GLFWwindow* window, unsigned int codepoint)
{
    managerOf(window)->onCharacter(codepoint);
}

void cursorCallback(GLFWwindow* window, double x, double y)
{
    managerOf(window)->onCursorPosition(x, y);
}

void scrollCallback(GLFWwindow* window, double /*xOffset*/, double yOffset)
{
    managerOf(window)->onScroll(yOffset);
}

void mouseButtonCallback(GLFWwindow* window, int button, int action, int /*mods*/)
{
    managerOf(window)->onMouseButton(button, action);
}

void installCallbacks(GLFWwindow* window, bool install)
{
    glfwSetKeyCallback(window, install ? keyCallback : nullptr);
    glfwSetCharCallback(window, install ? characterCallback : nullptr);
    glfwSetCursorPosCallback(window, install ? cursorCallback : nullptr);
    glfwSetScrollCallback(window, install ? scrollCallback : nullptr);
    glfwSetMouseButtonCallback(window, install ? mouseButtonCallback : nullptr);
}

} // namespace

InputManager::InputManager(GLFWwindow* window) : window(window)
{
    for (int id = GLFW_JOYSTICK_1; id <= GLFW_JOYSTICK_LAST; ++id) {
        if (glfwJoystickPresent(id))
            presentJoysticks.push_back(id);
    }
    if (window) {
        glfwSetWindowUserPointer(window, this);
        installCallbacks(window, true);
    }
}

InputManager::~InputManager()
{
    if (window) {
        installCallbacks(window, false);
        glfwSetWindowUserPointer(window, nullptr);
    }
}

void InputManager::onKey(int glfwKey, int action)
{
    if (action == GLFW_REPEAT)
        return;
    KeyCode code = keyCodeFromGlfw(glfwKey);
    if (code == KC_UNASSIGNED)
        return;
    bool down = action == GLFW_PRESS;
    keyboardDevice.setKeyDown(code, down);
    if (listener) {
        if (down)
            listener->keyPressed(code);
        else
            listener->keyReleased(code);
    }
}

void InputManager::onCharacter(unsigned int codepoint)
{
    if (listener)
        listener->characterTyped(codepoint);
}

void InputManager::onCursorPosition(double x, double y)
{
    Mouse::Motion motion = mouseDevice.moveTo(x, y);
    if (listener && (motion.dx != 0.0 || motion.dy != 0.0))
        listener->mouseMoved(motion.dx, motion.dy, 0.0);
}

void InputManager::onScroll(double yOffset)
{
    mouseDevice.scroll(yOffset);
    if (listener)
        listener->mouseMoved(0.0, 0.0, yOffset * wheelUnitsPerNotch);
}

void InputManager::onMouseButton(int button, int action)
{
    if (button < 0 || button >= mouseButtonCount)
        return;
    bool down = action == GLFW_PRESS;
    mouseDevice.setButtonDown(button, down);
    if (listener) {
        if (down)
            listener->mousePressed(button);
        else
            listener->mouseReleased(button);
    }
}
