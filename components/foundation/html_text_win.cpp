#include "components/foundation/html_text_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/scopes.h"
#include "classlib/ui/canvas_measurer.h"
#include "components/foundation/draw_routines_win.h"
#include "components/foundation/html_colors.h"
#include "components/foundation/html_layout.h"
#include "components/foundation/html_text_out_win.h"

namespace {

// The canvas as the layout measures and draws on it. The fonts of the
// caption are made once in a call and selected into the device context in
// turn (the canvas font itself is never changed, and is selected back at
// the end); text goes straight to the device context in the colours of the
// piece; lines, bullets and fills use the DC pen and brush. So a call makes
// no GDI object but its fonts, and frees them before it returns, also when
// an error passes.
class TCanvasHtmlTarget : public ITextMeasurer, public IHtmlDrawTarget {
public:
    explicit TCanvasHtmlTarget(TCanvas* canvas)
        : FCanvas(canvas), FDC(canvas->Handle()), FCanvasFont(canvas->Font()->Handle()),
          FStartFace(MeasureFontOf(canvas->Font())) {
        GetObjectA(FCanvasFont, sizeof FBase, &FBase);
        FFonts.reserve(16);
        FCurrent = FCanvasFont;
        FCurrentFace = FStartFace;
    }
    ~TCanvasHtmlTarget() override {
        SelectObject(FDC, FCanvasFont);
        if (FRotated) DeleteObject(FRotated);
        for (const TMadeFont& font : FFonts) DeleteObject(font.Handle);
    }

    void SetFont(const TMeasureFont& face) override {
        if (face == FCurrentFace) return;
        FCurrentFace = face;
        FCurrent = face == FStartFace ? FCanvasFont : Made(face);
        Select();
    }
    TTextExtent TextExtent(const String& text) override {
        SIZE size{};
        GetTextExtentPoint32A(FDC, text.data(), int(text.size()), &size);
        return {int(size.cx), int(size.cy)};
    }
    TFontMeasures FontMeasures() override {
        TEXTMETRICA metrics{};
        GetTextMetricsA(FDC, &metrics);
        if (!FRotatedOn) KeepHeight(int(metrics.tmHeight), int(metrics.tmCharSet));
        return {int(metrics.tmHeight), int(metrics.tmAscent), int(metrics.tmDescent), int(metrics.tmExternalLeading),
                int(metrics.tmAveCharWidth)};
    }

    void DrawText(const String& text, const TRect& rect, unsigned flags, TColor color, TColor background) override {
        if (color == clNone) return;
        const HDC dc = FDC;
        // Most pieces come in the colour of the one before: reading the
        // colour costs the device context less than setting it.
        const COLORREF rgb = ColorToRGB(color);
        if (GetTextColor(dc) != rgb) SetTextColor(dc, rgb);
        if (background != clNone) {
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, ColorToRGB(background));
        }
        if (FCurrentHeight == 0 && !FRotatedOn) {
            // Once for each font of the call: the height of the pieces' extents.
            TEXTMETRICA metrics{};
            if (GetTextMetricsA(dc, &metrics)) KeepHeight(int(metrics.tmHeight), int(metrics.tmCharSet));
        }
        DrawHtmlPieceText(dc, text, RECT{rect.Left, rect.Top, rect.Right, rect.Bottom}, flags,
                          FRotatedOn ? 0 : FCurrentHeight, FRotatedOn || FCurrentHeight == 0 ? -1 : FCurrentCharset);
        if (background != clNone) SetBkMode(dc, TRANSPARENT);
    }
    void FillRect(const TRect& rect, TColor color) override {
        const HDC dc = FDC;
        const COLORREF before = SetDCBrushColor(dc, ColorToRGB(color));
        const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
        ::FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        SetDCBrushColor(dc, before);
    }
    void HorizontalLine(int x1, int x2, int y, TColor color) override {
        const HDC dc = WithPen(color);
        MoveToEx(dc, x1, y, nullptr);
        LineTo(dc, x2, y);
        EndPen(dc);
    }
    void Polyline(const std::vector<TPoint>& points, TColor color) override {
        if (points.size() < 2) return;
        const HDC dc = WithPen(color);
        ::Polyline(dc, reinterpret_cast<const POINT*>(points.data()), int(points.size()));
        EndPen(dc);
    }
    void Bullet(const TRect& rect, bool circle, TColor color) override {
        const HDC dc = WithPen(color);
        const HGDIOBJ brush = SelectObject(dc, GetStockObject(DC_BRUSH));
        const COLORREF before = SetDCBrushColor(dc, ColorToRGB(color));
        if (circle)
            Ellipse(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
        else
            Rectangle(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
        SetDCBrushColor(dc, before);
        SelectObject(dc, brush);
        EndPen(dc);
    }
    void FocusRect(const TRect& rect) override {
        // A focus rectangle is drawn in the text and background colours.
        const HDC dc = FDC;
        const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
        const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
        const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
        ::DrawFocusRect(dc, &r);
        SetTextColor(dc, text);
        SetBkColor(dc, back);
    }
    void Gradient(TColor from, TColor to, bool horizontal, const TRect& rect, int bands) override {
        DrawBandedGradient(FCanvas, from, to, horizontal, rect, bands, clNone);
    }
    void RotateFont(int degrees) override {
        FRotatedOn = true;
        FAngle = degrees;
        Select();
    }
    void UnrotateFont() override {
        FRotatedOn = false;
        Select();
    }

private:
    struct TMadeFont {
        TMeasureFont Face;
        HFONT Handle;
        int Height = 0;  // its tmHeight, once asked (0: not known)
        int Charset = -1;
    };

    // The current font's tmHeight and character set, kept with the font for
    // the next time it is selected.
    void KeepHeight(int height, int charset) {
        FCurrentHeight = height;
        FCurrentCharset = charset;
        if (FCurrent == FCanvasFont) {
            FCanvasHeight = height;
            FCanvasCharset = charset;
            return;
        }
        for (TMadeFont& font : FFonts)
            if (font.Handle == FCurrent) {
                font.Height = height;
                font.Charset = charset;
            }
    }
    void Known() {
        FCurrentHeight = 0;
        FCurrentCharset = -1;
        if (FRotatedOn) return;
        if (FCurrent == FCanvasFont) {
            FCurrentHeight = FCanvasHeight;
            FCurrentCharset = FCanvasCharset;
            return;
        }
        for (const TMadeFont& font : FFonts)
            if (font.Handle == FCurrent) {
                FCurrentHeight = font.Height;
                FCurrentCharset = font.Charset;
            }
    }

    LOGFONTA LogFontOf(const TMeasureFont& face) const {
        LOGFONTA lf = FBase;
        if (!face.Name.empty()) {
            std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
            std::strncpy(lf.lfFaceName, face.Name.c_str(), LF_FACESIZE - 1);
        }
        if (face.Height != 0) lf.lfHeight = face.Height;
        lf.lfWeight = face.Bold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = face.Italic;
        lf.lfUnderline = face.Underline;
        lf.lfStrikeOut = face.StrikeOut;
        return lf;
    }
    // The font of face, made the first time a call asks for it. A caption
    // with very many fonts keeps the last few.
    HFONT Made(const TMeasureFont& face) {
        for (const TMadeFont& font : FFonts)
            if (font.Face == face) return font.Handle;
        if (FFonts.size() >= 16) {
            SelectObject(FDC, FCanvasFont);
            DeleteObject(FFonts.front().Handle);
            FFonts.erase(FFonts.begin());
        }
        const LOGFONTA lf = LogFontOf(face);
        const HFONT handle = CreateFontIndirectA(&lf);
        if (!handle) return FCanvasFont;
        FFonts.push_back({face, handle, 0, -1});
        return handle;
    }
    // Selects the current font, turned when a rotation is on (one rotated
    // font at a time: the one before is deleted).
    void Select() {
        HFONT rotated = nullptr;
        if (FRotatedOn) {
            LOGFONTA lf = LogFontOf(FCurrentFace);
            lf.lfEscapement = lf.lfOrientation = LONG(FAngle) * 10;
            rotated = CreateFontIndirectA(&lf);
        }
        SelectObject(FDC, rotated ? rotated : FCurrent);
        if (FRotated) DeleteObject(FRotated);
        FRotated = rotated;
        Known();
    }
    HDC WithPen(TColor color) {
        FPenBefore = SelectObject(FDC, GetStockObject(DC_PEN));
        FPenColorBefore = SetDCPenColor(FDC, ColorToRGB(color));
        return FDC;
    }
    void EndPen(HDC dc) {
        SetDCPenColor(dc, FPenColorBefore);
        SelectObject(dc, FPenBefore);
    }

    TCanvas* FCanvas;
    HDC FDC;
    HFONT FCanvasFont;
    TMeasureFont FStartFace;
    LOGFONTA FBase{};
    std::vector<TMadeFont> FFonts;
    HFONT FCurrent;
    TMeasureFont FCurrentFace;
    bool FRotatedOn = false;
    int FAngle = 0;
    HFONT FRotated = nullptr;
    int FCurrentHeight = 0;    // the selected font's tmHeight, once asked (0: not known)
    int FCurrentCharset = -1;  // its tmCharSet, with the height
    int FCanvasHeight = 0;     // the canvas font's
    int FCanvasCharset = -1;
    HGDIOBJ FPenBefore = nullptr;
    COLORREF FPenColorBefore = 0;
};

// The four sources of pictures on a canvas.
class TCanvasHtmlPictures : public IHtmlPictures {
public:
    TCanvasHtmlPictures(TCanvas* canvas, TCustomImageList* images, bool printMode, double resolutionFactor,
                        THTMLPictureCache* cache, TPictureContainer* container)
        : FCanvas(canvas), FImages(images), FPrintMode(printMode), FFactor(resolutionFactor), FCache(cache),
          FContainer(container) {}

    int ImageCount() override { return FImages ? FImages->Count() : -1; }
    TSize ImageSize() override { return FImages ? TSize{FImages->Width(), FImages->Height()} : TSize{}; }
    void DrawImage(int index, int x, int y) override {
        if (!FImages) return;
        if (!FPrintMode) {
            FImages->Draw(FCanvas, x, y, index);
            return;
        }
        TBitmap bitmap;
        if (!FImages->GetBitmap(index, &bitmap)) return;
        StretchDrawDIB(
            FCanvas,
            Bounds(x, y, RoundHalfEven(FImages->Width() * FFactor), RoundHalfEven(FImages->Height() * FFactor)),
            &bitmap);
    }
    TSize ShellIcon(const String& path, bool large, bool draw, int x, int y) override {
        TSize size;
        DrawShellIcon(FCanvas, x, y, size, FFactor, FPrintMode, draw, large, path);
        return size;
    }
    bool FindPicture(const String& source, bool url, TSize& size) override {
        THTMLPicture* picture = Find(source, url);
        if (!picture || picture->Empty()) return false;
        size = {picture->DisplayWidth(), picture->DisplayHeight()};
        return true;
    }
    void DrawPicture(const String& source, bool url, int x, int y, int width, int height) override {
        THTMLPicture* picture = Find(source, url);
        if (!picture) return;
        if (width >= 1 && height >= 1) {
            picture->SetStretch(true);
            FCanvas->StretchDraw(Bounds(x, y, width, height), picture);
        } else {
            picture->CountGifFrames();
            FCanvas->Draw(x + picture->FrameLeft(), y + picture->FrameTop(), picture);
        }
    }
    void DrawBackground(const String& source, bool url, THtmlBackground where, const TRect& bounds) override {
        THTMLPicture* picture = Find(source, url);
        if (!picture) return;
        const int width = picture->Width(), height = picture->Height();
        if (width <= 0 || height <= 0) return;
        const HDC dc = FCanvas->Handle();
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
        if (where == THtmlBackground::TopLeft) {
            FCanvas->Draw(bounds.Left, bounds.Top, picture);
        } else if (where == THtmlBackground::TopRight) {
            FCanvas->Draw(bounds.Right - width, bounds.Top, picture);
        } else {
            // Tiles only where they can show.
            const TRect clip = FCanvas->ClipRect();
            const int bottom = std::min(bounds.Bottom, clip.Bottom), right = std::min(bounds.Right, clip.Right);
            for (int y = bounds.Top; y < bottom; y += height) {
                if (y + height <= clip.Top) continue;
                for (int x = bounds.Left; x < right; x += width)
                    if (x + width > clip.Left) FCanvas->Draw(x, y, picture);
            }
        }
        RestoreDC(dc, saved);
    }

private:
    THTMLPicture* Find(const String& source, bool url) {
        if (!url) return FContainer ? FContainer->PictureByName(source) : nullptr;
        if (!FCache) return nullptr;
        THTMLPicture* picture = FCache->PictureById(source);
        if (!picture) {
            picture = FCache->AppendNewPicture();
            picture->SetAsyncLoad(false);
            try {
                picture->LoadFromSource(source);
            } catch (const Exception&) {
                // A resource that holds no picture lays out as nothing, as
                // an address that is not fetched does; the cache keeps the
                // empty picture, so it is not read again.
                picture->Assign(nullptr);
            }
        }
        return picture;
    }

    TCanvas* FCanvas;
    TCustomImageList* FImages;
    bool FPrintMode;
    double FFactor;
    THTMLPictureCache* FCache;
    TPictureContainer* FContainer;
};

}  // namespace

bool DrawHtmlText(TCanvas* canvas, const String& text, const TRect& bounds, TCustomImageList* images, int mouseX,
                  int mouseY, int focusLink, int hoverLink, int shadowOffset, bool hitTestOnly, bool measureOnly,
                  bool printMode, bool selected, bool blinkVisible, bool hoverOnlyLinks, bool wordWrap,
                  double resolutionFactor, TColor urlColor, TColor hoverColor, TColor hoverFontColor,
                  TColor shadowColor, String& anchorUnderMouse, String& plainText, String& focusedAnchor,
                  int& measuredWidth, int& measuredHeight, int& linkCount, int& mouseLink, TRect& mouseLinkRect,
                  THTMLPictureCache* pictureCache, TPictureContainer* pictureContainer, int lineSpacing) {
    THtmlParams params;
    params.Text = text;
    params.Bounds = bounds;
    params.MouseX = mouseX;
    params.MouseY = mouseY;
    params.FocusLink = focusLink;
    params.HoverLink = hoverLink;
    params.ShadowOffset = shadowOffset;
    params.HitTestOnly = hitTestOnly;
    params.MeasureOnly = measureOnly;
    params.Selected = selected;
    params.BlinkVisible = blinkVisible;
    params.HoverOnlyLinks = hoverOnlyLinks;
    params.WordWrap = wordWrap;
    params.URLColor = urlColor;
    params.HoverColor = hoverColor;
    params.HoverFontColor = hoverFontColor;
    params.ShadowColor = shadowColor;
    params.LineSpacing = lineSpacing;
    TFont* font = canvas->Font();
    const TMeasureFont startFace = MeasureFontOf(font);
    params.StartFont = {startFace, font->Color()};
    params.StartBrushColor = canvas->Brush()->Style() == bsClear ? clNone : canvas->Brush()->Color();
    const HDC dc = canvas->Handle();
    params.PixelsPerInchX = GetDeviceCaps(dc, LOGPIXELSX);
    params.PixelsPerInchY = GetDeviceCaps(dc, LOGPIXELSY);
    params.FontPixelsPerInch = font->PixelsPerInch();
    // The pieces set the device context's colours and background mode; the
    // canvas, which believes them its own, gets them back however the call ends.
    const COLORREF textColor = GetTextColor(dc);
    const COLORREF backColor = GetBkColor(dc);
    const int backMode = GetBkMode(dc);
    TScopeExit restoreColors([&] {
        SetTextColor(dc, textColor);
        SetBkColor(dc, backColor);
        SetBkMode(dc, backMode);
    });
    SetBkMode(dc, TRANSPARENT);

    THtmlResult result;
    result.AnchorUnderMouse = anchorUnderMouse;
    result.MouseLinkRect = mouseLinkRect;
    bool hit = false;
    {
        TCanvasHtmlTarget target(canvas);
        TCanvasHtmlPictures pictures(canvas, images, printMode, resolutionFactor, pictureCache, pictureContainer);
        // An error passing leaves the canvas font selected again and the
        // call's fonts freed (by the target).
        hit = LayoutHtml(target, &target, &pictures, params, result);
    }
    anchorUnderMouse = result.AnchorUnderMouse;
    plainText = result.PlainText;
    focusedAnchor = result.FocusedAnchor;
    measuredWidth = result.MeasuredWidth;
    measuredHeight = result.MeasuredHeight;
    linkCount = result.LinkCount;
    mouseLink = result.MouseLink;
    mouseLinkRect = result.MouseLinkRect;
    return hit;
}
