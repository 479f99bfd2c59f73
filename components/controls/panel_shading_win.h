// The panel's colour routines on a canvas: the blend of two colours, the
// banded gradient (at most 32 bands) and the mirror gradient, the caption
// shading made into a bitmap, and the shaded caption band clipped to its
// outline. The arithmetic is portable, in panel_shading.h.
#pragma once

#include "classlib/ui/bitmaps.h"
#include "classlib/ui/graphics.h"
#include "components/controls/panel_shading.h"

// BlendColor with system colours resolved by the system.
TColor BlendColor(TColor c1, TColor c2, int percent);

// Fills rect with steps bands (1..32) from startColor to endColor, left to
// right when horizontal, else top to bottom; the canvas's pen and brush
// take each band's colour.
void DrawPanelGradient(TCanvas* canvas, TColor startColor, TColor endColor, bool horizontal, const TRect& rect,
                       int steps);

// The first half of rect from colorFrom to colorTo and the second from
// mirrorFrom to mirrorTo, 32 bands each; nothing when colorFrom is clNone.
void DrawMirrorGradient(TCanvas* canvas, const TRect& rect, TColor colorFrom, TColor colorTo, TColor mirrorFrom,
                        TColor mirrorTo, TGradientDirection direction);

// Makes pixels into bitmap (32 bits a pixel, its size).
void ShadeToBitmap(const TShadePixels& pixels, TBitmap* bitmap);

// What the shaded band's drawing takes of the panel and its caption.
struct TShadedBand {
    TRect Band;
    // The panel's client area, for the clipping of the rounded outlines.
    TRect Client;
    TShadeType Type = stNormal;
    TCaptionShape Shape = csRectangle;
    bool Flat = false;
    bool CaptionOnLeft = false;
    int PanelWidth = 0;
    int PanelHeight = 0;
    // The caption's picture (stBitmap types) and the generated shading.
    TBitmap* Background = nullptr;
    TBitmap* Shade = nullptr;
};

// Draws a shaded caption band other than the visual style's: the picture
// types when the caption has a picture, the generated types clipped to the
// outline. The clipping region is removed again afterwards.
void DrawShadedBand(TCanvas* canvas, const TShadedBand& band);
