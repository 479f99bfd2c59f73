#include "imaging/png/png_effects.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Source column (or row) of each destination one.
std::vector<int> SourceIndices(int destination, int source) {
    std::vector<int> map(std::size_t(destination > 0 ? destination : 0));
    double scale = double(destination) / double(source);
    for (int i = 0; i < destination; ++i) {
        int s = destination == source ? i : int(std::trunc(i / scale));
        map[std::size_t(i)] = std::clamp(s, 0, source - 1);
    }
    return map;
}

inline Byte RoundByte(double v) { return Byte(std::clamp(std::nearbyint(v), 0.0, 255.0)); }

}  // namespace

void BlendPngOver(const TPNGObjectCore& png, Byte* bits, int width, int height, std::ptrdiff_t stride) {
    TChunkIHDR& h = png.Header();
    if (width <= 0 || height <= 0 || !h.PixelBits()) return;
    int w = int(h.Width), hh = int(h.Height);
    bool sameSize = width == w && height == hh;
    std::vector<int> xs = sameSize ? SourceIndices(width, width) : SourceIndices(width, w);
    std::vector<int> ys = sameSize ? SourceIndices(height, height) : SourceIndices(height, hh);
    int bpp = h.BitsPerPixel();
    const auto* trns = png.ChunkList().FindChunk<TChunktRNS>();
    const auto* plte = png.ChunkList().FindChunk<TChunkPLTE>();

    for (int y = 0; y < height; ++y) {
        int sy = ys[std::size_t(y)];
        const Byte* src = png.PixelRow(sy);
        const Byte* alpha = png.AlphaRow(sy);
        Byte* d = bits + stride * y;
        for (int x = 0; x < width; ++x, d += 4) {
            int sx = xs[std::size_t(x)];
            Byte s[3];
            Byte a;
            if (bpp == 24) {
                const Byte* p = src + 3 * std::size_t(sx);
                a = alpha ? alpha[sx] : 255;
                if (a == 0) continue;
                if (a == 255) {
                    d[0] = p[0];
                    d[1] = p[1];
                    d[2] = p[2];
                    continue;
                }
                s[0] = p[0];
                s[1] = p[1];
                s[2] = p[2];
            } else if (h.ColorType == COLOR_GRAYSCALEALPHA) {
                s[0] = s[1] = s[2] = png.GammaTable[src[sx]];  // as PixelAt shows it
                a = alpha ? alpha[sx] : 255;
            } else {
                int index = PackedCell(src, std::size_t(sx), bpp);
                a = trns ? trns->AlphaTable[index] : 255;
                if (!plte) FailWith<EPngError>(SPngUnknownPalEntry);
                TPngRGBQuad q = plte->PaletteEntry(index);
                s[0] = q.rgbBlue;
                s[1] = q.rgbGreen;
                s[2] = q.rgbRed;
            }
            d[0] = PngBlendChannel(s[0], a, d[0]);
            d[1] = PngBlendChannel(s[1], a, d[1]);
            d[2] = PngBlendChannel(s[2], a, d[2]);
        }
    }
}

bool BlendPng(TPNGObjectCore& png, Byte amount) {
    TChunkIHDR& h = png.Header();
    if (h.ColorType == COLOR_GRAYSCALE || h.ColorType == COLOR_PALETTE) return false;
    // The key pixels, noted before the alpha channel replaces the key.
    std::vector<bool> key;
    if (png.TransparencyKind() == tkColorKey) {
        key.resize(std::size_t(h.Width) * h.Height);
        for (int y = 0; y < int(h.Height); ++y)
            for (int x = 0; x < int(h.Width); ++x) key[std::size_t(y) * h.Width + x] = png.IsKeyPixel(x, y);
    }
    if (h.ColorType == COLOR_RGB) png.AddAlphaChannel();
    for (int y = 0; y < int(h.Height); ++y) {
        Byte* alpha = png.AlphaRow(y);
        for (int x = 0; x < int(h.Width); ++x) {
            if (!key.empty() && key[std::size_t(y) * h.Width + x])
                alpha[x] = 0;
            else
                alpha[x] = RoundByte(alpha[x] / 256.0 * (amount + 1));
        }
    }
    return true;
}

TPngColor GrayscaleColor(TPngColor color, Byte amount) {
    Byte r = PngRed(color), g = PngGreen(color), b = PngBlue(color);
    Byte grey = RoundByte(0.30 * r + 0.59 * g + 0.11 * b);
    double greyPart = std::nearbyint(grey / 256.0 * (amount + 1));
    // The two rounded parts can add up to 256: the result stays white.
    auto channel = [&](Byte x) { return RoundByte(std::nearbyint(x / 256.0 * (255 - amount)) + greyPart); };
    return PngRGB(channel(r), channel(g), channel(b));
}

void GrayscalePng(TPNGObjectCore& png, Byte amount) {
    TChunkIHDR& h = png.Header();
    switch (h.ColorType) {
    case COLOR_PALETTE: {
        int count = h.PaletteSize();
        TPngRGBQuad table[256];
        for (int i = 0; i < count; ++i) {
            const TPngRGBQuad& q = h.ColorTable()[i];
            TPngColor c = GrayscaleColor(PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue), amount);
            table[i] = {PngBlue(c), PngGreen(c), PngRed(c), 0};
        }
        h.SetPaletteEntries(table, count);
        break;
    }
    case COLOR_RGB:
    case COLOR_RGBALPHA:
        for (int y = 0; y < int(h.Height); ++y) {
            Byte* p = png.PixelRow(y);
            for (int x = 0; x < int(h.Width); ++x, p += 3) {
                TPngColor c = GrayscaleColor(PngRGB(p[2], p[1], p[0]), amount);
                p[0] = PngBlue(c);
                p[1] = PngGreen(c);
                p[2] = PngRed(c);
            }
        }
        break;
    default: break;
    }
}
