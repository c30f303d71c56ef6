// Whole batches from Start to "Done.": outputs and their names, the boxes, the bars and labels
// along the way, the main window's return, and no temporary file left behind.
#include "BatchFixture.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace batchtest;

namespace {

const std::string kTitle = product::kTitle;

// A snapshot of what the progress window shows, taken while a box is up (the user-interface
// thread sits in the box's loop then, and nothing of this may change).
struct Shown {
    int32_t batchIndex = -1;
    std::string label1, label3, label4;
    int bar6 = -1, bar7 = -1;
    bool timerEnabled = false;
    bool progressVisible = false;
    bool converting = false;
    int rows = -1;
    std::set<std::string> outputFolder;
    bool operator==(const Shown&) const = default;
};

Shown Snapshot(const std::string& outputFolder) {
    Shown s;
    s.batchIndex = BatchIndex;
    s.label1 = Form2->Label1->Caption();
    s.label3 = Form2->Label3->Caption();
    s.label4 = Form2->Label4->Caption();
    s.bar6 = Form2->Image6->Picture().Width();
    s.bar7 = Form2->Image7->Picture().Width();
    s.timerEnabled = Form2->Timer1->Enabled();
    s.progressVisible = IsWindowVisible(Form2->WindowHandle()) != FALSE;
    s.converting = Converting;
    s.rows = Form1->ListView1->RowCount();
    s.outputFolder = FolderNames(outputFolder);
    return s;
}

bool IsTempName(const std::string& name) { return name.rfind("~vexlar-", 0) == 0; }

int TempFiles(const std::string& folder) {
    int n = 0;
    for (const std::string& name : FolderNames(folder)) n += IsTempName(name);
    return n;
}

bool Above(HWND top, HWND below) {
    for (HWND w = GetWindow(top, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == below) return true;
    return false;
}

// The user at work in another program: a window of another thread, active while this lives.
class OtherProgram {
public:
    OtherProgram() {
        thread_ = std::thread([this] {
            HWND w = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 80, 80, nullptr, nullptr,
                                     nullptr, nullptr);
            SetForegroundWindow(w);
            window_ = w;
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
            DestroyWindow(w);
        });
        while (!window_) Sleep(1);
    }
    ~OtherProgram() {
        PostMessageA(window_, WM_QUIT, 0, 0);
        thread_.join();
    }

private:
    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

// The system refusing one thread an event; the others get theirs.
DWORD refusedThread = 0;
const void* realCreateEvent = nullptr;
HANDLE WINAPI CreateEventUnlessRefused(SECURITY_ATTRIBUTES* security, BOOL manual, BOOL initial, const char* name) {
    if (GetCurrentThreadId() == refusedThread) return nullptr;
    return reinterpret_cast<decltype(&CreateEventA)>(const_cast<void*>(realCreateEvent))(security, manual, initial, name);
}

}  // namespace

TEST_F(BatchTest, OneFileFromStartToDone) {
    vt::TempFolder src, out;
    const std::string clip = src.Write("clip.gvi", GviBytes(200000));
    // Whatever an earlier batch left on the bars: beginning the first file must not touch it.
    Form2->DrawProgressBar(40, Form2->Image6);
    Form2->Label3->SetCaption("40%");
    Form2->DrawProgressBar(20, Form2->Image7);
    Form2->Label4->SetCaption("20%");

    Gate gate;
    Shown atDone;
    vt::DialogAnswerer answerer(AnswerEvery([&](HWND) { atDone = Snapshot(out.Path()); }));

    Start({clip}, out.Path());
    EXPECT_TRUE(Converting);
    EXPECT_FALSE(IsWindowVisible(Form1->WindowHandle()));
    EXPECT_TRUE(IsWindowVisible(Form2->WindowHandle()));
    EXPECT_EQ(BatchIndex, 0);

    // The first tick begins the file, without any message and without touching the bars.
    ASSERT_TRUE(vt::PumpUntil([] { return BatchIndex == 1; }, 5000));
    EXPECT_EQ(BatchIndex, 1);
    EXPECT_EQ(Form2->Label1->Caption(), "Convert file \"clip.gvi\":");
    EXPECT_EQ(BarWidthOf(Form2->Image6), 142);
    EXPECT_EQ(Form2->Label3->Caption(), "40%");
    EXPECT_EQ(BarWidthOf(Form2->Image7), 71);
    EXPECT_EQ(Form2->Label4->Caption(), "20%");
    EXPECT_EQ(answerer.Count(), 0u);
    // The worker writes into a fresh file of the output folder, never to the output name.
    const std::string temp = TempPath;
    EXPECT_EQ(TempPath.rfind(out.Path(), 0), 0u) << TempPath;
    EXPECT_EQ(FinalPath, out.Path() + "clip.AVI");
    EXPECT_EQ(SourceSize, 200000u);

    // Progress ticks while it converts: nothing written yet.
    ASSERT_TRUE(gate.WaitStarted());
    ASSERT_TRUE(vt::PumpUntil([] { return Form2->Label3->Caption() == "0%"; }, 2000));
    EXPECT_EQ(BarWidthOf(Form2->Image6), 0);
    EXPECT_EQ(Form2->Label4->Caption(), "0%");
    EXPECT_EQ(BarWidthOf(Form2->Image7), 0);

    // The only window shown: Alt+F4 and the system's close leave it up.
    HWND progress = Form2->WindowHandle();
    SendMessageA(progress, WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageA(progress, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(progress));
    EXPECT_TRUE(Converting);
    // Logoff and shutdown are refused, with the reason the system shows until the batch ends.
    EXPECT_EQ(SendMessageA(Form1->WindowHandle(), WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_EQ(ShutdownReason(), "Converting GVI files...");
    // One taskbar button, the application's, though the main window is hidden; activated, it
    // brings up the progress window.
    HWND app = tk::App().Handle();
    EXPECT_EQ(vt::TaskbarWindows(), std::vector<HWND>{app});
    char appTitle[64] = {};
    GetWindowTextA(app, appTitle, sizeof appTitle);
    EXPECT_EQ(appTitle, kTitle);
    SetActiveWindow(app);
    EXPECT_TRUE(vt::PumpUntil([progress] { return GetActiveWindow() == progress; }, 2000));

    gate.Release();
    ASSERT_TRUE(vt::PumpUntil([] { return !Converting; }, 10000));
    EXPECT_EQ(gate.Dest(), temp);

    // While "Done." was up: both bars full, the list emptied, the timer off, the window still there.
    EXPECT_EQ(atDone.bar6, 357);
    EXPECT_EQ(atDone.bar7, 357);
    EXPECT_EQ(atDone.label3, "100%");
    EXPECT_EQ(atDone.label4, "100%");
    EXPECT_FALSE(atDone.timerEnabled);
    EXPECT_EQ(atDone.rows, 0);
    EXPECT_TRUE(atDone.progressVisible);
    EXPECT_TRUE(atDone.converting);

    std::vector<vt::SeenDialog> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Done.");
    EXPECT_EQ(seen[0].title, kTitle);
    EXPECT_EQ(seen[0].icon, vt::BoxIcon::None);
    EXPECT_EQ(seen[0].buttons, std::vector<int>{IDOK});

    // Afterwards: the main window is back with an empty list and the old count.
    EXPECT_FALSE(Converting);
    EXPECT_EQ(ShutdownReason(), "");
    EXPECT_EQ(vt::TaskbarWindows(), std::vector<HWND>{app});
    EXPECT_FALSE(IsWindowVisible(Form2->WindowHandle()));
    EXPECT_TRUE(IsWindowVisible(Form1->WindowHandle()));
    EXPECT_EQ(Form1->ListView1->RowCount(), 0);
    EXPECT_EQ(Form1->Label1->Caption(), "Added 1 file(s).");
    EXPECT_EQ(BatchIndex, 2);
    EXPECT_FALSE(Form2->Timer1->Enabled());
    EXPECT_EQ(Form2->Label1->Caption(), "Convert file \"clip.gvi\":");
    EXPECT_EQ(FolderNames(out.Path()), (std::set<std::string>{"clip.AVI"}));
    EXPECT_EQ(ReadFileBytes(out.File("clip.AVI")), AviBytes(200000));
    EXPECT_EQ(ReadFileBytes(clip), GviBytes(200000)) << "the source stays as it was";
}

// Wherever the user is, a box comes over the progress window and disables it: also while the user
// is in another program, and when the batch ends with the program minimized, where "Done." waits
// for the taskbar button to bring the program back. A box goes down to the taskbar and back
// with the program, and closing the program meanwhile only brings the box forward.
TEST_F(BatchTest, BoxesComeOverTheProgressWindowInTheBackgroundAndWhenMinimized) {
    vt::TempFolder src, out;
    const std::string clip = src.Write("clip.gvi", GviBytes(5000));
    const HWND app = tk::App().Handle(), progress = Form2->Handle();
    Strings seen;
    auto look = [&](HWND box) {
        vt::WaitFor([&] { return Above(box, progress); }, 1000);  // Wine restacks a moment late
        seen.push_back(std::string(IsWindowVisible(box) ? "box" : "no box") +
                       (IsWindowVisible(progress) ? ", progress" : "") + (IsWindowEnabled(progress) ? " enabled" : "") +
                       (Above(box, progress) ? "" : ", below") + (IsWindowEnabled(app) ? "" : ", app disabled"));
    };
    {
        Gate gate;
        vt::DialogAnswerer answerer(AnswerEvery(look));
        Start({src.Write("bad.gvi", "no GVI")}, out.Path());
        ASSERT_TRUE(gate.WaitStarted());
        OtherProgram other;
        gate.Release();
        ASSERT_TRUE(vt::PumpUntil([] { return !Converting; }, 10000));
        ASSERT_EQ(answerer.Count(), 2u);
        for (const vt::SeenDialog& box : answerer.Seen()) EXPECT_EQ(box.owner, progress) << box.text;
    }
    EXPECT_EQ(seen, (Strings{"box, progress", "box, progress"}));

    seen.clear();
    Gate gate;
    std::atomic<bool> forward{false};
    vt::DialogAnswerer answerer(AnswerEvery([&](HWND box) {
        look(box);
        vt::SendTo(app, WM_SYSCOMMAND, SC_MINIMIZE);
        look(box);
        vt::SendTo(app, WM_SYSCOMMAND, SC_CLOSE);
        look(box);
        forward = GetForegroundWindow() == box;
    }));
    Start({clip}, out.Path());
    ASSERT_TRUE(gate.WaitStarted());
    tk::App().Minimize();
    std::atomic<bool> boxWhileMinimized{true};
    std::thread taskbar([&] {
        // The batch has ended (read while the user-interface thread waits for the restore).
        vt::WaitFor([] { return BatchIndex == 2; }, 5000);
        Sleep(300);
        boxWhileMinimized = answerer.Count() != 0 || IsWindowVisible(progress);
        vt::SendTo(app, WM_SYSCOMMAND, SC_RESTORE);
    });
    gate.Release();
    const bool ended = vt::PumpUntil([] { return !Converting; }, 10000);
    taskbar.join();
    ASSERT_TRUE(ended);
    EXPECT_FALSE(boxWhileMinimized);
    EXPECT_EQ(seen, (Strings{"box, progress", "no box", "box, progress"}));
    EXPECT_TRUE(forward);
    // Minimized and restored once more, the program shows what it shows: the main window alone.
    tk::App().Minimize();
    SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsWindowVisible(progress));
    EXPECT_TRUE(IsWindowVisible(Form1->WindowHandle()));
}

TEST_F(BatchTest, FailedFilesAreReportedOneByOneAndLeaveNothingBehind) {
    vt::TempFolder a, b, c, out;
    const std::string good = a.Write("clip.gvi", GviBytes(5000));
    const std::string missing = b.File("missing.gvi");
    std::string corrupt = GviBytes(5000);
    corrupt.replace(20, 4, "gooX");
    const std::string bad = c.Write("bad.gvi", corrupt);

    // Each failure box stays up a while: the batch must stand still meanwhile.
    std::vector<Shown> before, after;
    std::atomic<ULONGLONG> firstClosed{0}, secondShown{0};
    vt::DialogAnswerer answerer(AnswerEvery([&](HWND) {
        if (before.size() == 1) secondShown = GetTickCount64();
        before.push_back(Snapshot(out.Path()));
        Sleep(450);  // several ticks of the shortened timer, ending mid-interval
        after.push_back(Snapshot(out.Path()));
        if (after.size() == 1) firstClosed = GetTickCount64();
    }));
    // The next file begins as the first box closes; the tick after that (progress shown, or the
    // file finished) comes a whole interval later.
    ULONGLONG progressAt = 0;
    Start({good, missing, bad}, out.Path());
    ASSERT_TRUE(vt::PumpUntil([&] {
        if (firstClosed && !progressAt && Form2->Label3->Caption() != "100%") progressAt = GetTickCount64();
        return !Converting;
    }, 30000));
    const ULONGLONG nextTick = progressAt ? std::min<ULONGLONG>(progressAt, secondShown) : secondShown.load();
    EXPECT_GE(nextTick - firstClosed, 90u);

    std::vector<vt::SeenDialog> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, "File \"missing.gvi\" is not available.");
    EXPECT_EQ(seen[1].text, "Your GVI file \"bad.gvi\" is corrupted.");
    for (int i : {0, 1}) {
        EXPECT_EQ(seen[i].title, "Error");
        EXPECT_EQ(seen[i].icon, vt::BoxIcon::Error);
        EXPECT_EQ(seen[i].buttons, std::vector<int>{IDOK});
    }
    EXPECT_EQ(seen[2].text, "Done.");
    EXPECT_EQ(seen[2].title, kTitle);

    ASSERT_EQ(before.size(), 3u);
    for (int i : {0, 1}) {
        EXPECT_TRUE(before[i] == after[i]) << "box " << i << ": the batch moved while it was up";
        EXPECT_EQ(before[i].batchIndex, i + 2);
        EXPECT_TRUE(before[i].timerEnabled) << "ticks go on arriving and are turned away";
        // The failed file's temporary output goes only after OK.
        int temps = 0;
        for (const std::string& name : before[i].outputFolder) temps += IsTempName(name);
        EXPECT_EQ(temps, 1) << "box " << i;
        EXPECT_TRUE(before[i].outputFolder.count("clip.AVI"));
    }
    EXPECT_EQ(before[0].label1, "Convert file \"missing.gvi\":");
    EXPECT_EQ(before[1].label1, "Convert file \"bad.gvi\":");

    EXPECT_EQ(FolderNames(out.Path()), (std::set<std::string>{"clip.AVI"}));
    EXPECT_EQ(ReadFileBytes(out.File("clip.AVI")), AviBytes(5000));
    EXPECT_EQ(BatchIndex, 4);
    EXPECT_EQ(Form1->ListView1->RowCount(), 0);
    EXPECT_TRUE(IsWindowVisible(Form1->WindowHandle()));
}

TEST_F(BatchTest, EveryFileFailingStillEndsWithDone) {
    vt::TempFolder src, out;
    const std::string empty = src.Write("empty.gvi", "");
    vt::DialogAnswerer answerer(AnswerEvery());
    ASSERT_TRUE(RunBatch({src.File("gone.gvi"), empty}, out.Path()));
    std::vector<vt::SeenDialog> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, "File \"gone.gvi\" is not available.");
    EXPECT_EQ(seen[1].text, "Your GVI file \"empty.gvi\" is corrupted.");
    EXPECT_EQ(seen[2].text, "Done.");
    EXPECT_TRUE(FolderNames(out.Path()).empty());
    EXPECT_EQ(Form1->ListView1->RowCount(), 0);
    EXPECT_FALSE(Converting);
}

// A fault that persists (here: no GDI object can be made, so no bar can be drawn) gives one
// box, not one a second, and the batch ends with the main window back.
TEST_F(BatchTest, APersistentFaultGivesOneBoxAndEndsTheBatch) {
    vt::TempFolder src, out;
    const std::string clip = src.Write("clip.gvi", GviBytes(5000));
    Gate gate;
    Start({clip}, out.Path());
    ASSERT_TRUE(gate.WaitStarted());
    {
        // Half written, so a tick has a bar to draw.
        HANDLE f = CreateFileA(TempPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        const std::string half(2500, 'x');
        DWORD written = 0;
        WriteFile(f, half.data(), static_cast<DWORD>(half.size()), &written, nullptr);
        CloseHandle(f);
    }
    // The GDI objects go when the test ends, or at the third box (boxes that stack would
    // otherwise never stop).
    struct Exhausted {
        std::mutex lock;
        std::vector<HRGN> regions;
        void Release() {
            std::lock_guard<std::mutex> hold(lock);
            for (HRGN r : regions) DeleteObject(r);
            regions.clear();
        }
        ~Exhausted() { Release(); }
    } gdi;
    std::atomic<int> boxes{0};
    vt::DialogAnswerer answerer(AnswerEvery([&](HWND) {
        Sleep(500);  // ticks go on meanwhile
        if (++boxes >= 3) gdi.Release();
    }));
    for (HRGN r; gdi.regions.size() < 200000 && (r = CreateRectRgn(0, 0, 1, 1)) != nullptr;)
        gdi.regions.push_back(r);
    const bool ended = vt::PumpUntil([] { return !Converting; }, 4000);
    gdi.Release();
    EXPECT_TRUE(ended);
    vt::PumpFor(300);
    EXPECT_EQ(answerer.Count(), 1u);
    EXPECT_FALSE(Form2->Timer1->Enabled());
    EXPECT_FALSE(IsWindowVisible(Form2->WindowHandle()));
    EXPECT_TRUE(IsWindowVisible(Form1->WindowHandle()));

    // The file in flight was withdrawn: its conversion runs on, unseen by the next batch, and
    // its output goes once it has ended.
    vt::TempFolder out2;
    Form2->Label3->SetCaption("as left");
    Start({clip}, out2.Path());
    vt::PumpFor(300);
    EXPECT_EQ(Form2->Label3->Caption(), "as left");
    EXPECT_EQ(TempFiles(out.Path()), 1) << "never cut short";
    gate.Release();
    ASSERT_TRUE(vt::PumpUntil([] { return !Converting; }, 10000));
    EXPECT_TRUE(FolderNames(out.Path()).empty());
    EXPECT_EQ(FolderNames(out2.Path()), (std::set<std::string>{"clip.AVI"}));
}

// At exit the output of a file in flight goes too, once its conversion has let go of it.
TEST_F(BatchTest, AnOutputInFlightGoesOnExit) {
    Gate gate;  // outlives the folders: let go, the worker finds no source
    vt::TempFolder src, out;
    Start({src.Write("clip.gvi", GviBytes(5000))}, out.Path());
    ASSERT_TRUE(gate.WaitStarted());
    Destroy();
    EXPECT_TRUE(FolderNames(out.Path()).empty());
}

// A worker whose body ends early (here the system refuses it the event that hands its first
// result over) frees itself; the batch finds it gone at the next tick and ends with a box that
// says so. The partial output goes, and the next Start makes a new worker.
TEST_F(BatchTest, AWorkerThatEndsEarlyStopsTheBatchWithABox) {
    vt::TempFolder src, out;
    const std::string one = src.Write("one.gvi", GviBytes(5000));
    const std::string two = src.Write("two.gvi", GviBytes(5000));
    {
        Gate gate;
        vt::DialogAnswerer answerer(AnswerEvery());
        Start({one, two}, out.Path());
        ASSERT_TRUE(gate.WaitStarted());
        refusedThread = MyThread->ThreadId();
        vt::ImportPatch refuse("kernel32.dll", "CreateEventA", reinterpret_cast<const void*>(&CreateEventUnlessRefused));
        realCreateEvent = refuse.Original();
        gate.Release();
        EXPECT_TRUE(vt::PumpUntil([] { return !Converting; }, 10000));
        EXPECT_EQ(MyThread, nullptr);
        std::vector<vt::SeenDialog> seen = answerer.Seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text,
                  "The conversion stopped unexpectedly: \"one.gvi\" and any files after it were not "
                  "converted. Start the conversion again to convert them.");
        EXPECT_EQ(seen[0].icon, vt::BoxIcon::Error);
        EXPECT_FALSE(IsWindowVisible(Form2->WindowHandle()));
        EXPECT_TRUE(IsWindowVisible(Form1->WindowHandle()));
        EXPECT_EQ(Form1->ListView1->RowCount(), 2);
        EXPECT_TRUE(FolderNames(out.Path()).empty());
    }
    vt::DialogAnswerer answerer(AnswerEvery());
    ASSERT_TRUE(RunBatch({}, out.Path()));
    EXPECT_EQ(FolderNames(out.Path()), (std::set<std::string>{"one.AVI", "two.AVI"}));
}

TEST_F(BatchTest, OutputNamesAreMadeUniqueAcrossBatches) {
    vt::TempFolder a, b, c, d, out;
    const std::string first = a.Write("clip.gvi", GviBytes(3000));
    const std::string second = b.Write("clip.gvi", GviBytes(4000));
    const std::string movie = c.Write("Movie.GvI", GviBytes(100));
    const std::string odd = c.Write("my.gvideo.gvi", GviBytes(100));
    {
        vt::DialogAnswerer answerer(AnswerEvery());
        ASSERT_TRUE(RunBatch({first, second, movie, odd}, out.Path()));
        ASSERT_EQ(answerer.Count(), 1u);
    }
    EXPECT_EQ(FolderNames(out.Path()),
              (std::set<std::string>{"clip.AVI", "[1]clip.AVI", "Movie.AVI", "mydeo.gvi.AVI"}));
    EXPECT_EQ(ReadFileBytes(out.File("clip.AVI")), AviBytes(3000));
    EXPECT_EQ(ReadFileBytes(out.File("[1]clip.AVI")), AviBytes(4000));

    // The next batch into the same folder: clip.AVI and [1]clip.AVI exist, so [2]clip.AVI.
    const std::string third = d.Write("clip.gvi", GviBytes(5000));
    {
        vt::DialogAnswerer answerer(AnswerEvery());
        ASSERT_TRUE(RunBatch({third}, out.Path()));
    }
    EXPECT_EQ(FolderNames(out.Path()),
              (std::set<std::string>{"clip.AVI", "[1]clip.AVI", "[2]clip.AVI", "Movie.AVI", "mydeo.gvi.AVI"}));
    EXPECT_EQ(ReadFileBytes(out.File("[2]clip.AVI")), AviBytes(5000));
    EXPECT_EQ(ReadFileBytes(out.File("clip.AVI")), AviBytes(3000)) << "an existing file is never replaced";
}

TEST_F(BatchTest, NamesInAnyScriptConvertUnderTheirOwnNames) {
    vt::TempFolder src, root;
    const std::vector<std::string> names = vt::Names();
    const std::string out = root.File(names[1].substr(0, names[1].size() - 4) + "\\");
    ASSERT_TRUE(CreateDirectoryA(out.c_str(), nullptr));
    std::vector<std::string> sources;
    std::set<std::string> expected;
    for (const std::string& name : names) {
        sources.push_back(src.Write(name, GviBytes(3000 + sources.size())));
        expected.insert(name.substr(0, name.size() - 4) + ".AVI");
    }
    {
        vt::DialogAnswerer answerer(AnswerEvery());
        ASSERT_TRUE(RunBatch(sources, out));
        EXPECT_EQ(answerer.Count(), 1u) << "only Done.";
    }
    EXPECT_EQ(FolderNames(out), expected);
    for (size_t i = 0; i < sources.size(); ++i) {
        const std::string& name = names[i];
        EXPECT_EQ(ReadFileBytes(out + name.substr(0, name.size() - 4) + ".AVI"), AviBytes(3000 + i)) << i;
    }
}

TEST_F(BatchTest, ASecondBatchStartsFromWhereTheFirstLeftTheWindow) {
    vt::TempFolder src, out;
    const std::string one = src.Write("one.gvi", GviBytes(1000));
    const std::string two = src.Write("two.gvi", GviBytes(1000));
    {
        vt::DialogAnswerer answerer(AnswerEvery());
        ASSERT_TRUE(RunBatch({one}, out.Path()));
    }
    Gate gate;
    vt::DialogAnswerer answerer(AnswerEvery());
    Start({two}, out.Path());

    Shown start = Snapshot(out.Path());
    EXPECT_EQ(start.label1, "Convert file \"one.gvi\":");
    EXPECT_EQ(start.label3, "100%");
    EXPECT_EQ(start.label4, "100%");
    EXPECT_EQ(start.bar6, 357);
    EXPECT_EQ(start.bar7, 357);

    ASSERT_TRUE(vt::PumpUntil([] { return BatchIndex == 1; }, 5000));
    Shown begun = Snapshot(out.Path());
    EXPECT_EQ(begun.label1, "Convert file \"two.gvi\":");
    EXPECT_EQ(begun.label3, "100%");
    EXPECT_EQ(begun.bar6, 357);
    EXPECT_EQ(begun.bar7, 357);

    // The first progress tick redraws both.
    ASSERT_TRUE(vt::PumpUntil([] { return Form2->Label3->Caption() == "0%"; }, 2000));
    EXPECT_EQ(Form2->Label4->Caption(), "0%");
    EXPECT_EQ(BarWidthOf(Form2->Image6), 0);
    EXPECT_EQ(BarWidthOf(Form2->Image7), 0);

    gate.Release();
    ASSERT_TRUE(vt::PumpUntil([] { return !Converting; }, 10000));
    EXPECT_EQ(FolderNames(out.Path()), (std::set<std::string>{"one.AVI", "two.AVI"}));
}

TEST_F(BatchTest, TheCurrentBarIsFullWhenTheNextFileBegins) {
    vt::TempFolder src, out;
    const std::string one = src.Write("one.gvi", GviBytes(1000));
    const std::string two = src.Write("two.gvi", GviBytes(1000));
    Gate gate;
    vt::DialogAnswerer answerer(AnswerEvery());
    Start({one, two}, out.Path());
    ASSERT_TRUE(gate.WaitStarted());
    ASSERT_TRUE(vt::PumpUntil([] { return Form2->Label3->Caption() == "0%"; }, 2000));
    gate.Release();

    // The second file begins: the first one's bar is set full, the total shows half.
    ASSERT_TRUE(vt::PumpUntil([] { return BatchIndex == 2; }, 5000));
    EXPECT_EQ(Form2->Label1->Caption(), "Convert file \"two.gvi\":");
    EXPECT_EQ(Form2->Label3->Caption(), "100%");
    EXPECT_EQ(BarWidthOf(Form2->Image6), 357);
    ASSERT_TRUE(vt::PumpUntil([] { return !Converting; }, 10000));
    EXPECT_EQ(TempFiles(out.Path()), 0);
}

// The final name taken while the file converted: the next free name, once.
TEST_F(BatchTest, ANameTakenMeanwhileGivesTheNextFreeName) {
    vt::TempFolder src, out;
    const std::string clip = src.Write("clip.gvi", GviBytes(2000));
    const std::string taken = out.File("clip.AVI");
    Gate gate;
    vt::DialogAnswerer answerer(AnswerEvery());
    Start({clip}, out.Path());
    ASSERT_TRUE(gate.WaitStarted());
    vt::WriteFileBytes(taken, "theirs");
    gate.Release();
    ASSERT_TRUE(vt::PumpUntil([] { return !Converting; }, 10000));
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(FolderNames(out.Path()), (std::set<std::string>{"clip.AVI", "[1]clip.AVI"}));
    EXPECT_EQ(ReadFileBytes(taken), "theirs");
    EXPECT_EQ(ReadFileBytes(out.File("[1]clip.AVI")), AviBytes(2000));
}

// A converted file that cannot be moved to its name is never dropped in silence.
TEST_F(BatchTest, AnOutputThatCannotBeRenamedIsKeptAndReported) {
    vt::TempFolder src, out;
    const std::string clip = src.Write("clip.gvi", GviBytes(2000));
    vt::DialogAnswerer answerer(AnswerEvery());
    HANDLE holder = RunBatchHoldingOutput(clip, out.Path());  // another program holds the finished file
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    CloseHandle(holder);
    ASSERT_FALSE(Converting);

    std::set<std::string> names = FolderNames(out.Path());
    ASSERT_EQ(names.size(), 1u);
    const std::string temp = *names.begin();
    EXPECT_TRUE(IsTempName(temp)) << temp;
    EXPECT_EQ(ReadFileBytes(out.File(temp)), AviBytes(2000)) << "the converted data is kept";

    std::vector<vt::SeenDialog> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, "File \"clip.gvi\" was converted but could not be saved as \"clip.AVI\". "
                            "The converted data was kept in the output folder as \"" + temp + "\".");
    EXPECT_EQ(seen[0].title, "Error");
    EXPECT_EQ(seen[0].icon, vt::BoxIcon::Error);
    EXPECT_EQ(seen[1].text, "Done.");
}

TEST_F(BatchTest, AFailedOutputThatCannotBeDeletedIsReported) {
    vt::TempFolder src, out;
    const std::string clip = src.Write("clip.gvi", "no GVI");
    vt::DialogAnswerer answerer(AnswerEvery());
    HANDLE holder = RunBatchHoldingOutput(clip, out.Path());
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    CloseHandle(holder);
    ASSERT_FALSE(Converting);

    std::set<std::string> names = FolderNames(out.Path());
    ASSERT_EQ(names.size(), 1u);
    const std::string temp = *names.begin();
    std::vector<vt::SeenDialog> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, "Your GVI file \"clip.gvi\" is corrupted.");
    EXPECT_EQ(seen[1].text, "The unfinished output of file \"clip.gvi\" could not be deleted. "
                            "It remains in the output folder as \"" + temp + "\".");
    EXPECT_EQ(seen[1].icon, vt::BoxIcon::Error);
    EXPECT_EQ(seen[2].text, "Done.");
}

// An output folder that is gone by the time the file begins: no temporary file can be made.
TEST_F(BatchTest, AnOutputFolderRemovedAfterStartFailsTheFile) {
    vt::TempFolder src;
    const std::string clip = src.Write("clip.gvi", GviBytes(2000));
    std::string folder;
    {
        vt::TempFolder out;
        folder = out.Path();
        Start({clip}, folder);
        ASSERT_TRUE(Converting);
    }
    vt::DialogAnswerer answerer(AnswerEvery());
    ASSERT_TRUE(vt::PumpUntil([] { return !Converting; }, 10000));
    std::vector<vt::SeenDialog> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 2u);
    // The output is to blame, not the source: its name, its folder and the system's reason.
    const std::string expected = vt::SystemText(ERROR_PATH_NOT_FOUND);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(seen[0].text, "Could not write \"clip.AVI\" in \"" + folder + "\": " + expected);
    EXPECT_EQ(seen[0].icon, vt::BoxIcon::Error);
    EXPECT_EQ(seen[1].text, "Done.");
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing made it again";
}
