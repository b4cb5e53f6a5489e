#include "TestNavMeshes.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <initializer_list>

namespace navtest {

void addQuad(navmeshgen::TriangleSoup& soup, const float* a, const float* b, const float* c, const float* d)
{
    const int base = int(soup.vertices.size() / 3);
    for (const float* p : {a, b, c, d})
        soup.vertices.insert(soup.vertices.end(), p, p + 3);
    soup.triangles.insert(soup.triangles.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
}

void addBox(navmeshgen::TriangleSoup& soup, const float* min, const float* max)
{
    const float x0 = min[0], y0 = min[1], z0 = min[2], x1 = max[0], y1 = max[1], z1 = max[2];
    const float c[8][3] = {{x0, y0, z0}, {x0, y0, z1}, {x1, y0, z1}, {x1, y0, z0},
                           {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}};
    addQuad(soup, c[4], c[5], c[6], c[7]); // top, facing up
    addQuad(soup, c[0], c[3], c[2], c[1]); // bottom
    addQuad(soup, c[0], c[1], c[5], c[4]);
    addQuad(soup, c[1], c[2], c[6], c[5]);
    addQuad(soup, c[2], c[3], c[7], c[6]);
    addQuad(soup, c[3], c[0], c[4], c[7]);
}

navmeshgen::TriangleSoup floorWithObstacle()
{
    navmeshgen::TriangleSoup soup;
    const float h = kFloorHalfSize;
    const float a[3] = {-h, 0, -h}, b[3] = {-h, 0, h}, c[3] = {h, 0, h}, d[3] = {h, 0, -h};
    addQuad(soup, a, b, c, d);
    addBox(soup, kBoxMin, kBoxMax);
    return soup;
}

navmeshgen::BuildSettings smallTileSettings()
{
    navmeshgen::BuildSettings settings;
    settings.tileSize = 32; // 6.4 m: the 24 m floor spans 4 x 4 tiles
    return settings;
}

dtNavMesh& obstacleMesh()
{
    static navigation::NavMeshPtr mesh = [] {
        std::string error;
        auto built = navmeshgen::buildNavMesh(floorWithObstacle(), smallTileSettings(), error);
        EXPECT_TRUE(built) << error;
        return built;
    }();
    if (!mesh)
        std::abort();
    return *mesh;
}

QueryPtr makeQuery(const dtNavMesh& mesh)
{
    QueryPtr query(dtAllocNavMeshQuery());
    EXPECT_TRUE(query && dtStatusSucceed(query->init(&mesh, 2048)));
    return query;
}

NavMeshFileImage NavMeshFileImage::of(const dtNavMesh& mesh)
{
    NavMeshFileImage image;
    image.header = {navigation::kNavMeshFileMagic, navigation::kNavMeshFileVersion, 0, *mesh.getParams()};
    for (int i = 0; i < mesh.getMaxTiles(); ++i) {
        const dtMeshTile* tile = mesh.getTile(i);
        if (!tile || !tile->header)
            continue;
        image.tiles.push_back(
            {uint32_t(mesh.getTileRef(tile)), {tile->data, tile->data + tile->dataSize}, tile->dataSize});
    }
    image.header.numTiles = int32_t(image.tiles.size());
    return image;
}

std::vector<unsigned char> NavMeshFileImage::bytes() const
{
    std::vector<unsigned char> out(sizeof header);
    std::memcpy(out.data(), &header, sizeof header);
    for (const Tile& tile : tiles) {
        const navigation::NavMeshTileRecord record{tile.ref, tile.sizeField};
        const auto* head = reinterpret_cast<const unsigned char*>(&record);
        out.insert(out.end(), head, head + sizeof record);
        out.insert(out.end(), tile.data.begin(), tile.data.end());
    }
    return out;
}

QuietErrors::QuietErrors() : saved(std::cerr.rdbuf(sink.rdbuf())) {}
QuietErrors::~QuietErrors() { std::cerr.rdbuf(saved); }

std::string tempPath(const std::string& name)
{
    static const TempFolder folder("umbrant_nav");
    return folder.file(name);
}

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

int tileCount(const dtNavMesh& mesh)
{
    int count = 0;
    for (int i = 0; i < mesh.getMaxTiles(); ++i) {
        const dtMeshTile* tile = mesh.getTile(i);
        count += tile && tile->header ? 1 : 0;
    }
    return count;
}

std::string writeObstacleMesh(const std::string& name, int version)
{
    NavMeshFileImage image = NavMeshFileImage::of(obstacleMesh());
    image.header.version = version;
    const std::string path = tempPath(name);
    writeFile(path, image.bytes());
    return path;
}

} // namespace navtest
