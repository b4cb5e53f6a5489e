#include "Engine/Base/FpsCounter.h"

#include <cmath>

bool FpsCounter::frame(double now)
{
    if (!started) {
        started = true;
        lastTime = now;
    }
    ++frameCount;
    accumulated += now - lastTime;
    lastTime = now;
    if (!(accumulated > 1.0))
        return false;
    double wholeSeconds;
    accumulated = std::modf(accumulated, &wholeSeconds);
    published = frameCount;
    frameCount = 0;
    return true;
}
