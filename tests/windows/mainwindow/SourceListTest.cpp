// The source list: dropped files, the open dialog, removing rows, the count label, sizes.
#include "MainWindowFixture.h"

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// A file of `size` bytes; large ones are sparse, so they cost no disk space.
std::string MakeFileOfSize(const vt::TempFolder& folder, const std::string& name, uint64_t size) {
    std::string path = folder.File(name);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return path;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    return path;
}

}  // namespace

TEST(FileSizeText, UsesTheUsersDecimalSeparator) {
    char saved[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, sizeof saved);
    vt::TempFolder folder;
    std::string path = MakeFileOfSize(folder, "a.gvi", 131072);
    // The user's setting changed while the program runs is read afresh.
    for (const char* separator : {";", "."}) {
        ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator));
        EXPECT_EQ(DecimalSeparator(), separator);
        EXPECT_EQ(FileSizeText(path), std::string("0") + separator + "13");
    }
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved);
}

TEST_F(MainWindowTest, DroppingTheSameFileTwiceGivesOneRow) {
    Create();
    Drop({"C:\\v\\a.gvi"});
    Drop({"C:\\v\\a.gvi"});
    EXPECT_EQ(Rows(), Strings{"C:\\v\\a.gvi"});
    EXPECT_EQ(Rows(1), Strings{"0.00"});
    EXPECT_EQ(CountLabel(), "Added 1 file(s).");
}

TEST_F(MainWindowTest, DropTakesOnlyGviFilesInTheShellsOrder) {
    vt::TempFolder folder;
    std::string gvi = MakeFileOfSize(folder, "clip.gvi", 131072);
    std::string avi = MakeFileOfSize(folder, "clip.avi", 10);
    std::string odd = MakeFileOfSize(folder, "Other.GvI", 1048576);
    CreateDirectoryA(folder.File("sub").c_str(), nullptr);
    Create();
    Drop({gvi, avi, folder.File("sub"), odd, gvi});
    EXPECT_EQ(Rows(), (Strings{gvi, odd}));
    EXPECT_EQ(Rows(1), (Strings{"0.13", "1.00"}));
    EXPECT_EQ(CountLabel(), "Added 2 file(s).");
    RemoveDirectoryA(folder.File("sub").c_str());

    form->Label1->SetCaption("stale");
    Drop({avi});
    EXPECT_EQ(CountLabel(), "Added 2 file(s).") << "rewritten after a drop that added nothing";
    form->Label1->SetCaption("stale");
    Drop({});
    EXPECT_EQ(CountLabel(), "Added 2 file(s).");
}

TEST_F(MainWindowTest, PathsAreComparedAsExactText) {
    Create();
    tk::OpenDialog::TestHook = [](tk::OpenDialog& d) {
        d.SetFiles({"C:\\v\\a.gvi"});
        return true;
    };
    form->ImageButton2Click(nullptr);
    Drop({"C:\\V\\A.GVI"});
    EXPECT_EQ(Rows(), (Strings{"C:\\v\\a.gvi", "C:\\V\\A.GVI"}));
    EXPECT_EQ(CountLabel(), "Added 2 file(s).");
}

TEST_F(MainWindowTest, LongDroppedPathsAreTakenWhole) {
    std::string longPath = "C:\\";
    while (longPath.size() < 292) longPath += "abcdefghij\\";
    longPath = longPath.substr(0, 292) + "\\clip.gvi";  // 301 characters
    ASSERT_GT(longPath.size(), 255u);
    std::string cutHere = longPath.substr(0, 255);
    Create();
    Drop({longPath, cutHere});  // the cut one is no GVI file
    EXPECT_EQ(Rows(), Strings{longPath});
    EXPECT_EQ(Rows(1), Strings{"0.00"});
}

TEST_F(MainWindowTest, ThreeGigabyteFileShowsItsTrueSize) {
    vt::TempFolder folder;
    std::string big = MakeFileOfSize(folder, "big.gvi", 3221225472ull);
    Create();
    Drop({big});
    EXPECT_EQ(FileSizeInBytes(big), 3221225472ull);
    EXPECT_EQ(Rows(1), Strings{"3072" + DecimalSeparator() + "00"});
}

TEST_F(MainWindowTest, DialogAddsNewFilesAfterTheRowsInItsOrder) {
    Create();
    Drop({"C:\\v\\first.gvi", "C:\\v\\b.gvi"});
    std::string filter, initialDir;
    DWORD flags = 0;
    tk::OpenDialog::TestHook = [&](tk::OpenDialog& d) {
        filter = d.Filter;
        initialDir = d.InitialDir;
        flags = d.SystemFlags();
        // Whatever the dialog returns is taken, extension or not.
        d.SetFiles({"C:\\v\\c.gvi", "C:\\v\\b.gvi", "C:\\v\\typed.txt", "C:\\v\\c.gvi"});
        return true;
    };
    form->ImageButton2Click(nullptr);
    EXPECT_EQ(Rows(), (Strings{"C:\\v\\first.gvi", "C:\\v\\b.gvi", "C:\\v\\c.gvi", "C:\\v\\typed.txt"}));
    EXPECT_EQ(CountLabel(), "Added 4 file(s).");
    EXPECT_EQ(filter, "Google Video (*.GVI)|*.gvi");
    EXPECT_TRUE(flags & OFN_ALLOWMULTISELECT);
    EXPECT_TRUE(flags & OFN_HIDEREADONLY);
}

TEST_F(MainWindowTest, CancellingTheDialogKeepsTheRowsAndRewritesTheLabel) {
    Create();
    Drop({"C:\\v\\1.gvi", "C:\\v\\2.gvi", "C:\\v\\3.gvi"});
    int calls = 0;
    tk::OpenDialog::TestHook = [&](tk::OpenDialog& d) {
        ++calls;
        d.SetFiles({"C:\\v\\4.gvi"});
        return false;
    };
    form->Label1->SetCaption("stale");
    form->Add1->Click();  // the list menu's "Add..."
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Rows().size(), 3u);
    EXPECT_EQ(CountLabel(), "Added 3 file(s).");
}

TEST_F(MainWindowTest, RemoveSelectedAndRemoveAll) {
    Create();
    Drop({"C:\\v\\1.gvi", "C:\\v\\2.gvi", "C:\\v\\3.gvi"});

    form->Label1->SetCaption("stale");
    form->ImageButton3Click(nullptr);  // nothing selected
    EXPECT_EQ(Rows().size(), 3u);
    EXPECT_EQ(CountLabel(), "Added 3 file(s).");

    form->ListView1->Select(1);
    form->Delete1->Click();
    EXPECT_EQ(Rows(), (Strings{"C:\\v\\1.gvi", "C:\\v\\3.gvi"}));
    EXPECT_EQ(CountLabel(), "Added 2 file(s).");

    form->ListView1->Select(0);
    form->ImageButton3Click(nullptr);
    EXPECT_EQ(Rows(), (Strings{"C:\\v\\3.gvi"}));

    form->ImageButton4Click(nullptr);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(CountLabel(), "Added 0 file(s).");

    Drop({"C:\\v\\5.gvi", "C:\\v\\6.gvi"});
    form->Clear1->Click();
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(CountLabel(), "Added 0 file(s).");
}
