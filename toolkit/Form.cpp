// Form: top-level windows, modal display, close query, focus, dialog keys and tooltips; layouts
// from the program's resources.
#include "toolkit/Form.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "toolkit/Application.h"
#include "toolkit/Layout.h"

namespace tk {
namespace {

DWORD FrameStyle(BorderStyle b) {
    return b == BorderStyle::Dialog ? (WS_CAPTION | WS_SYSMENU | DS_MODALFRAME) : 0;
}
DWORD FrameExStyle(BorderStyle b) {
    return b == BorderStyle::Dialog ? (WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE) : 0;
}

// The border around the client area of a window with these styles.
RECT FrameOf(BorderStyle b) {
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, WS_POPUP | FrameStyle(b), FALSE, FrameExStyle(b));
    return r;
}

}  // namespace

Form::Form(Component* owner) : WinControl(owner) {
    visible_ = false;  // forms are made hidden
    defaultColor_ = clBtnFace;
}

Form::~Form() {
    Destroying();
    if (App().MainForm() == this) App().SetMainForm(nullptr);
    if (tooltip_) {
        DestroyWindow(tooltip_);
        tooltip_ = nullptr;
    }
}

void Form::Created() {
    if (created_) return;
    created_ = true;
    if (OnCreate) OnCreate(this);
}

void Form::Destroying() {
    if (destroyed_) return;
    destroyed_ = true;
    if (OnDestroy) OnDestroy(this);
}

// --- Layouts from the program's RCDATA resources ----------------------------------------------

std::optional<std::vector<uint8_t>> ResourceBytes(const std::string& name) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name.c_str(), RT_RCDATA);
    if (!found) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, found);
    DWORD size = SizeofResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data && size != 0) return std::nullopt;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

LayoutResult LoadLayoutResource(Component& root, const char* name) {
    std::optional<std::vector<uint8_t>> bytes = ResourceBytes(name);
    if (!bytes) return {false, 0, std::string("no layout resource \"") + name + "\""};
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    return LoadLayout(root, text, [](const std::string& picture) { return ResourceBytes(picture); });
}

FormLayout::~FormLayout() {
    if (created_) {
        form_.Destroying();
    } else {
        // The layout bound OnDestroy to a method of the form that is going away now.
        form_.OnDestroy = nullptr;
    }
}

void FormLayout::Load(const char* resource, const std::function<void()>& findControls) {
    resource_ = resource;
    LayoutResult loaded = LoadLayoutResource(form_, resource);
    if (!loaded) throw std::runtime_error(resource_ + " layout: " + loaded.message);
    findControls();
    // OnDestroy pairs with OnCreate, also with one that failed half-way.
    created_ = true;
    form_.Created();
}

void FormLayout::Missing(const char* name) const {
    throw std::runtime_error(resource_ + " layout: no " + name);
}

void Form::Loaded() {
    WinControl::Loaded();
    if (!activeControlName_.empty()) {
        if (auto* c = dynamic_cast<WinControl*>(FindComponent(activeControlName_))) active_ = c;
    }
}

EventMethods* MethodsFor(Component& c) {
    for (Component* p = &c; p; p = p->Owner())
        if (auto* f = dynamic_cast<Form*>(p)) return &f->Methods();
    return nullptr;
}

// --- Window ----------------------------------------------------------------------------------

void Form::CreateParams(CreateParamsData& p) {
    p.className = "TkForm";
    p.classStyle = CS_DBLCLKS;
    p.style = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | FrameStyle(borderStyle_);
    p.exStyle = WS_EX_CONTROLPARENT | FrameExStyle(borderStyle_) | extraExStyle_;
    if (alphaBlend_) p.exStyle |= WS_EX_LAYERED;
    p.x = Left();
    p.y = Top();
    p.width = Width();
    p.height = Height();
    p.parent = App().Handle();  // owned by the application window, which has the taskbar button
}

void Form::HandleCreated() {
    ApplyAlpha();
    WinControl::HandleCreated();
    // Tooltips of the drawn controls already placed; a windowed one added its own when its
    // window was made.
    std::vector<WinControl*> todo{this};
    while (!todo.empty()) {
        WinControl* w = todo.back();
        todo.pop_back();
        for (Control* c : w->Controls()) {
            if (auto* cw = dynamic_cast<WinControl*>(c))
                todo.push_back(cw);
            else
                UpdateTooltip(*c);
        }
    }
}

void Form::SetClientSize(int w, int h) {
    RECT f = FrameOf(borderStyle_);
    SetBounds(Left(), Top(), w + (f.right - f.left), h + (f.bottom - f.top));
}

RECT Form::ClientRect() const {
    if (HandleAllocated()) return WinControl::ClientRect();
    const RECT f = FrameOf(borderStyle_);
    return {0, 0, Width() - (f.right - f.left), Height() - (f.bottom - f.top)};
}

void Form::SetAlphaBlend(bool v) {
    alphaBlend_ = v;
    ApplyAlpha();
}

void Form::SetAlphaBlendValue(int v) {
    alphaValue_ = std::clamp(v, 0, 255);
    ApplyAlpha();
}

void Form::ApplyAlpha() {
    HWND h = WindowHandle();
    if (!h) return;
    LONG_PTR ex = GetWindowLongPtrA(h, GWL_EXSTYLE);
    if (alphaBlend_) {
        if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrA(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(h, 0, static_cast<BYTE>(alphaValue_), LWA_ALPHA);
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLongPtrA(h, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    }
}

void Form::SetVisible(bool visible) {
    if (visible) {
        HWND h = Handle();
        if (!placed_) {
            placed_ = true;
            const POINT at = ScreenCentredOrigin(Width(), Height());
            if (position_ == tk::Position::ScreenCenter) SetBounds(at.x, at.y, Width(), Height());
        }
        const bool wasVisible = Visible();
        visible_ = true;
        if (!wasVisible && OnShow) OnShow(this);  // before the window shows: it may pick the focus
        // Minimized, the program shows it when its taskbar button restores it.
        if (!Visible() || App().Minimized()) return;
        ShowWindow(h, SW_SHOW);
        SetForegroundWindow(h);
        if (GetActiveWindow() != h) SetActiveWindow(h);
        // Focus the active control, or the first one in tab order.
        HWND focus = GetFocus();
        if (!focus || !IsChild(h, focus)) {
            WinControl* target = (active_ && active_->CanFocus()) ? active_ : FirstTabStop();
            ::SetFocus(target ? target->Handle() : h);
        }
    } else {
        if (!Visible()) return;
        visible_ = false;
        if (HWND h = WindowHandle()) ShowWindow(h, SW_HIDE);
    }
}

// --- Modal display and closing ---------------------------------------------------------------

int Form::ShowModal() {
    if (Visible() || modal_) throw std::logic_error("Cannot make a visible window modal");
    HWND previous = GetActiveWindow();
    if (GetCapture()) ReleaseCapture();
    HWND h = Handle();
    ModalScope modal;
    OtherWindowsDisabled disabled(h, tooltip_);

    modal_ = true;
    modalResult_ = 0;
    struct Restore {  // whatever happens, the other windows come back
        Form& f;
        OtherWindowsDisabled& d;
        HWND previous;
        ~Restore() {
            d.EnableAgain();  // before the form hides, so the activation has somewhere to go
            f.Hide();
            f.modal_ = false;
            if (previous && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
        }
    } restore{*this, disabled, previous};

    Show();
    while (true) {
        if (modalResult_ != 0) {
            if (CloseQuery()) break;
            modalResult_ = 0;
        }
        // WM_QUIT ends this loop and is left for the outer one.
        if (App().Terminated() || !App().ProcessMessage()) {
            modalResult_ = mrCancel;
            break;
        }
    }
    return modalResult_;
}

void Form::SetModalResult(int r) {
    modalResult_ = r;
    // Wake the modal loop, which waits for a message.
    if (modal_ && WindowHandle()) PostMessageA(WindowHandle(), WM_NULL, 0, 0);
}

bool Form::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void Form::Close() {
    if (modal_) {
        SetModalResult(mrCancel);  // the modal loop asks the close query
        return;
    }
    if (!CloseQuery()) return;
    Hide();
    if (App().MainForm() == this) App().Terminate();
}

// --- Focus and keys --------------------------------------------------------------------------

void Form::SetActiveControl(WinControl* c) {
    active_ = c;
    if (c && HandleAllocated() && Visible() && IsWindowVisible(WindowHandle()) && c->CanFocus())
        ::SetFocus(c->Handle());
}

void Form::FocusChanged(WinControl* active) {
    active_ = active;
    BroadcastFocusChanged(active);
}

void Form::CollectTabStops(WinControl* parent, std::vector<WinControl*>& out) {
    std::vector<std::pair<int, WinControl*>> children;
    int index = 0;
    for (Control* c : parent->Controls())
        if (auto* w = dynamic_cast<WinControl*>(c)) children.push_back({index++, w});
    std::stable_sort(children.begin(), children.end(), [](const auto& a, const auto& b) {
        const int ta = a.second->TabOrder() < 0 ? INT_MAX : a.second->TabOrder();
        const int tb = b.second->TabOrder() < 0 ? INT_MAX : b.second->TabOrder();
        return ta < tb;
    });
    for (auto& [i, w] : children) {
        (void)i;
        if (!w->Visible() || !w->Enabled()) continue;
        if (w->TabStop()) out.push_back(w);
        CollectTabStops(w, out);
    }
}

WinControl* Form::FirstTabStop() {
    std::vector<WinControl*> list;
    CollectTabStops(this, list);
    for (WinControl* w : list)
        if (w->CanFocus()) return w;
    return nullptr;
}

void Form::SelectNext(WinControl* from, bool forward) {
    std::vector<WinControl*> list;
    CollectTabStops(this, list);
    list.erase(std::remove_if(list.begin(), list.end(), [](WinControl* w) { return !w->CanFocus(); }), list.end());
    if (list.empty()) return;
    auto it = std::find(list.begin(), list.end(), from);
    size_t next;
    if (it == list.end()) {
        next = forward ? 0 : list.size() - 1;
    } else {
        size_t i = static_cast<size_t>(it - list.begin());
        next = forward ? (i + 1) % list.size() : (i + list.size() - 1) % list.size();
    }
    list[next]->SetFocus();
}

void Form::ControlGone(Control* c) {
    if (active_ == c) active_ = nullptr;
    RemoveTooltip(*c);
}

// --- Tooltips --------------------------------------------------------------------------------

void Form::EnsureTooltip() {
    if (tooltip_ || !WindowHandle()) return;
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, WindowHandle(), nullptr, Instance(), nullptr);
}

namespace {
// The tool of a control: its own window, or a rectangle of its parent's window.
bool ToolOf(Control& c, TOOLINFOA& ti) {
    ti = TOOLINFOA{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by both comctl32 versions
    if (auto* w = dynamic_cast<WinControl*>(&c)) {
        if (!w->HandleAllocated() || !w->Parent() || !w->Parent()->HandleAllocated()) return false;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = w->Parent()->WindowHandle();
        ti.uId = reinterpret_cast<UINT_PTR>(w->WindowHandle());
        return true;
    }
    if (!c.Parent() || !c.Parent()->HandleAllocated()) return false;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = c.Parent()->WindowHandle();
    ti.uId = reinterpret_cast<UINT_PTR>(&c);
    ti.rect = c.BoundsRect();
    return true;
}
}  // namespace

void Form::UpdateTooltip(Control& c) {
    if (!WindowHandle()) return;
    TOOLINFOA ti;
    if (!ToolOf(c, ti)) return;
    const bool wanted = c.ShowHint() && !c.Hint().empty() && c.Visible();
    if (!wanted && !tooltip_) return;
    EnsureTooltip();
    if (!tooltip_) return;
    SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    if (!wanted) return;
    std::string text = c.Hint();
    ti.lpszText = text.data();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void Form::RemoveTooltip(Control& c) {
    if (!tooltip_) return;
    TOOLINFOA ti;
    if (!ToolOf(c, ti)) return;
    SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

// --- Messages --------------------------------------------------------------------------------

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE:
            Close();
            return 0;
        case WM_SETFOCUS: {
            // The form itself got the focus (activation): hand it to its active control.
            LRESULT r = DefaultHandler(msg, wp, lp);
            WinControl* target = (active_ && active_->CanFocus() && active_->HandleAllocated()) ? active_ : nullptr;
            if (target) ::SetFocus(target->WindowHandle());
            return r;
        }
        case WM_SHOWWINDOW:
            if (lp == SW_PARENTCLOSING || lp == SW_PARENTOPENING) {
                // The program minimized or restored: the form goes down with it, and comes
                // back only if it is still shown. (The system's mark for a window hidden with
                // its owner would also bring back a form hidden meanwhile.)
                const bool show = wp && visible_;
                if (show != (IsWindowVisible(WindowHandle()) != FALSE))
                    SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                     (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
                return 0;
            }
            // Shown or hidden by a direct call on the window: keep Visible in step.
            if (lp == 0) visible_ = wp != 0;
            break;
        default:
            break;
    }
    return WinControl::HandleMessage(msg, wp, lp);
}

}  // namespace tk
