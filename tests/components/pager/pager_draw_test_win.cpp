// The pager's drawing routines, painted into a 32-bit DIB: exact probes
// where the drawing is plain GDI, a small tolerance where GDI+ smooths, and
// probes away from anti-aliased edges otherwise.
#include "components/pager/pager_draw_win.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "object_tally.h"
#include "pager_test_support_win.h"
#include "paint_harness.h"

namespace {

int Channel(TColor c, int shift) { return (unsigned(c) >> shift) & 0xFF; }

// Each channel within tolerance of the expected RGB colour.
::testing::AssertionResult Near(TColor actual, TColor expected, int tolerance = 12) {
    for (int shift : {0, 8, 16})
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance)
            return ::testing::AssertionFailure()
                   << std::hex << "0x" << int(actual) << " is not near 0x" << int(expected);
    return ::testing::AssertionSuccess();
}

TColor Rgb(TColor c) { return TColor(int(ColorToRGB(c))); }

class PagerDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        pager_test::StartUnits();
        TObjectTally::CountGdiObjects();
    }
    // A canvas on the target's device context.
    struct TTarget {
        TPaintTarget Picture;
        TCanvas Canvas;
        TTarget(int w, int h, TColor fill) : Picture(w, h, fill) { Canvas.SetHandle(Picture.DC()); }
        ~TTarget() { Canvas.SetHandle(nullptr); }
    };
};

TEST_F(PagerDrawTest, SystemColoursAreResolvedBeforeMixing) {
    EXPECT_EQ(ToOpaqueARGB(clBtnFace), RGBToARGB(ColorToRGB(clBtnFace)));
    EXPECT_EQ(ToOpaqueARGB(TColor(0x0000FF)), 0xFFFF0000u);
    const TColor mixed = MixColors(clBtnFace, clHighlight, 50);
    EXPECT_EQ(mixed, MixRGB(Rgb(clBtnFace), Rgb(clHighlight), 50));
    EXPECT_EQ(unsigned(mixed) >> 24, 0u);
    EXPECT_EQ(MixColors(clWhite, clBlack, 50), TColor(0x808080));
}

TEST_F(PagerDrawTest, BandedGradientBandsAreExact) {
    TTarget t(41, 10, clWhite);
    PaintBandedGradient(&t.Canvas, clBlack, TColor(0x0000FF), true, Rect(0, 0, 41, 10), 4);
    EXPECT_EQ(t.Picture.PixelAt(0, 5), clBlack);  // the row's first end
    EXPECT_EQ(t.Picture.PixelAt(5, 0), clBlack);
    EXPECT_EQ(t.Picture.PixelAt(15, 9), TColor(64));
    EXPECT_EQ(t.Picture.PixelAt(25, 5), TColor(128));
    EXPECT_EQ(t.Picture.PixelAt(40, 5), TColor(191));  // the last band reaches the far end
    TTarget v(10, 41, clWhite);
    PaintBandedGradient(&v.Canvas, clBtnFace, clBtnFace, false, Rect(0, 0, 10, 41), 0);
    EXPECT_EQ(v.Picture.CountPixels(Rect(0, 0, 10, 41), Rgb(clBtnFace)), 410);
}

struct TBackgroundCase {
    int Position;
    TPoint NearRow, NearMiddle, MirrorMiddle, MirrorFar;
    // A pixel of each half outside its gradient (the one-pixel inset): the
    // half's base colour, exactly.
    TPoint MainBase, MirrorBase;
};

int Distance(TColor a, TColor b) {
    int d = 0;
    for (int shift : {0, 8, 16}) d += std::abs(Channel(a, shift) - Channel(b, shift));
    return d;
}

TEST_F(PagerDrawTest, TwoPartBackgroundRunsFromTheTabRow) {
    const TColor color = clBlack, colorTo = TColor(0x0000FF), mirror = TColor(0xFF0000), mirrorTo = clWhite;
    const TBackgroundCase cases[] = {
        {TabOnTop, {20, 1}, {20, 18}, {20, 22}, {20, 37}, {0, 10}, {0, 30}},
        {TabOnBottom, {20, 38}, {20, 21}, {20, 17}, {20, 2}, {0, 30}, {0, 10}},
        {TabOnLeft, {1, 20}, {18, 20}, {22, 20}, {37, 20}, {10, 0}, {30, 0}},
        {TabOnRight, {38, 20}, {21, 20}, {17, 20}, {2, 20}, {30, 0}, {10, 0}},
    };
    for (const auto& c : cases) {
        TTarget t(40, 40, clLime);
        PaintTwoPartBackground(&t.Canvas, Rect(0, 0, 40, 40), color, c.Position, true, false, 1, true, nullptr,
                               ggVertical, ggVertical, clNone, mirrorTo, mirror, colorTo);
        SCOPED_TRACE(c.Position);
        auto at = [&](TPoint p) { return t.Picture.PixelAt(p.X, p.Y); };
        EXPECT_EQ(at(c.MainBase), color);
        EXPECT_EQ(at(c.MirrorBase), mirror);
        // Color at the tab row, ColorTo toward the middle; ColorMirror from
        // the middle, ColorMirrorTo at the far edge.
        EXPECT_TRUE(Near(at(c.NearRow), color, 64));
        EXPECT_TRUE(Near(at(c.NearMiddle), colorTo, 64));
        EXPECT_LT(Distance(at(c.NearMiddle), colorTo), Distance(at(c.NearRow), colorTo));
        EXPECT_TRUE(Near(at(c.MirrorMiddle), mirror, 64));
        EXPECT_TRUE(Near(at(c.MirrorFar), mirrorTo, 64));
        EXPECT_LT(Distance(at(c.MirrorFar), mirrorTo), Distance(at(c.MirrorMiddle), mirrorTo));
        // No border was asked for, and nothing is left unpainted.
        EXPECT_EQ(t.Picture.CountPixels(Rect(0, 0, 40, 40), clLime), 0);
    }
}

TEST_F(PagerDrawTest, TheBorderIsStrokedInItsColourRoundedWhenCurved) {
    TTarget plain(40, 30, clWhite);
    PaintTwoPartBackground(&plain.Canvas, Rect(0, 0, 40, 30), clWhite, TabOnTop, true, false, 1, true, nullptr,
                           ggVertical, ggVertical, TColor(0x008000), clWhite, clWhite, clWhite);
    EXPECT_TRUE(Near(plain.Picture.PixelAt(0, 15), TColor(0x008000), 40));
    EXPECT_TRUE(Near(plain.Picture.PixelAt(39, 15), TColor(0x008000), 40));
    EXPECT_TRUE(Near(plain.Picture.PixelAt(20, 0), TColor(0x008000), 40));
    EXPECT_TRUE(Near(plain.Picture.PixelAt(0, 0), TColor(0x008000), 40));
    EXPECT_EQ(plain.Picture.PixelAt(20, 15), clWhite);

    TTarget curved(40, 30, clWhite);
    PaintTwoPartBackground(&curved.Canvas, Rect(0, 0, 40, 30), clWhite, TabOnTop, true, true, 1, true, nullptr,
                           ggVertical, ggVertical, TColor(0x008000), clWhite, clWhite, clWhite);
    EXPECT_TRUE(Near(curved.Picture.PixelAt(20, 0), TColor(0x008000), 40));
    EXPECT_TRUE(Near(curved.Picture.PixelAt(0, 15), TColor(0x008000), 40));
    EXPECT_FALSE(Near(curved.Picture.PixelAt(0, 0), TColor(0x008000), 60));  // the corner is cut
}

TEST_F(PagerDrawTest, ARadialHalfGlowsFromTheTabRowsEdge) {
    TTarget t(60, 40, clLime);
    PaintTwoPartBackground(&t.Canvas, Rect(0, 0, 60, 40), clBlack, TabOnTop, true, false, 1, true, nullptr, ggVertical,
                           ggRadial, clNone, clWhite, clWhite, TColor(0x00FFFF));
    EXPECT_TRUE(Near(t.Picture.PixelAt(30, 1), TColor(0x00FFFF), 40));  // the centre colour
    EXPECT_EQ(t.Picture.PixelAt(1, 1), clBlack);                        // outside the ellipse: the base
}

TEST_F(PagerDrawTest, ATabFaceIsClippedToItsOutline) {
    TTarget t(60, 26, clWhite);
    PaintTabFace(&t.Canvas, Rect(0, 0, 60, 26), clRed, TabOnTop, false, 4, tsRectangle, true, ggVertical, ggVertical,
                 clNone, clRed, clRed, clRed);
    EXPECT_EQ(t.Picture.PixelAt(30, 13), clRed);
    EXPECT_EQ(t.Picture.PixelAt(0, 0), clWhite);  // outside the rounded corner
    EXPECT_EQ(t.Picture.PixelAt(59, 0), clWhite);

    TTarget ramp(60, 26, clWhite);
    PaintTabFace(&ramp.Canvas, Rect(0, 0, 60, 26), clRed, TabOnTop, false, 1, tsLeftRamp, true, ggVertical, ggVertical,
                 clBlue, clRed, clRed, clRed);
    EXPECT_EQ(ramp.Picture.PixelAt(2, 2), clWhite);  // above the ramp
    EXPECT_TRUE(Near(ramp.Picture.PixelAt(30, 0), clBlue, 60));
    EXPECT_EQ(ramp.Picture.PixelAt(30, 13), clRed);
}

TEST_F(PagerDrawTest, PaintingFreesWhatItMakes) {
    TTarget t(80, 30, clWhite);
    TFont font;
    TRect textRect;
    PaintTabFace(&t.Canvas, Rect(0, 0, 80, 30), clRed, TabOnTop, false, 2, tsLeftRightRamp, true, ggRadial, ggVertical,
                 clBlue, clRed, clWhite, clYellow);
    TObjectBalance balance;
    for (int i = 0; i < 30; ++i) {
        PaintTwoPartBackground(&t.Canvas, Rect(0, 0, 80, 30), clRed, i % 4, true, i % 2, 1, true, &font, ggRadial,
                               ggVertical, clBlue, clWhite, clYellow, clRed);
        PaintTabFace(&t.Canvas, Rect(0, 0, 80, 30), clRed, i % 4, i % 2, 2, TLumTabShape(i % 4), true, ggRadial,
                     ggVertical, clBlue, clRed, clWhite, clYellow);
        RenderTabCaption(&t.Canvas, taCenter, Rect(0, 0, 80, 30), textRect, false, true, TabOnTop, i % 3, true, true,
                         &font, L"", "Editor Settings");
        PaintBandedGradient(&t.Canvas, clRed, clBlue, true, Rect(0, 0, 80, 30), 8);
    }
    EXPECT_EQ(balance.Leaked(okGdiPlus), 0);
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
}

TEST_F(PagerDrawTest, FitCaptionShortensWithAnEllipsis) {
    TTarget t(200, 30, clWhite);
    t.Canvas.Font()->SetName("Tahoma");
    const int whole = t.Canvas.TextWidth("Settings");
    String result;
    FitCaption("Settings", Rect(0, 0, whole + 10, 20), false, result, false, TabOnTop, true, nullptr, nullptr,
               &t.Canvas, nullptr);
    EXPECT_EQ(result, "Settings");
    FitCaption("Settings", Rect(0, 0, whole - 2, 20), false, result, false, TabOnTop, true, nullptr, nullptr, &t.Canvas,
               nullptr);
    ASSERT_GT(result.size(), 3u);
    EXPECT_EQ(result.substr(result.size() - 3), "...");
    EXPECT_EQ(result.compare(0, result.size() - 3, "Settings", result.size() - 3), 0);
    EXPECT_LT(t.Canvas.TextWidth(result), whole - 2);
    FitCaption("Settings", Rect(0, 0, 3, 20), false, result, false, TabOnTop, true, nullptr, nullptr, &t.Canvas,
               nullptr);
    EXPECT_EQ(result, "...");
    FitCaption("Settings", Rect(0, 0, 3, 20), false, result, true, TabOnTop, true, nullptr, nullptr, &t.Canvas,
               nullptr);
    EXPECT_EQ(result, "Settings");
    // Tabs on the left or right measure along the rectangle's height.
    FitCaption("Settings", Rect(0, 0, 3, whole + 10), false, result, false, TabOnLeft, true, nullptr, nullptr,
               &t.Canvas, nullptr);
    EXPECT_EQ(result, "Settings");

    TGPGraphics graphics(t.Canvas.Handle());
    TGPFontFamily family(L"Tahoma");
    TGPFont font(&family, 8);
    TGPStringFormat format;
    std::wstring wide;
    FitCaptionW(L"Settings", Rect(0, 0, 30, 20), true, wide, false, TabOnTop, true, &format, &font, &t.Canvas,
                &graphics);
    ASSERT_GE(wide.size(), 3u);
    EXPECT_EQ(wide.substr(wide.size() - 3), L"...");
    EXPECT_LT(wide.size(), 11u);
    FitCaptionW(L"Settings", Rect(0, 0, 300, 20), true, wide, false, TabOnTop, true, &format, &font, &t.Canvas,
                &graphics);
    EXPECT_EQ(wide, L"Settings");
}

// The darkest channel value of the pixels of rect.
int Darkest(const TPaintTarget& p, const TRect& r) {
    int darkest = 255;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const TColor c = p.PixelAt(x, y);
            for (int shift : {0, 8, 16}) darkest = std::min(darkest, Channel(c, shift));
        }
    return darkest;
}

TEST_F(PagerDrawTest, CaptionsAreMeasuredAndDrawnInTheirBox) {
    TFont font;
    font.SetName("Tahoma");
    font.SetColor(clBlack);
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        TTarget t(120, 26, clWhite);
        TRect measured{};
        RenderTabCaption(&t.Canvas, taLeftJustify, Rect(0, 0, 120, 26), measured, false, false, TabOnTop, mode, false,
                         true, &font, L"", "Editor Settings");
        EXPECT_GT(measured.Width(), 20);
        EXPECT_GT(measured.Height(), 5);
        EXPECT_EQ(Darkest(t.Picture, Rect(0, 0, 120, 26)), 255);  // measuring draws nothing
        RenderTabCaption(&t.Canvas, taLeftJustify, Rect(0, 0, 120, 26), measured, false, false, TabOnTop, mode, true,
                         true, &font, L"", "Editor Settings");
        EXPECT_LT(Darkest(t.Picture, Rect(0, 0, 120, 26)), 100);
    }
    // A disabled caption is gray; a font GDI+ does not know falls back to Arial.
    TTarget gray(120, 26, clWhite);
    TRect measured{};
    RenderTabCaption(&gray.Canvas, taCenter, Rect(0, 0, 120, 26), measured, false, false, TabOnTop, 2, true, false,
                     &font, L"Editor", "");
    const int darkest = Darkest(gray.Picture, Rect(0, 0, 120, 26));
    EXPECT_GE(darkest, 0x70);
    EXPECT_LT(darkest, 0xC0);
    font.SetName("No Such Font Anywhere");
    TTarget fallback(120, 26, clWhite);
    RenderTabCaption(&fallback.Canvas, taLeftJustify, Rect(0, 0, 120, 26), measured, false, false, TabOnTop, 2, true,
                     true, &font, L"", "Editor");
    EXPECT_LT(Darkest(fallback.Picture, Rect(0, 0, 120, 26)), 100);
    // Two empty texts: nothing at all.
    TRect untouched = Rect(1, 2, 3, 4);
    RenderTabCaption(&fallback.Canvas, taLeftJustify, Rect(0, 0, 120, 26), untouched, false, false, TabOnTop, 2, true,
                     true, &font, L"", "");
    EXPECT_EQ(untouched, Rect(1, 2, 3, 4));
}

TEST_F(PagerDrawTest, WideTextWidthIsTheCanvasFontsExtent) {
    TTarget t(10, 10, clWhite);
    const TSize size = WideTextWidth(&t.Canvas, L"Output");
    EXPECT_EQ(size.cx, t.Canvas.TextWidth("Output"));
    EXPECT_EQ(size.cy, t.Canvas.TextHeight("Output"));
}

}  // namespace
