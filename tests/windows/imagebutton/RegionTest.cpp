// The window shape: the run builder gives exactly the per-pixel region, the window carries it,
// and it is built once per change of state.
#include "tests/windows/imagebutton/ImageButtonFixture.h"

#include "controls/ImageButton3Region.h"
#include "tests/windows/imagebutton/PerPixelRegion.h"
#include "toolkit/Handles.h"

namespace ibt {
namespace {

// Both builders on one picture; the regions must be equal (or both absent).
void ExpectSameRegion(const tk::Bitmap& picture, COLORREF key, const std::string& what) {
    tk::OwnedRegion reference(BuildRegionPerPixel(imagebutton::ViewOf(picture), key));
    tk::OwnedRegion fast(imagebutton::BuildRegion(imagebutton::ViewOf(picture), key));
    ASSERT_EQ(static_cast<bool>(reference), static_cast<bool>(fast)) << what;
    if (reference) {
        EXPECT_TRUE(EqualRgn(reference.get(), fast.get())) << what;
    }
}

// The skin's pictures are found through the source tree that CTest names.
#define SKIP_WITHOUT_SOURCE_TREE()                 \
    if (!std::getenv("VEXLAR_SOURCE_DIR"))         \
    GTEST_SKIP() << "VEXLAR_SOURCE_DIR is not set: run through ctest to find resources/"

TEST(ImageButtonRegion, RunBuilderEqualsThePerPixelRegionOnTheSkinPictures) {
    SKIP_WITHOUT_SOURCE_TREE();
    int found = 0;
    for (const char* name : {"start", "help", "exit", "add", "delete", "clear", "play", "select",
                             "minimize", "close"}) {
        for (const char* state : {"none", "over", "down", "up"}) {
            const std::string file = std::string("btn_") + name + "_" + state;
            tk::Bitmap picture = SkinPicture(file);
            if (picture.Empty()) continue;
            ++found;
            tk::Bitmap none = SkinPicture(std::string("btn_") + name + "_none");
            ExpectSameRegion(picture, none.Pixel(0, none.Height() - 1), file);
        }
    }
    EXPECT_EQ(found, 40);
}

TEST(ImageButtonRegion, RunBuilderEqualsThePerPixelRegionOnAwkwardShapes) {
    // Holes, single pixels, runs touching both edges, equal rows apart, a checkerboard.
    tk::Bitmap p = Face(65, 57, kNone);
    for (int x = 20; x < 30; ++x) p.SetPixel(x, 20, kKey);
    p.SetPixel(0, 28, kNone);
    p.SetPixel(64, 30, kKey);
    for (int y = 40; y < 50; ++y)
        for (int x = 40; x < 50; ++x)
            if ((x + y) % 2) p.SetPixel(x, y, kKey);
    ExpectSameRegion(p, kKey, "awkward");
    ExpectSameRegion(Face(70, 25, kNone), kKey, "70x25");
    ExpectSameRegion(Face(17, 11, kNone, kKey, 2), kKey, "17x11");
    ExpectSameRegion(Solid(9, 9, kKey), kKey, "all transparent");
    ExpectSameRegion(Solid(9, 9, kNone), kKey, "all opaque");
    tk::Bitmap dot = Solid(5, 5, kKey);
    dot.SetPixel(4, 4, kNone);
    ExpectSameRegion(dot, kKey, "one pixel");
}

TEST_F(ImageButtonTest, WindowIsCutToTheNonTransparentPixels) {
    TImageButton* b = Button(10, 10, 40, 30);
    EXPECT_FALSE(InShape(*b, 0, 0));
    EXPECT_FALSE(InShape(*b, 39, 29));
    EXPECT_TRUE(InShape(*b, 5, 5));
    EXPECT_TRUE(InShape(*b, 0, 15));
    EXPECT_TRUE(InShape(*b, 20, 0));

    // The pointer in a cut-off corner is not over the button.
    MoveTo(*b, 0, 0);
    EXPECT_FALSE(b->MouseInside());
    MoveTo(*b, 1, 15);
    EXPECT_TRUE(b->MouseInside());
}

TEST_F(ImageButtonTest, SkinPictureShapeOnTheWindow) {
    SKIP_WITHOUT_SOURCE_TREE();
    tk::Bitmap none = SkinPicture("btn_start_none");
    ASSERT_FALSE(none.Empty());
    TImageButton* b = Button(10, 10, 65, 57);
    b->SetNoneBitmap(none);
    b->SetOverBitmap(SkinPicture("btn_start_over"));
    b->SetDownBitmap(SkinPicture("btn_start_down"));
    HRGN window = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(b->Handle(), window), ERROR);
    tk::OwnedRegion reference(BuildRegionPerPixel(imagebutton::ViewOf(none), b->TransparentColor()));
    EXPECT_TRUE(EqualRgn(window, reference.get()));
    DeleteObject(window);
}

TEST_F(ImageButtonTest, RegionIsBuiltOncePerChangeOfState) {
    TImageButton* b = Button(10, 10);
    vt::PumpFor(20);
    WindowSpy spy(b->Handle());

    MoveTo(*b, 20, 15);
    vt::PumpFor(20);  // the repaint SetWindowRgn asks for comes and goes
    EXPECT_EQ(spy.Shapes(), 1);
    EXPECT_EQ(b->RegionState(), TImageButton::bsOver);

    MoveTo(*b, 21, 15);  // same state
    const int paints = spy.Paints();
    RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_GT(spy.Paints(), paints) << "the window repainted";
    EXPECT_EQ(spy.Shapes(), 1);

    MoveTo(*b, -5, 15);  // off again
    vt::PumpFor(20);
    EXPECT_EQ(b->State(), TImageButton::bsNone);
    EXPECT_EQ(spy.Shapes(), 2);
}

TEST_F(ImageButtonTest, AssigningAPictureOrAColourReshapesAtOnce) {
    TImageButton* b = Button(10, 10);
    EXPECT_TRUE(InShape(*b, 2, 2));
    b->SetNoneBitmap(Face(40, 30, kNone, kKey, 10));  // rounder corners
    EXPECT_FALSE(InShape(*b, 2, 2));
    b->SetTransparentColor(kNone);  // the face goes, the corners stay
    EXPECT_TRUE(InShape(*b, 0, 0));
    EXPECT_FALSE(InShape(*b, 20, 15));
}

}  // namespace
}  // namespace ibt
