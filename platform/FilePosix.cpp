// File helpers on POSIX systems (Linux): the counterpart of FileWin32.cpp.
#include "platform/File.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool SetError(OsError* error) {
    if (error) *error = static_cast<OsError>(errno);
    return false;
}

}  // namespace

PathKind KindOf(const std::string& path) {
    struct stat st {};
    // lstat first: a free name, the usual answer, then costs one call.
    if (path.empty() || lstat(path.c_str(), &st) != 0) return PathKind::None;
    // A dangling symbolic link still takes its name: no rename or create may use it.
    if (S_ISLNK(st.st_mode) && stat(path.c_str(), &st) != 0) return PathKind::File;
    return S_ISDIR(st.st_mode) ? PathKind::Directory : PathKind::File;
}

std::optional<FileTime> ModifiedTime(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) return std::nullopt;
    return static_cast<FileTime>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

bool SetModifiedTime(const std::string& path, FileTime time, OsError* error) {
    FileTime seconds = time / 1000000000, nanoseconds = time % 1000000000;
    if (nanoseconds < 0) {
        --seconds;
        nanoseconds += 1000000000;
    }
    struct timespec times[2] = {{0, UTIME_OMIT}, {}};
    times[1].tv_sec = static_cast<time_t>(seconds);
    times[1].tv_nsec = static_cast<long>(nanoseconds);
    if (utimensat(AT_FDCWD, path.c_str(), times, 0) == 0) return true;
    return SetError(error);
}

std::optional<uint64_t> ListedSize(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) return std::nullopt;
    if (S_ISDIR(st.st_mode) || st.st_size < 0) return 0;
    return static_cast<uint64_t>(st.st_size);
}

// stat() asks the inode, which is always current.
std::optional<uint64_t> CurrentSize(const std::string& path) { return ListedSize(path); }

std::string NativeSeparators(std::string path) { return path; }

bool NameFits(const std::string& path, OsError* error) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const size_t nameLength = path.size() - (slash == std::string::npos ? 0 : slash + 1);
    errno = 0;
    const long nameMax = pathconf(folder.c_str(), _PC_NAME_MAX);
    if (nameMax < 0 && errno != 0) return SetError(error);
    // -1 without an error: the file system sets no limit.
    if ((nameMax >= 0 && nameLength > static_cast<size_t>(nameMax)) || path.size() >= PATH_MAX) {
        errno = ENAMETOOLONG;
        return SetError(error);
    }
    return true;
}

bool RenameNoReplace(const std::string& from, const std::string& to, OsError* error) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return SetError(error);
    // The file system cannot rename without replacing: a hard link fails on an existing name.
    if (link(from.c_str(), to.c_str()) == 0) {
        if (unlink(from.c_str()) == 0) return true;
        int saved = errno;
        unlink(to.c_str());
        errno = saved;
        return SetError(error);
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) return SetError(error);
    // No hard links either (FAT): test, then rename; the gap between them is unavoidable there.
    if (PathExists(to)) {
        errno = EEXIST;
        return SetError(error);
    }
    if (rename(from.c_str(), to.c_str()) == 0) return true;
    return SetError(error);
}

bool RemoveFile(const std::string& path, OsError* error) {
    if (unlink(path.c_str()) == 0) return true;
    return SetError(error);
}

bool CreateUniqueFile(const std::string& folder, std::string& path, OsError* error) {
    static std::atomic<unsigned> counter{0};
    const long pid = static_cast<long>(getpid());
    for (int attempt = 0; attempt < 10000; ++attempt) {
        std::string candidate = folder + "~vexlar-" + std::to_string(pid) + "-" +
                                std::to_string(++counter) + ".tmp";
        int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            path = std::move(candidate);
            return true;
        }
        if (errno != EEXIST) return SetError(error);
    }
    errno = EEXIST;
    return SetError(error);
}

std::string ProgramFolder() {
    std::string buffer(PATH_MAX, '\0');
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || static_cast<size_t>(n) >= buffer.size()) return {};
    buffer.resize(static_cast<size_t>(n));
    size_t slash = buffer.rfind('/');
    return slash == std::string::npos ? std::string() : buffer.substr(0, slash + 1);
}

OsError OutOfMemoryError() { return ENOMEM; }

std::string ErrorText(OsError error) {
    // strerror's texts have no full stop.
    return std::string(std::strerror(static_cast<int>(error))) + ".";
}

// ---------------------------------------------------------------------------------------------

File::~File() { Close(); }

File::File(File&& other) noexcept : fd_(other.fd_), error_(other.error_) { other.fd_ = -1; }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        error_ = other.error_;
        other.fd_ = -1;
    }
    return *this;
}

bool File::Fail() {
    error_ = static_cast<OsError>(errno);
    return false;
}

bool File::IsOpen() const { return fd_ >= 0; }

bool File::Open(const std::string& path, bool write, bool exclusive) {
    Close();
    // Non-blocking so that a FIFO cannot hang the open; only regular files are accepted, and
    // for those the flag changes nothing, so it stays.
    int flags = write ? (O_RDWR | O_CREAT) : (O_RDONLY | O_NONBLOCK);
    int fd = open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) return Fail();
    struct stat st {};
    int statResult = fstat(fd, &st);
    if (statResult != 0 || !S_ISREG(st.st_mode)) {
        int saved = statResult != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        close(fd);
        errno = saved;
        return Fail();
    }
    // The lock comes before the truncation, so a file another copy of ours is working on is
    // left alone.
    if (exclusive && flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int saved = errno == EWOULDBLOCK ? EBUSY : errno;
        close(fd);
        errno = saved;
        return Fail();
    }
    // Only a file that holds something is truncated: on ext4 a truncation to zero makes the
    // close wait until the whole new content is on the disk, and our fresh files are empty.
    if (write && st.st_size != 0 && ftruncate(fd, 0) != 0) {
        int saved = errno;
        close(fd);
        errno = saved;
        return Fail();
    }
    fd_ = fd;
    error_ = 0;
    return true;
}

bool File::Read(void* buffer, size_t size, size_t& got) {
    got = 0;
    if (fd_ < 0) {
        errno = EBADF;
        return Fail();
    }
    for (;;) {
        ssize_t n = read(fd_, buffer, size);
        if (n >= 0) {
            got = static_cast<size_t>(n);
            return true;
        }
        if (errno != EINTR) return Fail();
    }
}

bool File::Write(const void* buffer, size_t size) {
    if (fd_ < 0) {
        errno = EBADF;
        return Fail();
    }
    const char* p = static_cast<const char*>(buffer);
    while (size > 0) {
        ssize_t n = write(fd_, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail();
        }
        if (n == 0) {
            errno = ENOSPC;
            return Fail();
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool File::Seek(uint64_t offset) {
    if (offset > static_cast<uint64_t>(INT64_MAX)) {
        errno = EINVAL;
        return Fail();
    }
    if (fd_ < 0 || lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) {
        if (fd_ < 0) errno = EBADF;
        return Fail();
    }
    return true;
}

std::optional<uint64_t> File::Size() const {
    struct stat st {};
    if (fd_ < 0 || fstat(fd_, &st) != 0 || st.st_size < 0) return std::nullopt;
    return static_cast<uint64_t>(st.st_size);
}

std::optional<FileTime> File::ModifiedTime() const {
    struct stat st {};
    if (fd_ < 0 || fstat(fd_, &st) != 0) return std::nullopt;
    return static_cast<FileTime>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

bool File::Close() {
    if (fd_ < 0) return true;
    int fd = fd_;
    fd_ = -1;
    // The lock goes with the descriptor.
    if (close(fd) != 0) return Fail();
    return true;
}

}  // namespace platform
