// The conversion core on Windows files: share modes, the directory-listed size, naming rules.
#include "conversion/Convert.h"
#include "conversion/FileJob.h"
#include "conversion/OutputName.h"
#include "platform/File.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

class ScratchDir {
public:
    ScratchDir() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static int n = 0;
        path_ = std::string(base) + "vexlar-wtest-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++n) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchDir() { RemoveAll(path_); }
    const std::string& Folder() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    static void RemoveAll(const std::string& folder) {
        WIN32_FIND_DATAA d;
        HANDLE f = FindFirstFileA((folder + "*").c_str(), &d);
        if (f != INVALID_HANDLE_VALUE) {
            do {
                std::string name = d.cFileName;
                if (name == "." || name == "..") continue;
                if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveAll(folder + name + "\\");
                else
                    DeleteFileA((folder + name).c_str());
            } while (FindNextFileA(f, &d));
            FindClose(f);
        }
        RemoveDirectoryA(folder.c_str());
    }
    std::string path_;
};

void WriteBytes(const std::string& path, const Bytes& b) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD w = 0;
    WriteFile(h, b.data(), static_cast<DWORD>(b.size()), &w, nullptr);
    CloseHandle(h);
}

Bytes ReadBytes(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    Bytes b(GetFileSize(h, nullptr));
    DWORD r = 0;
    if (!b.empty()) ReadFile(h, b.data(), static_cast<DWORD>(b.size()), &r, nullptr);
    CloseHandle(h);
    return b;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Bytes MakeGvi(size_t size, unsigned length) {
    Bytes b(size);
    for (size_t i = 0; i < size; ++i) b[i] = static_cast<unsigned char>(i * 13 + 1);
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<unsigned char>(length >> (8 * i));
    const unsigned char sig[4] = {0x67, 0x6F, 0x6F, 0x67};
    for (int i = 0; i < 4; ++i) b[20 + i] = sig[i];
    return b;
}

// Another program holding a file open, sharing everything it can.
struct HeldOpen {
    HANDLE h;
    explicit HeldOpen(const std::string& path, DWORD access = GENERIC_READ)
        : h(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldOpen() { if (h != INVALID_HANDLE_VALUE) CloseHandle(h); }
};

TEST(WinConvert, ConvertsAndCorrectsTheLength) {
    ScratchDir dir;
    WriteBytes(dir / "in.gvi", MakeGvi(100, 92));
    ASSERT_EQ(ConvertGviToAvi(dir / "in.gvi", dir / "out.avi"), crOk);
    Bytes out = ReadBytes(dir / "out.avi");
    ASSERT_EQ(out.size(), 48u);
    EXPECT_EQ(out[4], 40);
    EXPECT_EQ(out[5], 0);

    // An existing longer output is replaced, not written over in part.
    WriteBytes(dir / "in.gvi", MakeGvi(64, 52));
    ASSERT_EQ(ConvertGviToAvi(dir / "in.gvi", dir / "out.avi"), crOk);
    EXPECT_EQ(ReadBytes(dir / "out.avi").size(), 12u);
}

TEST(WinConvert, SourceOpenElsewhereIsNotAvailableAndCreatesNothing) {
    ScratchDir dir;
    WriteBytes(dir / "in.gvi", MakeGvi(100, 92));
    {
        HeldOpen reader(dir / "in.gvi");
        ASSERT_NE(reader.h, INVALID_HANDLE_VALUE);
        EXPECT_EQ(ConvertGviToAvi(dir / "in.gvi", dir / "out.avi"), crNotAvailable);
        EXPECT_FALSE(Exists(dir / "out.avi"));
    }
    EXPECT_EQ(ConvertGviToAvi(dir / "in.gvi", dir / "out.avi"), crOk);
}

TEST(WinConvert, OutputOpenElsewhereIsNotAvailableAndKeepsItsContent) {
    ScratchDir dir;
    WriteBytes(dir / "in.gvi", MakeGvi(100, 92));
    WriteBytes(dir / "out.avi", Bytes(300, 7));
    HeldOpen reader(dir / "out.avi");
    EXPECT_EQ(ConvertGviToAvi(dir / "in.gvi", dir / "out.avi"), crNotAvailable);
    EXPECT_EQ(ReadBytes(dir / "out.avi"), Bytes(300, 7));
}

TEST(WinConvert, NothingElseCanOpenTheFilesDuringAConversion) {
    ScratchDir dir;
    WriteBytes(dir / "in.gvi", MakeGvi(64 + 3 * kConvertBlockSize, 0));
    int checks = 0;
    auto probe = [&](uint64_t written, uint64_t) {
        if (checks++) return;
        HeldOpen src(dir / "in.gvi");
        HeldOpen dst(dir / "out.avi");
        EXPECT_EQ(src.h, INVALID_HANDLE_VALUE);
        EXPECT_EQ(dst.h, INVALID_HANDLE_VALUE);
        // The progress probe reads the size from the directory, which needs no open.
        EXPECT_EQ(platform::ListedSize(dir / "out.avi").value_or(0), written);
    };
    EXPECT_EQ(ConvertGviToAvi(dir / "in.gvi", dir / "out.avi", probe), crOk);
    EXPECT_GT(checks, 0);
}

TEST(WinNaming, FileSystemCaseRulesDecideWhatIsTaken) {
    ScratchDir dir;
    WriteBytes(dir / "clip.avi", {1});
    // Windows names ignore letter case: clip.avi takes clip.AVI.
    EXPECT_EQ(MakeOutputName("C:\\v\\clip.GVI", dir.Folder()), dir / "[1]clip.AVI");
    CreateDirectoryA((dir / "[1]clip.AVI").c_str(), nullptr);
    EXPECT_EQ(MakeOutputName("D:clip.gvi", dir.Folder()), dir / "[2]clip.AVI");
    EXPECT_EQ(FileNamePart("C:\\a/b.gvi", platform::kNativeNameSeparators), "b.gvi");
}

TEST(WinFileJob, TemporaryOutputInTheFolderThenTheFinalName) {
    ScratchDir in, out;
    WriteBytes(in / "clip.gvi", MakeGvi(1000, 992));
    WriteBytes(out / "clip.AVI", {5});
    TFileJob job;
    ASSERT_TRUE(job.Begin(in / "clip.gvi", out.Folder()));
    EXPECT_EQ(job.FinalPath(), out / "[1]clip.AVI");
    EXPECT_EQ(job.TempPath().rfind(out.Folder(), 0), 0u);
    ASSERT_EQ(ConvertGviToAvi(job.Source(), job.TempPath()), crOk);
    EXPECT_EQ(job.Finish(crOk), joSaved);
    EXPECT_EQ(ReadBytes(out / "[1]clip.AVI").size(), 948u);
    EXPECT_EQ(ReadBytes(out / "clip.AVI"), Bytes{5});
    EXPECT_FALSE(Exists(job.TempPath()));

    // A failure removes its temporary file.
    TFileJob bad;
    ASSERT_TRUE(bad.Begin(in / "missing.gvi", out.Folder()));
    EXPECT_TRUE(Exists(bad.TempPath()));
    EXPECT_EQ(bad.Finish(ConvertGviToAvi(bad.Source(), bad.TempPath())), joDiscarded);
    EXPECT_FALSE(Exists(bad.TempPath()));
}

TEST(WinPlatform, RenameNeverReplacesAndTextFilesUseCrLf) {
    ScratchDir dir;
    WriteBytes(dir / "a", {1});
    WriteBytes(dir / "b", {2});
    platform::OsError error = 0;
    EXPECT_FALSE(platform::RenameNoReplace(dir / "a", dir / "b", &error));
    EXPECT_EQ(error, static_cast<platform::OsError>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadBytes(dir / "b"), Bytes{2});

    ASSERT_TRUE(platform::WriteTextFile(dir / "set.txt", {"D:\\Videos\\"}));
    EXPECT_EQ(ReadBytes(dir / "set.txt").size(), 12u);
    std::string line;
    ASSERT_TRUE(platform::ReadFirstLine(dir / "set.txt", line));
    EXPECT_EQ(line, "D:\\Videos\\");

    std::string folder = platform::ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
}

}  // namespace
