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

    // The hidden application window: owner of message boxes and of shell requests, and owner of
    // every form (so forms do not get taskbar buttons of their own unless they ask for one).
    // Created on demand.
    HWND Handle();

    // The form passed to Run; closing it ends the loop. nullptr before Run.
    Form* MainForm() const { return mainForm_; }

    // Shows mainForm and runs the message loop until the main form closes or Terminate is called.
    void Run(Form& mainForm);

    // Dispatches every message that is waiting, then returns (no waiting).
    void ProcessMessages();

    // Ends Run (posts WM_QUIT); modal loops also end.
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The whole application to its taskbar button: minimizes the main form.
    void Minimize();

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
};

inline Application& App() { return Application::Instance(); }

// Dispatches messages for about ms milliseconds (tests: let timers and posted messages run).
void PumpMessagesFor(int ms);

}  // namespace tk
