// The program's clock: the system's tick count, window timers on one hidden
// window of the class library, and Sleep. The visual class library puts it
// in place (Clock()) when it starts; a test puts a TManualClock in front of
// it with TClockScope and steps the components' timers itself.
#pragma once

#include <map>
#include <memory>

#include "classlib/core/clock.h"
#include "classlib/ui/controls.h"

class TSystemClock : public TObject, public IClock {
public:
    TSystemClock() = default;

    // GetTickCount64: no wrap after 49 days.
    TClockTicks Now() override;
    // A window timer (SetTimer); its WM_TIMER calls callback inside the
    // message loop. An exception from the callback goes to the
    // application's handler. Raises EOutOfResources when the system has no
    // timer left.
    std::unique_ptr<IClockTimer> StartTimer(unsigned interval, TClockTimerProc callback) override;
    void Pause(unsigned ms) override;

    // Destroys the timers' window (the class library's finalisation); the
    // timers still running stop.
    void ReleaseWindow();
    int TimerCount() const { return int(FTimers.size()); }

private:
    class TTimer;
    void WndProc(TMessage& message);
    void WMTimer(TMessage& message);
    void Stop(UINT_PTR id);

    HWND FWindow = nullptr;
    UINT_PTR FNextId = 1;
    std::map<UINT_PTR, std::shared_ptr<TClockTimerProc>> FTimers;
};

TSystemClock& SystemClock();
