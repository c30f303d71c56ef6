// Form: a top-level window, borderless (skinned windows) or a framed dialog; and the events a
// layout binds by handler name ("OnClick = ImageButton1Click") to the methods its form registered.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "toolkit/Control.h"
#include "toolkit/Handles.h"
#include "toolkit/Layout.h"

namespace tk {

// Handlers a layout names by text. A form registers its handler methods here before it loads
// its layout; event properties look them up by name.
struct EventMethods {
    std::map<std::string, NotifyEvent> notify;
    std::map<std::string, MouseEvent> mouse;
    std::map<std::string, MouseMoveEvent> mouseMove;
    std::map<std::string, KeyEvent> key;
    std::map<std::string, KeyPressEvent> keyPress;
    std::map<std::string, std::function<void(Component* sender, bool& canClose)>> closeQuery;
};

// The handlers of the form a component's events bind to (its root owner); nullptr when no form
// owns it.
EventMethods* MethodsFor(Component& c);

// The published event `name` of class C: loading looks the handler up in `table` by the name
// the layout gives, and the writer stores that name again while the handler is set.
template <typename C, typename E>
PropertyInfo EventProperty(std::string name, E C::*member, std::map<std::string, E> EventMethods::*table) {
    return Property<C>(
        name,
        [name, member, table](C& c, const LayoutValue& v) {
            const std::string& method = IdentValue(v);
            EventMethods* methods = MethodsFor(c);
            if (!methods) throw LayoutValueError("no form to take the method " + method);
            auto& named = methods->*table;
            auto it = named.find(method);
            if (it == named.end()) throw LayoutValueError("unknown method " + method);
            c.*member = it->second;
            c.BindHandler(name, method);
        },
        [name](const C& c) { return LayoutValue::Id(*c.BoundHandler(name)); }, std::nullopt,
        [name, member](const C& c) { return c.*member && c.BoundHandler(name); });
}

enum class BorderStyle { None, Dialog };  // bsNone, bsDialog
enum class Position { Designed, ScreenCenter };  // poDesigned, poScreenCenter

class Form : public WinControl {
public:
    explicit Form(Component* owner = nullptr);
    ~Form() override;

    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

    // Border: set before the window is created.
    BorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(BorderStyle b) { borderStyle_ = b; }
    tk::Position GetPosition() const { return position_; }
    void SetPosition(tk::Position p) { position_ = p; }
    // Extended styles added when the window is made (e.g. WS_EX_ACCEPTFILES).
    void SetExtraExStyle(DWORD ex) { extraExStyle_ = ex; }

    // Client size exactly as given; the window's size follows from the border.
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }
    void SetClientWidth(int w) { SetClientSize(w, ClientHeight()); }
    void SetClientHeight(int h) { SetClientSize(ClientWidth(), h); }
    void SetClientSize(int w, int h);
    RECT ClientRect() const override;

    // Translucent window (WS_EX_LAYERED), opacity 0..255.
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool v);
    int AlphaBlendValue() const { return alphaValue_; }
    void SetAlphaBlendValue(int v);

    // Shows the window (created if needed; centred on the desktop the first time with
    // ScreenCenter) and activates it; while the program is minimized, once it is restored.
    void SetVisible(bool visible) override;

    // Modal display: disables the thread's other top-level windows (but the application window,
    // see ModalWindowUp), runs a loop until ModalResult is nonzero (and the close query
    // agrees), hides the form, re-enables the others, re-activates the window that was active
    // before, and returns ModalResult.
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

    // Moves the focus to the next (or previous) tab stop after `from` (nullptr: the first).
    void SelectNext(WinControl* from, bool forward);
    // The first control in tab order that can take the focus; nullptr when none.
    WinControl* FirstTabStop();

    NotifyEvent OnCreate;   // run by Created(), once the layout is loaded
    NotifyEvent OnDestroy;  // run by Destroying(), at the latest in the destructor
    NotifyEvent OnShow;     // each time the form is shown
    std::function<void(Component* sender, bool& canClose)> OnCloseQuery;

    // Runs OnCreate (once). FormLayout calls it once the controls are found.
    void Created();
    // After a layout: resolves the ActiveControl it named.
    void Loaded() override;
    // Runs OnDestroy (once). FormLayout calls it while the derived form is still whole; for
    // any other form the destructor does.
    void Destroying();

    // Handler methods by name, for the event properties of a layout.
    EventMethods& Methods() { return methods_; }

    // Updates the tooltip of a control that sits on this form.
    void UpdateTooltip(Control& c);
    void RemoveTooltip(Control& c);

protected:
    void CreateParams(CreateParamsData& params) override;
    void HandleCreated() override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    friend class Control;
    friend class WinControl;
    void ControlGone(Control* c);
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
    std::string activeControlName_;
};

// A window made from its layout resource, with every step in its place. Declared as the form's
// last member, and loaded in the constructor once the form has registered its handler methods:
// Load reads the layout, runs findControls (which takes the controls with Need), then OnCreate.
// As the first member to go, it runs OnDestroy while the form's members all still exist; a
// form whose loading failed never came to life, and its OnDestroy never runs.
class FormLayout : NoCopy {
public:
    explicit FormLayout(Form& form) : form_(form) {}
    ~FormLayout();

    // Throws when the resource is missing or broken.
    void Load(const char* resource, const std::function<void()>& findControls);

    // A control of the layout by name; a layout without it is broken, which throws.
    template <typename T>
    T* Need(const char* name) const {
        T* found = Find<T>(form_, name);
        if (!found) Missing(name);
        return found;
    }

private:
    [[noreturn]] void Missing(const char* name) const;

    Form& form_;
    std::string resource_;
    bool created_ = false;
};

}  // namespace tk
