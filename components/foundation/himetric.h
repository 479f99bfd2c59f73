// HIMETRIC, the hundredths of a millimetre that OLE pictures measure their
// extent in, and device pixels: multiply, then divide, rounded to the
// nearest integer with halves to even (2540 HIMETRIC make an inch).
#pragma once

inline constexpr int kHimetricPerInch = 2540;

// himetric * pixelsPerInch / 2540.
int HimetricToPixels(int himetric, int pixelsPerInch);
// pixels * 2540 / pixelsPerInch; 0 for a resolution of 0 or less.
int PixelsToHimetric(int pixels, int pixelsPerInch);
