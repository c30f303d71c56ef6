// TImageButton: the bitmap-skinned push button, its window cut to the shape of its picture.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "toolkit/Bitmap.h"
#include "toolkit/Control.h"

// Where the transparent colour comes from: the bottom-left pixel of NoneBitmap, or as set.
enum TTransparentMode { tmAuto = 0, tmFixed = 1 };

// Sent to every control of the parent when a grouped button changes (wParam: group index,
// lParam: the sending TImageButton).
inline constexpr UINT CM_BUTTONPRESSED = 0xB018;

class TImageButton : public tk::CustomControl {
public:
    // Visual states: the picture drawn over NoneBitmap.
    enum : uint8_t { bsNone = 0, bsOver = 1, bsDown = 2, bsUp = 3 };
    // RegionState while no valid region exists.
    static constexpr uint8_t kNoRegion = 10;

    explicit TImageButton(tk::Component* owner = nullptr);
    ~TImageButton() override;

    // "TImageButton" with its published properties; Register makes it known to layouts.
    static const tk::ClassInfo& StaticInfo();
    const tk::ClassInfo& Info() const override { return StaticInfo(); }
    static void Register();

    tk::NotifyEvent OnMouseEnter;
    tk::NotifyEvent OnMouseLeave;

    // Pictures: assigning copies the contents (the caller keeps its object; a temporary is taken
    // over, as a layout's picture is) and redraws.
    const tk::Bitmap& DownBitmap() const { return downBmp_; }
    const tk::Bitmap& UpBitmap() const { return upBmp_; }
    const tk::Bitmap& NoneBitmap() const { return noneBmp_; }
    const tk::Bitmap& OverBitmap() const { return overBmp_; }
    const tk::Bitmap& DisabledBitmap() const { return disabledBmp_; }
    const tk::Bitmap& FocusedBitmap() const { return focusedBmp_; }
    void SetDownBitmap(tk::Bitmap b);
    void SetUpBitmap(tk::Bitmap b);
    void SetNoneBitmap(tk::Bitmap b);
    void SetOverBitmap(tk::Bitmap b);
    void SetDisabledBitmap(tk::Bitmap b);
    void SetFocusedBitmap(tk::Bitmap b);

    // Buttons with the same nonzero index under one parent latch down like radio buttons.
    int32_t GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int32_t v);
    bool Down() const { return down_; }
    void SetDown(bool v);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v);

    // The author's web address; read-only, never stored.
    std::string Homepage() const;
    void SetHomepage(const std::string&) {}

    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode m);
    tk::Color TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(tk::Color c);

    void SetEnabled(bool enabled) override;

    int ModalResult() const { return modalResult_; }
    void SetModalResult(int r) { modalResult_ = r; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    bool Default() const { return default_; }
    void SetDefault(bool v);

    uint8_t State() const { return state_; }
    uint8_t RegionState() const { return regionState_; }
    bool MouseInside() const { return mouseInside_; }

    // Composes the picture of the current state, shapes the window and shows it, at once; a
    // window not on screen waits for its first paint.
    void Redraw();

    // Click by mouse, Space or dialog key: modal result, group latch, focus, then OnClick.
    void Click() override;

protected:
    void Paint() override;
    void HandleCreated() override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void MouseDown(tk::MouseButton button, tk::ShiftState shift, int x, int y) override;
    void MouseUp(tk::MouseButton button, tk::ShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyDown(WORD& key, tk::ShiftState shift) override;
    void KeyUp(WORD& key, tk::ShiftState shift) override;
    bool DialogKey(WORD key) override;

private:
    void KeyClick();
    void TakeAutoColor();
    void Compose();
    void UpdateRegion(const tk::Bitmap& picture);
    void NotifyGroup();
    LRESULT ButtonPressed(int32_t group, TImageButton* sender);
    void AssignPicture(tk::Bitmap& target, tk::Bitmap source);

    // Owned pictures, made in this order.
    tk::Bitmap downBmp_, noneBmp_, overBmp_, upBmp_, focusedBmp_, disabledBmp_;
    int32_t groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool enabled_ = true;
    bool hasFocus_ = false;
    bool default_ = false;
    bool cancel_ = false;
    bool mouseInside_ = false;
    tk::Color transparentColor_ = 0;
    TTransparentMode transparentMode_ = tmAuto;
    int modalResult_ = 0;
    uint8_t state_ = bsNone;
    uint8_t regionState_ = kNoRegion;

    tk::Bitmap work_;  // the last composed picture
};
