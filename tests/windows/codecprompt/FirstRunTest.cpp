// The start-up timer's first-run check: the codec prompt, its choices and close box, the
// done.txt marker, and the About box's name and version after it.
#include "tests/windows/support/ProgramTest.h"

#include <chrono>
#include <stdexcept>
#include <vector>

#include "app/Product.h"
#include "platform/File.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"

using CodecPromptTest = ProgramTest;

namespace {

const std::string kPrompt = "Vexlar GVI Converter Installation";

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Counts the codec prompt's shows.
void CountShows(int& shows) {
    Form3->OnShow = [&shows](tk::Component*) { ++shows; };
}

}  // namespace

TEST_F(CodecPromptTest, FirstStartPromptsAfterASecondAndDoneFetchesTheInstaller) {
    const auto started = std::chrono::steady_clock::now();  // the timer starts with the window
    Create(true, /*startupTimer=*/true);
    tk::App().SetMainForm(form);  // a close from the taskbar would end the program
    const std::string marker = program.File("done.txt");
    const DWORD ui = GetCurrentThreadId();
    int promptShows = 0;
    CountShows(promptShows);
    HWND main = form->Handle();
    HWND radio1 = Form3->RadioButton1->Handle();
    HWND radio2 = Form3->RadioButton2->Handle();
    HWND done = Form3->Button1->Handle();

    struct {
        long ms = 0;
        bool mainVisible = true;
        bool appEnabled = false, minimizedWithIt = false, closeBroughtItForward = false;
        std::vector<HWND> taskbar;
        bool marker = true;
        LRESULT check1 = -1, check2 = -1;
        HWND focus = nullptr;
        RECT window{}, client{};
    } seen;
    ModalDriver driver(kPrompt, [&](HWND prompt) {
        seen.ms = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now() - started).count());
        seen.mainVisible = IsWindowVisible(main) != FALSE;
        seen.taskbar = vt::TaskbarWindows();
        seen.marker = platform::FileExists(marker);
        seen.check1 = vt::SendTo(radio1, BM_GETCHECK);
        seen.check2 = vt::SendTo(radio2, BM_GETCHECK);
        vt::WaitFor([&] { return vt::FocusOf(ui) == done; });
        seen.focus = vt::FocusOf(ui);
        GetWindowRect(prompt, &seen.window);
        GetClientRect(prompt, &seen.client);
        // The taskbar button still minimizes the program; closing it only brings the prompt back.
        const HWND app = tk::App().Handle();
        seen.appEnabled = IsWindowEnabled(app) != FALSE;
        vt::SendTo(app, WM_SYSCOMMAND, SC_MINIMIZE);
        seen.minimizedWithIt = !IsWindowVisible(prompt);
        vt::SendTo(app, WM_SYSCOMMAND, SC_CLOSE);
        seen.closeBroughtItForward = IsWindowVisible(prompt) && GetForegroundWindow() == prompt;
        // Enter on the focused "Done" (a click when the focus went astray, so the prompt ends).
        if (seen.focus == done) vt::PostKey(done, VK_RETURN);
        else PostMessageA(done, BM_CLICK, 0, 0);
    });
    ASSERT_TRUE(vt::PumpUntil([&] { return driver.Done() && platform::FileExists(marker); }, 30000));
    ASSERT_TRUE(driver.Join());

    EXPECT_GE(seen.ms, 950) << "the prompt waits for the timer's second";
    EXPECT_FALSE(seen.mainVisible) << "the main window is hidden while the prompt is up";
    EXPECT_EQ(seen.taskbar, std::vector<HWND>{tk::App().Handle()}) << "the program keeps its taskbar button";
    EXPECT_FALSE(seen.marker) << "a start that ends during the prompt prompts again";
    EXPECT_TRUE(seen.appEnabled);
    EXPECT_TRUE(seen.minimizedWithIt);
    EXPECT_TRUE(seen.closeBroughtItForward);
    EXPECT_EQ(seen.check1, BST_CHECKED);
    EXPECT_EQ(seen.check2, BST_UNCHECKED);
    EXPECT_EQ(seen.focus, done) << "\"Done\" has the focus when the prompt opens";
    EXPECT_EQ(seen.client.right, 385);
    EXPECT_EQ(seen.client.bottom, 211);
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(seen.window.left + seen.window.right, screenW, 1) << "centred";
    EXPECT_NEAR(seen.window.top + seen.window.bottom, screenH, 1) << "centred";

    EXPECT_EQ(promptShows, 1);
    EXPECT_FALSE(IsWindowVisible(Form3->Handle()));
    EXPECT_TRUE(IsWindowVisible(main)) << "the main window comes back";
    EXPECT_EQ(vt::ReadFileBytes(marker), "Done\r\n");

    ASSERT_EQ(ShellCalls().size(), 1u);
    const ShellCall& r = ShellCalls()[0];
    EXPECT_EQ(r.file, product::kCodecInstaller);
    EXPECT_TRUE(EndsWith(r.file, "/divx/DivXInstaller.exe")) << r.file;
    EXPECT_EQ(r.file.rfind("http://", 0), 0u) << "a web address, for the default browser";
    EXPECT_EQ(r.owner, tk::App().Handle());
    EXPECT_FALSE(r.hasVerb);
    EXPECT_FALSE(r.hasParameters);
    EXPECT_FALSE(r.hasDirectory);
    EXPECT_EQ(r.show, SW_RESTORE);

    EXPECT_EQ(AboutForm->Label1->Caption(), "Vexlar GVI Converter");
    EXPECT_EQ(AboutForm->Label2->Caption(), "Version: 1.4");

    // The timer runs once: no second prompt.
    EXPECT_FALSE(form->Timer1->Enabled());
    vt::PumpFor(1300);
    EXPECT_EQ(promptShows, 1);
}

// Whatever goes wrong while the prompt is up, the main window comes back: hidden, the program
// would run on with no window. Here the prompt cannot be shown modally, as it is shown already.
TEST_F(CodecPromptTest, AFailingPromptStillBringsTheMainWindowBack) {
    Create();
    Form3->Show();
    EXPECT_THROW(form->Timer1Timer(form->Timer1), std::logic_error);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    Form3->Hide();
}

TEST_F(CodecPromptTest, SecondStartOnlyFillsTheAboutBox) {
    program.Write("done.txt", "");  // only its existence counts
    Create(true, /*startupTimer=*/true);
    int promptShows = 0;
    CountShows(promptShows);
    ASSERT_TRUE(vt::PumpUntil([&] { return !form->Timer1->Enabled(); }, 10000));
    vt::PumpFor(50);
    EXPECT_EQ(promptShows, 0);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(vt::ReadFileBytes(program.File("done.txt")), "") << "the marker is left alone";
    EXPECT_TRUE(ShellCalls().empty());
    EXPECT_EQ(AboutForm->Label1->Caption(), "Vexlar GVI Converter");
    EXPECT_EQ(AboutForm->Label2->Caption(), "Version: 1.4");
}

TEST_F(CodecPromptTest, AlreadyInstalledClosesWithoutTheBrowser) {
    Create();
    HWND radio1 = Form3->RadioButton1->Handle();
    HWND radio2 = Form3->RadioButton2->Handle();
    HWND done = Form3->Button1->Handle();
    LRESULT check1 = -1;
    ModalDriver driver(kPrompt, [&](HWND) {
        PostMessageA(radio2, BM_CLICK, 0, 0);
        vt::WaitFor([&] { return vt::SendTo(radio2, BM_GETCHECK) == BST_CHECKED; });
        check1 = vt::SendTo(radio1, BM_GETCHECK);
        PostMessageA(done, BM_CLICK, 0, 0);
    });
    form->Timer1Timer(form->Timer1);
    ASSERT_TRUE(driver.Join());

    EXPECT_EQ(check1, BST_UNCHECKED) << "the choices exclude each other";
    EXPECT_TRUE(Form3->RadioButton2->Checked());
    EXPECT_FALSE(Form3->RadioButton1->Checked());
    EXPECT_TRUE(ShellCalls().empty());
    EXPECT_EQ(vt::ReadFileBytes(program.File("done.txt")), "Done\r\n");
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(IsWindowVisible(Form3->Handle()));
    EXPECT_EQ(AboutForm->Label2->Caption(), "Version: 1.4");
}

TEST_F(CodecPromptTest, CloseBoxStillWritesTheMarkerWithoutTheBrowser) {
    Create();
    ModalDriver driver(kPrompt, [&](HWND prompt) { PostMessageA(prompt, WM_SYSCOMMAND, SC_CLOSE, 0); });
    form->Timer1Timer(form->Timer1);
    ASSERT_TRUE(driver.Join());

    EXPECT_TRUE(Form3->RadioButton1->Checked()) << "the first choice stayed selected";
    EXPECT_TRUE(ShellCalls().empty()) << "only \"Done\" fetches the installer";
    EXPECT_EQ(vt::ReadFileBytes(program.File("done.txt")), "Done\r\n");
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(AboutForm->Label2->Caption(), "Version: 1.4");
}

TEST_F(CodecPromptTest, UnwritableMarkerShowsTheErrorAndStillFillsTheAboutBox) {
    // A folder where the marker goes: done.txt cannot be created as a file.
    const std::string marker = program.File("done.txt");
    ASSERT_TRUE(CreateDirectoryA(marker.c_str(), nullptr));
    Create();
    HWND main = form->Handle();
    HWND done = Form3->Button1->Handle();
    std::atomic<bool> mainVisibleAtError{false};
    vt::DialogAnswerer::Options options;
    options.title = "Error";
    options.inspect = [&](HWND) { mainVisibleAtError = IsWindowVisible(main) != FALSE; };
    vt::DialogAnswerer answerer(options);
    ModalDriver driver(kPrompt, [&](HWND) { PostMessageA(done, BM_CLICK, 0, 0); });
    form->Timer1Timer(form->Timer1);
    ASSERT_TRUE(driver.Join());

    std::vector<vt::SeenDialog> seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Cannot create file \"" + marker + "\". " + tk::SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(tk::SystemErrorText(ERROR_ACCESS_DENIED).empty());
    EXPECT_EQ(seen[0].icon, vt::BoxIcon::Error);
    EXPECT_TRUE(mainVisibleAtError) << "the main window is back before the error box";
    EXPECT_TRUE(platform::DirectoryExists(marker));
    EXPECT_EQ(ShellCalls().size(), 1u) << "the choice was made before the marker failed";
    // Name and version are shown even so: the marker only decides about the prompt.
    EXPECT_EQ(AboutForm->Label1->Caption(), "Vexlar GVI Converter");
    EXPECT_EQ(AboutForm->Label2->Caption(), "Version: 1.4");
}

TEST_F(CodecPromptTest, PromptLayout) {
    Create();
    TForm3& f = *Form3;
    const LONG_PTR style = GetWindowLongPtrA(f.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU) << "the close box";
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    // The logo's JPEG decoded at its size; the text wraps inside its fixed box.
    EXPECT_EQ(f.Image1->Picture().Width(), 158);
    EXPECT_EQ(f.Image1->Picture().Height(), 44);
    EXPECT_TRUE(f.Label1->WordWrap());
    EXPECT_EQ(f.Label1->Width(), 337);
    EXPECT_EQ(f.Label1->Height(), 33);
    // No default or cancel button: Enter belongs to the focused control, Escape to nobody.
    EXPECT_FALSE(f.Button1->Default());
    EXPECT_FALSE(f.Button1->Cancel());
    EXPECT_EQ(f.Button1->TabOrder(), 0);
    EXPECT_EQ(f.RadioButton1->TabOrder(), 1);
    EXPECT_EQ(f.RadioButton2->TabOrder(), 2);
}
