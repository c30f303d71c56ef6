// Edit, Button and RadioButton: system controls under the toolkit's window procedure.
#include "toolkit/Button.h"
#include "toolkit/Edit.h"

#include "toolkit/Form.h"

namespace tk {

// --- Edit ------------------------------------------------------------------------------------

Edit::Edit(Component* owner) : WinControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    defaultTabStop_ = true;
    SetColor(clWindow);
    defaultColor_ = clWindow;
}

void Edit::CreateParams(CreateParamsData& p) {
    WinControl::CreateParams(p);
    p.className = "EDIT";
    p.systemClass = true;
    p.style = (p.style & ~(WS_CLIPCHILDREN)) | ES_AUTOHSCROLL | ES_LEFT;
    if (readOnly_) p.style |= ES_READONLY;
    if (flat_) p.style |= WS_BORDER;
    else p.exStyle |= WS_EX_CLIENTEDGE;
}

std::string Edit::Caption() const {
    HWND h = WindowHandle();
    if (!h) return WinControl::Caption();
    int n = GetWindowTextLengthA(h);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(h, text.data(), n + 1);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

void Edit::SetReadOnly(bool v) {
    readOnly_ = v;
    if (HWND h = WindowHandle()) SendMessageA(h, EM_SETREADONLY, v, 0);
}

HBRUSH Edit::CtlColor(HDC dc) {
    // Read-only fields keep the field colour (the system would grey them).
    const Color c = GetColor();
    if (!brush_ || brushColor_ != c) {
        brush_.reset(CreateSolidBrush(ColorToRGB(c)));
        brushColor_ = c;
    }
    SetBkColor(dc, ColorToRGB(c));
    SetTextColor(dc, ColorToRGB(GetFont().color));
    return brush_.get();
}

// --- Button ----------------------------------------------------------------------------------

Button::Button(Component* owner) : WinControl(owner) {
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    defaultTabStop_ = true;
}

void Button::CreateParams(CreateParamsData& p) {
    WinControl::CreateParams(p);
    p.className = "BUTTON";
    p.systemClass = true;
    p.style = (p.style & ~WS_CLIPCHILDREN) | (showsDefault_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void Button::Click() {
    Form* f = GetParentForm();
    if (f && modalResult_ != 0) f->SetModalResult(modalResult_);
    WinControl::Click();
}

LRESULT Button::CommandNotify(WORD code) {
    if (code == BN_CLICKED) Click();
    return 0;
}

void Button::SetDefault(bool v) {
    default_ = v;
    Form* f = GetParentForm();
    if (f && HandleAllocated()) {
        f->FocusChanged(f->ActiveControl());
    } else if (!dynamic_cast<Button*>(f ? f->ActiveControl() : nullptr)) {
        UpdateDefaultLook(v);
    }
}

void Button::FocusChanged(WinControl* active) {
    // Enter belongs to the focused button; with the focus elsewhere, to the default one.
    if (dynamic_cast<Button*>(active)) UpdateDefaultLook(active == this);
    else UpdateDefaultLook(default_);
}

void Button::UpdateDefaultLook(bool on) {
    showsDefault_ = on;
    if (HWND h = WindowHandle()) SendMessageA(h, BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool Button::DialogKey(WORD key) {
    if (KeyboardShiftState() & (ssShift | ssCtrl | ssAlt)) return false;
    const bool accept = (key == VK_RETURN && (showsDefault_ || Focused())) || (key == VK_ESCAPE && cancel_);
    if (!accept || !CanFocus()) return false;
    Click();
    return true;
}

// --- RadioButton -----------------------------------------------------------------------------

RadioButton::RadioButton(Component* owner) : WinControl(owner) {
    SetBounds(0, 0, 113, 17);
    SetTabStop(true);
    defaultTabStop_ = true;
}

void RadioButton::CreateParams(CreateParamsData& p) {
    WinControl::CreateParams(p);
    p.className = "BUTTON";
    p.systemClass = true;
    // Not the automatic kind: the control keeps the checks of its group itself.
    p.style = (p.style & ~WS_CLIPCHILDREN) | BS_RADIOBUTTON;
}

void RadioButton::HandleCreated() {
    WinControl::HandleCreated();
    SendMessageA(WindowHandle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool RadioButton::Checked() const { return checked_; }

void RadioButton::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    if (HWND h = WindowHandle()) SendMessageA(h, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
    if (v && Parent()) {
        for (Control* c : Parent()->Controls())
            if (auto* r = dynamic_cast<RadioButton*>(c); r && r != this) r->SetChecked(false);
    }
}

LRESULT RadioButton::CommandNotify(WORD code) {
    if (code == BN_CLICKED) {
        SetChecked(true);
        Click();
    }
    return 0;
}

}  // namespace tk
