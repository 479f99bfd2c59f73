#include "components/pager/pager_draw_math.h"

#include <algorithm>

#include "components/controls/panel_shading.h"

namespace {

int Channel(TColor c, int shift) { return (unsigned(c) >> shift) & 0xFF; }
TColor MakeRGB(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }

}  // namespace

TColor MixRGB(TColor a, TColor b, int percent) {
    if (percent >= 100) return TColor(int(unsigned(a) & 0xFFFFFF));
    if (percent <= 0) return TColor(int(unsigned(b) & 0xFFFFFF));
    auto mix = [percent](int x, int y) {
        // p*x + (1-p)*y in hundredths, held exactly in integers.
        const int hundredths = percent * x + (100 - percent) * y;
        return std::clamp(RoundHalfEven(hundredths / 100.0), 0, 255);
    };
    return MakeRGB(mix(Channel(a, 0), Channel(b, 0)), mix(Channel(a, 8), Channel(b, 8)),
                   mix(Channel(a, 16), Channel(b, 16)));
}

std::vector<TPagerGradientBand> PagerGradientBands(TColor from, TColor to, bool horizontal, const TRect& rect,
                                                   int steps) {
    if (steps <= 0) steps = 1;
    const double size = double((horizontal ? rect.Width() : rect.Height()) - 1) / steps;
    const int step = RoundHalfEven(size);
    std::vector<TPagerGradientBand> bands;
    bands.reserve(size_t(steps));
    for (int i = 0; i < steps; ++i) {
        auto channel = [&](int shift) {
            const int f = Channel(from, shift), t = Channel(to, shift);
            return f + RoundHalfEven(double(i) * (t - f) / steps);
        };
        TPagerGradientBand band;
        band.Color = MakeRGB(channel(0), channel(8), channel(16));
        const int offset = RoundHalfEven(i * size);
        if (horizontal) {
            const int x = rect.Left + offset;
            band.Rect = {x, rect.Top, x + step + 1, rect.Bottom};
        } else {
            const int y = rect.Top + offset;
            band.Rect = {rect.Left, y, rect.Right, y + step + 1};
        }
        bands.push_back(band);
    }
    return bands;
}

namespace {

// The outline of a tab on top, in a frame whose x runs along the row
// (l to r) and whose y runs from the far side t to the page side b.
std::vector<TOutlineSegment> TopOutline(int l, int t, int r, int b, TLumTabShape shape, int a, int depth) {
    const int o = a / 2;
    const int d = a + depth / 3;
    using P = TPoint;
    auto line = [](P p, P q) { return TOutlineSegment{TOutlinePiece::Line, {p, q}}; };
    auto corner = [](P p, P q, P s) { return TOutlineSegment{TOutlinePiece::Curve, {p, q, s}}; };
    const TOutlineSegment leftRamp{TOutlinePiece::Bezier,
                                   {{l, b}, {l + 3 * a, b - a}, {l + d - a, t + a}, {l + 2 * a + d, t}}};
    const TOutlineSegment rightRamp{TOutlinePiece::Bezier,
                                    {{r - 2 * a - d, t}, {r + a - d, t + a}, {r - 3 * a, b - a}, {r, b}}};
    switch (shape) {
    case tsLeftRamp:
        return {leftRamp, line({l + 2 * a + d, t}, {r - 3 * o, t}),
                corner({r - 3 * o, t}, {r - o, t + o}, {r, t + 3 * o}), line({r, t + 3 * o}, {r, b})};
    case tsRightRamp:
        return {line({l, b}, {l, t + 3 * o}), corner({l, t + 3 * o}, {l + o, t + o}, {l + 3 * o, t}),
                line({l + 3 * o, t}, {r - 2 * a - d, t}), rightRamp, line({r, b}, {l, b})};
    case tsLeftRightRamp: return {leftRamp, line({l + 2 * a + d, t}, {r - 2 * a - d, t}), rightRamp};
    case tsRectangle:
    default:
        return {line({l, b}, {l, t + 3 * a}), corner({l, t + 3 * a}, {l + a, t + a}, {l + 3 * a, t}),
                line({l + 3 * a, t}, {r - 3 * a, t}), corner({r - 3 * a, t}, {r - a, t + a}, {r, t + 3 * a}),
                line({r, t + 3 * a}, {r, b})};
    }
}

}  // namespace

std::vector<TOutlineSegment> TabOutline(const TRect& rect, TLumTabShape shape, int a, int tabPosition, bool rotated) {
    const int L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
    switch (tabPosition) {
    case TabOnBottom: {
        // Mirrored top to bottom: the far side is the bottom edge.
        auto outline = TopOutline(L, T, R, B, shape, a, B - T);
        for (auto& s : outline)
            for (TPoint& p : s.Points) p.Y = T + B - p.Y;
        return outline;
    }
    case TabOnLeft:
    case TabOnRight: {
        // Turned: along the row is y, the far side is the left edge
        // (tabs on the left) or the right edge.
        const int depth = rotated ? R - L : B - T;
        auto outline = TopOutline(T, L, B, R, shape, a, depth);
        for (auto& s : outline)
            for (TPoint& p : s.Points) {
                const int along = p.X, across = p.Y;
                p.X = tabPosition == TabOnLeft ? across : L + R - across;
                p.Y = along;
            }
        return outline;
    }
    default: return TopOutline(L, T, R, B, shape, a, B - T);
    }
}
