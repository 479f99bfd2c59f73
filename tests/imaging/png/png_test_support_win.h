// Helpers of the Windows PNG tests: PNG pictures built from raw rows,
// 32-bit surfaces to draw on and read back, and the expected blend.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "classlib/ui/gdi_helpers.h"
#include "imaging/png/png_functions_win.h"
#include "imaging/png/png_imagelist_win.h"
#include "imaging/png/png_unit_win.h"
#include "tests/imaging/png/png_test_support.h"

namespace pngwintest {

using pngtest::Chunk;
using pngtest::Palette4;
using pngtest::SimplePng;

// A plain RGB value (red in the lowest byte).
constexpr LongWord Rgb(int r, int g, int b) { return LongWord(r) | LongWord(g) << 8 | LongWord(b) << 16; }

// One channel of s with alpha a over d, as the blended drawing computes it.
constexpr int Blend(int s, int a, int d) { return (s * a + (255 - a) * d + 255) >> 8; }
constexpr LongWord BlendRgb(LongWord s, int a, LongWord d) {
    return Rgb(Blend(int(s & 255), a, int(d & 255)), Blend(int(s >> 8 & 255), a, int(d >> 8 & 255)),
               Blend(int(s >> 16 & 255), a, int(d >> 16 & 255)));
}

// A picture loaded from a PNG stream.
inline std::unique_ptr<TPNGObject> LoadPng(const TBytes& bytes) {
    auto png = std::make_unique<TPNGObject>();
    TMemoryStream stream;
    stream.Write(bytes.data(), Int64(bytes.size()));
    stream.SetPosition(0);
    png->LoadFromStream(stream);
    return png;
}

// A picture of raw rows (filter type 0) with extra chunks before the data.
inline std::unique_ptr<TPNGObject> MakePng(LongWord w, LongWord h, Byte depth, Byte colorType, const TBytes& rows,
                                           std::initializer_list<TBytes> extra = {}) {
    return LoadPng(SimplePng(w, h, depth, colorType, rows, extra));
}

// A width x height 32-bit bitmap filled with color.
inline std::unique_ptr<TBitmap> Surface(int width, int height, TColor color, TPixelFormat format = pf32bit) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}

// The RGB value of a pixel of a 32-bit bitmap, read from its bits.
inline LongWord Probe(TBitmap& bitmap, int x, int y) {
    const Byte* p = static_cast<const Byte*>(bitmap.ScanLine(y)) + 4 * x;
    return Rgb(p[2], p[1], p[0]);
}

// The colour-table index or colour of any bitmap's pixel, through GDI.
inline LongWord PixelColor(TBitmap& bitmap, int x, int y) { return LongWord(bitmap.Canvas()->Pixels(x, y)) & 0xFFFFFF; }

// The 32-bit pixels (blue, green, red, alpha) of a bitmap handle, top-down.
inline std::vector<LongWord> Pixels32(HBITMAP bitmap, int width, int height) {
    std::vector<LongWord> pixels(std::size_t(width) * height);
    BITMAPINFO info = TopDown32BitInfo(width, height);
    GetDIBits(TScreenDC().Handle(), bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

// An icon drawn over a background colour: the RGB of pixel x, y.
inline LongWord IconPixel(HICON icon, int size, TColor background, int x, int y) {
    auto surface = Surface(size, size, background);
    DrawIconEx(surface->Canvas()->Handle(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    return Probe(*surface, x, y);
}

}  // namespace pngwintest
