// Thin file-system helpers for the conversion core; one implementation per OS, no <windows.h> here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Characters that end the folder part of a path written the native way: on Windows "\", "/"
// and the drive colon; elsewhere "/" only (there "\" and ":" are ordinary name characters).
#ifdef _WIN32
inline constexpr const char* kNativeNameSeparators = "\\/:";
inline constexpr const char* kNativeFolderSeparator = "\\";
#else
inline constexpr const char* kNativeNameSeparators = "/";
inline constexpr const char* kNativeFolderSeparator = "/";
#endif

// The folder with a separator at its end, ready for names to be appended; "" stays "".
inline std::string WithTrailingSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != *kNativeFolderSeparator)
        folder += kNativeFolderSeparator;
    return folder;
}

// The OS error code of the last failed call here (GetLastError() or errno).
using OsError = unsigned long;

using FileTime = int64_t;  // nanoseconds since 1970-01-01 UTC

// The path with the system's one folder separator: on Windows "/" becomes "\", so the paths we
// print read in one style however they were typed; elsewhere the path as it is.
std::string NativeSeparators(std::string path);

enum class PathKind { None, File, Directory };

// What the path names, without following a directory search pattern.
PathKind KindOf(const std::string& path);
inline bool FileExists(const std::string& path) { return KindOf(path) == PathKind::File; }
inline bool DirectoryExists(const std::string& path) { return KindOf(path) == PathKind::Directory; }
inline bool PathExists(const std::string& path) { return KindOf(path) != PathKind::None; }

// The size of the first entry the directory lists for `path` (FindFirstFileA on Windows, which
// does not open the file and so works on a file another program holds open). Nothing when no
// entry matches; directories list as 0.
std::optional<uint64_t> ListedSize(const std::string& path);

// The size the file itself reports now (GetFileAttributesExA on Windows). For a file another
// handle is still writing: NTFS updates the directory entry that ListedSize reads only when that
// handle closes, so a growing file would list as its old size (usually 0) until then. Asking for
// the attributes does not read the file, so even share mode 0 does not refuse it. Nothing when
// there is no such file; directories give 0.
std::optional<uint64_t> CurrentSize(const std::string& path);

// The file's last modification time (a link's target's); nothing when there is no such file.
std::optional<FileTime> ModifiedTime(const std::string& path);

// Sets the file's last modification time, leaving its other times alone.
bool SetModifiedTime(const std::string& path, FileTime time, OsError* error = nullptr);

// Whether a file of this name could exist: its name part within what the folder's file system
// takes, and on Windows the whole path within what the ANSI calls take (MAX_PATH). Otherwise
// false, with the system's error for a name too long.
bool NameFits(const std::string& path, OsError* error = nullptr);

// Renames a file; fails instead of replacing an existing file or directory at `to`.
bool RenameNoReplace(const std::string& from, const std::string& to, OsError* error = nullptr);

// Deletes a file (named RemoveFile: <windows.h> makes DeleteFile a macro).
bool RemoveFile(const std::string& path, OsError* error = nullptr);

// Reads the first line of a text file (without its CR LF / LF). False when the file cannot be
// read or holds no line at all.
bool ReadFirstLine(const std::string& path, std::string& line, OsError* error = nullptr);

// Writes the file anew: each line followed by CR LF. False (with the OS error) on any failure.
bool WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                   OsError* error = nullptr);

// Creates a new empty file with a name that existed nowhere before in `folder` (which ends
// in a separator, or is empty for the current directory) and returns its path. The name is
// taken atomically (CREATE_NEW / O_EXCL), so two running copies never share one.
bool CreateUniqueFile(const std::string& folder, std::string& path, OsError* error = nullptr);

// The folder of the running executable, ending in a separator; empty if unknown.
std::string ProgramFolder();

// The system's error code for running out of memory.
OsError OutOfMemoryError();

// The system's own words for an error code, as one sentence ending in a full stop
// ("There is not enough space on the disk."), in the user's language where the system has one.
std::string ErrorText(OsError error);

// An open file, closed when the object goes. Opens are exclusive: on Windows with share mode 0;
// on other systems with an advisory lock (flock), which only our own programs honour.
class File {
public:
    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    // An existing file, read only. Fails on a directory or a file another opener holds.
    bool OpenRead(const std::string& path) { return Open(path, false, true); }
    // An existing file, read only, letting others read it too (small settings files).
    bool OpenReadShared(const std::string& path) { return Open(path, false, false); }
    // Creates the file for reading and writing, truncating an existing one to zero length.
    bool Create(const std::string& path) { return Open(path, true, true); }

    bool IsOpen() const;
    // Reads up to `size` bytes; `got` is 0 at the end of the file.
    bool Read(void* buffer, size_t size, size_t& got);
    // Writes all of `size` bytes; a short write (a full disk) is a failure.
    bool Write(const void* buffer, size_t size);
    bool Seek(uint64_t offset);
    std::optional<uint64_t> Size() const;
    // When the file's content last changed, asked of the open file. Nothing on a failure.
    std::optional<FileTime> ModifiedTime() const;
    // Closes the file; false when the system reports a failure on closing.
    bool Close();

    OsError LastError() const { return error_; }

private:
    bool Open(const std::string& path, bool write, bool exclusive);
    bool Fail();
#ifdef _WIN32
    void* handle_ = reinterpret_cast<void*>(static_cast<intptr_t>(-1));
#else
    int fd_ = -1;
#endif
    OsError error_ = 0;
};

}  // namespace platform
