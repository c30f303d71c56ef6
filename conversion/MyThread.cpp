// TMyThread: the conversion worker.
#include "conversion/MyThread.h"

TMyThread::TMyThread(DWORD PollMs, TConverter Converter)
    : pollMs_(PollMs), convert_(std::move(Converter)) {
    if (!convert_) {
        convert_ = [](const std::string& s, const std::string& d) { return ConvertGviToAvi(s, d); };
    }
}

void TMyThread::Execute() {
    while (!Terminated()) {
        if (!Synchronize([this] { TakeRequest(); })) break;
        if (Working) {
            // A running conversion is never cut short: termination is looked at only after
            // its result has been published.
            ResultCode = convert_(SourcePath, DestPath);
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
    SourcePath.clear();
    DestPath.clear();
    LastResult = ResultCode;
    Working = false;
    RequestPending = false;
    Ready = true;
}
