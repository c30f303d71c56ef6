// TMyThread: the conversion worker.
#include "conversion/MyThread.h"

TMyThread::TMyThread(DWORD PollMs, TConverter Converter)
    : pollMs_(PollMs), convert_(std::move(Converter)) {
    if (!convert_) convert_ = &TMyThread::Convert;
}

TConvertStatus TMyThread::Convert(const std::string& Source, const std::string& Dest) {
    TConvertCause cause;
    TConvertResult result = ConvertGviToAvi(Source, Dest, TConvertProgress(), &cause);
    return {result, cause};
}

void TMyThread::Execute() {
    while (!Terminated()) {
        if (!Synchronize([this] { TakeRequest(); })) break;
        if (Working) {
            // A running conversion is never cut short: termination is looked at only after
            // its result has been published.
            TConvertStatus status = convert_(SourcePath, DestPath);
            ResultCode = status.Result;
            ResultCause = status.Cause;
            if (!Synchronize([this] { PublishResult(); })) break;
        }
        Sleep(pollMs_);
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
