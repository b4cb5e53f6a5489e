#pragma once
// Shared set-up of the scene tests: a real GL context, a clean node registry
// per test, and mesh records built from plain boxes.
#include "Engine/Render/MeshData.h"

#include "GLContext.h"

#include <string>

// A GL test whose registry and camera start empty and are cleared afterwards.
class SceneTest : public GLTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

// A closed box of 12 triangles spanning `lo` to `hi`, with the box as its
// bounds and one material group without textures.
MeshData closedBoxMesh(const std::string& name, Vec3 lo, Vec3 hi);

// Each coordinate of `actual` within `tolerance` of `expected`.
void expectNear(Vec3 actual, Vec3 expected, float tolerance = 1e-5f);
