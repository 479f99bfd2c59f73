// The row filters and their inverses.
#include "imaging/png/png_filters.h"

#include <gtest/gtest.h>

#include <random>

#include "png_test_support.h"

using namespace pngtest;

TEST(PngFilters, UnfilterUndoesFilterForEveryTypeAndPixelSize) {
    std::mt19937 rng(5);
    for (int p : {1, 2, 3, 4, 6, 8})
        for (std::size_t n : {std::size_t(1), std::size_t(p), std::size_t(3 * p + 1), std::size_t(257)}) {
            TBytes raw(n), prev(n), filtered(n), back(n);
            for (std::size_t i = 0; i < n; ++i) {
                raw[i] = Byte(rng());
                prev[i] = Byte(rng());
            }
            for (TPngRowFilter f : {rfNone, rfSub, rfUp, rfAverage, rfPaeth}) {
                FilterRow(f, raw.data(), prev.data(), filtered.data(), n, p);
                UnfilterRow(f, filtered.data(), back.data(), prev.data(), n, p);
                EXPECT_EQ(back, raw) << "filter " << f << " p " << p << " n " << n;
                back = filtered;
                UnfilterRow(f, back.data(), back.data(), prev.data(), n, p);  // in place
                EXPECT_EQ(back, raw);
            }
            UnfilterRow(7, raw.data(), back.data(), prev.data(), n, p);  // above 4: None
            EXPECT_EQ(back, raw);
        }
}

TEST(PngFilters, PaethPredictor) {
    EXPECT_EQ(PaethPredict(10, 20, 10), 20);
    EXPECT_EQ(PaethPredict(20, 10, 10), 20);
    EXPECT_EQ(PaethPredict(5, 5, 5), 5);
    EXPECT_EQ(PaethPredict(100, 10, 60), 60);
    EXPECT_EQ(PaethPredict(0, 255, 128), 128);
    EXPECT_EQ(PaethPredict(0, 255, 0), 255);
}
