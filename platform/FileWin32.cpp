// File helpers on Windows (kernel32, ANSI calls): the counterpart of FilePosix.cpp.
#include "platform/File.h"

#include "platform/Win32Handle.h"

#include <windows.h>

#include <atomic>

namespace platform {

namespace {

bool SetError(OsError* error) {
    if (error) *error = GetLastError();
    return false;
}

HANDLE AsHandle(void* h) { return static_cast<HANDLE>(h); }

}  // namespace

PathKind KindOf(const std::string& path) {
    if (path.empty()) return PathKind::None;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::None;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Directory : PathKind::File;
}

std::optional<uint64_t> ListedSize(const std::string& path) {
    WIN32_FIND_DATAA data{};
    if (!OwnedFind(FindFirstFileA(path.c_str(), &data))) return std::nullopt;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<uint64_t> CurrentSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

namespace {

// FILETIME counts 100 ns units from 1601-01-01 UTC.
constexpr int64_t kFileTimeOf1970 = 116444736000000000;

FileTime FromFileTime(const FILETIME& ft) {
    const int64_t units = static_cast<int64_t>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) |
                                               ft.dwLowDateTime);
    return (units - kFileTimeOf1970) * 100;
}

FILETIME ToFileTime(FileTime time) {
    // Rounded down to whole units, also before 1970.
    int64_t units = time / 100 - (time % 100 < 0 ? 1 : 0) + kFileTimeOf1970;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(units));
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(units) >> 32);
    return ft;
}

}  // namespace

std::string NativeSeparators(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

namespace {

// Characters of a path in the active code page once the system has made UTF-16 of it.
size_t WideLength(const std::string& text) {
    if (text.empty()) return 0;
    return static_cast<size_t>(
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0));
}

bool NameTooLong(OsError* error) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return SetError(error);
}

}  // namespace

std::optional<FileTime> ModifiedTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return FromFileTime(data.ftLastWriteTime);
}

bool SetModifiedTime(const std::string& path, FileTime time, OsError* error) {
    // Attributes only: other openers of the file do not stand in the way.
    OwnedFileHandle file(
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const FILETIME written = ToFileTime(time);
    if (file && SetFileTime(file.get(), nullptr, nullptr, &written)) return true;
    return SetError(error);
}

bool NameFits(const std::string& path, OsError* error) {
    // The ANSI calls refuse a path that with its terminating null does not fit MAX_PATH
    // characters; the system counts it whole, from the drive on.
    // A character of the active code page may take several bytes: the buffer grows as asked.
    std::string full(MAX_PATH, '\0');
    DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.assign(n, '\0');
        n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (n == 0 || n >= full.size()) return SetError(error);
    full.resize(n);
    if (WideLength(full) >= MAX_PATH) return NameTooLong(error);
    // The name part within what the volume's file system takes (255 on NTFS and FAT).
    char root[MAX_PATH];
    DWORD longest = 0;
    if (!GetVolumePathNameA(full.c_str(), root, MAX_PATH) ||
        !GetVolumeInformationA(root, nullptr, 0, nullptr, &longest, nullptr, nullptr, 0))
        return true;  // no limit known: the create or the rename will say
    const size_t slash = full.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? full : full.substr(slash + 1);
    if (WideLength(name) > longest) return NameTooLong(error);
    return true;
}

bool RenameNoReplace(const std::string& from, const std::string& to, OsError* error) {
    // MoveFileA never replaces an existing file or directory.
    if (MoveFileA(from.c_str(), to.c_str())) return true;
    return SetError(error);
}

bool RemoveFile(const std::string& path, OsError* error) {
    if (DeleteFileA(path.c_str())) return true;
    return SetError(error);
}

bool CreateUniqueFile(const std::string& folder, std::string& path, OsError* error) {
    static std::atomic<unsigned> counter{0};
    const DWORD pid = GetCurrentProcessId();
    for (int attempt = 0; attempt < 10000; ++attempt) {
        std::string candidate = folder + "~vexlar-" + std::to_string(pid) + "-" +
                                std::to_string(++counter) + ".tmp";
        if (OwnedFileHandle(CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr))) {
            path = std::move(candidate);
            return true;
        }
        DWORD code = GetLastError();
        // A directory of that name shows as "access denied".
        bool taken = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS ||
                     (code == ERROR_ACCESS_DENIED && PathExists(candidate));
        if (!taken) {
            SetLastError(code);
            return SetError(error);
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return SetError(error);
}

std::string ProgramFolder() {
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    size_t slash = buffer.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : buffer.substr(0, slash + 1);
}

OsError OutOfMemoryError() { return ERROR_NOT_ENOUGH_MEMORY; }

std::string ErrorText(OsError error) {
    OwnedLocal buffer;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<LPSTR>(buffer.put()), 0, nullptr);
    std::string text = buffer ? static_cast<const char*>(buffer.get()) : "";
    // The system's texts end in CR LF; the message box holds one line.
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    if (text.empty()) return "Error " + std::to_string(error) + ".";
    if (text.back() != '.') text += '.';
    return text;
}

// ---------------------------------------------------------------------------------------------

File::~File() { Close(); }

File::File(File&& other) noexcept : handle_(other.handle_), error_(other.error_) {
    other.handle_ = INVALID_HANDLE_VALUE;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        error_ = other.error_;
        other.handle_ = INVALID_HANDLE_VALUE;
    }
    return *this;
}

bool File::Fail() {
    error_ = GetLastError();
    return false;
}

bool File::IsOpen() const { return AsHandle(handle_) != INVALID_HANDLE_VALUE; }

bool File::Open(const std::string& path, bool write, bool exclusive) {
    Close();
    DWORD access = write ? (GENERIC_READ | GENERIC_WRITE) : GENERIC_READ;
    DWORD share = exclusive ? 0 : FILE_SHARE_READ;
    // OPEN_ALWAYS, then a truncation only when the file holds something: under Wine on ext4,
    // CREATE_ALWAYS truncates even an empty file, and its close then waits for the disk.
    DWORD disposition = write ? OPEN_ALWAYS : OPEN_EXISTING;
    OwnedFileHandle h(CreateFileA(path.c_str(), access, share, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h) return Fail();
    LARGE_INTEGER size{};
    if (write && (!GetFileSizeEx(h.get(), &size) || (size.QuadPart != 0 && !SetEndOfFile(h.get()))))
        return Fail();  // reads the error before the handle closes
    handle_ = h.release();
    error_ = 0;
    return true;
}

bool File::Read(void* buffer, size_t size, size_t& got) {
    got = 0;
    DWORD n = 0;
    DWORD ask = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    if (!ReadFile(AsHandle(handle_), buffer, ask, &n, nullptr)) return Fail();
    got = n;
    return true;
}

bool File::Write(const void* buffer, size_t size) {
    const char* p = static_cast<const char*>(buffer);
    while (size > 0) {
        DWORD ask = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(AsHandle(handle_), p, ask, &written, nullptr)) return Fail();
        // A full disk may show as a short write that still reports success.
        if (written != ask) {
            SetLastError(ERROR_DISK_FULL);
            return Fail();
        }
        p += written;
        size -= written;
    }
    return true;
}

bool File::Seek(uint64_t offset) {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(AsHandle(handle_), to, nullptr, FILE_BEGIN)) return Fail();
    return true;
}

std::optional<uint64_t> File::Size() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(AsHandle(handle_), &size) || size.QuadPart < 0) return std::nullopt;
    return static_cast<uint64_t>(size.QuadPart);
}

std::optional<FileTime> File::ModifiedTime() const {
    FILETIME written{};
    if (!GetFileTime(AsHandle(handle_), nullptr, nullptr, &written)) return std::nullopt;
    return FromFileTime(written);
}

bool File::Close() {
    HANDLE h = AsHandle(handle_);
    if (h == INVALID_HANDLE_VALUE) return true;
    handle_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(h)) return Fail();
    return true;
}

}  // namespace platform
