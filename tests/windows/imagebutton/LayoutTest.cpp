// What the layout writer stores of a button, and reading it back.
#include "tests/windows/imagebutton/ImageButtonFixture.h"

#include <optional>

#include "toolkit/Layout.h"

namespace ibt {
namespace {

bool Has(const std::string& text, const std::string& line) { return text.find(line) != std::string::npos; }

TEST_F(ImageButtonTest, DefaultsAreNotStoredAndNeitherIsHomepage) {
    TImageButton* b = Button(10, 10);
    b->SetName("ImageButton1");
    b->SetUpBitmap(tk::Bitmap());
    const std::string text = tk::SaveComponent(*b);
    EXPECT_TRUE(Has(text, "object ImageButton1: TImageButton")) << text;
    for (const char* absent : {"Homepage", "TransparentColor", "TransparentMode", "GroupIndex", "Down =",
                               "AllowAllUp", "ModalResult", "Cancel", "Default", "Enabled",
                               "UpBitmap", "DisabledBitmap", "FocusedBitmap", "TabStop"})
        EXPECT_FALSE(Has(text, absent)) << absent << " in\n" << text;
    for (const char* present : {"NoneBitmap.Data = {", "OverBitmap.Data = {", "DownBitmap.Data = {",
                                "Width = 40", "Height = 30"})
        EXPECT_TRUE(Has(text, present)) << present << " missing in\n" << text;
}

TEST_F(ImageButtonTest, TransparentColorIsStoredOnlyWhileFixed) {
    TImageButton* b = Button(10, 10);
    b->SetTransparentColor(RGB(1, 2, 3));
    std::string text = tk::SaveComponent(*b);
    EXPECT_TRUE(Has(text, "TransparentMode = tmFixed")) << text;
    EXPECT_TRUE(Has(text, "TransparentColor = " + std::to_string(RGB(1, 2, 3)))) << text;

    b->SetTransparentMode(tmAuto);
    EXPECT_EQ(b->TransparentColor(), kKey);
    text = tk::SaveComponent(*b);
    EXPECT_FALSE(Has(text, "TransparentColor")) << text;
    EXPECT_FALSE(Has(text, "TransparentMode")) << text;
}

TEST_F(ImageButtonTest, StoredButtonReadsBackTheSame) {
    TImageButton* b = Button(10, 10);
    b->SetName("ImageButton1");
    b->SetGroupIndex(3);
    b->SetAllowAllUp(true);
    b->SetDown(true);
    b->SetModalResult(tk::mrCancel);
    b->SetCancel(true);
    b->SetDefault(true);
    b->SetTransparentColor(kKey);
    b->SetDisabledBitmap(Solid(40, 30, RGB(128, 128, 128)));
    b->SetEnabled(false);
    const std::string text = tk::SaveComponent(*b);

    tk::Form again;
    again.SetBounds(0, 0, 100, 100);
    const std::string layout = "object Form: TForm\n" + text + "end\n";
    tk::LayoutResult r = tk::LoadLayout(again, layout, nullptr);
    ASSERT_TRUE(r) << r.message;
    auto* copy = tk::Find<TImageButton>(again, "ImageButton1");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Left(), 10);
    EXPECT_EQ(copy->Width(), 40);
    EXPECT_EQ(copy->GroupIndex(), 3);
    EXPECT_TRUE(copy->AllowAllUp());
    EXPECT_TRUE(copy->Down());
    EXPECT_EQ(copy->ModalResult(), tk::mrCancel);
    EXPECT_TRUE(copy->Cancel());
    EXPECT_TRUE(copy->Default());
    EXPECT_FALSE(copy->Enabled());
    EXPECT_EQ(copy->TransparentMode(), tmFixed);
    EXPECT_EQ(copy->TransparentColor(), kKey);
    EXPECT_EQ(copy->NoneBitmap().Pixel(20, 15), kNone);
    EXPECT_EQ(copy->OverBitmap().Pixel(20, 15), kOver);
    EXPECT_EQ(copy->DownBitmap().Pixel(20, 15), kDown);
    EXPECT_EQ(copy->DisabledBitmap().Pixel(0, 0), RGB(128, 128, 128));
    EXPECT_EQ(tk::SaveComponent(*copy), text);
}

TEST(ImageButtonLayout, LoadedButtonIsShapedBeforeItsWindowShowsAndPaintedOnce) {
    // The layout's pictures, as a form's resources would give them.
    const tk::Bitmap none = Face(40, 30, kNone), over = Face(40, 30, kOver);
    auto pictures = [&](const std::string& name) -> std::optional<std::vector<uint8_t>> {
        return (name == "none.bmp" ? none : over).SaveToBmp();
    };
    SetCursorPos(5, 5);  // away from the button
    tk::Form form;
    const char* layout =
        "object Form: TForm\n"
        "  Left = 300\n"
        "  Top = 300\n"
        "  BorderStyle = bsNone\n"
        "  ClientWidth = 100\n"
        "  ClientHeight = 80\n"
        "  Color = 32768\n"
        "  object ImageButton1: TImageButton\n"
        "    Left = 10\n"
        "    Top = 20\n"
        "    Width = 40\n"
        "    Height = 30\n"
        "    TabStop = False\n"
        "    DownBitmap.Data = @over.bmp\n"
        "    UpBitmap.Data = @over.bmp\n"
        "    NoneBitmap.Data = @none.bmp\n"
        "    OverBitmap.Data = @over.bmp\n"
        "  end\n"
        "end\n";
    tk::LayoutResult r = tk::LoadLayout(form, layout, pictures);
    ASSERT_TRUE(r) << r.message;
    EXPECT_FALSE(form.HandleAllocated()) << "loading made windows";

    auto* b = tk::Find<TImageButton>(form, "ImageButton1");
    ASSERT_NE(b, nullptr);
    form.Handle();  // made, not shown yet
    RECT placed;
    GetWindowRect(b->WindowHandle(), &placed);
    MapWindowPoints(HWND_DESKTOP, form.WindowHandle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 10);
    EXPECT_EQ(placed.top, 20);
    EXPECT_FALSE(InShape(*b, 0, 0));  // already shaped

    WindowSpy spy(b->WindowHandle());
    form.Show();
    vt::PumpFor(50);
    EXPECT_EQ(spy.Shapes(), 0);
    EXPECT_EQ(spy.Paints(), 1);
    EXPECT_EQ(OnScreen(b->WindowHandle(), 20, 15), kNone);
    EXPECT_EQ(OnScreen(b->WindowHandle(), 0, 0), kFormColor);
}

TEST(ImageButtonLayout, WritingHomepageInALayoutChangesNothing) {
    tk::Form form;
    const char* layout =
        "object Form: TForm\n"
        "  object ImageButton1: TImageButton\n"
        "    Left = 4\n"
        "    Homepage = 'http://example.invalid/'\n"
        "  end\n"
        "end\n";
    tk::LayoutResult r = tk::LoadLayout(form, layout, nullptr);
    ASSERT_TRUE(r) << r.message;
    auto* b = tk::Find<TImageButton>(form, "ImageButton1");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Homepage(), TImageButton().Homepage());
    EXPECT_EQ(b->Width(), 35);
    EXPECT_FALSE(Has(tk::SaveComponent(*b), "Homepage"));
}

TEST(ImageButtonLayout, MouseEventsBindToTheFormsHandlersByName) {
    tk::Form form;
    int enters = 0;
    form.Methods().notify["ButtonEnter"] = [&](tk::Component*) { ++enters; };
    const char* layout =
        "object Form: TForm\n"
        "  object ImageButton1: TImageButton\n"
        "    OnMouseEnter = ButtonEnter\n"
        "  end\n"
        "end\n";
    tk::LayoutResult r = tk::LoadLayout(form, layout, nullptr);
    ASSERT_TRUE(r) << r.message;
    auto* b = tk::Find<TImageButton>(form, "ImageButton1");
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->OnMouseEnter);
    b->OnMouseEnter(b);
    EXPECT_EQ(enters, 1);
    const std::string text = tk::SaveComponent(*b);
    EXPECT_TRUE(Has(text, "OnMouseEnter = ButtonEnter")) << text;
    EXPECT_FALSE(Has(text, "OnMouseLeave")) << text;

    tk::Form bad;
    EXPECT_FALSE(tk::LoadLayout(bad, "object Form: TForm\n  object B: TImageButton\n    OnMouseLeave = Nope\n  end\nend\n", nullptr));
}

TEST(ImageButtonLayout, DamagedPictureBlockIsRefusedWithItsLine) {
    tk::Form form;
    const char* layout =
        "object Form: TForm\n"
        "  object ImageButton1: TImageButton\n"
        "    NoneBitmap.Data = {0A000000424D}\n"
        "  end\n"
        "end\n";
    tk::LayoutResult r = tk::LoadLayout(form, layout, nullptr);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.line, 3);
}

}  // namespace
}  // namespace ibt
