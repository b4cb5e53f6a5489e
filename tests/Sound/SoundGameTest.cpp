// The real game's sound, run from a temporary copy of the game tree whose
// sound folder each test fills as it needs.
#include "Engine/Config.h"
#include "Gui/GuiInput.h"

#include "Process.h"
#include "WaveOutput.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const fs::path gameBinary = UMBRANT_GAME_BINARY;
const fs::path resources = UMBRANT_RESOURCES_DIR;
constexpr double startSeconds = 60.0;
constexpr double quitSeconds = 30.0;
constexpr double keySeconds = 10.0;        // for a key press to be heard in the mix
constexpr double levelSeconds = 0.1;       // span of the mix whose level is measured
constexpr double focusSeconds = 1.0;       // for the game to take the keyboard and pointer
constexpr double silence = 1e-4;           // RMS of a mix with nothing playing
constexpr double loud = 0.05;              // RMS the music stays above

// The GUI cursor starts at the window's centre and follows the mouse scaled
// down; the menu's start button (Umbrant_menu.layout) has its top edge at
// 58 % of the height and is 56 pixels high.
constexpr double startButtonCentreY = 0.58 * config::height + 28.0;
const long mouseStepsToStartButton = std::lround((startButtonCentreY - config::height / 2.0) / guiMouseMotionScale);

// bin/ and Resources/ in a temporary folder: every resource is linked to the
// real one except the sound folder, which holds only the files named.
class GameTree {
public:
    explicit GameTree(const std::vector<std::string>& soundFiles)
        : root(fs::temp_directory_path() / ("umbrant-gametree-" + std::to_string(getpid())))
    {
        fs::remove_all(root);
        fs::create_directories(root / "bin");
        fs::create_directories(root / "Resources" / "sound");
        for (const fs::directory_entry& entry : fs::directory_iterator(resources))
            if (entry.path().filename() != "sound")
                fs::create_symlink(entry.path(), root / "Resources" / entry.path().filename());
        for (const std::string& file : soundFiles)
            fs::copy_file(resources / "sound" / file, root / "Resources" / "sound" / file);
    }
    ~GameTree() { fs::remove_all(root); }
    std::string bin() const { return (root / "bin").string(); }
    fs::path file(const std::string& name) const { return root / name; }

private:
    fs::path root;
};

const std::vector<std::string> allSounds = {config::musicFile, config::gunshotFile, config::thirdSoundFile};

// OpenAL Soft with only the back end `driver` and no configuration file.
std::vector<std::string> audioDriver(const std::string& driver)
{
    return {"ALSOFT_DRIVERS=" + driver, "ALSOFT_CONF=/dev/null"};
}

// X window id of the game's window, empty when none appears.
std::string gameWindow()
{
    const std::string search = "timeout " + std::to_string(static_cast<int>(startSeconds)) +
                               " xdotool search --sync --name '^" + config::windowTitle + "$' 2>/dev/null";
    const std::string windows = runCommand(search);
    return windows.substr(0, windows.find('\n'));
}

// Sends xdotool `actions` to the game's window with the keyboard focus on it.
void sendToGame(const std::string& window, const std::string& actions)
{
    runCommand("xdotool windowfocus --sync " + window + " " + actions);
}

void quitGame(ChildProcess& game)
{
    const std::string window = gameWindow();
    ASSERT_FALSE(window.empty());
    sendToGame(window, "key Escape");
    EXPECT_EQ(game.wait(quitSeconds), 0) << game.errors();
}

bool waitForLine(ChildProcess& game, const std::string& line)
{
    return waitFor(startSeconds, [&] { return game.output().find(line) != std::string::npos; });
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
        ChildProcess game(gameBinary, {}, tree.bin(), audioDriver(c.driver));
        ASSERT_TRUE(waitForLine(game, c.line)) << c.driver << ":\n" << game.output() << game.errors();
        EXPECT_TRUE(game.isRunning()) << c.driver;
        quitGame(game);
    }
}

TEST(GameSound, MusicKeyInAGameStopsTheMusicAndPlaysItAgain)
{
    GameTree tree(allSounds);
    const fs::path wave = tree.file("output.wav");
    writeWaveConfig(tree.file("alsoft.conf"), wave);
    ChildProcess game(gameBinary, {}, tree.bin(),
                      {"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + tree.file("alsoft.conf").string()});
    ASSERT_TRUE(waitForLine(game, "Initialized SoundManager\n")) << game.output() << game.errors();
    const std::string window = gameWindow();
    ASSERT_FALSE(window.empty());
    // The game takes the pointer to its centre once it sees the focus.
    sendToGame(window, "sleep " + std::to_string(focusSeconds) + " mousemove_relative --sync 0 " +
                           std::to_string(mouseStepsToStartButton) + " click 1");

    // B acts only in a game; the first press stops the music whether or not
    // the game start played it, the second plays it, the third stops it again.
    for (bool musicPlays : {false, true, false}) {
        sendToGame(window, "key b");
        double level = 0.0;
        EXPECT_TRUE(waitFor(keySeconds, [&] {
            level = latestLevel(wave);
            return musicPlays ? level > loud : (level >= 0.0 && level < silence);
        })) << "music " << (musicPlays ? "playing" : "stopped") << ", level " << level;
    }
    quitGame(game);
}

} // namespace
