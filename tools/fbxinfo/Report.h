// The two reports of fbxinfo: a readable summary and the JSON object
//   { "format", "version", "nodes", "meshes", "materials", "lights",
//     "cameras", "anim_stacks" }
// with nodes in depth-first pre-order from the root.
#pragma once

#include <ostream>

#include "Fbx/Scene.h"

namespace fbxinfo {

void writeJson(const fbx::Scene& scene, std::ostream& out);
void writeSummary(const fbx::Scene& scene, std::ostream& out);

}  // namespace fbxinfo
