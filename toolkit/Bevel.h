// Bevel: a sunken line along the top edge (the one shape the windows use).
#pragma once

#include "toolkit/Control.h"

namespace tk {

enum class BevelShape { TopLine };  // bsTopLine

class Bevel : public GraphicControl {
public:
    explicit Bevel(Component* owner = nullptr);
    // "TBevel": Shape.
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    BevelShape Shape() const { return shape_; }
    void SetShape(BevelShape s) { shape_ = s; Invalidate(); }

    void Paint(Canvas& canvas) override;

private:
    BevelShape shape_ = BevelShape::TopLine;
};

}  // namespace tk
