// Thread: a worker thread object with a blocking Synchronize onto the user-interface thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "toolkit/Handles.h"

namespace tk {

// Construct on the user-interface thread (the first Thread made there binds Synchronize to
// it), set FreeOnTerminate if wanted, then Start. The body is Execute, run on the new thread;
// an exception that leaves it is swallowed there.
class Thread {
public:
    Thread();
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts the body; a second call does nothing.
    void Start();

    // Asks the body to stop; the body decides when it looks (Terminated()).
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    // The object is deleted when the body has returned: on the user-interface thread, at its
    // next message, so that nothing there is left holding a freed object. (Only when that
    // thread has ended is it deleted on its own thread.) Set before Start.
    bool FreeOnTerminate = false;
    // For FreeOnTerminate objects: runs on the user-interface thread once the body has returned,
    // for whatever reason, just before the object is deleted there. The owner forgets it here.
    std::function<void(Thread& sender)> OnTerminate;

    // True once the body has returned (only for objects that do not free themselves).
    bool Finished() const { return finished_; }

    // Waits until the body has returned, dispatching the calling thread's messages meanwhile
    // so that a body blocked in Synchronize can go on. Not for FreeOnTerminate objects. False
    // on timeout.
    bool WaitFor(DWORD timeoutMs = INFINITE);

    DWORD ThreadId() const { return threadId_; }

protected:
    virtual void Execute() = 0;

    // For destructors of derived classes whose objects the owner deletes: asks a running body
    // to stop and waits for it before the derived members go. Does nothing on the thread itself.
    void StopAndWait();

    // Runs step on the user-interface thread and returns when it has run; called from that
    // thread itself, it runs at once. The step runs when that thread dispatches its posted
    // messages, modal loops included. An exception from the step is raised again here.
    // Returns false without running the step if the user-interface thread has ended; the
    // thread is then marked terminated, so a body that checks Terminated() winds down.
    bool Synchronize(const std::function<void()>& step);

private:
    static DWORD WINAPI ThreadProc(LPVOID param);

    OwnedHandle handle_;
    DWORD threadId_ = 0;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    bool started_ = false;
};

}  // namespace tk
