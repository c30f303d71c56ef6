// The pointer entering and leaving, presses and releases of every button, dragging off and back
// under capture, and double clicks, all through real mouse messages.
#include "tests/windows/imagebutton/ImageButtonFixture.h"

#include <thread>

namespace ibt {
namespace {

TEST_F(ImageButtonTest, EnterShowsOverAndLeaveShowsNoneWithTheirEvents) {
    TImageButton* b = Button(10, 10);
    std::vector<std::string> seen;
    b->OnMouseEnter = [&](tk::Component* s) { seen.push_back(s == b ? "enter" : "?"); };
    b->OnMouseLeave = [&](tk::Component* s) { seen.push_back(s == b ? "leave" : "?"); };

    MoveTo(*b, 20, 15);
    EXPECT_TRUE(b->MouseInside());
    EXPECT_EQ(b->State(), TImageButton::bsOver);
    EXPECT_EQ(Middle(*b), kOver);

    // Leaving through the system's leave notice (the real pointer went elsewhere).
    SetCursorPos(5, 5);
    SendMessageA(b->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(b->MouseInside());
    EXPECT_EQ(b->State(), TImageButton::bsNone);
    EXPECT_EQ(Middle(*b), kNone);
    EXPECT_EQ(seen, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(ImageButtonTest, PrimaryClickRunsOnceAndEndsInOverWhileThePointerStays) {
    TImageButton* b = Button(10, 10);
    int clicks = 0, downs = 0, ups = 0;
    b->OnClick = [&](tk::Component*) {
        ++clicks;
        EXPECT_EQ(b->State(), TImageButton::bsNone);  // the release comes after the click
    };
    b->OnMouseDown = [&](tk::Component*, tk::MouseButton, tk::ShiftState, int, int) { ++downs; };
    b->OnMouseUp = [&](tk::Component*, tk::MouseButton, tk::ShiftState, int, int) { ++ups; };

    MoveTo(*b, 20, 15);
    Press(*b, WM_LBUTTONDOWN, 20, 15, MK_LBUTTON);
    EXPECT_EQ(b->State(), TImageButton::bsDown);
    EXPECT_EQ(Middle(*b), kDown);
    EXPECT_EQ(GetCapture(), b->Handle());
    Press(*b, WM_LBUTTONUP, 20, 15, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(b->State(), TImageButton::bsOver);
    EXPECT_EQ(Middle(*b), kOver);
    EXPECT_TRUE(b->Focused());  // a click takes the focus
}

TEST_F(ImageButtonTest, RightButtonShowsDownButDoesNotClick) {
    TImageButton* b = Button(10, 10);
    int clicks = 0;
    b->OnClick = [&](tk::Component*) { ++clicks; };
    MoveTo(*b, 20, 15);
    Press(*b, WM_RBUTTONDOWN, 20, 15, MK_RBUTTON);
    EXPECT_EQ(b->State(), TImageButton::bsDown);
    Press(*b, WM_RBUTTONUP, 20, 15, 0);
    EXPECT_EQ(b->State(), TImageButton::bsOver);
    EXPECT_EQ(clicks, 0);
}

TEST_F(ImageButtonTest, DraggingOffAndBackWhilePressed) {
    TImageButton* b = Button(10, 10);
    int clicks = 0, leaves = 0, enters = 0;
    b->OnClick = [&](tk::Component*) { ++clicks; };
    b->OnMouseEnter = [&](tk::Component*) { ++enters; };
    b->OnMouseLeave = [&](tk::Component*) { ++leaves; };

    MoveTo(*b, 20, 15);
    Press(*b, WM_LBUTTONDOWN, 20, 15, MK_LBUTTON);
    MoveTo(*b, 80, 15, MK_LBUTTON);  // off, still captured
    EXPECT_EQ(GetCapture(), b->Handle());
    EXPECT_EQ(b->State(), TImageButton::bsNone);
    EXPECT_EQ(Middle(*b), kNone);
    MoveTo(*b, 20, 15, MK_LBUTTON);  // back: over, not down
    EXPECT_EQ(b->State(), TImageButton::bsOver);
    EXPECT_EQ(Middle(*b), kOver);
    Press(*b, WM_LBUTTONUP, 20, 15, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->State(), TImageButton::bsOver);
    EXPECT_EQ(enters, 2);
    EXPECT_EQ(leaves, 1);

    // Released off the button: no click, and it ends in none.
    Press(*b, WM_LBUTTONDOWN, 20, 15, MK_LBUTTON);
    MoveTo(*b, 80, 15, MK_LBUTTON);
    Press(*b, WM_LBUTTONUP, 80, 15, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->State(), TImageButton::bsNone);
    EXPECT_NE(GetCapture(), b->Handle());
}

TEST_F(ImageButtonTest, DoubleClickGivesOneClickAndOneDoubleClick) {
    TImageButton* b = Button(10, 10);
    int clicks = 0, doubles = 0;
    b->OnClick = [&](tk::Component*) { ++clicks; };
    b->OnDblClick = [&](tk::Component*) { ++doubles; };
    MoveTo(*b, 20, 15);
    Press(*b, WM_LBUTTONDOWN, 20, 15, MK_LBUTTON);
    Press(*b, WM_LBUTTONUP, 20, 15, 0);
    Press(*b, WM_LBUTTONDBLCLK, 20, 15, MK_LBUTTON);
    EXPECT_EQ(b->State(), TImageButton::bsDown);  // the second press shows down
    Press(*b, WM_LBUTTONUP, 20, 15, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(b->State(), TImageButton::bsOver);
}

TEST_F(ImageButtonTest, PointerOnALatchedButtonKeepsItDown) {
    TImageButton* b = Button(10, 10);
    b->SetGroupIndex(1);
    b->SetDown(true);
    EXPECT_EQ(b->State(), TImageButton::bsDown);
    MoveTo(*b, 20, 15);
    EXPECT_EQ(b->State(), TImageButton::bsDown);
    Press(*b, WM_RBUTTONDOWN, 20, 15, MK_RBUTTON);
    Press(*b, WM_RBUTTONUP, 20, 15, 0);
    EXPECT_EQ(b->State(), TImageButton::bsDown);
    MoveTo(*b, -5, 15);
    EXPECT_EQ(b->State(), TImageButton::bsDown);
    EXPECT_EQ(Middle(*b), kDown);
}

// A menu loop that keeps the leave notice to itself, as a menu that holds the mouse may.
LRESULT CALLBACK SwallowLeave(int code, WPARAM wp, LPARAM lp) {
    if (code == MSGF_MENU && reinterpret_cast<MSG*>(lp)->message == WM_MOUSELEAVE) return TRUE;
    return CallNextHookEx(nullptr, code, wp, lp);
}

// The button that opened a menu shows none once the menu is gone, and follows the pointer again.
TEST_F(ImageButtonTest, MenuFromAClickOrAKeyLeavesTheButtonTrackingThePointer) {
    TImageButton* b = Button(10, 10);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "&Item");
    HHOOK hook = SetWindowsHookExA(WH_MSGFILTER, SwallowLeave, nullptr, GetCurrentThreadId());
    int way = 0;  // closed by Escape, by a click outside; opened by Space
    bool clickMissed = false;
    b->OnClick = [&](tk::Component*) {
        std::thread user([&] {  // the pointer goes away, then Escape or a click there
            HWND popup = vt::WaitForOwnWindow("#32768", nullptr, 5000);
            POINT at{};  // Wine may put back a warped pointer while it replays older moves
            for (int i = 0; i < 20 && (GetCursorPos(&at), at.x != 5 || at.y != 5); ++i) {
                SetCursorPos(5, 5);
                Sleep(50);
            }
            if (way != 1) return (void)PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
            mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
            for (int i = 0; i < 100 && IsWindowVisible(popup); ++i) Sleep(10);
            if ((clickMissed = IsWindowVisible(popup))) PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        });
        const POINT at = b->ClientToScreen({b->Width(), b->Height()});
        TrackPopupMenu(menu, TPM_RETURNCMD, at.x, at.y, 0, form_->Handle(), nullptr);
        user.join();
    };
    for (way = 0; way < 3; ++way) {
        MoveTo(*b, 20, 15);
        if (way < 2) MouseClick(*b); else Key(b->Handle(), WM_KEYUP, VK_SPACE);
        EXPECT_EQ(b->State(), TImageButton::bsNone) << way;
        EXPECT_EQ(Middle(*b), kNone);
        MoveTo(*b, 20, 15);
        EXPECT_EQ(b->State(), TImageButton::bsOver);
        SetCursorPos(5, 5);  // the system's own leave notice comes again
        EXPECT_TRUE(vt::PumpUntil([&] { return b->State() == TImageButton::bsNone; }, 1000)) << way;
    }
    EXPECT_FALSE(clickMissed) << "a click outside closes the menu";
    UnhookWindowsHookEx(hook);
    DestroyMenu(menu);
}

}  // namespace
}  // namespace ibt
