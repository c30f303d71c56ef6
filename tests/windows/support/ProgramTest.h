// The program's windows made in-process by the main block's own creation, with the test
// program's own folder as the program folder and the shell requests recorded instead of made.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/ProgramWindows.h"
#include "controls/ImageButton3.h"
#include "tests/windows/support/TestSupport.h"

// The test program's folder, which is the program folder: the files the program keeps there
// are cleared before and after each test. CTest runs one test program per build folder.
class ProgramFiles {
public:
    ProgramFiles();
    ~ProgramFiles() { Clear(); }

    const std::string& Path() const { return path_; }  // ends in "\"
    std::string File(const std::string& name) const { return path_ + name; }
    std::string Write(const std::string& name, const std::string& bytes) const {
        return vt::WriteFileBytes(File(name), bytes);
    }

private:
    void Clear() const;
    std::string path_;
};

// A request the program made of the shell (ShellExecuteA).
struct ShellCall {
    HWND owner = nullptr;
    bool hasVerb = false;
    std::string file;
    bool hasParameters = false;
    std::string parameters;
    bool hasDirectory = false;
    int show = 0;
};

// Stands in for ShellExecuteA while it lives: each request is recorded and answered as a
// success would be.
class ShellRecorder {
public:
    ShellRecorder();
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    const std::vector<ShellCall>& Calls() const { return calls_; }

private:
    static HINSTANCE WINAPI Record(HWND owner, const char* verb, const char* file, const char* parameters,
                                   const char* directory, int show);
    static inline std::vector<ShellCall> calls_;
    vt::ImportPatch patch_;
};

// Watches the program's requests to the system about the end of the session: the reason it
// gives for refusing it (ShutdownBlockReasonCreate) until it takes it back (...Destroy). Wine
// keeps no reason and shows none, so the requests themselves are what can be checked.
class ShutdownReasonRecorder {
public:
    ShutdownReasonRecorder();
    ShutdownReasonRecorder(const ShutdownReasonRecorder&) = delete;
    ShutdownReasonRecorder& operator=(const ShutdownReasonRecorder&) = delete;

    // The reason given last and not taken back ("" when none), and the window it was given for.
    const std::string& Reason() const { return reason_; }
    HWND Window() const { return window_; }

private:
    static BOOL WINAPI Create(HWND window, LPCWSTR reason);
    static BOOL WINAPI Destroy(HWND window);
    static inline std::string reason_;
    static inline HWND window_ = nullptr;
    vt::ImportPatch create_, destroy_;
};

// Runs a script on a helper thread against a modal window of the test thread: waits (up to ten
// seconds) for a visible toolkit window with the caption, then calls script(window) there. The
// script sees windows only through their handles and messages.
class ModalDriver {
public:
    ModalDriver(std::string caption, std::function<void(HWND)> script);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // Waits for the helper; true when it found the window and ran the script.
    bool Join();
    bool Done() const { return done_; }

private:
    std::atomic<bool> done_{false};
    std::atomic<bool> found_{false};
    std::thread thread_;
};

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the four windows as the main block does (the main window reads set.txt from the
    // program folder) and shows the main window. Its start-up timer, whose first-run prompt
    // has tests of its own, is stopped unless asked for.
    TForm1& Create(bool show = true, bool startupTimer = false);
    // Destroys them as the end of the run does.
    void Destroy();

    HWND Window() const { return form->Handle(); }
    // Files dropped on the main window by the shell.
    void Drop(const std::vector<std::string>& paths);
    // One column of the main window's source list, top to bottom.
    std::vector<std::string> Rows(int column = 0) const;
    // Selects and focuses a row of the source list, as a click on it does.
    void SelectRow(int row) const;
    const std::vector<ShellCall>& ShellCalls() const { return shell_.Calls(); }
    // The reason the program now gives the system for refusing the end of the session, "" when
    // none; given for the application window, which has the taskbar button.
    std::string ShutdownReason() const;
    // A click in the middle of a windowed control, as the mouse gives it.
    static void Click(tk::WinControl& control);

    ProgramFiles program;
    TForm1* form = nullptr;
    bool timerEnabledAtCreation = false;

private:
    ShellRecorder shell_;
    ShutdownReasonRecorder shutdown_;
    std::unique_ptr<TProgramWindows> windows_;
};
