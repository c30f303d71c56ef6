// What a window shows: graphic controls painted over each other; and the list view's rows.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tests/windows/toolkit/ToolkitTestUtil.h"
#include "toolkit/Bitmap.h"
#include "toolkit/StdControls.h"

namespace {

// The form's client area as the form paints it.
tk::Bitmap Snapshot(tk::Form& form) {
    RECT r = form.ClientRect();
    tk::Bitmap b(r.right, r.bottom);
    SendMessageA(form.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(b.Dc()), PRF_CLIENT);
    return b;
}

constexpr COLORREF kSkin = RGB(40, 120, 200);

class Composition : public ::testing::Test {
protected:
    void SetUp() override {
        tk::Bitmap skin(120, 60);
        skin.Fill(kSkin);
        back.SetParent(&form);
        back.SetBounds(0, 0, 120, 60);
        back.SetPicture(skin);
        tkt::ShowForm(form, 140, 80);
    }
    tk::Form form;
    tk::Image back{&form};
};

TEST_F(Composition, TransparentLabelShowsThePictureAroundItsText) {
    tk::Label label(&form);
    label.SetParent(&form);
    label.SetTransparent(true);
    label.SetBounds(10, 10, 0, 0);
    label.SetCaption("WWWW");
    ASSERT_GT(label.Width(), 10);  // sized to its text
    ASSERT_GT(label.Height(), 5);
    tk::Bitmap shot = Snapshot(form);
    int text = 0, skin = 0, other = 0;
    for (int y = label.Top(); y < label.Top() + label.Height(); ++y) {
        for (int x = label.Left(); x < label.Left() + label.Width(); ++x) {
            COLORREF c = shot.Pixel(x, y);
            if (c == kSkin) ++skin;
            else if (c == tk::ColorToRGB(tk::clWindowText)) ++text;
            else ++other;
        }
    }
    EXPECT_GT(text, 10);
    EXPECT_GT(skin, text);  // the picture shows through between the letters
    // Outside the picture: the window's face colour.
    EXPECT_EQ(shot.Pixel(130, 70), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Composition, OpaqueLabelFillsItsColour) {
    tk::Label label(&form);
    label.SetParent(&form);
    label.SetAutoSize(false);
    label.SetBounds(10, 10, 60, 20);
    label.SetColor(RGB(255, 255, 0));
    label.SetCaption(".");
    tk::Bitmap shot = Snapshot(form);
    EXPECT_EQ(shot.Pixel(60, 25), RGB(255, 255, 0));
    EXPECT_EQ(shot.Pixel(75, 25), kSkin);
    // Right-aligned fixed-size text sits at the right edge.
    label.SetCaption("IIII");
    label.SetAlignment(tk::Alignment::RightJustify);
    shot = Snapshot(form);
    bool inkLeft = false, inkRight = false;
    for (int y = 10; y < 30; ++y) {
        for (int x = 10; x < 40; ++x) inkLeft |= shot.Pixel(x, y) != RGB(255, 255, 0);
        for (int x = 50; x < 70; ++x) inkRight |= shot.Pixel(x, y) != RGB(255, 255, 0);
    }
    EXPECT_FALSE(inkLeft);
    EXPECT_TRUE(inkRight);
}

TEST_F(Composition, TransparentImageLeavesOutItsBottomLeftColour) {
    tk::Bitmap logo(4, 4);
    logo.Fill(RGB(255, 0, 255));
    logo.SetPixel(1, 1, RGB(0, 255, 0));
    tk::Image image(&form);
    image.SetParent(&form);
    image.SetBounds(20, 20, 10, 10);  // larger than the picture: clipped to it
    image.SetPicture(logo);
    image.SetTransparent(true);
    tk::Bitmap shot = Snapshot(form);
    EXPECT_EQ(shot.Pixel(20, 20), kSkin);
    EXPECT_EQ(shot.Pixel(21, 21), RGB(0, 255, 0));
    EXPECT_EQ(shot.Pixel(27, 27), kSkin);
    image.SetTransparent(false);
    shot = Snapshot(form);
    EXPECT_EQ(shot.Pixel(20, 20), RGB(255, 0, 255));
}

TEST_F(Composition, BevelIsASunkenLine) {
    tk::Bevel bevel(&form);
    bevel.SetParent(&form);
    bevel.SetShape(tk::BevelShape::TopLine);
    bevel.SetBounds(5, 40, 100, 2);
    tk::Bitmap shot = Snapshot(form);
    EXPECT_EQ(shot.Pixel(50, 40), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(shot.Pixel(50, 41), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(shot.Pixel(50, 42), kSkin);
    // A control painted after it is at its own place, not clipped or moved by the bevel's.
    tk::Label label(&form);
    label.SetParent(&form);
    label.SetAutoSize(false);
    label.SetBounds(10, 10, 20, 20);
    label.SetColor(RGB(255, 255, 0));
    shot = Snapshot(form);
    EXPECT_EQ(shot.Pixel(15, 15), RGB(255, 255, 0));
}

TEST(ListViewRows, AddSelectDeleteClear) {
    tk::Form form;
    tk::ListView list(&form);
    list.SetParent(&form);
    list.SetBounds(0, 0, 300, 150);
    list.SetColumns({{"Source GVI Files", 200}, {"Size (MB)", 75}});
    tkt::ShowForm(form, 300, 150);

    EXPECT_EQ(list.SelectedIndex(), -1);
    EXPECT_EQ(list.AddRow({"C:\\v\\a.gvi", "1.50"}), 0);
    EXPECT_EQ(list.AddRow({"C:\\v\\b.gvi", "2.00"}), 1);
    const std::string longPath = "C:\\" + std::string(700, 'x') + ".gvi";
    EXPECT_EQ(list.AddRow({longPath, "0.00"}), 2);
    EXPECT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.RowText(1, 0), "C:\\v\\b.gvi");
    EXPECT_EQ(list.RowText(1, 1), "2.00");
    EXPECT_EQ(list.RowText(2, 0), longPath);
    EXPECT_EQ(list.RowText(5, 0), "");

    auto select = [&list](int row, UINT state) {  // row -1: every row
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED;
        item.state = state;
        SendMessageA(list.Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    };
    select(1, LVIS_SELECTED);
    EXPECT_EQ(list.SelectedIndex(), 1);
    select(2, LVIS_SELECTED);  // one row at a time
    EXPECT_EQ(list.SelectedIndex(), 2);
    list.DeleteRow(0);
    EXPECT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.RowText(0, 0), "C:\\v\\b.gvi");
    select(-1, 0);
    EXPECT_EQ(list.SelectedIndex(), -1);
    list.Clear();
    EXPECT_EQ(list.RowCount(), 0);

    const LONG_PTR style = GetWindowLongPtrA(list.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & LVS_NOSORTHEADER);
    EXPECT_FALSE(style & LVS_EDITLABELS);
    EXPECT_TRUE(SendMessageA(list.Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
}

TEST(SystemControls, EditTextFontAndReadOnly) {
    tk::Form form;
    tk::Edit edit(&form);
    edit.SetParent(&form);
    edit.SetText("C:\\");
    edit.SetReadOnly(true);
    edit.SetFlat(true);
    tkt::ShowForm(form, 200, 50);
    EXPECT_EQ(edit.Text(), "C:\\");
    SetWindowTextA(edit.Handle(), "D:\\Videos\\");  // the window is what counts
    EXPECT_EQ(edit.Text(), "D:\\Videos\\");
    EXPECT_TRUE(GetWindowLongPtrA(edit.Handle(), GWL_STYLE) & ES_READONLY);
    // Flat: a thin border the control draws itself, not the sunken client edge.
    EXPECT_FALSE(GetWindowLongPtrA(edit.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(edit.Handle(), WM_GETFONT, 0, 0)), tk::DefaultFont());
}

TEST(SystemControls, RadioButtonsOfOneParentExcludeEachOther) {
    tk::Form form;
    tk::RadioButton a(&form), b(&form);
    a.SetParent(&form);
    b.SetParent(&form);
    b.SetTop(20);
    a.SetChecked(true);
    tkt::ShowForm(form, 200, 50);
    EXPECT_EQ(SendMessageA(a.Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(b.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(b.Checked());
    EXPECT_FALSE(a.Checked());
    EXPECT_EQ(SendMessageA(a.Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST(FormStyle, TranslucencyExtraStylesAndTooltips) {
    tk::Form form;
    form.SetAlphaBlend(true);
    form.SetAlphaBlendValue(240);
    form.SetExtraExStyle(WS_EX_ACCEPTFILES);
    form.SetShowHint(true);
    tk::Button button(&form);
    button.SetParent(&form);
    button.SetHint("Press me.");  // takes ShowHint from the form
    tk::Label label(&form);
    label.SetParent(&form);
    label.SetTop(40);
    label.SetHint("A label.");
    tk::Label quiet(&form);  // no hint: no tool
    quiet.SetParent(&form);
    tkt::ShowForm(form, 200, 80);

    const LONG_PTR ex = GetWindowLongPtrA(form.Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_ACCEPTFILES);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(form.Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 240);
    HWND tips = nullptr;  // the form's hint window, which the form owns
    do tips = FindWindowExA(nullptr, tips, TOOLTIPS_CLASSA, nullptr);
    while (tips && GetWindow(tips, GW_OWNER) != form.Handle());
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 2);
    label.SetShowHint(false);
    EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
    // The tooltip subclasses the button's window: its notifications still reach the button.
    int clicks = 0;
    button.OnClick = [&](tk::Component*) { ++clicks; };
    SendMessageA(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
