// Button and RadioButton: system buttons.
#pragma once

#include "toolkit/Control.h"

namespace tk {

// Push button. Enter clicks it when it has the focus, or when it is Default and can take the
// focus; Escape when it is Cancel. A click hands ModalResult to its form.
class Button : public WinControl {
public:
    explicit Button(Component* owner = nullptr);
    // "TButton": Caption, Default, Cancel, ModalResult, Font.Style, TabOrder...
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int r) { modalResult_ = r; }

    void Click() override;
    bool DialogKey(WORD key) override;
    void FocusChanged(WinControl* active) override;

protected:
    void CreateParams(CreateParamsData& params) override;
    LRESULT CommandNotify(WORD code) override;

private:
    void UpdateDefaultLook(bool on);
    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
    bool showsDefault_ = false;
};

// Radio button; selecting one clears the others with the same parent.
class RadioButton : public WinControl {
public:
    explicit RadioButton(Component* owner = nullptr);
    // "TRadioButton": Caption, Checked, TabOrder...
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    bool Checked() const;
    void SetChecked(bool v);

protected:
    void CreateParams(CreateParamsData& params) override;
    void HandleCreated() override;
    LRESULT CommandNotify(WORD code) override;

private:
    bool checked_ = false;
};

}  // namespace tk
