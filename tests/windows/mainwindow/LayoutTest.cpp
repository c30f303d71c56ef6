// The main window as laid out: frame, size, controls in place and order, tab order, texts,
// components, and the program's own resources.
#include "tests/windows/support/ProgramTest.h"

#include "controls/ImageButton3.h"
#include "toolkit/Application.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

using MainWindowTest = ProgramTest;

namespace {

struct Place {
    const char* name;
    int left, top, width, height;  // width -1: sized to its text
};

// Back to front.
const Place kPlaces[] = {
    {"Image2", 0, 0, 577, 367},       {"Label1", 16, 344, -1, -1},     {"Image1", 488, 40, 72, 34},
    {"Bevel2", 15, 336, 553, 2},      {"Bevel1", 16, 96, 553, 2},      {"Label2", 24, 5, -1, -1},
    {"Bevel3", 15, 287, 553, 2},      {"Label3", 16, 292, -1, -1},     {"ListView1", 16, 104, 473, 175},
    {"ImageButton8", 533, 6, 17, 11}, {"ImageButton9", 552, 6, 17, 11}, {"Edit1", 16, 308, 473, 21},
    {"ImageButton10", 496, 304, 70, 25}, {"ImageButton5", 496, 200, 70, 25},
    {"ImageButton4", 496, 168, 70, 25},  {"ImageButton3", 496, 136, 70, 25},
    {"ImageButton2", 496, 104, 70, 25},  {"ImageButton7", 192, 32, 65, 57},
    {"ImageButton6", 104, 32, 65, 57},   {"ImageButton1", 16, 32, 65, 57},
};

std::string NameOf(tk::Control* c) { return c ? c->Name() : std::string("(none)"); }

}  // namespace

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

TEST_F(MainWindowTest, EveryControlInPlaceBackToFront) {
    TForm1& f = Create();
    std::vector<std::string> order;
    for (tk::Control* c : f.Controls()) order.push_back(c->Name());
    std::vector<std::string> expected;
    for (const Place& p : kPlaces) expected.push_back(p.name);
    EXPECT_EQ(order, expected);

    for (const Place& p : kPlaces) {
        SCOPED_TRACE(p.name);
        auto* c = tk::Find<tk::Control>(f, p.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Left(), p.left);
        EXPECT_EQ(c->Top(), p.top);
        if (p.width >= 0) {
            EXPECT_EQ(c->Width(), p.width);
            EXPECT_EQ(c->Height(), p.height);
        } else {
            EXPECT_GT(c->Width(), 0);
            EXPECT_GT(c->Height(), 0);
        }
        // Windowed controls sit where the layout says on screen, too.
        if (auto* wc = dynamic_cast<tk::WinControl*>(c)) {
            RECT r{};
            GetWindowRect(wc->Handle(), &r);
            MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ(r.left, p.left);
            EXPECT_EQ(r.top, p.top);
            if (p.width >= 0) {
                EXPECT_EQ(r.right - r.left, p.width);
                EXPECT_EQ(r.bottom - r.top, p.height);
            }
        }
    }
}

TEST_F(MainWindowTest, TabGoesThroughTheControlsInTheirOrder) {
    TForm1& f = Create();
    std::vector<std::string> order;
    tk::WinControl* c = f.FirstTabStop();
    order.push_back(NameOf(c));
    for (int i = 0; i < 11 && c; ++i) {
        f.SelectNext(c, true);
        c = f.ActiveControl();
        order.push_back(NameOf(c));
    }
    std::vector<std::string> expected = {"ListView1", "ImageButton8", "ImageButton9", "Edit1",
                                         "ImageButton10", "ImageButton5", "ImageButton4",
                                         "ImageButton3", "ImageButton2", "ImageButton7",
                                         "ImageButton6", "ImageButton1"};
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

TEST_F(MainWindowTest, MenusAndOpenDialog) {
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
    EXPECT_EQ(f.OpenDialog1->Filter, "Google Video (*.GVI)|*.gvi");
    DWORD flags = f.OpenDialog1->SystemFlags();
    EXPECT_TRUE(flags & OFN_ALLOWMULTISELECT);
    EXPECT_TRUE(flags & OFN_HIDEREADONLY);
    EXPECT_TRUE(flags & OFN_ENABLESIZING);
    EXPECT_TRUE(flags & OFN_EXPLORER);
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
    // The manifest makes the system load version 6 of the common controls.
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    char comctlPath[MAX_PATH] = {};
    GetModuleFileNameA(comctl, comctlPath, MAX_PATH);
    EXPECT_NE(std::string(comctlPath).find("6.0"), std::string::npos) << comctlPath;
}
