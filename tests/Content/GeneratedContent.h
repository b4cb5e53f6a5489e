// The generated content tree as the build's content step wrote it into
// Resources/.
#pragma once

#include <memory>
#include <string>

#include "Fbx/Scene.h"
#include "Geometry.h"

namespace contenttest {

// The resources folder holding the generated tree.
inline const std::string kGeneratedFolder = UMBRANT_CONTENT_DIR;

// Loads a generated FBX file (path below the folder); fails the test with
// the reader's message when it cannot be loaded.
std::unique_ptr<fbx::Scene> loadGenerated(const std::string& relativePath);

}  // namespace contenttest
