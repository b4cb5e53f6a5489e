#include "TestNavMeshes.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>

namespace navtest {

namespace {

// Adds a quad from its corners' x, y, z; horizontal ones must run x0z0, x0z1, x1z1, x1z0 to face up.
void addQuad(navmeshgen::TriangleSoup& soup, std::initializer_list<float> corners)
{
    const int base = int(soup.vertices.size() / 3);
    soup.vertices.insert(soup.vertices.end(), corners);
    soup.triangles.insert(soup.triangles.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
}

// Adds an axis-aligned box (all six faces).
void addBox(navmeshgen::TriangleSoup& soup, const float* min, const float* max)
{
    const float x0 = min[0], y0 = min[1], z0 = min[2], x1 = max[0], y1 = max[1], z1 = max[2];
    addQuad(soup, {x0, y1, z0, x0, y1, z1, x1, y1, z1, x1, y1, z0}); // top, facing up
    addQuad(soup, {x0, y0, z0, x1, y0, z0, x1, y0, z1, x0, y0, z1}); // bottom
    addQuad(soup, {x0, y0, z0, x0, y0, z1, x0, y1, z1, x0, y1, z0});
    addQuad(soup, {x0, y0, z1, x1, y0, z1, x1, y1, z1, x0, y1, z1});
    addQuad(soup, {x1, y0, z1, x1, y0, z0, x1, y1, z0, x1, y1, z1});
    addQuad(soup, {x1, y0, z0, x0, y0, z0, x0, y1, z0, x1, y1, z0});
}

constexpr float kBoxMin[3] = {2.0f, 0.0f, -2.0f};
constexpr float kBoxMax[3] = {6.0f, 2.0f, 2.0f};

} // namespace

dtNavMesh& obstacleMesh()
{
    static navigation::NavMeshPtr mesh = [] {
        navmeshgen::TriangleSoup soup;
        addQuad(soup, {-12, 0, -12, -12, 0, 12, 12, 0, 12, 12, 0, -12});
        addBox(soup, kBoxMin, kBoxMax);
        navmeshgen::BuildSettings settings;
        settings.tileSize = 32; // 6.4 m: the 24 m floor spans 4 x 4 tiles
        std::string error;
        auto built = navmeshgen::buildNavMesh(soup, settings, error);
        EXPECT_TRUE(built) << error;
        return built;
    }();
    if (!mesh)
        std::abort();
    return *mesh;
}

bool walk(PathfindTool& tool, int index, const float* target, float seconds)
{
    const float* p = tool.getCrowd().getAgent(index)->npos;
    for (int i = 0; i < seconds * 30; ++i) {
        tool.update(1.0f / 30.0f);
        EXPECT_FALSE(p[0] > kBoxMin[0] && p[0] < kBoxMax[0] && p[2] > kBoxMin[2] && p[2] < kBoxMax[2])
            << "agent at " << p[0] << ", " << p[2];
        if (std::hypot(p[0] - target[0], p[2] - target[2]) < 0.5f)
            return true;
    }
    return false;
}

Walker::Walker(dtNavMesh& mesh, const float* from, int queryNodes) : query(dtAllocNavMeshQuery(), dtFreeNavMeshQuery)
{
    EXPECT_TRUE(query && dtStatusSucceed(query->init(&mesh, queryNodes)));
    tool.init(&mesh, query.get());
    agent = tool.addAgent(0.4f, 1.7f);
    tool.teleport(agent, from);
}

bool Walker::walkTo(const float* target, float seconds)
{
    tool.setMoveTarget(agent, target);
    return walk(tool, agent, target, seconds);
}

NavMeshFileImage NavMeshFileImage::of(const dtNavMesh& mesh)
{
    NavMeshFileImage image;
    image.header = {navigation::kNavMeshFileMagic, navigation::kNavMeshFileVersion, 0, *mesh.getParams()};
    for (int i = 0; i < mesh.getMaxTiles(); ++i)
        if (const dtMeshTile* tile = mesh.getTile(i); tile && tile->header)
            image.tiles.push_back({uint32_t(mesh.getTileRef(tile)), {tile->data, tile->data + tile->dataSize}});
    image.header.numTiles = int32_t(image.tiles.size());
    return image;
}

std::vector<unsigned char> NavMeshFileImage::bytes() const
{
    std::vector<unsigned char> out(sizeof header);
    std::memcpy(out.data(), &header, sizeof header);
    for (const Tile& tile : tiles) {
        const navigation::NavMeshTileRecord record{tile.ref, int32_t(tile.data.size())};
        const auto* head = reinterpret_cast<const unsigned char*>(&record);
        out.insert(out.end(), head, head + sizeof record);
        out.insert(out.end(), tile.data.begin(), tile.data.end());
    }
    return out;
}

std::string tempPath(const std::string& name)
{
    static const TempFolder folder("umbrant_nav");
    return folder.file(name);
}

} // namespace navtest
