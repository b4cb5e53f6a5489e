// The level is one connected place for the game's characters: a navigation
// mesh built from its design by the navigation tool reaches every spawn pad
// (the centre of its base, where the game spawns), the platform and the level
// centre from everywhere else.
#include <DetourNavMesh.h>
#include <DetourNavMeshQuery.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "LevelDesign.h"
#include "LevelTriangles.h"

namespace {

constexpr float kSearchExtents[3] = {2, 4, 2};  // metres, nearest-polygon search box half sizes
constexpr int kMaxPathPolygons = 4096;
constexpr float kArrivalTolerance = 0.5f;  // metres between the path's end and the goal

TEST(LevelNavigation, EverySpawnPadAndTheCentreReachEachOther) {
  std::string error;
  const assetgen::LevelDesign design = assetgen::designLevel();
  auto mesh = navmeshgen::buildNavMesh(navmeshgen::levelTriangles(design), navmeshgen::BuildSettings{}, error);
  ASSERT_TRUE(mesh) << error;
  dtNavMeshQuery query;
  ASSERT_TRUE(dtStatusSucceed(query.init(mesh.get(), kMaxPathPolygons)));
  dtQueryFilter filter;

  std::vector<fbx::Vec3> places = {{0, 0, 0}};
  for (const assetgen::Piece& pad : design.spawnPads) {
    const assetgen::Bounds base = pad.mesh.bounds();
    places.push_back({base.centre().x, base.min.y, base.centre().z});
  }

  std::vector<dtPolyRef> polygons(places.size());
  std::vector<std::array<float, 3>> snapped(places.size());
  for (size_t i = 0; i < places.size(); ++i) {
    const float at[3] = {float(places[i].x), float(places[i].y), float(places[i].z)};
    query.findNearestPoly(at, kSearchExtents, &filter, &polygons[i], snapped[i].data());
    ASSERT_NE(polygons[i], 0u) << "no walkable floor near place " << i;
    EXPECT_NEAR(snapped[i][1], at[1], 0.5) << "place " << i << " snaps to another storey";
  }
  std::vector<dtPolyRef> path(kMaxPathPolygons);
  for (size_t a = 0; a < places.size(); ++a) {
    for (size_t b = a + 1; b < places.size(); ++b) {
      int count = 0;
      const dtStatus status = query.findPath(polygons[a], polygons[b], snapped[a].data(), snapped[b].data(), &filter,
                                             path.data(), &count, kMaxPathPolygons);
      ASSERT_TRUE(dtStatusSucceed(status));
      EXPECT_FALSE(status & DT_PARTIAL_RESULT) << "no way from place " << a << " to " << b;
      float corners[3 * 256];
      int corner = 0;
      query.findStraightPath(snapped[a].data(), snapped[b].data(), path.data(), count, corners, nullptr, nullptr,
                             &corner, 256);
      ASSERT_GT(corner, 0);
      const float* end = &corners[3 * (corner - 1)];
      EXPECT_LT(std::hypot(end[0] - snapped[b][0], end[2] - snapped[b][2]), kArrivalTolerance)
          << "the way from place " << a << " stops short of " << b;
    }
  }
}

}  // namespace
