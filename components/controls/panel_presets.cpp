#include "components/controls/panel_presets.h"

QL_DEFINE_ENUM(TLumPanelStyle, "psXP", "psFlat", "psQor", "psClassic", "psOffice2003Blue", "psOffice2003Olive",
               "psOffice2003Silver", "psOffice2003Classic", "psOffice2007Luna", "psOffice2007Obsidian", "psWhidbey",
               "psWindowsXP", "psCustom", "psOffice2007Silver", "psWindowsVista", "psWindows7", "psTerminal")

namespace {

using S = TLumPanelStyle;

constexpr TColor C(int bgr) { return TColor(bgr); }
const std::optional<TColor> kKeepColor;
const std::optional<int> kKeep;
const std::optional<bool> kKeepFlag;

struct TBodyRow {
    TColor Color, ColorTo, ColorMirror, ColorMirrorTo;
    std::optional<TColor> FontColor;
    bool Raised;
    TColor BorderColor;
    bool BorderShadow;
    TColor CollapsColor;
};

struct TCaptionRow {
    std::optional<bool> Visible;
    std::optional<int> Height;
    std::optional<int> Indent;
    TColor Color, ColorTo;
    TGradientDirection Gradient;
    TColor FontColor;
    std::optional<int> Grain, Light;
};

struct TStatusRow {
    TColor Color, ColorTo;
    std::optional<TGradientDirection> Gradient;
    TColor BorderColor, FontColor;
};

const std::optional<TGradientDirection> kKeepGradient;
const std::optional<TGradientDirection> kVertical = gdVertical;

// One row per style, in the order of TLumPanelStyle (psCustom's rows are
// never used).
const TBodyRow kBody[] = {
    {C(0xFFFFFF), C(0xE3F0F2), clNone, clNone, kKeepColor, false, C(0x808080), true, clBtnFace},
    {clBtnFace, clNone, clNone, clNone, clWindowText, false, C(0x808080), false, clBtnFace},
    {C(0xFFFFFF), C(0xE4E4E4), clNone, clNone, clWindowText, false, C(0x808080), true, clBtnFace},
    {clBtnFace, clNone, clNone, clNone, clWindowText, true, C(0x808080), false, clBtnFace},
    {C(0xFDEADA), C(0xE4AE88), clNone, clNone, clWindowText, false, C(0x808080), false, clNone},
    {C(0xCFF0EA), C(0x8CC0B1), clNone, clNone, clWindowText, false, C(0x808080), false, clNone},
    {C(0xECE2E1), C(0xB39698), clNone, clNone, clWindowText, false, C(0x808080), false, clNone},
    {C(0xFFFFFF), C(0xC9D1D5), clNone, clNone, kKeepColor, false, C(0x808080), true, clBtnFace},
    {C(0xFAF1E9), C(0xEDD8C7), C(0xEDD8C7), C(0xFFF2E7), C(0x723708), false, C(0xFFD2AF), false, clNone},
    {C(0xCFC6C1), C(0xC5BBB4), C(0xC5BBB4), C(0xECECE5), C(0x723708), false, C(0xFFD2AF), false, clNone},
    {C(0xFFFFFF), C(0xE3F0F2), clNone, clNone, kKeepColor, false, C(0x808080), true, clBtnFace},
    {clBtnFace, clNone, clNone, clNone, clWindowText, true, C(0x808080), false, clBtnFace},
    {},  // psCustom
    {C(0xF9F5F3), C(0xE7DCD5), C(0xE7DCD5), C(0xFBFAF0), C(0x723708), false, C(0xFFD2AF), false, clNone},
    {C(0xFDF8F1), C(0xFCEFD5), clNone, clNone, C(0x723708), false, C(0xFDDE99), false, clNone},
    {C(0xFDFBFA), C(0xFDF3EB), clNone, clNone, C(0x723708), false, C(0xFFD2AF), false, clNone},
    {clBtnFace, clNone, clNone, clNone, C(0x000000), false, C(0x808080), false, clHighlight},
};

const TCaptionRow kCaption[] = {
    {kKeepFlag, 20, 2, clHighlight, C(0xFF0000), gdHorizontal, clHighlightText, kKeep, kKeep},
    {kKeepFlag, 20, 0, clHighlight, clNone, gdHorizontal, clHighlightText, kKeep, kKeep},
    {true, 20, 4, C(0xFFFFFF), clNone, gdHorizontal, C(0x000000), 32, 255},
    {false, kKeep, kKeep, C(0xFFFFFF), clNone, gdHorizontal, C(0x000000), 32, 255},
    {kKeepFlag, kKeep, kKeep, C(0xD68759), C(0x933803), gdVertical, C(0xFFFFFF), 32, 255},
    {kKeepFlag, kKeep, kKeep, C(0xC6EFE7), C(0x94BDB5), gdVertical, C(0x000000), 32, 255},
    {kKeepFlag, kKeep, kKeep, C(0xEFE7E7), C(0xAA8888), gdVertical, C(0x000000), 32, 255},
    {kKeepFlag, 20, 2, clHighlight, C(0xFF0000), gdHorizontal, clHighlightText, kKeep, kKeep},
    {kKeepFlag, kKeep, kKeep, C(0xFFEFE3), C(0xFFD2AF), gdVertical, C(0x000000), 32, 255},
    {kKeepFlag, kKeep, kKeep, C(0xB8B8B6), C(0xA0A09E), gdVertical, C(0xFFFFFF), 32, 255},
    {kKeepFlag, 20, 2, C(0xF3F7F8), C(0xACC3C3), gdVertical, C(0x000000), kKeep, kKeep},
    {false, kKeep, kKeep, C(0xFFFFFF), clNone, gdHorizontal, clHighlightText, 32, 255},
    {},  // psCustom
    {kKeepFlag, kKeep, kKeep, C(0xF8F7F6), C(0xE8E0DB), gdVertical, C(0x000000), 32, 255},
    {kKeepFlag, kKeep, kKeep, C(0xFDF8F1), C(0xFCEFD5), gdVertical, C(0x000000), 32, 255},
    {kKeepFlag, kKeep, kKeep, C(0xFCEBDC), C(0xFCDBC1), gdVertical, C(0x000000), 32, 255},
    {kKeepFlag, kKeep, kKeep, C(0xC0C0C0), clNone, gdVertical, C(0x000000), 32, 255},
};

const TStatusRow kStatus[] = {
    {C(0xE3F0F2), C(0xFFFFFF), kKeepGradient, C(0xC0C0C0), C(0x000000)},
    {clBtnFace, clNone, kKeepGradient, C(0xC0C0C0), C(0x000000)},
    {C(0xDEDEDE), C(0xA9A9A9), kKeepGradient, C(0xFFFFFF), C(0x000000)},
    {clBtnFace, clNone, kKeepGradient, clNone, C(0x000000)},
    {C(0xE08F65), C(0xF9DBC4), kKeepGradient, clNone, C(0xFFFFFF)},
    {C(0x80B0A1), C(0xD3E4E3), kKeepGradient, clNone, C(0x000000)},
    {C(0xBFA8A9), C(0xDECFCF), kKeepGradient, clNone, C(0x000000)},
    {C(0xE3F0F2), C(0xFFFFFF), kKeepGradient, C(0xC0C0C0), C(0x000000)},
    {C(0xF7E3D3), C(0xF5D0B3), kVertical, C(0xFFD2AF), C(0x723708)},
    {C(0xA19F9E), C(0x534D4B), kVertical, C(0x000000), C(0xFFFFFF)},
    {C(0xE3F0F2), C(0xFFFFFF), kKeepGradient, C(0xC0C0C0), C(0x000000)},
    {clBtnFace, clNone, kKeepGradient, clNone, C(0x000000)},
    {},  // psCustom
    {C(0xFAEEEB), C(0xE5DBD7), kVertical, C(0x000000), C(0x723708)},
    {C(0xFDF8F1), C(0xFCEFD5), kVertical, C(0xFDDE99), C(0x723708)},
    {C(0xFCEBDC), C(0xFCDBC1), kVertical, C(0xCEA27D), C(0x723708)},
    {C(0xC0C0C0), clNone, kVertical, C(0x000000), C(0x000000)},
};

static_assert(std::size(kBody) == 17 && std::size(kCaption) == 17 && std::size(kStatus) == 17);

}  // namespace

std::optional<TPanelPreset> PanelPreset(TLumPanelStyle style) {
    if (style == S::psCustom) return std::nullopt;
    const int i = int(style);
    if (i < 0 || i >= 17) return std::nullopt;
    const TBodyRow& b = kBody[i];
    const TCaptionRow& c = kCaption[i];
    const TStatusRow& s = kStatus[i];
    TPanelPreset p;
    p.Color = b.Color;
    p.ColorTo = b.ColorTo;
    p.ColorMirror = b.ColorMirror;
    p.ColorMirrorTo = b.ColorMirrorTo;
    p.FontColor = b.FontColor;
    p.BevelOuterRaised = b.Raised;
    p.BorderColor = b.BorderColor;
    p.BorderShadow = b.BorderShadow;
    p.CollapsColor = b.CollapsColor;

    p.CaptionVisible = c.Visible;
    p.CaptionHeight = c.Height;
    p.CaptionHeightQuiet =
        style == S::psXP || style == S::psQor || style == S::psOffice2003Classic || style == S::psWhidbey;
    p.CaptionIndent = c.Indent;
    p.CaptionColor = c.Color;
    p.CaptionColorTo = c.ColorTo;
    p.CaptionGradient = c.Gradient;
    p.CaptionFontColor = c.FontColor;
    p.CaptionShadeGrain = c.Grain;
    p.CaptionShadeLight = c.Light;
    p.CaptionShadeType = style == S::psQor ? stRMetal : stNormal;

    p.StatusColor = s.Color;
    p.StatusColorTo = s.ColorTo;
    p.StatusGradient = s.Gradient;
    p.StatusBorderColor = s.BorderColor;
    p.StatusFontColor = s.FontColor;
    p.StatusBevelInner = style == S::psClassic || style == S::psWindowsXP;
    return p;
}

std::optional<TLumPanelStyle> PanelStyleForNumber(int number) {
    switch (number & 0x7F) {
    case 0: return S::psOffice2003Blue;
    case 1: return S::psOffice2003Silver;
    case 2: return S::psOffice2003Olive;
    case 3: return S::psOffice2003Classic;
    case 4: return S::psOffice2007Luna;
    case 5: return S::psOffice2007Obsidian;
    case 6: return S::psWindowsXP;
    case 7: return S::psWhidbey;
    case 9: return S::psOffice2007Silver;
    case 10: return S::psWindowsVista;
    case 11: return S::psWindows7;
    case 12: return S::psTerminal;
    default: return std::nullopt;
    }
}

int XPColorSchemeOfName(const String& colorName) {
    if (colorName == "NormalColor") return 1;
    if (colorName == "HomeStead") return 2;
    if (colorName == "Metallic") return 3;
    return 0;
}

TLumPanelStyle PanelStyleForXPColorScheme(int scheme) {
    switch (scheme) {
    case 1: return S::psOffice2003Blue;
    case 2: return S::psOffice2003Olive;
    case 3: return S::psOffice2003Silver;
    default: return S::psOffice2003Classic;
    }
}
