#include "GeneratedContent.h"

#include <gtest/gtest.h>

#include "Fbx/Load.h"

namespace contenttest {

std::unique_ptr<fbx::Scene> loadGenerated(const std::string& relativePath) {
  auto loaded = fbx::loadFile(kGeneratedFolder + "/" + relativePath);
  if (!loaded) {
    ADD_FAILURE() << loaded.error();
    return std::make_unique<fbx::Scene>();
  }
  return std::move(*loaded);
}

}  // namespace contenttest
