#include "Input/DeviceCheckers.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

namespace {

struct JoystickReading {
    std::vector<float> axes;
    std::vector<unsigned char> buttons, hats;
};

// A joystick that read `before` in the previous frame and `now` in this one.
JoystickSlot joystickFrames(const JoystickReading& before, const JoystickReading& now)
{
    JoystickSlot slot;
    slot.device = std::make_unique<Joystick>(0);
    for (const JoystickReading* r : {&before, &now}) {
        slot.previousState = slot.device->state();
        slot.device->applyRawState(r->axes.data(), int(r->axes.size()), r->buttons.data(), int(r->buttons.size()),
                                   r->hats.data(), int(r->hats.size()));
    }
    return slot;
}

TEST(KeyboardChecks, EachCheckerAppliesItsTransition)
{
    Keyboard device;
    KeyboardSlot slot;
    slot.device = &device;
    for (int key : {KC_A, KC_S}) slot.previous[key] = 1;
    for (int key : {KC_S, KC_D, KC_W}) slot.current[key] = 1;
    EXPECT_EQ(pressedDeviceChecker.CheckKeyboardKey(slot), KC_W); // lowest code: W < D
    std::vector<InputSource> found{{9, 9, 9, 0}};
    pressingDeviceChecker.CollectKeyboardKeys(slot, found);
    // Appended in key-code order, the list not cleared.
    EXPECT_EQ(found, (std::vector<InputSource>{{9, 9, 9, 0}, {1, KC_W, 0, 0}, {1, KC_S, 0, 0}, {1, KC_D, 0, 0}}));
}

TEST(MouseChecks, ButtonsAndAxesReportTheirTransitions)
{
    Mouse device;
    MouseSlot slot;
    slot.device = &device;
    slot.previousState.buttons = 0b011;
    slot.previousState.Y.rel = 5;
    device.setButtonDown(1, true);
    device.setButtonDown(2, true);
    device.moveTo(0.0, 0.0);
    device.moveTo(-12.0, 0.0);
    device.scroll(1.0);
    device.capture();
    std::vector<InputSource> found;
    pressedDeviceChecker.CollectMouseButtons(slot, found);
    releasedDeviceChecker.CollectMouseButtons(slot, found);
    pressingDeviceChecker.CollectMouseAxes(slot, found);
    releasedDeviceChecker.CollectMouseAxes(slot, found); // a released axis is at 0, which counts as positive
    EXPECT_EQ(found, (std::vector<InputSource>{{2, 2, 0, 0}, {2, 0, 0, 0}, {3, 0, -1, 0}, {3, 2, 1, 0}, {3, 1, 1, 0}}));
}

// Raw axes are scaled to -32768..32767 and clipped; the dead zone is exclusive.
TEST(JoystickChecks, AxesAreScaledWithADeadZoneAndOnlySixteenButtonsCount)
{
    const float inside = 6000 / 32767.0f, outside = 6001 / 32767.0f;
    std::vector<unsigned char> before(20, GLFW_PRESS), now(20, GLFW_RELEASE);
    now[3] = GLFW_PRESS;
    std::fill(before.begin(), before.begin() + 16, GLFW_RELEASE);
    JoystickSlot slot =
        joystickFrames({{0, 0, 0, 0, 0, 0}, before, {}}, {{inside, outside, -outside, -inside, 1.0f, -2.0f}, now, {}});
    EXPECT_EQ(slot.device->state().axes, (std::vector<int>{6000, 6001, -6001, -6000, 32767, -32768}));
    std::vector<InputSource> found;
    pressedDeviceChecker.CollectJoystickAxes(slot, found);
    EXPECT_EQ(found, (std::vector<InputSource>{{5, 1, 1, 0}, {5, 2, -1, 0}, {5, 4, 1, 0}, {5, 5, -1, 0}}));
    EXPECT_EQ(pressedDeviceChecker.CheckJoystickButton(slot), 3);
    EXPECT_EQ(releasedDeviceChecker.CheckJoystickButton(slot), -1); // buttons 16 to 19
}

TEST(JoystickChecks, PovTurningIsPressedAndReleasedInOneFrame)
{
    JoystickSlot slot = joystickFrames({{}, {}, {GLFW_HAT_UP, GLFW_HAT_LEFT}}, {{}, {}, {GLFW_HAT_RIGHT_DOWN}});
    const int southEast = PovDirection::South + PovDirection::East;
    std::vector<InputSource> found;
    pressedDeviceChecker.CollectJoystickPovs(slot, found);
    releasedDeviceChecker.CollectJoystickPovs(slot, found);
    EXPECT_EQ(found, (std::vector<InputSource>{{6, 0, southEast, 0}, {6, 0, southEast, 0}, {6, 1, 0, 0}}));
    int pov = -1, direction = 0;
    ASSERT_TRUE(pressingDeviceChecker.CheckJoystickPov(slot, pov, direction));
    EXPECT_EQ(direction, southEast);
}

// The first update reads the joystick afresh (none is attached here: nothing
// held) and shows no transition from what the slot held before. The devices
// this system lacks (keyboard, mouse, the other joysticks) match nothing.
TEST(DeviceChecks, FirstFrameAfterInitialisationAndAbsentDevicesShowNothing)
{
    InputSystem input;
    input.joystickCount = 1;
    input.joysticks[0] = joystickFrames({}, {{1.0f}, {GLFW_PRESS}, {GLFW_HAT_UP}});
    input.keyboard.current[KC_A] = 1;
    input.Update();
    std::vector<InputSource> changed;
    const DeviceChecker* checkers[] = {&pressedDeviceChecker, &pressingDeviceChecker, &releasedDeviceChecker};
    for (const DeviceChecker* checker : checkers) {
        checker->CollectKeyboardKeys(input.keyboard, changed);
        checker->CollectMouseButtons(input.mouse, changed);
        checker->CollectMouseAxes(input.mouse, changed);
        for (const JoystickSlot& joystick : input.joysticks) {
            checker->CollectJoystickButtons(joystick, changed);
            checker->CollectJoystickAxes(joystick, changed);
            checker->CollectJoystickPovs(joystick, changed);
        }
    }
    EXPECT_TRUE(changed.empty());
}

} // namespace
