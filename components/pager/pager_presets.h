// The pager styler's colour presets as data: for each style of the shared
// numbering (TOfficePagerStyle) what it writes into the tab appearance and
// its background, the page appearance and the glow-button appearance, by
// published property name, in the order it writes them. A property that a
// style leaves out keeps whatever value it had. Portable; the office styler
// (pager_office_styler_win.h) writes a preset through the properties'
// writers, so every value that changes announces itself.
#pragma once

#include <optional>
#include <vector>

#include "classlib/core/types.h"
#include "components/foundation/style_preset.h"

// One property write: the published name and the value (a colour, a
// gradient kind or a direction as its ordinal).
struct TPresetWrite {
    const char* Property;
    Int64 Value;
};

struct TPagerPreset {
    // Written first, or (the Office 2007 styles) after the tab appearance.
    bool CurvedCorners = true;
    bool CurvedCornersAfterTab = false;
    int BlendPercent = 50;
    std::vector<TPresetWrite> TabBackGround;
    std::vector<TPresetWrite> Tab;
    std::vector<TPresetWrite> Page;
    std::vector<TPresetWrite> GlowButton;
};

// The preset of a style number; none for psCustom and numbers outside the
// numbering, which write nothing.
std::optional<TPagerPreset> PagerPreset(int style);

// value with its lowest and third bytes exchanged and the top byte
// cleared: a colour written as a red-green-blue triple as a colour value.
constexpr LongWord SwapRedBlue(LongWord value) {
    return ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
}

// The style that follows a Windows XP colour scheme (1 blue, 2 olive,
// 3 silver; anything else: the Windows XP style).
TOfficePagerStyle PagerStyleForXPColorScheme(int scheme);
