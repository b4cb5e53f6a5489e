#pragma once
// The navigation mesh file: a 40-byte header followed by one record per tile.
//
//   offset  size  field
//        0     4  magic 0x4D534554 (bytes "TESM" on disk)
//        4     4  version, 1
//        8     4  number of tiles, signed
//       12    28  dtNavMeshParams: origin x, y, z, tile width, tile height,
//                 maximum tiles, maximum polygons per tile
//       40     .  per tile: tile reference (uint32), data size (int32), then
//                 that many bytes of Detour tile data (dtMeshHeader first)
//
// All fields are little-endian and packed. Reading stops at the first tile
// record whose reference or size is 0, or where the file ends; the tiles read
// before stay in the mesh.
#include <DetourNavMesh.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace navigation {

constexpr int32_t kNavMeshFileMagic = 'M' << 24 | 'S' << 16 | 'E' << 8 | 'T';
constexpr int32_t kNavMeshFileVersion = 1;

struct NavMeshFileHeader {
    int32_t magic;
    int32_t version;
    int32_t numTiles;
    dtNavMeshParams params;
};
static_assert(sizeof(NavMeshFileHeader) == 40, "the file header is 40 packed bytes");

struct NavMeshTileRecord {
    uint32_t tileRef;
    int32_t dataSize; // bytes of tile data that follow
};
static_assert(sizeof(NavMeshTileRecord) == 8, "the tile record head is 8 packed bytes");

// Limits on what a file may ask for, so that a damaged file cannot make the
// loader allocate without bound.
constexpr int kMaxNavMeshTiles = 1 << 16;
constexpr int kMaxPolysPerTile = 1 << 16;
constexpr int kMaxTileDataBytes = 64 << 20;        // bytes
constexpr long kMaxNavMeshFileBytes = 1L << 30;    // bytes
// A query visits every grid cell its box touches, so tiny tiles make each
// query loop for ever.
constexpr float kMinTileSize = 0.5f;               // metres

struct NavMeshDeleter {
    void operator()(dtNavMesh* mesh) const;
};
using NavMeshPtr = std::unique_ptr<dtNavMesh, NavMeshDeleter>;

// Reads the file at `path`. Returns no mesh when the file is missing, its
// header is wrong or Detour cannot set the mesh up; otherwise the mesh with
// every tile that was read and passed the tile check. Each problem is written
// to standard error with the file name.
NavMeshPtr loadNavMesh(const std::string& path);

// The same from bytes in memory; `name` stands for the file in messages.
NavMeshPtr parseNavMesh(const unsigned char* bytes, size_t size, const std::string& name);

// Writes every tile of `mesh` in the format above. Returns false (with a
// message) when the file cannot be written.
bool saveNavMesh(const std::string& path, const dtNavMesh& mesh);

} // namespace navigation
