// TTimer: a component that calls OnTimer every Interval milliseconds while
// Enabled, on the program's one thread. OnTimer may free the timer itself.
//
// The timer runs on Clock() (classlib/core/clock.h), the clock in place
// when it starts: a test that puts a TManualClock in place steps every
// TTimer started meanwhile, those inside components included, with
// TManualClock::Advance.
#pragma once

#include <memory>

#include "classlib/core/clock.h"
#include "classlib/ui/controls.h"

class TTimer : public TComponent {
    QL_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned interval);
    TNotifyEvent OnTimer;
    void SetOnTimer(const TNotifyEvent& handler);

    // Calls OnTimer as an expiry does (for tests that step time).
    void Fire();
    void Loaded() override {
        TComponent::Loaded();
        UpdateTimer();
    }

protected:
    virtual void Timer();

private:
    void Tick();
    void UpdateTimer();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    std::unique_ptr<IClockTimer> FClockTimer;
    // Cleared when the timer is freed, so an expiry that freed it stops
    // touching it.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
