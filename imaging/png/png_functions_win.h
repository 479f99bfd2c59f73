// Conversions into PNG pictures with alpha (from bitmaps, masks, icons and
// image-list entries), the "disabled" effects (half transparency, grey),
// drawing with those effects, and the icons the PNG image list hands to the
// native list.
#pragma once

#include <memory>

#include "classlib/ui/imagelist.h"
#include "imaging/png/png_object_win.h"

enum TPngOption { pngBlendOnDisabled, pngGrayscaleOnDisabled };
QL_DECLARE_ENUM(TPngOption);
using TPngOptions = TSet<TPngOption>;

// Draws png into rect; with options, a copy made half transparent
// (pngBlendOnDisabled, amount 127) and then grey (pngGrayscaleOnDisabled,
// amount 255).
void DrawPngWithOptions(TPNGObject* png, TCanvas* canvas, const TRect& rect, TPngOptions options);

// Makes png partly transparent: alpha round(alpha / 256 x (amount + 1)),
// and 0 on the key colour of a colour-keyed image. Grey and indexed images
// become colour images with alpha.
void BlendPng(TPNGObject* png, Byte amount);
// Turns png grey by amount (255: every channel the grey value); grey images
// stay as they are.
void GrayscalePng(TPNGObject* png, Byte amount);

// A new PNG from a PNG (a copy), a bitmap (transparent where it shows its
// transparent colour) or an icon (its mask, or its own alpha on 32-bit
// screens); other pictures give a blank image of their size.
std::unique_ptr<TPNGObject> GraphicToPng(TGraphic* graphic);
// A new PNG of image whose alpha is the red component of each pixel of
// mask (inverted when invertMask is set). Without a mask every pixel is
// opaque.
std::unique_ptr<TPNGObject> PngFromImageAndMask(TBitmap* image, TBitmap* mask, bool invertMask = false);
// A new PNG of image, transparent where it shows maskColor (clNone: nowhere;
// clDefault: the bitmap's own transparent colour).
std::unique_ptr<TPNGObject> PngFromMaskColor(TBitmap* image, TColor maskColor);
// Fills png from image index of list: a PNG image list gives a copy of the
// picture of the item that is its image index (ItemOfNativeIndex: items
// with an empty picture are no image), any other list the entry's icon. A
// bad index leaves png unchanged.
void PngFromImageListItem(TPNGObject* png, TCustomImageList* list, int index);

// The Windows NT family from version 5.1 on.
bool IsXpOrLater();
// The version of the common controls: major in the high word, minor in the
// low word (0x0600 for 6.0); 0 when it cannot be told.
LongWord ComCtlVersion();

// An icon of the PNG's size with an alpha channel.
HICON MakeAlphaIcon(TPNGObject* png);
// An icon of the PNG drawn over background, with a mask of its visible
// pixels (for common controls before 6.0, which have no alpha).
HICON MakeMaskedIcon(TPNGObject* png, TColor background);
// The icon the native image list takes: alpha from common controls 6.0 on,
// else masked.
HICON MakeListIcon(TPNGObject* png, TColor background);
