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
        {"Combobox_TextureAnisotropy", "2", GL_TEXTURE_MAX_ANISOTROPY_EXT, 2.0f},
        {"Combobox_TextureFiltering", "Nearest", GL_TEXTURE_MIN_FILTER, float(GL_NEAREST)},
        {"Combobox_TextureFiltering", "Mipmapping", GL_TEXTURE_MIN_FILTER, float(GL_LINEAR_MIPMAP_LINEAR)},
        {"Combobox_TextureFiltering", "Linear", GL_TEXTURE_MIN_FILTER, float(GL_LINEAR)},
    };
    for (const auto& c : cases) { // selected in the list and accepted, as a player's click on the item does
        auto& combo = dynamic_cast<CEGUI::Combobox&>(widget(c.combo));
        CEGUI::ListboxItem* item = combo.findItemWithText(c.item, nullptr);
        ASSERT_NE(item, nullptr) << c.combo << " has no item " << c.item;
        combo.getDropList()->clearAllSelections();
        combo.getDropList()->setItemSelectState(item, true);
        CEGUI::WindowEventArgs args(combo.getDropList());
        combo.getDropList()->fireEvent(CEGUI::ComboDropList::EventListSelectionAccepted, args);
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
    // A left click at the box's centre through the GUI's input, as the window delivers it.
    CEGUI::Window& glow = widget("CheckboxGlow");
    dynamic_cast<CEGUI::ToggleButton&>(glow).setSelected(true);
    const CEGUI::Rectf area = glow.getUnclippedOuterRect().get();
    context().injectMousePosition(area.left() + area.getWidth() / 2.0f, area.top() + area.getHeight() / 2.0f);
    gui().input().mousePressed(0);
    gui().input().mouseReleased(0);
    gui().update(0.016f);
    EXPECT_FALSE(renderSettings.glowEnabled);
}

TEST_F(GuiTest, ShowOperationsWriteDecimalTexts)
{
    screens().showScore(1250);
    screens().showRenderStats(RenderStats{"Frustum Culling", 42, 0});
    screens().showFps(1234567);
    screens().showOctreeCellSize(25.0375f);
    screens().showPlayerHealth(0.25f);
    EXPECT_EQ(textOf(widget("TextIngameScoreDescription")), "1250");
    EXPECT_EQ(textOf(widget("TextRenderMode")), "Frustum Culling");
    EXPECT_EQ(textOf(widget("TextRenderedObjectsCount")), "42");
    EXPECT_EQ(textOf(widget("TextFPS")), "1234567");
    EXPECT_EQ(textOf(widget("SpinnerMaxOctreeSize")), "25.0");
    EXPECT_FLOAT_EQ(dynamic_cast<CEGUI::ProgressBar&>(widget("ProgressbarPlayerHealth")).getProgress(), 0.25f);
}

TEST_F(GuiTest, DrawingTheMenuLeavesTheScenePassStateAlone)
{
    GLuint vertexArray = 0;
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glEnable(GL_DEPTH_TEST);
    while (glGetError() != GL_NO_ERROR) {
    }
    gui().render();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    GLint bound = 0;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(vertexArray));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glBindVertexArray(0);
    glDeleteVertexArrays(1, &vertexArray);
    glDisable(GL_DEPTH_TEST);
}

} // namespace
