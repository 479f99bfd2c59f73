#include "components/controls/combo_box_layout.h"

#include <gtest/gtest.h>

TEST(ComboBoxLayout, ButtonWidthRange) {
    for (int w : {13, 33, 0, -1, 100}) EXPECT_FALSE(IsComboButtonWidthAllowed(w)) << w;
    for (int w : {14, 19, 32}) EXPECT_TRUE(IsComboButtonWidthAllowed(w)) << w;
}

TEST(ComboBoxLayout, DropButtonThemeStates) {
    const struct {
        bool Enabled, Down, Dropped, Hot;
        int State;
    } cases[] = {
        {false, true, true, true, 4},   {true, true, true, false, 3}, {true, true, false, true, 1},
        {true, false, false, false, 1}, {true, false, true, true, 1}, {true, false, false, true, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComboDropButtonState(c.Enabled, c.Down, c.Dropped, c.Hot), c.State)
            << c.Enabled << c.Down << c.Dropped << c.Hot;
}

TEST(ComboBoxLayout, LabelInEveryPosition) {
    // A box at (100, 50) 80 x 21; a label 40 x 13 whose text is 40 wide;
    // margin 4.
    const TRect box = Bounds(100, 50, 80, 21);
    const TSize label{40, 13};
    const struct {
        TLabelPosition Position;
        TPoint Place;
    } cases[] = {
        {lpLeftTop, {56, 50}},        {lpLeftCenter, {56, 54}},     {lpLeftBottom, {56, 58}},
        {lpTopLeft, {100, 33}},       {lpBottomLeft, {100, 75}},    {lpLeftTopLeft, {96, 50}},
        {lpLeftCenterLeft, {96, 54}}, {lpLeftBottomLeft, {96, 58}}, {lpTopCenter, {120, 33}},
        {lpBottomCenter, {120, 75}},  {lpRightTop, {184, 50}},      {lpRightCenter, {184, 54}},
        {lpRighBottom, {184, 58}},
    };
    for (const auto& c : cases) {
        const TPoint p = ComboLabelPlace(c.Position, box, label, 40, 4);
        EXPECT_EQ(p, c.Place) << c.Position << ": " << p.X << "," << p.Y;
    }
}

TEST(ComboBoxLayout, ALargerLabelIsCentredReachingOutOnBothSides) {
    // A label 25 high beside a 21 high box, and one 91 wide above an 80
    // wide box: 2 and 5 pixels out (halves toward zero).
    const TRect box = Bounds(100, 50, 80, 21);
    EXPECT_EQ(ComboLabelPlace(lpLeftCenter, box, {30, 25}, 30, 4), (TPoint{66, 48}));
    EXPECT_EQ(ComboLabelPlace(lpTopCenter, box, {91, 13}, 91, 4), (TPoint{95, 33}));
}
