// Panel: a plain container window (no bevel) on its Color.
#pragma once

#include "toolkit/Control.h"

namespace tk {

class Panel : public WinControl {
public:
    explicit Panel(Component* owner = nullptr);
    // "TPanel": BevelOuter (bvNone by default), Caption (drawn centred when set).
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    enum class Bevel { None, Raised, Lowered };  // bvNone, bvRaised, bvLowered
    Bevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(Bevel b) { bevelOuter_ = b; Invalidate(); }

protected:
    void PaintWindow(HDC dc, const RECT& update) override;

private:
    Bevel bevelOuter_ = Bevel::None;
};

}  // namespace tk
