#pragma once
// A runnable tree in a temporary folder (work/ beside Resources/Textures/),
// the working directory of the test, with a real OpenGL context, so that
// imports read "../Resources/" as the game does. Everything the import
// created is released after each test.
#include "GLContext.h"

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

    // Writes `scene` as "../Resources/<name>" and returns that path.
    std::string writeScene(const fbx::Scene& scene, const std::string& name);
    // Loads `file` through the scene loader; returns what it printed.
    std::string load(const std::string& file, const std::string& prefix);

    std::string root;
    std::string previousDirectory;
};
