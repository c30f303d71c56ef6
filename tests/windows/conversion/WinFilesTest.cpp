// The conversion core on Windows files: share modes, the directory-listed size, naming rules.
#include "conversion/Convert.h"
#include "conversion/FileJob.h"
#include "conversion/OutputName.h"
#include "platform/File.h"

#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

class ScratchDir {
public:
    // In `base` when given, else in the temporary folder.
    explicit ScratchDir(std::string base = {}) {
        if (base.empty()) {
            char temp[MAX_PATH];
            GetTempPathA(MAX_PATH, temp);
            base = temp;
        }
        static int n = 0;
        path_ = base + "vexlar-wtest-" + std::to_string(GetCurrentProcessId()) + "-" +
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

// `n` bytes from `offset`, through a 64-bit file pointer.
Bytes ReadAt(const std::string& path, uint64_t offset, size_t n) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    Bytes b(n);
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    DWORD r = 0;
    if (h == INVALID_HANDLE_VALUE || !SetFilePointerEx(h, to, nullptr, FILE_BEGIN) ||
        !ReadFile(h, b.data(), static_cast<DWORD>(n), &r, nullptr))
        r = 0;
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    b.resize(r);
    return b;
}

// A sparse file of `size` bytes that holds only `spots` (offset, bytes): large sizes cost no disk.
void WriteSparse(const std::string& path, uint64_t size,
                 const std::vector<std::pair<uint64_t, Bytes>>& spots) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD unused = 0;
    DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &unused, nullptr);
    LARGE_INTEGER to{};
    for (const auto& [offset, bytes] : spots) {
        to.QuadPart = static_cast<LONGLONG>(offset);
        DWORD w = 0;
        SetFilePointerEx(h, to, nullptr, FILE_BEGIN);
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &w, nullptr);
    }
    to.QuadPart = static_cast<LONGLONG>(size);
    EXPECT_TRUE(SetFilePointerEx(h, to, nullptr, FILE_BEGIN) && SetEndOfFile(h));
    CloseHandle(h);
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

// Past 4 GiB every size and position needs 64 bits, also in the 32-bit build: a slip would move,
// drop or misreport the bytes near the boundary or at the end.
TEST(WinConvert, ASourcePastFourGibComesOutWholeAndInPlace) {
    const uint64_t fourGib = uint64_t{1} << 32;
    const uint64_t size = fourGib + (1 << 20);
    // The output is 4 GiB of real writes: on Wine's view of Linux's RAM disk, when it has room,
    // they take seconds instead of half a minute on a disk.
    const char* ramDisk = "Z:\\dev\\shm\\";
    ULARGE_INTEGER room{};
    const bool fast = GetDiskFreeSpaceExA(ramDisk, &room, nullptr, nullptr) &&
                      room.QuadPart > size + (uint64_t{1} << 30);
    ScratchDir dir(fast ? ramDisk : "");
    const unsigned length = static_cast<unsigned>(size - 8);  // the RIFF length, modulo 2^32
    const Bytes head = MakeGvi(128, length);
    // Marks across 4 GiB in the source, across 4 GiB in the output, and the source's last bytes.
    std::vector<std::pair<uint64_t, Bytes>> spots = {{0, head}};
    for (uint64_t at : {fourGib - 8, fourGib + kGviBlockSize - 8, size - 16}) {
        Bytes mark(16);
        for (size_t i = 0; i < mark.size(); ++i)
            mark[i] = static_cast<unsigned char>(0x80 + spots.size() * 16 + i);
        spots.emplace_back(at, mark);
    }
    WriteSparse(dir / "big.gvi", size, spots);
    ASSERT_EQ(platform::ListedSize(dir / "big.gvi"), size);

    uint64_t lastOut = 0, lastIn = 0;
    auto probe = [&](uint64_t written, uint64_t total) { lastOut = written, lastIn = total; };
    ASSERT_EQ(ConvertGviToAvi(dir / "big.gvi", dir / "big.avi", probe), crOk);

    const uint64_t outSize = size - kGviBlockSize;
    EXPECT_EQ(platform::ListedSize(dir / "big.avi"), outSize);
    EXPECT_EQ(platform::CurrentSize(dir / "big.avi"), outSize);
    EXPECT_EQ(lastOut, outSize);
    EXPECT_EQ(lastIn, size);
    Bytes start(head.begin(), head.begin() + kGviBlockOffset);
    start.insert(start.end(), head.begin() + kGviDataOffset, head.end());
    const unsigned corrected = length - static_cast<unsigned>(kGviBlockSize);
    for (int i = 0; i < 4; ++i) start[4 + i] = static_cast<unsigned char>(corrected >> (8 * i));
    EXPECT_EQ(ReadAt(dir / "big.avi", 0, start.size()), start);
    for (size_t k = 1; k < spots.size(); ++k) {
        const auto& [at, mark] = spots[k];
        EXPECT_EQ(ReadAt(dir / "big.avi", at - kGviBlockSize, mark.size()), mark) << "at " << at;
    }
    EXPECT_TRUE(ReadAt(dir / "big.avi", outSize, 1).empty());
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

    // A final name the ANSI calls or the volume cannot take fails before the work, with the
    // system's reason: a path of MAX_PATH characters (one fewer fits), and a name part of 256.
    const size_t fits = MAX_PATH - 1 - out.Folder().size() - 4;
    TFileJob longest;
    EXPECT_TRUE(longest.Begin(in / (std::string(fits, 'n') + ".gvi"), out.Folder()));
    EXPECT_EQ(longest.Finish(crNotAvailable), joDiscarded);
    for (const auto& [name, folder] : {std::pair(std::string(fits + 1, 'n'), out.Folder()),
                                       std::pair(std::string(252, 'n'), std::string("Z:\\"))}) {
        TFileJob job;
        EXPECT_FALSE(job.Begin(in / (name + ".gvi"), folder));
        EXPECT_TRUE(job.TempPath().empty());
        EXPECT_EQ(job.FailureText(crNotAvailable, {cfOutput, 0}),
                  "Could not write \"" + name + ".AVI\" in \"" + folder + "\": " +
                      platform::ErrorText(ERROR_FILENAME_EXCED_RANGE));
    }
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
