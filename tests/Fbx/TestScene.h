// A small scene that exercises every object kind the writer supports; tests
// write it, read it back and compare.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Fbx/Load.h"
#include "Fbx/Scene.h"
#include "Fbx/Writer.h"

namespace fbx::test {

// A node "Cube" with a mesh of two triangles with normals, UVs and per-polygon
// materials; a child node, a spot light, a camera with a target, two materials
// with textures and an animation stack with two layers.
std::unique_ptr<Scene> makeTestScene();

std::unique_ptr<Scene> reload(const Scene& scene, const WriteOptions& options = {});
std::unique_ptr<Scene> loadBytes(const std::vector<uint8_t>& bytes, const std::string& name = "test.fbx");
std::vector<uint8_t> toBytes(const std::string& text);

}  // namespace fbx::test
