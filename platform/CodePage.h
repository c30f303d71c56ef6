// Texts between code pages: the program's strings are in the active code page (UTF-8 where the
// manifest is honoured); fixed texts from earlier versions are in the system's legacy one.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsUtf8(std::string_view text);

// Bytes of the UTF-8 character that starts with `first`: 1 for ASCII and for any byte that
// cannot start a sequence, so a walk over broken text still moves on.
size_t Utf8CharLength(unsigned char first);

#ifdef _WIN32
// The system locale's own ANSI code page (1252 on Western systems), which the texts of earlier
// versions are written in; GetACP() is 65001 under the manifest.
unsigned LegacyCodePage();
// A text of the legacy code page, for the ...A functions of this process.
std::string FromLegacyCodePage(std::string_view text);
// UTF-16 from the active code page, and back.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);
#endif

}  // namespace platform
