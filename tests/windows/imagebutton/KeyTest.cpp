// Space on the focused button, Enter and Escape offered by the form, and the modal result.
#include "tests/windows/imagebutton/ImageButtonFixture.h"

#include <map>

#include "toolkit/StdControls.h"
#include "toolkit/Timer.h"

namespace ibt {
namespace {

TEST_F(ImageButtonTest, HoldingSpaceShowsDownAndReleasingItClicks) {
    TImageButton* b = Button(10, 10);
    int clicks = 0;
    std::vector<WORD> downs, ups;
    b->OnClick = [&](tk::Component*) { ++clicks; };
    b->OnKeyDown = [&](tk::Component*, WORD& k, tk::ShiftState) { downs.push_back(k); };
    b->OnKeyUp = [&](tk::Component*, WORD& k, tk::ShiftState) { ups.push_back(k); };
    b->SetFocus();

    Key(b->Handle(), WM_KEYDOWN, VK_SPACE);
    Key(b->Handle(), WM_KEYDOWN, VK_SPACE);  // auto-repeat
    EXPECT_EQ(b->State(), TImageButton::bsDown);
    EXPECT_EQ(Middle(*b), kDown);
    EXPECT_EQ(clicks, 0);
    Key(b->Handle(), WM_KEYUP, VK_SPACE);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->State(), TImageButton::bsNone);
    // The key events are raised too.
    EXPECT_EQ(downs, (std::vector<WORD>{VK_SPACE, VK_SPACE}));
    EXPECT_EQ(ups, (std::vector<WORD>{VK_SPACE}));

    // A handler that takes the key keeps it from the button.
    b->OnKeyDown = [](tk::Component*, WORD& k, tk::ShiftState) { k = 0; };
    b->OnKeyUp = [](tk::Component*, WORD& k, tk::ShiftState) { k = 0; };
    Key(b->Handle(), WM_KEYDOWN, VK_SPACE);
    Key(b->Handle(), WM_KEYUP, VK_SPACE);
    EXPECT_EQ(b->State(), TImageButton::bsNone);
    EXPECT_EQ(clicks, 1);
}

// A focusable control that is no button: the form offers it Enter and Escape like anyone.
tk::CustomControl* FocusHolder(tk::Form& form) {
    auto* c = static_cast<tk::CustomControl*>(form.Adopt(std::make_unique<tk::CustomControl>(&form)));
    c->SetBounds(250, 150, 20, 20);
    c->SetTabStop(true);
    c->SetParent(&form);
    return c;
}

TEST_F(ImageButtonTest, EnterClicksTheFocusedButtonEvenWhenItIsNotDefault) {
    TImageButton* a = Button(10, 10);
    TImageButton* b = Button(60, 10);
    int clicksA = 0, clicksB = 0;
    a->OnClick = [&](tk::Component*) { ++clicksA; };
    b->OnClick = [&](tk::Component*) { ++clicksB; };
    b->SetFocus();
    Key(b->Handle(), WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(clicksA, 0);
    EXPECT_EQ(clicksB, 1);
    // Escape is not Enter: a focused button that is not Cancel ignores it.
    Key(b->Handle(), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(clicksB, 1);
}

// BM_SETSTYLE messages a window has been sent since this first asked about it.
int StyleRequests(HWND window) {
    struct Counter {
        WNDPROC next;
        int count;
    };
    static std::map<HWND, Counter> counters;
    struct Proc {
        static LRESULT CALLBACK Count(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
            Counter& c = counters[h];
            if (msg == BM_SETSTYLE) ++c.count;
            return CallWindowProcA(c.next, h, msg, wp, lp);
        }
    };
    auto it = counters.find(window);
    if (it == counters.end()) {
        WNDPROC next = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc::Count)));
        it = counters.emplace(window, Counter{next, 0}).first;
    }
    return it->second.count;
}

TEST_F(ImageButtonTest, EnterClicksTheDefaultButtonOnlyWhenItCanTakeTheFocus) {
    TImageButton* def = Button(10, 10);
    int clicks = 0;
    def->OnClick = [&](tk::Component*) { ++clicks; };
    tk::CustomControl* holder = FocusHolder(*form_);
    holder->SetFocus();
    ASSERT_TRUE(holder->Focused());

    Key(holder->Handle(), WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(clicks, 0);  // not Default yet

    // Setting Default tells the form, whose system buttons then decide their look again.
    auto* system = static_cast<tk::Button*>(form_->Adopt(std::make_unique<tk::Button>(form_.get())));
    system->SetBounds(250, 100, 60, 24);
    system->SetParent(form_.get());
    const int styleRequests = StyleRequests(system->Handle());
    def->SetDefault(true);
    EXPECT_EQ(StyleRequests(system->Handle()), styleRequests + 1);
    Key(holder->Handle(), WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(def->Focused());  // the click took the focus
    holder->SetFocus();

    def->SetEnabled(false);
    Key(holder->Handle(), WM_KEYDOWN, VK_RETURN);
    def->SetEnabled(true);
    def->SetVisible(false);
    Key(holder->Handle(), WM_KEYDOWN, VK_RETURN);
    def->SetVisible(true);
    EXPECT_EQ(clicks, 1);

    // Inside a disabled container it cannot take the focus either.
    auto* panel = static_cast<tk::Panel*>(form_->Adopt(std::make_unique<tk::Panel>(form_.get())));
    panel->SetBounds(100, 60, 100, 60);
    panel->SetParent(form_.get());
    TImageButton* inner = Button(5, 5, 40, 30, panel);
    int innerClicks = 0;
    inner->OnClick = [&](tk::Component*) { ++innerClicks; };
    inner->SetDefault(true);
    def->SetDefault(false);
    panel->SetEnabled(false);
    Key(holder->Handle(), WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(innerClicks, 0);
    panel->SetEnabled(true);
    Key(holder->Handle(), WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(innerClicks, 1);
}

TEST_F(ImageButtonTest, EscapeClicksOnlyACancelButtonThatCanTakeTheFocus) {
    TImageButton* cancel = Button(10, 10);
    int clicks = 0;
    cancel->OnClick = [&](tk::Component*) { ++clicks; };
    tk::CustomControl* holder = FocusHolder(*form_);
    holder->SetFocus();

    Key(holder->Handle(), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(clicks, 0);
    cancel->SetCancel(true);
    Key(holder->Handle(), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(clicks, 1);
    holder->SetFocus();
    cancel->SetEnabled(false);
    Key(holder->Handle(), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ImageButtonTest, ClickSetsTheFormsModalResultUnlessItsOwnIsZero) {
    TImageButton* zero = Button(10, 10);
    form_->SetModalResult(7);
    MouseClick(*zero);
    EXPECT_EQ(form_->ModalResult(), 7);
    zero->SetModalResult(tk::mrOk);
    // OnClick runs last: the result is set and the button has the focus by then.
    tk::CustomControl* holder = FocusHolder(*form_);
    holder->SetFocus();
    int resultInClick = 0;
    bool focusedInClick = false;
    zero->OnClick = [&](tk::Component*) {
        resultInClick = form_->ModalResult();
        focusedInClick = zero->Focused();
    };
    zero->Click();
    EXPECT_EQ(form_->ModalResult(), tk::mrOk);
    EXPECT_EQ(resultInClick, tk::mrOk);
    EXPECT_TRUE(focusedInClick);

    // Without a form a click sets nothing and fails in nothing.
    TImageButton alone;
    alone.SetModalResult(tk::mrOk);
    int clicks = 0;
    alone.OnClick = [&](tk::Component*) { ++clicks; };
    alone.Click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ImageButtonTest, ButtonEndsAModalFormWithItsResult) {
    tk::Form dialog;
    dialog.SetBounds(200, 200, 200, 100);
    dialog.SetClientSize(200, 100);
    auto* ok = static_cast<TImageButton*>(dialog.Adopt(std::make_unique<TImageButton>(&dialog)));
    ok->SetBounds(10, 10, 40, 30);
    ok->SetParent(&dialog);
    ok->SetNoneBitmap(Face(40, 30, kNone));
    ok->SetModalResult(tk::mrOk);
    HWND h = ok->Handle();
    // A loop the button failed to end is ended from outside, as a failure.
    tk::Timer watchdog;
    watchdog.SetInterval(5000);
    watchdog.OnTimer = [&](tk::Component*) { dialog.SetModalResult(tk::mrAbort); };
    // The click arrives once the modal loop runs.
    PostMessageA(h, WM_MOUSEMOVE, 0, Point(20, 15));
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 15));
    PostMessageA(h, WM_LBUTTONUP, 0, Point(20, 15));
    EXPECT_EQ(dialog.ShowModal(), tk::mrOk);
    EXPECT_FALSE(dialog.Visible());

    // Space on the focused button of a cancel dialog.
    ok->SetModalResult(tk::mrCancel);
    dialog.SetActiveControl(ok);
    PostMessageA(h, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageA(h, WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(dialog.ShowModal(), tk::mrCancel);
}

}  // namespace
}  // namespace ibt
