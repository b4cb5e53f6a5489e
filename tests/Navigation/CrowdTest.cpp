// The crowd as the game uses it, with Detour and DetourCrowd for real: the
// holder reads the mesh file and path-find nodes walk on its crowd (each
// node gets an agent at construction and releases it when deleted, also
// after the holder is gone); an unusable file leaves a crowd without agent
// slots, so the game still runs and no character moves.
#include "Engine/Scene/NodeManager.h"
#include "Navigation/CrowdAgent.h"
#include "Navigation/NavigationHolder.h"
#include "Navigation/PathFindSceneNode.h"
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class CrowdTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        nodes.clear();
        NavigationHolder::destroyInstance();
        NodeManager::destroyInstance();
    }

    void loadObstacleMesh()
    {
        ASSERT_TRUE(navigation::saveNavMesh(navtest::tempPath("crowd.bin"), navtest::obstacleMesh()));
        holder->init(navtest::tempPath("crowd.bin"));
    }

    PathFindSceneNode& addNode()
    {
        nodes.push_back(std::make_unique<PathFindSceneNode>("walker" + std::to_string(nodes.size())));
        return *nodes.back();
    }

    NavigationHolder* holder = NavigationHolder::getInstance();
    std::vector<std::unique_ptr<PathFindSceneNode>> nodes;
};

TEST_F(CrowdTest, FreedSlotsAreReusedAndRequestsNamingNoUsableAgentOrPlaceChangeNothing)
{
    loadObstacleMesh();
    PathfindTool& tool = *NavigationHolder::crowd();
    for (int i = 0; i < PathfindTool::kMaxAgents; ++i)
        ASSERT_EQ(addNode().agentIndex, i);
    nodes.erase(nodes.begin() + 17);
    const float target[3] = {-5.0f, 0.0f, 5.0f}, faraway[3] = {100.0f, 40.0f, 100.0f};
    tool.setMoveTarget(17, target);
    tool.teleport(17, target);
    EXPECT_EQ(crowdAgent(17), nullptr) << "a removed agent stays removed";
    const Vec3 before = agentPosition(3, {});
    tool.teleport(3, faraway);
    EXPECT_EQ(agentPosition(3, {}), before);
    for (int bad : {-1, PathfindTool::kMaxAgents, 1 << 20}) {
        tool.teleport(bad, target);
        tool.setMoveTarget(bad, target);
        tool.removeAgent(bad);
    }
    EXPECT_NE(tool.targetRef, 0u); // the target is still found for whoever asks next
    EXPECT_EQ(addNode().agentIndex, 17); // the slot is free again
    EXPECT_EQ(addNode().agentIndex, -1) << "beyond the capacity";
    tool.update(1.0f / 30.0f); // a full crowd steps without trouble
}

// A node on an unusable file gets no agent and never moves. On the mesh the
// holder reads next, teleporting drops the node's last request and puts it
// on the floor, an agent added later does not take the last target, and a
// target walks the node round the box.
TEST_F(CrowdTest, AnUnusableFileGivesNoAgentThenTheMeshWalksTheNodeRoundTheBox)
{
    holder->init(navtest::tempPath("missing.bin"));
    PathFindSceneNode& lost = addNode();
    EXPECT_EQ(lost.agentIndex, -1);
    EXPECT_EQ(agentPosition(lost.agentIndex, {1, 2, 3}), (Vec3{1, 2, 3}));
    lost.teleport({3.0f, 0.0f, 3.0f});
    lost.setTarget({5.0f, 0.0f, 5.0f});
    NavigationHolder::crowd()->update(0.1f);
    EXPECT_EQ(NavigationHolder::crowd()->targetRef, 0u);
    nodes.clear();

    loadObstacleMesh();
    PathFindSceneNode& node = addNode();
    ASSERT_EQ(node.agentIndex, 0);
    EXPECT_EQ(crowdAgent(0)->params.separationWeight, 1.0f) << "the holder's crowd settings were not applied";
    node.setTarget({9.0f, 0.0f, -9.0f});
    node.teleport({-8.0f, 0.5f, 8.0f}); // within 1.5 radii above the floor
    EXPECT_EQ(crowdAgent(node.agentIndex)->targetState, DT_CROWDAGENT_TARGET_NONE);
    EXPECT_LT(length(agentPosition(node.agentIndex, {}) - Vec3{-8.0f, 0.0f, 8.0f}), 0.02f) << "not on the floor";
    EXPECT_EQ(node.targetPosition.x, -8.0f); // where it stands is its last target
    node.setTarget({8.0f, 0.0f, -1.0f});
    const float target[3] = {8.0f, 0.0f, -1.0f};
    EXPECT_EQ(crowdAgent(addNode().agentIndex)->targetRef, NavigationHolder::crowd()->targetRef)
        << "an agent added later does not take the last target";
    nodes.pop_back();
    EXPECT_TRUE(navtest::walk(*NavigationHolder::crowd(), node.agentIndex, target));
    NavigationHolder::destroyInstance();
    EXPECT_EQ(NavigationHolder::crowd(), nullptr);
    // The node outlives the holder: no crowd is left to release its agent from.
}

} // namespace
