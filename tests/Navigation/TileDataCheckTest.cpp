// The tile check: each kind of damage that would send Detour out of bounds
// is named and refused.
#include "Navigation/TileDataCheck.h"
#include "TestNavMeshes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
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

    std::string check() const
    {
        return navigation::checkTileData(bytes.data(), int(bytes.size()), *navtest::obstacleMesh().getParams());
    }
};

// The first edge of a polygon that leads to another polygon of the tile, as
// (polygon, edge); (-1, -1) when there is none.
std::pair<int, int> innerEdge(const dtMeshTile* tile)
{
    for (int i = 0; i < tile->header->polyCount; ++i)
        for (int j = 0; j < tile->polys[i].vertCount; ++j)
            if (tile->polys[i].neis[j] != 0 && !(tile->polys[i].neis[j] & DT_EXT_LINK))
                return {i, j};
    return {-1, -1};
}

TEST(TileDataCheck, DamageThatWouldLeadDetourOutOfBoundsIsRefused)
{
    const std::vector<std::pair<const char*, std::function<void(TileCopy&)>>> damages = {
        {"shorter than a tile header", [](TileCopy& t) { t.bytes.resize(10); }},
        {"one byte short", [](TileCopy& t) { t.bytes.pop_back(); }},
        {"negative vertex count", [](TileCopy& t) { t.header()->vertCount = -1; }},
        {"more detail triangles than stored", [](TileCopy& t) { t.header()->detailTriCount += 1; }},
        {"polygons beyond the mesh's limit", [](TileCopy& t) { t.header()->polyCount = INT_MAX / 2; }},
        {"no link slots", [](TileCopy& t) { t.header()->maxLinkCount = 0; }},
        {"wrong tile version", [](TileCopy& t) { t.header()->version = 6; }},
        {"infinite bounds", [](TileCopy& t) { t.header()->bmax[0] = INFINITY; }},
        {"bounds inverted in height", [](TileCopy& t) { t.header()->bmin[1] = t.header()->bmax[1] + 1.0f; }},
        {"tile grid position at the integer limit", [](TileCopy& t) { t.header()->x = INT_MIN; }},
        {"quantisation past 16 bits", [](TileCopy& t) { t.header()->bvQuantFactor = 1.0e5f; }},
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
        {"bounding-volume leaf out of range", [](TileCopy& t) { t.at<dtBVNode>(t.source->bvTree)[0].i = 1 << 20; }},
        {"bounding-volume escape past the end", [](TileCopy& t) { t.at<dtBVNode>(t.source->bvTree)[0].i = INT_MIN; }},
        {"vertex far out", [](TileCopy& t) { t.at<float>(t.source->verts)[0] = 1.0e20f; }},
        {"polygon wound the wrong way",
         [](TileCopy& t) { std::reverse(t.polys()[0].verts, t.polys()[0].verts + t.polys()[0].vertCount); }},
        {"polygon linked to itself", [](TileCopy& t) { t.polys()[0].neis[0] = 1; }},
        {"corners outside the tile", [](TileCopy& t) { t.header()->bmax[0] = t.header()->bmin[0] + 0.1f; }},
        {"detail mesh without a boundary edge", [](TileCopy& t) {
             const dtPolyDetail& detail = t.detailMeshes()[0];
             for (int k = 0; k < detail.triCount; ++k)
                 t.detailTris()[(detail.triBase + k) * 4 + 3] = 0;
         }},
    };
    // A tile beside the box, with a bounding-volume tree and polygons sharing edges.
    const dtMeshTile* tile = navtest::obstacleMesh().getTileAt(2, 1, 0);
    ASSERT_TRUE(tile && tile->header->bvNodeCount > 1 && innerEdge(tile).first >= 0);
    for (const auto& [name, damage] : damages) {
        TileCopy copy(tile);
        damage(copy);
        EXPECT_NE(copy.check(), "") << name;
    }
    // An inner edge marked as leading into the next tile: it lies on no border.
    const auto [poly, edge] = innerEdge(tile);
    for (int side : {0, 2, 4, 6, 1}) {
        TileCopy copy(tile);
        copy.polys()[poly].neis[edge] = static_cast<unsigned short>(DT_EXT_LINK | side);
        EXPECT_NE(copy.check(), "") << "inner edge marked as side " << side;
    }
    EXPECT_EQ(TileCopy(tile).check(), "");
}

} // namespace
