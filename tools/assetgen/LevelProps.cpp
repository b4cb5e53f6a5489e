// Things to fight around: pillars, low cover, crates and cloth banners.
// Positions are hand-placed so that doorways, spawn pads and the level
// centre stay free; only crate sizes and turns come from the seeded random.
#include <cstdio>

#include "LevelDesign.h"
#include "Noise.h"

namespace assetgen {
namespace {

constexpr uint64_t kCrateSeed = 0x5EED0C4A7E5ULL;
constexpr int kPillarSegments = 20;
constexpr double kCoverHeight = 1.1;  // metres: waist-high
constexpr double kCrateMinSize = 1.0, kCrateMaxSize = 1.6;  // metres

struct Pillar {
  const char* group;
  double x, z, radius, height;
};

const Pillar kPillars[] = {
    {"Courtyard", -10, -10, 0.9, 6}, {"Courtyard", 10, -10, 0.9, 6}, {"Courtyard", -10, 10, 0.9, 6},
    {"Courtyard", 10, 10, 0.9, 6},   {"Hall", 27, -44, 0.7, 8},      {"Hall", 43, -44, 0.7, 8},
    {"Hall", 27, -35, 0.7, 8},       {"Hall", 43, -35, 0.7, 8},      {"Hall", 27, -26, 0.7, 8},
    {"Hall", 43, -26, 0.7, 8},       {"Armory", -35, -42, 0.6, 5},   {"Armory", -35, -28, 0.6, 5},
};

// Low cover: x, z, half size x, half size z.
struct Cover {
  const char* group;
  double x, z, halfX, halfZ;
};

const Cover kCover[] = {
    {"Courtyard", 0, -16, 2.5, 0.35},  {"Courtyard", 0, 16, 2.5, 0.35},   {"Courtyard", -16, 0, 0.35, 2.5},
    {"Courtyard", 16, 0, 0.35, 2.5},   {"Courtyard", -22, -8, 1.5, 0.35}, {"Courtyard", 22, 8, 1.5, 0.35},
    {"Courtyard", 8, -25, 0.35, 2.0},  {"Courtyard", -8, 25, 0.35, 2.0},  {"Yard", 25, 50, 2.0, 0.35},
    {"Yard", 52, 20, 0.35, 2.0},       {"Outskirts", -52, 0, 0.35, 3.0},  {"Outskirts", 0, 52, 3.0, 0.35},
    {"Outskirts", 52, -10, 0.35, 3.0}, {"Armory", -44, -35, 0.35, 2.5},  {"Outskirts", 40, 5, 2.0, 0.35},
    {"Outskirts", 45, 15, 0.35, 2.0},  {"Outskirts", -10, 40, 2.5, 0.35}, {"Outskirts", 10, 44, 0.35, 2.5},
    {"Outskirts", 35, -5, 0.35, 2.5},  {"Outskirts", -8, -48, 2.5, 0.35}, {"Outskirts", 8, -54, 2.5, 0.35},
};

// Crates: x, z, how many stacked and the floor height they stand on.
struct Crate {
  const char* group;
  double x, z;
  int stack;
  double floor = 0;
};

const Crate kCrates[] = {
    {"Courtyard", -5, -8, 1},  {"Courtyard", 6, 7, 2},     {"Courtyard", -18, 14, 1},  {"Courtyard", 19, -16, 2},
    {"Courtyard", -6, 21, 1},  {"Courtyard", 12, 24, 1},   {"Courtyard", -24, -14, 1}, {"Courtyard", 24, -4, 1},
    {"Courtyard", 3, -22, 1},  {"Courtyard", -13, -24, 2}, {"Storage", -45, 25, 2},    {"Storage", -42, 25, 1},
    {"Storage", -45, 28.5, 1}, {"Storage", -26, 25, 2},    {"Storage", -26, 45, 1},    {"Storage", -44, 46, 2},
    {"Storage", -34, 41, 1},   {"Hall", 47, -47, 2},       {"Hall", 23, -47, 1},       {"Hall", 47, -23, 1},
    {"Armory", -47, -23, 1},   {"Yard", 46, 46, 1, kPlatformHeight}, {"Yard", 33, 47, 1, kPlatformHeight},        {"Yard", 26, 28, 2},
    {"Outskirts", 53, 53, 2},  {"Outskirts", -53, 53, 1},  {"Outskirts", 53, -53, 1},  {"Outskirts", -53, -6, 1},
    {"Outskirts", 30, 55, 1},  {"Outskirts", -15, 54, 2},  {"Outskirts", 15, -45, 1},  {"Outskirts", -15, -54, 2},
    {"Outskirts", 42, 10, 1},  {"Outskirts", -5, 45, 1},
};

// Cloth banners hung on the outside of room walls, facing the open ground.
struct Banner {
  const char* group;
  Vec3 min, max;
};

const Banner kBanners[] = {
    {"Armory", {-29, 1.2, -20.0}, {-27, 4.5, -19.9}},  {"Armory", {-20.0, 1.2, -29}, {-19.9, 4.5, -27}},
    {"Hall", {26, 2.0, -20.0}, {28, 6.5, -19.9}},      {"Hall", {42, 2.0, -20.0}, {44, 6.5, -19.9}},
    {"Storage", {-29, 1.0, 19.9}, {-27, 3.6, 20.0}},   {"Storage", {-20.0, 1.0, 26}, {-19.9, 3.6, 28}},
};

std::string numbered(const char* prefix, int n) {
  char name[48];
  std::snprintf(name, sizeof name, "%s%02d", prefix, n);
  return name;
}

}  // namespace

void buildProps(LevelBuilder& b) {
  int n = 0;
  for (const Pillar& p : kPillars) {
    TriangleMesh& mesh = b.piece(p.group, numbered("Pillar", ++n));
    addBox(mesh, {p.x - p.radius - 0.3, 0, p.z - p.radius - 0.3}, {p.x + p.radius + 0.3, 0.4, p.z + p.radius + 0.3},
           Surface::MetalPlates, Surface::MetalPlates);
    addCylinder(mesh, {p.x, 0.4, p.z}, p.radius, p.height - 0.4, kPillarSegments, Surface::Concrete, Surface::Gunmetal);
  }
  n = 0;
  for (const Cover& c : kCover) {
    b.box(c.group, numbered("Cover", ++n), {c.x - c.halfX, 0, c.z - c.halfZ}, {c.x + c.halfX, kCoverHeight, c.z + c.halfZ},
          Surface::Concrete, Surface::Gunmetal);
  }
  Random random(kCrateSeed);
  n = 0;
  for (const Crate& c : kCrates) {
    double base = c.floor;
    for (int level = 0; level < c.stack; ++level) {
      const double size = random.range(kCrateMinSize, kCrateMaxSize) * (level ? 0.8 : 1.0);
      const double turn = random.range(-30, 30);
      TriangleMesh crate;
      addBox(crate, {-size / 2, 0, -size / 2}, {size / 2, size, size / 2}, Surface::Wood, Surface::Wood, 1.0);
      b.piece(c.group, numbered("Crate", ++n)).append(crate, placeY({c.x, base, c.z}, turn));
      base += size;
    }
  }
  n = 0;
  for (const Banner& banner : kBanners) {
    b.box(banner.group, numbered("Banner", ++n), banner.min, banner.max, Surface::Cloth, Surface::Cloth);
  }
}

}  // namespace assetgen
