// TImageButton: the bitmap-skinned push button, its window cut to the shape of its picture.
#include "controls/ImageButton3.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/ImageButton3Region.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/Layout.h"

namespace {

// The web address of the button's author.
constexpr const char* kHomepage = "http://www.vexlar.com/";

}  // namespace

TImageButton::TImageButton(tk::Component* owner) : tk::CustomControl(owner) {
    SetBounds(Left(), Top(), 35, 35);
    SetTabStop(true);
    defaultTabStop_ = true;
}

TImageButton::~TImageButton() {
    // The window goes first, while the pictures it draws are still here.
    DestroyHandle();
}

std::string TImageButton::Homepage() const { return kHomepage; }

// --- Pictures and colours --------------------------------------------------------------------

void TImageButton::AssignPicture(tk::Bitmap& target, tk::Bitmap source) {
    target = std::move(source);
    // The shape follows the new picture at once, not only at the next change of state.
    regionState_ = kNoRegion;
    Redraw();
}

// Under tmAuto a new base picture brings its own transparent colour: Redraw takes it first.
void TImageButton::SetNoneBitmap(tk::Bitmap b) { AssignPicture(noneBmp_, std::move(b)); }
void TImageButton::SetDownBitmap(tk::Bitmap b) { AssignPicture(downBmp_, std::move(b)); }
void TImageButton::SetUpBitmap(tk::Bitmap b) { AssignPicture(upBmp_, std::move(b)); }
void TImageButton::SetOverBitmap(tk::Bitmap b) { AssignPicture(overBmp_, std::move(b)); }
void TImageButton::SetDisabledBitmap(tk::Bitmap b) { AssignPicture(disabledBmp_, std::move(b)); }
void TImageButton::SetFocusedBitmap(tk::Bitmap b) { AssignPicture(focusedBmp_, std::move(b)); }

void TImageButton::TakeAutoColor() {
    // An empty base picture has no bottom-left pixel: the colour stays what it was.
    if (!noneBmp_.Empty()) transparentColor_ = noneBmp_.Pixel(0, noneBmp_.Height() - 1);
}

void TImageButton::SetTransparentMode(TTransparentMode m) {
    transparentMode_ = m;
    if (m == tmAuto) TakeAutoColor();
    regionState_ = kNoRegion;
    Redraw();
}

void TImageButton::SetTransparentColor(tk::Color c) {
    transparentColor_ = c;
    transparentMode_ = tmFixed;
    regionState_ = kNoRegion;
    Redraw();
}

void TImageButton::SetEnabled(bool enabled) {
    tk::CustomControl::SetEnabled(enabled);
    enabled_ = enabled;
    regionState_ = kNoRegion;
    Redraw();
}

void TImageButton::SetDefault(bool v) {
    default_ = v;
    if (!HandleAllocated()) return;
    if (tk::Form* form = GetParentForm()) form->FocusChanged(form->ActiveControl());
}

// --- Drawing ---------------------------------------------------------------------------------

void TImageButton::Redraw() {
    if (transparentMode_ == tmAuto) TakeAutoColor();
    // A window that is not on screen has nothing to update: its first paint shows it, and the
    // shape follows the pictures the layout gave it, not each one on its way in.
    if (!HandleAllocated() || !IsWindowVisible(WindowHandle())) return;
    Compose();
    UpdateRegion(work_);
    if (!work_.Empty()) Canvas().DrawTransparent(0, 0, work_, tk::ColorToRGB(transparentColor_));
}

void TImageButton::Compose() {
    const COLORREF key = tk::ColorToRGB(transparentColor_);
    // Composed off screen, shown in one transparent copy: no intermediate picture is seen.
    if (work_.Width() != Width() || work_.Height() != Height()) work_.SetSize(Width(), Height());
    if (work_.Empty()) return;
    work_.Fill(key);
    tk::Canvas canvas(work_);
    canvas.DrawOpaque(0, 0, noneBmp_);
    switch (state_) {
        case bsOver: canvas.DrawOpaque(0, 0, overBmp_); break;
        case bsDown: canvas.DrawOpaque(0, 0, downBmp_); break;
        case bsUp: canvas.DrawOpaque(0, 0, upBmp_); break;
        default: break;
    }
    if (!enabled_) {
        disabledBmp_.Transparent = true;
        disabledBmp_.TransparentColor = key;
        canvas.Draw(0, 0, disabledBmp_);
    }
    if (hasFocus_) {
        focusedBmp_.Transparent = true;
        focusedBmp_.TransparentColor = key;
        canvas.Draw(0, 0, focusedBmp_);
    }
    GdiFlush();
}

void TImageButton::HandleCreated() {
    tk::CustomControl::HandleCreated();
    // A new window has no shape yet. It is shaped before it is first seen, so that its first
    // paint is its only one.
    regionState_ = kNoRegion;
    if (transparentMode_ == tmAuto) TakeAutoColor();
    Compose();
    UpdateRegion(work_);
}

void TImageButton::UpdateRegion(const tk::Bitmap& picture) {
    if (state_ == regionState_) return;
    regionState_ = state_;
    tk::OwnedRegion region(imagebutton::BuildRegion(imagebutton::ViewOf(picture), tk::ColorToRGB(transparentColor_)));
    // No region (every pixel transparent) removes any shape: the whole rectangle shows.
    if (SetWindowRgn(WindowHandle(), region.get(), TRUE)) region.release();
}

void TImageButton::Paint() { Redraw(); }

// --- Pointer and mouse buttons ---------------------------------------------------------------

void TImageButton::MouseEnter() {
    mouseInside_ = true;
    state_ = down_ ? bsDown : bsOver;
    Redraw();
    if (OnMouseEnter) OnMouseEnter(this);
}

void TImageButton::MouseLeave() {
    mouseInside_ = false;
    state_ = down_ ? bsDown : bsNone;
    Redraw();
    if (OnMouseLeave) OnMouseLeave(this);
}

void TImageButton::MouseDown(tk::MouseButton button, tk::ShiftState shift, int x, int y) {
    tk::CustomControl::MouseDown(button, shift, x, y);
    state_ = bsDown;
    Redraw();
}

void TImageButton::MouseUp(tk::MouseButton button, tk::ShiftState shift, int x, int y) {
    tk::CustomControl::MouseUp(button, shift, x, y);
    if (!down_) state_ = mouseInside_ ? bsOver : bsNone;
    Redraw();
}

void TImageButton::Click() {
    if (modalResult_ != 0 && Parent()) {
        if (tk::Form* form = GetParentForm()) form->SetModalResult(modalResult_);
    }
    if (groupIndex_ != 0) {
        SetDown(allowAllUp_ ? !down_ : true);
    } else {
        state_ = bsNone;
    }
    if (CanFocus()) SetFocus();
    Redraw();
    tk::CustomControl::Click();
}

// --- Keys ------------------------------------------------------------------------------------

void TImageButton::KeyDown(WORD& key, tk::ShiftState shift) {
    tk::CustomControl::KeyDown(key, shift);  // OnKeyDown may take the key (sets it to 0)
    if (key == VK_SPACE) {
        state_ = bsDown;
        Redraw();
    }
}

void TImageButton::KeyUp(WORD& key, tk::ShiftState shift) {
    tk::CustomControl::KeyUp(key, shift);
    if (key == VK_SPACE) KeyClick();
}

bool TImageButton::DialogKey(WORD key) {
    if ((key == VK_RETURN && (hasFocus_ || (CanFocus() && default_))) ||
        (key == VK_ESCAPE && CanFocus() && cancel_)) {
        KeyClick();
        return true;
    }
    return tk::CustomControl::DialogKey(key);
}

// What the click opened (a menu at the pointer, a box) may have had the mouse meanwhile.
void TImageButton::KeyClick() {
    Click();
    SyncMouseInside();
}

// --- Grouping --------------------------------------------------------------------------------

void TImageButton::SetDown(bool v) {
    if (groupIndex_ == 0) v = false;
    if (v != down_) {
        if (down_ && !allowAllUp_) return;  // only another member going down releases it
        down_ = v;
        NotifyGroup();
    }
    state_ = down_ ? bsDown : bsNone;
    Redraw();
}

void TImageButton::SetGroupIndex(int32_t v) {
    if (v == groupIndex_) return;
    NotifyGroup();
    groupIndex_ = v;
    if (v == 0) {
        if (down_) state_ = mouseInside_ ? bsOver : bsNone;  // the latched look goes with Down
        down_ = false;
        regionState_ = kNoRegion;
        Redraw();
    }
    NotifyGroup();
}

void TImageButton::SetAllowAllUp(bool v) {
    if (v == allowAllUp_) return;
    allowAllUp_ = v;
    NotifyGroup();
}

void TImageButton::NotifyGroup() {
    if (groupIndex_ == 0 || !Parent()) return;
    const WPARAM wp = static_cast<WPARAM>(static_cast<uint32_t>(groupIndex_));
    const LPARAM lp = reinterpret_cast<LPARAM>(this);
    // A copy: a receiver may do anything, the list must not move under the loop.
    const std::vector<tk::Control*> controls = Parent()->Controls();
    for (tk::Control* c : controls) {
        LRESULT result = 0;
        if (auto* button = dynamic_cast<TImageButton*>(c)) {
            result = button->ButtonPressed(groupIndex_, this);
        } else if (auto* w = dynamic_cast<tk::WinControl*>(c); w && w->HandleAllocated()) {
            result = SendMessageA(w->WindowHandle(), CM_BUTTONPRESSED, wp, lp);
        }
        if (result != 0) break;
    }
}

LRESULT TImageButton::ButtonPressed(int32_t group, TImageButton* sender) {
    if (group != groupIndex_ || sender == this) return 0;
    if (sender->down_ && down_) {
        down_ = false;
        state_ = bsNone;
        Redraw();
    }
    allowAllUp_ = sender->allowAllUp_;
    return 0;
}

// --- Messages --------------------------------------------------------------------------------

LRESULT TImageButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SETFOCUS:
            hasFocus_ = true;
            regionState_ = kNoRegion;
            Redraw();
            break;
        case WM_KILLFOCUS:
            hasFocus_ = false;
            regionState_ = kNoRegion;
            Redraw();
            break;
        case CM_BUTTONPRESSED:
            // Only a button under the same parent is taken as the sender.
            if (Parent()) {
                for (tk::Control* c : Parent()->Controls()) {
                    auto* button = dynamic_cast<TImageButton*>(c);
                    if (button && reinterpret_cast<LPARAM>(button) == lp)
                        return ButtonPressed(static_cast<int32_t>(static_cast<uint32_t>(wp)), button);
                }
            }
            return 0;
        default:
            break;
    }
    return tk::CustomControl::HandleMessage(msg, wp, lp);
}

// --- Published properties --------------------------------------------------------------------

const tk::ClassInfo& TImageButton::StaticInfo() {
    using Self = TImageButton;
    using tk::LayoutValue;
    static const tk::ClassInfo info = [] {
        tk::ClassInfo ci;
        ci.name = "TImageButton";
        ci.base = &tk::CustomControl::StaticInfo();
        ci.create = [](tk::Component* owner) { return std::make_unique<Self>(owner); };

        ci.properties.push_back(tk::EventProperty<Self, tk::NotifyEvent>("OnMouseEnter", &Self::OnMouseEnter,
                                                                        &tk::EventMethods::notify));
        ci.properties.push_back(tk::EventProperty<Self, tk::NotifyEvent>("OnMouseLeave", &Self::OnMouseLeave,
                                                                        &tk::EventMethods::notify));

        // Pictures as data blocks; an empty picture is not stored.
        auto picture = [&ci](const char* name, const tk::Bitmap& (Self::*get)() const,
                             void (Self::*set)(tk::Bitmap)) {
            ci.properties.push_back(tk::Property<Self>(
                name,
                [set](Self& c, const LayoutValue& v) {
                    tk::Bitmap b;
                    if (!tk::ReadPictureBlock(tk::BinaryValue(v), b))
                        throw tk::LayoutValueError("not a picture data block");
                    (c.*set)(std::move(b));
                },
                [get](const Self& c) { return LayoutValue::Bin(tk::WritePictureBlock((c.*get)())); },
                std::nullopt, [get](const Self& c) { return !(c.*get)().Empty(); }));
        };
        picture("DownBitmap.Data", &Self::DownBitmap, &Self::SetDownBitmap);
        picture("UpBitmap.Data", &Self::UpBitmap, &Self::SetUpBitmap);
        picture("NoneBitmap.Data", &Self::NoneBitmap, &Self::SetNoneBitmap);
        picture("OverBitmap.Data", &Self::OverBitmap, &Self::SetOverBitmap);
        picture("DisabledBitmap.Data", &Self::DisabledBitmap, &Self::SetDisabledBitmap);
        picture("FocusedBitmap.Data", &Self::FocusedBitmap, &Self::SetFocusedBitmap);

        const auto never = [](const Self&) { return false; };
        ci.properties.push_back(tk::IntProperty<Self>("GroupIndex", &Self::GroupIndex, &Self::SetGroupIndex, 0));
        ci.properties.push_back(tk::BoolProperty<Self>("Down", &Self::Down, &Self::SetDown, false));
        ci.properties.push_back(
            tk::StrProperty<Self>("Homepage", &Self::Homepage, &Self::SetHomepage, std::nullopt, never));
        ci.properties.push_back(tk::BoolProperty<Self>("AllowAllUp", &Self::AllowAllUp, &Self::SetAllowAllUp, false));
        ci.properties.push_back(tk::EnumProperty<Self, TTransparentMode>(
            "TransparentMode", {{"tmAuto", tmAuto}, {"tmFixed", tmFixed}}, &Self::TransparentMode,
            &Self::SetTransparentMode, tmAuto));
        ci.properties.push_back(tk::Property<Self>(
            "TransparentColor", [](Self& c, const LayoutValue& v) { c.SetTransparentColor(tk::ColorOf(v)); },
            [](const Self& c) { return tk::ColorValue(c.TransparentColor()); }, std::nullopt,
            [](const Self& c) { return c.TransparentMode() == tmFixed; }));
        ci.properties.push_back(tk::BoolProperty<Self>("Enabled", &Self::Enabled, &Self::SetEnabled, true));
        ci.properties.push_back(tk::IntProperty<Self>("ModalResult", &Self::ModalResult, &Self::SetModalResult, 0));
        ci.properties.push_back(tk::BoolProperty<Self>("Cancel", &Self::Cancel, &Self::SetCancel, false));
        ci.properties.push_back(tk::BoolProperty<Self>("Default", &Self::Default, &Self::SetDefault, false));
        return ci;
    }();
    return info;
}

void TImageButton::Register() {
    static const bool registered = (tk::RegisterClass(StaticInfo()), true);
    (void)registered;
}

namespace {
// Known to the layout reader from the start (the registry is built on first use).
[[maybe_unused]] const bool kClassRegistered = (TImageButton::Register(), true);
}  // namespace
