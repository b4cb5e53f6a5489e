#pragma once
// Shared set-up of the scene tests: a real GL context with a small "basic"
// program registered as program 0, a clean node registry per test, and
// mesh records built from plain boxes and triangles.
#include "Engine/Render/MeshData.h"

#include "GLContext.h"

#include <GL/glew.h>

#include <array>
#include <string>
#include <vector>

// A GL test whose registry and camera start empty and are cleared afterwards.
class SceneTest : public GLTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

// The test "basic" program, registered as program 0 by SceneTest: clip
// position = modelViewMatrix * in_position; colour = tex_color at in_texcoord.
GLuint testBasicProgram();

// A closed box of 12 triangles spanning `lo` to `hi`, with the box as its
// bounds and one material group without textures.
MeshData closedBoxMesh(const std::string& name, Vec3 lo, Vec3 hi);

// Each coordinate of `actual` within `tolerance` of `expected`.
void expectNear(Vec3 actual, Vec3 expected, float tolerance = 1e-5f);

// One triangle in clip-space x/y (z = 0), with texture coordinates 0.5.
using Triangle2D = std::array<float, 6>;
// A mesh whose groups hold the given triangles, with the diffuse texture ids.
MeshData groupedMesh(const std::string& name, const std::vector<std::vector<Triangle2D>>& groups,
                     const std::vector<int>& diffuseIds);

// A w x h RGBA texture filled with one colour.
GLuint solidTexture(int width, int height, std::array<unsigned char, 4> rgba);
std::vector<unsigned char> texturePixels(GLuint texture, int& width, int& height);

// An offscreen RGBA8 target, bound while it lives, cleared to black.
class OffscreenTarget {
public:
    explicit OffscreenTarget(int size);
    ~OffscreenTarget();
    std::array<unsigned char, 4> pixel(int x, int y) const;
    // Runs `draw` with the test program bound; returns primitives generated.
    template <typename Draw>
    GLuint countPrimitives(Draw draw)
    {
        GLuint query = 0, count = 0;
        glGenQueries(1, &query);
        glUseProgram(testBasicProgram());
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        draw();
        glEndQuery(GL_PRIMITIVES_GENERATED);
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
        glDeleteQueries(1, &query);
        glUseProgram(0);
        return count;
    }

private:
    GLuint framebuffer = 0;
    GLuint colour = 0;
};
