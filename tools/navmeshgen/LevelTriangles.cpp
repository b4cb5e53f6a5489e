#include "LevelTriangles.h"

#include "Fbx/Load.h"

namespace navmeshgen {

bool readLevelTriangles(const std::string& path, TriangleSoup& soup, std::string& error)
{
    auto loaded = fbx::loadFile(path);
    if (!loaded) {
        error = loaded.error();
        return false;
    }
    for (const fbx::Mesh* mesh : (*loaded)->meshes()) {
        const int base = int(soup.vertices.size() / 3);
        for (const fbx::Vec3& p : mesh->controlPoints) {
            soup.vertices.push_back(float(p.x));
            soup.vertices.push_back(float(p.y));
            soup.vertices.push_back(float(p.z));
        }
        // Convex faces fan out from their first corner; corners the reader
        // could not resolve leave the polygon out.
        for (int polygon = 0; polygon < mesh->polygonCount(); ++polygon) {
            const int first = mesh->polygonVertex(polygon, 0);
            for (int k = 1; k + 1 < mesh->polygonSize(polygon); ++k) {
                const int b = mesh->polygonVertex(polygon, k);
                const int c = mesh->polygonVertex(polygon, k + 1);
                const int count = int(mesh->controlPoints.size());
                if (first < 0 || b < 0 || c < 0 || first >= count || b >= count || c >= count)
                    continue;
                soup.triangles.insert(soup.triangles.end(), {base + first, base + b, base + c});
            }
        }
    }
    if (soup.triangles.empty()) {
        error = path + ": the scene holds no mesh triangles";
        return false;
    }
    return true;
}

} // namespace navmeshgen
