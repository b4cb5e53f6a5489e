// Fuzz target: any input either loads or fails with a message; a loaded
// scene is walked through every accessor the engine uses and written back.
#include <cstddef>
#include <cstdint>

#include "Fbx/Evaluator.h"
#include "Fbx/Load.h"
#include "Fbx/Writer.h"

namespace {

void exerciseMesh(const fbx::Mesh& mesh) {
  for (int p = 0; p < mesh.polygonCount(); ++p) {
    for (int k = 0; k < mesh.polygonSize(p); ++k) {
      fbx::Vec3 normal;
      mesh.polygonVertexNormal(p, k, normal);
      for (int l = 0; l < static_cast<int>(mesh.layers.size()); ++l) {
        const int uv = mesh.textureUVIndex(p, k, l);
        if (const fbx::LayerElement* uvs = mesh.layerUVs(l)) uvs->vec2(uv);
        if (const fbx::LayerElement* t = mesh.layerTangents(l)) t->vec3(t->directIndex(mesh.polygonVertex(p, k)));
        if (const fbx::MaterialElement* m = mesh.layerMaterials(l)) m->materialOf(p);
      }
    }
  }
}

void exerciseScene(const fbx::Scene& scene) {
  fbx::Evaluator eval(scene);
  for (const fbx::AnimStack* stack : scene.animStacks()) {
    eval.setContext(stack);
    for (const fbx::Node* node : scene.nodes()) {
      for (int layer = 0; layer < stack->layerCount(); ++layer) {
        fbx::Time start = 0, stop = 0;
        if (fbx::animationInterval(*node, *stack, layer, start, stop)) eval.globalTransform(*node, (start / 2) + (stop / 2));
      }
      eval.globalTransform(*node);
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
