// The unpacked release package, run as a user runs it: the program opens its main window, gets
// through the first-run prompt and closes, keeping its files beside itself; the console converter
// converts a file byte for byte. check-package passes the unpacked folder in VEXLAR_PACKAGE_DIR.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string PackageDir() {
    const char* dir = std::getenv("VEXLAR_PACKAGE_DIR");
    return dir ? std::string(dir) + "\\" : std::string();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A started program, ended and released when the test is over, whatever it asserted.
class Process {
public:
    Process(std::string commandLine, const std::string& folder) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &si, &info_))
            info_ = {};
    }
    ~Process() {
        if (!info_.hProcess) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    // The exit code, or STILL_ACTIVE when the program has not ended within the time.
    DWORD WaitForExit(DWORD milliseconds) const {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0)
            GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_{};
};

struct WindowSearch {
    DWORD process;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[128] = {};
    GetWindowTextA(window, title, sizeof title);
    // The program's hidden application window shares the title and has no size: skip it.
    RECT client{};
    GetClientRect(window, &client);
    if (owner != search->process || !IsWindowVisible(window) || IsRectEmpty(&client) ||
        std::string(title) != search->title)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The shown top-level window of the process with this title, waited for up to ten seconds.
HWND WaitForWindow(const Process& process, const char* title) {
    for (int i = 0; i < 200; ++i) {
        WindowSearch search{process.Id(), title, nullptr};
        EnumWindows(MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(50);
    }
    return nullptr;
}

// A folder of the test's own, empty, removed with what it holds at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "vexlar-package-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        for (const char* name : {"clip.gvi", "clip.AVI"}) DeleteFileA((path_ + name).c_str());
        RemoveDirectoryA(path_.c_str());
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

TEST(Package, ProgramOpensItsMainWindowAndKeepsItsFilesBesideItself) {
    const std::string dir = PackageDir();
    ASSERT_FALSE(dir.empty()) << "VEXLAR_PACKAGE_DIR is not set";
    ASSERT_FALSE(Exists(dir + "set.txt"));
    ASSERT_FALSE(Exists(dir + "done.txt"));
    // Started from another folder: its files must go beside the program, not into this one.
    ScratchFolder elsewhere;
    Process program("\"" + dir + "VexlarGVIConverter.exe\"", elsewhere.Path());
    ASSERT_TRUE(program.Started());

    HWND main = WaitForWindow(program, "Vexlar GVI Converter 1.4");
    ASSERT_NE(main, nullptr) << "no main window";
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 577);
    EXPECT_EQ(client.bottom, 367);

    // The first start shows the codec prompt; its close box dismisses it without the browser.
    HWND prompt = WaitForWindow(program, "Vexlar GVI Converter Installation");
    ASSERT_NE(prompt, nullptr) << "no codec prompt on the first start";
    PostMessageA(prompt, WM_CLOSE, 0, 0);
    main = WaitForWindow(program, "Vexlar GVI Converter 1.4");
    ASSERT_NE(main, nullptr) << "the main window did not come back after the prompt";

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
    EXPECT_TRUE(Exists(dir + "set.txt"));
    EXPECT_EQ(ReadAll(dir + "done.txt"), "Done\r\n");
    EXPECT_FALSE(Exists(elsewhere.Path() + "set.txt"));
    DeleteFileA((dir + "set.txt").c_str());
    DeleteFileA((dir + "done.txt").c_str());
}

TEST(Package, ConsoleConverterConvertsByteForByte) {
    const std::string dir = PackageDir();
    ASSERT_FALSE(dir.empty()) << "VEXLAR_PACKAGE_DIR is not set";
    ScratchFolder folder;
    // RIFF header, the 52-byte block with its signature at bytes 20 to 23, then the AVI body.
    std::string body = "AVI LIST";
    for (int i = 0; i < 70000; ++i) body += static_cast<char>(i * 7);
    const std::string block = std::string(8, '\0') + "goog" + std::string(40, '\0');
    auto riff = [](std::size_t length) {
        std::string field(4, '\0');
        for (int i = 0; i < 4; ++i) field[i] = static_cast<char>(length >> (8 * i));
        return "RIFF" + field;
    };
    std::ofstream(folder.Path() + "clip.gvi", std::ios::binary)
        << riff(body.size() + block.size()) + body.substr(0, 4) + block + body.substr(4);

    Process cli("\"" + dir + "gvi2avi.exe\" -q clip.gvi", folder.Path());
    ASSERT_TRUE(cli.Started());
    EXPECT_EQ(cli.WaitForExit(20000), 0u);
    EXPECT_EQ(ReadAll(folder.Path() + "clip.AVI"), riff(body.size()) + body);
}

}  // namespace
