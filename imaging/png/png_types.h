// Basic types and small routines of the PNG codec: the row filters, the
// interlace methods, the in-memory bitmap header (laid out exactly like a
// Windows BITMAPINFO with 256 colours, so the Windows part can hand it to
// GDI as it is), the CRC-32 and the row geometry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "classlib/core/types.h"

enum TPngRowFilter { rfNone = 0, rfSub = 1, rfUp = 2, rfAverage = 3, rfPaeth = 4 };

// A set of row filters: bit i stands for filter type i.
class TPngRowFilters {
public:
    constexpr TPngRowFilters() = default;
    constexpr TPngRowFilters(std::initializer_list<TPngRowFilter> filters) {
        for (TPngRowFilter f : filters) FBits |= Byte(1u << f);
    }
    static constexpr TPngRowFilters FromBits(Byte bits) {
        TPngRowFilters s;
        s.FBits = Byte(bits & 0x1F);
        return s;
    }
    constexpr bool Contains(TPngRowFilter f) const { return (FBits >> f) & 1u; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr Byte Bits() const { return FBits; }
    constexpr bool operator==(const TPngRowFilters&) const = default;

private:
    Byte FBits = 0;
};

enum TPngInterlacing { ilNone = 0, ilAdam7 = 1 };

enum TPngTransparencyKind { tkNone, tkPartial, tkColorKey };

// Colour types of the IHDR.
enum : Byte {
    COLOR_GRAYSCALE = 0,
    COLOR_RGB = 2,
    COLOR_PALETTE = 3,
    COLOR_GRAYSCALEALPHA = 4,
    COLOR_RGBALPHA = 6,
};

// A colour value as the picture class passes it: red in the lowest byte,
// then green, then blue.
using TPngColor = LongWord;

constexpr TPngColor PngRGB(Byte r, Byte g, Byte b) { return TPngColor(r) | (TPngColor(g) << 8) | (TPngColor(b) << 16); }
constexpr Byte PngRed(TPngColor c) { return Byte(c); }
constexpr Byte PngGreen(TPngColor c) { return Byte(c >> 8); }
constexpr Byte PngBlue(TPngColor c) { return Byte(c >> 16); }

// The cell at x of a pixel row as the picture holds it: 1- and 4-bit cells
// are packed most significant bits first, anything else is one byte.
inline int PackedCell(const Byte* row, std::size_t x, int bitsPerCell) {
    switch (bitsPerCell) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default: return row[x];
    }
}

// Stores value in the cell at x, as PackedCell reads it.
inline void SetPackedCell(Byte* row, std::size_t x, int bitsPerCell, int value) {
    switch (bitsPerCell) {
    case 1: {
        Byte mask = Byte(0x80 >> (x & 7));
        row[x >> 3] = Byte(value & 1 ? row[x >> 3] | mask : row[x >> 3] & ~mask);
        break;
    }
    case 4:
        if (x & 1)
            row[x >> 1] = Byte((row[x >> 1] & 0xF0) | (value & 0x0F));
        else
            row[x >> 1] = Byte((row[x >> 1] & 0x0F) | ((value & 0x0F) << 4));
        break;
    default: row[x] = Byte(value);
    }
}

// One colour-table entry (blue, green, red, reserved).
struct TPngRGBQuad {
    Byte rgbBlue;
    Byte rgbGreen;
    Byte rgbRed;
    Byte rgbReserved;
};

// The 40-byte bitmap header of a device-independent bitmap.
struct TPngBitmapInfoHeader {
    LongWord biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;
    Word biPlanes;
    Word biBitCount;
    LongWord biCompression;
    LongWord biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    LongWord biClrUsed;
    LongWord biClrImportant;
};

// The bitmap header followed by the 256-entry colour table.
struct TPngBitmapInfo {
    TPngBitmapInfoHeader bmiHeader;
    TPngRGBQuad bmiColors[256];
};

static_assert(sizeof(TPngBitmapInfoHeader) == 40);
static_assert(sizeof(TPngBitmapInfo) == 40 + 256 * 4);

using TPngGammaTable = Byte[256];

// CRC-32 of the PNG format (reflected polynomial 0xEDB88320). Start with
// 0xFFFFFFFF and complement the final value.
LongWord UpdateCrc(LongWord crc, const Byte* bytes, std::size_t count);

// The Paeth predictor of the row filters.
inline Byte PaethPredict(Byte left, Byte above, Byte upperLeft) {
    int p = int(left) + above - upperLeft;
    int pa = p > left ? p - left : left - p;
    int pb = p > above ? p - above : above - p;
    int pc = p > upperLeft ? p - upperLeft : upperLeft - p;
    if (pa <= pb && pa <= pc) return left;
    if (pb <= pc) return above;
    return upperLeft;
}

// Bytes of one row of n pixels (0 for unknown colour types).
std::size_t RowBytesFor(std::uint64_t n, Byte colorType, Byte bitDepth);

// Bytes of one complete pixel: the distance the row filters look back.
int PixelBytesFor(Byte colorType, Byte bitDepth);

// Whether PNG allows this pair of colour type and bit depth.
bool IsValidColorTypeAndDepth(Byte colorType, Byte bitDepth);

// Bits per pixel of the in-memory bitmap (2-bit images are held at 4 bits,
// 16-bit grey and grey+alpha at 8, colour at 24); 0 for an invalid pair.
int BitmapBitsFor(Byte colorType, Byte bitDepth);

// Rounded a * b / c, halves away from zero (as the Windows MulDiv).
int PngMulDiv(int a, int b, int c);

// Adam7 pass tables.
struct TAdam7Pass {
    int RowStart, ColumnStart, RowStep, ColumnStep;
};
extern const TAdam7Pass Adam7Passes[7];

// Pixels of a pass row for an image of the given width.
inline std::uint64_t Adam7PassWidth(const TAdam7Pass& pass, std::uint64_t width) {
    return (width + pass.ColumnStep - pass.ColumnStart - 1) / pass.ColumnStep;
}
