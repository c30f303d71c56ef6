// The GVI to AVI conversion routine: drops the 52-byte block after the RIFF header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/File.h"

enum TConvertResult : int32_t {
    crOk = 0,            // the output file is complete
    crNotAvailable = 1,  // the source cannot be opened, or the output cannot be created
    crCorrupted = 2,     // bad signature, or reading/writing failed once both files were open
};

// Which file a failure came from: the result codes alone would blame the source for a full disk.
enum TConvertFailedFile : int32_t {
    cfNone = 0,           // no failure, or none told (a bare result)
    cfSource = 1,         // the source could not be opened or read, or is no GVI file
    cfOutput = 2,         // the output could not be created or written
    cfSourceChanged = 3,  // the source's size or time moved while it was copied
    cfNeither = 4,        // the conversion itself stopped (out of memory, a throwing callback)
};

// Told beside a result other than crOk: the file that failed and the system's error code (0
// when the file itself could be read but its content is wrong, or when there is no system
// error to tell).
struct TConvertCause {
    TConvertFailedFile File = cfNone;
    platform::OsError Error = 0;
};

// Converts SourcePath (a GVI file) into DestPath, replacing any file of that name. Both files
// are opened exclusively and are closed again on every path; nothing is thrown. The copy takes
// the source as it was when opened; one that changes meanwhile fails. On a failure the output
// is left as far as it was written; deleting it is the caller's business.
TConvertResult ConvertGviToAvi(const std::string& SourcePath, const std::string& DestPath);

// Told, on the converting thread, after each block: the output's length so far and the source's
// length. An exception thrown here ends the conversion with crCorrupted.
using TConvertProgress = std::function<void(uint64_t outputBytes, uint64_t sourceBytes)>;

// The same conversion, reporting its progress and, when Cause is given, what made it fail.
TConvertResult ConvertGviToAvi(const std::string& SourcePath, const std::string& DestPath,
                               const TConvertProgress& Progress, TConvertCause* Cause = nullptr);

// Constants of the file layout.
inline constexpr uint64_t kGviBlockOffset = 12;  // the block follows the RIFF header
inline constexpr uint64_t kGviBlockSize = 52;
inline constexpr uint64_t kGviDataOffset = kGviBlockOffset + kGviBlockSize;
inline constexpr size_t kConvertBlockSize = 61440;  // the copy never holds more than this
