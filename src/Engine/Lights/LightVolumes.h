#pragma once
// Geometry of the light volumes: the cone around a spot light's beam and the
// nest of thin cones of its light shaft. Vertices are four floats (x, y, z, 1)
// in the light's own space, three per triangle, not indexed.
#include "Engine/Scene/Math.h"

#include <vector>

namespace lightvolume {

constexpr int floatsPerVertex = 4;
constexpr float fullTurn = 6.2831855f;      // radians
constexpr int volumeSegments = 36;          // rim points of a spot light's cone
constexpr int shaftSegments = 24;           // rim points of each shaft cone
constexpr int shaftConeCount = 9;
constexpr float shaftLengthFraction = 0.1f; // shaft length / cone length
constexpr float shaftRadiusDivisor = 14.0f; // shaft cone k has radius (r / 14) * (1 - k / 10), k = 1..9
constexpr float emptyBoxExtent = 1.0e6f;    // start of a vertex box: min 1e6, max -1e6

// Vertices a cone of `segments` rim points adds: n side triangles and a fan of
// n - 2 base triangles.
constexpr int coneVertexCount(int segments) { return 6 * segments - 6; }

// Appends a cone with its apex at the origin, opening along -Z (the light
// direction): rim points (r sin(i s), r cos(i s), -length), s = 2 pi / n.
// Every triangle runs counter-clockwise seen from outside the cone.
void appendCone(std::vector<float>& vertices, int segments, float radius, float length);
// The spot light volume: one cone of volumeSegments (210 vertices).
void buildSpotVolume(std::vector<float>& vertices, float radius, float length);
// The light shaft: shaftConeCount cones of length length / 10, widest first.
void buildShaft(std::vector<float>& vertices, float radius, float length);

// Box around the (x, y, z) of every vertex; (1e6, -1e6) for no vertices.
void vertexBounds(const std::vector<float>& vertices, Vec3& boxMin, Vec3& boxMax);
// Axis-aligned box around the eight corners of (boxMin, boxMax) moved by `matrix`.
void transformBox(const Mat4& matrix, Vec3 boxMin, Vec3 boxMax, Vec3& outMin, Vec3& outMax);

} // namespace lightvolume
