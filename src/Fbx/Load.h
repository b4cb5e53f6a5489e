// Loading FBX files into a Scene.
//
//   auto loaded = fbx::loadFile("level.fbx");
//   if (!loaded) { std::cerr << loaded.error() << "\n"; return; }
//   fbx::Scene& scene = **loaded;
//
// Errors name the file, the byte offset and the problem, e.g.
// "level.fbx: offset 1234: array length 4000000000 exceeds remaining 52 bytes".
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "Fbx/Records.h"
#include "Fbx/Result.h"
#include "Fbx/Scene.h"

namespace fbx {

using SceneResult = Result<std::unique_ptr<Scene>>;

// Deepest node tree a file may hold: no node lies more than this many levels
// below the root. Deeper trees (only hostile files nest that far) are refused
// with an error naming the limit, so that walks over a loaded tree may
// recurse and may climb to the root from any node.
inline constexpr int kMaxNodeDepth = 1000;

// Reads binary (7.1 to 7.7) or ASCII 7.x FBX. Older versions are refused
// with an "unsupported FBX version" error.
SceneResult loadFile(const std::string& path);
SceneResult loadMemory(const uint8_t* data, size_t size, const std::string& name);
// Builds the scene from an already parsed record tree. Large arrays are
// moved out of `document`.
SceneResult buildScene(RecordDocument& document);

}  // namespace fbx
