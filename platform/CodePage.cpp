// UTF-8 well-formedness, on either system.
#include "platform/CodePage.h"

namespace platform {

size_t Utf8CharLength(unsigned char first) {
    if (first >= 0xC2 && first <= 0xDF) return 2;
    if (first >= 0xE0 && first <= 0xEF) return 3;
    if (first >= 0xF0 && first <= 0xF4) return 4;
    return 1;
}

bool IsUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto first = static_cast<unsigned char>(text[i]);
        const size_t n = Utf8CharLength(first);
        if (n == 1) {
            if (first >= 0x80) return false;
            ++i;
            continue;
        }
        if (i + n > text.size()) return false;
        // The second byte's range rules out overlong forms, surrogates and values past U+10FFFF.
        const auto second = static_cast<unsigned char>(text[i + 1]);
        unsigned char low = 0x80, high = 0xBF;
        if (first == 0xE0) low = 0xA0;
        if (first == 0xED) high = 0x9F;
        if (first == 0xF0) low = 0x90;
        if (first == 0xF4) high = 0x8F;
        if (second < low || second > high) return false;
        for (size_t k = 2; k < n; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

}  // namespace platform
