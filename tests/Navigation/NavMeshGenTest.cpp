// Meshes navmeshgen builds: nothing to build is an error, and the game's own
// mesh loads whole as one connected place: every polygon, the raised
// platform's too, is reached from the yard, and the level centre and every
// spawn pad (the centre of its base, where the game spawns) stand on it.
#include "LevelDesign.h"
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <utility>
#include <vector>

namespace {

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

const std::string kNavMeshPath = std::string(UMBRANT_RESOURCES_DIR) + "/Navmesh/all_tiles_navmesh.bin";

TEST(ContentNavMesh, LoadsWholeAsOnePlaceWithTheCentreAndEverySpawnPadOnIt)
{
    ASSERT_TRUE(std::ifstream(kNavMeshPath)) << kNavMeshPath << " is not built";
    testing::internal::CaptureStderr();
    navigation::NavMeshPtr mesh = navigation::loadNavMesh(kNavMeshPath);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the reader refused something";
    ASSERT_TRUE(mesh);
    const float yard[3] = {10.0f, 0.0f, 40.0f};
    navtest::Walker walker(*mesh, yard, 65535);
    dtCrowd& crowd = walker.tool.getCrowd();
    EXPECT_NEAR(crowd.getAgent(walker.agent)->npos[1], 0.0f, 0.02f) << "the yard is not on the ground";
    // No floor that no character can reach (a roof or a crate top?).
    int polygons = 0;
    for (int i = 0; i < mesh->getMaxTiles(); ++i)
        if (const dtMeshTile* tile = std::as_const(*mesh).getTile(i); tile->header)
            polygons += tile->header->polyCount;
    std::vector<dtPolyRef> reached(polygons + 1);
    int count = 0;
    walker.query->findPolysAroundCircle(crowd.getAgent(walker.agent)->corridor.getFirstPoly(), yard, 1.0e6f,
                                        crowd.getFilter(0), reached.data(), nullptr, nullptr, &count, polygons + 1);
    EXPECT_EQ(count, polygons);
    std::vector<fbx::Vec3> places = {{0, 0, 0}};
    for (const assetgen::Piece& pad : assetgen::designLevel().spawnPads) {
        const assetgen::Bounds base = pad.mesh.bounds();
        places.push_back({base.centre().x, base.min.y, base.centre().z});
    }
    const float searchExtents[3] = {2, 4, 2}; // metres, half sizes
    for (const fbx::Vec3& place : places) {
        const float at[3] = {float(place.x), float(place.y), float(place.z)};
        dtPolyRef polygon = 0;
        float snapped[3] = {};
        walker.query->findNearestPoly(at, searchExtents, crowd.getFilter(0), &polygon, snapped);
        EXPECT_TRUE(polygon != 0 && std::fabs(snapped[1] - at[1]) < 0.5f)
            << "no floor at the storey of " << at[0] << ", " << at[1] << ", " << at[2];
    }
}

} // namespace
