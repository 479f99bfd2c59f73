// The pager's drawing routines: colour conversion and mixing, the banded
// GDI gradient of the tab row, rounded and plain outlines, caption fitting,
// measuring and drawing, the two-part gradient of pages and tabs, and the
// tab outline and face. Each makes its GDI+ objects (through the wrappers
// of gdiplus_win.h) for the one call and frees them before it returns.
//
//   PaintTwoPartBackground(canvas, page, a->Color(), TabOnTop, true, true, aaClearType, true, font,
//                          a->GradientMirror(), a->Gradient(), a->BorderColor(), a->ColorMirrorTo(),
//                          a->ColorMirror(), a->ColorTo());
//
// Tab positions are those of pager_draw_math.h (0 top, 1 bottom, 2 left,
// 3 right); anti-alias modes those of TAntiAlias (0 GDI, 1 ClearType,
// 2 anti-aliased).
#pragma once

#include <string>

#include "classlib/ui/graphics.h"
#include "components/controls/glow_button_appearance.h"
#include "components/foundation/gdiplus_win.h"
#include "components/pager/pager_draw_math.h"

// The colour, system colours resolved, as opaque ARGB (0xFFRRGGBB).
ARGB ToOpaqueARGB(TColor color);

// percent % of a and the rest of b per channel (MixRGB), system colours
// resolved to RGB first.
TColor MixColors(TColor a, TColor b, int percent);

// rect in steps bands (0 is 1) from one colour to the other, left to right
// when horizontal, else top to bottom, each band drawn by the canvas's pen
// and brush in its colour (PagerGradientBands).
void PaintBandedGradient(TCanvas* canvas, TColor from, TColor to, bool horizontal, const TRect& rect, int steps);

// A closed rounded rectangle from (x, y) to (x + w, y + h) with corner
// arcs of radius r, stroked with pen.
void StrokeRoundedRect(TGPGraphics* graphics, TGPPen* pen, int x, int y, int w, int h, int r);
// A closed rectangle of four lines from (x, y) to (x + w, y + h).
void StrokeRectPath(TGPGraphics* graphics, TGPPen* pen, int x, int y, int w, int h);

// The caption shortened to fit the rectangle's length (its height for tabs
// on the left or right, else its width), with "..." when ellipsis: as it
// is when keepWhole. With GDI+ (font, format and graphics; the length less
// 2 pixels) the text is measured in a box 1000 wide and the rectangle's
// height; with GDI in the canvas font, on one line. Text that already fits
// comes back unchanged.
void FitCaption(const String& text, const TRect& rect, bool useGdiPlus, String& result, bool keepWhole, int tabPosition,
                bool ellipsis, TGPStringFormat* format, TGPFont* font, TCanvas* canvas, TGPGraphics* graphics);
void FitCaptionW(const std::wstring& text, const TRect& rect, bool useGdiPlus, std::wstring& result, bool keepWhole,
                 int tabPosition, bool ellipsis, TGPStringFormat* format, TGPFont* font, TCanvas* canvas,
                 TGPGraphics* graphics);

// The extent of wide text in the canvas font.
TSize WideTextWidth(TCanvas* canvas, const std::wstring& text);

// Measures, and when draw is set draws, a caption (the 8-bit text, or the
// wide one when that is empty) in rect: textRect gets the measured text
// rectangle. antiAlias 0 draws with GDI (3 pixels in, one line, centred
// vertically), else with GDI+ (an unknown font name falls back to "Arial",
// or where that is not installed to the class library's default face;
// vertical text for tabs on the right). shorten fits the caption first with
// an ellipsis (unless keepWhole). A disabled caption is gray. Nothing for
// two empty texts; an error inside leaves the caption undrawn.
void RenderTabCaption(TCanvas* canvas, TAlignment alignment, const TRect& rect, TRect& textRect, bool keepWhole,
                      bool shorten, int tabPosition, int antiAlias, bool draw, bool enabled, TFont* font,
                      const std::wstring& wideText, const String& text);

// The two-part gradient with its border: from the tab row's side, the
// main half runs Color to ColorTo and the mirror half ColorMirror to
// ColorMirrorTo (halves split across the tab direction), each first filled
// with its base colour; ggRadial halves glow from the middle of their outer
// edge. The border (unless clNone) is a 1-pixel anti-aliased outline of
// (left, top, W - 1, H - 1), rounded with radius 3 when curved.
void PaintTwoPartBackground(TCanvas* canvas, const TRect& rect, TColor color, int tabPosition, bool fullFill,
                            bool curved, int antiAlias, bool enabled, TFont* font, TGDIPGradient gradientMirror,
                            TGDIPGradient gradient, TColor borderColor, TColor colorMirrorTo, TColor colorMirror,
                            TColor colorTo);

// A new path of the tab outline (TabOutline), closed; the caller frees it.
TGPGraphicsPath* BuildTabOutline(const TRect& rect, TLumTabShape shape, int rounding, int tabPosition, bool rotated);

// The tab face: the two halves as PaintTwoPartBackground fills them,
// clipped to the tab's outline (tabs on the left or right that are not
// rotated are filled as tabs on top), then the outline in a 1.6-pixel
// anti-aliased pen of borderColor unless that is clNone.
void PaintTabFace(TCanvas* canvas, const TRect& rect, TColor color, int tabPosition, bool rotated, int rounding,
                  TLumTabShape shape, bool enabled, TGDIPGradient gradientMirror, TGDIPGradient gradient,
                  TColor borderColor, TColor colorMirrorTo, TColor colorMirror, TColor colorTo);
