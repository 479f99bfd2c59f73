// The panel's colour arithmetic: blending two colours, the bands of a
// banded gradient and the halves of a mirror gradient, and the generator of
// the caption's shadings (noise, shades, bumps, metal, radial) into a pixel
// buffer. Portable: the drawing of these onto a canvas is in
// panel_shading_win.h.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "classlib/core/typinfo.h"
#include "classlib/ui/geometry.h"
#include "classlib/ui/graphics_types.h"
#include "components/foundation/html_colors.h"

// How the caption band is filled: plain or gradient (stNormal), generated
// shadings, the visual style's caption (stXPCaption) or a picture.
enum TShadeType {
    stNormal,
    stNoise,
    stDiagShade,
    stHShade,
    stVShade,
    stHBump,
    stVBump,
    stSoftBump,
    stHardBump,
    stLMetal,
    stRMetal,
    stIRadial,
    stORadial,
    stHShadeInv,
    stVShadeInv,
    stXPCaption,
    stBitmap,
    stBitmapRStretch,
    stBitmapLStretch
};
QL_DECLARE_ENUM(TShadeType);

// The outline a shaded caption band is clipped to.
enum TCaptionShape { csRectangle, csRounded, csSemiRounded };
QL_DECLARE_ENUM(TCaptionShape);

// The direction a gradient progresses in: top to bottom, or left to right.
enum TGradientDirection { gdVertical, gdHorizontal };
QL_DECLARE_ENUM(TGradientDirection);

// RoundHalfEven (nearest, halves to even) is the class library's (sysutils.h).

// The blend of two plain RGB values (0x00BBGGRR): each channel
// Round(p/100 x c1 + (1 - p/100) x c2).
LongWord BlendRGB(LongWord c1, LongWord c2, int percent);
// The blend of two colours: percent 100 gives c1 as it is; otherwise both
// are resolved to RGB first (system colours through resolve).
using TColorResolver = LongWord (*)(TColor);
TColor BlendColor(TColor c1, TColor c2, int percent, TColorResolver resolve);

// ---- Gradients -----------------------------------------------------------------

// One band of a banded gradient: the rectangle and its RGB colour.
struct TPanelGradientBand {
    TRect Rect;
    LongWord Color = 0;

    bool operator==(const TPanelGradientBand&) const = default;
};

// The most bands a banded gradient draws.
inline constexpr int kMaxGradientSteps = 32;

// The bands of a gradient from one RGB value to another over rect: steps
// is limited to 1..32; band n has each channel start + Round(n x (end -
// start) / steps) and runs from Round(n x h) to Round(n x h) + Trunc(h) + 1
// (h = extent / steps), limited to the far edge, across the whole other
// extent. Horizontal: the bands run left to right.
std::vector<TPanelGradientBand> PanelGradientBands(LongWord fromRGB, LongWord toRGB, bool horizontal, const TRect& rect,
                                                   int steps);

// The two halves of a mirror gradient: split at the middle of the
// progression (left and right halves for a horizontal one).
std::pair<TRect, TRect> MirrorHalves(const TRect& rect, bool horizontal);

// ---- Caption shading -----------------------------------------------------------------

// The random source of the noise and metal shadings: the class library's
// classic generator (seed x 134775813 + 1), so a seed gives one picture.
class TShadeRandom {
public:
    explicit TShadeRandom(std::uint32_t seed = 0) : FSeed(seed) {}
    void Seed(std::uint32_t seed) { FSeed = seed; }
    std::uint32_t CurrentSeed() const { return FSeed; }
    // 0 .. range - 1; 0 for a range of 0 or less.
    int Random(int range);

private:
    std::uint32_t FSeed;
};

// The size of the shading bitmap: the panel width by the caption height for
// a top caption, the caption height by the panel height for a left one;
// a zero width is taken as 100 (top) or 20 (left), a zero height as 20
// (top) or 100 (left).
TSize ShadeBitmapSize(bool captionOnLeft, int panelWidth, int panelHeight, int captionHeight);

// A shading: Width x Height RGB pixels (0x00BBGGRR), rows from the top.
class TShadePixels {
public:
    TShadePixels(int width, int height, LongWord fill);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }
    // The pixel, or 0 outside the picture.
    LongWord At(int x, int y) const { return Contains(x, y) ? FPixels[std::size_t(y) * FWidth + x] : 0; }
    // Pixels outside the picture are ignored.
    void Set(int x, int y, LongWord rgb) {
        if (Contains(x, y)) FPixels[std::size_t(y) * FWidth + x] = rgb;
    }
    const std::vector<LongWord>& Pixels() const { return FPixels; }

private:
    int FWidth, FHeight;
    std::vector<LongWord> FPixels;
};

struct TShadeParams {
    TShadeType Type = stNormal;
    // The caption's base colour, resolved to RGB.
    LongWord BaseRGB = 0xFFFFFF;
    // The low byte of ShadeLight.
    int Light = 200;
    int Grain = 32;
    // The bitmap's size (ShadeBitmapSize).
    int Width = 100;
    int Height = 20;
};

// The colour of shade value q over the base colour: each channel q x c div
// 255, with q held to 0..255 (a shade out of that range is as dark or as
// bright as a shade can be).
LongWord ShadeColor(LongWord baseRGB, int q);

// Generates a shading: the picture starts white and each type sets its
// pixels from the formulas of its kind (loops over 0..Width and 0..Height
// inclusive; pixels outside are ignored). The types that show no generated
// shading (stNormal, stXPCaption and the picture types) give the base colour
// all over. The radial types on a square picture (no reference distance)
// fill with shade Light.
TShadePixels GenerateShade(const TShadeParams& params, TShadeRandom& random);

// The bump curve of the bump shadings, for t in -127..128.
int ShadeBump(int t);
