#include "classlib/ui/systemclock.h"

#include "classlib/ui/forms.h"

class TSystemClock::TTimer : public IClockTimer {
public:
    TTimer(TSystemClock* clock, UINT_PTR id) : FClock(clock), FId(id) {}
    ~TTimer() override { FClock->Stop(FId); }

private:
    TSystemClock* FClock;
    UINT_PTR FId;
};

TSystemClock& SystemClock() {
    // Never destroyed: timers of objects freed at exit may still stop on it.
    static TSystemClock* clock = new TSystemClock;
    return *clock;
}

TClockTicks TSystemClock::Now() { return GetTickCount64(); }

void TSystemClock::Pause(unsigned ms) { Sleep(ms); }

std::unique_ptr<IClockTimer> TSystemClock::StartTimer(unsigned interval, TClockTimerProc callback) {
    if (!FWindow) FWindow = AllocateHWnd(TWndMethod::Bind<&TSystemClock::WndProc>(this));
    // Ids are never used twice, so a WM_TIMER still queued for a stopped
    // timer finds nothing.
    const UINT_PTR id = FNextId++;
    if (!SetTimer(FWindow, id, interval, nullptr)) throw EOutOfResources("Not enough timers available");
    FTimers[id] = std::make_shared<TClockTimerProc>(std::move(callback));
    return std::make_unique<TTimer>(this, id);
}

void TSystemClock::Stop(UINT_PTR id) {
    if (FTimers.erase(id) && FWindow) KillTimer(FWindow, id);
}

void TSystemClock::ReleaseWindow() {
    for (const auto& timer : FTimers) KillTimer(FWindow, timer.first);
    FTimers.clear();
    HWND window = FWindow;
    FWindow = nullptr;
    DeallocateHWnd(window);
}

void TSystemClock::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_TIMER: return WMTimer(m);
    default: m.Result = DefWindowProcA(FWindow, m.Msg, m.WParam, m.LParam);
    }
}

void TSystemClock::WMTimer(TMessage& m) {
    auto it = FTimers.find(m.WParam);
    if (it == FTimers.end()) return;
    // Held here: the callback may stop its own timer.
    std::shared_ptr<TClockTimerProc> callback = it->second;
    try {
        (*callback)();
    } catch (...) {
        if (Application) Application->HandleException(nullptr);
    }
}
