// The game's picture against reference pictures: the real start-up in this
// process, a game at a fixed random seed and time step, and three views
// compared at half size with the pictures in tests/e2e/reference. They are
// Mesa llvmpipe's pictures; under another renderer the test is skipped.
// On a failure the picture and a difference image (8 times amplified) are
// saved beside the test binary. UMBRANT_UPDATE_REFERENCES=1 writes the
// references instead (after a deliberate change of the picture or content).
#include "Engine/Engine.h"
#include "Engine/Base/Globals.h"
#include "Engine/Pipeline/RenderSettings.h"
#include "Engine/Pipeline/Renderer.h"
#include "Game/AIAgent.h"
#include "Game/GameSession.h"
#include "Game/PlayerCharacter.h"

#include "renderScene.h"
#include "seededGame.h"

#include <FreeImage.h>
#include <GL/glew.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double timeStep = 1.0 / 30.0; // seconds
constexpr int settleFrames = 30;        // the follow camera comes to rest behind the player
constexpr int chaseFrames = 10;         // the wave sets off towards the player
// A visible change exceeds these; rounding differences of a cheaper formula do not.
constexpr double meanTolerance = 0.5;   // per channel, 0..255
constexpr int maxTolerance = 40;

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // bottom row first
};

Picture halfSize(const std::vector<unsigned char>& rgb, int width, int height)
{
    Picture half{width / 2, height / 2, {}};
    half.rgb.resize(static_cast<size_t>(half.width) * half.height * 3);
    for (int y = 0; y < half.height; ++y)
        for (int x = 0; x < half.width; ++x)
            for (int c = 0; c < 3; ++c) {
                auto at = [&](int dx, int dy) {
                    return rgb[(static_cast<size_t>(2 * y + dy) * width + 2 * x + dx) * 3 + c];
                };
                half.rgb[(static_cast<size_t>(y) * half.width + x) * 3 + c] =
                    static_cast<unsigned char>((at(0, 0) + at(1, 0) + at(0, 1) + at(1, 1) + 2) / 4);
            }
    return half;
}

bool loadPicture(const std::string& path, Picture& picture)
{
    FIBITMAP* loaded = FreeImage_Load(FIF_PNG, path.c_str(), 0);
    if (!loaded)
        return false;
    FIBITMAP* bitmap = FreeImage_ConvertTo24Bits(loaded);
    FreeImage_Unload(loaded);
    picture.width = static_cast<int>(FreeImage_GetWidth(bitmap));
    picture.height = static_cast<int>(FreeImage_GetHeight(bitmap));
    picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            RGBQUAD colour{};
            FreeImage_GetPixelColor(bitmap, x, y, &colour);
            unsigned char* p = &picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3];
            p[0] = colour.rgbRed;
            p[1] = colour.rgbGreen;
            p[2] = colour.rgbBlue;
        }
    FreeImage_Unload(bitmap);
    return true;
}

bool save(const std::string& path, const Picture& picture)
{
    return renderscene::savePng(path, picture.rgb, picture.width, picture.height);
}

// Mean and largest per-channel difference; a picture of another size fails.
void expectMatchesReference(const std::string& name, const Picture& actual)
{
    const std::string reference = std::string(UMBRANT_REFERENCE_DIR) + "/" + name + ".png";
    if (std::getenv("UMBRANT_UPDATE_REFERENCES")) {
        EXPECT_TRUE(save(reference, actual));
        return;
    }
    Picture expected;
    ASSERT_TRUE(loadPicture(reference, expected)) << "no reference picture " << reference;
    const std::string failed = std::string(UMBRANT_TEST_OUTPUT_DIR) + "/" + name;
    ASSERT_EQ(expected.width, actual.width) << name;
    ASSERT_EQ(expected.height, actual.height) << name;
    Picture difference = actual;
    double sum = 0.0;
    int largest = 0;
    for (size_t i = 0; i < actual.rgb.size(); ++i) {
        int d = std::abs(int(actual.rgb[i]) - int(expected.rgb[i]));
        sum += d;
        largest = std::max(largest, d);
        difference.rgb[i] = static_cast<unsigned char>(std::min(255, d * 8));
    }
    double mean = sum / static_cast<double>(actual.rgb.size());
    bool matches = mean <= meanTolerance && largest <= maxTolerance;
    if (!matches) {
        save(failed + "_actual.png", actual);
        save(failed + "_difference.png", difference);
    }
    EXPECT_TRUE(matches) << name << ": mean difference " << mean << " (at most " << meanTolerance
                         << "), largest " << largest << " (at most " << maxTolerance << "); see " << failed
                         << "_actual.png and " << failed << "_difference.png";
}

void keepPlayerAlive()
{
    if (PlayerCharacter* player = GameSession::getInstance()->player()) {
        player->health = player->maxHealth;
        player->alive = true;
    }
}

void runFrames(Engine& engine, int frames)
{
    for (int frame = 0; frame < frames; ++frame) {
        keepPlayerAlive();
        engine.frame(timeStep);
    }
}

// The scene as the renderer draws it this frame, without the GUI, at half size.
Picture sceneNow()
{
    Renderer::getInstance()->render();
    int width = static_cast<int>(screenWidth), height = static_cast<int>(screenHeight);
    Picture picture = halfSize(renderscene::readScreen(width, height), width, height);
    glFinish();
    return picture;
}

Picture glowNow()
{
    renderSettings.debugTexture = DebugTextureGlow;
    Picture picture = sceneNow();
    renderSettings.debugTexture = DebugTextureNone;
    return picture;
}

// The wave's skulls set down in the flashlight's beam, between the player
// and the point he aims at, in three files.
void placeWaveInBeam()
{
    GameSession* session = GameSession::getInstance();
    Vec3 player = session->player()->position();
    Vec3 ahead = session->aimPoint - player;
    Vec3 side = normalize(cross(ahead, {0.0f, 1.0f, 0.0f}));
    for (size_t i = 0; i < session->enemies.size(); ++i) {
        float along = 0.3f + 0.08f * static_cast<float>(i);
        float across = 1.5f * static_cast<float>(static_cast<int>(i % 3) - 1);
        session->enemies[i]->teleport(player + ahead * along + side * across);
    }
}

TEST(ReferencePictures, LevelSkullWaveAndGlowLookAsBefore)
{
    ASSERT_EQ(chdir(UMBRANT_BIN_DIR), 0) << "the game runs from " << UMBRANT_BIN_DIR;
    Engine engine;
    ASSERT_EQ(engine.init(), 0) << "the game did not start (is DISPLAY set?)";
    const char* glRenderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!glRenderer || !std::strstr(glRenderer, "llvmpipe"))
        GTEST_SKIP() << "the references are Mesa llvmpipe pictures; this renderer is " << (glRenderer ? glRenderer : "?");

    seededgame::start();
    runFrames(engine, settleFrames);
    expectMatchesReference("level_composed", sceneNow());

    GameSession::getInstance()->spawnWave();
    ASSERT_FALSE(GameSession::getInstance()->enemies.empty()) << "the level has no spawn points";
    ASSERT_TRUE(GameSession::getInstance()->aimValid) << "the cursor does not point at the level";
    placeWaveInBeam();
    runFrames(engine, chaseFrames);
    expectMatchesReference("skull_wave_flashlight", sceneNow());
    expectMatchesReference("glow", glowNow());
}

} // namespace
