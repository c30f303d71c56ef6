// The application object, its hidden window and the message loops.
#include "toolkit/Application.h"

#include <commctrl.h>

#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/TopLevel.h"

namespace tk {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

namespace {

// Activation that arrived at the application window, passed on once its own handling is done.
constexpr UINT kActivateWindowInUse = WM_APP + 10;

LRESULT CALLBACK AppWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE) PostMessageA(hwnd, kActivateWindowInUse, 0, 0);
            break;
        case kActivateWindowInUse:
            // Only while this window still has the activation: the user may have gone on.
            if (GetActiveWindow() == hwnd && !IsIconic(hwnd)) {
                if (HWND target = App().WindowInUse()) SetActiveWindow(target);
            }
            return 0;
        case WM_SYSCOMMAND: {
            // Minimized, the application window takes its windows with it, and brings them
            // back restored (the taskbar button asks through these commands).
            const UINT command = static_cast<UINT>(wp & 0xFFF0);
            if (command == SC_MINIMIZE) ShowOwnedPopups(hwnd, FALSE);
            LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
            if (command == SC_RESTORE) ShowOwnedPopups(hwnd, TRUE);
            return r;
        }
        case WM_CLOSE:
            // Close from the taskbar button's menu: the main form decides, as for any close.
            // The default would destroy this window and every form it owns.
            if (Form* main = App().MainForm()) main->Close();
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

bool Usable(HWND w) { return w && IsWindow(w) && IsWindowVisible(w) && IsWindowEnabled(w); }

struct FirstShown {
    HWND owner;
    HWND found = nullptr;
};

BOOL CALLBACK FindShownOwned(HWND hwnd, LPARAM lp) {
    auto* f = reinterpret_cast<FirstShown*>(lp);
    if (GetWindow(hwnd, GW_OWNER) == f->owner && Usable(hwnd)) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

Application::Application() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
}

Application& Application::Instance() {
    static Application app;
    return app;
}

void Application::SetTitle(std::string title) {
    title_ = std::move(title);
    if (handle_) SetWindowTextA(handle_, title_.c_str());
}

HWND Application::Handle() {
    if (handle_ && IsWindow(handle_)) return handle_;
    // Unowned and visible, it has the taskbar button; of no size, it is seen nowhere else.
    // WS_MINIMIZEBOX: the button's menu can minimize the program.
    handle_ = CreateHelperWindow("TkApplication", AppWindowProc, nullptr,
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, ScreenCentredOrigin(0, 0),
                                 title_.c_str(), LoadIconA(tk::Instance(), "MAINICON"));
    if (handle_) ShowWindow(handle_, SW_SHOWNOACTIVATE);
    return handle_;
}

HWND Application::WindowInUse() {
    HWND app = Handle();
    if (!app) return nullptr;
    // The system keeps the last active window that the application window owns; a window
    // disabled under a modal box or dialog gives way to its own last active one.
    HWND w = GetLastActivePopup(app);
    for (int depth = 0; w && w != app && !IsWindowEnabled(w) && depth < 8; ++depth) {
        HWND next = GetLastActivePopup(w);
        if (next == w) break;
        w = next;
    }
    if (w != app && Usable(w)) return w;
    if (mainForm_ && Usable(mainForm_->WindowHandle())) return mainForm_->WindowHandle();
    FirstShown first{app};
    EnumThreadWindows(GetCurrentThreadId(), FindShownOwned, reinterpret_cast<LPARAM>(&first));
    return first.found;
}

void Application::Run(Form& mainForm) {
    mainForm_ = &mainForm;
    terminated_ = false;
    mainForm.Show();
    while (!terminated_) {
        MSG msg;
        BOOL r = GetMessageA(&msg, nullptr, 0, 0);
        if (r == 0 || r == -1) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    terminated_ = true;
    MSG quit;  // a quit posted by Terminate is spent here
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

void Application::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void Application::Minimize() {
    if (HWND app = Handle()) SendMessageA(app, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void Application::BlockShutdown(const std::string& reason) {
    HWND app = Handle();
    if (!app) return;
    // The application window: visible for the whole run, as the system wants the window
    // that gives a reason to be.
    std::wstring wide(reason.size() + 1, L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, reason.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    ShutdownBlockReasonCreate(app, wide.c_str());
    shutdownReason_ = reason;
}

void Application::AllowShutdown() {
    if (shutdownReason_.empty()) return;
    shutdownReason_.clear();
    if (handle_ && IsWindow(handle_)) ShutdownBlockReasonDestroy(handle_);
}

void Application::HandleException(const std::exception& e) {
    if (OnException) {
        OnException(e);
        return;
    }
    std::string text = e.what();
    // Messages read as sentences.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    ApplicationMessageBox(text, title_, MB_OK | MB_ICONERROR);
}

void Application::HandleException() {
    HandleException(std::runtime_error("Unexpected error"));
}

}  // namespace tk
