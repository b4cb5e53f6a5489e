#pragma once
// The real game binary, started as a player starts it, driven through the X
// server with real input (xdotool) and read back as pictures of its window.
//
// Nothing here waits for a fixed time. The game reads its input once per
// frame, and a frame can take seconds on a loaded software renderer, so every
// wait is for something the game shows or does: a picture, a line it prints,
// or the pointer it puts back. While it runs, the game holds the pointer at
// its window's centre and puts it back there each time it has read a motion:
// a nudge of the pointer that comes back proves that the game has read every
// event sent before it.
#include "Process.h"
#include "Screenshot.h"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class GameWindow {
public:
    // Starts `binary` in `workingDirectory` (its own folder when empty) and
    // waits for the window titled `title`, or for the game to end.
    GameWindow(const std::filesystem::path& binary, const std::filesystem::path& workingDirectory = {},
               const std::vector<std::string>& environment = {}, const std::string& title = {});
    // Quits the game with Escape when it still runs.
    ~GameWindow();

    bool opened() const { return !windowId.empty(); }
    const std::string& id() const { return windowId; }

    // Real input, always to this window.
    void key(const std::string& name);
    void keyDown(const std::string& name);
    void keyUp(const std::string& name);
    void click();
    // Holds `modifier` while `name` is pressed, across whole frames, so that
    // the game reads both keys down together.
    bool keyWith(const std::string& modifier, const std::string& name);

    // True once the game has read every input sent so far.
    bool inputRead();
    // True once a frame that handled every input sent so far is on screen.
    bool frameShown();

    // Moves the GUI cursor into the top-left corner, where the GUI stops it.
    void moveCursorToCorner();
    // Moves the GUI cursor from where it is to `spot`.
    void moveCursorTo(Spot spot);
    // Moves the GUI cursor to `spot` and clicks there; the last motion and
    // the click go in one request, so that the game reads them in one frame.
    // True once the game has read them.
    bool clickAt(Spot spot);

    // Takes pictures until one shows `condition` (the last one stays in `shot`).
    template <typename Condition>
    bool shows(Condition condition, double seconds = showSeconds)
    {
        return waitFor(seconds, [&] { return shot.take(windowId) && condition(shot); });
    }

    // Presses Escape until the game has quit (a press can fall on a frame
    // that is still starting); returns its exit status, -1 when it stays.
    int quit();

    static constexpr double startSeconds = 90.0; // start-up on a loaded machine
    static constexpr double showSeconds = 60.0;  // for a picture: many slow frames
    static constexpr double frameSeconds = 30.0; // for one frame on a loaded machine

    ChildProcess& process() { return *launched; }
    Screenshot shot;

private:
    std::optional<ChildProcess> launched;
    void xdotool(const std::string& actions);
    // Moves the pointer by (dx, dy), then does `then` (xdotool actions), and
    // waits until the game has read it.
    bool movePointer(int dx, int dy, const std::string& then = {});
    // Moves the GUI cursor towards `spot` while more than one pointer step
    // away; returns the pointer motion left.
    std::pair<int, int> moveCursorNear(Spot spot);

    std::string windowId;
    double cursorX = 0.0, cursorY = 0.0; // where the GUI cursor is, in window pixels
    int nudge = 1;                       // direction of the next nudge
};
