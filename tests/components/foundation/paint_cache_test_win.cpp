#include "components/foundation/paint_cache_win.h"

#include <gtest/gtest.h>

#include "object_tally.h"
#include "paint_harness.h"

namespace {

void Fill(HDC dc, const RECT& r, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

TEST(PaintCache, PaintsAgainOnlyForANewKeyOrSize) {
    TPaintCache cache;
    EXPECT_TRUE(cache.Empty());
    // The first time, and after any change of key or size, the picture is
    // to be painted; the same key and size again keep it.
    struct Step {
        int Width, Height;
        TPaintCache::TKey Key;
        bool Paint;
    };
    const Step steps[] = {
        {20, 10, {1, 2}, true},     {20, 10, {1, 2}, false},   {20, 10, {1, 3}, true},
        {20, 10, {1, 3, 0}, true},  {21, 10, {1, 3, 0}, true}, {21, 11, {1, 3, 0}, true},
        {21, 11, {1, 3, 0}, false}, {21, 11, {}, true},        {21, 11, {}, false},
    };
    int paints = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.Width << "x" << s.Height << ", key of " << s.Key.size());
        const bool painted = cache.Repaint(s.Width, s.Height, s.Key) != nullptr;
        EXPECT_EQ(painted, s.Paint);
        paints += painted;
        EXPECT_EQ(cache.Paints(), paints);
        EXPECT_EQ(cache.Width(), s.Width);
        EXPECT_EQ(cache.Height(), s.Height);
    }
    // Cleared, it paints again for the same key.
    cache.Clear();
    EXPECT_TRUE(cache.Empty());
    EXPECT_NE(cache.Repaint(21, 11, {}), nullptr);
}

TEST(PaintCache, CopiesThePictureWhereAskedWithinTheClip) {
    TPaintCache cache;
    HDC dc = cache.Repaint(10, 6, {7});
    ASSERT_NE(dc, nullptr);
    Fill(dc, RECT{0, 0, 10, 6}, RGB(0, 0, 255));
    Fill(dc, RECT{0, 0, 5, 3}, RGB(255, 0, 0));
    TPaintTarget target(30, 20, clWhite);
    cache.CopyTo(target.DC(), 4, 2);
    EXPECT_EQ(target.PixelAt(3, 2), clWhite);
    EXPECT_EQ(target.PixelAt(4, 2), clRed);
    EXPECT_EQ(target.PixelAt(8, 4), clRed);
    EXPECT_EQ(target.PixelAt(9, 5), clBlue);
    EXPECT_EQ(target.PixelAt(13, 7), clBlue);
    EXPECT_EQ(target.PixelAt(14, 8), clWhite);
    // The target's clip region limits the copy.
    target.Fill(clWhite);
    IntersectClipRect(target.DC(), 0, 0, 6, 20);
    cache.CopyTo(target.DC(), 4, 2);
    SelectClipRgn(target.DC(), nullptr);
    EXPECT_EQ(target.PixelAt(5, 2), clRed);
    EXPECT_EQ(target.PixelAt(6, 2), clWhite);
}

TEST(PaintCache, TheSurfaceKeepsItsPixelsWhileTheSizeStays) {
    TPaintCache cache;
    HDC dc = cache.Surface(8, 8);
    ASSERT_NE(dc, nullptr);
    TPaintTarget target(8, 8, clWhite);
    // New: black.
    cache.CopyTo(target.DC());
    EXPECT_EQ(target.CountPixels(Rect(0, 0, 8, 8), clBlack), 64);
    Fill(dc, RECT{0, 0, 8, 8}, RGB(0, 255, 0));
    EXPECT_EQ(cache.Surface(8, 8), dc);
    cache.CopyTo(target.DC());
    EXPECT_EQ(target.CountPixels(Rect(0, 0, 8, 8), clLime), 64);
    // Another size is a new, black bitmap; a size below one pixel is one.
    cache.Surface(0, -3);
    EXPECT_EQ(cache.Width(), 1);
    EXPECT_EQ(cache.Height(), 1);
    cache.CopyTo(target.DC());
    EXPECT_EQ(target.PixelAt(0, 0), clBlack);
    EXPECT_EQ(target.PixelAt(1, 0), clLime);
}

TEST(PaintCache, FreesWhatItMakes) {
    TObjectBalance balance;
    for (int i = 0; i < 100; ++i) {
        TPaintCache cache;
        cache.Repaint(30 + i % 3, 20, {i});
        cache.Repaint(30 + i % 5, 20, {i});
        cache.Surface(10, 10);
    }
    EXPECT_GT(balance.Created(okGdi), 200);
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
}

}  // namespace
