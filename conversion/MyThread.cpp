// TMyThread: the conversion worker.
#include "conversion/MyThread.h"

// How long the worker rests after each look at the hand-over fields.
constexpr DWORD kPollMs = 500;

void TMyThread::Execute() {
    while (!Terminated()) {
        if (!Synchronize([this] { TakeRequest(); })) break;
        if (Working) {
            // A running conversion is never cut short: termination is looked at only after
            // its result has been published.
            ResultCause = {};
            ResultCode = ConvertGviToAvi(SourcePath, DestPath, TConvertProgress(), &ResultCause);
            if (!Synchronize([this] { PublishResult(); })) break;
        }
        Sleep(kPollMs);
    }
}

void TMyThread::TakeRequest() {
    Working = RequestPending;
    if (RequestPending) Ready = false;
}

void TMyThread::PublishResult() {
    std::function<void()> discard = std::move(discard_);
    discard_ = nullptr;
    SourcePath.clear();
    DestPath.clear();
    if (!discard) {
        LastResult = ResultCode;
        LastCause = ResultCause;
    }
    Working = false;
    RequestPending = false;
    Ready = true;
    if (discard) discard();
}

void TMyThread::Withdraw(std::function<void()> Discard) {
    if (RequestPending && !Ready) {
        discard_ = std::move(Discard);
        return;
    }
    SourcePath.clear();
    DestPath.clear();
    RequestPending = false;
    if (Discard) Discard();
}
