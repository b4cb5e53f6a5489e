#include "EnclosedFloor.h"

#include <cmath>
#include <limits>
#include <vector>

namespace navmeshgen {
namespace {

// A face that is not vertical, as seen from above.
struct Face {
    float a[3], b[3], c[3];
    bool facesUp;
};

// The faces whose footprint overlaps the heightfield's.
std::vector<Face> facesOver(const TriangleSoup& soup, const rcCompactHeightfield& chf)
{
    std::vector<Face> faces;
    for (size_t t = 0; t + 2 < soup.triangles.size(); t += 3) {
        Face f{};
        float* corners[3] = {f.a, f.b, f.c};
        for (int k = 0; k < 3; ++k)
            rcVcopy(corners[k], &soup.vertices[size_t(soup.triangles[t + k]) * 3]);
        const float normalY = (f.b[2] - f.a[2]) * (f.c[0] - f.a[0]) - (f.b[0] - f.a[0]) * (f.c[2] - f.a[2]);
        const bool outside = std::fmax(std::fmax(f.a[0], f.b[0]), f.c[0]) < chf.bmin[0] ||
                             std::fmin(std::fmin(f.a[0], f.b[0]), f.c[0]) > chf.bmax[0] ||
                             std::fmax(std::fmax(f.a[2], f.b[2]), f.c[2]) < chf.bmin[2] ||
                             std::fmin(std::fmin(f.a[2], f.b[2]), f.c[2]) > chf.bmax[2];
        if (normalY == 0.0f || outside)
            continue;
        f.facesUp = normalY > 0.0f;
        faces.push_back(f);
    }
    return faces;
}

// Height of `f` straight above or below (x, z), or false when (x, z) lies
// outside its footprint.
bool heightAt(const Face& f, float x, float z, float& height)
{
    const float d = (f.b[0] - f.a[0]) * (f.c[2] - f.a[2]) - (f.c[0] - f.a[0]) * (f.b[2] - f.a[2]);
    const float u = ((x - f.a[0]) * (f.c[2] - f.a[2]) - (f.c[0] - f.a[0]) * (z - f.a[2])) / d;
    const float v = ((f.b[0] - f.a[0]) * (z - f.a[2]) - (x - f.a[0]) * (f.b[2] - f.a[2])) / d;
    if (u < 0.0f || v < 0.0f || u + v > 1.0f)
        return false;
    height = f.a[1] + u * (f.b[1] - f.a[1]) + v * (f.c[1] - f.a[1]);
    return true;
}

bool enclosed(const std::vector<Face>& faces, float x, float y, float z)
{
    float nearest = std::numeric_limits<float>::max();
    bool facesUp = false;
    for (const Face& f : faces) {
        float height = 0.0f;
        if (heightAt(f, x, z, height) && height > y && height < nearest) {
            nearest = height;
            facesUp = f.facesUp;
        }
    }
    return facesUp;
}

} // namespace

void clearEnclosedFloor(const TriangleSoup& soup, rcCompactHeightfield& chf)
{
    const std::vector<Face> faces = facesOver(soup, chf);
    for (int row = 0; row < chf.height; ++row) {
        for (int column = 0; column < chf.width; ++column) {
            const rcCompactCell& cell = chf.cells[column + row * chf.width];
            const float x = chf.bmin[0] + (float(column) + 0.5f) * chf.cs;
            const float z = chf.bmin[2] + (float(row) + 0.5f) * chf.cs;
            for (unsigned i = cell.index, end = cell.index + cell.count; i < end; ++i) {
                const float y = chf.bmin[1] + float(chf.spans[i].y) * chf.ch;
                if (chf.areas[i] != RC_NULL_AREA && enclosed(faces, x, y, z))
                    chf.areas[i] = RC_NULL_AREA;
            }
        }
    }
}

} // namespace navmeshgen
