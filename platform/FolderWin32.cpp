// Folders on Windows (kernel32, ANSI calls): the counterpart of FolderPosix.cpp.
#include "platform/Folder.h"

#include "platform/FolderWin32.h"
#include "platform/Win32Handle.h"

#include <cstring>

namespace platform {

PathKind WalkKindOf(const WIN32_FIND_DATAA& data) {
    const DWORD attributes = data.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return PathKind::File;
    // Symbolic links to folders and junctions are name surrogates. Other reparse points on
    // folders (cloud placeholders, for one) are folders.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(data.dwReserved0))
        return PathKind::None;
    return PathKind::Directory;
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries, OsError* error) {
    entries.clear();
    std::string pattern = folder;
    if (!pattern.empty() && std::strchr(kNativeNameSeparators, pattern.back()) == nullptr)
        pattern += kNativeFolderSeparator;
    pattern += '*';
    WIN32_FIND_DATAA data{};
    OwnedFind find(FindFirstFileA(pattern.c_str(), &data));
    if (!find) {
        // A drive's empty root lists nothing at all, not even "." and "..".
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return true;
        if (error) *error = GetLastError();
        return false;
    }
    do {
        if (std::strcmp(data.cFileName, ".") == 0 || std::strcmp(data.cFileName, "..") == 0) continue;
        entries.push_back({data.cFileName, WalkKindOf(data)});
    } while (FindNextFileA(find.get(), &data));
    if (GetLastError() == ERROR_NO_MORE_FILES) return true;
    if (error) *error = GetLastError();
    return false;
}

bool CreateFolder(const std::string& path, OsError* error) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    const DWORD code = GetLastError();
    if (code == ERROR_ALREADY_EXISTS && DirectoryExists(path)) return true;
    if (error) *error = code;
    return false;
}

}  // namespace platform
