// Small GDI helpers of the PNG picture and its conversions: palettes from
// colour tables, memory DCs with a bitmap selected and 32-bit sections with
// alpha (the screen DC and plain 32-bit sections are in
// classlib/ui/gdi_helpers.h).
#pragma once

#include "classlib/os/win.h"
#include "classlib/ui/gdi_helpers.h"
#include "classlib/ui/geometry.h"
#include "imaging/png/png_types.h"

// A palette of count entries of table (nullptr when GDI refuses).
HPALETTE CreatePngPalette(const TPngRGBQuad* table, int count);

// The rectangle with Left <= Right and Top <= Bottom.
TRect NormalizedRect(const TRect& rect);

// A memory DC (compatible with the screen) with a bitmap selected; it owns
// both and frees them.
class TMemoryBitmap {
public:
    explicit TMemoryBitmap(HBITMAP bitmap);
    ~TMemoryBitmap();
    TMemoryBitmap(const TMemoryBitmap&) = delete;
    TMemoryBitmap& operator=(const TMemoryBitmap&) = delete;

    bool Valid() const { return FDC && FBitmap; }
    HDC DC() const { return FDC; }
    HBITMAP Bitmap() const { return FBitmap; }

private:
    HDC FDC = nullptr;
    HBITMAP FBitmap;
    HGDIOBJ FOld = nullptr;
};

// The 108-byte header of a top-down 32-bit bitmap whose bit fields name the
// fourth byte as alpha (red 0xFF0000, green 0xFF00, blue 0xFF, alpha
// 0xFF000000).
BITMAPV4HEADER TopDownAlphaHeader(int width, int height);

// A section like CreateTopDown32BitSection's (classlib/ui/gdi_helpers.h)
// with that header.
HBITMAP CreateAlphaSection(int width, int height, Byte** bits);
