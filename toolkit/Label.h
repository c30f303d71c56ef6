// Label: a line (or word-wrapped lines) of text, transparent or on its own colour.
#pragma once

#include "toolkit/Control.h"

namespace tk {

enum class Alignment { LeftJustify, RightJustify };  // taLeftJustify, ...

class Label : public GraphicControl {
public:
    explicit Label(Component* owner = nullptr);
    // "TLabel": Caption, Transparent, AutoSize, Alignment, WordWrap, Color, Font.*.
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    // Sized to the text (default), or a fixed size.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    // Without it the label is filled with its Color first.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    tk::Alignment GetAlignment() const { return alignment_; }
    void SetAlignment(tk::Alignment a);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);

    void Paint(Canvas& canvas) override;

protected:
    void CaptionChanged() override;
    void FontChanged() override;

private:
    void AdjustSize();
    UINT DrawFlags() const;

    bool autoSize_ = true;
    bool transparent_ = false;
    tk::Alignment alignment_ = tk::Alignment::LeftJustify;
    bool wordWrap_ = false;
};

}  // namespace tk
