// Starts the real game and drives it through the X server, as a player would.
#include "Engine/Base/Config.h"

#include "GameWindow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace fs = std::filesystem;

namespace {

const fs::path gameBinary = UMBRANT_GAME_BINARY;
constexpr double quitSeconds = 90.0;

// Lines of `text`, in order, each matching one pattern after the previous match.
::testing::AssertionResult linesInOrder(const std::string& text, const std::vector<std::string>& patterns)
{
    std::size_t position = 0;
    for (const std::string& pattern : patterns) {
        std::smatch match;
        std::string rest = text.substr(position);
        if (!std::regex_search(rest, match, std::regex(pattern, std::regex::multiline)))
            return ::testing::AssertionFailure() << "missing \"" << pattern << "\" in:\n" << text;
        position += match.position() + match.length();
    }
    return ::testing::AssertionSuccess();
}

TEST(Game, EscapeQuitsWithStatusZeroAndLogsInOrder)
{
    GameWindow game(gameBinary);
    ASSERT_TRUE(game.opened()) << game.process().output() << game.process().errors();
    EXPECT_EQ(game.quit(), 0) << game.process().errors();
    EXPECT_TRUE(linesInOrder(game.process().output(), {"^OpenGL [34]\\.[0-9].* GLSL [0-9]", "^\\n\\n",
                                                     "^Quitting application\\n$"}));
}

TEST(Game, SecondAndThirdInstancesNumberTheirTitles)
{
    GameWindow first(gameBinary);
    ASSERT_TRUE(first.opened());
    GameWindow second(gameBinary, {}, {}, config::windowTitle + " (2)");
    ASSERT_TRUE(second.opened());
    GameWindow third(gameBinary, {}, {}, config::windowTitle + " (3)");
    ASSERT_TRUE(third.opened());

    // Each instance reads its own window's keys: Escape to the second quits only it.
    EXPECT_EQ(second.quit(), 0);
    EXPECT_TRUE(first.process().isRunning());
    EXPECT_TRUE(third.process().isRunning());
    EXPECT_EQ(third.quit(), 0);
    EXPECT_EQ(first.quit(), 0);
}

TEST(Game, NoDisplayFailsCleanlyWithStatusOne)
{
    ChildProcess game(gameBinary, {}, gameBinary.parent_path(), {"DISPLAY=:4242"});
    EXPECT_EQ(game.wait(quitSeconds), 1);
    EXPECT_TRUE(linesInOrder(game.output(), {"^Failed to initialise GLFW\\n", "^Quitting application\\n$"}));
}

} // namespace
