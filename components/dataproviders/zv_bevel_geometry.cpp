#include "components/dataproviders/zv_bevel_geometry.h"

QL_DEFINE_ENUM(TZvBevelEdge, "beLeft", "beTop", "beRight", "beBottom")

namespace {

void Add(std::vector<TZvBevelSegment>& out, int x1, int y1, int x2, int y2, TZvBevelColorRole color) {
    out.push_back({Point(x1, y1), Point(x2, y2), color});
}

// i * extent / divisor rounded to the nearest, halves away from zero, in 64
// bits (the divisor may be 2^32).
int MulDivNearest(std::int64_t i, std::int64_t extent, std::int64_t divisor) {
    std::int64_t product = i * extent;
    std::int64_t half = divisor / 2;
    return int(product >= 0 ? (product + half) / divisor : -((-product + half) / divisor));
}

void AddLines(std::vector<TZvBevelSegment>& out, const TZvBevelLineSet& lines, const TZvBevelGeometry& g,
              const TRect& area, bool horizontal) {
    if (lines.Count == 0) return;
    TRect extent = lines.IgnoreBorder ? TRect{0, 0, g.Width - 1, g.Height - 1}
                                      : TRect{area.Left + 1, area.Top + 1, area.Right - 1, area.Bottom - 1};
    int size = lines.Thickness + (lines.Bold ? 1 : 0);
    TZvBevelEdges edges;
    if (lines.Style == ecSpace)
        edges = TZvBevelEdges{beLeft, beTop};
    else if (horizontal)
        edges = TZvBevelEdges{beTop, beBottom};
    else
        edges = TZvBevelEdges{beLeft, beRight};
    for (int p : BevelLinePositions(lines.Count, horizontal ? g.Height : g.Width)) {
        TRect r =
            horizontal ? TRect{extent.Left, p, extent.Right, p + size} : TRect{p, extent.Top, p + size, extent.Bottom};
        AddBevelEdges(out, r, lines.Style, edges);
    }
}

}  // namespace

void AddBevelEdges(std::vector<TZvBevelSegment>& out, const TRect& r, TZvEdgeCut cut, TZvBevelEdges edges) {
    if (cut != ecLowered && cut != ecRaised) return;
    TZvBevelColorRole first = cut == ecLowered ? crShadowRole : crHighlightRole;
    TZvBevelColorRole second = cut == ecLowered ? crHighlightRole : crShadowRole;
    int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    if (edges.Contains(beLeft)) Add(out, L, B - 1, L, T - 1, first);
    if (edges.Contains(beTop)) Add(out, L, T, R, T, first);
    if (edges.Contains(beRight)) Add(out, R, T, R, B, second);
    if (edges.Contains(beBottom)) Add(out, R, B, L - 1, B, second);
}

void AddBoldBevelEdges(std::vector<TZvBevelSegment>& out, const TRect& r, TZvEdgeCut cut, TZvBevelEdges edges) {
    int L = r.Left, T = r.Top - 1, R = r.Right, B = r.Bottom;
    if (cut == ecLowered) {
        if (edges.Contains(beLeft)) Add(out, L - 1, B - 1, L - 1, T, crDarkShadowRole);
        if (edges.Contains(beTop)) Add(out, L - 1, T, R, T, crDarkShadowRole);
    } else if (cut == ecRaised) {
        if (edges.Contains(beBottom)) Add(out, L, B + 1, R + 1, B + 1, crDarkShadowRole);
        if (edges.Contains(beRight)) Add(out, R + 1, B + 1, R + 1, T, crDarkShadowRole);
    }
}

std::vector<int> BevelLinePositions(std::uint32_t count, int extent) {
    std::vector<int> positions;
    if (count == 0) return positions;
    std::int64_t divisor = std::int64_t(count) + 1;
    if (divisor > std::int64_t(extent < 0 ? -std::int64_t(extent) : extent)) {
        // Neighbouring lines are less than a pixel apart: every position
        // from the first line's to the last line's has one.
        int first = MulDivNearest(1, extent, divisor);
        int last = MulDivNearest(count, extent, divisor);
        if (first > last) std::swap(first, last);
        for (int p = first; p <= last; ++p) positions.push_back(p);
        return positions;
    }
    positions.reserve(count);
    for (std::uint32_t i = 1; i <= count; ++i) positions.push_back(MulDivNearest(i, extent, divisor));
    return positions;
}

std::vector<TZvBevelSegment> CustomBevelSegments(const TZvBevelGeometry& g) {
    std::vector<TZvBevelSegment> out;
    TRect outer{0, 0, g.Width - 1, g.Height - 1};
    TRect inner{1, 1, g.Width - 2, g.Height - 2};
    if (g.Bold) {
        if (g.Outer == ecLowered) {
            ++outer.Left, ++outer.Top, ++inner.Left, ++inner.Top;
        } else if (g.Outer == ecRaised) {
            --outer.Right, --outer.Bottom, --inner.Right, --inner.Bottom;
        }
        if (g.Inner == ecLowered) {
            ++inner.Left, ++inner.Top;
        } else if (g.Inner == ecRaised) {
            --inner.Right, --inner.Bottom;
        }
        AddBoldBevelEdges(out, outer, g.Outer, g.Edges);
        AddBoldBevelEdges(out, inner, g.Inner, g.Edges);
    }
    AddBevelEdges(out, outer, g.Outer, g.Edges);
    AddBevelEdges(out, inner, g.Inner, g.Edges);
    const TRect& area = g.Inner == ecNone || g.Inner == ecSpace ? outer : inner;
    AddLines(out, g.HorizontalLines, g, area, true);
    AddLines(out, g.VerticalLines, g, area, false);
    return out;
}

bool BevelEdgeFromLegacyName(const String& name, TZvBevelEdge& edge) {
    String current = name;
    for (size_t at = current.find("fsd"); at != String::npos; at = current.find("fsd", at + 2))
        current.replace(at, 3, "be");
    // Exactly the edge names (GetEnumValue ignores case, as the reader does
    // for every enumeration).
    Int64 value = GetEnumValue(TypeInfoFor<TZvBevelEdge>(), current);
    if (value < 0) return false;
    edge = TZvBevelEdge(value);
    return true;
}
