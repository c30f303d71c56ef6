// TMyThread: the hand-over states, taking a request within a poll, termination only after a
// running conversion has published its result.
#include "conversion/MyThread.h"
#include "Pump.h"
#include "tests/windows/support/TestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

namespace {

TEST(Worker, HandOverStatesThroughOneRequest) {
    vt::TempFolder folder;
    vt::WorkerGate gate;
    TMyThread worker;
    worker.Start();

    // Idle: before any request.
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(worker.Ready);
    EXPECT_FALSE(worker.RequestPending);
    EXPECT_EQ(worker.LastResult, 0);

    // Posted, then taken: converting.
    worker.Post(folder.Write("in.gvi", "no GVI"), folder.File("out.tmp"));
    EXPECT_TRUE(worker.Ready);
    EXPECT_TRUE(worker.RequestPending);
    ASSERT_TRUE(gate.WaitStarted());
    EXPECT_FALSE(worker.Ready);
    EXPECT_TRUE(worker.RequestPending);
    EXPECT_FALSE(worker.RequestFinished());
    PumpUntil([] { return false; }, 100);  // the worker's steps keep running
    EXPECT_FALSE(worker.Ready);

    // Published: idle again, with the result kept.
    gate.Release();
    ASSERT_TRUE(PumpUntil([&] { return worker.RequestFinished(); }));
    EXPECT_EQ(gate.Dest(), folder.File("out.tmp"));
    EXPECT_EQ(worker.LastResult, crCorrupted);
    EXPECT_TRUE(worker.SourcePath.empty());
    EXPECT_TRUE(worker.DestPath.empty());
    EXPECT_FALSE(worker.Working);
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(gate.Calls(), 1) << "one request, one conversion";
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
    vt::WorkerGate gate;
    TMyThread worker;
    worker.Start();
    worker.Post("C:\\vexlar-missing\\x.gvi", "C:\\vexlar-missing\\y.avi");
    ASSERT_TRUE(gate.WaitStarted());
    worker.Terminate();
    PumpUntil([] { return false; }, 200);
    EXPECT_FALSE(worker.Finished()) << "a conversion is never cut short";
    EXPECT_FALSE(worker.Ready);

    gate.Release();
    ASSERT_TRUE(worker.WaitFor(5000));
    EXPECT_TRUE(worker.Ready);
    EXPECT_FALSE(worker.RequestPending);
    EXPECT_EQ(worker.LastResult, crNotAvailable);
    EXPECT_EQ(gate.Calls(), 1);
}

TEST(Worker, ConvertsARealFileAndFreesItselfAtTheEnd) {
    vt::TempFolder folder;
    std::string gvi(200, 'x');
    gvi.replace(20, 4, "goog");
    const std::string src = folder.Write("in.gvi", gvi), dst = folder.File("out.avi");

    static std::atomic<bool> freed{false};
    struct Worker : TMyThread {
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
}

}  // namespace
