// Crowd update benchmark: 37, 100 and 256 agents (the game's wave size, a
// busy level and a full crowd) scattered over the level's navigation mesh
// chase a target that circles the level, as skulls chase the player; every
// agent is sent to the target's new position every few frames. Prints the
// mean and the 95th-percentile time of one PathfindTool::update in
// microseconds. Runs on the game's mesh when it has been built, otherwise on a
// generated 60 x 60 m arena with boxes.
#include "NavMeshBuilder.h"
#include "Navigation/NavMeshFile.h"
#include "Navigation/PathfindTool.h"

#include <DetourNavMeshQuery.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <vector>

namespace {

const std::string kNavMeshPath = std::string(UMBRANT_RESOURCES_DIR) + "/Navmesh/all_tiles_navmesh.bin";
constexpr int kAgentCounts[] = {37, 100, 256};
constexpr float kFrameTime = 1.0f / 60.0f;  // seconds per update
constexpr int kWarmUpFrames = 120;
constexpr int kMeasuredFrames = 1200;
constexpr int kRetargetEveryFrames = 10;
constexpr float kTargetOrbitRadius = 20.0f; // metres around the mesh centre
constexpr float kTargetOrbitSpeed = 0.2f;   // radians per second
constexpr int kQueryNodes = 2048;
constexpr float kArenaHalfSize = 30.0f;     // metres

// Detour's random-point search takes a plain function.
float unitRandom()
{
    static std::mt19937 random(1234);
    return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
}

navmeshgen::TriangleSoup arena()
{
    navmeshgen::TriangleSoup soup;
    auto quad = [&soup](std::initializer_list<float> corners) {
        const int base = int(soup.vertices.size() / 3);
        soup.vertices.insert(soup.vertices.end(), corners);
        soup.triangles.insert(soup.triangles.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
    };
    const float h = kArenaHalfSize;
    quad({-h, 0, -h, -h, 0, h, h, 0, h, h, 0, -h});
    for (int bx = -1; bx <= 1; ++bx) {
        for (int bz = -1; bz <= 1; ++bz) { // nine 4 x 4 m blocks, 2 m tall
            const float x0 = bx * 15.0f - 2, x1 = x0 + 4, z0 = bz * 15.0f - 2, z1 = z0 + 4, y = 2;
            quad({x0, y, z0, x0, y, z1, x1, y, z1, x1, y, z0});
            quad({x0, 0, z0, x0, y, z0, x1, y, z0, x1, 0, z0});
            quad({x1, 0, z1, x1, y, z1, x0, y, z1, x0, 0, z1});
            quad({x0, 0, z1, x0, y, z1, x0, y, z0, x0, 0, z0});
            quad({x1, 0, z0, x1, y, z0, x1, y, z1, x1, 0, z1});
        }
    }
    return soup;
}

navigation::NavMeshPtr benchMesh(const char*& source)
{
    if (std::ifstream(kNavMeshPath)) {
        source = "the game's level";
        if (auto mesh = navigation::loadNavMesh(kNavMeshPath))
            return mesh;
    }
    source = "a generated 60 x 60 m arena";
    std::string error;
    auto mesh = navmeshgen::buildNavMesh(arena(), navmeshgen::BuildSettings{}, error);
    if (!mesh)
        std::fprintf(stderr, "arena: %s\n", error.c_str());
    return mesh;
}

void run(dtNavMesh& mesh, dtNavMeshQuery& query, int agents)
{
    PathfindTool tool;
    tool.separationWeight = 1.0f;
    tool.init(&mesh, &query);
    dtQueryFilter filter;
    for (int i = 0; i < agents; ++i) {
        const int index = tool.addAgent(0.4f, 1.7f);
        dtPolyRef ref = 0;
        float point[3];
        query.findRandomPoint(&filter, unitRandom, &ref, point);
        tool.teleport(index, point);
    }

    const float* orig = mesh.getParams()->orig;
    const dtMeshTile* last = nullptr;
    for (int i = 0; i < mesh.getMaxTiles(); ++i)
        if (const dtMeshTile* t = static_cast<const dtNavMesh&>(mesh).getTile(i); t->header)
            last = t;
    const float centre[3] = {(orig[0] + last->header->bmax[0]) / 2, 0.0f, (orig[2] + last->header->bmax[2]) / 2};

    std::vector<double> micros;
    for (int frame = 0; frame < kWarmUpFrames + kMeasuredFrames; ++frame) {
        if (frame % kRetargetEveryFrames == 0) {
            const float angle = kTargetOrbitSpeed * kFrameTime * float(frame);
            const float target[3] = {centre[0] + kTargetOrbitRadius * std::cos(angle), 0.0f,
                                     centre[2] + kTargetOrbitRadius * std::sin(angle)};
            for (int i = 0; i < agents; ++i)
                tool.setMoveTarget(i, target);
        }
        const auto start = std::chrono::steady_clock::now();
        tool.update(kFrameTime);
        const auto end = std::chrono::steady_clock::now();
        if (frame >= kWarmUpFrames)
            micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    double sum = 0.0;
    for (double m : micros)
        sum += m;
    std::sort(micros.begin(), micros.end());
    std::printf("%3d agents: %8.1f us per update (mean), %8.1f us (95th percentile)\n", agents,
                sum / double(micros.size()), micros[micros.size() * 95 / 100]);
}

} // namespace

int main()
{
    const char* source = "";
    navigation::NavMeshPtr mesh = benchMesh(source);
    if (!mesh)
        return 1;
    dtNavMeshQuery* query = dtAllocNavMeshQuery();
    if (!query || dtStatusFailed(query->init(mesh.get(), kQueryNodes)))
        return 1;
    std::printf("Crowd update on %s, %d frames of %.4f s after %d warm-up frames\n", source, kMeasuredFrames,
                double(kFrameTime), kWarmUpFrames);
    for (int agents : kAgentCounts)
        run(*mesh, *query, agents);
    dtFreeNavMeshQuery(query);
    return 0;
}
