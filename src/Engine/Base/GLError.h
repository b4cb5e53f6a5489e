#pragma once
// src/Engine/Base: what every engine layer leans on: the GL error check, timer, constants,
// game flags, window, frame counter and the managers' Singleton. Uses only src/Platform.
//
// OpenGL error check: one glGetError per call, logged with the caller's
// location as "Error at src\Engine\Pipeline\Renderer:319: GL: ..." on standard error.
// Every group of OpenGL calls ends with CHECK_GL_ERROR().
#include <string>

// Location tag "src\Folder\File:line" from a source path such as
// "src/Folder/File.cpp" (relative to the project, extension dropped).
std::string glLocationTag(const char* sourcePath, int line);

// The log text for an OpenGL error code ("GL: Unknown error." for codes
// without their own text).
const char* glErrorMessage(unsigned int code);

// Fetches one error; when there is one, logs it under `label`.
void checkGLError(const std::string& label);
// Same, with the label built from a source location only when an error occurred.
void checkGLError(const char* sourcePath, int line);

#define CHECK_GL_ERROR() checkGLError(__FILE__, __LINE__)
