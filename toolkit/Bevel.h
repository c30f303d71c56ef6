// Bevel: a sunken line along the top edge (the one shape the windows use).
#pragma once

#include "toolkit/Control.h"

namespace tk {

enum class BevelShape { TopLine };  // bsTopLine
enum class BevelStyle { Lowered, Raised };  // bsLowered, bsRaised

class Bevel : public GraphicControl {
public:
    explicit Bevel(Component* owner = nullptr);
    // "TBevel": Shape, Style.
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    BevelShape Shape() const { return shape_; }
    void SetShape(BevelShape s) { shape_ = s; Invalidate(); }
    BevelStyle Style() const { return style_; }
    void SetStyle(BevelStyle s) { style_ = s; Invalidate(); }

    void Paint(Canvas& canvas) override;

private:
    BevelShape shape_ = BevelShape::TopLine;
    BevelStyle style_ = BevelStyle::Lowered;
};

}  // namespace tk
