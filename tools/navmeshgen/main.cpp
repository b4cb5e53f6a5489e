// navmeshgen <level.fbx> <navmesh.bin>
// Builds the game's tiled navigation mesh from the level's triangles and
// writes it in the game's navigation mesh file format.
#include "LevelTriangles.h"
#include "NavMeshBuilder.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: navmeshgen <level.fbx> <navmesh.bin>" << std::endl;
        return 2;
    }
    navmeshgen::TriangleSoup soup;
    std::string error;
    if (!navmeshgen::readLevelTriangles(argv[1], soup, error)) {
        std::cerr << "navmeshgen: " << error << std::endl;
        return 1;
    }
    auto mesh = navmeshgen::buildNavMesh(soup, navmeshgen::BuildSettings{}, error);
    if (!mesh) {
        std::cerr << "navmeshgen: " << argv[1] << ": " << error << std::endl;
        return 1;
    }
    if (!navigation::saveNavMesh(argv[2], *mesh))
        return 1;
    std::cout << "navmeshgen: wrote " << argv[2] << " (" << soup.triangles.size() / 3 << " triangles in)"
              << std::endl;
    return 0;
}
