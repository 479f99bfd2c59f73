#include "classlib/core/textmeasure.h"

#include <gtest/gtest.h>

namespace {

struct TExtentCase {
    const char* Text;
    bool Bold;
    TTextExtent Expected;
};

TEST(FixedPitchMeasurer, MeasuresEveryCharacterAlikeAndBoldWider) {
    const TExtentCase cases[] =
        {
            {"", false, {0, 16}},          {"W", false, {7, 16}},     {"i", false, {7, 16}},
            {"Hello", false, {35, 16}},    {"Hello", true, {40, 16}}, {"a b", false, {21, 16}},
            {"\xC4pfel", false, {35, 16}},  // one byte of the 8-bit code page, one character
        };
    TFixedPitchMeasurer measurer;
    for (const TExtentCase& c : cases) {
        TMeasureFont font;
        font.Bold = c.Bold;
        measurer.SetFont(font);
        EXPECT_EQ(measurer.TextExtent(c.Text), c.Expected) << c.Text << (c.Bold ? " bold" : "");
    }
}

TEST(FixedPitchMeasurer, IgnoresFaceSizeAndTheOtherStyles) {
    TFixedPitchMeasurer measurer;
    measurer.SetFont({"Symbol", -30, false, true, true, true});
    EXPECT_EQ(measurer.TextWidth("abc"), 21);
    EXPECT_EQ(measurer.TextHeight("abc"), 16);
    EXPECT_EQ(measurer.Font().Name, "Symbol");
}

TEST(FixedPitchMeasurer, FontMeasuresAddUp) {
    TFixedPitchMeasurer measurer;
    EXPECT_EQ(measurer.FontMeasures(), (TFontMeasures{16, 13, 3, 0, 7}));
    TFixedPitchMeasurer tall({10, 12, 20, 15, 2});
    EXPECT_EQ(tall.FontMeasures(), (TFontMeasures{20, 15, 5, 2, 10}));
    EXPECT_EQ(tall.TextWidth("abcd"), 40);
    tall.SetFont({"Tahoma", -11, true});
    EXPECT_EQ(tall.TextWidth("abcd"), 48);
    EXPECT_EQ(tall.FontMeasures().AveCharWidth, 12);
}

}  // namespace
