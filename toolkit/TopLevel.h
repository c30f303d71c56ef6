// Helpers for the thread's top-level windows: hidden helper windows, centring, and disabling the
// others while a modal window or box is up.
#pragma once

#include <windows.h>

#include <vector>

namespace tk {

// Registers a window class of the program; true also when it was registered already.
bool RegisterWindowClass(const char* name, WNDPROC proc, UINT style = 0, HICON icon = nullptr);

// Registers the window class and creates a window of it with no size. With the defaults it is message-only; the application window passes its own
// parent (none), style, place, title and icon.
HWND CreateHelperWindow(const char* className, WNDPROC proc, HWND parent = HWND_MESSAGE, DWORD style = 0,
                        POINT at = {0, 0}, const char* title = "", HICON icon = nullptr);

// The thread's top-level windows, as EnumThreadWindows lists them.
std::vector<HWND> ThreadWindows();

// Where a window of this size sits centred on the primary screen.
POINT ScreenCentredOrigin(int width, int height);

// Disables every other visible, enabled top-level window of the thread but the application
// window for its lifetime (or until EnableAgain), whichever way the scope is left.
class OtherWindowsDisabled {
public:
    explicit OtherWindowsDisabled(HWND keep, HWND alsoKeep = nullptr);
    ~OtherWindowsDisabled() { EnableAgain(); }
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

    void EnableAgain();

private:
    std::vector<HWND> disabled_;
};

}  // namespace tk
