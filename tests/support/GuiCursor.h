#pragma once
// Steers the running game's GUI cursor with real relative mouse motion
// (xdotool). The game captures the pointer, reads its motion once per frame
// and puts it back at the window's centre; the GUI cursor follows at 0.3 GUI
// pixels per mouse pixel. The first position after the capture is only a
// baseline, so the cursor is first pushed into the top-left corner.
#include <string>

// Puts the GUI cursor at (x, y) window pixels of the game window `windowId`.
void moveGuiCursorTo(const std::string& windowId, int x, int y);
