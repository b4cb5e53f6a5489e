// The three sheets of the real GUI: what they show at start, the start
// button, the sheet swap, the debug panel's controls and the texts the game
// writes, and drawing over the frame without disturbing its OpenGL state.
#include "GuiTestFixture.h"

#include "Engine/Base/Globals.h"
#include "Engine/Pipeline/RenderSettings.h"
#include "Engine/Render/TextureManager.h"

#include <GL/glew.h>

#include <array>
#include <string>
#include <vector>

namespace {

std::string textOf(CEGUI::Window& window) { return window.getText().c_str(); }

TEST_F(GuiTest, StartsOnTheMenuWithTheAnisotropyInForceAndAReadOnlyOctreeBox)
{
    EXPECT_EQ(screens().activeSheet(), GuiSheet::Menu);
    // The box starts at the level in force: 1 on a software rasteriser, 4 on a GPU.
    const char* glRenderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    EXPECT_EQ(textOf(widget("Combobox_TextureAnisotropy")), anisotropyForRenderer(glRenderer) == 1.0f ? "1" : "4");
    EXPECT_STREQ(context().getMouseCursor().getDefaultImage()->getName().c_str(), "TaharezLook/MouseArrow");

    // As the layout comes (other tests type into the box): no octree size
    // before the octree is built, and none to type in.
    CEGUI::WindowManager& windows = CEGUI::WindowManager::getSingleton();
    CEGUI::Window* freshDebugSheet = windows.loadLayoutFromFile(debugLayout);
    auto* box = dynamic_cast<CEGUI::Editbox*>(freshDebugSheet->getChildRecursive("SpinnerMaxOctreeSize"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(textOf(*box), "");
    EXPECT_TRUE(box->isReadOnly());
    windows.destroyWindow(freshDebugSheet);
}

TEST_F(GuiTest, StartButtonStartsTheGameAndShowsTheInGameSheet)
{
    int starts = 0;
    screens().setStartGameHandler([&] {
        EXPECT_TRUE(gameRunning) << "the flag is set before the game starts";
        ++starts;
    });
    click("ButtonStartGame");
    EXPECT_TRUE(gameRunning);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(screens().activeSheet(), GuiSheet::Ingame);

    // A click where the button was does nothing once the menu is gone.
    click("ButtonStartGame");
    EXPECT_EQ(starts, 1);
    screens().setStartGameHandler(nullptr);
}

TEST_F(GuiTest, DebugTextureSelectorChoosesTheTextureByItsName)
{
    const std::array<std::pair<const char*, int>, 5> choices = {
        {{"Glow", DebugTextureGlow}, {"Diffuse", DebugTextureDiffuse}, {"Normals", DebugTextureNormals},
         {"Light", DebugTextureLight}, {"None", DebugTextureNone}}};
    for (const auto& [item, texture] : choices) {
        choose("Combobox_TextureDebugSelector", item);
        EXPECT_EQ(renderSettings.debugTexture, texture) << item;
    }

    // A text that is no item's name selects no texture.
    choose("Combobox_TextureDebugSelector", "Light");
    auto& combo = dynamic_cast<CEGUI::Combobox&>(widget("Combobox_TextureDebugSelector"));
    combo.setText("Albedo");
    CEGUI::WindowEventArgs args(&combo);
    combo.fireEvent(CEGUI::Combobox::EventListSelectionAccepted, args);
    EXPECT_EQ(renderSettings.debugTexture, DebugTextureNone);
    choose("Combobox_TextureDebugSelector", "None");
}

// The swap leaves the menu for the in-game sheet, then alternates with the debug sheet.
TEST_F(GuiTest, SwapReachesTheDebugSheetWhoseCheckBoxesSwitchGlowAndWireframe)
{
    screens().swapIngameAndDebug();
    EXPECT_EQ(screens().activeSheet(), GuiSheet::Ingame);
    screens().swapIngameAndDebug();
    ASSERT_EQ(screens().activeSheet(), GuiSheet::Debug);
    auto& glow = dynamic_cast<CEGUI::ToggleButton&>(widget("CheckboxGlow"));
    glow.setSelected(true);
    renderSettings.glowEnabled = true;

    click("CheckboxGlow");
    EXPECT_FALSE(glow.isSelected());
    EXPECT_FALSE(renderSettings.glowEnabled);
    click("CheckboxGlow");
    EXPECT_TRUE(renderSettings.glowEnabled);

    EXPECT_FALSE(renderSettings.wireframe);
    click("Checkbox_Wireframe");
    EXPECT_TRUE(renderSettings.wireframe);
    click("Checkbox_Wireframe");
    EXPECT_FALSE(renderSettings.wireframe);
    screens().swapIngameAndDebug();
    EXPECT_EQ(screens().activeSheet(), GuiSheet::Ingame);
    screens().showMenu();
    EXPECT_EQ(screens().activeSheet(), GuiSheet::Menu);
}

class GuiTextureTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        TextureManager::getInstance()->loadTexture("gui test texture", UMBRANT_GUI_DATA "/imagesets/Umbrant.png",
                                                   true, 4.0f, false, false);
        texture = TextureManager::getInstance()->getTexture("gui test texture");
        ASSERT_NE(texture, noTexture);
    }
    void TearDown() override { TextureManager::destroyInstance(); }

    float parameter(GLenum name)
    {
        float value = 0.0f;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexParameterfv(GL_TEXTURE_2D, name, &value);
        glBindTexture(GL_TEXTURE_2D, 0);
        return value;
    }

    GLuint texture = noTexture;
};

// Each item sets what it names on the file textures; a text that is no item changes nothing.
TEST_F(GuiTextureTest, AnisotropyAndFilteringItemsSetTheFileTextures)
{
    struct Case {
        const char *combo, *item;
        GLenum parameter;
        float expected;
    };
    const Case cases[] = {
        {"Combobox_TextureAnisotropy", "1", GL_TEXTURE_MAX_ANISOTROPY_EXT, 1.0f},
        {"Combobox_TextureAnisotropy", "2", GL_TEXTURE_MAX_ANISOTROPY_EXT, 2.0f},
        {"Combobox_TextureAnisotropy", "4", GL_TEXTURE_MAX_ANISOTROPY_EXT, 4.0f},
        {"Combobox_TextureFiltering", "Nearest", GL_TEXTURE_MIN_FILTER, float(GL_NEAREST)},
        {"Combobox_TextureFiltering", "Mipmapping", GL_TEXTURE_MIN_FILTER, float(GL_LINEAR_MIPMAP_LINEAR)},
        {"Combobox_TextureFiltering", "Linear", GL_TEXTURE_MIN_FILTER, float(GL_LINEAR)},
    };
    for (const Case& c : cases) {
        choose(c.combo, c.item);
        EXPECT_EQ(parameter(c.parameter), c.expected) << c.item;
    }
    auto& combo = dynamic_cast<CEGUI::Combobox&>(widget("Combobox_TextureFiltering"));
    combo.setText("Bilinear");
    CEGUI::WindowEventArgs args(&combo);
    combo.fireEvent(CEGUI::Combobox::EventListSelectionAccepted, args);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), float(GL_LINEAR));
}

TEST_F(GuiTest, ShowOperationsWriteDecimalTexts)
{
    screens().showScore(1250);
    screens().showRenderStats(RenderStats{"Frustum Culling", 42, 0});
    EXPECT_EQ(textOf(widget("TextLastScore")), "1250");
    EXPECT_EQ(textOf(widget("TextIngameScoreDescription")), "1250");
    EXPECT_EQ(textOf(widget("TextRenderMode")), "Frustum Culling");
    EXPECT_EQ(textOf(widget("TextRenderedObjectsCount")), "42");
    screens().showFps(1234567);
    EXPECT_EQ(textOf(widget("TextFPS")), "1234567");

    screens().showOctreeCellSize(25.0375f);
    EXPECT_EQ(textOf(widget("SpinnerMaxOctreeSize")), "25.0");

    screens().showPlayerHealth(0.25f);
    EXPECT_FLOAT_EQ(dynamic_cast<CEGUI::ProgressBar&>(widget("ProgressbarPlayerHealth")).getProgress(), 0.25f);
    screens().showRenderMode("Octree Culling");
}

// Draws the menu into a framebuffer of the window's size cleared to white.
class GuiDrawTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        glGenFramebuffers(1, &framebuffer);
        glGenRenderbuffers(1, &colour);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, guiTestWidth, guiTestHeight);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        glViewport(0, 0, guiTestWidth, guiTestHeight);
        glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override
    {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteRenderbuffers(1, &colour);
        glDeleteFramebuffers(1, &framebuffer);
    }

    // Colour at GUI pixel (x, y), y downwards.
    std::array<unsigned char, 4> pixel(int x, int y)
    {
        std::array<unsigned char, 4> rgba{};
        glReadPixels(x, guiTestHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }

    GLuint framebuffer = 0, colour = 0;
};

TEST_F(GuiDrawTest, MenuDrawsOverTheFrameAndLeavesTheSceneStateAlone)
{
    // State a scene pass leaves behind.
    GLuint vertexArray = 0, buffer = 0;
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &buffer);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glDisable(GL_BLEND);
    while (glGetError() != GL_NO_ERROR) {
    }

    gui().render();

    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    GLint bound = 0;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(vertexArray));
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(buffer));
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(framebuffer));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    // White around the band, the band's dark colour behind the title, the red edge line.
    std::array<unsigned char, 4> corner = pixel(5, 5);
    EXPECT_GE(corner[0], 250);
    EXPECT_GE(corner[2], 250);
    std::array<unsigned char, 4> band = pixel(40, 300);
    EXPECT_LE(band[0], 40);
    EXPECT_LE(band[2], 40);
    std::array<unsigned char, 4> edge = pixel(40, 155);
    EXPECT_GE(edge[0], 110);
    EXPECT_LE(edge[1], 60);

    glBindVertexArray(0);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vertexArray);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
}

} // namespace
