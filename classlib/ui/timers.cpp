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

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    FWindow = AllocateHWnd(TWndMethod::Bind<&TTimer::WndProc>(this));
}

TTimer::~TTimer() {
    *FAlive = false;
    FEnabled = false;
    UpdateTimer();
    DeallocateHWnd(FWindow);
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
    KillTimer(FWindow, 1);
    if (FEnabled && FInterval != 0 && OnTimer && !IsLoading())
        if (!SetTimer(FWindow, 1, FInterval, nullptr)) throw EOutOfResources("Not enough timers available");
}

void TTimer::Fire() { Timer(); }

void TTimer::Timer() { OnTimer(this); }

void TTimer::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_TIMER:
        return WMTimer(m);
    default:
        m.Result = DefWindowProcA(FWindow, m.Msg, m.WParam, m.LParam);
        return;
    }
}

void TTimer::WMTimer(TMessage&) {
    std::shared_ptr<bool> alive = FAlive;
    // No exception may pass back into the system.
    try {
        Timer();
    } catch (...) {
        if (*alive && Application)
            Application->HandleException(this);
        else if (Application)
            Application->HandleException(nullptr);
    }
    // The handler may have freed this timer: touch nothing after it.
}
