// The tile check: a tile Recast built passes; each kind of damage that would
// send Detour out of bounds is named and refused.
#include "Navigation/TileDataCheck.h"
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>

namespace {

// A copy of one built tile, with typed access to its arrays.
struct TileCopy {
    std::vector<unsigned char> bytes;
    const dtMeshTile* source;

    explicit TileCopy(const dtMeshTile* tile) : bytes(tile->data, tile->data + tile->dataSize), source(tile) {}

    template <typename T>
    T* at(const void* sourceArray)
    {
        return reinterpret_cast<T*>(bytes.data() + (static_cast<const unsigned char*>(sourceArray) - source->data));
    }
    dtMeshHeader* header() { return at<dtMeshHeader>(source->header); }
    dtPoly* polys() { return at<dtPoly>(source->polys); }
    dtPolyDetail* detailMeshes() { return at<dtPolyDetail>(source->detailMeshes); }
    unsigned char* detailTris() { return at<unsigned char>(source->detailTris); }
    dtBVNode* bvTree() { return at<dtBVNode>(source->bvTree); }

    std::string check() const
    {
        return navigation::checkTileData(bytes.data(), int(bytes.size()), *navtest::obstacleMesh().getParams());
    }
};

// The first tile with a detail triangle and a bounding-volume tree.
const dtMeshTile* richTile()
{
    const dtNavMesh& mesh = navtest::obstacleMesh();
    for (int i = 0; i < mesh.getMaxTiles(); ++i) {
        const dtMeshTile* tile = mesh.getTile(i);
        if (tile && tile->header && tile->header->detailTriCount > 0 && tile->header->bvNodeCount > 1)
            return tile;
    }
    return nullptr;
}

TEST(TileDataCheck, EveryBuiltTilePasses)
{
    const dtNavMesh& mesh = navtest::obstacleMesh();
    for (int i = 0; i < mesh.getMaxTiles(); ++i) {
        if (const dtMeshTile* tile = mesh.getTile(i); tile && tile->header) {
            EXPECT_EQ(TileCopy(tile).check(), "") << "tile " << i;
        }
    }
}

TEST(TileDataCheck, DamageThatWouldLeadDetourOutOfBoundsIsRefused)
{
    const std::vector<std::pair<const char*, std::function<void(TileCopy&)>>> damages = {
        {"negative vertex count", [](TileCopy& t) { t.header()->vertCount = -1; }},
        {"more detail triangles than stored", [](TileCopy& t) { t.header()->detailTriCount += 1; }},
        {"more bounding-volume nodes than stored", [](TileCopy& t) { t.header()->bvNodeCount += 1; }},
        {"more off-mesh connections than stored", [](TileCopy& t) { t.header()->offMeshConCount = 1; }},
        {"polygons beyond the mesh's limit", [](TileCopy& t) { t.header()->polyCount = INT_MAX / 2; }},
        {"no link slots", [](TileCopy& t) { t.header()->maxLinkCount = 0; }},
        {"wrong tile version", [](TileCopy& t) { t.header()->version = 6; }},
        {"infinite bounds", [](TileCopy& t) { t.header()->bmax[0] = INFINITY; }},
        {"polygon vertex out of range", [](TileCopy& t) { t.polys()[0].verts[1] = 60000; }},
        {"polygon with seven corners", [](TileCopy& t) { t.polys()[0].vertCount = 7; }},
        {"polygon with two corners", [](TileCopy& t) { t.polys()[0].vertCount = 2; }},
        {"neighbour out of range", [](TileCopy& t) { t.polys()[0].neis[0] = 30000; }},
        {"unknown polygon type", [](TileCopy& t) { t.polys()[0].areaAndtype = 2 << 6; }},
        {"off-mesh polygon without connection", [](TileCopy& t) {
             t.polys()[0].areaAndtype = DT_POLYTYPE_OFFMESH_CONNECTION << 6;
             t.polys()[0].vertCount = 2;
         }},
        {"detail vertices out of range", [](TileCopy& t) { t.detailMeshes()[0].vertBase = 1u << 30; }},
        {"detail triangles out of range", [](TileCopy& t) { t.detailMeshes()[0].triBase = 0xffffffffu; }},
        {"detail triangle corner out of range", [](TileCopy& t) { t.detailTris()[t.detailMeshes()[0].triBase * 4] = 250; }},
        {"bounding-volume leaf out of range", [](TileCopy& t) { t.bvTree()[0].i = 1 << 20; }},
        {"bounding-volume escape past the end", [](TileCopy& t) { t.bvTree()[0].i = INT_MIN; }},
    };
    const dtMeshTile* tile = richTile();
    ASSERT_TRUE(tile);
    for (const auto& [name, damage] : damages) {
        TileCopy copy(tile);
        damage(copy);
        EXPECT_NE(copy.check(), "") << name;
    }
    TileCopy cut(tile);
    cut.bytes.pop_back();
    EXPECT_NE(cut.check(), "") << "one byte short";
}

} // namespace
