#pragma once
// The level's triangles for the mesh generator, taken from the level design
// that assetgen writes into the level file (Y up, metres, vertices where
// they stand). Every piece of level geometry blocks; only the pieces whose
// top is floor (the ground, the platform, its ramp and its stair) may be
// walked on, so roofs, crate tops and cover never become floor that no
// character can reach. Spawn pads are markers the game neither draws nor
// collides with, and are left out.
#include "LevelDesign.h"
#include "NavMeshBuilder.h"

namespace navmeshgen {

TriangleSoup levelTriangles(const assetgen::LevelDesign& design);

} // namespace navmeshgen
