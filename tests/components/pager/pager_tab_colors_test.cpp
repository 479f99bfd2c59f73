#include "components/pager/pager_tab_colors.h"

#include <gtest/gtest.h>

namespace {

TTabStateColors Set(int base) {
    TTabStateColors c;
    c.Color = TColor(base + 1);
    c.ColorTo = TColor(base + 2);
    c.ColorMirror = TColor(base + 3);
    c.ColorMirrorTo = TColor(base + 4);
    c.Border = TColor(base + 5);
    c.Text = TColor(base + 6);
    c.HighLight = TColor(base + 7);
    return c;
}

// Each state's colours numbered apart: normal 0x10.., hot 0x20..,
// selected 0x30.., disabled 0x40...
TTabAppearanceColors Appearance() {
    TTabAppearanceColors a;
    a.Normal = Set(0x100000);
    a.Hot = Set(0x200000);
    a.Selected = Set(0x300000);
    a.Disabled = Set(0x400000);
    a.BorderColorSelectedHot = TColor(0x500000);
    a.BorderColorDown = TColor(0x600000);
    a.HighLightColorSelected = TColor(0x700000);
    a.HighLightColorSelectedHot = TColor(0x800000);
    a.HighLightColorDown = TColor(0x900000);
    a.BackGroundColor = TColor(0xA00000);
    a.BackGroundColorTo = clNone;
    return a;
}

TEST(PagerTabColors, TheBlendMixesEachChannelAndRoundsHalvesToEven) {
    EXPECT_EQ(MixRGB(clWhite, clBlack, 50), TColor(0x808080));
    EXPECT_EQ(MixRGB(clWhite, clBlack, 100), clWhite);
    EXPECT_EQ(MixRGB(clWhite, clBlack, 0), clBlack);
    EXPECT_EQ(MixRGB(TColor(0x000064), TColor(0x000000), 20), TColor(0x000014));
}

TEST(PagerTabColors, EachStateTakesItsOwnColours) {
    const TTabAppearanceColors a = Appearance();
    struct Case {
        const char* Name;
        TTabColorState State;
        TColor Color, Border, Text, HighLight;
        bool Body;
    };
    TTabColorState active;
    active.Active = true;
    TTabColorState activeHot = active;
    activeHot.Hot = true;
    TTabColorState activeDown = active;
    activeDown.Down = true;
    TTabColorState activeFocused = active;
    activeFocused.PagerFocused = true;
    TTabColorState hot;
    hot.Hot = true;
    TTabColorState other;
    TTabColorState otherShown;
    otherShown.ShowNonSelectedTabs = true;
    TTabColorState disabledShown = otherShown;
    disabledShown.Enabled = disabledShown.TabEnabled = false;
    TTabColorState disabledHidden;
    disabledHidden.Enabled = disabledHidden.TabEnabled = false;
    TTabColorState transparent;
    transparent.Transparent = true;
    const Case cases[] = {
        {"active", active, a.Selected.Color, a.Selected.Border, a.Selected.Text, a.Selected.HighLight, true},
        {"active hot", activeHot, a.Selected.Color, a.BorderColorSelectedHot, a.Selected.Text,
         a.HighLightColorSelectedHot, true},
        {"active pressed", activeDown, a.Selected.Color, a.BorderColorDown, a.Selected.Text, a.HighLightColorDown,
         true},
        {"active focused", activeFocused, a.Hot.Color, a.BorderColorSelectedHot, a.Hot.Text, a.HighLightColorSelected,
         true},
        {"hot", hot, a.Hot.Color, a.Hot.Border, a.Hot.Text, a.Hot.HighLight, true},
        {"other, bodies shown", otherShown, a.Normal.Color, a.Normal.Border, a.Normal.Text, a.Normal.HighLight, true},
        {"disabled, bodies shown", disabledShown, a.Disabled.Color, a.Disabled.Border, a.Disabled.Text,
         a.Disabled.HighLight, true},
    };
    for (const Case& c : cases) {
        const TTabColors got = ChooseTabColors(a, c.State);
        EXPECT_EQ(got.Color, c.Color) << c.Name;
        EXPECT_EQ(got.Border, c.Border) << c.Name;
        EXPECT_EQ(got.Text, c.Text) << c.Name;
        EXPECT_EQ(got.HighLight, c.HighLight) << c.Name;
        EXPECT_EQ(got.Body, c.Body) << c.Name;
    }
    // Without bodies for other tabs: only the text colour, the disabled one
    // for a disabled tab, black on a transparent pager.
    EXPECT_FALSE(ChooseTabColors(a, other).Body);
    EXPECT_EQ(ChooseTabColors(a, other).Text, a.Normal.Text);
    EXPECT_EQ(ChooseTabColors(a, disabledHidden).Text, a.Disabled.Text);
    EXPECT_FALSE(ChooseTabColors(a, disabledHidden).Body);
    EXPECT_EQ(ChooseTabColors(a, transparent).Text, clBlack);
}

TEST(PagerTabColors, FadesBlendByTheGlow) {
    TTabAppearanceColors a = Appearance();
    a.Hot.Color = TColor(0x0000C8);
    a.Normal.Color = TColor(0x000064);
    a.BackGroundColor = TColor(0x000000);
    TTabColorState s;
    s.Hot = true;
    s.Fading = true;
    s.ShowNonSelectedTabs = true;
    s.GlowPosition = 50;
    EXPECT_EQ(ChooseTabColors(a, s).Color, TColor(0x000096));  // half way from normal to hot
    s.GlowPosition = 120;                                      // held: full hot
    EXPECT_EQ(ChooseTabColors(a, s).Color, TColor(0x0000C8));
    // Without bodies of their own the fade runs toward the row background,
    // and a tab that is fading out gets a body while it does.
    s.ShowNonSelectedTabs = false;
    s.GlowPosition = 50;
    EXPECT_EQ(ChooseTabColors(a, s).Color, TColor(0x000064));
    s.Hot = false;
    EXPECT_TRUE(ChooseTabColors(a, s).Body);
    s.Fading = false;
    EXPECT_FALSE(ChooseTabColors(a, s).Body);
    // The active tab's click pulse blends its body toward the hot colours.
    TTabColorState pulse;
    pulse.Active = true;
    pulse.Pulsing = true;
    pulse.ClickPosition = 100;
    a.Selected.Color = TColor(0x000010);
    EXPECT_EQ(ChooseTabColors(a, pulse).Color, TColor(0x000010));
    pulse.ClickPosition = 0;
    EXPECT_EQ(ChooseTabColors(a, pulse).Color, TColor(0x0000C8));
}

}  // namespace
