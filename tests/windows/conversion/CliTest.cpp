// gvi2avi.exe as a Windows console program: exit status, messages, output names.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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

Result RunCli(const std::string& args, const std::string& errFile) {
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
        WaitForSingleObject(pi.hProcess, 60000);
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

void Write(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD w = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &w, nullptr);
    CloseHandle(h);
}

TEST(WinCli, ConvertsReportsAndExitsWithTheRightStatus) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string dir = std::string(base) + "vexlar-cli-" + std::to_string(GetCurrentProcessId()) + "\\";
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    std::string good(100, 'g');
    good.replace(20, 4, "goog");
    Write(dir + "clip.gvi", good);
    Write(dir + "bad.gvi", std::string(100, 'b'));
    Write(dir + "clip.AVI", "mine");

    // The folder goes without its trailing "\": before a quote it would escape the quote.
    std::string folder = dir.substr(0, dir.size() - 1);
    Result r = RunCli("-o \"" + folder + "\" \"" + dir + "clip.gvi\" \"" + dir + "bad.gvi\"", dir + "err.txt");
    EXPECT_EQ(r.code, 1u);
    EXPECT_EQ(r.err, "gvi2avi: Your GVI file \"bad.gvi\" is corrupted.\r\n");
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
    r = RunCli("-o Z:\\sys \"" + dir + "clip.gvi\"", dir + "err.txt");
    EXPECT_EQ(r.code, 1u);
    char* reason = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, ERROR_ACCESS_DENIED, 0, reinterpret_cast<LPSTR>(&reason), 0, nullptr);
    std::string expected = reason ? reason : "";
    LocalFree(reason);
    while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) expected.pop_back();
    EXPECT_NE(r.err.find("Could not write \"clip.AVI\" in \"Z:\\sys\\\": " + expected + "\r\n"),
              std::string::npos)
        << r.err;

    for (const char* name : {"clip.gvi", "bad.gvi", "clip.AVI", "[1]clip.AVI", "[2]clip.AVI"})
        DeleteFileA((dir + name).c_str());
    EXPECT_TRUE(RemoveDirectoryA(dir.c_str())) << "no temporary file may be left behind";
}

}  // namespace
