// Drawing: colour conversion, the graphics objects (font, pen, brush) and
// the canvas over a device context.
//
// The canvas selects its objects lazily. Changing a property of its font,
// pen or brush only marks that object invalid (and puts a stock object in
// its place in the DC); the next drawing call that needs the object creates
// and selects it. So:
//   - selecting the font also sets the DC's text colour to Font.Color;
//   - selecting a solid brush sets the background colour to Brush.Color and
//     the background mode to OPAQUE; any other brush (clear, hatched, or a
//     colour of clNone, which makes the brush clear) sets TRANSPARENT;
//   - an object selected into Handle with SelectObject stays in use by the
//     canvas's drawing calls until the matching canvas property changes.
#pragma once

#include <mutex>
#include <span>

#include "classlib/core/classes.h"
#include "classlib/os/win.h"
#include "classlib/ui/geometry.h"
#include "classlib/ui/graphics_types.h"

class TCanvas;
class TGraphic;

// A plain 0x00BBGGRR value: system colours resolved through GetSysColor.
// clNone and clDefault come back unchanged, so callers test for them first.
LongWord ColorToRGB(TColor color);

// Logical pixels per inch of the screen (96 unless the system says else).
int ScreenPixelsPerInch();

QL_EXCEPTION(EInvalidGraphic, Exception);
QL_EXCEPTION(EInvalidGraphicOperation, Exception);
QL_EXCEPTION(EOutOfResources, Exception);

// ---- Graphics objects -----------------------------------------------------------

// A font, pen or brush: a TPersistent whose changes are announced through
// OnChange and whose GDI object is made when first asked for.
class TGraphicsObject : public TPersistent {
    QL_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;

protected:
    // Announces a change. Listeners that ask for the handle get one made
    // for the new values; the GDI object made for the old ones is freed
    // once they have all heard, since a canvas may have it selected until
    // it hears.
    virtual void Changed();
    // Announces a change after the handle was replaced: oldHandle (the
    // one ReleaseHandle gave up) is freed after the listeners.
    void Announce(HGDIOBJ oldHandle);
    // Gives up the handle: what the object owns and must be freed, or
    // nullptr (none, or a stock object).
    virtual HGDIOBJ ReleaseHandle() { return nullptr; }
};

class TFont : public TGraphicsObject {
    QL_CLASS(TFont, TGraphicsObject)
public:
    static constexpr const char* DefaultName = "Tahoma";
    TFont();
    ~TFont() override;

    void Assign(TPersistent* source) override;

    // The font for the current values, made on demand; the font keeps it.
    HFONT Handle();
    // Takes over a font handle (the font frees it) and the values it holds.
    void SetHandle(HFONT value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // Character height in pixels; negative values give the em height, as in
    // LOGFONT.
    int Height() const { return FHeight; }
    void SetHeight(int value);
    const String& Name() const { return FName; }
    void SetName(const String& value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    // Points, from Height at PixelsPerInch.
    int Size() const;
    void SetSize(int value);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value) { FPixelsPerInch = value > 0 ? value : 96; }

protected:
    HGDIOBJ ReleaseHandle() override;

private:
    TColor FColor = clWindowText;
    int FHeight = -11;
    String FName = DefaultName;
    TFontPitch FPitch = fpDefault;
    TFontCharset FCharset = 1;  // DEFAULT_CHARSET
    TFontStyles FStyle;
    int FPixelsPerInch = 96;
    HFONT FHandle = nullptr;
};

class TPen : public TGraphicsObject {
    QL_CLASS(TPen, TGraphicsObject)
public:
    TPen() = default;
    ~TPen() override;

    void Assign(TPersistent* source) override;

    HPEN Handle();
    // Takes over a pen handle (the pen frees it) and the values it holds.
    void SetHandle(HPEN value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    int Width() const { return FWidth; }
    void SetWidth(int value);

protected:
    HGDIOBJ ReleaseHandle() override;

private:
    TColor FColor = clBlack;
    TPenMode FMode = pmCopy;
    TPenStyle FStyle = psSolid;
    int FWidth = 1;
    HPEN FHandle = nullptr;
};

class TBrush : public TGraphicsObject {
    QL_CLASS(TBrush, TGraphicsObject)
public:
    TBrush() = default;
    ~TBrush() override;

    void Assign(TPersistent* source) override;

    // A clear brush is the stock null brush.
    HBRUSH Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }

    TColor Color() const { return FColor; }
    // A colour on a clear brush makes it solid; clNone makes it clear.
    void SetColor(TColor value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);

protected:
    HGDIOBJ ReleaseHandle() override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    HBRUSH FHandle = nullptr;
    bool FOwnsHandle = false;
};

// ---- Canvas -----------------------------------------------------------------------

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates>;
inline constexpr TCanvasState csAllValid{csHandleValid, csFontValid, csPenValid, csBrushValid};

class TCanvas : public TPersistent {
    QL_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;

    // The device context with font, pen and brush selected. A canvas
    // without one asks CreateHandle; when that gives none, raises
    // EInvalidOperation "Canvas does not allow drawing".
    HDC Handle();
    // Draws on a device context that someone else owns: the canvas selects
    // its objects into it and takes them out again when a new handle (or
    // none) is set, and never frees the DC.
    void SetHandle(HDC value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont* Font() const { return FFont; }
    void SetFont(TFont* value) { FFont->Assign(value); }
    TPen* Pen() const { return FPen; }
    void SetPen(TPen* value) { FPen->Assign(value); }
    TBrush* Brush() const { return FBrush; }
    void SetBrush(TBrush* value) { FBrush->Assign(value); }

    TPoint PenPos();
    void SetPenPos(TPoint value) { MoveTo(value.X, value.Y); }
    // The raster operation of CopyRect (SRCCOPY by default).
    DWORD CopyMode() const { return FCopyMode; }
    void SetCopyMode(DWORD value) { FCopyMode = value; }
    // ExtTextOut options of TextOut and TextRect.
    UINT TextFlags() const { return FTextFlags; }
    void SetTextFlags(UINT value) { FTextFlags = value; }

    // The colour of a pixel (a plain RGB value; CLR_INVALID outside the
    // clipping region), and setting one.
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);
    // The bounds of the clipping region in logical units.
    TRect ClipRect();

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Polygon(std::span<const TPoint> points);
    void Polyline(std::span<const TPoint> points);
    // Text at x, y in the font, on the brush colour when the brush is
    // solid; the pen position moves to the end of the text.
    void TextOut(int x, int y, const String& text);
    // Text at x, y clipped to rect, which is filled with the brush first
    // unless the brush is clear.
    void TextRect(const TRect& rect, int x, int y, const String& text);
    TSize TextExtent(const String& text);
    int TextWidth(const String& text) { return TextExtent(text).cx; }
    int TextHeight(const String& text) { return TextExtent(text).cy; }
    void DrawFocusRect(const TRect& rect);
    // A graphic at its own size with its top-left corner at x, y; nothing
    // for no graphic or an empty one.
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& rect, TGraphic* graphic);
    // Copies source of canvas into dest of this canvas with CopyMode,
    // stretching when the sizes differ.
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);

    // Serialises drawing from several threads: Lock waits for the canvas,
    // TryLock does not.
    void Lock();
    bool TryLock();
    void Unlock();
    int LockCount() const { return FLockCount; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    TCanvasState State() const { return FState; }

protected:
    // Called around every drawing operation.
    virtual void Changing();
    virtual void Changed();
    // Makes sure the handle and the named objects are valid.
    void RequiredState(TCanvasState state);
    // Hook for canvases that make their own device context (a bitmap's
    // memory DC, a control's window DC): set it with SetHandle. The base
    // canvas has none of its own.
    virtual void CreateHandle() {}

private:
    void CreateFont();
    void CreatePen();
    void CreateBrush();
    void DeselectHandles();
    void FontChanged(TObject* sender);
    void PenChanged(TObject* sender);
    void BrushChanged(TObject* sender);

    HDC FHandle = nullptr;
    TCanvasState FState;
    TFont* FFont;
    TPen* FPen;
    TBrush* FBrush;
    TPoint FPenPos;
    DWORD FCopyMode = SRCCOPY;
    UINT FTextFlags = 0;
    std::recursive_mutex FLock;
    int FLockCount = 0;
};

// Frees what the graphics classes keep for the process (memory DCs of
// bitmap canvases). Registers the image list for the stored layout.
void ClasslibGraphicsInitialize();
void ClasslibGraphicsFinalize();
