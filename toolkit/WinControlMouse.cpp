// WinControl's mouse: presses, capture, clicks and enter/leave for the window itself and for its
// graphic children, which have no window and get the mouse through their parent.
#include "toolkit/Control.h"

#include <windowsx.h>

#include "toolkit/Handles.h"

namespace tk {
namespace {

unsigned ButtonBit(MouseButton b) { return 1u << static_cast<unsigned>(b); }

constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

}  // namespace

// A child that goes takes its capture and the hover with it.
void WinControl::ChildRemoved(Control* c) {
    if (captured_ == c) {
        captured_ = nullptr;
        capturedClick_ = false;
        if (hwnd_ && GetCapture() == hwnd_) ReleaseCapture();
    }
    if (hover_ == c) hover_ = nullptr;
}

void WinControl::ResetWindowMouseState() {
    mouseInside_ = false;
    pressedButtons_ = 0;
    clickPending_ = false;
    captured_ = hover_ = nullptr;
}

bool WinControl::PointInShape(POINT p) const {
    if (!hwnd_) return false;
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (!PtInRect(&client, p)) return false;
    OwnedRegion rgn(CreateRectRgn(0, 0, 0, 0));
    int kind = GetWindowRgn(hwnd_, rgn.get());
    if (kind == ERROR || kind == NULLREGION) return kind != NULLREGION;
    // The window region is in window coordinates.
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    POINT s = p;
    ::ClientToScreen(hwnd_, &s);
    return PtInRegion(rgn.get(), s.x - wr.left, s.y - wr.top) != FALSE;
}

// Asked, not remembered: a menu or a modal loop that holds the mouse ends the tracking without
// sending the leave notice.
bool WinControl::LeaveTracked() const {
    TRACKMOUSEEVENT query{sizeof(query), TME_QUERY, nullptr, 0};
    return TrackMouseEvent(&query) && (query.dwFlags & TME_LEAVE) && query.hwndTrack == hwnd_;
}

void WinControl::UpdateMouseInside(POINT p) { PointerInside(PointInShape(p)); }

// A click may have run a menu or a modal loop that had the mouse meanwhile: the pointer is
// wherever the user left it, and only the system knows where.
void WinControl::SyncMouseInside() {
    POINT at{};
    if (hwnd_) PointerInside(GetCursorPos(&at) && WindowFromPoint(at) == hwnd_);
}

void WinControl::PointerInside(bool inside) {
    if (GetCapture() == hwnd_) {
        // Under capture the messages keep coming when the pointer is elsewhere: compare.
        if (inside != mouseInside_) {
            mouseInside_ = inside;
            if (inside) MouseEnter(); else MouseLeave();
        }
        return;
    }
    if (!inside) {
        if (mouseInside_) {
            mouseInside_ = false;
            MouseLeave();
        }
        return;
    }
    if (hwnd_ && !LeaveTracked()) {
        TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&t);
    }
    if (!mouseInside_) {
        mouseInside_ = true;
        MouseEnter();
    }
}

void WinControl::MouseButtonDown(MouseButton b, bool dbl, WPARAM wp, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    const ShiftState s = MouseShiftState(wp) | (dbl ? ssDouble : 0);
    if (!IsSystemClass()) {
        GraphicControl* g = captured_ ? captured_ : GraphicChildAt(x, y);
        if (g) {
            if (!captured_) capturedClick_ = false;
            captured_ = g;
            if (b == MouseButton::Left) capturedClick_ = !dbl;
            SetCapture(hwnd_);
            if (dbl) g->DblClick();
            if (captured_ == g) g->MouseDown(b, s, x - g->Left(), y - g->Top());
            return;
        }
        SetCapture(hwnd_);
        pressedButtons_ |= ButtonBit(b);
        if (b == MouseButton::Left) clickPending_ = !dbl;
    }
    if (dbl) DblClick();
    MouseDown(b, s, x, y);
}

void WinControl::MouseButtonUp(MouseButton b, WPARAM wp, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    const ShiftState s = MouseShiftState(wp);
    if (!IsSystemClass()) {
        if (GraphicControl* g = captured_) {
            const bool click = capturedClick_ && b == MouseButton::Left;
            if (b == MouseButton::Left) capturedClick_ = false;
            if (!(wp & kAnyButton)) {
                captured_ = nullptr;
                if (GetCapture() == hwnd_) ReleaseCapture();
            }
            const int cx = x - g->Left(), cy = y - g->Top();
            if (click && g->HitTest(cx, cy)) g->Click();
            g->MouseUp(b, s, cx, cy);
            return;
        }
        const bool click = b == MouseButton::Left && clickPending_;
        if (b == MouseButton::Left) clickPending_ = false;
        pressedButtons_ &= ~ButtonBit(b);
        if (!(wp & kAnyButton)) {
            pressedButtons_ = 0;
            if (GetCapture() == hwnd_) ReleaseCapture();
        }
        const POINT p{x, y};
        // The click runs first, then the release: the release decides the final look.
        const bool clicked = click && PointInShape(p);
        if (clicked) Click();
        MouseUp(b, s, x, y);
        if (clicked) SyncMouseInside();
        else if (hwnd_) UpdateMouseInside(p);
        return;
    }
    MouseUp(b, s, x, y);
}

void WinControl::MouseMoved(WPARAM wp, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    const ShiftState s = MouseShiftState(wp);
    if (!IsSystemClass()) {
        if (GraphicControl* g = captured_) {
            g->MouseMove(s, x - g->Left(), y - g->Top());
            return;
        }
        UpdateMouseInside({x, y});
        GraphicControl* g = GraphicChildAt(x, y);
        if (g != hover_) {
            if (hover_) hover_->MouseLeave();
            hover_ = g;
            if (g) g->MouseEnter();
        }
        if (g) {
            g->MouseMove(s, x - g->Left(), y - g->Top());
            return;
        }
    } else {
        UpdateMouseInside({x, y});
    }
    MouseMove(s, x, y);
}

void WinControl::MouseLeftWindow() {
    if (hover_) {
        GraphicControl* g = hover_;
        hover_ = nullptr;
        g->MouseLeave();
    }
    if (GetCapture() != hwnd_ && mouseInside_) {
        mouseInside_ = false;
        MouseLeave();
    }
}

void WinControl::CaptureChanged(HWND to) {
    if (to != hwnd_) {
        pressedButtons_ = 0;
        clickPending_ = false;
        captured_ = nullptr;
        capturedClick_ = false;
    }
}

}  // namespace tk
