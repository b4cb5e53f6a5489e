// The level's fixed structure: ground, outer walls, rooms, corridors and the
// raised platform with its ramp and stair.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "LevelDesign.h"

namespace assetgen {
namespace {

constexpr double kTileSize = 10.0;         // metres per ground tile
constexpr double kGroundDepth = 0.5;       // metres below the floor
constexpr double kOuterWallHeight = 8.0;   // metres
constexpr double kOuterWallThickness = 1.0;
constexpr double kOuterWallSegment = 20.0;  // metres per outer wall piece
constexpr double kRoomWallThickness = 0.5;
constexpr double kRoofThickness = 0.4;
constexpr double kDoorHeight = 3.0;
constexpr double kCorridorHeight = 3.5;
constexpr double kStepHeight = 0.25;  // metres per stair step

struct Rect {
  double x0, z0, x1, z1;
  bool contains(double x, double z) const { return x > x0 && x < x1 && z > z0 && z < z1; }
};

// A roofed room: doors are openings along one side, in level coordinates.
struct Room {
  const char* name;
  Rect area;
  double ceiling;
  Surface floor, walls;
  std::vector<LevelBuilder::Opening> north, south, west, east;
};

const std::vector<Room>& rooms() {
  static const std::vector<Room> list = {
      {"Armory", {-50, -50, -20, -20}, 5.0, Surface::MetalPlates, Surface::Brick,
       {}, {{-37.5, -33.5, kDoorHeight}}, {}, {{-37.5, -33.5, kDoorHeight}}},
      {"Hall", {20, -50, 50, -20}, 8.0, Surface::Wood, Surface::MetalPlates,
       {}, {{33, 37, kDoorHeight}}, {{-37.5, -33.5, kDoorHeight}}, {}},
      {"Storage", {-50, 20, -20, 50}, 4.0, Surface::Concrete, Surface::Brick,
       {{-37.5, -33.5, kDoorHeight}}, {}, {}, {{33, 37, kDoorHeight}}},
  };
  return list;
}

void buildGround(LevelBuilder& b) {
  const int tiles = static_cast<int>(2 * kArenaHalfSize / kTileSize);
  for (int row = 0; row < tiles; ++row) {
    for (int column = 0; column < tiles; ++column) {
      const double x0 = -kArenaHalfSize + column * kTileSize, z0 = -kArenaHalfSize + row * kTileSize;
      Surface top = Surface::Concrete;
      for (const Room& room : rooms()) {
        if (room.area.contains(x0 + kTileSize / 2, z0 + kTileSize / 2)) top = room.floor;
      }
      char name[32];
      std::snprintf(name, sizeof name, "Ground_%02d_%02d", row, column);
      b.box("Ground", name, {x0, -kGroundDepth, z0}, {x0 + kTileSize, 0, z0 + kTileSize}, Surface::Concrete, top,
            true);
    }
  }
}

void buildOuterWalls(LevelBuilder& b) {
  const double h = kArenaHalfSize, t = kOuterWallThickness;
  const int segments = static_cast<int>(2 * h / kOuterWallSegment);
  for (int i = 0; i < segments; ++i) {
    const double a = -h + i * kOuterWallSegment, c = a + kOuterWallSegment;
    const std::string n = std::to_string(i + 1);
    const Surface s = Surface::Brick, top = Surface::Concrete;
    b.box("OuterWalls", "OuterWallNorth" + n, {a, 0, -h}, {c, kOuterWallHeight, -h + t}, s, top);
    b.box("OuterWalls", "OuterWallSouth" + n, {a, 0, h - t}, {c, kOuterWallHeight, h}, s, top);
    b.box("OuterWalls", "OuterWallWest" + n, {-h, 0, std::max(a, -h + t)}, {-h + t, kOuterWallHeight, std::min(c, h - t)},
          s, top);
    b.box("OuterWalls", "OuterWallEast" + n, {h - t, 0, std::max(a, -h + t)},
          {h, kOuterWallHeight, std::min(c, h - t)}, s, top);
  }
}

void buildRoom(LevelBuilder& b, const Room& r) {
  const std::string name = r.name, group = name;
  const double t = kRoomWallThickness;
  const Rect& a = r.area;
  b.wall(group, name + "WallNorth", 0, a.x0, a.x1, a.z0, a.z0 + t, r.ceiling, r.north, r.walls, Surface::Concrete);
  b.wall(group, name + "WallSouth", 0, a.x0, a.x1, a.z1 - t, a.z1, r.ceiling, r.south, r.walls, Surface::Concrete);
  b.wall(group, name + "WallWest", 2, a.z0 + t, a.z1 - t, a.x0, a.x0 + t, r.ceiling, r.west, r.walls, Surface::Concrete);
  b.wall(group, name + "WallEast", 2, a.z0 + t, a.z1 - t, a.x1 - t, a.x1, r.ceiling, r.east, r.walls, Surface::Concrete);
  b.box(group, name + "Roof", {a.x0, r.ceiling, a.z0}, {a.x1, r.ceiling + kRoofThickness, a.z1}, Surface::Concrete,
        Surface::MetalPlates);
}

// Two parallel walls and a roof between the Armory and its neighbours; each
// corridor opens to the courtyard in its middle.
void buildCorridors(LevelBuilder& b) {
  const double t = kRoomWallThickness;
  const std::vector<LevelBuilder::Opening> middle = {{-3, 3, kCorridorHeight}};
  const Surface walls = Surface::Concrete, top = Surface::MetalPlates;
  b.wall("CorridorNorth", "CorridorNorthWallOuter", 0, -20, 20, -38.5, -38.5 + t, kCorridorHeight, {}, walls, top);
  b.wall("CorridorNorth", "CorridorNorthWallInner", 0, -20, 20, -33, -33 + t, kCorridorHeight, middle, walls, top);
  b.box("CorridorNorth", "CorridorNorthRoof", {-20, kCorridorHeight, -38.5}, {20, kCorridorHeight + kRoofThickness, -32.5},
        Surface::Concrete, Surface::MetalPlates);
  b.wall("CorridorWest", "CorridorWestWallOuter", 2, -20, 20, -38.5, -38.5 + t, kCorridorHeight, {}, walls, top);
  b.wall("CorridorWest", "CorridorWestWallInner", 2, -20, 20, -33, -33 + t, kCorridorHeight, middle, walls, top);
  b.box("CorridorWest", "CorridorWestRoof", {-38.5, kCorridorHeight, -20}, {-32.5, kCorridorHeight + kRoofThickness, 20},
        Surface::Concrete, Surface::MetalPlates);
}

// The yard's raised platform, a ramp rising towards it from the west and a
// stair climbing to it from the north.
void buildPlatform(LevelBuilder& b) {
  b.box("Yard", "Platform", {30, 0, 30}, {50, kPlatformHeight, 50}, Surface::Brick, Surface::MetalPlates, true);
  addRamp(b.piece("Yard", "PlatformRamp", true), {18, 0, 36}, {30, kPlatformHeight, 44}, Surface::Concrete,
          Surface::Brick);
  TriangleMesh& stair = b.piece("Yard", "PlatformStair", true);
  const int steps = static_cast<int>(std::lround(kPlatformHeight / kStepHeight));
  const double z0 = 22, z1 = 30, depth = (z1 - z0) / steps;
  for (int k = 0; k < steps; ++k) {
    addBox(stair, {40, 0, z0 + k * depth}, {46, (k + 1) * kStepHeight, z0 + (k + 1) * depth}, Surface::Brick,
           Surface::Concrete);
  }
}

}  // namespace

void buildStructure(LevelBuilder& builder) {
  buildGround(builder);
  buildOuterWalls(builder);
  for (const Room& room : rooms()) buildRoom(builder, room);
  buildCorridors(builder);
  buildPlatform(builder);
}

}  // namespace assetgen
