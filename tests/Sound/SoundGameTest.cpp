// The real game's sound start-up, run from a temporary copy of the game tree
// whose sound folder each test fills as it needs.
#include "Engine/Config.h"

#include "Process.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const fs::path gameBinary = UMBRANT_GAME_BINARY;
const fs::path resources = UMBRANT_RESOURCES_DIR;
constexpr double startSeconds = 60.0;
constexpr double quitSeconds = 30.0;

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

private:
    fs::path root;
};

const std::vector<std::string> allSounds = {config::musicFile, config::gunshotFile, config::thirdSoundFile};

// OpenAL Soft with only the back end `driver` and no configuration file.
std::vector<std::string> audioDriver(const std::string& driver)
{
    return {"ALSOFT_DRIVERS=" + driver, "ALSOFT_CONF=/dev/null"};
}

void pressEscape()
{
    const std::string search = "timeout " + std::to_string(static_cast<int>(quitSeconds)) +
                               " xdotool search --sync --name '^" + config::windowTitle + "$' 2>/dev/null";
    std::string window = runCommand(search);
    window = window.substr(0, window.find('\n'));
    ASSERT_FALSE(window.empty());
    runCommand("xdotool windowfocus --sync " + window + " key Escape");
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
        ASSERT_TRUE(waitFor(startSeconds, [&] { return game.output().find(c.line) != std::string::npos; }))
            << c.driver << ":\n" << game.output() << game.errors();
        EXPECT_TRUE(game.isRunning()) << c.driver;
        pressEscape();
        EXPECT_EQ(game.wait(quitSeconds), 0) << c.driver << ":\n" << game.errors();
    }
}

} // namespace
