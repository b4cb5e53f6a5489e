// Deterministic randomness for content generation: a seeded generator and
// tileable value noise. Everything is integer-hash based, so the same seed
// gives the same numbers on every machine and run (no std distributions,
// whose results differ between standard libraries).
#pragma once

#include <cstdint>

namespace assetgen {

// SplitMix64: small, fast and well mixed; enough for placing content.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t next();
  // Uniform in [0, 1).
  double uniform();
  // Uniform in [low, high).
  double range(double low, double high) { return low + (high - low) * uniform(); }
  // Uniform integer in [0, count); 0 when count <= 0.
  int below(int count);

 private:
  uint64_t state_;
};

// Hash of a lattice point to [0, 1).
double latticeValue(int x, int y, uint32_t seed);

// Value noise in [0, 1) at (u, v) in texture space [0, 1), with `cells`
// lattice cells across the texture. The lattice wraps, so the noise tiles.
double tileableNoise(double u, double v, int cells, uint32_t seed);

// Fractal sum of `octaves` tileable noise layers, each with twice the cells
// and half the amplitude of the previous one; result in [0, 1).
double tileableFbm(double u, double v, int baseCells, int octaves, uint32_t seed);

}  // namespace assetgen
