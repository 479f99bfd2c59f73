// The small routines of the HTML-subset renderer: colour values by name and
// in the "#RRGGBB" form, case-blind search and replacement, the number
// reader of tag attributes, line-break conversion, and the arithmetic of
// the drawing routines (banded gradients, the error zig-zag, scaling by
// pixels per inch). Portable: the drawing itself is in draw_routines_win.h.
//
//   ColorFromName("clred");          // 0x0000FF
//   HtmlHexToColor("#FF0000");       // 0x0000FF too (RR is the low byte)
//   StrToIntVal("12\"");             // 12: reading stops at the quote
#pragma once

#include <vector>

#include "classlib/core/sysutils.h"  // RoundHalfEven, which the scaling and the bands round with
#include "classlib/core/types.h"
#include "classlib/ui/geometry.h"
#include "classlib/ui/graphics_types.h"

// The colour of one of the forty names ("clred", "clbtnface"...), compared
// exactly; the caller lower-cases the value first. Unknown names give black.
TColor ColorFromName(const String& name);
// The value of the first two hexadecimal digits of text (0 when it has fewer
// than two characters; a character that is no digit counts as 0).
int HexPairValue(const String& text);
// "#RRGGBB" as a colour: RR + GG * 256 + BB * 65536.
TColor HtmlHexToColor(const String& value);

// c in upper case when it is an ASCII letter a to z; every other character
// (those of the code page's upper half too) as it is. Tag names, attribute
// names and colour digits are compared through it.
char Upper(char c);

// 1-based position of sub in text compared without regard to (ASCII) case;
// 0 when absent. PosNoCaseFrom starts looking at the 1-based position from.
int PosNoCase(const String& sub, const String& text);
int PosNoCaseFrom(const String& sub, const String& text, int from);
// Case-sensitive 1-based position, also written to pos.
int PosAndStore(const String& sub, const String& text, int& pos);
// Replaces the first occurrence of pattern (any case); true when there was one.
bool ReplaceFirstNoCase(String& text, const String& pattern, const String& replacement);

// The integer of a text: leading blanks skipped, an optional sign, decimal
// digits or hexadecimal ones after "$", "x" or "0x". Reading stops at the
// first other character and gives the value read so far, without its sign
// when it stopped early. Values beyond the integer range saturate.
int StrToIntVal(const String& text);
// True (with value) when the whole text is such a number, read to its end.
bool TryStrToIntVal(const String& text, int& value);

// Every LF dropped; every CR becomes "<BR>" when toBR, else dropped too.
String LineBreaksToBR(const String& text, bool toBR);

// value * pixelsPerInch / 96, rounded to the nearest integer, halves to even.
int ScaleByPixelsPerInch(int value, int pixelsPerInch);

// One band of a banded gradient: its rectangle and plain RGB colour.
struct TGradientBand {
    TRect Rect;
    TColor Color;

    bool operator==(const TGradientBand&) const = default;
};
// The bands that fill rect from fromRGB to toRGB (plain 0x00BBGGRR values)
// in count bands (0 is taken as 1), left to right when horizontal, else top
// to bottom.
std::vector<TGradientBand> GradientBands(TColor fromRGB, TColor toRGB, bool horizontal, const TRect& rect, int count);

// The points of the error underline of a piece from left to right whose
// bottom is bottom: from left rounded down to an even x in steps of 2,
// alternating between bottom - 1 and bottom + 1, starting at bottom + 1
// when that even x is a multiple of 4.
std::vector<TPoint> ErrorZigZag(int left, int right, int bottom);
