// The panel styler's style presets as data: what each style writes into the
// panel settings (body, caption and status bar), the style a shared style
// number (the pager's numbering) selects, and the style that follows the
// Windows XP colour scheme. Portable; the styler (lum_panel_styler_win.h)
// writes a preset into its settings.
#pragma once

#include <optional>

#include "classlib/core/typinfo.h"
#include "classlib/ui/graphics_types.h"
#include "components/controls/panel_shading.h"

// Scoped: the pager's style numbering has values of the same names.
enum class TLumPanelStyle {
    psXP,
    psFlat,
    psQor,
    psClassic,
    psOffice2003Blue,
    psOffice2003Olive,
    psOffice2003Silver,
    psOffice2003Classic,
    psOffice2007Luna,
    psOffice2007Obsidian,
    psWhidbey,
    psWindowsXP,
    psCustom,
    psOffice2007Silver,
    psWindowsVista,
    psWindows7,
    psTerminal
};
QL_DECLARE_ENUM(TLumPanelStyle);

// What one preset writes; an empty value leaves the setting as it was.
struct TPanelPreset {
    // Body and border. Every preset sets BevelInner to none and the border
    // style to none.
    TColor Color{};
    TColor ColorTo{};
    TColor ColorMirror{};
    TColor ColorMirrorTo{};
    std::optional<TColor> FontColor;
    // The outer bevel raised (else none).
    bool BevelOuterRaised = false;
    TColor BorderColor{};
    bool BorderShadow = false;
    TColor CollapsColor{};

    // Caption.
    std::optional<bool> CaptionVisible;
    std::optional<int> CaptionHeight;
    // The caption height is written without a change notification (else
    // through the caption's writer).
    bool CaptionHeightQuiet = false;
    std::optional<int> CaptionIndent;
    TColor CaptionColor{};
    TColor CaptionColorTo{};
    TGradientDirection CaptionGradient = gdHorizontal;
    TColor CaptionFontColor{};
    std::optional<int> CaptionShadeGrain;
    std::optional<int> CaptionShadeLight;
    TShadeType CaptionShadeType = stNormal;

    // Status bar.
    TColor StatusColor{};
    TColor StatusColorTo{};
    std::optional<TGradientDirection> StatusGradient;
    TColor StatusBorderColor{};
    TColor StatusFontColor{};
    // BevelInner on and border style none, or BevelInner off and a single
    // border.
    bool StatusBevelInner = false;
};

// The preset of a style; none for psCustom, which writes nothing.
std::optional<TPanelPreset> PanelPreset(TLumPanelStyle style);

// The style a shared style number selects (its low 7 bits): none for 8
// (custom) and every number without a preset.
std::optional<TLumPanelStyle> PanelStyleForNumber(int number);

// The Windows XP colour scheme of a colour-scheme name: "NormalColor" 1,
// "HomeStead" 2, "Metallic" 3, anything else 0 (case counts).
int XPColorSchemeOfName(const String& colorName);
// The style that follows a colour scheme: 1 Office 2003 blue, 2 olive,
// 3 silver, anything else Office 2003 classic.
TLumPanelStyle PanelStyleForXPColorScheme(int scheme);
