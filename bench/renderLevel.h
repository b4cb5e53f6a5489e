#pragma once
// The real level for the renderer's pictures and benchmark: the start-up
// steps that bring the light sphere and the level into the scene graph, as
// the game runs them, plus a flashlight spot light with its shaft in the
// place of the player's. Run from bin/ so that "../Resources/" resolves.
#include "Engine/Scene/Math.h"

class SpotLight;

namespace renderlevel {

// Loads the sphere (its mesh becomes the point-light volume) and the level
// below the registry root, updates the bounding boxes and builds the octree.
// False with a message when the level did not load.
bool load();
// World box of the level.
void levelBounds(Vec3& boxMin, Vec3& boxMax);
// A flashlight (the player's values, shaft enabled) at `position` shining along `direction`.
SpotLight* addFlashlight(Vec3 position, Vec3 direction);
// Moves the flashlight to `position`, shining along `direction`.
void aimFlashlight(SpotLight& light, Vec3 position, Vec3 direction);

} // namespace renderlevel
