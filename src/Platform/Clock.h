#pragma once
// Monotonic high-resolution clock, in seconds since an arbitrary fixed point.

namespace platform {

// [Out: seconds, monotonic, sub-microsecond resolution]
double secondsNow();

} // namespace platform
