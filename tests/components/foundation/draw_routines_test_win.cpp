#include "components/foundation/draw_routines_win.h"

#include <gtest/gtest.h>

#include "object_tally.h"
#include "paint_harness.h"

namespace {

class TCanvasOnTarget {
public:
    TCanvasOnTarget(int width, int height) : Target(width, height, clWhite) { Canvas.SetHandle(Target.DC()); }
    ~TCanvasOnTarget() { Canvas.SetHandle(nullptr); }
    TPaintTarget Target;
    TCanvas Canvas;
};

TEST(DrawRoutines, BandedGradientColoursEachBand) {
    TCanvasOnTarget c(128, 30);
    c.Canvas.Handle();  // the canvas's own font, pen and brush
    TObjectBalance balance;
    DrawBandedGradient(&c.Canvas, clBlack, clWhite, true, Rect(0, 0, 128, 10), 64, clNone);
    DrawBandedGradient(&c.Canvas, clRed, clBlue, false, Rect(0, 10, 128, 30), 0, clNone);
    EXPECT_EQ(balance.Leaked(okGdi), 0);
    EXPECT_EQ(c.Target.PixelAt(0, 5), clBlack);
    EXPECT_EQ(unsigned(c.Target.PixelAt(3, 5)), 0x040404u);  // band 1 from 2 to 4, then band 2 over 4
    EXPECT_EQ(unsigned(c.Target.PixelAt(127, 5)), 0xFBFBFBu);
    // No bands is one, in the from-colour.
    EXPECT_EQ(c.Target.PixelAt(64, 29), clRed);
    // A border colour outlines the rectangle.
    DrawBandedGradient(&c.Canvas, clWhite, clWhite, true, Rect(10, 10, 20, 20), 4, clLime);
    EXPECT_EQ(c.Target.PixelAt(10, 15), clLime);
    EXPECT_EQ(c.Target.PixelAt(15, 15), clWhite);
}

TEST(DrawRoutines, StretchDrawDIBScalesTheBits) {
    TBitmap bitmap(2, 2, pf32bit);
    bitmap.Canvas()->SetPixels(0, 0, clRed);
    bitmap.Canvas()->SetPixels(1, 0, clLime);
    bitmap.Canvas()->SetPixels(0, 1, clBlue);
    bitmap.Canvas()->SetPixels(1, 1, clBlack);
    TCanvasOnTarget c(20, 20);
    StretchDrawDIB(&c.Canvas, Rect(4, 4, 12, 12), &bitmap);
    EXPECT_EQ(c.Target.PixelAt(4, 4), clRed);
    EXPECT_EQ(c.Target.PixelAt(11, 4), clLime);
    EXPECT_EQ(c.Target.PixelAt(4, 11), clBlue);
    EXPECT_EQ(c.Target.PixelAt(11, 11), clBlack);
    EXPECT_EQ(c.Target.PixelAt(12, 12), clWhite);
    EXPECT_EQ(c.Target.PixelAt(3, 4), clWhite);
}

TEST(DrawRoutines, RotatedFontIsSelectedAndPutBack) {
    TCanvasOnTarget c(20, 20);
    c.Canvas.TextWidth("x");
    const HGDIOBJ before = GetCurrentObject(c.Canvas.Handle(), OBJ_FONT);
    TObjectBalance balance;
    TRotatedFont rotated = SelectRotatedFont(&c.Canvas, 90);
    ASSERT_NE(rotated.Font, nullptr);
    EXPECT_EQ(rotated.Previous, before);
    EXPECT_EQ(GetCurrentObject(c.Canvas.Handle(), OBJ_FONT), rotated.Font);
    LOGFONTA lf{};
    GetObjectA(rotated.Font, sizeof lf, &lf);
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfOrientation, 900);
    RestoreRotatedFont(&c.Canvas, rotated);
    RestoreRotatedFont(&c.Canvas, rotated);  // a second time does nothing
    EXPECT_EQ(GetCurrentObject(c.Canvas.Handle(), OBJ_FONT), before);
    EXPECT_EQ(balance.Leaked(okGdi), 0);
}

TEST(DrawRoutines, ShellIconsHaveTheSystemListsSizes) {
    TCanvasOnTarget c(64, 64);
    TSize small, large;
    DrawShellIcon(&c.Canvas, 0, 0, small, 1.0, false, true, false, "C:\\windows");
    DrawShellIcon(&c.Canvas, 0, 0, large, 1.0, false, false, true, "readme.txt");
    EXPECT_GT(small.cx, 0);
    EXPECT_GT(large.cx, small.cx);
    TSize numbered;
    DrawShellIcon(&c.Canvas, 0, 0, numbered, 1.0, false, true, false, "3");
    EXPECT_EQ(numbered, small);
    // In print mode, stretched by the factor.
    TObjectBalance balance;
    TSize printed;
    DrawShellIcon(&c.Canvas, 0, 0, printed, 2.0, true, true, false, "1");
    EXPECT_EQ(balance.Leaked(okGdi), 0);
    EXPECT_TRUE(IsDirectory("C:\\windows"));
    EXPECT_FALSE(IsDirectory("C:\\windows\\win.ini"));
    EXPECT_FALSE(IsDirectory("C:\\no such folder"));
}

}  // namespace
