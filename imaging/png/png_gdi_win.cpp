#include "imaging/png/png_gdi_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

HPALETTE CreatePngPalette(const TPngRGBQuad* table, int count) {
    count = std::clamp(count, 1, 256);
    std::vector<Byte> buffer(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * std::size_t(count));
    auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = WORD(count);
    for (int i = 0; i < count; ++i)
        palette->palPalEntry[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    return CreatePalette(palette);
}

TRect NormalizedRect(const TRect& rect) {
    return {std::min(rect.Left, rect.Right), std::min(rect.Top, rect.Bottom), std::max(rect.Left, rect.Right),
            std::max(rect.Top, rect.Bottom)};
}

TMemoryBitmap::TMemoryBitmap(HBITMAP bitmap) : FBitmap(bitmap) {
    if (!FBitmap) return;
    FDC = CreateCompatibleDC(nullptr);
    if (FDC) FOld = SelectObject(FDC, FBitmap);
}

TMemoryBitmap::~TMemoryBitmap() {
    if (FDC) {
        SelectObject(FDC, FOld);
        DeleteDC(FDC);
    }
    if (FBitmap) DeleteObject(FBitmap);
}

BITMAPV4HEADER TopDownAlphaHeader(int width, int height) {
    BITMAPV4HEADER header{};
    header.bV4Size = sizeof(BITMAPV4HEADER);
    header.bV4Width = width;
    header.bV4Height = -height;
    header.bV4Planes = 1;
    header.bV4BitCount = 32;
    header.bV4V4Compression = BI_BITFIELDS;
    header.bV4RedMask = 0x00FF0000;
    header.bV4GreenMask = 0x0000FF00;
    header.bV4BlueMask = 0x000000FF;
    header.bV4AlphaMask = 0xFF000000;
    return header;
}

HBITMAP CreateAlphaSection(int width, int height, Byte** bits) {
    BITMAPV4HEADER header = TopDownAlphaHeader(width, height);
    void* p = nullptr;
    HBITMAP section =
        CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS, &p, nullptr, 0);
    *bits = section ? static_cast<Byte*>(p) : nullptr;
    if (*bits) std::memset(*bits, 0, std::size_t(width) * std::size_t(height) * 4);
    return section;
}
