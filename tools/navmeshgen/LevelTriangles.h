#pragma once
// The level's triangles for the mesh generator: every mesh of an FBX scene,
// its polygons fanned into triangles. Static level meshes carry identity
// transforms and store their vertices where they stand (Y up, metres).
#include "NavMeshBuilder.h"

#include <string>

namespace navmeshgen {

// Reads `path`; on failure returns false and sets `error` (file and problem).
bool readLevelTriangles(const std::string& path, TriangleSoup& soup, std::string& error);

} // namespace navmeshgen
