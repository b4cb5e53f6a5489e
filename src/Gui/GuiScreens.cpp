#include "Gui/GuiScreens.h"

#include "Engine/Base/Globals.h"
#include "Engine/Pipeline/RenderSettings.h"
#include "Engine/Render/TextureManager.h"
#include "Gui/DebugPanelChoices.h"

#include <CEGUI/CEGUI.h>

#include <cstdio>

bool GuiScreens::loadScreens(CEGUI::GUIContext& guiContext, std::string& loading)
{
    context = &guiContext;
    CEGUI::WindowManager& windows = CEGUI::WindowManager::getSingleton();
    loading = std::string("layout \"") + debugLayout + "\"";
    debugSheet = windows.loadLayoutFromFile(debugLayout);
    loading = std::string("layout \"") + ingameLayout + "\"";
    ingameSheet = windows.loadLayoutFromFile(ingameLayout);
    loading = std::string("layout \"") + menuLayout + "\"";
    menuSheet = windows.loadLayoutFromFile(menuLayout);
    showMenu();

    if (!lookUpWidgets(loading))
        return false;
    fillComboBoxes();
    connectHandlers();
    showRenderMode(initialRenderModeName);
    return true;
}

void GuiScreens::clear() { *this = GuiScreens(); }

CEGUI::Window* GuiScreens::findWidget(const char* name) const
{
    for (CEGUI::Window* sheet : {debugSheet, ingameSheet, menuSheet}) {
        if (!sheet)
            continue;
        if (sheet->getName() == name)
            return sheet;
        if (CEGUI::Window* widget = sheet->getChildRecursive(name))
            return widget;
    }
    return nullptr;
}

template <typename Widget>
bool GuiScreens::lookUp(const char* name, Widget*& widget, std::string& loading)
{
    CEGUI::Window* window = findWidget(name);
    widget = dynamic_cast<Widget*>(window);
    if (widget)
        return true;
    loading = std::string("widget \"") + name + "\": " +
              (window ? "a widget of another kind (" + std::string(window->getType().c_str()) + ")"
                      : std::string("no such widget in the layouts"));
    return false;
}

bool GuiScreens::lookUpWidgets(std::string& loading)
{
    return lookUp("SpinnerMaxOctreeSize", spinnerMaxOctreeSize, loading) &&
           lookUp("ButtonRegenOctree", buttonRegenOctree, loading) &&
           lookUp("TextRenderMode", textRenderMode, loading) &&
           lookUp("TextRenderedObjectsCount", textRenderedObjectsCount, loading) &&
           lookUp("TextFPS", textFps, loading) &&
           lookUp("TextCheckedOctreeNodesCount", textCheckedOctreeNodesCount, loading) &&
           lookUp("ProgressbarPlayerHealth", progressbarPlayerHealth, loading) &&
           lookUp("Combobox_TextureDebugSelector", comboboxTextureDebugSelector, loading) &&
           lookUp("CheckboxGlow", checkboxGlow, loading) &&
           lookUp("Checkbox_Wireframe", checkboxWireframe, loading) &&
           lookUp("Combobox_TextureAnisotropy", comboboxTextureAnisotropy, loading) &&
           lookUp("Combobox_TextureFiltering", comboboxTextureFiltering, loading) &&
           lookUp("ButtonStartGame", buttonStartGame, loading) &&
           lookUp("TextIngameScoreDescription", textIngameScoreDescription, loading) &&
           lookUp("TextLastScore", textLastScore, loading);
}

void GuiScreens::fillComboBoxes()
{
    // Combo-box items belong to their combo box, which deletes them.
    comboboxTextureAnisotropy->setText(
        CEGUI::PropertyHelper<float>::toString(TextureManager::getInstance()->materialAnisotropy()));
    for (float level = largestAnisotropyItem; level >= smallestAnisotropyItem; level *= 0.5f)
        comboboxTextureAnisotropy->addItem(new CEGUI::ListboxTextItem(CEGUI::PropertyHelper<float>::toString(level)));
    for (const char* item : filteringItems)
        comboboxTextureFiltering->addItem(new CEGUI::ListboxTextItem(item));
    for (const char* item : debugTextureItems)
        comboboxTextureDebugSelector->addItem(new CEGUI::ListboxTextItem(item));
    comboboxTextureDebugSelector->setText(debugTextureItems[DebugTextureNone]);
}

void GuiScreens::connectHandlers()
{
    using CEGUI::Event;
    comboboxTextureAnisotropy->subscribeEvent(CEGUI::Combobox::EventListSelectionAccepted,
                                              Event::Subscriber(&GuiScreens::onAnisotropyAccepted, this));
    comboboxTextureFiltering->subscribeEvent(CEGUI::Combobox::EventListSelectionAccepted,
                                             Event::Subscriber(&GuiScreens::onFilteringAccepted, this));
    comboboxTextureDebugSelector->subscribeEvent(CEGUI::Combobox::EventListSelectionAccepted,
                                                 Event::Subscriber(&GuiScreens::onDebugTextureAccepted, this));
    checkboxGlow->subscribeEvent(CEGUI::ToggleButton::EventSelectStateChanged,
                                 Event::Subscriber(&GuiScreens::onGlowChanged, this));
    buttonStartGame->subscribeEvent(CEGUI::Window::EventMouseClick,
                                    Event::Subscriber(&GuiScreens::onStartGameClicked, this));
    checkboxWireframe->subscribeEvent(CEGUI::ToggleButton::EventSelectStateChanged,
                                      Event::Subscriber(&GuiScreens::onWireframeChanged, this));
}

void GuiScreens::showNumber(CEGUI::Window* text, int value, int& shown)
{
    if (!text || value == shown)
        return;
    shown = value;
    text->setText(CEGUI::PropertyHelper<int>::toString(value));
}

void GuiScreens::showRenderMode(const char* name)
{
    if (!textRenderMode || shownRenderMode == name)
        return;
    shownRenderMode = name;
    textRenderMode->setText(name);
}

void GuiScreens::showRenderedObjects(int count) { showNumber(textRenderedObjectsCount, count, shownRenderedObjects); }

void GuiScreens::showCheckedOctreeNodes(int count)
{
    showNumber(textCheckedOctreeNodesCount, count, shownCheckedOctreeNodes);
}

void GuiScreens::showFps(int framesPerSecond) { showNumber(textFps, framesPerSecond, shownFps); }

void GuiScreens::showOctreeCellSize(float edge)
{
    if (!spinnerMaxOctreeSize)
        return;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", edge);
    spinnerMaxOctreeSize->setText(text);
}

void GuiScreens::showScore(int score)
{
    if (!textLastScore || score == shownScore)
        return;
    int shownInGame = shownScore;
    showNumber(textLastScore, score, shownScore);
    showNumber(textIngameScoreDescription, score, shownInGame);
}

void GuiScreens::showRenderStats(const RenderStats& stats)
{
    showRenderMode(stats.renderModeName);
    showRenderedObjects(stats.renderedObjects);
    showCheckedOctreeNodes(stats.checkedOctreeNodes);
}

void GuiScreens::showPlayerHealth(float fraction)
{
    if (progressbarPlayerHealth)
        progressbarPlayerHealth->setProgress(fraction);
}

void GuiScreens::showMenu() { activate(menuSheet); }

void GuiScreens::showIngame() { activate(ingameSheet); }

void GuiScreens::swapIngameAndDebug() { activate(activeSheet() == GuiSheet::Ingame ? debugSheet : ingameSheet); }

void GuiScreens::activate(CEGUI::Window* sheet)
{
    if (context)
        context->setRootWindow(sheet);
}

GuiSheet GuiScreens::activeSheet() const
{
    CEGUI::Window* root = context ? context->getRootWindow() : nullptr;
    if (!root)
        return GuiSheet::None;
    if (root == menuSheet)
        return GuiSheet::Menu;
    if (root == ingameSheet)
        return GuiSheet::Ingame;
    return root == debugSheet ? GuiSheet::Debug : GuiSheet::None;
}

bool GuiScreens::onDebugTextureAccepted(const CEGUI::EventArgs&)
{
    renderSettings.debugTexture = debugTextureFor(comboboxTextureDebugSelector->getText().c_str());
    return true;
}

bool GuiScreens::onGlowChanged(const CEGUI::EventArgs&)
{
    renderSettings.glowEnabled = checkboxGlow->isSelected();
    return true;
}

bool GuiScreens::onWireframeChanged(const CEGUI::EventArgs&)
{
    renderSettings.wireframe = checkboxWireframe->isSelected();
    return true;
}

bool GuiScreens::onAnisotropyAccepted(const CEGUI::EventArgs&)
{
    float level = CEGUI::PropertyHelper<float>::fromString(comboboxTextureAnisotropy->getText());
    TextureManager::getInstance()->setAnisotropy(level);
    return true;
}

bool GuiScreens::onFilteringAccepted(const CEGUI::EventArgs&)
{
    int mode = filterModeFor(comboboxTextureFiltering->getText().c_str());
    if (mode >= 0)
        TextureManager::getInstance()->setFiltering(mode);
    return true;
}

bool GuiScreens::onStartGameClicked(const CEGUI::EventArgs&)
{
    gameRunning = true;
    if (startGameHandler)
        startGameHandler();
    showIngame();
    return true;
}
