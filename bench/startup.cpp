// bench_startup: the time from creating the program's windows to the first paint of the main
// window, against a bare window of the same size that blits the same pictures. Run by
// bench/startup under Wine, one measurement per process.
//
//   bench_startup app     TForm1, TForm2, TForm3 and TAboutForm as the main block makes them,
//                         then the main window shown and painted, its controls included
//   bench_startup bare    the main window's pictures decoded from the same resources and blitted
//                         in the paint of one plain window of the same size
//   bench_startup windows the bare window with the child windows the main window must have,
//                         made by hand: each image button a shaped window that blits its picture,
//                         the list view with its columns, the edit field, the hint window
//
// Prints "first paint: X ms".
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/AboutUnit.h"
#include "app/Globals.h"
#include "app/Product.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "controls/ImageButton3Region.h"
#include "conversion/Unit2.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Layout.h"

namespace {

using Clock = std::chrono::steady_clock;

// Dispatches until the thread has nothing left to do, paints included.
void RunUntilIdle() {
    MSG msg;
    for (;;) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (!(GetQueueStatus(QS_ALLINPUT) & (QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE))) break;
    }
    GdiFlush();
}

double MainBlockWindows() {
    const Clock::time_point start = Clock::now();
    Clock::time_point mark = start;
    auto step = [&mark](const char* what) {  // where the time goes, for the curious
        const Clock::time_point now = Clock::now();
        std::printf("  %s: %.1f ms\n", what, std::chrono::duration<double, std::milli>(now - mark).count());
        mark = now;
    };
    auto form1 = std::make_unique<TForm1>();
    Form1 = form1.get();
    step("TForm1");
    auto form2 = std::make_unique<TForm2>();
    Form2 = form2.get();
    step("TForm2");
    auto form3 = std::make_unique<TForm3>();
    Form3 = form3.get();
    step("TForm3");
    auto aboutForm = std::make_unique<TAboutForm>();
    AboutForm = aboutForm.get();
    step("TAboutForm");
    form1->Show();  // what the message loop's start does
    step("Show");
    RunUntilIdle();
    step("paint");
    const double ms = std::chrono::duration<double, std::milli>(mark - start).count();

    AboutForm = nullptr;
    aboutForm.reset();
    Form3 = nullptr;
    form3.reset();
    Form2 = nullptr;
    form2.reset();
    Form1 = nullptr;
    form1.reset();
    return ms;
}

// The main window's pictures: the background, the logo and each image button's base picture,
// where the layout puts them.
enum class Kind { Opaque, Keyed, Button };  // keyed: drawn without its bottom-left pixel's colour

struct Placed {
    const char* resource;
    int x, y;
    Kind kind;
    tk::Bitmap picture;

    COLORREF Key() const { return picture.Pixel(0, picture.Height() - 1); }
};

std::vector<Placed> MainWindowPictures() {
    const Kind b = Kind::Button;
    return {{"main_background.jpg", 0, 0, Kind::Opaque, {}}, {"logo.bmp", 488, 40, Kind::Keyed, {}},
            {"btn_minimize_none.bmp", 533, 6, b, {}}, {"btn_close_none.bmp", 552, 6, b, {}},
            {"btn_select_none.bmp", 496, 304, b, {}}, {"btn_play_none.bmp", 496, 200, b, {}},
            {"btn_clear_none.bmp", 496, 168, b, {}},  {"btn_delete_none.bmp", 496, 136, b, {}},
            {"btn_add_none.bmp", 496, 104, b, {}},    {"btn_exit_none.bmp", 192, 32, b, {}},
            {"btn_help_none.bmp", 104, 32, b, {}},    {"btn_start_none.bmp", 16, 32, b, {}}};
}

struct Bare {
    std::vector<Placed> pictures;
    bool buttonWindows;  // the buttons in windows of their own, or blitted by the main window
};
Bare* g_bare = nullptr;

LRESULT CALLBACK BareProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) return 1;
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        tk::Canvas canvas(BeginPaint(hwnd, &ps));
        for (const Placed& p : g_bare->pictures) {
            if (p.kind == Kind::Opaque)
                canvas.DrawOpaque(p.x, p.y, p.picture);
            else if (p.kind == Kind::Keyed || !g_bare->buttonWindows)
                canvas.DrawTransparent(p.x, p.y, p.picture, p.Key());
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) return 1;
    if (msg == WM_PAINT) {
        const auto* p = reinterpret_cast<const Placed*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        PAINTSTRUCT ps;
        tk::Canvas(BeginPaint(hwnd, &ps)).DrawTransparent(0, 0, p->picture, p->Key());
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND Child(const char* cls, const char* text, DWORD style, DWORD exStyle, const RECT& r, HWND parent) {
    return CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The main window's child windows as plainly as Win32 makes them.
void MakeChildWindows(HWND form) {
    HWND list = Child(WC_LISTVIEWA, "", LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER | WS_TABSTOP,
                      WS_EX_CLIENTEDGE, {16, 104, 489, 279}, form);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const std::pair<const char*, int> columns[] = {{"Source GVI Files", 350}, {"Size (MB)", 75}};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.cx = columns[i].second;
        col.pszText = const_cast<char*>(columns[i].first);
        col.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
    }
    Child("EDIT", "C:\\", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP, 0, {16, 308, 489, 329}, form);
    HWND tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    for (Placed& p : g_bare->pictures) {
        if (p.kind != Kind::Button) continue;
        HWND b = Child("BenchBareButton", "", WS_TABSTOP, 0,
                       {p.x, p.y, p.x + p.picture.Width(), p.y + p.picture.Height()}, form);
        SetWindowLongPtrA(b, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&p));
        SetWindowRgn(b, imagebutton::BuildRegion(imagebutton::ViewOf(p.picture), p.Key()), TRUE);
        TOOLINFOA ti{};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = form;
        ti.uId = reinterpret_cast<UINT_PTR>(b);
        ti.lpszText = const_cast<char*>(p.resource);
        SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void Register(const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    RegisterClassA(&wc);
}

double BareWindow(bool buttonWindows) {
    const Clock::time_point start = Clock::now();
    Bare bare{MainWindowPictures(), buttonWindows};
    for (Placed& p : bare.pictures) {
        auto bytes = tk::ResourceBytes(p.resource);
        if (!bytes || !p.picture.LoadFromFileData(*bytes)) {
            std::fprintf(stderr, "cannot load %s\n", p.resource);
            std::exit(1);
        }
    }
    g_bare = &bare;
    Register("BenchBareWindow", BareProc);
    const int w = 577, h = 367;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    HWND hwnd = CreateWindowExA(0, "BenchBareWindow", product::kTitle, WS_POPUP | WS_CLIPCHILDREN, x, y, w, h,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (buttonWindows) {
        Register("BenchBareButton", ButtonProc);
        MakeChildWindows(hwnd);
    }
    ShowWindow(hwnd, SW_SHOWNORMAL);
    RunUntilIdle();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    DestroyWindow(hwnd);
    g_bare = nullptr;
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode != "app" && mode != "bare" && mode != "windows") {
        std::fprintf(stderr, "usage: bench_startup app|bare|windows\n");
        return 2;
    }
    // As the main block does before its first window.
    tk::ComApartment com;
    tk::App().SetTitle(product::kTitle);
    const double ms = mode == "app" ? MainBlockWindows() : BareWindow(mode == "windows");
    std::printf("first paint: %.1f ms\n", ms);
    return 0;
}
