// Buttons with a group index latch like radio buttons among the controls of one parent.
#include "tests/windows/imagebutton/ImageButtonFixture.h"

#include "toolkit/StdControls.h"

namespace ibt {
namespace {

class ImageButtonGroupTest : public ImageButtonTest {
protected:
    void SetUp() override {
        ImageButtonTest::SetUp();
        for (int i = 0; i < 3; ++i) {
            b_[i] = Button(10 + 50 * i, 10);
            b_[i]->SetGroupIndex(1);
        }
        loose_ = Button(10, 60);
        loose_->SetGroupIndex(2);
        panel_ = static_cast<tk::Panel*>(form_->Adopt(std::make_unique<tk::Panel>(form_.get())));
        panel_->SetBounds(10, 110, 200, 60);
        panel_->SetParent(form_.get());
        other_ = Button(5, 5, 40, 30, panel_);
        other_->SetGroupIndex(1);
    }
    TImageButton* b_[3] = {};
    TImageButton* loose_ = nullptr;  // another group, same parent
    TImageButton* other_ = nullptr;  // same group, other parent
    tk::Panel* panel_ = nullptr;
};

TEST_F(ImageButtonGroupTest, ClickLatchesAndReleasesTheOtherMembersOfTheParent) {
    other_->SetDown(true);
    loose_->SetDown(true);

    MouseClick(*b_[0]);
    EXPECT_TRUE(b_[0]->Down());
    EXPECT_EQ(b_[0]->State(), TImageButton::bsDown);  // latched, even with the pointer on it
    MouseClick(*b_[0]);  // clicking the latched one keeps it down
    EXPECT_TRUE(b_[0]->Down());

    MouseClick(*b_[1]);
    EXPECT_TRUE(b_[1]->Down());
    EXPECT_FALSE(b_[0]->Down());
    EXPECT_EQ(b_[0]->State(), TImageButton::bsNone);
    EXPECT_EQ(Middle(*b_[0]), kNone);
    EXPECT_TRUE(other_->Down());  // under another parent
    EXPECT_TRUE(loose_->Down());  // in another group

    // Without AllowAllUp the latched one cannot be released by itself, and it draws nothing.
    vt::PumpFor(20);
    Scribble(b_[1]->Handle(), RGB(255, 0, 0));
    vt::PumpFor(20);
    ASSERT_EQ(OnScreen(b_[1]->Handle(), 20, 15), RGB(255, 0, 0));
    b_[1]->SetDown(false);
    EXPECT_TRUE(b_[1]->Down());
    vt::PumpFor(20);
    EXPECT_EQ(OnScreen(b_[1]->Handle(), 20, 15), RGB(255, 0, 0));
}

TEST_F(ImageButtonGroupTest, AllowAllUpTogglesAndIsHandedToTheWholeGroup) {
    b_[2]->SetAllowAllUp(true);
    EXPECT_TRUE(b_[0]->AllowAllUp());
    EXPECT_TRUE(b_[1]->AllowAllUp());
    EXPECT_FALSE(other_->AllowAllUp());
    EXPECT_FALSE(loose_->AllowAllUp());

    MouseClick(*b_[0]);
    EXPECT_TRUE(b_[0]->Down());
    MouseClick(*b_[0]);
    EXPECT_FALSE(b_[0]->Down());
    EXPECT_EQ(b_[0]->State(), TImageButton::bsOver);  // the release decides: pointer still on it
    for (TImageButton* b : b_) EXPECT_FALSE(b->Down());

    b_[1]->SetDown(true);
    b_[1]->SetDown(false);
    EXPECT_FALSE(b_[1]->Down());

    // And back: one member turning it off turns it off for all.
    b_[0]->SetAllowAllUp(false);
    for (TImageButton* b : b_) EXPECT_FALSE(b->AllowAllUp());
    b_[1]->SetDown(true);
    b_[1]->SetDown(false);
    EXPECT_TRUE(b_[1]->Down());
}

TEST_F(ImageButtonGroupTest, JoiningAGroupHandsItsAllowAllUpOver) {
    b_[0]->SetAllowAllUp(true);
    loose_->SetGroupIndex(1);  // the newcomer notifies with its own value, False
    for (TImageButton* b : b_) EXPECT_FALSE(b->AllowAllUp());
}

TEST_F(ImageButtonGroupTest, GroupIndexZeroReleasesAndReturnsTheLookAtOnce) {
    b_[0]->SetDown(true);
    vt::PumpFor(20);
    WindowSpy spy(b_[0]->Handle());
    b_[0]->SetGroupIndex(0);
    EXPECT_FALSE(b_[0]->Down());
    EXPECT_EQ(b_[0]->State(), TImageButton::bsNone);
    EXPECT_EQ(Middle(*b_[0]), kNone);
    EXPECT_EQ(spy.Shapes(), 1);
    b_[0]->SetDown(true);
    EXPECT_FALSE(b_[0]->Down());
    WindowSpy idle(b_[2]->Handle());
    b_[2]->SetGroupIndex(0);  // not down: the same look, and a new shape all the same
    EXPECT_EQ(idle.Shapes(), 1);

    // No longer a member: the others latch without touching it.
    MouseClick(*b_[1]);
    EXPECT_TRUE(b_[1]->Down());
}

TEST_F(ImageButtonGroupTest, OnlyImageButtonsOfTheParentAreTakenAsSenders) {
    b_[0]->SetDown(true);
    b_[1]->SetAllowAllUp(true);  // nothing happened yet: b_[0] stays down
    EXPECT_TRUE(b_[0]->Down());
    // A group message naming a button of another parent is ignored.
    other_->SetDown(true);
    SendMessageA(b_[0]->Handle(), CM_BUTTONPRESSED, 1, reinterpret_cast<LPARAM>(other_));
    EXPECT_TRUE(b_[0]->Down());
    // The same message from a sibling releases it.
    b_[2]->SetDown(true);
    EXPECT_FALSE(b_[0]->Down());
    SendMessageA(b_[2]->Handle(), CM_BUTTONPRESSED, 1, static_cast<LPARAM>(12345));
    EXPECT_TRUE(b_[2]->Down());
}

}  // namespace
}  // namespace ibt
