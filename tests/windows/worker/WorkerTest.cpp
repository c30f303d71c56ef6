// TMyThread: the hand-over states, taking a request within a poll, termination only after a
// running conversion has published its result.
#include "conversion/MyThread.h"
#include "Pump.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace {

// A conversion that runs until the test lets it finish.
struct GatedConverter {
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> calls{0};
    std::string source, dest;  // written on the worker before `started` is set
    TConvertResult result = crCorrupted;
    ~GatedConverter() {
        CloseHandle(started);
        CloseHandle(release);
    }
    TMyThread::TConverter Fn() {
        return [this](const std::string& s, const std::string& d) {
            source = s;
            dest = d;
            ++calls;
            SetEvent(started);
            WaitForSingleObject(release, 10000);
            return result;
        };
    }
};

bool Signalled(HANDLE h) { return WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }

TEST(Worker, HandOverStatesThroughOneRequest) {
    GatedConverter gate;
    TMyThread worker(20, gate.Fn());
    worker.Start();

    // Idle: before any request.
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(worker.Ready);
    EXPECT_FALSE(worker.RequestPending);
    EXPECT_EQ(worker.LastResult, 0);

    // Posted, then taken: converting.
    worker.Post("in.gvi", "out.tmp");
    EXPECT_TRUE(worker.Ready);
    EXPECT_TRUE(worker.RequestPending);
    ASSERT_TRUE(PumpUntil([&] { return !worker.Ready; }));
    ASSERT_EQ(WaitForSingleObject(gate.started, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(gate.source, "in.gvi");
    EXPECT_EQ(gate.dest, "out.tmp");
    EXPECT_TRUE(worker.RequestPending);
    EXPECT_FALSE(worker.RequestFinished());
    PumpUntil([] { return false; }, 100);  // the worker's steps keep running
    EXPECT_FALSE(worker.Ready);

    // Published: idle again, with the result kept.
    SetEvent(gate.release);
    ASSERT_TRUE(PumpUntil([&] { return worker.RequestFinished(); }));
    EXPECT_EQ(worker.LastResult, crCorrupted);
    EXPECT_TRUE(worker.SourcePath.empty());
    EXPECT_TRUE(worker.DestPath.empty());
    EXPECT_FALSE(worker.Working);
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(gate.calls, 1) << "one request, one conversion";
    EXPECT_EQ(worker.LastResult, crCorrupted);

    worker.Terminate();
    EXPECT_TRUE(worker.WaitFor(5000));
}

TEST(Worker, RequestIsTakenAtTheNextHalfSecondPoll) {
    // The program's own poll and conversion. The worker sleeps a whole poll after every pass,
    // the one that converted a file too: a request posted as soon as the one before has
    // finished waits nearly the whole poll, and not longer.
    TMyThread worker;
    worker.Start();
    worker.Post("C:\\vexlar-missing\\1.gvi", "C:\\vexlar-missing\\1.avi");
    ASSERT_TRUE(PumpUntil([&] { return worker.RequestFinished(); }, 5000));
    const ULONGLONG posted = GetTickCount64();
    worker.Post("C:\\vexlar-missing\\2.gvi", "C:\\vexlar-missing\\2.avi");
    ASSERT_TRUE(PumpUntil([&] { return worker.RequestFinished(); }, 5000));
    const ULONGLONG waited = GetTickCount64() - posted;
    EXPECT_GT(waited, 400u);
    EXPECT_LT(waited, 650u);
    EXPECT_EQ(worker.LastResult, crNotAvailable);
    worker.Terminate();
    EXPECT_TRUE(worker.WaitFor(5000));
}

TEST(Worker, TerminationWaitsForTheRunningConversionToPublish) {
    GatedConverter gate;
    gate.result = crNotAvailable;
    TMyThread worker(20, gate.Fn());
    worker.Start();
    worker.Post("x", "y");
    ASSERT_TRUE(PumpUntil([&] { return Signalled(gate.started); }));
    worker.Terminate();
    PumpUntil([] { return false; }, 200);
    EXPECT_FALSE(worker.Finished()) << "a conversion is never cut short";
    EXPECT_FALSE(worker.Ready);

    SetEvent(gate.release);
    ASSERT_TRUE(worker.WaitFor(5000));
    EXPECT_TRUE(worker.Ready);
    EXPECT_FALSE(worker.RequestPending);
    EXPECT_EQ(worker.LastResult, crNotAvailable);
    EXPECT_EQ(gate.calls, 1);
}

TEST(Worker, ConvertsARealFileAndFreesItselfAtTheEnd) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string src = std::string(base) + "vexlar-worker-" + std::to_string(GetCurrentProcessId()) + ".gvi";
    std::string dst = src + ".avi";
    {
        std::string gvi(200, 'x');
        gvi.replace(20, 4, "goog");
        HANDLE h = CreateFileA(src.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD w = 0;
        WriteFile(h, gvi.data(), static_cast<DWORD>(gvi.size()), &w, nullptr);
        CloseHandle(h);
    }

    static std::atomic<bool> freed{false};
    struct Worker : TMyThread {
        Worker() : TMyThread(20) {}
        ~Worker() override { freed = true; }
    };
    auto* worker = new Worker;  // as the progress window makes it
    worker->FreeOnTerminate = true;
    worker->Ready = true;
    worker->Start();
    worker->Post(src, dst);
    ASSERT_TRUE(PumpUntil([&] { return worker->RequestFinished(); }));
    EXPECT_EQ(worker->LastResult, crOk);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(dst.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 148u);

    worker->Terminate();
    EXPECT_TRUE(PumpUntil([] { return freed.load(); }));
    DeleteFileA(src.c_str());
    DeleteFileA(dst.c_str());
}

}  // namespace
