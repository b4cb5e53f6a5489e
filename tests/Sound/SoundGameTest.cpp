// The real game's sound: a game without an audio device runs silently.
#include "GameScreens.h"
#include "GameWindow.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::filesystem::path gameBinary = UMBRANT_GAME_BINARY;

TEST(GameSound, WithoutAnAudioDeviceTheGameRunsSilently)
{
    GameWindow game(gameBinary, {}, {"ALSOFT_DRIVERS=no-such-audio-driver", "ALSOFT_CONF=/dev/null"});
    ASSERT_TRUE(startGameFromMenu(game)) << game.process().output() << game.process().errors();
    EXPECT_NE(game.process().output().find("ERROR SoundManager: Could not initialize OpenAL\n"), std::string::npos);
    EXPECT_EQ(game.quit(), 0) << game.process().errors();
}

} // namespace
