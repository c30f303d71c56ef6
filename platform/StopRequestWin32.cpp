// Requests to stop on Windows: the console's control events.
#include "platform/StopRequest.h"

#include <windows.h>

#include <cstdlib>

namespace platform {

namespace {

volatile LONG received = 0;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    InterlockedExchange(&received, 1);
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
    // Closing the console, logoff, shutdown: the system ends the process as soon as this
    // returns (or after its time-out), so wait here while the main thread cleans up and
    // ends the process itself.
    Sleep(INFINITE);
    return TRUE;
}

}  // namespace

void CatchStopRequests() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool StopRequested() { return InterlockedCompareExchange(&received, 0, 0) != 0; }

void EndForStopRequest() { std::exit(130); }

}  // namespace platform
