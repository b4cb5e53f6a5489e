#pragma once
// The real GUI, set up once per test process on the hidden test window with
// the game's GUI data, at the game's window size.
#include "GLContext.h"

#include "Gui/CeguiSetupManager.h"

#include <CEGUI/CEGUI.h>

constexpr int guiTestWidth = 1024;
constexpr int guiTestHeight = 768;

class GuiTest : public GLTest {
protected:
    // Menu sheet, game not running, default render settings, cursor at the centre.
    void SetUp() override;

    CeguiSetupManager& gui() { return *CeguiSetupManager::getInstance(); }
    GuiScreens& screens() { return gui().screens(); }
    CEGUI::GUIContext& context() { return *gui().context(); }
    // The widget called `name` in any sheet; fails the test when there is none.
    CEGUI::Window& widget(const char* name);
    CEGUI::Vector2f cursor() { return context().getMouseCursor().getPosition(); }
};
