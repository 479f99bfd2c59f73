// The arithmetic behind the pager's drawing routines (pager_draw_win.h):
// colour mixing, the bands of a banded gradient, caption shortening and the
// outline of a tab in its four shapes on each side of the pager. Portable.
#pragma once

#include <functional>
#include <vector>

#include "classlib/ui/geometry.h"
#include "classlib/ui/graphics_types.h"
#include "components/pager/pager_tab_settings.h"

// The pager's tab positions, as the drawing routines number them.
inline constexpr int TabOnTop = 0, TabOnBottom = 1, TabOnLeft = 2, TabOnRight = 3;

// percent % of a and the rest of b, per channel (red, green, blue),
// rounded to nearest with ties to even: a at 100 or more, b at 0 or less.
// Both are RGB values (system colours resolved); the result has a zero top
// byte.
TColor MixRGB(TColor a, TColor b, int percent);

// One band of a banded gradient: the rectangle a pen and brush of its
// colour draw (Rectangle's right and bottom edges are outside it).
struct TPagerGradientBand {
    TRect Rect;
    TColor Color;
};
// The bands from one RGB colour to another over rect: steps bands (0 is
// 1), left to right when horizontal, else top to bottom. Band i has the
// from colour plus round(i * (to - from) / steps) per channel and starts at
// round(i * size), size being (width - 1) / steps (or the height's), and
// reaches round(size) + 1 further.
std::vector<TPagerGradientBand> PagerGradientBands(TColor from, TColor to, bool horizontal, const TRect& rect,
                                                   int steps);

// Shortens text until text + suffix fits (fits says so) or the text is
// empty, dropping its last character each time, and appends the suffix.
template <class S>
S ShortenToFit(S text, const S& suffix, const std::function<bool(const S&)>& fits) {
    while (!text.empty() && !fits(text + suffix)) text.pop_back();
    return text + suffix;
}

// The outline of a tab as pieces of a closed figure: straight lines,
// Bézier curves (four points) and cardinal curves of tension 0.8 (three
// points), in order.
enum class TOutlinePiece { Line, Bezier, Curve };
struct TOutlineSegment {
    TOutlinePiece Kind;
    std::vector<TPoint> Points;
    bool operator==(const TOutlineSegment&) const = default;
};
// The outline of the tab in rect (rounding a) for a tab on top: ramps and
// rounded corners away from the page, the side toward the page straight.
// Tabs on the bottom are mirrored, on the left and right turned, so that
// they face away from the page; their ramp depth uses the rectangle's width
// when rotated, else its height.
std::vector<TOutlineSegment> TabOutline(const TRect& rect, TLumTabShape shape, int rounding, int tabPosition,
                                        bool rotated);
