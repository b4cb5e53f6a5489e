// The game's own frame with a game in progress, at the game's 1024 x 768:
// the real start-up, then the player at the start point under the follow
// camera with his flashlight and its shaft, the level's lights and a crowd
// of skulls chasing him over the navigation mesh, the in-game GUI on top.
// The run is steady: a fixed random seed and time step, every wave spawned
// before the first timed frame, the player's health restored every frame.
// Prints the time from process start to the first drawn menu frame; the
// median and 95th-percentile frame time and frames per second; each pass's
// median time from the renderer's timer queries; the objects drawn; and the
// heap allocations per frame by who made them (HeapCounter.h), with the
// places in our code that allocated.
// Usage (from bin/, under an X display): game_bench [timed frames]
#include "HeapCounter.h"
#include "seededGame.h"

#include "Engine/Engine.h"
#include "Engine/Base/Globals.h"
#include "Engine/Pipeline/RenderPassTimer.h"
#include "Engine/Pipeline/RenderSettings.h"
#include "Engine/Pipeline/Renderer.h"
#include "Game/AIAgent.h"
#include "Game/GameSession.h"
#include "Game/PlayerCharacter.h"

#include <GL/glew.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr double timeStep = 1.0 / 30.0; // seconds of game time per frame
constexpr int skullCount = 37;
constexpr int warmUpFrames = 40;   // the skulls set off, the driver builds its shader variants
constexpr int defaultTimedFrames = 120;
constexpr int classifiedFrames = 20; // frames whose allocations are traced to their makers

// Seconds since this process started, from the kernel's start time (10 ms steps).
double secondsSinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string field;
    for (int i = 0; i < 22 && stat >> field; ++i) {
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    double started = std::atof(field.c_str()) / static_cast<double>(sysconf(_SC_CLK_TCK));
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9 - started;
}

// A fresh game: the start-up's random first wave is replaced by waves spawned
// from the fixed seed, topped up to the skull count.
void startSteadyGame()
{
    seededgame::start();
    GameSession* session = GameSession::getInstance();
    while (static_cast<int>(session->enemies.size()) < skullCount) {
        size_t before = session->enemies.size();
        session->spawnWave();
        if (session->enemies.size() == before) { // the session's own cap: one skull at a time
            auto* skull = new AIAgent();
            skull->teleport((*session->spawnPoints)[session->enemies.size() % session->spawnPoints->size()]);
            session->enemies.push_back(skull);
        }
    }
    while (static_cast<int>(session->enemies.size()) > skullCount) {
        delete session->enemies.back();
        session->enemies.pop_back();
    }
}

void keepPlayerAlive()
{
    if (PlayerCharacter* player = GameSession::getInstance()->player()) {
        player->health = player->maxHealth;
        player->alive = true;
    }
}

struct FrameRecord {
    double milliseconds = 0.0;
    std::array<double, renderPassCount> passes{};
    int objectsDrawn = 0;
};

FrameRecord timedFrame(Engine& engine, RenderPassTimer& timer)
{
    keepPlayerAlive();
    auto start = std::chrono::steady_clock::now();
    engine.frame(timeStep);
    FrameRecord record;
    record.passes = timer.collect(); // waits until the frame's passes have run
    auto end = std::chrono::steady_clock::now();
    record.milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
    record.objectsDrawn = renderStats.renderedObjects;
    return record;
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    size_t index = std::min(values.size() - 1, static_cast<size_t>(fraction * static_cast<double>(values.size())));
    return values[index];
}

void printFrames(const std::vector<FrameRecord>& records)
{
    std::vector<double> frameTimes;
    std::array<std::vector<double>, renderPassCount> passTimes;
    double objects = 0.0;
    for (const FrameRecord& record : records) {
        frameTimes.push_back(record.milliseconds);
        for (int pass = 0; pass < renderPassCount; ++pass)
            passTimes[pass].push_back(record.passes[pass]);
        objects += record.objectsDrawn;
    }
    double median = percentile(frameTimes, 0.5);
    std::printf("frame time: median %.2f ms, 95th percentile %.2f ms, %.2f frames per second (from the median)\n",
                median, percentile(frameTimes, 0.95), median > 0.0 ? 1000.0 / median : 0.0);
    std::printf("pass times (median of the timer queries):");
    for (int pass = 0; pass < renderPassCount; ++pass)
        std::printf("  %s %.2f ms", renderPassName(pass), percentile(passTimes[pass], 0.5));
    std::printf("\nobjects drawn per frame: %.1f\n", records.empty() ? 0.0 : objects / records.size());
}

void measureAllocations(Engine& engine, RenderPassTimer& timer)
{
    heapcounter::startClassifying();
    heapcounter::Counts before = heapcounter::counts();
    for (int frame = 0; frame < classifiedFrames; ++frame)
        timedFrame(engine, timer);
    heapcounter::Counts after = heapcounter::counts();
    heapcounter::stopClassifying();
    std::printf("heap allocations per frame (%d frames traced):", classifiedFrames);
    for (int owner = 0; owner < heapcounter::ownerCount; ++owner)
        std::printf("  %s %.1f", heapcounter::ownerName(owner),
                    static_cast<double>(after.byOwner[owner] - before.byOwner[owner]) / classifiedFrames);
    std::printf("\n");
    if (after.byOwner[heapcounter::Ours] > before.byOwner[heapcounter::Ours]) {
        std::printf("where our code allocated (counts over the traced frames):\n");
        heapcounter::printOurPlaces(stdout, 12);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const int timedFrames = argc > 1 ? std::max(1, std::atoi(argv[1])) : defaultTimedFrames;
    Engine engine;
    if (engine.init() != 0) {
        std::fprintf(stderr, "game_bench: the game did not start (run from bin/ under an X display)\n");
        return 1;
    }
    engine.frame(0.0); // the menu
    glFinish();
    double startUp = secondsSinceProcessStart();

    RenderPassTimer timer;
    Renderer::getInstance()->setPassTimer(&timer);
    startSteadyGame();
    for (int frame = 0; frame < warmUpFrames; ++frame)
        timedFrame(engine, timer);
    std::vector<FrameRecord> records;
    records.reserve(timedFrames);
    heapcounter::Counts before = heapcounter::counts();
    for (int frame = 0; frame < timedFrames; ++frame)
        records.push_back(timedFrame(engine, timer));
    heapcounter::Counts after = heapcounter::counts();

    std::printf("\ngame_bench: %d timed frames at 1024x768 after %d warm-up frames, time step %.4f s, %zu skulls, "
                "renderer: %s\n",
                timedFrames, warmUpFrames, timeStep, GameSession::getInstance()->enemies.size(),
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("start-up to the first drawn menu frame: %.2f s\n", startUp);
    printFrames(records);
    std::printf("heap allocations per frame, all makers: %.1f\n",
                static_cast<double>(after.total - before.total) / timedFrames);
    measureAllocations(engine, timer);
    Renderer::getInstance()->setPassTimer(nullptr);
    return 0;
}
