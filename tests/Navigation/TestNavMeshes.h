#pragma once
// Navigation meshes for the tests, built with Recast from small levels, and
// the navigation mesh file as editable bytes.
#include "NavMeshBuilder.h"
#include "Navigation/NavMeshFile.h"
#include "Navigation/PathfindTool.h"

#include <DetourNavMeshQuery.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace navtest {

// A 24 x 24 m floor at height 0 centred on the origin, with a 4 x 2 x 4 m box
// standing on it between x = 2 and 6, z = -2 and 2, in tiles of 6.4 m.
// Built once per process; fails the test if Recast fails.
dtNavMesh& obstacleMesh();

// Steps the crowd of `tool` for up to `seconds` until agent `index` is within
// half a metre of `target`; true when it arrived. Fails the test when the
// agent ever stands inside the obstacle mesh's box.
bool walk(PathfindTool& tool, int index, const float* target, float seconds = 10.0f);

// A crowd on `mesh`, its query with room for `queryNodes` search nodes (fails
// the test if Detour refuses), and one character's agent placed at `from`.
struct Walker {
    Walker(dtNavMesh& mesh, const float* from, int queryNodes = 2048);
    // Sends the agent to `target` and steps the crowd as `walk` does.
    bool walkTo(const float* target, float seconds);

    std::unique_ptr<dtNavMeshQuery, decltype(&dtFreeNavMeshQuery)> query;
    PathfindTool tool;
    int agent = -1;
};

// The file as a header and its tile records, to be edited and written.
struct NavMeshFileImage {
    navigation::NavMeshFileHeader header{};
    struct Tile {
        uint32_t ref;
        std::vector<unsigned char> data;
    };
    std::vector<Tile> tiles;

    static NavMeshFileImage of(const dtNavMesh& mesh);
    std::vector<unsigned char> bytes() const;
};

// A path in a folder of this process, removed when the process ends.
std::string tempPath(const std::string& name);
inline int tileCount(const dtNavMesh& mesh) { return int(NavMeshFileImage::of(mesh).tiles.size()); }

} // namespace navtest
