// The panel's gradient drawn into a 32-bit DIB (plain GDI: exact).
#include "components/controls/panel_shading_win.h"

#include <gtest/gtest.h>

#include "object_tally.h"
#include "paint_harness.h"

namespace {

// Bands the clip leaves out are skipped: what the clip lets through is as
// the whole gradient has it, and the pen and brush end in the last band's
// colour either way.
TEST(PanelGradient, AClippedGradientPaintsItsPartAsTheWholeDoes) {
    const TRect r = Rect(0, 0, 120, 90);
    for (bool horizontal : {false, true}) {
        SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
        TPaintTarget whole(120, 90, clFuchsia), part(120, 90, clFuchsia);
        TCanvas a, b;
        a.SetHandle(whole.DC());
        b.SetHandle(part.DC());
        DrawPanelGradient(&a, TColor(0x336699), clWhite, horizontal, r, 64);
        IntersectClipRect(part.DC(), 30, 20, 50, 40);
        DrawPanelGradient(&b, TColor(0x336699), clWhite, horizontal, r, 64);
        SelectClipRgn(part.DC(), nullptr);
        EXPECT_EQ(part.CountPixels(r, clFuchsia), 120 * 90 - 20 * 20);
        for (int y = 20; y < 40; ++y)
            for (int x = 30; x < 50; ++x) ASSERT_EQ(part.PixelAt(x, y), whole.PixelAt(x, y)) << x << ", " << y;
        EXPECT_EQ(b.Brush()->Color(), a.Brush()->Color());
        EXPECT_EQ(b.Pen()->Color(), a.Pen()->Color());
        a.SetHandle(nullptr);
        b.SetHandle(nullptr);
    }
}

}  // namespace
