// Control: bounds, parent, state and events shared by windowed and windowless controls; colours,
// fonts, cursors and shift states.
#include "toolkit/Control.h"

#include <windowsx.h>

#include <map>
#include <tuple>

#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/PopupMenu.h"

namespace tk {

// --- Colours ---------------------------------------------------------------------------------

COLORREF ColorToRGB(Color c) {
    if ((c & 0xFF000000) == clSystemColor) return GetSysColor(static_cast<int>(c & 0xFF));
    return c & 0xFFFFFF;
}

namespace {
const std::vector<std::pair<const char*, Color>>& ColorNames() {
    static const std::vector<std::pair<const char*, Color>> names = {
        {"clBlack", 0x000000},   {"clMaroon", 0x000080}, {"clGreen", 0x008000},
        {"clOlive", 0x008080},   {"clNavy", 0x800000},   {"clPurple", 0x800080},
        {"clTeal", 0x808000},    {"clGray", 0x808080},   {"clSilver", 0xC0C0C0},
        {"clRed", 0x0000FF},     {"clLime", 0x00FF00},   {"clYellow", 0x00FFFF},
        {"clBlue", 0xFF0000},    {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
        {"clWhite", 0xFFFFFF},   {"clNone", clNone},
        {"clScrollBar", clSystemColor | COLOR_SCROLLBAR},
        {"clBackground", clSystemColor | COLOR_BACKGROUND},
        {"clActiveCaption", clSystemColor | COLOR_ACTIVECAPTION},
        {"clWindow", clSystemColor | COLOR_WINDOW},
        {"clWindowFrame", clSystemColor | COLOR_WINDOWFRAME},
        {"clWindowText", clSystemColor | COLOR_WINDOWTEXT},
        {"clBtnFace", clSystemColor | COLOR_BTNFACE},
        {"clBtnShadow", clSystemColor | COLOR_BTNSHADOW},
        {"clGrayText", clSystemColor | COLOR_GRAYTEXT},
        {"clBtnText", clSystemColor | COLOR_BTNTEXT},
        {"clBtnHighlight", clSystemColor | COLOR_BTNHIGHLIGHT},
        {"clHighlight", clSystemColor | COLOR_HIGHLIGHT},
        {"clHighlightText", clSystemColor | COLOR_HIGHLIGHTTEXT},
        {"clInfoBk", clSystemColor | COLOR_INFOBK},
        {"clInfoText", clSystemColor | COLOR_INFOTEXT},
        {"clHotLight", clSystemColor | COLOR_HOTLIGHT},
    };
    return names;
}
}  // namespace

std::string ColorName(Color c) {
    for (const auto& [name, value] : ColorNames())
        if (value == c) return name;
    return {};
}

bool ColorFromName(const std::string& name, Color& out) {
    for (const auto& [n, value] : ColorNames()) {
        if (name == n) {
            out = value;
            return true;
        }
    }
    return false;
}

// --- Cursors, fonts, shift states ------------------------------------------------------------

HCURSOR CursorHandle(Cursor c) {
    LPCSTR id = nullptr;
    switch (c) {
        case crArrow: id = IDC_ARROW; break;
        case crIBeam: id = IDC_IBEAM; break;
        case crHandPoint: id = IDC_HAND; break;
        case -3: id = IDC_CROSS; break;
        case -11: id = IDC_WAIT; break;
        default: return nullptr;
    }
    return LoadCursorA(nullptr, id);
}

HFONT FontHandle(const Font& font) {
    // One handle per distinct font for the whole run; the handles are never freed before exit.
    using Key = std::tuple<std::string, int, bool, bool, bool>;
    static std::map<Key, OwnedFont> cache;
    Key key{font.name, font.size, font.bold, font.italic, font.underline};
    auto it = cache.find(key);
    if (it != cache.end()) return it->second.get();
    int dpi = 96;
    {
        WindowDc screen(nullptr);
        if (screen.get()) dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(font.size, dpi, 72);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);
    HFONT h = CreateFontIndirectA(&lf);
    if (!h) h = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    else cache.emplace(key, OwnedFont(h));
    return h;
}

HFONT DefaultFont() {
    static HFONT font = FontHandle(Font{});
    return font;
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
    if (wp & MK_LBUTTON) s |= ssLeft;
    if (wp & MK_RBUTTON) s |= ssRight;
    if (wp & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

// --- Control ---------------------------------------------------------------------------------

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
    if (visible == visible_) return;
    visible_ = visible;
    VisibleChanged();
}

void Control::VisibleChanged() {
    if (parent_) parent_->InvalidateChildRect(BoundsRect());
    HintChanged();
}

void Control::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    EnabledChanged();
    Invalidate();
}

void Control::SetCaption(std::string text) {
    if (text == caption_) return;
    caption_ = std::move(text);
    CaptionChanged();
    Invalidate();
}

void Control::SetColor(Color c) {
    if (c == color_) return;
    color_ = c;
    Invalidate();
}

void Control::SetFont(const tk::Font& font) {
    if (font == font_) return;
    font_ = font;
    FontChanged();
    Invalidate();
}

void Control::SetHint(std::string hint) {
    if (hint == hint_) return;
    hint_ = std::move(hint);
    HintChanged();
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
    if (v == parentShowHint_) return;
    parentShowHint_ = v;
    HintChanged();
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

void Control::SetPopupMenu(tk::PopupMenu* menu) {
    popupMenu_ = menu;
    popupMenuName_ = menu ? menu->Name() : std::string();
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

}  // namespace tk
