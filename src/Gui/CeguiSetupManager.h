#pragma once
// src/Gui: the CEGUI set-up, its input, and the menu, in-game and debug sheets.
// Uses the engine and input; the Engine hands it what it shows.
//
// Brings up the GUI library with its OpenGL renderer, points it at the GUI
// data, loads the look and the screens, feeds it the window's input and draws
// it over the frame. There is one event source (the window's callbacks), so
// the GUI's input is a listener on the input system rather than devices of
// its own.
#include "Engine/Base/Singleton.h"
#include "Gui/GuiInput.h"
#include "Gui/GuiLook.h"
#include "Gui/GuiScreens.h"

#include <string>

namespace CEGUI {
class GUIContext;
class OpenGLRenderer;
} // namespace CEGUI

class CeguiSetupManager : public Singleton<CeguiSetupManager> {
public:
    // The whole set-up for a window of `width` × `height` pixels. On a missing
    // data file or widget prints one line naming it on standard error and
    // returns false; the caller ends start-up and destroys the instance.
    bool initialize(int width, int height, const std::string& dataFolder = guiDataFolder);
    // Once per frame: the input received since the previous frame, then the time step.
    void update(float dt);
    // Draws the active sheet and the cursor over the current frame.
    void render();
    // The renderer resets culling, depth test, lighting and texture state while it draws.
    void enableExtraRendererStates();

    GuiScreens& screens() { return guiScreens; }
    // Where the GUI's mouse cursor is, in window pixels ((0, 0) before set-up).
    void cursorPosition(float& x, float& y) const;
    GuiInput& input() { return guiInput; }
    // Null until the renderer is bootstrapped.
    CEGUI::GUIContext* context() const;

    CeguiSetupManager(const CeguiSetupManager&) = delete;
    CeguiSetupManager& operator=(const CeguiSetupManager&) = delete;

private:
    friend class Singleton<CeguiSetupManager>;
    CeguiSetupManager() = default;
    ~CeguiSetupManager();

    bool load(int width, int height, std::string& loading);

    CEGUI::OpenGLRenderer* renderer = nullptr;
    GuiInput guiInput;
    GuiScreens guiScreens;
};
