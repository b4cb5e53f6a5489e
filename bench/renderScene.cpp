#include "renderScene.h"

#include "Engine/Base/Globals.h"
#include "Engine/Base/Window.h"
#include "Engine/Lights/LightManager.h"
#include "Engine/Lights/PointLight.h"
#include "Engine/Lights/SpotLight.h"
#include "Engine/Pipeline/Renderer.h"
#include "Engine/Render/Octree.h"
#include "Engine/Render/RenderObject.h"
#include "Engine/Render/ShaderManager.h"
#include "Engine/Render/TextureManager.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/NodeManager.h"

#include <FreeImage.h>
#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <iostream>

#ifndef UMBRANT_SHADER_DIR
#error "UMBRANT_SHADER_DIR must name the repository's Resources/ShaderPrograms/ folder"
#endif

namespace renderscene {

namespace {

constexpr int textureSize = 256;     // pixels, every generated texture
constexpr float fieldOfView = 60.0f; // degrees, vertical
constexpr float nearPlane = 1.0f;
constexpr float farPlane = 1000.0f;
constexpr int sphereRings = 12;
constexpr int sphereSegments = 24;

using Rgba = std::array<float, 4>; // 0..1
using PixelFunction = std::function<Rgba(int x, int y)>;

// Deterministic value noise in [0, 1] from integer coordinates.
float hashNoise(int x, int y, int seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u
                 + static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xffffu) / 65535.0f;
}

unsigned char toByte(float v) { return static_cast<unsigned char>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); }

// A mipmapped, repeating texture of the TextureManager filled from `pixel`.
int generatedTexture(const std::string& name, const PixelFunction& pixel)
{
    std::vector<unsigned char> bytes;
    bytes.reserve(textureSize * textureSize * 4);
    for (int y = 0; y < textureSize; ++y)
        for (int x = 0; x < textureSize; ++x)
            for (float channel : pixel(x, y))
                bytes.push_back(toByte(channel));
    GLuint texture = TextureManager::getInstance()->createTexture(GL_RGBA, name, textureSize, textureSize, GL_REPEAT,
                                                                  GL_LINEAR_MIPMAP_LINEAR, 4.0f);
    if (texture == noTexture)
        texture = TextureManager::getInstance()->getTexture(name);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, textureSize, textureSize, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    return static_cast<int>(texture);
}

// Distance in pixels to the nearest tile edge of a grid of `tile` pixels, and
// the direction (in texture space) away from that edge.
float edgeDistance(int x, int y, int tile, float& awayX, float& awayY)
{
    int u = x % tile, v = y % tile;
    float left = static_cast<float>(u), right = static_cast<float>(tile - 1 - u);
    float bottom = static_cast<float>(v), top = static_cast<float>(tile - 1 - v);
    float nearest = std::min(std::min(left, right), std::min(bottom, top));
    awayX = nearest == left ? 1.0f : nearest == right ? -1.0f : 0.0f;
    awayY = awayX != 0.0f ? 0.0f : (nearest == bottom ? 1.0f : -1.0f);
    return nearest;
}

// Tangent-space normal tilted towards (awayX, awayY) by `slope`, packed into 0..1.
Rgba packedNormal(float awayX, float awayY, float slope)
{
    Vec3 n = normalize(Vec3{-awayX * slope, -awayY * slope, 1.0f});
    return {n.x * 0.5f + 0.5f, n.y * 0.5f + 0.5f, n.z * 0.5f + 0.5f, 1.0f};
}

constexpr int stoneTile = 64; // pixels
constexpr float stoneBevel = 6.0f;

Rgba stoneColour(int x, int y)
{
    float away[2];
    float edge = edgeDistance(x, y, stoneTile, away[0], away[1]);
    if (edge < 2.0f)
        return {0.16f, 0.15f, 0.14f, 0.0f}; // mortar
    float tone = 0.45f + 0.12f * hashNoise(x / stoneTile, y / stoneTile, 1) + 0.08f * hashNoise(x, y, 2);
    return {tone, tone * 0.93f, tone * 0.85f, 0.0f};
}

Rgba stoneNormal(int x, int y)
{
    float awayX = 0.0f, awayY = 0.0f;
    float edge = edgeDistance(x, y, stoneTile, awayX, awayY);
    if (edge >= stoneBevel)
        return packedNormal(0.0f, 0.0f, 0.0f);
    return packedNormal(awayX, awayY, 0.8f * (1.0f - edge / stoneBevel));
}

constexpr int plankWidth = 32; // pixels

Rgba woodColour(int x, int y)
{
    int plank = x / plankWidth;
    float grain = 0.5f + 0.5f * std::sin(static_cast<float>(y) * 0.15f + 6.0f * hashNoise(plank, 0, 3)
                                         + static_cast<float>(x % plankWidth) * 0.05f);
    float tone = 0.42f + 0.1f * hashNoise(plank, 1, 4) + 0.08f * grain;
    if (x % plankWidth < 2)
        tone *= 0.4f; // groove
    return {tone, tone * 0.68f, tone * 0.4f, 0.0f};
}

Rgba woodNormal(int x, int /*y*/)
{
    int u = x % plankWidth;
    if (u < 3)
        return packedNormal(1.0f, 0.0f, 0.7f);
    if (u > plankWidth - 3)
        return packedNormal(-1.0f, 0.0f, 0.7f);
    return packedNormal(0.0f, 0.0f, 0.0f);
}

constexpr int lampFrame = 24; // pixels of dark frame around the glowing panel

Rgba lampColour(int x, int y)
{
    int edge = std::min(std::min(x, textureSize - 1 - x), std::min(y, textureSize - 1 - y));
    if (edge < lampFrame)
        return {0.2f, 0.2f, 0.22f, 0.0f};
    return {1.0f, 0.86f, 0.55f, 0.0f};
}

Rgba flatNormal(int, int) { return packedNormal(0.0f, 0.0f, 0.0f); }

struct Material {
    int diffuse = -1;
    int normal = -1;
};

// Appends a quad (two triangles, counter-clockwise seen from the side its
// normal U x V points to) with texture coordinates repeating `repeat` times
// per 10 units.
void appendQuad(MeshData& mesh, Vec3 corner, Vec3 u, Vec3 v, float repeat)
{
    Vec3 normal = normalize(cross(u, v));
    Vec3 tangent = normalize(u), binormal = normalize(v);
    float su = length(u) / 10.0f * repeat, sv = length(v) / 10.0f * repeat;
    const Vec3 corners[4] = {corner, corner + u, corner + u + v, corner + v};
    const float uv[4][2] = {{0, 0}, {su, 0}, {su, sv}, {0, sv}};
    for (int index : {0, 1, 2, 0, 2, 3}) {
        Vec3 p = corners[index];
        mesh.positions.insert(mesh.positions.end(), {p.x, p.y, p.z, 1.0f});
        mesh.normals.insert(mesh.normals.end(), {normal.x, normal.y, normal.z});
        mesh.tangents.insert(mesh.tangents.end(), {tangent.x, tangent.y, tangent.z});
        mesh.binormals.insert(mesh.binormals.end(), {binormal.x, binormal.y, binormal.z});
        mesh.texcoords.insert(mesh.texcoords.end(), {uv[index][0], uv[index][1]});
        mesh.boundsMin = mesh.positions.size() == 4 ? p : componentMin(mesh.boundsMin, p);
        mesh.boundsMax = mesh.positions.size() == 4 ? p : componentMax(mesh.boundsMax, p);
    }
}

MeshData meshRecord(const std::string& name, const Material& material)
{
    MeshData mesh;
    mesh.name = name;
    mesh.diffuseTextureIds = {{material.diffuse}};
    mesh.normalTextureIds = {{material.normal}};
    return mesh;
}

void finishRecord(MeshData& mesh) { mesh.triangleCounts = {static_cast<int>(mesh.positions.size() / 12)}; }

// An axis-aligned box with outward faces.
MeshData boxRecord(const std::string& name, Vec3 lo, Vec3 hi, const Material& material, float repeat)
{
    MeshData mesh = meshRecord(name, material);
    Vec3 size = hi - lo;
    Vec3 x{size.x, 0, 0}, y{0, size.y, 0}, z{0, 0, size.z};
    appendQuad(mesh, {lo.x, lo.y, hi.z}, x, y, repeat);      // +Z
    appendQuad(mesh, {hi.x, lo.y, lo.z}, x * -1.0f, y, repeat); // -Z
    appendQuad(mesh, {hi.x, lo.y, hi.z}, z * -1.0f, y, repeat); // +X
    appendQuad(mesh, {lo.x, lo.y, lo.z}, z, y, repeat);      // -X
    appendQuad(mesh, {lo.x, hi.y, hi.z}, x, z * -1.0f, repeat); // +Y
    appendQuad(mesh, {lo.x, lo.y, lo.z}, x, z, repeat);      // -Y
    finishRecord(mesh);
    return mesh;
}

RenderObject* addToScene(const MeshData& mesh)
{
    auto* object = new RenderObject(mesh);
    object->setParent(NodeManager::getInstance()->getRoot());
    return object;
}

constexpr float fieldSpacing = 16.0f; // units between crate centres
constexpr float fieldCrateSize = 4.0f;

void addCrateField(int crateGrid, const Material& wood, const Material& ground)
{
    if (crateGrid <= 0)
        return;
    const float half = fieldSpacing * static_cast<float>(crateGrid) * 0.5f;
    MeshData field = meshRecord("test_field", ground);
    appendQuad(field, {-half, -0.05f, half}, {2.0f * half, 0.0f, 0.0f}, {0.0f, 0.0f, -2.0f * half}, 2.0f);
    finishRecord(field);
    addToScene(field);
    for (int row = 0; row < crateGrid; ++row) {
        for (int column = 0; column < crateGrid; ++column) {
            Vec3 lo{-half + (static_cast<float>(column) + 0.5f) * fieldSpacing, 0.0f,
                    -half + (static_cast<float>(row) + 0.5f) * fieldSpacing};
            std::string name = "test_fieldCrate" + std::to_string(row * crateGrid + column);
            addToScene(boxRecord(name, lo, lo + Vec3{fieldCrateSize, fieldCrateSize, fieldCrateSize}, wood, 2.5f));
        }
    }
}

void addLights(Scene& scene)
{
    LightManager* lights = LightManager::getInstance();
    // Straight down (-Z turned to -Y) from 30 units above its target.
    scene.ceilingSpot = new SpotLight(ceilingSpotTarget + Vec3{0.0f, 30.0f, 0.0f}, {-90.0f, 0.0f, 0.0f},
                                      {1.0f, 0.85f, 0.65f}, "testCeilingSpot", 30.0f, 60.0f,
                                      {325.0f, 1.0f, 0.014f, 0.0007f});
    lights->addLight(scene.ceilingSpot);
    // Towards -X, tilted 25 degrees down: the player's flashlight values.
    scene.flashlight = new SpotLight({28.0f, 9.0f, 10.0f}, {-25.0f, 90.0f, 0.0f}, {1.0f, 0.9f, 0.7f},
                                     "testFlashlight", 17.0f, 70.0f, {200.0f, 1.0f, 0.022f, 0.0019f});
    scene.flashlight->shaftEnabled = true;
    lights->addLight(scene.flashlight);
    scene.lampLight = new PointLight(lampPosition + Vec3{0.0f, 6.0f, 4.0f}, {1.0f, 0.55f, 0.25f}, "testLampLight",
                                     {60.0f, 1.0f, 0.027f, 0.0028f});
    lights->addLight(scene.lampLight);
    lights->buildPointLightVolume();
}

} // namespace

MeshData unitSphere(const std::string& name)
{
    MeshData mesh = meshRecord(name, {});
    auto point = [](int ring, int segment) {
        float theta = 3.14159265f * static_cast<float>(ring) / sphereRings;
        float phi = 6.2831853f * static_cast<float>(segment) / sphereSegments;
        return Vec3{std::sin(theta) * std::cos(phi), std::cos(theta), -std::sin(theta) * std::sin(phi)};
    };
    for (int ring = 0; ring < sphereRings; ++ring) {
        for (int segment = 0; segment < sphereSegments; ++segment) {
            Vec3 a = point(ring, segment), b = point(ring + 1, segment);
            Vec3 c = point(ring + 1, segment + 1), d = point(ring, segment + 1);
            for (Vec3 p : {a, b, c, a, c, d}) {
                mesh.positions.insert(mesh.positions.end(), {p.x, p.y, p.z, 1.0f});
                mesh.normals.insert(mesh.normals.end(), {p.x, p.y, p.z});
                mesh.tangents.insert(mesh.tangents.end(), {1.0f, 0.0f, 0.0f});
                mesh.binormals.insert(mesh.binormals.end(), {0.0f, 1.0f, 0.0f});
                mesh.texcoords.insert(mesh.texcoords.end(), {0.0f, 0.0f});
            }
        }
    }
    mesh.boundsMin = {-1.0f, -1.0f, -1.0f};
    mesh.boundsMax = {1.0f, 1.0f, 1.0f};
    finishRecord(mesh);
    return mesh;
}

GLFWwindow* openWindow(int width, int height, bool visible)
{
    GLFWwindow* window = openContextWindow(width, height, visible, "renderer test scene");
    if (window) {
        screenWidth = static_cast<float>(width);
        screenHeight = static_cast<float>(height);
    }
    return window;
}

bool loadShaders() { return ShaderManager::getInstance()->loadShadersFrom(UMBRANT_SHADER_DIR); }

Scene build(bool withLights, int crateGrid)
{
    NodeManager* nodes = NodeManager::getInstance();
    if (!nodes->getRoot())
        nodes->createRoot();
    Material stone{generatedTexture("test_stone", stoneColour), generatedTexture("test_stone_n", stoneNormal)};
    Material wood{generatedTexture("test_wood", woodColour), generatedTexture("test_wood_n", woodNormal)};
    Material lamp{generatedTexture("test_lamp", lampColour), generatedTexture("test_flat_n", flatNormal)};

    Scene scene;
    MeshData floor = meshRecord("test_floor", stone);
    appendQuad(floor, {-40.0f, 0.0f, 30.0f}, {80.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -60.0f}, 0.5f);
    finishRecord(floor);
    scene.floor = addToScene(floor);
    addToScene(boxRecord("test_backWall", {-40.0f, 0.0f, -32.0f}, {40.0f, 24.0f, -30.0f}, stone, 0.5f));
    addToScene(boxRecord("test_sideWall", {-42.0f, 0.0f, -30.0f}, {-40.0f, 24.0f, 30.0f}, stone, 0.5f));
    const Vec3 crateCorners[] = {{-22.0f, 0.0f, -10.0f}, {-6.0f, 0.0f, 2.0f}, {4.0f, 0.0f, -20.0f}, {-30.0f, 0.0f, 10.0f}};
    const float crateSizes[] = {8.0f, 6.0f, 10.0f, 7.0f};
    for (int i = 0; i < 4; ++i) {
        Vec3 lo = crateCorners[i];
        Vec3 hi = lo + Vec3{crateSizes[i], crateSizes[i], crateSizes[i]};
        scene.crates.push_back(addToScene(boxRecord("test_crate" + std::to_string(i), lo, hi, wood, 1.25f)));
    }
    scene.lamp = addToScene(boxRecord("test_lamp", lampPosition + Vec3{-3.0f, 0.0f, -1.0f},
                                      lampPosition + Vec3{3.0f, 10.0f, 1.0f}, lamp, 1.0f));

    addCrateField(crateGrid, wood, stone);

    // The light-volume sphere stays out of the scene and invisible, as loaded at start-up.
    scene.sphere = new RenderObject(unitSphere("Sphere_sphere"));
    scene.sphere->setVisible(false);

    if (withLights)
        addLights(scene);
    nodes->getRoot()->update();
    Octree::getInstance()->build();
    return scene;
}

void placeCamera(Vec3 eye, Vec3 centre)
{
    currentCamera.setMatrices(lookAt(eye, centre, {0.0f, 1.0f, 0.0f}),
                              perspective(fieldOfView, screenWidth / screenHeight, nearPlane, farPlane));
    currentCamera.eye = eye;
    currentCamera.direction = normalize(centre - eye);
    currentCamera.nearPlane = nearPlane;
    currentCamera.farPlane = farPlane;
}

void placeDefaultCamera() { placeCamera({6.0f, 26.0f, 48.0f}, {-4.0f, 2.0f, -6.0f}); }

void tearDown()
{
    LightManager::destroyInstance();
    Renderer::destroyInstance();
    TextureManager::destroyInstance();
    ShaderManager::destroyInstance();
    NodeManager::destroyInstance();
    Octree::destroyInstance();
    currentCamera = CameraView{};
}

std::vector<unsigned char> readScreen(int width, int height)
{
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

std::vector<unsigned char> readTexture(unsigned texture, int& width, int& height)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return rgb;
}

bool savePng(const std::string& path, const std::vector<unsigned char>& rgb, int width, int height)
{
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 24);
    if (!bitmap) {
        std::cerr << "savePng: cannot allocate " << width << "x" << height << " for " << path << std::endl;
        return false;
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            RGBQUAD colour{p[2], p[1], p[0], 0}; // blue, green, red
            FreeImage_SetPixelColor(bitmap, x, y, &colour);
        }
    }
    bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0) != 0;
    FreeImage_Unload(bitmap);
    if (!saved)
        std::cerr << "savePng: cannot write " << path << std::endl;
    return saved;
}

} // namespace renderscene
