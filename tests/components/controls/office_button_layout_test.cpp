#include "components/controls/office_button_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {
using C = TGlyphCheck;
TGlyphLook Look(C check, bool enabled, bool down, bool hot) { return {check, enabled, down, hot}; }
}  // namespace

TEST(OfficeButtonLayout, ThemeStatesOfTheCheckBox) {
    const struct {
        C Check;
        int Disabled, Down, Hot, Normal;
    } rows[] = {{C::Unchecked, 4, 3, 3, 1}, {C::Checked, 8, 7, 7, 5}, {C::Grayed, 12, 11, 10, 9}};
    for (const auto& r : rows) {
        EXPECT_EQ(CheckBoxThemeState(Look(r.Check, false, true, true)), r.Disabled);
        EXPECT_EQ(CheckBoxThemeState(Look(r.Check, true, true, true)), r.Down);
        EXPECT_EQ(CheckBoxThemeState(Look(r.Check, true, false, true)), r.Hot);
        EXPECT_EQ(CheckBoxThemeState(Look(r.Check, true, false, false)), r.Normal);
    }
}

TEST(OfficeButtonLayout, ThemeStatesOfTheRadioButton) {
    EXPECT_EQ(RadioButtonThemeState(Look(C::Unchecked, false, false, false)), 4);
    EXPECT_EQ(RadioButtonThemeState(Look(C::Unchecked, true, true, false)), 3);
    EXPECT_EQ(RadioButtonThemeState(Look(C::Unchecked, true, false, true)), 3);
    EXPECT_EQ(RadioButtonThemeState(Look(C::Unchecked, true, false, false)), 1);
    EXPECT_EQ(RadioButtonThemeState(Look(C::Checked, false, false, false)), 8);
    EXPECT_EQ(RadioButtonThemeState(Look(C::Checked, true, true, false)), 7);
    EXPECT_EQ(RadioButtonThemeState(Look(C::Checked, true, false, true)), 7);
    EXPECT_EQ(RadioButtonThemeState(Look(C::Checked, true, false, false)), 5);
}

TEST(OfficeButtonLayout, GlyphResources) {
    const struct {
        C Check;
        bool Down, Hot;
        const char* Box;
        const char* Radio;
    } cases[] = {
        {C::Checked, true, true, "QOROFCCD", "QOROFRCD"},
        {C::Checked, false, true, "QOROFCCH", "QOROFRCH"},
        {C::Checked, false, false, "QOROFCC", "QOROFRC"},
        {C::Unchecked, true, false, "QOROFCUD", "QOROFRUD"},
        {C::Unchecked, false, true, "QOROFCUH", "QOROFRUH"},
        {C::Unchecked, false, false, "QOROFCU", "QOROFRU"},
        // Without visual styles a grayed box shows the unchecked pictures.
        {C::Grayed, false, false, "QOROFCU", "QOROFRU"},
        {C::Grayed, true, false, "QOROFCUD", "QOROFRUD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(CheckBoxGlyphResource(Look(c.Check, true, c.Down, c.Hot))), c.Box);
        EXPECT_EQ(std::string(RadioButtonGlyphResource(Look(c.Check, true, c.Down, c.Hot))), c.Radio);
        // Disabled glyphs are the normal pictures of their state.
        EXPECT_EQ(std::string(CheckBoxGlyphResource(Look(c.Check, false, c.Down, c.Hot))), c.Box);
    }
}

TEST(OfficeButtonLayout, GlyphPlaces) {
    // A 120 x 20 client, text 13 high, a 13 x 13 bitmap; (13 - 16) div 2
    // is -1 (toward zero).
    const TSize client{120, 20}, bitmap{13, 13};
    const struct {
        bool Radio, Themed, Right;
        TGlyphLayout Layout;
        TPoint Place;
    } cases[] = {
        {false, false, false, TGlyphLayout::Top, {0, 4}},    {false, true, false, TGlyphLayout::Top, {0, 3}},
        {true, false, false, TGlyphLayout::Top, {0, 4}},     {true, true, false, TGlyphLayout::Top, {0, 4}},
        {false, false, false, TGlyphLayout::Center, {0, 4}}, {false, true, false, TGlyphLayout::Center, {0, 2}},
        {false, false, false, TGlyphLayout::Bottom, {0, 7}}, {true, false, false, TGlyphLayout::Bottom, {0, 5}},
        {true, true, false, TGlyphLayout::Bottom, {0, 4}},   {false, false, true, TGlyphLayout::Top, {106, 4}},
        {false, true, true, TGlyphLayout::Top, {103, 3}},
    };
    for (const auto& c : cases) {
        const TPoint p = OfficeGlyphPlace(c.Radio, c.Themed, c.Right, c.Layout, client, 13, bitmap);
        EXPECT_EQ(p, c.Place) << c.Radio << c.Themed << c.Right << int(c.Layout) << ": " << p.X << "," << p.Y;
    }
}

TEST(OfficeButtonLayout, CaptionRects) {
    const TRect client = Rect(0, 0, 120, 20);
    EXPECT_EQ(OfficeCaptionRect(false, false, client), Rect(16, 4, 120, 20));
    EXPECT_EQ(OfficeCaptionRect(true, false, client), Rect(18, 4, 120, 20));
    EXPECT_EQ(OfficeCaptionRect(false, true, client), Rect(0, 4, 104, 20));
    EXPECT_EQ(OfficeCaptionRect(true, true, client), Rect(0, 4, 102, 20));
    // Right to left the measured caption ends 3 pixels short of the glyph's strip.
    EXPECT_EQ(OfficeCaptionRightToLeft(Rect(0, 4, 104, 20), 40), Rect(61, 4, 104, 20));
    EXPECT_EQ(OfficeCaptionRightToLeft(Rect(0, 4, 102, 20), 0), Rect(99, 4, 102, 20));
    const TRect r = Rect(18, 4, 120, 40);
    EXPECT_EQ(RadioCaptionAligned(r, TGlyphLayout::Top, 13), r);
    EXPECT_EQ(RadioCaptionAligned(r, TGlyphLayout::Center, 13).Top, 4 + (36 - 13) / 2 - 3);
    EXPECT_EQ(RadioCaptionAligned(r, TGlyphLayout::Bottom, 13).Top, 40 - 13 - 3);
}
