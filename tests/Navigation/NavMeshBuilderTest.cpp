// The mesh generator's settings: characters climb a walkable ramp to a
// platform but not a one-metre wall, and nothing to build is an error.
#include "TestNavMeshes.h"

#include <DetourNavMeshQuery.h>
#include <gtest/gtest.h>

namespace {

// Floor 20 x 20 m with a 1 m high platform (x 4..8, z -2..2); with `ramp`, a
// 4 m long slope (14 degrees) climbs to it from the west.
navmeshgen::TriangleSoup platformLevel(bool ramp)
{
    navmeshgen::TriangleSoup soup;
    const float a[3] = {-10, 0, -10}, b[3] = {-10, 0, 10}, c[3] = {10, 0, 10}, d[3] = {10, 0, -10};
    navtest::addQuad(soup, a, b, c, d);
    const float platformMin[3] = {4, 0, -2}, platformMax[3] = {8, 1, 2};
    navtest::addBox(soup, platformMin, platformMax);
    if (ramp) {
        const float r0[3] = {0, 0, -2}, r1[3] = {0, 0, 2}, r2[3] = {4, 1, 2}, r3[3] = {4, 1, -2};
        navtest::addQuad(soup, r0, r1, r2, r3);
    }
    return soup;
}

// True when a complete path leads from the floor at x = -6 onto the platform top.
bool platformReachable(const dtNavMesh& mesh)
{
    dtNavMeshQuery* query = dtAllocNavMeshQuery();
    EXPECT_TRUE(dtStatusSucceed(query->init(&mesh, 2048)));
    dtQueryFilter filter;
    const float half[3] = {1.0f, 1.0f, 1.0f};
    const float from[3] = {-6, 0, 0}, to[3] = {6, 1, 0};
    dtPolyRef start = 0, end = 0;
    float startPos[3], endPos[3];
    query->findNearestPoly(from, half, &filter, &start, startPos);
    query->findNearestPoly(to, half, &filter, &end, endPos);
    EXPECT_NE(end, 0u) << "the platform top is walkable";
    dtPolyRef path[256];
    int count = 0;
    const dtStatus status = query->findPath(start, end, startPos, endPos, &filter, path, &count, 256);
    dtFreeNavMeshQuery(query);
    return dtStatusSucceed(status) && !(status & DT_PARTIAL_RESULT) && count > 0 && path[count - 1] == end;
}

TEST(NavMeshBuilder, RampLeadsOntoThePlatformButItsWallDoesNot)
{
    std::string error;
    auto withRamp = navmeshgen::buildNavMesh(platformLevel(true), navtest::smallTileSettings(), error);
    ASSERT_TRUE(withRamp) << error;
    EXPECT_TRUE(platformReachable(*withRamp));

    auto withoutRamp = navmeshgen::buildNavMesh(platformLevel(false), navtest::smallTileSettings(), error);
    ASSERT_TRUE(withoutRamp) << error;
    EXPECT_FALSE(platformReachable(*withoutRamp));
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
