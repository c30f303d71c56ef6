// One file of a batch on disk: its final name, its temporary output, and what happens to that
// output once the conversion has a result. Shared by the progress window and gvi2avi.
#pragma once

#include "conversion/Convert.h"
#include "conversion/OutputName.h"
#include "platform/File.h"

#include <cstdint>
#include <string>

enum TJobOutcome : int32_t {
    joSaved = 0,       // the output has its final name, FinalPath()
    joDiscarded = 1,   // the conversion failed; its temporary output is gone
    joNotRenamed = 2,  // converted, but no free final name could be taken: it stays at TempPath()
    joNotRemoved = 3,  // the conversion failed and its temporary output could not be deleted
};

// How a failure names the source. The desktop program's boxes give its file name in their fixed
// texts; gvi2avi gives the path as the user typed it and, where the system gave one, the reason.
enum class TMessageStyle { Box, Console };

// Use from one thread: Begin before the conversion is handed out, Finish with its result.
// The conversion writes to TempPath(), a fresh file in the output folder itself, so a failed
// or partial output never appears under a real name and no user file is ever overwritten.
class TFileJob {
public:
    // Chooses the final name, reserves a temporary file under a name that existed nowhere
    // before, and notes the source's size. False when the final name cannot exist (too long
    // for the file system) or no temporary file could be made (folder missing or read-only):
    // TempPath() is then empty, and a conversion into it reports crNotAvailable at once, with
    // the system's reason in FailureText, just as a folder that cannot be written should.
    bool Begin(const std::string& Source, const std::string& Folder,
               const char* Separators = kWindowsNameSeparators);

    // Gives the output the source's modification time and renames it to its final name after
    // crOk (never replacing anything; if the name was taken meanwhile, once more under the
    // next free name), or deletes it otherwise.
    TJobOutcome Finish(TConvertResult Result);

    // The one-line message for a failed conversion of this job, empty for crOk: the source's
    // texts when the source is at fault, else the output's name and folder with the system's
    // reason (a full disk must never read as a corrupted source), or what stopped the
    // conversion itself.
    std::string FailureText(TConvertResult Result, const TConvertCause& Cause,
                            TMessageStyle Style = TMessageStyle::Box) const;

    // Why the last rename in Finish failed.
    platform::OsError RenameError() const { return renameError_; }

    const std::string& Source() const { return source_; }
    const std::string& Folder() const { return folder_; }
    const std::string& FinalPath() const { return finalPath_; }
    const std::string& TempPath() const { return tempPath_; }
    uint64_t SourceSize() const { return sourceSize_; }

private:
    std::string source_;
    std::string folder_;
    std::string separators_ = kWindowsNameSeparators;
    std::string finalPath_;
    std::string tempPath_;
    platform::OsError tempError_ = 0;  // why no temporary file could be made
    platform::OsError renameError_ = 0;
    uint64_t sourceSize_ = 0;
};
