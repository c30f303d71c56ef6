// The console on POSIX systems: names are bytes, written as they are.
#include "platform/Console.h"

namespace platform {

void WriteNamesAsUtf8() {}

}  // namespace platform
