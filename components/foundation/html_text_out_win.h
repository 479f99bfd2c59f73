// The text of one piece of an HTML caption on a device context: what
// DrawText draws for the layout's flags (one line whose bottom is the
// rectangle's, left-aligned, tabs expanded, clipped to the rectangle, "&"
// prefixes shown unless DT_NOPREFIX, an end ellipsis under DT_END_ELLIPSIS
// when the piece does not fit), with the same pixels. A plain piece (no
// tab, no control character, no prefix to show, fitting or without
// ellipsis, the current position not in use, a font of the ANSI character
// set) goes to ExtTextOut at the place DrawText puts it, which spares
// DrawText's own parsing and measuring of every piece; any other goes to
// DrawText. fontHeight, when not 0, is the selected font's tmHeight (the
// height of its text extents), which spares measuring a piece drawn
// without ellipsis; charset, when not -1, is its character set (tmCharSet),
// which spares asking the device context for it.
#pragma once

#include "classlib/core/types.h"
#include "classlib/os/win.h"

void DrawHtmlPieceText(HDC dc, const String& text, const RECT& rect, unsigned flags, int fontHeight = 0,
                       int charset = -1);
