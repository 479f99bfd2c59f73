// TTimer: a component that calls OnTimer every Interval milliseconds while
// Enabled, on the program's one thread. OnTimer may free the timer itself.
#pragma once

#include <memory>

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

    // ---- Message handlers ----
    void WMTimer(TMessage& message);

private:
    void WndProc(TMessage& message);
    void UpdateTimer();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    HWND FWindow = nullptr;
    // Cleared when the timer is freed, so an expiry that freed it stops
    // touching it.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
