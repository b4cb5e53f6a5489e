// Whole games played as a player plays them, through real X input only: START
// GAME on the menu, then aim at the skulls seen in the window's pictures and
// fire until the skulls have killed the player; the menu must then show the
// number of skulls killed as the last score. The game tells of each hit with
// a "Health: <left>" line; "Health: 0" is a kill.
#include "GameScreens.h"
#include "GameWindow.h"
#include "PictureReading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

const std::filesystem::path gameBinary = UMBRANT_GAME_BINARY;

// The follow camera looks down on the player, who stands still: he stays at
// the centre. Skulls are looked for around him, where they come to attack,
// but not on him: he turns to aim, which changes his picture.
constexpr Spot playerSpot{512, 398};
constexpr Area field{playerSpot, 24, 200};
// Where the health bar ends at a fifth of the player's health: the player
// holds his fire below it, so that his last kill's score is on screen before
// the skulls end the game.
constexpr Spot lowHealthSpot{90, 724};
constexpr Box ingameScoreBox{832, 44, 992, 80};
constexpr Box lastScoreBox{516, 536, 680, 584};
constexpr Spot clearSpot{512, 120}; // where the GUI cursor hides no text the player reads
// A game lasts about 20 s whatever the frame rate, and the player fires about
// once a frame: built with the sanitizers the game draws half as many frames,
// and there one kill (with its score) is what a game is asked for.
#ifdef __SANITIZE_ADDRESS__
constexpr int wantedKills = 1;
#else
constexpr int wantedKills = 3;
#endif
// How many kills a game gives depends on where the skulls spawn (at random);
// a game with fewer kills than wanted is played again, this many times in all.
// On a slow machine about half the games reach three kills: seven games of
// about 20 s all fall short once in a few hundred runs, and stay well within
// the test's time limit.
constexpr int gameAttempts = 7;
constexpr double gameSeconds = 120.0; // a bound far above a game's length (about 20 s)

int squaredDistance(Spot a, Spot b) { return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y); }

Spot nearest(const std::vector<Spot>& spots, Spot to)
{
    return *std::min_element(spots.begin(), spots.end(), [&](Spot a, Spot b) {
        return squaredDistance(a, to) < squaredDistance(b, to);
    });
}

int countOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

struct Play {
    int shots = 0;
    int hits = 0;
    int kills = 0;
    std::vector<Glyphs> scoresShown; // each score the game showed, in order, from the menu's first
    std::string failure;
};

class ScriptedPlayer {
public:
    explicit ScriptedPlayer(GameWindow& game) : game(game) {}

    // Plays from the menu until the menu comes back.
    Play play()
    {
        if (!game.shows(screens::menuShown, GameWindow::startSeconds))
            return failed("no menu");
        result.scoresShown.push_back(glyphsIn(game.shot, lastScoreBox));
        if (!startGameFromMenu(game))
            return failed("the menu did not start a game");
        empty = game.shot;
        if (!waitFor(gameSeconds, [&] { return !game.shot.take(game.id()) || step(); }))
            return failed("the game did not end within " + std::to_string(gameSeconds) + " s");
        if (!result.failure.empty())
            return result;
        if (!screens::menuShown(game.shot))
            return failed("the game's window was lost");
        // The GUI cursor stays where the last skull was aimed at, which may
        // be over the last score.
        game.moveCursorTo(clearSpot);
        if (!game.frameShown() || !game.shows(screens::menuShown))
            return failed("the menu went away");
        // A shot's kill may be printed a frame after the shot was checked,
        // and the last kill has no later shot to count it: the whole output
        // of the game counts.
        countHits();
        return result;
    }

private:
    // One look at the newest picture and, when a skull is seen, one shot at
    // it. True once the menu is back.
    bool step()
    {
        if (screens::menuShown(game.shot))
            return true;
        newScore();
        if (!screens::isRed(game.shot.at(lowHealthSpot)))
            return false;
        const std::vector<Spot> skulls = findSkulls(game.shot, empty, field);
        if (skulls.empty())
            return false;
        if (!game.clickAt(nextTarget(skulls)))
            return stop("the game stopped reading its input");
        ++result.shots;
        const int hitsBefore = result.hits, killsBefore = result.kills;
        countHits();
        // A shot that printed nothing yet may still wait for the next frame:
        // once the game has read a later nudge, it has handled the click.
        if (result.hits == hitsBefore) {
            if (!game.inputRead())
                return stop("the game stopped reading its input");
            countHits();
        }
        // The frame that handled a kill shows its score: see it before the
        // next shot, which may kill again.
        if (result.kills != killsBefore &&
            !game.shows([&](const Screenshot& s) { return screens::menuShown(s) || newScore(); }))
            return stop("the score did not change after a kill");
        return false;
    }

    // Fire on the skull nearest to the player: it stands in front of the
    // others, so the shots that reach a skull all reach that one until it
    // dies (hits spread over several skulls kill none).
    Spot nextTarget(const std::vector<Spot>& skulls) const { return nearest(skulls, playerSpot); }

    // True when the newest picture shows a score other than the last one
    // seen, and a picture of a later frame shows it too: one frame may catch
    // the text's edges over a flash. The score is kept, and the later
    // picture is the newest.
    bool newScore()
    {
        Glyphs shown = glyphsIn(game.shot, ingameScoreBox);
        if (shown.lit.empty() || sameGlyphs(shown, result.scoresShown.back()))
            return false;
        if (!game.frameShown() || !game.shot.take(game.id()) ||
            !sameGlyphs(glyphsIn(game.shot, ingameScoreBox), shown))
            return false;
        result.scoresShown.push_back(std::move(shown));
        return true;
    }

    void countHits()
    {
        const std::string output = game.process().output();
        const int hits = countOf(output, "Health: ");
        const int kills = countOf(output, "Health: 0\n");
        result.hits = hits;
        result.kills = kills;
    }

    // Records a failure that ends the game's steps.
    bool stop(const std::string& what)
    {
        result.failure = what;
        return true;
    }

    // Records a failure that ends the game before its steps.
    Play failed(const std::string& what)
    {
        stop(what);
        return result;
    }

    GameWindow& game;
    Play result;
    Screenshot empty; // the game's first picture: the skulls are still far
};

// One game to its end; its kills go to `kills`. A score that does not follow
// the kills, or a game that does not quit cleanly, is a failure.
::testing::AssertionResult playOneGame(int& kills)
{
    GameWindow game(gameBinary);
    if (!game.opened())
        return ::testing::AssertionFailure() << "no game window:\n"
                                             << game.process().output() << game.process().errors();
    const auto start = std::chrono::steady_clock::now();
    const Play play = ScriptedPlayer(game).play();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "Scripted player: " << play.kills << " kills, " << play.hits << " hits, " << play.shots
              << " shots in " << seconds << " s" << std::endl;
    kills = play.kills;
    if (!play.failure.empty())
        return ::testing::AssertionFailure() << play.failure;
    if (play.scoresShown.size() != play.kills + 1u)
        return ::testing::AssertionFailure() << "the game showed " << play.scoresShown.size() - 1
                                             << " new scores for " << play.kills << " kills";
    if (!sameGlyphs(glyphsIn(game.shot, lastScoreBox), play.scoresShown.back()))
        return ::testing::AssertionFailure() << "the menu's last score is not the score the game showed last";
    if (const int status = game.quit(); status != 0)
        return ::testing::AssertionFailure() << "Escape ended the game with status " << status;
    return ::testing::AssertionSuccess();
}

TEST(ScriptedPlayer, KillsSkullsUntilTheyWinAndTheMenuShowsTheKillsAsTheLastScore)
{
    int kills = 0;
    for (int attempt = 0; attempt < gameAttempts && kills < wantedKills; ++attempt)
        ASSERT_TRUE(playOneGame(kills));
    EXPECT_GE(kills, wantedKills) << "in none of " << gameAttempts << " games";
}

} // namespace
