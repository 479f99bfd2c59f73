// Small GDI helpers shared by the visual class library, the picture formats
// and their tests.
#pragma once

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
