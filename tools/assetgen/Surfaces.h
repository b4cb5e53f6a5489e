// The surfaces of the game's content: one material per surface, each with a
// diffuse texture and a normal map under a plain file name in "Textures/".
// File formats are mixed on purpose (PNG, JPEG and TGA), because the game's
// texture loader accepts all three.
#pragma once

#include <vector>

#include "Fbx/Math.h"
#include "TextureRecipes.h"

namespace assetgen {

enum class Surface { Concrete, Brick, MetalPlates, Wood, Bone, Cloth, Gunmetal, Flame };

struct SurfaceInfo {
  Surface surface;
  const char* materialName;  // FBX material name
  const char* diffuseFile;   // plain file name in "Textures/"
  const char* normalFile;
  TexelRecipe recipe;
  double bumpStrength;  // normal-map slope per unit of height change per pixel
  bool tiles;           // whether the normal map wraps at the borders
  fbx::Vec3 emissive;   // emissive colour of the material (glowing surfaces)
};

const std::vector<SurfaceInfo>& allSurfaces();
const SurfaceInfo& surfaceInfo(Surface surface);

}  // namespace assetgen
