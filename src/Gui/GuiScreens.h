#pragma once
// The game's three GUI sheets: the menu with the start button and the last
// score, the in-game display with health bar and score, and the debug panel
// with the renderer's counters and switches. The renderer, the octree, the
// frames-per-second counter and the game write their texts through the
// show... operations; the debug panel's controls write the render settings
// and the texture manager's filtering.
#include <functional>
#include <string>

namespace CEGUI {
class Combobox;
class EventArgs;
class GUIContext;
class ProgressBar;
class PushButton;
class Editbox;
class ToggleButton;
class Window;
} // namespace CEGUI

struct RenderStats;

inline constexpr char debugLayout[] = "Umbrant_debug.layout";
inline constexpr char ingameLayout[] = "Umbrant_ingame.layout";
inline constexpr char menuLayout[] = "Umbrant_menu.layout";
inline constexpr char initialRenderModeName[] = "Octree Culling";

enum class GuiSheet { None, Menu, Ingame, Debug };

class GuiScreens {
public:
    // Loads the layouts (debug, in-game, menu), shows the menu, finds the
    // widgets, fills the combo boxes and connects the handlers. The library
    // throws when a layout is missing; `loading` names the file being loaded.
    // Returns false, with `loading` naming the widget, when a widget is missing
    // or of another kind.
    bool loadScreens(CEGUI::GUIContext& context, std::string& loading);
    // Forgets the sheets and widgets (the library destroys them).
    void clear();

    // Called by the start button after the flag is set, before the in-game sheet shows.
    void setStartGameHandler(std::function<void()> handler) { startGameHandler = std::move(handler); }

    void showRenderMode(const char* name);
    void showRenderedObjects(int count);
    void showCheckedOctreeNodes(int count);
    void showFps(int framesPerSecond);
    // The edge of the octree's smallest cell, world units, one decimal.
    void showOctreeCellSize(float edge);
    void showScore(int score);
    // The renderer's and the octree's counters of the last frame.
    void showRenderStats(const RenderStats& stats);
    void showPlayerHealth(float fraction); // 0 to 1

    void showMenu();
    void showIngame();
    // In-game sheet → debug sheet; any other sheet → in-game sheet.
    void swapIngameAndDebug();
    GuiSheet activeSheet() const;

private:
    void activate(CEGUI::Window* sheet);
    CEGUI::Window* findWidget(const char* name) const;
    template <typename Widget>
    bool lookUp(const char* name, Widget*& widget, std::string& loading);
    bool lookUpWidgets(std::string& loading);
    void fillComboBoxes();
    void connectHandlers();
    void showNumber(CEGUI::Window* text, int value, int& shown);

    bool onDebugTextureAccepted(const CEGUI::EventArgs& args);
    bool onGlowChanged(const CEGUI::EventArgs& args);
    bool onWireframeChanged(const CEGUI::EventArgs& args);
    bool onAnisotropyAccepted(const CEGUI::EventArgs& args);
    bool onFilteringAccepted(const CEGUI::EventArgs& args);
    bool onStartGameClicked(const CEGUI::EventArgs& args);

    CEGUI::GUIContext* context = nullptr;
    CEGUI::Window* debugSheet = nullptr;
    CEGUI::Window* ingameSheet = nullptr;
    CEGUI::Window* menuSheet = nullptr;

    CEGUI::Editbox* spinnerMaxOctreeSize = nullptr; // read-only: the built octree's smallest cell edge
    CEGUI::PushButton* buttonRegenOctree = nullptr;
    CEGUI::Window* textRenderMode = nullptr;
    CEGUI::Window* textRenderedObjectsCount = nullptr;
    CEGUI::Window* textFps = nullptr;
    CEGUI::Window* textCheckedOctreeNodesCount = nullptr;
    CEGUI::ProgressBar* progressbarPlayerHealth = nullptr;
    CEGUI::Combobox* comboboxTextureDebugSelector = nullptr;
    CEGUI::ToggleButton* checkboxGlow = nullptr;
    CEGUI::ToggleButton* checkboxWireframe = nullptr;
    CEGUI::Combobox* comboboxTextureAnisotropy = nullptr;
    CEGUI::Combobox* comboboxTextureFiltering = nullptr;
    CEGUI::PushButton* buttonStartGame = nullptr;
    CEGUI::Window* textIngameScoreDescription = nullptr;
    CEGUI::Window* textLastScore = nullptr;

    // Values on screen, so that unchanged numbers are not formatted again.
    std::string shownRenderMode;
    int shownRenderedObjects = -1;
    int shownCheckedOctreeNodes = -1;
    int shownFps = -1;
    int shownScore = -1;

    std::function<void()> startGameHandler;
};
