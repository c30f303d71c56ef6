// The output folder button against the shell's real folder browser: the folder the user picks
// lands in the field with one trailing backslash; Cancel, items without a path and folders that
// are gone leave the field alone; nothing is saved before the window closes.
#include "Robots.h"
#include "tests/windows/support/ProgramTest.h"

#include "app/OutputFolder.h"
#include "platform/CodePage.h"
#include "platform/File.h"

using HelpCommandsTest = ProgramTest;

namespace {

// The folder as the browser is asked for it: without the trailing backslash.
std::string Bare(std::string folder) {
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

BrowserRobot::Script OkOn(const std::string& path) {
    return [path](HWND browser) {
        EXPECT_TRUE(BrowserRobot::SelectPath(browser, path)) << path;
        BrowserRobot::Press(browser, IDOK);
    };
}

BrowserRobot::Script CancelOn(const std::string& path) {
    return [path](HWND browser) {
        EXPECT_TRUE(BrowserRobot::SelectPath(browser, path)) << path;
        BrowserRobot::Press(browser, IDCANCEL);
    };
}

// OK on "My Computer", which has no file-system path.
BrowserRobot::Script OkOnMyComputer() {
    return [](HWND browser) {
        LPITEMIDLIST computer = nullptr;
        ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
        EXPECT_TRUE(BrowserRobot::SelectIdList(browser, computer));
        CoTaskMemFree(computer);
        BrowserRobot::Press(browser, IDOK);
    };
}

}  // namespace

TEST_F(HelpCommandsTest, BrowseOutputFolderAddsOneBackslashOrGivesNothing) {
    vt::TempFolder picked;
    BrowserRobot robot({OkOn(Bare(picked.Path())), OkOn("C:\\"), OkOnMyComputer(), CancelOn("C:\\")});
    EXPECT_EQ(BrowseOutputFolder(), picked.Path());
    EXPECT_EQ(BrowseOutputFolder(), "C:\\") << "a drive root keeps its one backslash";
    EXPECT_EQ(BrowseOutputFolder(), "") << "an item without a path";
    EXPECT_EQ(BrowseOutputFolder(), "") << "cancelled";
    EXPECT_EQ(robot.Join(), 4);
}

TEST_F(HelpCommandsTest, ChosenFolderFillsTheFieldAndNothingIsSaved) {
    Create();
    vt::TempFolder picked;
    ASSERT_NE(form->Edit1->Text(), picked.Path());
    {
        BrowserRobot robot({OkOn(Bare(picked.Path()))});
        Click(*form->ImageButton10);
        EXPECT_EQ(robot.Join(), 1);
    }
    EXPECT_EQ(form->Edit1->Text(), picked.Path());
    EXPECT_FALSE(platform::FileExists(program.File("set.txt"))) << "the folder is saved only at close";

    // A drive root: the field shows it as it came.
    BrowserRobot root({OkOn("C:\\")});
    Click(*form->ImageButton10);
    EXPECT_EQ(root.Join(), 1);
    EXPECT_EQ(form->Edit1->Text(), "C:\\");

    // A name in any script, longer in UTF-8 than the ANSI calls' MAX_PATH bytes though Windows
    // takes it: shown whole, saved at close and read back at the next start.
    std::wstring nameWide;
    for (int i = 0; i < 12; ++i) nameWide += vt::WideNames()[1].substr(0, vt::WideNames()[1].size() - 4);
    const std::string named = picked.Path() + platform::Narrow(nameWide) + "\\";
    ASSERT_GT(named.size(), static_cast<size_t>(MAX_PATH));
    ASSERT_TRUE(CreateDirectoryA(named.c_str(), nullptr));
    BrowserRobot robot({OkOn(Bare(named))});
    Click(*form->ImageButton10);
    EXPECT_EQ(robot.Join(), 1);
    std::wstring shown(1024, L'\0');
    shown.resize(GetWindowTextW(form->Edit1->Handle(), shown.data(), 1024));
    EXPECT_EQ(shown, platform::Widen(picked.Path()) + nameWide + L"\\");
    EXPECT_TRUE(form->CloseQuery());
    Destroy();
    Create(false);
    EXPECT_EQ(form->Edit1->Text(), named);
}

TEST_F(HelpCommandsTest, CancelOrAnItemWithoutPathKeepsTheFolderChosenBefore) {
    Create();
    vt::TempFolder first, second;
    BrowserRobot robot({OkOn(Bare(first.Path())), CancelOn(Bare(second.Path())), OkOnMyComputer()});
    Click(*form->ImageButton10);
    ASSERT_EQ(form->Edit1->Text(), first.Path());
    Click(*form->ImageButton10);
    EXPECT_EQ(form->Edit1->Text(), first.Path()) << "cancelled after selecting another folder";
    Click(*form->ImageButton10);
    EXPECT_EQ(form->Edit1->Text(), first.Path()) << "My Computer is no folder";
    EXPECT_EQ(robot.Join(), 3);
}

TEST_F(HelpCommandsTest, FolderGoneBeforeOkKeepsTheField) {
    Create();
    const std::string before = form->Edit1->Text();
    vt::TempFolder parent;
    const std::string gone = parent.Path() + "gone";
    ASSERT_TRUE(CreateDirectoryA(gone.c_str(), nullptr));
    BrowserRobot robot({[gone](HWND browser) {
        EXPECT_TRUE(BrowserRobot::SelectPath(browser, gone));
        EXPECT_TRUE(RemoveDirectoryA(gone.c_str()));
        BrowserRobot::Press(browser, IDOK);
    }});
    Click(*form->ImageButton10);
    EXPECT_EQ(robot.Join(), 1);
    EXPECT_EQ(form->Edit1->Text(), before);
}
