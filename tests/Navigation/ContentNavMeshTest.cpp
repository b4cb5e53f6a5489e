// The game's own navigation mesh, built by navmeshgen from the generated
// level: every tile passes the checks, and a character walks from the yard
// up the ramp onto the raised platform. Skipped until the content is built.
#include "Navigation/NavMeshFile.h"
#include "Navigation/PathfindTool.h"

#include <DetourNavMeshQuery.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace {

const std::string kNavMeshPath = std::string(UMBRANT_RESOURCES_DIR) + "/Navmesh/all_tiles_navmesh.bin";

int announcedTiles(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    navigation::NavMeshFileHeader header{};
    in.read(reinterpret_cast<char*>(&header), sizeof header);
    return header.numTiles;
}

TEST(ContentNavMesh, LoadsWholeAndLetsAgentsClimbTheRampToThePlatform)
{
    if (!std::ifstream(kNavMeshPath))
        GTEST_SKIP() << kNavMeshPath << " is not built";
    navigation::NavMeshPtr mesh = navigation::loadNavMesh(kNavMeshPath);
    ASSERT_TRUE(mesh);
    const dtNavMesh& loaded = *mesh;
    int tiles = 0;
    for (int i = 0; i < loaded.getMaxTiles(); ++i)
        tiles += loaded.getTile(i)->header ? 1 : 0;
    EXPECT_EQ(tiles, announcedTiles(kNavMeshPath));

    dtNavMeshQuery* query = dtAllocNavMeshQuery();
    ASSERT_TRUE(dtStatusSucceed(query->init(mesh.get(), 2048)));
    PathfindTool tool;
    tool.init(mesh.get(), query);
    const int agent = tool.addAgent(0.4f, 1.7f);
    ASSERT_GE(agent, 0);
    const float yard[3] = {10.0f, 0.0f, 40.0f};
    const float platform[3] = {40.0f, 3.0f, 40.0f};
    tool.teleport(agent, yard);
    tool.setMoveTarget(agent, platform);
    EXPECT_NEAR(tool.targetPos[1], 3.0f, 0.3f); // the target lies on the platform top

    const float* position = tool.getCrowd().getAgent(agent)->npos;
    for (int step = 0; step < 30 * 40 && std::hypot(position[0] - 40.0f, position[2] - 40.0f) > 0.5f; ++step)
        tool.update(1.0f / 30.0f);
    EXPECT_NEAR(position[0], 40.0f, 0.5f);
    EXPECT_NEAR(position[2], 40.0f, 0.5f);
    EXPECT_NEAR(position[1], 3.0f, 0.3f);
    dtFreeNavMeshQuery(query);
}

} // namespace
