// Helpers for the Windows GUI tests: message pumping, finding and answering modal dialogs,
// dropped-file handles, temporary folders and mouse clicks.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace vt {

// Dispatches this thread's messages for about ms milliseconds.
void PumpFor(int ms);
// Dispatches messages until done() is true (checked between messages) or timeoutMs passed.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

// A visible top-level window of this process of the class (any class for nullptr) that passes
// the test, when one is given; nullptr when there is none.
HWND FindOwnWindow(const char* className, const std::function<bool(HWND)>& test = nullptr);
// The same, polled from a helper thread for up to timeoutMs.
HWND WaitForOwnWindow(const char* className, const std::function<bool(HWND)>& test, int timeoutMs);
// A window's text, asked without hanging on a hung window.
std::string TextOf(HWND hwnd);
// Polls from a helper thread until cond() holds or timeoutMs passed; the last cond().
bool WaitFor(const std::function<bool()>& cond, int timeoutMs = 2000);
// The window that has the keyboard focus on another thread.
HWND FocusOf(DWORD thread);
// Posts a key press (down and up) to a window, as the keyboard would deliver it there.
void PostKey(HWND window, WORD key);

// A visible top-level "#32770" window (message box, dialog) of this process with that title;
// nullptr when there is none.
HWND FindDialog(const std::string& title);

enum class BoxIcon { None, Error, Warning, Information, Question, Other };

// What a dialog showed.
struct SeenDialog {
    std::string title;
    std::string text;   // a message box's text (control 0xFFFF); empty for other dialogs
    BoxIcon icon = BoxIcon::None;
    std::vector<int> buttons;  // ids of the visible push buttons among IDOK..IDCONTINUE
    HWND owner = nullptr;
};
SeenDialog ReadDialog(HWND dialog);

// Answers modal dialogs from a helper thread while the test thread is blocked in one. It waits
// for a visible "#32770" window of this process (with the given title, or any), records what
// it shows, optionally types text into one of its edit fields, and presses a button.
class DialogAnswerer {
public:
    struct Options {
        std::string title;                    // empty: any dialog
        int button = IDOK;                    // the button pressed
        std::optional<std::string> editText = std::nullopt;  // typed into control editId first
        int editId = 100;                     // tk::InputBoxEditId
        int count = 1;                        // dialogs to answer; 0: every one until destroyed
        int delayMs = 0;                      // wait this long before answering each one
        // Runs on the helper thread while the dialog is up, before it is answered (check the
        // state of other windows, read controls). Use SendMessageTimeout for its windows.
        std::function<void(HWND dialog)> inspect = nullptr;
    };

    DialogAnswerer() : DialogAnswerer(Options{}) {}
    explicit DialogAnswerer(Options options);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    std::vector<SeenDialog> Seen() const;
    size_t Count() const;

private:
    void Run();

    Options options_;
    mutable std::mutex mutex_;
    std::vector<SeenDialog> seen_;
    std::set<HWND> answered_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Answers the system's file-open dialog: the names typed into its file-name box (quoted when
// there are several, as a user types a multiple selection), then the button pressed.
DialogAnswerer::Options OpenFileAnswer(const std::vector<std::string>& names, int button = IDOK);

// An HDROP as the shell hands it over with WM_DROPFILES (wide names, from paths in the active
// code page); the receiver frees it with DragFinish.
HDROP MakeHDrop(const std::vector<std::string>& paths, POINT point = {0, 0});

// File names a Western legacy code page cannot hold, as UTF-16 and in the active code page:
// Cyrillic, Japanese, Greek, and an emoji (four bytes in UTF-8, a surrogate pair in UTF-16).
const std::vector<std::wstring>& WideNames();
std::vector<std::string> Names();

// The system's words for an error, without the line break they end in.
std::string SystemText(DWORD error);

// A file's bytes; "<missing>" when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Writes a file of these bytes, replacing any; returns its path.
std::string WriteFileBytes(const std::string& path, const std::string& bytes);
// Removes a file, read-only or not, or a folder with everything in it.
void Remove(const std::string& path);

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }  // ends in "\"
    std::string File(const std::string& name) const { return path_ + name; }
    // Writes a file of these bytes (name relative to the folder); returns its full path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        return WriteFileBytes(File(name), bytes);
    }

private:
    std::string path_;
};

// The windows of this process that the shell gives a taskbar button (and an Alt+Tab entry):
// visible top-level windows that have WS_EX_APPWINDOW, or no owner and no WS_EX_TOOLWINDOW.
std::vector<HWND> TaskbarWindows();

// SendMessageTimeoutA to a window of another thread, giving up after two seconds.
LRESULT SendTo(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0);

// Sends the mouse messages of a click at client point (x, y): move, button down, button up.
void ClickAt(HWND hwnd, int x, int y, bool rightButton = false);

// Points one function that this executable imports at a replacement while it lives (its
// import address table: every call the program makes goes through it).
class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, const void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    bool Patched() const { return !slots_.empty(); }
    const void* Original() const { return original_; }

private:
    std::vector<const void**> slots_;
    const void* original_ = nullptr;
};

// Holds the program's worker as it comes to open a source, until released: stands in for this
// executable's CreateFileA while it lives. Any thread but the one that made the gate counts as
// the worker; it stops before each file it opens for reading and records the one it opens for
// writing. One gate at a time; the worker is let go when it goes.
class WorkerGate {
public:
    WorkerGate();
    ~WorkerGate() { Release(); }
    WorkerGate(const WorkerGate&) = delete;
    WorkerGate& operator=(const WorkerGate&) = delete;

    // Pumps this thread's messages until the worker waits in the gate.
    bool WaitStarted(int timeoutMs = 10000);
    void Release();  // this time and every later one
    int Calls() const;  // sources the worker came to open
    std::string Dest() const;  // the file it opened for writing last

private:
    static HANDLE WINAPI Open(const char* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                              DWORD disposition, DWORD flags, HANDLE templateFile);
    ImportPatch patch_;
};

}  // namespace vt
