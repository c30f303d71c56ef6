// Conversions between the active code page, the legacy one and UTF-16.
#include "platform/CodePage.h"

#include <windows.h>

#include <cstdlib>

namespace platform {

namespace {

std::wstring ToWide(std::string_view text, UINT codePage) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), n);
    return wide;
}

}  // namespace

unsigned LegacyCodePage() {
    // The locale's default, not GetACP(): the manifest makes that 65001.
    char digits[8] = {};
    if (GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, digits, sizeof digits) > 1) {
        unsigned codePage = static_cast<unsigned>(std::strtoul(digits, nullptr, 10));
        // Locales without an ANSI code page of their own (Hindi, Georgian...) answer 0.
        if (codePage != 0) return codePage;
    }
    return GetACP();
}

std::string FromLegacyCodePage(std::string_view text) {
    const UINT legacy = LegacyCodePage();
    if (legacy == GetACP()) return std::string(text);
    return Narrow(ToWide(text, legacy));
}

std::wstring Widen(std::string_view text) { return ToWide(text, CP_ACP); }

std::string Narrow(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, narrow.data(), n, nullptr, nullptr);
    return narrow;
}

}  // namespace platform
