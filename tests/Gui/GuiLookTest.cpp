#include "Gui/GuiLook.h"

#include <gtest/gtest.h>

TEST(NativeResolution, KeepsHeightAndFollowsTheWindowAspect)
{
    NativeResolution wide = nativeResolutionFor(768.0f, 1280, 720);
    EXPECT_NEAR(wide.width, 1365.33f, 0.01f);
    EXPECT_FLOAT_EQ(wide.height, 768.0f);

    NativeResolution game = nativeResolutionFor(720.0f, 1024, 768);
    EXPECT_FLOAT_EQ(game.width, 960.0f);
    EXPECT_FLOAT_EQ(game.height, 720.0f);
}
