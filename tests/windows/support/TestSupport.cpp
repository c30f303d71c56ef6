// Helpers for the Windows GUI tests.
#include "tests/windows/support/TestSupport.h"

#include "platform/CodePage.h"

#include <shlobj.h>

#include <chrono>
#include <cstring>

namespace vt {

namespace {

using Clock = std::chrono::steady_clock;

void DispatchWaiting() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

}  // namespace

std::string TextOf(HWND hwnd) {
    // WM_GETTEXT to another thread's window waits for it, so a hung window cannot hang us.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
    std::string text(length + 1, '\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &got);
    text.resize(got);
    return text;
}

namespace {

struct DialogSearch {
    const std::string* title;  // nullptr: any
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<DialogSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd) || ClassOf(hwnd) != "#32770") return TRUE;
    if (search->title && TextOf(hwnd) != *search->title) return TRUE;
    search->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Dialogs(const std::string* title) {
    DialogSearch search{title, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct IconSearch {
    HICON icon = nullptr;
};

BOOL CALLBACK FindIconStatic(HWND child, LPARAM lp) {
    if (ClassOf(child) != "Static") return TRUE;
    LONG style = GetWindowLongA(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) != SS_ICON) return TRUE;
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
    reinterpret_cast<IconSearch*>(lp)->icon = reinterpret_cast<HICON>(icon);
    return icon ? FALSE : TRUE;
}

struct OwnWindowSearch {
    const char* className;
    const std::function<bool(HWND)>* test;
    HWND found;
};

BOOL CALLBACK MatchOwnWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<OwnWindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
    if (search->className && ClassOf(hwnd) != search->className) return TRUE;
    if (*search->test && !(*search->test)(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

HWND FindOwnWindow(const char* className, const std::function<bool(HWND)>& test) {
    OwnWindowSearch search{className, &test, nullptr};
    EnumWindows(MatchOwnWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForOwnWindow(const char* className, const std::function<bool(HWND)>& test, int timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindOwnWindow(className, test)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitFor(const std::function<bool()>& cond, int timeoutMs) {
    auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
        if (cond()) return true;
        Sleep(10);
    }
    return cond();
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread, &info)) return nullptr;
    return info.hwndFocus;
}

void PostKey(HWND window, WORD key) {
    const UINT scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
    PostMessageA(window, WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16)));
    PostMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | (3u << 30)));
}

std::string SystemText(DWORD error) {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string s = text ? text : "";
    LocalFree(text);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

std::string ReadFileBytes(const std::string& path) {
    std::string bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(f);
    return bytes;
}

void PumpFor(int ms) {
    auto end = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        DispatchWaiting();
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        DispatchWaiting();
        if (done()) return true;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<long long>(left, 10)), QS_ALLINPUT);
    }
}

HWND FindDialog(const std::string& title) {
    std::vector<HWND> found = Dialogs(&title);
    return found.empty() ? nullptr : found.front();
}

SeenDialog ReadDialog(HWND dialog) {
    SeenDialog seen;
    seen.title = TextOf(dialog);
    seen.owner = GetWindow(dialog, GW_OWNER);
    if (HWND text = GetDlgItem(dialog, 0xFFFF)) seen.text = TextOf(text);

    IconSearch search;
    EnumChildWindows(dialog, FindIconStatic, reinterpret_cast<LPARAM>(&search));
    if (search.icon) {
        struct Known { LPCSTR id; BoxIcon icon; };
        const Known known[] = {{IDI_HAND, BoxIcon::Error}, {IDI_EXCLAMATION, BoxIcon::Warning},
                               {IDI_ASTERISK, BoxIcon::Information}, {IDI_QUESTION, BoxIcon::Question}};
        seen.icon = BoxIcon::Other;
        for (const Known& k : known) {
            if (LoadIconA(nullptr, k.id) == search.icon) seen.icon = k.icon;
        }
    }
    for (int id = IDOK; id <= IDCONTINUE; ++id) {
        HWND button = GetDlgItem(dialog, id);
        if (button && IsWindowVisible(button) && ClassOf(button) == "Button") seen.buttons.push_back(id);
    }
    return seen;
}

DialogAnswerer::DialogAnswerer(Options options) : options_(std::move(options)) {
    thread_ = std::thread([this] { Run(); });
}

DialogAnswerer::~DialogAnswerer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

std::vector<SeenDialog> DialogAnswerer::Seen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

size_t DialogAnswerer::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_.size();
}

void DialogAnswerer::Run() {
    const std::string* title = options_.title.empty() ? nullptr : &options_.title;
    while (!stop_) {
        if (options_.count > 0 && Count() >= static_cast<size_t>(options_.count)) return;
        for (HWND dialog : Dialogs(title)) {
            if (answered_.count(dialog)) continue;
            answered_.insert(dialog);
            if (options_.delayMs > 0) Sleep(static_cast<DWORD>(options_.delayMs));
            SeenDialog seen = ReadDialog(dialog);
            if (options_.inspect) options_.inspect(dialog);
            if (options_.editText) {
                HWND edit = GetDlgItem(dialog, options_.editId);
                DWORD_PTR ignored = 0;
                SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(options_.editText->c_str()),
                                    SMTO_ABORTIFHUNG, 2000, &ignored);
            }
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(options_.button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, options_.button)));
            std::lock_guard<std::mutex> lock(mutex_);
            seen_.push_back(std::move(seen));
            break;
        }
        Sleep(10);
    }
}

DialogAnswerer::Options OpenFileAnswer(const std::vector<std::string>& names, int button) {
    std::string typed = names.size() == 1 ? names.front() : std::string();
    for (size_t i = 0; names.size() > 1 && i < names.size(); ++i) {
        if (i > 0) typed.push_back(' ');
        typed.push_back('"');
        typed.append(names[i]);
        typed.push_back('"');
    }
    DialogAnswerer::Options options;
    options.title = "Open";
    options.button = button;
    options.editText = typed;
    options.editId = 0x47C;  // cmb13: the explorer-style dialog's file-name box
    return options;
}

HDROP MakeHDrop(const std::vector<std::string>& paths, POINT point) {
    std::wstring names;
    for (const std::string& p : paths) names += platform::Widen(p) + L'\0';
    // The list ends in a second zero, also when it is empty: the shell's readers look past the
    // first one.
    names.append(paths.empty() ? 2 : 1, L'\0');
    const size_t bytes = names.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
    if (!memory) return nullptr;
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->pt = point;
    header->fNC = FALSE;
    header->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), bytes);
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

const std::vector<std::wstring>& WideNames() {
    static const std::vector<std::wstring> names = {
        L"\u0412\u0438\u0434\u0435\u043E.gvi",                           // Видео.gvi
        L"\u65E5\u672C\u8A9E\u306E\u30D3\u30C7\u30AA.gvi",             // 日本語のビデオ.gvi
        L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC.gvi",      // Ελληνικά.gvi
        L"\U0001F3AC clip.gvi",                                             // 🎬 clip.gvi
    };
    return names;
}

std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const std::wstring& w : WideNames()) names.push_back(platform::Narrow(w));
    return names;
}

namespace {

void RemoveTree(const std::string& folder) {  // folder ends in "\"
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempFolder::TempFolder() {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(sizeof(base), base);
    static std::atomic<unsigned> counter{0};
    for (;;) {
        std::string candidate = std::string(base) + "vexlar_test_" + std::to_string(GetCurrentProcessId()) + "_" +
                                std::to_string(GetTickCount()) + "_" + std::to_string(++counter);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate + "\\";
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            path_ = candidate + "\\";  // tests will fail on their own files
            return;
        }
    }
}

TempFolder::~TempFolder() {
    if (!path_.empty()) RemoveTree(path_);
}

void Remove(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileA(path.c_str())) RemoveTree(path + "\\");
}

std::string WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    return path;
}

LRESULT SendTo(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<LRESULT>(result);
}

void ClickAt(HWND hwnd, int x, int y, bool rightButton) {
    LPARAM at = MAKELPARAM(x, y);
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, at);
    if (rightButton) {
        SendMessageA(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, at);
        SendMessageA(hwnd, WM_RBUTTONUP, 0, at);
    } else {
        SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(hwnd, WM_LBUTTONUP, 0, at);
    }
}

namespace {
BOOL CALLBACK CollectTaskbarWindow(HWND hwnd, LPARAM lp) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
    const LONG_PTR ex = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    if ((ex & WS_EX_APPWINDOW) || (!GetWindow(hwnd, GW_OWNER) && !(ex & WS_EX_TOOLWINDOW)))
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> TaskbarWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectTaskbarWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

ImportPatch::ImportPatch(const char* dll, const char* function, const void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0 || !d->OriginalFirstThunk) continue;
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                slots_.push_back(reinterpret_cast<const void**>(&slot->u1.Function));
        }
    }
    for (const void** s : slots_) {
        DWORD protection = 0;
        VirtualProtect(s, sizeof *s, PAGE_READWRITE, &protection);
        original_ = *s;
        *s = replacement;
        VirtualProtect(s, sizeof *s, protection, &protection);
    }
}

ImportPatch::~ImportPatch() {
    for (const void** s : slots_) {
        DWORD protection = 0;
        VirtualProtect(s, sizeof *s, PAGE_READWRITE, &protection);
        *s = original_;
        VirtualProtect(s, sizeof *s, protection, &protection);
    }
}

namespace {

// The gate's state outlives each gate: a worker let go may still be on its way out of Open.
struct GateState {
    DWORD maker = 0;
    decltype(&CreateFileA) open = nullptr;
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> calls{0};
    std::mutex lock;
    std::string dest;
};
GateState& Gate() {
    static GateState* state = new GateState;
    return *state;
}

}  // namespace

WorkerGate::WorkerGate() : patch_("kernel32.dll", "CreateFileA", reinterpret_cast<const void*>(&Open)) {
    GateState& g = Gate();
    g.maker = GetCurrentThreadId();
    g.open = reinterpret_cast<decltype(&CreateFileA)>(const_cast<void*>(patch_.Original()));
    ResetEvent(g.started);
    ResetEvent(g.release);
    g.calls = 0;
    std::lock_guard<std::mutex> hold(g.lock);
    g.dest.clear();
}

HANDLE WorkerGate::Open(const char* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                        DWORD disposition, DWORD flags, HANDLE templateFile) {
    GateState& g = Gate();
    if (GetCurrentThreadId() != g.maker && (access & GENERIC_WRITE)) {
        std::lock_guard<std::mutex> hold(g.lock);
        g.dest = path;
    } else if (GetCurrentThreadId() != g.maker) {  // a source: wait here
        ++g.calls;
        SetEvent(g.started);
        WaitForSingleObject(g.release, 60000);
        ResetEvent(g.started);
    }
    return g.open(path, access, share, security, disposition, flags, templateFile);
}

bool WorkerGate::WaitStarted(int timeoutMs) {
    return PumpUntil([] { return WaitForSingleObject(Gate().started, 0) == WAIT_OBJECT_0; }, timeoutMs);
}

void WorkerGate::Release() { SetEvent(Gate().release); }

int WorkerGate::Calls() const { return Gate().calls; }

std::string WorkerGate::Dest() const {
    std::lock_guard<std::mutex> hold(Gate().lock);
    return Gate().dest;
}

}  // namespace vt
