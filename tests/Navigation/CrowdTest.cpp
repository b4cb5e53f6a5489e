// The crowd tool on a Recast-built floor with a box on it, with Detour and
// DetourCrowd for real: capacity, move targets, placement and removal.
#include "Navigation/PathfindTool.h"
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kRadius = 0.4f;
constexpr float kHeight = 1.7f;
constexpr float kStep = 1.0f / 30.0f; // seconds per update
constexpr float kArrived = 0.5f;      // metres from the target

float horizontalDistance(const float* a, const float* b) { return std::hypot(a[0] - b[0], a[2] - b[2]); }

class CrowdTest : public ::testing::Test {
protected:
    void SetUp() override { tool.init(&navtest::obstacleMesh(), query.get()); }

    const dtCrowdAgent& agent(int index) { return *tool.getCrowd().getAgent(index); }

    // Steps the crowd until the agent is within kArrived of `target` or `seconds` pass;
    // true when it arrived. Fails the test when the agent ever stands inside the box.
    bool walk(int index, const float* target, float seconds)
    {
        for (float t = 0.0f; t < seconds; t += kStep) {
            tool.update(kStep);
            const float* p = agent(index).npos;
            const bool insideBox = p[0] > navtest::kBoxMin[0] && p[0] < navtest::kBoxMax[0] &&
                                   p[2] > navtest::kBoxMin[2] && p[2] < navtest::kBoxMax[2] && p[1] < 1.0f;
            EXPECT_FALSE(insideBox) << "agent at " << p[0] << ", " << p[2];
            if (horizontalDistance(p, target) < kArrived)
                return true;
        }
        return false;
    }

    navtest::QueryPtr query = navtest::makeQuery(navtest::obstacleMesh());
    PathfindTool tool;
};

TEST_F(CrowdTest, AgentAddedAfterATargetWasSetWalksToItAroundTheBox)
{
    const int first = tool.addAgent(kRadius, kHeight);
    const float beyondBox[3] = {9.0f, 0.0f, 0.0f};
    tool.setMoveTarget(first, beyondBox);
    ASSERT_NE(tool.targetRef, 0u);
    EXPECT_NEAR(horizontalDistance(tool.targetPos, beyondBox), 0.0f, 0.01f);

    const int late = tool.addAgent(kRadius, kHeight);
    ASSERT_GE(late, 0);
    EXPECT_EQ(agent(late).targetRef, tool.targetRef);
    EXPECT_TRUE(walk(late, tool.targetPos, 15.0f));
}

TEST_F(CrowdTest, TeleportPlacesTheAgentOnTheNearestPolygonThenItWalksToItsTarget)
{
    const int index = tool.addAgent(kRadius, kHeight);
    const float earlier[3] = {9.0f, 0.0f, -9.0f};
    tool.setMoveTarget(index, earlier);
    const float corner[3] = {-9.0f, 0.5f, -9.0f}; // within the search box's 1.5 radii above the floor
    tool.teleport(index, corner);
    const dtCrowdAgent& a = agent(index);
    EXPECT_EQ(a.targetState, DT_CROWDAGENT_TARGET_NONE) << "the request of before the teleport is dropped";
    EXPECT_NEAR(a.npos[0], -9.0f, 0.01f);
    EXPECT_NEAR(a.npos[1], 0.0f, 0.02f); // dropped onto the floor
    EXPECT_NEAR(a.npos[2], -9.0f, 0.01f);
    EXPECT_TRUE(a.active);
    EXPECT_EQ(a.corridor.getPathCount(), 1);
    EXPECT_EQ(a.vel[0], 0.0f);

    const float target[3] = {9.0f, 0.0f, 1.0f};
    tool.setMoveTarget(index, target);
    EXPECT_TRUE(walk(index, target, 15.0f));
}

TEST(CrowdOffTheOrigin, AgentAddedOffTheMeshWalksOnceTeleportedOntoIt)
{
    // A floor far from the origin, where the crowd first places every agent.
    navmeshgen::TriangleSoup soup;
    const float a[3] = {20, 0, -5}, b[3] = {20, 0, 5}, c[3] = {30, 0, 5}, d[3] = {30, 0, -5};
    navtest::addQuad(soup, a, b, c, d);
    std::string error;
    auto mesh = navmeshgen::buildNavMesh(soup, navmeshgen::BuildSettings{}, error);
    ASSERT_TRUE(mesh) << error;
    navtest::QueryPtr query = navtest::makeQuery(*mesh);
    PathfindTool tool;
    tool.init(mesh.get(), query.get());

    const int index = tool.addAgent(kRadius, kHeight);
    const dtCrowdAgent& agent = *tool.getCrowd().getAgent(index);
    EXPECT_EQ(agent.state, DT_CROWDAGENT_STATE_INVALID);
    const float start[3] = {22, 0, 0}, target[3] = {28, 0, 3};
    tool.teleport(index, start);
    tool.setMoveTarget(index, target);
    for (int i = 0; i < 300 && horizontalDistance(agent.npos, target) > kArrived; ++i)
        tool.update(kStep);
    EXPECT_LT(horizontalDistance(agent.npos, target), kArrived);
}

TEST_F(CrowdTest, RequestsThatNameNoUsableAgentOrPlaceChangeNothing)
{
    const int index = tool.addAgent(kRadius, kHeight);
    const int removed = tool.addAgent(kRadius, kHeight);
    tool.removeAgent(removed);
    const float before[3] = {agent(index).npos[0], agent(index).npos[1], agent(index).npos[2]};
    const float faraway[3] = {100.0f, 40.0f, 100.0f};
    tool.teleport(index, faraway);
    const float target[3] = {-5.0f, 0.0f, 5.0f};
    tool.setMoveTarget(removed, target);
    tool.teleport(removed, target);
    EXPECT_EQ(agent(removed).targetState, DT_CROWDAGENT_TARGET_NONE);
    EXPECT_FALSE(agent(removed).active) << "a removed agent stays removed";
    for (int bad : {-1, PathfindTool::kMaxAgents, 1 << 20}) {
        tool.teleport(bad, target);
        tool.setMoveTarget(bad, target);
        tool.removeAgent(bad);
    }
    EXPECT_NE(tool.targetRef, 0u); // the target is still found for whoever asks next
    EXPECT_TRUE(agent(index).active);
    for (int i = 0; i < 60; ++i) // without a target it stays where it was placed
        tool.update(kStep);
    EXPECT_EQ(agent(index).targetState, DT_CROWDAGENT_TARGET_NONE);
    EXPECT_LT(horizontalDistance(agent(index).npos, before), 0.01f);
}

} // namespace
