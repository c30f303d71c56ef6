// The application object, its hidden window and the message loops.
#include "toolkit/Application.h"

#include <commctrl.h>

#include <vector>

#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"

namespace tk {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

namespace {

// Activation that arrived at the application window, passed on once its own handling is done.
constexpr UINT kActivateWindowInUse = WM_APP + 10;

// The windows of the program that follow the application window down to its taskbar button
// and back: every top-level window of this thread that it owns, directly or through another
// one (a box owned by a form). Forms follow only as far as the program shows them (Form
// handles these statuses itself); any other window comes back only if this took it down.
void FollowApplicationWindow(HWND app, bool restored) {
    for (HWND w : ThreadWindows()) {
        if (w != app && IsWindow(w) && GetAncestor(w, GA_ROOTOWNER) == app &&
            (IsWindowVisible(w) != FALSE) != restored)
            SendMessageA(w, WM_SHOWWINDOW, restored, restored ? SW_PARENTOPENING : SW_PARENTCLOSING);
    }
}

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
            if (command == SC_MINIMIZE) FollowApplicationWindow(hwnd, false);
            LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
            if (command == SC_RESTORE) {
                FollowApplicationWindow(hwnd, true);
                PostMessageA(hwnd, WM_NULL, 0, 0);  // wakes a box waiting for the restore
            }
            return r;
        }
        case WM_CLOSE:
            // Close from the taskbar button's menu. Under a modal window it does what it does
            // to any window under a modal box: nothing but bring the modal window forward.
            // Otherwise the main form decides, as for any close; the default would destroy
            // this window and every form it owns.
            if (App().ModalWindowUp()) {
                if (IsIconic(hwnd)) SendMessageA(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
                if (HWND modal = App().WindowInUse()) SetForegroundWindow(modal);
            } else if (Form* main = App().MainForm()) {
                main->Close();
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

bool Usable(HWND w) { return w && IsWindow(w) && IsWindowVisible(w) && IsWindowEnabled(w); }

// The window in use from w on: a window disabled under a modal box or dialog gives way to its
// own last active one. nullptr when that leads to no window the user can work with.
HWND InUseFrom(HWND w) {
    for (int depth = 0; w && !IsWindowEnabled(w) && depth < 8; ++depth) {
        HWND next = GetLastActivePopup(w);
        if (next == w) return nullptr;
        w = next;
    }
    return Usable(w) ? w : nullptr;
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
    // The system keeps the last active window that the application window owns (itself, when
    // its taskbar button was used last); then the main form; then, top down, the windows it
    // owns that are shown.
    HWND last = GetLastActivePopup(app);
    if (HWND w = last != app ? InUseFrom(last) : nullptr) return w;
    if (HWND w = mainForm_ ? InUseFrom(mainForm_->WindowHandle()) : nullptr) return w;
    for (HWND w : ThreadWindows())
        if (GetWindow(w, GW_OWNER) == app && IsWindowVisible(w))
            if (HWND found = InUseFrom(w)) return found;
    return nullptr;
}

bool Application::ModalWindowUp() {
    if (modalDepth_ > 0) return true;
    // The system's own dialogs (file open, folder browser) disable the main form they are over.
    HWND main = mainForm_ ? mainForm_->WindowHandle() : nullptr;
    return main && !IsWindowEnabled(main);
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

bool Application::Minimized() { return handle_ && IsWindow(handle_) && IsIconic(handle_); }

bool Application::WaitUntilRestored() {
    if (!Minimized()) return true;
    // The taskbar button flashes until the user brings the program back.
    FLASHWINFO flash{sizeof(flash), handle_, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
    while (Minimized()) {
        if (!ProcessMessage()) return false;
    }
    return true;
}

bool Application::ProcessMessage() {
    MSG msg;
    const BOOL r = GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        terminated_ = true;
        return false;
    }
    if (r == -1) return false;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
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
    std::string text = e.what();
    // Messages read as sentences.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    ApplicationMessageBox(text, title_, MB_OK | MB_ICONERROR);
}

void Application::HandleException() {
    HandleException(std::runtime_error("Unexpected error"));
}

// --- The thread's top-level windows ----------------------------------------------------------

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
