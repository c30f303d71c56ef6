// The application object: title, hidden owner window, main form and the message loop; the
// user-interface thread's COM apartment.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace tk {

class Form;

// The module handle of the running program (window classes, resources).
HINSTANCE Instance();

class Application {
public:
    static Application& Instance();

    // The program's title: caption of message boxes and of the hidden application window.
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title);

    // The application window: owner of every form, message box and shell request, so it alone
    // has the program's taskbar button and Alt+Tab entry, titled with Title(), for the whole
    // run, whichever of its windows are hidden. It has no size, so only that button shows it;
    // activated through it, it passes the activation on to the window in use (WindowInUse).
    // Created, and shown, on demand.
    HWND Handle();

    // The window the user is working with: the last active of the application window's own
    // windows, or the window that this one's modal box or dialog has disabled it for. nullptr
    // when no window is shown.
    HWND WindowInUse();

    // The form passed to Run; closing it ends the loop. nullptr before Run.
    Form* MainForm() const { return mainForm_; }

    // A modal form, box or dialog is up (see ModalScope; the system's own dialogs disable the
    // main form). The application window stays enabled meanwhile, so that its taskbar button
    // can still minimize the program.
    bool ModalWindowUp();

    // Shows mainForm and runs the message loop until the main form closes or Terminate is called.
    void Run(Form& mainForm);

    // Ends Run (posts WM_QUIT); modal loops also end.
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The whole application to its taskbar button: minimizes the application window, which
    // hides every form, box and dialog of the program until the button restores it.
    void Minimize();
    bool Minimized();

    // While the program is minimized, runs the message loop until the taskbar button restores
    // it (a box waits here, so that it comes up with the program's windows). False when the
    // loop must end first (WM_QUIT, which is left for the outer loop).
    bool WaitUntilRestored();

    // Waits for the thread's next message and dispatches it. False when a loop must end: on
    // WM_QUIT (posted again for the outer loop, and Terminate) or an error.
    bool ProcessMessage();

    // Logoff and shutdown: the system is told why the session should not end now (it shows the
    // reason beside the program), until AllowShutdown. Both are for the user-interface thread.
    void BlockShutdown(const std::string& reason);
    void AllowShutdown();

    // An exception that reached a window procedure, timer or other toolkit boundary: shown in an
    // error box with the application title.
    void HandleException(const std::exception& e);
    void HandleException();  // for catch (...): an unknown error

    // Used by the forms themselves.
    void SetMainForm(Form* form) { mainForm_ = form; }

private:
    friend class ModalScope;
    Application();

    std::string title_;
    HWND handle_ = nullptr;
    Form* mainForm_ = nullptr;
    bool terminated_ = false;
    std::string shutdownReason_;
    int modalDepth_ = 0;
};

inline Application& App() { return Application::Instance(); }

// Opens a single-threaded apartment on the calling thread and closes it when it goes. The shell
// (its folder browser, ShellExecuteA and the extensions they load) needs one on the thread that
// calls it and keeps process-wide caches in it, so the program opens it once at start, not
// around each call.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        // S_FALSE (already open) must be balanced too; a failure must not.
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool Opened() const { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

// --- The thread's top-level windows ----------------------------------------------------------

// Registers a window class of the program; true also when it was registered already.
bool RegisterWindowClass(const char* name, WNDPROC proc, UINT style = 0, HICON icon = nullptr);

// Registers the window class and creates a window of it with no size. With the defaults it is
// message-only; the application window passes its own parent (none), style, place, title, icon.
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

// A modal form or box is up for the lifetime of this object (see ModalWindowUp).
class ModalScope {
public:
    ModalScope() { ++App().modalDepth_; }
    ~ModalScope() { --App().modalDepth_; }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

}  // namespace tk
