#include "components/controls/radio_group_layout.h"

#include <gtest/gtest.h>

TEST(RadioGroupLayout, ColumnsAreClampedToOneToSixteen) {
    const int cases[][2] = {{-3, 1}, {0, 1}, {1, 1}, {7, 7}, {16, 16}, {17, 16}, {1000, 16}};
    for (const auto& c : cases) EXPECT_EQ(ClampRadioColumns(c[0]), c[1]) << c[0];
}

TEST(RadioGroupLayout, ItemIndexIsClampedToTheButtons) {
    EXPECT_EQ(ClampRadioItemIndex(99, 6), 5);
    EXPECT_EQ(ClampRadioItemIndex(-5, 6), -1);
    EXPECT_EQ(ClampRadioItemIndex(3, 6), 3);
    EXPECT_EQ(ClampRadioItemIndex(0, 0), -1);
    EXPECT_EQ(ClampRadioItemIndex(2, 0), -1);
}

TEST(RadioGroupLayout, SixItemsInOneColumn) {
    for (int h : {13, 14, 16}) {
        for (bool caption : {true, false}) {
            const TRadioGroupGrid g = RadioGroupGrid(6, 1, 110, 150, h, caption);
            EXPECT_EQ(g.Rows, 6);
            EXPECT_EQ(g.ColumnWidth, 100);
            EXPECT_EQ(g.RowHeight, (145 - h) / 6);
            EXPECT_EQ(g.Top, ((145 - h) % 6) / 2 + h + 1 - (caption ? 0 : h / 2)) << h << caption;
            for (int i = 0; i < 6; ++i) {
                const TRect r = RadioGroupButtonRect(g, i, false, 106);
                EXPECT_EQ(r, Bounds(8, g.Top + i * g.RowHeight, 100, g.RowHeight));
            }
        }
    }
}

TEST(RadioGroupLayout, ColumnsFillTopToBottomThenTheNext) {
    // Five buttons in two columns of a 210 x 100 group: three rows.
    const TRadioGroupGrid g = RadioGroupGrid(5, 2, 210, 100, 13, true);
    EXPECT_EQ(g.Rows, 3);
    EXPECT_EQ(g.ColumnWidth, 100);
    EXPECT_EQ(g.RowHeight, 82 / 3);
    EXPECT_EQ(RadioGroupButtonRect(g, 2, false, 206).Left, 8);
    EXPECT_EQ(RadioGroupButtonRect(g, 3, false, 206).Left, 108);
    EXPECT_EQ(RadioGroupButtonRect(g, 3, false, 206).Top, g.Top);
    // Right to left the first column is at the right.
    EXPECT_EQ(RadioGroupButtonRect(g, 0, true, 206).Left, 206 - 8 - 100);
    EXPECT_EQ(RadioGroupButtonRect(g, 4, true, 206).Left, 206 - 108 - 100);
}
