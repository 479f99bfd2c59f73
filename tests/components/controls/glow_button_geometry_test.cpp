#include "components/controls/glow_button_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(GlowGeometry, FaceHalvesShareOneRow) {
    EXPECT_EQ(GlowUpperHalf(Rect(0, 0, 100, 41)), Rect(0, 0, 100, 21));
    EXPECT_EQ(GlowLowerHalf(Rect(0, 0, 100, 41)), Rect(0, 19, 100, 41));
    EXPECT_EQ(GlowUpperHalf(Rect(0, 0, 30, 26)), Rect(0, 0, 30, 13));
    EXPECT_EQ(GlowLowerHalf(Rect(0, 0, 30, 26)), Rect(0, 12, 30, 26));
}

TEST(GlowGeometry, RadialEllipses) {
    const TGlowEllipse upper = GlowUpperEllipse(Rect(0, 0, 100, 21));
    EXPECT_EQ(upper.Bounds, Rect(0, -8, 100, 13));  // raised by 21 / 2 - 2
    EXPECT_EQ(upper.Centre, Point(50, 0));
    const TGlowEllipse lower = GlowLowerEllipse(Rect(0, 19, 100, 41));
    EXPECT_EQ(lower.Bounds, Rect(0, 19, 100, 41));
    EXPECT_EQ(lower.Centre, Point(50, 41));
}

TEST(GlowGeometry, DropDownPartsAndContentArea) {
    const TRect client = Rect(0, 0, 100, 41);
    EXPECT_EQ(GlowDropDownPart(client, dpRight), Rect(88, 0, 100, 41));
    EXPECT_EQ(GlowMainPart(client, dpRight), Rect(0, 0, 88, 41));
    EXPECT_EQ(GlowDropDownPart(client, dpBottom), Rect(0, 29, 100, 41));
    EXPECT_EQ(GlowMainPart(client, dpBottom), Rect(0, 0, 100, 29));
    EXPECT_EQ(GlowContentArea(client, false, dpRight), client);
    EXPECT_EQ(GlowContentArea(client, true, dpRight), Rect(0, 0, 78, 41));
    EXPECT_EQ(GlowContentArea(client, true, dpBottom), Rect(0, 0, 100, 19));
}

TEST(GlowGeometry, PictureWithoutCaptionIsCentredNeverBeforeTheArea) {
    EXPECT_EQ(GlowPlaceContent(blGlyphLeft, Rect(0, 0, 30, 26), {16, 16}, false).Picture, Point(7, 5));
    EXPECT_EQ(GlowPlaceContent(blGlyphTop, Rect(0, 0, 10, 10), {16, 16}, false).Picture, Point(0, 0));
}

TEST(GlowGeometry, PictureBesideAboveOrBelowTheCaption) {
    const TRect area = Rect(0, 0, 100, 41);
    TGlowContentPlace left = GlowPlaceContent(blGlyphLeft, area, {16, 16}, true);
    EXPECT_EQ(left.Picture, Point(2, 12));
    EXPECT_EQ(left.Text, Rect(18, 0, 100, 41));  // pw + 2, whatever the spacing
    TGlowContentPlace top = GlowPlaceContent(blGlyphTop, area, {16, 16}, true);
    EXPECT_EQ(top.Picture, Point(42, 2));
    EXPECT_EQ(top.Text, Rect(0, 18, 100, 41));
    TGlowContentPlace bottom = GlowPlaceContent(blGlyphBottom, area, {16, 16}, true);
    EXPECT_EQ(bottom.Picture, Point(42, 23));
    EXPECT_EQ(bottom.Text, Rect(0, 0, 100, 23));
    EXPECT_EQ(GlowPlaceContent(blGlyphRight, area, {16, 16}, true).Text, Rect(0, 0, 82, 41));
    EXPECT_EQ(GlowPlaceContent(blGlyphLeft, area, {0, 0}, true).Text, area);
}

TEST(GlowGeometry, ArrowIsFiveThreeOnePixels) {
    const TGlowArrow down = GlowDropDownArrow(ddDown, Point(10, 10));
    EXPECT_EQ(down.Ink.size(), 9u);
    auto has = [](const std::vector<TPoint>& v, TPoint p) { return std::find(v.begin(), v.end(), p) != v.end(); };
    EXPECT_TRUE(has(down.Ink, Point(8, 9)));
    EXPECT_TRUE(has(down.Ink, Point(12, 9)));
    EXPECT_TRUE(has(down.Ink, Point(10, 11)));
    EXPECT_FALSE(has(down.Ink, Point(9, 11)));
    for (TPoint p : down.Highlight) EXPECT_FALSE(has(down.Ink, p));
    const TGlowArrow right = GlowDropDownArrow(ddRight, Point(10, 10));
    EXPECT_TRUE(has(right.Ink, Point(9, 8)));
    EXPECT_TRUE(has(right.Ink, Point(11, 10)));
    EXPECT_FALSE(has(right.Ink, Point(11, 9)));
}

}  // namespace
