// The game's own navigation mesh, built by navmeshgen from the level design:
// every tile passes the checks, all floor is one connected place, and a
// character walks on the floor from the yard up the ramp onto the raised
// platform. Skipped until the content is built.
#include "LevelDesign.h"
#include "Navigation/NavMeshFile.h"
#include "Navigation/PathfindTool.h"
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <utility>
#include <vector>

namespace {

const std::string kNavMeshPath = std::string(UMBRANT_RESOURCES_DIR) + "/Navmesh/all_tiles_navmesh.bin";

TEST(ContentNavMesh, LoadsWholeAsOnePlaceAndLetsAgentsClimbTheRampToThePlatform)
{
    if (!std::ifstream(kNavMeshPath))
        GTEST_SKIP() << kNavMeshPath << " is not built";
    testing::internal::CaptureStderr();
    navigation::NavMeshPtr mesh = navigation::loadNavMesh(kNavMeshPath);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the reader refused something";
    ASSERT_TRUE(mesh);
    navtest::QueryPtr query = navtest::makeQuery(*mesh, 65535);
    PathfindTool tool;
    tool.init(mesh.get(), query.get());
    const int agent = tool.addAgent(0.4f, 1.7f);
    // Characters stand on the floor: the ground at height 0, the platform top.
    const float floorTolerance = 0.02f; // metres
    const float platformTop = float(assetgen::kPlatformHeight);
    const float yard[3] = {10.0f, 0.0f, 40.0f}, platform[3] = {40.0f, platformTop, 40.0f};
    tool.teleport(agent, yard);
    const float* position = tool.getCrowd().getAgent(agent)->npos;
    EXPECT_NEAR(position[1], 0.0f, floorTolerance);

    // Every polygon is reached from the yard: no floor that no character can
    // reach (a roof or a crate top?).
    int polygons = 0;
    for (int i = 0; i < mesh->getMaxTiles(); ++i)
        if (const dtMeshTile* tile = std::as_const(*mesh).getTile(i); tile->header)
            polygons += tile->header->polyCount;
    std::vector<dtPolyRef> reached(polygons + 1);
    int count = 0;
    query->findPolysAroundCircle(tool.getCrowd().getAgent(agent)->corridor.getFirstPoly(), yard, 1.0e6f,
                                 tool.getCrowd().getFilter(0), reached.data(), nullptr, nullptr, &count, polygons + 1);
    EXPECT_EQ(count, polygons);

    tool.setMoveTarget(agent, platform);
    EXPECT_NEAR(tool.targetPos[1], platformTop, floorTolerance);
    EXPECT_TRUE(navtest::walk(tool, agent, platform, 40.0f));
    EXPECT_NEAR(position[1], platformTop, floorTolerance);
}

} // namespace
