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

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const char* const validVertex = "#version 330\nin vec4 in_position;\nvoid main() { gl_Position = in_position; }\n";
// Outputs declared out of order: the program binds them by name.
const char* const validFragment = R"(#version 330
out vec4 out2;
out vec4 out0;
out vec4 out1;
void main() { out0 = vec4(1.0); out1 = vec4(0.5); out2 = vec4(0.25); }
)";
const char* const passThroughGeometry = R"(#version 330
layout(triangles) in;
layout(triangle_strip, max_vertices = 3) out;
void main() { for (int i = 0; i < 3; ++i) { gl_Position = gl_in[i].gl_Position; EmitVertex(); } EndPrimitive(); }
)";
const char* const brokenSource = "#version 330\nvoid main() { this is not glsl }\n";
const char* const vertexWithoutMain = "#version 330\nvoid helper() {}\n"; // compiles, does not link

struct Captured {
    std::string out, err;
};

template <typename Action>
Captured capture(Action action)
{
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    action();
    std::string out = ::testing::internal::GetCapturedStdout();
    return {out, ::testing::internal::GetCapturedStderr()};
}

class ShaderFiles : public GLTest {
protected:
    void TearDown() override { manager.clearShaders(); }

    std::string path(const std::string& name) const { return folder.file(name); }
    void write(const std::string& fileName, const std::string& content) const
    {
        std::ofstream(path(fileName), std::ios::binary) << content;
    }
    void writeProgram(const std::string& name, const std::string& fragment = validFragment) const
    {
        write(name + ".vert", validVertex);
        write(name + ".frag", fragment);
    }

    TempFolder folder{"umbrant_shaders"};
    ShaderManager manager;
};

TEST(ShaderName, IsThePartAfterTheLaterSeparator)
{
    for (const char* path : {"c", "a/b\\c", "a\\b/c"})
        EXPECT_EQ(shaderNameFromPath(path), "c") << path;
}

TEST_F(ShaderFiles, ProgramLinksWithFragmentOutputsBoundInOrderAndAnOptionalGeometryStage)
{
    writeProgram("plain");
    Shader* shader = nullptr;
    const Captured log = capture([&] { shader = new Shader(path("plain")); });
    EXPECT_EQ(log.out, "Loading shader with path: " + path("plain") + "\n");
    EXPECT_EQ(log.err, "");
    ASSERT_TRUE(shader->ok);
    EXPECT_EQ(shader->name, "plain");
    EXPECT_EQ(shader->geometryShader, 0u);
    for (GLint output = 0; output < 3; ++output)
        EXPECT_EQ(glGetFragDataLocation(shader->program, ("out" + std::to_string(output)).c_str()), output);
    shader->release();
    delete shader;

    writeProgram("withGeometry");
    write("withGeometry.geom", passThroughGeometry);
    Shader withGeometry(path("withGeometry"));
    ASSERT_TRUE(withGeometry.ok);
    GLint attached = 0;
    glGetProgramiv(withGeometry.program, GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 3);
    withGeometry.release();
}

// Each broken program fails with its message and keeps exactly the stages it compiled.
TEST_F(ShaderFiles, BrokenProgramsFailWithTheirMessage)
{
    struct Case {
        const char* name;
        const char *vertex, *fragment; // nullptr: no such file
        bool keepsVertex, keepsFragment;
        std::string out, err;          // expected substring of standard output; exact standard error
    };
    const Case cases[] = {
        {"noVertex", nullptr, validFragment, false, false, "", "Vertex shader file {}.vert does not exist.\n"},
        {"noFragment", validVertex, nullptr, false, false, "", "Fragment shader file {}.frag does not exist.\n"},
        {"brokenFragment", validVertex, brokenSource, true, false,
         "\nShader compilation of shader \"brokenFragment.frag\" has failed.\n\n", ""},
        {"empty", "", "", false, false, "has failed.", ""},
        {"unlinkable", vertexWithoutMain, validFragment, true, true,
         "\nShader linking of shader \"unlinkable\" has failed.\n\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.vertex)
            write(std::string(c.name) + ".vert", c.vertex);
        if (c.fragment)
            write(std::string(c.name) + ".frag", c.fragment);
        write(std::string(c.name) + ".geom", brokenSource); // never compiled when an earlier stage is missing
        if (c.vertex && c.fragment)
            fs::remove(folder.path() / (std::string(c.name) + ".geom"));
        Captured log = capture([&] {
            Shader shader(path(c.name));
            EXPECT_FALSE(shader.ok);
            EXPECT_EQ(shader.program, 0u);
            EXPECT_EQ(shader.vertexShader != 0, c.keepsVertex);
            EXPECT_EQ(shader.fragmentShader != 0, c.keepsFragment);
            shader.release();
        });
        std::string err = c.err;
        if (!err.empty())
            err.replace(err.find("{}"), 2, path(c.name));
        EXPECT_EQ(log.err, err);
        EXPECT_THAT(log.out, HasSubstr(c.out));
        if (!c.out.empty() && c.keepsVertex && !c.keepsFragment) {
            std::size_t after = log.out.find(c.out) + c.out.size();
            EXPECT_GT(log.out.size(), after + 1) << "the GL info log follows the failure line";
        }
        if (c.out.empty())
            EXPECT_THAT(log.out, Not(HasSubstr("compilation")));
    }
}

// The registry loads all eight programs once under their numbers; one failing program fails the load
// after all were attempted.
TEST_F(ShaderFiles, RegistryLoadsAllEightProgramsOrFailsAfterTryingEach)
{
    for (const std::string& name : config::shaderProgramNames)
        writeProgram(name);
    const std::string shaderFolder = folder.path().string() + "/";
    bool loaded = false;
    Captured log = capture([&] { loaded = manager.loadShadersFrom(shaderFolder); });
    ASSERT_TRUE(loaded) << log.out << log.err;
    for (int number = 0; number < 8; ++number) {
        ASSERT_NE(manager.getShader(number), nullptr);
        EXPECT_EQ(manager.getShader(number)->name, config::shaderProgramNames[number]);
    }
    EXPECT_EQ(manager.getShader(8), nullptr);
    EXPECT_EQ(manager.getShader(-1), nullptr);
    EXPECT_THAT(log.out, testing::EndsWith("Finished loading shaders.\n\n"));
    // A second load reports success at once without reading anything.
    EXPECT_EQ(capture([&] { EXPECT_TRUE(manager.loadShadersFrom(shaderFolder)); }).out, "");

    writeProgram("pointlight", brokenSource);
    fs::remove(folder.path() / "textureDisplay.vert");
    ShaderManager failing;
    log = capture([&] { loaded = failing.loadShadersFrom(shaderFolder); });
    EXPECT_FALSE(loaded);
    std::size_t lastLoadingLine = log.out.rfind("Loading shader with path: " + path("lightshafts"));
    std::size_t verdict = log.out.find(
        "\n--- One or multiple shader programs weren't created successfully. Exiting program now. ---\n");
    ASSERT_NE(lastLoadingLine, std::string::npos);
    ASSERT_NE(verdict, std::string::npos);
    EXPECT_LT(lastLoadingLine, verdict);
    EXPECT_EQ(log.out.find("Shader compilation"), log.out.rfind("Shader compilation")) << "one compile failure";
    EXPECT_THAT(log.out, Not(HasSubstr("Finished loading shaders.")));
    EXPECT_EQ(log.err, "Vertex shader file " + path("textureDisplay") + ".vert does not exist.\n");
    EXPECT_FALSE(failing.getShader(2)->ok);
    EXPECT_FALSE(failing.getShader(6)->ok);
    EXPECT_TRUE(failing.getShader(7)->ok);

    // A missing folder names every program.
    Captured absent = capture([&] { EXPECT_FALSE(ShaderManager().loadShadersFrom(path("absent") + "/")); });
    for (const std::string& name : config::shaderProgramNames)
        EXPECT_THAT(absent.err, HasSubstr("Vertex shader file " + path("absent") + "/" + name + ".vert does not exist."));
}

TEST_F(ShaderFiles, ANumberKeepsItsFirstShaderAndClearingDeletesEveryGLObject)
{
    writeProgram("first");
    Captured log = capture([&] {
        manager.addShader(3, path("first"));
        manager.addShader(3, path("second"));
    });
    EXPECT_EQ(manager.getShader(3)->name, "first");
    EXPECT_THAT(log.out, Not(HasSubstr("second")));
    Shader* shader = manager.getShader(3);
    GLuint program = shader->program, vertex = shader->vertexShader, fragment = shader->fragmentShader;
    ASSERT_TRUE(glIsProgram(program));
    manager.clearShaders();
    EXPECT_EQ(manager.getShader(3), nullptr);
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(glIsShader(vertex));
    EXPECT_FALSE(glIsShader(fragment));
}

} // namespace
