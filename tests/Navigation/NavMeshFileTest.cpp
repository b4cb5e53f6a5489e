// The navigation mesh file: the reader's stopping rules and hostile files (bad
// headers, damaged tiles, truncation); a whole file gives every tile back.
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>

using namespace navigation;
using namespace navtest;

// A damaged header gives no mesh (-1 tiles); an empty record ends the tile
// list; the announced count is not trusted; a damaged tile is skipped and the
// others stay. What is read is walked on by a crowd agent, as the game does,
// so that damaged data that slipped through would show.
TEST(NavMeshFile, DamagedFilesGiveWhatTheyHoldIntact)
{
    const int all = tileCount(obstacleMesh());
    const std::vector<std::tuple<const char*, std::function<void(NavMeshFileImage&)>, int>> cases = {
        {"version 2", [](NavMeshFileImage& f) { f.header.version = 2; }, -1},
        {"wrong magic", [](NavMeshFileImage& f) { f.header.magic = 0x12345678; }, -1},
        {"no tile slots", [](NavMeshFileImage& f) { f.header.params.maxTiles = 0; }, -1},
        {"huge tile slots", [](NavMeshFileImage& f) { f.header.params.maxTiles = INT_MAX; }, -1},
        {"negative polygons", [](NavMeshFileImage& f) { f.header.params.maxPolys = -4; }, -1},
        {"zero tile width", [](NavMeshFileImage& f) { f.header.params.tileWidth = 0.0f; }, -1},
        {"nan origin", [](NavMeshFileImage& f) { f.header.params.orig[1] = NAN; }, -1},
        {"tiny tiles", [](NavMeshFileImage& f) { f.header.params.tileHeight = 1.0e-6f; }, -1},
        {"second record empty", [](NavMeshFileImage& f) { f.tiles[1].data.clear(); }, 1},
        {"second record unreferenced", [](NavMeshFileImage& f) { f.tiles[1].ref = 0; }, 1},
        {"negative count", [](NavMeshFileImage& f) { f.header.numTiles = -5; }, 0},
        {"huge count", [](NavMeshFileImage& f) { f.header.numTiles = INT_MAX; }, all},
        {"garbage after a tile's magic and version",
         [](NavMeshFileImage& f) { std::fill(f.tiles[1].data.begin() + 8, f.tiles[1].data.end(), 0xa5); }, all - 1},
        {"a second copy of the first tile", [](NavMeshFileImage& f) { f.tiles[1] = f.tiles[0]; }, all - 1},
    };
    for (const auto& [name, damage, tiles] : cases) {
        NavMeshFileImage image = NavMeshFileImage::of(obstacleMesh());
        damage(image);
        const auto bytes = image.bytes();
        auto mesh = parseNavMesh(bytes.data(), bytes.size(), "damaged.bin");
        EXPECT_EQ(mesh ? tileCount(*mesh) : -1, tiles) << name;
        const float from[3] = {-8.0f, 0.0f, 0.0f}, to[3] = {9.0f, 0.0f, 1.0f};
        if (mesh)
            Walker(*mesh, from).walkTo(to, 0.1f);
    }
    EXPECT_FALSE(loadNavMesh(tempPath("does_not_exist.bin")));
    const auto bytes = NavMeshFileImage::of(obstacleMesh()).bytes();
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "TESM"); // the magic as it lies on disk
    EXPECT_FALSE(parseNavMesh(bytes.data(), 39, "short.bin"));
    EXPECT_FALSE(parseNavMesh(bytes.data(), 0, "empty.bin"));
}

// Cut at every length, a file keeps the tiles read before; whole, it gives them all.
TEST(NavMeshFile, TruncatedFilesKeepTheTilesReadBefore)
{
    const NavMeshFileImage image = NavMeshFileImage::of(obstacleMesh());
    const auto original = image.bytes();
    std::vector<size_t> recordEnds; // where each tile record ends in the file
    size_t offset = sizeof(NavMeshFileHeader);
    for (const auto& tile : image.tiles)
        recordEnds.push_back(offset += sizeof(NavMeshTileRecord) + tile.data.size());
    testing::internal::CaptureStderr(); // a line for every damage
    for (size_t length = sizeof(NavMeshFileHeader); length <= original.size(); ++length) {
        auto mesh = parseNavMesh(original.data(), length, "truncated.bin");
        ASSERT_TRUE(mesh) << length;
        const int complete = int(std::upper_bound(recordEnds.begin(), recordEnds.end(), length) - recordEnds.begin());
        EXPECT_EQ(tileCount(*mesh), complete) << "cut at " << length;
    }
    testing::internal::GetCapturedStderr();
}
