// Renders the generated test scene through the real renderer and writes the
// pictures a reader of the renderer wants to see: the composed frame, the four
// debug textures, wireframe and glow off. Usage: render_shots <output folder>
// (run under an X display; the folder must exist).
#include "renderScene.h"

#include "Engine/RenderSettings.h"
#include "Engine/Renderer.h"

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

constexpr Shot shots[] = {
    {"render_composed.png", DebugTextureNone, true, false},
    {"render_albedo.png", DebugTextureDiffuse, true, false},
    {"render_normals.png", DebugTextureNormals, true, false},
    {"render_light.png", DebugTextureLight, true, false},
    {"render_glow.png", DebugTextureGlow, true, false},
    {"render_wireframe.png", DebugTextureNone, true, true},
    {"render_glow_off.png", DebugTextureNone, false, false},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: render_shots <output folder>" << std::endl;
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    GLFWwindow* window = renderscene::openWindow(shotWidth, shotHeight, true);
    if (!window || !renderscene::loadShaders()) {
        std::cerr << "render_shots: no OpenGL 3.3 window or the shader programs did not build" << std::endl;
        return 1;
    }
    renderscene::build(true);
    renderscene::placeDefaultCamera();
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
