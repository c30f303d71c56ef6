// tk::Thread: Synchronize runs steps on the user-interface thread while the worker waits.
#include "toolkit/Thread.h"
#include "Pump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A thread whose body is a lambda; records whether its object was freed.
class LambdaThread : public tk::Thread {
public:
    explicit LambdaThread(std::function<void(LambdaThread&)> body, std::atomic<bool>* freed = nullptr)
        : body_(std::move(body)), freed_(freed) {}
    ~LambdaThread() override {
        StopAndWait();
        if (freed_) *freed_ = true;
    }
    using tk::Thread::Synchronize;

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(LambdaThread&)> body_;
    std::atomic<bool>* freed_;
};

TEST(Thread, SynchronizeRunsOnTheUiThreadAndBlocksTheWorkerUntilDone) {
    const DWORD ui = GetCurrentThreadId();
    std::vector<std::string> log;  // touched by the worker only around the blocking call
    DWORD stepThread = 0;
    bool sawStepEffect = false;
    int value = 0;
    LambdaThread t([&](LambdaThread& self) {
        log.push_back("before");
        self.Synchronize([&] {
            stepThread = GetCurrentThreadId();
            Sleep(200);  // the worker must still be waiting afterwards
            value = 42;
            log.push_back("step");
        });
        sawStepEffect = value == 42;
        log.push_back("after");
    });
    t.Start();
    ASSERT_TRUE(t.WaitFor(5000));
    EXPECT_EQ(stepThread, ui);
    EXPECT_TRUE(sawStepEffect);
    EXPECT_EQ(log, (std::vector<std::string>{"before", "step", "after"}));
}

TEST(Thread, ExceptionOfAStepReachesTheWorkerAndNotTheMessageLoop) {
    std::string caught;
    LambdaThread t([&](LambdaThread& self) {
        try {
            self.Synchronize([] { throw std::runtime_error("step failed"); });
        } catch (const std::exception& e) {
            caught = e.what();
        }
        throw std::runtime_error("leaves the body");  // swallowed at the thread's edge
    });
    t.Start();
    ASSERT_TRUE(t.WaitFor(5000));
    EXPECT_TRUE(t.Finished());
    EXPECT_EQ(caught, "step failed");
}

TEST(Thread, FreeOnTerminateDeletesTheObjectWhenTheBodyEnds) {
    std::atomic<bool> freed{false};
    auto* t = new LambdaThread(
        [](LambdaThread& self) {
            while (!self.Terminated()) self.Synchronize([] {});
        },
        &freed);
    t->FreeOnTerminate = true;
    // The owner hears of the end on its own thread while the object is still there to forget.
    DWORD heardOn = 0;
    bool freedBeforeHeard = true;
    t->OnTerminate = [&](tk::Thread&) {
        heardOn = GetCurrentThreadId();
        freedBeforeHeard = freed;
    };
    t->Start();
    PumpUntil([] { return false; }, 100);
    EXPECT_FALSE(freed);
    t->Terminate();
    EXPECT_TRUE(PumpUntil([&] { return freed.load(); }));
    EXPECT_EQ(heardOn, GetCurrentThreadId());
    EXPECT_FALSE(freedBeforeHeard);
}

TEST(Thread, StepsRunInsideAModalMessageBox) {
    std::atomic<bool> ran{false};
    std::atomic<bool> boxWasOpen{false};
    LambdaThread t([&](LambdaThread& self) {
        // Wait for the box, then ask for a step while it is up.
        for (int i = 0; i < 500 && !FindWindowA(nullptr, "SyncBox"); ++i) Sleep(10);
        self.Synchronize([&] {
            boxWasOpen = FindWindowA(nullptr, "SyncBox") != nullptr;
            ran = true;
        });
        HWND box = FindWindowA(nullptr, "SyncBox");
        if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    t.Start();
    MessageBoxA(nullptr, "Waiting for a step", "SyncBox", MB_OK);
    ASSERT_TRUE(t.WaitFor(5000));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(boxWasOpen);
}

TEST(Thread, SynchronizeFromTheUiThreadRunsAtOnce) {
    bool ran = false;
    LambdaThread t([](LambdaThread&) {});
    EXPECT_TRUE(t.Synchronize([&] { ran = true; }));
    EXPECT_TRUE(ran);
}

}  // namespace
