#pragma once
// A runnable tree in a temporary folder (work/ beside Resources/Textures/),
// the working directory of the test, with a real OpenGL context, so that
// imports read "../Resources/" as the game does. Everything the import
// created is released after each test.
#include "GLContext.h"
#include "TempFolder.h"

#include "Fbx/Scene.h"

#include <string>
#include <vector>

// A node named `name` below `parent` (null: the root) holding a mesh of
// `points` and `polygons`.
fbx::Node* addMeshNode(fbx::Scene& scene, const std::string& name, fbx::Node* parent,
                       std::vector<fbx::Vec3> points, std::vector<std::vector<int32_t>> polygons);

class ImportTest : public GLTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads `file` through the scene loader; returns what it printed.
    std::string load(const std::string& file, const std::string& prefix);

    const TempFolder folder{"umbrant-import"};
    const std::string root = folder.path().string();
    std::string previousDirectory;
};
