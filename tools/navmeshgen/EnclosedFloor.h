#pragma once
// Floor inside a solid piece: a platform or a ramp is a closed shell, and
// the ground under it lies inside with plenty of headroom, so Recast sees
// floor there that no character can reach. Such spans are taken out.
#include "NavMeshBuilder.h"

#include <Recast.h>

namespace navmeshgen {

// Marks every walkable span of `chf` whose nearest face straight above faces
// up (so the span lies inside a closed piece of `soup`) as not walkable.
void clearEnclosedFloor(const TriangleSoup& soup, rcCompactHeightfield& chf);

} // namespace navmeshgen
