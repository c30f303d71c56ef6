// Dragging a borderless window by a control on it (its background picture, its title).
#pragma once

#include <cstdint>

#include "toolkit/Control.h"

namespace tk {

// The pressed control moves with the window, so after each move the pointer is back at the
// control's origin point and the window follows without drift. The state lives where its window
// keeps it; this only acts on it.
class WindowDrag {
public:
    WindowDrag(bool& active, int32_t& originX, int32_t& originY)
        : active_(active), originX_(originX), originY_(originY) {}

    // A press of any button on the control, at X, Y in its client coordinates.
    void Press(int x, int y) {
        active_ = true;
        originX_ = x;
        originY_ = y;
    }
    void Move(Control& window, int x, int y) {
        if (!active_) return;
        window.SetLeft(window.Left() + x - originX_);
        window.SetTop(window.Top() + y - originY_);
    }
    // The button came up, or the mouse was taken away before it did (no release will come).
    void Release() { active_ = false; }

private:
    bool& active_;
    int32_t& originX_;
    int32_t& originY_;
};

}  // namespace tk
