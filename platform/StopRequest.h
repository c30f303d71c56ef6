// Requests to stop a console program (signals, console events); one implementation per OS.
#pragma once

namespace platform {

// From now on a request to stop is noted instead of ending the process at once: SIGINT,
// SIGTERM and SIGHUP on POSIX (except those ignored at start, as under nohup); Ctrl-C,
// Ctrl-Break and closing the console on Windows.
void CatchStopRequests();

// Whether a request to stop has come; safe to ask from any thread.
bool StopRequested();

// Ends the process as the request asks, once the caller has cleaned up: by the signal itself
// on POSIX (a calling shell sees 128 + the signal and stops its own loop), with 130 on Windows.
[[noreturn]] void EndForStopRequest();

}  // namespace platform
