#include "NavMeshBuilder.h"

#include "EnclosedFloor.h"
#include "Navigation/TileDataCheck.h"

#include <DetourAlloc.h>
#include <DetourNavMeshBuilder.h>
#include <Recast.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <memory>

namespace navmeshgen {
namespace {

constexpr int kVertsPerPoly = DT_VERTS_PER_POLYGON;
constexpr int kBorderPaddingCells = 3;  // beyond the agent radius, so tiles join seamlessly
constexpr unsigned short kWalkFlag = 1; // every walkable polygon; the game's filter passes any flag
constexpr unsigned int kPolyRefBits = 22;  // tile and polygon bits of a 32-bit reference (10 left for the salt)
constexpr unsigned int kMaxPolyBits = 16;  // at most 65536 polygons per tile
constexpr int kMaxRecastVertices = 0xffff; // Detour stores vertex indices in 16 bits
constexpr int kSpanCellsAboveFloor = 1;     // a flat face's span reaches one cell above the face
constexpr int kDetailCellsAboveSpans = 1;   // Recast places the detail mesh one cell above the spans

// Recast's build messages go to standard error.
class LoggingContext : public rcContext {
protected:
    void doLog(const rcLogCategory category, const char* msg, const int len) override
    {
        if (category != RC_LOG_PROGRESS)
            std::cerr << "navmeshgen: " << std::string(msg, size_t(len)) << std::endl;
    }
};

template <typename T, void (*Free)(T*)>
struct RecastDeleter {
    void operator()(T* p) const { Free(p); }
};
using Heightfield = std::unique_ptr<rcHeightfield, RecastDeleter<rcHeightfield, rcFreeHeightField>>;
using CompactHeightfield =
    std::unique_ptr<rcCompactHeightfield, RecastDeleter<rcCompactHeightfield, rcFreeCompactHeightfield>>;
using ContourSet = std::unique_ptr<rcContourSet, RecastDeleter<rcContourSet, rcFreeContourSet>>;
using PolyMesh = std::unique_ptr<rcPolyMesh, RecastDeleter<rcPolyMesh, rcFreePolyMesh>>;
using PolyMeshDetail = std::unique_ptr<rcPolyMeshDetail, RecastDeleter<rcPolyMeshDetail, rcFreePolyMeshDetail>>;

unsigned int log2Ceil(unsigned int v)
{
    unsigned int bits = 0;
    while ((1u << bits) < v)
        ++bits;
    return bits;
}

rcConfig makeConfig(const BuildSettings& s)
{
    rcConfig cfg{};
    cfg.cs = s.cellSize;
    cfg.ch = s.cellHeight;
    cfg.walkableSlopeAngle = s.agentMaxSlope;
    cfg.walkableHeight = int(std::ceil(s.agentHeight / s.cellHeight));
    cfg.walkableClimb = int(std::floor(s.agentMaxClimb / s.cellHeight));
    cfg.walkableRadius = int(std::ceil(s.agentRadius / s.cellSize));
    cfg.maxEdgeLen = int(s.edgeMaxLength / s.cellSize);
    cfg.maxSimplificationError = s.edgeMaxError;
    cfg.minRegionArea = int(s.regionMinSize * s.regionMinSize);
    cfg.mergeRegionArea = int(s.regionMergeSize * s.regionMergeSize);
    cfg.maxVertsPerPoly = kVertsPerPoly;
    cfg.tileSize = s.tileSize;
    cfg.borderSize = cfg.walkableRadius + kBorderPaddingCells;
    cfg.width = cfg.tileSize + cfg.borderSize * 2;
    cfg.height = cfg.tileSize + cfg.borderSize * 2;
    cfg.detailSampleDist = s.cellSize * s.detailSampleDistance;
    cfg.detailSampleMaxError = s.cellHeight * s.detailSampleMaxError;
    return cfg;
}

// Voxelises the triangles overlapping one tile (with its border) and traces
// them into polygons. Returns false on a Recast failure; an empty tile
// returns true with no polygons.
bool buildTilePolygons(rcContext& ctx, const TriangleSoup& soup, const rcConfig& cfg, PolyMesh& pmesh,
                       PolyMeshDetail& dmesh)
{
    const int vertexCount = int(soup.vertices.size() / 3);
    const int triangleCount = int(soup.triangles.size() / 3);
    Heightfield solid(rcAllocHeightfield());
    if (!solid || !rcCreateHeightfield(&ctx, *solid, cfg.width, cfg.height, cfg.bmin, cfg.bmax, cfg.cs, cfg.ch))
        return false;
    std::vector<unsigned char> areas(size_t(triangleCount), RC_NULL_AREA);
    rcMarkWalkableTriangles(&ctx, cfg.walkableSlopeAngle, soup.vertices.data(), vertexCount, soup.triangles.data(),
                            triangleCount, areas.data());
    for (size_t i = 0; i < soup.walkable.size(); ++i) {
        if (!soup.walkable[i])
            areas[i] = RC_NULL_AREA;
    }
    if (!rcRasterizeTriangles(&ctx, soup.vertices.data(), vertexCount, soup.triangles.data(), areas.data(),
                              triangleCount, *solid, cfg.walkableClimb))
        return false;
    rcFilterLowHangingWalkableObstacles(&ctx, cfg.walkableClimb, *solid);
    rcFilterLedgeSpans(&ctx, cfg.walkableHeight, cfg.walkableClimb, *solid);
    rcFilterWalkableLowHeightSpans(&ctx, cfg.walkableHeight, *solid);

    CompactHeightfield chf(rcAllocCompactHeightfield());
    if (!chf || !rcBuildCompactHeightfield(&ctx, cfg.walkableHeight, cfg.walkableClimb, *solid, *chf))
        return false;
    solid.reset();
    clearEnclosedFloor(soup, *chf);
    if (!rcErodeWalkableArea(&ctx, cfg.walkableRadius, *chf) || !rcBuildDistanceField(&ctx, *chf) ||
        !rcBuildRegions(&ctx, *chf, cfg.borderSize, cfg.minRegionArea, cfg.mergeRegionArea))
        return false;

    ContourSet contours(rcAllocContourSet());
    if (!contours || !rcBuildContours(&ctx, *chf, cfg.maxSimplificationError, cfg.maxEdgeLen, *contours))
        return false;
    if (contours->nconts == 0)
        return true;
    pmesh.reset(rcAllocPolyMesh());
    dmesh.reset(rcAllocPolyMeshDetail());
    if (!pmesh || !dmesh || !rcBuildPolyMesh(&ctx, *contours, cfg.maxVertsPerPoly, *pmesh) ||
        !rcBuildPolyMeshDetail(&ctx, *pmesh, *chf, cfg.detailSampleDist, cfg.detailSampleMaxError, *dmesh))
        return false;
    // Recast's surface lies above the floor: a flat face rasterises into a
    // span that ends one cell above it, and the detail mesh is lifted one more
    // cell. Taking both off puts the detail surface, on which agents stand,
    // on the floor (the polygons are lowered with their tile, below).
    for (int i = 0; i < dmesh->nverts; ++i)
        dmesh->verts[i * 3 + 1] -= (kSpanCellsAboveFloor + kDetailCellsAboveSpans) * cfg.ch;
    return true;
}

// Detour tile data for tile (tx, ty), or null with dataSize 0 when the tile
// has nothing walkable. Returns false on a build failure.
bool buildTileData(rcContext& ctx, const TriangleSoup& soup, const BuildSettings& s, rcConfig cfg,
                   const float* meshMin, int tx, int ty, unsigned char*& data, int& dataSize)
{
    data = nullptr;
    dataSize = 0;
    const float tileWidth = float(cfg.tileSize) * cfg.cs;
    const float border = float(cfg.borderSize) * cfg.cs;
    cfg.bmin[0] = meshMin[0] + float(tx) * tileWidth - border;
    cfg.bmin[2] = meshMin[2] + float(ty) * tileWidth - border;
    cfg.bmax[0] = meshMin[0] + float(tx + 1) * tileWidth + border;
    cfg.bmax[2] = meshMin[2] + float(ty + 1) * tileWidth + border;

    PolyMesh pmesh;
    PolyMeshDetail dmesh;
    if (!buildTilePolygons(ctx, soup, cfg, pmesh, dmesh))
        return false;
    if (!pmesh || pmesh->npolys == 0)
        return true;
    if (pmesh->nverts >= kMaxRecastVertices) {
        std::cerr << "navmeshgen: tile " << tx << "," << ty << " has too many vertices; use smaller tiles\n";
        return false;
    }
    for (int i = 0; i < pmesh->npolys; ++i)
        pmesh->flags[i] = pmesh->areas[i] == RC_NULL_AREA ? 0 : kWalkFlag;

    dtNavMeshCreateParams params;
    std::memset(&params, 0, sizeof params);
    params.verts = pmesh->verts;
    params.vertCount = pmesh->nverts;
    params.polys = pmesh->polys;
    params.polyAreas = pmesh->areas;
    params.polyFlags = pmesh->flags;
    params.polyCount = pmesh->npolys;
    params.nvp = pmesh->nvp;
    params.detailMeshes = dmesh->meshes;
    params.detailVerts = dmesh->verts;
    params.detailVertsCount = dmesh->nverts;
    params.detailTris = dmesh->tris;
    params.detailTriCount = dmesh->ntris;
    params.walkableHeight = s.agentHeight;
    params.walkableRadius = s.agentRadius;
    params.walkableClimb = s.agentMaxClimb;
    params.tileX = tx;
    params.tileY = ty;
    rcVcopy(params.bmin, pmesh->bmin);
    rcVcopy(params.bmax, pmesh->bmax);
    params.bmin[1] -= kSpanCellsAboveFloor * cfg.ch; // polygon heights count from here
    params.cs = cfg.cs;
    params.ch = cfg.ch;
    params.buildBvTree = true;
    return dtCreateNavMeshData(&params, &data, &dataSize);
}

// Empty when the triangles can go to Recast, otherwise what is wrong with them.
std::string checkSoup(const TriangleSoup& soup)
{
    if (soup.vertices.empty() || soup.triangles.empty() || soup.vertices.size() % 3 || soup.triangles.size() % 3)
        return "no triangles to build from";
    for (float v : soup.vertices)
        if (!std::isfinite(v) || std::fabs(v) > navigation::kMaxCoordinate)
            return "vertex coordinate " + std::to_string(v) + " is not a finite number within range";
    const int vertexCount = int(soup.vertices.size() / 3);
    for (int index : soup.triangles)
        if (index < 0 || index >= vertexCount)
            return "triangle corner " + std::to_string(index) + " names no vertex";
    if (!soup.walkable.empty() && soup.walkable.size() != soup.triangles.size() / 3)
        return std::to_string(soup.walkable.size()) + " walkable flags for " + std::to_string(soup.triangles.size() / 3) +
               " triangles";
    return {};
}

} // namespace

navigation::NavMeshPtr buildNavMesh(const TriangleSoup& soup, const BuildSettings& settings, std::string& error)
{
    error = checkSoup(soup);
    if (!error.empty())
        return nullptr;
    const int vertexCount = int(soup.vertices.size() / 3);
    LoggingContext ctx;
    rcConfig cfg = makeConfig(settings);
    rcCalcBounds(soup.vertices.data(), vertexCount, cfg.bmin, cfg.bmax);
    int gridWidth = 0, gridHeight = 0;
    rcCalcGridSize(cfg.bmin, cfg.bmax, cfg.cs, &gridWidth, &gridHeight);
    const int tilesX = (gridWidth + cfg.tileSize - 1) / cfg.tileSize;
    const int tilesY = (gridHeight + cfg.tileSize - 1) / cfg.tileSize;
    if (int64_t(tilesX) * tilesY > navigation::kMaxNavMeshTiles) {
        error = "the level needs more than " + std::to_string(navigation::kMaxNavMeshTiles) + " tiles";
        return nullptr;
    }

    const unsigned int tileBits = std::min(log2Ceil(unsigned(tilesX * tilesY)), kPolyRefBits - 1);
    dtNavMeshParams params{};
    rcVcopy(params.orig, cfg.bmin);
    params.tileWidth = params.tileHeight = float(cfg.tileSize) * cfg.cs;
    params.maxTiles = 1 << tileBits;
    params.maxPolys = 1 << std::min(kPolyRefBits - tileBits, kMaxPolyBits);

    navigation::NavMeshPtr mesh(dtAllocNavMesh());
    if (!mesh || dtStatusFailed(mesh->init(&params))) {
        error = "the navigation mesh cannot be set up";
        return nullptr;
    }
    for (int ty = 0; ty < tilesY; ++ty) {
        for (int tx = 0; tx < tilesX; ++tx) {
            unsigned char* data = nullptr;
            int dataSize = 0;
            if (!buildTileData(ctx, soup, settings, cfg, cfg.bmin, tx, ty, data, dataSize)) {
                error = "building tile " + std::to_string(tx) + "," + std::to_string(ty) + " failed";
                return nullptr;
            }
            if (!data)
                continue;
            // The game checks every tile it loads; a tile it would skip is a build error here.
            std::string problem = navigation::checkTileData(data, dataSize, params);
            if (problem.empty() && dtStatusFailed(mesh->addTile(data, dataSize, DT_TILE_FREE_DATA, 0, nullptr)))
                problem = "refused by the navigation mesh";
            if (!problem.empty()) {
                dtFree(data);
                error = "tile " + std::to_string(tx) + "," + std::to_string(ty) + ": " + problem;
                return nullptr;
            }
        }
    }
    return mesh;
}

} // namespace navmeshgen
