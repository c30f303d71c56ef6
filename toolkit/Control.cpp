// Control: bounds, parent, state and events shared by windowed and windowless controls; the
// shift states of the keyboard and the mouse.
#include "toolkit/Control.h"

#include "toolkit/Form.h"
#include "toolkit/PopupMenu.h"

namespace tk {

Control::Control(Component* owner) : Component(owner) {}

Control::~Control() {
    if (Form* f = GetParentForm(); f && f != static_cast<Control*>(this)) f->ControlGone(this);
    if (parent_) parent_->RemoveControl(this);
}

void Control::SetBounds(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const RECT old = BoundsRect();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (!dynamic_cast<WinControl*>(this) && parent_) {
        parent_->InvalidateChildRect(old);
        parent_->InvalidateChildRect(BoundsRect());
        HintChanged();  // a graphic control's tooltip is a rectangle of its parent
    }
    BoundsChanged();
}

void Control::SetParent(WinControl* parent) {
    if (parent == parent_) return;
    if (parent_) parent_->RemoveControl(this);
    parent_ = nullptr;
    if (parent) parent->AddControl(this);
}

void Control::SetParentComponent(Component* parent) {
    if (auto* w = dynamic_cast<WinControl*>(parent)) SetParent(w);
}

Component* Control::GetParentComponent() const { return parent_; }

Form* Control::GetParentForm() const {
    for (const Control* c = this; c; c = c->parent_)
        if (auto* f = dynamic_cast<const Form*>(c)) return const_cast<Form*>(f);
    return nullptr;
}

void Control::SetVisible(bool visible) {
    if (Change(visible_, visible)) VisibleChanged();
}

void Control::VisibleChanged() {
    if (parent_) parent_->InvalidateChildRect(BoundsRect());
    HintChanged();
}

void Control::SetEnabled(bool enabled) {
    if (!Change(enabled_, enabled)) return;
    EnabledChanged();
    Invalidate();
}

void Control::SetCaption(std::string text) {
    if (!Change(caption_, std::move(text))) return;
    CaptionChanged();
    Invalidate();
}

void Control::SetColor(Color c) {
    if (Change(color_, c)) Invalidate();
}

void Control::SetFont(const tk::Font& font) {
    if (!Change(font_, font)) return;
    FontChanged();
    Invalidate();
}

void Control::SetHint(std::string hint) {
    if (Change(hint_, std::move(hint))) HintChanged();
}

bool Control::ShowHint() const {
    if (parentShowHint_ && parent_) return parent_->ShowHint();
    return showHint_;
}

void Control::SetShowHint(bool show) {
    showHint_ = show;
    parentShowHint_ = false;
    HintChanged();
}

void Control::SetParentShowHint(bool v) {
    if (Change(parentShowHint_, v)) HintChanged();
}

void Control::HintChanged() {
    if (Form* f = GetParentForm(); f && f != static_cast<Control*>(this)) f->UpdateTooltip(*this);
}

tk::PopupMenu* Control::GetPopupMenu() const {
    if (!popupMenu_ && !popupMenuName_.empty()) {
        // A layout names the menu; it is found among the components of the owners.
        for (Component* o = Owner(); o && !popupMenu_; o = o->Owner())
            popupMenu_ = dynamic_cast<tk::PopupMenu*>(o->FindComponent(popupMenuName_));
    }
    return popupMenu_;
}

void Control::Click() {
    if (OnClick) OnClick(this);
}

void Control::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void Control::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void Control::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void Control::MouseMove(ShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

bool Control::CanFocus() const {
    const Form* form = GetParentForm();
    if (!form) return false;
    for (const Control* c = this; c; c = c->parent_) {
        if (!c->visible_ || !c->enabled_) return false;
        if (c == form) break;
    }
    return true;
}

void Control::Invalidate() {
    if (parent_) parent_->InvalidateChildRect(BoundsRect());
}

POINT Control::ClientOrigin() const {
    if (!parent_) return {left_, top_};
    POINT p = parent_->ClientOrigin();
    return {p.x + left_, p.y + top_};
}

POINT Control::ClientToScreen(POINT p) const {
    POINT o = ClientOrigin();
    return {p.x + o.x, p.y + o.y};
}

POINT Control::ScreenToClient(POINT p) const {
    POINT o = ClientOrigin();
    return {p.x - o.x, p.y - o.y};
}

ShiftState KeyboardShiftState() {
    ShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

ShiftState MouseShiftState(WPARAM wp) {
    ShiftState s = 0;
    if (wp & MK_SHIFT) s |= ssShift;
    if (wp & MK_CONTROL) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

}  // namespace tk
