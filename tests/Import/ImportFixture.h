#pragma once
// A runnable tree in a temporary folder (work/ beside Resources/Textures/),
// the working directory of the test, with a real OpenGL context, so that
// imports read "../Resources/" as the game does. Everything the import
// created is released after each test.
#include "GLContext.h"

#include "Fbx/Scene.h"

#include <string>

class ImportTest : public GLTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `scene` as "../Resources/<name>" and returns that path.
    std::string writeScene(const fbx::Scene& scene, const std::string& name);
    // Writes a 4x4 image "../Resources/Textures/<name>" (24-bit RGB).
    void writeTexture(const std::string& name);
    // Loads `file` through the scene loader; returns what it printed.
    std::string load(const std::string& file, const std::string& prefix);

    std::string root;
    std::string previousDirectory;
};
