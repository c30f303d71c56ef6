// What the progress window shows while a file converts: the percentages, the bar pictures
// pixel by pixel, a source beyond 4 GiB, and dragging the window by its background.
#include "BatchFixture.h"

#include <string>
#include <vector>

using namespace batchtest;

namespace {

// The bar pieces, top row to bottom row.
const std::vector<COLORREF> kEdge = {RGB(0xAC, 0xDE, 0xB0), RGB(0x6D, 0xC1, 0x74), RGB(0x6D, 0xC1, 0x74),
                                     RGB(0x6D, 0xC1, 0x74), RGB(0x6D, 0xC1, 0x74), RGB(0x6D, 0xC1, 0x74),
                                     RGB(0x6D, 0xC1, 0x74), RGB(0x6D, 0xC1, 0x74), RGB(0x6D, 0xC1, 0x74),
                                     RGB(0x6D, 0xC1, 0x74), RGB(0x6D, 0xC1, 0x74), RGB(0x6D, 0xC1, 0x74),
                                     RGB(0x6D, 0xC1, 0x74), RGB(0xAC, 0xDE, 0xB0)};
const std::vector<COLORREF> kFill = {RGB(0x6D, 0xC1, 0x74), RGB(0xEB, 0xF9, 0xEB), RGB(0xE1, 0xF9, 0xE1),
                                     RGB(0xD8, 0xF8, 0xD5), RGB(0xCB, 0xF3, 0xCA), RGB(0xC4, 0xF2, 0xC1),
                                     RGB(0xB3, 0xE2, 0xB0), RGB(0xB2, 0xE2, 0xB0), RGB(0xBF, 0xEE, 0xBC),
                                     RGB(0xC1, 0xEF, 0xBF), RGB(0xAF, 0xDF, 0xAD), RGB(0xA8, 0xD8, 0xA6),
                                     RGB(0xB3, 0xE4, 0xB2), RGB(0x6D, 0xC1, 0x74)};

std::vector<COLORREF> Column(const tk::Bitmap& b, int x) {
    std::vector<COLORREF> c;
    for (int y = 0; y < b.Height(); ++y) c.push_back(b.Pixel(x, y));
    return c;
}

// Every column of a bar: edge, fill..., edge (a one-column bar is a single edge).
void ExpectBar(const tk::Bitmap& bar, int width) {
    ASSERT_EQ(bar.Width(), width);
    if (width == 0) {
        EXPECT_TRUE(bar.Empty());
        return;
    }
    ASSERT_EQ(bar.Height(), 14);
    for (int x = 0; x < width; ++x) {
        bool edge = x == 0 || x == width - 1;
        EXPECT_EQ(Column(bar, x), edge ? kEdge : kFill) << "width " << width << ", column " << x;
    }
}

// A file of `size` bytes that occupies no disk: the end set past a short real start.
void MakeSparse(const std::string& path, uint64_t size, const std::string& start = "") {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    if (!start.empty()) WriteFile(f, start.data(), static_cast<DWORD>(start.size()), &written, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    EXPECT_TRUE(SetFilePointerEx(f, end, nullptr, FILE_BEGIN));
    EXPECT_TRUE(SetEndOfFile(f));
    CloseHandle(f);
}

constexpr uint64_t kGiB = 1024ull * 1024 * 1024;

}  // namespace

TEST_F(BatchTest, BarPicturesColumnByColumn) {
    const tk::Bitmap& edge = Form2->Image2->Picture();
    const tk::Bitmap& fill = Form2->Image3->Picture();
    ASSERT_EQ(Column(edge, 0), kEdge);
    ASSERT_EQ(Column(fill, 0), kFill);
    for (int width : {0, 1, 2, 3, 10}) ExpectBar(ProgressBarPicture(width, 14, edge, fill), width);

    // Percent to width: 0 -> 0, 1 -> 3, 2 -> 7, 50 -> 178, 100 -> 357; beyond 0..100 held there.
    const std::vector<std::pair<int, int>> widths = {{0, 0}, {1, 3}, {2, 7}, {50, 178}, {99, 353},
                                                     {100, 357}, {-4, 0}, {250, 357}};
    for (auto [percent, width] : widths) {
        Form2->DrawProgressBar(percent, Form2->Image7);
        SCOPED_TRACE("percent " + std::to_string(percent));
        ExpectBar(Form2->Image7->Picture(), width);
    }
}

TEST_F(BatchTest, PercentagesOfTheFileAndOfTheBatch) {
    vt::TempFolder folder;
    vt::DialogAnswerer answerer(AnswerEvery());  // none expected; a stray one must not hang the run
    Gate gate;
    HoldWorker(gate, folder);
    const int32_t savedTotal = BatchTotal, savedIndex = BatchIndex;

    struct Case {
        int32_t total, index;
        uint64_t source;
        size_t temp;
        const char* file;
        const char* batch;
    };
    // Four files, the second at 50%: 37%. Two files, the first at 99%: 49%. 333,333 bytes of
    // 1,000,000: 33%. An empty source shows 0%.
    for (const Case& c : {Case{4, 2, 1000, 500, "50%", "37%"}, Case{2, 1, 1000, 990, "99%", "49%"},
                          Case{1, 1, 1000000, 333333, "33%", "33%"}, Case{3, 3, 0, 10, "0%", "66%"}}) {
        BatchTotal = c.total;
        BatchIndex = c.index;
        SourceSize = c.source;
        TempPath = folder.Write("temp", std::string(c.temp, 'x'));
        EXPECT_EQ(CurrentPercent(), std::stoi(c.file));
        Form2->Timer1Timer(nullptr);
        EXPECT_EQ(Form2->Label3->Caption(), c.file);
        EXPECT_EQ(Form2->Label4->Caption(), c.batch);
        EXPECT_EQ(BarWidthOf(Form2->Image6), BarWidth(std::stoi(c.file), 357));
        EXPECT_EQ(BarWidthOf(Form2->Image7), BarWidth(std::stoi(c.batch), 357));
    }
    // A temporary file that is gone counts as nothing written.
    TempPath = folder.File("nothing");
    EXPECT_EQ(CurrentPercent(), 0);
    // The file being written is asked itself, never its folder's listing: on NTFS the listing
    // shows the size the file had when the worker opened it. Here the folder refuses to be
    // listed at all while the temporary file is held open as the worker holds it.
    TempPath = folder.Write("temp", std::string(500, 'x'));
    SourceSize = 1000;
    {
        const std::string dirPath = folder.Path().substr(0, folder.Path().size() - 1);
        HANDLE writer = CreateFileA(TempPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        HANDLE dir = CreateFileA(dirPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        ASSERT_NE(writer, INVALID_HANDLE_VALUE);
        ASSERT_NE(dir, INVALID_HANDLE_VALUE);
        EXPECT_EQ(CurrentPercent(), 50);
        CloseHandle(dir);
        CloseHandle(writer);
    }
    // A tick that comes while the handler still runs (a box is up) does nothing at all.
    Form2->Label3->SetCaption("7%");
    TimerBusy = true;
    Form2->Timer1Timer(nullptr);
    EXPECT_EQ(Form2->Label3->Caption(), "7%");
    TimerBusy = false;
    Form2->Timer1Timer(nullptr);
    EXPECT_EQ(Form2->Label3->Caption(), "50%");

    LetWorkerGo(gate);
    BatchTotal = savedTotal;
    BatchIndex = savedIndex;
    EXPECT_EQ(answerer.Count(), 0u);
}

// Only a request the worker has finished counts: a posted one it has not taken yet is running.
TEST_F(BatchTest, APostedRequestNotYetTakenIsNotFinished) {
    vt::TempFolder folder;
    vt::DialogAnswerer answerer(AnswerEvery());
    const int32_t savedTotal = BatchTotal, savedIndex = BatchIndex;
    // Posted, and the tick comes before the worker's next poll could take it.
    MyThread->Post("posted.gvi", folder.File("posted.tmp"));
    ASSERT_TRUE(MyThread->Ready);
    BatchTotal = 2;
    BatchIndex = 1;
    SourceSize = 100;
    TempPath = folder.File("posted.tmp");
    Form2->Timer1Timer(nullptr);
    EXPECT_EQ(BatchIndex, 1) << "the file was taken for finished";
    EXPECT_EQ(Form2->Label3->Caption(), "0%");
    EXPECT_EQ(answerer.Count(), 0u);
    ASSERT_TRUE(vt::PumpUntil([] { return MyThread->RequestFinished(); }, 5000));
    BatchTotal = savedTotal;
    BatchIndex = savedIndex;
}

TEST_F(BatchTest, ASourceBeyond4GiBShowsItsTrueProgress) {
    vt::TempFolder src, out;
    const std::string big = src.File("big.gvi");
    MakeSparse(big, 5 * kGiB, GviBytes(64));
    Gate gate;  // the test writes the output's length itself
    vt::DialogAnswerer answerer(AnswerEvery());
    Start({big}, out.Path());
    ASSERT_TRUE(gate.WaitStarted());
    EXPECT_EQ(SourceSize, 5 * kGiB);

    MakeSparse(TempPath, 3 * kGiB);
    ASSERT_TRUE(vt::PumpUntil([] { return Form2->Label3->Caption() == "60%"; }, 3000))
        << Form2->Label3->Caption();
    EXPECT_EQ(Form2->Label4->Caption(), "60%");
    EXPECT_EQ(BarWidthOf(Form2->Image6), 214);

    // All but the dropped block: still below 100.
    MakeSparse(TempPath, 5 * kGiB - 52);
    ASSERT_TRUE(vt::PumpUntil([] { return Form2->Label3->Caption() == "99%"; }, 3000))
        << Form2->Label3->Caption();

    vt::WriteFileBytes(big, GviBytes(64));  // a small source by now: a quick copy
    gate.Release();
    ASSERT_TRUE(vt::PumpUntil([] { return !Converting; }, 10000));
    EXPECT_EQ(FolderNames(out.Path()), (std::set<std::string>{"big.AVI"}));
}

TEST_F(BatchTest, TheWindowIsDraggedByItsBackgroundOnly) {
    Form2->Show();
    vt::PumpFor(30);
    HWND w = Form2->WindowHandle();
    auto rect = [w] {
        RECT r{};
        GetWindowRect(w, &r);
        return r;
    };
    SetWindowPos(w, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // The right button works as well as the left; the window follows by the pointer's offset.
    SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(200, 20));
    SendMessageA(w, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(210, 25));
    EXPECT_EQ(rect().left, 110);
    EXPECT_EQ(rect().top, 105);
    SendMessageA(w, WM_RBUTTONUP, 0, MAKELPARAM(200, 20));
    SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(230, 40));
    EXPECT_EQ(rect().left, 110) << "released: no more moving";
    EXPECT_FALSE(ProgressDragActive);
    EXPECT_FALSE(DragActive) << "the main window's drag state is its own";

    // The mouse taken away during a drag (a box opens, Alt+Tab): no release ever comes.
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 20));
    ASSERT_TRUE(ProgressDragActive);
    ReleaseCapture();
    EXPECT_FALSE(ProgressDragActive);
    SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(220, 30));
    EXPECT_EQ(rect().left, 110) << "no drag after the capture is lost";

    // A press on a label, a frame or a bar starts no drag.
    for (POINT p : {POINT{20, 40}, POINT{12, 53}, POINT{100, 60}, POINT{350, 110}}) {
        SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x + 15, p.y + 15));
        SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(p.x + 15, p.y + 15));
        EXPECT_EQ(rect().left, 110) << p.x << "," << p.y;
        EXPECT_EQ(rect().top, 105) << p.x << "," << p.y;
    }
    Form2->Hide();
}
