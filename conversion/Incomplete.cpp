// Sources cut short.
#include "conversion/Incomplete.h"

#include "conversion/Convert.h"
#include "platform/File.h"

uint64_t MissingBytes(const std::string& AviPath) {
    platform::File file;
    uint8_t header[8];
    size_t got = 0;
    if (!file.OpenReadShared(AviPath) || !file.Read(header, sizeof header, got) || got != sizeof header)
        return 0;
    std::optional<uint64_t> size = file.Size();
    if (!size) return 0;
    // Back to the source's terms: the conversion took the block out of both the file and its
    // length field (which wraps below 52; such a source cannot be short, being 64 bytes or more).
    const uint32_t field = static_cast<uint32_t>(header[4]) | static_cast<uint32_t>(header[5]) << 8 |
                           static_cast<uint32_t>(header[6]) << 16 | static_cast<uint32_t>(header[7]) << 24;
    const uint64_t stated = static_cast<uint32_t>(field + kGviBlockSize) + uint64_t{8};
    const uint64_t held = *size + kGviBlockSize;
    return held < stated ? stated - held : 0;
}
