#include "components/controls/glow_button_logic.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct FadeFixture : ::testing::Test {
    TManualClock clock;
    TClockScope scope{clock};
    TGlowFade fade;
    std::vector<int> painted;  // the value at each repaint
    int fadedOut = 0;
    void SetUp() override {
        fade.OnInvalidate = [this] { painted.push_back(fade.Mode == fmGlow ? fade.GlowValue : fade.PressValue); };
        fade.OnPressFadedOut = [this] { ++fadedOut; };
    }
};

TEST_F(FadeFixture, GlowFromNonePaintsFiveTimesAndEndsOnTheSixthTick) {
    fade.Start(+20, fmGlow);
    clock.Advance(5 * kGlowFadeInterval);
    EXPECT_EQ(painted, (std::vector<int>{20, 40, 60, 80, 100}));
    EXPECT_TRUE(fade.Running());
    clock.Advance(kGlowFadeInterval);
    EXPECT_FALSE(fade.Running());  // freed inside its own tick
    EXPECT_EQ(clock.TimerCount(), 0);
    EXPECT_EQ(fade.GlowValue, 100);
    EXPECT_EQ(fade.Mode, fmIdle);
    EXPECT_EQ(painted.size(), 5u);  // no paint for the last tick
    clock.Advance(10 * kGlowFadeInterval);
    EXPECT_EQ(painted.size(), 5u);
}

TEST_F(FadeFixture, ReenteringMidFadeReversesTheStep) {
    fade.GlowValue = 100;
    fade.Start(-20, fmGlow);
    clock.Advance(2 * kGlowFadeInterval);
    fade.Start(+20, fmGlow);  // the mouse came back: same timer, other way
    EXPECT_EQ(clock.TimerCount(), 1);
    clock.Advance(3 * kGlowFadeInterval);
    EXPECT_EQ(painted, (std::vector<int>{80, 60, 80, 100}));
    EXPECT_FALSE(fade.Running());
}

TEST_F(FadeFixture, OnlyAPressFadeOutReportsTheEndOfThePress) {
    fade.PressValue = 100;
    fade.Start(-20, fmPress);
    clock.Advance(6 * kGlowFadeInterval);
    EXPECT_EQ(fadedOut, 1);
    EXPECT_EQ(fade.PressValue, 0);
    fade.Start(+20, fmPress);
    clock.Advance(6 * kGlowFadeInterval);
    fade.Start(+20, fmGlow);
    clock.Advance(6 * kGlowFadeInterval);
    EXPECT_EQ(fadedOut, 1);
}

TEST_F(FadeFixture, AnIdleTickDoesNothing) {
    fade.EnsureTimer();
    clock.Advance(3 * kGlowFadeInterval);
    EXPECT_TRUE(painted.empty());
    EXPECT_TRUE(fade.Running());
}

TEST(GlowHitZones, DropDownPressWithin14AndHotWithin12Pixels) {
    struct Case {
        TDropDownPosition Pos;
        int X, Y;
        bool Press, Hot;
    } cases[] = {
        {dpRight, 86, 5, false, false}, {dpRight, 87, 5, true, false}, {dpRight, 88, 5, true, false},
        {dpRight, 89, 5, true, true},   {dpRight, 99, 40, true, true}, {dpBottom, 99, 27, false, false},
        {dpBottom, 5, 28, true, false}, {dpBottom, 5, 30, true, true}, {dpBottom, 5, 29, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DropDownPressHit(c.Pos, c.X, c.Y, 100, 41), c.Press) << c.X << "," << c.Y;
        EXPECT_EQ(DropDownHotHit(c.Pos, c.X, c.Y, 100, 41), c.Hot) << c.X << "," << c.Y;
    }
    EXPECT_TRUE(InsideForPress(0, 41, 100, 41));  // the row below the client still counts
    EXPECT_FALSE(InsideForPress(100, 0, 100, 41));
    EXPECT_FALSE(InsideForPress(-1, 0, 100, 41));
}

TEST(GlowPaintState, Table) {
    struct Case {
        bool Enabled;
        int State;
        TLumButtonStyle Style;
        bool Down;
        int Group;
        int Expected;
    } cases[] = {
        {false, gsPressed, bsButton, false, 0, gsDisabled}, {true, gsDisabled, bsButton, true, 1, gsCheckedDown},
        {true, gsDisabled, bsButton, false, 1, gsNormal},   {true, gsNormal, bsCheck, true, 0, gsPressed},
        {true, gsPressed, bsButton, false, 0, gsPressed},   {true, gsCheckedDown, bsButton, true, 2, gsCheckedDown},
    };
    for (const Case& c : cases) {
        TGlowPaintInput in;
        in.Enabled = c.Enabled;
        in.State = c.State;
        in.Style = c.Style;
        in.Down = c.Down;
        in.GroupIndex = c.Group;
        EXPECT_EQ(GlowPaintState(in), c.Expected);
    }
}

struct ColorChoice : ::testing::Test {
    TGlowButtonAppearance a;
    TGlowPaintInput in;
};

TEST_F(ColorChoice, PlainStatesTakeTheirSets) {
    EXPECT_EQ(ChooseGlowColors(a, in), a.NormalSet());
    in.Hot = true;
    EXPECT_EQ(ChooseGlowColors(a, in), a.HotSet());
    in.State = gsPressed;
    EXPECT_EQ(ChooseGlowColors(a, in), a.DownSet());
    in = {};
    in.Down = true;
    in.GroupIndex = 1;
    in.State = gsCheckedDown;
    EXPECT_EQ(ChooseGlowColors(a, in), a.CheckedSet());
    in = {};
    in.Enabled = false;
    EXPECT_EQ(ChooseGlowColors(a, in), a.DisabledSet());
    in.ShowDisabled = false;
    EXPECT_EQ(ChooseGlowColors(a, in), a.NormalSet());
}

TEST_F(ColorChoice, FadesBlendBetweenTheirSets) {
    in.FadeRunning = true;
    in.GlowValue = 40;
    EXPECT_EQ(ChooseGlowColors(a, in), Blend(a.HotSet(), a.NormalSet(), 40));
    in.Pressed = true;
    in.State = gsPressed;
    in.PressValue = 60;
    EXPECT_EQ(ChooseGlowColors(a, in), Blend(a.DownSet(), a.HotSet(), 60));
    in.Style = bsCheck;
    EXPECT_EQ(ChooseGlowColors(a, in), Blend(a.DownSet(), a.CheckedSet(), 60));
    // A checked group button that is not hot shows its checked colours.
    in = {};
    in.FadeRunning = true;
    in.Down = true;
    in.GroupIndex = 1;
    in.State = gsCheckedDown;
    in.PressValue = 60;
    EXPECT_EQ(ChooseGlowColors(a, in), a.CheckedSet());
    in.Hot = true;
    EXPECT_EQ(ChooseGlowColors(a, in), Blend(a.DownSet(), a.CheckedSet(), 60));
}

TEST_F(ColorChoice, FocusHotAndHeldRowButtons) {
    in.Focused = true;
    in.FocusType = ftHot;
    EXPECT_EQ(ChooseGlowColors(a, in), a.HotSet());
    in.FocusType = ftBorder;
    EXPECT_EQ(ChooseGlowColors(a, in), a.NormalSet());
    in = {};
    in.State = gsPressed;
    in.Pressed = in.Held = true;
    in.Position = bpMiddle;
    TGlowColorSet expected = a.DownSet();
    expected.Border = a.BorderColor();
    EXPECT_EQ(ChooseGlowColors(a, in), expected);
}

TEST(GlowSizes, ContentAndAutoSize) {
    EXPECT_EQ(GlowContentSize(blGlyphLeft, {50, 13}, {16, 16}, 2), (TSize{68, 18}));
    EXPECT_EQ(GlowContentSize(blGlyphRightAdjusted, {50, 20}, {16, 16}, 2), (TSize{68, 22}));
    EXPECT_EQ(GlowContentSize(blGlyphTop, {50, 13}, {16, 16}, 2), (TSize{52, 31}));
    EXPECT_EQ(GlowContentSize(blGlyphBottom, {10, 13}, {16, 16}, 2), (TSize{18, 31}));
    EXPECT_EQ(GlowAutoSize({68, 18}, 2, 1, 1, false, dpRight), (TSize{6 + 68 + 2 + 2, 4 + 18 + 2}));
    EXPECT_EQ(GlowAutoSize({68, 18}, 2, 1, 1, true, dpRight), (TSize{78 + 14, 24}));
    EXPECT_EQ(GlowAutoSize({68, 18}, 2, 1, 1, true, dpBottom), (TSize{78, 24 + 14}));
}

}  // namespace
