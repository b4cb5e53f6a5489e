#include "Engine/Render/StaticMesh.h"

#include "Engine/Base/GLError.h"

void StaticMesh::upload(const float* vertices, int floatCount, int components, GLint attribute)
{
    if (vertexArray == 0) {
        glGenVertexArrays(1, &vertexArray);
        glGenBuffers(1, &buffer);
    }
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(floatCount) * sizeof(float), vertices, GL_STATIC_DRAW);
    if (attribute >= 0) { // a program without the attribute draws nothing sensible, but no GL error
        glVertexAttribPointer(static_cast<GLuint>(attribute), components, GL_FLOAT, GL_FALSE,
                              components * static_cast<GLsizei>(sizeof(float)), nullptr);
        glEnableVertexAttribArray(static_cast<GLuint>(attribute));
    }
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    CHECK_GL_ERROR();
    vertexCount = components > 0 ? floatCount / components : 0;
}

void StaticMesh::draw() const
{
    if (vertexCount == 0)
        return;
    glBindVertexArray(vertexArray);
    glDrawArrays(GL_TRIANGLES, 0, vertexCount);
    glBindVertexArray(0);
    CHECK_GL_ERROR();
}

void StaticMesh::release()
{
    if (vertexArray == 0)
        return;
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteBuffers(1, &buffer);
    CHECK_GL_ERROR();
    vertexArray = 0;
    buffer = 0;
    vertexCount = 0;
}
