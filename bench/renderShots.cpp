// Renders the generated test scene through the real renderer and writes the
// pictures a reader of the renderer wants to see: the composed frame, the four
// debug textures, wireframe and glow off. Usage: render_shots [--level] <output folder>
// (run under an X display; the folder must exist). With --level the pictures
// show the game's level (run from bin/) and are named render_level_*.png.
#include "renderLevel.h"
#include "renderScene.h"

#include "Engine/Pipeline/RenderSettings.h"
#include "Engine/Pipeline/Renderer.h"

#include <GLFW/glfw3.h>

#include <iostream>
#include <string>

namespace {

constexpr int shotWidth = 400;  // pixels
constexpr int shotHeight = 300;
constexpr int settleFrames = 2; // frames drawn before each picture

struct Shot {
    const char* file;
    int debugTexture;
    bool glow;
    bool wireframe;
};

// The level's view: across the courtyard, with a flashlight held ahead and to the right.
constexpr Vec3 levelEye{-22.0f, 3.2f, 20.0f};
constexpr Vec3 levelCentre{12.0f, 0.5f, -8.0f};
constexpr float flashlightAhead = 4.0f; // units along the view
constexpr float flashlightRight = 1.5f;
constexpr float flashlightDrop = 1.6f;

void setUpLevelView()
{
    renderscene::placeCamera(levelEye, levelCentre);
    Vec3 forward = normalize(levelCentre - levelEye);
    Vec3 right = normalize(cross(forward, {0.0f, 1.0f, 0.0f}));
    Vec3 hand = levelEye + forward * flashlightAhead + right * flashlightRight - Vec3{0.0f, flashlightDrop, 0.0f};
    renderlevel::addFlashlight(hand, normalize(forward + Vec3{0.0f, -0.12f, 0.0f}));
}

constexpr Shot shots[] = {
    {"composed.png", DebugTextureNone, true, false},
    {"albedo.png", DebugTextureDiffuse, true, false},
    {"normals.png", DebugTextureNormals, true, false},
    {"light.png", DebugTextureLight, true, false},
    {"glow.png", DebugTextureGlow, true, false},
    {"wireframe.png", DebugTextureNone, true, true},
    {"glow_off.png", DebugTextureNone, false, false},
};

} // namespace

int main(int argc, char** argv)
{
    const bool level = argc == 3 && std::string(argv[1]) == "--level";
    if (argc != 2 && !level) {
        std::cerr << "usage: render_shots [--level] <output folder>" << std::endl;
        return 2;
    }
    const std::string folder = std::string(argv[argc - 1]) + "/" + (level ? "render_level_" : "render_");
    GLFWwindow* window = renderscene::openWindow(shotWidth, shotHeight, true);
    if (!window || !renderscene::loadShaders()) {
        std::cerr << "render_shots: no OpenGL 3.3 window or the shader programs did not build" << std::endl;
        return 1;
    }
    if (level) {
        if (!renderlevel::load())
            return 1;
        setUpLevelView();
    } else {
        renderscene::build(true);
        renderscene::placeDefaultCamera();
    }
    Renderer* renderer = Renderer::getInstance();
    renderer->initialize();

    int failures = 0;
    for (const Shot& shot : shots) {
        renderSettings.debugTexture = shot.debugTexture;
        renderSettings.glowEnabled = shot.glow;
        renderSettings.wireframe = shot.wireframe;
        for (int frame = 0; frame < settleFrames; ++frame)
            renderer->render();
        if (!renderscene::savePng(folder + shot.file, renderscene::readScreen(shotWidth, shotHeight), shotWidth,
                                  shotHeight))
            ++failures;
        glfwSwapBuffers(window);
    }
    renderscene::tearDown();
    glfwDestroyWindow(window);
    glfwTerminate();
    return failures == 0 ? 0 : 1;
}
