#include "components/foundation/gdiplus_types.h"

#include <gtest/gtest.h>

TEST(GdiplusStatus, TheLastStatusIsTheMostRecentFailure) {
    TGPLastStatus last;
    EXPECT_EQ(last.Value(), TStatus::Ok);
    EXPECT_EQ(last.Keep(TStatus::Ok), TStatus::Ok);
    EXPECT_EQ(last.Value(), TStatus::Ok);
    EXPECT_EQ(last.Keep(TStatus::InvalidParameter), TStatus::InvalidParameter);
    EXPECT_EQ(last.Keep(TStatus::Ok), TStatus::Ok);  // answered, but not kept
    EXPECT_EQ(last.Value(), TStatus::InvalidParameter);
    last.Keep(TStatus::OutOfMemory);
    EXPECT_EQ(last.Value(), TStatus::OutOfMemory);
    // The creating call's status is kept whatever it is.
    last.Set(TStatus::Ok);
    EXPECT_EQ(last.Value(), TStatus::Ok);
    last.Set(TStatus::FontFamilyNotFound);
    EXPECT_EQ(int(last.Value()), 14);
}

TEST(GdiplusColors, ARGBPacksAlphaRedGreenBlueFromTheTop) {
    EXPECT_EQ(MakeARGB(0x12, 0x34, 0x56, 0x78), 0x12345678u);
    EXPECT_EQ(MakeARGB(0x34, 0x56, 0x78), 0xFF345678u);
    EXPECT_EQ(GetAlpha(0x12345678u), 0x12);
    EXPECT_EQ(GetRed(0x12345678u), 0x34);
    EXPECT_EQ(GetGreen(0x12345678u), 0x56);
    EXPECT_EQ(GetBlue(0x12345678u), 0x78);
}

namespace {

// A system palette for the test: index i is $00iiii00 + i.
LongWord FakeSystemColor(int index) { return LongWord(index) << 16 | LongWord(index) << 8 | LongWord(index + 1); }

}  // namespace

TEST(GdiplusColors, ColorToARGBSwapsRedAndBlueAndIsOpaque) {
    struct Case {
        TColor Color;
        ARGB Expected;
    };
    const Case cases[] = {
        {clRed, 0xFFFF0000},    // $0000FF
        {clLime, 0xFF00FF00},   // $00FF00
        {clBlue, 0xFF0000FF},   // $FF0000
        {clBlack, 0xFF000000},  //
        {clWhite, 0xFFFFFFFF},  //
        {TColor(0x00804020), 0xFF204080},
        {clBtnFace, 0xFF100F0F},    // index 15: $000F0F10 resolved first
        {clHighlight, 0xFF0E0D0D},  // index 13: $000D0D0E
        {clScrollBar, 0xFF010000},  // index 0
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColorToARGBWith(c.Color, &FakeSystemColor), c.Expected) << std::hex << unsigned(c.Color);
}

TEST(GdiplusColors, OnlyTheColourBytesOfAValueCount) {
    // clNone is not a colour; what it converts to is its colour bytes, opaque.
    EXPECT_EQ(ColorToARGBWith(clNone, &FakeSystemColor), 0xFFFFFFFFu);
    EXPECT_EQ(ColorToARGBWith(TColor(0x02123456), &FakeSystemColor), 0xFF563412u);
}

TEST(GdiplusImageFormats, EachPublishedGuidHasItsNumber) {
    struct Case {
        TGUID Guid;
        int Expected;
    };
    const Case cases[] = {
        {GUID("{B96B3CAA-0728-11D3-9D7B-0000F81EF32E}"), 1},
        {GUID("{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}"), 2},
        {GUID("{B96B3CAC-0728-11D3-9D7B-0000F81EF32E}"), 3},
        {GUID("{B96B3CAD-0728-11D3-9D7B-0000F81EF32E}"), 4},
        {GUID("{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}"), 5},
        {GUID("{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}"), 6},
        {GUID("{B96B3CB0-0728-11D3-9D7B-0000F81EF32E}"), 7},
        {GUID("{B96B3CB1-0728-11D3-9D7B-0000F81EF32E}"), 8},
        {GUID("{B96B3CB2-0728-11D3-9D7B-0000F81EF32E}"), 9},
        {GUID("{B96B3CB5-0728-11D3-9D7B-0000F81EF32E}"), 10},
        // Undefined, the two between EXIF and Icon, and a stranger: 0.
        {GUID("{B96B3CA9-0728-11D3-9D7B-0000F81EF32E}"), 0},
        {GUID("{B96B3CB3-0728-11D3-9D7B-0000F81EF32E}"), 0},
        {GUID("{B96B3CB4-0728-11D3-9D7B-0000F81EF32E}"), 0},
        {GUID("{B96B3CAF-0728-11D3-9D7B-0000F81EF32F}"), 0},
        {TGUID{}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(int(ImageFormatFromGUID(c.Guid)), c.Expected) << c.Guid.ToString();
}

TEST(GdiplusPathGradient, SurroundColorsNeedColoursPointsAndACountWithinThem) {
    const ARGB colors[4] = {};
    EXPECT_TRUE(SurroundColorsAccepted(colors, 4, 4));
    EXPECT_TRUE(SurroundColorsAccepted(colors, 4, 1));
    EXPECT_FALSE(SurroundColorsAccepted(colors, 4, 5));  // more colours than points
    EXPECT_FALSE(SurroundColorsAccepted(colors, 0, 0));  // a brush without points
    EXPECT_FALSE(SurroundColorsAccepted(nullptr, 4, 4));
}

TEST(GdiplusRecords, PointsAndRectanglesKeepTheirFields) {
    EXPECT_EQ(MakePoint(3, -4), (TGPPoint{3, -4}));
    TGPRectF r = MakeRect(1.5f, 2, 30, 40.25f);
    EXPECT_FLOAT_EQ(r.X, 1.5f);
    EXPECT_FLOAT_EQ(r.Y, 2);
    EXPECT_FLOAT_EQ(r.Width, 30);
    EXPECT_FLOAT_EQ(r.Height, 40.25f);
    EXPECT_EQ(sizeof(TGPPoint), 2 * sizeof(int));  // GDI+'s Point and RectF layouts
    EXPECT_EQ(sizeof(TGPRectF), 4 * sizeof(float));
}
