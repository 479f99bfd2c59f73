// Helpers of the graphics tests: 32-bit bitmaps to draw on and read back.
#pragma once

#include <gtest/gtest.h>

#include "classlib/ui/bitmaps.h"

// A plain RGB value from red, green and blue.
constexpr LongWord Rgb(int r, int g, int b) { return LongWord(r) | LongWord(g) << 8 | LongWord(b) << 16; }

// A width x height 32-bit bitmap filled with color.
inline std::unique_ptr<TBitmap> MakeBitmap(int width, int height, TColor color, TPixelFormat format = pf32bit) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}

// The RGB value of a pixel of a 32-bit bitmap, read from its bits.
inline LongWord PixelAt(TBitmap& bitmap, int x, int y) {
    const Byte* p = static_cast<const Byte*>(bitmap.ScanLine(y)) + 4 * x;
    return Rgb(p[2], p[1], p[0]);
}

inline void ExpectNear(LongWord actual, LongWord expected, int tolerance) {
    for (int shift : {0, 8, 16}) {
        int a = int((actual >> shift) & 0xFF), e = int((expected >> shift) & 0xFF);
        EXPECT_NEAR(a, e, tolerance) << "channel at bit " << shift << " of " << std::hex << actual << " vs "
                                     << expected;
    }
}
