// Robots for the folder browser and the pop-up menu.
#include "Robots.h"

#include "controls/ShortenPath.h"

using vt::FindOwnWindow;
using vt::TextOf;
using vt::WaitForOwnWindow;

bool IsFolderBrowser(HWND window) { return GetDlgItem(window, 0x3741) != nullptr; }

// --- BrowserRobot ---------------------------------------------------------------------------

BrowserRobot::BrowserRobot(std::vector<Script> scripts) : scripts_(std::move(scripts)) {
    thread_ = std::thread([this] {
        HWND previous = nullptr;
        for (Script& script : scripts_) {
            auto fresh = [previous](HWND w) { return w != previous && IsFolderBrowser(w); };
            HWND browser = WaitForOwnWindow("#32770", fresh, 10000);
            if (!browser) break;
            ++seen_;
            Sleep(50);  // let the browser's own first selection settle
            script(browser);
            // The next browser is another window; wait for this one to go first.
            for (int i = 0; i < 500 && IsWindow(browser); ++i) Sleep(10);
            previous = browser;
        }
        // Whatever is still up was not meant to be: cancel it.
        for (int i = 0; i < 30; ++i) {
            if (HWND left = FindOwnWindow("#32770", IsFolderBrowser)) Press(left, IDCANCEL);
            Sleep(10);
        }
    });
}

BrowserRobot::~BrowserRobot() {
    if (thread_.joinable()) thread_.join();
}

int BrowserRobot::Join() {
    if (thread_.joinable()) thread_.join();
    return seen_;
}

bool BrowserRobot::SelectPath(HWND browser, const std::string& path) {
    // Wine's browser matches the parsed path against its tree byte for byte, access times
    // included, and now and then selects nothing; the status line tells when it took.
    const std::string shown = ShortenPath(path, 50);
    for (int attempt = 0; attempt < 5; ++attempt) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()),
                            SMTO_ABORTIFHUNG, 5000, &result);
        if (TextOf(GetDlgItem(browser, 0x3743)) == shown) return true;
        Sleep(100);
    }
    return false;
}

bool BrowserRobot::SelectIdList(HWND browser, LPCITEMIDLIST item) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(browser, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(item),
                               SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

void BrowserRobot::Press(HWND browser, int id) {
    PostMessageA(browser, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(browser, id)));
}

// --- MenuRobot ------------------------------------------------------------------------------

MenuRobot::MenuRobot(WPARAM key, std::string nextCaption, std::function<void(HWND window)> next)
    : key_(key), nextCaption_(std::move(nextCaption)), next_(std::move(next)) {
    thread_ = std::thread([this] {
        HWND menu = WaitForOwnWindow("#32768", nullptr, 10000);
        if (!menu) return;
        GetWindowRect(menu, &menuRect_);
        menuSeen_ = true;
        if (key_ == VK_ESCAPE) {
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        } else {
            PostMessageA(menu, WM_CHAR, key_, 0);
        }
        // A menu that ignored the key would hold the test thread: cancel it.
        for (int i = 0; i < 300 && IsWindowVisible(menu); ++i) Sleep(10);
        if (IsWindowVisible(menu)) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        if (nextCaption_.empty()) return;

        const std::string caption = nextCaption_;
        HWND next = WaitForOwnWindow(nullptr, [&caption](HWND w) { return TextOf(w) == caption; }, 10000);
        if (!next) return;
        nextSeen_ = true;
        if (next_) next_(next);
    });
}

MenuRobot::~MenuRobot() {
    if (thread_.joinable()) thread_.join();
}

void MenuRobot::Join() {
    if (thread_.joinable()) thread_.join();
}
