// navmeshgen <navmesh.bin>
// Builds the game's tiled navigation mesh from the level design (the level
// that assetgen writes) and writes it in the game's navigation mesh format.
#include "LevelTriangles.h"
#include "NavMeshBuilder.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: navmeshgen <navmesh.bin>" << std::endl;
        return 2;
    }
    const navmeshgen::TriangleSoup soup = navmeshgen::levelTriangles(assetgen::designLevel());
    std::string error;
    auto mesh = navmeshgen::buildNavMesh(soup, navmeshgen::BuildSettings{}, error);
    if (!mesh) {
        std::cerr << "navmeshgen: " << error << std::endl;
        return 1;
    }
    if (!navigation::saveNavMesh(argv[1], *mesh))
        return 1;
    std::cout << "navmeshgen: wrote " << argv[1] << " (" << soup.triangles.size() / 3 << " triangles in)" << std::endl;
    return 0;
}
