// The source list: dropped files, the open dialog, removing rows, the count label, sizes.
#include "tests/windows/support/ProgramTest.h"
#include "platform/Text.h"

#include "platform/CodePage.h"

#include <string>
#include <vector>

using MainWindowTest = ProgramTest;

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

// The user's decimal separator, set for one test and put back after it.
class DecimalSeparatorSetTo {
public:
    explicit DecimalSeparatorSetTo(const char* separator) {
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_, sizeof saved_);
        EXPECT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator));
    }
    ~DecimalSeparatorSetTo() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_); }

private:
    char saved_[8] = {};
};

}  // namespace

TEST(FileSizeText, UsesTheUsersDecimalSeparator) {
    vt::TempFolder folder;
    std::string path = MakeFileOfSize(folder, "a.gvi", 131072);
    // The user's setting changed while the program runs is read afresh.
    for (const char* separator : {";", "."}) {
        DecimalSeparatorSetTo set(separator);
        EXPECT_EQ(platform::DecimalSeparator(), separator);
        EXPECT_EQ(FileSizeText(path), std::string("0") + separator + "13");
    }
}

TEST_F(MainWindowTest, DroppingTheSameFileTwiceGivesOneRow) {
    Create();
    Drop({"C:\\v\\a.gvi"});
    Drop({"C:\\v\\a.gvi"});
    EXPECT_EQ(Rows(), Strings{"C:\\v\\a.gvi"});
    EXPECT_EQ(Rows(1), Strings{"0.00"});
    EXPECT_EQ(form->Label1->Caption(), "Added 1 file(s).");
}

TEST_F(MainWindowTest, DropTakesOnlyGviFilesInTheShellsOrder) {
    vt::TempFolder folder;
    std::string gvi = MakeFileOfSize(folder, "clip.gvi", 131072);
    std::string avi = MakeFileOfSize(folder, "clip.avi", 10);
    std::string odd = MakeFileOfSize(folder, "Other.GvI", 1048576);
    CreateDirectoryA(folder.File("sub").c_str(), nullptr);
    DecimalSeparatorSetTo comma(",");
    Create();
    Drop({gvi, avi, folder.File("sub"), odd, gvi});
    EXPECT_EQ(Rows(), (Strings{gvi, odd}));
    EXPECT_EQ(Rows(1), (Strings{"0,13", "1,00"}));
    EXPECT_EQ(form->Label1->Caption(), "Added 2 file(s).");
    RemoveDirectoryA(folder.File("sub").c_str());

    form->Label1->SetCaption("stale");
    Drop({avi});
    EXPECT_EQ(form->Label1->Caption(), "Added 2 file(s).") << "rewritten after a drop that added nothing";
    form->Label1->SetCaption("stale");
    Drop({});
    EXPECT_EQ(form->Label1->Caption(), "Added 2 file(s).");
}

TEST_F(MainWindowTest, PathsAreComparedAsExactText) {
    vt::TempFolder folder;
    const std::string path = folder.Write("a.gvi", "x");
    std::string upper = path;
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    Create();
    {
        vt::DialogAnswerer answerer(vt::OpenFileAnswer({path}));
        Click(*form->ImageButton2);
    }
    Drop({upper});
    EXPECT_EQ(Rows(), (Strings{path, upper}));
    EXPECT_EQ(form->Label1->Caption(), "Added 2 file(s).");
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

TEST_F(MainWindowTest, DroppedNamesInAnyScriptAreListedAsTheyAre) {
    vt::TempFolder root;
    const std::string folder = vt::Names()[0].substr(0, vt::Names()[0].size() - 4);  // Видео
    ASSERT_TRUE(CreateDirectoryA(root.File(folder).c_str(), nullptr));
    std::vector<std::string> paths;
    for (const std::string& name : vt::Names()) paths.push_back(root.Write(folder + "\\" + name, "x"));
    Create();
    Drop(paths);
    ASSERT_EQ(Rows(), paths);
    for (int i = 0; i < 4; ++i) {
        wchar_t text[MAX_PATH] = {};
        LVITEMW item{};
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        SendMessageW(form->ListView1->Handle(), LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(std::wstring(text), platform::Widen(root.File(folder)) + L"\\" + vt::WideNames()[i]);
    }
}

TEST_F(MainWindowTest, ThreeGigabyteFileShowsItsTrueSize) {
    vt::TempFolder folder;
    std::string big = MakeFileOfSize(folder, "big.gvi", 3221225472ull);
    DecimalSeparatorSetTo comma(",");
    Create();
    Drop({big});
    EXPECT_EQ(FileSizeInBytes(big), 3221225472ull);
    EXPECT_EQ(Rows(1), Strings{"3072,00"});
}

TEST_F(MainWindowTest, DialogAddsNewFilesAfterTheRowsInItsOrder) {
    vt::TempFolder folder;
    const std::string b = folder.Write("b.gvi", "b"), c = folder.Write("c.gvi", "c");
    const std::string typed = folder.File("typed.txt");
    const std::string named = folder.Write(vt::Names()[3], "n");  // 🎬 clip.gvi
    Create();
    Drop({"C:\\v\\first.gvi", b});
    // What the user sees: the program's filter, and no read-only box.
    std::string filter;
    bool readOnlyBox = true;
    vt::DialogAnswerer::Options answer = vt::OpenFileAnswer({c, b, typed, c, named});
    answer.inspect = [&](HWND dialog) {
        filter = vt::TextOf(GetDlgItem(dialog, 0x470));                      // cmb1: files of type
        readOnlyBox = IsWindowVisible(GetDlgItem(dialog, 0x410)) != FALSE;  // chx1
    };
    {
        vt::DialogAnswerer answerer(answer);
        Click(*form->ImageButton2);
    }
    // Whatever the dialog returns is taken, extension or not.
    EXPECT_EQ(Rows(), (Strings{"C:\\v\\first.gvi", b, c, typed, named}));
    EXPECT_EQ(form->Label1->Caption(), "Added 5 file(s).");
    EXPECT_EQ(filter, "Google Video (*.GVI)");
    EXPECT_FALSE(readOnlyBox);
}

TEST_F(MainWindowTest, CancellingTheDialogKeepsTheRowsAndRewritesTheLabel) {
    Create();
    Drop({"C:\\v\\1.gvi", "C:\\v\\2.gvi", "C:\\v\\3.gvi"});
    vt::TempFolder folder;
    vt::DialogAnswerer answerer(vt::OpenFileAnswer({folder.Write("4.gvi", "4")}, IDCANCEL));
    form->Label1->SetCaption("stale");
    form->Add1->Click();  // the list menu's "Add..."
    EXPECT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(Rows().size(), 3u);
    EXPECT_EQ(form->Label1->Caption(), "Added 3 file(s).");
}

TEST_F(MainWindowTest, RemoveSelectedAndRemoveAll) {
    Create();
    Drop({"C:\\v\\1.gvi", "C:\\v\\2.gvi", "C:\\v\\3.gvi"});

    form->Label1->SetCaption("stale");
    Click(*form->ImageButton3);  // nothing selected
    EXPECT_EQ(Rows().size(), 3u);
    EXPECT_EQ(form->Label1->Caption(), "Added 3 file(s).");

    SelectRow(1);
    form->Delete1->Click();
    EXPECT_EQ(Rows(), (Strings{"C:\\v\\1.gvi", "C:\\v\\3.gvi"}));
    EXPECT_EQ(form->Label1->Caption(), "Added 2 file(s).");

    SelectRow(0);
    Click(*form->ImageButton3);
    EXPECT_EQ(Rows(), (Strings{"C:\\v\\3.gvi"}));

    Click(*form->ImageButton4);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(form->Label1->Caption(), "Added 0 file(s).");

    Drop({"C:\\v\\5.gvi", "C:\\v\\6.gvi"});
    form->Clear1->Click();
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(form->Label1->Caption(), "Added 0 file(s).");
}
