// Triangle meshes for content, built from primitives. Every triangle keeps
// its own three corners (position, normal, texture coordinate) and its
// surface; nothing is welded, so each corner later becomes its own control
// point and per-corner data lines up with control points. Winding is
// counter-clockwise seen from outside. Texture coordinates of flat faces are
// planar projections in metres divided by the surface's tile size, so a
// texture keeps its scale on big and small faces alike.
#pragma once

#include <vector>

#include "Fbx/Math.h"
#include "Surfaces.h"

namespace assetgen {

using fbx::Vec2;
using fbx::Vec3;

struct Corner {
  Vec3 position;
  Vec3 normal;  // unit length
  Vec2 uv;
};

struct Triangle {
  Corner corners[3];
  Surface surface = Surface::Concrete;
};

struct Bounds {
  Vec3 min{1e30, 1e30, 1e30};
  Vec3 max{-1e30, -1e30, -1e30};
  bool empty() const { return min.x > max.x; }
  void add(Vec3 p);
  Vec3 centre() const { return (min + max) * 0.5; }
  Vec3 size() const { return max - min; }
};

double dot(Vec3 a, Vec3 b);
Vec3 cross(Vec3 a, Vec3 b);
double length(Vec3 v);
Vec3 normalized(Vec3 v);  // (0, 0, 0) stays (0, 0, 0)

struct TriangleMesh {
  std::vector<Triangle> triangles;

  Bounds bounds() const;
  // Appends `other` with its positions moved by `transform` and its normals
  // turned by its rotation part (rigid transforms only).
  void append(const TriangleMesh& other, const fbx::Matrix4& transform = fbx::Matrix4());
  // Surfaces in order of first use: the material slots of the mesh.
  std::vector<Surface> surfaces() const;
};

// Default texture tile: one texture repeat per this many metres.
inline constexpr double kDefaultTileMetres = 2.0;

// A flat polygon of 3 or 4 corners (convex, in order around its edge). The
// winding is chosen so that the face looks towards `outward`.
void addFlatPolygon(TriangleMesh& mesh, const std::vector<Vec3>& corners, Vec3 outward, Surface surface,
                    double tileMetres = kDefaultTileMetres);

// Axis-aligned box: `side` on the four vertical faces, `top` on the top and
// bottom faces.
void addBox(TriangleMesh& mesh, Vec3 min, Vec3 max, Surface side, Surface top, double tileMetres = kDefaultTileMetres);
inline void addBox(TriangleMesh& mesh, Vec3 min, Vec3 max, Surface surface, double tileMetres = kDefaultTileMetres) {
  addBox(mesh, min, max, surface, surface, tileMetres);
}

// Wedge over the footprint [min.x, max.x] × [min.z, max.z]: its top slopes
// from height min.y at x = min.x up to max.y at x = max.x (a ramp rising
// towards +X). Rotate it with TriangleMesh::append for other directions.
void addRamp(TriangleMesh& mesh, Vec3 min, Vec3 max, Surface slope, Surface sides,
             double tileMetres = kDefaultTileMetres);

// Truncated cone along +Y from `base` (radius bottomRadius) to base + height
// (radius topRadius), smooth sides, flat caps (a cap of radius 0 is left out).
void addFrustum(TriangleMesh& mesh, Vec3 base, double bottomRadius, double topRadius, double height, int segments,
                Surface side, Surface caps, double tileMetres = kDefaultTileMetres);
inline void addCylinder(TriangleMesh& mesh, Vec3 base, double radius, double height, int segments, Surface side,
                        Surface caps, double tileMetres = kDefaultTileMetres) {
  addFrustum(mesh, base, radius, radius, height, segments, side, caps, tileMetres);
}

// Ellipsoid with smooth normals; texture coordinates wrap `uvRepeat` times
// around and once from pole to pole.
void addEllipsoid(TriangleMesh& mesh, Vec3 centre, Vec3 radii, int slices, int stacks, Surface surface,
                  double uvRepeat = 1.0);

// Rotation about +Y by `degrees`, then translation.
fbx::Matrix4 placeY(Vec3 translation, double degrees);

}  // namespace assetgen
