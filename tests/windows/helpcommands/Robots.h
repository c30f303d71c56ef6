// Robots on helper threads that work the shell's folder browser and the pop-up menu while the
// test thread is inside their modal loops.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/windows/support/TestSupport.h"

// The shell's folder browser: a "#32770" with the folder tree.
bool IsFolderBrowser(HWND window);

// Works the browsers that the test thread opens, one script per browser, in order. Each script
// runs on the helper thread once the next browser is visible; it selects and presses through
// messages only. A browser still up after the scripts (a script that failed) is cancelled so
// the test thread cannot hang in it.
class BrowserRobot {
public:
    using Script = std::function<void(HWND browser)>;
    explicit BrowserRobot(std::vector<Script> scripts);
    ~BrowserRobot();
    BrowserRobot(const BrowserRobot&) = delete;
    BrowserRobot& operator=(const BrowserRobot&) = delete;

    // Waits for the helper; the number of browsers it saw.
    int Join();

    // Script pieces. SelectPath is true once the status line shows the path.
    static bool SelectPath(HWND browser, const std::string& path);
    static bool SelectIdList(HWND browser, LPCITEMIDLIST item);
    static void Press(HWND browser, int id);  // IDOK or IDCANCEL

private:
    std::vector<Script> scripts_;
    std::atomic<int> seen_{0};
    std::thread thread_;
};

// Waits for the pop-up menu of this process, records where it opened, then posts it a key:
// a mnemonic character picks an item, VK_ESCAPE closes it. After the menu, an optional script
// runs on the next visible toolkit window with the given caption (the About box).
class MenuRobot {
public:
    // key: a character ('c') or VK_ESCAPE.
    explicit MenuRobot(WPARAM key, std::string nextCaption = {},
                       std::function<void(HWND window)> next = nullptr);
    ~MenuRobot();
    MenuRobot(const MenuRobot&) = delete;
    MenuRobot& operator=(const MenuRobot&) = delete;

    void Join();
    bool MenuSeen() const { return menuSeen_; }
    RECT MenuRect() const { return menuRect_; }
    bool NextSeen() const { return nextSeen_; }

private:
    WPARAM key_;
    std::string nextCaption_;
    std::function<void(HWND window)> next_;
    std::atomic<bool> menuSeen_{false};
    std::atomic<bool> nextSeen_{false};
    RECT menuRect_{};
    std::thread thread_;
};
