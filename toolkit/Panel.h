// Panel: a plain container window (no bevel) on its Color.
#pragma once

#include "toolkit/Control.h"

namespace tk {

class Panel : public WinControl {
public:
    explicit Panel(Component* owner = nullptr);
    // "TPanel": BevelOuter (only bvNone: no bevel), Caption (drawn centred when set).
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

protected:
    void PaintWindow(HDC dc, const RECT& update) override;
};

}  // namespace tk
