// Starts the real game and drives it through the X server, as a player would.
#include "Engine/Base/Config.h"

#include "Process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace fs = std::filesystem;

namespace {

const fs::path gameBinary = UMBRANT_GAME_BINARY;
constexpr double startSeconds = 60.0;
constexpr double quitSeconds = 30.0;

std::string regexEscaped(const std::string& text)
{
    return std::regex_replace(text, std::regex(R"([()\[\].*+?^$|\\])"), R"(\$&)");
}

// X window id of the window titled exactly `title`, empty while there is none.
std::string windowTitled(const std::string& title)
{
    std::string ids = runCommand("xdotool search --name '^" + regexEscaped(title) + "$' 2>/dev/null");
    return ids.substr(0, ids.find('\n'));
}

std::string waitForWindow(const std::string& title)
{
    std::string id;
    waitFor(startSeconds, [&] { return !(id = windowTitled(title)).empty(); });
    return id;
}

void pressKey(const std::string& windowId, const std::string& key)
{
    runCommand("xdotool windowfocus --sync " + windowId + " key " + key);
}

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
    ChildProcess game(gameBinary, {}, gameBinary.parent_path());
    std::string window = waitForWindow(config::windowTitle);
    ASSERT_FALSE(window.empty()) << game.output() << game.errors();
    pressKey(window, "Escape");
    EXPECT_EQ(game.wait(quitSeconds), 0) << game.errors();
    EXPECT_TRUE(linesInOrder(game.output(), {"^OpenGL [34]\\.[0-9].* GLSL [0-9]", "^\\n\\n",
                                             "^Quitting application\\n$"}));
}

TEST(Game, SecondAndThirdInstancesNumberTheirTitles)
{
    ChildProcess first(gameBinary, {}, gameBinary.parent_path());
    std::string firstWindow = waitForWindow(config::windowTitle);
    ASSERT_FALSE(firstWindow.empty());
    ChildProcess second(gameBinary, {}, gameBinary.parent_path());
    std::string secondWindow = waitForWindow(config::windowTitle + " (2)");
    ASSERT_FALSE(secondWindow.empty());
    ChildProcess third(gameBinary, {}, gameBinary.parent_path());
    std::string thirdWindow = waitForWindow(config::windowTitle + " (3)");
    ASSERT_FALSE(thirdWindow.empty());

    // Each instance reads its own window's keys: Escape to the second quits only it.
    pressKey(secondWindow, "Escape");
    EXPECT_EQ(second.wait(quitSeconds), 0);
    EXPECT_TRUE(first.isRunning());
    EXPECT_TRUE(third.isRunning());
    pressKey(thirdWindow, "Escape");
    pressKey(firstWindow, "Escape");
    EXPECT_EQ(third.wait(quitSeconds), 0);
    EXPECT_EQ(first.wait(quitSeconds), 0);
}

TEST(Game, NoDisplayFailsCleanlyWithStatusOne)
{
    ChildProcess game(gameBinary, {}, gameBinary.parent_path(), {"DISPLAY=:4242"});
    EXPECT_EQ(game.wait(quitSeconds), 1);
    EXPECT_TRUE(linesInOrder(game.output(), {"^Failed to initialise GLFW\\n", "^Quitting application\\n$"}));
}

} // namespace
