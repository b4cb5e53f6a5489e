#include "GameScreens.h"

#include "GameWindow.h"

bool startGameFromMenu(GameWindow& game)
{
    using namespace screens;
    if (!game.shows(menuShown, GameWindow::startSeconds))
        return false;
    // From the corner, where the GUI stops the cursor, its place is known.
    game.moveCursorToCorner();
    game.moveCursorTo(startButton);
    if (!game.shows([](const Screenshot& s) { return isRed(s.at(startButtonEdge)); }))
        return false;
    game.click();
    return game.shows(gameShown);
}

namespace {
constexpr int gameAttempts = 3;
}

::testing::AssertionResult passInOneGame(const std::filesystem::path& binary, const GameChecks& checks)
{
    for (int attempt = 0; attempt < gameAttempts; ++attempt) {
        GameWindow game(binary);
        if (!game.opened())
            return ::testing::AssertionFailure() << "no game window:\n" << game.process().output() << game.process().errors();
        CheckRun run(game);
        checks(game, run);
        if (run.result == Seen::GameOver)
            continue;
        if (run.result == Seen::NotShown)
            return ::testing::AssertionFailure() << run.failure;
        if (const int status = game.quit(); status != 0)
            return ::testing::AssertionFailure() << "Escape ended the game with status " << status << ":\n"
                                                 << game.process().errors();
        const std::string log = game.process().output() + game.process().errors();
        if (log.find("Error at ") != std::string::npos)
            return ::testing::AssertionFailure() << "OpenGL errors:\n" << log;
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the skulls ended " << gameAttempts << " games before the checks were done";
}
