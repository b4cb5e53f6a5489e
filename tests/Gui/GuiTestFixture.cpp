#include "GuiTestFixture.h"

#include "Engine/Base/Globals.h"
#include "Engine/Pipeline/RenderSettings.h"

void GuiTest::SetUp()
{
    GLTest::SetUp();
    static bool ready = CeguiSetupManager::getInstance()->initialize(guiTestWidth, guiTestHeight, UMBRANT_GUI_DATA);
    ASSERT_TRUE(ready) << "the GUI set-up failed on the game's data";
    gameRunning = false;
    renderSettings = RenderSettings();
    screens().showMenu();
    gui().input().reset();
    context().injectMousePosition(guiTestWidth / 2.0f, guiTestHeight / 2.0f);
}

CEGUI::Window& GuiTest::widget(const char* name)
{
    CEGUI::WindowManager::WindowIterator window = CEGUI::WindowManager::getSingleton().getIterator();
    for (; !window.isAtEnd(); ++window)
        if (window.getCurrentValue()->getName() == name)
            return *window.getCurrentValue();
    ADD_FAILURE() << "no widget " << name;
    return *context().getRootWindow();
}
