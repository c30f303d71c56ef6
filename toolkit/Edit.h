// Edit: the system single-line edit field.
#pragma once

#include "toolkit/Control.h"
#include "toolkit/Handles.h"

namespace tk {

class Edit : public WinControl {
public:
    explicit Edit(Component* owner = nullptr);
    // "TEdit": Text, ReadOnly, Ctl3D (False = flat).
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    std::string Text() const { return Caption(); }
    void SetText(std::string t) { SetCaption(std::move(t)); }
    std::string Caption() const override;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    // Flat: a single thin border instead of the sunken 3-D one.
    bool Flat() const { return flat_; }
    void SetFlat(bool v) { flat_ = v; }

protected:
    void CreateParams(CreateParamsData& params) override;
    HBRUSH CtlColor(HDC dc) override;

private:
    OwnedBrush brush_;
    Color brushColor_ = 0;
    bool readOnly_ = false;
    bool flat_ = false;
};

}  // namespace tk
