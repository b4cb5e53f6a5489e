#include "GeneratedContent.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "Fbx/Load.h"

namespace contenttest {

const std::string& generatedFolder() {
  static const std::string folder = UMBRANT_CONTENT_DIR;
  return folder;
}

std::unique_ptr<fbx::Scene> loadGenerated(const std::string& relativePath) {
  auto loaded = fbx::loadFile(generatedFolder() + "/" + relativePath);
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

assetgen::Bounds meshBounds(const fbx::Node& node) {
  assetgen::Bounds b;
  if (node.mesh()) {
    for (const fbx::Vec3& p : node.mesh()->controlPoints) b.add(p);
  }
  return b;
}

fbx::Vec3 spawnPointOf(const fbx::Mesh& mesh) {
  double sumX = 0, sumZ = 0, minY = 9999999.0;
  int count = 0;
  for (int p = 0; p < mesh.polygonCount(); ++p) {
    for (int corner = 0; corner < 3; ++corner) {
      const fbx::Vec3 v = mesh.controlPoints[mesh.polygonVertex(p, corner)];
      sumX += v.x;
      sumZ += v.z;
      minY = std::min(minY, v.y);
      ++count;
    }
  }
  return count ? fbx::Vec3{sumX / count, minY, sumZ / count} : fbx::Vec3{};
}

}  // namespace contenttest
