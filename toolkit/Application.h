// The application object: title, hidden owner window, main form and the message loop.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

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

    // Shows mainForm and runs the message loop until the main form closes or Terminate is called.
    void Run(Form& mainForm);

    // Ends Run (posts WM_QUIT); modal loops also end.
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The whole application to its taskbar button: minimizes the application window, which
    // hides every form until the button restores it.
    void Minimize();

    // Logoff and shutdown: the system is told why the session should not end now (it shows the
    // reason beside the program), until AllowShutdown. Both are for the user-interface thread.
    void BlockShutdown(const std::string& reason);
    void AllowShutdown();

    // An exception that reached a window procedure, timer or other toolkit boundary. By default
    // it is shown in an error box with the application title; set OnException to replace that.
    std::function<void(const std::exception&)> OnException;
    void HandleException(const std::exception& e);
    void HandleException();  // for catch (...): an unknown error

    // Used by the forms themselves.
    void SetMainForm(Form* form) { mainForm_ = form; }

private:
    Application();

    std::string title_;
    HWND handle_ = nullptr;
    Form* mainForm_ = nullptr;
    bool terminated_ = false;
    std::string shutdownReason_;
};

inline Application& App() { return Application::Instance(); }

}  // namespace tk
