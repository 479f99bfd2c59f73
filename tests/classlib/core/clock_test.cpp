#include "classlib/core/clock.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/core/exceptions.h"

namespace {

// Records "name@time" for each expiry.
struct TLog {
    TManualClock* Clock;
    std::vector<std::string> Lines;
    TClockTimerProc Note(std::string name) {
        return [this, name] { Lines.push_back(name + "@" + std::to_string(Clock->Now())); };
    }
};

class ManualClockTest : public ::testing::Test {
protected:
    TManualClock clock{1000};
    TLog log{&clock, {}};
};

using Lines = std::vector<std::string>;

TEST_F(ManualClockTest, TimeStandsStillUntilAdvanced) {
    EXPECT_EQ(clock.Now(), 1000u);
    EXPECT_EQ(clock.Now(), 1000u);
    clock.Advance(25);
    EXPECT_EQ(clock.Now(), 1025u);
}

TEST_F(ManualClockTest, TimersFireInTheOrderTheyFallDueAtTheirOwnTime) {
    auto a = clock.StartTimer(30, log.Note("a"));
    auto b = clock.StartTimer(20, log.Note("b"));
    auto c = clock.StartTimer(60, log.Note("c"));
    clock.Advance(59);
    // a and b both fall due at 1060 (with c): the one started first goes first.
    EXPECT_EQ(log.Lines, (Lines{"b@1020", "a@1030", "b@1040"}));
    clock.Advance(1);
    EXPECT_EQ(log.Lines, (Lines{"b@1020", "a@1030", "b@1040", "a@1060", "b@1060", "c@1060"}));
    EXPECT_EQ(clock.Now(), 1060u);
}

TEST_F(ManualClockTest, AdvancingInSmallStepsFiresTheSameAsOneLongStep) {
    auto a = clock.StartTimer(7, log.Note("a"));
    for (int i = 0; i < 30; ++i) clock.Advance(1);
    Lines stepped = log.Lines;
    TManualClock other(1000);
    TLog otherLog{&other, {}};
    auto b = other.StartTimer(7, otherLog.Note("a"));
    other.Advance(30);
    EXPECT_EQ(stepped, otherLog.Lines);
    EXPECT_EQ(stepped.size(), 4u);
}

TEST_F(ManualClockTest, DestroyingTheTimerStopsIt) {
    auto a = clock.StartTimer(10, log.Note("a"));
    clock.Advance(10);
    a.reset();
    EXPECT_EQ(clock.TimerCount(), 0);
    clock.Advance(100);
    EXPECT_EQ(log.Lines, (Lines{"a@1010"}));
}

// A button's fade timer frees itself on its last step.
TEST_F(ManualClockTest, ATimerMayBeFreedInsideItsOwnCallback) {
    std::unique_ptr<IClockTimer> fade;
    int steps = 0;
    fade = clock.StartTimer(30, [&] {
        if (++steps == 3) fade.reset();
    });
    auto other = clock.StartTimer(50, log.Note("other"));
    clock.Advance(300);
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(fade, nullptr);
    EXPECT_EQ(clock.TimerCount(), 1);
    EXPECT_EQ(log.Lines.size(), 6u);
}

// Auto-repeat: the first expiry after 400 ms restarts the timer at 100 ms.
TEST_F(ManualClockTest, ATimerRestartedInsideItsCallbackCountsItsNewIntervalFromThen) {
    std::unique_ptr<IClockTimer> repeat;
    std::vector<TClockTicks> clicks;
    std::function<void()> tick = [&] {
        clicks.push_back(clock.Now());
        if (clicks.size() == 1) repeat = clock.StartTimer(100, tick);
    };
    repeat = clock.StartTimer(400, tick);
    clock.Advance(699);
    EXPECT_EQ(clicks, (std::vector<TClockTicks>{1400, 1500, 1600}));
    EXPECT_EQ(clock.TimerCount(), 1);
}

TEST_F(ManualClockTest, ACallbackMayStopAndStartOtherTimers) {
    std::unique_ptr<IClockTimer> b = clock.StartTimer(20, log.Note("b"));
    std::unique_ptr<IClockTimer> c;
    auto a = clock.StartTimer(10, [&] {
        log.Lines.push_back("a@" + std::to_string(clock.Now()));
        b.reset();
        if (!c) c = clock.StartTimer(5, log.Note("c"));
    });
    clock.Advance(20);
    EXPECT_EQ(log.Lines, (Lines{"a@1010", "c@1015", "a@1020", "c@1020"}));
}

// A collapse animation pauses between its steps inside one handler.
TEST_F(ManualClockTest, APauseMovesTimeOnAndLetsTheOtherTimersRun) {
    auto glow = clock.StartTimer(25, log.Note("glow"));
    std::vector<TClockTicks> steps;
    auto handler = clock.StartTimer(10, [&] {
        if (!steps.empty()) return;
        for (int i = 0; i < 3; ++i) {
            steps.push_back(clock.Now());
            clock.Pause(20);
        }
    });
    clock.Advance(10);
    EXPECT_EQ(steps, (std::vector<TClockTicks>{1010, 1030, 1050}));
    EXPECT_EQ(clock.PausedTime(), 60u);
    EXPECT_EQ(clock.Now(), 1070u);
    // The handler's own timer did not run again inside itself.
    EXPECT_EQ(log.Lines, (Lines{"glow@1025", "glow@1050"}));
}

TEST_F(ManualClockTest, TheExpiriesATimerMissedWhileItsCallbackPausedFoldIntoOne) {
    bool first = true;
    auto t = clock.StartTimer(10, [&] {
        log.Lines.push_back("t@" + std::to_string(clock.Now()));
        if (first) {
            first = false;
            clock.Pause(35);
        }
    });
    clock.Advance(10);
    EXPECT_EQ(clock.Now(), 1045u);
    clock.Advance(10);
    EXPECT_EQ(log.Lines, (Lines{"t@1010", "t@1045", "t@1050"}));
}

TEST_F(ManualClockTest, AnExceptionFromACallbackLeavesTheClockUsable) {
    int calls = 0;
    auto a = clock.StartTimer(10, [&] {
        if (++calls == 1) throw std::runtime_error("tick failed");
    });
    EXPECT_THROW(clock.Advance(50), std::runtime_error);
    EXPECT_EQ(clock.Now(), 1010u);
    clock.Advance(40);
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(clock.Now(), 1050u);
}

TEST_F(ManualClockTest, AZeroIntervalCountsAsOneMillisecond) {
    int calls = 0;
    auto a = clock.StartTimer(0, [&] { ++calls; });
    clock.Advance(5);
    EXPECT_EQ(calls, 5);
}

TEST(ManualClock, TimersThatOutliveTheirClockDoNothing) {
    std::unique_ptr<IClockTimer> timer;
    {
        TManualClock clock;
        timer = clock.StartTimer(10, [] {});
    }
    timer.reset();  // must not touch the freed clock (the sanitizers watch)
}

TEST(Clock, AScopePutsAClockInPlaceAndTheOneBeforeBack) {
    IClock& before = Clock();
    TManualClock outer(5), inner(7);
    {
        TClockScope a(outer);
        EXPECT_EQ(&Clock(), &outer);
        {
            TClockScope b(inner);
            EXPECT_EQ(Clock().Now(), 7u);
        }
        EXPECT_EQ(&Clock(), &outer);
    }
    EXPECT_EQ(&Clock(), &before);
}

TEST(Clock, ThePortableClockTellsTheTimeAndPausesButHasNoTimers) {
    TClockScope scope(PortableClock());
    TClockTicks start = Clock().Now();
    Clock().Pause(20);
    EXPECT_GE(Clock().Now() - start, 19u);
    EXPECT_THROW(Clock().StartTimer(10, [] {}), EInvalidOperation);
    EXPECT_EQ(SetClock(nullptr), nullptr);  // the portable clock counts as none put in place
}

}  // namespace
