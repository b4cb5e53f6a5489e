// A game played through the X server as a player would: START GAME on the
// menu, W to walk, the camera keys, and Escape to quit. The tests compare
// small grey thumbnails of the window to see the view change.
#include "GameScreens.h"
#include "GameWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path gameBinary = UMBRANT_GAME_BINARY;
constexpr double cameraCut = 6.0; // another camera changes the thumbnail at least this much
constexpr double flight = 1.0;    // a flying camera changes it at least this much
constexpr double coneCut = 20.0;  // the flashlight's cone against another camera's view
constexpr int thumbnailBlock = 32;

using Thumbnail = std::vector<int>;

// The window in 32 × 32 blocks, each the mean grey of its pixels.
Thumbnail thumbnail(const Screenshot& shot)
{
    Thumbnail grey;
    for (int top = 0; top + thumbnailBlock <= shot.height(); top += thumbnailBlock)
        for (int left = 0; left + thumbnailBlock <= shot.width(); left += thumbnailBlock) {
            int sum = 0;
            for (int y = top; y < top + thumbnailBlock; ++y)
                for (int x = left; x < left + thumbnailBlock; ++x)
                    sum += shot.grey({x, y});
            grey.push_back(sum / (thumbnailBlock * thumbnailBlock));
        }
    return grey;
}

// Mean absolute difference of two thumbnails, 0 to 255.
double pictureChange(const Thumbnail& a, const Thumbnail& b)
{
    if (a.size() != b.size() || a.empty())
        return 255.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += std::abs(a[i] - b[i]);
    return sum / a.size();
}

// Mean absolute difference of the thumbnails' blocks where the player
// camera shows the flashlight's cone: below the player, who faces the cursor
// left on the start button's place.
double coneChange(const Thumbnail& a, const Thumbnail& b)
{
    constexpr int columns = 1024 / thumbnailBlock;
    constexpr int left = 448 / thumbnailBlock, right = 576 / thumbnailBlock, top = 448 / thumbnailBlock,
                  bottom = 704 / thumbnailBlock;
    if (a.size() != b.size() || a.size() < std::size_t(bottom * columns))
        return 255.0;
    double sum = 0.0;
    for (int row = top; row < bottom; ++row)
        for (int column = left; column < right; ++column)
            sum += std::abs(a[row * columns + column] - b[row * columns + column]);
    return sum / ((right - left) * (bottom - top));
}

// Waits for a picture whose thumbnail fulfils `condition`; it becomes `last`.
template <typename Condition>
void see(CheckRun& run, Thumbnail& last, const std::string& what, Condition condition)
{
    run.see(what, [&](const Screenshot& s) { return condition(last = thumbnail(s)); });
}

// A picture that shows that every input sent so far was handled.
Thumbnail settled(GameWindow& game, CheckRun& run)
{
    Thumbnail last;
    if (run.passing() && !game.frameShown())
        run.fail("the game stopped reading its input");
    see(run, last, "no picture of the game", [](const Thumbnail&) { return true; });
    return last;
}

// W walks the player and the follow camera goes along; 0 shows the level's
// overview camera flying its path; 1 (the level has one camera) brings the
// player camera back; Shift+F frees it and W flies it forward.
void walkAndSwitchCameras(GameWindow& game, CheckRun& run)
{
    if (!startGameFromMenu(game))
        return run.fail("the menu did not start a game");
    Thumbnail now;
    const Thumbnail standing = settled(game, run);
    game.keyDown("w");
    see(run, now, "W did not walk the player", [&](const Thumbnail& t) { return pictureChange(t, standing) > cameraCut; });
    game.keyUp("w");
    const Thumbnail walked = settled(game, run);

    game.key("0");
    see(run, now, "key 0 kept the player camera", [&](const Thumbnail& t) { return pictureChange(t, walked) > cameraCut; });
    const Thumbnail overview = now;
    see(run, now, "the overview camera does not fly", [&](const Thumbnail& t) { return pictureChange(t, overview) > flight; });

    // The player camera shows the flashlight's light below the player again.
    game.key("1");
    see(run, now, "key 1 did not bring the player camera back",
        [&](const Thumbnail& t) { return coneChange(t, walked) < coneCut; });
    game.keyWith("Shift_L", "f");
    const Thumbnail freed = settled(game, run);
    game.keyDown("w");
    see(run, now, "W did not move the free camera", [&](const Thumbnail& t) { return pictureChange(t, freed) > cameraCut; });
    game.keyUp("w");
}

TEST(Gameplay, WalkingAndTheCameraKeysChangeTheView)
{
    EXPECT_TRUE(passInOneGame(gameBinary, walkAndSwitchCameras));
}

} // namespace
