// Helpers for the thread's top-level windows.
#include "toolkit/TopLevel.h"

#include "toolkit/Application.h"

namespace tk {

bool RegisterWindowClass(const char* name, WNDPROC proc, UINT style, HICON icon) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = Instance();
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateHelperWindow(const char* className, WNDPROC proc, HWND parent, DWORD style, POINT at,
                        const char* title, HICON icon) {
    RegisterWindowClass(className, proc, 0, icon);
    return CreateWindowExA(0, className, title, style, at.x, at.y, 0, 0, parent, nullptr, Instance(), nullptr);
}

POINT ScreenCentredOrigin(int width, int height) {
    return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

namespace {
BOOL CALLBACK AddWindow(HWND hwnd, LPARAM list) {
    try {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
    } catch (...) {
        return FALSE;  // out of memory: the windows found so far
    }
}
}  // namespace

std::vector<HWND> ThreadWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), AddWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

OtherWindowsDisabled::OtherWindowsDisabled(HWND keep, HWND alsoKeep) {
    const HWND app = App().Handle();
    disabled_ = ThreadWindows();
    // The application window stays enabled: its taskbar button must still minimize the program.
    std::erase_if(disabled_, [&](HWND w) {
        return w == keep || w == alsoKeep || w == app || !IsWindowVisible(w) || !IsWindowEnabled(w);
    });
    for (HWND w : disabled_) EnableWindow(w, FALSE);
}

void OtherWindowsDisabled::EnableAgain() {
    for (HWND w : disabled_)
        if (IsWindow(w)) EnableWindow(w, TRUE);
    disabled_.clear();
}

}  // namespace tk
