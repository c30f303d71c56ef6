// Timer ticks (also inside modal boxes, restart on re-enable) and popup menus, real and scripted.
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/Layout.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/Timer.h"

#include "tests/windows/support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

TEST(Timer, TicksEveryIntervalWhileEnabled) {
    tk::Timer timer;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    int ticks = 0;
    tk::Component* sender = nullptr;
    timer.OnTimer = [&](tk::Component* s) { ++ticks; sender = s; };
    timer.SetInterval(30);
    EXPECT_TRUE(vt::PumpUntil([&] { return ticks >= 3; }, 3000));
    EXPECT_EQ(sender, &timer);

    timer.SetEnabled(false);
    vt::PumpFor(50);  // a tick already queued may still come
    int stopped = ticks;
    vt::PumpFor(150);
    EXPECT_EQ(ticks, stopped);
}

TEST(Timer, TimerAndMenuItemsBindTheirHandlersByNameAsControlsDo) {
    tk::Form form;
    int ticks = 0, picks = 0;
    form.Methods().notify["Timer1Timer"] = [&](tk::Component*) { ++ticks; };
    form.Methods().notify["Add1Click"] = [&](tk::Component*) { ++picks; };
    const std::string text =
        "object Form1: TForm\n"
        "  object Timer1: TTimer\n"
        "    Enabled = False\n"
        "    OnTimer = Timer1Timer\n"
        "  end\n"
        "  object PopupMenu1: TPopupMenu\n"
        "    object Add1: TMenuItem\n"
        "      Caption = 'Add...'\n"
        "      OnClick = Add1Click\n"
        "    end\n"
        "  end\n"
        "end\n";
    tk::LayoutResult r = tk::LoadLayout(form, text, nullptr);
    ASSERT_TRUE(r) << r.message;
    tk::Find<tk::Timer>(form, "Timer1")->OnTimer(&form);
    tk::Find<tk::MenuItem>(form, "Add1")->Click();
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(picks, 1);
    const std::string saved = tk::SaveComponent(form);
    EXPECT_NE(saved.find("    OnTimer = Timer1Timer\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("      OnClick = Add1Click\n"), std::string::npos) << saved;

    tk::Form other;  // registers nothing
    EXPECT_FALSE(tk::LoadLayout(other, text, nullptr));
}

TEST(Timer, TicksWhileAModalBoxRunsItsOwnLoop) {
    tk::Timer timer;
    timer.SetInterval(40);
    std::atomic<int> ticks{0};
    timer.OnTimer = [&](tk::Component*) { ++ticks; };
    int ticksWhileBoxUp = -1;
    vt::DialogAnswerer answer({.title = "Error", .delayMs = 400, .inspect = [&](HWND) { ticksWhileBoxUp = ticks; }});
    int before = ticks;
    tk::ShowErrorBox("busy");
    ASSERT_EQ(answer.Count(), 1u);
    EXPECT_GE(ticksWhileBoxUp - before, 3);
}

TEST(Timer, DisablingAndEnablingAgainStartsAFullInterval) {
    tk::Timer timer;
    timer.SetEnabled(false);
    timer.SetInterval(400);
    Clock::time_point tick{};
    int ticks = 0;
    timer.OnTimer = [&](tk::Component*) {
        if (ticks++ == 0) tick = Clock::now();
    };
    timer.SetEnabled(true);
    vt::PumpFor(250);
    ASSERT_EQ(ticks, 0);
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    Clock::time_point restarted = Clock::now();
    ASSERT_TRUE(vt::PumpUntil([&] { return ticks > 0; }, 3000));
    // The old interval would have ended about 150 ms after the restart.
    EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(tick - restarted).count(), 330);
}

TEST(Timer, EnablingAnEnabledTimerKeepsItsInterval) {
    tk::Timer timer;
    timer.SetInterval(600);
    int ticks = 0;
    timer.OnTimer = [&](tk::Component*) { ++ticks; };
    Clock::time_point start = Clock::now();
    vt::PumpFor(300);
    timer.SetEnabled(true);
    ASSERT_TRUE(vt::PumpUntil([&] { return ticks > 0; }, 3000));
    EXPECT_LT(MsSince(start), 850);  // a restart would have put the tick at 900 ms
}

TEST(Timer, ATimerFreedWithATickPendingIsSilent) {
    int ticks = 0;
    {
        tk::Timer timer;
        timer.SetInterval(10);
        timer.OnTimer = [&](tk::Component*) { ++ticks; };
        Sleep(60);  // the tick is due now, not yet dispatched
    }
    vt::PumpFor(100);
    EXPECT_EQ(ticks, 0);
}

TEST(Timer, AHandlerMayFreeItsTimer) {
    auto timer = std::make_unique<tk::Timer>();
    timer->SetInterval(20);
    int ticks = 0;
    timer->OnTimer = [&](tk::Component*) {
        ++ticks;
        timer.reset();
    };
    vt::PumpFor(200);
    EXPECT_EQ(ticks, 1);
}

// --- PopupMenu --------------------------------------------------------------------------------

class PopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto add = [&](const char* name, const char* caption) {
            auto item = std::make_unique<tk::MenuItem>(&form_);
            item->SetName(name);
            item->SetCaption(caption);
            tk::MenuItem* raw = item.get();
            form_.Adopt(std::move(item));
            raw->SetParentComponent(&menu_);
            raw->OnClick = [this, name](tk::Component* sender) {
                clicks_.push_back(name);
                senders_.push_back(sender);
            };
            return raw;
        };
        contents_ = add("Contents1", "&Contents");
        about_ = add("AboutVexlar1", "&About Vexlar GVI Converter...");
        add("MenuItem1", "-");
        add("VisitVexlarWebSite1", "&Visit Vexlar Web Site ->");
    }

    // Waits on a helper thread for the menu window, notes where it is, then posts the keys.
    std::thread Drive(std::vector<std::pair<UINT, WPARAM>> keys) {
        return std::thread([this, keys] {
            HWND menu = nullptr;
            for (int i = 0; i < 300 && !menu; ++i) {
                HWND w = FindWindowA("#32768", nullptr);
                if (w && IsWindowVisible(w)) menu = w;
                else Sleep(10);
            }
            if (!menu) return;
            GetWindowRect(menu, &menuRect_);
            menuFound_ = true;
            for (auto [msg, key] : keys) {
                PostMessageA(menu, msg, key, 0);
                Sleep(30);
            }
        });
    }

    tk::Component form_;
    tk::PopupMenu menu_{&form_};
    tk::MenuItem* contents_ = nullptr;
    tk::MenuItem* about_ = nullptr;
    std::vector<std::string> clicks_;
    std::vector<tk::Component*> senders_;
    RECT menuRect_{};
    std::atomic<bool> menuFound_{false};
};

TEST_F(PopupMenuTest, ItemsCanBeClickedWithoutShowingTheMenu) {
    ASSERT_EQ(menu_.Items().size(), 4u);
    EXPECT_TRUE(menu_.Items()[2]->IsSeparator());
    menu_.Items()[1]->Click();
    EXPECT_EQ(clicks_, std::vector<std::string>{"AboutVexlar1"});
    EXPECT_EQ(senders_, std::vector<tk::Component*>{about_});
    tk::MenuItem bare;
    bare.Click();  // no handler: nothing happens
}

TEST_F(PopupMenuTest, FreedItemsLeaveTheMenu) {
    auto extra = std::make_unique<tk::MenuItem>();
    extra->SetParentComponent(&menu_);
    EXPECT_EQ(menu_.Items().size(), 5u);
    extra.reset();
    EXPECT_EQ(menu_.Items().size(), 4u);
    {
        auto sub = std::make_unique<tk::PopupMenu>();
        tk::MenuItem orphan;
        orphan.SetParentComponent(sub.get());
        sub.reset();
        EXPECT_EQ(orphan.Parent(), nullptr);
    }
}

TEST_F(PopupMenuTest, RealMenuOpensAtThePointAndRunsTheChosenItem) {
    std::thread driver = Drive({{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN}});
    menu_.Popup(200, 150);
    driver.join();
    ASSERT_TRUE(menuFound_);
    EXPECT_EQ(menuRect_.left, 200);
    EXPECT_EQ(menuRect_.top, 150);
    EXPECT_EQ(clicks_, std::vector<std::string>{"AboutVexlar1"});
    EXPECT_EQ(senders_, std::vector<tk::Component*>{about_});
}

TEST_F(PopupMenuTest, SeparatorsAreSkippedAndMnemonicsChoose) {
    std::thread driver = Drive({{WM_CHAR, 'v'}});
    menu_.Popup(10, 10);
    driver.join();
    ASSERT_TRUE(menuFound_);
    EXPECT_EQ(clicks_, std::vector<std::string>{"VisitVexlarWebSite1"});
}

TEST_F(PopupMenuTest, EscapeClosesTheMenuWithoutAChoice) {
    std::thread driver = Drive({{WM_KEYDOWN, VK_ESCAPE}});
    menu_.Popup(50, 60);
    driver.join();
    EXPECT_TRUE(menuFound_);
    EXPECT_TRUE(clicks_.empty());
}

TEST_F(PopupMenuTest, DisabledItemsCannotBeChosen) {
    about_->SetEnabled(false);
    std::thread driver = Drive({{WM_CHAR, 'a'}, {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYDOWN, VK_ESCAPE}});
    menu_.Popup(50, 60);
    driver.join();
    EXPECT_TRUE(clicks_.empty());
}

}  // namespace
