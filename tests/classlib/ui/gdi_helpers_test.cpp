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

TEST(TopDown32BitSection, RowsRunTopDownInBlueGreenRedOrder) {
    BITMAPINFO info = TopDown32BitInfo(3, 2);
    EXPECT_EQ(info.bmiHeader.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(info.bmiHeader.biWidth, 3);
    EXPECT_EQ(info.bmiHeader.biHeight, -2);
    EXPECT_EQ(info.bmiHeader.biBitCount, 32);
    EXPECT_EQ(info.bmiHeader.biCompression, DWORD(BI_RGB));

    Byte* bits = nullptr;
    HBITMAP section = CreateTopDown32BitSection(3, 2, &bits);
    ASSERT_NE(section, nullptr);
    ASSERT_NE(bits, nullptr);
    for (int i = 0; i < 3 * 2 * 4; ++i) EXPECT_EQ(bits[i], 0) << "byte " << i;
    // A red pixel drawn at the top left lands in the first four bytes as
    // blue, green, red; one at the bottom right in the last four.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    SetPixel(dc, 2, 1, RGB(0, 0, 255));
    GdiFlush();
    EXPECT_EQ(bits[0], 0);
    EXPECT_EQ(bits[1], 0);
    EXPECT_EQ(bits[2], 255);
    EXPECT_EQ(bits[20], 255);
    EXPECT_EQ(bits[22], 0);
    // And what GetDIBits reads with the same header is the same bytes.
    Byte read[3 * 2 * 4] = {};
    EXPECT_EQ(GetDIBits(dc, section, 0, 2, read, &info, DIB_RGB_COLORS), 2);
    SelectObject(dc, old);
    DeleteDC(dc);
    for (int i = 0; i < 3 * 2 * 4; ++i) EXPECT_EQ(read[i], bits[i]) << "byte " << i;
    DeleteObject(section);
}

}  // namespace
