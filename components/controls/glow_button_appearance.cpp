#include "components/controls/glow_button_appearance.h"

#include <algorithm>

QL_DEFINE_ENUM(TGDIPGradient, "ggRadial", "ggVertical", "ggDiagonalForward", "ggDiagonalBackward")

namespace {

// x / 100 rounded to nearest, ties to even (x >= 0).
int DivideBy100Even(int x) {
    int q = x / 100;
    const int r = x % 100;
    if (r > 50 || (r == 50 && (q & 1))) ++q;
    return q;
}

int Channel(TColor c, int shift) { return (unsigned(c) >> shift) & 0xFF; }

TColor MakeRGB(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }

int AdjustChannel(int v, int percent) {
    if (v == 0) return std::clamp(percent, 0, 255);
    return std::clamp(DivideBy100Even(v * std::min(percent + 100, 100)), 0, 255);
}

int BlendChannel(int a, int b, int percent) {
    return std::min(DivideBy100Even(percent * a + (100 - percent) * b), 255);
}

}  // namespace

TColor AdjustColor(TColor rgb, int red, int green, int blue) {
    return MakeRGB(AdjustChannel(Channel(rgb, 0), red), AdjustChannel(Channel(rgb, 8), green),
                   AdjustChannel(Channel(rgb, 16), blue));
}

TColor Blend(TColor a, TColor b, int percent) {
    if (percent >= 100) return a;
    if (percent <= 0) return b;
    return MakeRGB(BlendChannel(Channel(a, 0), Channel(b, 0), percent),
                   BlendChannel(Channel(a, 8), Channel(b, 8), percent),
                   BlendChannel(Channel(a, 16), Channel(b, 16), percent));
}

TGlowColorSet Blend(const TGlowColorSet& a, const TGlowColorSet& b, int percent) {
    if (percent <= 0) return b;
    TGlowColorSet r = a;
    r.Color = Blend(a.Color, b.Color, percent);
    r.ColorTo = Blend(a.ColorTo, b.ColorTo, percent);
    r.Mirror = Blend(a.Mirror, b.Mirror, percent);
    r.MirrorTo = Blend(a.MirrorTo, b.MirrorTo, percent);
    r.Border = Blend(a.Border, b.Border, percent);
    return r;
}

// ============================================================================
// TGlowButtonAppearance
// ============================================================================

TClass TGlowButtonAppearance::StaticClass() {
    using A = TGlowButtonAppearance;
    static const TClassInfo info =
        TClassBuilder<A>("TGlowButtonAppearance")
            .Prop("BorderColor", &A::BorderColor, &A::SetBorderColor)
            .Default(0xC0C0C0)
            .Prop("BorderColorHot", &A::BorderColorHot, &A::SetBorderColorHot)
            .Default(0xFF0000)
            .Prop("BorderColorDown", &A::BorderColorDown, &A::SetBorderColorDown)
            .Default(0x800000)
            .Prop("BorderColorChecked", &A::BorderColorChecked, &A::SetBorderColorChecked)
            .Default(0xFF0000)
            .Prop("BorderColorDisabled", &A::BorderColorDisabled, &A::SetBorderColorDisabled)
            .Default(0x808080)
            .Prop("Color", &A::Color, &A::SetColor)
            .Default(0xFFFFFF)
            .Prop("ColorTo", &A::ColorTo, &A::SetColorTo)
            .Default(0xFFFFFF)
            .Prop("ColorChecked", &A::ColorChecked, &A::SetColorChecked)
            .Default(0xF5D8CA)
            .Prop("ColorCheckedTo", &A::ColorCheckedTo, &A::SetColorCheckedTo)
            .Default(0xF9BDA0)
            .Prop("ColorDisabled", &A::ColorDisabled, &A::SetColorDisabled)
            .Default(0xF2F2F2)
            .Prop("ColorDisabledTo", &A::ColorDisabledTo, &A::SetColorDisabledTo)
            .Default(0xF2F2F2)
            .Prop("ColorDown", &A::ColorDown, &A::SetColorDown)
            .Default(0xF5D8CA)
            .Prop("ColorDownTo", &A::ColorDownTo, &A::SetColorDownTo)
            .Default(0xF9BDA0)
            .Prop("ColorHot", &A::ColorHot, &A::SetColorHot)
            .Default(0xF5F0E1)
            .Prop("ColorHotTo", &A::ColorHotTo, &A::SetColorHotTo)
            .Default(0xF9D2B2)
            .Prop("ColorMirror", &A::ColorMirror, &A::SetColorMirror)
            .Default(0xC0C0C0)
            .Prop("ColorMirrorTo", &A::ColorMirrorTo, &A::SetColorMirrorTo)
            .Default(0xFFFFFF)
            .Prop("ColorMirrorHot", &A::ColorMirrorHot, &A::SetColorMirrorHot)
            .Default(0xF5C8AD)
            .Prop("ColorMirrorHotTo", &A::ColorMirrorHotTo, &A::SetColorMirrorHotTo)
            .Default(0xFFF8F4)
            .Prop("ColorMirrorDown", &A::ColorMirrorDown, &A::SetColorMirrorDown)
            .Default(0xF5B49C)
            .Prop("ColorMirrorDownTo", &A::ColorMirrorDownTo, &A::SetColorMirrorDownTo)
            .Default(0xFFDFDC)
            .Prop("ColorMirrorChecked", &A::ColorMirrorChecked, &A::SetColorMirrorChecked)
            .Default(0xF5B49C)
            .Prop("ColorMirrorCheckedTo", &A::ColorMirrorCheckedTo, &A::SetColorMirrorCheckedTo)
            .Default(0xFFDFDC)
            .Prop("ColorMirrorDisabled", &A::ColorMirrorDisabled, &A::SetColorMirrorDisabled)
            .Default(0xB6B6B6)
            .Prop("ColorMirrorDisabledTo", &A::ColorMirrorDisabledTo, &A::SetColorMirrorDisabledTo)
            .Default(0xF2F2F2)
            .Prop("Gradient", &A::Gradient, &A::SetGradient)
            .Default(ggVertical)
            .Prop("GradientMirror", &A::GradientMirror, &A::SetGradientMirror)
            .Default(ggVertical)
            .Prop("GradientHot", &A::GradientHot, &A::SetGradientHot)
            .Default(ggRadial)
            .Prop("GradientMirrorHot", &A::GradientMirrorHot, &A::SetGradientMirrorHot)
            .Default(ggRadial)
            .Prop("GradientDown", &A::GradientDown, &A::SetGradientDown)
            .Default(ggRadial)
            .Prop("GradientMirrorDown", &A::GradientMirrorDown, &A::SetGradientMirrorDown)
            .Default(ggRadial)
            .Prop("GradientChecked", &A::GradientChecked, &A::SetGradientChecked)
            .Default(ggRadial)
            .Prop("GradientMirrorChecked", &A::GradientMirrorChecked, &A::SetGradientMirrorChecked)
            .Default(ggVertical)
            .Prop("GradientDisabled", &A::GradientDisabled, &A::SetGradientDisabled)
            .Default(ggRadial)
            .Prop("GradientMirrorDisabled", &A::GradientMirrorDisabled, &A::SetGradientMirrorDisabled)
            .Default(ggRadial)
            .Prop("SystemFont", &A::SystemFont, &A::SetSystemFont)
            .Default(true)
            .Build();
    return &info;
}

TGlowButtonAppearance::TGlowButtonAppearance() {
    FColor = FColorTo = clWhite;
    FColorMirror = TColor(0xC0C0C0);
    FColorMirrorTo = clWhite;
    FColorHot = TColor(0xF5F0E1);
    FColorHotTo = TColor(0xF9D2B2);
    FColorMirrorHot = TColor(0xF5C8AD);
    FColorMirrorHotTo = TColor(0xFFF8F4);
    // Down and checked are the hot colours with less red and green; disabled
    // the normal ones a little darker.
    FColorDown = FColorChecked = AdjustColor(FColorHot, -10, -10, 0);
    FColorDownTo = FColorCheckedTo = AdjustColor(FColorHotTo, -10, -10, 0);
    FColorMirrorDown = FColorMirrorChecked = AdjustColor(FColorMirrorHot, -10, -10, 0);
    FColorMirrorDownTo = FColorMirrorCheckedTo = AdjustColor(FColorMirrorHotTo, -10, -10, 0);
    FColorDisabled = AdjustColor(FColor, -5);
    FColorDisabledTo = AdjustColor(FColorTo, -5);
    FColorMirrorDisabled = AdjustColor(FColorMirror, -5);
    FColorMirrorDisabledTo = AdjustColor(FColorMirrorTo, -5);
    FBorderColor = TColor(0xC0C0C0);
    FBorderColorHot = TColor(0xFF0000);
    FBorderColorDown = TColor(0x800000);
    FBorderColorChecked = TColor(0xFF0000);
    FBorderColorDisabled = TColor(0x808080);
}

void TGlowButtonAppearance::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TGlowButtonAppearance*>(source);
    if (!other) return TPersistent::Assign(source);
    SetBorderColor(other->FBorderColor);
    SetBorderColorHot(other->FBorderColorHot);
    SetBorderColorDown(other->FBorderColorDown);
    SetBorderColorChecked(other->FBorderColorChecked);
    SetBorderColorDisabled(other->FBorderColorDisabled);
    SetColor(other->FColor);
    SetColorTo(other->FColorTo);
    SetColorChecked(other->FColorChecked);
    SetColorCheckedTo(other->FColorCheckedTo);
    SetColorDisabled(other->FColorDisabled);
    SetColorDisabledTo(other->FColorDisabledTo);
    SetColorDown(other->FColorDown);
    SetColorDownTo(other->FColorDownTo);
    SetColorHot(other->FColorHot);
    SetColorHotTo(other->FColorHotTo);
    SetColorMirror(other->FColorMirror);
    SetColorMirrorTo(other->FColorMirrorTo);
    SetColorMirrorHot(other->FColorMirrorHot);
    SetColorMirrorHotTo(other->FColorMirrorHotTo);
    SetColorMirrorDown(other->FColorMirrorDown);
    SetColorMirrorDownTo(other->FColorMirrorDownTo);
    SetColorMirrorChecked(other->FColorMirrorChecked);
    SetColorMirrorCheckedTo(other->FColorMirrorCheckedTo);
    SetColorMirrorDisabled(other->FColorMirrorDisabled);
    SetColorMirrorDisabledTo(other->FColorMirrorDisabledTo);
    SetGradient(other->FGradient);
    SetGradientMirror(other->FGradientMirror);
    SetGradientHot(other->FGradientHot);
    SetGradientMirrorHot(other->FGradientMirrorHot);
    SetGradientDown(other->FGradientDown);
    SetGradientMirrorDown(other->FGradientMirrorDown);
    SetGradientChecked(other->FGradientChecked);
    SetGradientMirrorChecked(other->FGradientMirrorChecked);
    SetGradientDisabled(other->FGradientDisabled);
    SetGradientMirrorDisabled(other->FGradientMirrorDisabled);
    SetSystemFont(other->FSystemFont);
}

TGlowColorSet TGlowButtonAppearance::NormalSet() const {
    return {FColor, FColorTo, FColorMirror, FColorMirrorTo, FBorderColor, FGradient, FGradientMirror};
}
TGlowColorSet TGlowButtonAppearance::HotSet() const {
    return {FColorHot,       FColorHotTo,  FColorMirrorHot,   FColorMirrorHotTo,
            FBorderColorHot, FGradientHot, FGradientMirrorHot};
}
TGlowColorSet TGlowButtonAppearance::DownSet() const {
    return {FColorDown,       FColorDownTo,  FColorMirrorDown,   FColorMirrorDownTo,
            FBorderColorDown, FGradientDown, FGradientMirrorDown};
}
TGlowColorSet TGlowButtonAppearance::CheckedSet() const {
    return {FColorChecked,       FColorCheckedTo,  FColorMirrorChecked,   FColorMirrorCheckedTo,
            FBorderColorChecked, FGradientChecked, FGradientMirrorChecked};
}
TGlowColorSet TGlowButtonAppearance::DisabledSet() const {
    return {FColorDisabled,       FColorDisabledTo,  FColorMirrorDisabled,   FColorMirrorDisabledTo,
            FBorderColorDisabled, FGradientDisabled, FGradientMirrorDisabled};
}

// ============================================================================
// Style presets
// ============================================================================

namespace {

struct TPresetColors {
    TColor Color, ColorTo, Mirror, MirrorTo, Border;
};

// One preset: the normal, hot, down and checked colours. A border of
// kKeep is left as it is.
constexpr TColor kKeep = TColor(-1);
struct TPreset {
    TPresetColors Normal, Hot, Down, Checked;
};

constexpr TColor C(unsigned v) { return TColor(int(v)); }

// The hot, down and checked colours most presets share (Office-like warm
// hover); the checked border is not part of it.
constexpr TPresetColors kWarmHot{C(0xEBFDFF), C(0xACECFF), C(0x59DAFF), C(0xA4E9FF), C(0x99CEDB)};
constexpr TPresetColors kWarmDown{C(0x76AFF1), C(0x4190F3), C(0x0E72F1), C(0x4C9FFD), C(0x45667B)};
constexpr TPresetColors kWarmChecked{C(0xB5DBFB), C(0x78C7FE), C(0x9FEBFD), C(0x56B4FE), kKeep};
constexpr TPresetColors kWarmCheckedBordered{C(0xB5DBFB), C(0x78C7FE), C(0x9FEBFD), C(0x56B4FE), C(0x45667B)};

// Indexed by style number; entry 8 (custom) is never used.
const TPreset kPresets[13] = {
    // 0 Office 2003 blue
    {{C(0xEEDBC8), C(0xF6DDC9), C(0xEDD4C0), C(0xF7E1D0), C(0xE0B99B)}, kWarmHot, kWarmDown, kWarmChecked},
    // 1 Office 2003 silver
    {{C(0xE6E9E2), C(0xE6D8D8), C(0xE6E9E2), C(0xC8B2B3), C(0x927476)}, kWarmHot, kWarmDown, kWarmChecked},
    // 2 Office 2003 olive
    {{C(0xCFF0EA), C(0xCFF0EA), C(0xCFF0EA), C(0x8CC0B1), C(0x8CC0B1)}, kWarmHot, kWarmDown, kWarmChecked},
    // 3 Office 2003 classic
    {{C(0xFFFFFF), C(0xC9D1D5), C(0xFFFFFF), C(0xC9D1D5), C(0x000000)}, kWarmHot, kWarmDown, kWarmChecked},
    // 4 Office 2007 Luna
    {{C(0xEEDBC8), C(0xF6DDC9), C(0xEDD4C0), C(0xF7E1D0), C(0xE0B99B)}, kWarmHot, kWarmDown, kWarmCheckedBordered},
    // 5 Office 2007 Obsidian
    {{C(0xDFDED6), C(0xE4E2DB), C(0xD7D5CE), C(0xE7E5E0), C(0xC0BCB2)}, kWarmHot, kWarmDown, kWarmCheckedBordered},
    // 6 Windows XP
    {{C(0xFFFFFF), C(0xB9D8DC), C(0xB9D8DC), C(0xB9D8DC), C(0xB9D8DC)},
     {C(0xEFD3C6), C(0xEFD3C6), C(0xEFD3C6), C(0xEFD3C6), clHighlight},
     {C(0xB59284), C(0xB59284), C(0xB59284), C(0xB59284), clHighlight},
     {C(0xB9D8DC), C(0xB9D8DC), C(0xB9D8DC), C(0xB9D8DC), C(0x000000)}},
    // 7 Whidbey
    {{C(0xFFFFFF), C(0xDFEDF0), C(0xDFEDF0), C(0xDFEDF0), C(0x99A8AC)}, kWarmHot, kWarmDown, kWarmChecked},
    // 8 custom: no preset
    {},
    // 9 Office 2007 silver
    {{C(0xF3F3F1), C(0xF5F5F3), C(0xEEEAE7), C(0xF8F7F6), C(0xCCCAC9)}, kWarmHot, kWarmDown, kWarmCheckedBordered},
    // 10 Windows Vista
    {{C(0xFDF8F1), C(0xFDF8F1), C(0xFCEFD5), C(0xFDF8F1), C(0xFDDE99)},
     {clNone, C(0xFFFAF0), C(0xFFFAF0), C(0xFFFAF0), C(0xFCF2DA)},
     {C(0xFCEFD5), C(0xFCEFD5), C(0xFDF4E3), C(0xFDF4E3), C(0xFEDF9A)},
     {C(0xFCEFD5), C(0xFAE9C6), C(0xF7DAA2), C(0xFBEDD3), C(0xFEDF9A)}},
    // 11 Windows 7
    {{C(0xFCEBDC), C(0xFCDBC1), C(0xFCDBC1), C(0xFCDBC1), C(0xCEA27D)},
     {C(0xFDFBFA), C(0xFDF3EB), C(0xFDF3EB), C(0xFDFBFA), C(0xFBD6B8)},
     {C(0xFCEBDC), C(0xFCDBC1), C(0xFCDBC1), C(0xFCEBDC), C(0xCEA27D)},
     {C(0xFDFBFA), C(0xFDF3EB), C(0xFCEBDC), C(0xFCEBDC), clHighlight}},
    // 12 terminal: the normal border stays
    {{clBtnFace, clBtnFace, clBtnFace, clBtnFace, kKeep},
     {C(0xC0C0C0), C(0xC0C0C0), C(0xC0C0C0), C(0xC0C0C0), C(0x808080)},
     {clHighlight, clHighlight, clHighlight, clHighlight, clHighlight},
     {C(0x808080), C(0x808080), C(0x808080), C(0x808080), C(0x808080)}},
};

constexpr int kCustomStyle = 8;
constexpr int kTerminalStyle = 12;

}  // namespace

bool ApplyGlowButtonStylePreset(TGlowButtonAppearance& a, int style) {
    if (style < 0 || style > kTerminalStyle || style == kCustomStyle) return false;
    const TPreset& p = kPresets[style];
    a.SetColor(p.Normal.Color);
    a.SetColorTo(p.Normal.ColorTo);
    a.SetColorMirror(p.Normal.Mirror);
    a.SetColorMirrorTo(p.Normal.MirrorTo);
    if (p.Normal.Border != kKeep) a.SetBorderColor(p.Normal.Border);
    a.SetColorHot(p.Hot.Color);
    a.SetColorHotTo(p.Hot.ColorTo);
    a.SetColorMirrorHot(p.Hot.Mirror);
    a.SetColorMirrorHotTo(p.Hot.MirrorTo);
    a.SetBorderColorHot(p.Hot.Border);
    a.SetColorDown(p.Down.Color);
    a.SetColorDownTo(p.Down.ColorTo);
    a.SetColorMirrorDown(p.Down.Mirror);
    a.SetColorMirrorDownTo(p.Down.MirrorTo);
    a.SetBorderColorDown(p.Down.Border);
    a.SetColorChecked(p.Checked.Color);
    a.SetColorCheckedTo(p.Checked.ColorTo);
    a.SetColorMirrorChecked(p.Checked.Mirror);
    a.SetColorMirrorCheckedTo(p.Checked.MirrorTo);
    if (p.Checked.Border != kKeep) a.SetBorderColorChecked(p.Checked.Border);
    if (style != kTerminalStyle) {
        a.SetGradient(ggVertical);
        a.SetGradientMirror(ggVertical);
        a.SetGradientHot(ggVertical);
        a.SetGradientMirrorHot(ggVertical);
        a.SetGradientDown(ggVertical);
        a.SetGradientMirrorDown(ggVertical);
        a.SetGradientChecked(ggVertical);
        a.SetGradientMirrorChecked(ggVertical);
    }
    return true;
}
