#include "Engine/Render/Shader.h"

#include "Engine/Base/GLError.h"

#include <fstream>
#include <iostream>
#include <iterator>

namespace {

constexpr GLsizei infoLogCapacity = 8096; // characters fetched from a compile or link log
constexpr int fragmentOutputCount = 8;    // "out0".."out7" bound to colour numbers 0..7

// Reads the whole file into `content`; false when it cannot be opened.
bool readWholeFile(const std::string& path, std::string& content)
{
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open())
        return false;
    content.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

// glGetShaderInfoLog or glGetProgramInfoLog.
using InfoLogQuery = void(GLAPIENTRY*)(GLuint, GLsizei, GLsizei*, GLchar*);

// Writes the object's info log (up to infoLogCapacity characters) and an end
// of line to standard output; nothing for an empty log.
void printInfoLog(GLuint object, InfoLogQuery queryLog)
{
    std::string log(infoLogCapacity, '\0');
    GLsizei logLength = 0;
    queryLog(object, infoLogCapacity, &logLength, log.data());
    if (logLength > 0)
        std::cout << log.substr(0, static_cast<std::size_t>(logLength)) << std::endl;
}

} // namespace

std::string shaderNameFromPath(const std::string& path)
{
    std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

Shader::Shader(const std::string& path)
{
    std::cout << "Loading shader with path: " << path << std::endl;
    name = shaderNameFromPath(path);

    std::string geometrySource;
    readWholeFile(path + ".geom", geometrySource); // optional stage: absence is no error

    std::string vertexSource;
    if (!readWholeFile(path + ".vert", vertexSource)) {
        std::cerr << "Vertex shader file " << path << ".vert does not exist." << std::endl;
        return;
    }
    std::string fragmentSource;
    if (!readWholeFile(path + ".frag", fragmentSource)) {
        std::cerr << "Fragment shader file " << path << ".frag does not exist." << std::endl;
        return;
    }

    vertexShader = compileStage(vertexSource, GL_VERTEX_SHADER, name + ".vert");
    if (vertexShader == 0)
        return;
    CHECK_GL_ERROR();
    fragmentShader = compileStage(fragmentSource, GL_FRAGMENT_SHADER, name + ".frag");
    if (fragmentShader == 0)
        return;
    CHECK_GL_ERROR();
    if (!geometrySource.empty()) {
        geometryShader = compileStage(geometrySource, GL_GEOMETRY_SHADER, name + ".geom");
        if (geometryShader == 0)
            return;
    }
    CHECK_GL_ERROR();
    linkProgram();
    if (program != 0) {
        ok = true;
        CHECK_GL_ERROR();
    }
}

GLuint Shader::compileStage(const std::string& source, GLenum type, const std::string& label)
{
    CHECK_GL_ERROR();
    GLuint shader = glCreateShader(type);
    if (shader == 0) {
        std::cerr << "Could not create shader object of type:" << static_cast<unsigned>(type) << "."
                  << std::endl;
        return 0;
    }
    CHECK_GL_ERROR();
    const GLchar* text = source.data();
    GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);

    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status != GL_TRUE) {
        std::cout << "\nShader compilation of shader \"" << label << "\" has failed.\n" << std::endl;
        printInfoLog(shader, glGetShaderInfoLog);
        return 0;
    }
    CHECK_GL_ERROR();
    return shader;
}

void Shader::linkProgram()
{
    program = glCreateProgram();
    glAttachShader(program, vertexShader);
    if (geometryShader != 0)
        glAttachShader(program, geometryShader);
    glAttachShader(program, fragmentShader);
    for (int output = 0; output < fragmentOutputCount; ++output) {
        std::string outputName = "out" + std::to_string(output);
        glBindFragDataLocation(program, static_cast<GLuint>(output), outputName.c_str());
    }
    glLinkProgram(program);

    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        std::cout << "\nShader linking of shader \"" << name << "\" has failed.\n" << std::endl;
        printInfoLog(program, glGetProgramInfoLog);
        glDeleteProgram(program);
        program = 0;
    }
    CHECK_GL_ERROR();
}

void Shader::release()
{
    if (program != 0)
        glDeleteProgram(program);
    for (GLuint stage : {vertexShader, fragmentShader, geometryShader}) {
        if (stage != 0)
            glDeleteShader(stage);
    }
    CHECK_GL_ERROR();
    program = vertexShader = fragmentShader = geometryShader = 0;
    ok = false;
}
