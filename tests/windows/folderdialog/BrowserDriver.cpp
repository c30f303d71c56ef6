// Drives the real shell folder browser from a helper thread while the test thread runs Execute.
#include "BrowserDriver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>

#include "toolkit/Dialogs.h"

namespace fdtest {

namespace {

constexpr auto kTimeout = std::chrono::seconds(10);
DWORD testThread = 0;

std::string ClassName(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

struct DialogSearch {
    std::string title;
    bool prompt = false;
    bool any = false;  // every dialog of the thread, whatever its title
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<DialogSearch*>(lp);
    if (ClassName(hwnd) != "#32770" || !IsWindowVisible(hwnd)) return TRUE;
    if (!search->any) {
        if (WindowText(hwnd) != search->title) return TRUE;
        bool hasEdit = GetDlgItem(hwnd, tk::InputBoxEditId) != nullptr &&
                       ClassName(GetDlgItem(hwnd, tk::InputBoxEditId)) == "Edit";
        if (hasEdit != search->prompt) return TRUE;
    }
    search->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectChildText(HWND hwnd, LPARAM lp) {
    reinterpret_cast<std::vector<std::string>*>(lp)->push_back(WindowText(hwnd));
    return TRUE;
}

}  // namespace

DWORD TestThreadId() { return testThread; }

MainThreadRunner::MainThreadRunner() {
    static const char* kClass = "FolderDialogTestRunner";
    WNDCLASSA wc{};
    wc.lpfnWndProc = &MainThreadRunner::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    hwnd_ = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

MainThreadRunner::~MainThreadRunner() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void MainThreadRunner::Run(const std::function<void()>& f) const {
    SendMessageA(hwnd_, WM_APP, 0, reinterpret_cast<LPARAM>(&f));
}

LRESULT CALLBACK MainThreadRunner::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) {
        (*reinterpret_cast<const std::function<void()>*>(lp))();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

const char kWatchProperty[] = "fdtest.WindowWatch";

WindowWatch::WindowWatch(HWND hwnd, std::function<void(UINT, WPARAM, LPARAM)> watch)
    : hwnd_(hwnd), watch_(std::move(watch)) {
    SetPropA(hwnd, kWatchProperty, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowWatch::Proc)));
}

WindowWatch::~WindowWatch() {
    if (IsWindow(hwnd_) && GetPropA(hwnd_, kWatchProperty) == this) {
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        RemovePropA(hwnd_, kWatchProperty);
    }
}

LRESULT CALLBACK WindowWatch::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<WindowWatch*>(GetPropA(hwnd, kWatchProperty));
    self->watch_(msg, wp, lp);
    WNDPROC original = self->original_;
    if (msg == WM_NCDESTROY) RemovePropA(hwnd, kWatchProperty);
    return CallWindowProcA(original, hwnd, msg, wp, lp);
}

BrowserEvents::BrowserEvents(TKestFolderDialog& dialog) {
    dialog.OnInitialized = [this](TKestFolderDialog*, HWND hwnd) {
        // The shell reports a new selection to the program from inside its tree's notice, and
        // asks for its own OK state once the program has answered.
        watch_ = std::make_unique<WindowWatch>(hwnd, [this](UINT msg, WPARAM, LPARAM lp) {
            std::lock_guard<std::mutex> lock(mutex_);
            auto* notice = reinterpret_cast<const NMHDR*>(lp);
            if (msg == WM_NOTIFY && (notice->code == TVN_SELCHANGEDA || notice->code == TVN_SELCHANGEDW))
                okPending_.clear();
            if (msg == BFFM_ENABLEOK) okPending_.push_back(lp);
        });
        std::lock_guard<std::mutex> lock(mutex_);
        ++opened_;
        dialog_ = hwnd;
        changed_.notify_all();
    };
    dialog.OnSelectionChanged = [this](TKestFolderDialog*, HWND, LPCITEMIDLIST, const std::string& folder) {
        std::lock_guard<std::mutex> lock(mutex_);
        folders_.push_back(folder);
        okRequests_ = okPending_;
    };
}

HWND BrowserEvents::WaitOpened(int n) {
    HWND dialog = nullptr;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!changed_.wait_for(lock, kTimeout, [&] { return opened_ >= n; })) return nullptr;
        if (opened_ != n) return nullptr;
        dialog = dialog_;
    }
    // The browser reports itself ready before it is shown; a user acts on a visible one.
    auto until = std::chrono::steady_clock::now() + kTimeout;
    while (!IsWindowVisible(dialog)) {
        if (std::chrono::steady_clock::now() > until) return nullptr;
        Sleep(10);
    }
    return dialog;
}

int BrowserEvents::Opened() {
    std::lock_guard<std::mutex> lock(mutex_);
    return opened_;
}

std::vector<std::string> BrowserEvents::Folders() {
    std::lock_guard<std::mutex> lock(mutex_);
    return folders_;
}

std::vector<LPARAM> BrowserEvents::OkRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return okRequests_;
}

bool ExecuteWith(TKestFolderDialog& dialog, const std::function<void()>& script) {
    testThread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::thread helper([&] {
        script();
        // Whatever the script left open is cancelled, after a grace period for the last click.
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done && std::chrono::steady_clock::now() < until) Sleep(20);
        if (done) return;
        ADD_FAILURE() << "a dialog was left open";
        while (!done) {
            DialogSearch all;
            all.any = true;
            EnumThreadWindows(testThread, CollectDialog, reinterpret_cast<LPARAM>(&all));
            for (HWND h : all.found) PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
            Sleep(100);
        }
    });
    bool result = dialog.Execute();
    done = true;
    helper.join();
    return result;
}

std::string WindowText(HWND hwnd) {
    char text[1024] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string StatusText(HWND browser) {
    char text[1024] = {};
    GetDlgItemTextA(browser, 0x3743, text, sizeof text);
    return text;
}

std::vector<std::string> ChildTexts(HWND parent) {
    std::vector<std::string> texts;
    EnumChildWindows(parent, CollectChildText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

RECT RectInParent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Settle(const std::string& path) {
    for (size_t end = path.find('\\'); ; end = path.find('\\', end + 1)) {
        std::string level = path.substr(0, end == std::string::npos ? path.size() : end);
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((level + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            while (FindNextFileA(find, &data)) {}
            FindClose(find);
        }
        if (end == std::string::npos) break;
    }
}

void SelectPath(HWND browser, const std::string& path) {
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
}

void SelectIdList(HWND browser, LPCITEMIDLIST item) {
    SendMessageA(browser, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(item));
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ClickNewFolder(HWND browser) {
    PostMessageA(GetDlgItem(browser, kNewFolderButtonId), BM_CLICK, 0, 0);
}

HWND WaitDialog(const std::string& title, bool prompt) {
    auto until = std::chrono::steady_clock::now() + kTimeout;
    while (std::chrono::steady_clock::now() < until) {
        DialogSearch search;
        search.title = title;
        search.prompt = prompt;
        EnumThreadWindows(testThread, CollectDialog, reinterpret_cast<LPARAM>(&search));
        if (!search.found.empty()) return search.found.front();
        Sleep(20);
    }
    return nullptr;
}

bool AnswerPrompt(const std::string& title, const std::string& name) {
    HWND box = WaitDialog(title, true);
    if (!box) return false;
    SetDlgItemTextA(box, tk::InputBoxEditId, name.c_str());
    PressButton(box, IDOK);
    return true;
}

}  // namespace fdtest
