// Culling benchmark: 10,000 render objects on a 100 x 100 grid, seen from
// above by cameras that take in about 1 %, 10 % and 100 % of them and pan
// sideways by one unit per frame. For each camera it prints the per-frame
// culling time (marks and visibility decisions, no drawing) of the octree
// and of the per-object frustum test, and how many objects each would draw.
// Times are the best mean of several batches: other processes on the
// machine only ever make a batch slower.
#include "Engine/Base/Window.h"
#include "Engine/Render/Octree.h"
#include "Engine/Render/RenderObject.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/Frustum.h"
#include "Engine/Scene/NodeManager.h"
#include "Engine/Scene/SceneGraphNode.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int gridSide = 100;          // objects per row and column
constexpr float gridSpacing = 10.0f;   // world units between object origins
constexpr float objectSize = 2.0f;     // edge of each object's box, world units
constexpr int framesPerBatch = 256;    // culling passes averaged per batch
constexpr int batches = 20;            // the fastest batch is reported
constexpr int panFrames = 64;          // camera positions, one unit apart along X
constexpr float fieldOfView = 60.0f;   // degrees
constexpr float farPlane = 5000.0f;    // world units

struct CameraCase {
    const char* label;
    float height; // eye above the grid centre, world units
};

// With a 60 degree view straight down, the visible square has an edge of
// about 1.15 times the height.
constexpr CameraCase cameraCases[] = {{"~1 % visible", 87.0f}, {"~10 % visible", 275.0f}, {"100 % visible", 900.0f}};

MeshData boxMesh(const std::string& name, Vec3 boxMin, Vec3 boxMax)
{
    MeshData mesh;
    mesh.name = name;
    mesh.positions = {boxMin.x, boxMin.y, boxMin.z, 1, boxMax.x, boxMin.y, boxMax.z, 1, boxMax.x, boxMax.y, boxMax.z, 1};
    mesh.triangleCounts = {1};
    mesh.boundsMin = boxMin;
    mesh.boundsMax = boxMax;
    return mesh;
}

// Each object under its own name: clones of one template would spend the
// set-up probing "Grid_box_1" ... "Grid_box_9999" for a free name.
void buildGrid()
{
    NodeManager* registry = NodeManager::getInstance();
    registry->createRoot();
    SceneGraphNode* root = registry->getRoot();
    for (int i = 0; i < gridSide * gridSide; ++i) {
        auto* box = new RenderObject(
            boxMesh("Grid_box_" + std::to_string(i), {0, 0, 0}, {objectSize, objectSize, objectSize}));
        box->translate((i % gridSide) * gridSpacing, 0.0f, (i / gridSide) * gridSpacing);
        root->addChild(box);
    }
    root->update();
}

// `pass(frustum)` culls one frame and returns the objects it would draw;
// `drawn` receives the count of the camera's middle position.
template <typename Pass>
double microsecondsPerFrame(const std::vector<Frustum>& pan, Pass pass, int& drawn)
{
    double best = 1e30;
    for (int batch = 0; batch < batches; ++batch) {
        auto start = std::chrono::steady_clock::now();
        for (int frame = 0; frame < framesPerBatch; ++frame)
            pass(pan[frame % pan.size()]);
        std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count() / framesPerBatch);
    }
    drawn = pass(pan[pan.size() / 2]);
    return best;
}

std::vector<Frustum> panningCamera(float centre, float height)
{
    std::vector<Frustum> pan;
    for (int frame = 0; frame < panFrames; ++frame) {
        float x = centre + static_cast<float>(frame - panFrames / 2);
        pan.push_back(frustumFromMatrices(perspective(fieldOfView, 1.0f, 1.0f, farPlane),
                                          lookAt({x, height, centre}, {x, 0, centre}, {0, 0, -1})));
    }
    return pan;
}

int octreePass(Octree& octree, const Frustum& frustum, int& cellsChecked)
{
    cellsChecked = octree.markVisible(frustum);
    return octree.forEachVisible(frustum, [](const RenderObject&) {});
}

int perObjectPass(const Frustum& frustum)
{
    int drawn = 0;
    for (const RenderObject* object : NodeManager::getInstance()->getRenderObjects())
        drawn += isBoxVisible(frustum, object->getBoundsMin(), object->getBoundsMax()) ? 1 : 0;
    return drawn;
}

} // namespace

int main()
{
    if (!openContextWindow(64, 64, false, "culling benchmark")) {
        std::fprintf(stderr, "culling benchmark: no OpenGL 3.3 context (is DISPLAY set?)\n");
        return 1;
    }
    buildGrid();
    Octree& octree = *Octree::getInstance();
    octree.build();

    const float centre = (gridSide - 1) * gridSpacing * 0.5f + objectSize * 0.5f;
    std::printf("Culling %d render objects: best of %d batches of %d frames, camera panning\n",
                gridSide * gridSide, batches, framesPerBatch);
    std::printf("%-15s %12s %10s %8s %14s %8s %8s\n", "camera", "octree us", "cells", "drawn", "per-object us",
                "drawn", "speedup");
    for (const CameraCase& camera : cameraCases) {
        std::vector<Frustum> pan = panningCamera(centre, camera.height);
        int cells = 0, octreeDrawn = 0, perObjectDrawn = 0;
        double octreeTime = microsecondsPerFrame(
            pan, [&](const Frustum& frustum) { return octreePass(octree, frustum, cells); }, octreeDrawn);
        double perObjectTime =
            microsecondsPerFrame(pan, [](const Frustum& frustum) { return perObjectPass(frustum); }, perObjectDrawn);
        std::printf("%-15s %12.1f %10d %8d %14.1f %8d %7.2fx\n", camera.label, octreeTime, cells, octreeDrawn,
                    perObjectTime, perObjectDrawn, perObjectTime / octreeTime);
    }
    Octree::destroyInstance();
    NodeManager::destroyInstance();
    glfwTerminate();
    return 0;
}
