#include "Input/Devices.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Moves the whole units of `pending` out, keeping the fraction for later.
int takeWholeUnits(double& pending)
{
    double whole = std::trunc(pending);
    pending -= whole;
    return static_cast<int>(whole);
}

int scaleAxis(float value)
{
    float clamped = std::clamp(value, -1.0f, 1.0f);
    return static_cast<int>(std::lround(clamped < 0.0f ? clamped * 32768.0f : clamped * 32767.0f));
}

int povFromHat(unsigned char hat)
{
    int pov = PovDirection::Centered;
    if (hat & GLFW_HAT_UP) pov |= PovDirection::North;
    if (hat & GLFW_HAT_DOWN) pov |= PovDirection::South;
    if (hat & GLFW_HAT_RIGHT) pov |= PovDirection::East;
    if (hat & GLFW_HAT_LEFT) pov |= PovDirection::West;
    return pov;
}

} // namespace

void Keyboard::setKeyDown(KeyCode code, bool down)
{
    live[code] = down ? 1 : 0;
    if (down)
        tapped[code] = 1;
}

void Keyboard::capture(std::uint8_t* states)
{
    for (int i = 0; i < keyCodeCount; ++i)
        states[i] = live[i] | tapped[i];
    std::memset(tapped, 0, sizeof tapped);
}

Mouse::Motion Mouse::moveTo(double x, double y)
{
    Motion motion;
    if (hasCursor)
        motion = {x - cursorX, y - cursorY};
    pendingX += motion.dx;
    pendingY += motion.dy;
    hasCursor = true;
    cursorX = x;
    cursorY = y;
    return motion;
}

void Mouse::scroll(double notches) { pendingWheel += notches * wheelUnitsPerNotch; }

void Mouse::setButtonDown(int button, bool down)
{
    if (button < 0 || button >= mouseButtonCount)
        return;
    if (down) {
        if (!(liveButtons & (1 << button))) // a second press event of a held button is no new press
            tappedButtons |= 1 << button;
        liveButtons |= 1 << button;
    }
    else
        liveButtons &= ~(1 << button);
}

void Mouse::capture()
{
    current.X.rel = takeWholeUnits(pendingX);
    current.Y.rel = takeWholeUnits(pendingY);
    current.Z.rel = takeWholeUnits(pendingWheel);
    current.X.abs = std::clamp(current.X.abs + current.X.rel, 0, current.width);
    current.Y.abs = std::clamp(current.Y.abs + current.Y.rel, 0, current.height);
    current.Z.abs += current.Z.rel;
    current.buttons = liveButtons | tappedButtons;
    current.pressed = tappedButtons;
    tappedButtons = 0;
}

void Mouse::setArea(int width, int height)
{
    current.width = width;
    current.height = height;
}

void Joystick::capture()
{
    int axisCount = 0, buttonCount = 0, hatCount = 0;
    const float* axes = glfwGetJoystickAxes(id, &axisCount);
    const unsigned char* buttons = glfwGetJoystickButtons(id, &buttonCount);
    const unsigned char* hats = glfwGetJoystickHats(id, &hatCount);
    applyRawState(axes, axes ? axisCount : 0, buttons, buttons ? buttonCount : 0, hats,
                  hats ? hatCount : 0);
}

void Joystick::applyRawState(const float* axes, int axisCount, const unsigned char* buttons,
                             int buttonCount, const unsigned char* hats, int hatCount)
{
    current.axes.resize(axisCount);
    for (int i = 0; i < axisCount; ++i)
        current.axes[i] = scaleAxis(axes[i]);
    current.buttons.resize(buttonCount);
    for (int i = 0; i < buttonCount; ++i)
        current.buttons[i] = buttons[i] == GLFW_PRESS;
    for (int i = 0; i < joystickPovCount; ++i)
        current.povs[i] = i < hatCount ? povFromHat(hats[i]) : PovDirection::Centered;
}
