// The user's regional settings elsewhere: the process's locale.
#include "platform/Text.h"

#include <clocale>

namespace platform {

std::string DecimalSeparator() {
    const char* point = std::localeconv()->decimal_point;
    return point && *point ? point : ".";
}

}  // namespace platform
