// The GUI of the real game, driven through the X server: the menu over the
// white background, the start button, the sheet keys, and start-up ending
// cleanly when the GUI data is incomplete. The tests read the window's pixels.
#include "Engine/Config.h"

#include "Process.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path gameBinary = UMBRANT_GAME_BINARY;
const fs::path resources = gameBinary.parent_path().parent_path() / "Resources";
constexpr double startSeconds = 60.0;
constexpr double showSeconds = 20.0;
constexpr double quitSeconds = 30.0;
constexpr std::chrono::milliseconds keyHold{1500}; // longer than a frame of the full game under llvmpipe
constexpr int windowWidth = 1024;
constexpr int windowHeight = 768;
constexpr double guiCursorScale = 0.3; // GUI pixels per mouse pixel

using Colour = std::array<int, 3>;

bool isWhite(Colour c) { return c[0] >= 245 && c[1] >= 245 && c[2] >= 245; }
bool isDark(Colour c) { return c[0] <= 45 && c[1] <= 45 && c[2] <= 45; }
bool isRed(Colour c) { return c[0] >= 110 && c[0] > c[1] + 60 && c[0] > c[2] + 60; }

// Places on the game's screens, in window pixels.
struct Spot {
    int x, y;
};
constexpr Spot topLeftCorner{8, 8};
constexpr Spot bottomLeftCorner{8, windowHeight - 8};
constexpr Spot menuBand{40, 300};
constexpr Spot startButton{512, 449};
constexpr Spot startButtonEdge{630, 430};   // clear of the label and the cursor
constexpr Spot healthBar{150, windowHeight - 44};
constexpr Spot debugPanel{330, 100};        // white on the menu above the band
constexpr Spot debugPanelRule{181, 47};     // the red rule under the panel's title
constexpr Spot fpsValue{336, 132};          // where the right-aligned number ends

class Screenshot {
public:
    bool take(const std::string& windowId, const fs::path& png = {})
    {
        fs::path raw = fs::temp_directory_path() / "umbrant-gui-shot.rgb";
        std::string convert = "xwd -id " + windowId + " -silent | convert xwd:- ";
        if (!png.empty())
            convert += "-write '" + png.string() + "' ";
        runCommand(convert + "-depth 8 rgb:'" + raw.string() + "'");
        std::ifstream in(raw, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        return bytes.size() == static_cast<std::size_t>(windowWidth * windowHeight * 3);
    }
    Colour at(Spot spot) const
    {
        std::size_t offset = 3 * (static_cast<std::size_t>(spot.y) * windowWidth + spot.x);
        if (offset + 2 >= bytes.size())
            return {-1, -1, -1};
        return {static_cast<unsigned char>(bytes[offset]), static_cast<unsigned char>(bytes[offset + 1]),
                static_cast<unsigned char>(bytes[offset + 2])};
    }
    // The 24 × 14 pixels left of `spot` and around its row: the end of a right-aligned number.
    std::vector<char> numberEndingAt(Spot spot) const
    {
        std::vector<char> block;
        for (int y = spot.y - 7; y < spot.y + 7; ++y)
            for (int x = spot.x - 24; x < spot.x; ++x) {
                Colour c = at({x, y});
                block.insert(block.end(), {char(c[0]), char(c[1]), char(c[2])});
            }
        return block;
    }

private:
    std::vector<char> bytes;
};

std::string colourText(Colour c)
{
    return "(" + std::to_string(c[0]) + ", " + std::to_string(c[1]) + ", " + std::to_string(c[2]) + ")";
}

// The game started in its own working directory, with its window found.
class RunningGame {
public:
    explicit RunningGame(const fs::path& workingDirectory = gameBinary.parent_path())
        : process(gameBinary, {}, workingDirectory)
    {
        waitFor(startSeconds, [&] {
            std::string ids = runCommand("xdotool search --name '^" + config::windowTitle + "$' 2>/dev/null");
            window = ids.substr(0, ids.find('\n'));
            return !window.empty() && shot.take(window);
        });
        if (!window.empty())
            runCommand("xdotool windowfocus --sync " + window);
    }
    ~RunningGame()
    {
        if (process.isRunning())
            key("Escape");
        process.wait(quitSeconds);
    }

    void key(const std::string& name) { runCommand("xdotool windowfocus --sync " + window + " key " + name); }
    // Holds Control while `name` is pressed, as a player does: long enough for the
    // game's once-per-frame keyboard reading to see both keys down together.
    void keyWithControl(const std::string& name)
    {
        runCommand("xdotool windowfocus --sync " + window + " keydown Control_L");
        std::this_thread::sleep_for(keyHold);
        key(name);
        std::this_thread::sleep_for(keyHold);
        runCommand("xdotool keyup Control_L");
    }
    // Moves the GUI cursor by (dx, dy) GUI pixels through relative mouse motion.
    void moveCursor(int dx, int dy)
    {
        constexpr int steps = 5; // each step stays well inside the window
        int mouseX = static_cast<int>(dx / guiCursorScale / steps);
        int mouseY = static_cast<int>(dy / guiCursorScale / steps);
        for (int i = 0; i < steps; ++i) {
            runCommand("xdotool mousemove_relative -- " + std::to_string(mouseX) + " " + std::to_string(mouseY));
            // The game re-centres the captured pointer once it has read the motion.
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    // Puts the GUI cursor at `spot`: first against the top-left corner, then there.
    void moveCursorTo(Spot spot)
    {
        moveCursor(-2 * windowWidth, -2 * windowHeight);
        moveCursor(spot.x, spot.y);
    }
    void click() { runCommand("xdotool click 1"); }

    // Waits until the screen shows `condition`; the last screenshot stays in `shot`.
    template <typename Condition>
    bool shows(Condition condition, const fs::path& png = {})
    {
        return waitFor(showSeconds, [&] { return shot.take(window) && condition(shot); }) &&
               (png.empty() || shot.take(window, png));
    }

    ChildProcess process;
    std::string window;
    Screenshot shot;
};

TEST(GuiGame, MenuOverWhiteThenStartButtonThenSheetKeys)
{
    RunningGame game;
    ASSERT_FALSE(game.window.empty()) << game.process.output() << game.process.errors();

    EXPECT_TRUE(game.shows(
        [](const Screenshot& s) { return isWhite(s.at(topLeftCorner)) && isDark(s.at(menuBand)); }, "menu.png"))
        << "corner " << colourText(game.shot.at(topLeftCorner)) << ", band " << colourText(game.shot.at(menuBand));
    EXPECT_TRUE(isWhite(game.shot.at(bottomLeftCorner)));
    EXPECT_TRUE(isWhite(game.shot.at(debugPanel)));

    // The cursor reaches the button through scaled relative motion; the click starts the game.
    game.moveCursorTo(startButton);
    EXPECT_TRUE(game.shows([](const Screenshot& s) { return isRed(s.at(startButtonEdge)); }))
        << "the start button does not light up under the cursor";
    game.click();
    EXPECT_TRUE(game.shows([](const Screenshot& s) { return isRed(s.at(healthBar)); }, "ingame.png"))
        << "no health bar after the start button: " << colourText(game.shot.at(healthBar));

    // H alone does nothing; Control+H shows the debug panel, F1 hides and shows it.
    auto debugPanelShown = [](const Screenshot& s) { return isRed(s.at(debugPanelRule)); };
    game.key("h");
    EXPECT_FALSE(game.shows(debugPanelShown));
    game.keyWithControl("h");
    EXPECT_TRUE(game.shows(debugPanelShown, "debug.png"));

    // The frames-per-second text is rewritten as the count changes from second to second.
    std::vector<char> firstFps = game.shot.numberEndingAt(fpsValue);
    EXPECT_TRUE(game.shows([&](const Screenshot& s) { return s.numberEndingAt(fpsValue) != firstFps; }))
        << "the frames-per-second text did not change";

    game.key("F1");
    EXPECT_TRUE(game.shows([&](const Screenshot& s) { return !debugPanelShown(s) && isRed(s.at(healthBar)); }));
    game.key("F1");
    EXPECT_TRUE(game.shows(debugPanelShown));

    game.key("Escape");
    EXPECT_EQ(game.process.wait(quitSeconds), 0);
}

// A copy of the game's resources in a temporary folder, GUI data included,
// that a test can break; the game runs from its bin/ folder.
class BrokenGuiData : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("umbrant-gui-data-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "bin");
        fs::create_directories(root / "Resources");
        fs::copy(resources / "CEGUI datafiles", guiData(), fs::copy_options::recursive);
        fs::create_directory_symlink(resources / "ShaderPrograms", root / "Resources" / "ShaderPrograms");
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path guiData() const { return root / "Resources" / "CEGUI datafiles"; }

    // Runs the game on the broken data; returns its exit status.
    int runGame()
    {
        ChildProcess game(gameBinary, {}, root / "bin");
        int status = game.wait(quitSeconds);
        output = game.output();
        errors = game.errors();
        return status;
    }

    fs::path root;
    std::string output, errors;
};

TEST_F(BrokenGuiData, MissingMenuLayoutEndsStartUpWithOneLineAndStatusOne)
{
    fs::remove(guiData() / "layouts" / "Umbrant_menu.layout");
    EXPECT_EQ(runGame(), 1) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find("layout \"Umbrant_menu.layout\""), std::string::npos) << errors;
    EXPECT_NE(output.find("Quitting application"), std::string::npos) << output;
}

TEST_F(BrokenGuiData, MissingWidgetOrSchemeIsNamedInTheLine)
{
    fs::path layout = guiData() / "layouts" / "Umbrant_debug.layout";
    std::ifstream in(layout);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    in.close();
    text.replace(text.find("name=\"TextFPS\""), 14, "name=\"TextFps\"");
    std::ofstream(layout) << text;
    EXPECT_EQ(runGame(), 1);
    EXPECT_NE(errors.find("widget \"TextFPS\""), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;

    fs::remove(guiData() / "schemes" / "Umbrant.scheme");
    EXPECT_EQ(runGame(), 1);
    EXPECT_NE(errors.find("scheme \"Umbrant.scheme\""), std::string::npos) << errors;
}

} // namespace
