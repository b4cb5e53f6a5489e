#pragma once
// What the game's screens look like at a few places, in window pixels: enough
// for the end-to-end tests to tell the menu from a game in progress.
#include "GameWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace screens {

inline bool isWhite(Colour c) { return c[0] >= 245 && c[1] >= 245 && c[2] >= 245; }
inline bool isDark(Colour c) { return c[0] >= 0 && c[0] <= 45 && c[1] <= 45 && c[2] <= 45; }
inline bool isRed(Colour c) { return c[0] >= 110 && c[0] > c[1] + 60 && c[0] > c[2] + 60; }

constexpr Spot topLeftCorner{8, 8};
constexpr Spot menuBand{40, 300};         // the menu's dark band
constexpr Spot startButton{512, 449};
constexpr Spot startButtonEdge{630, 430}; // red while the cursor is on the button
// The left end of the health bar: red while the player has any health left.
constexpr Spot healthBarStart{39, 724};

inline bool menuShown(const Screenshot& s) { return isWhite(s.at(topLeftCorner)) && isDark(s.at(menuBand)); }
inline bool gameShown(const Screenshot& s) { return isRed(s.at(healthBarStart)); }

} // namespace screens

// From the menu: puts the GUI cursor on START GAME, sees the button light up,
// clicks it and sees the game's health bar. False at the first step that fails.
bool startGameFromMenu(GameWindow& game);

// What checks of a game in progress saw. The skulls may end a game before a
// test has seen what it waits for: the menu then comes back.
enum class Seen { Shown, NotShown, GameOver };

// Checks made one after another on one game: after the first that fails, or
// once the game has ended, the rest are passed over.
class CheckRun {
public:
    explicit CheckRun(GameWindow& game) : game(game) {}

    // Waits for a picture that shows `condition` (it stays in the window's
    // shot); true when it came.
    template <typename Condition>
    bool see(const std::string& what, Condition condition)
    {
        if (result != Seen::Shown)
            return false;
        if (!game.shows([&](const Screenshot& s) { return screens::menuShown(s) || condition(s); }))
            fail(what);
        else if (screens::menuShown(game.shot))
            result = Seen::GameOver;
        return result == Seen::Shown;
    }
    // Records a check that failed.
    void fail(const std::string& what)
    {
        if (result == Seen::Shown) {
            result = Seen::NotShown;
            failure = what;
        }
    }
    bool passing() const { return result == Seen::Shown; }

    Seen result = Seen::Shown;
    std::string failure;

private:
    GameWindow& game;
};

// Checks of a game in progress, from the menu on: they start the game.
using GameChecks = std::function<void(GameWindow& game, CheckRun& run)>;

// Runs `checks` on the game `binary` until one game lasts through them, each
// time in a new game process (keys leave state behind), then quits it with
// Escape: status 0 and no OpenGL error. A game the skulls always end first
// is a failure.
::testing::AssertionResult passInOneGame(const std::filesystem::path& binary, const GameChecks& checks);
