// Shader programs built from real GLSL files in a temporary folder, on a real
// OpenGL context: messages of each failure, output binding, the registry.
#include "Engine/Base/Config.h"
#include "Engine/Render/ShaderManager.h"

#include "GLContext.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using ::testing::HasSubstr;

namespace {

const char* const validVertex = "#version 330\nin vec4 in_position;\nvoid main() { gl_Position = in_position; }\n";
const char* const validFragment = R"(#version 330
out vec4 out2;
out vec4 out0;
out vec4 out1;
void main() { out0 = vec4(1.0); out1 = vec4(0.5); out2 = vec4(0.25); }
)";
const char* const brokenSource = "#version 330\nvoid main() { this is not glsl }\n";

class ShaderFiles : public GLTest {
protected:
    std::string path(const std::string& name) const { return folder.file(name); }
    void write(const std::string& fileName, const std::string& content) const
    {
        std::ofstream(path(fileName), std::ios::binary) << content;
    }

    TempFolder folder{"umbrant_shaders"};
    ShaderManager manager;
};

// Each broken program fails with its message (on standard output or error);
// a missing file is left to the game's start-up test.
TEST_F(ShaderFiles, BrokenProgramsFailWithTheirMessage)
{
    const struct {
        const char *name, *vertex, *fragment, *geometry; // geometry nullptr: no such file
        std::string message;
    } cases[] = {
        {"brokenFragment", validVertex, brokenSource, nullptr,
         "\nShader compilation of shader \"brokenFragment.frag\" has failed.\n\n"},
        {"brokenGeometry", validVertex, validFragment, brokenSource,
         "\nShader compilation of shader \"brokenGeometry.geom\" has failed.\n\n"},
        {"unlinkable", "#version 330\nvoid helper() {}\n", validFragment, nullptr,
         "\nShader linking of shader \"unlinkable\" has failed.\n\n"},
    };
    for (const auto& c : cases) {
        write(std::string(c.name) + ".vert", c.vertex);
        write(std::string(c.name) + ".frag", c.fragment);
        if (c.geometry)
            write(std::string(c.name) + ".geom", c.geometry);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        Shader shader(path(c.name));
        const std::string out = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
        EXPECT_THAT(out, HasSubstr(c.message));
        EXPECT_FALSE(shader.ok) << c.name;
        EXPECT_EQ(shader.program, 0u) << c.name;
        shader.release();
    }
}

// The registry loads all eight programs once under their numbers, with their
// fragment outputs bound in order, and clearing deletes their GL objects.
TEST_F(ShaderFiles, RegistryLoadsAllEightProgramsOnceAndClearingDeletesThem)
{
    for (const std::string& name : config::shaderProgramNames) {
        write(name + ".vert", validVertex);
        write(name + ".frag", validFragment);
    }
    const std::string shaderFolder = folder.path().string() + "/";
    testing::internal::CaptureStdout();
    EXPECT_TRUE(manager.loadShadersFrom(shaderFolder));
    EXPECT_TRUE(manager.loadShadersFrom(shaderFolder));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_THAT(out, testing::EndsWith("Finished loading shaders.\n\n"));
    EXPECT_EQ(out.find("Finished"), out.rfind("Finished")) << "a second load reads nothing";
    for (int number = 0; number < 8; ++number)
        EXPECT_EQ(manager.getShader(number)->name, config::shaderProgramNames[number]);
    for (GLint output = 0; output < 3; ++output) // declared out of order, bound by name
        EXPECT_EQ(glGetFragDataLocation(manager.getShader(0)->program, ("out" + std::to_string(output)).c_str()), output);
    EXPECT_EQ(manager.getShader(8), nullptr);
    manager.addShader(3, path("pointlight")); // a number keeps its first shader
    EXPECT_EQ(manager.getShader(3)->name, config::shaderProgramNames[3]);
    const GLuint program = manager.getShader(3)->program, vertex = manager.getShader(3)->vertexShader;
    manager.clearShaders();
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(glIsShader(vertex));
}

} // namespace
