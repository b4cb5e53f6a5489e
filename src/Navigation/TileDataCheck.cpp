#include "Navigation/TileDataCheck.h"

#include <DetourNavMesh.h>

#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstring>

namespace navigation {
namespace {

constexpr int kGroundPolyType = DT_POLYTYPE_GROUND;
constexpr int kOffMeshPolyType = DT_POLYTYPE_OFFMESH_CONNECTION;
constexpr int kOffMeshPolyVerts = 2;   // an off-mesh connection is a two-vertex polygon
constexpr int kMinGroundPolyVerts = 3;
constexpr int kMaxTileSide = 7;        // dtOppositeTile works on the eight neighbour sides 0..7
// Edge flags of a detail triangle: two bits per edge, the low bit marks the polygon boundary.
constexpr unsigned char kAnyBoundaryEdge = DT_DETAIL_EDGE_BOUNDARY | DT_DETAIL_EDGE_BOUNDARY << 2 |
                                           DT_DETAIL_EDGE_BOUNDARY << 4;

// Recast winds polygons so that (dx1 * dz2 - dz1 * dx2) of consecutive edges is
// of this sign; collinear corners are allowed.
constexpr float kWinding = -1.0f;
// Far beyond any level; Detour steps from a tile to its neighbours by adding one to these.
constexpr int64_t kMaxTileGridPosition = 1 << 20;
constexpr float kQuantizedLimit = 65536.0f; // bounding-volume coordinates are unsigned short
constexpr float kGeometryTolerance = 0.01f; // metres (square metres for areas), as Detour's edge matching

struct Vec2 {
    float x, y; // world x and z
};

uint64_t align4(uint64_t bytes) { return (bytes + 3) & ~uint64_t(3); }

// The arrays that follow the header, in the order Detour lays them out.
struct TileLayout {
    uint64_t verts, polys, links, detailMeshes, detailVerts, detailTris, bvTree, offMeshCons, end;
};

TileLayout layoutOf(const dtMeshHeader& h)
{
    TileLayout l{};
    l.verts = align4(sizeof(dtMeshHeader));
    l.polys = l.verts + align4(uint64_t(sizeof(float)) * 3 * uint64_t(h.vertCount));
    l.links = l.polys + align4(uint64_t(sizeof(dtPoly)) * uint64_t(h.polyCount));
    l.detailMeshes = l.links + align4(uint64_t(sizeof(dtLink)) * uint64_t(h.maxLinkCount));
    l.detailVerts = l.detailMeshes + align4(uint64_t(sizeof(dtPolyDetail)) * uint64_t(h.detailMeshCount));
    l.detailTris = l.detailVerts + align4(uint64_t(sizeof(float)) * 3 * uint64_t(h.detailVertCount));
    l.bvTree = l.detailTris + align4(uint64_t(4) * uint64_t(h.detailTriCount));
    l.offMeshCons = l.bvTree + align4(uint64_t(sizeof(dtBVNode)) * uint64_t(h.bvNodeCount));
    l.end = l.offMeshCons + align4(uint64_t(sizeof(dtOffMeshConnection)) * uint64_t(h.offMeshConCount));
    return l;
}

// Copies element i of an array at byte offset `base`: the data may be unaligned in the caller's buffer.
template <typename T>
T elementAt(const unsigned char* data, uint64_t base, int i)
{
    T value;
    std::memcpy(&value, data + base + uint64_t(i) * sizeof(T), sizeof(T));
    return value;
}

bool finite3(const float* v)
{
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(v[i]) || std::fabs(v[i]) > kMaxCoordinate)
            return false;
    return true;
}

// `count` points of three floats starting at byte offset `base`.
bool pointsFinite(const unsigned char* data, uint64_t base, int count)
{
    for (int i = 0; i < count; ++i) {
        float p[3];
        std::memcpy(p, data + base + uint64_t(i) * sizeof p, sizeof p);
        if (!finite3(p))
            return false;
    }
    return true;
}

std::string checkHeader(const dtMeshHeader& h, const dtNavMeshParams& params)
{
    if (h.magic != DT_NAVMESH_MAGIC)
        return "tile data has no Detour tile magic";
    if (h.version != DT_NAVMESH_VERSION)
        return "tile data version " + std::to_string(h.version) + " (expected " +
               std::to_string(DT_NAVMESH_VERSION) + ")";
    const int counts[] = {h.polyCount, h.vertCount, h.maxLinkCount, h.detailMeshCount, h.detailVertCount,
                          h.detailTriCount, h.bvNodeCount, h.offMeshConCount, h.offMeshBase};
    for (int count : counts)
        if (count < 0)
            return "negative count in tile header";
    if (h.polyCount > params.maxPolys)
        return std::to_string(h.polyCount) + " polygons exceed the mesh's " + std::to_string(params.maxPolys) +
               " per tile";
    if (std::abs(int64_t(h.x)) > kMaxTileGridPosition || std::abs(int64_t(h.y)) > kMaxTileGridPosition)
        return "tile grid position out of range";
    if (h.maxLinkCount < 1 && h.polyCount > 0)
        return "tile has polygons but no link slots";
    if (!finite3(h.bmin) || !finite3(h.bmax) || !std::isfinite(h.bvQuantFactor) || h.bvQuantFactor < 0.0f)
        return "tile bounds are not finite or out of range";
    // Detour quantises query boxes inside the tile bounds to 16-bit integers
    // for the bounding-volume tree: inverted bounds give negative values and
    // a large factor values past 65535, neither of which converts.
    for (int axis = 0; axis < 3; ++axis) {
        if (h.bmin[axis] > h.bmax[axis])
            return "tile bounds are inverted";
        if (h.bvQuantFactor * (h.bmax[axis] - h.bmin[axis]) + 1.0f >= kQuantizedLimit)
            return "tile bounds do not fit the bounding-volume quantisation";
    }
    return {};
}

std::string checkPolygons(const unsigned char* data, const TileLayout& l, const dtMeshHeader& h)
{
    for (int i = 0; i < h.polyCount; ++i) {
        const dtPoly poly = elementAt<dtPoly>(data, l.polys, i);
        const std::string where = "polygon " + std::to_string(i) + ": ";
        const int type = poly.getType();
        if (type == kOffMeshPolyType) {
            if (poly.vertCount != kOffMeshPolyVerts)
                return where + "off-mesh connection without two vertices";
            if (i < h.offMeshBase || i - h.offMeshBase >= h.offMeshConCount)
                return where + "off-mesh polygon outside the off-mesh range";
        } else if (type == kGroundPolyType) {
            if (poly.vertCount < kMinGroundPolyVerts || poly.vertCount > DT_VERTS_PER_POLYGON)
                return where + std::to_string(poly.vertCount) + " vertices";
            if (i >= h.detailMeshCount)
                return where + "no detail mesh";
        } else {
            return where + "unknown polygon type " + std::to_string(type);
        }
        for (int j = 0; j < poly.vertCount; ++j) {
            if (poly.verts[j] >= h.vertCount)
                return where + "vertex index out of range";
            const unsigned short nei = poly.neis[j];
            if (nei & DT_EXT_LINK) {
                if ((nei & 0xff) > kMaxTileSide)
                    return where + "neighbour tile side out of range";
            } else if (nei > h.polyCount) {
                return where + "neighbour index out of range";
            }
        }
    }
    return {};
}

// Detour walks rays and paths from polygon to polygon through the links and
// never bounds those walks: polygons that overlap, fold back or link to
// edges they do not share can send it round in circles for ever. Recast's
// polygons are convex, wound one way, lie in their tile, share each inner
// edge with the neighbour that names them back, and have their outer edges
// on the tile border, so a tile must show the same.
Vec2 cornerXZ(const unsigned char* data, const TileLayout& l, unsigned short vertex)
{
    float p[3];
    std::memcpy(p, data + l.verts + uint64_t(vertex) * sizeof p, sizeof p);
    return {p[0], p[2]};
}

bool isConvexCounterClockwise(const unsigned char* data, const TileLayout& l, const dtPoly& poly)
{
    float area = 0.0f;
    const int n = poly.vertCount;
    for (int j = 0; j < n; ++j) {
        const Vec2 a = cornerXZ(data, l, poly.verts[j]);
        const Vec2 b = cornerXZ(data, l, poly.verts[(j + 1) % n]);
        const Vec2 c = cornerXZ(data, l, poly.verts[(j + 2) % n]);
        const float turn = (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
        if (turn * kWinding < -kGeometryTolerance)
            return false;
        area += a.x * b.y - b.x * a.y;
    }
    return area * kWinding > kGeometryTolerance;
}

bool sharesEdgeBack(const dtPoly& neighbour, unsigned short from, unsigned short to, int polyIndex)
{
    for (int m = 0; m < neighbour.vertCount; ++m)
        if (neighbour.verts[m] == to && neighbour.verts[(m + 1) % neighbour.vertCount] == from)
            return neighbour.neis[m] == polyIndex + 1;
    return false;
}

bool onTileBorder(Vec2 point, int side, const dtMeshHeader& h)
{
    switch (side) {
    case 0: return std::fabs(point.x - h.bmax[0]) <= kGeometryTolerance;
    case 2: return std::fabs(point.y - h.bmax[2]) <= kGeometryTolerance;
    case 4: return std::fabs(point.x - h.bmin[0]) <= kGeometryTolerance;
    case 6: return std::fabs(point.y - h.bmin[2]) <= kGeometryTolerance;
    default: return false; // Detour only matches edges across the four straight sides
    }
}

bool insideTile(Vec2 point, const dtMeshHeader& h)
{
    return point.x >= h.bmin[0] - kGeometryTolerance && point.x <= h.bmax[0] + kGeometryTolerance &&
           point.y >= h.bmin[2] - kGeometryTolerance && point.y <= h.bmax[2] + kGeometryTolerance;
}

std::string checkPolygonGeometry(const unsigned char* data, const TileLayout& l, const dtMeshHeader& h)
{
    for (int i = 0; i < h.polyCount; ++i) {
        const dtPoly poly = elementAt<dtPoly>(data, l.polys, i);
        if (poly.getType() != kGroundPolyType)
            continue;
        const std::string where = "polygon " + std::to_string(i) + ": ";
        if (!isConvexCounterClockwise(data, l, poly))
            return where + "not convex or wound the wrong way";
        for (int j = 0; j < poly.vertCount; ++j) {
            const unsigned short from = poly.verts[j], to = poly.verts[(j + 1) % poly.vertCount];
            const unsigned short nei = poly.neis[j];
            if (!insideTile(cornerXZ(data, l, from), h))
                return where + "corner outside its tile";
            if (nei & DT_EXT_LINK) {
                const int side = nei & 0xff;
                if (!onTileBorder(cornerXZ(data, l, from), side, h) || !onTileBorder(cornerXZ(data, l, to), side, h))
                    return where + "outer edge not on the tile border";
            } else if (nei != 0) {
                const int k = nei - 1;
                const dtPoly neighbour = elementAt<dtPoly>(data, l.polys, k);
                if (k == i || neighbour.getType() != kGroundPolyType || !sharesEdgeBack(neighbour, from, to, i))
                    return where + "neighbour " + std::to_string(k) + " does not share the edge";
            }
        }
    }
    return {};
}

std::string checkDetailMeshes(const unsigned char* data, const TileLayout& l, const dtMeshHeader& h)
{
    for (int i = 0; i < h.detailMeshCount; ++i) {
        const dtPolyDetail detail = elementAt<dtPolyDetail>(data, l.detailMeshes, i);
        const std::string where = "detail mesh " + std::to_string(i) + ": ";
        if (uint64_t(detail.vertBase) + detail.vertCount > uint64_t(h.detailVertCount))
            return where + "vertices out of range";
        if (uint64_t(detail.triBase) + detail.triCount > uint64_t(h.detailTriCount))
            return where + "triangles out of range";
        // A triangle corner below the polygon's vertex count names a polygon
        // vertex, above it one of the detail mesh's own vertices.
        const int polyVerts = i < h.polyCount ? elementAt<dtPoly>(data, l.polys, i).vertCount : 0;
        const bool ground = i < h.polyCount && elementAt<dtPoly>(data, l.polys, i).getType() == kGroundPolyType;
        bool boundaryEdge = false;
        for (unsigned t = 0; t < detail.triCount; ++t) {
            const uint64_t tri = l.detailTris + (uint64_t(detail.triBase) + t) * 4;
            for (int k = 0; k < 3; ++k)
                if (data[tri + k] >= polyVerts + detail.vertCount)
                    return where + "triangle corner out of range";
            boundaryEdge = boundaryEdge || (data[tri + 3] & kAnyBoundaryEdge) != 0;
        }
        // Detour's nearest-point search walks the boundary edges of the detail
        // triangles and follows a null pointer when a ground polygon has none.
        if (ground && !boundaryEdge)
            return where + "no boundary edge under a ground polygon";
    }
    return {};
}

std::string checkBvTree(const unsigned char* data, const TileLayout& l, const dtMeshHeader& h)
{
    for (int n = 0; n < h.bvNodeCount; ++n) {
        const int index = elementAt<dtBVNode>(data, l.bvTree, n).i;
        // Leaves name a polygon; inner nodes hold minus the number of nodes to skip.
        const bool badLeaf = index >= 0 && index >= h.polyCount;
        const bool badEscape = index < 0 && (index == INT32_MIN || -index > h.bvNodeCount - n);
        if (badLeaf || badEscape)
            return "bounding-volume node " + std::to_string(n) + " index out of range";
    }
    return {};
}

std::string checkOffMeshConnections(const unsigned char* data, const TileLayout& l, const dtMeshHeader& h)
{
    for (int c = 0; c < h.offMeshConCount; ++c) {
        const dtOffMeshConnection con = elementAt<dtOffMeshConnection>(data, l.offMeshCons, c);
        const std::string where = "off-mesh connection " + std::to_string(c) + ": ";
        if (con.poly >= h.polyCount ||
            elementAt<dtPoly>(data, l.polys, con.poly).getType() != kOffMeshPolyType)
            return where + "polygon index out of range";
        if (!finite3(con.pos) || !finite3(con.pos + 3) || !std::isfinite(con.rad))
            return where + "end points are not finite";
    }
    return {};
}

} // namespace

std::string checkTileData(const unsigned char* data, int size, const dtNavMeshParams& params)
{
    if (size < int(sizeof(dtMeshHeader)))
        return std::to_string(size) + " bytes are too few for a tile header";
    dtMeshHeader header;
    std::memcpy(&header, data, sizeof header);
    if (std::string problem = checkHeader(header, params); !problem.empty())
        return problem;

    const TileLayout layout = layoutOf(header);
    if (layout.end > uint64_t(size))
        return "header announces " + std::to_string(layout.end) + " bytes but the tile has " +
               std::to_string(size);

    if (!pointsFinite(data, layout.verts, header.vertCount) ||
        !pointsFinite(data, layout.detailVerts, header.detailVertCount))
        return "vertex coordinates are not finite or out of range";
    for (auto check : {checkPolygons, checkPolygonGeometry, checkDetailMeshes, checkBvTree, checkOffMeshConnections})
        if (std::string problem = check(data, layout, header); !problem.empty())
            return problem;
    return {};
}

} // namespace navigation
