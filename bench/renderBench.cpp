// Renders the generated test scene (the room plus a field of crates, so that
// culling has work) along a fixed camera path in each render mode and prints,
// per mode: the median frame time, the objects drawn and octree cells checked
// per frame, and the median GPU time of each pass from GL_TIME_ELAPSED
// queries; then the ratio of the modes' frame times. It also counts heap
// allocations made while frames are drawn (there should be none).
// Usage: render_bench [frames per mode] (run under an X display).
#include "renderScene.h"

#include "Engine/CameraState.h"
#include "Engine/RenderPassTimer.h"
#include "Engine/RenderSettings.h"
#include "Engine/Renderer.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {

std::atomic<long> heapAllocations{0};

constexpr int benchWidth = 1024; // pixels
constexpr int benchHeight = 768;
constexpr int defaultFrames = 60; // per mode
constexpr int warmUpFrames = 3;
constexpr int crateGrid = 24;        // 576 crates around the room
constexpr float pathRadius = 110.0f; // units from the centre of the field
constexpr float pathHeight = 30.0f;

// Frame i of n: a full circle around the field, looking across it.
void placePathCamera(int frame, int frames)
{
    float angle = 6.2831853f * static_cast<float>(frame) / static_cast<float>(frames);
    Vec3 eye{pathRadius * std::cos(angle), pathHeight, pathRadius * std::sin(angle)};
    Vec3 centre{0.3f * eye.x, 0.0f, 0.3f * eye.z}; // looks inwards and down, past the middle
    centre = Vec3{-centre.x, 0.0f, -centre.z};
    renderscene::placeCamera(eye, centre);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct ModeFigures {
    double frameMilliseconds = 0.0;
    double objectsDrawn = 0.0;
    double cellsChecked = 0.0;
    std::array<double, renderPassCount> passMilliseconds{};
    long allocations = 0;
};

ModeFigures measureMode(Renderer& renderer, RenderPassTimer& timer, GLFWwindow* window, int frames)
{
    ModeFigures figures;
    std::vector<double> frameTimes;
    std::array<std::vector<double>, renderPassCount> passTimes;
    frameTimes.reserve(frames);
    for (auto& times : passTimes)
        times.reserve(frames);
    for (int frame = -warmUpFrames; frame < frames; ++frame) {
        placePathCamera(std::max(frame, 0), frames);
        long allocationsBefore = heapAllocations.load();
        auto start = std::chrono::steady_clock::now();
        renderer.render();
        glFinish();
        auto end = std::chrono::steady_clock::now();
        long allocations = heapAllocations.load() - allocationsBefore;
        std::array<double, renderPassCount> passes = timer.collect();
        glfwSwapBuffers(window);
        if (frame < 0)
            continue;
        figures.allocations += allocations;
        frameTimes.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        for (int pass = 0; pass < renderPassCount; ++pass)
            passTimes[pass].push_back(passes[pass]);
        figures.objectsDrawn += renderStats.renderedObjects;
        figures.cellsChecked += renderStats.checkedOctreeNodes;
    }
    figures.frameMilliseconds = median(frameTimes);
    figures.objectsDrawn /= frames;
    figures.cellsChecked /= frames;
    for (int pass = 0; pass < renderPassCount; ++pass)
        figures.passMilliseconds[pass] = median(passTimes[pass]);
    return figures;
}

} // namespace

void* operator new(std::size_t size)
{
    ++heapAllocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : defaultFrames;
    GLFWwindow* window = renderscene::openWindow(benchWidth, benchHeight, true);
    if (!window || !renderscene::loadShaders()) {
        std::fprintf(stderr, "render_bench: no OpenGL 3.3 window or the shader programs did not build\n");
        return 1;
    }
    renderscene::build(true, crateGrid);
    Renderer* renderer = Renderer::getInstance();
    renderer->initialize();
    RenderPassTimer timer;
    renderer->setPassTimer(&timer);

    std::printf("render_bench: %dx%d, %d frames per mode on a circle around %d crates, renderer: %s\n", benchWidth,
                benchHeight, frames, crateGrid * crateGrid, reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    // One untimed lap first: the driver builds its shader variants and caches
    // during the first frames, which would otherwise count against the first mode.
    measureMode(*renderer, timer, window, frames);
    std::array<ModeFigures, renderModeCount> results;
    for (int step = 0; step < renderModeCount; ++step) {
        while (renderer->getRenderMode() != step)
            renderer->cycleRenderMode();
        results[step] = measureMode(*renderer, timer, window, frames);
        const ModeFigures& r = results[step];
        std::printf("\n%-18s median frame %8.2f ms   objects drawn %7.1f   octree cells checked %6.1f   "
                    "heap allocations while drawing %ld\n",
                    renderModeName(step), r.frameMilliseconds, r.objectsDrawn, r.cellsChecked, r.allocations);
        std::printf("%-18s GPU median per pass:", "");
        for (int pass = 0; pass < renderPassCount; ++pass)
            std::printf("  %s %.2f ms", renderPassName(pass), r.passMilliseconds[pass]);
        std::printf("\n");
    }
    const double reference = results[RenderingAll].frameMilliseconds;
    std::printf("\nframe time relative to \"Rendering All\":");
    for (int mode = 0; mode < renderModeCount; ++mode)
        std::printf("  %s %.2f", renderModeName(mode), reference > 0.0 ? results[mode].frameMilliseconds / reference : 0.0);
    std::printf("\n");

    renderer->setPassTimer(nullptr);
    renderscene::tearDown();
    glfwDestroyWindow(window);
    glfwTerminate();
    return 0;
}
