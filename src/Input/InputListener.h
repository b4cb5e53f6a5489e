#pragma once
// Buffered input events, in the order the window delivered them. A key that
// types text is reported as keyPressed followed by characterTyped.
#include "Input/KeyCodes.h"

class InputListener {
public:
    virtual ~InputListener() = default;
    virtual void keyPressed(KeyCode key) = 0;
    virtual void keyReleased(KeyCode key) = 0;
    virtual void characterTyped(unsigned int codepoint) = 0;
    // Motion in pixels since the previous event; wheel in units of 120 per notch.
    virtual void mouseMoved(double dx, double dy, double wheel) = 0;
    virtual void mousePressed(int button) = 0;  // 0 left, 1 right, 2 middle, 3.. extra
    virtual void mouseReleased(int button) = 0;
};
