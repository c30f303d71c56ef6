// Narrow texts on Windows: their characters are the active code page's, which the ...A calls
// use; the decimal separator is the user's regional settings'.
#include "platform/Text.h"

#include <windows.h>

namespace platform {

size_t NextCharacter(std::string_view text, size_t at) {
    const UINT codePage = GetACP();
    if (codePage == CP_UTF8) return NextUtf8Character(text, at);
    const bool lead = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[at])) && at + 1 < text.size();
    return at + (lead ? 2 : 1);
}

std::string DecimalSeparator() {
    char buffer[8] = {};
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
    if (n <= 1) return ".";
    return std::string(buffer);
}

}  // namespace platform
