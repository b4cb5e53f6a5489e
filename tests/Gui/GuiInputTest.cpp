// The window's buffered events reach the real GUI as the GUI's listeners
// forward them: scaled mouse motion, frozen while the camera turns, keys and
// typed characters.
#include "GuiTestFixture.h"

namespace {

constexpr int rightButton = 1;

TEST_F(GuiTest, MouseMotionMovesTheCursorByThreeTenthsOnTheNextUpdate)
{
    CEGUI::Vector2f start = cursor();
    gui().input().mouseMoved(10.0, -20.0, 0.0);
    EXPECT_FLOAT_EQ(cursor().d_x, start.d_x) << "events wait for the GUI's time step";

    gui().update(0.016f);
    EXPECT_NEAR(cursor().d_x - start.d_x, 3.0f, 1e-4f);
    EXPECT_NEAR(cursor().d_y - start.d_y, -6.0f, 1e-4f);
    EXPECT_EQ(gui().input().pendingEvents(), 0);

    // Several events in one frame add up to the same distance.
    for (int i = 0; i < 4; ++i)
        gui().input().mouseMoved(2.5, -5.0, 0.0);
    gui().update(0.016f);
    EXPECT_NEAR(cursor().d_x - start.d_x, 6.0f, 1e-4f);
    EXPECT_NEAR(cursor().d_y - start.d_y, -12.0f, 1e-4f);
}

TEST_F(GuiTest, RightButtonOrLeftControlFreezesTheCursor)
{
    CEGUI::Vector2f start = cursor();
    gui().input().mousePressed(rightButton);
    gui().input().mouseMoved(10.0, -20.0, 0.0);
    gui().update(0.016f);
    EXPECT_FLOAT_EQ(cursor().d_x, start.d_x);
    EXPECT_FLOAT_EQ(cursor().d_y, start.d_y);

    // Released within the same frame: motion before the release stays ignored, after it counts.
    gui().input().mouseMoved(10.0, 0.0, 0.0);
    gui().input().mouseReleased(rightButton);
    gui().input().mouseMoved(10.0, 0.0, 0.0);
    gui().update(0.016f);
    EXPECT_NEAR(cursor().d_x - start.d_x, 3.0f, 1e-4f);

    gui().input().keyPressed(KC_LCONTROL);
    gui().input().mouseMoved(10.0, -20.0, 0.0);
    gui().update(0.016f);
    EXPECT_NEAR(cursor().d_x - start.d_x, 3.0f, 1e-4f);
    gui().input().keyReleased(KC_LCONTROL);
    gui().input().mouseMoved(10.0, 0.0, 0.0);
    gui().update(0.016f);
    EXPECT_NEAR(cursor().d_x - start.d_x, 6.0f, 1e-4f);

    // The right Control key does not freeze it.
    gui().input().keyPressed(KC_RCONTROL);
    gui().input().mouseMoved(10.0, 0.0, 0.0);
    gui().input().keyReleased(KC_RCONTROL);
    gui().update(0.016f);
    EXPECT_NEAR(cursor().d_x - start.d_x, 9.0f, 1e-4f);
}

TEST_F(GuiTest, KeysAndTypedCharactersEditTheFocusedBox)
{
    screens().swapIngameAndDebug(); // menu → in-game
    screens().swapIngameAndDebug(); // in-game → debug
    // The layouts' only edit box; the game keeps it read-only.
    auto& box = dynamic_cast<CEGUI::Editbox&>(widget("SpinnerMaxOctreeSize"));
    box.setReadOnly(false);
    box.setText("16");
    click("SpinnerMaxOctreeSize");
    ASSERT_TRUE(box.isActive());
    box.setCaretIndex(2);

    gui().input().keyPressed(KC_BACK);
    gui().input().keyReleased(KC_BACK);
    gui().input().keyPressed(KC_2);
    gui().input().characterTyped('2');
    gui().input().keyReleased(KC_2);
    gui().update(0.016f);
    EXPECT_STREQ(box.getText().c_str(), "12");
}

TEST_F(GuiTest, ButtonsBeyondTheFifthAndWheelAloneAreNotForwarded)
{
    gui().input().mousePressed(5);
    gui().input().mouseReleased(7);
    gui().input().mouseMoved(0.0, 0.0, 120.0);
    EXPECT_EQ(gui().input().pendingEvents(), 0);
    for (int button = 0; button < guiMouseButtonCount; ++button) {
        gui().input().mousePressed(button);
        gui().input().mouseReleased(button);
    }
    EXPECT_EQ(gui().input().pendingEvents(), 2 * guiMouseButtonCount);
    gui().update(0.016f);
}

TEST_F(GuiTest, AFloodOfEventsBetweenFramesIsCappedNotGrown)
{
    for (int i = 0; i < 3 * guiInputCapacity; ++i)
        gui().input().keyPressed(KC_UNASSIGNED);
    EXPECT_EQ(gui().input().pendingEvents(), guiInputCapacity);
    gui().update(0.016f);
    EXPECT_EQ(gui().input().pendingEvents(), 0);
}

} // namespace
