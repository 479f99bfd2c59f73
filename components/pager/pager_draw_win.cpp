#include "components/pager/pager_draw_win.h"

#include <cmath>
#include <optional>

ARGB ToOpaqueARGB(TColor color) { return ColorToARGB(color); }

TColor MixColors(TColor a, TColor b, int percent) {
    return MixRGB(TColor(int(ColorToRGB(a))), TColor(int(ColorToRGB(b))), percent);
}

void PaintBandedGradient(TCanvas* canvas, TColor from, TColor to, bool horizontal, const TRect& rect, int steps) {
    const TColor fromRGB = TColor(int(ColorToRGB(from))), toRGB = TColor(int(ColorToRGB(to)));
    for (const TPagerGradientBand& band : PagerGradientBands(fromRGB, toRGB, horizontal, rect, steps)) {
        canvas->Pen()->SetColor(band.Color);
        canvas->Brush()->SetColor(band.Color);
        canvas->Rectangle(band.Rect);
    }
}

void StrokeRoundedRect(TGPGraphics* graphics, TGPPen* pen, int x, int y, int w, int h, int r) {
    TGPGraphicsPath path;
    const float d = float(2 * r);
    path.AddLine(float(x + r), float(y), float(x + w - 2 * r), float(y));
    path.AddArc(float(x + w) - d, float(y), d, d, 270, 90);
    path.AddLine(float(x + w), float(y + r), float(x + w), float(y + h - 2 * r));
    path.AddArc(float(x + w) - d, float(y + h) - d, d, d, 0, 90);
    path.AddLine(float(x + w - 2 * r), float(y + h), float(x + r), float(y + h));
    path.AddArc(float(x), float(y + h) - d, d, d, 90, 90);
    path.AddLine(float(x), float(y + h - 2 * r), float(x), float(y + r));
    path.AddArc(float(x), float(y), d, d, 180, 90);
    path.CloseFigure();
    graphics->DrawPath(pen, &path);
}

void StrokeRectPath(TGPGraphics* graphics, TGPPen* pen, int x, int y, int w, int h) {
    TGPGraphicsPath path;
    path.AddLine(float(x), float(y), float(x + w), float(y));
    path.AddLine(float(x + w), float(y), float(x + w), float(y + h));
    path.AddLine(float(x + w), float(y + h), float(x), float(y + h));
    path.AddLine(float(x), float(y + h), float(x), float(y));
    path.CloseFigure();
    graphics->DrawPath(pen, &path);
}

// ---- Captions ---------------------------------------------------------------

namespace {

bool IsVerticalRow(int tabPosition) { return tabPosition == TabOnLeft || tabPosition == TabOnRight; }

float MeasuredWidth(TGPGraphics* graphics, const std::wstring& text, TGPFont* font, TGPStringFormat* format,
                    float height) {
    TGPRectF box;
    graphics->MeasureString(text.c_str(), int(text.size()), font, MakeRect(0, 0, 1000, height), format, box);
    return box.Width;
}

int GdiRightEdge(TCanvas* canvas, const String& text) {
    RECT r{0, 0, 1000, 100};
    DrawTextA(canvas->Handle(), text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right;
}

int GdiRightEdge(TCanvas* canvas, const std::wstring& text) {
    RECT r{0, 0, 1000, 100};
    DrawTextW(canvas->Handle(), text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right;
}

std::wstring Widen(const String& text) { return GdipWideString(text); }
const std::wstring& Widen(const std::wstring& text) { return text; }

template <class S>
S Fit(const S& text, const TRect& rect, bool useGdiPlus, bool keepWhole, int tabPosition, bool ellipsis,
      TGPStringFormat* format, TGPFont* font, TCanvas* canvas, TGPGraphics* graphics) {
    if (keepWhole) return text;
    int length = IsVerticalRow(tabPosition) ? rect.Height() : rect.Width();
    S suffix;
    if (ellipsis) suffix = S(3, typename S::value_type('.'));
    const float height = float(rect.Height());
    if (useGdiPlus) {
        length -= 2;
        auto width = [&](const S& s) { return MeasuredWidth(graphics, Widen(s), font, format, height); };
        if (width(text) < float(length)) return text;
        return ShortenToFit<S>(text, suffix, [&](const S& s) { return float(length) > width(s); });
    }
    if (GdiRightEdge(canvas, text) < length) return text;
    return ShortenToFit<S>(text, suffix, [&](const S& s) { return GdiRightEdge(canvas, s) < length; });
}

}  // namespace

void FitCaption(const String& text, const TRect& rect, bool useGdiPlus, String& result, bool keepWhole, int tabPosition,
                bool ellipsis, TGPStringFormat* format, TGPFont* font, TCanvas* canvas, TGPGraphics* graphics) {
    result = Fit(text, rect, useGdiPlus, keepWhole, tabPosition, ellipsis, format, font, canvas, graphics);
}

void FitCaptionW(const std::wstring& text, const TRect& rect, bool useGdiPlus, std::wstring& result, bool keepWhole,
                 int tabPosition, bool ellipsis, TGPStringFormat* format, TGPFont* font, TCanvas* canvas,
                 TGPGraphics* graphics) {
    result = Fit(text, rect, useGdiPlus, keepWhole, tabPosition, ellipsis, format, font, canvas, graphics);
}

TSize WideTextWidth(TCanvas* canvas, const std::wstring& text) {
    SIZE size{0, 0};
    GetTextExtentPoint32W(canvas->Handle(), text.c_str(), int(text.size()), &size);
    return TSize{int(size.cx), int(size.cy)};
}

namespace {

int FontStyleOf(TFont* font) {
    int style = FontStyleRegular;
    if (font->Style().Contains(fsBold)) style |= FontStyleBold;
    if (font->Style().Contains(fsItalic)) style |= FontStyleItalic;
    if (font->Style().Contains(fsUnderline)) style |= FontStyleUnderline;
    return style;
}

TRect RoundedRect(const TGPRectF& box) {
    return Rect(int(std::lround(box.X)), int(std::lround(box.Y)), int(std::lround(box.X + box.Width)),
                int(std::lround(box.Y + box.Height)));
}

void RenderWithGdiPlus(TCanvas* canvas, TAlignment alignment, const TRect& rect, TRect& textRect, bool keepWhole,
                       bool shorten, int tabPosition, int antiAlias, bool draw, bool enabled, TFont* font,
                       std::wstring caption) {
    TGPGraphics graphics(canvas->Handle());
    const std::wstring name = GdipWideString(font->Name());
    const int style = FontStyleOf(font);
    // The font's family; "Arial" when GDI+ does not find it or its style;
    // and where Arial itself is not installed, the class library's default
    // face.
    auto notFound = [](TStatus s) { return s == TStatus::FontFamilyNotFound || s == TStatus::FontStyleNotFound; };
    const float size = float(font->Size());
    std::optional<TGPFontFamily> family(std::in_place, name.c_str());
    std::optional<TGPFont> gpFontHolder(std::in_place, &*family, size, style, UnitPoint);
    for (const String& face : {String("Arial"), String(TFont::DefaultName)}) {
        if (!notFound(family->GetLastStatus()) && !notFound(gpFontHolder->GetLastStatus()) && gpFontHolder->Native())
            break;
        gpFontHolder.reset();
        family.reset();
        const std::wstring wide = GdipWideString(face);
        family.emplace(wide.c_str());
        gpFontHolder.emplace(&*family, size, style, UnitPoint);
    }
    TGPFont* gpFont = &*gpFontHolder;
    graphics.SetSmoothingMode(SmoothingModeAntiAlias);

    TGPStringFormat format(draw && tabPosition == TabOnRight ? StringFormatFlagsDirectionVertical : 0);
    format.SetAlignment(alignment == taRightJustify ? StringAlignmentFar
                        : alignment == taCenter     ? StringAlignmentCenter
                                                    : StringAlignmentNear);
    format.SetLineAlignment(StringAlignmentCenter);
    format.SetHotkeyPrefix(HotkeyPrefixShow);
    graphics.SetTextRenderingHint(antiAlias == 1 ? TextRenderingHintClearTypeGridFit : TextRenderingHintAntiAlias);
    TGPSolidBrush brush(ToOpaqueARGB(enabled ? font->Color() : clGray));

    if (draw && shorten)
        FitCaptionW(caption, rect, true, caption, keepWhole, tabPosition, true, &format, gpFont, canvas, &graphics);
    const TGPRectF layout = MakeRect(float(rect.Left), float(rect.Top), float(rect.Width()), float(rect.Height()));
    TGPRectF box;
    graphics.MeasureString(caption.c_str(), int(caption.size()), gpFont, layout, &format, box);
    textRect = RoundedRect(box);
    if (draw) graphics.DrawString(caption.c_str(), int(caption.size()), gpFont, layout, &format, &brush);
}

void RenderWithGdi(TCanvas* canvas, TAlignment alignment, const TRect& rect, TRect& textRect, bool keepWhole,
                   bool shorten, int tabPosition, bool draw, bool enabled, TFont* font, std::wstring caption) {
    canvas->SetFont(font);
    if (!enabled) canvas->Font()->SetColor(clGray);
    if (draw && shorten)
        FitCaptionW(caption, rect, false, caption, keepWhole, tabPosition, true, nullptr, nullptr, canvas, nullptr);
    const HDC dc = canvas->Handle();
    RECT measured{rect.Left, rect.Top, rect.Right, rect.Bottom};
    DrawTextW(dc, caption.c_str(), int(caption.size()), &measured,
              DT_CALCRECT | (shorten ? DT_SINGLELINE | DT_END_ELLIPSIS : DT_WORDBREAK));
    textRect = Rect(measured.left, measured.top, measured.right, measured.bottom);
    if (!draw) return;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT box{rect.Left + 3, rect.Top, rect.Right + 3, rect.Bottom};
    const UINT align = alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
    DrawTextW(dc, caption.c_str(), int(caption.size()), &box, DT_SINGLELINE | DT_VCENTER | align);
    SetBkMode(dc, oldMode);
}

}  // namespace

void RenderTabCaption(TCanvas* canvas, TAlignment alignment, const TRect& rect, TRect& textRect, bool keepWhole,
                      bool shorten, int tabPosition, int antiAlias, bool draw, bool enabled, TFont* font,
                      const std::wstring& wideText, const String& text) {
    if (text.empty() && wideText.empty()) return;
    try {
        std::wstring caption = text.empty() ? wideText : GdipWideString(text);
        if (antiAlias != 0)
            RenderWithGdiPlus(canvas, alignment, rect, textRect, keepWhole, shorten, tabPosition, antiAlias, draw,
                              enabled, font, caption);
        else
            RenderWithGdi(canvas, alignment, rect, textRect, keepWhole, shorten, tabPosition, draw, enabled, font,
                          caption);
    } catch (...) {
        // A caption that cannot be drawn is left out; the rest of the tab is.
    }
}

// ---- Backgrounds and tabs -----------------------------------------------------

namespace {

struct THalfColors {
    TColor Color, ColorTo, ColorMirror, ColorMirrorTo;
    TGDIPGradient Gradient, GradientMirror;
};

TLinearGradientMode ModeOf(TGDIPGradient kind, bool verticalRow) {
    switch (kind) {
    case ggDiagonalForward: return LinearGradientModeForwardDiagonal;
    case ggDiagonalBackward: return LinearGradientModeBackwardDiagonal;
    default: return verticalRow ? LinearGradientModeHorizontal : LinearGradientModeVertical;
    }
}

// One half: its base colour over the whole half, then its gradient over
// gradientRect: linear from startColor (top or left) to endColor, or radial
// from centreColor at centre to surroundColor on the inscribed ellipse.
void FillHalf(TGPGraphics& g, const TGPRectF& half, TColor base, TGDIPGradient kind, bool verticalRow,
              TColor startColor, TColor endColor, TGPPoint centre, TColor centreColor, TColor surroundColor,
              const TGPRectF& gradientRect) {
    TGPSolidBrush solid(ToOpaqueARGB(base));
    g.FillRectangle(&solid, half);
    if (kind == ggRadial) {
        TGPGraphicsPath ellipse;
        ellipse.AddEllipse(gradientRect.X, gradientRect.Y, gradientRect.Width, gradientRect.Height);
        TGPPathGradientBrush brush(&ellipse);
        brush.SetCenterColor(ToOpaqueARGB(centreColor));
        const ARGB surround = ToOpaqueARGB(surroundColor);
        int count = 1;
        brush.SetSurroundColors(&surround, count);
        brush.SetCenterPoint(centre);
        g.FillRectangle(&brush, gradientRect);
        return;
    }
    // The brush reaches a pixel past each end, so that its tiling never
    // wraps the far colour onto the first row.
    const bool horizontalMode = ModeOf(kind, verticalRow) == LinearGradientModeHorizontal;
    TGPRectF brushRect = gradientRect;
    if (horizontalMode) {
        brushRect.X -= 1;
        brushRect.Width += 2;
    } else {
        brushRect.Y -= 1;
        brushRect.Height += 2;
    }
    TGPLinearGradientBrush brush(brushRect, ToOpaqueARGB(startColor), ToOpaqueARGB(endColor),
                                 ModeOf(kind, verticalRow));
    g.FillRectangle(&brush, gradientRect);
}

void FillHalves(TGPGraphics& g, const TRect& rect, int tabPosition, bool fullFill, const THalfColors& c) {
    const float L = float(rect.Left), T = float(rect.Top), W = float(rect.Width()), H = float(rect.Height());
    const bool verticalRow = IsVerticalRow(tabPosition);
    if (!verticalRow) {
        const float half = float(rect.Height() / 2);
        const TGPRectF upper = MakeRect(L, T, W, half), lower = MakeRect(L, T + half, W, H - half);
        const bool top = tabPosition != TabOnBottom;
        const TGPRectF main = top ? upper : lower, mirror = top ? lower : upper;
        TGPRectF mainFill = MakeRect(main.X + 1, main.Y, main.Width - 2, main.Height);
        TGPRectF mirrorFill = MakeRect(mirror.X + 1, mirror.Y, mirror.Width - 2, mirror.Height);
        if (top && c.GradientMirror != ggRadial) mirrorFill.Height = fullFill ? half + 1 : half - 1;
        const float midX = L + W / 2;
        // Top: Color at the top edge; bottom: at the bottom edge.
        FillHalf(g, main, c.Color, c.Gradient, false, top ? c.Color : c.ColorTo, top ? c.ColorTo : c.Color,
                 MakePoint(int(midX), int(top ? main.Y : main.Y + main.Height)), c.ColorTo, c.Color, mainFill);
        FillHalf(g, mirror, c.ColorMirror, c.GradientMirror, false, top ? c.ColorMirror : c.ColorMirrorTo,
                 top ? c.ColorMirrorTo : c.ColorMirror,
                 MakePoint(int(midX), int(top ? mirror.Y + mirror.Height : mirror.Y)), c.ColorMirrorTo, c.ColorMirror,
                 mirrorFill);
        return;
    }
    const float half = float(rect.Width() / 2);
    const TGPRectF leftHalf = MakeRect(L, T, half, H), rightHalf = MakeRect(L + half, T, W - half, H);
    const bool left = tabPosition == TabOnLeft;
    const TGPRectF main = left ? leftHalf : rightHalf, mirror = left ? rightHalf : leftHalf;
    const TGPRectF mainFill = MakeRect(main.X, main.Y + 1, main.Width, main.Height - 2);
    const TGPRectF mirrorFill = MakeRect(mirror.X, mirror.Y + 1, mirror.Width, mirror.Height - 2);
    const float midY = T + H / 2;
    FillHalf(g, main, c.Color, c.Gradient, true, left ? c.Color : c.ColorTo, left ? c.ColorTo : c.Color,
             MakePoint(int(left ? main.X : main.X + main.Width), int(midY)), c.ColorTo, c.Color, mainFill);
    FillHalf(g, mirror, c.ColorMirror, c.GradientMirror, true, left ? c.ColorMirror : c.ColorMirrorTo,
             left ? c.ColorMirrorTo : c.ColorMirror,
             MakePoint(int(left ? mirror.X + mirror.Width : mirror.X), int(midY)), c.ColorMirrorTo, c.ColorMirror,
             mirrorFill);
}

}  // namespace

void PaintTwoPartBackground(TCanvas* canvas, const TRect& rect, TColor color, int tabPosition, bool fullFill,
                            bool curved, int antiAlias, bool enabled, TFont* font, TGDIPGradient gradientMirror,
                            TGDIPGradient gradient, TColor borderColor, TColor colorMirrorTo, TColor colorMirror,
                            TColor colorTo) {
    (void)antiAlias, (void)enabled, (void)font;  // no caption is drawn here
    TGPGraphics graphics(canvas->Handle());
    FillHalves(graphics, rect, tabPosition, fullFill,
               {color, colorTo, colorMirror, colorMirrorTo, gradient, gradientMirror});
    if (borderColor == clNone) return;
    graphics.SetSmoothingMode(SmoothingModeAntiAlias);
    TGPPen pen(ToOpaqueARGB(borderColor), 1.0f);
    if (curved)
        StrokeRoundedRect(&graphics, &pen, rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1, 3);
    else
        StrokeRectPath(&graphics, &pen, rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1);
}

TGPGraphicsPath* BuildTabOutline(const TRect& rect, TLumTabShape shape, int rounding, int tabPosition, bool rotated) {
    auto* path = new TGPGraphicsPath;
    for (const TOutlineSegment& s : TabOutline(rect, shape, rounding, tabPosition, rotated)) {
        const auto& p = s.Points;
        switch (s.Kind) {
        case TOutlinePiece::Line: path->AddLine(float(p[0].X), float(p[0].Y), float(p[1].X), float(p[1].Y)); break;
        case TOutlinePiece::Bezier:
            path->AddBezier(MakePoint(p[0].X, p[0].Y), MakePoint(p[1].X, p[1].Y), MakePoint(p[2].X, p[2].Y),
                            MakePoint(p[3].X, p[3].Y));
            break;
        case TOutlinePiece::Curve: {
            const TGPPoint points[3] = {MakePoint(p[0].X, p[0].Y), MakePoint(p[1].X, p[1].Y),
                                        MakePoint(p[2].X, p[2].Y)};
            path->AddCurve(points, 3, 0.8f);
            break;
        }
        }
    }
    path->CloseFigure();
    return path;
}

void PaintTabFace(TCanvas* canvas, const TRect& rect, TColor color, int tabPosition, bool rotated, int rounding,
                  TLumTabShape shape, bool enabled, TGDIPGradient gradientMirror, TGDIPGradient gradient,
                  TColor borderColor, TColor colorMirrorTo, TColor colorMirror, TColor colorTo) {
    (void)enabled;  // the caller picks the disabled colours
    TGPGraphics graphics(canvas->Handle());
    TGPGraphicsPath* path = BuildTabOutline(rect, shape, rounding, tabPosition, rotated);
    TScopeExit freePath([path] { delete path; });
    TGPRegion region(path);
    graphics.SetClip(&region);
    const int fillPosition = IsVerticalRow(tabPosition) && !rotated ? TabOnTop : tabPosition;
    FillHalves(graphics, rect, fillPosition, false,
               {color, colorTo, colorMirror, colorMirrorTo, gradient, gradientMirror});
    if (borderColor == clNone) return;
    graphics.ResetClip();
    graphics.SetSmoothingMode(SmoothingModeAntiAlias);
    TGPPen pen(ToOpaqueARGB(borderColor), 1.6f);
    graphics.DrawPath(&pen, path);
}
