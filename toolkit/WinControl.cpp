// WinControl and CustomControl: the window procedure, children, focus, painting and keys. The
// mouse is in WinControlMouse.cpp.
#include "toolkit/Control.h"

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>
#include <set>
#include <stdexcept>

#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/PopupMenu.h"

namespace tk {
namespace {

// A class of child windows has no icon: only a top-level window ever shows one.
void RegisterOwnClass(const std::string& name, UINT style, WNDPROC proc, bool topLevel) {
    static std::set<std::string> registered;
    if (registered.count(name)) return;
    if (!RegisterWindowClass(name.c_str(), proc, style, topLevel ? LoadIconA(Instance(), "MAINICON") : nullptr))
        throw std::runtime_error("cannot register window class " + name);
    registered.insert(name);
}

// The object behind a window is kept twice, set and cleared together by Attach and Detach. A
// window property marks the window as ours, so FromHandle can take any handle; the window's user
// data, which is ours on every window we create or subclass, is what the window procedure reads
// on each message (under Wine a property costs a round trip to the server, the user data does
// not). For a subclassed system control the class's own procedure lives in a property too. All
// of them stay readable when comctl32 (tooltips) subclasses the window on top of us.
LPCSTR ObjectProp() {
    static ATOM atom = GlobalAddAtomA("VexlarTkControl");
    return MAKEINTATOM(atom);
}
LPCSTR OldProcProp() {
    static ATOM atom = GlobalAddAtomA("VexlarTkOldProc");
    return MAKEINTATOM(atom);
}

void Attach(HWND h, WinControl* c) {
    SetPropA(h, ObjectProp(), c);
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
}

void Detach(HWND h) {
    RemovePropA(h, ObjectProp());
    SetWindowLongPtrA(h, GWLP_USERDATA, 0);
}

}  // namespace

// --- Life ------------------------------------------------------------------------------------

WinControl::WinControl(Component* owner) : Control(owner) {}

WinControl::~WinControl() {
    destroying_ = true;
    // Children outlive this object only as orphans; their windows go with ours.
    for (Control* c : controls_) c->parent_ = nullptr;
    controls_.clear();
    captured_ = hover_ = nullptr;
    DestroyHandle();
}

void WinControl::DestroyHandle() {
    if (!hwnd_) return;
    HWND h = hwnd_;
    // Detach first: the messages of the destruction then no longer reach a dying object. A
    // system control gets its own procedure back unless something subclassed it after us; then
    // the window procedure keeps forwarding to it.
    if (oldProc_ && GetWindowLongPtrA(h, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProc)) {
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
        RemovePropA(h, OldProcProp());
    }
    Detach(h);
    hwnd_ = nullptr;
    oldProc_ = nullptr;
    ResetWindowMouseState();
    DestroyWindow(h);
}

WinControl* WinControl::FromHandle(HWND hwnd) {
    if (!hwnd || !IsWindow(hwnd)) return nullptr;
    auto* c = static_cast<WinControl*>(GetPropA(hwnd, ObjectProp()));
    return c && c->hwnd_ == hwnd ? c : nullptr;
}

HWND WinControl::Handle() {
    if (!hwnd_) CreateHandle();
    return hwnd_;
}

void WinControl::CreateParams(CreateParamsData& p) {
    p.className = "TkWindow";
    p.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) p.style |= WS_VISIBLE;
    if (TabStop()) p.style |= WS_TABSTOP;
    p.x = Left();
    p.y = Top();
    p.width = Width();
    p.height = Height();
    // A control without a parent is parked under the application window.
    p.parent = Parent() ? Parent()->Handle() : App().Handle();
}

void WinControl::CreateHandle() {
    if (creating_) return;
    if (Parent()) {
        Parent()->Handle();  // creating the parent creates its children, this one included
        if (hwnd_) return;
    }
    CreateParamsData p;
    CreateParams(p);
    if (!p.systemClass) RegisterOwnClass(p.className, p.classStyle, &WindowProc, !(p.style & WS_CHILD));
    static UINT_PTR nextId = 100;
    HMENU id = (p.style & WS_CHILD) ? reinterpret_cast<HMENU>(nextId++) : nullptr;
    creating_ = true;
    HWND h = CreateWindowExA(p.exStyle, p.className.c_str(), Caption().c_str(), p.style, p.x, p.y,
                             p.width, p.height, p.parent, id, Instance(), this);
    creating_ = false;
    if (!h) throw std::runtime_error("cannot create a window of class " + p.className);
    if (p.systemClass) {
        hwnd_ = h;
        Attach(h, this);
        oldProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
        SetPropA(h, OldProcProp(), reinterpret_cast<HANDLE>(oldProc_));
    }
    if (p.style & WS_CHILD)  // later children on top, as the controls list says
        SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HandleCreated();
}

void WinControl::HandleCreated() {
    if (IsSystemClass()) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
    if (!Enabled()) EnableWindow(hwnd_, FALSE);
    for (Control* c : std::vector<Control*>(controls_))
        if (auto* w = dynamic_cast<WinControl*>(c)) w->Handle();
    if (Form* f = GetParentForm(); f && f != this) f->UpdateTooltip(*this);
}

// --- Children --------------------------------------------------------------------------------

void WinControl::AddControl(Control* c) {
    controls_.push_back(c);
    c->parent_ = this;
    if (auto* w = dynamic_cast<WinControl*>(c)) {
        if (w->hwnd_) {
            if (hwnd_) {
                ::SetParent(w->hwnd_, hwnd_);
                SetWindowPos(w->hwnd_, HWND_TOP, w->Left(), w->Top(), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
            } else {
                w->DestroyHandle();
            }
        }
        if (hwnd_ && !w->hwnd_) w->Handle();
    } else {
        InvalidateChildRect(c->BoundsRect());
    }
    if (Form* f = GetParentForm()) f->UpdateTooltip(*c);
}

void WinControl::RemoveControl(Control* c) {
    auto it = std::find(controls_.begin(), controls_.end(), c);
    if (it == controls_.end()) return;
    controls_.erase(it);
    ChildRemoved(c);
    if (Form* f = GetParentForm()) f->RemoveTooltip(*c);
    c->parent_ = nullptr;
    if (auto* w = dynamic_cast<WinControl*>(c); w && w->hwnd_ && !w->destroying_) {
        // Parked until it gets a new parent.
        ::SetParent(w->hwnd_, App().Handle());
    } else if (!dynamic_cast<WinControl*>(c)) {
        InvalidateChildRect(c->BoundsRect());
    }
}

GraphicControl* WinControl::GraphicChildAt(int x, int y) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        auto* g = dynamic_cast<GraphicControl*>(*it);
        if (g && g->Visible() && g->Enabled() && g->HitTest(x - g->Left(), y - g->Top())) return g;
    }
    return nullptr;
}

bool WinControl::BroadcastDialogKey(WORD key) {
    for (Control* c : std::vector<Control*>(controls_)) {
        if (c->DialogKey(key)) return true;
        if (auto* w = dynamic_cast<WinControl*>(c); w && w->BroadcastDialogKey(key)) return true;
    }
    return false;
}

void WinControl::BroadcastFocusChanged(WinControl* active) {
    for (Control* c : std::vector<Control*>(controls_)) {
        c->FocusChanged(active);
        if (auto* w = dynamic_cast<WinControl*>(c)) w->BroadcastFocusChanged(active);
    }
}

// --- State -----------------------------------------------------------------------------------

bool WinControl::Focused() const { return hwnd_ && GetFocus() == hwnd_; }

void WinControl::SetFocus() {
    Form* f = GetParentForm();
    if (f && f != this) {
        f->active_ = this;  // also focused whenever the form is shown or activated again
        if (!f->Visible() || !f->HandleAllocated() || !IsWindowVisible(f->WindowHandle())) return;
    }
    ::SetFocus(Handle());
}


void WinControl::Invalidate() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void WinControl::InvalidateChildRect(const RECT& r) {
    if (hwnd_) InvalidateRect(hwnd_, &r, FALSE);
}

POINT WinControl::ClientOrigin() const {
    if (!hwnd_) return Control::ClientOrigin();
    POINT p{0, 0};
    ::ClientToScreen(hwnd_, &p);
    return p;
}

RECT WinControl::ClientRect() const {
    if (!hwnd_) return Control::ClientRect();
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r;
}

void WinControl::BoundsChanged() {
    if (hwnd_)
        SetWindowPos(hwnd_, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinControl::SyncWindowRect() {
    if (!hwnd_) return;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    if (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_CHILD) {
        HWND parent = GetParent(hwnd_);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    }
    // The window moved by itself: the bounds follow, with no side effects.
    left_ = r.left; top_ = r.top; width_ = r.right - r.left; height_ = r.bottom - r.top;
}

void WinControl::VisibleChanged() {
    if (hwnd_) ShowWindow(hwnd_, Visible() ? SW_SHOWNOACTIVATE : SW_HIDE);
    Control::VisibleChanged();
}

void WinControl::EnabledChanged() {
    if (hwnd_) EnableWindow(hwnd_, Enabled());
}

void WinControl::CaptionChanged() {
    if (hwnd_) SetWindowTextA(hwnd_, Control::Caption().c_str());
}

void WinControl::FontChanged() {
    if (hwnd_ && IsSystemClass()) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
}

void WinControl::HintChanged() {
    Control::HintChanged();
    for (Control* c : controls_)  // children may take their ShowHint from this one
        if (c->ParentShowHint()) c->HintChanged();
}

// --- Keys ------------------------------------------------------------------------------------

void WinControl::KeyDown(WORD& key, ShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void WinControl::KeyUp(WORD& key, ShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void WinControl::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

bool WinControl::HandleNavigationKey(WORD key) {
    if (key != VK_RETURN && key != VK_ESCAPE && key != VK_TAB) return false;
    Form* form = GetParentForm();
    if (!form) return false;
    if (key == VK_TAB) {
        ShiftState s = KeyboardShiftState();
        if (s & (ssCtrl | ssAlt)) return false;
        form->SelectNext(this == form ? nullptr : this, !(s & ssShift));
        return true;
    }
    return form->BroadcastDialogKey(key);
}

// --- Painting --------------------------------------------------------------------------------

void WinControl::PaintWindow(HDC dc, const RECT& update) {
    Canvas(dc).FillRect(update, ColorToRGB(GetColor()));
    PaintGraphicChildren(dc, update);
}

void WinControl::PaintGraphicChildren(HDC dc, const RECT& update) {
    for (Control* c : std::vector<Control*>(controls_)) {
        auto* g = dynamic_cast<GraphicControl*>(c);
        if (!g || !g->Visible() || g->Width() <= 0 || g->Height() <= 0) continue;
        RECT b = g->BoundsRect(), both{};
        if (!IntersectRect(&both, &b, &update)) continue;
        SavedDcScope saved(dc);
        IntersectClipRect(dc, b.left, b.top, b.right, b.bottom);
        OffsetViewportOrgEx(dc, b.left, b.top, nullptr);
        Canvas canvas(dc);
        g->Paint(canvas);
    }
}

// --- The window procedure --------------------------------------------------------------------

LRESULT CALLBACK WinControl::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    WinControl* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        self = static_cast<WinControl*>(cs->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            Attach(hwnd, self);
        }
    } else {
        self = reinterpret_cast<WinControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self || self->hwnd_ != hwnd) {
        // Detached: a system control still gets its own procedure.
        auto old = reinterpret_cast<WNDPROC>(GetPropA(hwnd, OldProcProp()));
        if (msg == WM_NCDESTROY) RemovePropA(hwnd, OldProcProp());
        return old ? CallWindowProcA(old, hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
    }
    try {
        return self->Dispatch(msg, wp, lp);
    } catch (const std::exception& e) {
        App().HandleException(e);
    } catch (...) {
        App().HandleException();
    }
    return 0;
}

LRESULT WinControl::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) {
        LRESULT r = DefaultHandler(msg, wp, lp);
        Detach(hwnd_);
        RemovePropA(hwnd_, OldProcProp());
        hwnd_ = nullptr;
        oldProc_ = nullptr;
        ResetWindowMouseState();
        return r;
    }
    return HandleMessage(msg, wp, lp);
}

LRESULT WinControl::DefaultHandler(UINT msg, WPARAM wp, LPARAM lp) {
    if (oldProc_) return CallWindowProcA(oldProc_, hwnd_, msg, wp, lp);
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT WinControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (lp) {
                if (WinControl* child = FromHandle(reinterpret_cast<HWND>(lp)); child && child != this)
                    return child->CommandNotify(HIWORD(wp));
            }
            break;
        case WM_NOTIFY: {
            auto* h = reinterpret_cast<NMHDR*>(lp);
            if (WinControl* child = FromHandle(h->hwndFrom); child && child != this) return child->NotifyNotify(h);
            break;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            if (WinControl* child = FromHandle(reinterpret_cast<HWND>(lp)); child && child != this)
                if (HBRUSH b = child->CtlColor(reinterpret_cast<HDC>(wp))) return reinterpret_cast<LRESULT>(b);
            break;
        case WM_ERASEBKGND:
            if (!IsSystemClass()) return 1;  // WM_PAINT covers everything, from a buffer
            break;
        case WM_PAINT:
            if (!IsSystemClass()) {
                PaintScope paint(hwnd_);
                HDC dc = paint.get();
                const RECT u = paint.Update();
                if (u.right > u.left && u.bottom > u.top) {
                    OwnedMemDc mem(CreateCompatibleDC(dc));
                    OwnedBitmap buffer(CreateCompatibleBitmap(dc, u.right - u.left, u.bottom - u.top));
                    if (mem && buffer) {
                        SelectObjectScope sel(mem.get(), buffer.get());
                        SetViewportOrgEx(mem.get(), -u.left, -u.top, nullptr);
                        PaintWindow(mem.get(), u);
                        SetViewportOrgEx(mem.get(), 0, 0, nullptr);
                        BitBlt(dc, u.left, u.top, u.right - u.left, u.bottom - u.top, mem.get(), 0, 0, SRCCOPY);
                    } else {
                        PaintWindow(dc, u);
                    }
                }
                return 0;
            }
            break;
        case WM_PRINTCLIENT:
            if (!IsSystemClass()) {
                PaintWindow(reinterpret_cast<HDC>(wp), ClientRect());
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wp) == hwnd_ && LOWORD(lp) == HTCLIENT) {
                POINT p;
                GetCursorPos(&p);
                ::ScreenToClient(hwnd_, &p);
                Cursor c = GetCursor();
                if (GraphicControl* g = IsSystemClass() ? nullptr : GraphicChildAt(p.x, p.y))
                    if (g->GetCursor() != crDefault) c = g->GetCursor();
                if (HCURSOR h = CursorHandle(c)) {
                    ::SetCursor(h);
                    return TRUE;
                }
            }
            break;
        case WM_LBUTTONDOWN: MouseButtonDown(MouseButton::Left, false, wp, lp); if (!IsSystemClass()) return 0; break;
        case WM_RBUTTONDOWN: MouseButtonDown(MouseButton::Right, false, wp, lp); if (!IsSystemClass()) return 0; break;
        case WM_MBUTTONDOWN: MouseButtonDown(MouseButton::Middle, false, wp, lp); if (!IsSystemClass()) return 0; break;
        case WM_LBUTTONDBLCLK: MouseButtonDown(MouseButton::Left, true, wp, lp); if (!IsSystemClass()) return 0; break;
        case WM_RBUTTONDBLCLK: MouseButtonDown(MouseButton::Right, true, wp, lp); if (!IsSystemClass()) return 0; break;
        case WM_MBUTTONDBLCLK: MouseButtonDown(MouseButton::Middle, true, wp, lp); if (!IsSystemClass()) return 0; break;
        case WM_LBUTTONUP: MouseButtonUp(MouseButton::Left, wp, lp); if (!IsSystemClass()) return 0; break;
        case WM_RBUTTONUP: MouseButtonUp(MouseButton::Right, wp, lp); if (!IsSystemClass()) return 0; break;
        case WM_MBUTTONUP: MouseButtonUp(MouseButton::Middle, wp, lp); if (!IsSystemClass()) return 0; break;
        case WM_MOUSEMOVE: MouseMoved(wp, lp); if (!IsSystemClass()) return 0; break;
        case WM_MOUSELEAVE: MouseLeftWindow(); if (!IsSystemClass()) return 0; break;
        case WM_CAPTURECHANGED: CaptureChanged(reinterpret_cast<HWND>(lp)); break;
        case WM_CONTEXTMENU: {
            WinControl* target = FromHandle(reinterpret_cast<HWND>(wp));
            if (target == this) {
                if (tk::PopupMenu* menu = GetPopupMenu()) {
                    int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
                    if (x == -1 && y == -1) {  // from the keyboard: at the control
                        POINT o = ClientOrigin();
                        x = o.x;
                        y = o.y;
                    }
                    menu->Popup(x, y);
                    return 0;
                }
            }
            break;
        }
        case WM_KEYDOWN: {
            WORD key = static_cast<WORD>(wp);
            KeyDown(key, KeyboardShiftState());
            if (key == 0) return 0;
            if (HandleNavigationKey(key)) {
                suppressChar_ = true;
                return 0;
            }
            return DefaultHandler(msg, key, lp);
        }
        case WM_KEYUP: {
            WORD key = static_cast<WORD>(wp);
            KeyUp(key, KeyboardShiftState());
            if (key == 0) return 0;
            return DefaultHandler(msg, key, lp);
        }
        case WM_CHAR: {
            if (suppressChar_) {
                suppressChar_ = false;
                return 0;
            }
            char c = static_cast<char>(wp);
            if (c == '\r' || c == 27 || c == '\t') return 0;  // Enter, Escape and Tab belong to the form
            KeyPress(c);
            if (c == 0) return 0;
            return DefaultHandler(msg, static_cast<unsigned char>(c), lp);
        }
        case WM_SETFOCUS: {
            LRESULT r = DefaultHandler(msg, wp, lp);
            if (Form* f = GetParentForm(); f && f != this) f->FocusChanged(this);
            if (OnEnter) OnEnter(this);
            return r;
        }
        case WM_KILLFOCUS: {
            LRESULT r = DefaultHandler(msg, wp, lp);
            if (OnExit) OnExit(this);
            return r;
        }
        case WM_WINDOWPOSCHANGED: {
            LRESULT r = DefaultHandler(msg, wp, lp);
            SyncWindowRect();
            return r;
        }
        default:
            break;
    }
    return DefaultHandler(msg, wp, lp);
}

// --- CustomControl ---------------------------------------------------------------------------

CustomControl::CustomControl(Component* owner) : WinControl(owner) {}
CustomControl::~CustomControl() = default;

void CustomControl::CreateParams(CreateParamsData& p) {
    WinControl::CreateParams(p);
    p.className = "TkCustomControl";
    // A private DC: the canvas stays valid between paints.
    p.classStyle = CS_DBLCLKS | CS_OWNDC;
}

tk::Canvas& CustomControl::Canvas() {
    HWND h = Handle();
    if (!canvas_) canvas_ = std::make_unique<tk::Canvas>();
    HDC dc = GetDC(h);  // the class's own DC: the same each time, never released
    if (dc != canvas_->Handle()) {
        SelectObject(dc, FontHandle());
        canvas_->SetHandle(dc);
    }
    return *canvas_;
}

LRESULT CustomControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PaintScope paint(WindowHandle());
            Paint();
            return 0;
        }
        default:
            break;
    }
    return WinControl::HandleMessage(msg, wp, lp);
}

}  // namespace tk
