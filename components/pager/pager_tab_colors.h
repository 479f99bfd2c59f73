// Which colours a pager tab is drawn in, as a function of its state: active,
// hot (under the mouse), pressed, focused, enabled, and its glow (a hover
// fade or a click pulse). Portable: the tab painter fills a
// TTabAppearanceColors from the tab's appearance and passes its colour
// blend (which resolves system colours first); tests pass plain RGB.
#pragma once

#include "components/pager/pager_draw_math.h"

#include "classlib/ui/graphics_types.h"
#include "components/controls/glow_button_appearance.h"

// One state's colours of a tab appearance.
struct TTabStateColors {
    TColor Color = clNone, ColorTo = clNone, ColorMirror = clNone, ColorMirrorTo = clNone;
    TColor Border = clNone, Text = clBlack, HighLight = clNone;
    TGDIPGradient Gradient = ggVertical, GradientMirror = ggVertical;
};

// What the choice reads of a tab appearance.
struct TTabAppearanceColors {
    TTabStateColors Normal, Hot, Selected, Disabled;
    TColor BorderColorSelectedHot = clNone;
    TColor BorderColorDown = clNone;
    TColor HighLightColorSelected = clNone;
    TColor HighLightColorSelectedHot = clNone;
    TColor HighLightColorDown = clNone;
    TColor BackGroundColor = clNone;
    TColor BackGroundColorTo = clNone;
};

struct TTabColorState {
    bool Active = false;
    bool Hot = false;
    bool Down = false;  // pressed but not selected (not at design time)
    bool PagerFocused = false;
    bool Enabled = true;     // the page is enabled and its tab too
    bool TabEnabled = true;  // the page's TabEnabled
    bool ShowNonSelectedTabs = false;
    bool Transparent = false;
    bool Fading = false;    // the hover timer runs in hover mode
    bool Pulsing = false;   // the hover timer runs in click mode
    int GlowPosition = 0;   // hover glow, percent
    int ClickPosition = 0;  // click pulse, percent
};

struct TTabColors : TTabStateColors {
    // False: no tab body is painted, only the content.
    bool Body = true;
};

// x at p >= 100, y at p <= 0, else each channel mixed.
using TColorBlend = TColor (*)(TColor x, TColor y, int percent);

// blend(x, y, percent), except that a missing colour (clNone) is not mixed:
// the nearer end stands, and the other colour where that end is missing.
TColor MixPresentColors(TColor x, TColor y, int percent, TColorBlend blend = &MixRGB);

// Blends with blend (MixRGB, the pager's one colour blend, by default).
TTabColors ChooseTabColors(const TTabAppearanceColors& a, const TTabColorState& s, TColorBlend blend = &MixRGB);
