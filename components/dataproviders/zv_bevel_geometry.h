// The bevel control's drawing as plain geometry: which line segments its
// custom edges, bold edges and ruled lines are, in which colour role, and
// the names of its edges (with the older "fsd" spelling of stored layouts).
// Portable: the Windows bevel (zv_bevel_win.h) only strokes the segments.
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/core/sets.h"
#include "classlib/core/typinfo.h"
#include "classlib/ui/geometry.h"

enum TZvBevelEdge { beLeft, beTop, beRight, beBottom };
QL_DECLARE_ENUM(TZvBevelEdge);
using TZvBevelEdges = TSet<TZvBevelEdge>;
inline const TZvBevelEdges kAllBevelEdges{beLeft, beTop, beRight, beBottom};

// A bevel cut, numbered as the class library's TBevelCut (bvNone,
// bvLowered, bvRaised, bvSpace).
enum TZvEdgeCut { ecNone, ecLowered, ecRaised, ecSpace };

// What a segment is drawn in: the button shadow, the button highlight or
// the dark 3-D shadow.
enum TZvBevelColorRole { crShadowRole, crHighlightRole, crDarkShadowRole };

// A line from From up to, not including, To.
struct TZvBevelSegment {
    TPoint From;
    TPoint To;
    TZvBevelColorRole Color = crShadowRole;
    bool operator==(const TZvBevelSegment&) const = default;
};

// The normal edges of the rectangle (L, T, R, B: the coordinates of its
// outline) with cut: left and top in the first colour, right and bottom in
// the second (lowered: shadow then highlight; raised: the other way round;
// none and space: nothing).
void AddBevelEdges(std::vector<TZvBevelSegment>& out, const TRect& r, TZvEdgeCut cut, TZvBevelEdges edges);
// The bold edges of the rectangle in the dark shadow, one pixel outside it:
// left and top when lowered, bottom and right when raised.
void AddBoldBevelEdges(std::vector<TZvBevelSegment>& out, const TRect& r, TZvEdgeCut cut, TZvBevelEdges edges);

// Where count ruled lines fall across extent pixels: i * extent / (count +
// 1) for i = 1..count, rounded to the nearest (halves away from zero), in
// increasing order. Lines that fall on one position are given once, so a
// count far beyond the extent (up to 2^32 - 1) costs no more than the
// extent: the picture is the same, as a line drawn again changes nothing.
std::vector<int> BevelLinePositions(std::uint32_t count, int extent);

// One set of ruled lines.
struct TZvBevelLineSet {
    std::uint32_t Count = 0;
    TZvEdgeCut Style = ecLowered;
    bool Bold = false;
    int Thickness = 1;
    bool IgnoreBorder = false;
};

// Everything the custom painting of a width x height bevel depends on.
struct TZvBevelGeometry {
    int Width = 0;
    int Height = 0;
    bool Bold = false;
    TZvEdgeCut Inner = ecNone;
    TZvEdgeCut Outer = ecLowered;
    TZvBevelEdges Edges = kAllBevelEdges;
    TZvBevelLineSet HorizontalLines;
    TZvBevelLineSet VerticalLines;
};

// The segments of the custom painting in drawing order: the bold edges
// (when Bold), the normal edges of the outer then the inner rectangle, then
// the horizontal and the vertical ruled lines.
std::vector<TZvBevelSegment> CustomBevelSegments(const TZvBevelGeometry& g);

// The edge an identifier of a stored "BevelSides" set names: every "fsd" in
// it reads as "be" (fsdLeft is beLeft). False for a name that is no edge.
bool BevelEdgeFromLegacyName(const String& name, TZvBevelEdge& edge);
