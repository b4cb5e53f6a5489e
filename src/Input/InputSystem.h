#pragma once
// src/Input: the keyboard, mouse and joysticks on the window's GLFW events, read once a frame.
// Uses only GLFW; the Engine's key handling and the GUI read it.
//
// Polled input with the previous frame kept: for every device the state of
// this frame and of the frame before, so that readers can tell a control that
// is held from one that went down or up in this frame. Updated once per frame
// before anything reads input; in the first frame after a device appears its
// previous state equals its current one, so nothing reads as pressed.
#include "Input/Devices.h"

#include <cstdint>
#include <memory>

struct GLFWwindow;
class InputListener;
class InputManager;

constexpr int maxJoysticks = 4;

struct KeyboardSlot {
    Keyboard* device = nullptr;
    bool initialized = false; // false until the first update
    std::uint8_t buffers[2][keyCodeCount] = {};
    int bufferIndex = 0;      // which buffer holds the current frame
    std::uint8_t* current = buffers[0];
    std::uint8_t* previous = buffers[1];

    bool isDown(int key) const { return device && current[key] != 0; }
    bool wentDown(int key) const { return isDown(key) && previous[key] == 0; }
};

struct MouseSlot {
    Mouse* device = nullptr;
    MouseState previousState;
    bool initialized = false;
    int presses = 0; // bit b set: button b went down since the previous snapshot

    bool isDown(int button) const { return device && device->state().buttonDown(button); }
    // Also for a click in each of two frames in a row, where the button reads
    // as down in both snapshots.
    bool wentDown(int button) const { return (presses >> button) & 1; }
};

struct JoystickSlot {
    std::unique_ptr<Joystick> device;
    JoyStickState previousState;
    bool initialized = false;
};

enum InputOptions : unsigned {
    // Window systems with access modes take bits 1, 2 and 4; GLFW has none.
    InputLogEnabled = 8, // log the start-up and device failures
};

class InputSystem {
public:
    InputSystem();
    ~InputSystem();

    // Binds the devices to `window`; does nothing when already initialised.
    void Initialize(GLFWwindow* window, unsigned options);
    // Takes this frame's snapshots; returns true.
    bool Update();
    // Hands the window system's queued events to the devices; once a frame,
    // and once before the first Update so that start-up's events are not news.
    void collectWindowEvents();
    void Shutdown();

    bool isInitialized() const { return inputManager != nullptr; }
    // Buffered events go to `listener` (kept across Initialize and Shutdown).
    void setEventListener(InputListener* listener);
    // Clipping area of the absolute mouse position, pixels.
    void setMouseArea(int width, int height);
    // Window events enter here (exposed for the GLFW callbacks and tests).
    InputManager* manager() { return inputManager.get(); }

    KeyboardSlot keyboard;
    MouseSlot mouse;
    int joystickCount = 0;
    JoystickSlot joysticks[maxJoysticks];
    bool logEnabled = false;

private:
    void updateKeyboard();
    void updateMouse();
    void updateJoysticks();

    std::unique_ptr<InputManager> inputManager;
    InputListener* eventListener = nullptr;
};

// The process-wide input system, read by the frame code.
extern InputSystem inputSystem;
