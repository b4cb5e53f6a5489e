// The mesh generator's settings: characters climb a walkable ramp to a
// platform but not a one-metre wall, and nothing to build is an error.
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

namespace {

// True when an agent walks from the floor at x = 14 onto the platform top of
// a 20 x 20 m floor with a 1 m high platform (x 24..28, z 4..8), with `ramp`
// a 4 m long slope (14 degrees) up to it from the west. The floor lies off
// the origin, where the crowd first places every agent: an agent added off
// the mesh walks once it is placed on it.
bool platformReachable(bool ramp)
{
    navmeshgen::TriangleSoup soup;
    navtest::addQuad(soup, {10, 0, -10, 10, 0, 10, 30, 0, 10, 30, 0, -10});
    const float platformMin[3] = {24, 0, 4}, platformMax[3] = {28, 1, 8};
    navtest::addBox(soup, platformMin, platformMax);
    if (ramp)
        navtest::addQuad(soup, {20, 0, 4, 20, 0, 8, 24, 1, 8, 24, 1, 4});
    std::string error;
    auto mesh = navmeshgen::buildNavMesh(soup, navtest::smallTileSettings(), error);
    EXPECT_TRUE(mesh) << error;
    navtest::QueryPtr query = navtest::makeQuery(*mesh);
    PathfindTool tool;
    tool.init(mesh.get(), query.get());
    const int agent = tool.addAgent(0.4f, 1.7f);
    EXPECT_EQ(tool.getCrowd().getAgent(agent)->state, DT_CROWDAGENT_STATE_INVALID);
    const float from[3] = {14, 0, 6}, to[3] = {26, 1, 6};
    tool.teleport(agent, from);
    tool.setMoveTarget(agent, to);
    return navtest::walk(tool, agent, to);
}

TEST(NavMeshBuilder, RampLeadsOntoThePlatformButItsWallDoesNot)
{
    EXPECT_TRUE(platformReachable(true));
    EXPECT_FALSE(platformReachable(false));
}

TEST(NavMeshBuilder, NothingToBuildIsAnError)
{
    std::string error;
    EXPECT_FALSE(navmeshgen::buildNavMesh({}, navmeshgen::BuildSettings{}, error));
    EXPECT_NE(error, "");
    navmeshgen::TriangleSoup broken;
    broken.vertices = {0, 0, 0, 1, 0, 0};
    broken.triangles = {0, 1};
    EXPECT_FALSE(navmeshgen::buildNavMesh(broken, navmeshgen::BuildSettings{}, error));
    broken.triangles = {0, 1, 7};
    EXPECT_FALSE(navmeshgen::buildNavMesh(broken, navmeshgen::BuildSettings{}, error));
    EXPECT_NE(error.find("names no vertex"), std::string::npos);
}

} // namespace
