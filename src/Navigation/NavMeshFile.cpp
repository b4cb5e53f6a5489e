#include "Navigation/NavMeshFile.h"

#include "Navigation/TileDataCheck.h"

#include <DetourAlloc.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

namespace navigation {
namespace {

void report(const std::string& name, const std::string& problem)
{
    std::cerr << "Navigation mesh " << name << ": " << problem << std::endl;
}

std::string checkParams(const dtNavMeshParams& p)
{
    const float values[] = {p.orig[0], p.orig[1], p.orig[2], p.tileWidth, p.tileHeight};
    for (float v : values)
        if (!std::isfinite(v) || std::fabs(v) > kMaxCoordinate)
            return "tile grid origin or size is not a finite number within range";
    if (p.tileWidth < kMinTileSize || p.tileHeight < kMinTileSize)
        return "tile size below " + std::to_string(kMinTileSize) + " m";
    if (p.maxTiles < 1 || p.maxTiles > kMaxNavMeshTiles)
        return "maximum tile count " + std::to_string(p.maxTiles) + " outside 1.." +
               std::to_string(kMaxNavMeshTiles);
    if (p.maxPolys < 1 || p.maxPolys > kMaxPolysPerTile)
        return "maximum polygons per tile " + std::to_string(p.maxPolys) + " outside 1.." +
               std::to_string(kMaxPolysPerTile);
    return {};
}

// Reads the tile records after the header into `mesh`. The reader stops at
// the first record it cannot use as a whole; a tile whose data fails the
// check or that Detour refuses is skipped.
void readTiles(dtNavMesh& mesh, const NavMeshFileHeader& header, const unsigned char* bytes, size_t size,
               const std::string& name)
{
    int announced = header.numTiles;
    if (announced < 0) {
        report(name, "announces " + std::to_string(announced) + " tiles; no tiles read");
        return;
    }
    if (announced > header.params.maxTiles) {
        report(name, "announces " + std::to_string(announced) + " tiles but holds at most " +
                         std::to_string(header.params.maxTiles) + "; reading that many");
        announced = header.params.maxTiles;
    }
    size_t offset = sizeof(NavMeshFileHeader);
    int added = 0;
    for (int i = 0; i < announced; ++i) {
        const std::string tile = "tile " + std::to_string(i) + ": ";
        NavMeshTileRecord record;
        if (size - offset < sizeof record) {
            report(name, tile + "file ends before the tile record");
            break;
        }
        std::memcpy(&record, bytes + offset, sizeof record);
        offset += sizeof record;
        if (record.tileRef == 0 || record.dataSize == 0) {
            report(name, tile + "empty tile record ends the tile list");
            break;
        }
        if (record.dataSize < 0 || record.dataSize > kMaxTileDataBytes ||
            size_t(record.dataSize) > size - offset) {
            report(name, tile + "data size " + std::to_string(record.dataSize) + " does not fit the " +
                             std::to_string(size - offset) + " bytes left");
            break;
        }
        const unsigned char* tileBytes = bytes + offset;
        offset += size_t(record.dataSize);
        if (std::string problem = checkTileData(tileBytes, record.dataSize, header.params); !problem.empty()) {
            report(name, tile + problem + "; tile skipped");
            continue;
        }
        auto* data = static_cast<unsigned char*>(dtAlloc(size_t(record.dataSize), DT_ALLOC_PERM));
        if (!data) {
            report(name, tile + "out of memory");
            break;
        }
        std::memcpy(data, tileBytes, size_t(record.dataSize));
        // The mesh frees the data with the tile; a refused tile stays ours.
        if (dtStatusFailed(mesh.addTile(data, record.dataSize, DT_TILE_FREE_DATA, record.tileRef, nullptr))) {
            report(name, tile + "refused by the navigation mesh (reference or grid cell taken); tile skipped");
            dtFree(data);
            continue;
        }
        ++added;
    }
    if (added < header.numTiles)
        report(name, std::to_string(added) + " of " + std::to_string(header.numTiles) + " tiles loaded");
}

} // namespace

void NavMeshDeleter::operator()(dtNavMesh* mesh) const { dtFreeNavMesh(mesh); }

NavMeshPtr parseNavMesh(const unsigned char* bytes, size_t size, const std::string& name)
{
    NavMeshFileHeader header;
    if (size < sizeof header) {
        report(name, "file is shorter than its " + std::to_string(sizeof header) + "-byte header");
        return nullptr;
    }
    std::memcpy(&header, bytes, sizeof header);
    if (header.magic != kNavMeshFileMagic) {
        report(name, "not a navigation mesh file (wrong magic)");
        return nullptr;
    }
    if (header.version != kNavMeshFileVersion) {
        report(name, "unsupported version " + std::to_string(header.version) + " (expected " +
                         std::to_string(kNavMeshFileVersion) + ")");
        return nullptr;
    }
    if (std::string problem = checkParams(header.params); !problem.empty()) {
        report(name, problem);
        return nullptr;
    }
    NavMeshPtr mesh(dtAllocNavMesh());
    if (!mesh || dtStatusFailed(mesh->init(&header.params))) {
        report(name, "the navigation mesh cannot be set up with the file's parameters");
        return nullptr;
    }
    readTiles(*mesh, header, bytes, size, name);
    return mesh;
}

NavMeshPtr loadNavMesh(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        report(path, "cannot open the file");
        return nullptr;
    }
    std::vector<unsigned char> bytes;
    bool readable = std::fseek(file, 0, SEEK_END) == 0;
    const long length = readable ? std::ftell(file) : -1;
    readable = readable && length >= 0 && length <= kMaxNavMeshFileBytes && std::fseek(file, 0, SEEK_SET) == 0;
    if (readable) {
        bytes.resize(size_t(length));
        readable = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    if (!readable) {
        report(path, "cannot read the file (or it is larger than " + std::to_string(kMaxNavMeshFileBytes) +
                         " bytes)");
        return nullptr;
    }
    return parseNavMesh(bytes.data(), bytes.size(), path);
}

bool saveNavMesh(const std::string& path, const dtNavMesh& mesh)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        report(path, "cannot create the file");
        return false;
    }
    NavMeshFileHeader header{kNavMeshFileMagic, kNavMeshFileVersion, 0, *mesh.getParams()};
    for (int i = 0; i < mesh.getMaxTiles(); ++i) {
        const dtMeshTile* tile = mesh.getTile(i);
        if (tile && tile->header && tile->dataSize > 0)
            ++header.numTiles;
    }
    bool written = std::fwrite(&header, sizeof header, 1, file) == 1;
    for (int i = 0; written && i < mesh.getMaxTiles(); ++i) {
        const dtMeshTile* tile = mesh.getTile(i);
        if (!tile || !tile->header || tile->dataSize <= 0)
            continue;
        const NavMeshTileRecord record{uint32_t(mesh.getTileRef(tile)), tile->dataSize};
        written = std::fwrite(&record, sizeof record, 1, file) == 1 &&
                  std::fwrite(tile->data, size_t(tile->dataSize), 1, file) == 1;
    }
    written = std::fclose(file) == 0 && written;
    if (!written)
        report(path, "writing the file failed");
    return written;
}

} // namespace navigation
