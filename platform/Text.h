// ASCII letter case: names in layouts, caption tables and file extensions are matched without
// regard to it, and never by the system's locale.
#pragma once

#include <string_view>

namespace platform {

char AsciiUpper(char c);
// Equal but for the case of ASCII letters.
bool SameTextAscii(std::string_view a, std::string_view b);
// An order that ignores the case of ASCII letters (for maps keyed by such names).
bool LessTextAscii(std::string_view a, std::string_view b);

}  // namespace platform
