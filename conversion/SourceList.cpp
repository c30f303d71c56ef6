// The source list's rules: which files it takes, when a path is already listed, and what it
// shows of a file.
#include "conversion/SourceList.h"

#include "platform/File.h"
#include "platform/Text.h"

uint64_t FileSizeInBytes(const std::string& path) { return platform::ListedSize(path).value_or(0); }

std::string FormatMegabytes(uint64_t bytes, const std::string& decimalSeparator) {
    // Whole megabytes and hundredths in integers: exact halves (0.125, 0.375) round up, which
    // binary floating point with round-half-even would not promise.
    constexpr uint64_t kMega = 1024 * 1024;
    uint64_t whole = bytes / kMega;
    uint64_t hundredths = ((bytes % kMega) * 100 + kMega / 2) / kMega;
    if (hundredths == 100) {
        ++whole;
        hundredths = 0;
    }
    std::string text = std::to_string(whole) + decimalSeparator;
    if (hundredths < 10) text += '0';
    return text + std::to_string(hundredths);
}

std::string FileSizeText(const std::string& path) {
    return FormatMegabytes(FileSizeInBytes(path), platform::DecimalSeparator());
}

bool IsListed(const std::string& path, int rows, const std::function<std::string(int row)>& rowPath) {
    for (int row = 0; row < rows; ++row)
        if (rowPath(row) == path) return true;
    return false;
}

bool HasGviExtension(const std::string& path) {
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos) return false;
    if (path.find_first_of("\\:", dot) != std::string::npos) return false;
    return platform::SameTextAscii(std::string_view(path).substr(dot), ".GVI");
}
