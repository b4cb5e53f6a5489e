#include "Input/DeviceCheckers.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

// Two frames of one keyboard: keys down in the previous and the current frame.
struct KeyboardFrames {
    Keyboard device;
    KeyboardSlot slot;

    KeyboardFrames(std::initializer_list<int> before, std::initializer_list<int> now)
    {
        slot.device = &device;
        for (int key : before) slot.previous[key] = 1;
        for (int key : now) slot.current[key] = 1;
    }
};

struct MouseFrames {
    Mouse device;
    MouseSlot slot;

    MouseFrames(int buttonsBefore, int buttonsNow, int dxBefore = 0, int dxNow = 0, int wheelNow = 0)
    {
        slot.device = &device;
        slot.previousState.buttons = buttonsBefore;
        slot.previousState.X.rel = dxBefore;
        device.setArea(1000, 1000);
        for (int b = 0; b < mouseButtonCount; ++b)
            device.setButtonDown(b, (buttonsNow >> b) & 1);
        device.moveTo(0.0, 0.0);
        device.moveTo(dxNow, 0.0);
        device.scroll(wheelNow / double(wheelUnitsPerNotch));
        device.capture();
    }
};

struct JoystickReading {
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
    std::vector<unsigned char> hats;
};

struct JoystickFrames {
    JoystickSlot slot;

    JoystickFrames(const JoystickReading& before, const JoystickReading& now)
    {
        slot.device = std::make_unique<Joystick>(0);
        apply(before);
        slot.previousState = slot.device->state();
        apply(now);
    }

    void apply(const JoystickReading& r)
    {
        slot.device->applyRawState(r.axes.data(), int(r.axes.size()), r.buttons.data(),
                                   int(r.buttons.size()), r.hats.data(), int(r.hats.size()));
    }
};

float axisValue(int position) { return position < 0 ? position / 32768.0f : position / 32767.0f; }

TEST(KeyboardChecks, EachCheckerAppliesItsTransition)
{
    KeyboardFrames frames({KC_A, KC_S}, {KC_S, KC_D, KC_W});
    EXPECT_EQ(pressedDeviceChecker.CheckKeyboardKey(frames.slot), KC_W); // lowest code: W < D
    EXPECT_EQ(pressingDeviceChecker.CheckKeyboardKey(frames.slot), KC_W);
    EXPECT_EQ(releasedDeviceChecker.CheckKeyboardKey(frames.slot), KC_A);

    std::vector<InputSource> found{{9, 9, 9, 0}};
    pressingDeviceChecker.CollectKeyboardKeys(frames.slot, found);
    std::vector<InputSource> expected = {{9, 9, 9, 0}, {1, KC_W, 0, 0}, {1, KC_S, 0, 0}, {1, KC_D, 0, 0}};
    EXPECT_EQ(found, expected); // appended in key-code order, list not cleared
}

TEST(MouseChecks, Buttons)
{
    MouseFrames frames(0b011, 0b110);
    EXPECT_EQ(pressedDeviceChecker.CheckMouseButton(frames.slot), 2);
    EXPECT_EQ(pressingDeviceChecker.CheckMouseButton(frames.slot), 1);
    EXPECT_EQ(releasedDeviceChecker.CheckMouseButton(frames.slot), 0);
}

TEST(MouseChecks, AxesReportTheirDirection)
{
    MouseFrames moving(0, 0, 0, -12, 120);
    int axis = -1, direction = 0;
    ASSERT_TRUE(pressedDeviceChecker.CheckMouseAxis(moving.slot, axis, direction));
    EXPECT_EQ(axis, 0);
    EXPECT_EQ(direction, -1);
    std::vector<InputSource> found;
    pressingDeviceChecker.CollectMouseAxes(moving.slot, found);
    std::vector<InputSource> expected = {{3, 0, -1, 0}, {3, 2, 1, 0}};
    EXPECT_EQ(found, expected);

    MouseFrames stopped(0, 0, 5, 0);
    ASSERT_TRUE(releasedDeviceChecker.CheckMouseAxis(stopped.slot, axis, direction));
    EXPECT_EQ(axis, 0);
    EXPECT_EQ(direction, 1); // a released axis is at 0, which counts as positive
}

TEST(JoystickChecks, AxisDeadZoneIsExclusive)
{
    JoystickFrames frames({{0, 0, 0, 0}, {}, {}},
                          {{axisValue(6000), axisValue(6001), axisValue(-6001), axisValue(-6000)}, {}, {}});
    std::vector<InputSource> found;
    pressedDeviceChecker.CollectJoystickAxes(frames.slot, found);
    std::vector<InputSource> expected = {{5, 1, 1, 0}, {5, 2, -1, 0}};
    EXPECT_EQ(found, expected);
    int axis = -1, direction = 0;
    ASSERT_TRUE(pressingDeviceChecker.CheckJoystickAxis(frames.slot, axis, direction));
    EXPECT_EQ(axis, 1);
    EXPECT_FALSE(releasedDeviceChecker.CheckJoystickAxis(frames.slot, axis, direction));
}

TEST(Devices, RawReadingsAreScaledClippedAndCarried)
{
    JoystickFrames frames({}, {{-1.0f, 1.0f, 0.0f, -2.0f}, {}, {}});
    EXPECT_EQ(frames.slot.device->state().axes, (std::vector<int>{-32768, 32767, 0, -32768}));

    Mouse mouse; // fractional motion carries over; buttons outside the eight bits are ignored
    mouse.setArea(100, 100);
    mouse.moveTo(10.0, 10.0);
    mouse.moveTo(10.6, 10.0);
    mouse.setButtonDown(-1, true);
    mouse.setButtonDown(mouseButtonCount, true);
    mouse.setButtonDown(7, true);
    mouse.capture();
    EXPECT_EQ(mouse.state().X.rel, 0);
    EXPECT_EQ(mouse.state().buttons, 1 << 7);
    mouse.moveTo(11.2, 10.0);
    mouse.capture();
    EXPECT_EQ(mouse.state().X.rel, 1);
}

TEST(JoystickChecks, OnlyTheFirstSixteenButtonsAreReported)
{
    std::vector<unsigned char> none(20, GLFW_RELEASE), high(20, GLFW_RELEASE);
    for (int b = 16; b < 20; ++b) high[b] = GLFW_PRESS;
    JoystickFrames frames({{}, none, {}}, {{}, high, {}});
    EXPECT_EQ(pressedDeviceChecker.CheckJoystickButton(frames.slot), -1);
    high[3] = GLFW_PRESS;
    frames.apply({{}, high, {}});
    EXPECT_EQ(pressedDeviceChecker.CheckJoystickButton(frames.slot), 3);
    std::vector<InputSource> found;
    pressingDeviceChecker.CollectJoystickButtons(frames.slot, found);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], (InputSource{4, 3, 0, 0}));
}

TEST(JoystickChecks, PovTurningIsPressedAndReleasedInOneFrame)
{
    JoystickFrames frames({{}, {}, {GLFW_HAT_UP, GLFW_HAT_CENTERED}},
                          {{}, {}, {GLFW_HAT_RIGHT_DOWN, GLFW_HAT_CENTERED}});
    int pov = -1, direction = 0;
    ASSERT_TRUE(pressedDeviceChecker.CheckJoystickPov(frames.slot, pov, direction));
    EXPECT_EQ(pov, 0);
    EXPECT_EQ(direction, PovDirection::South + PovDirection::East);
    ASSERT_TRUE(releasedDeviceChecker.CheckJoystickPov(frames.slot, pov, direction));
    EXPECT_EQ(direction, PovDirection::South + PovDirection::East); // the current direction

    JoystickFrames centred({{}, {}, {GLFW_HAT_LEFT}}, {{}, {}, {GLFW_HAT_CENTERED}});
    std::vector<InputSource> found;
    releasedDeviceChecker.CollectJoystickPovs(centred.slot, found);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], (InputSource{6, 0, 0, 0}));
    EXPECT_FALSE(pressingDeviceChecker.CheckJoystickPov(centred.slot, pov, direction));
}

TEST(DeviceChecks, AbsentDevicesMatchNothing)
{
    KeyboardFrames keyboard({}, {KC_A});
    keyboard.slot.device = nullptr;
    MouseFrames mouse(0, 0b1, 0, 5);
    mouse.slot.device = nullptr;
    JoystickSlot joystick;
    std::vector<InputSource> found;
    pressingDeviceChecker.CollectKeyboardKeys(keyboard.slot, found);
    EXPECT_TRUE(found.empty());
    int a = 7, d = 7;
    EXPECT_EQ(pressedDeviceChecker.CheckKeyboardKey(keyboard.slot), 0);
    EXPECT_EQ(pressingDeviceChecker.CheckMouseButton(mouse.slot), -1);
    EXPECT_FALSE(pressingDeviceChecker.CheckMouseAxis(mouse.slot, a, d));
    EXPECT_EQ(pressingDeviceChecker.CheckJoystickButton(joystick), -1);
    EXPECT_FALSE(pressingDeviceChecker.CheckJoystickAxis(joystick, a, d));
    EXPECT_FALSE(pressingDeviceChecker.CheckJoystickPov(joystick, a, d));
}

// The first update reads the joystick afresh (none is attached here: nothing
// held) and shows no transition from what the slot held before.
TEST(JoystickChecks, FirstFrameAfterInitialisationShowsNoTransition)
{
    InputSystem input;
    input.joystickCount = 1;
    input.joysticks[0] = std::move(JoystickFrames({}, {{1.0f}, {GLFW_PRESS}, {GLFW_HAT_UP}}).slot);
    ASSERT_EQ(pressedDeviceChecker.CheckJoystickButton(input.joysticks[0]), 0);
    input.Update();
    std::vector<InputSource> changed;
    const DeviceChecker* checkers[] = {&pressedDeviceChecker, &releasedDeviceChecker};
    for (const DeviceChecker* checker : checkers) {
        checker->CollectJoystickButtons(input.joysticks[0], changed);
        checker->CollectJoystickAxes(input.joysticks[0], changed);
        checker->CollectJoystickPovs(input.joysticks[0], changed);
    }
    EXPECT_TRUE(changed.empty());
}

} // namespace
