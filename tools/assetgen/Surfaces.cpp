#include "Surfaces.h"

#include <cstddef>

namespace assetgen {

const std::vector<SurfaceInfo>& allSurfaces() {
  // Order matches the Surface enumeration.
  static const std::vector<SurfaceInfo> surfaces = {
      {Surface::Concrete, "Concrete", "concrete.png", "concrete_n.png", recipes::concrete, 6.0, true, {}},
      {Surface::Brick, "Brick", "brick.jpg", "brick_n.png", recipes::brick, 8.0, true, {}},
      {Surface::MetalPlates, "MetalPlates", "metalplates.tga", "metalplates_n.tga", recipes::metalPlates, 10.0, true, {}},
      {Surface::Wood, "Wood", "wood.jpg", "wood_n.png", recipes::wood, 6.0, true, {}},
      {Surface::Bone, "Bone", "bone.png", "bone_n.png", recipes::bone, 5.0, true, {}},
      {Surface::Cloth, "Cloth", "cloth.tga", "cloth_n.tga", recipes::cloth, 4.0, true, {}},
      {Surface::Gunmetal, "Gunmetal", "gunmetal.jpg", "gunmetal_n.png", recipes::gunmetal, 6.0, true, {}},
      {Surface::Flame, "Flame", "flame.png", "flame_n.png", recipes::flame, 3.0, false, {1.0, 0.75, 0.35}},
  };
  return surfaces;
}

const SurfaceInfo& surfaceInfo(Surface surface) { return allSurfaces()[static_cast<std::size_t>(surface)]; }

}  // namespace assetgen
