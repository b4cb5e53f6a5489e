// Shader programs built from real GLSL files in a temporary folder, on a real
// OpenGL context: messages of each failure, output binding, the registry.
#include "Engine/Base/Config.h"
#include "Engine/Render/ShaderManager.h"

#include "GLContext.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const char* const validVertex = R"(#version 330
in vec4 in_position;
void main() { gl_Position = in_position; }
)";

const char* const validFragment = R"(#version 330
out vec4 out0;
out vec4 out1;
out vec4 out2;
void main() { out0 = vec4(1.0); out1 = vec4(0.5); out2 = vec4(0.25); }
)";

const char* const passThroughGeometry = R"(#version 330
layout(triangles) in;
layout(triangle_strip, max_vertices = 3) out;
void main()
{
    for (int i = 0; i < 3; ++i) { gl_Position = gl_in[i].gl_Position; EmitVertex(); }
    EndPrimitive();
}
)";

const char* const brokenSource = "#version 330\nvoid main() { this is not glsl }\n";

// Compiles, but a program without a vertex main() does not link.
const char* const vertexWithoutMain = "#version 330\nvoid helper() {}\n";

class ShaderFiles : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        folder = fs::temp_directory_path() /
                 ("umbrant_shaders_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string path(const std::string& name) const { return (folder / name).string(); }

    void write(const std::string& fileName, const std::string& content) const
    {
        std::ofstream(folder / fileName, std::ios::binary) << content;
    }
    void writeProgram(const std::string& name, const std::string& vertex = validVertex,
                      const std::string& fragment = validFragment) const
    {
        write(name + ".vert", vertex);
        write(name + ".frag", fragment);
    }
    void writeAllEightPrograms() const
    {
        for (const std::string& name : config::shaderProgramNames)
            writeProgram(name);
    }

    fs::path folder;
};

struct Captured {
    std::string out, err;
};

template <typename Action>
Captured capture(Action action)
{
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    action();
    Captured result;
    result.out = ::testing::internal::GetCapturedStdout();
    result.err = ::testing::internal::GetCapturedStderr();
    return result;
}

TEST(ShaderName, IsThePartAfterTheLaterSeparator)
{
    EXPECT_EQ(shaderNameFromPath("basic"), "basic");
    EXPECT_EQ(shaderNameFromPath("a/b\\c"), "c");
    EXPECT_EQ(shaderNameFromPath("a\\b/c"), "c");
    EXPECT_EQ(shaderNameFromPath("../Resources/ShaderPrograms/blurX"), "blurX");
}

TEST_F(ShaderFiles, TwoStageProgramLinksWithFragmentOutputsBoundInOrder)
{
    writeProgram("plain");
    Shader* shader = nullptr;
    Captured log = capture([&] { shader = new Shader(path("plain")); });

    EXPECT_EQ(log.out, "Loading shader with path: " + path("plain") + "\n");
    EXPECT_EQ(log.err, "");
    ASSERT_TRUE(shader->ok);
    EXPECT_EQ(shader->name, "plain");
    EXPECT_NE(shader->vertexShader, 0u);
    EXPECT_NE(shader->fragmentShader, 0u);
    EXPECT_EQ(shader->geometryShader, 0u);
    EXPECT_TRUE(glIsProgram(shader->program));
    EXPECT_EQ(glGetFragDataLocation(shader->program, "out0"), 0);
    EXPECT_EQ(glGetFragDataLocation(shader->program, "out1"), 1);
    EXPECT_EQ(glGetFragDataLocation(shader->program, "out2"), 2);
    EXPECT_GE(glGetAttribLocation(shader->program, "in_position"), 0);
    shader->release();
    delete shader;
}

TEST_F(ShaderFiles, GeometryStageIsAttachedWhenItsFileExists)
{
    writeProgram("withGeometry");
    write("withGeometry.geom", passThroughGeometry);
    Shader shader(path("withGeometry"));
    ASSERT_TRUE(shader.ok);
    EXPECT_NE(shader.geometryShader, 0u);
    GLint attached = 0;
    glGetProgramiv(shader.program, GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 3);
    shader.release();
}

TEST_F(ShaderFiles, MissingVertexFileIsReportedAloneAndNothingIsCreated)
{
    write("noVertex.frag", validFragment);
    write("noVertex.geom", brokenSource); // read, never compiled
    Captured log = capture([&] {
        Shader shader(path("noVertex"));
        EXPECT_FALSE(shader.ok);
        EXPECT_EQ(shader.vertexShader + shader.fragmentShader + shader.geometryShader + shader.program, 0u);
    });
    EXPECT_EQ(log.err, "Vertex shader file " + path("noVertex") + ".vert does not exist.\n");
    EXPECT_THAT(log.out, Not(HasSubstr("compilation")));
}

TEST_F(ShaderFiles, MissingFragmentFileIsReportedAfterTheVertexFileWasFound)
{
    write("noFragment.vert", validVertex);
    Captured log = capture([&] {
        Shader shader(path("noFragment"));
        EXPECT_FALSE(shader.ok);
        EXPECT_EQ(shader.vertexShader, 0u);
        EXPECT_EQ(shader.program, 0u);
    });
    EXPECT_EQ(log.err, "Fragment shader file " + path("noFragment") + ".frag does not exist.\n");
}

TEST_F(ShaderFiles, CompileFailurePrintsTheStageLabelAndTheInfoLog)
{
    writeProgram("brokenFragment", validVertex, brokenSource);
    Captured log = capture([&] {
        Shader shader(path("brokenFragment"));
        EXPECT_FALSE(shader.ok);
        EXPECT_NE(shader.vertexShader, 0u);
        EXPECT_EQ(shader.fragmentShader, 0u);
        EXPECT_EQ(shader.program, 0u);
        shader.release();
    });
    const std::string failureLine = "\nShader compilation of shader \"brokenFragment.frag\" has failed.\n\n";
    ASSERT_THAT(log.out, HasSubstr(failureLine));
    std::string infoLog = log.out.substr(log.out.find(failureLine) + failureLine.size());
    EXPECT_GT(infoLog.size(), 1u) << "the GL info log follows the failure line";
    EXPECT_EQ(log.err, "");
}

TEST_F(ShaderFiles, EmptyFilesReachTheCompilerAndFail)
{
    writeProgram("empty", "", "");
    Captured log = capture([&] {
        Shader shader(path("empty"));
        EXPECT_FALSE(shader.ok);
        shader.release();
    });
    EXPECT_THAT(log.out, HasSubstr("has failed."));
    EXPECT_THAT(log.err, Not(HasSubstr("does not exist")));
}

TEST_F(ShaderFiles, LinkFailureDeletesTheProgramAndKeepsTheStages)
{
    writeProgram("unlinkable", vertexWithoutMain, validFragment);
    Captured log = capture([&] {
        Shader shader(path("unlinkable"));
        EXPECT_FALSE(shader.ok);
        EXPECT_EQ(shader.program, 0u);
        EXPECT_NE(shader.vertexShader, 0u);
        EXPECT_NE(shader.fragmentShader, 0u);
        shader.release();
    });
    EXPECT_THAT(log.out, HasSubstr("\nShader linking of shader \"unlinkable\" has failed.\n\n"));
}

class ShaderRegistry : public ShaderFiles {
protected:
    void TearDown() override
    {
        manager.clearShaders();
        ShaderFiles::TearDown();
    }
    std::string folderPath() const { return folder.string() + "/"; }
    ShaderManager manager;
};

TEST_F(ShaderRegistry, AllEightProgramsLoadUnderTheirNumbers)
{
    writeAllEightPrograms();
    bool loaded = false;
    Captured log = capture([&] { loaded = manager.loadShadersFrom(folderPath()); });
    ASSERT_TRUE(loaded) << log.out << log.err;
    for (int number = 0; number < 8; ++number) {
        ASSERT_NE(manager.getShader(number), nullptr);
        EXPECT_EQ(manager.getShader(number)->name, config::shaderProgramNames[number]);
        EXPECT_TRUE(manager.getShader(number)->ok);
    }
    EXPECT_EQ(manager.getShader(8), nullptr);
    EXPECT_EQ(manager.getShader(-1), nullptr);
    EXPECT_TRUE(log.out.size() > 27 &&
                log.out.compare(log.out.size() - 27, 27, "Finished loading shaders.\n\n") == 0)
        << log.out;

    // A second load reports success at once without reading anything.
    Captured again = capture([&] { EXPECT_TRUE(manager.loadShadersFrom(folderPath())); });
    EXPECT_EQ(again.out, "");
}

TEST_F(ShaderRegistry, OneFailingProgramOfEightFailsAfterAllWereAttempted)
{
    writeAllEightPrograms();
    writeProgram("pointlight", validVertex, brokenSource);
    fs::remove(folder / "textureDisplay.vert");
    bool loaded = true;
    Captured log = capture([&] { loaded = manager.loadShadersFrom(folderPath()); });

    EXPECT_FALSE(loaded);
    std::size_t lastLoadingLine = log.out.rfind("Loading shader with path: " + path("lightshafts"));
    std::size_t verdict = log.out.find(
        "\n--- One or multiple shader programs weren't created successfully. Exiting program now. ---\n");
    ASSERT_NE(lastLoadingLine, std::string::npos);
    ASSERT_NE(verdict, std::string::npos);
    EXPECT_LT(lastLoadingLine, verdict);
    EXPECT_EQ(log.out.find("Shader compilation"), log.out.rfind("Shader compilation")) << "one compile failure";
    EXPECT_THAT(log.out, HasSubstr("\"pointlight.frag\" has failed."));
    EXPECT_THAT(log.out, Not(HasSubstr("Finished loading shaders.")));
    EXPECT_EQ(log.err, "Vertex shader file " + path("textureDisplay") + ".vert does not exist.\n");
    EXPECT_FALSE(manager.getShader(2)->ok);
    EXPECT_FALSE(manager.getShader(6)->ok);
    EXPECT_TRUE(manager.getShader(7)->ok);
}

TEST_F(ShaderRegistry, MissingFolderReportsEveryProgram)
{
    bool loaded = true;
    Captured log = capture([&] { loaded = manager.loadShadersFrom(path("absent") + "/"); });
    EXPECT_FALSE(loaded);
    for (const std::string& name : config::shaderProgramNames)
        EXPECT_THAT(log.err, HasSubstr("Vertex shader file " + path("absent") + "/" + name + ".vert does not exist."));
}

TEST_F(ShaderRegistry, AddingANumberTwiceKeepsTheFirstShaderWithoutReadingTheSecond)
{
    writeProgram("first");
    Captured log = capture([&] {
        manager.addShader(3, path("first"));
        manager.addShader(3, path("second"));
    });
    EXPECT_EQ(manager.getShader(3)->name, "first");
    EXPECT_THAT(log.out, Not(HasSubstr("second")));
    EXPECT_EQ(log.err, "");
}

TEST_F(ShaderRegistry, ClearingDeletesEveryProgramAndStageObject)
{
    writeProgram("first");
    testing::internal::CaptureStdout();
    manager.addShader(0, path("first"));
    testing::internal::GetCapturedStdout();
    Shader* shader = manager.getShader(0);
    GLuint program = shader->program, vertex = shader->vertexShader, fragment = shader->fragmentShader;
    ASSERT_TRUE(glIsProgram(program));

    manager.clearShaders();
    EXPECT_EQ(manager.getShader(0), nullptr);
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(glIsShader(vertex));
    EXPECT_FALSE(glIsShader(fragment));
}

} // namespace
