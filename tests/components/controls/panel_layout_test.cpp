#include "components/controls/panel_layout.h"

#include <gtest/gtest.h>

namespace {

using LumPanel::cpLeft;
using LumPanel::cpTop;

TEST(PanelLayout, ButtonSizeTakesGlyphsThenTheVisualStyle) {
    EXPECT_EQ(CaptionButtonSize({}), 12);
    EXPECT_EQ(CaptionButtonSize({14, 0, false}), 14);
    EXPECT_EQ(CaptionButtonSize({14, 18, false}), 18);
    EXPECT_EQ(CaptionButtonSize({14, 18, true}), 16);
}

TEST(PanelLayout, CaptionBandOnTopOrLeft) {
    EXPECT_EQ(CaptionBandRect(Rect(0, 0, 200, 100), cpTop, 20), Rect(0, 0, 198, 20));
    EXPECT_EQ(CaptionBandRect(Rect(0, 0, 200, 100), cpLeft, 20), Rect(0, 0, 20, 100));
}

TEST(PanelLayout, ButtonHitRectanglesForEveryPlace) {
    const TRect c = Rect(0, 0, 200, 100);
    struct Case {
        TCaptionButtonPosition Buttons;
        LumPanel::TCaptionPosition Position;
        TRect Close, MinMax;
        TPoint Themed;  // where the visual style draws a button in c
    };
    const Case cases[] = {
        {cbpRight, cpTop, Rect(186, 2, 198, 14), Rect(174, 2, 186, 14), Point(184, 4)},
        {cbpRight, cpLeft, Rect(2, 2, 14, 14), Rect(2, 14, 14, 26), Point(4, 2)},
        {cbpLeft, cpTop, Rect(2, 2, 14, 14), Rect(14, 2, 26, 14), Point(2, 4)},
        {cbpLeft, cpLeft, Rect(2, 86, 14, 98), Rect(2, 74, 14, 86), Point(4, 84)},
    };
    for (const Case& k : cases) {
        auto r = CaptionButtonRects(c, 12, k.Buttons, k.Position, true, true);
        ASSERT_TRUE(r.Close && r.MinMax);
        EXPECT_EQ(*r.Close, k.Close) << k.Buttons << k.Position;
        EXPECT_EQ(*r.MinMax, k.MinMax) << k.Buttons << k.Position;
        // Without the close button, the collapse button takes its place.
        auto alone = CaptionButtonRects(c, 12, k.Buttons, k.Position, false, true);
        EXPECT_FALSE(alone.Close);
        EXPECT_EQ(*alone.MinMax, k.Close);
        EXPECT_EQ(ThemedCaptionButtonOrigin(c, k.Buttons, k.Position), k.Themed) << k.Buttons << k.Position;
    }
}

TEST(PanelLayout, DragAreaLeavesTheButtons) {
    EXPECT_EQ(CaptionDragRect(Rect(0, 0, 200, 100), cpTop, 20, 12, cbpRight, 2), Rect(0, 0, 174, 20));
    EXPECT_EQ(CaptionDragRect(Rect(0, 0, 200, 100), cpLeft, 20, 12, cbpLeft, 1), Rect(0, 0, 20, 88));
}

TEST(PanelLayout, CollapsedSizes) {
    TCollapseGeometry g;
    g.CaptionHeight = 20;
    EXPECT_EQ(CollapsedExtent(g), 18);
    g.Position = cpLeft;
    EXPECT_EQ(CollapsedExtent(g), 20);
    g.Position = cpTop;
    g.StatusHeight = 18;
    EXPECT_EQ(CollapsedExtent(g), 36);
    // A shadowed border keeps BorderWidth + 4 more; a border alone nothing.
    g.BorderWidth = 2;
    EXPECT_EQ(CollapsedExtent(g), 36);
    g.BorderShadow = true;
    EXPECT_EQ(CollapseExtra(g), 6);
    EXPECT_EQ(CollapsedExtent(g), 42);
}

TEST(PanelLayout, CollapseAndExpandSteps) {
    TCollapseGeometry g;
    g.CaptionHeight = 20;
    g.BorderWidth = 1;
    // (100 - 20 - 0 - 2) div 4.
    EXPECT_EQ(CollapseStep(g, 100, 4), 19);
    EXPECT_EQ(ExpandStep(g, 100, 4), 20);
    g.Position = cpLeft;
    EXPECT_EQ(CollapseStep(g, 100, 4), 20);  // no border taken off
    EXPECT_EQ(CollapseStep(g, 100, 0), 0);
    EXPECT_EQ(ExpandStep(g, 100, 0), 0);
}

TEST(PanelLayout, AutoSizeFormulas) {
    TAutoSizeInput in;
    in.Width = 300;
    in.Height = 200;
    in.BevelWidth = 1;
    in.Indent = 3;
    in.TopIndent = 4;
    const TSize text{100, 30};
    EXPECT_EQ(AutoSizeMeasureRect(in, true, false), Rect(0, 0, 65535, 198));
    EXPECT_EQ(AutoSizeMeasureRect(in, false, true), Rect(0, 0, 298, 65535));
    // No caption: e + text + indent.
    EXPECT_EQ(AutoSizeExtent(in, true, true, text), (TSize{105, 36}));
    // Only the width follows.
    EXPECT_EQ(AutoSizeExtent(in, true, false, text), (TSize{105, 200}));
    // A top caption with a status bar and a border.
    in.CaptionVisible = true;
    in.StatusVisible = true;
    in.BorderWidth = 2;
    in.BorderShadow = true;
    // text grows by 2 x 2 + 2 = 6: 106 x 36.
    EXPECT_EQ(AutoSizeExtent(in, true, true, text), (TSize{2 + 106 + 3, 20 + 36 + 2 + 4 + 18 + 4}));
    // A left caption.
    in.Position = cpLeft;
    EXPECT_EQ(AutoSizeExtent(in, true, true, text), (TSize{20 + 106 + 18 + 2 + 3, 2 + 36 + 4}));
    in.CaptionVisible = false;
    EXPECT_EQ(AutoSizeExtent(in, true, true, text), (TSize{18 + 106 + 2 + 3, 2 + 36 + 4}));
}

TEST(PanelLayout, CaptionTextEndsBeforeTheButtons) {
    // The working rectangle after a drawn cross (12) on the right, then 20
    // for each of the two buttons: 52 before the band's right edge.
    TRect area = Rect(0, 0, 200 - 12, 100);
    EXPECT_EQ(TopCaptionTextRect(area, cbpRight, 2, 20, 3, 1), Rect(3, 1, 148, 20));
    EXPECT_EQ(TopCaptionTextRect(Rect(12, 0, 200, 100), cbpLeft, 1, 20, 0, 0), Rect(32, 0, 200, 20));
    EXPECT_EQ(LeftCaptionTextRect(Rect(0, 0, 200, 100), cbpLeft, 1, 20, 5, 2), Rect(2, 0, 20, 75));
    EXPECT_EQ(LeftCaptionTextRect(Rect(0, 0, 200, 100), cbpRight, 2, 20, 0, 0), Rect(0, 40, 20, 100));
}

TEST(PanelLayout, StripCaptionTags) {
    struct Case {
        const char* In;
        const char* Out;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"<b>bold</b> and <i>it</i>", "bold and it"},
        {"one<br>two<HR>three<Br>", "one\r\ntwo\r\nthree\r\n"},
        {"a<z>hidden</z>b<Z>gone</Z>c", "abc"},
        {"<a href=\"x\">link</a>", "link"},
        {"x<z>never closed", "x"},
        {"a < b", "a < b"},
        {"Min < Max", "Min < Max"},
        {"<b>x</b> < y", "x < y"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(StripCaptionTags(c.In), c.Out) << c.In;
}

std::vector<TGroupItem> Ordered(const std::vector<TGroupItem>& items, TGroupStyle style) {
    std::vector<TGroupItem> out;
    for (int i : GroupOrder(items, style)) out.push_back(items[std::size_t(i)]);
    return out;
}

TEST(PanelLayout, GroupOneColumn) {
    // Heights 50, 60, 70, given out of order: sorted by Top.
    std::vector<TGroupItem> items = {{0, 100, 10, 60}, {0, 5, 10, 50}, {0, 300, 10, 70}};
    auto order = GroupOrder(items, gsVertical);
    EXPECT_EQ(order, (std::vector<int>{1, 0, 2}));
    TGroupGeometry g;
    g.Width = 200;
    g.Height = 100;
    auto ordered = Ordered(items, gsVertical);
    auto bounds = ArrangeVertical(ordered, g);
    ASSERT_EQ(bounds.size(), 3u);
    EXPECT_EQ(bounds[0], Bounds(8, 8, 184, 50));
    EXPECT_EQ(bounds[1].Top, 66);
    EXPECT_EQ(bounds[2].Top, 134);
    EXPECT_EQ(GroupExtent(ordered, g, gsVertical), 212);
}

TEST(PanelLayout, GroupRowsAdvanceByTheirTallestVisiblePanel) {
    // A 200-pixel group with paddings 8: every row, the last partial one
    // included, moves the next down by its tallest visible panel; a row of
    // hidden panels takes nothing.
    struct Case {
        int Columns;
        std::vector<int> Heights;
        std::vector<bool> Visible;
        std::vector<int> Lefts;
        std::vector<int> Tops;
        int Width;
        int Extent;
    };
    const Case cases[] = {
        {1, {50, 60, 70}, {true, true, true}, {8, 8, 8}, {8, 66, 134}, 184, 212},
        {1, {50, 60, 70}, {true, false, true}, {8, 8, 8}, {8, 66, 66}, 184, 144},
        {2, {40, 40, 30}, {true, true, true}, {8, 104, 8}, {8, 8, 56}, 92, 8 + 48 + 38},
        {2, {60, 40, 30}, {true, true, true}, {8, 104, 8}, {8, 8, 76}, 92, 8 + 68 + 38},
        {2, {40, 70, 30}, {true, false, true}, {8, 104, 8}, {8, 8, 56}, 92, 8 + 48 + 38},
        {2, {40, 70, 30, 20}, {true, true, false, true}, {8, 104, 8, 104}, {8, 8, 86, 86}, 92, 8 + 78 + 28},
        {3, {20, 30, 10, 50, 40}, {true, true, true, true, true}, {8, 72, 136, 8, 72}, {8, 8, 8, 46, 46}, 61, 104},
        {3, {20, 30, 10, 50}, {false, false, false, true}, {8, 72, 136, 8}, {8, 8, 8, 8}, 61, 66},
        // Columns of 0 or less count as 1.
        {0, {40, 40}, {true, true}, {8, 8}, {8, 56}, 184, 104},
    };
    for (const Case& c : cases) {
        std::vector<TGroupItem> items;
        for (std::size_t i = 0; i < c.Heights.size(); ++i) items.push_back({0, int(i), 10, c.Heights[i], c.Visible[i]});
        TGroupGeometry g;
        g.Width = 200;
        g.Columns = c.Columns;
        const auto bounds = ArrangeVertical(items, g);
        ASSERT_EQ(bounds.size(), items.size());
        for (std::size_t i = 0; i < bounds.size(); ++i) {
            const String label = "columns " + std::to_string(c.Columns) + ", panel " + std::to_string(i);
            EXPECT_EQ(bounds[i], Bounds(c.Lefts[i], c.Tops[i], c.Width, c.Heights[i])) << label;
        }
        EXPECT_EQ(GroupExtent(items, g, gsVertical), c.Extent) << "columns " << c.Columns;
    }
}

TEST(PanelLayout, GroupScrollsAndLeavesRoomForItsBar) {
    std::vector<TGroupItem> items = {{0, 0, 10, 50}, {0, 1, 10, 60}};
    TGroupGeometry g;
    g.Width = 200;
    g.ScrollVisible = true;
    g.ScrollPosition = 30;
    g.CaptionHeight = 20;
    auto bounds = ArrangeVertical(items, g);
    EXPECT_EQ(bounds[0], Bounds(8, 8 - 30 + 20, 200 - 16 - 16, 50));
}

TEST(PanelLayout, GroupHorizontal) {
    std::vector<TGroupItem> items = {{120, 0, 40, 10}, {5, 0, 30, 10, false}, {60, 0, 50, 10}};
    auto ordered = Ordered(items, gsHorizontal);
    TGroupGeometry g;
    g.Width = 100;
    g.Height = 80;
    auto bounds = ArrangeHorizontal(ordered, g);
    EXPECT_EQ(bounds[0], Bounds(8, 8, 30, 64));  // hidden: placed, takes no room
    EXPECT_EQ(bounds[1], Bounds(8, 8, 50, 64));
    EXPECT_EQ(bounds[2], Bounds(66, 8, 40, 64));
    EXPECT_EQ(GroupExtent(ordered, g, gsHorizontal), 8 + 58 + 48);
    g.ScrollVisible = true;
    g.ScrollPosition = 10;
    EXPECT_EQ(ArrangeHorizontal(ordered, g)[1], Bounds(-2, 8, 50, 48));
}

}  // namespace
