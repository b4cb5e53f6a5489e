#include "Noise.h"

#include <cmath>

namespace assetgen {

uint64_t Random::next() {
  state_ += 0x9E3779B97F4A7C15ULL;
  uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

double Random::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

int Random::below(int count) { return count <= 0 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(count)); }

double latticeValue(int x, int y, uint32_t seed) {
  uint32_t h = seed * 0x27D4EB2Du;
  h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return static_cast<double>(h) / 4294967296.0;
}

namespace {

int wrap(int i, int period) {
  const int r = i % period;
  return r < 0 ? r + period : r;
}

double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

}  // namespace

double tileableNoise(double u, double v, int cells, uint32_t seed) {
  const double x = u * cells, y = v * cells;
  const double fx = std::floor(x), fy = std::floor(y);
  const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
  const double tx = smooth(x - fx), ty = smooth(y - fy);
  const double a = latticeValue(wrap(x0, cells), wrap(y0, cells), seed);
  const double b = latticeValue(wrap(x0 + 1, cells), wrap(y0, cells), seed);
  const double c = latticeValue(wrap(x0, cells), wrap(y0 + 1, cells), seed);
  const double d = latticeValue(wrap(x0 + 1, cells), wrap(y0 + 1, cells), seed);
  const double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double tileableFbm(double u, double v, int baseCells, int octaves, uint32_t seed) {
  double sum = 0, amplitude = 0.5, total = 0;
  int cells = baseCells;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * tileableNoise(u, v, cells, seed + static_cast<uint32_t>(i) * 1013u);
    total += amplitude;
    amplitude *= 0.5;
    cells *= 2;
  }
  return total > 0 ? sum / total : 0;
}

}  // namespace assetgen
