// The holder's start-up and shutdown with real files: a usable mesh gives a
// crowd with the game's settings; an unusable one leaves a crowd without
// agent slots, so the game still runs and no character moves.
#include "Navigation/NavigationHolder.h"
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

namespace {

class NavigationHolderTest : public ::testing::Test {
protected:
    void TearDown() override { NavigationHolder::destroyInstance(); }

    std::string writeMesh(const std::string& name, int version)
    {
        navtest::NavMeshFileImage image = navtest::NavMeshFileImage::of(navtest::obstacleMesh());
        image.header.version = version;
        const std::string path = navtest::tempPath(name);
        navtest::writeFile(path, image.bytes());
        return path;
    }
};

TEST_F(NavigationHolderTest, UsableFileGivesACrowdWithTheGameSettings)
{
    EXPECT_EQ(NavigationHolder::crowd(), nullptr);
    NavigationHolder* holder = NavigationHolder::getInstance();
    holder->init(writeMesh("good.bin", navigation::kNavMeshFileVersion));
    ASSERT_TRUE(holder->navMesh);
    ASSERT_EQ(NavigationHolder::crowd(), holder->crowdTool.get());

    PathfindTool& tool = *holder->crowdTool;
    const int index = tool.addAgent(0.4f, 1.7f);
    ASSERT_EQ(index, 0);
    const dtCrowdAgentParams& params = tool.getCrowd().getAgent(index)->params;
    EXPECT_EQ(params.separationWeight, 1.0f); // the holder's set-up overrides the tool's 2.0
    EXPECT_EQ(params.obstacleAvoidanceType, 3);
    EXPECT_EQ(params.updateFlags, DT_CROWD_ANTICIPATE_TURNS | DT_CROWD_OBSTACLE_AVOIDANCE |
                                      DT_CROWD_OPTIMIZE_VIS | DT_CROWD_OPTIMIZE_TOPO);
    EXPECT_FLOAT_EQ(tool.getCrowd().getQueryHalfExtents()[1], 4.5f);
}

TEST_F(NavigationHolderTest, Version2FileLeavesNoMeshAndAgentsThatNeverMove)
{
    NavigationHolder* holder = NavigationHolder::getInstance();
    holder->init(writeMesh("version2.bin", 2));
    EXPECT_FALSE(holder->navMesh);
    PathfindTool* tool = NavigationHolder::crowd();
    ASSERT_TRUE(tool);
    EXPECT_EQ(tool->addAgent(0.4f, 1.7f), -1);
    const float target[3] = {1.0f, 0.0f, 1.0f};
    tool->setMoveTarget(-1, target);
    tool->teleport(-1, target);
    tool->update(0.1f);
    EXPECT_EQ(tool->targetRef, 0u);
    EXPECT_EQ(tool->getCrowd().getAgentCount(), 0);
}

TEST_F(NavigationHolderTest, InitAgainReplacesMeshAndCrowd)
{
    NavigationHolder* holder = NavigationHolder::getInstance();
    holder->init(writeMesh("first.bin", navigation::kNavMeshFileVersion));
    holder->crowdTool->addAgent(0.4f, 1.7f);
    holder->init(navtest::tempPath("missing.bin"));
    EXPECT_FALSE(holder->navMesh);
    EXPECT_EQ(holder->crowdTool->addAgent(0.4f, 1.7f), -1);
    holder->init(writeMesh("again.bin", navigation::kNavMeshFileVersion));
    EXPECT_EQ(holder->crowdTool->addAgent(0.4f, 1.7f), 0);
}

TEST_F(NavigationHolderTest, ShutdownLeavesNoCrowdBehind)
{
    NavigationHolder::getInstance()->init(writeMesh("shutdown.bin", navigation::kNavMeshFileVersion));
    NavigationHolder::destroyInstance();
    EXPECT_EQ(NavigationHolder::crowd(), nullptr);
}

} // namespace
