// Characters of narrow texts on Windows: the active code page, which the ...A calls use.
#include "platform/Text.h"

#include <windows.h>

namespace platform {

size_t NextCharacter(std::string_view text, size_t at) {
    const UINT codePage = GetACP();
    if (codePage == CP_UTF8) return NextUtf8Character(text, at);
    const bool lead = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[at])) && at + 1 < text.size();
    return at + (lead ? 2 : 1);
}

}  // namespace platform
