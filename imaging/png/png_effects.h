// Pixel arithmetic of the PNG picture that needs no device context: the
// alpha blend of the blended drawing (over a 32-bit top-down BGRA copy of
// the canvas), and the half-transparent and grey effects on colour and
// grey + alpha images.
#pragma once

#include <cstddef>

#include "imaging/png/png_image.h"

// One channel of source s with alpha a over destination d.
constexpr Byte PngBlendChannel(Byte s, Byte a, Byte d) { return Byte((unsigned(s) * a + (255u - a) * d + 255u) >> 8); }

// Blends png, stretched by sampling to width x height, over the 32-bit
// top-down BGRA pixels at bits (stride bytes per row), which hold what the
// canvas shows under the destination rectangle. Indexed images take their
// alpha from the tRNS table (an index past the palette raises EPngError
// 65016); the fourth byte of each pixel is left alone.
void BlendPngOver(const TPNGObjectCore& png, Byte* bits, int width, int height, std::ptrdiff_t stride);

// Colour types 2, 4 and 6: alpha becomes round(alpha / 256 x (amount + 1)),
// and 0 on pixels of the key colour of a colour-keyed image; a colour image
// is given an alpha channel first. Returns false, changing nothing, for
// grey and indexed images, which need a bitmap of the screen's format.
bool BlendPng(TPNGObjectCore& png, Byte amount);

// Colour and indexed images turn grey by amount (255: fully grey); grey
// images are left alone.
void GrayscalePng(TPNGObjectCore& png, Byte amount);

// The grey effect on one colour value (red in the lowest byte).
TPngColor GrayscaleColor(TPngColor color, Byte amount);
