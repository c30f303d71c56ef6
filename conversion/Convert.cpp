// The GVI to AVI conversion routine.
#include "conversion/Convert.h"

#include "platform/File.h"

#include <new>
#include <vector>

namespace {

constexpr uint8_t kSignature[4] = {0x67, 0x6F, 0x6F, 0x67};  // "goog" at offset 20
constexpr uint64_t kSignatureOffset = 20;

// Reads until `size` bytes are in or the file ends; false only on a read error.
bool ReadFully(platform::File& file, uint8_t* buffer, size_t size, size_t& got) {
    got = 0;
    while (got < size) {
        size_t n = 0;
        if (!file.Read(buffer + got, size - got, n)) return false;
        if (n == 0) break;
        got += n;
    }
    return true;
}

// Everything after both files are open; any failure here is crCorrupted, with the file it
// came from in `cause`.
TConvertResult Transform(platform::File& source, platform::File& dest,
                         const TConvertProgress& progress, TConvertCause& cause) {
    auto failed = [&cause](TConvertFailedFile file, platform::OsError error) {
        cause = {file, error};
        return crCorrupted;
    };
    auto sourceFailed = [&] { return failed(cfSource, source.LastError()); };
    auto outputFailed = [&] { return failed(cfOutput, dest.LastError()); };
    // Read fine, but no GVI file: there is no system error to tell.
    auto notAGvi = [&] { return failed(cfSource, 0); };

    // The source as it was opened. On Linux other programs may still write to it (a copy or a
    // download still arriving): the copy takes exactly these bytes, so a writer faster than the
    // copy cannot keep it going, and a source whose size or time has moved by the end fails
    // rather than give a file that matches neither its old nor its new content.
    const std::optional<uint64_t> sourceSize = source.Size();
    const std::optional<platform::FileTime> sourceTime = source.ModifiedTime();
    if (!sourceSize || !sourceTime) return sourceFailed();
    auto sourceChanged = [&] { return failed(cfSourceChanged, 0); };

    // The RIFF header and the block in one read: for many small files the calls, not the
    // bytes, take the time. A byte past the end of a short file stays zero, so a short file
    // fails the signature test just as it fails reading the signature byte by byte.
    uint8_t head[kGviDataOffset] = {};
    size_t got = 0;
    if (!ReadFully(source, head, sizeof head, got)) return sourceFailed();
    for (int i = 0; i < 4; ++i) {
        if (head[kSignatureOffset + i] != kSignature[i]) return notAGvi();
    }
    if (!dest.Write(head, kGviBlockOffset)) return outputFailed();

    // The AVI data behind the block, streamed through one fixed buffer; the source stands
    // right behind the block after the read above. A source cut short shows as an early end.
    if (got < kGviDataOffset || *sourceSize < kGviDataOffset) return notAGvi();
    std::vector<uint8_t> buffer(kConvertBlockSize);
    uint64_t written = kGviBlockOffset;
    for (uint64_t left = *sourceSize - kGviDataOffset; left > 0;) {
        size_t n = 0;
        const size_t ask = left < buffer.size() ? static_cast<size_t>(left) : buffer.size();
        if (!source.Read(buffer.data(), ask, n)) return sourceFailed();
        if (n == 0) return sourceChanged();
        if (!dest.Write(buffer.data(), n)) return outputFailed();
        written += n;
        left -= n;
        if (progress) progress(written, *sourceSize);
    }
    if (source.Size() != sourceSize || source.ModifiedTime() != sourceTime) return sourceChanged();

    // The length field, corrected by the difference of the two lengths (low 32 bits,
    // wrapping). The output was created empty, so its length is what was written.
    uint32_t length = static_cast<uint32_t>(head[4]) | static_cast<uint32_t>(head[5]) << 8 |
                      static_cast<uint32_t>(head[6]) << 16 | static_cast<uint32_t>(head[7]) << 24;
    uint32_t corrected = length + static_cast<uint32_t>(written) - static_cast<uint32_t>(*sourceSize);
    const uint8_t field[4] = {static_cast<uint8_t>(corrected), static_cast<uint8_t>(corrected >> 8),
                              static_cast<uint8_t>(corrected >> 16), static_cast<uint8_t>(corrected >> 24)};
    // A failed write here would leave a wrong length in a file reported as complete.
    if (!dest.Seek(4) || !dest.Write(field, sizeof field)) return outputFailed();
    return crOk;
}

TConvertResult Convert(const std::string& SourcePath, const std::string& DestPath,
                       const TConvertProgress& Progress, TConvertCause& cause) {
    platform::File source;
    platform::File dest;
    try {
        if (!source.OpenRead(SourcePath)) {
            cause = {cfSource, source.LastError()};
            return crNotAvailable;
        }
        if (!dest.Create(DestPath)) {
            cause = {cfOutput, dest.LastError()};
            return crNotAvailable;
        }
        TConvertResult result = Transform(source, dest, Progress, cause);
        // Data the system could not store may show up only when the file is closed.
        bool destClosed = dest.Close();
        source.Close();
        if (result == crOk && !destClosed) {
            cause = {cfOutput, dest.LastError()};
            return crCorrupted;
        }
        return result;
    } catch (const std::bad_alloc&) {
        cause = {cfNeither, platform::OutOfMemoryError()};
    } catch (...) {
        cause = {cfNeither, 0};  // a progress callback that threw
    }
    // Neither file is to blame; both close on the way out.
    return dest.IsOpen() ? crCorrupted : crNotAvailable;
}

}  // namespace

TConvertResult ConvertGviToAvi(const std::string& SourcePath, const std::string& DestPath,
                               const TConvertProgress& Progress, TConvertCause* Cause) {
    TConvertCause cause;
    TConvertResult result = Convert(SourcePath, DestPath, Progress, cause);
    if (Cause) *Cause = cause;
    return result;
}

TConvertResult ConvertGviToAvi(const std::string& SourcePath, const std::string& DestPath) {
    return ConvertGviToAvi(SourcePath, DestPath, TConvertProgress());
}
