#include "components/pager/pager_tab_colors.h"

#include <algorithm>
#include <cmath>

TColor MixPresentColors(TColor x, TColor y, int p, TColorBlend blend) {
    if (x == clNone || y == clNone) return p >= 50 ? (x == clNone ? y : x) : (y == clNone ? x : y);
    return blend(x, y, p);
}

namespace {

TColor Mix(TColorBlend blend, TColor x, TColor y, int p) { return MixPresentColors(x, y, p, blend); }

// The body colours of x blended toward y by p percent.
TTabColors Toward(TColorBlend blend, const TTabStateColors& x, const TTabStateColors& y, int p) {
    TTabColors c;
    static_cast<TTabStateColors&>(c) = x;
    c.Color = Mix(blend, x.Color, y.Color, p);
    c.ColorTo = Mix(blend, x.ColorTo, y.ColorTo, p);
    c.ColorMirror = Mix(blend, x.ColorMirror, y.ColorMirror, p);
    c.ColorMirrorTo = Mix(blend, x.ColorMirrorTo, y.ColorMirrorTo, p);
    c.Border = Mix(blend, x.Border, y.Border, p);
    return c;
}

TTabColors Of(const TTabStateColors& x) {
    TTabColors c;
    static_cast<TTabStateColors&>(c) = x;
    return c;
}

}  // namespace

TTabColors ChooseTabColors(const TTabAppearanceColors& a, const TTabColorState& s, TColorBlend blend) {
    const int glow = std::clamp(s.GlowPosition, 0, 100);
    // The row's background as a colour set, for fades on a row that shows
    // no bodies of its own.
    TTabStateColors row;
    const TColor to = a.BackGroundColorTo == clNone ? a.BackGroundColor : a.BackGroundColorTo;
    row.Color = row.ColorMirror = row.Border = a.BackGroundColor;
    row.ColorTo = row.ColorMirrorTo = to;
    TTabColors c;
    if (s.Enabled || !s.ShowNonSelectedTabs) {
        if (s.Active) {
            c = Of(a.Selected);
            if (s.Hot) {
                c.Border = a.BorderColorSelectedHot;
                c.HighLight = a.HighLightColorSelectedHot;
            }
            if (s.Pulsing) {
                TTabStateColors hot = a.Hot;
                hot.Border = a.BorderColorSelectedHot;
                const TTabColors pulse = Toward(blend, a.Selected, hot, std::clamp(s.ClickPosition, 0, 100));
                c.Color = pulse.Color;
                c.ColorTo = pulse.ColorTo;
                c.ColorMirror = pulse.ColorMirror;
                c.ColorMirrorTo = pulse.ColorMirrorTo;
                c.Border = pulse.Border;
            } else if (s.Fading) {
                c.Border = Mix(blend, a.BorderColorSelectedHot, a.Selected.Border, glow);
            }
            if (s.Down) {
                c.Border = a.BorderColorDown;
                c.HighLight = a.HighLightColorDown;
            }
        } else if (s.Hot) {
            c = s.Fading ? Toward(blend, a.Hot, s.ShowNonSelectedTabs ? a.Normal : row, glow) : Of(a.Hot);
        } else if (s.ShowNonSelectedTabs) {
            c = s.Fading ? Toward(blend, a.Hot, a.Normal, glow) : Of(a.Normal);
            if (s.Fading) {
                c.Text = a.Normal.Text;
                c.Gradient = a.Normal.Gradient;
                c.GradientMirror = a.Normal.GradientMirror;
            }
        } else {
            TColor text = s.TabEnabled ? a.Normal.Text : a.Disabled.Text;
            if (s.Transparent) text = clBlack;
            if (s.Fading) {
                c = Toward(blend, a.Hot, row, glow);
            } else {
                c.Body = false;
            }
            c.Text = text;
        }
    } else {
        c = Of(a.Disabled);
    }
    if (s.Active && s.PagerFocused) {
        c.Color = a.Hot.Color;
        c.ColorTo = a.Hot.ColorTo;
        c.ColorMirror = a.Hot.ColorMirror;
        c.ColorMirrorTo = a.Hot.ColorMirrorTo;
        c.Gradient = a.Hot.Gradient;
        c.GradientMirror = a.Hot.GradientMirror;
        c.Border = a.BorderColorSelectedHot;
        c.Text = a.Hot.Text;
        c.HighLight = a.HighLightColorSelected;
    }
    return c;
}
