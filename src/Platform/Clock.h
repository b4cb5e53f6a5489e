#pragma once
// src/Platform: the few operating-system services the game needs beyond its libraries
// (the clock, the X11 window titles). The bottom layer: it includes nothing of the game.
//
// Monotonic high-resolution clock, in seconds since an arbitrary fixed point.

namespace platform {

// [Out: seconds, monotonic, sub-microsecond resolution]
double secondsNow();

} // namespace platform
