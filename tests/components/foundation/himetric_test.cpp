// HIMETRIC and pixels.
#include "components/foundation/himetric.h"

#include <gtest/gtest.h>

TEST(Himetric, ConvertsWithHalvesToEven) {
    struct TCase {
        int Himetric, Ppi, Pixels;
    };
    TCase cases[] = {
        {2540, 96, 96},   {0, 96, 0},   {26, 96, 1},  // 0.98
        {13, 96, 0},                                  // 0.49
        {2540, 120, 120}, {635, 2, 0},                // 0.5: to even 0
        {1905, 2, 2},                                 // 1.5: to even 2
        {-1905, 2, -2},   {-635, 2, 0}, {-26, 96, -1},
    };
    for (const TCase& c : cases) EXPECT_EQ(HimetricToPixels(c.Himetric, c.Ppi), c.Pixels) << c.Himetric << "@" << c.Ppi;
    EXPECT_EQ(PixelsToHimetric(96, 96), 2540);
    EXPECT_EQ(PixelsToHimetric(1, 96), 26);  // 26.46
    EXPECT_EQ(PixelsToHimetric(5, 0), 0);
}

TEST(Himetric, PixelsRoundTripAtCommonResolutions) {
    for (int ppi : {96, 120, 144, 192})
        for (int px = 0; px <= 5000; ++px) ASSERT_EQ(HimetricToPixels(PixelsToHimetric(px, ppi), ppi), px) << ppi;
}
