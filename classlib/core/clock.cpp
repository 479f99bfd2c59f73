#include "classlib/core/clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "classlib/core/exceptions.h"
#include "classlib/core/scopes.h"

namespace {

// Time from the steady clock; no timers, since nothing here runs a message
// loop to fire them.
class TPortableClock : public IClock {
public:
    TClockTicks Now() override {
        using namespace std::chrono;
        return TClockTicks(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    std::unique_ptr<IClockTimer> StartTimer(unsigned, TClockTimerProc) override {
        throw EInvalidOperation("Timers need the program's clock: the visual class library is not started");
    }
    void Pause(unsigned ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

IClock* GClock = nullptr;

}  // namespace

IClock& PortableClock() {
    static TPortableClock clock;
    return clock;
}

IClock& Clock() { return GClock ? *GClock : PortableClock(); }

IClock* SetClock(IClock* clock) {
    IClock* previous = GClock;
    GClock = clock == &PortableClock() ? nullptr : clock;
    return previous;
}

// ---- TManualClock ---------------------------------------------------------------

class TManualClock::TTimer : public IClockTimer {
public:
    TTimer(TManualClock* clock, std::uint64_t id) : FClock(clock), FId(id) {}
    ~TTimer() override {
        if (FClock) FClock->Stop(FId);
    }
    TManualClock* FClock;
    std::uint64_t FId;
};

TManualClock::~TManualClock() {
    for (TEntry& e : FTimers) e.Handle->FClock = nullptr;
}

std::unique_ptr<IClockTimer> TManualClock::StartTimer(unsigned interval, TClockTimerProc callback) {
    std::uint64_t id = FNextId++;
    auto handle = std::make_unique<TTimer>(this, id);
    interval = std::max(interval, 1u);
    FTimers.push_back(
        {id, FNow + interval, interval, std::make_shared<TClockTimerProc>(std::move(callback)), handle.get(), false});
    return handle;
}

TManualClock::TEntry* TManualClock::Find(std::uint64_t id) {
    for (TEntry& e : FTimers)
        if (e.Id == id) return &e;
    return nullptr;
}

void TManualClock::Stop(std::uint64_t id) {
    std::erase_if(FTimers, [id](const TEntry& e) { return e.Id == id; });
}

void TManualClock::Pause(unsigned ms) {
    FPaused += ms;
    Advance(ms);
}

void TManualClock::Advance(TClockTicks ms) {
    const TClockTicks target = FNow + ms;
    for (;;) {
        // The next expiry: the earliest due time, then the earliest started.
        TEntry* next = nullptr;
        for (TEntry& e : FTimers)
            if (!e.Firing && e.Due <= target && (!next || e.Due < next->Due)) next = &e;
        if (!next) break;
        // A pause inside an earlier callback may have moved time past this
        // expiry; time never goes back.
        FNow = std::max(FNow, next->Due);
        // Expiries missed meanwhile fold into this one, as window timers'
        // messages do.
        next->Due += ((FNow - next->Due) / next->Interval + 1) * next->Interval;
        next->Firing = true;
        const std::uint64_t id = next->Id;
        // Held here: the callback may stop its own timer, which drops the
        // clock's reference.
        std::shared_ptr<TClockTimerProc> callback = next->Callback;
        TScopeExit done([this, id] {
            if (TEntry* e = Find(id)) e->Firing = false;
        });
        (*callback)();
    }
    FNow = std::max(FNow, target);
}
