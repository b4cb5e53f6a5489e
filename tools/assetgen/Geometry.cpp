#include "Geometry.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegenerateArea = 1e-12;  // square metres (doubled area)

Vec2 planarUV(Vec3 p, Vec3 uAxis, Vec3 vAxis, double tile) { return {dot(p, uAxis) / tile, dot(p, vAxis) / tile}; }

// Texture axes for a flat face: v follows "up" on walls, -Z on floors, and
// u = v × n, so the texture is seen unmirrored from the front.
void faceAxes(Vec3 normal, Vec3& uAxis, Vec3& vAxis) {
  Vec3 up = std::fabs(normal.y) > 0.9 ? Vec3{0, 0, normal.y > 0 ? -1.0 : 1.0} : Vec3{0, 1, 0};
  vAxis = normalized(up - normal * dot(normal, up));
  uAxis = cross(vAxis, normal);
}

// Adds a triangle whose winding follows its corners' normals; drops
// triangles without area (the poles of spheres, zero-radius rims).
void addSmoothTriangle(TriangleMesh& mesh, Corner a, Corner b, Corner c, Surface surface) {
  const Vec3 faceNormal = cross(b.position - a.position, c.position - a.position);
  if (dot(faceNormal, faceNormal) < kDegenerateArea) return;
  if (dot(faceNormal, a.normal + b.normal + c.normal) < 0) std::swap(b, c);
  Triangle t;
  t.corners[0] = a;
  t.corners[1] = b;
  t.corners[2] = c;
  t.surface = surface;
  mesh.triangles.push_back(t);
}

}  // namespace

void Bounds::add(Vec3 p) {
  for (int i = 0; i < 3; ++i) {
    min[i] = std::min(min[i], p[i]);
    max[i] = std::max(max[i], p[i]);
  }
}

double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double length(Vec3 v) { return std::sqrt(dot(v, v)); }
Vec3 normalized(Vec3 v) {
  const double l = length(v);
  return l > 0 ? v * (1.0 / l) : v;
}

Bounds TriangleMesh::bounds() const {
  Bounds b;
  for (const Triangle& t : triangles) {
    for (const Corner& c : t.corners) b.add(c.position);
  }
  return b;
}

void TriangleMesh::append(const TriangleMesh& other, const fbx::Matrix4& transform) {
  const fbx::Matrix4 rotation = transform.rotationPart();
  for (Triangle t : other.triangles) {
    for (Corner& c : t.corners) {
      c.position = transform.transformPoint(c.position);
      c.normal = normalized(rotation.transformVector(c.normal));
    }
    triangles.push_back(t);
  }
}

std::vector<Surface> TriangleMesh::surfaces() const {
  std::vector<Surface> out;
  for (const Triangle& t : triangles) {
    if (std::find(out.begin(), out.end(), t.surface) == out.end()) out.push_back(t.surface);
  }
  return out;
}

void addFlatPolygon(TriangleMesh& mesh, const std::vector<Vec3>& corners, Vec3 outward, Surface surface,
                    double tileMetres) {
  if (corners.size() < 3) return;
  Vec3 normal = normalized(cross(corners[1] - corners[0], corners[2] - corners[0]));
  std::vector<Vec3> ordered = corners;
  if (dot(normal, outward) < 0) {
    std::reverse(ordered.begin(), ordered.end());
    normal = normal * -1.0;
  }
  Vec3 uAxis, vAxis;
  faceAxes(normal, uAxis, vAxis);
  auto corner = [&](Vec3 p) { return Corner{p, normal, planarUV(p, uAxis, vAxis, tileMetres)}; };
  for (size_t i = 1; i + 1 < ordered.size(); ++i) {
    addSmoothTriangle(mesh, corner(ordered[0]), corner(ordered[i]), corner(ordered[i + 1]), surface);
  }
}

void addBox(TriangleMesh& mesh, Vec3 min, Vec3 max, Surface side, Surface top, double tileMetres) {
  for (int axis = 0; axis < 3; ++axis) {
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;
    for (int sign : {-1, 1}) {
      std::vector<Vec3> quad(4);
      const double along[4][2] = {{min[a], min[b]}, {max[a], min[b]}, {max[a], max[b]}, {min[a], max[b]}};
      for (int i = 0; i < 4; ++i) {
        quad[i][axis] = sign > 0 ? max[axis] : min[axis];
        quad[i][a] = along[i][0];
        quad[i][b] = along[i][1];
      }
      Vec3 outward;
      outward[axis] = sign;
      addFlatPolygon(mesh, quad, outward, axis == 1 ? top : side, tileMetres);
    }
  }
}

void addRamp(TriangleMesh& mesh, Vec3 min, Vec3 max, Surface slope, Surface sides, double tileMetres) {
  const Vec3 lowNear{min.x, min.y, min.z}, lowFar{min.x, min.y, max.z};
  const Vec3 highNear{max.x, max.y, min.z}, highFar{max.x, max.y, max.z};
  const Vec3 footNear{max.x, min.y, min.z}, footFar{max.x, min.y, max.z};
  addFlatPolygon(mesh, {lowNear, lowFar, highFar, highNear}, {-(max.y - min.y), max.x - min.x, 0}, slope, tileMetres);
  addFlatPolygon(mesh, {highNear, highFar, footFar, footNear}, {1, 0, 0}, sides, tileMetres);
  addFlatPolygon(mesh, {lowNear, lowFar, footFar, footNear}, {0, -1, 0}, sides, tileMetres);
  addFlatPolygon(mesh, {lowNear, highNear, footNear}, {0, 0, -1}, sides, tileMetres);
  addFlatPolygon(mesh, {lowFar, highFar, footFar}, {0, 0, 1}, sides, tileMetres);
}

void addFrustum(TriangleMesh& mesh, Vec3 base, double bottomRadius, double topRadius, double height, int segments,
                Surface side, Surface caps, double tileMetres) {
  const double slant = height > 0 ? (bottomRadius - topRadius) / height : 0;
  const double circumference = 2 * kPi * std::max(bottomRadius, topRadius);
  auto rim = [&](int i, double y, double radius) {
    const double angle = 2 * kPi * i / segments;
    const Vec3 direction{std::cos(angle), 0, std::sin(angle)};
    return Corner{base + direction * radius + Vec3{0, y, 0}, normalized(Vec3{direction.x, slant, direction.z}),
                  {circumference * i / segments / tileMetres, y / tileMetres}};
  };
  for (int i = 0; i < segments; ++i) {
    const Corner b0 = rim(i, 0, bottomRadius), b1 = rim(i + 1, 0, bottomRadius);
    const Corner t0 = rim(i, height, topRadius), t1 = rim(i + 1, height, topRadius);
    addSmoothTriangle(mesh, b0, t1, b1, side);
    addSmoothTriangle(mesh, b0, t0, t1, side);
    if (bottomRadius > 0) addFlatPolygon(mesh, {base, b0.position, b1.position}, {0, -1, 0}, caps, tileMetres);
    if (topRadius > 0) {
      addFlatPolygon(mesh, {base + Vec3{0, height, 0}, t0.position, t1.position}, {0, 1, 0}, caps, tileMetres);
    }
  }
}

void addEllipsoid(TriangleMesh& mesh, Vec3 centre, Vec3 radii, int slices, int stacks, Surface surface,
                  double uvRepeat) {
  auto point = [&](int i, int j) {
    const double theta = 2 * kPi * i / slices, phi = kPi * j / stacks;
    const Vec3 offset{radii.x * std::sin(phi) * std::cos(theta), -radii.y * std::cos(phi),
                      radii.z * std::sin(phi) * std::sin(theta)};
    const Vec3 normal = normalized(
        Vec3{offset.x / (radii.x * radii.x), offset.y / (radii.y * radii.y), offset.z / (radii.z * radii.z)});
    return Corner{centre + offset, normal, {uvRepeat * i / slices, static_cast<double>(j) / stacks}};
  };
  for (int j = 0; j < stacks; ++j) {
    for (int i = 0; i < slices; ++i) {
      const Corner a = point(i, j), b = point(i + 1, j), c = point(i + 1, j + 1), d = point(i, j + 1);
      addSmoothTriangle(mesh, a, b, c, surface);
      addSmoothTriangle(mesh, a, c, d, surface);
    }
  }
}

fbx::Matrix4 placeY(Vec3 translation, double degrees) {
  return fbx::Matrix4::translation(translation) * fbx::Matrix4::rotation({0, degrees, 0});
}

}  // namespace assetgen
