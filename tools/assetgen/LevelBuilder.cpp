#include <algorithm>

#include "LevelDesign.h"

namespace assetgen {

TriangleMesh& LevelBuilder::piece(const std::string& group, const std::string& name, bool walkableTop) {
  design_.pieces.push_back(Piece{group, name, {}, walkableTop});
  return design_.pieces.back().mesh;
}

void LevelBuilder::box(const std::string& group, const std::string& name, Vec3 min, Vec3 max, Surface side,
                       Surface top, bool walkableTop) {
  addBox(piece(group, name, walkableTop), min, max, side, top);
}

void LevelBuilder::wall(const std::string& group, const std::string& name, int axis, double from, double to,
                        double across0, double across1, double height, std::vector<Opening> openings, Surface side,
                        Surface top) {
  const int acrossAxis = axis == 0 ? 2 : 0;
  int count = 0;
  auto segment = [&](double a, double b, double bottom, double topHeight) {
    if (b - a <= 0 || topHeight - bottom <= 0) return;
    Vec3 min, max;
    min[axis] = a;
    max[axis] = b;
    min[acrossAxis] = across0;
    max[acrossAxis] = across1;
    min.y = bottom;
    max.y = topHeight;
    box(group, name + std::to_string(++count), min, max, side, top);
  };
  std::sort(openings.begin(), openings.end(), [](const Opening& a, const Opening& b) { return a.from < b.from; });
  double cursor = from;
  for (const Opening& o : openings) {
    segment(cursor, o.from, 0, height);
    segment(o.from, o.to, o.height, height);
    cursor = o.to;
  }
  segment(cursor, to, 0, height);
}

LevelDesign designLevel() {
  LevelDesign design;
  LevelBuilder builder(design);
  buildStructure(builder);
  buildProps(builder);
  placeSpawnPads(design);
  placeLights(design);
  planCameraFlight(design);
  return design;
}

}  // namespace assetgen
