// The three sheets of the real GUI: the debug panel's controls, the texts the
// game writes, and drawing over the frame without disturbing its OpenGL state.
#include "GuiTestFixture.h"

#include "Engine/Base/Globals.h"
#include "Engine/Pipeline/RenderSettings.h"
#include "Engine/Render/TextureManager.h"

#include <GL/glew.h>

#include <string>

namespace {

std::string textOf(CEGUI::Window& window) { return window.getText().c_str(); }

// Each item sets what it names; a text that is no item's name selects no
// debug texture and changes no filtering.
TEST_F(GuiTest, DebugPanelControlsSetTheRenderSettingsAndFileTextures)
{
    TextureManager::getInstance()->loadTexture("gui test texture", UMBRANT_GUI_DATA "/imagesets/Umbrant.png", true,
                                               4.0f, false, false);
    const GLuint texture = TextureManager::getInstance()->getTexture("gui test texture");
    auto parameter = [&](GLenum name) {
        float value = 0.0f;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexParameterfv(GL_TEXTURE_2D, name, &value);
        glBindTexture(GL_TEXTURE_2D, 0);
        return value;
    };
    const struct {
        const char *combo, *item;
        GLenum parameter; // 0: the debug texture setting
        float expected;
    } cases[] = {
        {"Combobox_TextureDebugSelector", "Glow", 0, DebugTextureGlow},
        {"Combobox_TextureDebugSelector", "Light", 0, DebugTextureLight},
        {"Combobox_TextureAnisotropy", "2", GL_TEXTURE_MAX_ANISOTROPY_EXT, 2.0f},
        {"Combobox_TextureFiltering", "Nearest", GL_TEXTURE_MIN_FILTER, float(GL_NEAREST)},
        {"Combobox_TextureFiltering", "Mipmapping", GL_TEXTURE_MIN_FILTER, float(GL_LINEAR_MIPMAP_LINEAR)},
        {"Combobox_TextureFiltering", "Linear", GL_TEXTURE_MIN_FILTER, float(GL_LINEAR)},
    };
    for (const auto& c : cases) {
        choose(c.combo, c.item);
        EXPECT_EQ(c.parameter ? parameter(c.parameter) : float(renderSettings.debugTexture), c.expected) << c.item;
    }
    for (const char* combo : {"Combobox_TextureDebugSelector", "Combobox_TextureFiltering"}) {
        auto& box = dynamic_cast<CEGUI::Combobox&>(widget(combo));
        box.setText("Bilinear");
        CEGUI::WindowEventArgs args(&box);
        box.fireEvent(CEGUI::Combobox::EventListSelectionAccepted, args);
    }
    EXPECT_EQ(renderSettings.debugTexture, DebugTextureNone);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), float(GL_LINEAR));
    TextureManager::destroyInstance();

    screens().swapIngameAndDebug();
    screens().swapIngameAndDebug();
    ASSERT_EQ(screens().activeSheet(), GuiSheet::Debug);
    dynamic_cast<CEGUI::ToggleButton&>(widget("CheckboxGlow")).setSelected(true);
    click("CheckboxGlow");
    EXPECT_FALSE(renderSettings.glowEnabled);
    click("Checkbox_Wireframe");
    EXPECT_TRUE(renderSettings.wireframe);

    // Keys and typed characters edit the focused box (the layouts' only one, which the game keeps read-only).
    auto& box = dynamic_cast<CEGUI::Editbox&>(widget("SpinnerMaxOctreeSize"));
    box.setReadOnly(false);
    box.setText("16");
    click("SpinnerMaxOctreeSize");
    box.setCaretIndex(2);
    gui().input().keyPressed(KC_BACK);
    gui().input().characterTyped('2');
    gui().update(0.016f);
    EXPECT_STREQ(box.getText().c_str(), "12");
}

TEST_F(GuiTest, ShowOperationsWriteDecimalTexts)
{
    screens().showScore(1250);
    screens().showRenderStats(RenderStats{"Frustum Culling", 42, 0});
    screens().showFps(1234567);
    screens().showOctreeCellSize(25.0375f);
    screens().showPlayerHealth(0.25f);
    EXPECT_EQ(textOf(widget("TextLastScore")), "1250");
    EXPECT_EQ(textOf(widget("TextIngameScoreDescription")), "1250");
    EXPECT_EQ(textOf(widget("TextRenderMode")), "Frustum Culling");
    EXPECT_EQ(textOf(widget("TextRenderedObjectsCount")), "42");
    EXPECT_EQ(textOf(widget("TextFPS")), "1234567");
    EXPECT_EQ(textOf(widget("SpinnerMaxOctreeSize")), "25.0");
    EXPECT_FLOAT_EQ(dynamic_cast<CEGUI::ProgressBar&>(widget("ProgressbarPlayerHealth")).getProgress(), 0.25f);
}

TEST_F(GuiTest, DrawingTheMenuLeavesTheScenePassStateAlone)
{
    GLuint vertexArray = 0, buffer = 0;
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &buffer);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glEnable(GL_DEPTH_TEST);
    while (glGetError() != GL_NO_ERROR) {
    }
    gui().render();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    GLint bound = 0;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(vertexArray));
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(buffer));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glBindVertexArray(0);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vertexArray);
    glDisable(GL_DEPTH_TEST);
}

} // namespace
