// Narrow texts on POSIX systems (Linux): UTF-8 throughout; the decimal separator is the
// process's locale's.
#include "platform/Text.h"

#include <clocale>

namespace platform {

size_t NextCharacter(std::string_view text, size_t at) { return NextUtf8Character(text, at); }

std::string DecimalSeparator() {
    const char* point = std::localeconv()->decimal_point;
    return point && *point ? point : ".";
}

}  // namespace platform
