// TTimer on the clock seam: stepped by a manual clock in tests, on window
// timers of the system clock otherwise.
#include <gtest/gtest.h>

#include "classlib/core/scopes.h"
#include "classlib/ui/forms.h"
#include "classlib/ui/systemclock.h"
#include "classlib/ui/timers.h"

namespace {

// A component that owns timers the way a glow button does: a fade timer it
// frees on its last step, a repeat timer that slows down after its first
// tick.
class TTimedThing : public TComponent {
public:
    explicit TTimedThing(TComponent* owner) : TComponent(owner) {}
    TTimer* Fade = nullptr;
    TTimer* Repeat = nullptr;
    int Glow = 0;
    std::vector<TClockTicks> Clicks;

    void StartFade() {
        if (!Fade) {
            Fade = new TTimer(this);
            Fade->SetInterval(30);
            Fade->SetOnTimer(TNotifyEvent::Bind<&TTimedThing::FadeTick>(this));
        }
    }
    void FadeTick(TObject*) {
        Glow += 20;
        if (Glow >= 100) FreeAndNil(Fade);
    }
    void StartRepeat() {
        Repeat = new TTimer(this);
        Repeat->SetInterval(400);
        Repeat->SetOnTimer(TNotifyEvent::Bind<&TTimedThing::RepeatTick>(this));
    }
    void RepeatTick(TObject*) {
        Repeat->SetInterval(100);
        Clicks.push_back(Clock().Now());
    }
};

class ManualTimerTest : public ::testing::Test {
protected:
    TManualClock clock{0};
    TClockScope scope{clock};
    TTimedThing* thing = new TTimedThing(nullptr);
    void TearDown() override { delete thing; }
};

TEST_F(ManualTimerTest, AComponentsTimerIsSteppedByTheClockAndMayFreeItselfInItsHandler) {
    thing->StartFade();
    EXPECT_EQ(clock.TimerCount(), 1);
    clock.Advance(29);
    EXPECT_EQ(thing->Glow, 0);
    clock.Advance(1);
    EXPECT_EQ(thing->Glow, 20);
    clock.Advance(1000);
    EXPECT_EQ(thing->Glow, 100);  // the fifth step freed the timer: no sixth
    EXPECT_EQ(thing->Fade, nullptr);
    EXPECT_EQ(clock.TimerCount(), 0);
    EXPECT_EQ(clock.Now(), 1030u);
}

TEST_F(ManualTimerTest, AnIntervalChangedInTheHandlerCountsFromThatTick) {
    thing->StartRepeat();
    clock.Advance(700);
    EXPECT_EQ(thing->Clicks, (std::vector<TClockTicks>{400, 500, 600, 700}));
    thing->Repeat->SetEnabled(false);
    clock.Advance(1000);
    EXPECT_EQ(thing->Clicks.size(), 4u);
    EXPECT_EQ(clock.TimerCount(), 0);
}

TEST_F(ManualTimerTest, OnlyAnEnabledTimerWithAHandlerAndAnIntervalRuns) {
    auto* timer = new TTimer(thing);
    EXPECT_EQ(clock.TimerCount(), 0);  // no handler yet
    timer->SetOnTimer(TNotifyEvent::Bind<&TTimedThing::FadeTick>(thing));
    EXPECT_EQ(clock.TimerCount(), 1);
    timer->SetInterval(0);
    EXPECT_EQ(clock.TimerCount(), 0);
    timer->SetInterval(50);
    timer->SetEnabled(false);
    clock.Advance(200);
    EXPECT_EQ(thing->Glow, 0);
    timer->SetEnabled(true);
    clock.Advance(100);
    EXPECT_EQ(thing->Glow, 40);
    delete timer;
    EXPECT_EQ(clock.TimerCount(), 0);
}

TEST_F(ManualTimerTest, AnExceptionInTheHandlerGoesToTheApplicationNamingTheTimer) {
    struct TCatcher : TObject {
        std::vector<std::pair<TObject*, String>> Seen;
        void Caught(TObject* sender, const Exception& e) { Seen.push_back({sender, e.Message()}); }
        void Fail(TObject*) { throw EInvalidOperation("tick failed"); }
    } catcher;
    TTempChange handler(Application->OnException, TExceptionEvent::Bind<&TCatcher::Caught>(&catcher));
    auto* timer = new TTimer(thing);
    timer->SetInterval(10);
    timer->SetOnTimer(TNotifyEvent::Bind<&TCatcher::Fail>(&catcher));
    clock.Advance(20);
    ASSERT_EQ(catcher.Seen.size(), 2u);  // and the timer goes on
    EXPECT_EQ(catcher.Seen[0].first, timer);
    EXPECT_EQ(catcher.Seen[0].second, "tick failed");
}

// A timer started on the system clock stays there when a test clock comes.
TEST(SystemClockTimer, ATimerKeepsTheClockItStartedOn) {
    TTimedThing thing(nullptr);
    thing.StartFade();
    TManualClock clock;
    {
        TClockScope scope(clock);
        clock.Advance(1000);
        EXPECT_EQ(thing.Glow, 0);
        EXPECT_EQ(clock.TimerCount(), 0);
    }
    const TClockTicks start = Clock().Now();
    while (thing.Fade && Clock().Now() - start < 5000) Application->HandleMessage();
    EXPECT_EQ(thing.Glow, 100);
    EXPECT_EQ(SystemClock().TimerCount(), 0);
}

TEST(SystemClock, IsTheClockInPlaceAndCountsTheSystemsTicks) {
    EXPECT_EQ(&Clock(), &SystemClock());
    const TClockTicks before = GetTickCount64();
    const TClockTicks now = Clock().Now();
    EXPECT_GE(now, before);
    EXPECT_LE(now - before, 1000u);
}

TEST(SystemClock, AStoppedTimerFiresNoMoreEvenWithItsMessageQueued) {
    int ticks = 0;
    std::unique_ptr<IClockTimer> timer = SystemClock().StartTimer(10, [&] { ++ticks; });
    const TClockTicks start = Clock().Now();
    while (ticks == 0 && Clock().Now() - start < 5000) Application->HandleMessage();
    ASSERT_EQ(ticks, 1);
    // Let the next expiry come due, then stop the timer before it is handled.
    Sleep(30);
    timer.reset();
    Application->ProcessMessages();
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(SystemClock().TimerCount(), 0);
}

}  // namespace
