// The window's buffered events reach the real GUI as the GUI's listeners
// forward them: scaled mouse motion, frozen while the camera turns, and no
// more than the GUI takes.
#include "GuiTestFixture.h"

namespace {

constexpr int rightButton = 1;

// Motion moves the cursor by three tenths on the next update; the right
// button or the left Control key (not the right one) freezes it while held,
// and motion before a release within the same frame stays ignored.
TEST_F(GuiTest, MouseMotionIsScaledAndFrozenWhileTheCameraTurnsAndSurplusEventsAreDropped)
{
    const struct {
        int code; // a key or a mouse button held during two of three motions; -1: none
        bool key;
        float moved; // cursor x change for the three motions of 10
    } cases[] = {{-1, false, 9.0f}, {rightButton, false, 3.0f}, {KC_LCONTROL, true, 3.0f}, {KC_RCONTROL, true, 9.0f}};
    GuiInput& input = gui().input();
    float expected = cursor().d_x;
    for (const auto& c : cases) {
        if (c.code >= 0)
            c.key ? input.keyPressed(KeyCode(c.code)) : input.mousePressed(c.code);
        input.mouseMoved(10.0, -20.0, 0.0);
        input.mouseMoved(10.0, -20.0, 0.0);
        if (c.code >= 0)
            c.key ? input.keyReleased(KeyCode(c.code)) : input.mouseReleased(c.code);
        input.mouseMoved(10.0, 0.0, 0.0);
        EXPECT_FLOAT_EQ(cursor().d_x, expected) << "events wait for the GUI's time step";
        gui().update(0.016f);
        expected += c.moved;
        EXPECT_NEAR(cursor().d_x, expected, 1e-4f) << c.code;
    }

    // Buttons beyond the fifth and the wheel alone are not forwarded; a flood
    // of events between frames is capped, not grown.
    input.mousePressed(guiMouseButtonCount);
    input.mouseMoved(0.0, 0.0, 120.0);
    EXPECT_EQ(input.pendingEvents(), 0);
    for (int i = 0; i < 3 * guiInputCapacity; ++i)
        input.keyPressed(KC_UNASSIGNED);
    EXPECT_EQ(input.pendingEvents(), guiInputCapacity);
    gui().update(0.016f);
    EXPECT_EQ(input.pendingEvents(), 0);
}

} // namespace
