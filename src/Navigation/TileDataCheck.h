#pragma once
// Detour checks a tile's magic and version but trusts every count inside its
// data: the vertex, polygon, link, detail, bounding-volume and off-mesh arrays
// are laid out from the header's counts and indexed without bounds. A damaged
// or hostile file would make Detour read and write out of bounds, so a tile
// goes through this check before it is handed to dtNavMesh::addTile.
#include <string>

struct dtNavMeshParams;

namespace navigation {

// Largest coordinate a tile or the tile grid may hold, in metres. Beyond it
// Detour's squared distances overflow, after which its nearest-edge search
// finds no edge and follows a null pointer.
constexpr float kMaxCoordinate = 1.0e7f;

// Checks one tile's data against the mesh it is going into.
//  data      the tile data as stored in the file, beginning with dtMeshHeader
//  size      bytes in data [Limit: >= 0]
//  params    the parameters the mesh was initialised with
// Returns an empty string when the tile is safe for Detour, otherwise what is wrong.
std::string checkTileData(const unsigned char* data, int size, const dtNavMeshParams& params);

} // namespace navigation
