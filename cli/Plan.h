// What a gvi2avi run will convert and where, worked out from its FILE arguments before the
// first file converts: folders walked (with -r), output folders mirrored, resumed files left out.
#pragma once

#include "platform/File.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace cli {

// The folder with a separator at its end; "" stays "" and a drive ("C:") counts as ended.
std::string WithSeparator(std::string folder);

struct PlanOptions {
    std::string outputFolder;  // ending in a separator; empty: beside each source
    bool recursive = false;    // -r: a folder stands for the GVI files in its tree
    bool resume = false;       // -u: leave out what an earlier run converted
    bool quiet = false;        // -q: say nothing of the files left out
};

struct PlannedFile {
    std::string source;
    uint32_t folder = 0;  // index into Plan::Folders(): where its output goes
    uint64_t size = 0;    // as listed when planned
};

class Plan {
public:
    explicit Plan(PlanOptions options) : options_(std::move(options)) {}

    // Adds what one FILE argument stands for. Anything that is not a folder is planned as a
    // file, to fail in the conversion with the routine's own message if it must. Folders that
    // cannot be taken, and files left out by -u, are told on standard error here.
    void Add(const std::string& argument);

    const std::deque<PlannedFile>& Files() const { return files_; }
    const std::string& Folder(const PlannedFile& file) const { return folders_[file.folder]; }
    uint64_t Bytes() const { return bytes_; }
    int Failed() const { return failed_; }
    int AlreadyConverted() const { return alreadyConverted_; }

    // Makes the output folder of `file` and those above it that the run mirrors (once each;
    // never an -o folder itself, which must exist). False, told on standard error, on failure.
    bool MakeFolder(const PlannedFile& file);

private:
    void AddFile(std::string source, const std::string& folder);
    void AddTree(const std::string& root);
    bool IsConverted(const std::string& source, uint64_t size, const std::string& folder) const;

    PlanOptions options_;
    std::deque<PlannedFile> files_;
    std::vector<std::string> folders_;
    std::vector<bool> made_;
    std::map<std::string, uint32_t> folderIndex_;
    uint64_t bytes_ = 0;
    int failed_ = 0;
    int alreadyConverted_ = 0;
};

}  // namespace cli
