// The navigation mesh file: a round trip through the writer, the reader's
// stopping rules, and hostile files (bad headers, truncation, damaged tiles).
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <tuple>

using navigation::loadNavMesh;
using navigation::parseNavMesh;
using navtest::NavMeshFileImage;
using navtest::obstacleMesh;
using navtest::tileCount;

namespace {

navigation::NavMeshPtr loadImage(const NavMeshFileImage& image, const std::string& name)
{
    const std::string path = navtest::tempPath(name);
    navtest::writeFile(path, image.bytes());
    return loadNavMesh(path);
}

int totalPolygons(const dtNavMesh& mesh)
{
    int polys = 0;
    for (int i = 0; i < mesh.getMaxTiles(); ++i)
        if (const dtMeshTile* tile = mesh.getTile(i); tile && tile->header)
            polys += tile->header->polyCount;
    return polys;
}

// Runs the queries the game runs, so damaged data that slipped through would show.
void exerciseQueries(const dtNavMesh& mesh)
{
    navtest::QueryPtr query = navtest::makeQuery(mesh);
    dtQueryFilter filter;
    const float half[3] = {6.0f, 4.5f, 6.0f};
    const float from[3] = {-8.0f, 0.0f, 0.0f}, to[3] = {9.0f, 0.0f, 1.0f};
    dtPolyRef start = 0, end = 0;
    float startPos[3], endPos[3];
    query->findNearestPoly(from, half, &filter, &start, startPos);
    query->findNearestPoly(to, half, &filter, &end, endPos);
    dtPolyRef path[256];
    int pathCount = 0;
    if (start && end)
        query->findPath(start, end, startPos, endPos, &filter, path, &pathCount, 256);
}

} // namespace

TEST(NavMeshFile, RoundTripKeepsEveryTileAndPolygon)
{
    const std::string path = navtest::tempPath("roundtrip.bin");
    ASSERT_TRUE(navigation::saveNavMesh(path, obstacleMesh()));
    auto loaded = loadNavMesh(path);
    ASSERT_TRUE(loaded);
    EXPECT_GT(tileCount(obstacleMesh()), 3);
    EXPECT_EQ(tileCount(*loaded), tileCount(obstacleMesh()));
    EXPECT_EQ(totalPolygons(*loaded), totalPolygons(obstacleMesh()));
    EXPECT_EQ(std::memcmp(loaded->getParams(), obstacleMesh().getParams(), sizeof(dtNavMeshParams)), 0);
    const auto bytes = NavMeshFileImage::of(obstacleMesh()).bytes();
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "TESM"); // the magic as it lies on disk
}

TEST(NavMeshFile, EmptyRecordEndsTheTileListAndTheAnnouncedCountIsNotTrusted)
{
    const int all = int(NavMeshFileImage::of(obstacleMesh()).tiles.size());
    const std::vector<std::tuple<const char*, std::function<void(NavMeshFileImage&)>, int>> cases = {
        {"second record empty", [](NavMeshFileImage& f) { f.tiles[1].data.clear(), f.tiles[1].sizeField = 0; }, 1},
        {"second record unreferenced", [](NavMeshFileImage& f) { f.tiles[1].ref = 0; }, 1},
        {"negative count", [](NavMeshFileImage& f) { f.header.numTiles = -5; }, 0},
        {"huge count", [](NavMeshFileImage& f) { f.header.numTiles = INT_MAX; }, all},
    };
    for (const auto& [name, damage, tiles] : cases) {
        NavMeshFileImage image = NavMeshFileImage::of(obstacleMesh());
        damage(image);
        auto mesh = loadImage(image, "tile_list.bin");
        ASSERT_TRUE(mesh) << name;
        EXPECT_EQ(tileCount(*mesh), tiles) << name;
    }
}

TEST(NavMeshFile, UnusableHeaderGivesNoMesh)
{
    const std::vector<std::pair<const char*, std::function<void(NavMeshFileImage&)>>> damages = {
        {"version 2", [](NavMeshFileImage& f) { f.header.version = 2; }},
        {"wrong magic", [](NavMeshFileImage& f) { f.header.magic = 0x12345678; }},
        {"no tile slots", [](NavMeshFileImage& f) { f.header.params.maxTiles = 0; }},
        {"huge tile slots", [](NavMeshFileImage& f) { f.header.params.maxTiles = INT_MAX; }},
        {"negative polygons", [](NavMeshFileImage& f) { f.header.params.maxPolys = -4; }},
        {"zero tile width", [](NavMeshFileImage& f) { f.header.params.tileWidth = 0.0f; }},
        {"nan origin", [](NavMeshFileImage& f) { f.header.params.orig[1] = NAN; }},
        {"tiny tiles", [](NavMeshFileImage& f) { f.header.params.tileHeight = 1.0e-6f; }},
    };
    for (const auto& [name, damage] : damages) {
        NavMeshFileImage image = NavMeshFileImage::of(obstacleMesh());
        damage(image);
        EXPECT_FALSE(loadImage(image, "bad_header.bin")) << name;
    }
    EXPECT_FALSE(loadNavMesh(navtest::tempPath("does_not_exist.bin")));
    const auto bytes = NavMeshFileImage::of(obstacleMesh()).bytes();
    EXPECT_FALSE(parseNavMesh(bytes.data(), 39, "short.bin"));
    EXPECT_FALSE(parseNavMesh(bytes.data(), 0, "empty.bin"));
}

TEST(NavMeshFile, TruncatedFileKeepsTheTilesReadBefore)
{
    const NavMeshFileImage image = NavMeshFileImage::of(obstacleMesh());
    const auto bytes = image.bytes();
    // Where each tile record ends in the file.
    std::vector<size_t> recordEnds;
    size_t offset = sizeof(navigation::NavMeshFileHeader);
    for (const auto& tile : image.tiles) {
        offset += sizeof(navigation::NavMeshTileRecord) + tile.data.size();
        recordEnds.push_back(offset);
    }
    navtest::QuietErrors quiet;
    for (size_t length = sizeof(navigation::NavMeshFileHeader); length <= bytes.size(); ++length) {
        auto mesh = parseNavMesh(bytes.data(), length, "truncated.bin");
        ASSERT_TRUE(mesh) << length;
        const int complete = int(std::upper_bound(recordEnds.begin(), recordEnds.end(), length) - recordEnds.begin());
        EXPECT_EQ(tileCount(*mesh), complete) << "cut at " << length;
    }
}

TEST(NavMeshFile, DamagedTileIsSkippedAndTheOthersStay)
{
    using Damage = std::function<void(NavMeshFileImage&)>;
    const std::vector<std::pair<const char*, Damage>> damages = {
        {"header announces more polygons than stored",
         [](NavMeshFileImage& f) { reinterpret_cast<dtMeshHeader*>(f.tiles[1].data.data())->polyCount += 1000; }},
        {"shorter than a tile header",
         [](NavMeshFileImage& f) {
             f.tiles[1].data.resize(10);
             f.tiles[1].sizeField = 10;
         }},
        {"garbage after a valid magic and version",
         [](NavMeshFileImage& f) {
             std::mt19937 random(7);
             for (size_t i = 8; i < f.tiles[1].data.size(); ++i)
                 f.tiles[1].data[i] = static_cast<unsigned char>(random());
         }},
        {"a second copy of the first tile", [](NavMeshFileImage& f) { f.tiles[1] = f.tiles[0]; }},
    };
    for (const auto& [name, damage] : damages) {
        NavMeshFileImage image = NavMeshFileImage::of(obstacleMesh());
        const int tiles = int(image.tiles.size());
        damage(image);
        auto mesh = loadImage(image, "damaged_tile.bin");
        ASSERT_TRUE(mesh) << name;
        EXPECT_EQ(tileCount(*mesh), tiles - 1) << name;
        exerciseQueries(*mesh);
    }
}

TEST(NavMeshFile, FlippedBytesNeverBreakTheReaderOrTheQueries)
{
    const NavMeshFileImage image = NavMeshFileImage::of(obstacleMesh());
    const auto original = image.bytes();
    // The header and the first two tile records: every field kind is in there.
    const size_t span = sizeof(navigation::NavMeshFileHeader) + 2 * sizeof(navigation::NavMeshTileRecord) +
                        image.tiles[0].data.size() + image.tiles[1].data.size();
    navtest::QuietErrors quiet;
    std::mt19937 random(11);
    for (size_t i = 0; i < span; ++i) {
        auto bytes = original;
        bytes[i] ^= static_cast<unsigned char>(1u << (random() % 8));
        if (i % 2)
            bytes[i] = 0xff;
        if (auto mesh = parseNavMesh(bytes.data(), bytes.size(), "flipped.bin"))
            exerciseQueries(*mesh);
    }
}
