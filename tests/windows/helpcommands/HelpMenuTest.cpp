// The help menu: it opens with its top-left corner at the pointer wherever Help is clicked, and
// its items open the help file from the program folder, the product page and the About box.
#include "Robots.h"
#include "tests/windows/support/ProgramTest.h"

#include "app/Product.h"
#include "platform/CodePage.h"
#include "toolkit/Application.h"

using HelpCommandsTest = ProgramTest;

namespace {

struct TextSearch {
    const std::string* text;
    HWND found;
};

BOOL CALLBACK MatchText(HWND child, LPARAM data) {
    auto* s = reinterpret_cast<TextSearch*>(data);
    char buffer[64] = {};
    GetWindowTextA(child, buffer, sizeof buffer);
    if (*s->text != buffer) return TRUE;
    s->found = child;
    return FALSE;
}

// The first child window (at any depth) with exactly this text.
HWND ChildWithText(HWND parent, const std::string& text) {
    TextSearch search{&text, nullptr};
    EnumChildWindows(parent, MatchText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The pointer moved onto the middle of the control, in screen coordinates.
POINT PointerTo(tk::WinControl& control) {
    POINT at{control.Width() / 2, control.Height() / 2};
    ClientToScreen(control.Handle(), &at);
    SetCursorPos(at.x, at.y);
    return at;
}

}  // namespace

TEST_F(HelpCommandsTest, HelpMenuOpensAtThePointerWhereverHelpIsClicked) {
    Create();
    const POINT places[] = {{40, 60}, {420, 300}};
    for (POINT place : places) {
        form->SetLeft(place.x);
        form->SetTop(place.y);
        vt::PumpFor(20);
        POINT pointer = PointerTo(*form->ImageButton6);
        MenuRobot robot(VK_ESCAPE);
        Click(*form->ImageButton6);
        robot.Join();
        ASSERT_TRUE(robot.MenuSeen()) << "window at " << place.x << "," << place.y;
        EXPECT_EQ(robot.MenuRect().left, pointer.x);
        EXPECT_EQ(robot.MenuRect().top, pointer.y);
    }
    EXPECT_TRUE(ShellCalls().empty()) << "Escape picks nothing";
}

TEST_F(HelpCommandsTest, ContentsOpensHelpFileOfTheProgramFolder) {
    Create();
    PointerTo(*form->ImageButton6);
    MenuRobot robot('c');
    Click(*form->ImageButton6);
    robot.Join();
    ASSERT_EQ(ShellCalls().size(), 1u);
    const ShellCall& call = ShellCalls()[0];
    EXPECT_EQ(call.owner, tk::App().Handle());
    EXPECT_FALSE(call.hasVerb) << "the file's own default action";
    EXPECT_EQ(call.file, program.Path() + "help.chm");
    EXPECT_TRUE(call.hasParameters);
    EXPECT_EQ(call.parameters, "");
    EXPECT_FALSE(call.hasDirectory);
    EXPECT_EQ(call.show, SW_RESTORE);
}

// This test program, copied into a folder with a name in another script, runs this same test
// there: set.txt and help.chm are found beside the running program, and set.txt written there.
TEST_F(HelpCommandsTest, AProgramFolderWithANameInAnyScriptHoldsItsFiles) {
    const std::wstring folderName = vt::WideNames()[0].substr(0, vt::WideNames()[0].size() - 4);  // Видео
    if (GetEnvironmentVariableA("VEXLAR_COPIED_PROGRAM", nullptr, 0) != 0) {
        const std::string folder = program.Path();
        EXPECT_NE(folder.find(platform::Narrow(folderName) + "\\"), std::string::npos) << folder;
        program.Write("set.txt", "D:\\" + platform::Narrow(folderName) + "\\\r\n");
        Create();
        EXPECT_EQ(form->Edit1->Text(), "D:\\" + platform::Narrow(folderName) + "\\");
        PointerTo(*form->ImageButton6);
        MenuRobot robot('c');
        Click(*form->ImageButton6);
        robot.Join();
        ASSERT_EQ(ShellCalls().size(), 1u);
        EXPECT_EQ(ShellCalls()[0].file, folder + "help.chm");
        form->Edit1->SetText("E:\\Saved\\");
        EXPECT_TRUE(form->CloseQuery());
        EXPECT_EQ(vt::ReadFileBytes(folder + "set.txt"), "E:\\Saved\\\r\n") << "written beside the copy";
        return;
    }
    vt::TempFolder root;
    const std::string folder = root.Path() + platform::Narrow(folderName) + "\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::string copy = folder + "copy.exe";
    ASSERT_TRUE(CopyFileW(self, platform::Widen(copy).c_str(), TRUE));
    std::string command = "\"" + copy + "\" --gtest_brief=1 --gtest_filter=" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "." +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name();
    SetEnvironmentVariableA("VEXLAR_COPIED_PROGRAM", "1");
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const bool started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &si, &pi);
    SetEnvironmentVariableA("VEXLAR_COPIED_PROGRAM", nullptr);
    ASSERT_TRUE(started);
    WaitForSingleObject(pi.hProcess, 120000);
    DWORD code = 999;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    EXPECT_EQ(code, 0u);
}

TEST_F(HelpCommandsTest, VisitWebSiteOpensTheProductPageInTheDefaultBrowser) {
    Create();
    PointerTo(*form->ImageButton6);
    MenuRobot robot('v');
    Click(*form->ImageButton6);
    robot.Join();
    ASSERT_EQ(ShellCalls().size(), 1u);
    const ShellCall& call = ShellCalls()[0];
    EXPECT_EQ(call.owner, tk::App().Handle());
    EXPECT_FALSE(call.hasVerb);
    EXPECT_EQ(call.file, product::kWebPage) << "the address itself, for the default browser";
    EXPECT_EQ(call.parameters, "");
    EXPECT_FALSE(call.hasDirectory);
    EXPECT_EQ(call.show, SW_RESTORE);
    EXPECT_EQ(call.file, AboutForm->Label3->Caption()) << "the page the About box links to";
}

TEST_F(HelpCommandsTest, AboutShowsTheAboutBoxModally) {
    Create();
    HWND main = form->Handle();
    std::atomic<bool> mainEnabledMeanwhile{true};
    std::atomic<bool> okFound{false};
    PointerTo(*form->ImageButton6);
    MenuRobot robot('a', "About", [&](HWND box) {
        mainEnabledMeanwhile = IsWindowEnabled(main) != FALSE;
        HWND ok = ChildWithText(box, "OK");
        okFound = ok != nullptr;
        if (ok) {
            vt::SendTo(ok, BM_CLICK);
        } else {
            PostMessageA(box, WM_CLOSE, 0, 0);
        }
    });
    Click(*form->ImageButton6);  // returns when the box is closed
    robot.Join();
    ASSERT_TRUE(robot.NextSeen()) << "no About box came up";
    EXPECT_TRUE(okFound);
    EXPECT_FALSE(mainEnabledMeanwhile) << "the main window is disabled while the box is up";
    EXPECT_FALSE(IsWindowVisible(AboutForm->Handle()));
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(ShellCalls().empty());
}
