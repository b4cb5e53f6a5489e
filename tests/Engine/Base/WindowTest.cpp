#include "Engine/Base/Window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>

TEST(CheckGLVersion, AcceptsThreeThreeAndLaterOnly)
{
    const std::pair<const char*, GLVersionVerdict> cases[] = {
        {"3.3 (Compatibility Profile) Mesa 22.3.6", GLVersionVerdict::Supported},
        {"3.10", GLVersionVerdict::Supported},
        {"10.0", GLVersionVerdict::Supported},
        {"3.2 Mesa 22.3.6", GLVersionVerdict::Below33},
        {nullptr, GLVersionVerdict::Unreadable},
        {"OpenGL ES 3.2", GLVersionVerdict::Unreadable},
        {"2.1 Mesa", GLVersionVerdict::Unreadable},
    };
    for (const auto& [version, verdict] : cases)
        EXPECT_EQ(checkGLVersion(version), verdict) << (version ? version : "null");
}

// The driver's refusal of the 3.3 context is explained by its own version.
TEST(OpenWindow, ADriverBelowThreeThreeIsNamedAsSuch)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe"; // each child starts its own GLFW
    auto openUnder = [](const char* versionOverride) {
        setenv("MESA_GL_VERSION_OVERRIDE", versionOverride, 1);
        std::cout.rdbuf(std::cerr.rdbuf()); // the death test reads standard error
        std::string title;
        std::exit(openWindow(64, 64, "umbrant window test", title) ? 0 : 1);
    };
    EXPECT_EXIT(openUnder("3.2COMPAT"), ::testing::ExitedWithCode(1), "^OpenGL 3.3 is not supported.\n$");
    EXPECT_EXIT(openUnder("2.1"), ::testing::ExitedWithCode(1), "^Failed to initialize OpenGL.\n$");
    EXPECT_EXIT(openUnder("3.3COMPAT"), ::testing::ExitedWithCode(0), "OpenGL 3.3");
}
