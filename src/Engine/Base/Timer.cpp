#include "Engine/Base/Timer.h"

#include "Platform/Clock.h"

double Timer::now() { return platform::secondsNow(); }

void Timer::restart()
{
    start = end = now();
    running = true;
}

void Timer::stop()
{
    end = now();
    running = false;
}
