#include "components/pager/pager_tab_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace LumPager;

// The main window's three pages, 7 px a character, 16 high.
struct Fixture {
    TFixedPitchMeasurer measurer;
    TPagerLayoutInput in;
    TPagerTabLayout layout{in, measurer};

    explicit Fixture(int width = 471, int height = 238) {
        in.Client = Rect(0, 0, width, height);
        for (const char* caption : {"Editor Settings", "IDE Style", "Output Settings"}) {
            TPagerLayoutPage page;
            page.Caption = caption;
            in.Pages.push_back(page);
        }
        in.ActivePageIndex = 0;
    }
};

TEST(PagerTabLayout, PageBoundsForEveryTabPosition) {
    Fixture f;
    EXPECT_EQ(f.layout.PageRect(), Rect(1, 26, 470, 236));  // 1, 26, 469 x 210
    const struct {
        TTabPosition Position;
        TRect Page, TabArea;
    } cases[] = {
        {tpTop, Rect(1, 26, 470, 236), Rect(0, 0, 471, 26)},
        {tpBottom, Rect(1, 2, 470, 212), Rect(0, 212, 471, 238)},
        {tpLeft, Rect(26, 2, 470, 236), Rect(0, 0, 26, 238)},
        {tpRight, Rect(1, 2, 445, 236), Rect(445, 0, 471, 238)},
    };
    for (const auto& c : cases) {
        f.in.TabPosition = c.Position;
        EXPECT_EQ(f.layout.PageRect(), c.Page) << c.Position;
        EXPECT_EQ(f.layout.TabAreaRect(), c.TabArea) << c.Position;
    }
}

TEST(PagerTabLayout, ButtonAreaForEveryCombinationOfButtonsAndSides) {
    // The area's cross extent per side, and its far end along the row.
    const struct {
        TTabPosition Position;
        TRect Bare;  // no buttons: 3 pixels before the far end
    } sides[] = {
        {tpTop, Rect(464, 4, 467, 30)},
        {tpBottom, Rect(464, 208, 467, 234)},
        {tpLeft, Rect(4, 231, 30, 234)},
        {tpRight, Rect(441, 231, 467, 234)},
    };
    for (const auto& side : sides) {
        for (int flags = 0; flags < 64; ++flags) {
            Fixture f;
            f.in.TabPosition = side.Position;
            f.in.Scroller.Visible = flags & 1;
            f.in.PageListButton = flags & 2;
            f.in.CloseButton = flags & 4;
            f.in.CloseOnTab = flags & 8;
            f.in.FirstButton = flags & 16;
            f.in.LastButton = flags & 32;
            const int n = 2 + (f.in.FirstButton ? 1 : 0) + (f.in.LastButton ? 1 : 0);
            const int reserve = (f.in.Scroller.Visible ? 20 * n : 0) + (f.in.PageListButton ? 21 : 0) +
                                (f.in.CloseButton && !f.in.CloseOnTab ? 21 : 0);
            TRect want = side.Bare;
            if (side.Position == tpTop || side.Position == tpBottom)
                want.Left -= reserve;
            else
                want.Top -= reserve;
            EXPECT_EQ(f.layout.ButtonAreaRect(), want) << side.Position << " flags " << flags;
            EXPECT_EQ(f.layout.ButtonAreaInUse(), reserve > 0) << side.Position << " flags " << flags;
        }
    }
}

TEST(PagerTabLayout, TabsFollowEachOtherAlongTheRow) {
    Fixture f;
    EXPECT_EQ(f.layout.TabsRect(), Rect(5, 4, 464, 30));
    // 4 + 15 * 7 + 4 + 3 = 116; 4 spacing; "IDE Style" 74.
    EXPECT_EQ(f.layout.TabRect(0), Rect(5, 4, 121, 30));
    EXPECT_EQ(f.layout.TabRect(1), Rect(125, 4, 199, 30));
    EXPECT_EQ(f.layout.TabRect(2), Rect(203, 4, 319, 30));
    EXPECT_EQ(f.layout.TabAtPoint({5, 4}), 0);
    EXPECT_EQ(f.layout.TabAtPoint({122, 10}), -1);  // the spacing
    EXPECT_EQ(f.layout.TabAtPoint({198, 29}), 1);
    EXPECT_EQ(f.layout.TabAtPoint({300, 3}), -1);  // above the row
    EXPECT_EQ(f.layout.TabAtPoint({330, 10}), -1);

    // A hidden page has no tab and takes no room.
    f.in.Pages[1].TabVisible = false;
    EXPECT_EQ(f.layout.TabRect(1), NoTabRect);
    EXPECT_EQ(f.layout.TabRect(2), Rect(125, 4, 241, 30));
    EXPECT_EQ(f.layout.TabAtPoint({130, 10}), 2);
}

TEST(PagerTabLayout, TabLengthCountsPicturesCloseGlyphsCheckBoxesAndFixedWidth) {
    Fixture f;
    f.in.Pages[0].Picture = {16, 16};
    EXPECT_EQ(f.layout.TabLength(0), 116 + 18);
    f.in.ImagePosition = ipTop;
    EXPECT_EQ(f.layout.TabLength(0), 116);
    f.in.CloseButton = true;
    f.in.CloseOnTab = true;
    EXPECT_EQ(f.layout.TabLength(0), 138);
    f.in.Pages[0].ShowCheckBox = true;
    EXPECT_EQ(f.layout.TabLength(0), 158);
    f.in.Width = 90;  // replaces everything
    EXPECT_EQ(f.layout.TabLength(0), 90);
    // Ramp shapes add Rounding * 2 + 5 at their ramp ends.
    f.in.Width = 0;
    f.in.CloseButton = false;
    f.in.Pages[0].ShowCheckBox = false;
    f.in.Shape = tsLeftRightRamp;
    f.in.Rounding = 2;
    EXPECT_EQ(f.layout.TabLeftRampWidth(), 9);
    EXPECT_EQ(f.layout.TabLength(0), 116 + 18);
    f.in.Shape = tsRectangle;
    EXPECT_FALSE(f.layout.TabIsRectangular());
    EXPECT_EQ(f.layout.TabLength(0), 116);
}

TEST(PagerTabLayout, RightTabsNotRotatedStackHorizontalTabs) {
    Fixture f;
    f.in.TabPosition = tpRight;
    f.in.RotateTabLeftRight = false;
    f.in.Shape = tsLeftRamp;  // no ramps when not rotated
    f.in.Rounding = 1;
    EXPECT_TRUE(f.layout.TabIsRectangular());
    EXPECT_EQ(f.layout.TabRect(0), Rect(441, 5, 467, 33));  // 16 + 12 high
    EXPECT_EQ(f.layout.TabRect(1), Rect(441, 37, 467, 65));
    f.in.Width = 40;
    EXPECT_EQ(f.layout.TabRect(1), Rect(441, 49, 467, 89));
    // Rotated: the caption's width runs down the column.
    f.in.Width = 0;
    f.in.RotateTabLeftRight = true;
    EXPECT_EQ(f.layout.TabRect(0), Rect(441, 5, 467, 5 + 4 + 105 + 5 + 4 + 2 + 7));
}

TEST(PagerTabLayout, ScrollingWhenTheTabsDoNotFit) {
    Fixture f(200);
    f.layout.UpdateScroller();
    EXPECT_TRUE(f.in.Scroller.Visible);
    EXPECT_EQ(f.in.Scroller.Min, 0);
    EXPECT_EQ(f.in.Scroller.Max, 2);
    EXPECT_FALSE(f.in.UseFullRow);
    EXPECT_EQ(f.layout.ButtonAreaRect(), Rect(153, 4, 196, 30));
    EXPECT_EQ(f.layout.TabRect(0), Rect(5, 4, 121, 30));
    EXPECT_EQ(f.layout.TabRect(1), NoTabRect);  // would run into the buttons
    EXPECT_EQ(f.layout.TabAtPoint({130, 10}), -1);
    f.in.Scroller.Position = 1;
    EXPECT_EQ(f.layout.TabRect(0), NoTabRect);  // scrolled out
    EXPECT_EQ(f.layout.TabRect(1), Rect(5, 4, 79, 30));
    EXPECT_EQ(f.layout.TabAtPoint({10, 10}), 1);
    f.in.Scroller.Position = 2;
    EXPECT_EQ(f.layout.TabRect(2), Rect(5, 4, 121, 30));
    // A position past the end is pulled back.
    f.in.Scroller.Position = 7;
    f.layout.UpdateScroller();
    EXPECT_EQ(f.in.Scroller.Position, 2);

    // Wide enough again: no scrolling.
    f.in.Client = Rect(0, 0, 471, 238);
    f.layout.UpdateScroller();
    EXPECT_FALSE(f.in.Scroller.Visible);
    EXPECT_EQ(f.in.Scroller.Max, 0);
    EXPECT_EQ(f.in.Scroller.Position, 0);
    // ScrollButtonsAlways keeps the buttons.
    f.in.ScrollButtonsAlways = true;
    f.layout.UpdateScroller();
    EXPECT_TRUE(f.in.Scroller.Visible);
}

// Hidden tabs anywhere in the row, rows of every length on every side:
// each scroll position shows at least one tab, and the position that
// brings a tab into view (the visible tabs before it, at most Max) shows it.
TEST(PagerTabLayout, EveryScrollPositionShowsATabWithHiddenTabsAnywhere) {
    const char* captions[] = {"Editor Settings", "IDE Style", "A caption longer than the row", "Output"};
    constexpr int kPages = 4;
    for (TTabPosition side : {tpTop, tpBottom, tpLeft, tpRight})
        for (bool rotated : {true, false})
            for (int length : {80, 120, 200, 300})
                for (int hidden = -1; hidden < kPages; ++hidden) {
                    if (!rotated && side != tpLeft && side != tpRight) continue;
                    const bool vertical = side == tpLeft || side == tpRight;
                    Fixture f(vertical ? 238 : length, vertical ? length : 238);
                    f.in.TabPosition = side;
                    f.in.RotateTabLeftRight = rotated;
                    f.in.Pages.clear();
                    for (const char* caption : captions) {
                        TPagerLayoutPage page;
                        page.Caption = caption;
                        f.in.Pages.push_back(page);
                    }
                    if (hidden >= 0) f.in.Pages[size_t(hidden)].TabVisible = false;
                    f.layout.UpdateScroller();
                    const auto where = [&] {
                        return ::testing::Message() << "side " << side << " rotated " << rotated << " length " << length
                                                    << " hidden " << hidden << " position " << f.in.Scroller.Position;
                    };
                    const TPagerScrollState range = f.in.Scroller;
                    for (int position = range.Min; position <= range.Max; ++position) {
                        f.in.Scroller.Position = position;
                        int shown = 0;
                        for (int i = 0; i < kPages; ++i)
                            if (f.layout.TabRect(i) != NoTabRect) ++shown;
                        EXPECT_GE(shown, 1) << where();
                    }
                    for (int selected = 0; selected < kPages; ++selected) {
                        if (selected == hidden) continue;
                        int before = 0;
                        for (int i = 0; i < selected; ++i)
                            if (f.in.Pages[size_t(i)].TabVisible) ++before;
                        f.in.Scroller.Position = std::min(range.Max, before);
                        EXPECT_NE(f.layout.TabRect(selected), NoTabRect) << where() << " selected " << selected;
                    }
                }
}

TEST(PagerTabLayout, AnOnlyTabLongerThanTheRowUsesTheFullRow) {
    Fixture f(100);
    f.in.Pages.resize(1);
    f.in.Pages[0].Caption = "A caption far too long";
    f.layout.UpdateScroller();
    EXPECT_TRUE(f.in.UseFullRow);
    EXPECT_EQ(f.in.Scroller.Max, 0);
    EXPECT_FALSE(f.in.Scroller.Visible);
    EXPECT_EQ(f.layout.TabRect(0), Rect(5, 4, 5 + 4 + 22 * 7 + 4 + 3, 30));
    // No visible page at all: nothing to scroll.
    f.in.Pages[0].TabVisible = false;
    f.layout.UpdateScroller();
    EXPECT_EQ(f.in.Scroller.Max, 0);
    EXPECT_EQ(f.layout.TabAtPoint({10, 10}), -1);
}

TEST(PagerTabLayout, CheckBoxAndCloseGlyphPlaces) {
    Fixture f;
    EXPECT_EQ(f.layout.CheckBoxRect(0), Rect(10, 9, 25, 24));
    EXPECT_FALSE(f.layout.PointOnTabCheckBox(0, {12, 12}));
    f.in.Pages[0].ShowCheckBox = true;
    EXPECT_TRUE(f.layout.PointOnTabCheckBox(0, {12, 12}));
    EXPECT_FALSE(f.layout.PointOnTabCheckBox(0, {26, 12}));

    f.in.Pages[0].ShowCheckBox = false;
    f.in.CloseButton = true;
    f.in.CloseOnTab = true;
    // Only the active tab shows its glyph; the tab is 22 longer.
    EXPECT_EQ(f.layout.TabRect(0), Rect(5, 4, 143, 30));
    EXPECT_EQ(f.layout.TabCloseButtonRect(0), Rect(121, 7, 139, 25));
    EXPECT_TRUE(f.layout.TabCloseButtonRect(1).IsEmpty());
    f.in.CloseOnTabPosition = cpLeft;
    EXPECT_EQ(f.layout.TabCloseButtonRect(0), Rect(9, 7, 27, 25));
    // A glyph on the left moves the check box on.
    EXPECT_EQ(f.layout.CheckBoxRect(0), Rect(28, 9, 43, 24));
    f.in.ShowCloseOnNonSelectedTabs = true;
    EXPECT_EQ(f.layout.TabCloseButtonRect(1), Rect(151, 7, 169, 25));
    f.in.TabPosition = tpBottom;
    EXPECT_EQ(f.layout.TabCloseButtonRect(0), Rect(9, 213, 27, 231));
}

TEST(PagerTabLayout, FixedWidthCentredTabsCentreTheirParts) {
    Fixture f;
    f.in.Width = 140;
    f.in.Alignment = LumPager::taCenter;
    f.in.AntiAlias = aaAntiAlias;  // the text measures as it is
    f.in.Pages[0].Picture = {16, 16};
    // 140 - (18 + 105) = 17, halved: 8.
    const TTabPartRects parts = f.layout.TabPartRects(0);
    EXPECT_EQ(parts.Picture, Rect(13, 4, 29, 30));
    EXPECT_EQ(parts.Text, Rect(31, 4, 136, 30));
    EXPECT_TRUE(parts.Close.IsEmpty());
    f.in.Width = 0;
    EXPECT_TRUE(f.layout.TabPartRects(0).Text.IsEmpty());
}

// Side tabs that are not rotated read as top tabs: their parts run across
// the tab, left to right; rotated ones run down their column.
TEST(PagerTabLayout, PartsRunAcrossSideTabsThatAreNotRotated) {
    for (TTabPosition side : {tpLeft, tpRight}) {
        Fixture f;
        f.in.TabPosition = side;
        f.in.RotateTabLeftRight = false;
        f.in.Height = 160;
        f.in.Width = 30;
        f.in.Alignment = LumPager::taCenter;
        f.in.AntiAlias = aaAntiAlias;
        f.in.Pages[0].Picture = {16, 16};
        const TRect tab = f.layout.TabRect(0);
        ASSERT_EQ(tab.Width(), 160) << side;
        const TTabPartRects parts = f.layout.TabPartRects(0);
        // 160 - (18 + 105) = 37, halved: 18.
        EXPECT_EQ(parts.Picture, Rect(tab.Left + 18, tab.Top, tab.Left + 34, tab.Bottom)) << side;
        EXPECT_EQ(parts.Text, Rect(tab.Left + 36, tab.Top, tab.Left + 141, tab.Bottom)) << side;
        f.in.RotateTabLeftRight = true;
        f.in.Width = 160;
        f.in.Height = 26;
        const TRect column = f.layout.TabRect(0);
        const TTabPartRects down = f.layout.TabPartRects(0);
        EXPECT_EQ(down.Picture, Rect(column.Left, column.Top + 18, column.Right, column.Top + 34)) << side;
        EXPECT_EQ(down.Text, Rect(column.Left, column.Top + 36, column.Right, column.Top + 141)) << side;
    }
}

// What sits inside a tab, without painting: a top tab with a check box, a
// picture on its left and its close glyph on the right, and a rotated
// left tab whose caption reads upward from above its check box.
TEST(PagerTabLayout, TheContentOfATabHasItsOwnPlaces) {
    Fixture f;
    f.in.CloseButton = f.in.CloseOnTab = true;
    f.in.Pages[0].ShowCheckBox = true;
    f.in.Pages[0].Picture = {16, 16};
    // 4 + 105 + 4 + 3, picture 18, close glyph 22, check box 20.
    ASSERT_EQ(f.layout.TabRect(0), Rect(5, 4, 181, 30));
    TTabContentLayout c = f.layout.TabContent(0);
    EXPECT_EQ(c.CheckBox, Rect(10, 9, 25, 24));
    EXPECT_EQ(c.Picture, Rect(29, 9, 45, 25));
    EXPECT_EQ(c.Close, Rect(159, 7, 177, 25));
    // After the picture; its end 10 past the glyph's room.
    EXPECT_EQ(c.Text, Rect(47, 4, 169, 30));
    EXPECT_EQ(c.TextAlignment, LumPager::taLeftJustify);
    EXPECT_EQ(c.TextSide, tpTop);
    EXPECT_FALSE(c.RotatedText);

    Fixture left;
    left.in.TabPosition = tpLeft;
    left.in.Pages[0].ShowCheckBox = true;
    // 4 + 105 + 5 + 4 + 2, check box 20.
    ASSERT_EQ(left.layout.TabRect(0), Rect(4, 5, 30, 145));
    c = left.layout.TabContent(0);
    EXPECT_EQ(c.CheckBox, Rect(9, 125, 24, 140));
    EXPECT_TRUE(c.Picture.IsEmpty());
    EXPECT_TRUE(c.Close.IsEmpty());
    EXPECT_TRUE(c.RotatedText);
    EXPECT_EQ(c.TextEscapement, -2700);
    // From 4 above the bottom, 25 more for the check box: the caption's
    // 105 are centred in 5 .. 116 and its 16 across the 26 of the tab.
    EXPECT_EQ(c.Text, Rect(4, 5, 30, 116));
    EXPECT_EQ(c.TextOrigin, Point(9, 113));
    // A hidden or unknown tab has no content.
    left.in.Pages[0].TabVisible = false;
    EXPECT_TRUE(left.layout.TabContent(0).CheckBox.IsEmpty());
    EXPECT_TRUE(left.layout.TabContent(7).Text.IsEmpty());
}

namespace {

bool Inside(const TRect& part, const TRect& tab) {
    return part.Left >= tab.Left && part.Top >= tab.Top && part.Right <= tab.Right && part.Bottom <= tab.Bottom;
}

bool Overlap(const TRect& a, const TRect& b) {
    return !a.IsEmpty() && !b.IsEmpty() && std::max(a.Left, b.Left) < std::min(a.Right, b.Right) &&
           std::max(a.Top, b.Top) < std::min(a.Bottom, b.Bottom);
}

}  // namespace

// Every side, rotated or not, free or fixed width in each alignment, with
// and without a check box, a close glyph and a picture beside the caption:
// the check box, the close glyph and the picture lie inside the tab and
// apart; the caption starts after what comes before it along the text and,
// drawn rotated, lies inside the tab clear of every other part.
TEST(PagerTabLayout, TheContentPartsLieInsideTheirTabAndApart) {
    int rows = 0;
    for (TTabPosition side : {tpTop, tpBottom, tpLeft, tpRight})
        for (bool rotated : {true, false})
            for (int fixed = -1; fixed <= 2; ++fixed)
                for (int flags = 0; flags < 4; ++flags)
                    for (int picture = -1; picture <= 2; picture += 1) {
                        const bool vertical = side == tpLeft || side == tpRight;
                        if (!rotated && !vertical) continue;
                        if (picture == 1) continue;  // ipTop: across the caption, below
                        Fixture f;
                        f.in.TabPosition = side;
                        f.in.RotateTabLeftRight = rotated;
                        const bool column = vertical && !rotated;  // a stack of horizontal tabs
                        f.in.Height = column ? 180 : 26;
                        if (fixed >= 0) {
                            f.in.Width = column ? 30 : 200;
                            f.in.Alignment = LumPager::TTabAlignment(fixed);
                        }
                        const bool checkBox = flags & 1, close = flags & 2;
                        f.in.Pages[0].ShowCheckBox = checkBox;
                        f.in.CloseButton = f.in.CloseOnTab = close;
                        if (picture >= 0) {
                            f.in.ImagePosition = LumPager::TPicturePlace(picture);
                            f.in.Pages[0].Picture = {16, 16};
                        }
                        ++rows;
                        const auto where = [&] {
                            return ::testing::Message()
                                   << "side " << side << " rotated " << rotated << " fixed " << fixed << " check box "
                                   << checkBox << " close " << close << " picture " << picture;
                        };
                        const TRect tab = f.layout.TabRect(0);
                        ASSERT_NE(tab, NoTabRect) << where();
                        const TTabContentLayout c = f.layout.TabContent(0);
                        EXPECT_EQ(c.CheckBox, checkBox ? f.layout.CheckBoxRect(0) : TRect{}) << where();
                        EXPECT_EQ(c.Close, f.layout.TabCloseButtonRect(0)) << where();
                        EXPECT_EQ(c.Close.IsEmpty(), !close) << where();
                        EXPECT_EQ(c.Picture.IsEmpty(), picture < 0) << where();
                        if (picture >= 0) {
                            EXPECT_EQ(c.Picture.Width(), 16) << where();
                            EXPECT_EQ(c.Picture.Height(), 16) << where();
                        }
                        for (const TRect& part : {c.CheckBox, c.Close, c.Picture}) {
                            if (!part.IsEmpty()) {
                                EXPECT_TRUE(Inside(part, tab)) << where();
                            }
                        }
                        EXPECT_FALSE(Overlap(c.CheckBox, c.Close)) << where();
                        EXPECT_FALSE(Overlap(c.CheckBox, c.Picture)) << where();
                        EXPECT_FALSE(Overlap(c.Close, c.Picture)) << where();
                        // The text runs down a rotated side tab (upward on
                        // the left), across every other tab.
                        const bool along = vertical && rotated, upward = along && side == tpLeft;
                        const bool plain = along && !(side == tpRight && fixed < 0);
                        EXPECT_EQ(c.RotatedText, plain) << where();
                        if (plain) {
                            EXPECT_EQ(c.TextEscapement, side == tpLeft ? -2700 : -900) << where();
                            const TPoint o = c.TextOrigin;
                            const TRect ink =
                                upward ? Rect(o.X, o.Y - 105, o.X + 16, o.Y) : Rect(o.X - 16, o.Y, o.X, o.Y + 105);
                            EXPECT_TRUE(Inside(ink, tab)) << where();
                            // Centred across the tab.
                            EXPECT_LE(std::abs(ink.Left + ink.Right - tab.Left - tab.Right), 1) << where();
                            for (const TRect& part : {c.CheckBox, c.Close, c.Picture})
                                EXPECT_FALSE(Overlap(ink, part)) << where();
                            continue;
                        }
                        EXPECT_EQ(c.TextSide, along ? side : side == tpBottom ? tpBottom : tpTop) << where();
                        const int textStart = along ? c.Text.Top : c.Text.Left;
                        for (const TRect& part : {c.CheckBox, c.Close, c.Picture}) {
                            if (part.IsEmpty()) continue;
                            const bool beforeText = (along ? part.Top : part.Left) < textStart;
                            if (beforeText) {
                                EXPECT_LE(along ? part.Bottom : part.Right, textStart) << where();
                            }
                        }
                    }
    EXPECT_EQ(rows, 6 * 4 * 4 * 3);
}

TEST(PagerTabLayout, TheTextSizeAddsAThirdOfTheLengthForClearTypeAndPlainText) {
    Fixture f;
    EXPECT_EQ(f.layout.TabTextSize(0), (TSize{105 + 5, 16}));
    f.in.AntiAlias = aaAntiAlias;
    EXPECT_EQ(f.layout.TabTextSize(0), (TSize{105, 16}));
}

TEST(PagerTabLayout, ButtonPlaces) {
    Fixture f;
    f.in.Scroller.Visible = true;
    EXPECT_EQ(f.layout.ScrollButtonsRect(), Rect(424, 7, 468, 25));
    EXPECT_EQ(f.layout.PrevButtonRect(), Rect(426, 7, 444, 25));
    EXPECT_EQ(f.layout.NextButtonRect(), Rect(446, 7, 464, 25));
    EXPECT_EQ(f.layout.LastButtonRect(), f.layout.NextButtonRect());
    f.in.FirstButton = f.in.LastButton = true;
    EXPECT_EQ(f.layout.FirstButtonRect(), Rect(387, 7, 405, 25));
    EXPECT_EQ(f.layout.PrevButtonRect(), Rect(407, 7, 425, 25));
    EXPECT_EQ(f.layout.LastButtonRect(), Rect(447, 7, 465, 25));
    f.in.FirstButton = f.in.LastButton = false;
    f.in.PageListButton = f.in.CloseButton = true;
    EXPECT_EQ(f.layout.PrevButtonRect(), Rect(384, 7, 402, 25));
    EXPECT_EQ(f.layout.PageListButtonRect(), Rect(425, 7, 443, 25));
    EXPECT_EQ(f.layout.SharedCloseButtonRect(), Rect(445, 7, 463, 25));
    f.in.Scroller.Visible = false;
    EXPECT_EQ(f.layout.PageListButtonRect(), Rect(425, 7, 443, 25));
    f.in.PageListButton = false;
    EXPECT_EQ(f.layout.SharedCloseButtonRect(), Rect(446, 7, 464, 25));
    // Left tabs: the column runs downward.
    f.in.TabPosition = tpLeft;
    f.in.Scroller.Visible = true;
    EXPECT_EQ(f.layout.ButtonAreaRect(), Rect(4, 170, 30, 234));
    EXPECT_EQ(f.layout.PrevButtonRect(), Rect(7, 173, 25, 191));
    EXPECT_EQ(f.layout.NextButtonRect(), Rect(7, 193, 25, 211));
    EXPECT_EQ(f.layout.SharedCloseButtonRect(), Rect(7, 214, 25, 232));
}

}  // namespace
