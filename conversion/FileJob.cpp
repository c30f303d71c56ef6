// One file of a batch on disk.
#include "conversion/FileJob.h"

#include "conversion/Progress.h"
#include "platform/File.h"

bool TFileJob::Begin(const std::string& Source, const std::string& Folder,
                     const char* Separators) {
    source_ = Source;
    folder_ = Folder;
    separators_ = Separators;
    finalPath_ = MakeOutputName(Source, Folder, Separators);
    sourceSize_ = platform::ListedSize(Source).value_or(0);
    tempPath_.clear();
    return platform::CreateUniqueFile(Folder, tempPath_);
}

TJobOutcome TFileJob::Finish(TConvertResult Result) {
    if (Result != crOk) {
        if (tempPath_.empty() || !platform::PathExists(tempPath_)) return joDiscarded;
        return platform::RemoveFile(tempPath_) ? joDiscarded : joNotRemoved;
    }
    if (tempPath_.empty()) return joNotRenamed;
    if (platform::RenameNoReplace(tempPath_, finalPath_)) return joSaved;
    // Someone took the name while we converted: the next free one, once.
    if (platform::PathExists(finalPath_) && platform::FileExists(tempPath_)) {
        std::string again = MakeOutputName(source_, folder_, separators_.c_str());
        if (platform::RenameNoReplace(tempPath_, again)) {
            finalPath_ = std::move(again);
            return joSaved;
        }
    }
    return joNotRenamed;
}

int TFileJob::CurrentPercent() const {
    if (tempPath_.empty()) return 0;
    return ::CurrentPercent(platform::CurrentSize(tempPath_).value_or(0), sourceSize_);
}
