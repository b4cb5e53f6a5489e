// The game's entry point: one Engine, started, run and destroyed.
#include "Engine/Engine.h"

#include <memory>

int main()
{
    auto engine = std::make_unique<Engine>();
    int status = engine->init();
    if (status == 0)
        engine->run();
    engine.reset();
    // A failed start is reported to whoever launched the game.
    return status == 0 ? 0 : 1;
}
