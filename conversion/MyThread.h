// TMyThread: the conversion worker. Takes one request at a time from its hand-over fields.
#pragma once

#include "conversion/Convert.h"
#include "toolkit/Thread.h"

#include <cstdint>
#include <functional>
#include <string>

// The hand-over fields are touched by the user-interface thread only, and by the worker only
// inside its Synchronize steps, except SourcePath/DestPath (read while converting, when the
// user-interface thread leaves them alone because Ready is false) and ResultCode/ResultCause.
class TMyThread : public tk::Thread {
public:
    // Made suspended (tk::Thread); Start() sets it going.
    ~TMyThread() override { StopAndWait(); }

    bool Working = false;         // a request has been taken and is converting
    int32_t ResultCode = 0;       // result of the conversion just run (worker side)
    TConvertCause ResultCause;    // and its cause
    std::string SourcePath;       // request: source file
    std::string DestPath;         // request: output file
    int32_t LastResult = 0;       // result of the last finished request
    TConvertCause LastCause;      // the cause beside LastResult
    bool RequestPending = false;  // posted and not yet finished
    bool Ready = true;            // idle; LastResult belongs to the last finished request

    // Posting: only while Ready is true. A posted file has finished once Ready is true and
    // RequestPending is false.
    void Post(const std::string& Source, const std::string& Dest) {
        SourcePath = Source;
        DestPath = Dest;
        RequestPending = true;
    }
    bool RequestFinished() const { return Ready && !RequestPending; }

    // Withdrawing (user-interface thread): the request posted last is no longer wanted. One not
    // yet taken is taken back at once. A conversion that runs is never cut short: once it has
    // finished, its result is not published (LastResult keeps the one before) and Discard runs
    // instead, on the user-interface thread. Without a request in flight Discard runs at once.
    void Withdraw(std::function<void()> Discard);

protected:
    void Execute() override;

private:
    void TakeRequest();
    void PublishResult();

    std::function<void()> discard_;  // set while a withdrawn request converts
};
