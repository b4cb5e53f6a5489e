#pragma once
// The GUI's input: the window's buffered key and mouse events, kept as they
// arrive and handed to the GUI in order once per frame, from the GUI's time
// step. Mouse motion reaches the GUI cursor scaled down, and not at all while
// the right button (which turns the camera) or the left Control key is held.
#include "Input/InputListener.h"

#include <array>
#include <cstdint>

namespace CEGUI {
class GUIContext;
}

constexpr float guiMouseMotionScale = 0.3f; // GUI cursor pixels per mouse pixel
constexpr int guiMouseButtonCount = 5;      // left, right, middle, X1, X2
constexpr int guiInputCapacity = 512;       // events kept between two frames

class GuiInput : public InputListener {
public:
    void keyPressed(KeyCode key) override;
    void keyReleased(KeyCode key) override;
    void characterTyped(unsigned int codepoint) override;
    void mouseMoved(double dx, double dy, double wheel) override;
    void mousePressed(int button) override;
    void mouseReleased(int button) override;

    // Injects the events kept since the previous call into `context`, in order.
    void deliver(CEGUI::GUIContext& context);
    // Forgets kept events and held controls (the GUI starts afresh).
    void reset();

    int pendingEvents() const { return count; }
    bool cursorFrozen() const { return rightButtonHeld || leftControlHeld; }

private:
    enum class Kind : std::uint8_t { KeyDown, KeyUp, Character, Move, ButtonDown, ButtonUp };
    struct Event {
        Kind kind;
        unsigned int value; // key code, code point or button
        float dx, dy;       // motion in window pixels
    };

    void keep(const Event& event);
    void inject(CEGUI::GUIContext& context, const Event& event);

    std::array<Event, guiInputCapacity> events{};
    int count = 0;
    bool rightButtonHeld = false;
    bool leftControlHeld = false;
};
