// Timer: SetTimer on one hidden message window that the toolkit's timers share.
#include "toolkit/Timer.h"

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Layout.h"

#include <map>

namespace tk {

namespace {

const char kTimerWindowClass[] = "VexlarTimerWindow";

// Live timers by their SetTimer id: a WM_TIMER already queued for a timer that has been
// destroyed since finds nothing here.
std::map<UINT_PTR, Timer*>& LiveTimers() {
    static std::map<UINT_PTR, Timer*> timers;
    return timers;
}

UINT_PTR NextTimerId() {
    static UINT_PTR next = 0;
    return ++next;
}

HWND TimerWindow(WNDPROC proc) {
    static HWND window = nullptr;
    if (!window || !IsWindow(window)) window = CreateHelperWindow(kTimerWindowClass, proc);
    return window;
}

}  // namespace

LRESULT CALLBACK Timer::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_TIMER) return DefWindowProcA(hwnd, msg, wp, lp);
    auto& timers = LiveTimers();
    auto it = timers.find(static_cast<UINT_PTR>(wp));
    if (it == timers.end()) return 0;
    Timer* timer = it->second;
    if (!timer->OnTimer) return 0;
    try {
        // A copy: the handler may free the timer or replace its handler.
        std::function<void(Component*)> handler = timer->OnTimer;
        handler(timer);
    } catch (const std::exception& e) {
        App().HandleException(e);
    } catch (...) {
        App().HandleException();
    }
    return 0;
}

Timer::Timer(Component* owner) : Component(owner), id_(NextTimerId()) {
    LiveTimers()[id_] = this;
    Update();
}

Timer::~Timer() {
    if (running_) KillTimer(TimerWindow(&WindowProc), id_);
    LiveTimers().erase(id_);
}

void Timer::SetEnabled(bool enabled) {
    if (Change(enabled_, enabled)) Update();
}

void Timer::SetInterval(uint32_t ms) {
    if (Change(interval_, ms)) Update();
}

// Stops the system timer and starts it afresh when it should run: every start is a full interval.
void Timer::Update() {
    HWND window = TimerWindow(&WindowProc);
    if (running_) {
        KillTimer(window, id_);
        running_ = false;
    }
    if (enabled_ && interval_ > 0 && window) {
        running_ = SetTimer(window, id_, interval_, nullptr) != 0;
    }
}

const ClassInfo& Timer::StaticInfo() {
    static const ClassInfo info{
        "TTimer",
        &Component::StaticInfo(),
        {
            BoolProperty<Timer>("Enabled", &Timer::Enabled, &Timer::SetEnabled, true),
            Property<Timer>(
                "Interval",
                [](Timer& t, const LayoutValue& v) {
                    int64_t ms = IntValue(v);
                    if (ms < 0 || ms > 0x7FFFFFFF) throw LayoutValueError("interval out of range");
                    t.SetInterval(static_cast<uint32_t>(ms));
                },
                [](const Timer& t) { return LayoutValue::Int(t.Interval()); }, LayoutValue::Int(1000)),
            EventProperty<Timer>("OnTimer", &Timer::OnTimer, &EventMethods::notify),
        },
        [](Component* owner) { return std::make_unique<Timer>(owner); }};
    return info;
}

}  // namespace tk
