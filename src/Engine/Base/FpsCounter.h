#pragma once
// Frames-per-second counter: counts frames and publishes the count once more
// than one second has accumulated, keeping the fraction for the next second.

class FpsCounter {
public:
    // Counts one frame ending at `now` (seconds). Returns true when a new
    // frames-per-second value was published by this frame.
    bool frame(double now);

    int framesPerSecond() const { return published; }

private:
    bool started = false;
    double lastTime = 0.0;    // seconds, end of the previous frame
    double accumulated = 0.0; // seconds since the last publication
    int frameCount = 0;
    int published = 0;
};
