// The game's own navigation mesh, built by navmeshgen from the level design:
// every tile passes the checks, all floor is one connected place, and a
// character walks on the floor from the yard up the ramp onto the raised
// platform. Skipped until the content is built.
#include "LevelDesign.h"
#include "Navigation/NavMeshFile.h"
#include "Navigation/PathfindTool.h"
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>
#include <vector>

namespace {

const std::string kNavMeshPath = std::string(UMBRANT_RESOURCES_DIR) + "/Navmesh/all_tiles_navmesh.bin";

int announcedTiles(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    navigation::NavMeshFileHeader header{};
    in.read(reinterpret_cast<char*>(&header), sizeof header);
    return header.numTiles;
}

// Groups of polygons joined by links, within and across tiles.
int polygonIslands(const dtNavMesh& mesh)
{
    std::set<dtPolyRef> unvisited;
    for (int i = 0; i < mesh.getMaxTiles(); ++i) {
        const dtMeshTile* tile = mesh.getTile(i);
        for (int p = 0; tile->header && p < tile->header->polyCount; ++p)
            unvisited.insert(mesh.getPolyRefBase(tile) | dtPolyRef(p));
    }
    int islands = 0;
    while (!unvisited.empty()) {
        ++islands;
        std::vector<dtPolyRef> open = {*unvisited.begin()};
        unvisited.erase(unvisited.begin());
        while (!open.empty()) {
            const dtMeshTile* tile = nullptr;
            const dtPoly* poly = nullptr;
            mesh.getTileAndPolyByRefUnsafe(open.back(), &tile, &poly);
            open.pop_back();
            for (unsigned k = poly->firstLink; k != DT_NULL_LINK; k = tile->links[k].next) {
                if (unvisited.erase(tile->links[k].ref))
                    open.push_back(tile->links[k].ref);
            }
        }
    }
    return islands;
}

TEST(ContentNavMesh, LoadsWholeAsOnePlaceAndLetsAgentsClimbTheRampToThePlatform)
{
    if (!std::ifstream(kNavMeshPath))
        GTEST_SKIP() << kNavMeshPath << " is not built";
    navigation::NavMeshPtr mesh = navigation::loadNavMesh(kNavMeshPath);
    ASSERT_TRUE(mesh);
    EXPECT_EQ(navtest::tileCount(*mesh), announcedTiles(kNavMeshPath));
    EXPECT_EQ(polygonIslands(*mesh), 1) << "floor that no character can reach (a roof or a crate top?)";

    navtest::QueryPtr query = navtest::makeQuery(*mesh);
    PathfindTool tool;
    tool.init(mesh.get(), query.get());
    const int agent = tool.addAgent(0.4f, 1.7f);
    ASSERT_GE(agent, 0);
    // Characters stand on the floor: the ground at height 0, the platform top.
    const float floorTolerance = 0.02f; // metres
    const float platformTop = float(assetgen::kPlatformHeight);
    const float yard[3] = {10.0f, 0.0f, 40.0f};
    const float platform[3] = {40.0f, platformTop, 40.0f};
    tool.teleport(agent, yard);
    const float* position = tool.getCrowd().getAgent(agent)->npos;
    EXPECT_NEAR(position[1], 0.0f, floorTolerance);
    tool.setMoveTarget(agent, platform);
    EXPECT_NEAR(tool.targetPos[1], platformTop, floorTolerance);

    for (int step = 0; step < 30 * 40 && std::hypot(position[0] - 40.0f, position[2] - 40.0f) > 0.5f; ++step)
        tool.update(1.0f / 30.0f);
    EXPECT_NEAR(position[0], 40.0f, 0.5f);
    EXPECT_NEAR(position[2], 40.0f, 0.5f);
    EXPECT_NEAR(position[1], platformTop, floorTolerance);
}

} // namespace
