#include "components/controls/group_box_layout.h"

#include <gtest/gtest.h>

using namespace LumGroupBox;

TEST(GroupBoxLayout, BorderWidthByStyleAndLook) {
    const struct {
        TBorderStyle Style;
        bool Ctl3D;
        int Width;
    } cases[] = {{bsNone, false, 1},  {bsNone, true, 1},    {bsSingle, false, 1},
                 {bsSingle, true, 2}, {bsDouble, false, 2}, {bsDouble, true, 4}};
    for (const auto& c : cases) EXPECT_EQ(GroupBoxBorderWidth(c.Style, c.Ctl3D), c.Width) << c.Style << c.Ctl3D;
}

TEST(GroupBoxLayout, CaptionPlaces) {
    // A 60 x 13 caption on a 169 x 100 box; an image 16 x 16 beside it.
    const TSize text{60, 13}, none{0, 0}, image{16, 16};
    const struct {
        TCaptionPosition Position;
        TSize Image;
        TRect Caption;
    } cases[] = {
        {cpTopLeft, none, Rect(8, 0, 68, 15)},
        {cpTopRight, none, Rect(101, 0, 161, 15)},
        {cpTopCenter, none, Rect(54, 0, 114, 15)},
        {cpBottomLeft, none, Rect(8, 85, 68, 100)},
        {cpBottomRight, none, Rect(101, 85, 161, 100)},
        {cpBottomCenter, none, Rect(54, 85, 114, 100)},
        // Image, gap of 3, text; the taller image sets the height.
        {cpTopLeft, image, Rect(8, 0, 8 + 16 + 3 + 60, 18)},
        {cpBottomRight, image, Rect(161 - 79, 82, 161, 100)},
    };
    for (const auto& c : cases) {
        const TRect r = GroupBoxCaptionRect(c.Position, 169, 100, text, c.Image);
        EXPECT_EQ(r, c.Caption) << c.Position << " " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    }
    // An image without text has no gap.
    EXPECT_EQ(GroupBoxCaptionRect(cpTopLeft, 169, 100, none, image), Rect(8, 0, 24, 18));
}

TEST(GroupBoxLayout, AnEmptyCaptionLeavesTheBorderHeight) {
    const TRect caption = GroupBoxCaptionRect(cpTopLeft, 100, 50, {0, 0}, {0, 0});
    EXPECT_EQ(caption.Height(), 2);
    EXPECT_EQ(GroupBoxCaptionHeight(caption, GroupBoxBorderWidth(bsSingle, false)), 2);
    // Half of it moves the single border's top line 1 pixel down.
    EXPECT_EQ(GroupBoxBorderRect(Rect(0, 0, 100, 50), cpTopLeft, 2, false, bsSingle).Top, 1);
    // A double 3D border is wider than an empty caption.
    EXPECT_EQ(GroupBoxCaptionHeight(caption, GroupBoxBorderWidth(bsDouble, true)), 4);
}

TEST(GroupBoxLayout, ChildAreaLeavesCaptionBandAndBorder) {
    const TRect client = Rect(0, 0, 200, 100);
    // Top caption 15 high, border 2: top 15 + 1, sides and bottom 2 + 1.
    EXPECT_EQ(GroupBoxChildArea(client, cpTopLeft, 15, 2), Rect(3, 16, 197, 97));
    EXPECT_EQ(GroupBoxChildArea(client, cpTopCenter, 15, 2), Rect(3, 16, 197, 97));
    // Bottom caption: the band comes off the bottom, the border off the top.
    EXPECT_EQ(GroupBoxChildArea(client, cpBottomRight, 15, 1), Rect(2, 2, 198, 84));
}

TEST(GroupBoxLayout, BorderRectFollowsTheCaption) {
    const TRect client = Rect(0, 0, 200, 100);
    EXPECT_EQ(GroupBoxBorderRect(client, cpTopRight, 15, true, bsSingle), Rect(0, 7, 200, 100));
    EXPECT_EQ(GroupBoxBorderRect(client, cpBottomLeft, 15, true, bsSingle), Rect(0, 0, 200, 93));
    EXPECT_EQ(GroupBoxBorderRect(client, cpBottomLeft, 15, true, bsDouble), Rect(0, 0, 200, 94));
    // Without caption text or image a bottom border stays at the bottom.
    EXPECT_EQ(GroupBoxBorderRect(client, cpBottomCenter, 2, false, bsSingle), client);
}
