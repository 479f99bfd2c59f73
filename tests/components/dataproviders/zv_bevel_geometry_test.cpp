// The bevel's drawing as geometry: edges, bold edges, ruled lines and
// their positions (also for counts far beyond the bevel's size), and the
// older names of its edges.
#include "components/dataproviders/zv_bevel_geometry.h"

#include <gtest/gtest.h>

namespace {

using Segments = std::vector<TZvBevelSegment>;

TZvBevelSegment Seg(int x1, int y1, int x2, int y2, TZvBevelColorRole c) { return {Point(x1, y1), Point(x2, y2), c}; }

TEST(BevelGeometry, NormalEdgesRunUpToTheirEndPoints) {
    Segments out;
    AddBevelEdges(out, TRect{0, 0, 9, 4}, ecLowered, kAllBevelEdges);
    EXPECT_EQ(out, (Segments{Seg(0, 3, 0, -1, crShadowRole), Seg(0, 0, 9, 0, crShadowRole),
                             Seg(9, 0, 9, 4, crHighlightRole), Seg(9, 4, -1, 4, crHighlightRole)}));
    out.clear();
    AddBevelEdges(out, TRect{1, 1, 8, 3}, ecRaised, TZvBevelEdges{beTop, beRight});
    EXPECT_EQ(out, (Segments{Seg(1, 1, 8, 1, crHighlightRole), Seg(8, 1, 8, 3, crShadowRole)}));
    for (TZvEdgeCut cut : {ecNone, ecSpace}) {
        out.clear();
        AddBevelEdges(out, TRect{0, 0, 9, 4}, cut, kAllBevelEdges);
        EXPECT_TRUE(out.empty());
    }
}

TEST(BevelGeometry, BoldEdgesLieOutsideTheRectangle) {
    Segments out;
    AddBoldBevelEdges(out, TRect{1, 1, 9, 4}, ecLowered, kAllBevelEdges);
    EXPECT_EQ(out, (Segments{Seg(0, 3, 0, 0, crDarkShadowRole), Seg(0, 0, 9, 0, crDarkShadowRole)}));
    out.clear();
    AddBoldBevelEdges(out, TRect{0, 0, 8, 3}, ecRaised, kAllBevelEdges);
    EXPECT_EQ(out, (Segments{Seg(0, 4, 9, 4, crDarkShadowRole), Seg(9, 4, 9, -1, crDarkShadowRole)}));
    out.clear();
    AddBoldBevelEdges(out, TRect{0, 0, 8, 3}, ecSpace, kAllBevelEdges);
    EXPECT_TRUE(out.empty());
}

TEST(BevelGeometry, LinePositionsDivideTheExtent) {
    EXPECT_EQ(BevelLinePositions(3, 100), (std::vector<int>{25, 50, 75}));
    EXPECT_EQ(BevelLinePositions(0, 100), std::vector<int>{});
    // Rounded to the nearest: 1 * 10 / 4 = 2.5 gives 3.
    EXPECT_EQ(BevelLinePositions(3, 10), (std::vector<int>{3, 5, 8}));
    EXPECT_EQ(BevelLinePositions(1, 0), (std::vector<int>{0}));
}

TEST(BevelGeometry, CountsBeyondTheExtentGiveEachPositionOnce) {
    // The full loop would give the same positions, many of them repeated.
    EXPECT_EQ(BevelLinePositions(7, 4), (std::vector<int>{1, 2, 3, 4}));
    std::vector<int> full;
    for (int i = 1; i <= 7; ++i) {
        int p = (i * 4 * 2 + 8) / 16;  // i * 4 / 8 rounded, halves up
        if (full.empty() || full.back() != p) full.push_back(p);
    }
    EXPECT_EQ(BevelLinePositions(7, 4), full);
    // A count near 2^32 is bounded by the extent, not by the count.
    std::vector<int> many = BevelLinePositions(0xFFFFFFFFu, 100);
    ASSERT_EQ(many.size(), 101u);
    EXPECT_EQ(many.front(), 0);
    EXPECT_EQ(many.back(), 100);
    EXPECT_EQ(BevelLinePositions(0xFFFFFFFFu, 2).size(), 3u);
}

TEST(BevelGeometry, CustomPaintingOrder) {
    TZvBevelGeometry g;
    g.Width = 10;
    g.Height = 5;
    g.Bold = true;
    g.Outer = ecLowered;
    g.Inner = ecRaised;
    g.Edges = TZvBevelEdges{beLeft, beTop};
    Segments out = CustomBevelSegments(g);
    // Outer (0,0,9,4) and inner (1,1,8,3) moved: left and top of both in by
    // one for the lowered outer cut; inner right and bottom in by one for
    // the raised inner cut. The raised inner cut has no bold left or top.
    EXPECT_EQ(out, (Segments{Seg(0, 3, 0, 0, crDarkShadowRole), Seg(0, 0, 9, 0, crDarkShadowRole),
                             Seg(1, 3, 1, 0, crShadowRole), Seg(1, 1, 9, 1, crShadowRole),
                             Seg(2, 1, 2, 1, crHighlightRole), Seg(2, 2, 7, 2, crHighlightRole)}));
}

TEST(BevelGeometry, RuledLinesLieInsideTheArea) {
    TZvBevelGeometry g;
    g.Width = 20;
    g.Height = 100;
    g.Edges = TZvBevelEdges();
    g.HorizontalLines.Count = 3;
    g.HorizontalLines.Bold = true;
    Segments out = CustomBevelSegments(g);
    // The inner cut is none: the area is the outer rectangle (0,0,19,99),
    // the extent (1,1,18,98); each line is a lowered rectangle two high.
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(out[0], Seg(1, 25, 18, 25, crShadowRole));
    EXPECT_EQ(out[1], Seg(18, 27, -1 + 1, 27, crHighlightRole));
    EXPECT_EQ(out[4], Seg(1, 75, 18, 75, crShadowRole));

    g.HorizontalLines = {};
    g.VerticalLines.Count = 1;
    g.VerticalLines.IgnoreBorder = true;
    g.VerticalLines.Style = ecRaised;
    out = CustomBevelSegments(g);
    EXPECT_EQ(out, (Segments{Seg(10, 98, 10, -1, crHighlightRole), Seg(11, 0, 11, 99, crShadowRole)}));

    g.VerticalLines.Style = ecSpace;
    EXPECT_TRUE(CustomBevelSegments(g).empty());
}

TEST(BevelGeometry, LegacyEdgeNames) {
    struct Case {
        const char* Name;
        bool Known;
        TZvBevelEdge Edge;
    } cases[] = {
        {"fsdLeft", true, beLeft},    {"fsdBottom", true, beBottom}, {"beTop", true, beTop},
        {"fsdMiddle", false, beLeft}, {"", false, beLeft},           {"fsdfsdLeft", false, beLeft},
    };
    for (const Case& c : cases) {
        TZvBevelEdge edge = beLeft;
        EXPECT_EQ(BevelEdgeFromLegacyName(c.Name, edge), c.Known) << c.Name;
        if (c.Known) {
            EXPECT_EQ(edge, c.Edge) << c.Name;
        }
    }
}

}  // namespace
