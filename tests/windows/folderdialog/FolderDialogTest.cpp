// The folder browser component: its properties, and the real shell browser driven as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "BrowserDriver.h"
#include "controls/KestFolderDialog.h"
#include "controls/ShortenPath.h"
#include "platform/CodePage.h"
#include "tests/windows/support/TestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Layout.h"

using namespace fdtest;

namespace {

bool IsDirectory(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// A fresh folder under the temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        char base[MAX_PATH] = {};
        GetTempPathA(sizeof base, base);
        path_ = std::string(base) + "kfd-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
        CreateDirectoryA(path_.c_str(), nullptr);
        Settle(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

class FolderDialogBrowse : public ::testing::Test {
protected:
    tk::ComApartment com;  // as the program opens it for its user-interface thread
    TKestFolderDialog dialog;
    BrowserEvents events{dialog};
    MainThreadRunner onTestThread;
    TempFolder temp;
};

// --- Properties without a browser -----------------------------------------------------------------

TEST(FolderDialogProperties, StartWithTheirDefaults) {
    TKestFolderDialog d;
    EXPECT_EQ(d.Folder, "");
    EXPECT_EQ(d.Flags, TBrowseInfoFlagSet{TBrowseInfoFlags::ShowPath});
    EXPECT_EQ(d.Flags.Bits(), 0x20);
    EXPECT_EQ(d.RootFolder, TSHFolders::foDesktopExpanded);
    EXPECT_TRUE(d.NewFolderVisible());
    EXPECT_TRUE(d.NewFolderEnabled());
    EXPECT_EQ(d.Version(), "3.00.00.00");
    EXPECT_TRUE(d.SelectionHasPath());
    EXPECT_EQ(d.LanguageKey(), LanguageKey(GetSystemDefaultLangID()));
    if (GetSystemDefaultLangID() == 0x0409) {
        EXPECT_EQ(d.NewFolderCaption(), "New folder");
        EXPECT_EQ(d.LabelCaption(), "Current folder:");
    }
    d.SetVersion("9");
    EXPECT_EQ(d.Version(), "3.00.00.00");
}

TEST(FolderDialogProperties, PlaceTheButtonByResolution) {
    auto at96 = PlaceNewFolderButton(96, 300, 19);
    EXPECT_EQ((std::vector<int>{at96.x, at96.y, at96.width, at96.height, at96.minWidth}),
              (std::vector<int>{12, 264, 75, 23, 75}));
    auto at72 = PlaceNewFolderButton(72, 300, 19);
    EXPECT_EQ(at72.minWidth, 75);
    auto at120 = PlaceNewFolderButton(120, 300, 19);
    EXPECT_EQ((std::vector<int>{at120.x, at120.y, at120.width, at120.height, at120.minWidth}),
              (std::vector<int>{15, 255, 93, 28, 93}));
    auto at144 = PlaceNewFolderButton(144, 300, 19);
    EXPECT_EQ((std::vector<int>{at144.x, at144.y, at144.width, at144.height}), (std::vector<int>{17, 244, 112, 35}));
    auto at192 = PlaceNewFolderButton(192, 300, 19);
    EXPECT_EQ((std::vector<int>{at192.x, at192.y, at192.width, at192.height}), (std::vector<int>{20, 234, 150, 41}));
    auto at100 = PlaceNewFolderButton(100, 300, 19);
    EXPECT_EQ((std::vector<int>{at100.x, at100.y, at100.width, at100.height, at100.minWidth}),
              (std::vector<int>{12, 300 - 19 - 17, 78, 23, 78}));
}

TEST(FolderDialogProperties, StoreOnlyWhatDiffersFromTheDefaults) {
    TKestFolderDialog d;
    d.SetName("KestFolderDialog1");
    std::string text = tk::SaveComponent(d);
    EXPECT_NE(text.find("Flags = [ShowPath]"), std::string::npos) << text;
    for (const char* absent : {"Folder =", "RootFolder", "NewFolderVisible", "NewFolderEnabled", "Captions",
                               "Version", "OnInitialized", "OnSelectionChanged"})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent << " in\n" << text;

    d.Folder = "C:\\Out";
    d.RootFolder = TSHFolders::foMyComputer;
    d.SetNewFolderVisible(false);
    d.Flags = {};
    d.LabelCaptions().Put(3, d.LabelCaptions()[3]);  // same text: still the built-in table
    text = tk::SaveComponent(d);
    EXPECT_NE(text.find("Folder = 'C:\\Out'"), std::string::npos) << text;
    EXPECT_NE(text.find("RootFolder = foMyComputer"), std::string::npos) << text;
    EXPECT_NE(text.find("NewFolderVisible = False"), std::string::npos) << text;
    EXPECT_NE(text.find("Flags = []"), std::string::npos) << text;
    EXPECT_EQ(text.find("LabelCaptions"), std::string::npos) << text;

    d.NewFolderCaptions().Put(0, "default=New folder");  // letter case counts for storing
    EXPECT_TRUE(d.NewFolderCaptionsStored());
    EXPECT_FALSE(d.LabelCaptionsStored());
}

TEST(FolderDialogProperties, LoadFromALayout) {
    TKestFolderDialog::Register();
    tk::Component root;
    const char* layout =
        "object Form1: TComponent\n"
        "  object KestFolderDialog1: TKestFolderDialog\n"
        "    Folder = 'C:\\Data'\n"
        "    Flags = [OnlyFileSystem, ShowPath]\n"
        "    RootFolder = foPersonal\n"
        "    NewFolderEnabled = False\n"
        "    NewFolderCaptions.Strings = (\n"
        "      '1234=A'\n"
        "      '0409=B')\n"
        "  end\n"
        "end\n";
    tk::LayoutResult result = tk::LoadLayout(root, layout, nullptr);
    ASSERT_TRUE(result) << result.message;
    auto* d = tk::Find<TKestFolderDialog>(root, "KestFolderDialog1");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Folder, "C:\\Data");
    EXPECT_EQ(d->Flags, (TBrowseInfoFlagSet{TBrowseInfoFlags::OnlyFileSystem, TBrowseInfoFlags::ShowPath}));
    EXPECT_EQ(d->RootFolder, TSHFolders::foPersonal);
    EXPECT_FALSE(d->NewFolderEnabled());
    EXPECT_EQ(d->NewFolderCaption(), GetSystemDefaultLangID() == 0x0409 ? "B" : "A");
    EXPECT_TRUE(d->NewFolderCaptionsStored());
}

// Code page 932 whatever the machine's own: 表 is 0x95 0x5C, its second byte a backslash.
size_t Next932(std::string_view text, size_t at) { return at + (IsDBCSLeadByteEx(932, text[at]) ? 2 : 1); }
const std::string kHyo = "\x95\x5C";
const std::wstring kHyoWide = L"\x8868";

TEST(FolderDialogPaths, DoubleByteTextIsWalkedByCharacter) {
    TempFolder temp;
    const std::string parent = temp.path() + "\\" + kHyo;
    const std::wstring parentWide = std::wstring(temp.path().begin(), temp.path().end()) + L"\\" + kHyoWide;

    // The parent does not end in a backslash: the new folder goes inside it, not beside it.
    const std::string made = NewFolderPath(parent, "Videos", 932);
    EXPECT_EQ(made, parent + "\\Videos");
    EXPECT_EQ(NewFolderPath("C:\\", "Videos", 932), "C:\\Videos");
    EXPECT_TRUE(ForceDirectories(parent + "\\Videos\\" + kHyo, 932));
    DWORD attributes = GetFileAttributesW((parentWide + L"\\Videos\\" + kHyoWide).c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    // Nothing made from half a character.
    size_t entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(temp.path())) {
        EXPECT_EQ(e.path().filename().wstring(), kHyoWide);
        ++entries;
    }
    EXPECT_EQ(entries, 1u);
    EXPECT_FALSE(ForceDirectories(temp.path() + "\\\x95", 932)) << "half a character names nothing";

    // The status line: only a backslash of its own cuts, and nothing is cut inside a character.
    std::string twelve, ten, forty;
    for (int i = 0; i < 12; ++i) twelve += kHyo;
    for (int i = 0; i < 10; ++i) ten += kHyo;
    for (int i = 0; i < 40; ++i) forty += kHyo;
    EXPECT_EQ(ShortenPath("C:\\" + twelve + "\\folder\\" + ten, 50, Next932),
              "C:\\...\\folder\\" + ten);
    EXPECT_EQ(ShortenPath("\\\\srv\\dir\\" + forty, 50, Next932),
              "\\\\srv\\...\\" + forty.substr(0, 36) + "...");
    EXPECT_EQ(ShortenPath("C:" + forty, 51, Next932), "C:" + forty.substr(0, 48));
}

// The program's user-interface thread keeps one single-threaded apartment for its whole life;
// the browser runs in it and leaves it open.
TEST(FolderDialogPaths, TheBrowserRunsInTheProgramsApartment) {
    {
        tk::ComApartment com;
        ASSERT_TRUE(com.Opened());
        TKestFolderDialog dialog;
        BrowserEvents events{dialog};
        HRESULT during = S_OK;
        dialog.OnInitialized = [&during, opened = dialog.OnInitialized](TKestFolderDialog* d, HWND h) {
            during = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            if (SUCCEEDED(during)) CoUninitialize();
            opened(d, h);
        };
        ExecuteWith(dialog, [&] {
            HWND browser = events.WaitOpened(1);
            ASSERT_NE(browser, nullptr);
            PressButton(browser, IDCANCEL);
        });
        EXPECT_EQ(during, S_FALSE) << "the program's apartment, already open";
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE)
            << "still single-threaded after the browser";
    }
    // Closed with the program.
    HRESULT after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(after, S_OK);
    if (SUCCEEDED(after)) CoUninitialize();
}

TEST(FolderDialogProperties, CaptionListsFollowEveryChange) {
    TKestFolderDialog d;
    TStringList replacement;
    replacement.SetLines({"Default=Make folder"});
    d.SetNewFolderCaptions(replacement);
    EXPECT_EQ(d.NewFolderCaption(), "Make folder");
    d.NewFolderCaptions().Clear();
    EXPECT_EQ(d.NewFolderCaption(), "");
    d.LabelCaptions().SetLines({"Default=Pick:"});
    EXPECT_EQ(d.LabelCaption(), "Pick:");
    d.LabelCaptions().Add(d.LanguageKey() + "=Mine:");
    EXPECT_EQ(d.LabelCaption(), "Mine:");

    // One notification for a write that changes the list, none for an equal one.
    int changes = 0;
    d.LabelCaptions().OnChange = [&changes, resolve = d.LabelCaptions().OnChange] {
        ++changes;
        resolve();
    };
    TStringList same = d.LabelCaptions();
    d.SetLabelCaptions(same);
    EXPECT_EQ(changes, 0);
    same.Put(0, "default=Pick:");
    d.SetLabelCaptions(same);
    EXPECT_EQ(changes, 1);
}

// The shell's browser replaced in this program's import table: what Execute hands it, and
// which lists the program frees afterwards.
struct BrowseCall {
    UINT flags = 0;
    LPCITEMIDLIST root = nullptr;
    tk::OwnedIdList rootCopy;
    LPITEMIDLIST returned = nullptr;
    std::vector<void*> freed;  // by the program, since the browser was called
};
BrowseCall* browseCall = nullptr;
decltype(&CoTaskMemFree) realFree = nullptr;

LPITEMIDLIST WINAPI RecordBrowse(LPBROWSEINFOA info) {
    browseCall->flags = info->ulFlags;
    browseCall->root = info->pidlRoot;
    browseCall->rootCopy.reset(info->pidlRoot ? ILClone(info->pidlRoot) : nullptr);
    browseCall->freed.clear();
    // OK on the desktop: an empty list.
    browseCall->returned = static_cast<LPITEMIDLIST>(CoTaskMemAlloc(sizeof(USHORT)));
    browseCall->returned->mkid.cb = 0;
    return browseCall->returned;
}

void WINAPI RecordFree(void* p) {
    if (browseCall) browseCall->freed.push_back(p);
    realFree(p);
}

TEST(FolderDialogExecute, HandsTheShellItsFlagsAndRootAndFreesBothLists) {
    tk::ComApartment com;
    BrowseCall call;
    browseCall = &call;
    vt::ImportPatch browse("shell32.dll", "SHBrowseForFolderA", reinterpret_cast<const void*>(&RecordBrowse));
    vt::ImportPatch freeing("ole32.dll", "CoTaskMemFree", reinterpret_cast<const void*>(&RecordFree));
    realFree = reinterpret_cast<decltype(&CoTaskMemFree)>(const_cast<void*>(freeing.Original()));
    ASSERT_TRUE(browse.Patched() && freeing.Patched());

    TKestFolderDialog d;
    auto execute = [&](int row) {
        EXPECT_TRUE(d.Execute()) << row;
        auto freed = [&](const void* p) { return std::count(call.freed.begin(), call.freed.end(), p) == 1; };
        EXPECT_TRUE(freed(call.returned)) << row << ": the list the browser returned";
        if (call.root) {
            EXPECT_TRUE(freed(call.root)) << row << ": the root";
        }
    };
    const std::pair<TBrowseInfoFlags, UINT> bits[] = {
        {TBrowseInfoFlags::OnlyComputers, 0x1000}, {TBrowseInfoFlags::OnlyPrinters, 0x2000},
        {TBrowseInfoFlags::OnlyDomains, 0x0002},   {TBrowseInfoFlags::OnlyAncestors, 0x0008},
        {TBrowseInfoFlags::OnlyFileSystem, 0x0001}, {TBrowseInfoFlags::ShowPath, 0x0004}};
    for (const auto& [flag, bit] : bits) {
        d.Flags = {flag};
        execute(static_cast<int>(flag));
        EXPECT_EQ(call.flags, bit) << static_cast<int>(flag);
    }
    const int roots[] = {CSIDL_DESKTOP,   -1,           CSIDL_PROGRAMS, CSIDL_CONTROLS,  CSIDL_PRINTERS,
                         CSIDL_PERSONAL,  CSIDL_FAVORITES, CSIDL_STARTUP, CSIDL_RECENT,  CSIDL_SENDTO,
                         CSIDL_BITBUCKET, CSIDL_STARTMENU, CSIDL_DESKTOPDIRECTORY, CSIDL_DRIVES,
                         CSIDL_NETWORK,   CSIDL_NETHOOD,   CSIDL_FONTS,   CSIDL_TEMPLATES};
    static_assert(std::size(roots) == kShellFolderCount);
    for (int i = 0; i < kShellFolderCount; ++i) {
        d.RootFolder = static_cast<TSHFolders>(i);
        execute(i);
        tk::OwnedIdList expected;
        if (roots[i] >= 0) SHGetSpecialFolderLocation(nullptr, roots[i], expected.put());
        EXPECT_TRUE(expected ? call.rootCopy && ILIsEqual(call.rootCopy.get(), expected.get()) : !call.root) << i;
    }
    browseCall = nullptr;
}

// --- The real browser ------------------------------------------------------------------------------

TEST_F(FolderDialogBrowse, OpensWithTitleStatusLineAndButton) {
    const std::string chosen = temp.path() + "\\A rather long folder name\\and another long one\\leaf";
    ASSERT_TRUE(std::filesystem::create_directories(chosen));
    Settle(chosen);
    std::string status;
    bool ok = ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(1);
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(browser, dialog.DialogHandle());

        auto texts = ChildTexts(browser);
        EXPECT_NE(std::find(texts.begin(), texts.end(), dialog.LabelCaption()), texts.end());

        HWND button = GetDlgItem(browser, kNewFolderButtonId);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button, dialog.NewFolderButton());
        EXPECT_EQ(WindowText(button), dialog.NewFolderCaption());
        EXPECT_TRUE(IsWindowVisible(button));
        RECT client{};
        GetClientRect(browser, &client);
        RECT r = RectInParent(button);
        EXPECT_EQ(r.left, 12);
        EXPECT_EQ(r.top, client.bottom - 36);
        EXPECT_EQ(r.bottom - r.top, 23);
        EXPECT_GE(r.right - r.left, 75);

        // Centred on the screen.
        RECT w{};
        GetWindowRect(browser, &w);
        EXPECT_EQ(w.left, GetSystemMetrics(SM_CXSCREEN) / 2 - (w.right - w.left) / 2);
        EXPECT_EQ(w.top, GetSystemMetrics(SM_CYSCREEN) / 2 - (w.bottom - w.top) / 2);

        SelectPath(browser, chosen);
        status = StatusText(browser);
        EXPECT_TRUE(IsWindowEnabled(button));
        PressButton(browser, IDOK);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(status, ShortenPath(chosen, 50));
    EXPECT_NE(status.find("..."), std::string::npos);
    EXPECT_EQ(dialog.Folder, chosen);
    EXPECT_FALSE(dialog.DisplayName().empty());
    ASSERT_FALSE(events.Folders().empty());
    EXPECT_EQ(events.Folders().back(), chosen);
    EXPECT_FALSE(IsWindow(dialog.DialogHandle()));
}

TEST_F(FolderDialogBrowse, NewFolderIsMadeAndTheBrowserReopensOnIt) {
    const std::string parent = temp.path();
    dialog.Folder = parent;
    std::string statusAfterFirst, statusAfterSecond;
    bool ok = ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(1);
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(StatusText(browser), ShortenPath(parent, 50));
        ClickNewFolder(browser);
        ASSERT_TRUE(AnswerPrompt(dialog.NewFolderCaption(), "Videos"));

        browser = events.WaitOpened(2);
        ASSERT_NE(browser, nullptr);
        statusAfterFirst = StatusText(browser);
        // A name with a backslash inside makes both levels.
        ClickNewFolder(browser);
        ASSERT_TRUE(AnswerPrompt(dialog.NewFolderCaption(), "Deep\\Er"));

        browser = events.WaitOpened(3);
        ASSERT_NE(browser, nullptr);
        statusAfterSecond = StatusText(browser);
        PressButton(browser, IDCANCEL);
    });
    // Cancel after making a folder: Folder is the folder the last browser opened on.
    EXPECT_FALSE(ok);
    EXPECT_TRUE(IsDirectory(parent + "\\Videos"));
    EXPECT_EQ(statusAfterFirst, ShortenPath(parent + "\\Videos", 50));
    EXPECT_TRUE(IsDirectory(parent + "\\Videos\\Deep\\Er"));
    EXPECT_EQ(statusAfterSecond, ShortenPath(parent + "\\Videos\\Deep\\Er", 50));
    EXPECT_EQ(dialog.Folder, parent + "\\Videos\\Deep\\Er");
}

// The folder made under a drive root has one separator. Once it is gone, the next browser
// opens on what the user chose last (the drive), not on what a browser selected by itself.
TEST_F(FolderDialogBrowse, NewFolderUnderADriveRootGetsOneSeparator) {
    const std::string made = "C:\\kfd-root-" + std::to_string(GetCurrentProcessId());
    dialog.Folder = temp.path();
    std::string secondOpenedOn;
    bool ok = ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(1);
        ASSERT_NE(browser, nullptr);
        SelectPath(browser, "C:\\");
        ClickNewFolder(browser);
        ASSERT_TRUE(AnswerPrompt(dialog.NewFolderCaption(), made.substr(3)));
        browser = events.WaitOpened(2);
        ASSERT_NE(browser, nullptr);
        onTestThread.Run([&] { secondOpenedOn = dialog.Folder; });
        EXPECT_TRUE(RemoveDirectoryA(made.c_str()));
        ClickNewFolder(browser);
        ASSERT_TRUE(AnswerPrompt(dialog.NewFolderCaption(), "a:b"));
        HWND box = WaitDialog(dialog.NewFolderCaption(), false);
        ASSERT_NE(box, nullptr);
        PressButton(box, IDOK);
        browser = events.WaitOpened(3);
        ASSERT_NE(browser, nullptr);
        PressButton(browser, IDOK);
    });
    EXPECT_EQ(secondOpenedOn, made);
    EXPECT_TRUE(ok);
    EXPECT_EQ(dialog.Folder, "C:\\");
}

TEST_F(FolderDialogBrowse, AnExistingNameIsNoError) {
    const std::string parent = temp.path();
    ASSERT_TRUE(CreateDirectoryA((parent + "\\Existing").c_str(), nullptr));
    Settle(parent + "\\Existing");
    dialog.Folder = parent;
    std::string status;
    bool ok = ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(1);
        ASSERT_NE(browser, nullptr);
        ClickNewFolder(browser);
        ASSERT_TRUE(AnswerPrompt(dialog.NewFolderCaption(), "Existing"));
        browser = events.WaitOpened(2);
        ASSERT_NE(browser, nullptr);
        status = StatusText(browser);
        PressButton(browser, IDOK);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(status, ShortenPath(parent + "\\Existing", 50));
    EXPECT_EQ(dialog.Folder, parent + "\\Existing");
}

TEST_F(FolderDialogBrowse, AnEmptyNameChangesNothing) {
    dialog.Folder = temp.path();
    bool ok = ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(1);
        ASSERT_NE(browser, nullptr);
        ClickNewFolder(browser);
        HWND prompt = WaitDialog(dialog.NewFolderCaption(), true);
        ASSERT_NE(prompt, nullptr);
        PressButton(prompt, IDCANCEL);
        // The same browser stays up.
        Sleep(200);
        EXPECT_TRUE(IsWindow(browser));
        EXPECT_EQ(events.Opened(), 1);
        PressButton(browser, IDCANCEL);
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(dialog.Folder, temp.path());
    EXPECT_TRUE(std::filesystem::is_empty(temp.path()));
}

// A colon, a name Windows would change (it drops trailing spaces and dots, so spaces only
// would make nothing and "abc." would make abc), or one a file already has: the error box over
// a disabled browser, and nothing made.
TEST_F(FolderDialogBrowse, ANameThatCannotBeAFolderGivesTheErrorBox) {
    const std::string parent = temp.path();
    ASSERT_TRUE(CloseHandle(CreateFileA((parent + "\\Taken").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    dialog.Folder = parent;
    const std::vector<std::string> names = {"a:b", "   ", "abc.", "x\\y ", "x. \\y", "Taken"};
    std::vector<vt::SeenDialog> boxes;
    std::vector<std::string> statusAfter;
    bool disabledUnderBox = true;
    bool ok = ExecuteWith(dialog, [&] {
        for (size_t i = 0; i < names.size(); ++i) {
            HWND browser = events.WaitOpened(static_cast<int>(i) + 1);
            ASSERT_NE(browser, nullptr);
            if (i > 0) statusAfter.push_back(StatusText(browser));
            ClickNewFolder(browser);
            ASSERT_TRUE(AnswerPrompt(dialog.NewFolderCaption(), names[i]));
            HWND box = WaitDialog(dialog.NewFolderCaption(), false);
            ASSERT_NE(box, nullptr) << names[i];
            boxes.push_back(vt::ReadDialog(box));
            disabledUnderBox = disabledUnderBox && !IsWindowEnabled(browser) && boxes.back().owner == browser;
            PressButton(box, IDOK);
        }
        HWND browser = events.WaitOpened(static_cast<int>(names.size()) + 1);
        ASSERT_NE(browser, nullptr);
        statusAfter.push_back(StatusText(browser));
        PressButton(browser, IDCANCEL);
    });
    EXPECT_FALSE(ok);
    const std::string expected = vt::SystemText(ERROR_CANNOT_MAKE);
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(boxes.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        std::string text = boxes[i].text;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        EXPECT_EQ(text, expected) << names[i];
        EXPECT_EQ(boxes[i].title, dialog.NewFolderCaption()) << names[i];
        EXPECT_EQ(boxes[i].icon, vt::BoxIcon::Warning) << names[i];
        EXPECT_EQ(boxes[i].buttons, std::vector<int>{IDOK}) << names[i];
    }
    EXPECT_TRUE(disabledUnderBox);
    for (const std::string& status : statusAfter) EXPECT_EQ(status, ShortenPath(parent, 50));
    EXPECT_EQ(dialog.Folder, parent);
    auto entries = std::filesystem::directory_iterator(parent);
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1) << "only the file";
}

TEST_F(FolderDialogBrowse, OkOnAnItemWithoutAPathGivesAnEmptyFolder) {
    tk::OwnedIdList computer;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.put()), S_OK);
    dialog.Folder = temp.path();
    std::string status;
    bool buttonEnabled = true;
    std::vector<LPARAM> okRequests;
    bool ok = ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(1);
        ASSERT_NE(browser, nullptr);
        SelectIdList(browser, computer.get());
        status = StatusText(browser);
        buttonEnabled = IsWindowEnabled(GetDlgItem(browser, kNewFolderButtonId));
        okRequests = events.OkRequests();
        PressButton(browser, IDOK);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(dialog.Folder, "");
    // Its parsing name, read whatever kind of text the shell answers with.
    EXPECT_EQ(_stricmp(status.c_str(), "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"), 0) << status;
    EXPECT_FALSE(buttonEnabled);
    EXPECT_EQ(okRequests, std::vector<LPARAM>{1});
    EXPECT_FALSE(dialog.SelectionHasPath());
}

TEST_F(FolderDialogBrowse, OnlyFileSystemKeepsOkOffWithoutAPath) {
    tk::OwnedIdList computer;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.put()), S_OK);
    dialog.Flags.Include(TBrowseInfoFlags::OnlyFileSystem);
    dialog.Folder = temp.path();
    std::vector<LPARAM> okOnComputer, okOnFolder;
    bool ok = ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(1);
        ASSERT_NE(browser, nullptr);
        SelectIdList(browser, computer.get());
        okOnComputer = events.OkRequests();
        SelectPath(browser, temp.path());
        okOnFolder = events.OkRequests();
        PressButton(browser, IDCANCEL);
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(okOnComputer, std::vector<LPARAM>{0});
    EXPECT_EQ(okOnFolder, std::vector<LPARAM>{1});
}

TEST_F(FolderDialogBrowse, ReopensOnTheLastSelectionWithoutAPath) {
    // Without a status line an item without a path leaves SelectionPath empty; a name typed
    // then (the command sent straight to the dialog, the button being off) cannot be made, and
    // the next browser opens on the item chosen last, kept after its dialog has gone: OK there
    // chooses it.
    tk::OwnedIdList computer;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.put()), S_OK);
    dialog.Flags = {};
    dialog.Folder = temp.path();
    const std::string name = "kfd-nopath-" + std::to_string(GetCurrentProcessId());
    bool ok = ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(1);
        ASSERT_NE(browser, nullptr);
        SelectIdList(browser, computer.get());
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(browser, kNewFolderButtonId)));
        PressButton(browser, kNewFolderButtonId);
        ASSERT_TRUE(AnswerPrompt(dialog.NewFolderCaption(), name));
        HWND box = WaitDialog(dialog.NewFolderCaption(), false);
        ASSERT_NE(box, nullptr);
        PressButton(box, IDOK);
        browser = events.WaitOpened(2);
        ASSERT_NE(browser, nullptr);
        PressButton(browser, IDOK);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(dialog.Folder, "");
    // Nothing was made relative to the current drive or folder.
    EXPECT_FALSE(IsDirectory("\\" + name));
    EXPECT_FALSE(IsDirectory(name));
}

// The button is as wide as its caption in the program's font ("MS Sans Serif" 8 pt) plus 12.
TEST_F(FolderDialogBrowse, LiveWritersActOnTheOpenBrowser) {
    tk::OwnedIdList computer;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.put()), S_OK);
    dialog.Folder = temp.path();
    const std::string caption = "Make a brand new folder in here";
    dialog.NewFolderCaptions().SetLines({"Default=" + caption});
    LOGFONTA font{};
    SIZE text{};
    {
        tk::WindowDc screen(nullptr);
        font.lfHeight = -MulDiv(8, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
        font.lfCharSet = DEFAULT_CHARSET;
        strcpy(font.lfFaceName, "MS Sans Serif");
        tk::OwnedFont measured(CreateFontIndirectA(&font));
        tk::SelectObjectScope select(screen.get(), measured.get());
        GetTextExtentPoint32A(screen.get(), caption.c_str(), static_cast<int>(caption.size()), &text);
    }
    ASSERT_GT(text.cx + 12, 75);
    bool ok = ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(1);
        ASSERT_NE(browser, nullptr);
        HWND button = GetDlgItem(browser, kNewFolderButtonId);
        ASSERT_NE(button, nullptr);
        RECT before = RectInParent(button);
        EXPECT_EQ(before.right - before.left, text.cx + 12);
        // The font comes with a posted message.
        HFONT shown = nullptr;
        for (int i = 0; i < 100 && !shown; ++i, Sleep(20))
            shown = reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0));
        LOGFONTA seen{};
        ASSERT_NE(shown, nullptr);
        GetObjectA(shown, sizeof seen, &seen);
        EXPECT_EQ(seen.lfHeight, font.lfHeight);
        EXPECT_STREQ(seen.lfFaceName, font.lfFaceName);

        onTestThread.Run([&] { dialog.SetNewFolderVisible(false); });
        EXPECT_FALSE(IsWindowVisible(button));
        onTestThread.Run([&] { dialog.SetNewFolderVisible(true); });
        EXPECT_TRUE(IsWindowVisible(button));

        onTestThread.Run([&] { dialog.SetNewFolderEnabled(false); });
        EXPECT_FALSE(IsWindowEnabled(button));
        onTestThread.Run([&] { dialog.SetNewFolderEnabled(true); });
        EXPECT_TRUE(IsWindowEnabled(button));

        // Without a path the button stays off, whatever the property says.
        SelectIdList(browser, computer.get());
        onTestThread.Run([&] { dialog.SetNewFolderEnabled(true); });
        EXPECT_FALSE(IsWindowEnabled(button));

        // A new caption shows at once, once; the width stays. The same list again changes nothing.
        std::atomic<int> texts{0};
        std::unique_ptr<WindowWatch> watch;
        onTestThread.Run([&] {
            watch = std::make_unique<WindowWatch>(button, [&](UINT msg, WPARAM, LPARAM) { texts += msg == WM_SETTEXT; });
        });
        TStringList captions;
        captions.SetLines({"Default=A much longer caption than before"});
        onTestThread.Run([&] { dialog.SetNewFolderCaptions(captions); });
        EXPECT_EQ(WindowText(button), "A much longer caption than before");
        EXPECT_EQ(texts, 1);
        onTestThread.Run([&] { dialog.SetNewFolderCaptions(captions); });
        EXPECT_EQ(texts, 1);
        onTestThread.Run([&] { watch.reset(); });
        RECT after = RectInParent(button);
        EXPECT_EQ(after.right - after.left, before.right - before.left);
        PressButton(browser, IDCANCEL);
    });
    EXPECT_FALSE(ok);
}

TEST_F(FolderDialogBrowse, BelongsToTheOwnerWindowWhileItIsOne) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    dialog.OwnerWindow = owner;
    HWND seen = nullptr;
    ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(1);
        ASSERT_NE(browser, nullptr);
        seen = GetWindow(browser, GW_OWNER);
        PressButton(browser, IDCANCEL);
    });
    EXPECT_EQ(seen, owner);

    // A window that is gone is no owner: the application's window takes its place.
    DestroyWindow(owner);
    ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(2);
        ASSERT_NE(browser, nullptr);
        seen = GetWindow(browser, GW_OWNER);
        PressButton(browser, IDCANCEL);
    });
    EXPECT_EQ(seen, tk::App().Handle());
}

TEST_F(FolderDialogBrowse, StartsWithTheButtonHiddenOrDisabledAsSet) {
    dialog.Folder = temp.path();
    dialog.SetNewFolderVisible(false);
    bool visible = true;
    ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(1);
        ASSERT_NE(browser, nullptr);
        visible = IsWindowVisible(GetDlgItem(browser, kNewFolderButtonId));
        PressButton(browser, IDCANCEL);
    });
    EXPECT_FALSE(visible);

    dialog.SetNewFolderVisible(true);
    dialog.SetNewFolderEnabled(false);
    bool enabled = true;
    ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(2);
        ASSERT_NE(browser, nullptr);
        enabled = IsWindowEnabled(GetDlgItem(browser, kNewFolderButtonId));
        PressButton(browser, IDCANCEL);
    });
    EXPECT_FALSE(enabled);
}

// Runs in processes of their own, started with a German and with a Polish locale (see
// CMakeLists.txt). The tables are bytes of the system's legacy code page, which the program's
// own (UTF-8) is not: on screen they read as that code page reads them.
TEST_F(FolderDialogBrowse, LocalSystemShowsItsTexts) {
    const char* expected = std::getenv("VEXLAR_EXPECT_LANGUAGE");
    if (!expected || dialog.LanguageKey() != expected) {
        // A run for a language must not pass by skipping.
        if (expected) FAIL() << "the process did not start with the locale of " << expected;
        GTEST_SKIP() << "needs a German or Polish system language";
    }
    const bool german = dialog.LanguageKey() == "0407";
    EXPECT_EQ(platform::LegacyCodePage(), german ? 1252u : 1250u);
    EXPECT_EQ(dialog.NewFolderCaption(), german ? "Neuer Ordner" : "Nowy folder");
    EXPECT_EQ(dialog.LabelCaption(), german ? "Ausgew\xE4hlter Ordner:" : "Bie\xBF\xB1" "cy folder");
    // In code page 1250 0xBF is ż and 0xB1 is ±.
    const std::wstring label = german ? L"Ausgew\u00E4hlter Ordner:" : L"Bie\u017C\u00B1cy folder";
    const std::wstring button = german ? L"Neuer Ordner" : L"Nowy folder";
    dialog.Folder = temp.path();
    std::wstring buttonText;
    std::vector<std::wstring> texts;
    int width = 0;
    ExecuteWith(dialog, [&] {
        HWND browser = events.WaitOpened(1);
        ASSERT_NE(browser, nullptr);
        for (HWND child = GetWindow(browser, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t text[256] = {};
            GetWindowTextW(child, text, 256);
            texts.push_back(text);
            if (GetDlgCtrlID(child) == kNewFolderButtonId) {
                buttonText = text;
                RECT r = RectInParent(child);
                width = r.right - r.left;
            }
        }
        PressButton(browser, IDCANCEL);
    });
    EXPECT_EQ(buttonText, button);
    EXPECT_GE(width, 75);
    EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end());
}

}  // namespace
