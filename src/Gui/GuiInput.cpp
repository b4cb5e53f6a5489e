#include "Gui/GuiInput.h"

#include <CEGUI/CEGUI.h>

namespace {
constexpr int rightMouseButton = 1;
}

void GuiInput::keyPressed(KeyCode key) { keep({Kind::KeyDown, key, 0.0f, 0.0f}); }

void GuiInput::keyReleased(KeyCode key) { keep({Kind::KeyUp, key, 0.0f, 0.0f}); }

void GuiInput::characterTyped(unsigned int codepoint) { keep({Kind::Character, codepoint, 0.0f, 0.0f}); }

void GuiInput::mouseMoved(double dx, double dy, double /*wheel*/)
{
    if (dx == 0.0 && dy == 0.0)
        return;
    // Consecutive moves add up: the cursor ends where the events would take it.
    if (count > 0 && events[count - 1].kind == Kind::Move) {
        events[count - 1].dx += static_cast<float>(dx);
        events[count - 1].dy += static_cast<float>(dy);
        return;
    }
    keep({Kind::Move, 0, static_cast<float>(dx), static_cast<float>(dy)});
}

void GuiInput::mousePressed(int button)
{
    if (button >= 0 && button < guiMouseButtonCount)
        keep({Kind::ButtonDown, static_cast<unsigned int>(button), 0.0f, 0.0f});
}

void GuiInput::mouseReleased(int button)
{
    if (button >= 0 && button < guiMouseButtonCount)
        keep({Kind::ButtonUp, static_cast<unsigned int>(button), 0.0f, 0.0f});
}

void GuiInput::keep(const Event& event)
{
    // A frame that never comes (start-up) must not let the buffer grow:
    // events beyond the capacity are dropped.
    if (count < guiInputCapacity)
        events[count++] = event;
}

void GuiInput::deliver(CEGUI::GUIContext& context)
{
    for (int i = 0; i < count; ++i)
        inject(context, events[i]);
    count = 0;
}

void GuiInput::reset()
{
    count = 0;
    rightButtonHeld = false;
    leftControlHeld = false;
}

void GuiInput::inject(CEGUI::GUIContext& context, const Event& event)
{
    switch (event.kind) {
    case Kind::KeyDown:
        if (event.value == KC_LCONTROL)
            leftControlHeld = true;
        context.injectKeyDown(static_cast<CEGUI::Key::Scan>(event.value));
        break;
    case Kind::KeyUp:
        if (event.value == KC_LCONTROL)
            leftControlHeld = false;
        context.injectKeyUp(static_cast<CEGUI::Key::Scan>(event.value));
        break;
    case Kind::Character:
        context.injectChar(static_cast<CEGUI::String::value_type>(event.value));
        break;
    case Kind::Move:
        if (!cursorFrozen())
            context.injectMouseMove(guiMouseMotionScale * event.dx, guiMouseMotionScale * event.dy);
        break;
    case Kind::ButtonDown:
        if (event.value == rightMouseButton)
            rightButtonHeld = true;
        context.injectMouseButtonDown(static_cast<CEGUI::MouseButton>(event.value));
        break;
    case Kind::ButtonUp:
        if (event.value == rightMouseButton)
            rightButtonHeld = false;
        context.injectMouseButtonUp(static_cast<CEGUI::MouseButton>(event.value));
        break;
    }
}
