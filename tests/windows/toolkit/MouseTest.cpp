// Mouse routing: graphic children of a window, capture while a button is held, pointer enter and
// leave of windowed controls, clicks and double clicks.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/windows/toolkit/ToolkitTestUtil.h"
#include "toolkit/StdControls.h"

namespace {

using tkt::At;

// Records what a control's events saw, as short texts.
struct Log {
    std::vector<std::string> lines;
    void Attach(tk::Control& c, const std::string& name) {
        c.OnMouseDown = [this, name](tk::Component*, tk::MouseButton b, tk::ShiftState, int x, int y) {
            lines.push_back(name + " down" + (b == tk::MouseButton::Right ? "R " : " ") + std::to_string(x) + "," + std::to_string(y));
        };
        c.OnMouseMove = [this, name](tk::Component*, tk::ShiftState, int x, int y) {
            lines.push_back(name + " move " + std::to_string(x) + "," + std::to_string(y));
        };
        c.OnMouseUp = [this, name](tk::Component*, tk::MouseButton, tk::ShiftState, int x, int y) {
            lines.push_back(name + " up " + std::to_string(x) + "," + std::to_string(y));
        };
        c.OnClick = [this, name](tk::Component*) { lines.push_back(name + " click"); };
        c.OnDblClick = [this, name](tk::Component*) { lines.push_back(name + " dblclick"); };
    }
};

class GraphicRouting : public ::testing::Test {
protected:
    void SetUp() override {
        back.SetParent(&form);
        back.SetBounds(0, 0, 200, 100);
        label.SetParent(&form);
        label.SetAutoSize(false);
        label.SetBounds(50, 20, 40, 15);
        label.SetCaption("Title");
        log.Attach(back, "image");
        log.Attach(label, "label");
        log.Attach(form, "form");
        tkt::ShowForm(form, 200, 120);
        hwnd = form.Handle();
    }
    void TearDown() override { ReleaseCapture(); }

    tk::Form form;
    tk::Image back{&form};
    tk::Label label{&form};
    Log log;
    HWND hwnd = nullptr;
};

TEST_F(GraphicRouting, TopmostChildGetsThePressInItsCoordinates) {
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(55, 25));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, At(55, 25));
    SendMessageA(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, At(10, 10));
    SendMessageA(hwnd, WM_RBUTTONUP, 0, At(10, 10));
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 110));  // below both: the form itself
    SendMessageA(hwnd, WM_LBUTTONUP, 0, At(10, 110));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"label down 5,5", "label click", "label up 5,5",
                                                   "image downR 10,10", "image up 10,10", "form down 10,110",
                                                   "form click", "form up 10,110"}));
}

TEST_F(GraphicRouting, PressedChildKeepsTheMouseUntilRelease) {
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(60, 30));
    EXPECT_EQ(GetCapture(), hwnd);
    // Moves far off the label (even off the window) still go to it, in its coordinates.
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, At(150, 60));
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, At(-20, 300));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, At(150, 60));  // released off it: no click
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, At(150, 60));  // free again: the image under the pointer
    EXPECT_EQ(log.lines, (std::vector<std::string>{"label down 10,10", "label move 100,40", "label move -70,280",
                                                   "label up 100,40", "image move 150,60"}));
}

TEST_F(GraphicRouting, HiddenAndDisabledChildrenAreSkipped) {
    label.SetEnabled(false);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(55, 25));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, At(55, 25));
    label.SetEnabled(true);
    label.Hide();
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, At(56, 26));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"image down 55,25", "image click", "image up 55,25",
                                                   "image move 56,26"}));
}

TEST_F(GraphicRouting, DoubleClickRaisesDblClickAndNoSecondClick) {
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(55, 25));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, At(55, 25));
    SendMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, At(55, 25));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, At(55, 25));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"label down 5,5", "label click", "label up 5,5", "label dblclick",
                                                   "label down 5,5", "label up 5,5"}));
}

TEST_F(GraphicRouting, DraggingABackgroundMovesTheWindow) {
    // The way the skinned windows are moved: remember the press, follow the moves.
    bool dragging = false;
    int ox = 0, oy = 0;
    back.OnMouseDown = [&](tk::Component*, tk::MouseButton, tk::ShiftState, int x, int y) { dragging = true; ox = x; oy = y; };
    back.OnMouseMove = [&](tk::Component*, tk::ShiftState, int x, int y) {
        if (dragging) form.SetBounds(form.Left() + x - ox, form.Top() + y - oy, form.Width(), form.Height());
    };
    back.OnMouseUp = [&](tk::Component*, tk::MouseButton, tk::ShiftState, int, int) { dragging = false; };
    const int left = form.Left(), top = form.Top();
    SendMessageA(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, At(10, 10));
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_RBUTTON, At(20, 15));
    SendMessageA(hwnd, WM_RBUTTONUP, 0, At(10, 10));
    RECT r;
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, left + 10);
    EXPECT_EQ(r.top, top + 5);
    EXPECT_EQ(form.Left(), left + 10);
}

// A windowed control that logs pointer enter and leave and clicks.
class Probe : public tk::CustomControl {
public:
    using tk::CustomControl::CustomControl;
    std::vector<std::string> log;
    void MouseEnter() override { log.push_back("enter"); }
    void MouseLeave() override { log.push_back("leave"); }
    void Click() override {
        log.push_back("click");
        CustomControl::Click();
    }
    void MouseDown(tk::MouseButton, tk::ShiftState s, int, int) override {
        log.push_back(s & tk::ssDouble ? "down2" : "down");
    }
    void MouseUp(tk::MouseButton, tk::ShiftState, int, int) override { log.push_back("up"); }
};

class WindowedMouse : public ::testing::Test {
protected:
    void SetUp() override {
        probe.SetParent(&form);
        probe.SetBounds(20, 20, 30, 30);
        tkt::ShowForm(form, 100, 100);
        h = probe.Handle();
        // Keep the real pointer away so no leave tracking interferes.
        SetCursorPos(0, 0);
    }
    void TearDown() override { ReleaseCapture(); }
    tk::Form form;
    Probe probe{&form};
    HWND h = nullptr;
};

TEST_F(WindowedMouse, DragOffAndBackUnderCapture) {
    SendMessageA(h, WM_MOUSEMOVE, 0, At(5, 5));
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    EXPECT_EQ(GetCapture(), h);
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, At(40, 5));   // off
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, At(45, 5));   // still off: nothing new
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, At(10, 10));  // back on
    const POINT on = probe.ClientToScreen({10, 10});
    SetCursorPos(on.x, on.y);  // after a click the control asks where the pointer really is
    SendMessageA(h, WM_LBUTTONUP, 0, At(10, 10));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(probe.log, (std::vector<std::string>{"enter", "down", "leave", "enter", "click", "up"}));
    EXPECT_TRUE(probe.MouseInside());
}

TEST_F(WindowedMouse, ReleaseOffTheControlDoesNotClick) {
    SendMessageA(h, WM_MOUSEMOVE, 0, At(5, 5));
    SendMessageA(h, WM_RBUTTONDOWN, MK_RBUTTON, At(5, 5));  // any button captures
    EXPECT_EQ(GetCapture(), h);
    SendMessageA(h, WM_RBUTTONUP, 0, At(5, 5));
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, At(-3, 5));
    SendMessageA(h, WM_LBUTTONUP, 0, At(-3, 5));
    EXPECT_EQ(probe.log, (std::vector<std::string>{"enter", "down", "up", "down", "leave", "up"}));
    EXPECT_FALSE(probe.MouseInside());
}

TEST_F(WindowedMouse, RegionLimitsTheShape) {
    // Only the left half belongs to the control.
    SetWindowRgn(h, CreateRectRgn(0, 0, 15, 30), TRUE);
    SendMessageA(h, WM_MOUSEMOVE, 0, At(5, 5));
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, At(20, 5));  // inside the rectangle, outside the shape
    SendMessageA(h, WM_LBUTTONUP, 0, At(20, 5));
    EXPECT_EQ(probe.log, (std::vector<std::string>{"enter", "down", "leave", "up"}));
}

TEST_F(WindowedMouse, DoubleClickGivesOneClick) {
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    SendMessageA(h, WM_LBUTTONUP, 0, At(5, 5));
    SendMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, At(5, 5));
    SendMessageA(h, WM_LBUTTONUP, 0, At(5, 5));
    int clicks = 0, dbl = 0;
    for (auto& s : probe.log) {
        clicks += s == "click";
        dbl += s == "down2";
    }
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(dbl, 1);
}

TEST(WindowProcedure, ExceptionsStopAtTheBoundaryInABox) {
    vt::DialogAnswerer boxes;
    {
        tk::Form form;
        tk::Label label(&form);
        label.SetParent(&form);
        label.SetBounds(0, 0, 50, 20);
        label.OnClick = [](tk::Component*) { throw std::runtime_error("boom"); };
        tkt::ShowForm(form, 60, 30);
        SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
        SendMessageA(form.Handle(), WM_LBUTTONUP, 0, At(5, 5));
    }
    ASSERT_TRUE(vt::PumpUntil([&] { return boxes.Count() == 1; }, 5000));
    EXPECT_EQ(boxes.Seen()[0].text, "boom.");
}

}  // namespace
