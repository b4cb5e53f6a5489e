// Procedural surface recipes. Each recipe answers, for a point (u, v) of the
// texture square [0, 1)², the albedo colour and the height of the surface
// relief; the normal map is derived from the heights afterwards. All recipes
// except the flame tile seamlessly, because the level repeats them over
// world-scaled texture coordinates.
#pragma once

namespace assetgen {

struct Texel {
  double r = 0, g = 0, b = 0;  // albedo, 0..1
  double height = 0;           // relief, 0 (deep) .. 1 (high)
};

// Brightest colour channel from which the renderer lets a texel glow.
inline constexpr double kGlowBrightness = 0.8;

using TexelRecipe = Texel (*)(double u, double v);

namespace recipes {
Texel concrete(double u, double v);
Texel brick(double u, double v);
Texel metalPlates(double u, double v);
Texel wood(double u, double v);
Texel bone(double u, double v);
Texel cloth(double u, double v);
Texel gunmetal(double u, double v);
// A radial fire sprite, black at the rim (not tileable).
Texel flame(double u, double v);
}  // namespace recipes

}  // namespace assetgen
