// The main window as laid out: frame, size, controls where laid out, the tab order, texts,
// menus, and the program's own resources.
#include "tests/windows/support/ProgramTest.h"

#include "controls/ImageButton3.h"
#include "toolkit/Application.h"

#include <commctrl.h>

#include <vector>

using MainWindowTest = ProgramTest;

TEST_F(MainWindowTest, BorderlessCentredWindowOfTheGivenClientSize) {
    TForm1& f = Create();
    HWND w = Window();
    char text[64] = {};
    GetWindowTextA(w, text, sizeof text);
    EXPECT_STREQ(text, "Vexlar GVI Converter 1.4");

    RECT client{};
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 577);
    EXPECT_EQ(client.bottom, 367);

    LONG style = GetWindowLongA(w, GWL_STYLE);
    LONG ex = GetWindowLongA(w, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME), 0);
    EXPECT_TRUE(ex & WS_EX_ACCEPTFILES);
    // The taskbar button belongs to the application window, which owns the main window.
    EXPECT_FALSE(ex & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(w, GW_OWNER), tk::App().Handle());

    RECT window{};
    GetWindowRect(w, &window);
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(window.left, (screenW - 577) / 2, 1);
    EXPECT_NEAR(window.top, (screenH - 367) / 2, 1);
    EXPECT_TRUE(timerEnabledAtCreation);
    EXPECT_EQ(f.Timer1->Interval(), 1000u);
}

TEST_F(MainWindowTest, WindowedControlsSitWhereTheyAreLaidOut) {
    TForm1& f = Create();
    for (tk::Control* c : f.Controls()) {
        auto* windowed = dynamic_cast<tk::WinControl*>(c);
        if (!windowed) continue;
        RECT onScreen{};
        GetWindowRect(windowed->Handle(), &onScreen);
        MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&onScreen), 2);
        const RECT laidOut = c->BoundsRect();
        EXPECT_TRUE(EqualRect(&onScreen, &laidOut)) << c->Name();
    }
}

TEST_F(MainWindowTest, TabGoesThroughTheControlsInTheirOrder) {
    TForm1& f = Create();
    auto focused = [&f] {
        for (tk::Control* c : f.Controls()) {
            auto* windowed = dynamic_cast<tk::WinControl*>(c);
            if (windowed && windowed->Handle() == GetFocus()) return c->Name();
        }
        return std::string("(none)");
    };
    f.ListView1->SetFocus();
    std::vector<std::string> order = {focused()};
    for (int i = 0; i < 12; ++i) {
        SendMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        order.push_back(focused());
    }
    const std::vector<std::string> expected = {"ListView1", "ImageButton8", "ImageButton9", "Edit1",
                                               "ImageButton10", "ImageButton5", "ImageButton4",
                                               "ImageButton3", "ImageButton2", "ImageButton7",
                                               "ImageButton6", "ImageButton1", "ListView1"};
    EXPECT_EQ(order, expected);
}

TEST_F(MainWindowTest, TextsHintsAndColumns) {
    TForm1& f = Create();
    EXPECT_EQ(f.Label1->Caption(), "Added 0 file(s).");
    EXPECT_FALSE(f.Label1->Transparent());
    EXPECT_EQ(f.Label2->Caption(), "Vexlar GVI Converter 1.4");
    EXPECT_TRUE(f.Label2->GetFont().bold);
    EXPECT_TRUE(f.Label2->Transparent());
    EXPECT_EQ(f.Label3->Caption(), "Output Folder:");
    EXPECT_TRUE(f.Label3->Transparent());
    EXPECT_EQ(f.Edit1->Text(), "C:\\");
    EXPECT_TRUE(f.Edit1->ReadOnly());
    EXPECT_TRUE(GetWindowLongA(f.Edit1->Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(f.Image1->Transparent());
    EXPECT_EQ(f.Image2->Picture().Width(), 577);
    EXPECT_EQ(f.Image2->Picture().Height(), 367);
    EXPECT_EQ(f.Image1->Picture().Width(), 72);
    EXPECT_EQ(f.Image1->Picture().Height(), 34);

    ASSERT_EQ(f.ListView1->Columns().size(), 2u);
    EXPECT_EQ(f.ListView1->Columns()[0].caption, "Source GVI Files");
    EXPECT_EQ(f.ListView1->Columns()[0].width, 350);
    EXPECT_EQ(f.ListView1->Columns()[1].caption, "Size (MB)");
    EXPECT_EQ(f.ListView1->Columns()[1].width, 75);
    EXPECT_EQ(f.ListView1->GetPopupMenu(), f.PopupMenu1);
    LONG lvStyle = GetWindowLongA(f.ListView1->Handle(), GWL_STYLE);
    EXPECT_EQ(lvStyle & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(lvStyle & LVS_SINGLESEL);
    EXPECT_FALSE(lvStyle & LVS_EDITLABELS);

    struct Hint {
        TImageButton* button;
        const char* hint;
    };
    const Hint hints[] = {
        {f.ImageButton10, "Select Output Folder..."}, {f.ImageButton5, "Play the selected file."},
        {f.ImageButton4, "Remove all files from list."},
        {f.ImageButton3, "Remove the selected file from list."},
        {f.ImageButton2, "Add GVI files to list..."}, {f.ImageButton7, "Exit."},
        {f.ImageButton6, "Help."}, {f.ImageButton1, "Start Converting."},
    };
    for (const Hint& h : hints) {
        EXPECT_EQ(h.button->Hint(), h.hint);
        EXPECT_TRUE(h.button->ShowHint()) << h.hint;
    }
    EXPECT_EQ(f.ImageButton8->Hint(), "");
    EXPECT_EQ(f.ImageButton9->Hint(), "");
}

TEST_F(MainWindowTest, Menus) {
    TForm1& f = Create();
    auto captions = [](tk::PopupMenu* m) {
        std::vector<std::string> out;
        for (tk::MenuItem* i : m->Items()) out.push_back(i->Name() + "=" + i->Caption());
        return out;
    };
    EXPECT_EQ(captions(f.PopupMenu1),
              (std::vector<std::string>{"Add1=Add...", "Delete1=Delete", "Clear1=Clear", "Play1=Play"}));
    EXPECT_EQ(captions(f.PopupMenu4),
              (std::vector<std::string>{"Contents1=&Contents",
                                        "AboutVexlar1=&About Vexlar GVI Converter...", "MenuItem1=-",
                                        "VisitVexlarWebSite1=&Visit Vexlar Web Site ->"}));
}

TEST_F(MainWindowTest, BackgroundShowsOnScreen) {
    Create();
    // Points of the background that no control covers show the decoded picture.
    const tk::Bitmap& background = form->Image2->Picture();
    ASSERT_EQ(background.Width(), 577);
    HDC dc = GetDC(Window());
    for (POINT p : {POINT{300, 20}, POINT{5, 60}, POINT{570, 300}, POINT{300, 360}}) {
        EXPECT_EQ(ChildWindowFromPointEx(Window(), p, CWP_SKIPINVISIBLE), Window()) << p.x << "," << p.y;
        EXPECT_EQ(GetPixel(dc, p.x, p.y), background.Pixel(p.x, p.y)) << p.x << "," << p.y;
    }
    ReleaseDC(Window(), dc);
}

// The program's own resources, which the tests carry too.
TEST(ProgramResources, IconVersionAndManifest) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC group = FindResourceA(self, "MAINICON", RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
    ASSERT_NE(dir, nullptr);
    // GRPICONDIR: reserved, type, count; then 14-byte entries: width, height, colours, ...
    EXPECT_EQ(dir[4] | (dir[5] << 8), 1) << "one image";
    EXPECT_EQ(dir[6], 32);
    EXPECT_EQ(dir[7], 32);
    EXPECT_EQ(dir[8], 16) << "16 colours";

    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010004u);
    char* product = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904E4\\ProductName",
                               reinterpret_cast<void**>(&product), &len));
    EXPECT_STREQ(product, "Vexlar GVI Converter");

    EXPECT_NE(FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)), nullptr);
    // ...and UTF-8 as the code page of the ...A functions, whatever the system's.
    EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
    // The manifest makes the system load version 6 of the common controls.
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    char comctlPath[MAX_PATH] = {};
    GetModuleFileNameA(comctl, comctlPath, MAX_PATH);
    EXPECT_NE(std::string(comctlPath).find("6.0"), std::string::npos) << comctlPath;
}
