#include "Engine/Base/Globals.h"
#include "Engine/Lights/LightManager.h"
#include "Engine/Lights/PointLight.h"
#include "Engine/Lights/SpotLight.h"
#include "Engine/Pipeline/RenderSettings.h"
#include "Engine/Pipeline/Renderer.h"
#include "Engine/Render/Octree.h"
#include "Engine/Render/RenderObject.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/NodeManager.h"

#include "renderScene.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

constexpr int width = 160; // pixels of the test window
constexpr int height = 120;

struct Pixel {
    int x = 0, y = 0;
};

// Window pixel of a world point under the current camera.
Pixel project(Vec3 world)
{
    Vec4 clip = currentCamera.projectionMatrix * (currentCamera.viewMatrix * Vec4{world.x, world.y, world.z, 1.0f});
    return {static_cast<int>((clip.x / clip.w * 0.5f + 0.5f) * width),
            static_cast<int>((clip.y / clip.w * 0.5f + 0.5f) * height)};
}

int brightness(const std::vector<unsigned char>& rgb, int w, Pixel p)
{
    size_t i = (static_cast<size_t>(p.y) * w + p.x) * 3;
    return rgb[i] + rgb[i + 1] + rgb[i + 2];
}

// The generated scene in a window of its own, drawn by the real renderer.
class RendererTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { window = renderscene::openWindow(width, height, true); }
    static void TearDownTestSuite()
    {
        if (window)
            glfwDestroyWindow(window);
        window = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(window, nullptr) << "no OpenGL 3.3 window (is DISPLAY set?)";
        glfwMakeContextCurrent(window);
        renderSettings = RenderSettings{};
        ASSERT_TRUE(renderscene::loadShaders());
    }
    void TearDown() override
    {
        if (window)
            renderscene::tearDown();
        renderSettings = RenderSettings{};
    }

    Renderer* start(bool withLights)
    {
        scene = renderscene::build(withLights);
        renderscene::placeDefaultCamera();
        Renderer* renderer = Renderer::getInstance();
        complete = renderer->initialize();
        return renderer;
    }

    std::vector<unsigned char> frame(Renderer* renderer)
    {
        renderer->render();
        return renderscene::readScreen(width, height);
    }

    static std::vector<unsigned char> texture(GLuint name)
    {
        int w = 0, h = 0;
        return renderscene::readTexture(name, w, h);
    }

    static GLFWwindow* window;
    renderscene::Scene scene;
    bool complete = false;
};

GLFWwindow* RendererTest::window = nullptr;

} // namespace

TEST_F(RendererTest, InitialiseBuildsCompleteTargetsOfWindowAndHalfSize)
{
    Renderer* renderer = start(true);
    EXPECT_TRUE(complete);
    const RenderTargets& targets = renderer->getTargets();
    for (const auto& [target, divisor] : {std::pair{targets.normalTexture, 1}, {targets.blurredGlowTexture, 2}}) {
        int w = 0, h = 0;
        renderscene::readTexture(target, w, h);
        EXPECT_EQ(std::pair(w, h), std::pair(width / divisor, height / divisor));
    }
    for (GLuint framebuffer : {targets.gBuffer, targets.lightFramebuffer, targets.glowFramebuffer,
                               targets.blurIntermediateFramebuffer, targets.blurredGlowFramebuffer})
        EXPECT_TRUE(glIsFramebuffer(framebuffer));
    renderer->shutdown();
    renderer->shutdown(); // a second release does nothing
    EXPECT_FALSE(glIsFramebuffer(targets.gBuffer));
}

TEST_F(RendererTest, IncompleteFramebufferIsReportedAndUnbound)
{
    GLuint empty = 0;
    glGenFramebuffers(1, &empty);
    glBindFramebuffer(GL_FRAMEBUFFER, empty);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(checkFramebufferStatus());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nLight Framebuffer is NOT complete\n\n\nGL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT\n\n");
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
    glDeleteFramebuffers(1, &empty);
    EXPECT_STREQ(framebufferStatusText(0x1234), "\nUndefined Framebuffer error\n");
}

TEST_F(RendererTest, PCyclesTheModesAndEachModeCountsWhatItDraws)
{
    Renderer* renderer = start(true);
    EXPECT_STREQ(renderStats.renderModeName, "Octree Culling");
    // Looking at the room's left half: some crates, the lamp and a wall lie outside the view.
    renderscene::placeCamera({-20.0f, 10.0f, 25.0f}, {-30.0f, 4.0f, -10.0f});
    frame(renderer);
    const int octreeCount = renderStats.renderedObjects;
    EXPECT_GT(renderStats.checkedOctreeNodes, 0);

    renderer->cycleRenderMode();
    EXPECT_STREQ(renderStats.renderModeName, "Rendering All");
    EXPECT_EQ(renderStats.checkedOctreeNodes, 0);
    frame(renderer);
    EXPECT_EQ(renderStats.renderedObjects, 8); // every visible object; the hidden sphere is not counted

    renderer->cycleRenderMode();
    EXPECT_STREQ(renderStats.renderModeName, "Frustum Cull Each");
    frame(renderer);
    EXPECT_LT(renderStats.renderedObjects, 8);
    EXPECT_GT(renderStats.renderedObjects, 0);
    // Whole cells pass at once, so the octree may also count an object that only touches a
    // visible cell (and the hidden sphere, which it marks but which does not draw itself).
    EXPECT_GE(octreeCount, renderStats.renderedObjects);
    EXPECT_LE(octreeCount, 9);

    renderer->cycleRenderMode();
    EXPECT_STREQ(renderStats.renderModeName, "Octree Culling");
    EXPECT_EQ(renderer->getRenderMode(), OctreeCulling);
}

TEST_F(RendererTest, SpotLightBrightensTheFloorInItsConeAndNotBehindIt)
{
    Renderer* renderer = start(true);
    scene.flashlight->intensity = 0.0f;
    scene.lampLight->intensity = 0.0f;
    renderer->render();
    const int w = width;
    const std::vector<unsigned char> light = texture(renderer->getTargets().lightTexture);
    Pixel inCone = project(renderscene::ceilingSpotTarget);
    Pixel outside = project(renderscene::ceilingSpotTarget + Vec3{0.0f, 0.0f, 24.0f}); // nearer the camera
    Pixel behind = project(renderscene::ceilingSpotTarget + Vec3{0.0f, 0.0f, -24.0f}); // the back wall's foot
    EXPECT_GT(brightness(light, w, inCone), 150);
    EXPECT_EQ(brightness(light, w, outside), 0);
    EXPECT_EQ(brightness(light, w, behind), 0);

    // The soft edge: brightness falls off between the inner and the outer angle.
    Pixel edge = project(renderscene::ceilingSpotTarget + Vec3{0.0f, 0.0f, 13.0f});
    EXPECT_LT(brightness(light, w, edge), brightness(light, w, inCone));
    EXPECT_GT(brightness(light, w, edge), 0);
}

TEST_F(RendererTest, NoLightsLeaveTheLightTextureAtTheClearColour)
{
    Renderer* renderer = start(false);
    std::vector<unsigned char> screen = frame(renderer);
    const std::vector<unsigned char> light = texture(renderer->getTargets().lightTexture);
    EXPECT_EQ(std::count(light.begin(), light.end(), 0), static_cast<std::ptrdiff_t>(light.size()));
    // Away from the lamp's glow the picture is black.
    EXPECT_EQ(brightness(screen, width, project(renderscene::ceilingSpotTarget)), 0);
}

TEST_F(RendererTest, DebugViewsShowTheirTextureInsteadOfTheComposition)
{
    Renderer* renderer = start(true);
    for (const auto& [view, shown] : {std::pair{DebugTextureDiffuse, renderer->getTargets().albedoTexture},
                                      {DebugTextureLight, renderer->getTargets().lightTexture}}) {
        renderSettings.debugTexture = view;
        const std::vector<unsigned char> screen = frame(renderer);
        EXPECT_EQ(screen, texture(shown)) << view;
    }

    // Normals: the floor, the back wall and the side wall face three different ways,
    // and the tiles' normal map adds many more shades.
    renderSettings.debugTexture = DebugTextureNormals;
    std::vector<unsigned char> screen = frame(renderer);
    std::set<int> shades;
    for (size_t i = 0; i < screen.size(); i += 3)
        shades.insert(screen[i] << 16 | screen[i + 1] << 8 | screen[i + 2]);
    EXPECT_GT(shades.size(), 50u);
    Pixel floor = project(renderscene::ceilingSpotTarget + Vec3{-0.5f, 0.0f, 3.5f}); // a tile's middle
    size_t f = (static_cast<size_t>(floor.y) * width + floor.x) * 3;
    EXPECT_GT(screen[f + 1], 200); // up is mostly +y in view space
    EXPECT_LT(screen[f], 30);
}

TEST_F(RendererTest, GlowOffChangesOnlyTheGlowingPixels)
{
    Renderer* renderer = start(true);
    std::vector<unsigned char> withGlow = frame(renderer);
    std::vector<unsigned char> glow = texture(renderer->getTargets().glowTexture);
    std::vector<unsigned char> blurred = texture(renderer->getTargets().blurredGlowTexture);
    renderSettings.glowEnabled = false;
    std::vector<unsigned char> withoutGlow = frame(renderer);

    int changed = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Pixel p{x, y}, half{x / 2, y / 2};
            bool glowing = brightness(glow, width, p) > 0 || brightness(blurred, width / 2, half) > 0;
            // Blurred glow is read with linear filtering: a dark half-size texel beside a lit one counts too.
            for (int dy = -1; dy <= 1 && !glowing; ++dy)
                for (int dx = -1; dx <= 1 && !glowing; ++dx) {
                    Pixel n{std::clamp(half.x + dx, 0, width / 2 - 1), std::clamp(half.y + dy, 0, height / 2 - 1)};
                    glowing = brightness(blurred, width / 2, n) > 0;
                }
            if (!glowing)
                ASSERT_EQ(brightness(withGlow, width, p), brightness(withoutGlow, width, p)) << x << "," << y;
            else if (brightness(withGlow, width, p) != brightness(withoutGlow, width, p))
                ++changed;
        }
    }
    EXPECT_GT(changed, 20);
    Pixel lamp = project(renderscene::lampPosition + Vec3{0.0f, 5.0f, 1.0f});
    EXPECT_GT(brightness(withGlow, width, lamp), brightness(withoutGlow, width, lamp));
}

TEST_F(RendererTest, WireframeDrawsOnlyTheGeometryPassAsLines)
{
    Renderer* renderer = start(true);
    auto coverage = [&] {
        renderer->render();
        int covered = 0;
        std::vector<unsigned char> albedo = texture(renderer->getTargets().albedoTexture);
        for (size_t i = 0; i < albedo.size(); i += 3)
            covered += albedo[i] + albedo[i + 1] + albedo[i + 2] > 0 ? 1 : 0;
        return covered;
    };
    const int filled = coverage();
    renderSettings.wireframe = true;
    const int lines = coverage();
    EXPECT_LT(lines * 3, filled);
    GLint polygonMode[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_FILL); // light volumes, blur and composition fill
}

TEST_F(RendererTest, AFullRunOfFramesReportsNoGLError)
{
    Renderer* renderer = start(true);
    testing::internal::CaptureStderr();
    for (int mode = 0; mode < renderModeCount; ++mode) {
        for (int debug = DebugTextureNone; debug <= DebugTextureGlow; ++debug) {
            renderSettings.debugTexture = debug;
            renderSettings.glowEnabled = debug % 2 == 0;
            renderSettings.wireframe = debug == DebugTextureLight;
            renderscene::placeCamera({6.0f + 10.0f * debug, 26.0f, 48.0f - 30.0f * mode}, {-4.0f, 2.0f, -6.0f});
            renderer->render();
        }
        renderer->cycleRenderMode();
    }
    // The flashlight's shaft with the camera inside its cone.
    renderscene::placeCamera({40.0f, 10.0f, 10.0f}, {0.0f, 0.0f, 10.0f});
    renderer->render();
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors.find("Error at "), std::string::npos) << errors;
}
