#pragma once
// A generated scene for looking at and measuring the deferred renderer before
// the level exists: a tiled stone floor with a normal map, walls, wooden
// crates, a glowing lamp, a ceiling spot light, a point light at the lamp and
// a flashlight spot light with its shaft, drawn through the real Renderer,
// LightManager and Octree with the repository's shader programs.
#include "Engine/Render/MeshData.h"
#include "Engine/Scene/Math.h"

#include <string>
#include <vector>

struct GLFWwindow;
class RenderObject;
class SpotLight;
class PointLight;

namespace renderscene {

struct Scene {
    RenderObject* floor = nullptr;
    RenderObject* lamp = nullptr;       // emissive texels: the glow source
    RenderObject* sphere = nullptr;     // "Sphere_sphere", hidden: the point-light volume
    std::vector<RenderObject*> crates;
    SpotLight* ceilingSpot = nullptr;   // points straight down at ceilingSpotTarget
    SpotLight* flashlight = nullptr;    // horizontal, with its shaft enabled
    PointLight* lampLight = nullptr;
};

// Where the ceiling spot light's cone meets the floor, and a floor point
// behind the light, outside every cone.
constexpr Vec3 ceilingSpotTarget{-12.0f, 0.0f, 4.0f};
constexpr Vec3 lampPosition{14.0f, 0.0f, -14.0f};

// A window of width x height with a 3.3 context (GLFW initialised here when
// needed) made current; sets screenWidth and screenHeight. Null on failure.
GLFWwindow* openWindow(int width, int height, bool visible);
// Loads the eight programs from the repository's Resources/ShaderPrograms.
bool loadShaders();
// Builds the registry root, the meshes, their textures, the lights, the
// point-light sphere and the octree. `withLights` false leaves the light
// manager empty. `crateGrid` n > 0 adds a field of n x n small crates on a
// ground plane around the room (for measuring culling).
Scene build(bool withLights, int crateGrid = 0);
// A unit sphere (12 rings of 24 segments) with outward faces, untextured.
MeshData unitSphere(const std::string& name);
// Sets the current camera: look-at from eye to centre, 60 degree vertical
// field of view, near 1, far 1000, aspect screenWidth / screenHeight.
void placeCamera(Vec3 eye, Vec3 centre);
// The default camera of the pictures.
void placeDefaultCamera();
// Deletes the light manager, renderer, octree, registry, textures and
// shaders in the engine's shutdown order.
void tearDown();

// RGB bytes of the default framebuffer's back buffer, bottom row first.
std::vector<unsigned char> readScreen(int width, int height);
// RGB bytes of a texture's level 0, bottom row first.
std::vector<unsigned char> readTexture(unsigned texture, int& width, int& height);
// Writes RGB bytes (bottom row first) as a PNG; false with a message on failure.
bool savePng(const std::string& path, const std::vector<unsigned char>& rgb, int width, int height);

} // namespace renderscene
