#include "Engine/Base/Globals.h"
#include "Engine/Pipeline/RenderSettings.h"
#include "Engine/Pipeline/Renderer.h"
#include "Engine/Scene/CameraState.h"

#include "renderScene.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int width = 160; // pixels of the test window
constexpr int height = 120;

// Sum of the RGB bytes at the window pixel of a world point under the current camera.
int brightnessAt(const std::vector<unsigned char>& rgb, Vec3 world)
{
    Vec4 clip = currentCamera.projectionMatrix * (currentCamera.viewMatrix * Vec4{world.x, world.y, world.z, 1.0f});
    const int x = static_cast<int>((clip.x / clip.w * 0.5f + 0.5f) * width);
    const int y = static_cast<int>((clip.y / clip.w * 0.5f + 0.5f) * height);
    size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return rgb[i] + rgb[i + 1] + rgb[i + 2];
}

} // namespace

// The generated scene with its lights in a window of its own, drawn by the
// real renderer. Glow off dims only the lamp. Then every mode, debug view, glow and wireframe setting, and the
// camera inside the flashlight's shaft: no GL error, and the fill mode
// restored for the light and composition passes after a wireframe geometry
// pass. The targets are released once.
TEST(Renderer, LightsGlowAndAFullRunOfFramesWithoutGLError)
{
    GLFWwindow* window = renderscene::openWindow(width, height, true);
    ASSERT_NE(window, nullptr) << "no OpenGL 3.3 window (is DISPLAY set?)";
    ASSERT_TRUE(renderscene::loadShaders());
    renderscene::build(true);
    renderscene::placeDefaultCamera();
    Renderer* renderer = Renderer::getInstance();
    ASSERT_TRUE(renderer->initialize());

    const Vec3 lamp = renderscene::lampPosition + Vec3{0.0f, 5.0f, 1.0f};
    const Vec3 awayFromTheLamp = renderscene::ceilingSpotTarget;
    renderer->render();
    const std::vector<unsigned char> withGlow = renderscene::readScreen(width, height);
    renderSettings.glowEnabled = false;
    renderer->render();
    const std::vector<unsigned char> withoutGlow = renderscene::readScreen(width, height);
    EXPECT_GT(brightnessAt(withGlow, lamp), brightnessAt(withoutGlow, lamp));
    EXPECT_EQ(brightnessAt(withGlow, awayFromTheLamp), brightnessAt(withoutGlow, awayFromTheLamp));

    testing::internal::CaptureStderr();
    for (int mode = 0; mode < renderModeCount; ++mode) {
        for (int debug = DebugTextureNone; debug <= DebugTextureGlow; ++debug) {
            renderSettings.debugTexture = debug;
            renderSettings.glowEnabled = debug % 2 == 0;
            renderSettings.wireframe = debug >= DebugTextureLight; // the last frame of each mode too
            renderscene::placeCamera({6.0f + 10.0f * debug, 26.0f, 48.0f - 30.0f * mode}, {-4.0f, 2.0f, -6.0f});
            renderer->render();
        }
        renderer->cycleRenderMode();
    }
    GLint polygonMode[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_FILL);
    renderscene::placeCamera({40.0f, 10.0f, 10.0f}, {0.0f, 0.0f, 10.0f});
    renderer->render();
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors.find("Error at "), std::string::npos) << errors;
    const GLuint gBuffer = renderer->getTargets().gBuffer;
    renderer->shutdown();
    renderer->shutdown(); // a second release does nothing
    EXPECT_FALSE(glIsFramebuffer(gBuffer));
    renderscene::tearDown();
    glfwDestroyWindow(window);
}
