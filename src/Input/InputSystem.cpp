#include "Input/InputSystem.h"

#include "Input/InputManager.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstring>
#include <iostream>

InputSystem inputSystem;

InputSystem::InputSystem() = default;
InputSystem::~InputSystem() = default;

void InputSystem::Initialize(GLFWwindow* window, unsigned options)
{
    if (inputManager)
        return;
    logEnabled = (options & InputLogEnabled) != 0;
    if (logEnabled)
        std::cout << "Initializing input system" << std::endl;

    inputManager = std::make_unique<InputManager>(window);
    inputManager->setListener(eventListener);
    keyboard.device = inputManager->keyboard();
    keyboard.initialized = false;
    mouse.device = inputManager->mouse();
    mouse.initialized = false;

    const std::vector<int>& ids = inputManager->joystickIds();
    int count = std::min(static_cast<int>(ids.size()), maxJoysticks);
    for (int i = 0; i < count; ++i) {
        JoystickSlot& slot = joysticks[joystickCount++];
        slot.device = std::make_unique<Joystick>(ids[i]);
        slot.initialized = false;
    }
}

void InputSystem::collectWindowEvents()
{
    glfwPollEvents();
}

bool InputSystem::Update()
{
    updateKeyboard();
    updateMouse();
    updateJoysticks();
    return true;
}

void InputSystem::updateKeyboard()
{
    if (!keyboard.device)
        return;
    keyboard.bufferIndex ^= 1;
    keyboard.current = keyboard.buffers[keyboard.bufferIndex];
    keyboard.previous = keyboard.buffers[keyboard.bufferIndex ^ 1];
    keyboard.device->capture(keyboard.current);
    if (!keyboard.initialized) {
        std::memcpy(keyboard.previous, keyboard.current, keyCodeCount);
        keyboard.initialized = true;
    }
}

void InputSystem::updateMouse()
{
    if (!mouse.device)
        return;
    mouse.previousState = mouse.device->state();
    mouse.device->capture();
    mouse.presses = mouse.device->state().pressed;
    if (!mouse.initialized) {
        mouse.previousState = mouse.device->state();
        mouse.presses = 0; // a press during start-up is not one of the game's
        mouse.initialized = true;
    }
}

void InputSystem::updateJoysticks()
{
    for (int i = 0; i < joystickCount; ++i) {
        JoystickSlot& slot = joysticks[i];
        if (!slot.device)
            continue;
        slot.previousState = slot.device->state();
        slot.device->capture();
        if (!slot.initialized) {
            slot.previousState = slot.device->state();
            slot.initialized = true;
        }
    }
}

void InputSystem::Shutdown()
{
    if (!inputManager)
        return;
    keyboard.device = nullptr;
    keyboard.initialized = false;
    mouse.device = nullptr;
    mouse.initialized = false;
    mouse.presses = 0;
    for (JoystickSlot& slot : joysticks) {
        slot.device.reset();
        slot.initialized = false;
    }
    joystickCount = 0;
    inputManager.reset();
}

void InputSystem::setEventListener(InputListener* listener)
{
    eventListener = listener;
    if (inputManager)
        inputManager->setListener(listener);
}

void InputSystem::setMouseArea(int width, int height)
{
    if (mouse.device)
        mouse.device->setArea(width, height);
}
