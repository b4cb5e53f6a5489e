// The level "testlevel.fbx" as plain data: an arena of 120 × 120 m
// (1 unit = 1 m, Y up, centred on the origin) with outer walls, three roofed
// rooms joined by corridors, an open courtyard, a yard with a raised
// platform reached by a ramp and a stair, pillars, crates and low cover;
// lights, spawn pads and an overview camera path. Everything here is
// geometry in level space; LevelScene turns it into an FBX scene.
#pragma once

#include <string>
#include <vector>

#include "Fbx/Scene.h"
#include "Geometry.h"
#include "SceneAssembly.h"

namespace assetgen {

inline constexpr double kArenaHalfSize = 60.0;  // metres from the centre to the outer wall's outside
inline constexpr double kPlatformHeight = 3.0;  // metres, the raised platform's top

struct Piece {
  std::string group;  // the group node it belongs to
  std::string name;   // node name, unique in the level
  TriangleMesh mesh;
  bool walkableTop = false;  // its top is floor that characters walk on
};

struct LevelLight {
  std::string name;
  fbx::LightType type = fbx::LightType::Point;
  Vec3 position;
  Vec3 rotation;  // degrees; a spot light shines along its local -Z
  Vec3 colour;
  double hotSpot = 0, coneAngle = 0;  // degrees (spot lights)
};

struct LevelDesign {
  std::vector<Piece> pieces;     // level geometry, grouped by Piece::group
  std::vector<Piece> spawnPads;  // small pads standing on walkable floor
  std::vector<LevelLight> lights;
  std::vector<VectorKey> cameraPath;  // overview camera position over time
  std::vector<VectorKey> cameraSway;  // small additive offset on the path
  Vec3 cameraTarget;                  // where the overview camera looks
  double flyoverSeconds = 0;          // length of one loop of the path
};

// Adds pieces to a design, with helpers for walls that have openings.
class LevelBuilder {
 public:
  explicit LevelBuilder(LevelDesign& design) : design_(design) {}

  TriangleMesh& piece(const std::string& group, const std::string& name, bool walkableTop = false);
  void box(const std::string& group, const std::string& name, Vec3 min, Vec3 max, Surface side, Surface top,
           bool walkableTop = false);

  // An opening in a wall: from/to along the wall, up to `height`.
  struct Opening {
    double from, to, height;
  };
  // A wall running along X (axis 0) or Z (axis 2) from `from` to `to`,
  // occupying [across0, across1] on the other horizontal axis, `height` tall.
  // Openings split it into pieces named name1, name2, ... with lintels above
  // openings lower than the wall.
  void wall(const std::string& group, const std::string& name, int axis, double from, double to, double across0,
            double across1, double height, std::vector<Opening> openings, Surface side, Surface top);

 private:
  LevelDesign& design_;
};

void buildStructure(LevelBuilder& builder);  // ground, outer walls, rooms, corridors, platform
void buildProps(LevelBuilder& builder);      // pillars, cover, crates, banners
void placeSpawnPads(LevelDesign& design);
void placeLights(LevelDesign& design);
void planCameraFlight(LevelDesign& design);

LevelDesign designLevel();

}  // namespace assetgen
