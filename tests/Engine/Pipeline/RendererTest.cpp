#include "Engine/Pipeline/RenderSettings.h"
#include "Engine/Pipeline/Renderer.h"

#include "renderScene.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <string>

// The generated scene with its lights in a window of its own, drawn by the
// real renderer in every mode, debug view, glow and wireframe setting, and with
// the camera inside the flashlight's shaft: no GL error, and the fill mode
// restored for the light and composition passes after a wireframe geometry
// pass. The targets are released once.
TEST(Renderer, AFullRunOfFramesWithoutGLError)
{
    GLFWwindow* window = renderscene::openWindow(160, 120, true);
    ASSERT_NE(window, nullptr) << "no OpenGL 3.3 window (is DISPLAY set?)";
    ASSERT_TRUE(renderscene::loadShaders());
    renderscene::build(true);
    renderscene::placeDefaultCamera();
    Renderer* renderer = Renderer::getInstance();
    ASSERT_TRUE(renderer->initialize());

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
