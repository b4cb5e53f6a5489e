// The GUI of the real game, driven through the X server: the menu over the
// white background, the start button, the sheet keys, and start-up ending
// cleanly when the GUI data is incomplete. The tests read the window's pixels.
#include "Engine/Base/Config.h"

#include "Process.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
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
constexpr double keepSeconds = 4.0; // short: the skulls end a game within a minute
constexpr double quitSeconds = 30.0;
constexpr int quitAttempts = 3; // Escape presses before a game counts as stuck
constexpr std::chrono::milliseconds keyHold{1500}; // longer than a frame of the full game under llvmpipe
constexpr int windowWidth = 1024;
constexpr int windowHeight = 768;
constexpr double guiCursorScale = 0.3; // GUI pixels per mouse pixel
constexpr int maxMouseStep = 40;       // pixels of relative motion per event

using Colour = std::array<int, 3>;

bool isWhite(Colour c) { return c[0] >= 245 && c[1] >= 245 && c[2] >= 245; }
bool isDark(Colour c) { return c[0] <= 45 && c[1] <= 45 && c[2] <= 45; }
bool isRed(Colour c) { return c[0] >= 110 && c[0] > c[1] + 60 && c[0] > c[2] + 60; }
// The look's accent red (179, 36, 45), as the rules under titles are drawn.
bool isRuleRed(Colour c) { return std::abs(c[0] - 179) <= 30 && c[1] <= 70 && c[2] <= 75; }

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
constexpr Spot debugPanelRule{181, 47};     // the red rule under the panel's title,
constexpr Spot aboveDebugPanelRule{181, 40}; // between the dark panel's title texts
constexpr Spot belowDebugPanelRule{181, 54};
constexpr Spot renderModeValue{336, 66};    // where the right-aligned values end
constexpr int renderModeWidth = 120;
constexpr Spot octreeNodesValue{336, 110};
constexpr Spot fpsValue{336, 132};
constexpr Spot textureSelector{220, 164};   // the debug texture selector's text
constexpr Spot normalsItem{220, 228};    // third item of its open list
constexpr Spot noneItem{220, 194};       // first item
constexpr Spot wireframeBox{200, 196};

class Screenshot {
public:
    bool take(const std::string& windowId, const fs::path& png = {})
    {
        const TempFolder folder("umbrant-gui-shot");
        const std::string raw = folder.file("shot.rgb");
        std::string convert = "xwd -id " + windowId + " -silent | convert xwd:- ";
        if (!png.empty())
            convert += "-write '" + png.string() + "' ";
        runCommand(convert + "-depth 8 rgb:'" + raw + "'");
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
    // The `width` × 14 pixels left of `spot` and around its row: the end of a right-aligned text.
    std::vector<char> textEndingAt(Spot spot, int width = 24) const
    {
        std::vector<char> block;
        for (int y = spot.y - 7; y < spot.y + 7; ++y)
            for (int x = spot.x - width; x < spot.x; ++x) {
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
        // The pointer may rest outside the window, where the game gets no motion.
        if (!window.empty())
            runCommand("xdotool windowfocus --sync " + window + " mousemove --window " + window + " " +
                       std::to_string(windowWidth / 2) + " " + std::to_string(windowHeight / 2));
    }
    ~RunningGame()
    {
        if (process.isRunning())
            key("Escape");
        process.wait(quitSeconds);
    }

    void key(const std::string& name) { runCommand("xdotool windowfocus --sync " + window + " key " + name); }
    // Presses Escape until the game has quit (a press can land while the
    // window is busy with a slow frame); returns its exit status, -1 if it stays.
    int quit()
    {
        for (int attempt = 0; attempt < quitAttempts && process.isRunning(); ++attempt) {
            key("Escape");
            waitFor(quitSeconds / quitAttempts, [&] { return !process.isRunning(); });
        }
        return process.wait(quitSeconds / quitAttempts);
    }
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
    // Puts the GUI cursor into the top-left corner, where the GUI stops it
    // (large steps: the menu runs at hundreds of frames per second).
    void moveCursorToCorner()
    {
        for (int i = 0; i < 12; ++i)
            moveMouse(-300, -300);
        cursor = {0, 0};
    }
    // Moves the GUI cursor from where it is to `spot`, in steps small enough that
    // no motion is lost even at one frame per second.
    void moveCursorTo(Spot spot)
    {
        int mouseX = static_cast<int>((spot.x - cursor.x) / guiCursorScale);
        int mouseY = static_cast<int>((spot.y - cursor.y) / guiCursorScale);
        int steps = std::max(1, (std::max(std::abs(mouseX), std::abs(mouseY)) + maxMouseStep - 1) / maxMouseStep);
        for (int i = 1; i <= steps; ++i)
            moveMouse(mouseX * i / steps - mouseX * (i - 1) / steps, mouseY * i / steps - mouseY * (i - 1) / steps);
        cursor = spot;
    }
    void click() { runCommand("xdotool click 1"); }

    // True when every screenshot over a few seconds shows `condition`.
    template <typename Condition>
    bool keeps(Condition condition)
    {
        return !waitFor(keepSeconds, [&] { return shot.take(window) && !condition(shot); });
    }
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

private:
    void moveMouse(int dx, int dy)
    {
        runCommand("xdotool mousemove_relative -- " + std::to_string(dx) + " " + std::to_string(dy));
        // The game re-centres the captured pointer once it has read the motion;
        // until then the pointer must stay inside the window.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }

    Spot cursor{windowWidth / 2, windowHeight / 2}; // where the GUI cursor should be
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
    game.moveCursorToCorner();
    game.moveCursorTo(startButton);
    EXPECT_TRUE(game.shows([](const Screenshot& s) { return isRed(s.at(startButtonEdge)); }))
        << "the start button does not light up under the cursor";
    game.click();
    EXPECT_TRUE(game.shows([](const Screenshot& s) { return isRed(s.at(healthBar)); }, "ingame.png"))
        << "no health bar after the start button: " << colourText(game.shot.at(healthBar));

    // H alone does nothing; Control+H shows the debug panel, F1 hides and shows it.
    auto debugPanelShown = [](const Screenshot& s) {
        return isRuleRed(s.at(debugPanelRule)) && isDark(s.at(aboveDebugPanelRule)) &&
               isDark(s.at(belowDebugPanelRule));
    };
    game.key("h");
    EXPECT_TRUE(game.keeps([&](const Screenshot& s) { return !debugPanelShown(s); }));
    game.keyWithControl("h");
    EXPECT_TRUE(game.shows(debugPanelShown, "debug.png"));

    // The frames-per-second text is no longer the "0" it starts with. P changes the
    // culling mode, after which the octree count reads "0" in the row above.
    std::vector<char> firstMode = game.shot.textEndingAt(renderModeValue, renderModeWidth);
    game.key("p");
    ASSERT_TRUE(game.shows(
        [&](const Screenshot& s) { return s.textEndingAt(renderModeValue, renderModeWidth) != firstMode; }));
    EXPECT_NE(game.shot.textEndingAt(fpsValue), game.shot.textEndingAt(octreeNodesValue))
        << "the frames-per-second text was not updated";

    game.key("F1");
    EXPECT_TRUE(game.shows([&](const Screenshot& s) { return !debugPanelShown(s) && isRed(s.at(healthBar)); }));
    game.key("F1");
    EXPECT_TRUE(game.shows(debugPanelShown));

    EXPECT_EQ(game.quit(), 0);
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

// Mean colour of the scene's middle, clear of every sheet's widgets.
Colour sceneColour(const Screenshot& shot)
{
    std::array<long, 3> sum{};
    long count = 0;
    for (int y = 320; y < 640; y += 4)
        for (int x = 420; x < 960; x += 4) {
            Colour c = shot.at({x, y});
            for (int i = 0; i < 3; ++i)
                sum[i] += c[i];
            ++count;
        }
    return {int(sum[0] / count), int(sum[1] / count), int(sum[2] / count)};
}

int distance(Colour a, Colour b) { return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]); }

TEST(GuiGame, DebugPanelSwitchesTheDebugTextureAndWireframeInThePicture)
{
    RunningGame game;
    ASSERT_FALSE(game.window.empty());
    ASSERT_TRUE(game.shows([](const Screenshot& s) { return isDark(s.at(menuBand)); }));
    game.moveCursorToCorner();
    game.moveCursorTo(startButton);
    game.click();
    ASSERT_TRUE(game.shows([](const Screenshot& s) { return isRed(s.at(healthBar)); }));
    game.keyWithControl("h");
    ASSERT_TRUE(game.shows([](const Screenshot& s) { return isRuleRed(s.at(debugPanelRule)); }));
    Colour composed = sceneColour(game.shot);

    // The list opens under the selector; a click on an item chooses it.
    game.moveCursorTo(textureSelector);
    game.click();
    game.moveCursorTo(normalsItem);
    game.click();
    EXPECT_TRUE(game.shows([&](const Screenshot& s) { return distance(sceneColour(s), composed) > 80; }))
        << "composed " << colourText(composed) << ", now " << colourText(sceneColour(game.shot));
    Colour normals = sceneColour(game.shot);

    game.moveCursorTo(textureSelector);
    game.click();
    game.moveCursorTo(noneItem);
    game.click();
    EXPECT_TRUE(game.shows([&](const Screenshot& s) {
        Colour now = sceneColour(s);
        return 2 * distance(now, composed) < distance(now, normals);
    })) << "composed " << colourText(composed) << ", normals " << colourText(normals) << ", now "
        << colourText(sceneColour(game.shot));

    // Wireframe on draws edges only, wireframe off fills the faces again.
    game.moveCursorTo(wireframeBox);
    game.click();
    EXPECT_TRUE(game.shows([&](const Screenshot& s) { return distance(sceneColour(s), composed) > 80; }))
        << "composed " << colourText(composed) << ", wireframe " << colourText(sceneColour(game.shot));
    Colour wireframe = sceneColour(game.shot);
    game.click();
    EXPECT_TRUE(game.shows([&](const Screenshot& s) {
        Colour now = sceneColour(s);
        return 2 * distance(now, composed) < distance(now, wireframe);
    }));
}

} // namespace
