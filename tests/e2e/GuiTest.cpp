// The GUI of the real game, driven through the X server: the menu over the
// white background, the start button, the sheet keys and the debug panel's
// controls. The tests read the window's pixels.
#include "GameScreens.h"
#include "GameWindow.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;
using namespace screens;

namespace {

const fs::path gameBinary = UMBRANT_GAME_BINARY;

// The look's accent red (179, 36, 45), as the rules under titles are drawn.
bool isRuleRed(Colour c) { return std::abs(c[0] - 179) <= 30 && c[1] <= 70 && c[2] <= 75; }

// Places on the game's screens, in window pixels.
constexpr Spot bottomLeftCorner{8, 768 - 8};
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

// The `width` × 14 pixels left of `spot` and around its row: the end of a right-aligned text.
std::vector<Colour> textEndingAt(const Screenshot& shot, Spot spot, int width = 24)
{
    std::vector<Colour> block;
    for (int y = spot.y - 7; y < spot.y + 7; ++y)
        for (int x = spot.x - width; x < spot.x; ++x)
            block.push_back(shot.at({x, y}));
    return block;
}

bool debugPanelShown(const Screenshot& s)
{
    return isRuleRed(s.at(debugPanelRule)) && isDark(s.at(aboveDebugPanelRule)) && isDark(s.at(belowDebugPanelRule));
}

void menuThenSheetKeys(GameWindow& game, CheckRun& run)
{
    if (!game.shows([](const Screenshot& s) {
            return menuShown(s) && isWhite(s.at(bottomLeftCorner)) && isWhite(s.at(debugPanel));
        }))
        return run.fail("no menu over a white background: corner " + colourText(game.shot.at(topLeftCorner)) +
                        ", band " + colourText(game.shot.at(menuBand)));
    game.shot.save("menu.png");
    // The cursor reaches the button through scaled relative motion; the click starts the game.
    if (!startGameFromMenu(game))
        return run.fail("the start button did not light up under the cursor or start a game");
    game.shot.save("ingame.png");

    // H alone does nothing; Control+H shows the debug panel, F1 hides and shows it.
    game.key("h");
    game.frameShown();
    run.see("H alone showed the debug panel", [](const Screenshot& s) { return !debugPanelShown(s); });
    game.keyWith("Control_L", "h");
    if (run.see("Control+H did not show the debug panel", debugPanelShown))
        game.shot.save("debug.png");

    // The frames-per-second text is no longer the "0" it starts with. P changes the
    // culling mode, after which the octree count reads "0" in the row above.
    const std::vector<Colour> firstMode = textEndingAt(game.shot, renderModeValue, renderModeWidth);
    game.key("p");
    if (run.see("P did not change the render mode", [&](const Screenshot& s) {
            return textEndingAt(s, renderModeValue, renderModeWidth) != firstMode;
        }) && textEndingAt(game.shot, fpsValue) == textEndingAt(game.shot, octreeNodesValue))
        run.fail("the frames-per-second text was not updated");

    game.key("F1");
    run.see("F1 did not hide the debug panel", [](const Screenshot& s) { return !debugPanelShown(s) && gameShown(s); });
    game.key("F1");
    run.see("F1 did not show the debug panel again", debugPanelShown);
}

TEST(GuiGame, MenuOverWhiteThenStartButtonThenSheetKeys)
{
    EXPECT_TRUE(passInOneGame(gameBinary, menuThenSheetKeys));
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

// A click on the open list under the debug texture selector chooses `item`.
void chooseDebugTexture(GameWindow& game, Spot item)
{
    game.moveCursorTo(textureSelector);
    game.click();
    game.frameShown();
    game.moveCursorTo(item);
    game.click();
}

// Normals full screen, then the composed picture again; wireframe on draws
// edges only, wireframe off fills the faces again.
void debugTextureAndWireframe(GameWindow& game, CheckRun& run)
{
    if (!startGameFromMenu(game))
        return run.fail("the menu did not start a game");
    game.keyWith("Control_L", "h");
    run.see("Control+H did not show the debug panel", debugPanelShown);
    const Colour composed = sceneColour(game.shot);
    auto unlike = [&](Colour other) {
        return [other](const Screenshot& s) { return distance(sceneColour(s), other) > 80; };
    };
    auto nearerComposedThan = [&](Colour other) {
        return [composed, other](const Screenshot& s) {
            const Colour now = sceneColour(s);
            return 2 * distance(now, composed) < distance(now, other);
        };
    };

    chooseDebugTexture(game, normalsItem);
    run.see("choosing Normals left the composed picture, " + colourText(composed), unlike(composed));
    const Colour normals = sceneColour(game.shot);
    chooseDebugTexture(game, noneItem);
    run.see("choosing None did not bring the composed picture back", nearerComposedThan(normals));

    game.moveCursorTo(wireframeBox);
    game.click();
    run.see("wireframe on left the picture as it was", unlike(composed));
    const Colour wireframe = sceneColour(game.shot);
    game.click();
    run.see("wireframe off did not fill the faces again", nearerComposedThan(wireframe));
}

TEST(GuiGame, DebugPanelSwitchesTheDebugTextureAndWireframeInThePicture)
{
    EXPECT_TRUE(passInOneGame(gameBinary, debugTextureAndWireframe));
}

} // namespace
