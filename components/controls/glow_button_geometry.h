// Where a glow button draws: the two halves of its face and the ellipses of
// their radial gradients, the split drop-down part, the content area, the
// places of picture and text for each layout, and the drop-down arrow's
// pixels. Portable: the renderer (glow_button_render_win.cpp) draws at these
// places, and tests check them without painting.
#pragma once

#include <vector>

#include "classlib/ui/geometry.h"
#include "components/controls/glow_button_logic.h"

// The upper and the lower ("mirror") half of a face: with half = h / 2 the
// upper one runs from the top to bottom - half, the lower one from
// top + half - 1 to the bottom (they share a row).
TRect GlowUpperHalf(const TRect& face);
TRect GlowLowerHalf(const TRect& face);

// The radial gradients: the upper half's ellipse is the half's size raised
// by half its height less 2 and lights from the middle of its top edge; the
// lower half's is the half itself and lights from the middle of its bottom.
struct TGlowEllipse {
    TRect Bounds;
    TPoint Centre;
};
TGlowEllipse GlowUpperEllipse(const TRect& upper);
TGlowEllipse GlowLowerEllipse(const TRect& lower);

// The drop-down part of a split button drawn in two parts (its rightmost or
// bottom 12 pixels) and the main part (the rest).
TRect GlowDropDownPart(const TRect& client, TDropDownPosition position);
TRect GlowMainPart(const TRect& client, TDropDownPosition position);

// Where picture and text go: the client less, for a drop-down button, the
// 14-pixel drop-down part and 8 more pixels on that side.
TRect GlowContentArea(const TRect& client, bool dropDown, TDropDownPosition position);

struct TGlowContentPlace {
    TPoint Picture;  // top-left corner of the picture
    TRect Text;      // the rectangle the caption (and notes) are laid out in
};
// The places of a picture of size picture (0 x 0: none) and a caption (or
// none) in the content area. Without a caption the picture is centred;
// with one it goes beside, above or below the text as the layout says, the
// text pw + 2 (or ph + 2) pixels from the area's edge on the picture's side
// (Spacing is room in the size AutoSize gives, not a gap here).
TGlowContentPlace GlowPlaceContent(TButtonLayout layout, const TRect& area, TSize picture, bool hasCaption);

// The drop-down arrow (5 pixels wide) pointing down or right, with its
// centre at centre: the black (grey when disabled) pixels and the white
// highlight pixels.
struct TGlowArrow {
    std::vector<TPoint> Ink;
    std::vector<TPoint> Highlight;
};
TGlowArrow GlowDropDownArrow(TDropDownDirection direction, TPoint centre);
