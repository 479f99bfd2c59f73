// GDI+ drawing on a device context: what a component paints with for the
// length of one paint.
//
//   TGPGraphics graphics(canvas->Handle());
//   graphics.SetSmoothingMode(SmoothingModeAntiAlias);
//   TGPSolidBrush brush(ColorToARGB(clHighlight));
//   graphics.FillRectangle(&brush, MakeRect(0, 0, 40, 20));
//
// Every pen, brush, path, font and format made for the paint is freed at
// its end, the graphics last. A missing object (nullptr, or one whose
// creation failed) is passed to GDI+ as a null handle: the call then fails
// with InvalidParameter and the graphics records it.
#pragma once

#include "components/foundation/gdiplus_base_win.h"

class TGPPen;
class TGPBrush;
class TGPGraphicsPath;
class TGPRegion;
class TGPFont;
class TGPStringFormat;
class TGPImage;
class TGPImageAttributes;

class TGPGraphics : public TGdiplusBase {
    QL_CLASS(TGPGraphics, TGdiplusBase)
public:
    explicit TGPGraphics(HDC dc);
    ~TGPGraphics() override;

    GpGraphics* Native() const { return FNative; }

    TStatus SetSmoothingMode(TSmoothingMode mode);
    TStatus SetTextRenderingHint(TTextRenderingHint hint);

    TStatus DrawPath(TGPPen* pen, TGPGraphicsPath* path);
    TStatus FillRectangle(TGPBrush* brush, float x, float y, float width, float height);
    TStatus FillRectangle(TGPBrush* brush, const TGPRectF& rect);
    TStatus DrawRectangle(TGPPen* pen, float x, float y, float width, float height);

    // 8-bit text of the system code page, converted to wide text first.
    // length: the characters to draw; a negative length, or one beyond the
    // converted text, draws the whole text (GDI+ never gets more characters
    // than the conversion gave).
    TStatus DrawString(const String& text, int length, TGPFont* font, const TGPRectF& layout, TGPStringFormat* format,
                       TGPBrush* brush);
    // Wide text: length characters of text (-1: up to its terminating zero).
    TStatus DrawString(const WCHAR* text, int length, TGPFont* font, const TGPRectF& layout, TGPStringFormat* format,
                       TGPBrush* brush);
    // The box that length characters of text take in layout, and how many
    // code points and lines fit (either may be nullptr).
    TStatus MeasureString(const WCHAR* text, int length, TGPFont* font, const TGPRectF& layout, TGPStringFormat* format,
                          TGPRectF& boundingBox, int* codepointsFitted = nullptr, int* linesFilled = nullptr);

    // The whole image in the rectangle.
    TStatus DrawImage(TGPImage* image, int x, int y, int width, int height);
    // The source part (in srcUnit) of the image into dest, drawn with the
    // attributes (may be nullptr).
    TStatus DrawImage(TGPImage* image, const TGPRectF& dest, float srcX, float srcY, float srcWidth, float srcHeight,
                      TGPUnit srcUnit, TGPImageAttributes* attributes = nullptr);

    TStatus SetClip(TGPRegion* region, TCombineMode mode = CombineModeReplace);
    TStatus ResetClip();

private:
    GpGraphics* FNative = nullptr;
};
