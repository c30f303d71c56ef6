// Controls: the base of everything placed on a form, windowless and windowed.
//
//   Control          bounds, parent, visibility, enabled state, hint, cursor, events
//   ├ GraphicControl no window; its parent paints it (Paint) and routes the mouse to it
//   └ WinControl     owns an HWND; one window procedure; children, focus, keys, mouse capture
//     └ CustomControl  own window class and a Canvas on its client area (Paint)
//
// A control is a Component. Its owner (usually the form) frees it when it adopted it (the layout
// reader does); a control made by hand lives as long as its maker keeps it. Its parent is the
// windowed control it sits in; a parent lays its controls out back to front, so the last added
// is on top. A parent that dies first only detaches its children.
//
// Mouse: a press (any button) captures the mouse for the pressed control, graphic or windowed,
// until every button is up; a left press released over the same control clicks it, before the
// release event. Pointer enter/leave of windowed controls come from mouse moves and
// TrackMouseEvent; under capture, from comparing each move with the client area and the window
// region; after a click (which may have run a menu or a modal loop), from where the pointer is
// then. (Tests that send WM_MOUSEMOVE: the system posts WM_MOUSELEAVE as soon as the real
// pointer is elsewhere, so move it with SetCursorPos or do not pump in between.)
//
// Keys: Enter and Escape are offered by its form to all its controls (DialogKey, depth-first,
// back to front) until one accepts; Tab and Shift+Tab move the focus along the tab order. This
// happens in the window procedure, so keys sent straight to a window behave like typed ones.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Appearance.h"
#include "toolkit/Component.h"

namespace tk {

// A colour in a layout: its name where it has one ("clBtnFace"), otherwise its number.
LayoutValue ColorValue(Color c);
Color ColorOf(const LayoutValue& v);  // throws LayoutValueError for an unknown name

class Canvas;
class Form;
class PopupMenu;
class WinControl;

enum class MouseButton { Left, Right, Middle };

// Shift state: a set of flags as Delphi's TShiftState.
using ShiftState = unsigned;
inline constexpr ShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssDouble = 64;
ShiftState KeyboardShiftState();                      // from GetKeyState
ShiftState MouseShiftState(WPARAM mouseMessageWParam);  // from a mouse message's wParam

using NotifyEvent = std::function<void(Component* sender)>;
using MouseEvent = std::function<void(Component* sender, MouseButton button, ShiftState shift, int x, int y)>;
using MouseMoveEvent = std::function<void(Component* sender, ShiftState shift, int x, int y)>;
using KeyEvent = std::function<void(Component* sender, WORD& key, ShiftState shift)>;
using KeyPressEvent = std::function<void(Component* sender, char& key)>;

// Modal results.
inline constexpr int mrOk = 1, mrCancel = 2, mrAbort = 3, mrYes = 6;

class Control : public Component {
public:
    explicit Control(Component* owner = nullptr);
    ~Control() override;

    static const ClassInfo& StaticInfo();  // "TControl": bounds, texts, looks, mouse events
    const ClassInfo& Info() const override { return StaticInfo(); }

    // Bounds in the parent's client coordinates; for a form, its window in screen coordinates.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    // The client area in the control's own coordinates.
    virtual RECT ClientRect() const { return {0, 0, width_, height_}; }

    // The windowed control this one sits in. Setting it adds the control on top of the parent's
    // other children; nullptr takes it out.
    WinControl* Parent() const { return parent_; }
    virtual void SetParent(WinControl* parent);
    // A layout nests controls: the enclosing control becomes the parent.
    void SetParentComponent(Component* parent) override;
    Component* GetParentComponent() const override;
    // The form this control sits on (the form itself for a form); nullptr when not on one.
    Form* GetParentForm() const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    // Text of a control (label, button, form caption). Windowed controls keep their window text
    // in step.
    virtual std::string Caption() const { return caption_; }
    virtual void SetCaption(std::string text);

    Color GetColor() const { return color_; }
    virtual void SetColor(Color c);
    const tk::Font& GetFont() const { return font_; }
    virtual void SetFont(const tk::Font& font);
    HFONT FontHandle() const { return tk::FontHandle(font_); }

    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint);
    // ShowHint set explicitly, or (ParentShowHint) taken from the parent.
    bool ShowHint() const;
    void SetShowHint(bool show);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool v);

    Cursor GetCursor() const { return cursor_; }
    void SetCursor(Cursor c) { cursor_ = c; }

    // Context menu (opened by controls that handle WM_CONTEXTMENU, such as the list view).
    tk::PopupMenu* GetPopupMenu() const;

    // Events: called only when set.
    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    MouseEvent OnMouseDown;
    MouseEvent OnMouseUp;
    MouseMoveEvent OnMouseMove;

    // Raise the events; controls override them to react (call the base to keep the event).
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y);
    virtual void MouseUp(MouseButton button, ShiftState shift, int x, int y);
    virtual void MouseMove(ShiftState shift, int x, int y);
    // The pointer came onto / left the control (also while the mouse is captured by it).
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}

    // Enter or Escape offered by the form; return true to accept (and end the offer).
    virtual bool DialogKey(WORD /*key*/) { return false; }
    // The form's focused control changed (the form tells all its controls).
    virtual void FocusChanged(WinControl* /*active*/) {}

    // The control and every container up to its form are visible and enabled.
    bool CanFocus() const;

    // Repaint the control's area.
    virtual void Invalidate();

    // Client coordinates of this control <-> screen coordinates.
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;
    // Where the client area's origin lies in the screen.
    virtual POINT ClientOrigin() const;

protected:
    // Hooks for subclasses after a change took effect.
    virtual void BoundsChanged() {}
    virtual void VisibleChanged();
    virtual void EnabledChanged() {}
    virtual void CaptionChanged() {}
    virtual void FontChanged() {}
    virtual void HintChanged();

    // The class's own defaults, against which the layout writer compares (set in constructors).
    Color defaultColor_ = clBtnFace;
    bool defaultTabStop_ = false;

private:
    friend class WinControl;
    friend class Form;
    WinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    Color color_ = clBtnFace;
    tk::Font font_;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    Cursor cursor_ = crDefault;
    mutable tk::PopupMenu* popupMenu_ = nullptr;
    std::string popupMenuName_;  // a layout names its menu before the menu may exist
};

// A control without a window: painted by its parent back to front, mouse routed by the parent.
class GraphicControl : public Control {
public:
    explicit GraphicControl(Component* owner = nullptr) : Control(owner) {}
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    // Draw the control; the canvas origin is the control's top-left corner and drawing is
    // clipped to its bounds.
    virtual void Paint(Canvas& canvas) = 0;
    // Whether a point (client coordinates) belongs to the control for the mouse.
    virtual bool HitTest(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }
};

// A control with a window of its own.
class WinControl : public Control {
public:
    explicit WinControl(Component* owner = nullptr);
    ~WinControl() override;

    static const ClassInfo& StaticInfo();  // adds TabOrder, TabStop and the key events
    const ClassInfo& Info() const override { return StaticInfo(); }

    // The window, created on demand (its parents' windows first).
    HWND Handle();
    bool HandleAllocated() const { return hwnd_ != nullptr; }
    HWND WindowHandle() const { return hwnd_; }  // nullptr when not created
    // The control object behind a window of the toolkit; nullptr for any other window.
    static WinControl* FromHandle(HWND hwnd);

    // Children, back to front.
    const std::vector<Control*>& Controls() const { return controls_; }

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v) { tabStop_ = v; }
    // Position in the parent's tab order (lower first); -1 = after the others.
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int v) { tabOrder_ = v; }

    bool Focused() const;
    virtual void SetFocus();

    // Key events, called only when set. OnKeyDown may set the key to 0 to swallow it.
    KeyEvent OnKeyDown;
    KeyEvent OnKeyUp;
    KeyPressEvent OnKeyPress;
    NotifyEvent OnEnter;  // got the focus
    NotifyEvent OnExit;   // lost it
    virtual void KeyDown(WORD& key, ShiftState shift);
    virtual void KeyUp(WORD& key, ShiftState shift);
    virtual void KeyPress(char& key);

    void Invalidate() override;
    POINT ClientOrigin() const override;
    RECT ClientRect() const override;

    // The pointer is over the control (kept up to date from mouse messages and leave tracking).
    bool MouseInside() const { return mouseInside_; }

    // Offers a dialog key to this control and its children, depth-first, back to front.
    bool BroadcastDialogKey(WORD key);
    // Calls FocusChanged on this control and all controls inside it.
    void BroadcastFocusChanged(WinControl* active);

    // The topmost visible, enabled graphic child at a client point; nullptr when none.
    GraphicControl* GraphicChildAt(int x, int y) const;

protected:
    // How the window is made. Subclasses adjust these in CreateParams (call the base first).
    struct CreateParamsData {
        std::string className;  // the toolkit's own class, or a system class (then subclassed)
        bool systemClass = false;
        DWORD style = 0;
        DWORD exStyle = 0;
        UINT classStyle = CS_DBLCLKS;  // for the toolkit's own classes
        int x = 0, y = 0, width = 0, height = 0;
        HWND parent = nullptr;
    };
    virtual void CreateParams(CreateParamsData& params);
    // Called once the window exists (set fonts, fill a system control...).
    virtual void HandleCreated();
    // Destroys the window (children's windows go with it).
    void DestroyHandle();

    // Every message of the window. Call the base for what you do not handle.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // The default processing: DefWindowProcA, or the system class's own procedure.
    LRESULT DefaultHandler(UINT msg, WPARAM wp, LPARAM lp);

    // Notifications a parent reflects to the child that sent them (WM_COMMAND, WM_NOTIFY).
    virtual LRESULT CommandNotify(WORD /*code*/) { return 0; }
    virtual LRESULT NotifyNotify(NMHDR* /*header*/) { return 0; }
    // WM_CTLCOLOR* reflected to the child: a brush for its background, nullptr for the default.
    virtual HBRUSH CtlColor(HDC /*dc*/) { return nullptr; }

    // Painting of the toolkit's own windows: PaintWindow draws the background and the graphic
    // children into an off-screen buffer that then reaches the screen in one copy. Containers
    // (forms, panels) use this; CustomControl paints directly.
    virtual void PaintWindow(HDC dc, const RECT& update);
    void PaintGraphicChildren(HDC dc, const RECT& update);
    void InvalidateChildRect(const RECT& r);

    // Enter or leave as the pointer now stands: after a menu or a modal loop that held the
    // mouse, the window may have missed its leave notice.
    void SyncMouseInside();

    void BoundsChanged() override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void CaptionChanged() override;
    void FontChanged() override;
    void HintChanged() override;

    bool IsSystemClass() const { return oldProc_ != nullptr; }

    // For the system controls: made with this size, as a tab stop, on this colour; tab stop and
    // colour are also the class's defaults, which the layout writer leaves out.
    void SetClassDefaults(int width, int height, Color color);

private:
    friend class Control;
    friend class Form;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void CreateHandle();
    void AddControl(Control* c);
    void RemoveControl(Control* c);
    bool HandleNavigationKey(WORD key);
    void SyncWindowRect();

    // The mouse (WinControlMouse.cpp).
    void ChildRemoved(Control* c);
    void ResetWindowMouseState();
    void MouseButtonDown(MouseButton b, bool dbl, WPARAM wp, LPARAM lp);
    void MouseButtonUp(MouseButton b, WPARAM wp, LPARAM lp);
    void MouseMoved(WPARAM wp, LPARAM lp);
    void MouseLeftWindow();
    void CaptureChanged(HWND to);
    void UpdateMouseInside(POINT clientPt);
    void PointerInside(bool inside);
    bool LeaveTracked() const;
    bool PointInShape(POINT clientPt) const;

    HWND hwnd_ = nullptr;
    WNDPROC oldProc_ = nullptr;
    std::vector<Control*> controls_;
    bool tabStop_ = false;
    int tabOrder_ = -1;
    bool suppressChar_ = false;         // WM_CHAR of a key handled as dialog/tab key
    bool creating_ = false;
    bool destroying_ = false;
    // The mouse.
    bool mouseInside_ = false;
    unsigned pressedButtons_ = 0;       // buttons held on this window (bit per MouseButton)
    bool clickPending_ = false;         // left press seen; a release over us clicks
    GraphicControl* captured_ = nullptr;  // graphic child that took the press
    bool capturedClick_ = false;
    GraphicControl* hover_ = nullptr;   // graphic child under the pointer
};

// A windowed control of the toolkit's own class with a canvas on its client area, usable at any
// time (not only while painting). Subclasses draw in Paint.
class CustomControl : public WinControl {
public:
    explicit CustomControl(Component* owner = nullptr);
    ~CustomControl() override;
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    // The canvas on the control's window (the window is created if needed).
    tk::Canvas& Canvas();

protected:
    virtual void Paint() {}
    void CreateParams(CreateParamsData& params) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::unique_ptr<tk::Canvas> canvas_;
};

}  // namespace tk
