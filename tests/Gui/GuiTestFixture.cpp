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

void GuiTest::click(const char* name)
{
    CEGUI::Rectf area = widget(name).getUnclippedOuterRect().get();
    context().injectMousePosition(area.left() + area.getWidth() / 2.0f, area.top() + area.getHeight() / 2.0f);
    gui().input().mousePressed(0);
    gui().input().mouseReleased(0);
    gui().update(0.016f);
}

void GuiTest::choose(const char* comboBox, const char* text)
{
    auto& combo = dynamic_cast<CEGUI::Combobox&>(widget(comboBox));
    CEGUI::ComboDropList* list = combo.getDropList();
    CEGUI::ListboxItem* item = combo.findItemWithText(text, nullptr);
    ASSERT_NE(item, nullptr) << comboBox << " has no item " << text;
    list->clearAllSelections();
    list->setItemSelectState(item, true);
    CEGUI::WindowEventArgs args(list);
    list->fireEvent(CEGUI::ComboDropList::EventListSelectionAccepted, args);
}
