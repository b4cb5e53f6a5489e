#pragma once
// One GLSL program built from the stage files that share a base path:
// path + ".vert", path + ".frag" and, when it exists, path + ".geom".
// Construction never throws; a program that does not build leaves `ok` false
// and program 0, after logging which file or stage failed and the GL info log.
// Users bind `program` themselves and query uniforms and attributes by name.
#include <GL/glew.h>

#include <string>

class Shader {
public:
    // Reads, compiles and links the stages of `path` (see file comment).
    explicit Shader(const std::string& path);
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    std::string name;              // part of the path after the last '/' or '\'; used in messages
    bool ok = false;               // true once the program linked
    GLuint vertexShader = 0;       // 0 when absent or failed
    GLuint fragmentShader = 0;     // 0 when absent or failed
    GLuint geometryShader = 0;     // 0 without a geometry stage or when it failed
    GLuint program = 0;            // 0 when not built

    // Deletes the program and the stage objects that exist; afterwards all are 0.
    void release();

private:
    // Compiles one stage; 0 on failure (the failed object is kept by GL, not deleted).
    static GLuint compileStage(const std::string& source, GLenum type, const std::string& label);
    // Links the stages that exist, with "out0".."out7" bound to colour numbers 0..7.
    void linkProgram();
};

// The name shown in messages for a shader path: the text after the later of
// the last '/' and the last '\', or the whole path when neither occurs.
std::string shaderNameFromPath(const std::string& path);
