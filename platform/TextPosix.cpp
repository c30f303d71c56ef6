// Characters of narrow texts on POSIX systems (Linux): UTF-8 throughout.
#include "platform/Text.h"

namespace platform {

size_t NextCharacter(std::string_view text, size_t at) { return NextUtf8Character(text, at); }

}  // namespace platform
