#include "components/controls/glow_button_appearance.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TColor C(unsigned v) { return TColor(int(v)); }

// Counts the change events of an appearance.
class TChangeCounter : public TObject {
public:
    int Count = 0;
    void Changed(TObject*) { ++Count; }
    void Watch(TGlowButtonAppearance& a) { a.OnChange = TNotifyEvent::Bind<&TChangeCounter::Changed>(this); }
};

TEST(GlowButtonAppearance, DefaultsDeriveDownCheckedAndDisabledColours) {
    TGlowButtonAppearance a;
    EXPECT_EQ(a.Color(), C(0xFFFFFF));
    EXPECT_EQ(a.ColorMirror(), C(0xC0C0C0));
    EXPECT_EQ(a.BorderColor(), C(0xC0C0C0));
    EXPECT_EQ(a.BorderColorHot(), C(0xFF0000));
    EXPECT_EQ(a.BorderColorDown(), C(0x800000));
    EXPECT_EQ(a.BorderColorDisabled(), C(0x808080));
    for (auto set : {a.DownSet(), a.CheckedSet()}) {
        EXPECT_EQ(set.Color, C(0xF5D8CA));
        EXPECT_EQ(set.ColorTo, C(0xF9BDA0));
        EXPECT_EQ(set.Mirror, C(0xF5B49C));
        EXPECT_EQ(set.MirrorTo, C(0xFFDFDC));
    }
    EXPECT_EQ(a.ColorDisabled(), C(0xF2F2F2));
    EXPECT_EQ(a.ColorDisabledTo(), C(0xF2F2F2));
    EXPECT_EQ(a.ColorMirrorDisabled(), C(0xB6B6B6));
    EXPECT_EQ(a.ColorMirrorDisabledTo(), C(0xF2F2F2));
    EXPECT_EQ(a.Gradient(), ggVertical);
    EXPECT_EQ(a.GradientHot(), ggRadial);
    EXPECT_EQ(a.GradientMirrorChecked(), ggVertical);
    EXPECT_TRUE(a.SystemFont());
}

// The writer relies on the declared defaults: a fresh appearance must hold
// every one of them.
TEST(GlowButtonAppearance, FreshInstanceHoldsItsDeclaredDefaults) {
    TGlowButtonAppearance a;
    EXPECT_TRUE(FindDefaultDrifts(&a).empty());
    EXPECT_EQ(GetPropList(TGlowButtonAppearance::StaticClass()).size(), 36u);
    EXPECT_EQ(GetEnumProp(&a, "GradientHot"), "ggRadial");
    SetEnumProp(&a, "GradientHot", "ggDiagonalBackward");
    EXPECT_EQ(a.GradientHot(), ggDiagonalBackward);
}

TEST(GlowButtonAppearance, ChangeEventOnlyForARealChange) {
    TGlowButtonAppearance a;
    TChangeCounter counter;
    counter.Watch(a);
    a.SetColor(a.Color());
    a.SetGradient(a.Gradient());
    a.SetSystemFont(true);
    EXPECT_EQ(counter.Count, 0);
    a.SetColor(C(0x123456));
    a.SetGradientMirror(ggRadial);
    a.SetSystemFont(false);
    EXPECT_EQ(counter.Count, 3);
}

TEST(GlowButtonAppearance, AssignCopiesEveryPropertyAndFiresPerChangedValue) {
    TGlowButtonAppearance source;
    source.SetColorHot(C(0x010203));
    source.SetBorderColorDisabled(C(0x040506));
    source.SetGradientMirrorDisabled(ggVertical);
    TGlowButtonAppearance target;
    TChangeCounter counter;
    counter.Watch(target);
    target.Assign(&source);
    EXPECT_EQ(counter.Count, 3);
    for (const TPropInfo* p : GetPropList(TGlowButtonAppearance::StaticClass()))
        EXPECT_EQ(GetOrdProp(&target, p), GetOrdProp(&source, p)) << p->Name;
}

TEST(GlowButtonAppearance, AssignFromAnotherClassIsAnError) {
    TGlowButtonAppearance a;
    TPersistent other;
    EXPECT_THROW(a.Assign(&other), EConvertError);
}

TEST(AdjustColor, Table) {
    struct Case {
        unsigned Color;
        int R, G, B;
        unsigned Expected;
    } cases[] = {
        {0x000000, -10, -10, -10, 0x000000},  // black stays black
        {0x0000FF, 0, 0, 20, 0x1400FF},       // a zero channel takes a positive percentage
        {0xF5F0E1, -10, -10, 0, 0xF5D8CA},    // 202.5 rounds to even 202
        {0xFFFFFF, -5, -5, -5, 0xF2F2F2},     // 242.25
        {0x808080, 30, 30, 30, 0x808080},     // a positive percentage leaves others
        {0xFFFFFF, -150, -100, -200, 0x000000}, {0x000000, 300, 0, 0, 0x0000FF},  // never above a channel's range
    };
    for (const Case& c : cases)
        EXPECT_EQ(unsigned(AdjustColor(C(c.Color), c.R, c.G, c.B)), c.Expected) << std::hex << c.Color;
    EXPECT_EQ(AdjustColor(C(0xFFFFFF), -10), C(0xE6E6E6));
}

TEST(Blend, Table) {
    struct Case {
        unsigned A, B;
        int Percent;
        unsigned Expected;
    } cases[] = {
        {0xFFFFFF, 0x000000, 100, 0xFFFFFF}, {0xFFFFFF, 0x000000, 150, 0xFFFFFF},
        {0xFFFFFF, 0x000000, 0, 0x000000},   {0xFFFFFF, 0x000000, -5, 0x000000},
        {0xFFFFFF, 0x000000, 50, 0x808080},  // 127.5 to even 128
        {0x0000FF, 0x00FF00, 20, 0x00CC33},  {0x102030, 0x302010, 40, 0x23201D},
        {0x010101, 0x000000, 50, 0x000000},  // 0.5 to even 0
    };
    for (const Case& c : cases)
        EXPECT_EQ(unsigned(Blend(C(c.A), C(c.B), c.Percent)), c.Expected) << c.Percent << " " << std::hex << c.A;
}

TEST(Blend, OfASetBlendsEveryColourAndKeepsTheFirstSetsGradients) {
    TGlowColorSet a{C(0xFFFFFF), C(0xFFFFFF), C(0xFFFFFF), C(0xFFFFFF), C(0xFFFFFF), ggRadial, ggRadial};
    TGlowColorSet b{C(0), C(0), C(0), C(0), C(0), ggVertical, ggVertical};
    const TGlowColorSet r = Blend(a, b, 40);
    for (TColor c : {r.Color, r.ColorTo, r.Mirror, r.MirrorTo, r.Border}) EXPECT_EQ(c, C(0x666666));
    EXPECT_EQ(r.Gradient, ggRadial);
    EXPECT_EQ(r.MirrorGradient, ggRadial);
}

// ---- Presets ------------------------------------------------------------------

struct PresetRow {
    int Style;
    unsigned Normal[5];  // Color, ColorTo, ColorMirror, ColorMirrorTo, BorderColor (kKept: unchanged)
    unsigned Hot[5];
    unsigned Down[5];
    unsigned Checked[5];
};
constexpr unsigned kKept = 0xDEADBEEF;
constexpr unsigned kBtnFace = 0xFF00000F, kHighlight = 0xFF00000D, kNone = 0x1FFFFFFF;
constexpr unsigned kWarmHot[5] = {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB};

const PresetRow kRows[] = {
    {0,
     {0xEEDBC8, 0xF6DDC9, 0xEDD4C0, 0xF7E1D0, 0xE0B99B},
     {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB},
     {0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD, 0x45667B},
     {0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE, kKept}},
    {1,
     {0xE6E9E2, 0xE6D8D8, 0xE6E9E2, 0xC8B2B3, 0x927476},
     {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB},
     {0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD, 0x45667B},
     {0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE, kKept}},
    {2,
     {0xCFF0EA, 0xCFF0EA, 0xCFF0EA, 0x8CC0B1, 0x8CC0B1},
     {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB},
     {0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD, 0x45667B},
     {0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE, kKept}},
    {3,
     {0xFFFFFF, 0xC9D1D5, 0xFFFFFF, 0xC9D1D5, 0x000000},
     {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB},
     {0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD, 0x45667B},
     {0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE, kKept}},
    {4,
     {0xEEDBC8, 0xF6DDC9, 0xEDD4C0, 0xF7E1D0, 0xE0B99B},
     {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB},
     {0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD, 0x45667B},
     {0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE, 0x45667B}},
    {5,
     {0xDFDED6, 0xE4E2DB, 0xD7D5CE, 0xE7E5E0, 0xC0BCB2},
     {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB},
     {0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD, 0x45667B},
     {0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE, 0x45667B}},
    {6,
     {0xFFFFFF, 0xB9D8DC, 0xB9D8DC, 0xB9D8DC, 0xB9D8DC},
     {0xEFD3C6, 0xEFD3C6, 0xEFD3C6, 0xEFD3C6, kHighlight},
     {0xB59284, 0xB59284, 0xB59284, 0xB59284, kHighlight},
     {0xB9D8DC, 0xB9D8DC, 0xB9D8DC, 0xB9D8DC, 0x000000}},
    {7,
     {0xFFFFFF, 0xDFEDF0, 0xDFEDF0, 0xDFEDF0, 0x99A8AC},
     {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB},
     {0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD, 0x45667B},
     {0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE, kKept}},
    {9,
     {0xF3F3F1, 0xF5F5F3, 0xEEEAE7, 0xF8F7F6, 0xCCCAC9},
     {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB},
     {0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD, 0x45667B},
     {0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE, 0x45667B}},
    {10,
     {0xFDF8F1, 0xFDF8F1, 0xFCEFD5, 0xFDF8F1, 0xFDDE99},
     {kNone, 0xFFFAF0, 0xFFFAF0, 0xFFFAF0, 0xFCF2DA},
     {0xFCEFD5, 0xFCEFD5, 0xFDF4E3, 0xFDF4E3, 0xFEDF9A},
     {0xFCEFD5, 0xFAE9C6, 0xF7DAA2, 0xFBEDD3, 0xFEDF9A}},
    {11,
     {0xFCEBDC, 0xFCDBC1, 0xFCDBC1, 0xFCDBC1, 0xCEA27D},
     {0xFDFBFA, 0xFDF3EB, 0xFDF3EB, 0xFDFBFA, 0xFBD6B8},
     {0xFCEBDC, 0xFCDBC1, 0xFCDBC1, 0xFCEBDC, 0xCEA27D},
     {0xFDFBFA, 0xFDF3EB, 0xFCEBDC, 0xFCEBDC, kHighlight}},
    {12,
     {kBtnFace, kBtnFace, kBtnFace, kBtnFace, kKept},
     {0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0x808080},
     {kHighlight, kHighlight, kHighlight, kHighlight, kHighlight},
     {0x808080, 0x808080, 0x808080, 0x808080, 0x808080}},
};

void ExpectSet(const TGlowColorSet& set, const unsigned (&row)[5], const TGlowColorSet& before, const char* what) {
    const TColor got[5] = {set.Color, set.ColorTo, set.Mirror, set.MirrorTo, set.Border};
    const TColor was[5] = {before.Color, before.ColorTo, before.Mirror, before.MirrorTo, before.Border};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(unsigned(got[i]), row[i] == kKept ? unsigned(was[i]) : row[i]) << what << i;
}

// An appearance with every colour and gradient set to something no preset
// writes, so what a preset leaves alone shows.
void Scramble(TGlowButtonAppearance& a) {
    for (const TPropInfo* p : GetPropList(TGlowButtonAppearance::StaticClass())) {
        if (p->Name == "SystemFont") continue;
        if (p->PropType()->Kind == tkEnumeration)
            SetOrdProp(&a, p, ggDiagonalForward);
        else
            SetOrdProp(&a, p, 0x010203);
    }
}

TEST(GlowButtonStylePreset, EachStyleWritesItsTablesAndOnlyThose) {
    for (const PresetRow& row : kRows) {
        SCOPED_TRACE(row.Style);
        TGlowButtonAppearance a;
        Scramble(a);
        TGlowButtonAppearance before;
        before.Assign(&a);
        EXPECT_TRUE(ApplyGlowButtonStylePreset(a, row.Style));
        ExpectSet(a.NormalSet(), row.Normal, before.NormalSet(), "normal ");
        ExpectSet(a.HotSet(), row.Hot, before.HotSet(), "hot ");
        ExpectSet(a.DownSet(), row.Down, before.DownSet(), "down ");
        ExpectSet(a.CheckedSet(), row.Checked, before.CheckedSet(), "checked ");
        EXPECT_EQ(a.DisabledSet(), before.DisabledSet());
        const TGDIPGradient expected = row.Style == 12 ? ggDiagonalForward : ggVertical;
        for (auto set : {a.NormalSet(), a.HotSet(), a.DownSet(), a.CheckedSet()}) {
            EXPECT_EQ(set.Gradient, expected);
            EXPECT_EQ(set.MirrorGradient, expected);
        }
    }
}

TEST(GlowButtonStylePreset, CustomAndUnknownNumbersChangeNothing) {
    for (int style : {8, 13, 128, -1}) {
        TGlowButtonAppearance a;
        TChangeCounter counter;
        counter.Watch(a);
        EXPECT_FALSE(ApplyGlowButtonStylePreset(a, style));
        EXPECT_EQ(counter.Count, 0) << style;
    }
}

TEST(GlowButtonStylePreset, Style0AfterStyle6KeepsStyle6sCheckedBorder) {
    TGlowButtonAppearance a;
    ApplyGlowButtonStylePreset(a, 6);
    ApplyGlowButtonStylePreset(a, 0);
    EXPECT_EQ(a.BorderColorChecked(), C(0x000000));
    EXPECT_EQ(a.ColorHot(), C(kWarmHot[0]));
    EXPECT_EQ(a.BorderColorHot(), C(kWarmHot[4]));
    EXPECT_EQ(a.ColorChecked(), C(0xB5DBFB));
}

TEST(GlowButtonStylePreset, ReapplyingAStyleFiresNoChange) {
    TGlowButtonAppearance a;
    ApplyGlowButtonStylePreset(a, 4);
    TChangeCounter counter;
    counter.Watch(a);
    ApplyGlowButtonStylePreset(a, 4);
    EXPECT_EQ(counter.Count, 0);
}

}  // namespace
