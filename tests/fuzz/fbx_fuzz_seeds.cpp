// fbx_fuzz_seeds <directory>: writes the round-trip tests' scene, which has
// every object kind, in binary 7.4, binary 7.5 and ASCII, as the fuzzer's
// starting corpus, and a node chain as deep as the reader accepts (within the
// fuzzer's 64 KiB).
#include <fstream>
#include <iostream>
#include <string>

#include "DeepChain.h"
#include "TestScene.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: fbx_fuzz_seeds <directory>\n";
    return 2;
  }
  const std::string stem = std::string(argv[1]) + "/scene";
  const std::unique_ptr<fbx::Scene> scene = fbx::test::makeTestScene();
  // Pivots and a skeleton, which the round-trip scene leaves out.
  fbx::Node* cube = scene->nodes().front();
  cube->transform.rotationPivot = {0.5, 0, 0};
  cube->transform.preRotation = {-90, 0, 0};
  cube->transform.rotationActive = true;
  fbx::Scene::setAttribute(scene->addNode("Marker"), scene->addSkeleton("Bone"));
  fbx::WriteOptions binary74, binary75, ascii;
  binary75.version = 7500;
  ascii.format = fbx::Format::Ascii;
  for (const auto& [suffix, options] :
       {std::pair{"_7400.fbx", binary74}, std::pair{"_7500.fbx", binary75}, std::pair{"_ascii.fbx", ascii}}) {
    if (!fbx::writeFile(*scene, stem + suffix, options).ok()) {
      std::cerr << stem + suffix << ": cannot write file\n";
      return 1;
    }
  }
  const std::string deep = std::string(argv[1]) + "/deep_chain_ascii.fbx";
  std::ofstream out(deep, std::ios::binary);
  out << fbx::test::deepChainDocument(fbx::kMaxNodeDepth) << std::flush;
  if (!out) {
    std::cerr << deep << ": cannot write file\n";
    return 1;
  }
  return 0;
}
