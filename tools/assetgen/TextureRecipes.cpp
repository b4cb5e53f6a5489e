#include "TextureRecipes.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"

namespace assetgen {
namespace {

constexpr double kPi = 3.14159265358979323846;

double clamp01(double x) { return std::clamp(x, 0.0, 1.0); }
double frac(double x) { return x - std::floor(x); }
double mix(double a, double b, double t) { return a + (b - a) * t; }
// 0 at `edge0`, 1 at `edge1`, smooth in between.
double smoothstep(double edge0, double edge1, double x) {
  const double t = clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

Texel colour(double r, double g, double b, double shade, double height) {
  return {clamp01(r * shade), clamp01(g * shade), clamp01(b * shade), clamp01(height)};
}

Texel blend(const Texel& a, const Texel& b, double t) {
  return {mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t), mix(a.height, b.height, t)};
}

// Thin lines where a noise field crosses its mid value: cracks and scratches.
double ridgeLine(double u, double v, int cells, uint32_t seed, double width) {
  const double n = tileableFbm(u, v, cells, 3, seed);
  return 1.0 - smoothstep(0.0, width, std::fabs(n - 0.5));
}

}  // namespace

namespace recipes {

Texel concrete(double u, double v) {
  const double broad = tileableFbm(u, v, 6, 5, 11);
  const double fine = tileableFbm(u, v, 64, 2, 12);
  const double pit = smoothstep(0.80, 0.92, tileableNoise(u, v, 96, 13));
  const double stain = smoothstep(0.55, 0.75, tileableFbm(u, v, 3, 3, 14));
  const double shade = (0.78 + 0.35 * (broad - 0.5) + 0.2 * (fine - 0.5)) * (1.0 - 0.35 * pit) * (1.0 - 0.2 * stain);
  return colour(0.62, 0.61, 0.58, shade, 0.55 + 0.3 * (broad - 0.5) + 0.2 * (fine - 0.5) - 0.35 * pit);
}

Texel brick(double u, double v) {
  constexpr int kRows = 8, kColumns = 4;
  constexpr double kMortarY = 0.07, kMortarX = 0.035;  // fraction of a brick's height / width
  const double y = v * kRows;
  const int row = static_cast<int>(std::floor(y));
  const double x = u * kColumns + ((row & 1) ? 0.5 : 0.0);
  const int column = static_cast<int>(std::floor(x)) % kColumns;
  const double fx = frac(x), fy = y - row;
  const double edge = std::min(std::min(fx, 1 - fx) / kMortarX, std::min(fy, 1 - fy) / kMortarY);
  const double brickness = smoothstep(1.0, 1.8, edge);
  const double grain = tileableFbm(u, v, 16, 4, 21);
  const double tint = latticeValue(column, row, 22);
  const Texel mortar = colour(0.58, 0.56, 0.52, 0.8 + 0.4 * grain, 0.15 + 0.1 * grain);
  const Texel body = colour(0.50 + 0.15 * tint, 0.22 + 0.06 * tint, 0.15 + 0.03 * latticeValue(column, row, 23),
                            0.9 + 0.45 * (grain - 0.5), 0.75 + 0.25 * (grain - 0.5));
  return blend(mortar, body, brickness);
}

Texel metalPlates(double u, double v) {
  constexpr int kPlates = 2;
  constexpr double kSeam = 0.012, kRivetInset = 0.07, kRivetRadius = 0.022;
  const double fx = frac(u * kPlates), fy = frac(v * kPlates);
  const double seam = 1.0 - smoothstep(0.0, kSeam, std::min(std::min(fx, 1 - fx), std::min(fy, 1 - fy)));
  double rivet = 0;
  for (double cx : {kRivetInset, 0.5, 1 - kRivetInset}) {
    for (double cy : {kRivetInset, 0.5, 1 - kRivetInset}) {
      if (cx == 0.5 && cy == 0.5) continue;
      const double d = std::hypot(fx - cx, fy - cy) / kRivetRadius;
      if (d < 1) rivet = std::max(rivet, std::sqrt(1 - d * d));
    }
  }
  const double brushed = tileableFbm(u, v, 128, 2, 31);
  const double dents = tileableFbm(u, v, 8, 4, 32);
  const double rust = smoothstep(0.6, 0.75, tileableFbm(u, v, 4, 5, 33));
  const Texel steel = colour(0.56, 0.58, 0.62, 0.7 + 0.3 * brushed + 0.15 * (dents - 0.5) + 0.1 * rivet,
                             0.6 + 0.15 * (dents - 0.5) + 0.05 * brushed + 0.3 * rivet);
  const Texel rusty = colour(0.45, 0.25, 0.12, 0.8 + 0.4 * brushed, steel.height - 0.05);
  Texel t = blend(steel, rusty, rust * 0.8);
  t = blend(t, colour(0.1, 0.1, 0.11, 1, 0.1), seam);
  return t;
}

Texel wood(double u, double v) {
  constexpr int kPlanks = 4;
  constexpr double kSeam = 0.025;
  const double x = u * kPlanks;
  const int plank = static_cast<int>(std::floor(x));
  const double fx = x - plank;
  const double offset = latticeValue(plank, 0, 41);
  const double joint = frac(v + offset);
  const double warp = tileableFbm(u, v, 4, 4, 42 + static_cast<uint32_t>(plank));
  const double rings = 0.5 + 0.5 * std::sin(2 * kPi * (fx * 3 + warp * 5 + offset * 7));
  const double fibre = tileableFbm(u, v, 128, 2, 43);
  const double seam = 1.0 - smoothstep(0.0, kSeam, std::min(std::min(fx, 1 - fx), std::min(joint, 1 - joint) * 4));
  const double shade = 0.85 + 0.3 * latticeValue(plank, 1, 44) + 0.2 * (fibre - 0.5);
  Texel t = blend(colour(0.58, 0.38, 0.2, shade, 0.7), colour(0.36, 0.21, 0.1, shade, 0.55), rings * 0.7);
  t.height += 0.1 * (fibre - 0.5);
  return blend(t, colour(0.12, 0.07, 0.04, 1, 0.1), seam);
}

Texel bone(double u, double v) {
  const double broad = tileableFbm(u, v, 4, 5, 51);
  const double pores = smoothstep(0.78, 0.9, tileableNoise(u, v, 160, 52));
  const double crack = ridgeLine(u, v, 6, 53, 0.012);
  const double shade = (0.85 + 0.3 * (broad - 0.5)) * (1 - 0.3 * pores) * (1 - 0.5 * crack);
  return colour(0.72, 0.68, 0.57, shade, 0.6 + 0.25 * (broad - 0.5) - 0.3 * pores - 0.4 * crack);
}

Texel cloth(double u, double v) {
  constexpr int kThreads = 64;
  const double tx = u * kThreads, ty = v * kThreads;
  const int cx = static_cast<int>(std::floor(tx)), cy = static_cast<int>(std::floor(ty));
  const bool warpOnTop = ((cx + cy) & 1) != 0;
  const double profile = warpOnTop ? std::sin(kPi * (tx - cx)) : std::sin(kPi * (ty - cy));
  const double fuzz = tileableFbm(u, v, 32, 4, 61);
  const double wear = tileableFbm(u, v, 4, 4, 62);
  const double shade = (0.7 + 0.35 * profile) * (0.85 + 0.3 * (fuzz - 0.5)) * (0.85 + 0.3 * wear);
  const double red = warpOnTop ? 0.50 : 0.42;
  return colour(red, 0.11, 0.10, shade, 0.3 + 0.6 * profile + 0.1 * (fuzz - 0.5));
}

Texel gunmetal(double u, double v) {
  const double broad = tileableFbm(u, v, 8, 5, 71);
  const double grain = tileableFbm(u, v, 128, 2, 72);
  const double scratch = std::max(ridgeLine(u, v, 24, 73, 0.006), ridgeLine(u, v, 40, 74, 0.004));
  const double shade = 0.85 + 0.3 * (broad - 0.5) + 0.1 * (grain - 0.5) + 0.9 * scratch;
  return colour(0.21, 0.23, 0.26, shade, 0.6 + 0.1 * (broad - 0.5) - 0.25 * scratch);
}

Texel flame(double u, double v) {
  const double dx = u - 0.5, dy = v - 0.5;
  const double distance = 2 * std::hypot(dx, dy);
  const double turbulence = tileableFbm(u, v, 6, 5, 81);
  const double heat = clamp01(1.0 - distance * (0.75 + 0.7 * turbulence));
  return {clamp01(heat * 3), clamp01(heat * 3 - 1), clamp01(heat * 3 - 2), heat};
}

}  // namespace recipes
}  // namespace assetgen
