#include "Engine/Lights/LightVolumes.h"

#include <cmath>

namespace lightvolume {

namespace {

void appendPoint(std::vector<float>& vertices, Vec3 p)
{
    vertices.insert(vertices.end(), {p.x, p.y, p.z, 1.0f});
}

} // namespace

void appendCone(std::vector<float>& vertices, int segments, float radius, float length)
{
    if (segments < 3)
        return;
    const float step = fullTurn / static_cast<float>(segments);
    auto rim = [&](int i) {
        float angle = static_cast<float>(i % segments) * step;
        return Vec3{radius * std::sin(angle), radius * std::cos(angle), -length};
    };
    const Vec3 apex{0.0f, 0.0f, 0.0f};
    vertices.reserve(vertices.size() + static_cast<size_t>(coneVertexCount(segments) * floatsPerVertex));
    for (int i = 0; i < segments; ++i) {
        appendPoint(vertices, apex);
        appendPoint(vertices, rim(i + 1));
        appendPoint(vertices, rim(i));
    }
    for (int k = 2; k < segments; ++k) {
        appendPoint(vertices, rim(0));
        appendPoint(vertices, rim(k - 1));
        appendPoint(vertices, rim(k));
    }
}

void buildSpotVolume(std::vector<float>& vertices, float radius, float length)
{
    vertices.clear();
    appendCone(vertices, volumeSegments, radius, length);
}

void buildShaft(std::vector<float>& vertices, float radius, float length)
{
    vertices.clear();
    const float widest = radius / shaftRadiusDivisor;
    for (int k = 1; k <= shaftConeCount; ++k) {
        float shrink = 1.0f - static_cast<float>(k) / 10.0f;
        appendCone(vertices, shaftSegments, widest * shrink, length * shaftLengthFraction);
    }
}

void vertexBounds(const std::vector<float>& vertices, Vec3& boxMin, Vec3& boxMax)
{
    boxMin = {emptyBoxExtent, emptyBoxExtent, emptyBoxExtent};
    boxMax = {-emptyBoxExtent, -emptyBoxExtent, -emptyBoxExtent};
    for (size_t i = 0; i + 2 < vertices.size(); i += floatsPerVertex) {
        Vec3 p{vertices[i], vertices[i + 1], vertices[i + 2]};
        boxMin = componentMin(boxMin, p);
        boxMax = componentMax(boxMax, p);
    }
}

void transformBox(const Mat4& matrix, Vec3 boxMin, Vec3 boxMax, Vec3& outMin, Vec3& outMax)
{
    for (int corner = 0; corner < 8; ++corner) {
        Vec3 p{(corner & 1) ? boxMax.x : boxMin.x, (corner & 2) ? boxMax.y : boxMin.y,
               (corner & 4) ? boxMax.z : boxMin.z};
        Vec3 q = matrix.transformPoint(p);
        outMin = corner == 0 ? q : componentMin(outMin, q);
        outMax = corner == 0 ? q : componentMax(outMax, q);
    }
}

} // namespace lightvolume
