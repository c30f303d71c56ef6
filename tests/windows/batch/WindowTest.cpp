// The progress window as the program makes it: its layout, the worker it starts, a batch on
// the real 1000 ms timer and 500 ms poll, and the worker stopping when the window goes.
#include "BatchFixture.h"

#include <chrono>
#include <string>
#include <vector>

using namespace batchtest;

namespace {

class ProgressWindowTest : public BatchTest {
protected:
    bool RealTiming() const override { return true; }
};

bool SamePicture(const tk::Bitmap& a, const tk::Bitmap& b) {
    return !a.Empty() && a.SaveToBmp() == b.SaveToBmp();
}

using Clock = std::chrono::steady_clock;
long long MsSince(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

}  // namespace

TEST_F(ProgressWindowTest, LayoutAndWorkerAsMade) {
    TForm2& f = *Form2;
    EXPECT_FALSE(IsWindowVisible(f.Handle())) << "made hidden";
    EXPECT_EQ(f.Caption(), "Converting...");
    char text[64] = {};
    GetWindowTextA(f.Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Converting...");
    LONG style = GetWindowLongA(f.Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_BORDER), 0);
    RECT client{};
    GetClientRect(f.Handle(), &client);
    EXPECT_EQ(client.right, 387);
    EXPECT_EQ(client.bottom, 136);

    // The bars start empty in their frames; the pieces they are drawn from stay hidden.
    EXPECT_TRUE(SamePicture(f.Image4->Picture(), f.Image5->Picture()));
    EXPECT_TRUE(f.Image6->Picture().Empty());
    EXPECT_TRUE(f.Image7->Picture().Empty());
    EXPECT_FALSE(f.Image2->Visible());
    EXPECT_FALSE(f.Image3->Visible());
    EXPECT_EQ(f.Label1->Caption(), "Current Operation:");
    EXPECT_EQ(f.Label2->Caption(), "Total Progress:");
    for (tk::Label* percent : {f.Label3, f.Label4}) {
        EXPECT_EQ(percent->Caption(), "0%");
        EXPECT_EQ(percent->GetAlignment(), tk::Alignment::RightJustify);
    }

    // The corner button wears the main window's close pictures and does nothing.
    EXPECT_TRUE(SamePicture(f.ImageButton9->NoneBitmap(), Form1->ImageButton9->NoneBitmap()));
    EXPECT_TRUE(SamePicture(f.ImageButton9->DownBitmap(), Form1->ImageButton9->DownBitmap()));
    EXPECT_TRUE(SamePicture(f.ImageButton9->UpBitmap(), Form1->ImageButton9->UpBitmap()));
    EXPECT_TRUE(SamePicture(f.ImageButton9->OverBitmap(), Form1->ImageButton9->OverBitmap()));
    EXPECT_FALSE(f.ImageButton9->OnClick);

    EXPECT_FALSE(f.Timer1->Enabled());
    EXPECT_EQ(f.Timer1->Interval(), 1000u);

    // The worker runs from the start, idle.
    ASSERT_NE(MyThread, nullptr);
    EXPECT_TRUE(MyThread->Ready);
    EXPECT_FALSE(MyThread->RequestPending);
    EXPECT_EQ(MyThread->LastResult, 0);
    EXPECT_TRUE(MyThread->FreeOnTerminate);
    EXPECT_TRUE(BatchFiles.empty());
    EXPECT_NE(EnableBatchTimer, nullptr);
    EXPECT_NE(ShowProgressWindow, nullptr);

    // Centred on the desktop when first shown.
    f.Show();
    vt::PumpFor(30);
    RECT r{};
    GetWindowRect(f.Handle(), &r);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 387) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 136) / 2);
    f.Hide();
}

// The design's own pace: a file begins one tick after Start, and each file takes the tick after
// the worker finished it; two small files end with the third tick.
TEST_F(ProgressWindowTest, ABatchOnTheRealTimerAndPoll) {
    vt::TempFolder src, out;
    const std::string one = src.Write("one.gvi", GviBytes(10000));
    const std::string two = src.Write("two.gvi", GviBytes(20000));
    long long doneAt = -1;
    const auto start = Clock::now();
    vt::DialogAnswerer answerer(AnswerEvery([&](HWND) { doneAt = MsSince(start); }));

    Start({one, two}, out.Path());
    ASSERT_TRUE(Converting);
    ASSERT_TRUE(vt::PumpUntil([] { return BatchIndex == 1; }, 3000));
    const long long firstFile = MsSince(start);
    EXPECT_GE(firstFile, 950);
    EXPECT_LT(firstFile, 1600);
    EXPECT_EQ(Form2->Label1->Caption(), "Convert file \"one.gvi\":");

    ASSERT_TRUE(vt::PumpUntil([] { return !Converting; }, 10000));
    EXPECT_GE(doneAt, 2900);
    EXPECT_LT(doneAt, 4800);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, "Done.");
    EXPECT_EQ(FolderNames(out.Path()), (std::set<std::string>{"one.AVI", "two.AVI"}));
    EXPECT_EQ(ReadFileBytes(out.File("two.AVI")), AviBytes(20000));
    EXPECT_TRUE(IsWindowVisible(Form1->WindowHandle()));
}

TEST_F(ProgressWindowTest, DestroyingTheWindowStopsTheWorker) {
    ASSERT_NE(MyThread, nullptr);
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, MyThread->ThreadId());
    ASSERT_NE(thread, nullptr);
    const auto start = Clock::now();
    Destroy();
    EXPECT_GE(MsSince(start), 990) << "the window waits a second for the worker";
    EXPECT_EQ(MyThread, nullptr);
    EXPECT_EQ(EnableBatchTimer, nullptr);
    EXPECT_EQ(ShowProgressWindow, nullptr);
    // The worker may be waiting for a step of this thread; once that runs it sees the request.
    EXPECT_TRUE(vt::PumpUntil([thread] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 3000));
    CloseHandle(thread);
}
