// The user's regional settings on Windows.
#include "platform/Text.h"

#include <windows.h>

namespace platform {

std::string DecimalSeparator() {
    char buffer[8] = {};
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
    if (n <= 1) return ".";
    return std::string(buffer);
}

}  // namespace platform
