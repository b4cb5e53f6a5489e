#pragma once
// Device checkers: which input of a device shows a transition in this frame.
// A checker compares each input's state in the previous frame with this one
// (as kept by InputSystem) under one rule: pressed (became active), pressing
// (is active) or released (stopped being active). Each operation either
// returns the first matching input or appends all of them as binding records.
// An absent device matches nothing.
#include "Input/InputSystem.h"

#include <vector>

// One bindable input: a key, button, axis direction or POV direction.
struct InputSource {
    enum Kind : int {
        KeyboardKey = 1, MouseButton, MouseAxis, JoystickButton, JoystickAxis, JoystickPov
    };
    int deviceType = 0; // Kind
    int index = 0;      // key code, button, axis (mouse: 0 X, 1 Y, 2 Z) or POV number
    int direction = 0;  // axes: +1 or -1; POVs: the direction bits; otherwise 0
    int reserved = 0;   // always 0

    bool operator==(const InputSource& other) const
    {
        return deviceType == other.deviceType && index == other.index &&
               direction == other.direction && reserved == other.reserved;
    }
};

// A joystick axis is active beyond this distance from the centre (exclusive).
constexpr int joystickAxisDeadZone = 6000;
constexpr int maxCheckedJoystickButtons = 16;

class DeviceChecker {
public:
    virtual ~DeviceChecker() = default;

    // Lowest matching key code, 0 when none.
    int CheckKeyboardKey(const KeyboardSlot& keyboard) const;
    // Lowest matching button 0..7, -1 when none.
    int CheckMouseButton(const MouseSlot& mouse) const;
    // First matching axis X, Y, Z and its direction.
    bool CheckMouseAxis(const MouseSlot& mouse, int& axis, int& direction) const;
    // Lowest matching button below 16 and the button count, -1 when none.
    int CheckJoystickButton(const JoystickSlot& joystick) const;
    bool CheckJoystickAxis(const JoystickSlot& joystick, int& axis, int& direction) const;
    // First matching POV 0..3 with its current direction bits.
    bool CheckJoystickPov(const JoystickSlot& joystick, int& pov, int& direction) const;

    // Append one record per matching input, in index order; never clear `out`.
    void CollectKeyboardKeys(const KeyboardSlot& keyboard, std::vector<InputSource>& out) const;
    void CollectMouseButtons(const MouseSlot& mouse, std::vector<InputSource>& out) const;
    void CollectMouseAxes(const MouseSlot& mouse, std::vector<InputSource>& out) const;
    void CollectJoystickButtons(const JoystickSlot& joystick, std::vector<InputSource>& out) const;
    void CollectJoystickAxes(const JoystickSlot& joystick, std::vector<InputSource>& out) const;
    void CollectJoystickPovs(const JoystickSlot& joystick, std::vector<InputSource>& out) const;

protected:
    // The rule for keys, buttons and axes.
    virtual bool matches(bool wasActive, bool isActive) const = 0;
    // The rule for POVs, which can change direction without going inactive.
    virtual bool matchesPov(int previous, int current) const = 0;

private:
    // Each appends the matching inputs of one kind, stopping after the first
    // when `firstOnly`; the Check and Collect operations are built on them.
    void collectKeys(const KeyboardSlot& keyboard, std::vector<InputSource>& out, bool firstOnly) const;
    void collectMouseButtons(const MouseSlot& mouse, std::vector<InputSource>& out, bool firstOnly) const;
    void collectMouseAxes(const MouseSlot& mouse, std::vector<InputSource>& out, bool firstOnly) const;
    void collectJoystickButtons(const JoystickSlot& joystick, std::vector<InputSource>& out,
                                bool firstOnly) const;
    void collectJoystickAxes(const JoystickSlot& joystick, std::vector<InputSource>& out,
                             bool firstOnly) const;
    void collectJoystickPovs(const JoystickSlot& joystick, std::vector<InputSource>& out,
                             bool firstOnly) const;
};

class PressedDeviceChecker : public DeviceChecker {
protected:
    bool matches(bool wasActive, bool isActive) const override { return !wasActive && isActive; }
    bool matchesPov(int previous, int current) const override
    {
        return current != 0 && previous != current;
    }
};

class PressingDeviceChecker : public DeviceChecker {
protected:
    bool matches(bool, bool isActive) const override { return isActive; }
    bool matchesPov(int, int current) const override { return current != 0; }
};

class ReleasedDeviceChecker : public DeviceChecker {
protected:
    bool matches(bool wasActive, bool isActive) const override { return wasActive && !isActive; }
    bool matchesPov(int previous, int current) const override
    {
        return previous != 0 && previous != current;
    }
};

extern const PressedDeviceChecker pressedDeviceChecker;
extern const PressingDeviceChecker pressingDeviceChecker;
extern const ReleasedDeviceChecker releasedDeviceChecker;
