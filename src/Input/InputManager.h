#pragma once
// Binds the input devices to one GLFW window: installs the window's event
// callbacks, keeps the keyboard and mouse up to date and forwards every event
// to the listener, if one is set. Joysticks are the ones GLFW reports present.
#include "Input/Devices.h"

#include <memory>
#include <vector>

struct GLFWwindow;
class InputListener;

class InputManager {
public:
    explicit InputManager(GLFWwindow* window);
    ~InputManager();
    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

    Keyboard* keyboard() { return &keyboardDevice; }
    Mouse* mouse() { return &mouseDevice; }
    // GLFW ids of the joysticks present at construction, lowest first.
    const std::vector<int>& joystickIds() const { return presentJoysticks; }

    void setListener(InputListener* newListener) { listener = newListener; }

    // Window events (the GLFW callbacks land here).
    void onKey(int glfwKey, int action);
    void onCharacter(unsigned int codepoint);
    void onCursorPosition(double x, double y);
    void onScroll(double yOffset);
    void onMouseButton(int button, int action);

private:
    GLFWwindow* window;
    Keyboard keyboardDevice;
    Mouse mouseDevice;
    std::vector<int> presentJoysticks;
    InputListener* listener = nullptr;
};
