// ASCII letter case, and the characters of a text.
#include "platform/Text.h"

#include "platform/CodePage.h"

#include <vector>

namespace platform {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

bool LessTextAscii(std::string_view a, std::string_view b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(AsciiUpper(a[i]));
        const auto y = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

size_t NextUtf8Character(std::string_view text, size_t at) {
    const size_t length = Utf8CharLength(static_cast<unsigned char>(text[at]));
    size_t end = at + 1;
    while (end < at + length && end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return end == at + length ? end : at + 1;
}

std::string ShortenMiddle(std::string_view text, size_t most) {
    std::vector<size_t> starts;
    for (size_t at = 0; at < text.size(); at = NextCharacter(text, at)) starts.push_back(at);
    if (starts.size() <= most) return std::string(text);
    const size_t kept = most > 3 ? most - 3 : 0;
    const size_t head = kept / 2;
    const size_t tail = kept - head;
    std::string shortened(text.substr(0, starts[head]));
    shortened.append("...").append(text.substr(starts[starts.size() - tail]));
    return shortened;
}

}  // namespace platform
