#include "components/controls/panel_shading.h"

#include <algorithm>
#include <cmath>

QL_DEFINE_ENUM(TShadeType, "stNormal", "stNoise", "stDiagShade", "stHShade", "stVShade", "stHBump", "stVBump",
               "stSoftBump", "stHardBump", "stLMetal", "stRMetal", "stIRadial", "stORadial", "stHShadeInv",
               "stVShadeInv", "stXPCaption", "stBitmap", "stBitmapRStretch", "stBitmapLStretch")
QL_DEFINE_ENUM(TCaptionShape, "csRectangle", "csRounded", "csSemiRounded")
QL_DEFINE_ENUM(TGradientDirection, "gdVertical", "gdHorizontal")

namespace {

int Red(LongWord c) { return int(c & 0xFF); }
int Green(LongWord c) { return int((c >> 8) & 0xFF); }
int Blue(LongWord c) { return int((c >> 16) & 0xFF); }
LongWord RGBOf(int r, int g, int b) { return LongWord(r & 0xFF) | LongWord(g & 0xFF) << 8 | LongWord(b & 0xFF) << 16; }

int Cube(int t) { return t * t * t; }

}  // namespace

LongWord BlendRGB(LongWord c1, LongWord c2, int percent) {
    double p = percent / 100.0;
    auto mix = [p](int a, int b) { return RoundHalfEven(p * a + (1 - p) * b); };
    return RGBOf(mix(Red(c1), Red(c2)), mix(Green(c1), Green(c2)), mix(Blue(c1), Blue(c2)));
}

TColor BlendColor(TColor c1, TColor c2, int percent, TColorResolver resolve) {
    if (percent == 100) return c1;
    return TColor(int(BlendRGB(resolve(c1), resolve(c2), percent)));
}

std::vector<TPanelGradientBand> PanelGradientBands(LongWord fromRGB, LongWord toRGB, bool horizontal, const TRect& rect,
                                                   int steps) {
    steps = std::clamp(steps, 1, kMaxGradientSteps);
    int start = horizontal ? rect.Left : rect.Top;
    int farEdge = horizontal ? rect.Right : rect.Bottom;
    double h = double(farEdge - start) / steps;
    auto channel = [steps](int from, int to, int n) { return from + RoundHalfEven(double(n) * (to - from) / steps); };
    std::vector<TPanelGradientBand> bands;
    bands.reserve(std::size_t(steps));
    for (int n = 0; n < steps; ++n) {
        TPanelGradientBand band;
        band.Color = RGBOf(channel(Red(fromRGB), Red(toRGB), n), channel(Green(fromRGB), Green(toRGB), n),
                           channel(Blue(fromRGB), Blue(toRGB), n));
        int a = start + RoundHalfEven(n * h);
        int b = std::min(a + int(std::trunc(h)) + 1, farEdge);
        band.Rect = horizontal ? Rect(a, rect.Top, b, rect.Bottom) : Rect(rect.Left, a, rect.Right, b);
        bands.push_back(band);
    }
    return bands;
}

std::pair<TRect, TRect> MirrorHalves(const TRect& rect, bool horizontal) {
    TRect first = rect, second = rect;
    if (horizontal) {
        int middle = rect.Left + rect.Width() / 2;
        first.Right = middle;
        second.Left = middle;
    } else {
        int middle = rect.Top + rect.Height() / 2;
        first.Bottom = middle;
        second.Top = middle;
    }
    return {first, second};
}

int TShadeRandom::Random(int range) {
    FSeed = FSeed * 134775813u + 1u;
    if (range <= 0) return 0;
    return int((std::uint64_t(FSeed) * std::uint64_t(range)) >> 32);
}

TSize ShadeBitmapSize(bool captionOnLeft, int panelWidth, int panelHeight, int captionHeight) {
    TSize size = captionOnLeft ? TSize{captionHeight, panelHeight} : TSize{panelWidth, captionHeight};
    if (size.cx <= 0) size.cx = captionOnLeft ? 20 : 100;
    if (size.cy <= 0) size.cy = captionOnLeft ? 100 : 20;
    return size;
}

TShadePixels::TShadePixels(int width, int height, LongWord fill)
    : FWidth(std::max(width, 0)), FHeight(std::max(height, 0)), FPixels(std::size_t(FWidth) * FHeight, fill) {}

LongWord ShadeColor(LongWord baseRGB, int q) {
    q = std::clamp(q, 0, 255);
    return RGBOf(q * Red(baseRGB) / 255, q * Green(baseRGB) / 255, q * Blue(baseRGB) / 255);
}

int ShadeBump(int t) { return ((Cube(t) / 128) / 128) * 120 / 128 + 128; }

TShadePixels GenerateShade(const TShadeParams& params, TShadeRandom& random) {
    const int W = std::max(params.Width, 1), H = std::max(params.Height, 1);
    const int L = params.Light & 0xFF;
    const LongWord base = params.BaseRGB & 0xFFFFFF;
    TShadePixels px(W, H, 0xFFFFFF);
    auto shade = [&](int x, int y, int q) { px.Set(x, y, ShadeColor(base, q)); };
    auto column = [&](int x, int q) {
        for (int y = 0; y <= H; ++y) shade(x, y, q);
    };
    auto row = [&](int y, int q) {
        for (int x = 0; x <= W; ++x) shade(x, y, q);
    };
    switch (params.Type) {
    case stNoise:
        for (int x = 0; x <= W; ++x)
            for (int y = 0; y <= H; ++y) shade(x, y, L - (random.Random(params.Grain) + 128) / 2);
        break;
    case stDiagShade:
        for (int x = 0; x <= W; ++x)
            for (int y = 0; y <= H; ++y) {
                int c = Blue(px.Contains(x, y) ? px.At(x, y) : 0xFFFFFF);
                shade(x, y, L - (L - c + x * 129 / W + y * 129 / H) / 2);
            }
        break;
    case stHShade:
    case stHShadeInv:
        for (int x = 0; x <= W; ++x) {
            int q = L - ((W - x) * 239 / W + 8) / 2;
            column(params.Type == stHShade ? x : W - x, q);
        }
        break;
    case stVShade:
    case stVShadeInv:
        for (int y = 0; y <= H; ++y) {
            int q = L - (y * 239 / H + 8) / 4;
            row(params.Type == stVShade ? y : H - y, q);
        }
        break;
    case stHBump:
        for (int x = 0; x <= W; ++x) column(x, L - ShadeBump((W - x) * 255 / W - 127) / 2);
        break;
    case stVBump:
        for (int y = 0; y <= H; ++y) row(y, L - ShadeBump(y * 255 / H - 127) / 2);
        break;
    case stSoftBump:
        for (int y = 0; y <= H; ++y) {
            int ty = y * 255 / H - 127;
            for (int x = 0; x <= W; ++x) {
                int tx = (W - x) * 255 / W - 127;
                int v = ((Cube(ty) / 128) / 128 + (Cube(tx) / 128) / 128) * 120 / 128 + 128;
                v = std::clamp(v, 8, 247);
                shade(x, y, L - v / 2);
            }
        }
        break;
    case stHardBump: {
        for (int y = 0; y <= H; ++y) {
            int ty = y * 255 / H - 127;
            row(y, L - (((Cube(ty) / 128) / 128) * 112 / 128 + 128) / 2);
        }
        // A rim narrower than one pixel, or a picture one pixel high,
        // would divide by zero: both are held at 1.
        // The rim's curve squares the height: in 64 bits, for pictures
        // tens of thousands of pixels high.
        const int D = std::max(std::min(W / 6, 16), 1);
        const Int64 K = std::max<Int64>(Int64(H) * H / 4, 1);
        for (int y = 0; y <= H; ++y) {
            const Int64 dy = y - H / 2;
            for (int x = 0; x <= W; ++x) {
                const Int64 dx = x - W / 2;
                const Int64 e = dy * dy * D / K + W / 2 - D;
                if (dx > e) shade(x, y, L - ((W - x) * 128 / D + 8) / 2);
                if (dx + e < 0) shade(x, y, L - (247 - x * 128 / D) / 2);
            }
        }
        break;
    }
    case stLMetal:
    case stRMetal: {
        const bool left = params.Type == stLMetal;
        for (int stroke = 0; stroke < 251; ++stroke) {
            int x0 = random.Random(W);
            int y0 = random.Random(H);
            int n = random.Random(std::min(W, H) / 2);
            int q = L - random.Random(40);
            for (int k = 0; k < n; ++k) {
                if (x0 - k > 0 && y0 + k < H) shade(left ? x0 + k : x0 - k, y0 + k, q);
                if (x0 + k < W && y0 - k > 0) shade(left ? x0 - k : x0 + k, y0 - k, q);
            }
        }
        for (int x = 0; x <= W; ++x)
            for (int y = 0; y <= H; ++y) {
                if (!px.Contains(x, y)) continue;
                int c = Blue(px.At(x, y));
                shade(x, y, L - (L - c + x * 120 / W + y * 120 / H) / 2);
            }
        break;
    }
    case stIRadial:
    case stORadial: {
        const int dr = RoundHalfEven(std::sqrt(double(W - H) * double(W - H)));
        if (dr == 0) {
            // A square picture has no reference distance: a flat shade.
            for (int x = 0; x <= W; ++x) column(x, L);
            break;
        }
        const int cx = W / 2, cy = H / 2;
        for (int x = 0; x <= cx; ++x)
            for (int y = 0; y <= cy; ++y) {
                int d = RoundHalfEven(std::hypot(double(x - cx), double(y - cy)));
                int v = params.Type == stIRadial ? dr - d : d;
                int q = RoundHalfEven(double(v) / dr * L);
                shade(x, y, q);
                shade(W - x, H - y, q);
                shade(W - x, y, q);
                shade(x, H - y, q);
            }
        break;
    }
    case stNormal:
    case stXPCaption:
    case stBitmap:
    case stBitmapRStretch:
    case stBitmapLStretch: px = TShadePixels(W, H, base); break;
    }
    return px;
}
