// The pager's drawing arithmetic: colour mixing, gradient bands, caption
// shortening and tab outlines.
#include "components/pager/pager_draw_math.h"

#include <gtest/gtest.h>

namespace {

TEST(PagerDrawMathTest, MixRGBRoundsHalvesToEven) {
    EXPECT_EQ(MixRGB(clWhite, clBlack, 50), TColor(0x808080));           // 127.5 -> 128
    EXPECT_EQ(MixRGB(TColor(0x010101), clBlack, 50), TColor(0));         // 0.5 -> 0
    EXPECT_EQ(MixRGB(TColor(0x030303), clBlack, 50), TColor(0x020202));  // 1.5 -> 2
    EXPECT_EQ(MixRGB(clWhite, clBlack, 100), clWhite);
    EXPECT_EQ(MixRGB(clWhite, clBlack, 0), clBlack);
    EXPECT_EQ(MixRGB(clWhite, clBlack, 150), clWhite);
    EXPECT_EQ(MixRGB(clWhite, clBlack, -5), clBlack);
    // Per channel: 80 % of white with a blue-ish border.
    EXPECT_EQ(MixRGB(clWhite, TColor(0xE3B28D), 80), TColor(0xF9F0E8));
}

TEST(PagerDrawMathTest, BandsRunFromTheFirstColourInEqualSteps) {
    const auto bands = PagerGradientBands(clBlack, TColor(0x0000FF), true, Rect(10, 0, 19, 5), 4);
    ASSERT_EQ(bands.size(), 4u);
    // size (9 - 1) / 4 = 2: bands at 10, 12, 14, 16, each 3 wide.
    EXPECT_EQ(bands[0].Rect, Rect(10, 0, 13, 5));
    EXPECT_EQ(bands[3].Rect, Rect(16, 0, 19, 5));
    EXPECT_EQ(bands[0].Color, clBlack);
    EXPECT_EQ(bands[1].Color, TColor(64));   // 255 / 4 = 63.75
    EXPECT_EQ(bands[2].Color, TColor(128));  // 127.5 -> 128
    EXPECT_EQ(bands[3].Color, TColor(191));  // 191.25
    // Falling channels are signed.
    const auto down = PagerGradientBands(TColor(0xFF0000), clBlack, false, Rect(0, 0, 3, 11), 2);
    EXPECT_EQ(down[1].Color, TColor(0x7F0000));  // 255 + round(-127.5) = 255 - 128
    EXPECT_EQ(down[1].Rect, Rect(0, 5, 3, 11));
}

TEST(PagerDrawMathTest, ZeroStepsIsOneBandOfTheFromColour) {
    const auto bands = PagerGradientBands(clRed, clBlue, true, Rect(0, 0, 20, 4), 0);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(bands[0].Color, clRed);
    EXPECT_EQ(bands[0].Rect, Rect(0, 0, 20, 4));
}

TEST(PagerDrawMathTest, ShorteningDropsCharactersUntilTheSuffixFits) {
    auto within = [](size_t n) {
        return std::function<bool(const String&)>([n](const String& s) { return s.size() <= n; });
    };
    EXPECT_EQ(ShortenToFit<String>("Settings", "...", within(7)), "Sett...");
    EXPECT_EQ(ShortenToFit<String>("Settings", "...", within(2)), "...");
    EXPECT_EQ(ShortenToFit<String>("Settings", "", within(3)), "Set");
    EXPECT_EQ(ShortenToFit<std::wstring>(L"Seiten", L"...", [](const std::wstring& s) { return s.size() <= 5; }),
              L"Se...");
}

TEST(PagerDrawMathTest, ARectangularTopTabRoundsItsUpperCorners) {
    const auto o = TabOutline(Rect(10, 0, 60, 26), tsRectangle, 2, TabOnTop, false);
    const std::vector<TOutlineSegment> expected = {
        {TOutlinePiece::Line, {{10, 26}, {10, 6}}}, {TOutlinePiece::Curve, {{10, 6}, {12, 2}, {16, 0}}},
        {TOutlinePiece::Line, {{16, 0}, {54, 0}}},  {TOutlinePiece::Curve, {{54, 0}, {58, 2}, {60, 6}}},
        {TOutlinePiece::Line, {{60, 6}, {60, 26}}},
    };
    EXPECT_EQ(o, expected);
}

TEST(PagerDrawMathTest, RampsReachTheTopByTheirDepth) {
    // a = 2, D = 2 + 26 / 3 = 10.
    const auto o = TabOutline(Rect(10, 0, 60, 26), tsLeftRightRamp, 2, TabOnTop, false);
    ASSERT_EQ(o.size(), 3u);
    EXPECT_EQ(o[0], (TOutlineSegment{TOutlinePiece::Bezier, {{10, 26}, {16, 24}, {18, 2}, {24, 0}}}));
    EXPECT_EQ(o[1], (TOutlineSegment{TOutlinePiece::Line, {{24, 0}, {46, 0}}}));
    EXPECT_EQ(o[2], (TOutlineSegment{TOutlinePiece::Bezier, {{46, 0}, {52, 2}, {54, 24}, {60, 26}}}));
    // A right ramp closes along the page side.
    const auto right = TabOutline(Rect(10, 0, 60, 26), tsRightRamp, 2, TabOnTop, false);
    EXPECT_EQ(right.back(), (TOutlineSegment{TOutlinePiece::Line, {{60, 26}, {10, 26}}}));
    EXPECT_EQ(right[1].Points[1], (TPoint{11, 1}));  // the corner at half the rounding
}

TEST(PagerDrawMathTest, OtherSidesMirrorOrTurnTheTopFigure) {
    const TRect r = Rect(0, 10, 26, 60);
    // Bottom: the far side is the bottom edge.
    const auto bottom = TabOutline(Rect(10, 0, 60, 26), tsRectangle, 2, TabOnBottom, false);
    EXPECT_EQ(bottom[0].Points, (std::vector<TPoint>{{10, 0}, {10, 20}}));
    EXPECT_EQ(bottom[2].Points, (std::vector<TPoint>{{16, 26}, {54, 26}}));
    // Left: along the row is y; the far side is the left edge.
    const auto left = TabOutline(r, tsRectangle, 2, TabOnLeft, true);
    EXPECT_EQ(left[0].Points, (std::vector<TPoint>{{26, 10}, {6, 10}}));
    EXPECT_EQ(left[2].Points, (std::vector<TPoint>{{0, 16}, {0, 54}}));
    // Right: the far side is the right edge.
    const auto right = TabOutline(r, tsRectangle, 2, TabOnRight, true);
    EXPECT_EQ(right[0].Points, (std::vector<TPoint>{{0, 10}, {20, 10}}));
    EXPECT_EQ(right[2].Points, (std::vector<TPoint>{{26, 16}, {26, 54}}));
    // Ramp depth: the width when rotated (2 + 26 / 3 = 10), else the height
    // (2 + 50 / 3 = 18).
    EXPECT_EQ(TabOutline(r, tsLeftRamp, 2, TabOnLeft, true)[0].Points[3], (TPoint{0, 24}));
    EXPECT_EQ(TabOutline(r, tsLeftRamp, 2, TabOnLeft, false)[0].Points[3], (TPoint{0, 32}));
}

}  // namespace
