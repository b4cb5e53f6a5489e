// The real game's sound, run from a temporary copy of the game tree whose
// sound folder each test fills as it needs.
#include "Engine/Base/Config.h"

#include "GameScreens.h"
#include "GameWindow.h"
#include "TempFolder.h"
#include "WaveOutput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const fs::path gameBinary = UMBRANT_GAME_BINARY;
const fs::path resources = UMBRANT_RESOURCES_DIR;
constexpr double startSeconds = 90.0;
constexpr double keySeconds = 30.0;        // for a key press to be heard in the mix
constexpr double levelSeconds = 0.1;       // span of the mix whose level is measured
constexpr double silence = 1e-4;           // RMS of a mix with nothing playing
constexpr double loud = 0.05;              // RMS the music stays above

// bin/ and Resources/ in a temporary folder: every resource is linked to the
// real one except the sound folder, which holds only the files named.
class GameTree {
public:
    explicit GameTree(const std::vector<std::string>& soundFiles)
    {
        fs::create_directories(root / "bin");
        fs::create_directories(root / "Resources" / "sound");
        for (const fs::directory_entry& entry : fs::directory_iterator(resources))
            if (entry.path().filename() != "sound")
                fs::create_symlink(entry.path(), root / "Resources" / entry.path().filename());
        for (const std::string& file : soundFiles)
            fs::copy_file(resources / "sound" / file, root / "Resources" / "sound" / file);
    }
    std::string bin() const { return (root / "bin").string(); }
    fs::path file(const std::string& name) const { return root / name; }

private:
    TempFolder folder{"umbrant-gametree"};
    const fs::path root = folder.path();
};

const std::vector<std::string> allSounds = {config::musicFile, config::gunshotFile, config::thirdSoundFile};

// OpenAL Soft with only the back end `driver` and no configuration file.
std::vector<std::string> audioDriver(const std::string& driver)
{
    return {"ALSOFT_DRIVERS=" + driver, "ALSOFT_CONF=/dev/null"};
}

bool waitForLine(GameWindow& game, const std::string& line)
{
    return waitFor(startSeconds, [&] { return game.process().output().find(line) != std::string::npos; });
}

// RMS level of the latest `levelSeconds` of the mix in `wave`.
double latestLevel(const fs::path& wave)
{
    const std::vector<float> samples = readWaveSamples(wave);
    const std::size_t span = 2 * static_cast<std::size_t>(levelSeconds * waveFrequency);
    if (samples.size() < span)
        return -1.0;
    return rms(samples, samples.size() - span, samples.size());
}

TEST(GameSound, MissingGunshotEndsStartUpWithStatus255)
{
    GameTree tree({config::musicFile, config::thirdSoundFile});
    ChildProcess game(gameBinary, {}, tree.bin(), audioDriver("null"));
    EXPECT_EQ(game.wait(startSeconds), 255) << game.output();
    EXPECT_NE(game.errors().find("Cannot open ../Resources/sound/gunshot.ogg for reading...\n"), std::string::npos)
        << game.errors();
    EXPECT_EQ(game.output().find("Initialized SoundManager"), std::string::npos);
}

TEST(GameSound, StartUpEndsWithTheSoundLineAndTheGameRuns)
{
    struct Case {
        std::string driver;
        std::string line;
    };
    const Case cases[] = {
        {"null", "Initialized SoundManager\n"},
        {"no-such-audio-driver", "ERROR SoundManager: Could not initialize OpenAL\n"}, // a silent game
    };
    GameTree tree(allSounds);
    for (const Case& c : cases) {
        GameWindow game(gameBinary, tree.bin(), audioDriver(c.driver));
        ASSERT_TRUE(waitForLine(game, c.line)) << c.driver << ":\n" << game.process().output() << game.process().errors();
        EXPECT_TRUE(game.process().isRunning()) << c.driver;
        EXPECT_EQ(game.quit(), 0) << game.process().errors();
    }
}

TEST(GameSound, MusicKeyInAGameStopsTheMusicAndPlaysItAgain)
{
    GameTree tree(allSounds);
    const fs::path wave = tree.file("output.wav");
    writeWaveConfig(tree.file("alsoft.conf"), wave);
    GameWindow game(gameBinary, tree.bin(),
                    {"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + tree.file("alsoft.conf").string()});
    ASSERT_TRUE(waitForLine(game, "Initialized SoundManager\n")) << game.process().output() << game.process().errors();
    ASSERT_TRUE(startGameFromMenu(game));
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
