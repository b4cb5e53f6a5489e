#include "Engine/Base/GLError.h"

#include <GL/glew.h>

#include <cstring>
#include <iostream>

std::string glLocationTag(const char* sourcePath, int line)
{
    std::string path = sourcePath;
    std::size_t slash = path.find_last_of('/');
    std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        path.erase(dot);
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path + ":" + std::to_string(line);
}

const char* glErrorMessage(unsigned int code)
{
    switch (code) {
    case GL_INVALID_ENUM: return "GL: enum argument out of range.";
    case GL_INVALID_VALUE: return "GL: Numeric argument out of range.";
    case GL_INVALID_OPERATION: return "GL: Operation illegal in current state.";
    case GL_OUT_OF_MEMORY: return "GL: Not enough memory left to execute command.";
    case GL_INVALID_FRAMEBUFFER_OPERATION: return "GL: Framebuffer object is not complete.";
    default: return "GL: Unknown error.";
    }
}

namespace {

void logError(GLenum code, const std::string& label)
{
    std::cerr << "Error at " << label << ": " << glErrorMessage(code) << std::endl;
}

} // namespace

void checkGLError(const std::string& label)
{
    GLenum code = glGetError();
    if (code != GL_NO_ERROR)
        logError(code, label);
}

void checkGLError(const char* sourcePath, int line)
{
    GLenum code = glGetError();
    if (code != GL_NO_ERROR)
        logError(code, glLocationTag(sourcePath, line));
}
