// What a gvi2avi run will convert and where.
#include "cli/Plan.h"

#include "cli/Report.h"
#include "conversion/Convert.h"
#include "conversion/OutputName.h"
#include "platform/Folder.h"
#include "platform/Text.h"

#include <algorithm>
#include <deque>
#include <cstring>

namespace cli {

namespace {

bool IsSeparator(char c) { return std::strchr(platform::kNativeNameSeparators, c) != nullptr; }

// The folder part of a path, with its trailing separator ("" for a bare name).
std::string FolderOf(const std::string& path) {
    size_t last = path.find_last_of(platform::kNativeNameSeparators);
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

bool IsGviName(const std::string& name) {
    return name.size() > 4 && platform::SameTextAscii(std::string_view(name).substr(name.size() - 4), ".gvi");
}

// File systems that keep times in 2 s steps (FAT) store a time a little off the one set.
constexpr platform::FileTime kCoarsestTimeStep = 2'000'000'000;

}  // namespace

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && !IsSeparator(folder.back())) folder += platform::kNativeFolderSeparator;
    return folder;
}

void Plan::Add(const std::string& argument) {
    if (!platform::DirectoryExists(argument)) {
        AddFile(argument, options_.outputFolder.empty() ? FolderOf(argument) : options_.outputFolder);
    } else if (options_.recursive) {
        AddTree(argument);
    } else {
        Complain("\"%s\" is a folder; use -r to convert the GVI files in it and its folders.",
                 argument.c_str());
        ++failed_;
    }
}

// Every regular file whose name ends in ".gvi" in the tree, sorted by path in byte order.
// Links to folders are not followed (ListFolder does not report them as folders).
void Plan::AddTree(const std::string& root) {
    const std::string top = WithSeparator(root);
    std::deque<std::string> sources;
    std::vector<std::string> pending{top};
    std::vector<platform::FolderEntry> entries;
    while (!pending.empty()) {
        const std::string folder = std::move(pending.back());
        pending.pop_back();
        platform::OsError error = 0;
        if (!platform::ListFolder(folder, entries, &error)) {
            Complain("could not read the folder \"%s\": %s", folder.c_str(), platform::ErrorText(error).c_str());
            ++failed_;
            continue;
        }
        for (const platform::FolderEntry& entry : entries) {
            if (entry.kind == platform::PathKind::Directory)
                pending.push_back(folder + entry.name + platform::kNativeFolderSeparator);
            else if (entry.kind == platform::PathKind::File && IsGviName(entry.name))
                sources.push_back(folder + entry.name);
        }
    }
    std::sort(sources.begin(), sources.end());
    // The paths move into the plan one by one, and deques grow without copying: memory grows
    // by about the list of paths, once, however long it is.
    for (; !sources.empty(); sources.pop_front()) {
        const std::string folder = FolderOf(sources.front());
        AddFile(std::move(sources.front()), options_.outputFolder.empty()
                                                ? folder
                                                : options_.outputFolder + folder.substr(top.size()));
    }
}

void Plan::AddFile(std::string source, const std::string& folder) {
    const uint64_t size = platform::ListedSize(source).value_or(0);
    if (options_.resume && IsConverted(source, size, folder)) {
        ++alreadyConverted_;
        return;
    }
    auto [at, added] = folderIndex_.try_emplace(folder, static_cast<uint32_t>(folders_.size()));
    if (added) {
        folders_.push_back(folder);
        made_.push_back(false);
    }
    files_.push_back({std::move(source), at->second, size});
    bytes_ += size;
}

// The quick check of rsync and cp -u: the output without a counter is there with the size a
// conversion gives and the source's time. Reads no file's content.
bool Plan::IsConverted(const std::string& source, uint64_t size, const std::string& folder) const {
    if (size < kGviDataOffset) return false;
    const std::string output = folder + OutputBaseName(source, platform::kNativeNameSeparators);
    if (!platform::FileExists(output) || platform::ListedSize(output) != size - kGviBlockSize)
        return false;
    const std::optional<platform::FileTime> made = platform::ModifiedTime(output);
    const std::optional<platform::FileTime> recorded = platform::ModifiedTime(source);
    if (!made || !recorded || *made - *recorded >= kCoarsestTimeStep || *recorded - *made >= kCoarsestTimeStep)
        return false;
    if (!options_.quiet) Complain("\"%s\" is already converted: \"%s\".", source.c_str(), output.c_str());
    return true;
}

bool Plan::MakeFolder(const PlannedFile& file) {
    if (made_[file.folder]) return true;
    const std::string& folder = folders_[file.folder];
    const size_t root = options_.outputFolder.size();
    if (root != 0 && folder.size() > root) {
        for (size_t at = folder.find_first_of(platform::kNativeNameSeparators, root);
             at != std::string::npos; at = folder.find_first_of(platform::kNativeNameSeparators, at + 1)) {
            platform::OsError error = 0;
            if (!platform::CreateFolder(folder.substr(0, at), &error)) {
                Complain("could not make the folder \"%s\": %s", folder.substr(0, at).c_str(),
                         platform::ErrorText(error).c_str());
                return false;
            }
        }
    }
    made_[file.folder] = true;
    return true;
}

}  // namespace cli
