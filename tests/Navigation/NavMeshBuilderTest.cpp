// The mesh generator's settings: characters climb a walkable ramp to a
// platform but not a one-metre wall, and nothing to build is an error.
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    navtest::QueryPtr query = navtest::makeQuery(mesh);
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

TEST(NavMeshBuilder, TheInsideOfASolidPieceIsNoFloorAndBlockingFacesAreNoFloor)
{
    // A hollow box 3 m tall on the floor: its inside has headroom, but is no floor.
    navmeshgen::TriangleSoup soup = platformLevel(false);
    const float boxMin[3] = {-6, 0, -3}, boxMax[3] = {0, 3, 3};
    navtest::addBox(soup, boxMin, boxMax);
    std::string error;
    auto mesh = navmeshgen::buildNavMesh(soup, navtest::smallTileSettings(), error);
    ASSERT_TRUE(mesh) << error;
    navtest::QueryPtr query = navtest::makeQuery(*mesh);
    dtQueryFilter filter;
    const float half[3] = {0.5f, 0.5f, 0.5f};
    auto floorAt = [&](float x, float y, float z) {
        const float at[3] = {x, y, z};
        dtPolyRef ref = 0;
        float nearest[3];
        query->findNearestPoly(at, half, &filter, &ref, nearest);
        return ref != 0;
    };
    EXPECT_FALSE(floorAt(-3, 0, 0)); // inside the box
    EXPECT_TRUE(floorAt(-3, 3, 0));  // on its top
    EXPECT_TRUE(floorAt(-8, 0, -8)); // the open floor

    // The same box only blocking: its top is no floor either.
    soup.walkable.assign(soup.triangles.size() / 3, 1);
    std::fill(soup.walkable.end() - 12, soup.walkable.end(), 0); // the box's 12 triangles
    mesh = navmeshgen::buildNavMesh(soup, navtest::smallTileSettings(), error);
    ASSERT_TRUE(mesh) << error;
    ASSERT_TRUE(dtStatusSucceed(query->init(mesh.get(), 2048)));
    EXPECT_FALSE(floorAt(-3, 3, 0));
    EXPECT_TRUE(floorAt(-8, 0, -8));
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
