// Renders the game's level (with --level, run from bin/) or the generated test
// scene (the room plus a field of crates, so that culling has work) along a
// fixed camera path in each render mode at 1024 x 768 and prints,
// per mode: the median frame time, the objects drawn and octree cells checked
// per frame, and the median GPU time of each pass from GL_TIME_ELAPSED
// queries; then the ratio of the modes' frame times. It also counts heap
// allocations made while frames are drawn (there should be none).
// Usage: render_bench [--level] [frames per mode] (run under an X display).
#include "renderLevel.h"
#include "renderScene.h"

#include "Engine/Pipeline/RenderPassTimer.h"
#include "Engine/Pipeline/RenderSettings.h"
#include "Engine/Pipeline/Renderer.h"
#include "Engine/Scene/CameraState.h"

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
constexpr float fieldPathRadius = 110.0f; // units from the centre of the crate field
constexpr float fieldPathHeight = 30.0f;
constexpr float levelPathFraction = 0.3f;  // of the level's smaller horizontal extent
constexpr float levelPathHeight = 3.0f;    // units above the level's floor
constexpr float flashlightDrop = 1.0f;     // the flashlight hangs this far below the eye

// The camera path: a full circle around `middle`, looking across it to the far side.
struct CameraPath {
    Vec3 middle;
    float radius = fieldPathRadius;
    float height = fieldPathHeight;
    SpotLight* flashlight = nullptr; // follows the camera when set
};

void placePathCamera(const CameraPath& path, int frame, int frames)
{
    float angle = 6.2831853f * static_cast<float>(frame) / static_cast<float>(frames);
    Vec3 offset{path.radius * std::cos(angle), 0.0f, path.radius * std::sin(angle)};
    Vec3 eye = path.middle + offset + Vec3{0.0f, path.height, 0.0f};
    Vec3 centre = path.middle - offset * 0.3f;
    renderscene::placeCamera(eye, centre);
    if (path.flashlight)
        renderlevel::aimFlashlight(*path.flashlight, eye - Vec3{0.0f, flashlightDrop, 0.0f}, centre - eye);
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

ModeFigures measureMode(Renderer& renderer, RenderPassTimer& timer, GLFWwindow* window, const CameraPath& path,
                        int frames)
{
    ModeFigures figures;
    std::vector<double> frameTimes;
    std::array<std::vector<double>, renderPassCount> passTimes;
    frameTimes.reserve(frames);
    for (auto& times : passTimes)
        times.reserve(frames);
    for (int frame = -warmUpFrames; frame < frames; ++frame) {
        placePathCamera(path, std::max(frame, 0), frames);
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
    const bool level = argc > 1 && std::string(argv[1]) == "--level";
    const int framesArgument = level ? 2 : 1;
    const int frames = argc > framesArgument ? std::max(1, std::atoi(argv[framesArgument])) : defaultFrames;
    GLFWwindow* window = renderscene::openWindow(benchWidth, benchHeight, true);
    if (!window || !renderscene::loadShaders()) {
        std::fprintf(stderr, "render_bench: no OpenGL 3.3 window or the shader programs did not build\n");
        return 1;
    }
    CameraPath path;
    if (level) {
        if (!renderlevel::load())
            return 1;
        Vec3 boxMin, boxMax;
        renderlevel::levelBounds(boxMin, boxMax);
        path.middle = {(boxMin.x + boxMax.x) * 0.5f, boxMin.y, (boxMin.z + boxMax.z) * 0.5f};
        path.radius = levelPathFraction * std::min(boxMax.x - boxMin.x, boxMax.z - boxMin.z);
        path.height = levelPathHeight;
        path.flashlight = renderlevel::addFlashlight({}, {0.0f, 0.0f, -1.0f});
    } else {
        renderscene::build(true, crateGrid);
    }
    Renderer* renderer = Renderer::getInstance();
    renderer->initialize();
    RenderPassTimer timer;
    renderer->setPassTimer(&timer);

    std::printf("render_bench: %s, %dx%d, %d frames per mode on a circle of radius %.1f, renderer: %s\n",
                level ? "the level" : "the test room and a crate field", benchWidth, benchHeight, frames, path.radius,
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    // One untimed lap first: the driver builds its shader variants and caches
    // during the first frames, which would otherwise count against the first mode.
    measureMode(*renderer, timer, window, path, frames);
    std::array<ModeFigures, renderModeCount> results;
    for (int step = 0; step < renderModeCount; ++step) {
        while (renderer->getRenderMode() != step)
            renderer->cycleRenderMode();
        results[step] = measureMode(*renderer, timer, window, path, frames);
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
