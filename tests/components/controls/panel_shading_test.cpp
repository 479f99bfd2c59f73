#include "components/controls/panel_shading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

int R(LongWord c) { return int(c & 0xFF); }
int G(LongWord c) { return int((c >> 8) & 0xFF); }
int B(LongWord c) { return int((c >> 16) & 0xFF); }

LongWord Resolve(TColor c) { return IsSystemColor(c) ? 0x102030u : LongWord(c); }

TEST(PanelShading, RoundHalfEvenRoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(2.51), 3);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
}

TEST(PanelShading, BlendColorMixesChannelsByPercent) {
    // 50 % of $808080 and white: 0.5 x 128 + 0.5 x 255 = 191.5, rounds to 192.
    EXPECT_EQ(BlendColor(TColor(0x808080), clWhite, 50, Resolve), TColor(0xC0C0C0));
    // 20 %: 0.2 x 0 + 0.8 x 255 = 204.
    EXPECT_EQ(BlendColor(clBlack, clWhite, 20, Resolve), TColor(0xCCCCCC));
    EXPECT_EQ(BlendColor(TColor(0x0000FF), TColor(0xFF0000), 0, Resolve), TColor(0xFF0000));
}

TEST(PanelShading, BlendColorKeepsTheFirstColourAtOneHundredPercent) {
    // Not even resolved: a system colour comes back as it is.
    EXPECT_EQ(BlendColor(clBtnFace, clWhite, 100, Resolve), clBtnFace);
    // Any other percentage resolves system colours.
    EXPECT_EQ(BlendColor(clBtnFace, clBtnFace, 50, Resolve), TColor(0x102030));
}

TEST(PanelShading, GradientLimitsItsBandsToThirtyTwo) {
    EXPECT_EQ(PanelGradientBands(0, 0xFFFFFF, false, Rect(0, 0, 10, 640), 64).size(), 32u);
    EXPECT_EQ(PanelGradientBands(0, 0xFFFFFF, false, Rect(0, 0, 10, 640), 40).size(), 32u);
    auto one = PanelGradientBands(0x123456, 0xFFFFFF, false, Rect(0, 0, 10, 50), 0);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].Rect, Rect(0, 0, 10, 50));
    EXPECT_EQ(one[0].Color, 0x123456u);
}

TEST(PanelShading, GradientBandsStepTheColourAndCoverTheRectangle) {
    // 64 pixels in 32 bands: each band 2 wide drawn 3 wide (Trunc(h) + 1),
    // the last one limited to the far edge.
    auto bands = PanelGradientBands(0x000000, 0x0000FF, true, Rect(10, 5, 74, 25), 64);
    ASSERT_EQ(bands.size(), 32u);
    EXPECT_EQ(bands[0].Rect, Rect(10, 5, 13, 25));
    EXPECT_EQ(bands[1].Rect, Rect(12, 5, 15, 25));
    EXPECT_EQ(bands[31].Rect, Rect(72, 5, 74, 25));
    // Red steps by Round(n x 255 / 32).
    EXPECT_EQ(R(bands[0].Color), 0);
    EXPECT_EQ(R(bands[1].Color), 8);     // 7.97
    EXPECT_EQ(R(bands[16].Color), 128);  // 127.5, to even
    EXPECT_EQ(R(bands[31].Color), 247);  // 247.03
    EXPECT_EQ(G(bands[31].Color), 0);
    // Vertical bands run across the whole width.
    auto v = PanelGradientBands(0xFFFFFF, 0x000000, false, Rect(0, 0, 7, 5), 5);
    ASSERT_EQ(v.size(), 5u);
    EXPECT_EQ(v[2].Rect, Rect(0, 2, 7, 4));
    EXPECT_EQ(B(v[4].Color), 255 - 204);
}

TEST(PanelShading, MirrorSplitsAcrossTheProgression) {
    auto [top, bottom] = MirrorHalves(Rect(0, 10, 100, 31), false);
    EXPECT_EQ(top, Rect(0, 10, 100, 20));
    EXPECT_EQ(bottom, Rect(0, 20, 100, 31));
    auto [left, right] = MirrorHalves(Rect(4, 0, 9, 10), true);
    EXPECT_EQ(left, Rect(4, 0, 6, 10));
    EXPECT_EQ(right, Rect(6, 0, 9, 10));
}

TEST(PanelShading, BitmapSizeTakesDefaultsForZeroSizes) {
    EXPECT_EQ(ShadeBitmapSize(false, 300, 200, 20), (TSize{300, 20}));
    EXPECT_EQ(ShadeBitmapSize(true, 300, 200, 20), (TSize{20, 200}));
    EXPECT_EQ(ShadeBitmapSize(false, 0, 0, 0), (TSize{100, 20}));
    EXPECT_EQ(ShadeBitmapSize(true, 0, 0, 0), (TSize{20, 100}));
}

TEST(PanelShading, ShadeColorScalesTheBaseAndHoldsTheShadeInRange) {
    EXPECT_EQ(ShadeColor(0xFF8040, 255), 0xFF8040u);
    EXPECT_EQ(ShadeColor(0xFF8040, 128),
              LongWord(0x40 * 128 / 255) | LongWord(0x80 * 128 / 255) << 8 | LongWord(0xFF * 128 / 255) << 16);
    // Out of range: as dark, or as bright, as a shade can be (no wrapping).
    EXPECT_EQ(ShadeColor(0xFFFFFF, -40), 0u);
    EXPECT_EQ(ShadeColor(0xFFFFFF, 300), 0xFFFFFFu);
}

TEST(PanelShading, BumpCurve) {
    EXPECT_EQ(ShadeBump(0), 128);
    EXPECT_EQ(ShadeBump(128), 248);  // 128^3 / 128 / 128 = 128; x 120 / 128 = 120
    EXPECT_EQ(ShadeBump(-127), 128 + (-127 * 127 * 127 / 128 / 128) * 120 / 128);
}

TShadePixels Shade(TShadeType type, int w, int h, int light = 255, LongWord base = 0xFFFFFF, std::uint32_t seed = 7,
                   int grain = 32) {
    TShadeRandom random(seed);
    TShadeParams p;
    p.Type = type;
    p.BaseRGB = base;
    p.Light = light;
    p.Grain = grain;
    p.Width = w;
    p.Height = h;
    return GenerateShade(p, random);
}

// The grey of a pixel over a white base (all three channels equal).
int Grey(const TShadePixels& px, int x, int y) {
    LongWord c = px.At(x, y);
    EXPECT_TRUE(R(c) == G(c) && G(c) == B(c)) << x << "," << y;
    return R(c);
}

TEST(PanelShading, NoiseStaysInItsBand) {
    // ShadeLight 200, grain 32: 200 - (0..31 + 128) div 2 = 121..136.
    auto px = Shade(stNoise, 120, 20, 200, 0xFFFFFF, 12345);
    std::set<int> seen;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 120; ++x) {
            int g = Grey(px, x, y);
            ASSERT_GE(g, 121);
            ASSERT_LE(g, 136);
            seen.insert(g);
        }
    EXPECT_GT(seen.size(), 10u);  // it is noise, not one grey
    // The same seed gives the same picture; another seed another one.
    EXPECT_EQ(Shade(stNoise, 120, 20, 200, 0xFFFFFF, 12345).Pixels(), px.Pixels());
    EXPECT_NE(Shade(stNoise, 120, 20, 200, 0xFFFFFF, 54321).Pixels(), px.Pixels());
}

TEST(PanelShading, PlainTypesFillWithTheBaseColour) {
    for (TShadeType t : {stNormal, stXPCaption, stBitmap, stBitmapRStretch, stBitmapLStretch}) {
        auto px = Shade(t, 30, 10, 255, 0x336699);
        EXPECT_TRUE(std::all_of(px.Pixels().begin(), px.Pixels().end(), [](LongWord c) { return c == 0x336699; })) << t;
    }
}

TEST(PanelShading, HorizontalAndVerticalShadesFollowTheirFormulas) {
    const int W = 100, H = 20, L = 255;
    auto h = Shade(stHShade, W, H, L);
    auto hi = Shade(stHShadeInv, W, H, L);
    auto v = Shade(stVShade, W, H, L);
    auto vi = Shade(stVShadeInv, W, H, L);
    for (int x : {1, 37, 99}) {
        int q = L - ((W - x) * 239 / W + 8) / 2;
        EXPECT_EQ(Grey(h, x, 5), q) << x;
        EXPECT_EQ(Grey(h, x, 19), q) << x;      // the whole column
        EXPECT_EQ(Grey(hi, W - x, 5), q) << x;  // the same values, mirrored
    }
    EXPECT_LT(Grey(h, 0, 0), Grey(h, 99, 0));  // darker at the left
    for (int y : {0, 7, 19}) {
        int q = L - (y * 239 / H + 8) / 4;
        EXPECT_EQ(Grey(v, 50, y), q) << y;
        EXPECT_EQ(Grey(v, 0, y), q) << y;
        if (y > 0) {
            EXPECT_EQ(Grey(vi, 50, H - y), q) << y;
        }
    }
}

TEST(PanelShading, DiagonalShadeDarkensTowardsTheBottomRight) {
    const int W = 60, H = 20, L = 230;
    auto px = Shade(stDiagShade, W, H, L);
    for (auto [x, y] : {std::pair{0, 0}, {59, 19}, {30, 10}})
        EXPECT_EQ(Grey(px, x, y), L - (L - 255 + x * 129 / W + y * 129 / H) / 2);
}

TEST(PanelShading, BumpsFollowTheBumpCurve) {
    const int W = 80, H = 24, L = 255;
    auto hb = Shade(stHBump, W, H, L);
    auto vb = Shade(stVBump, W, H, L);
    auto sb = Shade(stSoftBump, W, H, L);
    for (int x : {0, 40, 79}) EXPECT_EQ(Grey(hb, x, 3), L - ShadeBump((W - x) * 255 / W - 127) / 2);
    for (int y : {0, 12, 23}) EXPECT_EQ(Grey(vb, 3, y), L - ShadeBump(y * 255 / H - 127) / 2);
    for (auto [x, y] : {std::pair{0, 0}, {79, 23}, {40, 12}}) {
        int ty = y * 255 / H - 127, tx = (W - x) * 255 / W - 127;
        int v = ((ty * ty * ty / 128) / 128 + (tx * tx * tx / 128) / 128) * 120 / 128 + 128;
        v = std::clamp(v, 8, 247);
        EXPECT_EQ(Grey(sb, x, y), L - v / 2);
    }
}

TEST(PanelShading, HardBumpHasRimsAtBothEnds) {
    const int W = 120, H = 20, L = 255;
    auto px = Shade(stHardBump, W, H, L);
    const int D = 16;  // min(120 div 6, 16)
    // The left rim at the middle row: dx + e < 0 with e = W div 2 - D.
    EXPECT_EQ(Grey(px, 2, 10), L - (247 - 2 * 128 / D) / 2);
    // The right rim.
    EXPECT_EQ(Grey(px, 118, 10), L - ((W - 118) * 128 / D + 8) / 2);
    // The middle keeps the row shade.
    int ty = 10 * 255 / H - 127;
    EXPECT_EQ(Grey(px, 60, 10), L - (((ty * ty * ty / 128) / 128) * 112 / 128 + 128) / 2);
}

TEST(PanelShading, HardBumpOnAVeryTallPictureKeepsItsRims) {
    // H x H is beyond an int: one row below the middle still has the right
    // rim (e = 1 x 2 div (H x H div 4) + 6 - 2 = 4 < dx = 5).
    const int W = 12, H = 50000, L = 255;
    auto px = Shade(stHardBump, W, H, L);
    EXPECT_EQ(Grey(px, W - 1, H / 2 + 1), L - ((W - (W - 1)) * 128 / 2 + 8) / 2);
    EXPECT_EQ(Grey(px, 1, H / 2 + 1), L - (247 - 1 * 128 / 2) / 2);
}

TEST(PanelShading, HardBumpOnATinyPictureDoesNotFail) {
    auto px = Shade(stHardBump, 3, 1, 255);
    EXPECT_EQ(px.Width(), 3);
}

TEST(PanelShading, MetalStaysInRangeAndDiffersBySeed) {
    for (TShadeType t : {stLMetal, stRMetal}) {
        auto a = Shade(t, 100, 20, 255, 0xFFFFFF, 1);
        auto b = Shade(t, 100, 20, 255, 0xFFFFFF, 2);
        EXPECT_NE(a.Pixels(), b.Pixels()) << t;
        // Unstroked pixels: white re-shaded, L - (L - 255 + x*120/W + y*120/H) / 2.
        int lowest = 255;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 100; ++x) lowest = std::min(lowest, Grey(a, x, y));
        EXPECT_GE(lowest, 255 - (40 + 120 + 120) / 2 - 1);
    }
}

TEST(PanelShading, RadialShadesFromTheCentre) {
    const int W = 100, H = 20, L = 200;
    const int dr = 80;
    auto in = Shade(stIRadial, W, H, L);
    auto out = Shade(stORadial, W, H, L);
    // The centre: distance 0.
    EXPECT_EQ(Grey(in, 50, 10), L);
    EXPECT_EQ(Grey(out, 50, 10), 0);
    // The top-left corner: d = Round(sqrt(50^2 + 10^2)) = 51; the bottom-right
    // one is the mirror of (1, 1): d = Round(sqrt(49^2 + 9^2)) = 50.
    EXPECT_EQ(Grey(in, 0, 0), RoundHalfEven(double(dr - 51) / dr * L));
    EXPECT_EQ(Grey(out, 0, 0), RoundHalfEven(51.0 / dr * L));
    EXPECT_EQ(Grey(in, 99, 19), RoundHalfEven(double(dr - 50) / dr * L));
    EXPECT_EQ(Grey(out, 99, 19), RoundHalfEven(50.0 / dr * L));
    // Far beyond the reference distance the inner radial is held at 0, not
    // wrapped to a bright value.
    auto wide = Shade(stIRadial, 100, 90, 255);
    EXPECT_EQ(Grey(wide, 0, 0), 0);
}

TEST(PanelShading, RadialOnASquareFillsFlat) {
    for (TShadeType t : {stIRadial, stORadial}) {
        auto px = Shade(t, 20, 20, 180, 0xFFFFFF);
        EXPECT_TRUE(std::all_of(px.Pixels().begin(), px.Pixels().end(), [](LongWord c) { return c == 0xB4B4B4; })) << t;
    }
}

TEST(PanelShading, EveryTypeStaysInsideItsBaseColour) {
    // Over a coloured base every channel is a shade of the base channel.
    const LongWord base = 0x4080C0;
    for (int t = stNormal; t <= stBitmapLStretch; ++t) {
        auto px = Shade(TShadeType(t), 64, 18, 255, base, 99);
        for (LongWord c : px.Pixels()) {
            if (c == 0xFFFFFF) continue;  // a pixel the type left white
            ASSERT_LE(R(c), 0xC0) << t;
            ASSERT_LE(G(c), 0x80) << t;
            ASSERT_LE(B(c), 0x40) << t;
        }
    }
}

TEST(PanelShading, RandomFollowsTheClassicGenerator) {
    TShadeRandom r(0);
    // seed 0 -> 1: (1 x 10) >> 32 = 0; the next seeds grow by x 134775813 + 1.
    EXPECT_EQ(r.Random(10), 0);
    EXPECT_EQ(r.CurrentSeed(), 1u);
    r.Random(10);
    EXPECT_EQ(r.CurrentSeed(), 134775814u);
    EXPECT_EQ(r.Random(0), 0);
    TShadeRandom s(42);
    for (int i = 0; i < 1000; ++i) {
        int v = s.Random(7);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 7);
    }
}

}  // namespace
