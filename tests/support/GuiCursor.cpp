#include "GuiCursor.h"

#include "Process.h"

namespace {

constexpr int windowWidth = 1024; // the game window, at the screen's top-left corner
constexpr int windowHeight = 768;
constexpr double guiCursorScale = 0.3; // GUI pixels per mouse pixel
constexpr int steps = 6;               // pointer steps per move, each inside the window
constexpr double frameWaitSeconds = 10.0;

// True once the game has read the last motion and re-centred the pointer.
bool pointerCentred()
{
    const std::string centre =
        "X=" + std::to_string(windowWidth / 2) + "Y=" + std::to_string(windowHeight / 2);
    return waitFor(frameWaitSeconds, [&] {
        return runCommand("xdotool getmouselocation --shell | head -2 | tr -d '\\n'") == centre;
    });
}

void moveGuiCursor(const std::string& windowId, int dx, int dy)
{
    for (int i = 0; i < steps; ++i) {
        pointerCentred();
        runCommand("xdotool windowfocus --sync " + windowId + " mousemove_relative -- " +
                   std::to_string(int(dx / guiCursorScale / steps)) + " " +
                   std::to_string(int(dy / guiCursorScale / steps)));
    }
    pointerCentred();
}

} // namespace

void moveGuiCursorTo(const std::string& windowId, int x, int y)
{
    moveGuiCursor(windowId, -windowWidth, -windowHeight);
    moveGuiCursor(windowId, x, y);
}
