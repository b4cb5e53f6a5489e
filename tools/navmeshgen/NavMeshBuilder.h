#pragma once
// Builds a tiled Detour navigation mesh from triangles with Recast: each tile
// is voxelised, filtered for walkable spans, partitioned into regions, traced
// into polygons with a height detail mesh, and turned into Detour tile data.
// The detail mesh lies on the floor itself, so agents stand on the floor.
// The agent settings match the game's characters (radius 0.4 m, height 1.7 m)
// with a climb and slope that let them use ramps and steps.
#include "Navigation/NavMeshFile.h"

#include <string>
#include <vector>

namespace navmeshgen {

struct BuildSettings {
    float cellSize = 0.2f;             // metres, horizontal voxel size
    float cellHeight = 0.1f;           // metres, vertical voxel size
    float agentHeight = 1.7f;          // metres
    float agentRadius = 0.4f;          // metres
    float agentMaxClimb = 0.5f;        // metres, the highest step an agent walks up
    float agentMaxSlope = 45.0f;       // degrees, the steepest walkable ramp
    int tileSize = 48;                 // cells along a tile's side
    float regionMinSize = 4.0f;        // cells (side of the smallest kept island)
    float regionMergeSize = 20.0f;     // cells (side of regions merged into neighbours)
    float edgeMaxLength = 12.0f;       // metres
    float edgeMaxError = 1.3f;         // cells
    float detailSampleDistance = 6.0f; // cells
    float detailSampleMaxError = 1.0f; // cells of height
};

// Triangles in world space, Y up, metres: `vertices` holds x, y, z per vertex,
// `triangles` three vertex indices per triangle, counter-clockwise seen from
// above for walkable faces. `walkable` holds one flag per triangle: 0 marks a
// triangle that only blocks (a wall, a roof, a crate), never floor; without
// flags every triangle flat enough is floor.
struct TriangleSoup {
    std::vector<float> vertices;
    std::vector<int> triangles;
    std::vector<unsigned char> walkable;
};

// Builds the mesh; on failure returns none and sets `error`. A level whose
// floor leaves no walkable area gives a mesh without tiles.
navigation::NavMeshPtr buildNavMesh(const TriangleSoup& soup, const BuildSettings& settings, std::string& error);

} // namespace navmeshgen
