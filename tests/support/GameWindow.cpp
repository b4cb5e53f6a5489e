#include "GameWindow.h"

#include "Engine/Base/Config.h"
#include "Gui/GuiInput.h"

#include <algorithm>
#include <cmath>
#include <regex>

namespace fs = std::filesystem;

namespace {

constexpr int quitAttempts = 3;
// Pointer motion per step, in pixels: from the window's centre, where the
// game holds the pointer, a step stays inside the window, which confines it.
constexpr int maxPointerStep = 300;
const std::string centre =
    "X=" + std::to_string(config::width / 2) + "\nY=" + std::to_string(config::height / 2) + "\n";

std::string regexEscaped(const std::string& text)
{
    return std::regex_replace(text, std::regex(R"([()\[\].*+?^$|\\])"), R"(\$&)");
}

// X id of the window titled exactly `title`, empty while there is none.
std::string windowTitled(const std::string& title)
{
    const std::string ids = runCommand("xdotool search --name '^" + regexEscaped(title) + "$' 2>/dev/null");
    return ids.substr(0, ids.find('\n'));
}

// The pointer's position as xdotool prints it: "X=..\nY=..\n".
std::string pointerAt(const std::string& text) { return text.substr(0, text.find("SCREEN")); }

} // namespace

GameWindow::GameWindow(const fs::path& binary, const fs::path& workingDirectory,
                       const std::vector<std::string>& environment, const std::string& title)
    : cursorX(config::width / 2), cursorY(config::height / 2)
{
    const std::string wanted = title.empty() ? config::windowTitle : title;
    const fs::path folder = workingDirectory.empty() ? binary.parent_path() : workingDirectory;
    launched.emplace(binary, std::vector<std::string>{}, folder, environment);
    waitFor(startSeconds, [&] { return !(windowId = windowTitled(wanted)).empty() || !process().isRunning(); });
    // The game captures the pointer when its window has the focus; until then
    // the pointer may rest outside, where the game gets no motion.
    if (opened())
        xdotool("mousemove --window " + windowId + " " + std::to_string(config::width / 2) + " " +
                std::to_string(config::height / 2));
}

GameWindow::~GameWindow()
{
    if (opened() && process().isRunning())
        quit();
}

void GameWindow::xdotool(const std::string& actions)
{
    runCommand("xdotool windowfocus --sync " + windowId + " " + actions);
}

void GameWindow::key(const std::string& name) { xdotool("key " + name); }
void GameWindow::keyDown(const std::string& name) { xdotool("keydown " + name); }
void GameWindow::keyUp(const std::string& name) { xdotool("keyup " + name); }
void GameWindow::click() { xdotool("click 1"); }

bool GameWindow::keyWith(const std::string& modifier, const std::string& name)
{
    keyDown(modifier);
    const bool held = frameShown();
    key(name);
    const bool read = frameShown();
    keyUp(modifier);
    return held && read;
}

bool GameWindow::movePointer(int dx, int dy, const std::string& then)
{
    // One xdotool connection moves the pointer and then reads it back, so the
    // reading comes after the move: the centre then means the game put it back.
    // The focus makes this game take the pointer, when another had it.
    std::string position = runCommand("xdotool windowfocus --sync " + windowId + " mousemove_relative -- " +
                                      std::to_string(dx) + " " + std::to_string(dy) + " " + then +
                                      " getmouselocation --shell");
    if (pointerAt(position) == centre)
        return true;
    return waitFor(frameSeconds, [&] {
        return pointerAt(runCommand("xdotool getmouselocation --shell")) == centre;
    });
}

bool GameWindow::inputRead()
{
    nudge = -nudge;
    if (!movePointer(nudge, 0))
        return false;
    cursorX += nudge * guiMouseMotionScale;
    return true;
}

// The game reads its input at the start of a frame and takes the pointer back
// at the end: the first return shows the events read, the second that the
// frame which handled them has been drawn.
bool GameWindow::frameShown() { return inputRead() && inputRead(); }

void GameWindow::moveCursorToCorner()
{
    const int steps = static_cast<int>(std::ceil(config::width / guiMouseMotionScale / maxPointerStep));
    for (int i = 0; i < steps; ++i)
        movePointer(-maxPointerStep, -maxPointerStep);
    cursorX = cursorY = 0.0;
}

std::pair<int, int> GameWindow::moveCursorNear(Spot spot)
{
    int pointerX = static_cast<int>(std::lround((spot.x - cursorX) / guiMouseMotionScale));
    int pointerY = static_cast<int>(std::lround((spot.y - cursorY) / guiMouseMotionScale));
    cursorX += pointerX * guiMouseMotionScale;
    cursorY += pointerY * guiMouseMotionScale;
    while (std::abs(pointerX) > maxPointerStep || std::abs(pointerY) > maxPointerStep) {
        const int dx = std::clamp(pointerX, -maxPointerStep, maxPointerStep);
        const int dy = std::clamp(pointerY, -maxPointerStep, maxPointerStep);
        movePointer(dx, dy);
        pointerX -= dx;
        pointerY -= dy;
    }
    return {pointerX, pointerY};
}

void GameWindow::moveCursorTo(Spot spot)
{
    const auto [dx, dy] = moveCursorNear(spot);
    if (dx != 0 || dy != 0)
        movePointer(dx, dy);
}

bool GameWindow::clickAt(Spot spot)
{
    auto [dx, dy] = moveCursorNear(spot);
    // Without a motion the pointer would not show that the game read the click.
    if (dx == 0 && dy == 0) {
        nudge = -nudge;
        dx = nudge;
        cursorX += nudge * guiMouseMotionScale;
    }
    return movePointer(dx, dy, "click 1");
}

int GameWindow::quit()
{
    inputRead(); // a game still loading reads no keys yet
    for (int attempt = 0; attempt < quitAttempts && process().isRunning(); ++attempt) {
        key("Escape");
        waitFor(startSeconds / quitAttempts, [&] { return !process().isRunning(); });
    }
    return process().wait(startSeconds / quitAttempts);
}
