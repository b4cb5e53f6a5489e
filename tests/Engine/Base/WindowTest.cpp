#include "Engine/Base/Window.h"

#include <gtest/gtest.h>

TEST(CheckGLVersion, AcceptsThreeThreeAndLater)
{
    EXPECT_EQ(checkGLVersion("3.3 (Compatibility Profile) Mesa 22.3.6"), GLVersionVerdict::Supported);
    EXPECT_EQ(checkGLVersion("4.5 (Compatibility Profile) Mesa 22.3.6"), GLVersionVerdict::Supported);
    EXPECT_EQ(checkGLVersion("3.10"), GLVersionVerdict::Supported);
    EXPECT_EQ(checkGLVersion("10.0"), GLVersionVerdict::Supported);
}

TEST(CheckGLVersion, RefusesThreeTwo)
{
    EXPECT_EQ(checkGLVersion("3.2 Mesa 22.3.6"), GLVersionVerdict::Below33);
    EXPECT_EQ(checkGLVersion("3.0"), GLVersionVerdict::Below33);
    EXPECT_EQ(checkGLVersion("3"), GLVersionVerdict::Below33);
}

TEST(CheckGLVersion, MissingOrOldStringsAreUnreadable)
{
    EXPECT_EQ(checkGLVersion(nullptr), GLVersionVerdict::Unreadable);
    EXPECT_EQ(checkGLVersion(""), GLVersionVerdict::Unreadable);
    EXPECT_EQ(checkGLVersion("OpenGL ES 3.2"), GLVersionVerdict::Unreadable);
    EXPECT_EQ(checkGLVersion("2.1 Mesa"), GLVersionVerdict::Unreadable);
}
