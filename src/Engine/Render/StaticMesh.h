#pragma once
// One vertex array with one tightly packed float buffer behind a single
// attribute: the light volumes, the light shafts and the renderer's screen
// quads. Uploaded with GL_STATIC_DRAW, drawn as GL_TRIANGLES.
#include <GL/glew.h>

class StaticMesh {
public:
    StaticMesh() = default;
    StaticMesh(const StaticMesh&) = delete;
    StaticMesh& operator=(const StaticMesh&) = delete;

    // Fills the buffer with `floatCount` floats, `components` per vertex, fed
    // to `attribute` (a location of the program that will draw the mesh; -1
    // leaves the attribute unset). Creates the vertex array and buffer on first use
    // and reuses them afterwards. Leaves vertex array and buffer unbound.
    void upload(const float* vertices, int floatCount, int components, GLint attribute);
    // glDrawArrays(GL_TRIANGLES) over every vertex; nothing for an empty mesh.
    void draw() const;
    // Deletes the vertex array and buffer; a second call does nothing.
    void release();

    int getVertexCount() const { return vertexCount; }
    GLuint getVertexArray() const { return vertexArray; }
    GLuint getBuffer() const { return buffer; }

private:
    GLuint vertexArray = 0;
    GLuint buffer = 0;
    int vertexCount = 0;
};
