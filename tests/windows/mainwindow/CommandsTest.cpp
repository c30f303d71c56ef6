// The main window's commands: Start's checks and hand-over, Play, Exit/close, Minimize,
// dragging by the background and the title, and the buttons wired to them.
#include "tests/windows/support/ProgramTest.h"

#include "controls/ImageButton3.h"
#include "toolkit/Application.h"

#include <string>
#include <vector>

using MainWindowTest = ProgramTest;

namespace {

using Strings = std::vector<std::string>;

// What the progress window's side of Start saw.
struct ProgressSide {
    static inline std::vector<std::string> calls;
    static inline HWND mainWindow = nullptr;
    static void EnableTimer() {
        calls.push_back(std::string("timer, main ") + (IsWindowVisible(mainWindow) ? "shown" : "hidden") +
                        (Converting ? ", converting" : ""));
    }
    static void Show() {
        calls.push_back(std::string("show, main ") + (IsWindowVisible(mainWindow) ? "shown" : "hidden") +
                        (Converting ? ", converting" : ""));
    }
    static void Install(HWND main) {
        calls.clear();
        mainWindow = main;
        EnableBatchTimer = &EnableTimer;
        ShowProgressWindow = &Show;
    }
};

RECT WindowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

TEST_F(MainWindowTest, StartHandsTheRowsToTheProgressWindow) {
    vt::TempFolder out;
    Create();
    ProgressSide::Install(Window());
    Drop({"C:\\v\\one.gvi", "C:\\w\\two.gvi"});
    form->Edit1->SetText(out.Path());
    BatchFiles = {"left over"};
    BatchIndex = 7;

    Click(*form->ImageButton1);

    EXPECT_EQ(ProgressSide::calls, (Strings{"timer, main shown", "show, main hidden"}));
    EXPECT_TRUE(Converting);
    EXPECT_FALSE(IsWindowVisible(Window()));
    EXPECT_EQ(OutputFolder, out.Path());
    EXPECT_EQ(BatchFiles, (Strings{"C:\\v\\one.gvi", "C:\\w\\two.gvi"}));
    EXPECT_EQ(BatchTotal, 2);
    EXPECT_EQ(BatchIndex, 0);
    EXPECT_EQ(Rows().size(), 2u) << "the rows stay during the batch";
}

TEST_F(MainWindowTest, StartWithTheRootFolderAndWithAFolderLackingItsBackslash) {
    Create();
    ProgressSide::Install(Window());
    Drop({"C:\\v\\one.gvi"});
    ASSERT_EQ(form->Edit1->Text(), "C:\\");
    Click(*form->ImageButton1);
    EXPECT_EQ(OutputFolder, "C:\\");
    EXPECT_TRUE(Converting);

    // A hand-edited set.txt may lack the "\": outputs must still land inside the folder.
    Converting = false;
    form->Show();
    vt::TempFolder out;
    std::string bare = out.Path().substr(0, out.Path().size() - 1);
    form->Edit1->SetText(bare);
    Click(*form->ImageButton1);
    EXPECT_EQ(OutputFolder, bare + "\\");
    EXPECT_EQ(form->Edit1->Text(), bare) << "the field itself is left as it was";
}

TEST_F(MainWindowTest, StartDoesNothingWithoutRowsOrWithoutTheFolder) {
    Create();
    ProgressSide::Install(Window());
    OutputFolder = "untouched";
    Click(*form->ImageButton1);  // empty list
    EXPECT_TRUE(ProgressSide::calls.empty());
    EXPECT_FALSE(Converting);
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_EQ(OutputFolder, "untouched");

    Drop({"C:\\v\\one.gvi"});
    vt::TempFolder gone;
    form->Edit1->SetText(gone.Path() + "no such folder\\");
    Click(*form->ImageButton1);
    form->Edit1->SetText(gone.Path() + "a file");
    gone.Write("a file", "x");
    Click(*form->ImageButton1);
    form->Edit1->SetText("");
    Click(*form->ImageButton1);
    EXPECT_TRUE(ProgressSide::calls.empty());
    EXPECT_FALSE(Converting);
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_EQ(OutputFolder, "untouched");

    form->Edit1->SetText(gone.Path());  // the same click with a folder that is there starts
    Click(*form->ImageButton1);
    EXPECT_TRUE(Converting);
}

TEST_F(MainWindowTest, PlayOpensTheSelectedSourceWithTheShell) {
    Create();
    Drop({"C:\\v\\one.gvi", "C:\\v\\two.gvi"});
    Click(*form->ImageButton5);
    EXPECT_TRUE(ShellCalls().empty()) << "no row selected";

    SelectRow(1);
    Click(*form->ImageButton5);
    form->Play1->Click();
    ASSERT_EQ(ShellCalls().size(), 2u);
    for (const ShellCall& r : ShellCalls()) {
        EXPECT_EQ(r.owner, Window());
        EXPECT_FALSE(r.hasVerb);
        EXPECT_EQ(r.file, "C:\\v\\two.gvi");
        EXPECT_FALSE(r.hasParameters);
        EXPECT_FALSE(r.hasDirectory);
        EXPECT_EQ(r.show, SW_SHOW);
    }
}

TEST_F(MainWindowTest, MinimizeSendsTheApplicationToTheTaskbar) {
    Create();
    tk::App().SetMainForm(form);
    // The application window has the taskbar button: it goes down, the main window with it.
    HWND app = tk::App().Handle();
    Click(*form->ImageButton8);
    vt::PumpFor(50);
    EXPECT_TRUE(IsIconic(app));
    EXPECT_FALSE(IsWindowVisible(Window()));
    // The taskbar button restores it.
    SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    vt::PumpFor(50);
    EXPECT_FALSE(IsIconic(app));
    EXPECT_TRUE(IsWindowVisible(Window()));

    // Shown or hidden while minimized, a window comes back as the program then shows it.
    Click(*form->ImageButton8);
    Form2->Show();
    form->Hide();
    EXPECT_FALSE(IsWindowVisible(Form2->WindowHandle()));
    SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(IsWindowVisible(Form2->WindowHandle()));
    EXPECT_FALSE(IsWindowVisible(Window()));
    tk::App().SetMainForm(nullptr);
}

// The pointer is kept where the messages say it is, so whatever the system synthesises from
// the real pointer agrees with them.
class DragTest : public MainWindowTest {
protected:
    void Mouse(UINT msg, WPARAM keys, int x, int y) {
        POINT p{x, y};
        ClientToScreen(Window(), &p);
        SetCursorPos(p.x, p.y);
        SendMessageA(Window(), msg, keys, Point(x, y));
    }
};

TEST_F(DragTest, DraggingTheBackgroundMovesTheWindowWithThePointer) {
    Create();
    RECT start = WindowRect(Window());
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 300, 20);
    EXPECT_TRUE(DragActive);
    EXPECT_EQ(DragOriginX, 300);
    EXPECT_EQ(DragOriginY, 20);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 310, 25);
    RECT moved = WindowRect(Window());
    EXPECT_EQ(moved.left, start.left + 10);
    EXPECT_EQ(moved.top, start.top + 5);
    EXPECT_EQ(form->Left(), moved.left);
    // The pointer is at the origin point again: no drift.
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 300, 20);
    EXPECT_EQ(WindowRect(Window()).left, moved.left);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 280, 60);
    EXPECT_EQ(WindowRect(Window()).left, moved.left - 20);
    EXPECT_EQ(WindowRect(Window()).top, moved.top + 40);
    Mouse(WM_LBUTTONUP, 0, 300, 20);
    EXPECT_FALSE(DragActive);

    RECT released = WindowRect(Window());
    Mouse(WM_MOUSEMOVE, 0, 350, 70);
    EXPECT_EQ(WindowRect(Window()).left, released.left) << "no drag after the release";

    // The mouse taken away during a drag (a box opens, Alt+Tab): no release ever comes.
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 300, 20);
    ASSERT_TRUE(DragActive);
    ReleaseCapture();
    EXPECT_FALSE(DragActive);
    RECT lost = WindowRect(Window());
    Mouse(WM_MOUSEMOVE, 0, 340, 60);
    EXPECT_EQ(WindowRect(Window()).left, lost.left) << "no drag after the capture is lost";
}

TEST_F(DragTest, DraggingTheTitleMovesTheWindowTheSame) {
    Create();
    RECT start = WindowRect(Window());
    // The title starts at 24, 5: the origin is in the label's own coordinates.
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 34, 10);
    EXPECT_TRUE(DragActive);
    EXPECT_EQ(DragOriginX, 10);
    EXPECT_EQ(DragOriginY, 5);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 44, 15);
    RECT moved = WindowRect(Window());
    EXPECT_EQ(moved.left, start.left + 10);
    EXPECT_EQ(moved.top, start.top + 5);
    Mouse(WM_LBUTTONUP, 0, 34, 10);
    EXPECT_FALSE(DragActive);
}

TEST_F(DragTest, AnyMouseButtonDragsAndTheWindowMayLeaveTheScreen) {
    Create();
    RECT start = WindowRect(Window());
    Mouse(WM_RBUTTONDOWN, MK_RBUTTON, 400, 300);
    EXPECT_TRUE(DragActive);
    Mouse(WM_MOUSEMOVE, MK_RBUTTON, 400 - start.left - 200, 300 - start.top - 100);
    RECT moved = WindowRect(Window());
    EXPECT_EQ(moved.left, -200);
    EXPECT_EQ(moved.top, -100);
    Mouse(WM_RBUTTONUP, 0, 400, 300);
    EXPECT_FALSE(DragActive);
}

TEST_F(MainWindowTest, EachButtonRunsItsCommand) {
    vt::TempFolder folder;
    const std::string a = folder.Write("a.gvi", "a"), b = folder.Write("b.gvi", "b"), c = folder.Write("c.gvi", "c");
    Create();
    auto click = [](TImageButton* button) {
        Click(*button);
        vt::PumpFor(20);
    };
    {
        vt::DialogAnswerer answerer(vt::OpenFileAnswer({a, b, c}));
        click(form->ImageButton2);  // Add...
        EXPECT_EQ(answerer.Count(), 1u);
    }
    EXPECT_EQ(Rows().size(), 3u);

    SelectRow(0);
    click(form->ImageButton5);  // Play
    ASSERT_EQ(ShellCalls().size(), 1u);
    EXPECT_EQ(ShellCalls()[0].file, a);

    SelectRow(0);
    click(form->ImageButton3);  // Delete
    EXPECT_EQ(Rows(), (Strings{b, c}));

    ProgressSide::Install(Window());
    click(form->ImageButton1);  // Start
    EXPECT_TRUE(Converting);
    EXPECT_EQ(BatchTotal, 2);
    Converting = false;
    form->Show();
    vt::PumpFor(20);

    click(form->ImageButton4);  // Clear
    EXPECT_TRUE(Rows().empty());

    Converting = true;
    click(form->ImageButton7);  // Exit, refused during a batch
    EXPECT_TRUE(IsWindowVisible(Window()));
    Converting = false;
    click(form->ImageButton9);  // close
    EXPECT_FALSE(IsWindowVisible(Window()));
}
