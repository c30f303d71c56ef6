// Start-up and shutdown of the main window: set.txt in the program folder, the close request,
// and the open dialog's default source folder.
#include "tests/windows/support/ProgramTest.h"
#include "toolkit/Application.h"

#include <shlobj.h>

using MainWindowTest = ProgramTest;

using vt::ReadFileBytes;

TEST_F(MainWindowTest, SettingsFileGivesTheOutputFolder) {
    struct Case {
        const char* content;  // nullptr: no file
        const char* field;
    };
    const Case cases[] = {
        {nullptr, "C:\\"},
        {"D:\\Videos\\\r\n", "D:\\Videos\\"},
        {"E:\\First\\\r\nF:\\Second\\\r\n", "E:\\First\\"},  // only the first line counts
        {"", "C:\\"},                                        // no line at all
        {"G:\\NoLineEnd", "G:\\NoLineEnd"},
        {"Z:\\gone\\folder\\\r\n", "Z:\\gone\\folder\\"},     // taken unchecked
        // UTF-8, as this version writes it; an earlier version's line in the legacy code page
        // (1252 here: 0xE9 is é).
        {"D:\\\xD0\x92\xD0\xB8\xD0\xB4\xD0\xB5\xD0\xBE\\\r\n", "D:\\\xD0\x92\xD0\xB8\xD0\xB4\xD0\xB5\xD0\xBE\\"},
        {"D:\\Vid\xE9os\\\r\n", "D:\\Vid\xC3\xA9os\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content ? c.content : "(no file)");
        DeleteFileA(program.File("set.txt").c_str());
        if (c.content) program.Write("set.txt", c.content);
        Create(false);
        EXPECT_EQ(form->Edit1->Text(), c.field);
        Converting = false;
        Destroy();
    }
}

TEST_F(MainWindowTest, SettingsComeFromTheProgramFolderNotTheCurrentDirectory) {
    vt::TempFolder elsewhere;
    elsewhere.Write("set.txt", "Q:\\Wrong\\\r\n");
    char old[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, old);
    SetCurrentDirectoryA(elsewhere.Path().c_str());
    Create(false);
    EXPECT_EQ(form->Edit1->Text(), "C:\\");
    form->Close();
    SetCurrentDirectoryA(old);
    EXPECT_EQ(ReadFileBytes(program.File("set.txt")), "C:\\\r\n");
    EXPECT_EQ(ReadFileBytes(elsewhere.File("set.txt")), "Q:\\Wrong\\\r\n");
}

TEST_F(MainWindowTest, ClosingWritesExactlyTheFolderAndCrLf) {
    Create();
    Click(*form->ImageButton9);
    EXPECT_FALSE(IsWindowVisible(Window()));
    EXPECT_EQ(ReadFileBytes(program.File("set.txt")), "C:\\\r\n");  // exactly 5 bytes
}

TEST_F(MainWindowTest, ClosingRewritesTheFolderTheFieldShows) {
    program.Write("set.txt", "D:\\Videos\\\r\nsecond line\r\n");
    Create();
    form->Edit1->SetText("E:\\Out\\");
    EXPECT_TRUE(form->CloseQuery());
    EXPECT_EQ(ReadFileBytes(program.File("set.txt")), "E:\\Out\\\r\n");
}

TEST_F(MainWindowTest, CloseIsRefusedDuringABatchYetSettingsAreSaved) {
    Create();
    form->Edit1->SetText("D:\\Batch\\");
    Converting = true;
    // Every route: Exit, the close button, and the system's close message.
    Click(*form->ImageButton7);
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_EQ(ReadFileBytes(program.File("set.txt")), "D:\\Batch\\\r\n");

    DeleteFileA(program.File("set.txt").c_str());
    Click(*form->ImageButton9);
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_EQ(ReadFileBytes(program.File("set.txt")), "D:\\Batch\\\r\n");

    DeleteFileA(program.File("set.txt").c_str());
    SendMessageA(Window(), WM_CLOSE, 0, 0);
    vt::PumpFor(20);
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_EQ(ReadFileBytes(program.File("set.txt")), "D:\\Batch\\\r\n");

    // Logoff and shutdown: the session may not end, and the system is told why.
    DeleteFileA(program.File("set.txt").c_str());
    EXPECT_EQ(SendMessageA(Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    EXPECT_EQ(ReadFileBytes(program.File("set.txt")), "D:\\Batch\\\r\n");
    EXPECT_EQ(ShutdownReason(), "Converting GVI files...");
    tk::App().AllowShutdown();

    // Outside a batch the folder is saved and the session may end.
    Converting = false;
    form->Edit1->SetText("D:\\Later\\");
    EXPECT_EQ(SendMessageA(Window(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(ReadFileBytes(program.File("set.txt")), "D:\\Later\\\r\n");
    EXPECT_EQ(ShutdownReason(), "");

    SendMessageA(Window(), WM_CLOSE, 0, 0);
    vt::PumpFor(20);
    EXPECT_FALSE(IsWindowVisible(Window()));
}

TEST_F(MainWindowTest, AnUnwritableSettingsFileNeverBlocksTheClose) {
    // A file another program holds open without sharing, and a folder in its place.
    program.Write("set.txt", "D:\\Old\\\r\n");
    HANDLE held = CreateFileA(program.File("set.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Create();
    EXPECT_EQ(form->Edit1->Text(), "C:\\") << "an unreadable file leaves the default";
    form->Edit1->SetText("E:\\New\\");
    EXPECT_TRUE(form->CloseQuery());
    Click(*form->ImageButton7);
    EXPECT_FALSE(IsWindowVisible(Window()));
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(program.File("set.txt")), "D:\\Old\\\r\n");
    Destroy();

    DeleteFileA(program.File("set.txt").c_str());
    CreateDirectoryA(program.File("set.txt").c_str(), nullptr);
    Create();
    EXPECT_EQ(form->Edit1->Text(), "C:\\");
    EXPECT_TRUE(form->CloseQuery());
    Click(*form->ImageButton9);
    EXPECT_FALSE(IsWindowVisible(Window()));
    RemoveDirectoryA(program.File("set.txt").c_str());
}

TEST(DefaultSourceFolder, GoogleVideosUnderTheDocumentsFolder) {
    vt::TempFolder documents;  // ends in "\"
    std::string withoutSlash = documents.Path().substr(0, documents.Path().size() - 1);
    EXPECT_EQ(GoogleVideosFolderIn(documents.Path()), "");
    EXPECT_EQ(GoogleVideosFolderIn(""), "");

    CreateDirectoryA(documents.File("My Videos").c_str(), nullptr);
    EXPECT_EQ(GoogleVideosFolderIn(documents.Path()), "") << "only My Videos";
    CreateDirectoryA(documents.File("My Videos\\Google Videos").c_str(), nullptr);
    std::string expected = documents.Path() + "My Videos\\Google Videos\\";
    EXPECT_EQ(GoogleVideosFolderIn(documents.Path()), expected) << "no second backslash";
    EXPECT_EQ(GoogleVideosFolderIn(withoutSlash), expected) << "one backslash added";
    RemoveDirectoryA(documents.File("My Videos\\Google Videos").c_str());
    RemoveDirectoryA(documents.File("My Videos").c_str());
}

TEST_F(MainWindowTest, OpenDialogStartsInTheGoogleVideosFolderWhenThereIsOne) {
    char documents[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, FALSE));
    std::string docs = documents;
    if (docs.back() != '\\') docs += '\\';
    std::string myVideos = docs + "My Videos", google = myVideos + "\\Google Videos";
    // An empty one is what a run that died here left behind.
    RemoveDirectoryA(google.c_str());
    if (GetFileAttributesA(google.c_str()) != INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "the prefix has a Google Videos folder with files in it: " << google;

    Create(false);
    EXPECT_EQ(form->OpenDialog1->InitialDir, "");
    Destroy();

    bool madeMyVideos = CreateDirectoryA(myVideos.c_str(), nullptr) != 0;
    ASSERT_TRUE(CreateDirectoryA(google.c_str(), nullptr));
    Create(false);
    std::string initial = form->OpenDialog1->InitialDir;
    RemoveDirectoryA(google.c_str());
    if (madeMyVideos) RemoveDirectoryA(myVideos.c_str());
    EXPECT_EQ(initial, google + "\\");
}
