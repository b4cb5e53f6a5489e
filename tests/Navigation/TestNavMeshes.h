#pragma once
// Navigation meshes for the tests, built with Recast from small levels, and
// the navigation mesh file as editable bytes.
#include "NavMeshBuilder.h"
#include "Navigation/NavMeshFile.h"

#include <DetourNavMeshQuery.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace navtest {

// A 24 x 24 m floor at height 0 centred on the origin, with a 4 x 2 x 4 m box
// standing on it between x = 2 and 6, z = -2 and 2.
constexpr float kFloorHalfSize = 12.0f;
constexpr float kBoxMin[3] = {2.0f, 0.0f, -2.0f};
constexpr float kBoxMax[3] = {6.0f, 2.0f, 2.0f};
navmeshgen::TriangleSoup floorWithObstacle();

// Adds an axis-aligned box (all six faces) to the soup.
void addBox(navmeshgen::TriangleSoup& soup, const float* min, const float* max);
// Adds a quad with corners in order; horizontal ones must run x0z0, x0z1, x1z1, x1z0 to face up.
void addQuad(navmeshgen::TriangleSoup& soup, const float* a, const float* b, const float* c, const float* d);

// Settings with small tiles, so the test floor spans several tiles.
navmeshgen::BuildSettings smallTileSettings();

// The floor with its obstacle, built once per process; fails the test if Recast fails.
dtNavMesh& obstacleMesh();

// A query on `mesh` with room for 2048 search nodes; fails the test if Detour refuses.
struct QueryDeleter {
    void operator()(dtNavMeshQuery* query) const { dtFreeNavMeshQuery(query); }
};
using QueryPtr = std::unique_ptr<dtNavMeshQuery, QueryDeleter>;
QueryPtr makeQuery(const dtNavMesh& mesh);

// The file as a header and its tile records, to be edited and written.
struct NavMeshFileImage {
    navigation::NavMeshFileHeader header{};
    struct Tile {
        uint32_t ref;
        std::vector<unsigned char> data;
        int32_t sizeField; // written as the record's size; normally data.size()
    };
    std::vector<Tile> tiles;

    static NavMeshFileImage of(const dtNavMesh& mesh);
    std::vector<unsigned char> bytes() const;
};

// Silences standard error while it lives (for sweeps over thousands of bad files).
class QuietErrors {
public:
    QuietErrors();
    ~QuietErrors();

private:
    std::ostringstream sink; // declared first: `saved` is initialised from it
    std::streambuf* saved;
};

// A path in a folder of this process, removed when the process ends.
std::string tempPath(const std::string& name);
void writeFile(const std::string& path, const std::vector<unsigned char>& bytes);
int tileCount(const dtNavMesh& mesh);
// Writes the obstacle mesh's file, its header saying `version`, to a temporary `name`; gives its path.
std::string writeObstacleMesh(const std::string& name, int version);

} // namespace navtest
