#include "components/pager/pager_tab_glow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Host : ITabGlowHost {
    int Repaints = 0;
    bool OnTab = true;
    int HotCleared = 0;
    void RepaintTabs() override { ++Repaints; }
    bool CursorOnTab() override { return OnTab; }
    void ClearHotTab() override { ++HotCleared; }
};

TEST(TabGlow, HoverClimbsHoldsAtFullGlowAndFallsInSevenSteps) {
    TManualClock clock;
    TClockScope scope(clock);
    Host host;
    TTabGlow glow(host);
    glow.Start(+20, TTabGlow::gsHover, true);
    EXPECT_EQ(clock.TimerCount(), 1);
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        clock.Advance(50);
        seen.push_back(glow.Position());
    }
    EXPECT_EQ(seen, (std::vector<int>{20, 40, 60, 80, 100}));
    EXPECT_EQ(host.Repaints, 5);
    // Above 100 with the cursor still on the tab: held at 120, timer on.
    clock.Advance(150);
    EXPECT_EQ(glow.Position(), 120);
    EXPECT_TRUE(glow.Running());
    EXPECT_EQ(host.HotCleared, 0);
    // The cursor leaves: the next step turns round and clears the hot tab.
    host.OnTab = false;
    clock.Advance(50);
    EXPECT_EQ(glow.Step(), -20);
    EXPECT_EQ(host.HotCleared, 1);
    seen.clear();
    int steps = 0;
    while (glow.Running() && steps < 20) {
        clock.Advance(50);
        seen.push_back(glow.Position());
        ++steps;
    }
    EXPECT_EQ(seen, (std::vector<int>{100, 80, 60, 40, 20, 0, -20}));
    EXPECT_EQ(glow.State(), TTabGlow::gsIdle);
    EXPECT_EQ(clock.TimerCount(), 0);
}

TEST(TabGlow, ClickPulseEndsAfterPassingOneHundredWithoutARepaint) {
    TManualClock clock;
    TClockScope scope(clock);
    Host host;
    TTabGlow glow(host);
    glow.Start(+20, TTabGlow::gsClick, true);
    clock.Advance(250);  // 20 .. 100
    EXPECT_EQ(glow.ClickPosition(), 100);
    EXPECT_EQ(host.Repaints, 5);
    clock.Advance(50);  // 120: ends
    EXPECT_EQ(glow.ClickPosition(), 0);
    EXPECT_EQ(glow.State(), TTabGlow::gsIdle);
    EXPECT_EQ(host.Repaints, 5);
    EXPECT_EQ(clock.TimerCount(), 0);
}

TEST(TabGlow, WithoutGlowOnlyTheStepAndModeChange) {
    TManualClock clock;
    TClockScope scope(clock);
    Host host;
    TTabGlow glow(host);
    glow.Start(-20, TTabGlow::gsHover, false);
    EXPECT_EQ(clock.TimerCount(), 0);
    EXPECT_EQ(glow.Step(), -20);
    EXPECT_EQ(glow.State(), TTabGlow::gsHover);
    // A running timer is kept when the direction changes.
    glow.Start(+20, TTabGlow::gsHover, true);
    glow.Start(-20, TTabGlow::gsHover, true);
    EXPECT_EQ(clock.TimerCount(), 1);
    clock.Advance(50);  // 0 - 20 < 0: done
    EXPECT_EQ(glow.Position(), -20);
    EXPECT_FALSE(glow.Running());
    glow.Start(+20, TTabGlow::gsHover, true);
    glow.Stop();
    EXPECT_EQ(clock.TimerCount(), 0);
}

}  // namespace
