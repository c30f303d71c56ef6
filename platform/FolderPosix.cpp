// Folders on POSIX systems: the counterpart of FolderWin32.cpp.
#include "platform/Folder.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace platform {

namespace {

struct CloseDir {
    void operator()(DIR* dir) const { closedir(dir); }
};

// What the walk may do with an entry whose type the listing did not tell, or a link.
PathKind KindAt(int folder, const char* name, bool link) {
    struct stat st {};
    if (!link && fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(st.st_mode)) return PathKind::Directory;
        if (S_ISREG(st.st_mode)) return PathKind::File;
        if (!S_ISLNK(st.st_mode)) return PathKind::None;
    }
    // A link counts as the file it names; a link to a folder is not followed.
    if (fstatat(folder, name, &st, 0) == 0 && S_ISREG(st.st_mode)) return PathKind::File;
    return PathKind::None;
}

}  // namespace

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries, OsError* error) {
    entries.clear();
    std::unique_ptr<DIR, CloseDir> dir(opendir(folder.c_str()));
    if (!dir) {
        if (error) *error = static_cast<OsError>(errno);
        return false;
    }
    const int fd = dirfd(dir.get());
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (!entry) break;
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        PathKind kind = entry->d_type == DT_REG   ? PathKind::File
                        : entry->d_type == DT_DIR ? PathKind::Directory
                        : entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN
                            ? KindAt(fd, entry->d_name, entry->d_type == DT_LNK)
                            : PathKind::None;
        entries.push_back({std::string(name), kind});
    }
    if (errno != 0) {
        if (error) *error = static_cast<OsError>(errno);
        return false;
    }
    return true;
}

bool CreateFolder(const std::string& path, OsError* error) {
    if (mkdir(path.c_str(), 0777) == 0) return true;
    const int saved = errno;
    if (saved == EEXIST && DirectoryExists(path)) return true;
    if (error) *error = static_cast<OsError>(saved);
    return false;
}

}  // namespace platform
