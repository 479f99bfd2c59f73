#include "classlib/ui/timers.h"

#include "classlib/ui/forms.h"

TClass TTimer::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTimer>("TTimer")
                                       .Prop("Enabled", &TTimer::FEnabled, &TTimer::SetEnabled)
                                       .Default(true)
                                       .Prop("Interval", &TTimer::FInterval, &TTimer::SetInterval)
                                       .Default(1000u)
                                       .Prop("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer)
                                       .Build();
    return &info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
    *FAlive = false;
    FClockTimer.reset();
}

void TTimer::SetEnabled(bool enabled) {
    if (FEnabled == enabled) return;
    FEnabled = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned interval) {
    if (FInterval == interval) return;
    FInterval = interval;
    UpdateTimer();
}

void TTimer::SetOnTimer(const TNotifyEvent& handler) {
    OnTimer = handler;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    FClockTimer.reset();
    if (FEnabled && FInterval != 0 && OnTimer && !IsLoading())
        FClockTimer = Clock().StartTimer(FInterval, [this] { Tick(); });
}

void TTimer::Fire() { Timer(); }

void TTimer::Timer() { OnTimer(this); }

void TTimer::Tick() {
    std::shared_ptr<bool> alive = FAlive;
    try {
        Timer();
    } catch (...) {
        // The handler may have freed this timer: name it only while it lives.
        if (Application) Application->HandleException(*alive ? this : nullptr);
    }
}
