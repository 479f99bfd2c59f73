#include "components/foundation/html_colors.h"

#include <climits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

TEST(HtmlColors, NamesGiveTheTableValuesAndUnknownOnesBlack) {
    const struct {
        const char* Name;
        unsigned Value;
    } cases[] = {
        {"clred", 0x0000FF},
        {"clblue", 0xFF0000},
        {"clnavy", 0x800000},
        {"clmaroon", 0x000080},
        {"clwhite", 0xFFFFFF},
        {"clbackground", 0xFF000001},
        {"cl3ddkshadow", 0xFF000015},
        {"clgraytext", 0xFF000011},
        {"clinfobk", 0xFF000018},
        {"clhighlight", 0xFF00000D},
        {"clhighlighttext", 0xFF00000E},
        {"clinactivecaptiontext", 0xFF000013},
        {"clRed", 0},
        {"red", 0},
        {"", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(unsigned(ColorFromName(c.Name)), c.Value) << c.Name;
}

TEST(HtmlColors, HexFormHasRedInTheLowByte) {
    EXPECT_EQ(unsigned(HtmlHexToColor("#FF0000")), 0x0000FFu);
    EXPECT_EQ(unsigned(HtmlHexToColor("#0000FF")), 0xFF0000u);
    EXPECT_EQ(unsigned(HtmlHexToColor("#123456")), 0x563412u);
    EXPECT_EQ(unsigned(HtmlHexToColor("#ff8000")), 0x0080FFu);
    // Missing digits read as 0, a lone digit too.
    EXPECT_EQ(unsigned(HtmlHexToColor("#FF")), 0x0000FFu);
    EXPECT_EQ(unsigned(HtmlHexToColor("#FFF")), 0x0000FFu);
    EXPECT_EQ(unsigned(HtmlHexToColor("#")), 0u);
    EXPECT_EQ(HexPairValue("A"), 0);
    EXPECT_EQ(HexPairValue("7f"), 0x7F);
    EXPECT_EQ(HexPairValue("G1"), 1);
}

TEST(HtmlColors, SearchAndReplaceIgnoreCase) {
    EXPECT_EQ(PosNoCase("bgcolor", "<P BGCOLOR=\"x\">"), 4);
    EXPECT_EQ(PosNoCase("x", "abc"), 0);
    EXPECT_EQ(PosNoCase("", "abc"), 0);
    EXPECT_EQ(PosNoCase("abcd", "abc"), 0);
    int pos = -1;
    EXPECT_EQ(PosAndStore("b", "aBb", pos), 3);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(PosAndStore("z", "aBb", pos), 0);
    EXPECT_EQ(pos, 0);
    String text = "a &AMP; b &amp;";
    EXPECT_TRUE(ReplaceFirstNoCase(text, "&amp;", "&&"));
    EXPECT_EQ(text, "a && b &amp;");
    EXPECT_FALSE(ReplaceFirstNoCase(text, "&quot;", "\""));
    // One upper-casing for all of them: ASCII letters only.
    for (const auto& [c, upper] : std::vector<std::pair<char, char>>{{'a', 'A'},
                                                                     {'z', 'Z'},
                                                                     {'A', 'A'},
                                                                     {'`', '`'},
                                                                     {'{', '{'},
                                                                     {'5', '5'},
                                                                     {'\xE9', '\xE9'},
                                                                     {'\xFF', '\xFF'}})
        EXPECT_EQ(Upper(c), upper) << int(static_cast<unsigned char>(c));
}

TEST(HtmlColors, NumbersReadTheirLeadingDigitsAndSaturate) {
    const struct {
        const char* Text;
        int Value;
        bool Complete;
    } cases[] = {
        {"", 0, false},
        {"12", 12, true},
        {"  -7", -7, true},
        {"+5", 5, true},
        {"3\"", 3, false},
        {"-3\"", 3, false},  // stopped early: without its sign
        {"$1F", 31, true},
        {"x10", 16, true},
        {"0x10", 16, true},
        {"12abc", 12, false},
        {"abc", 0, false},
        {"99999999999999999999", INT_MAX, true},
        {"-99999999999999999999", INT_MIN, true},
        {"$FFFFFFFFFF", INT_MAX, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StrToIntVal(c.Text), c.Value) << c.Text;
        int value = 42;
        EXPECT_EQ(TryStrToIntVal(c.Text, value), c.Complete) << c.Text;
        if (c.Complete) {
            EXPECT_EQ(value, c.Value) << c.Text;
        }
    }
}

TEST(HtmlColors, LineBreaks) {
    EXPECT_EQ(LineBreaksToBR("a\r\nb\nc\rd", true), "a<BR>bc<BR>d");
    EXPECT_EQ(LineBreaksToBR("a\r\nb\nc\rd", false), "abcd");
    EXPECT_EQ(LineBreaksToBR("", true), "");
}

TEST(HtmlColors, ScalingRoundsHalvesToEven) {
    EXPECT_EQ(ScaleByPixelsPerInch(16, 96), 16);
    EXPECT_EQ(ScaleByPixelsPerInch(16, 120), 20);
    EXPECT_EQ(ScaleByPixelsPerInch(4, 132), 6);    // 5.5
    EXPECT_EQ(ScaleByPixelsPerInch(12, 100), 12);  // 12.5
    EXPECT_EQ(ScaleByPixelsPerInch(36, 100), 38);  // 37.5
    EXPECT_EQ(ScaleByPixelsPerInch(13, 100), 14);  // 13.54
    EXPECT_EQ(ScaleByPixelsPerInch(-12, 100), -12);
    EXPECT_EQ(ScaleByPixelsPerInch(INT_MAX, 192), INT_MAX);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(1e30), INT_MAX);
}

TEST(HtmlColors, GradientBandsRunFromOneColourToTheOther) {
    const auto bands = GradientBands(TColor(0x000000), TColor(0xFFFFFF), true, Rect(0, 0, 128, 10), 64);
    ASSERT_EQ(bands.size(), 64u);
    EXPECT_EQ(bands[0], (TGradientBand{Rect(0, 0, 3, 10), TColor(0)}));
    EXPECT_EQ(bands[1].Rect, Rect(2, 0, 5, 10));
    EXPECT_EQ(unsigned(bands[63].Color), 0xFBFBFBu);   // 251, 251, 251
    EXPECT_EQ(bands[63].Rect, Rect(126, 0, 128, 10));  // not beyond the far edge
    // Zero bands are one, in the from-colour; vertical bands run downwards.
    const auto one = GradientBands(TColor(0x0000FF), TColor(0xFF0000), false, Rect(5, 10, 20, 30), 0);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0], (TGradientBand{Rect(5, 10, 20, 30), TColor(0x0000FF)}));
    const auto down = GradientBands(TColor(0x000010), TColor(0x000000), false, Rect(0, 0, 10, 4), 4);
    EXPECT_EQ(down[3], (TGradientBand{Rect(0, 3, 10, 4), TColor(0x000004)}));
}

TEST(HtmlColors, ZigZagAlternatesFromAnEvenStart) {
    const std::vector<TPoint> fromFour{{4, 11}, {6, 9}, {8, 11}, {10, 9}};
    EXPECT_EQ(ErrorZigZag(5, 10, 10), fromFour);
    const std::vector<TPoint> fromSix{{6, 9}, {8, 11}};
    EXPECT_EQ(ErrorZigZag(6, 9, 10), fromSix);
    const std::vector<TPoint> negative{{-4, 11}, {-2, 9}};
    EXPECT_EQ(ErrorZigZag(-3, -1, 10), negative);
    EXPECT_TRUE(ErrorZigZag(10, 5, 10).empty());
    EXPECT_LE(ErrorZigZag(0, INT_MAX, INT_MAX).size(), 40000u);
}

}  // namespace
