// The Windows console: UTF-8 output while the program runs, and wildcards in its arguments.
#include "platform/Console.h"

#include <windows.h>

#include <cstdlib>

// cmd.exe hands "*.gvi" over as typed and leaves the matching to the program; mingw-w64's runtime
// expands it only when asked. A pattern that matches nothing stays as typed.
extern "C" {
int _dowildcard = -1;
}

namespace platform {

namespace {

UINT savedOutputCodePage = 0;

void RestoreOutputCodePage() { SetConsoleOutputCP(savedOutputCodePage); }

}  // namespace

void WriteNamesAsUtf8() {
    if (savedOutputCodePage != 0) return;
    // 0: no console at all. Any output may reach the console, so it is set whatever is redirected.
    const UINT current = GetConsoleOutputCP();
    if (current == 0 || current == CP_UTF8) return;
    if (!SetConsoleOutputCP(CP_UTF8)) return;
    savedOutputCodePage = current;
    std::atexit(RestoreOutputCodePage);
}

}  // namespace platform
