// Writes the navigation mesh fuzzer's seed corpus into the folder given:
// small meshes Recast builds from a floor, a floor with a box, and a floor
// with a ramp up to a platform, split into several tiles.
#include "NavMeshBuilder.h"

#include <iostream>
#include <string>

namespace {

void addQuad(navmeshgen::TriangleSoup& soup, std::initializer_list<float> corners)
{
    const int base = int(soup.vertices.size() / 3);
    soup.vertices.insert(soup.vertices.end(), corners);
    soup.triangles.insert(soup.triangles.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
}

void addFloor(navmeshgen::TriangleSoup& soup, float half)
{
    addQuad(soup, {-half, 0, -half, -half, 0, half, half, 0, half, half, 0, -half});
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: navmesh_fuzz_seeds <folder>" << std::endl;
        return 2;
    }
    navmeshgen::BuildSettings settings;
    settings.tileSize = 24;

    navmeshgen::TriangleSoup floor;
    addFloor(floor, 3.0f);

    navmeshgen::TriangleSoup box = floor;
    addFloor(box, 6.0f);
    addQuad(box, {1, 1, -1, 1, 1, 1, 3, 1, 1, 3, 1, -1}); // a raised slab the crowd walks around

    navmeshgen::TriangleSoup ramp;
    addFloor(ramp, 6.0f);
    addQuad(ramp, {2, 1, 2, 2, 1, 5, 5, 1, 5, 5, 1, 2});          // platform top
    addQuad(ramp, {-2, 0, 2, -2, 0, 5, 2, 1, 5, 2, 1, 2});        // ramp up to it

    const std::pair<const char*, const navmeshgen::TriangleSoup*> seeds[] = {
        {"floor.bin", &floor}, {"box.bin", &box}, {"ramp.bin", &ramp}};
    for (const auto& [name, soup] : seeds) {
        std::string error;
        auto mesh = navmeshgen::buildNavMesh(*soup, settings, error);
        if (!mesh || !navigation::saveNavMesh(std::string(argv[1]) + "/" + name, *mesh)) {
            std::cerr << "navmesh_fuzz_seeds: " << name << ": " << error << std::endl;
            return 1;
        }
    }
    return 0;
}
