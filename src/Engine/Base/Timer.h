#pragma once
// Stopwatch on the monotonic clock; times in seconds.

struct Timer {
    double start = 0.0;   // time of the last (re)start
    double end = 0.0;     // time of the last stop
    bool running = false; // started and not yet stopped

    Timer() { restart(); }

    static double now();
    void restart();
    void stop();
    double elapsed() const { return end - start; } // after stop()
};
