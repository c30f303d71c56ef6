// A new button, the picture it composes for each state, its transparent colour and overlays.
#include "tests/windows/imagebutton/ImageButtonFixture.h"

namespace ibt {
namespace {

TEST(ImageButtonDefaults, NewButtonIsAnUngroupedEnabledTabStopOf35By35) {
    TImageButton b;
    EXPECT_EQ(b.Width(), 35);
    EXPECT_EQ(b.Height(), 35);
    EXPECT_TRUE(b.TabStop());
    EXPECT_TRUE(b.Enabled());
    EXPECT_EQ(b.GroupIndex(), 0);
    EXPECT_FALSE(b.Down());
    EXPECT_FALSE(b.AllowAllUp());
    EXPECT_EQ(b.TransparentMode(), tmAuto);
    EXPECT_EQ(b.TransparentColor(), 0u);
    EXPECT_EQ(b.ModalResult(), 0);
    EXPECT_FALSE(b.Default());
    EXPECT_FALSE(b.Cancel());
    EXPECT_EQ(b.State(), TImageButton::bsNone);
    EXPECT_EQ(b.RegionState(), TImageButton::kNoRegion);
    for (const tk::Bitmap* p : {&b.DownBitmap(), &b.UpBitmap(), &b.NoneBitmap(), &b.OverBitmap(),
                                &b.DisabledBitmap(), &b.FocusedBitmap()})
        EXPECT_TRUE(p->Empty());
    // Without a parent nothing can be shown, and nothing fails.
    b.SetNoneBitmap(Face(35, 35, kNone));
    EXPECT_FALSE(b.HandleAllocated());
    EXPECT_EQ(b.TransparentColor(), kKey);
}

TEST(ImageButtonDefaults, DownCannotBeSetWithoutAGroup) {
    TImageButton b;
    b.SetDown(true);
    EXPECT_FALSE(b.Down());
}

TEST(ImageButtonDefaults, HomepageIsFixed) {
    TImageButton b;
    const std::string home = b.Homepage();
    EXPECT_EQ(home.rfind("http://", 0), 0u);
    b.SetHomepage("http://example.invalid/");
    EXPECT_EQ(b.Homepage(), home);
}

TEST(ImageButtonDefaults, AssignedPictureIsACopy) {
    TImageButton b;
    tk::Bitmap mine = Face(10, 10, kOver);
    b.SetOverBitmap(mine);
    mine.Fill(RGB(1, 2, 3));
    EXPECT_EQ(b.OverBitmap().Pixel(5, 5), kOver);
}

TEST_F(ImageButtonTest, EachStateDrawsItsPictureOverTheBase) {
    TImageButton* b = Button(10, 10);
    EXPECT_EQ(Middle(*b), kNone);
    EXPECT_FALSE(InShape(*b, 0, 0));  // the corner stays transparent

    // The state picture covers only what it has: a smaller one leaves the base around it.
    b->SetOverBitmap(Solid(10, 10, kOver));
    MoveTo(*b, 20, 15);
    EXPECT_EQ(b->State(), TImageButton::bsOver);
    EXPECT_EQ(Shown(*b, 5, 5), kOver);
    EXPECT_EQ(Middle(*b), kNone);

    Press(*b, WM_LBUTTONDOWN, 20, 15, MK_LBUTTON);
    EXPECT_EQ(Middle(*b), kDown);
    Press(*b, WM_LBUTTONUP, 20, 15, 0);
    EXPECT_EQ(b->State(), TImageButton::bsOver);
}

TEST_F(ImageButtonTest, TheScreenShowsTheComposedPictureInsideTheShapeOnly) {
    TImageButton* b = Button(10, 10);
    MoveTo(*b, 20, 15);
    vt::PumpFor(50);
    EXPECT_EQ(OnScreen(b->Handle(), 20, 15), kOver);
    EXPECT_EQ(OnScreen(b->Handle(), 0, 0), kFormColor);  // the form shows through the cut-off corner
}

TEST_F(ImageButtonTest, PicturesLargerThanTheButtonAreCutAndSmallerOnesLeaveATransparentMargin) {
    TImageButton* b = Button(10, 10, 40, 30);
    b->SetNoneBitmap(Solid(20, 20, kNone));  // bottom-left pixel: the face itself
    b->SetTransparentColor(kKey);
    EXPECT_EQ(Shown(*b, 19, 19), kNone);
    EXPECT_TRUE(InShape(*b, 19, 19));
    EXPECT_FALSE(InShape(*b, 20, 19));
    EXPECT_FALSE(InShape(*b, 25, 25));

    b->SetNoneBitmap(Solid(100, 100, kNone));
    EXPECT_EQ(Shown(*b, 39, 29), kNone);
    EXPECT_EQ(Shown(*b, 40, 29), CLR_INVALID);  // the window stays 40 x 30
}

TEST_F(ImageButtonTest, AutoModeTakesTheBottomLeftPixelAndFixedModeKeepsTheColourSet) {
    TImageButton* b = Button(10, 10);
    EXPECT_EQ(b->TransparentColor(), kKey);

    tk::Bitmap odd = Face(40, 30, kNone);
    odd.SetPixel(0, 29, RGB(1, 2, 3));  // a different key in the bottom-left corner
    b->SetNoneBitmap(odd);
    EXPECT_EQ(b->TransparentColor(), RGB(1, 2, 3));

    b->SetTransparentColor(kKey);
    EXPECT_EQ(b->TransparentMode(), tmFixed);
    b->SetNoneBitmap(Face(40, 30, kNone, RGB(9, 9, 9)));
    EXPECT_EQ(b->TransparentColor(), kKey);  // fixed: the new picture does not change it
    EXPECT_TRUE(InShape(*b, 0, 0));          // so the corners of that picture are opaque

    b->SetTransparentMode(tmAuto);
    EXPECT_EQ(b->TransparentColor(), RGB(9, 9, 9));
    EXPECT_FALSE(InShape(*b, 0, 0));  // the shape follows at once
}

TEST_F(ImageButtonTest, EmptyBasePictureUnderAutoDrawsNothingAndKeepsTheColour) {
    TImageButton* b = Button(10, 10);
    b->SetNoneBitmap(tk::Bitmap());
    EXPECT_EQ(b->TransparentColor(), kKey);  // the previous colour stays
    Scribble(b->Handle(), RGB(255, 0, 0));
    b->Redraw();
    EXPECT_EQ(Middle(*b), RGB(255, 0, 0));  // nothing drawn over it

    auto* fresh = static_cast<TImageButton*>(form_->Adopt(std::make_unique<TImageButton>(form_.get())));
    fresh->SetParent(form_.get());
    fresh->SetBounds(100, 10, 20, 20);
    vt::PumpFor(20);
    Scribble(fresh->Handle(), RGB(255, 0, 0));
    fresh->Redraw();
    EXPECT_EQ(fresh->TransparentColor(), 0u);
    EXPECT_EQ(Middle(*fresh), RGB(255, 0, 0));
    // Every pixel is transparent: no shape, the whole rectangle takes the pointer.
    EXPECT_TRUE(InShape(*fresh, 0, 0));
}

TEST_F(ImageButtonTest, DisabledOverlayLeavesItsKeyPixelsOutAndRebuildsTheShape) {
    TImageButton* b = Button(10, 10);
    tk::Bitmap overlay = Solid(40, 30, kKey);
    for (int x = 0; x < 40; ++x) overlay.SetPixel(x, 15, RGB(128, 128, 128));  // one grey line
    b->SetDisabledBitmap(overlay);
    vt::PumpFor(20);
    WindowSpy spy(b->Handle());

    b->SetEnabled(false);
    EXPECT_FALSE(b->Enabled());
    EXPECT_FALSE(IsWindowEnabled(b->Handle()));
    EXPECT_EQ(spy.Shapes(), 1);
    EXPECT_EQ(Shown(*b, 20, 15), RGB(128, 128, 128));
    EXPECT_EQ(Shown(*b, 20, 10), kNone);  // key pixels leave the face below
    EXPECT_TRUE(InShape(*b, 0, 15));  // the overlay's line widens the shape into the corner row
    EXPECT_TRUE(b->DisabledBitmap().Transparent);

    b->SetEnabled(true);
    EXPECT_EQ(Shown(*b, 20, 15), kNone);
    EXPECT_EQ(spy.Shapes(), 2);
}

TEST_F(ImageButtonTest, FocusOverlayIsDrawnWhileFocusedAndTheShapeIsRebuiltEachTime) {
    TImageButton* b = Button(10, 10);
    TImageButton* other = Button(100, 10);
    tk::Bitmap ring = Solid(40, 30, kKey);
    ring.SetPixel(20, 15, RGB(0, 0, 255));
    b->SetFocusedBitmap(ring);
    vt::PumpFor(20);
    WindowSpy spy(b->Handle());

    b->SetFocus();
    ASSERT_TRUE(b->Focused());
    EXPECT_EQ(Shown(*b, 20, 15), RGB(0, 0, 255));
    EXPECT_EQ(Shown(*b, 10, 10), kNone);
    EXPECT_EQ(spy.Shapes(), 1);

    other->SetFocus();
    EXPECT_EQ(Shown(*b, 20, 15), kNone);
    EXPECT_EQ(spy.Shapes(), 2);
}

}  // namespace
}  // namespace ibt
