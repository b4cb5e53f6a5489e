// The navigation mesh file: a round trip through the writer, the reader's
// stopping rules, and hostile files (bad headers, truncation, damaged tiles).
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <random>

using navigation::parseNavMesh;
using navtest::NavMeshFileImage;
using navtest::obstacleMesh;
using navtest::tileCount;
using Damage = std::function<void(NavMeshFileImage&)>;

namespace {

// Walks a crowd agent on the mesh as the game does, so that damaged data
// that slipped through would show.
void exerciseQueries(dtNavMesh& mesh)
{
    navtest::QueryPtr query = navtest::makeQuery(mesh);
    PathfindTool tool;
    tool.init(&mesh, query.get());
    const int agent = tool.addAgent(0.4f, 1.7f);
    const float from[3] = {-8.0f, 0.0f, 0.0f}, to[3] = {9.0f, 0.0f, 1.0f};
    tool.teleport(agent, from);
    tool.setMoveTarget(agent, to);
    navtest::walk(tool, agent, to, 0.1f);
}

} // namespace

TEST(NavMeshFile, RoundTripKeepsEveryTileAndTheGrid)
{
    const std::string path = navtest::tempPath("roundtrip.bin");
    ASSERT_TRUE(navigation::saveNavMesh(path, obstacleMesh()));
    auto loaded = navigation::loadNavMesh(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(tileCount(*loaded), tileCount(obstacleMesh())) << "a built tile was refused";
    EXPECT_EQ(std::memcmp(loaded->getParams(), obstacleMesh().getParams(), sizeof(dtNavMeshParams)), 0);
    const auto bytes = NavMeshFileImage::of(obstacleMesh()).bytes();
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "TESM"); // the magic as it lies on disk
}

// A damaged header gives no mesh (-1 tiles); an empty record ends the tile
// list; the announced count is not trusted; a damaged tile is skipped and the
// others stay.
TEST(NavMeshFile, DamagedFilesGiveWhatTheyHoldIntact)
{
    const int all = tileCount(obstacleMesh());
    const std::vector<std::tuple<const char*, Damage, int>> cases = {
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
         [](NavMeshFileImage& f) {
             std::mt19937 random(7);
             for (size_t i = 8; i < f.tiles[1].data.size(); ++i)
                 f.tiles[1].data[i] = static_cast<unsigned char>(random());
         },
         all - 1},
        {"a second copy of the first tile", [](NavMeshFileImage& f) { f.tiles[1] = f.tiles[0]; }, all - 1},
    };
    for (const auto& [name, damage, tiles] : cases) {
        NavMeshFileImage image = NavMeshFileImage::of(obstacleMesh());
        damage(image);
        const auto bytes = image.bytes();
        auto mesh = parseNavMesh(bytes.data(), bytes.size(), "damaged.bin");
        EXPECT_EQ(mesh ? tileCount(*mesh) : -1, tiles) << name;
        if (mesh)
            exerciseQueries(*mesh);
    }
    EXPECT_FALSE(navigation::loadNavMesh(navtest::tempPath("does_not_exist.bin")));
    const auto bytes = NavMeshFileImage::of(obstacleMesh()).bytes();
    EXPECT_FALSE(parseNavMesh(bytes.data(), 39, "short.bin"));
    EXPECT_FALSE(parseNavMesh(bytes.data(), 0, "empty.bin"));
}

// Cut at every length, a file keeps the tiles read before; flipped bytes in
// the header and the first two tile records never break the reader or the
// queries on what it gives.
TEST(NavMeshFile, TruncatedOrFlippedFilesNeverBreakTheReader)
{
    const NavMeshFileImage image = NavMeshFileImage::of(obstacleMesh());
    const auto original = image.bytes();
    std::vector<size_t> recordEnds; // where each tile record ends in the file
    size_t offset = sizeof(navigation::NavMeshFileHeader);
    for (const auto& tile : image.tiles)
        recordEnds.push_back(offset += sizeof(navigation::NavMeshTileRecord) + tile.data.size());
    testing::internal::CaptureStderr(); // a line for every damage
    for (size_t length = sizeof(navigation::NavMeshFileHeader); length <= original.size(); ++length) {
        auto mesh = parseNavMesh(original.data(), length, "truncated.bin");
        ASSERT_TRUE(mesh) << length;
        const int complete = int(std::upper_bound(recordEnds.begin(), recordEnds.end(), length) - recordEnds.begin());
        EXPECT_EQ(tileCount(*mesh), complete) << "cut at " << length;
    }
    std::mt19937 random(11);
    for (size_t i = 0; i < recordEnds[1]; ++i) {
        auto bytes = original;
        bytes[i] ^= static_cast<unsigned char>(1u << (random() % 8));
        if (i % 2)
            bytes[i] = 0xff;
        if (auto mesh = parseNavMesh(bytes.data(), bytes.size(), "flipped.bin"))
            exerciseQueries(*mesh);
    }
    testing::internal::GetCapturedStderr();
}
