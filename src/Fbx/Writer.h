// Writing scenes as FBX. Binary 7.4 is the format for game content; binary
// 7.5 (64-bit record headers) and ASCII exist for tools and tests. Output is
// deterministic: fixed file id and creation time, ids assigned in order.
//
//   fbx::Scene scene;
//   fbx::Node* cube = scene.addNode("Cube");
//   fbx::Mesh* mesh = scene.addMesh("CubeMesh");
//   fbx::Scene::setAttribute(cube, mesh);
//   ... fill mesh->controlPoints, mesh->addPolygon({0, 1, 2, 3}), layers ...
//   auto written = fbx::writeFile(scene, "cube.fbx");
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Fbx/Records.h"
#include "Fbx/Result.h"
#include "Fbx/Scene.h"

namespace fbx {

struct WriteOptions {
  Format format = Format::Binary;
  uint32_t version = 7400;
  std::string creator = "Umbrant FBX writer";
  bool compressArrays = true;  // zlib for binary arrays over 128 bytes
};

// The record tree of a scene (what the encoders below turn into bytes).
RecordDocument sceneToRecords(const Scene& scene, const WriteOptions& options = {});

std::vector<uint8_t> encodeBinary(const RecordDocument& document, bool compressArrays = true);
std::string encodeAscii(const RecordDocument& document);

std::vector<uint8_t> writeMemory(const Scene& scene, const WriteOptions& options = {});
// Returns the number of bytes written, or "path: cannot write file".
Result<size_t> writeFile(const Scene& scene, const std::string& path, const WriteOptions& options = {});

}  // namespace fbx
