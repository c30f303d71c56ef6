// The application object, its hidden window and the message loops.
#include "toolkit/Application.h"

#include <commctrl.h>

#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"

namespace tk {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

namespace {
LRESULT CALLBACK AppWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(hwnd, msg, wp, lp);
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
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = AppWindowProc;
    wc.hInstance = tk::Instance();
    wc.hIcon = LoadIconA(tk::Instance(), "MAINICON");
    wc.lpszClassName = "TkApplication";
    RegisterClassExA(&wc);  // a second registration fails harmlessly
    // Never shown: it owns the forms and the message boxes.
    handle_ = CreateWindowExA(0, "TkApplication", title_.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0,
                              nullptr, nullptr, tk::Instance(), nullptr);
    return handle_;
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

void Application::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Application::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void Application::Minimize() {
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->WindowHandle(), SW_MINIMIZE);
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

void PumpMessagesFor(int ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;  // tests pump past a closed main form
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= static_cast<DWORD>(ms)) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(ms) - elapsed, QS_ALLINPUT);
    }
}

}  // namespace tk
