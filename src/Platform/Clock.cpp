#include "Platform/Clock.h"

#include <chrono>

namespace platform {

double secondsNow()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace platform
