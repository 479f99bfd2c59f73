// A picture that a control keeps between its paints: an off-screen 32-bit
// bitmap with its memory DC, made once for a size and kept until the size
// changes or the control goes.
//
// As a cache, it holds the costly part of a painting (GDI+ gradients that
// GDI+ renders whole however small the clip) painted once and copied onto
// every later paint: what it shows is named by a key, the list of the
// values the painting depends on (sizes, resolved colours, settings), and a
// different key paints it again.
//
//   if (HDC dc = FBackground.Repaint(width, height, {ColorToRGB(color), ...})) PaintGradient(dc);
//   FBackground.CopyTo(canvas->Handle());
//
// As a buffer (Surface), it is the off-screen bitmap a buffered paint draws
// into, kept instead of made and freed on every paint.
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/os/win.h"

class TPaintCache {
public:
    using TKey = std::vector<std::int64_t>;

    TPaintCache() = default;
    ~TPaintCache();
    TPaintCache(const TPaintCache&) = delete;
    TPaintCache& operator=(const TPaintCache&) = delete;

    // The memory DC of a width x height bitmap (at least 1 x 1), made anew,
    // all black, when the size differs from the last; else as the last
    // painting left it.
    HDC Surface(int width, int height);
    // Null when the picture was last painted for key at this size: it is
    // still good. Else the DC to paint it into now (the key is taken as
    // painted; its pixels are as Surface leaves them).
    HDC Repaint(int width, int height, const TKey& key);
    // Copies the whole picture onto dc with its top-left corner at x, y (dc's
    // clip region limits it).
    void CopyTo(HDC dc, int x = 0, int y = 0) const;
    // Frees the bitmap: the next Repaint paints again.
    void Clear();

    bool Empty() const { return FDC == nullptr; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // How often Repaint asked for the picture to be painted.
    int Paints() const { return FPaints; }

private:
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
    int FWidth = 0, FHeight = 0;
    TKey FKey;
    bool FKeyValid = false;
    int FPaints = 0;
};
