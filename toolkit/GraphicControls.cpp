// Image, Label and Bevel, the controls that are only drawn, and Panel.
#include "toolkit/StdControls.h"

#include <utility>

#include "toolkit/Handles.h"

namespace tk {

// --- Image -----------------------------------------------------------------------------------

Image::Image(Component* owner) : GraphicControl(owner) { SetBounds(0, 0, 105, 105); }

void Image::SetPicture(Bitmap b) {
    picture_ = std::move(b);
    pictureData_.clear();
    Invalidate();
}

void Image::SetTransparent(bool v) {
    if (Change(transparent_, v)) Invalidate();
}

void Image::Paint(Canvas& canvas) {
    if (picture_.Empty()) return;
    if (transparent_)
        canvas.DrawTransparent(0, 0, picture_, picture_.Pixel(0, picture_.Height() - 1));
    else
        canvas.Draw(0, 0, picture_);
}

// --- Label -----------------------------------------------------------------------------------

Label::Label(Component* owner) : GraphicControl(owner) {
    SetBounds(0, 0, 65, 13);
    AdjustSize();
}

UINT Label::DrawFlags() const {
    UINT flags = DT_NOPREFIX | DT_EXPANDTABS;
    if (wordWrap_) flags |= DT_WORDBREAK;
    return flags | (alignment_ == tk::Alignment::RightJustify ? DT_RIGHT : DT_LEFT);
}

void Label::AdjustSize() {
    if (!autoSize_) return;
    // An empty label keeps the height of a line.
    std::string text = Caption().empty() ? std::string(" ") : Caption();
    WindowDc screen(nullptr);
    SelectObjectScope font(screen.get(), FontHandle());
    RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
    DrawTextA(screen.get(), text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
    int left = Left();
    if (alignment_ == tk::Alignment::RightJustify) left += Width() - r.right;  // keeps the right edge
    SetBounds(left, Top(), wordWrap_ ? Width() : r.right, r.bottom);
}

void Label::SetAutoSize(bool v) {
    if (Change(autoSize_, v)) AdjustSize();
}

void Label::SetTransparent(bool v) {
    if (Change(transparent_, v)) Invalidate();
}

void Label::SetAlignment(tk::Alignment a) {
    if (Change(alignment_, a)) Invalidate();
}

void Label::SetWordWrap(bool v) {
    if (!Change(wordWrap_, v)) return;
    AdjustSize();
    Invalidate();
}

void Label::CaptionChanged() { AdjustSize(); }
void Label::FontChanged() { AdjustSize(); }

void Label::Paint(Canvas& canvas) {
    HDC dc = canvas.Handle();
    RECT r{0, 0, Width(), Height()};
    if (!transparent_) canvas.FillRect(r, ColorToRGB(GetColor()));
    const std::string& text = Caption();
    if (text.empty()) return;
    SelectObjectScope font(dc, FontHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Enabled() ? ColorToRGB(GetFont().color) : GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DrawFlags());
}

// --- Bevel -----------------------------------------------------------------------------------

Bevel::Bevel(Component* owner) : GraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void Bevel::Paint(Canvas& canvas) {
    // Sunken: dark above, light below.
    canvas.FillRect({0, 0, Width(), 1}, GetSysColor(COLOR_BTNSHADOW));
    canvas.FillRect({0, 1, Width(), 2}, GetSysColor(COLOR_BTNHIGHLIGHT));
}

// --- Panel -----------------------------------------------------------------------------------

Panel::Panel(Component* owner) : WinControl(owner) { SetBounds(0, 0, 185, 41); }

}  // namespace tk
