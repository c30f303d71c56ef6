// The main window, the codec prompt and the About box made in-process, with the program folder
// in a fresh temporary folder and the shell door recording instead of opening anything.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/AboutUnit.h"
#include "app/Globals.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "tests/windows/support/TestSupport.h"

struct ShellRequest {
    HWND owner = nullptr;
    bool hasVerb = false;
    std::string file;
    bool hasParameters = false;
    std::string parameters;
    bool hasDirectory = false;
    int show = 0;
};

inline std::vector<ShellRequest> shellRequests;

inline HINSTANCE RecordShellOpen(HWND owner, const char* verb, const char* file, const char* parameters,
                                 const char* directory, int show) {
    shellRequests.push_back({owner, verb != nullptr, file ? file : "", parameters != nullptr,
                             parameters ? parameters : "", directory != nullptr, show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));  // what success looks like
}

// A visible toolkit window of this process with exactly this caption; nullptr when none.
HWND FindFormWindow(const std::string& caption);

// The window that has the keyboard focus on another thread.
HWND FocusOf(DWORD thread);

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

// Posts a key press (down and up) to a window, as the keyboard would deliver it there.
void PostKey(HWND window, WORD key);

class CodecPromptTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramFolderOverride(program.Path());
        shellRequests.clear();
        ShellOpen = &RecordShellOpen;
        uiThread = GetCurrentThreadId();
    }

    void TearDown() override {
        aboutForm.reset();
        AboutForm = nullptr;
        form3.reset();
        Form3 = nullptr;
        form1.reset();
        Form1 = nullptr;
        SetProgramFolderOverride("");
        ShellOpen = &SystemShellOpen;
    }

    // The three windows in the program's order; the main window shown, its start-up timer
    // running only when asked for.
    void Create(bool timer = false) {
        form1 = std::make_unique<TForm1>();
        Form1 = form1.get();
        if (!timer) form1->Timer1->SetEnabled(false);
        form3 = std::make_unique<TForm3>();
        Form3 = form3.get();
        form3->OnShow = [this](tk::Component*) { ++promptShows; };
        aboutForm = std::make_unique<TAboutForm>();
        AboutForm = aboutForm.get();
        form1->Show();
        vt::PumpFor(30);
    }

    std::string Marker() const { return program.File("done.txt"); }

    vt::TempFolder program;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TAboutForm> aboutForm;
    DWORD uiThread = 0;
    int promptShows = 0;
};

// The file's bytes; "<none>" when it cannot be read.
std::string FileBytes(const std::string& path);
