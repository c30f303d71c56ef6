// The GVI to AVI conversion routine.
#include "conversion/Convert.h"

#include "platform/File.h"

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

// Everything after both files are open; any failure here is crCorrupted.
TConvertResult Transform(platform::File& source, platform::File& dest,
                         const TConvertProgress& progress) {
    // The signature, one byte at a time; a byte past the end of a short file stays zero.
    uint8_t signature[4] = {0, 0, 0, 0};
    if (!source.Seek(kSignatureOffset)) return crCorrupted;
    for (uint8_t& b : signature) {
        size_t got = 0;
        if (!source.Read(&b, 1, got)) return crCorrupted;
    }
    for (int i = 0; i < 4; ++i) {
        if (signature[i] != kSignature[i]) return crCorrupted;
    }

    // The RIFF header, whatever it holds.
    uint8_t header[kGviBlockOffset];
    size_t got = 0;
    if (!source.Seek(0) || !ReadFully(source, header, sizeof header, got) || got != sizeof header)
        return crCorrupted;
    if (!dest.Write(header, sizeof header)) return crCorrupted;

    // The AVI data behind the block, streamed through one fixed buffer.
    std::optional<uint64_t> sourceSize = source.Size();
    if (!sourceSize || *sourceSize < kGviDataOffset) return crCorrupted;
    if (!source.Seek(kGviDataOffset)) return crCorrupted;
    std::vector<uint8_t> buffer(kConvertBlockSize);
    uint64_t written = kGviBlockOffset;
    for (;;) {
        size_t n = 0;
        if (!source.Read(buffer.data(), buffer.size(), n)) return crCorrupted;
        if (n == 0) break;
        if (!dest.Write(buffer.data(), n)) return crCorrupted;
        written += n;
        if (progress) progress(written, *sourceSize);
    }

    // The length field, corrected by the difference of the two lengths (low 32 bits, wrapping).
    uint8_t field[4];
    if (!source.Seek(4) || !ReadFully(source, field, sizeof field, got) || got != sizeof field)
        return crCorrupted;
    uint32_t length = static_cast<uint32_t>(field[0]) | static_cast<uint32_t>(field[1]) << 8 |
                      static_cast<uint32_t>(field[2]) << 16 | static_cast<uint32_t>(field[3]) << 24;
    std::optional<uint64_t> outSize = dest.Size();
    std::optional<uint64_t> inSize = source.Size();
    if (!outSize || !inSize) return crCorrupted;
    uint32_t corrected = length + static_cast<uint32_t>(*outSize) - static_cast<uint32_t>(*inSize);
    if (!dest.Seek(4)) return crCorrupted;
    for (int i = 0; i < 4; ++i) {
        // A failed write here would leave a wrong length in a file reported as complete.
        uint8_t b = static_cast<uint8_t>(corrected >> (8 * i));
        if (!dest.Write(&b, 1)) return crCorrupted;
    }
    return crOk;
}

}  // namespace

TConvertResult ConvertGviToAvi(const std::string& SourcePath, const std::string& DestPath,
                               const TConvertProgress& Progress) {
    platform::File source;
    platform::File dest;
    try {
        if (!source.OpenRead(SourcePath)) return crNotAvailable;
        if (!dest.Create(DestPath)) return crNotAvailable;
        TConvertResult result = Transform(source, dest, Progress);
        // Data the system could not store may show up only when the file is closed.
        bool destClosed = dest.Close();
        source.Close();
        if (result == crOk && !destClosed) return crCorrupted;
        return result;
    } catch (...) {
        // Out of memory, or a progress callback that threw; the files close on the way out.
        return dest.IsOpen() ? crCorrupted : crNotAvailable;
    }
}

TConvertResult ConvertGviToAvi(const std::string& SourcePath, const std::string& DestPath) {
    return ConvertGviToAvi(SourcePath, DestPath, TConvertProgress());
}
