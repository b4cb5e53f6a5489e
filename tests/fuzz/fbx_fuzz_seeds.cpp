// fbx_fuzz_seeds <directory>: writes small FBX files that cover every object
// kind, in binary 7.4, binary 7.5 and ASCII, as the fuzzer's starting corpus,
// and a node chain as deep as the reader accepts (within the fuzzer's 64 KiB).
#include <fstream>
#include <iostream>
#include <string>

#include "DeepChain.h"
#include "Fbx/Load.h"
#include "Fbx/Writer.h"

namespace {

void buildScene(fbx::Scene& scene, bool animated) {
  fbx::Node* box = scene.addNode("Box");
  box->transform.rotationPivot = {0.5, 0, 0};
  box->transform.preRotation = {-90, 0, 0};
  box->transform.rotationActive = true;
  fbx::Mesh* mesh = scene.addMesh("BoxMesh");
  mesh->controlPoints = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  mesh->addPolygon({0, 1, 2});
  mesh->addPolygon({0, 2, 3});
  fbx::LayerElement normals;
  normals.mapping = fbx::MappingMode::ByControlPoint;
  normals.direct = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
  mesh->normals.push_back(normals);
  fbx::LayerElement uvs;
  uvs.components = 2;
  uvs.mapping = fbx::MappingMode::ByPolygonVertex;
  uvs.reference = fbx::ReferenceMode::IndexToDirect;
  uvs.direct = {0, 0, 1, 0, 1, 1, 0, 1};
  uvs.index = {0, 1, 2, 0, 2, 3};
  mesh->uvs.push_back(uvs);
  mesh->materialElements.push_back({fbx::MappingMode::ByPolygon, fbx::ReferenceMode::IndexToDirect, {0, 1}});
  mesh->layers.push_back({0, -1, -1, 0, -1, 0});
  fbx::Scene::setAttribute(box, mesh);
  for (const char* name : {"Red", "Blue"}) {
    fbx::Material* m = scene.addMaterial(name);
    m->textures[fbx::Material::kDiffuse].push_back(scene.addTexture(std::string(name) + "Tex", "tex.png"));
    box->materials.push_back(m);
  }
  fbx::Node* lamp = scene.addNode("Lamp", box);
  fbx::Scene::setAttribute(lamp, scene.addLight("Spot"));
  fbx::Node* cam = scene.addNode("Cam");
  fbx::Scene::setAttribute(cam, scene.addCamera("Camera"));
  cam->target = box;
  fbx::Scene::setAttribute(scene.addNode("Marker"), scene.addSkeleton("Bone"));
  if (!animated) return;
  fbx::AnimStack* stack = scene.addAnimStack("Take");
  stack->localStop = fbx::kTicksPerSecond;
  fbx::AnimLayer* layer = scene.addAnimLayer(stack, "Base");
  scene.addAnimLayer(stack, "Extra");
  fbx::AnimCurveNode* node = scene.addCurveNode(layer, box, "Lcl Rotation", {"X", "Y", "Z"}, {0, 0, 0});
  fbx::AnimCurve* curve = scene.addChannelCurve(node, "Y");
  fbx::AnimKey cubic{0, 0.0f, fbx::Interpolation::Cubic};
  cubic.rightWeight = 0.25f;
  curve->keys = {cubic, {fbx::kTicksPerSecond / 2, 5.0f, fbx::Interpolation::Constant},
                 {fbx::kTicksPerSecond, 9.0f}};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: fbx_fuzz_seeds <directory>\n";
    return 2;
  }
  const std::string dir = argv[1];
  for (bool animated : {false, true}) {
    fbx::Scene scene;
    buildScene(scene, animated);
    const std::string stem = dir + (animated ? "/animated" : "/static");
    fbx::WriteOptions binary74, binary75, ascii;
    binary75.version = 7500;
    ascii.format = fbx::Format::Ascii;
    for (const auto& [suffix, options] : {std::pair{"_7400.fbx", binary74}, std::pair{"_7500.fbx", binary75},
                                          std::pair{"_ascii.fbx", ascii}}) {
      if (!fbx::writeFile(scene, stem + suffix, options).ok()) {
        std::cerr << stem + suffix << ": cannot write file\n";
        return 1;
      }
    }
  }
  const std::string deep = dir + "/deep_chain_ascii.fbx";
  std::ofstream out(deep, std::ios::binary);
  out << fbx::test::deepChainDocument(fbx::kMaxNodeDepth) << std::flush;
  if (!out) {
    std::cerr << deep << ": cannot write file\n";
    return 1;
  }
  return 0;
}
