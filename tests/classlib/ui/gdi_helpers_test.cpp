#include "classlib/ui/gdi_helpers.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenDC, IsTheScreensDCForTheScope) {
    TScreenDC screen;
    ASSERT_NE(screen.Handle(), nullptr);
    EXPECT_EQ(GetDeviceCaps(screen.Handle(), TECHNOLOGY), DT_RASDISPLAY);
    EXPECT_GT(GetDeviceCaps(screen.Handle(), LOGPIXELSY), 0);
    // A DC of the screen made compatible with it draws like the screen.
    HBITMAP bitmap = CreateCompatibleBitmap(screen.Handle(), 3, 2);
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof bm, &bm), int(sizeof bm));
    EXPECT_EQ(bm.bmBitsPixel * bm.bmPlanes,
              GetDeviceCaps(screen.Handle(), BITSPIXEL) * GetDeviceCaps(screen.Handle(), PLANES));
    DeleteObject(bitmap);
}

}  // namespace
