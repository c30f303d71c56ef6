// A worker waiting in Synchronize when its user-interface thread ends must not hang.
#include "toolkit/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

class Orphan : public tk::Thread {
public:
    std::atomic<int> result{-1};
    HANDLE entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~Orphan() override { CloseHandle(entered); }

protected:
    void Execute() override {
        SetEvent(entered);
        bool ran = Synchronize([] {});
        result = ran ? 1 : 0;
    }
};

TEST(Thread, SynchronizeGivesUpWhenTheUiThreadHasEnded) {
    Orphan* worker = nullptr;
    // This thread plays the user-interface thread: it makes the first Thread, so steps belong
    // to it, then ends without ever dispatching a message.
    std::thread ui([&] {
        worker = new Orphan;
        worker->Start();
        WaitForSingleObject(worker->entered, 5000);
        Sleep(100);  // the worker is now inside Synchronize
    });
    ui.join();
    ASSERT_NE(worker, nullptr);
    ASSERT_TRUE(worker->WaitFor(5000)) << "the worker is stuck in Synchronize";
    EXPECT_EQ(worker->result, 0);
    EXPECT_TRUE(worker->Terminated());
    delete worker;
}

}  // namespace
