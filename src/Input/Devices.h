#pragma once
// Input devices fed by window events: the keyboard and the mouse keep their
// live state as events arrive; a joystick reads its state when captured.
// States use the OIS conventions: key codes as scan codes, mouse axes with
// absolute and relative values (wheel: 120 per notch), button bits with
// left = 0 and right = 1, joystick axes in -32768..32767, POV direction bits.
#include "Input/KeyCodes.h"

#include <cstdint>
#include <vector>

// A key pressed and released between two captures still reads as down in
// the next capture, so that a quick tap is never lost between frames.
class Keyboard {
public:
    void setKeyDown(KeyCode code, bool down);
    // Writes the key states since the previous capture.
    // [Out: keyCodeCount bytes, non-zero = down]
    void capture(std::uint8_t* states);

private:
    std::uint8_t live[keyCodeCount] = {};
    std::uint8_t tapped[keyCodeCount] = {}; // went down since the last capture
};

struct MouseAxis {
    int abs = 0; // position (X, Y: clipped to the area; Z: accumulated wheel)
    int rel = 0; // motion during the last capture interval
};

struct MouseState {
    int width = 50;  // clipping area, pixels
    int height = 50;
    MouseAxis X, Y, Z;
    int buttons = 0; // bit b set: button b is down
    int pressed = 0; // bit b set: button b went down during the last capture interval

    bool buttonDown(int button) const { return (buttons & (1 << button)) != 0; }
};

constexpr int wheelUnitsPerNotch = 120;
constexpr int mouseButtonCount = 8;

class Mouse {
public:
    struct Motion {
        double dx = 0.0, dy = 0.0;
    };
    // Cursor position event in window pixels (unbounded while the cursor is
    // captured). Returns the motion from the previous position (none at first).
    Motion moveTo(double x, double y);
    void scroll(double notches);
    void setButtonDown(int button, bool down);
    // Publishes the motion since the previous capture into state().
    void capture();

    const MouseState& state() const { return current; }
    void setArea(int width, int height);

private:
    MouseState current;
    int liveButtons = 0;
    int tappedButtons = 0; // went down since the last capture, as for the keyboard
    bool hasCursor = false;
    double cursorX = 0.0, cursorY = 0.0;
    double pendingX = 0.0, pendingY = 0.0, pendingWheel = 0.0; // not yet published
};

constexpr int joystickPovCount = 4;
enum PovDirection : int { Centered = 0, North = 1, South = 16, East = 256, West = 4096 };

struct JoyStickState {
    std::vector<int> axes;     // -32768..32767
    std::vector<bool> buttons;
    int povs[joystickPovCount] = {}; // PovDirection bits, sums for diagonals
};

class Joystick {
public:
    explicit Joystick(int glfwJoystickId) : id(glfwJoystickId) {}
    // Reads the joystick's current axes, buttons and hats.
    void capture();
    // Converts raw readings: axes in -1..1, buttons and hats as GLFW reports them.
    void applyRawState(const float* axes, int axisCount, const unsigned char* buttons,
                       int buttonCount, const unsigned char* hats, int hatCount);

    const JoyStickState& state() const { return current; }
    int buttonCount() const { return static_cast<int>(current.buttons.size()); }

private:
    int id;
    JoyStickState current;
};
