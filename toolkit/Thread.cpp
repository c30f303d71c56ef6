// Thread: worker threads and the message-only window that runs their Synchronize steps.
#include "toolkit/Thread.h"

#include "toolkit/Application.h"

#include <deque>
#include <exception>
#include <stdexcept>
#include <string>

namespace tk {

namespace {

constexpr UINT kRunSteps = WM_APP + 1;
constexpr UINT kThreadEnded = WM_APP + 2;  // lParam: a FreeOnTerminate Thread whose body returned
constexpr char kSyncClass[] = "VexlarThreadSync";

struct SyncRequest {
    const std::function<void()>* step = nullptr;
    std::exception_ptr error;
    HANDLE done = nullptr;
};

// The user-interface side of Synchronize: one per process, made by the first Thread and never
// freed, because a worker may still be inside Synchronize while the process runs its exit code.
struct SyncHub {
    DWORD threadId = 0;
    HANDLE thread = nullptr;  // waitable: a worker stops waiting once this thread has ended
    HWND window = nullptr;
    SRWLOCK lock = SRWLOCK_INIT;
    std::deque<SyncRequest*> pending;
};

SRWLOCK hubLock = SRWLOCK_INIT;
SyncHub* hub = nullptr;

// Holds a lock for the scope.
class Locked : NoCopy {
public:
    explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~Locked() { ReleaseSRWLockExclusive(&lock_); }
private:
    SRWLOCK& lock_;
};

SyncRequest* TakeNext(SyncHub& h) {
    Locked locked(h.lock);
    if (h.pending.empty()) return nullptr;
    SyncRequest* r = h.pending.front();
    h.pending.pop_front();
    return r;
}

// Removes a request that was never run; false if the user-interface side had taken it.
bool Withdraw(SyncHub& h, SyncRequest* r) {
    Locked locked(h.lock);
    return std::erase(h.pending, r) > 0;
}

// The user-interface side of a FreeOnTerminate object's end.
void EndThreadObject(Thread* thread) {
    try {
        if (thread->OnTerminate) thread->OnTerminate(*thread);
    } catch (...) {
        // Nothing crosses the message loop.
    }
    delete thread;
}

LRESULT CALLBACK SyncWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kRunSteps && hub) {
        // Every waiting step, in the order posted; a step may run a modal loop that comes
        // back here, which simply takes the next one.
        while (SyncRequest* r = TakeNext(*hub)) {
            try {
                (*r->step)();
            } catch (...) {
                r->error = std::current_exception();
            }
            SetEvent(r->done);  // r belongs to the waiting worker from here on
        }
        return 0;
    }
    if (msg == kThreadEnded) {
        EndThreadObject(reinterpret_cast<Thread*>(lp));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

SyncHub* EnsureHub() {
    Locked locked(hubLock);
    if (!hub) {
        auto* h = new SyncHub;
        h->threadId = GetCurrentThreadId();
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &h->thread,
                        SYNCHRONIZE, FALSE, 0);
        h->window = CreateHelperWindow(kSyncClass, SyncWindowProc);
        hub = h;
    }
    return hub;
}

}  // namespace

Thread::Thread() { EnsureHub(); }

Thread::~Thread() {
    if (!handle_) return;
    // An owner that deletes a running thread: stop it first rather than pull the object from
    // under it (derived classes do the same in their own destructors, see StopAndWait).
    StopAndWait();
}

void Thread::StopAndWait() {
    if (!handle_ || finished_ || GetCurrentThreadId() == threadId_) return;
    Terminate();
    WaitFor(INFINITE);
}

void Thread::Start() {
    if (started_) return;
    DWORD id = 0;
    // Suspended until the fields are set: a short body may free the object at once.
    HANDLE h = CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id);
    if (!h) throw std::runtime_error("Thread creation error: " + std::to_string(GetLastError()));
    handle_.reset(h);
    threadId_ = id;
    started_ = true;
    ResumeThread(h);
}

DWORD WINAPI Thread::ThreadProc(LPVOID param) {
    auto* self = static_cast<Thread*>(param);
    try {
        self->Execute();
    } catch (...) {
        // Nothing crosses the thread's boundary.
    }
    if (!self->FreeOnTerminate) {
        self->finished_ = true;  // the owner may delete the object from now on
        return 0;
    }
    self->finished_ = true;  // its destructor has nothing to wait for
    SyncHub* h = hub;
    if (h && PostMessageA(h->window, kThreadEnded, 0, reinterpret_cast<LPARAM>(self))) return 0;
    // Nobody is left on the user-interface side to hold it. If that thread still runs (its
    // queue is full), the object is left rather than freed under a pointer held there.
    if (!h || WaitForSingleObject(h->thread, 0) == WAIT_OBJECT_0) delete self;
    return 0;
}

bool Thread::WaitFor(DWORD timeoutMs) {
    if (!handle_) return true;
    if (GetCurrentThreadId() == threadId_) return false;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        DWORD wait = INFINITE;
        if (timeoutMs != INFINITE) {
            ULONGLONG spent = GetTickCount64() - start;
            if (spent >= timeoutMs) return WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0;
            wait = static_cast<DWORD>(timeoutMs - spent);
        }
        HANDLE thread = handle_.get();
        DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, wait, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) return true;
        if (r == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
                    return WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0;
                }
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        } else if (r != WAIT_TIMEOUT) {
            return false;
        }
    }
}

bool Thread::Synchronize(const std::function<void()>& step) {
    SyncHub* h = hub;
    if (!h || GetCurrentThreadId() == h->threadId) {
        step();
        return true;
    }
    SyncRequest request;
    request.step = &step;
    // Manual reset: the signal is looked at again after the wait below.
    OwnedHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!done) throw std::runtime_error("Synchronize: no event");
    request.done = done.get();

    {
        Locked locked(h->lock);
        h->pending.push_back(&request);
    }

    HANDLE waits[2] = {request.done, h->thread};
    if (PostMessageA(h->window, kRunSteps, 0, 0)) WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    bool ran = false;
    if (!Withdraw(*h, &request)) {
        // Taken by the user-interface thread (perhaps with another worker's message): wait
        // until it has run, unless that thread ends first.
        WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        ran = WaitForSingleObject(request.done, 0) == WAIT_OBJECT_0;
    }
    if (!ran) {
        // The user-interface thread is gone (or its window): nobody will run steps any more.
        Terminate();
        return false;
    }
    if (request.error) std::rethrow_exception(request.error);
    return true;
}

}  // namespace tk
