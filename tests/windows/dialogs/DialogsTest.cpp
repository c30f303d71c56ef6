// Message boxes, the input box and the file-open dialog, answered from a helper thread.
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"

#include "tests/windows/support/TestSupport.h"

#include <commdlg.h>
#include <gtest/gtest.h>

namespace {

using vt::BoxIcon;
using vt::DialogAnswerer;

const char kTitle[] = "Vexlar GVI Converter 1.4";

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

// A plain visible top-level window of this thread.
HWND MakeWindow(const char* text) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "DialogsTestWindow";
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, "DialogsTestWindow", text, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

class DialogsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { tk::App().SetTitle(kTitle); }
    void TearDown() override {
        for (HWND w : windows_) DestroyWindow(w);
        vt::PumpFor(20);
    }
    HWND Window(const char* text) {
        HWND w = MakeWindow(text);
        windows_.push_back(w);
        return w;
    }
    std::vector<HWND> windows_;
};

TEST_F(DialogsTest, ErrorBoxHasTheErrorCaptionIconAndOneOkButton) {
    HWND main = Window("main");
    SetActiveWindow(main);
    DialogAnswerer answer({.title = "Error"});
    tk::ShowErrorBox("File \"clip.gvi\" is not available.");
    ASSERT_EQ(answer.Count(), 1u);
    vt::SeenDialog box = answer.Seen()[0];
    EXPECT_EQ(box.text, "File \"clip.gvi\" is not available.");
    EXPECT_EQ(box.icon, BoxIcon::Error);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box.owner, main);  // modal to the active window
}

TEST_F(DialogsTest, PlainBoxHasTheApplicationTitleAndNoIcon) {
    DialogAnswerer answer({.title = kTitle});
    tk::ShowMessage("Done.");
    ASSERT_EQ(answer.Count(), 1u);
    vt::SeenDialog box = answer.Seen()[0];
    EXPECT_EQ(box.text, "Done.");
    EXPECT_EQ(box.icon, BoxIcon::None);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
}

TEST_F(DialogsTest, BoxWithoutAnActiveWindowBelongsToTheApplicationWindow) {
    SetActiveWindow(nullptr);
    ASSERT_EQ(GetActiveWindow(), nullptr);
    DialogAnswerer answer({.title = "Error"});
    tk::ShowErrorBox("x");
    ASSERT_EQ(answer.Count(), 1u);
    EXPECT_EQ(answer.Seen()[0].owner, tk::App().Handle());
}

TEST_F(DialogsTest, ApplicationBoxDisablesTheOtherWindowsAndRestoresTheActiveOne) {
    HWND browser = Window("browser");
    HWND other = Window("other");
    HWND disabledBefore = Window("disabled");
    EnableWindow(disabledBefore, FALSE);
    SetActiveWindow(browser);
    ASSERT_EQ(GetActiveWindow(), browser);

    bool browserEnabled = true, otherEnabled = true;
    DialogAnswerer answer({.title = "New folder", .button = IDCANCEL, .inspect = [&](HWND) {
                               browserEnabled = IsWindowEnabled(browser);
                               otherEnabled = IsWindowEnabled(other);
                           }});
    int result = tk::ApplicationMessageBox("Cannot create a file.", "New folder", MB_OKCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(answer.Count(), 1u);
    vt::SeenDialog box = answer.Seen()[0];
    EXPECT_EQ(box.owner, browser) << "over the window in use";
    EXPECT_EQ(box.icon, BoxIcon::Warning);
    EXPECT_EQ(box.text, "Cannot create a file.");
    EXPECT_FALSE(browserEnabled);
    EXPECT_FALSE(otherEnabled);
    EXPECT_TRUE(IsWindowEnabled(browser));
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_FALSE(IsWindowEnabled(disabledBefore));  // not ours to enable
    EXPECT_EQ(GetActiveWindow(), browser);
}

TEST_F(DialogsTest, FileCreateErrorCarriesTheSystemText) {
    std::string system = tk::SystemErrorText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(system.empty());
    EXPECT_NE(system.back(), '\n');
    EXPECT_NE(system.back(), '\r');
    EXPECT_EQ(tk::FileCreateErrorText("C:\\Prog\\set.txt", ERROR_ACCESS_DENIED),
              "Cannot create file \"C:\\Prog\\set.txt\". " + system);

    DialogAnswerer answer({.title = "Error"});
    tk::ShowFileCreateError("C:\\Prog\\set.txt", ERROR_ACCESS_DENIED);
    ASSERT_EQ(answer.Count(), 1u);
    EXPECT_EQ(answer.Seen()[0].text, "Cannot create file \"C:\\Prog\\set.txt\". " + system);
    EXPECT_EQ(answer.Seen()[0].icon, BoxIcon::Error);
}

// --- InputBox ---------------------------------------------------------------------------------

struct InputBoxLook {
    std::string editText = "?";
    LRESULT limit = 0;
    LRESULT defaultId = 0;
    std::string prompt = "?";
    std::string ok, cancel;
    RECT rect{};
    bool editHasFocus = false;
};

std::function<void(HWND)> Look(InputBoxLook& look) {
    return [&look](HWND dialog) {
        HWND edit = GetDlgItem(dialog, tk::InputBoxEditId);
        char text[300] = {};
        vt::SendTo(edit, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        look.editText = text;
        look.limit = vt::SendTo(edit, EM_GETLIMITTEXT);
        look.defaultId = LOWORD(vt::SendTo(dialog, DM_GETDEFID));
        vt::SendTo(GetDlgItem(dialog, tk::InputBoxPromptId), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        look.prompt = text;
        vt::SendTo(GetDlgItem(dialog, IDOK), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        look.ok = text;
        vt::SendTo(GetDlgItem(dialog, IDCANCEL), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        look.cancel = text;
        GetWindowRect(dialog, &look.rect);
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        look.editHasFocus = info.hwndFocus == edit;
    };
}

TEST_F(DialogsTest, InputBoxReturnsTheTypedTextOnOk) {
    InputBoxLook look;
    DialogAnswerer answer({.title = "New folder", .editText = "Videos \xC3\xA4", .inspect = Look(look)});
    EXPECT_EQ(tk::InputBox("New folder", ""), "Videos \xC3\xA4");  // ä, in UTF-8
    ASSERT_EQ(answer.Count(), 1u);
    EXPECT_EQ(look.editText, "");
    EXPECT_EQ(look.prompt, "");
    EXPECT_EQ(look.limit, 255);
    EXPECT_EQ(look.defaultId, IDOK);
    EXPECT_EQ(look.ok, "OK");
    EXPECT_EQ(look.cancel, "Cancel");
    EXPECT_TRUE(look.editHasFocus);
    int cx = (look.rect.left + look.rect.right) / 2, cy = (look.rect.top + look.rect.bottom) / 2;
    EXPECT_NEAR(cx, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR(cy, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

TEST_F(DialogsTest, InputBoxGivesEmptyTextOnCancel) {
    DialogAnswerer answer({.title = "Name", .button = IDCANCEL, .editText = "typed anyway"});
    EXPECT_EQ(tk::InputBox("Name", "Folder name:"), "");
    EXPECT_EQ(answer.Count(), 1u);
}

TEST_F(DialogsTest, InputBoxShowsThePromptAndKeepsAtMostTheLimit) {
    InputBoxLook look;
    std::string longText(300, 'x');
    DialogAnswerer answer({.title = "Name", .editText = longText, .inspect = Look(look)});
    EXPECT_EQ(tk::InputBox("Name", "Folder name:"), std::string(255, 'x'));
    EXPECT_EQ(look.prompt, "Folder name:");
}

// --- OpenDialog -------------------------------------------------------------------------------

TEST(OpenDialogBuffer, ParsesSingleAndMultipleSelections) {
    auto parse = [](std::string_view buffer) { return tk::ParseOpenFileBuffer(buffer.data(), buffer.size()); };
    using V = std::vector<std::string>;
    EXPECT_EQ(parse(std::string_view("C:\\v\\a.gvi\0\0", 12)), V{"C:\\v\\a.gvi"});
    EXPECT_EQ(parse(std::string_view("C:\\v\0a.gvi\0b.GVI\0\0", 19)), (V{"C:\\v\\a.gvi", "C:\\v\\b.GVI"}));
    EXPECT_EQ(parse(std::string_view("C:\\\0a.gvi\0b.gvi\0\0", 17)), (V{"C:\\a.gvi", "C:\\b.gvi"}));
    EXPECT_EQ(parse(std::string_view("\\\\srv\\share\0x.gvi\0\0", 20)), V{"\\\\srv\\share\\x.gvi"});
    EXPECT_EQ(parse(std::string_view("C:\\v\0D:\\w\\z.gvi\0\0", 18)), V{"D:\\w\\z.gvi"});
    EXPECT_EQ(parse(std::string_view("\0\0", 2)), V{});
    // A buffer with no final zeros is read only up to its size.
    EXPECT_EQ(parse(std::string_view("C:\\v\0a.gvi", 10)), V{"C:\\v\\a.gvi"});
    EXPECT_EQ(tk::ParseOpenFileBuffer(nullptr, 0), V{});
}

TEST(OpenDialogBuffer, FilterAndFlags) {
    EXPECT_EQ(tk::DialogFilter("Google Video (*.GVI)|*.gvi"), std::string("Google Video (*.GVI)\0*.gvi\0\0", 28));
    EXPECT_EQ(tk::DialogFilter(""), "");
    tk::OpenDialog d;
    EXPECT_EQ(d.SystemFlags(), DWORD(OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING));
    d.Options |= tk::ofAllowMultiSelect;
    EXPECT_EQ(d.SystemFlags() & OFN_FILEMUSTEXIST, 0u);  // typed names of files not yet there are allowed
    EXPECT_TRUE(d.SystemFlags() & OFN_ALLOWMULTISELECT);
}

class RealOpenDialog : public ::testing::Test {
protected:
    void SetUp() override {
        folder_.Write("a.gvi", "a");
        folder_.Write("b.gvi", "b");
        folder_.Write("c.txt", "c");
        dialog_.Filter = "Google Video (*.GVI)|*.gvi";
        dialog_.InitialDir = folder_.Path();
        dialog_.Options = tk::ofHideReadOnly | tk::ofAllowMultiSelect | tk::ofEnableSizing;
    }
    vt::TempFolder folder_;
    tk::OpenDialog dialog_;
};

TEST_F(RealOpenDialog, ReturnsSeveralChosenFilesAsFullPaths) {
    DialogAnswerer answer(vt::OpenFileAnswer({"a.gvi", "b.gvi"}));
    ASSERT_TRUE(dialog_.Execute());
    EXPECT_EQ(dialog_.Files(), (std::vector<std::string>{folder_.File("a.gvi"), folder_.File("b.gvi")}));
}

TEST_F(RealOpenDialog, AcceptsATypedNameOfAFileThatDoesNotExist) {
    DialogAnswerer answer(vt::OpenFileAnswer({"new.gvi"}));
    ASSERT_TRUE(dialog_.Execute());
    EXPECT_EQ(dialog_.Files(), std::vector<std::string>{folder_.File("new.gvi")});
}

TEST_F(RealOpenDialog, CancelGivesNoFiles) {
    DialogAnswerer answer(vt::OpenFileAnswer({"a.gvi"}, IDCANCEL));
    EXPECT_FALSE(dialog_.Execute());
    EXPECT_TRUE(dialog_.Files().empty());
}

TEST(TestSupport, DroppedFileHandleCarriesThePathsInOrder) {
    HDROP drop = vt::MakeHDrop({"C:\\v\\a.gvi", "C:\\V\\\xC3\xA4.GVI"});
    ASSERT_NE(drop, nullptr);
    ASSERT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    char name[MAX_PATH] = {};
    DragQueryFileA(drop, 0, name, sizeof(name));
    EXPECT_STREQ(name, "C:\\v\\a.gvi");
    DragQueryFileA(drop, 1, name, sizeof(name));
    EXPECT_STREQ(name, "C:\\V\\\xC3\xA4.GVI");
    DragFinish(drop);
}

}  // namespace
