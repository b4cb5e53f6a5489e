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
};

TEST_F(NavigationHolderTest, UsableFileGivesACrowdAndUnusableOnesACrowdWhoseAgentsNeverMove)
{
    EXPECT_EQ(NavigationHolder::crowd(), nullptr);
    NavigationHolder* holder = NavigationHolder::getInstance();
    holder->init(navtest::writeObstacleMesh("good.bin", navigation::kNavMeshFileVersion));
    ASSERT_TRUE(holder->navMesh);
    ASSERT_EQ(NavigationHolder::crowd(), holder->crowdTool.get());
    EXPECT_EQ(holder->crowdTool->addAgent(0.4f, 1.7f), 0);
    // The holder's set-up overrides the tool's separation weight of 2.
    EXPECT_EQ(holder->crowdTool->getCrowd().getAgent(0)->params.separationWeight, 1.0f);

    for (const std::string& unusable : {navtest::tempPath("missing.bin"), navtest::writeObstacleMesh("v2.bin", 2)}) {
        holder->init(unusable);
        EXPECT_FALSE(holder->navMesh) << unusable;
        PathfindTool* tool = NavigationHolder::crowd();
        ASSERT_TRUE(tool);
        EXPECT_EQ(tool->addAgent(0.4f, 1.7f), -1) << unusable;
        const float target[3] = {1.0f, 0.0f, 1.0f};
        tool->setMoveTarget(-1, target);
        tool->teleport(-1, target);
        tool->update(0.1f);
        EXPECT_EQ(tool->targetRef, 0u) << unusable;
        EXPECT_EQ(tool->getCrowd().getAgentCount(), 0) << unusable;
    }
    holder->init(navtest::writeObstacleMesh("again.bin", navigation::kNavMeshFileVersion));
    EXPECT_EQ(holder->crowdTool->addAgent(0.4f, 1.7f), 0);
    NavigationHolder::destroyInstance();
    EXPECT_EQ(NavigationHolder::crowd(), nullptr);
}

} // namespace
