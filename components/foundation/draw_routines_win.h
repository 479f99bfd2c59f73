// The drawing routines of the HTML-subset renderer: shell icons of files,
// banded gradients, bitmaps stretched through their device-independent
// bits, and the rotated font of <R> (one selected at a time, always put
// back and deleted). The arithmetic they draw by is portable, in
// html_colors.h.
#pragma once

#include "classlib/ui/bitmaps.h"
#include "classlib/ui/graphics.h"

// True when path exists and is a directory.
bool IsDirectory(const String& path);

// The small (or large) system icon of path: a path that reads as a number
// is the icon's index; any other, not empty, is looked up in the system
// image list (through the file system when it exists, else by its name
// alone). size becomes the icon size. When draw: drawn transparent at x, y,
// or in printMode stretched to the icon size times resolutionFactor.
void DrawShellIcon(TCanvas* canvas, int x, int y, TSize& size, double resolutionFactor, bool printMode, bool draw,
                   bool large, const String& path);

// rect filled in bandCount bands (0 is 1) from one colour to the other,
// left to right when horizontal, else top to bottom; outlined in
// borderColor unless that is clNone (the brush is then left clear). The
// bands are filled without a GDI object of their own.
void DrawBandedGradient(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect,
                        int bandCount, TColor borderColor);

// bitmap stretched into rect through its bits (a copy raster operation).
void StretchDrawDIB(TCanvas* canvas, const TRect& rect, TBitmap* bitmap);

// A font selected into a canvas's device context in place of the canvas
// font: the rotated font and the handle it replaced.
struct TRotatedFont {
    HFONT Font = nullptr;
    HFONT Previous = nullptr;
};

// The canvas font turned by angle degrees (escapement and orientation in
// tenths), selected into the canvas's device context.
TRotatedFont SelectRotatedFont(TCanvas* canvas, int angle);
// Selects the replaced font back and deletes the rotated one; nothing for a
// selection already restored.
void RestoreRotatedFont(TCanvas* canvas, TRotatedFont& font);
