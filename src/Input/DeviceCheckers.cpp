#include "Input/DeviceCheckers.h"

#include <algorithm>
#include <cstdlib>

const PressedDeviceChecker pressedDeviceChecker;
const PressingDeviceChecker pressingDeviceChecker;
const ReleasedDeviceChecker releasedDeviceChecker;

namespace {

int axisDirection(int value) { return value >= 0 ? 1 : -1; }

bool joystickAxisActive(int position) { return std::abs(position) > joystickAxisDeadZone; }

int relativeValue(const MouseState& state, int axis)
{
    const MouseAxis* axes[] = {&state.X, &state.Y, &state.Z};
    return axes[axis]->rel;
}

bool joystickButtonDown(const JoyStickState& state, int button)
{
    return button < static_cast<int>(state.buttons.size()) && state.buttons[button];
}

// Appends a record; returns true when the caller should stop looking.
bool add(std::vector<InputSource>& out, bool firstOnly, int kind, int index, int direction = 0)
{
    out.push_back({kind, index, direction, 0});
    return firstOnly;
}

// The first record's index and direction, when there is one.
bool first(const std::vector<InputSource>& found, int& index, int& direction)
{
    if (found.empty())
        return false;
    index = found.front().index;
    direction = found.front().direction;
    return true;
}

} // namespace

void DeviceChecker::collectKeys(const KeyboardSlot& keyboard, std::vector<InputSource>& out,
                                bool firstOnly) const
{
    if (!keyboard.device)
        return;
    for (int key = 0; key < keyCodeCount; ++key) {
        if (matches(keyboard.previous[key] != 0, keyboard.current[key] != 0) &&
            add(out, firstOnly, InputSource::KeyboardKey, key))
            return;
    }
}

void DeviceChecker::collectMouseButtons(const MouseSlot& mouse, std::vector<InputSource>& out,
                                        bool firstOnly) const
{
    if (!mouse.device)
        return;
    for (int button = 0; button < mouseButtonCount; ++button) {
        if (matches(mouse.previousState.buttonDown(button), mouse.device->state().buttonDown(button)) &&
            add(out, firstOnly, InputSource::MouseButton, button))
            return;
    }
}

void DeviceChecker::collectMouseAxes(const MouseSlot& mouse, std::vector<InputSource>& out,
                                     bool firstOnly) const
{
    if (!mouse.device)
        return;
    for (int axis = 0; axis < 3; ++axis) {
        int current = relativeValue(mouse.device->state(), axis);
        if (matches(relativeValue(mouse.previousState, axis) != 0, current != 0) &&
            add(out, firstOnly, InputSource::MouseAxis, axis, axisDirection(current)))
            return;
    }
}

void DeviceChecker::collectJoystickButtons(const JoystickSlot& joystick, std::vector<InputSource>& out,
                                           bool firstOnly) const
{
    if (!joystick.device)
        return;
    const JoyStickState& current = joystick.device->state();
    int count = std::min(joystick.device->buttonCount(), maxCheckedJoystickButtons);
    for (int button = 0; button < count; ++button) {
        if (matches(joystickButtonDown(joystick.previousState, button), joystickButtonDown(current, button)) &&
            add(out, firstOnly, InputSource::JoystickButton, button))
            return;
    }
}

void DeviceChecker::collectJoystickAxes(const JoystickSlot& joystick, std::vector<InputSource>& out,
                                        bool firstOnly) const
{
    if (!joystick.device)
        return;
    const std::vector<int>& current = joystick.device->state().axes;
    const std::vector<int>& previous = joystick.previousState.axes;
    for (std::size_t axis = 0; axis < current.size(); ++axis) {
        int before = axis < previous.size() ? previous[axis] : 0;
        if (matches(joystickAxisActive(before), joystickAxisActive(current[axis])) &&
            add(out, firstOnly, InputSource::JoystickAxis, static_cast<int>(axis),
                axisDirection(current[axis])))
            return;
    }
}

void DeviceChecker::collectJoystickPovs(const JoystickSlot& joystick, std::vector<InputSource>& out,
                                        bool firstOnly) const
{
    if (!joystick.device)
        return;
    const JoyStickState& current = joystick.device->state();
    for (int pov = 0; pov < joystickPovCount; ++pov) {
        if (matchesPov(joystick.previousState.povs[pov], current.povs[pov]) &&
            add(out, firstOnly, InputSource::JoystickPov, pov, current.povs[pov]))
            return;
    }
}

int DeviceChecker::CheckKeyboardKey(const KeyboardSlot& keyboard) const
{
    std::vector<InputSource> found;
    collectKeys(keyboard, found, true);
    return found.empty() ? 0 : found.front().index;
}

int DeviceChecker::CheckMouseButton(const MouseSlot& mouse) const
{
    std::vector<InputSource> found;
    collectMouseButtons(mouse, found, true);
    return found.empty() ? -1 : found.front().index;
}

bool DeviceChecker::CheckMouseAxis(const MouseSlot& mouse, int& axis, int& direction) const
{
    std::vector<InputSource> found;
    collectMouseAxes(mouse, found, true);
    return first(found, axis, direction);
}

int DeviceChecker::CheckJoystickButton(const JoystickSlot& joystick) const
{
    std::vector<InputSource> found;
    collectJoystickButtons(joystick, found, true);
    return found.empty() ? -1 : found.front().index;
}

bool DeviceChecker::CheckJoystickAxis(const JoystickSlot& joystick, int& axis, int& direction) const
{
    std::vector<InputSource> found;
    collectJoystickAxes(joystick, found, true);
    return first(found, axis, direction);
}

bool DeviceChecker::CheckJoystickPov(const JoystickSlot& joystick, int& pov, int& direction) const
{
    std::vector<InputSource> found;
    collectJoystickPovs(joystick, found, true);
    return first(found, pov, direction);
}

void DeviceChecker::CollectKeyboardKeys(const KeyboardSlot& keyboard, std::vector<InputSource>& out) const
{
    collectKeys(keyboard, out, false);
}

void DeviceChecker::CollectMouseButtons(const MouseSlot& mouse, std::vector<InputSource>& out) const
{
    collectMouseButtons(mouse, out, false);
}

void DeviceChecker::CollectMouseAxes(const MouseSlot& mouse, std::vector<InputSource>& out) const
{
    collectMouseAxes(mouse, out, false);
}

void DeviceChecker::CollectJoystickButtons(const JoystickSlot& joystick, std::vector<InputSource>& out) const
{
    collectJoystickButtons(joystick, out, false);
}

void DeviceChecker::CollectJoystickAxes(const JoystickSlot& joystick, std::vector<InputSource>& out) const
{
    collectJoystickAxes(joystick, out, false);
}

void DeviceChecker::CollectJoystickPovs(const JoystickSlot& joystick, std::vector<InputSource>& out) const
{
    collectJoystickPovs(joystick, out, false);
}
