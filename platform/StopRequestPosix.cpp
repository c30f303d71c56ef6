// Requests to stop on POSIX: the signals a terminal, a shell or a service manager sends.
#include "platform/StopRequest.h"

#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace platform {

namespace {

volatile std::sig_atomic_t received = 0;

extern "C" void OnStopSignal(int signal) { received = signal; }

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

}  // namespace

void CatchStopRequests() {
    for (int signal : kStopSignals) {
        struct sigaction old {};
        if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        // Restarted calls keep stdio whole; the work looks at the flag between blocks.
        action.sa_flags = SA_RESTART;
        sigaction(signal, &action, nullptr);
    }
}

bool StopRequested() { return received != 0; }

void EndForStopRequest() {
    int signal = received != 0 ? static_cast<int>(received) : SIGINT;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
    _exit(128 + signal);
}

}  // namespace platform
