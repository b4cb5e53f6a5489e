// Path-find nodes on a real crowd: each node gets an agent at construction,
// moves through setTarget and teleport, and releases the agent when deleted.
#include "Engine/Scene/NodeManager.h"
#include "Navigation/CrowdAgent.h"
#include "Navigation/NavigationHolder.h"
#include "Navigation/PathFindSceneNode.h"
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr float kStep = 1.0f / 30.0f; // seconds per update

class PathFindNodeTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        nodes.clear();
        NavigationHolder::destroyInstance();
        NodeManager::destroyInstance();
    }

    void loadMesh(int version)
    {
        NavigationHolder::getInstance()->init(navtest::writeObstacleMesh("nodes.bin", version));
    }

    PathFindSceneNode& addNode()
    {
        nodes.push_back(std::make_unique<PathFindSceneNode>("walker" + std::to_string(nodes.size())));
        return *nodes.back();
    }

    void step(int updates)
    {
        for (int i = 0; i < updates; ++i)
            NavigationHolder::crowd()->update(kStep);
    }

    std::vector<std::unique_ptr<PathFindSceneNode>> nodes;
};

TEST_F(PathFindNodeTest, TeleportThenSetTargetWalksTheNodeThere)
{
    loadMesh(navigation::kNavMeshFileVersion);
    PathFindSceneNode& node = addNode();
    ASSERT_GE(node.agentIndex, 0);

    node.teleport({-8.0f, 0.5f, 8.0f});
    const Vec3 placed = agentPosition(node.agentIndex, {});
    EXPECT_NEAR(placed.x, -8.0f, 0.01f);
    EXPECT_NEAR(placed.y, 0.0f, 0.02f); // dropped onto the floor
    EXPECT_NEAR(placed.z, 8.0f, 0.01f);
    EXPECT_EQ(node.targetPosition.x, -8.0f); // where it stands is its last target

    const Vec3 target{8.0f, 0.0f, -1.0f};
    node.setTarget(target);
    EXPECT_EQ(node.targetPosition.x, target.x);
    step(300);
    const Vec3 reached = agentPosition(node.agentIndex, {});
    EXPECT_LT(std::hypot(reached.x - target.x, reached.z - target.z), 0.5f);
}

TEST_F(PathFindNodeTest, DeletedNodesFreeTheirSlotAndNodesBeyondTheCapacityGetNoAgent)
{
    loadMesh(navigation::kNavMeshFileVersion);
    for (int i = 0; i < PathfindTool::kMaxAgents; ++i)
        ASSERT_EQ(addNode().agentIndex, i);
    nodes.erase(nodes.begin() + 17);
    EXPECT_EQ(crowdAgent(17), nullptr);
    EXPECT_EQ(addNode().agentIndex, 17); // the slot is free again
    PathFindSceneNode& extra = addNode();
    EXPECT_EQ(extra.agentIndex, -1);
    extra.teleport({1.0f, 0.0f, 1.0f});
    extra.setTarget({1.0f, 0.0f, 1.0f});
    nodes.pop_back(); // removing the agentless node leaves every agent alone
    for (int i = 0; i < PathfindTool::kMaxAgents; ++i)
        ASSERT_TRUE(crowdAgent(i)) << i;
    NavigationHolder::crowd()->update(kStep); // a full crowd steps without trouble
}

TEST_F(PathFindNodeTest, WithoutAMeshNodesHaveNoAgentAndNeverMove)
{
    loadMesh(2);
    PathFindSceneNode& node = addNode();
    EXPECT_EQ(node.agentIndex, -1);
    EXPECT_EQ(agentPosition(node.agentIndex, {1, 2, 3}), (Vec3{1, 2, 3}));
    node.teleport({3.0f, 0.0f, 3.0f});
    node.setTarget({5.0f, 0.0f, 5.0f});
    step(10);
    EXPECT_EQ(node.targetPosition.x, 5.0f); // remembered, though nothing walks
    EXPECT_EQ(NavigationHolder::crowd()->targetRef, 0u);
}

TEST_F(PathFindNodeTest, NodesMayOutliveTheNavigationHolder)
{
    loadMesh(navigation::kNavMeshFileVersion);
    addNode();
    NavigationHolder::destroyInstance();
    nodes.clear(); // no crowd left to release the agent from
}

} // namespace
