// One file of a batch on disk.
#include "conversion/FileJob.h"

#include "platform/File.h"

bool TFileJob::Begin(const std::string& Source, const std::string& Folder,
                     const char* Separators) {
    source_ = Source;
    folder_ = Folder;
    separators_ = Separators;
    finalPath_ = MakeOutputName(Source, Folder, Separators);
    sourceSize_ = platform::ListedSize(Source).value_or(0);
    tempPath_.clear();
    tempError_ = 0;
    renameError_ = 0;
    // A name the file system cannot hold would show only at the rename, after all the work.
    if (!platform::NameFits(finalPath_, &tempError_)) return false;
    return platform::CreateUniqueFile(Folder, tempPath_, &tempError_);
}

TJobOutcome TFileJob::Finish(TConvertResult Result) {
    if (Result != crOk) {
        if (tempPath_.empty() || !platform::PathExists(tempPath_)) return joDiscarded;
        return platform::RemoveFile(tempPath_) ? joDiscarded : joNotRemoved;
    }
    if (tempPath_.empty()) return joNotRenamed;
    // The output keeps the date its recording was made on, so an archive still sorts by it.
    // Set before the rename, so a file under its final name is finished in every respect.
    // Without it the output stands all the same.
    if (std::optional<platform::FileTime> time = platform::ModifiedTime(source_))
        platform::SetModifiedTime(tempPath_, *time);
    if (platform::RenameNoReplace(tempPath_, finalPath_, &renameError_)) return joSaved;
    // Someone took the name while we converted: the next free one, once.
    if (platform::PathExists(finalPath_) && platform::FileExists(tempPath_)) {
        std::string again = MakeOutputName(source_, folder_, separators_.c_str());
        if (platform::RenameNoReplace(tempPath_, again, &renameError_)) {
            finalPath_ = std::move(again);
            return joSaved;
        }
    }
    return joNotRenamed;
}

std::string TFileJob::FailureText(TConvertResult Result, const TConvertCause& Cause,
                                  TMessageStyle Style) const {
    auto quoted = [](const std::string& text) { return "\"" + text + "\""; };
    if (Result != crNotAvailable && Result != crCorrupted) return {};
    if (Cause.File == cfOutput) {
        // Without a temporary file the routine only failed on the empty path: the real reason
        // is the one the folder gave.
        const platform::OsError error = tempPath_.empty() ? tempError_ : Cause.Error;
        std::string where = folder_.empty() ? std::string() : " in " + quoted(folder_);
        return "Could not write " + quoted(FileNamePart(finalPath_, separators_.c_str())) + where +
               ": " + platform::ErrorText(error);
    }
    const bool console = Style == TMessageStyle::Console;
    const std::string name = quoted(console ? source_ : FileNamePart(source_, separators_.c_str()));
    if (Cause.File == cfNeither) {
        return "Could not convert " + name + ": " +
               (Cause.Error != 0 ? platform::ErrorText(Cause.Error)
                                 : std::string("an unexpected error stopped it."));
    }
    if (Cause.File == cfSourceChanged)
        return name + " changed while it was being converted (is it still being copied or downloaded?)";
    if (Result == crCorrupted) return "Your GVI file " + name + " is corrupted.";
    if (console && Cause.Error != 0)
        return "File " + name + " is not available: " + platform::ErrorText(Cause.Error);
    return "File " + name + " is not available.";
}
