// The clock that time-driven behaviour reads: the time now, repeating timers
// and pauses inside a handler (fades, auto-repeat, hover glow, collapse
// animations). Everything that waits or counts time goes through Clock(),
// so that a test can put a TManualClock in its place and step time instead
// of sleeping:
//
//   TManualClock clock;
//   TClockScope useIt(clock);      // Clock() is the manual clock until the scope ends
//   button->MouseEnter();          // starts a 30 ms fade timer on Clock()
//   clock.Advance(30);             // the first fade step runs, in this call
//
// The program's own clock (the system's tick count and window timers) is in
// classlib/ui/systemclock.h; the visual class library puts it in place when
// it starts. Without it, Clock() is a portable clock that tells the time and
// pauses but has no timers (there is no message loop to run them).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Milliseconds from an arbitrary start.
using TClockTicks = std::uint64_t;
using TClockTimerProc = std::function<void()>;

// A running timer of a clock. Destroying it stops the timer; that may happen
// inside its own callback (a button frees its fade timer from the timer's
// tick). It may outlive its clock, and then does nothing.
class IClockTimer {
public:
    virtual ~IClockTimer() = default;
};

class IClock {
public:
    virtual ~IClock() = default;
    // The time now.
    virtual TClockTicks Now() = 0;
    // Calls callback every interval milliseconds (0 counts as 1) on the
    // program's thread until the returned timer is destroyed. Starting again
    // (a new interval) is destroying the timer and starting a new one.
    virtual std::unique_ptr<IClockTimer> StartTimer(unsigned interval, TClockTimerProc callback) = 0;
    // Waits in the calling handler, as Sleep does: no message is handled.
    virtual void Pause(unsigned ms) = 0;
};

// The clock in place: the one a test installed, else the program's.
IClock& Clock();
// Puts clock in place (nullptr: the portable clock); returns the clock that
// was in place before, or nullptr when that was the portable clock.
IClock* SetClock(IClock* clock);
// The clock without timers that Clock() gives when none was put in place.
IClock& PortableClock();

// Puts a clock in place for the lifetime of the scope, and the one before
// back at its end.
class [[nodiscard]] TClockScope {
public:
    explicit TClockScope(IClock& clock) : FPrevious(SetClock(&clock)) {}
    ~TClockScope() { SetClock(FPrevious); }
    TClockScope(const TClockScope&) = delete;
    TClockScope& operator=(const TClockScope&) = delete;

private:
    IClock* FPrevious;
};

// A clock for tests: time stands still until Advance moves it on, and timers
// fire inside Advance, one expiry at a time, in the order they fall due
// (timers due at the same moment in the order they were started). The clock
// rereads its timers after every callback, so a callback may stop, start or
// restart any timer, its own included; a restarted timer counts its new
// interval from the moment it fired. A timer is never fired again while its
// own callback runs (a callback that pauses lets the other timers run), and
// the expiries it missed meanwhile fold into one, as window timers' do.
class TManualClock : public IClock {
public:
    explicit TManualClock(TClockTicks start = 0) : FNow(start) {}
    // Timers still running stop; their IClockTimer objects turn inert.
    ~TManualClock() override;
    TManualClock(const TManualClock&) = delete;
    TManualClock& operator=(const TManualClock&) = delete;

    TClockTicks Now() override { return FNow; }
    std::unique_ptr<IClockTimer> StartTimer(unsigned interval, TClockTimerProc callback) override;
    // A pause is time passing: the timers due meanwhile fire (their window
    // messages would be handled by the next message loop anyway), and the
    // length is added to PausedTime.
    void Pause(unsigned ms) override;

    // Moves time on by ms, firing every timer expiry on the way. An exception
    // from a callback leaves Advance with the clock at that expiry.
    void Advance(TClockTicks ms);
    // The number of timers running.
    int TimerCount() const { return int(FTimers.size()); }
    // All pauses added up.
    TClockTicks PausedTime() const { return FPaused; }

private:
    class TTimer;
    struct TEntry {
        std::uint64_t Id;
        TClockTicks Due;
        unsigned Interval;
        std::shared_ptr<TClockTimerProc> Callback;
        TTimer* Handle;
        bool Firing;
    };
    TEntry* Find(std::uint64_t id);
    void Stop(std::uint64_t id);

    TClockTicks FNow;
    TClockTicks FPaused = 0;
    std::uint64_t FNextId = 1;
    std::vector<TEntry> FTimers;  // in the order they were started
};
