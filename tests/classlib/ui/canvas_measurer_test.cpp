// The text measurer over a canvas: the same numbers as the system's own
// measuring in the same font, and the canvas left in the font measured.
#include "classlib/ui/canvas_measurer.h"

#include <gtest/gtest.h>

#include "classlib/ui/bitmaps.h"

namespace {

// What the system measures for text in a font made here, on a DC made here.
struct TSystemMeasure {
    SIZE Extent{};
    TEXTMETRICA Metrics{};
};
TSystemMeasure MeasureBySystem(const char* face, int height, bool bold, const String& text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    HGDIOBJ old = SelectObject(dc, font);
    TSystemMeasure m;
    GetTextExtentPoint32A(dc, text.data(), int(text.size()), &m.Extent);
    GetTextMetricsA(dc, &m.Metrics);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return m;
}

class CanvasMeasurerTest : public ::testing::Test {
protected:
    void SetUp() override {
        bitmap.SetPixelFormat(pf32bit);
        bitmap.SetSize(50, 50);
    }
    TBitmap bitmap;
    TCanvasTextMeasurer measurer{bitmap.Canvas()};
};

TEST_F(CanvasMeasurerTest, MeasuresAsTheSystemDoesInTheFontSet) {
    struct TCase {
        const char* Face;
        int Height;
        bool Bold;
        const char* Text;
    } cases[] = {
        {"Tahoma", -11, false, "Advanced Settings"},
        {"Tahoma", -11, true, "Advanced Settings"},
        {"Tahoma", -20, false, "Wg"},
        {"Courier New", -13, false, "iiii WWWW"},
    };
    for (const TCase& c : cases) {
        measurer.SetFont({c.Face, c.Height, c.Bold});
        TSystemMeasure expected = MeasureBySystem(c.Face, c.Height, c.Bold, c.Text);
        EXPECT_EQ(measurer.TextExtent(c.Text), (TTextExtent{int(expected.Extent.cx), int(expected.Extent.cy)}))
            << c.Face << " " << c.Height << (c.Bold ? " bold" : "");
        EXPECT_EQ(measurer.FontMeasures(),
                  (TFontMeasures{int(expected.Metrics.tmHeight), int(expected.Metrics.tmAscent),
                                 int(expected.Metrics.tmDescent), int(expected.Metrics.tmExternalLeading),
                                 int(expected.Metrics.tmAveCharWidth)}))
            << c.Face << " " << c.Height;
    }
}

TEST_F(CanvasMeasurerTest, BoldTextIsWiderAndTheCanvasPaintsInTheFontMeasured) {
    measurer.SetFont({"Tahoma", -16});
    const int regular = measurer.TextWidth("WWWWWWWW");
    measurer.SetFont({"Tahoma", -16, true, true});
    EXPECT_GT(measurer.TextWidth("WWWWWWWW"), regular);
    TFont* font = bitmap.Canvas()->Font();
    EXPECT_EQ(font->Height(), -16);
    EXPECT_EQ(font->Style(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(bitmap.Canvas()->TextWidth("WWWWWWWW"), measurer.TextWidth("WWWWWWWW"));
}

TEST_F(CanvasMeasurerTest, AnEmptyNameAndAZeroHeightKeepTheCanvasFonts) {
    bitmap.Canvas()->Font()->SetName("Courier New");
    bitmap.Canvas()->Font()->SetHeight(-14);
    measurer.SetFont({"", 0, true});
    EXPECT_EQ(MeasureFontOf(bitmap.Canvas()->Font()), (TMeasureFont{"Courier New", -14, true}));
}

TEST(MeasureFontOf, DescribesAFont) {
    TFont font;
    font.SetName("Arial");
    font.SetHeight(-12);
    font.SetStyle({fsUnderline, fsStrikeOut});
    EXPECT_EQ(MeasureFontOf(&font), (TMeasureFont{"Arial", -12, false, false, true, true}));
}

}  // namespace
