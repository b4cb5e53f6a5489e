// The real game's sound: a game without an audio device, and the music key in
// a game, heard in the mix OpenAL Soft writes.
#include "GameScreens.h"
#include "GameWindow.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const fs::path gameBinary = UMBRANT_GAME_BINARY;
constexpr double keySeconds = 30.0; // for a key press to be heard in the mix
constexpr double silence = 1e-4;    // RMS of a mix with nothing playing
constexpr double loud = 0.05;       // RMS the music stays above

// RMS level of the latest tenth of a second of the float stereo mix that
// OpenAL Soft's wave back end writes to `wave` at 44100 Hz; -1 before there is one.
double latestLevel(const fs::path& wave)
{
    std::ifstream in(wave, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t data = bytes.find("data"), span = 2 * 4410;
    if (data == std::string::npos || bytes.size() < data + 8 + span * sizeof(float))
        return -1.0;
    const std::size_t begin = data + 8, written = (bytes.size() - begin) / sizeof(float); // the last may be cut
    std::vector<float> samples(span);
    std::memcpy(samples.data(), bytes.data() + begin + (written - span) * sizeof(float), span * sizeof(float));
    double sum = 0.0;
    for (float sample : samples)
        sum += double(sample) * sample;
    return std::sqrt(sum / span);
}

TEST(GameSound, WithoutAnAudioDeviceTheGameRunsSilently)
{
    GameWindow game(gameBinary, {}, {"ALSOFT_DRIVERS=no-such-audio-driver", "ALSOFT_CONF=/dev/null"});
    ASSERT_TRUE(startGameFromMenu(game)) << game.process().output() << game.process().errors();
    EXPECT_NE(game.process().output().find("ERROR SoundManager: Could not initialize OpenAL\n"), std::string::npos);
    EXPECT_EQ(game.quit(), 0) << game.process().errors();
}

TEST(GameSound, MusicKeyInAGameStopsTheMusicAndPlaysItAgain)
{
    const TempFolder folder("umbrant-wave");
    const fs::path wave = folder.path() / "output.wav", config = folder.path() / "alsoft.conf";
    std::ofstream(config) << "[general]\nchannels = stereo\nsample-type = float32\nfrequency = 44100\n"
                          << "[wave]\nfile = " << wave.string() << "\n";
    GameWindow game(gameBinary, {}, {"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + config.string()});
    ASSERT_TRUE(startGameFromMenu(game)) << game.process().output() << game.process().errors();
    // Starting a game plays the music; B, which acts only in a game, stops
    // it, plays it again and stops it again. Each press waits for a frame
    // after the one that read the last: two taps read in one frame, or in
    // two frames in a row, would read as one held key.
    double level = 0.0;
    EXPECT_TRUE(waitFor(keySeconds, [&] { return (level = latestLevel(wave)) > loud; }))
        << "no music after the start, level " << level;
    for (bool musicPlays : {false, true, false}) {
        game.frameShown();
        game.key("b");
        EXPECT_TRUE(waitFor(keySeconds, [&] {
            level = latestLevel(wave);
            return musicPlays ? level > loud : (level >= 0.0 && level < silence);
        })) << "music " << (musicPlays ? "playing" : "stopped") << ", level " << level;
    }
    EXPECT_EQ(game.quit(), 0) << game.process().errors();
}

} // namespace
