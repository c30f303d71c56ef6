// Shared set-up of the image button tests: a shown borderless form, buttons on it, pictures
// with rounded corners of the key colour, and real mouse and key messages.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/ImageButton3.h"
#include "tests/windows/support/TestSupport.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Form.h"

namespace ibt {

inline constexpr COLORREF kKey = RGB(255, 0, 255);      // transparent corners
inline constexpr COLORREF kNone = RGB(200, 200, 200);   // face of each state
inline constexpr COLORREF kOver = RGB(220, 220, 250);
inline constexpr COLORREF kDown = RGB(150, 150, 150);
inline constexpr COLORREF kUp = RGB(230, 240, 200);
inline constexpr COLORREF kFormColor = RGB(0, 128, 0);  // shows where the shape is cut

// A face of one colour whose corners (radius r) and bottom-left pixel are the key colour.
inline tk::Bitmap Face(int w, int h, COLORREF face, COLORREF key = kKey, int r = 5) {
    tk::Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int dx = x < r ? r - x : (x >= w - r ? x - (w - r - 1) : 0);
            const int dy = y < r ? r - y : (y >= h - r ? y - (h - r - 1) : 0);
            b.SetPixel(x, y, dx * dx + dy * dy > r * r ? key : face);
        }
    }
    return b;
}

inline tk::Bitmap Solid(int w, int h, COLORREF c) {
    tk::Bitmap b(w, h);
    b.Fill(c);
    return b;
}

// A picture of the program's skin (resources/NAME.bmp); empty when it is not there.
inline tk::Bitmap SkinPicture(const std::string& name) {
    tk::Bitmap b;
    const char* src = std::getenv("VEXLAR_SOURCE_DIR");
    const std::string path = std::string(src ? src : ".") + "/resources/" + name + ".bmp";
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return b;
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    b.LoadFromBmp(bytes);
    return b;
}

// The colour the button's window shows at (x, y) of its client area, read from the window's
// own surface; CLR_INVALID outside its shape.
inline COLORREF Shown(TImageButton& b, int x, int y) {
    GdiFlush();
    HDC dc = GetDC(b.Handle());
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(b.Handle(), dc);
    return c;
}
inline COLORREF Middle(TImageButton& b) { return Shown(b, b.Width() / 2, b.Height() / 2); }

// What a program outside the button sees of its window: the paints it gets and the reshapes
// SetWindowRgn announces (a frame change that neither moves nor sizes the window).
class WindowSpy {
public:
    explicit WindowSpy(HWND window) : window_(window) {
        SetWindowSubclass(window_, &Watch, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    ~WindowSpy() {
        if (IsWindow(window_)) RemoveWindowSubclass(window_, &Watch, 1);
    }
    WindowSpy(const WindowSpy&) = delete;
    WindowSpy& operator=(const WindowSpy&) = delete;

    int Paints() const { return paints_; }
    int Shapes() const { return shapes_; }

private:
    static LRESULT CALLBACK Watch(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
        auto* spy = reinterpret_cast<WindowSpy*>(self);
        if (msg == WM_PAINT) ++spy->paints_;
        if (msg == WM_WINDOWPOSCHANGED) {
            const UINT reshape = SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE;
            if ((reinterpret_cast<const WINDOWPOS*>(lp)->flags & reshape) == reshape) ++spy->shapes_;
        }
        return DefSubclassProc(w, msg, wp, lp);
    }

    HWND window_;
    int paints_ = 0;
    int shapes_ = 0;
};

// The colour the screen shows at (x, y) of a window's client area.
inline COLORREF OnScreen(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

// Paints over a window from outside; only the window's own drawing brings its picture back.
inline void Scribble(HWND window, COLORREF c) {
    RECT r;
    GetClientRect(window, &r);
    HDC dc = GetDC(window);
    HBRUSH brush = CreateSolidBrush(c);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
    GdiFlush();
}

// A point of the button's window region, in its client coordinates.
inline bool InShape(TImageButton& b, int x, int y) {
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(b.Handle(), rgn);
    const bool inside = kind == ERROR ? (x >= 0 && y >= 0 && x < b.Width() && y < b.Height())
                                      : PtInRegion(rgn, x, y) != FALSE;
    DeleteObject(rgn);
    return inside;
}

inline LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<tk::Form>();
        form_->SetBounds(120, 120, 320, 220);
        form_->SetClientSize(320, 220);
        form_->SetColor(kFormColor);
        form_->Show();
        vt::PumpFor(30);
        // The real pointer rests away from the buttons until a test moves it.
        SetCursorPos(5, 5);
    }

    void TearDown() override {
        if (GetCapture()) ReleaseCapture();
        form_.reset();
        vt::PumpFor(10);
    }

    // A button at (x, y) in the form (or in another container), with the four state faces.
    TImageButton* Button(int x, int y, int w = 40, int h = 30, tk::WinControl* parent = nullptr) {
        auto* b = static_cast<TImageButton*>(form_->Adopt(std::make_unique<TImageButton>(form_.get())));
        b->SetBounds(x, y, w, h);
        b->SetParent(parent ? parent : form_.get());
        b->SetNoneBitmap(Face(w, h, kNone));
        b->SetOverBitmap(Face(w, h, kOver));
        b->SetDownBitmap(Face(w, h, kDown));
        b->SetUpBitmap(Face(w, h, kUp));
        vt::PumpFor(10);
        return b;
    }

    // The pointer onto (x, y) of the button (the real cursor too, so leave tracking agrees).
    static void MoveTo(TImageButton& b, int x, int y, WPARAM buttons = 0) {
        POINT s = b.ClientToScreen({x, y});
        SetCursorPos(s.x, s.y);
        SendMessageA(b.Handle(), WM_MOUSEMOVE, buttons, Point(x, y));
    }
    static void Press(TImageButton& b, UINT msg, int x, int y, WPARAM buttons) {
        SendMessageA(b.Handle(), msg, buttons, Point(x, y));
    }
    // A primary-button click in the middle: move, press, release.
    static void MouseClick(TImageButton& b) {
        const int x = b.Width() / 2, y = b.Height() / 2;
        MoveTo(b, x, y);
        Press(b, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        Press(b, WM_LBUTTONUP, x, y, 0);
    }
    static void Key(HWND target, UINT msg, WPARAM key) {
        SendMessageA(target, msg, key, msg == WM_KEYUP ? 0xC0000001 : 1);
    }

    std::unique_ptr<tk::Form> form_;
};

}  // namespace ibt
