// Fuzz target: any input either loads or fails with a message; a loaded
// scene is walked through every accessor the engine uses and written back.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "Fbx/Evaluator.h"
#include "Fbx/Load.h"
#include "Fbx/Writer.h"

namespace {

constexpr int kMaxVisitedPolygons = 4096;
constexpr int kMaxVisitedLayers = 4;
constexpr int kMaxVisitedCorners = 64;

void exerciseMesh(const fbx::Mesh& mesh) {
  const int layers = std::min(static_cast<int>(mesh.layers.size()), kMaxVisitedLayers);
  for (int p = 0; p < std::min(mesh.polygonCount(), kMaxVisitedPolygons); ++p) {
    for (int k = 0; k < std::min(mesh.polygonSize(p), kMaxVisitedCorners); ++k) {
      fbx::Vec3 normal;
      mesh.polygonVertexNormal(p, k, normal);
      for (int l = 0; l < layers; ++l) {
        const int uv = mesh.textureUVIndex(p, k, l);
        if (const fbx::LayerElement* uvs = mesh.layerUVs(l)) uvs->vec2(uv);
        if (const fbx::LayerElement* t = mesh.layerTangents(l)) t->vec3(t->directIndex(mesh.polygonVertex(p, k)));
        if (const fbx::MaterialElement* m = mesh.layerMaterials(l)) m->materialOf(p);
      }
    }
  }
}

// Evaluation work per input is capped so that a large crafted scene cannot
// turn this harness (rather than the library) into a timeout.
constexpr size_t kMaxEvaluatedStacks = 4;
constexpr size_t kMaxEvaluatedNodes = 64;
constexpr int kMaxEvaluatedLayers = 4;

void exerciseScene(const fbx::Scene& scene) {
  fbx::Evaluator eval(scene);
  const size_t nodeCount = std::min(scene.nodes().size(), kMaxEvaluatedNodes);
  for (size_t n = 0; n < nodeCount; ++n) eval.globalTransform(*scene.nodes()[n]);
  const size_t stackCount = std::min(scene.animStacks().size(), kMaxEvaluatedStacks);
  for (size_t s = 0; s < stackCount; ++s) {
    const fbx::AnimStack& stack = *scene.animStacks()[s];
    eval.setContext(&stack);
    for (size_t n = 0; n < nodeCount; ++n) {
      const fbx::Node& node = *scene.nodes()[n];
      for (int layer = 0; layer < std::min(stack.layerCount(), kMaxEvaluatedLayers); ++layer) {
        fbx::Time start = 0, stop = 0;
        if (fbx::animationInterval(node, stack, layer, start, stop)) {
          eval.globalTransform(node, start / 2 + stop / 2);
        }
      }
    }
  }
  for (const fbx::Mesh* mesh : scene.meshes()) exerciseMesh(*mesh);
  fbx::writeMemory(scene);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fbx::SceneResult loaded = fbx::loadMemory(data, size, "fuzz.fbx");
  if (loaded.ok()) exerciseScene(**loaded);
  return 0;
}
