// Keys and modal forms: Enter and Escape offered to the controls, Tab order, ShowModal, Close.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/windows/toolkit/ToolkitTestUtil.h"
#include "toolkit/StdControls.h"

namespace {

// A windowed control that logs the dialog keys offered to it and takes those it is told to.
class KeyProbe : public tk::CustomControl {
public:
    KeyProbe(tk::Component* owner, std::vector<std::string>& log, std::string name)
        : CustomControl(owner), log_(log), name_(std::move(name)) {
        SetTabStop(true);
    }
    WORD accept = 0;
    bool DialogKey(WORD key) override {
        log_.push_back(name_ + (key == VK_RETURN ? " enter" : " escape"));
        return key == accept;
    }

private:
    std::vector<std::string>& log_;
    std::string name_;
};

// Ends a modal loop that a broken test would leave running.
tk::Form* g_guarded = nullptr;
void CALLBACK GuardTimeout(HWND, UINT, UINT_PTR, DWORD) {
    if (g_guarded) g_guarded->SetModalResult(99);
}
struct ModalGuard {
    UINT_PTR id;
    explicit ModalGuard(tk::Form& f) : id((g_guarded = &f, SetTimer(nullptr, 0, 5000, GuardTimeout))) {}
    ~ModalGuard() {
        KillTimer(nullptr, id);
        g_guarded = nullptr;
    }
};

void Key(HWND h, WORD key) {
    SendMessageA(h, WM_KEYDOWN, key, 1);
    SendMessageA(h, WM_KEYUP, key, 0xC0000001);
}

TEST(DialogKeys, OfferedDepthFirstUntilAccepted) {
    std::vector<std::string> log;
    tk::Form form;
    KeyProbe a(&form, log, "a");
    tk::Panel panel(&form);
    KeyProbe b(&form, log, "b");
    KeyProbe c(&form, log, "c");
    a.SetParent(&form);
    panel.SetParent(&form);
    b.SetParent(&panel);
    c.SetParent(&form);
    a.SetBounds(0, 0, 10, 10);
    panel.SetBounds(0, 20, 50, 50);
    b.SetBounds(0, 0, 10, 10);
    c.SetBounds(20, 0, 10, 10);
    b.accept = VK_ESCAPE;
    tkt::ShowForm(form, 100, 100);

    Key(c.Handle(), VK_RETURN);  // nobody takes it
    EXPECT_EQ(log, (std::vector<std::string>{"a enter", "b enter", "c enter"}));
    log.clear();
    Key(a.Handle(), VK_ESCAPE);  // the panel's child takes it; c is not asked
    EXPECT_EQ(log, (std::vector<std::string>{"a escape", "b escape"}));
    log.clear();
    Key(form.Handle(), VK_ESCAPE);  // also when the form itself has the key
    EXPECT_EQ(log, (std::vector<std::string>{"a escape", "b escape"}));
    log.clear();
    Key(a.Handle(), 'A');  // other keys are not offered
    EXPECT_TRUE(log.empty());
}

class ButtonsForm : public ::testing::Test {
protected:
    void SetUp() override {
        for (tk::WinControl* c : std::initializer_list<tk::WinControl*>{&edit, &ok, &cancel, &other}) c->SetParent(&form);
        edit.SetBounds(0, 0, 80, 21);
        ok.SetBounds(0, 30, 75, 25);
        cancel.SetBounds(80, 30, 75, 25);
        other.SetBounds(160, 30, 75, 25);
        edit.SetTabOrder(0);
        ok.SetTabOrder(1);
        cancel.SetTabOrder(2);
        other.SetTabOrder(3);
        ok.SetCaption("OK");
        ok.SetDefault(true);
        cancel.SetCancel(true);
        ok.OnClick = [this](tk::Component*) { clicks.push_back("ok"); };
        cancel.OnClick = [this](tk::Component*) { clicks.push_back("cancel"); };
        other.OnClick = [this](tk::Component*) { clicks.push_back("other"); };
        tkt::ShowForm(form, 240, 60);
    }
    bool LooksDefault(tk::Button& b) {
        return (GetWindowLongPtrA(b.Handle(), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
    }
    tk::Form form;
    tk::Edit edit{&form};
    tk::Button ok{&form}, cancel{&form}, other{&form};
    std::vector<std::string> clicks;
};

TEST_F(ButtonsForm, EnterGoesToTheFocusedButtonElseTheDefault) {
    EXPECT_TRUE(edit.Focused());  // first in tab order when shown
    EXPECT_TRUE(LooksDefault(ok));
    Key(edit.Handle(), VK_RETURN);
    Key(edit.Handle(), VK_ESCAPE);
    other.SetFocus();
    vt::PumpFor(10);
    EXPECT_TRUE(other.Focused());
    EXPECT_TRUE(LooksDefault(other));
    EXPECT_FALSE(LooksDefault(ok));
    Key(other.Handle(), VK_RETURN);  // the focused button, not the default one
    EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "cancel", "other"}));
}

TEST_F(ButtonsForm, ButtonsThatCannotTakeTheFocusRefuse) {
    ok.SetEnabled(false);
    cancel.Hide();
    Key(edit.Handle(), VK_RETURN);
    Key(edit.Handle(), VK_ESCAPE);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(ButtonsForm, TabFollowsTheTabOrder) {
    other.SetTabOrder(0);  // now first
    edit.SetTabOrder(3);
    tk::WinControl* expected[] = {&ok, &cancel, &edit, &other};
    other.SetFocus();
    for (tk::WinControl* next : expected) {
        Key(GetFocus(), VK_TAB);
        EXPECT_TRUE(next->Focused());
    }
    cancel.SetEnabled(false);  // skipped
    SendMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);  // other -> ok
    EXPECT_TRUE(ok.Focused());
    SendMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);  // ok -> edit
    EXPECT_TRUE(edit.Focused());
}

TEST(Modal, ShowModalReturnsTheResultAndRestoresTheOthers) {
    tk::Form owner;
    tkt::ShowForm(owner, 100, 100);
    tk::Form dialog;
    dialog.SetBorderStyle(tk::BorderStyle::Dialog);
    dialog.SetPosition(tk::Position::ScreenCenter);
    dialog.SetClientSize(200, 80);
    tk::Button yes(&dialog);
    yes.SetParent(&dialog);
    yes.SetModalResult(tk::mrYes);
    bool ownerEnabledDuring = true;
    yes.OnClick = [&](tk::Component*) { ownerEnabledDuring = IsWindowEnabled(owner.Handle()) != FALSE; };
    PostMessageA(yes.Handle(), BM_CLICK, 0, 0);
    ModalGuard guard(dialog);
    EXPECT_EQ(dialog.ShowModal(), tk::mrYes);
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
    // The client area is exactly as asked, and the dialog sat in the middle of the screen.
    RECT client;
    GetClientRect(dialog.Handle(), &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 80);
    RECT w;
    GetWindowRect(dialog.Handle(), &w);
    EXPECT_NEAR((w.left + w.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
}

TEST(Modal, CloseGivesCancelOnlyWhenTheCloseQueryAgrees) {
    tk::Form dialog;
    dialog.SetClientSize(100, 50);
    int asked = 0;
    dialog.OnCloseQuery = [&](tk::Component*, bool& canClose) { canClose = ++asked > 1; };
    // The first close is refused; the second goes through.
    PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
    PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
    ModalGuard guard(dialog);
    EXPECT_EQ(dialog.ShowModal(), tk::mrCancel);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(dialog.Modal());
}

TEST(Modal, ClosingTheMainFormEndsRun) {
    tk::Form main;
    main.SetClientSize(50, 50);
    bool shown = false;
    main.OnShow = [&](tk::Component*) { shown = true; };
    PostMessageA(main.Handle(), WM_CLOSE, 0, 0);
    tk::App().Run(main);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(tk::App().Terminated());
    EXPECT_FALSE(main.Visible());
    tk::App().SetMainForm(nullptr);
}

}  // namespace
