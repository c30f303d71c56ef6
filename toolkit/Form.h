// Form: a top-level window, borderless (skinned windows) or a framed dialog.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "toolkit/Control.h"

namespace tk {

enum class BorderStyle { None, Dialog };  // bsNone, bsDialog
enum class Position { Designed, ScreenCenter };  // poDesigned, poScreenCenter

// Handlers a layout names by text ("OnClick = ImageButton1Click"). A form registers its handler
// methods here before it loads its layout; event properties look them up by name.
struct EventMethods {
    std::map<std::string, NotifyEvent> notify;
    std::map<std::string, MouseEvent> mouse;
    std::map<std::string, MouseMoveEvent> mouseMove;
    std::map<std::string, KeyEvent> key;
    std::map<std::string, KeyPressEvent> keyPress;
    std::map<std::string, std::function<void(Component* sender, bool& canClose)>> closeQuery;
};

class Form : public WinControl {
public:
    explicit Form(Component* owner = nullptr);
    ~Form() override;

    // "TForm": Caption, ClientWidth, ClientHeight, BorderStyle, Position, Color, AlphaBlend,
    // AlphaBlendValue, ActiveControl, OnCreate, OnDestroy, OnShow, OnCloseQuery, ...
    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    // Border: set before the window is created.
    BorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(BorderStyle b) { borderStyle_ = b; }
    tk::Position GetPosition() const { return position_; }
    void SetPosition(tk::Position p) { position_ = p; }
    // Extended styles added when the window is made (e.g. WS_EX_ACCEPTFILES).
    DWORD ExtraExStyle() const { return extraExStyle_; }
    void SetExtraExStyle(DWORD ex) { extraExStyle_ = ex; }

    // Client size exactly as given; the window's size follows from the border.
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int w);
    void SetClientHeight(int h);
    void SetClientSize(int w, int h);
    RECT ClientRect() const override;

    // Translucent window (WS_EX_LAYERED), opacity 0..255.
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool v);
    int AlphaBlendValue() const { return alphaValue_; }
    void SetAlphaBlendValue(int v);

    // Shows the window (created if needed; centred on the desktop the first time with
    // ScreenCenter) and activates it.
    void SetVisible(bool visible) override;

    // Modal display: disables the thread's other top-level windows, runs a loop until
    // ModalResult is nonzero (and the close query agrees), hides the form, re-enables the others,
    // re-activates the window that was active before, and returns ModalResult.
    int ShowModal();
    bool Modal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int r);

    // Asks OnCloseQuery; a modal form then ends with mrCancel; the main form ends the
    // application; any other form hides.
    void Close();
    // Runs OnCloseQuery; true when the form may close.
    bool CloseQuery();

    // The control with the keyboard focus inside the form (remembered while the form is
    // inactive). Setting it focuses it when the form is shown.
    WinControl* ActiveControl() const { return active_; }
    void SetActiveControl(WinControl* c);
    // Called by a control of this form that took the focus; tells every control.
    void FocusChanged(WinControl* active);

    // Enter/Escape: offered to the controls in turn until one accepts.
    bool OfferDialogKey(WORD key);
    // Moves the focus to the next (or previous) tab stop after `from` (nullptr: the first).
    void SelectNext(WinControl* from, bool forward);
    // The first control in tab order that can take the focus; nullptr when none.
    WinControl* FirstTabStop();

    NotifyEvent OnCreate;   // run by Created(), once the layout is loaded
    NotifyEvent OnDestroy;  // run by Destroying(), at the latest in the destructor
    NotifyEvent OnShow;     // each time the form is shown
    std::function<void(Component* sender, bool& canClose)> OnCloseQuery;

    // Runs OnCreate (once). A form calls it after loading its layout.
    void Created();
    // After a layout: resolves the ActiveControl it named.
    void Loaded() override;
    // Runs OnDestroy (once). A derived form whose handler touches its own members calls this
    // from its own destructor, before those members are gone.
    void Destroying();

    // Handler methods by name, for the event properties of a layout.
    EventMethods& Methods() { return methods_; }
    // The form whose handler methods a component's events bind to: its root owner's form.
    static Form* MethodsOf(Component& c);

    // Updates the tooltip of a control that sits on this form.
    void UpdateTooltip(Control& c);
    void RemoveTooltip(Control& c);
    HWND TooltipWindow() const { return tooltip_; }

protected:
    void CreateParams(CreateParamsData& params) override;
    void HandleCreated() override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    friend class Control;
    friend class WinControl;
    void ControlGone(Control* c);
    void CenterOnScreen();
    void ApplyAlpha();
    void EnsureTooltip();
    void CollectTabStops(WinControl* parent, std::vector<WinControl*>& out);

    BorderStyle borderStyle_ = BorderStyle::None;
    tk::Position position_ = tk::Position::Designed;
    DWORD extraExStyle_ = 0;
    bool alphaBlend_ = false;
    int alphaValue_ = 255;
    bool placed_ = false;  // centred already
    bool modal_ = false;
    int modalResult_ = 0;
    WinControl* active_ = nullptr;
    bool created_ = false;
    bool destroyed_ = false;
    HWND tooltip_ = nullptr;
    EventMethods methods_;
    friend struct ControlProps;
    std::string activeControlName_;
};

}  // namespace tk
