#include "SceneTestSupport.h"

#include "Engine/Render/Octree.h"
#include "Engine/Render/ShaderManager.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/NodeManager.h"

#include "TempFolder.h"

#include <fstream>
#include <string>

namespace {

const char* vertexSource = R"(#version 330
in vec4 in_position;
in vec2 in_texcoord;
uniform mat4 modelViewMatrix;
out vec2 uv;
void main() { uv = in_texcoord; gl_Position = modelViewMatrix * in_position; }
)";

const char* fragmentSource = R"(#version 330
uniform sampler2D tex_color;
in vec2 uv;
out vec4 out0;
void main() { out0 = vec4(texture(tex_color, uv).rgb, 1.0); }
)";

void registerTestBasicProgram()
{
    ShaderManager* shaders = ShaderManager::getInstance();
    if (shaders->getShader(0))
        return;
    const TempFolder folder("scene_test_basic"); // one per process: CTest runs a binary's cases side by side
    std::ofstream(folder.file("basic.vert")) << vertexSource;
    std::ofstream(folder.file("basic.frag")) << fragmentSource;
    shaders->addShader(0, folder.file("basic")); // compiles at once
}

} // namespace

GLuint testBasicProgram() { return ShaderManager::getInstance()->getShader(0)->program; }

void SceneTest::SetUp()
{
    GLTest::SetUp();
    if (HasFatalFailure())
        return; // no context: nothing below may touch GL
    registerTestBasicProgram();
    ASSERT_NE(testBasicProgram(), 0u);
    currentCamera = CameraView{};
    NodeManager::getInstance()->createRoot();
}

void SceneTest::TearDown()
{
    Octree::destroyInstance();
    NodeManager::destroyInstance();
    currentCamera = CameraView{};
}

void expectNear(Vec3 actual, Vec3 expected, float tolerance)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

MeshData closedBoxMesh(const std::string& name, Vec3 lo, Vec3 hi)
{
    MeshData mesh;
    mesh.name = name;
    const Vec3 corner[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
                            {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    const int faces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4}, {3, 2, 6, 7}, {0, 3, 7, 4}, {1, 2, 6, 5}};
    for (const auto& face : faces)
        for (int index : {face[0], face[1], face[2], face[0], face[2], face[3]})
            mesh.positions.insert(mesh.positions.end(), {corner[index].x, corner[index].y, corner[index].z, 1.0f});
    mesh.texcoords.assign(36 * 2, 0.5f);
    mesh.triangleCounts = {12};
    mesh.diffuseTextureIds = {{-1}};
    mesh.normalTextureIds = {{-1}};
    mesh.boundsMin = lo;
    mesh.boundsMax = hi;
    return mesh;
}

MeshData groupedMesh(const std::string& name, const std::vector<std::vector<Triangle2D>>& groups,
                     const std::vector<int>& diffuseIds)
{
    MeshData mesh;
    mesh.name = name;
    mesh.boundsMin = Vec3{-1, -1, 0};
    mesh.boundsMax = Vec3{1, 1, 0};
    for (const auto& group : groups) {
        mesh.triangleCounts.push_back(static_cast<int>(group.size()));
        for (const Triangle2D& t : group) {
            for (int v = 0; v < 3; ++v) {
                mesh.positions.insert(mesh.positions.end(), {t[v * 2], t[v * 2 + 1], 0.0f, 1.0f});
                mesh.texcoords.insert(mesh.texcoords.end(), {0.5f, 0.5f});
                mesh.normals.insert(mesh.normals.end(), {0.0f, 0.0f, 1.0f});
            }
        }
    }
    mesh.diffuseTextureIds = {diffuseIds};
    mesh.normalTextureIds = {std::vector<int>(diffuseIds.size(), -1)};
    return mesh;
}

GLuint solidTexture(int width, int height, std::array<unsigned char, 4> rgba)
{
    std::vector<unsigned char> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.insert(pixels.end(), rgba.begin(), rgba.end());
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

std::vector<unsigned char> texturePixels(GLuint texture, int& width, int& height)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> pixels(static_cast<size_t>(width * height * 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return pixels;
}

OffscreenTarget::OffscreenTarget(int size)
{
    glGenTextures(1, &colour);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    glViewport(0, 0, size, size);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

OffscreenTarget::~OffscreenTarget()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &colour);
}

std::array<unsigned char, 4> OffscreenTarget::pixel(int x, int y) const
{
    std::array<unsigned char, 4> rgba{};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}
