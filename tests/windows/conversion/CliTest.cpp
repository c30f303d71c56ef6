// gvi2avi.exe as a Windows console program: exit status, messages, output names.
#include "platform/FolderWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

#include "platform/CodePage.h"
#include "tests/windows/support/TestSupport.h"

namespace {

// The build tree's Unix path as Wine sees it (drive Z: is the root).
std::string ExePath() {
    std::string p = GVI2AVI_PATH;
    if (!p.empty() && p[0] == '/') p = "Z:" + p;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

struct Result {
    DWORD code = 999;
    std::string err;
};

// `whileRunning` is called once the program has started.
Result RunCli(const std::string& args, const std::string& errFile,
              const std::function<void()>& whileRunning = {}) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE err = CreateFileA(errFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0,
                             nullptr);
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &sa, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nul;
    si.hStdOutput = nul;
    si.hStdError = err;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + ExePath() + "\" " + args;
    Result r;
    if (CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        if (whileRunning) whileRunning();
        if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 999);
        GetExitCodeProcess(pi.hProcess, &r.code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(err);
    CloseHandle(nul);
    HANDLE in = CreateFileA(errFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
    char buf[4096];
    DWORD n = 0;
    if (in != INVALID_HANDLE_VALUE) {
        ReadFile(in, buf, sizeof buf, &n, nullptr);
        CloseHandle(in);
    }
    r.err.assign(buf, n);
    DeleteFileA(errFile.c_str());
    return r;
}

BOOL WINAPI IgnoreCtrlC(DWORD event) { return event == CTRL_C_EVENT; }

// A console without a window, shared with the programs this test starts, so that its Ctrl+C
// reaches them; this process ignores it. The console is borrowed from a command prompt started
// with no window (a console of our own would open one). It stays for the rest of this process:
// without a console, every console program started later would open a window of its own.
class SharedConsole {
public:
    SharedConsole() {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::string cmd = "cmd.exe /k";
        FreeConsole();
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                            nullptr, &si, &pi))
            return;
        for (int i = 0; i < 500 && !attached_; ++i) {
            attached_ = AttachConsole(pi.dwProcessId);
            if (!attached_) Sleep(10);
        }
        TerminateProcess(pi.hProcess, 0);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        SetConsoleCtrlHandler(IgnoreCtrlC, TRUE);
    }
    ~SharedConsole() { SetConsoleCtrlHandler(IgnoreCtrlC, FALSE); }
    bool Attached() const { return attached_; }

private:
    bool attached_ = false;
};

TEST(WinCli, ConvertsReportsAndExitsWithTheRightStatus) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string dir = std::string(base) + "vexlar-cli-" + std::to_string(GetCurrentProcessId()) + "\\";
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    std::string good(100, 'g');
    good.replace(4, 4, std::string("\x5c\0\0\0", 4));  // complete: 92 bytes after the field
    good.replace(20, 4, "goog");
    vt::WriteFileBytes(dir + "clip.gvi", good);
    vt::WriteFileBytes(dir + "bad.gvi", std::string(100, 'b'));
    vt::WriteFileBytes(dir + "clip.AVI", "mine");

    // The folder goes without its trailing "\": before a quote it would escape the quote.
    // Sources are named as typed, with the reason, in one separator style.
    std::string folder = dir.substr(0, dir.size() - 1);
    std::string slashed = dir;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    Result r = RunCli("-o \"" + folder + "\" \"" + dir + "clip.gvi\" \"" + slashed + "bad.gvi\" missing.gvi",
                      dir + "err.txt");
    EXPECT_EQ(r.code, 1u);
    EXPECT_EQ(r.err, "gvi2avi: Your GVI file \"" + dir + "bad.gvi\" is corrupted.\r\n"
                     "gvi2avi: File \"missing.gvi\" is not available: " + vt::SystemText(ERROR_FILE_NOT_FOUND) + "\r\n"
                     "gvi2avi: 1 converted, 2 failed\r\n");
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA((dir + "[1]clip.AVI").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 48u);
    EXPECT_FALSE(GetFileAttributesExA((dir + "bad.AVI").c_str(), GetFileExInfoStandard, &data));

    r = RunCli("\"" + dir + "clip.gvi\"", dir + "err.txt");
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_NE(GetFileAttributesA((dir + "[2]clip.AVI").c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_EQ(RunCli("--bogus", dir + "err.txt").code, 2u);

    // An output folder that cannot be written (Wine's view of Linux's /sys refuses every new
    // file, even to root): the output is to blame, with the system's reason, not the source.
    // Typed with "/", printed with "\" like every other path.
    r = RunCli("-o Z:/sys \"" + dir + "clip.gvi\"", dir + "err.txt");
    EXPECT_EQ(r.code, 1u);
    EXPECT_NE(r.err.find("Could not write \"clip.AVI\" in \"Z:\\sys\\\": " + vt::SystemText(ERROR_ACCESS_DENIED) + "\r\n"),
              std::string::npos)
        << r.err;

    for (const char* name : {"clip.gvi", "bad.gvi", "clip.AVI", "[1]clip.AVI", "[2]clip.AVI"})
        DeleteFileA((dir + name).c_str());
    EXPECT_TRUE(RemoveDirectoryA(dir.c_str())) << "no temporary file may be left behind";
}

FILETIME WrittenAt(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// -r over a tree: mirrored folders, other files left alone, the source's time on each output
// (through SetFileTime), and -u skipping what is there.
TEST(WinCli, FoldersConvertIntoMirroredTreesWithTheirDatesAndResume) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string dir = std::string(base) + "vexlar-cli-tree-" + std::to_string(GetCurrentProcessId()) + "\\";
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    CreateDirectoryA((dir + "OLD").c_str(), nullptr);
    CreateDirectoryA((dir + "OLD\\2006").c_str(), nullptr);
    CreateDirectoryA((dir + "NEW").c_str(), nullptr);
    std::string good(100, 'g');
    good.replace(4, 4, std::string("\x5c\0\0\0", 4));  // complete: 92 bytes after the field
    good.replace(20, 4, "goog");
    vt::WriteFileBytes(dir + "OLD\\2006\\a.gvi", good);
    vt::WriteFileBytes(dir + "OLD\\B.GVI", good);
    vt::WriteFileBytes(dir + "OLD\\notes.txt", "n");
    FILETIME recorded{0x12345670, 0x01C6A000};  // 2006
    HANDLE h = CreateFileA((dir + "OLD\\2006\\a.gvi").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &recorded));
    CloseHandle(h);

    const std::string args = "-o \"" + dir + "NEW\" \"" + dir + "OLD\"";
    Result r = RunCli("-r " + args, dir + "err.txt");
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_EQ(r.err, "gvi2avi: 2 converted\r\n");
    const FILETIME kept = WrittenAt(dir + "NEW\\2006\\a.AVI");
    EXPECT_EQ(CompareFileTime(&kept, &recorded), 0);
    EXPECT_NE(GetFileAttributesA((dir + "NEW\\B.AVI").c_str()), INVALID_FILE_ATTRIBUTES);

    r = RunCli("-r -u " + args, dir + "err.txt");
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_NE(r.err.find("gvi2avi: 0 converted, 2 already converted\r\n"), std::string::npos) << r.err;
    EXPECT_EQ(GetFileAttributesA((dir + "NEW\\[1]B.AVI").c_str()), INVALID_FILE_ATTRIBUTES);

    r = RunCli("\"" + dir + "OLD\"", dir + "err.txt");
    EXPECT_EQ(r.code, 1u);
    EXPECT_NE(r.err.find("use -r"), std::string::npos) << r.err;

    for (const char* name : {"NEW\\2006\\a.AVI", "NEW\\B.AVI", "OLD\\2006\\a.gvi", "OLD\\B.GVI", "OLD\\notes.txt"})
        EXPECT_TRUE(DeleteFileA((dir + name).c_str())) << name;
    for (const char* name : {"NEW\\2006", "NEW", "OLD\\2006", "OLD", ""})
        EXPECT_TRUE(RemoveDirectoryA((dir + name).c_str())) << "left behind in " << name;

    // Wine lists a link to a folder as a plain folder; Windows marks links and junctions as
    // reparse points, which the walk does not enter.
    WIN32_FIND_DATAA entry{};
    entry.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    for (DWORD tag : {IO_REPARSE_TAG_MOUNT_POINT, IO_REPARSE_TAG_SYMLINK}) {
        entry.dwReserved0 = tag;
        EXPECT_EQ(platform::WalkKindOf(entry), platform::PathKind::None) << tag;
    }
    entry.dwReserved0 = 0x9000001A;  // a cloud file's placeholder folder: a folder
    EXPECT_EQ(platform::WalkKindOf(entry), platform::PathKind::Directory);
    entry.dwFileAttributes = FILE_ATTRIBUTE_REPARSE_POINT;
    entry.dwReserved0 = IO_REPARSE_TAG_SYMLINK;
    EXPECT_EQ(platform::WalkKindOf(entry), platform::PathKind::File) << "a link to a file converts";
}

// Ctrl+C in the console mid-copy: the partial output is removed, the program says so and ends
// with 130. Ctrl+Break takes the same way in the program, but Wine refuses to send it
// (GenerateConsoleCtrlEvent fails with ERROR_INVALID_HANDLE).
TEST(WinCli, CtrlCRemovesThePartialOutputAndExitsWith130) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string dir = std::string(base) + "vexlar-cli-stop-" + std::to_string(GetCurrentProcessId()) + "\\";
    SharedConsole console;
    ASSERT_TRUE(console.Attached());
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    // 2 GiB, sparse: seconds of copying, and no more than that on a disk if the stop fails.
    std::string head(100, 'g');
    head.replace(20, 4, "goog");
    vt::WriteFileBytes(dir + "big.gvi", head);
    HANDLE h = CreateFileA((dir + "big.gvi").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size{};
    size.QuadPart = 2LL << 30;
    EXPECT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h));
    CloseHandle(h);

    // Names reach the console as UTF-8: its code page while the program runs, its own after.
    ASSERT_TRUE(SetConsoleOutputCP(437));
    std::string folder = dir.substr(0, dir.size() - 1);
    Result r = RunCli("-o \"" + folder + "\" \"" + dir + "big.gvi\"", dir + "err.txt",
                      [&] {
        // Once the temporary output has grown, the copy is under way.
        auto copying = [&] {
            WIN32_FIND_DATAA found{};
            HANDLE f = FindFirstFileA((dir + "~vexlar-*").c_str(), &found);
            if (f == INVALID_HANDLE_VALUE) return false;
            FindClose(f);
            return found.nFileSizeLow != 0;
        };
        for (int i = 0; i < 1000 && !copying(); ++i) Sleep(5);
        EXPECT_TRUE(copying());
        EXPECT_EQ(GetConsoleOutputCP(), static_cast<UINT>(CP_UTF8));
        EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    });
    EXPECT_EQ(GetConsoleOutputCP(), 437u);
    EXPECT_EQ(r.code, 130u);
    EXPECT_EQ(r.err, "gvi2avi: interrupted.\r\n");
    DeleteFileA((dir + "big.gvi").c_str());
    EXPECT_TRUE(RemoveDirectoryA(dir.c_str())) << "the partial output must be removed";
}

// Names in any script, and a wildcard as cmd.exe hands it over (the program expands it), in a
// folder with such a name: arguments, files and the list written are UTF-8.
TEST(WinCli, NamesInAnyScriptAndWildcardsUnderCmd) {
    const std::wstring wideNames[] = {L"\u0412\u0438\u0434\u0435\u043E", L"\u65E5\u672C\u8A9E\u306E\u30D3\u30C7\u30AA",
                                      L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC", L"\U0001F3AC clip"};
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    const std::string root = std::string(base) + "vexlar-cli-names-" + std::to_string(GetCurrentProcessId());
    const std::string dir = root + "\\" + platform::Narrow(wideNames[0]) + "\\";
    std::filesystem::create_directories(platform::Widen(dir + "out"));
    std::string good(100, 'g');
    good.replace(20, 4, "goog");
    std::set<std::string> expected;
    for (const std::wstring& name : wideNames) {
        vt::WriteFileBytes(dir + platform::Narrow(name) + ".gvi", good);
        expected.insert("out\\" + platform::Narrow(name) + ".AVI");
    }
    vt::WriteFileBytes(dir + "other.avi", good);

    std::string cmd = "cmd.exe /c cd /d \"" + dir + "\" && \"" + ExePath() +
                      "\" -o out *.gvi nothing*.gvi > list.txt 2> err.txt";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                               nullptr, &si, &pi));
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 999;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);

    EXPECT_EQ(code, 1u) << "a pattern that matches nothing is a missing file";
    std::ifstream list(std::filesystem::path(platform::Widen(dir + "list.txt")));
    std::set<std::string> written;
    for (std::string line; std::getline(list, line);) written.insert(line.substr(0, line.find('\r')));
    EXPECT_EQ(written, expected);
    std::ifstream err(std::filesystem::path(platform::Widen(dir + "err.txt")));
    std::stringstream errText;
    errText << err.rdbuf();
    EXPECT_NE(errText.str().find("\"nothing*.gvi\""), std::string::npos) << errText.str();
    for (const std::string& name : expected)
        EXPECT_EQ(std::filesystem::file_size(platform::Widen(dir + name)), 48u) << name;
    list.close();
    err.close();
    std::filesystem::remove_all(platform::Widen(root));
}

}  // namespace
