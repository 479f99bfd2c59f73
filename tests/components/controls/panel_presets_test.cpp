#include "components/controls/panel_presets.h"

#include <gtest/gtest.h>

namespace {

using S = TLumPanelStyle;

TEST(PanelPresets, CustomWritesNothing) { EXPECT_FALSE(PanelPreset(S::psCustom)); }

TEST(PanelPresets, BodyAndBorderTable) {
    struct Row {
        S Style;
        TColor Color, ColorTo, Mirror, MirrorTo;
        std::optional<TColor> Font;
        bool Raised;
        TColor Border;
        bool Shadow;
        TColor Collaps;
    };
    const std::optional<TColor> keep;
    const Row rows[] = {
        {S::psXP, TColor(0xFFFFFF), TColor(0xE3F0F2), clNone, clNone, keep, false, TColor(0x808080), true, clBtnFace},
        {S::psFlat, clBtnFace, clNone, clNone, clNone, clWindowText, false, TColor(0x808080), false, clBtnFace},
        {S::psClassic, clBtnFace, clNone, clNone, clNone, clWindowText, true, TColor(0x808080), false, clBtnFace},
        {S::psOffice2003Olive, TColor(0xCFF0EA), TColor(0x8CC0B1), clNone, clNone, clWindowText, false,
         TColor(0x808080), false, clNone},
        {S::psOffice2007Luna, TColor(0xFAF1E9), TColor(0xEDD8C7), TColor(0xEDD8C7), TColor(0xFFF2E7), TColor(0x723708),
         false, TColor(0xFFD2AF), false, clNone},
        {S::psOffice2007Obsidian, TColor(0xCFC6C1), TColor(0xC5BBB4), TColor(0xC5BBB4), TColor(0xECECE5),
         TColor(0x723708), false, TColor(0xFFD2AF), false, clNone},
        {S::psWhidbey, TColor(0xFFFFFF), TColor(0xE3F0F2), clNone, clNone, keep, false, TColor(0x808080), true,
         clBtnFace},
        {S::psWindowsXP, clBtnFace, clNone, clNone, clNone, clWindowText, true, TColor(0x808080), false, clBtnFace},
        {S::psWindowsVista, TColor(0xFDF8F1), TColor(0xFCEFD5), clNone, clNone, TColor(0x723708), false,
         TColor(0xFDDE99), false, clNone},
        {S::psTerminal, clBtnFace, clNone, clNone, clNone, TColor(0), false, TColor(0x808080), false, clHighlight},
    };
    for (const Row& r : rows) {
        auto p = PanelPreset(r.Style);
        ASSERT_TRUE(p);
        SCOPED_TRACE(int(r.Style));
        EXPECT_EQ(p->Color, r.Color);
        EXPECT_EQ(p->ColorTo, r.ColorTo);
        EXPECT_EQ(p->ColorMirror, r.Mirror);
        EXPECT_EQ(p->ColorMirrorTo, r.MirrorTo);
        EXPECT_EQ(p->FontColor, r.Font);
        EXPECT_EQ(p->BevelOuterRaised, r.Raised);
        EXPECT_EQ(p->BorderColor, r.Border);
        EXPECT_EQ(p->BorderShadow, r.Shadow);
        EXPECT_EQ(p->CollapsColor, r.Collaps);
    }
}

TEST(PanelPresets, CaptionTable) {
    struct Row {
        S Style;
        std::optional<bool> Visible;
        std::optional<int> Height, Indent;
        TColor Color, ColorTo;
        TGradientDirection Gradient;
        TColor Font;
        std::optional<int> Grain, Light;
    };
    const std::optional<int> keep;
    const std::optional<bool> keepFlag;
    const Row rows[] = {
        {S::psXP, keepFlag, 20, 2, clHighlight, TColor(0xFF0000), gdHorizontal, clHighlightText, keep, keep},
        {S::psFlat, keepFlag, 20, 0, clHighlight, clNone, gdHorizontal, clHighlightText, keep, keep},
        {S::psQor, true, 20, 4, TColor(0xFFFFFF), clNone, gdHorizontal, TColor(0), 32, 255},
        {S::psClassic, false, keep, keep, TColor(0xFFFFFF), clNone, gdHorizontal, TColor(0), 32, 255},
        {S::psOffice2003Blue, keepFlag, keep, keep, TColor(0xD68759), TColor(0x933803), gdVertical, TColor(0xFFFFFF),
         32, 255},
        {S::psOffice2007Luna, keepFlag, keep, keep, TColor(0xFFEFE3), TColor(0xFFD2AF), gdVertical, TColor(0), 32, 255},
        {S::psWhidbey, keepFlag, 20, 2, TColor(0xF3F7F8), TColor(0xACC3C3), gdVertical, TColor(0), keep, keep},
        {S::psWindowsXP, false, keep, keep, TColor(0xFFFFFF), clNone, gdHorizontal, clHighlightText, 32, 255},
        {S::psWindows7, keepFlag, keep, keep, TColor(0xFCEBDC), TColor(0xFCDBC1), gdVertical, TColor(0), 32, 255},
        {S::psTerminal, keepFlag, keep, keep, TColor(0xC0C0C0), clNone, gdVertical, TColor(0), 32, 255},
    };
    for (const Row& r : rows) {
        auto p = PanelPreset(r.Style);
        ASSERT_TRUE(p);
        SCOPED_TRACE(int(r.Style));
        EXPECT_EQ(p->CaptionVisible, r.Visible);
        EXPECT_EQ(p->CaptionHeight, r.Height);
        EXPECT_EQ(p->CaptionIndent, r.Indent);
        EXPECT_EQ(p->CaptionColor, r.Color);
        EXPECT_EQ(p->CaptionColorTo, r.ColorTo);
        EXPECT_EQ(p->CaptionGradient, r.Gradient);
        EXPECT_EQ(p->CaptionFontColor, r.Font);
        EXPECT_EQ(p->CaptionShadeGrain, r.Grain);
        EXPECT_EQ(p->CaptionShadeLight, r.Light);
        EXPECT_EQ(p->CaptionShadeType, r.Style == S::psQor ? stRMetal : stNormal);
    }
    EXPECT_TRUE(PanelPreset(S::psXP)->CaptionHeightQuiet);
    EXPECT_TRUE(PanelPreset(S::psWhidbey)->CaptionHeightQuiet);
    EXPECT_FALSE(PanelPreset(S::psFlat)->CaptionHeightQuiet);
}

TEST(PanelPresets, StatusBarTable) {
    struct Row {
        S Style;
        TColor Color, ColorTo;
        std::optional<TGradientDirection> Gradient;
        TColor Border, Font;
        bool BevelInner;
    };
    const std::optional<TGradientDirection> keep;
    const Row rows[] = {
        {S::psXP, TColor(0xE3F0F2), TColor(0xFFFFFF), keep, TColor(0xC0C0C0), TColor(0), false},
        {S::psQor, TColor(0xDEDEDE), TColor(0xA9A9A9), keep, TColor(0xFFFFFF), TColor(0), false},
        {S::psClassic, clBtnFace, clNone, keep, clNone, TColor(0), true},
        {S::psOffice2003Silver, TColor(0xBFA8A9), TColor(0xDECFCF), keep, clNone, TColor(0), false},
        {S::psOffice2007Luna, TColor(0xF7E3D3), TColor(0xF5D0B3), gdVertical, TColor(0xFFD2AF), TColor(0x723708),
         false},
        {S::psOffice2007Obsidian, TColor(0xA19F9E), TColor(0x534D4B), gdVertical, TColor(0), TColor(0xFFFFFF), false},
        {S::psWindowsXP, clBtnFace, clNone, keep, clNone, TColor(0), true},
        {S::psWindows7, TColor(0xFCEBDC), TColor(0xFCDBC1), gdVertical, TColor(0xCEA27D), TColor(0x723708), false},
    };
    for (const Row& r : rows) {
        auto p = PanelPreset(r.Style);
        ASSERT_TRUE(p);
        SCOPED_TRACE(int(r.Style));
        EXPECT_EQ(p->StatusColor, r.Color);
        EXPECT_EQ(p->StatusColorTo, r.ColorTo);
        EXPECT_EQ(p->StatusGradient, r.Gradient);
        EXPECT_EQ(p->StatusBorderColor, r.Border);
        EXPECT_EQ(p->StatusFontColor, r.Font);
        EXPECT_EQ(p->StatusBevelInner, r.BevelInner);
    }
}

TEST(PanelPresets, StyleNumbers) {
    const std::pair<int, S> map[] = {
        {0, S::psOffice2003Blue},   {1, S::psOffice2003Silver},
        {2, S::psOffice2003Olive},  {3, S::psOffice2003Classic},
        {4, S::psOffice2007Luna},   {5, S::psOffice2007Obsidian},
        {6, S::psWindowsXP},        {7, S::psWhidbey},
        {9, S::psOffice2007Silver}, {10, S::psWindowsVista},
        {11, S::psWindows7},        {12, S::psTerminal},
        {128, S::psOffice2003Blue}, {128 + 4, S::psOffice2007Luna},
    };
    for (auto [n, style] : map) EXPECT_EQ(PanelStyleForNumber(n), style) << n;
    for (int n : {8, 13, 14, 127, 136, -1}) EXPECT_FALSE(PanelStyleForNumber(n)) << n;
}

TEST(PanelPresets, XPColorSchemes) {
    EXPECT_EQ(XPColorSchemeOfName("NormalColor"), 1);
    EXPECT_EQ(XPColorSchemeOfName("HomeStead"), 2);
    EXPECT_EQ(XPColorSchemeOfName("Metallic"), 3);
    EXPECT_EQ(XPColorSchemeOfName("Homestead"), 0);
    EXPECT_EQ(XPColorSchemeOfName(""), 0);
    EXPECT_EQ(PanelStyleForXPColorScheme(1), S::psOffice2003Blue);
    EXPECT_EQ(PanelStyleForXPColorScheme(2), S::psOffice2003Olive);
    EXPECT_EQ(PanelStyleForXPColorScheme(3), S::psOffice2003Silver);
    EXPECT_EQ(PanelStyleForXPColorScheme(0), S::psOffice2003Classic);
    EXPECT_EQ(PanelStyleForXPColorScheme(XPColorSchemeOfName("homeStead")), S::psOffice2003Classic);
}

TEST(PanelPresets, StyleNamesForTheStoredLayout) {
    const TTypeInfo* t = TypeInfoFor<TLumPanelStyle>();
    EXPECT_EQ(GetEnumName(t, int(S::psOffice2007Luna)), "psOffice2007Luna");
    EXPECT_EQ(GetEnumValue(t, "psTerminal"), int(S::psTerminal));
    EXPECT_EQ(t->MaxValue, 16);
}

}  // namespace
