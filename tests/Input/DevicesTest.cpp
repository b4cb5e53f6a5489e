#include "Input/Devices.h"

#include <gtest/gtest.h>

TEST(MouseDevice, FractionalMotionCarriesOver)
{
    Mouse mouse;
    mouse.setArea(100, 100);
    mouse.moveTo(10.0, 10.0);
    mouse.moveTo(10.6, 10.0);
    mouse.capture();
    EXPECT_EQ(mouse.state().X.rel, 0);
    mouse.moveTo(11.2, 10.0);
    mouse.capture();
    EXPECT_EQ(mouse.state().X.rel, 1);
}

TEST(MouseDevice, ButtonsOutsideTheEightBitsAreIgnored)
{
    Mouse mouse;
    mouse.setButtonDown(-1, true);
    mouse.setButtonDown(mouseButtonCount, true);
    mouse.setButtonDown(7, true);
    mouse.capture();
    EXPECT_EQ(mouse.state().buttons, 1 << 7);
}
