// ASCII letter case: names in layouts, caption tables and file extensions are matched without
// regard to it, and never by the system's locale. And where the characters of a narrow text
// begin, so that nothing cuts one in two.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

char AsciiUpper(char c);
// Equal but for the case of ASCII letters.
bool SameTextAscii(std::string_view a, std::string_view b);
// An order that ignores the case of ASCII letters (for maps keyed by such names).
bool LessTextAscii(std::string_view a, std::string_view b);

// Where the character after the one that starts at `at` begins, in the encoding of the system's
// narrow texts: UTF-8 on Linux; the active code page on Windows (UTF-8, or a single- or
// double-byte code page). A byte that begins no whole character counts as one.
size_t NextCharacter(std::string_view text, size_t at);
// The same in UTF-8.
size_t NextUtf8Character(std::string_view text, size_t at);

// The text when it has at most `most` characters; otherwise its first and last characters
// around "...", `most` characters in all.
std::string ShortenMiddle(std::string_view text, size_t most);

// The decimal separator of the user's regional settings ("." when there is none).
std::string DecimalSeparator();

}  // namespace platform
