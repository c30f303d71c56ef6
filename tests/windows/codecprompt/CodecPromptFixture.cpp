// Helpers of the codec prompt and About box tests.
#include "CodecPromptFixture.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

struct FormSearch {
    const std::string* caption;
    HWND found = nullptr;
};

BOOL CALLBACK MatchForm(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<FormSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) != "TkForm") return TRUE;
    char text[256] = {};
    DWORD_PTR got = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &got);
    if (*search->caption != text) return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

HWND FindFormWindow(const std::string& caption) {
    FormSearch search{&caption};
    EnumWindows(MatchForm, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread, &info)) return nullptr;
    return info.hwndFocus;
}

ModalDriver::ModalDriver(std::string caption, std::function<void(HWND)> script)
    : thread_([this, caption = std::move(caption), script = std::move(script)] {
          auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
          HWND window = nullptr;
          while (!(window = FindFormWindow(caption)) && std::chrono::steady_clock::now() < end) Sleep(10);
          if (window) {
              found_ = true;
              script(window);
          }
          done_ = true;
      }) {}

ModalDriver::~ModalDriver() {
    if (thread_.joinable()) thread_.join();
}

bool ModalDriver::Join() {
    if (thread_.joinable()) thread_.join();
    return found_;
}

void PostKey(HWND window, WORD key) {
    const UINT scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
    PostMessageA(window, WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16)));
    PostMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | (3u << 30)));
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<none>";
    return std::string(std::istreambuf_iterator<char>(in), {});
}
