// The generated content tree as the build's content step wrote it into
// Resources/.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Fbx/Load.h"
#include "Fbx/Scene.h"
#include "Geometry.h"

namespace contenttest {

// The resources folder holding the generated tree.
inline const std::string kGeneratedFolder = UMBRANT_CONTENT_DIR;

// Loads a generated FBX file (path below the folder); fails the test with
// the reader's message when it cannot be loaded.
inline std::unique_ptr<fbx::Scene> loadGenerated(const std::string& relativePath) {
  auto loaded = fbx::loadFile(kGeneratedFolder + "/" + relativePath);
  if (!loaded) {
    ADD_FAILURE() << loaded.error();
    return std::make_unique<fbx::Scene>();
  }
  return std::move(*loaded);
}

}  // namespace contenttest
