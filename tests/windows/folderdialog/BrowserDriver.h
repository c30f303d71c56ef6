// Drives the real shell folder browser from a helper thread while the test thread runs Execute.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "controls/KestFolderDialog.h"

namespace fdtest {

// Runs functions on the thread that created it, even while that thread sits in a modal loop:
// the component is touched only on the thread that runs Execute.
class MainThreadRunner {
public:
    MainThreadRunner();
    ~MainThreadRunner();
    void Run(const std::function<void()>& f) const;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// Shows `watch` every message a window receives before the window handles it (a subclass).
// Make it on the window's thread; it ends with the window or with itself.
class WindowWatch {
public:
    WindowWatch(HWND hwnd, std::function<void(UINT msg, WPARAM wp, LPARAM lp)> watch);
    ~WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_;
    std::function<void(UINT, WPARAM, LPARAM)> watch_;
    WNDPROC original_;
};

// Records what the component reports through its events.
class BrowserEvents {
public:
    explicit BrowserEvents(TKestFolderDialog& dialog);
    // The browse dialog of the n-th opening (1-based) once it is shown; nullptr
    // after a timeout.
    HWND WaitOpened(int n);
    int Opened();
    std::vector<std::string> Folders();  // every OnSelectionChanged folder, in order
    // The BFFM_ENABLEOK values the program asked for on the last change of selection. The
    // shell decides the OK button again once the program has answered, so the button itself
    // shows the shell's rule, not the program's.
    std::vector<LPARAM> OkRequests();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int opened_ = 0;
    HWND dialog_ = nullptr;
    std::vector<std::string> folders_;
    std::unique_ptr<WindowWatch> watch_;
    std::vector<LPARAM> okPending_, okRequests_;
};

// Runs Execute on this thread and `script` on a helper thread. A browser still open once the
// script has ended is cancelled (and reported), so a failing script never hangs the test.
bool ExecuteWith(TKestFolderDialog& dialog, const std::function<void()>& script);

std::string WindowText(HWND hwnd);
std::string StatusText(HWND browser);
// Texts of every child window, in order.
std::vector<std::string> ChildTexts(HWND parent);
// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);

// Lists every folder from the drive down to path. Wine's browser matches its tree items byte for
// byte, and an item holds the folder's access time, which the first listing after a change
// moves on: a folder the test made is listed once before a browser looks at it.
void Settle(const std::string& path);

// Selects a folder by path, as the browser's owner would.
void SelectPath(HWND browser, const std::string& path);
void SelectIdList(HWND browser, LPCITEMIDLIST item);
void PressButton(HWND dialog, int id);  // posted WM_COMMAND
void ClickNewFolder(HWND browser);      // posted BM_CLICK on the button

// A visible "#32770" window of the test thread with that title; with an edit field when
// `prompt` (the name prompt), without one otherwise (the error box). nullptr after a timeout.
HWND WaitDialog(const std::string& title, bool prompt);
// Types the name into the name prompt and confirms it.
bool AnswerPrompt(const std::string& title, const std::string& name);

DWORD TestThreadId();

}  // namespace fdtest
