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

std::vector<fbx::Node*> meshNodesBelow(fbx::Node* node) {
  std::vector<fbx::Node*> out;
  if (node->mesh()) out.push_back(node);
  for (fbx::Node* child : node->children) {
    for (fbx::Node* n : meshNodesBelow(child)) out.push_back(n);
  }
  return out;
}

}  // namespace contenttest
