// bench_startup: the time from creating the program's windows to the first paint of the main
// window, against a bare window of the same size that blits the same pictures. Run by
// bench/startup under Wine, one measurement per process.
//
//   bench_startup app     TForm1, TForm2, TForm3 and TAboutForm as the main block makes them,
//                         then the main window shown and painted, its controls included
//   bench_startup bare    the main window's pictures decoded from the same resources and blitted
//                         in the paint of one plain window of the same size
//
// Prints "first paint: X ms".
#include <windows.h>

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
#include "conversion/Unit2.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/ComApartment.h"
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
struct Placed {
    const char* resource;
    int x, y;
    bool keyed;  // drawn without its bottom-left pixel's colour, as the buttons are
    tk::Bitmap picture;
};

std::vector<Placed> MainWindowPictures() {
    return {{"main_background.jpg", 0, 0, false, {}}, {"logo.bmp", 488, 40, true, {}},
            {"btn_minimize_none.bmp", 533, 6, true, {}}, {"btn_close_none.bmp", 552, 6, true, {}},
            {"btn_select_none.bmp", 496, 304, true, {}}, {"btn_play_none.bmp", 496, 200, true, {}},
            {"btn_clear_none.bmp", 496, 168, true, {}}, {"btn_delete_none.bmp", 496, 136, true, {}},
            {"btn_add_none.bmp", 496, 104, true, {}},    {"btn_exit_none.bmp", 192, 32, true, {}},
            {"btn_help_none.bmp", 104, 32, true, {}},    {"btn_start_none.bmp", 16, 32, true, {}}};
}

std::vector<Placed>* g_pictures = nullptr;

LRESULT CALLBACK BareProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) return 1;
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        tk::Canvas canvas(dc);
        for (const Placed& p : *g_pictures) {
            if (p.keyed)
                canvas.DrawTransparent(p.x, p.y, p.picture, p.picture.Pixel(0, p.picture.Height() - 1));
            else
                canvas.DrawOpaque(p.x, p.y, p.picture);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

double BareWindow() {
    const Clock::time_point start = Clock::now();
    std::vector<Placed> pictures = MainWindowPictures();
    for (Placed& p : pictures) {
        auto bytes = tk::ResourceBytes(p.resource);
        if (!bytes || !p.picture.LoadFromFileData(*bytes)) {
            std::fprintf(stderr, "cannot load %s\n", p.resource);
            std::exit(1);
        }
    }
    g_pictures = &pictures;
    WNDCLASSA wc{};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchBareWindow";
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    RegisterClassA(&wc);
    const int w = 577, h = 367;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, product::kTitle, WS_POPUP, x, y, w, h, nullptr,
                                nullptr, wc.hInstance, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    RunUntilIdle();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    DestroyWindow(hwnd);
    g_pictures = nullptr;
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode != "app" && mode != "bare") {
        std::fprintf(stderr, "usage: bench_startup app|bare\n");
        return 2;
    }
    // As the main block does before its first window.
    tk::ComApartment com;
    tk::App().SetTitle(product::kTitle);
    const double ms = mode == "app" ? MainBlockWindows() : BareWindow();
    std::printf("first paint: %.1f ms\n", ms);
    return 0;
}
