#include "LevelTriangles.h"

namespace navmeshgen {

TriangleSoup levelTriangles(const assetgen::LevelDesign& design)
{
    TriangleSoup soup;
    for (const assetgen::Piece& piece : design.pieces) {
        for (const assetgen::Triangle& triangle : piece.mesh.triangles) {
            for (const assetgen::Corner& corner : triangle.corners) {
                const fbx::Vec3& p = corner.position;
                soup.triangles.push_back(int(soup.vertices.size() / 3));
                soup.vertices.insert(soup.vertices.end(), {float(p.x), float(p.y), float(p.z)});
            }
            soup.walkable.push_back(piece.walkableTop ? 1 : 0);
        }
    }
    return soup;
}

} // namespace navmeshgen
