// Folders for walking a tree of files: one level's entries, and making a folder.
#pragma once

#include "platform/File.h"

#include <string>
#include <vector>

namespace platform {

struct FolderEntry {
    std::string name;
    // File: a regular file, or a link to one. Directory: a real folder only. None: anything
    // else, links to folders and junctions included, so a walk never loops.
    PathKind kind = PathKind::None;
};

// The entries of `folder` (a folder path, with or without a trailing separator), without
// "." and "..", in the order the system lists them.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries,
                OsError* error = nullptr);

// Makes one folder; true also when a folder of that name is already there.
bool CreateFolder(const std::string& path, OsError* error = nullptr);

}  // namespace platform
