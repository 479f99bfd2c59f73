// Small GDI helpers shared by the visual class library, the picture formats
// and their tests.
#pragma once

#include "classlib/core/types.h"
#include "classlib/os/win.h"

// The screen's DC for the length of a scope (measuring text, device
// capabilities, halftone palettes, reading bitmaps back). Handle() is
// nullptr when GDI refuses one.
class TScreenDC {
public:
    TScreenDC() : FDC(GetDC(nullptr)) {}
    ~TScreenDC() {
        if (FDC) ReleaseDC(nullptr, FDC);
    }
    TScreenDC(const TScreenDC&) = delete;
    TScreenDC& operator=(const TScreenDC&) = delete;
    HDC Handle() const { return FDC; }

private:
    HDC FDC;
};

// The header of a 32-bit top-down bitmap of width x height pixels: four
// bytes a pixel in the order blue, green, red and a fourth byte (BI_RGB, no
// colour table), the first row at the top.
BITMAPINFO TopDown32BitInfo(int width, int height);

// A DIB section with that header, zero-filled; *bits receives its rows. The
// section and *bits are nullptr when GDI refuses.
HBITMAP CreateTopDown32BitSection(int width, int height, Byte** bits);
