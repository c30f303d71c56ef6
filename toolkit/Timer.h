// Timer: a component that calls OnTimer every Interval milliseconds on the user-interface thread.
#pragma once

#include "toolkit/Component.h"

#include <windows.h>

#include <cstdint>
#include <functional>

namespace tk {

// Ticks come from SetTimer on a hidden message window of the toolkit, so they also arrive while
// a modal box runs its own message loop (a handler that shows one must guard itself).
class Timer : public Component {
public:
    explicit Timer(Component* owner = nullptr);
    ~Timer() override;

    bool Enabled() const { return enabled_; }
    // Turning a disabled timer on starts a full interval from now; setting the same value again
    // changes nothing.
    void SetEnabled(bool enabled);

    uint32_t Interval() const { return interval_; }
    // A new interval restarts a running timer; 0 stops the ticks while keeping Enabled.
    void SetInterval(uint32_t ms);

    std::function<void(Component* sender)> OnTimer;

    static const ClassInfo& StaticInfo();
    const ClassInfo& Info() const override { return StaticInfo(); }

private:
    void Update();
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

    bool enabled_ = true;
    uint32_t interval_ = 1000;
    UINT_PTR id_ = 0;
    bool running_ = false;
};

}  // namespace tk
