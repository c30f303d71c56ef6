// Helpers for the thread's top-level windows.
#include "toolkit/TopLevel.h"

#include "toolkit/Application.h"

namespace tk {

HWND CreateHelperWindow(const char* className, WNDPROC proc, HWND parent, DWORD style, POINT at,
                        const char* title, HICON icon) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = Instance();
    wc.hIcon = icon;
    wc.lpszClassName = className;
    RegisterClassExA(&wc);
    return CreateWindowExA(0, className, title, style, at.x, at.y, 0, 0, parent, nullptr, Instance(), nullptr);
}

POINT ScreenCentredOrigin(int width, int height) {
    return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

OtherWindowsDisabled::OtherWindowsDisabled(HWND keep, HWND alsoKeep)
    : keep_(keep), alsoKeep_(alsoKeep), app_(App().Handle()) {
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK OtherWindowsDisabled::DisableOne(HWND hwnd, LPARAM self) {
    auto* d = reinterpret_cast<OtherWindowsDisabled*>(self);
    // The application window stays enabled: its taskbar button must still minimize the program.
    if (hwnd == d->keep_ || hwnd == d->alsoKeep_ || hwnd == d->app_ || !IsWindowVisible(hwnd) ||
        !IsWindowEnabled(hwnd))
        return TRUE;
    try {
        d->disabled_.push_back(hwnd);
    } catch (...) {
        return FALSE;  // out of memory: leave the rest enabled rather than lose track of them
    }
    EnableWindow(hwnd, FALSE);
    return TRUE;
}

void OtherWindowsDisabled::EnableAgain() {
    for (HWND w : disabled_)
        if (IsWindow(w)) EnableWindow(w, TRUE);
    disabled_.clear();
}

}  // namespace tk
