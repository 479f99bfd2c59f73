// The pager styler's presets against the tables of colours per style: what
// each style writes, and what it leaves out (Keep).
#include "components/pager/pager_presets.h"

#include <gtest/gtest.h>

#include <climits>

#include "classlib/ui/graphics_types.h"
#include "components/controls/glow_button_appearance.h"
#include "components/controls/panel_shading.h"

namespace {

constexpr Int64 Keep = INT64_MIN;
// Styles 0 to 7, then 9 to 12: the columns of the tables.
constexpr int Styles[12] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12};

struct TRow {
    const char* Property;
    Int64 Values[12];
};

// clang-format off
const TRow TabBackGroundRows[] = {
    {"Color", {0xE4AE88, 0xE6D8D8, 0x8CC0B1, 0xC9D1D5, 0xFFDBBF, 0x535353, clBtnFace, 0x859D9D, 0xDDD4D0, 0xFFFDF9, 0xFCEBDC, clBtnFace}},
    {"ColorTo", {0xFADAC4, 0xE6D8D8, 0xCFF0EA, 0xFFFFFF, clNone, 0x3A3A3A, clBtnFace, 0xADC4C4, clNone, 0xFFFAF0, 0xFCDBC1, clBtnFace}},
};

const TRow TabRows[] = {
    {"BorderColor", {clNone, clNone, clNone, clNone, clNone, clNone, clNone, clNone, clNone, 0xFCF2DA, 0xCEA27D, 0x808080}},
    {"BorderColorDisabled", {clNone, clNone, clNone, clNone, clNone, clNone, clNone, clNone, clNone, clNone, clNone, clNone}},
    {"BorderColorHot", {clHighlight, 0x927476, 0x000000, 0xE3B28D, 0xEABC99, 0x969C9E, clHighlight, 0xE3B28D, 0xC1BEBD, 0xFEDF9A, 0xE3B28D, 0x808080}},
    {"BorderColorSelected", {0x000000, 0x927476, 0x000000, 0x000000, 0xE3B28D, 0xE3B28D, 0x000000, 0x000000, 0xC1BFBD, 0xFEDF9A, 0xCEA27D, clHighlight}},
    {"BorderColorSelectedHot", {0x60CCF9, 0x60CCF9, 0x60CCF9, 0x60CCF9, 0x60CCF9, 0x60CCF9, clHighlight, 0x60CCF9, 0x5FCAFA, clHighlight, clHighlight, 0x808080}},
    {"TextColor", {0x000000, 0x000000, 0x000000, 0x000000, 0x8B4215, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x5C534C, 0x000000, 0x000000, 0x000000}},
    {"TextColorHot", {0x000000, 0x000000, 0x000000, 0x000000, 0x8B4215, 0xFFFFFF, 0x000000, 0x000000, 0x5C534C, 0x000000, 0x000000, 0x000000}},
    {"TextColorSelected", {0x000000, 0x000000, 0x000000, 0x000000, 0x8B4215, 0x000000, 0x000000, 0x000000, 0x5C534C, 0x000000, 0x000000, 0xFFFFFF}},
    {"TextColorDisabled", {0x808080, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080}},
    {"ColorSelected", {0xFCDCC4, 0x927476, 0x8CC0B1, 0xC9D1D5, 0xFEF6F0, 0xEFEEED, 0xEFD3C6, 0xADC4C4, 0xF8F8F4, 0xFEF9F0, 0xFCEBDC, clHighlight}},
    {"ColorSelectedTo", {0xFAF1E9, 0xF7F3F3, 0xCFF0EA, 0xFFFFFF, 0xFAF1E9, 0xEFEEED, clBtnFace, 0xFFFFFF, 0xEFE7E2, 0xFDF0D7, 0xFCDBC1, clHighlight}},
    {"ColorMirrorSelected", {0xFAF1E9, 0xE6D8D8, 0xCFF0EA, 0xFFFFFF, 0xFAF1E9, 0xD2D2CE, clBtnFace, 0xFFFFFF, 0xEFE7E2, 0xFDF0D7, 0xFCDBC1, clHighlight}},
    {"ColorMirrorSelectedTo", {0xF6EAE0, 0xF7F3F3, 0xCFF0EA, 0xFFFFFF, 0xF6EAE0, 0xD2D2CE, clBtnFace, 0xFFFFFF, 0xEFE7E2, 0xFEF9F0, 0xFCEBDC, clHighlight}},
    {"ColorDisabled", {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x808080}},
    {"ColorDisabledTo", {0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, clBtnFace, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0x808080}},
    {"ColorMirrorDisabled", {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x808080}},
    {"ColorMirrorDisabledTo", {0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, clBtnFace, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0x808080}},
    {"ColorHot", {0xCCF4FF, 0xCCF4FF, 0xCCF4FF, 0xCCF4FF, 0xDDE5E4, 0x5B7078, 0xEFD3C6, 0xCCF4FF, 0xCEE1E9, 0xFFFDF9, 0xFDFBFA, 0xC0C0C0}},
    {"ColorHotTo", {0xCCF4FF, 0xCCF4FF, 0xCCF4FF, 0xCCF4FF, 0xFFDEC5, 0x959697, 0xEFD3C6, 0xCCF4FF, 0xDFD7D4, 0xFFFAF0, 0xFDF3EB, 0xC0C0C0}},
    {"ColorMirrorHot", {0xCCF4FF, 0xCCF4FF, 0xCCF4FF, 0xCCF4FF, 0xD5DFDD, 0x43575F, 0xEFD3C6, 0xCCF4FF, 0xC5D8DF, 0xFFFAF0, 0xFDF3EB, 0xC0C0C0}},
    {"ColorMirrorHotTo", {0x91D0FF, 0x91D0FF, 0x91D0FF, 0x91D0FF, 0xA3D3E1, 0x18AEED, 0xEFD3C6, 0x91D0FF, 0x8ECEE9, 0xFFFDF9, 0xFDFBFA, 0xC0C0C0}},
    {"ShadowColor", {0xA3673F, 0xBCADA7, 0x648C82, 0xA1A7AA, 0xE8C7AE, 0x000000, 0xBFA99E, 0x648C82, 0xD6CDC9, 0xFBEDD3, 0xFAE9C6, 0x808080}},
    {"HighLightColor", {0xFFFABF, 0xF0EAEA, 0xFFFABF, 0xFFFABF, 0xFFFABF, 0x959899, 0xFFFABF, 0xFFFABF, 0xFFFABF, Keep, Keep, Keep}},
    {"HighLightColorSelected", {0x63CCF8, 0x63CCF8, 0x63CCF8, 0x63CCF8, 0x63CCF8, 0x63CCF8, 0x63CCF8, 0x63CCF8, 0x63CCF8, 0xFAE9C6, 0xFDF3EB, clBtnFace}},
    {"HighLightColorSelectedHot", {0xBDFFFF, 0xBDFFFF, 0xBDFFFF, 0xBDFFFF, 0xBDFFFF, 0xBDFFFF, 0xBDFFFF, 0xBDFFFF, 0xBDFFFF, 0xFCF2DA, 0xFBD6B8, clHighlight}},
    {"HighLightColorDown", {0xFFFBD0, 0xFFFBD0, 0xFFFBD0, 0xFFFBD0, 0xFFFBD0, 0xFFFBD0, 0xFFFBD0, 0xFFFBD0, 0xFFFBD0, 0xFEF8EC, 0xFDEFE3, clHighlight}},
    {"HighLightColorHot", {0xFDF4ED, 0xF7F4F3, 0xFDF4ED, 0xF7F4F3, 0xFDF4ED, 0x959899, 0xFDF4ED, 0xFDF4ED, 0xF7F4F3, 0xFEDF9A, 0xCEA27D, 0x808080}},
};

const TRow PageRows[] = {
    {"BorderColor", {0xE3B28D, 0x927476, 0x8CC0B1, 0x000000, 0xE3B28D, 0xB4B0AE, 0x000000, 0x000000, 0xBEBEBE, 0xFCF2DA, 0xCEA27D, 0x808080}},
    {"Color", {0xFDEADA, 0xF7F3F3, 0xCFF0EA, 0xFFFFFF, 0xFAF1E9, 0xCFC6C1, clBtnFace, 0xFFFFFF, 0xF9F5F3, 0xFFFDF9, 0xFCEBDC, clBtnFace}},
    {"ColorTo", {0xFADAC4, 0xE6D8D8, 0xCFF0EA, 0xC9D1D5, 0xEDD8C7, 0xC5BBB4, clBtnFace, 0xD9E9EC, 0xE7DCD5, 0xFDF0D7, 0xFCDBC1, clBtnFace}},
    {"ColorMirror", {0xFADAC4, 0xE6D8D8, 0xCFF0EA, 0xC9D1D5, 0xEDD8C7, 0xC5BBB4, clBtnFace, 0xD9E9EC, 0xE7DCD5, 0xFDF0D7, 0xFCDBC1, clBtnFace}},
    {"ColorMirrorTo", {0xFADAC4, 0xE6D8D8, 0xCFF0EA, 0xFFFFFF, 0xFFF2E7, 0xECECE5, clBtnFace, 0xFFFFFF, 0xFBFAF0, 0xFEF9F0, 0xFCEBDC, clBtnFace}},
};

const TRow GlowButtonRows[] = {
    {"Color", {0xEEDBC8, 0xEDD4C0, 0xCFF0EA, 0xFFFFFF, 0xEEDBC8, 0xDFDED6, 0xFFFFFF, 0xFFFFFF, 0xF3F3F1, 0xFDF8F1, 0xFCEBDC, clBtnFace}},
    {"ColorTo", {0xF6DDC9, 0xE6D8D8, 0xCFF0EA, 0xC9D1D5, 0xF6DDC9, 0xE4E2DB, 0xB9D8DC, 0xDFEDF0, 0xF5F5F3, 0xFDF8F1, 0xFCDBC1, clBtnFace}},
    {"ColorMirror", {0xEDD4C0, 0xEDD4C0, 0xCFF0EA, 0xFFFFFF, 0xEDD4C0, 0xD7D5CE, 0xB9D8DC, 0xDFEDF0, 0xEEEAE7, 0xFCEFD5, 0xFCDBC1, clBtnFace}},
    {"ColorMirrorTo", {0xF7E1D0, 0xC8B2B3, 0x8CC0B1, 0xC9D1D5, 0xF7E1D0, 0xE7E5E0, 0xB9D8DC, 0xDFEDF0, 0xF8F7F6, 0xFDF8F1, 0xFCDBC1, clBtnFace}},
    {"BorderColor", {0xE0B99B, 0x927476, 0x8CC0B1, 0x000000, 0xE0B99B, 0xC0BCB2, 0xB9D8DC, 0x99A8AC, 0xCCCAC9, 0xFDDE99, 0xCEA27D, 0x808080}},
    {"ColorHot", {0xEBFDFF, 0xCCF4FF, 0xCCF4FF, 0xEBFDFF, 0xEBFDFF, 0xEBFDFF, 0xEFD3C6, 0xEBFDFF, 0xEBFDFF, clNone, 0xFDFBFA, 0xC0C0C0}},
    {"ColorHotTo", {0xACECFF, 0xCCF4FF, 0xCCF4FF, 0xACECFF, 0xACECFF, 0xACECFF, 0xEFD3C6, 0xACECFF, 0xACECFF, 0xFFFAF0, 0xFDF3EB, 0xC0C0C0}},
    {"ColorMirrorHot", {0x59DAFF, 0xCCF4FF, 0xCCF4FF, 0x59DAFF, 0x59DAFF, 0x59DAFF, 0xEFD3C6, 0x59DAFF, 0x59DAFF, 0xFFFAF0, 0xFDF3EB, 0xC0C0C0}},
    {"ColorMirrorHotTo", {0xA4E9FF, 0x91D0FF, 0x91D0FF, 0xA4E9FF, 0xA4E9FF, 0xA4E9FF, 0xEFD3C6, 0xA4E9FF, 0xA4E9FF, 0xFFFAF0, 0xFDFBFA, 0xC0C0C0}},
    {"BorderColorHot", {0x99CEDB, 0x99CEDB, 0x99CEDB, 0x99CEDB, 0x99CEDB, 0x99CEDB, clHighlight, 0x99CEDB, 0x99CEDB, 0xFCF2DA, 0xFBD6B8, 0x808080}},
    {"ColorDown", {0x76AFF1, 0x4E91FE, 0x4E91FE, 0x76AFF1, 0x76AFF1, 0x76AFF1, 0xB59284, 0x76AFF1, 0x76AFF1, 0xFCEFD5, 0xFCEBDC, clHighlight}},
    {"ColorDownTo", {0x4190F3, 0x4E91FE, 0x4E91FE, 0x4190F3, 0x4190F3, 0x4190F3, 0xB59284, 0x4190F3, 0x4190F3, 0xFCEFD5, 0xFCDBC1, clHighlight}},
    {"ColorMirrorDown", {0x0E72F1, 0x4E91FE, 0x4E91FE, 0x0E72F1, 0x0E72F1, 0x0E72F1, 0xB59284, 0x0E72F1, 0x0E72F1, 0xFDF4E3, 0xFCDBC1, clHighlight}},
    {"ColorMirrorDownTo", {0x4C9FFD, 0x91D3FF, 0x91D3FF, 0x4C9FFD, 0x4C9FFD, 0x4C9FFD, 0xB59284, 0x4C9FFD, 0x4C9FFD, 0xFDF4E3, 0xFCEBDC, clHighlight}},
    {"BorderColorDown", {0x45667B, 0x45667B, 0x45667B, 0x45667B, 0x45667B, 0x45667B, clHighlight, 0x45667B, 0x45667B, 0xFEDF9A, 0xCEA27D, clHighlight}},
    {"ColorChecked", {0xB5DBFB, 0x4E91FE, 0x4E91FE, 0xB5DBFB, 0xB5DBFB, 0xB5DBFB, 0xB9D8DC, 0xB5DBFB, 0xB5DBFB, 0xFCEFD5, 0xFDFBFA, 0x808080}},
    {"ColorCheckedTo", {0x78C7FE, 0x4E91FE, 0x4E91FE, 0x78C7FE, 0x78C7FE, 0x78C7FE, 0xB9D8DC, 0x78C7FE, 0x78C7FE, 0xFAE9C6, 0xFDF3EB, 0x808080}},
    {"ColorMirrorChecked", {0x9FEBFD, 0x4E91FE, 0x4E91FE, 0x9FEBFD, 0x9FEBFD, 0x9FEBFD, 0xB9D8DC, 0x9FEBFD, 0x9FEBFD, 0xF7DAA2, 0xFCEBDC, 0x808080}},
    {"ColorMirrorCheckedTo", {0x56B4FE, 0x91D3FF, 0x91D3FF, 0x56B4FE, 0x56B4FE, 0x56B4FE, 0xB9D8DC, 0x56B4FE, 0x56B4FE, 0xFBEDD3, 0xFCEBDC, 0x808080}},
    {"BorderColorChecked", {Keep, Keep, Keep, Keep, 0x45667B, 0x45667B, 0x000000, Keep, 0x45667B, 0xFEDF9A, clHighlight, Keep}},
};
// clang-format on

// The value a list of writes gives the property; Keep when it is not
// written. A property written twice would be a fault of its own.
Int64 Written(const std::vector<TPresetWrite>& writes, const char* property) {
    Int64 value = Keep;
    int count = 0;
    for (const TPresetWrite& w : writes)
        if (String(w.Property) == property) value = w.Value, ++count;
    EXPECT_LE(count, 1) << property;
    return value;
}

void ExpectTable(const TRow* rows, size_t count, std::vector<TPresetWrite> TPagerPreset::*part) {
    for (int column = 0; column < 12; ++column) {
        const auto preset = PagerPreset(Styles[column]);
        ASSERT_TRUE(preset);
        for (size_t i = 0; i < count; ++i)
            EXPECT_EQ(Written((*preset).*part, rows[i].Property), rows[i].Values[column])
                << rows[i].Property << " of style " << Styles[column];
    }
}

TEST(PagerPresetsTest, TabBackgroundsAreThoseOfTheTable) {
    ExpectTable(TabBackGroundRows, std::size(TabBackGroundRows), &TPagerPreset::TabBackGround);
    for (int style : Styles)
        EXPECT_EQ(Written(PagerPreset(style)->TabBackGround, "Direction"),
                  style == psOffice2007Obsidian ? Int64(gdVertical) : Keep);
}

TEST(PagerPresetsTest, TabColoursAreThoseOfTheTable) { ExpectTable(TabRows, std::size(TabRows), &TPagerPreset::Tab); }

TEST(PagerPresetsTest, PageColoursAreThoseOfTheTable) {
    ExpectTable(PageRows, std::size(PageRows), &TPagerPreset::Page);
}

TEST(PagerPresetsTest, GlowButtonColoursAreThoseOfTheTable) {
    ExpectTable(GlowButtonRows, std::size(GlowButtonRows), &TPagerPreset::GlowButton);
}

TEST(PagerPresetsTest, GradientKindsAreVerticalButTheOffice2007HotOnes) {
    for (int style : Styles) {
        const auto p = PagerPreset(style);
        const bool office2007 =
            style == psOffice2007Luna || style == psOffice2007Obsidian || style == psOffice2007Silver;
        EXPECT_EQ(Written(p->Tab, "GradientHot"), office2007 ? ggRadial : ggVertical) << style;
        EXPECT_EQ(Written(p->Tab, "GradientMirrorHot"), style == psOffice2007Obsidian ? ggRadial : ggVertical);
        for (const char* name :
             {"Gradient", "GradientSelected", "GradientMirrorSelected", "GradientDisabled", "GradientMirrorDisabled"})
            EXPECT_EQ(Written(p->Tab, name), ggVertical) << name;
        // Never written: the tab's mirror gradient, down border, normal colours and font.
        for (const char* name :
             {"GradientMirror", "BorderColorDown", "Color", "ColorTo", "ColorMirror", "ColorMirrorTo", "Font"})
            EXPECT_EQ(Written(p->Tab, name), Keep) << name;
        EXPECT_EQ(Written(p->Page, "Gradient"), ggVertical);
        EXPECT_EQ(Written(p->Page, "GradientMirror"), ggVertical);
        EXPECT_EQ(Written(p->Page, "Steps"), Keep);
        for (const char* name : {"Gradient", "GradientMirror", "GradientHot", "GradientMirrorHot", "GradientDown",
                                 "GradientMirrorDown", "GradientChecked", "GradientMirrorChecked"})
            EXPECT_EQ(Written(p->GlowButton, name), ggVertical) << name;
        for (const char* name : {"ColorDisabled", "ColorDisabledTo", "BorderColorDisabled", "GradientDisabled"})
            EXPECT_EQ(Written(p->GlowButton, name), Keep) << name;
    }
}

TEST(PagerPresetsTest, CurvedCornersAndBlendByStyle) {
    struct {
        int Style;
        bool Curved;
        bool AfterTab;
        int Blend;
    } cases[] = {
        {psOffice2003Blue, true, false, 50},  {psOffice2003Silver, true, false, 50},
        {psOffice2003Olive, true, false, 50}, {psOffice2003Classic, true, false, 80},
        {psOffice2007Luna, true, true, 50},   {psOffice2007Obsidian, true, true, 50},
        {psWindowsXP, false, false, 50},      {psWhidbey, true, false, 50},
        {psOffice2007Silver, true, true, 50}, {psWindowsVista, false, false, 50},
        {psWindows7, false, false, 50},       {psTerminal, false, false, 50},
    };
    for (auto& c : cases) {
        const auto p = PagerPreset(c.Style);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->CurvedCorners, c.Curved) << c.Style;
        EXPECT_EQ(p->CurvedCornersAfterTab, c.AfterTab) << c.Style;
        EXPECT_EQ(p->BlendPercent, c.Blend) << c.Style;
    }
}

TEST(PagerPresetsTest, CustomAndUnknownNumbersHaveNoPreset) {
    EXPECT_FALSE(PagerPreset(psCustom));
    EXPECT_FALSE(PagerPreset(-1));
    EXPECT_FALSE(PagerPreset(13));
}

TEST(PagerPresetsTest, XPColourSchemesSelectTheirStyles) {
    EXPECT_EQ(PagerStyleForXPColorScheme(1), psOffice2003Blue);
    EXPECT_EQ(PagerStyleForXPColorScheme(2), psOffice2003Olive);
    EXPECT_EQ(PagerStyleForXPColorScheme(3), psOffice2003Silver);
    EXPECT_EQ(PagerStyleForXPColorScheme(0), psWindowsXP);
    EXPECT_EQ(PagerStyleForXPColorScheme(7), psWindowsXP);
}

TEST(PagerPresetsTest, SwapRedBlueExchangesTheOuterBytesAndClearsTheTop) {
    EXPECT_EQ(SwapRedBlue(0x00112233u), 0x00332211u);
    EXPECT_EQ(SwapRedBlue(0xFF0000FFu), 0x00FF0000u);
    EXPECT_EQ(SwapRedBlue(0x00FFFFFFu), 0x00FFFFFFu);
}

}  // namespace
