// Panel: a plain container window (no bevel) on its Color.
#pragma once

#include "toolkit/Control.h"

namespace tk {

class Panel : public WinControl {
public:
    explicit Panel(Component* owner = nullptr);
    // "TPanel": BevelOuter (bvNone only is drawn), Caption (not drawn).
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

protected:
    void CreateParams(CreateParamsData& params) override;
};

}  // namespace tk
