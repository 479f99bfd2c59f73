// The arithmetic of the self-drawn group box: how wide its border is, where
// its caption goes, the area it leaves its child controls and the
// rectangle its border is drawn on. Portable: the control itself
// (group_box_win.h) measures the caption and draws.
#pragma once

#include "classlib/core/typinfo.h"
#include "classlib/ui/geometry.h"

// The group box's own border kinds. They live in a namespace of their own
// because the class library's form border style has the same type and
// value names.
namespace LumGroupBox {
enum TBorderStyle { bsNone, bsSingle, bsDouble };
QL_DECLARE_ENUM(TBorderStyle);
}  // namespace LumGroupBox

enum TCaptionPosition { cpTopLeft, cpTopRight, cpTopCenter, cpBottomLeft, cpBottomRight, cpBottomCenter };
QL_DECLARE_ENUM(TCaptionPosition);

constexpr bool IsTopCaption(TCaptionPosition position) { return position <= cpTopCenter; }

// The width the border takes on each side: a 3D look doubles it.
int GroupBoxBorderWidth(LumGroupBox::TBorderStyle style, bool ctl3D);

// The caption's rectangle in a box of width x height: the text of size
// text beside an image of size image (0 x 0 when there is none), 3 pixels
// apart when both are there, 8 pixels in from the side, one pixel above
// and below.
TRect GroupBoxCaptionRect(TCaptionPosition position, int width, int height, TSize text, TSize image);

// The height the caption takes from the child area: at least the border's.
int GroupBoxCaptionHeight(const TRect& caption, int borderWidth);

// The area the child controls share, from the rectangle the class library
// passes: the caption's band and the border taken off, and a pixel more on
// every side.
TRect GroupBoxChildArea(TRect rect, TCaptionPosition position, int captionHeight, int borderWidth);

// The rectangle the border is drawn on, from the client rectangle: the top
// line runs through the middle of a top caption; a bottom line only moves
// up when there is a caption (less one pixel for a double border).
TRect GroupBoxBorderRect(TRect client, TCaptionPosition position, int captionHeight, bool hasCaption,
                         LumGroupBox::TBorderStyle style);
