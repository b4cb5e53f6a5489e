// A game played through the X server as a player would: START GAME on the
// menu, walk with W, shoot with the left button, and quit with Escape.
#include "Engine/Base/Config.h"

#include "GuiCursor.h"
#include "Process.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <vector>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

const fs::path gameBinary = UMBRANT_GAME_BINARY;
constexpr double startSeconds = 60.0;
constexpr double showSeconds = 10.0;
constexpr double quitSeconds = 30.0;
constexpr auto walkTime = std::chrono::milliseconds(1500);
constexpr auto shotInterval = std::chrono::milliseconds(300);
constexpr int shots = 4;

using Colour = std::array<int, 3>;
struct Spot {
    int x, y;
};
constexpr Spot menuBand{40, 300};        // dark band of the menu
constexpr Spot startButton{512, 449};
constexpr Spot startButtonEdge{630, 430}; // red while the cursor is on the button
constexpr Spot healthBar{150, 724};       // red while a game runs

bool isDark(Colour c) { return c[0] <= 45 && c[1] <= 45 && c[2] <= 45; }
bool isRed(Colour c) { return c[0] >= 110 && c[0] > c[1] + 60 && c[0] > c[2] + 60; }

class PlayedGame {
public:
    PlayedGame() : process(gameBinary, {}, gameBinary.parent_path())
    {
        waitFor(startSeconds, [&] {
            std::string ids = runCommand("xdotool search --name '^" + config::windowTitle + "$' 2>/dev/null");
            window = ids.substr(0, ids.find('\n'));
            return !window.empty();
        });
    }
    ~PlayedGame()
    {
        if (process.isRunning())
            xdotool("key Escape");
        process.wait(quitSeconds);
    }

    // Runs an xdotool command with the game's window focused (real X input).
    void xdotool(const std::string& command)
    {
        runCommand("xdotool windowfocus --sync " + window + " " + command);
    }
    Colour pixel(Spot spot)
    {
        std::istringstream text(runCommand("xwd -id " + window + " -silent | convert xwd:- -crop 1x1+" +
                                           std::to_string(spot.x) + "+" + std::to_string(spot.y) +
                                           " -depth 8 rgb:- | od -An -tu1"));
        Colour c{-1, -1, -1};
        text >> c[0] >> c[1] >> c[2];
        return c;
    }
    template <typename Condition>
    bool shows(Spot spot, Condition condition)
    {
        return waitFor(showSeconds, [&] { return condition(pixel(spot)); });
    }
    // A 32 x 24 grey thumbnail of the window, to compare whole pictures.
    std::vector<int> thumbnail()
    {
        std::istringstream text(runCommand("xwd -id " + window +
                                           " -silent | convert xwd:- -resize 32x24! -colorspace gray -depth 8 "
                                           "gray:- | od -An -tu1 -v"));
        std::vector<int> grey;
        for (int value; text >> value;)
            grey.push_back(value);
        return grey;
    }
    // Moves the GUI cursor onto START GAME and clicks it.
    bool startFromMenu()
    {
        if (!shows(menuBand, isDark))
            return false;
        moveGuiCursorTo(window, startButton.x, startButton.y);
        if (!shows(startButtonEdge, isRed))
            return false;
        xdotool("click 1");
        return shows(healthBar, isRed);
    }

    ChildProcess process;
    std::string window;
};

TEST(Gameplay, StartFromTheMenuWalkShootAndQuit)
{
    PlayedGame game;
    ASSERT_FALSE(game.window.empty()) << game.process.output() << game.process.errors();
    ASSERT_TRUE(game.startFromMenu()) << "the menu did not start a game";

    game.xdotool("keydown w");
    std::this_thread::sleep_for(walkTime);
    EXPECT_TRUE(game.process.isRunning()) << "the game ended while the player walked";
    game.xdotool("keyup w");

    for (int i = 0; i < shots; ++i) {
        game.xdotool("click 1");
        std::this_thread::sleep_for(shotInterval);
    }
    EXPECT_TRUE(game.process.isRunning()) << "the game ended after the shots";
    EXPECT_TRUE(game.shows(healthBar, isRed)) << "the game is no longer running";

    game.xdotool("key Escape");
    EXPECT_EQ(game.process.wait(quitSeconds), 0) << game.process.errors();
    EXPECT_EQ(game.process.output().find("Error at "), std::string::npos) << game.process.output();
    EXPECT_EQ(game.process.errors().find("Error at "), std::string::npos) << game.process.errors();
}

// Mean absolute difference of two thumbnails, 0 to 255.
double pictureChange(const std::vector<int>& a, const std::vector<int>& b)
{
    if (a.size() != b.size() || a.empty())
        return 255.0;
    double sum = 0.0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += std::abs(a[i] - b[i]);
    return sum / a.size();
}

constexpr double cameraCut = 6.0;       // a different camera changes the picture at least this much
constexpr auto settleTime = std::chrono::milliseconds(1000);

TEST(Gameplay, CameraKeysSwitchBetweenTheLevelCameraAndTheFreeCamera)
{
    PlayedGame game;
    ASSERT_FALSE(game.window.empty()) << game.process.output() << game.process.errors();
    ASSERT_TRUE(game.startFromMenu()) << "the menu did not start a game";
    // The skulls may end the game before the checks are done; a picture taken
    // after that shows the menu and says nothing about the cameras.
    auto thumbnailInGame = [&](std::vector<int>& picture) {
        picture = game.thumbnail();
        return game.pixel(healthBar)[0] >= 0 && isRed(game.pixel(healthBar));
    };
    std::vector<int> player, overview, flown, back, freed;
    std::this_thread::sleep_for(settleTime);
    if (!thumbnailInGame(player))
        GTEST_SKIP() << "the skulls ended the game before the camera checks";

    // 0: the level's overview camera, flying along its path.
    game.xdotool("key 0");
    std::this_thread::sleep_for(settleTime);
    bool alive = thumbnailInGame(overview);
    std::this_thread::sleep_for(settleTime);
    alive = alive && thumbnailInGame(flown);

    // 1 with one level camera: back to the free/player camera; Shift+F frees
    // it, and W flies it forward.
    game.xdotool("key 1");
    std::this_thread::sleep_for(settleTime);
    alive = alive && thumbnailInGame(back);
    game.xdotool("keydown Shift_L key f keyup Shift_L");
    game.xdotool("keydown w");
    std::this_thread::sleep_for(settleTime);
    game.xdotool("keyup w");
    alive = alive && thumbnailInGame(freed);
    if (!alive)
        GTEST_SKIP() << "the skulls ended the game before the camera checks";

    EXPECT_GT(pictureChange(player, overview), cameraCut) << "key 0 kept the player camera";
    EXPECT_GT(pictureChange(overview, flown), 1.0) << "the overview camera does not fly";
    EXPECT_GT(pictureChange(flown, back), cameraCut) << "key 1 kept the overview camera";
    EXPECT_GT(pictureChange(back, freed), cameraCut) << "W did not move the free camera";

    game.xdotool("key Escape");
    EXPECT_EQ(game.process.wait(quitSeconds), 0) << game.process.errors();
}

} // namespace
