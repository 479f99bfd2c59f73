// The panel's painting, in this order: background, border and shadow,
// bevels, picture, body text, caption band with its buttons and text, status
// bar, size grip, OnPaint; into an off-screen bitmap first when Buffered.
#include <algorithm>

#include "classlib/ui/themes.h"
#include "components/controls/lum_panel_win.h"
#include "components/controls/panel_shading_win.h"

using LumPanel::cpLeft;
using LumPanel::cpTop;

namespace {

// The parts of the visual style's "WINDOW" class the caption uses.
constexpr int kWindowCaption = 1;
constexpr int kWindowMinButton = 15;
constexpr int kWindowRestoreButton = 17;
constexpr int kWindowCloseButton = 18;

TRect Shrink(const TRect& r, int d) { return Rect(r.Left + d, r.Top + d, r.Right - d, r.Bottom - d); }

void FillRectIn(TCanvas* canvas, const TRect& r, TColor color) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->FillRect(r);
}

// Draws text turned 90 degrees (reading upwards), its start at the bottom
// of rect.
void DrawTurnedText(TCanvas* canvas, const String& text, TFont* font, const TRect& rect, int x, int y) {
    LOGFONTA lf{};
    GetObjectA(font->Handle(), sizeof(lf), &lf);
    lf.lfEscapement = -2700;
    lf.lfOrientation = 30;
    HFONT turned = CreateFontIndirectA(&lf);
    HDC dc = canvas->Handle();
    HGDIOBJ old = SelectObject(dc, turned);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, ColorToRGB(font->Color()));
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
    // One line: line breaks of the stripped text end it.
    String line = text.substr(0, text.find_first_of("\r\n"));
    TextOutA(dc, x, y, line.c_str(), int(line.size()));
    RestoreDC(dc, saved);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, old);
    DeleteObject(turned);
}

void DrawGlyph(TCanvas* canvas, int x, int y, TBitmap* glyph) {
    glyph->SetTransparent(true);
    canvas->Draw(x, y, glyph);
}

}  // namespace

void TCustomLumPanel::Paint() {
    const TRect client = ClientRect();
    HDC target = FCanvas->Handle();
    HDC dc = FBuffered ? FBuffer.Surface(client.Width(), client.Height()) : nullptr;
    if (!dc) {
        PaintAll(FCanvas);
        return;
    }
    // Only the part the target lets through is painted and copied: a
    // see-through child asks for the panel behind its own rectangle.
    TRect area = client;
    RECT box{};
    switch (GetClipBox(target, &box)) {
    case NULLREGION: return;
    case ERROR: break;
    default:
        area = Rect(std::max(client.Left, int(box.left)), std::max(client.Top, int(box.top)),
                    std::min(client.Right, int(box.right)), std::min(client.Bottom, int(box.bottom)));
        break;
    }
    if (area.Width() <= 0 || area.Height() <= 0) return;
    // The kept buffer is black there first, as a new bitmap is.
    PatBlt(dc, area.Left, area.Top, area.Width(), area.Height(), BLACKNESS);
    IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
    {
        TCanvas buffer;
        buffer.SetHandle(dc);
        TScopeExit release([&] { buffer.SetHandle(nullptr); });
        PaintAll(&buffer);
    }
    SelectClipRgn(dc, nullptr);
    BitBlt(target, area.Left, area.Top, area.Width(), area.Height(), dc, area.Left, area.Top, SRCCOPY);
}

void TCustomLumPanel::PaintAll(TCanvas* canvas) {
    TRect r = ClientRect();
    PaintBackground(canvas, r);
    PaintBorderAndBevels(canvas, r);
    PaintBody(canvas);
    PaintCaption(canvas);
    PaintStatusBar(canvas);
    PaintSizeGrip(canvas);
    OnPaint(this, canvas, ClientRect());
}

void TCustomLumPanel::PaintBackground(TCanvas* canvas, TRect& r) {
    if (FColorTo == clNone)
        FillRectIn(canvas, r, Color());
    else if (FColorMirror == clNone)
        DrawPanelGradient(canvas, Color(), FColorTo, FGradientDirection == gdHorizontal, r, 64);
    else
        DrawMirrorGradient(canvas, r, Color(), FColorTo, FColorMirror, FColorMirrorTo, FGradientDirection);
}

void TCustomLumPanel::PaintBorderAndBevels(TCanvas* canvas, TRect& r) {
    if (FBorderColor != clNone && BorderWidth() != 0) {
        if (FBorderShadow) {
            r.Right -= 2;
            r.Bottom -= 2;
        }
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(FBorderColor);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(r);
        if (FBorderShadow) {
            canvas->Pen()->SetColor(BlendColor(FBorderColor, clBtnFace, 50));
            canvas->MoveTo(r.Right, r.Top);
            canvas->LineTo(r.Right, r.Bottom);
            canvas->LineTo(r.Left, r.Bottom);
            canvas->Pen()->SetColor(BlendColor(FBorderColor, clBtnFace, 20));
            canvas->MoveTo(r.Right + 1, r.Top);
            canvas->LineTo(r.Right + 1, r.Bottom + 1);
            canvas->LineTo(r.Left, r.Bottom + 1);
        }
    }
    auto bevel = [&](TPanelBevel cut) {
        if (cut == bvNone) return;
        TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        Frame3D(canvas, r, top, bottom, BevelWidth());
        if (FBorderColor == clNone) Frame3D(canvas, r, Color(), Color(), 1);
    };
    bevel(BevelOuter());
    bevel(BevelInner());
}

void TCustomLumPanel::PaintBody(TCanvas* canvas) {
    TRect body = ClientRect();
    const int bevelWidth = BevelWidth();
    if (FCaption->Visible()) {
        if (FCaption->Position() == cpTop)
            body.Top += FCaption->Height() - 2 * bevelWidth;
        else
            body.Left += FCaption->Height() - 2 * bevelWidth + 2;
    }
    if (FBorderShadow) {
        body.Right -= 2;
        body.Bottom -= 3;
    }
    HDC dc = canvas->Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, body.Left, body.Top, body.Right, body.Bottom);

    if (TGraphic* pic = FBackground; !pic->Empty()) {
        const int pw = pic->Width(), ph = pic->Height();
        const int right = std::max(body.Left, body.Right - body.Left - pw - bevelWidth);
        const int bottom = std::max(body.Top, FHeight - ph - bevelWidth);
        switch (FBackgroundPosition) {
        case bpTopLeft: canvas->Draw(body.Left, body.Top, pic); break;
        case bpTopRight: canvas->Draw(right, body.Top, pic); break;
        case bpBottomLeft: canvas->Draw(body.Left, bottom, pic); break;
        case bpBottomRight: canvas->Draw(right, bottom, pic); break;
        case bpTiled:
            for (int y = body.Top; y < FHeight && ph > 0; y += ph)
                for (int x = body.Left; x < FWidth && pw > 0; x += pw) canvas->Draw(x, y, pic);
            break;
        case bpStretched: canvas->StretchDraw(body, pic); break;
        case bpCenter: canvas->Draw(right / 2, bottom / 2, pic); break;
        }
    }

    TRect t = Shrink(body, BorderWidth() + 1);
    t.Left += FIndent;
    t.Top += FTopIndent;
    if (FStatusBar->Visible()) {
        if (FCaption->Position() == cpTop)
            t.Bottom -= FStatusBar->Height();
        else
            t.Right -= FStatusBar->Height();
    }
    canvas->SetFont(Font());
    if (FTextVAlign == tvaCenter || FTextVAlign == tvaBottom) {
        const int h = DrawPanelText(canvas, FBodyText, t, TextStyle(!FEllipsis, FBodyHoverIndex), ptmPlace).Extent.cy;
        if (FCaption->Visible()) t.Top += FCaption->Height() - 2 * bevelWidth;
        if (h < t.Height()) t.Top = FTextVAlign == tvaCenter ? t.Top + (t.Bottom - t.Top - h) / 2 : t.Bottom - h;
    }
    if (!FBodyText.empty()) DrawPanelText(canvas, FBodyText, t, TextStyle(!FEllipsis, FBodyHoverIndex), ptmPaint);
    RestoreDC(dc, saved);
}

void TCustomLumPanel::PaintCaption(TCanvas* canvas) {
    if (!FCaption->Visible()) return;
    const TPanelCaption& c = *FCaption;
    const bool onTop = c.Position() == cpTop;
    const bool left = c.ButtonPosition() == cbpLeft;
    const int bevelWidth = BevelWidth();
    const bool themed = Themed();
    const bool xp = c.ShadeType() == stXPCaption && themed;
    TRect w = ClientRect();
    if (FBorderShadow) {
        w.Left = BorderWidth();
        w.Top = BorderWidth();
        w.Right -= BorderWidth() + 2;
    }
    if (BevelOuter() != bvNone || BevelInner() != bvNone) w = Shrink(w, bevelWidth);
    TRect band = onTop ? Rect(w.Left, w.Top, w.Right, w.Top + c.Height() - 2 * bevelWidth)
                       : Rect(w.Left, w.Top, w.Left + c.Height() - 2 * bevelWidth, w.Bottom);
    if (!onTop && FBorderShadow) {
        band.Bottom -= 3;
        w.Bottom -= 3;
    }

    HDC dc = canvas->Handle();
    if (c.ShadeType() != stNormal && (c.ShadeType() != stXPCaption || themed)) {
        if (xp) {
            TThemeData theme(Handle(), "WINDOW");
            theme.DrawBackground(dc, kWindowCaption, 1,
                                 Rect(band.Left - 1, band.Top - 1, band.Right + 1, band.Bottom + 1));
        } else {
            TShadedBand b;
            b.Band = band;
            b.Client = ClientRect();
            b.Type = c.ShadeType();
            b.Shape = c.Shape();
            b.Flat = c.Flat();
            b.CaptionOnLeft = !onTop;
            b.PanelWidth = FWidth;
            b.PanelHeight = FHeight;
            b.Background = c.Background();
            b.Shade = FShade;
            DrawShadedBand(canvas, b);
        }
    } else if (c.ColorTo() == clNone) {
        FillRectIn(canvas, band, FCollaps ? c.CloseColor() : c.Color());
    } else {
        DrawPanelGradient(canvas, c.Color(), c.ColorTo(), c.GradientDirection() == gdHorizontal, band, 64);
    }

    // The visual style's button part, state 1, in its square of the
    // working rectangle.
    auto drawThemed = [&](int part) {
        TThemeData theme(Handle(), "WINDOW");
        const TPoint at = ThemedCaptionButtonOrigin(w, c.ButtonPosition(), c.Position());
        theme.DrawBackground(dc, part, 1, Bounds(at.X, at.Y, 14, 14));
    };

    // ---- Close button ----
    if (c.CloseButton()) {
        const bool glyphs = !c.CloseMinGlyph()->Empty() && !c.CloseMaxGlyph()->Empty();
        if (xp) {
            drawThemed(kWindowCloseButton);
            w = AfterCaptionButton(w, 14, c.ButtonPosition(), c.Position());
        } else if (!glyphs) {
            TColor color =
                FCloseHover && c.CloseButtonHoverColor() != clNone ? c.CloseButtonHoverColor() : c.CloseButtonColor();
            canvas->Pen()->SetColor(color);
            canvas->Pen()->SetWidth(2);
            auto line = [&](int x1, int y1, int x2, int y2) {
                canvas->MoveTo(x1, y1);
                canvas->LineTo(x2, y2);
            };
            if (onTop && !left) {
                line(w.Right - 10, w.Top + 4, w.Right - 4, w.Top + 10);
                line(w.Right - 4, w.Top + 4, w.Right - 10, w.Top + 10);
            } else if (!onTop && left) {
                line(w.Left + 4, w.Bottom - 4, w.Left + 10, w.Bottom - 10);
                line(w.Left + 10, w.Bottom - 4, w.Left + 4, w.Bottom - 10);
            } else {
                line(w.Left + 4, w.Top + 4, w.Left + 10, w.Top + 10);
                line(w.Left + 10, w.Top + 4, w.Left + 4, w.Top + 10);
            }
            canvas->Pen()->SetWidth(1);
            w = AfterCaptionButton(w, 12, c.ButtonPosition(), c.Position());
        } else {
            TBitmap* g = FCollaps ? c.CloseMinGlyph() : c.CloseMaxGlyph();
            const int gw = g->Width(), gh = g->Height();
            if (onTop && !left) {
                DrawGlyph(canvas, w.Right - gw, w.Top + 2, g);
                w.Right -= gw;
            } else if (!onTop && !left) {
                DrawGlyph(canvas, w.Left + 2, w.Top, g);
                w.Top += gh;
            } else if (onTop) {
                DrawGlyph(canvas, w.Left, w.Top + 2, g);
                w.Left += gw;
            } else {
                DrawGlyph(canvas, w.Left + 2, w.Bottom - gh, g);
                w.Bottom -= gh;
            }
        }
    }

    // ---- Collapse button ----
    if (c.MinMaxButton()) {
        TBitmap* g = FCollaps ? c.MaxGlyph() : c.MinGlyph();
        if (xp) {
            drawThemed(FCollaps ? kWindowRestoreButton : kWindowMinButton);
        } else if (g->Empty()) {
            TColor color = FMinMaxHover && c.MinMaxButtonHoverColor() != clNone ? c.MinMaxButtonHoverColor()
                                                                                : c.MinMaxButtonColor();
            canvas->Pen()->SetWidth(1);
            canvas->Pen()->SetColor(color);
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(color);
            // The base row and the point row: swapped between the states.
            const int base = FCollaps ? 5 : 8, tip = FCollaps ? 8 : 5;
            TPoint pts[3];
            if (onTop && !left)
                pts[0] = {w.Right - 10, w.Top + base}, pts[1] = {w.Right - 4, w.Top + base},
                pts[2] = {w.Right - 7, w.Top + tip};
            else if (onTop)
                pts[0] = {w.Left + 4, w.Top + base}, pts[1] = {w.Left + 10, w.Top + base},
                pts[2] = {w.Left + 7, w.Top + tip};
            else if (!left)
                pts[0] = {w.Left + base, w.Top + 10}, pts[1] = {w.Left + base, w.Top + 4},
                pts[2] = {w.Left + tip, w.Top + 7};
            else
                pts[0] = {w.Left + base, w.Bottom - 4}, pts[1] = {w.Left + base, w.Bottom - 10},
                pts[2] = {w.Left + tip, w.Bottom - 7};
            canvas->Polygon(pts);
        } else {
            const int gw = g->Width(), gh = g->Height();
            if (onTop && !left)
                DrawGlyph(canvas, w.Right - gw, w.Top + 2, g);
            else if (onTop)
                DrawGlyph(canvas, w.Left, w.Top + 2, g);
            else if (!left)
                DrawGlyph(canvas, w.Left + 2, w.Top, g);
            else
                DrawGlyph(canvas, w.Left + 2, w.Bottom - gh, g);
        }
    }

    // ---- Caption text ----
    if (c.Text().empty()) return;
    const int shown = int(c.CloseButton()) + int(c.MinMaxButton());
    canvas->SetFont(c.Font());
    if (onTop) {
        TRect t = TopCaptionTextRect(w, c.ButtonPosition(), shown, c.Height(), c.Indent(), c.TopIndent());
        DrawPanelText(canvas, c.Text(), t, TextStyle(false, FCaptionHoverIndex), ptmPaint);
    } else {
        TRect t = LeftCaptionTextRect(w, c.ButtonPosition(), shown, c.Height(), c.Indent(), c.TopIndent());
        canvas->Brush()->SetStyle(bsClear);
        DrawTurnedText(canvas, StripCaptionTags(c.Text()), c.Font(), t, t.Left, t.Bottom);
    }
}

void TCustomLumPanel::PaintStatusBar(TCanvas* canvas) {
    const TPanelStatusBar& s = *FStatusBar;
    if (!s.Visible()) return;
    const bool onTop = FCaption->Position() == cpTop;
    TRect r = onTop ? Rect(1, FHeight - s.Height() - 1, FWidth - 1, FHeight - 1)
                    : Rect(FWidth - s.Height() - 1, 1, FWidth - 1, FHeight - 1);
    if (s.Color() != clNone && s.ColorTo() != clNone)
        DrawPanelGradient(canvas, s.Color(), s.ColorTo(), s.GradientDirection() == gdHorizontal, r, 40);
    else if (s.Color() != clNone)
        FillRectIn(canvas, r, s.Color());
    TRect t = r;
    if (s.ImageIndex() >= 0 && FImages) {
        if (onTop) {
            FImages->Draw(canvas, t.Left + 1, t.Top + 2, s.ImageIndex());
            t.Left += FImages->Width() + 2;
        } else {
            const int y = FCollaps || !FCanSize ? t.Bottom - FImages->Height() - 1 : t.Bottom - FImages->Height() - 12;
            FImages->Draw(canvas, t.Left + 2, y, s.ImageIndex());
            t.Bottom -= FImages->Height() + 2;
        }
    }
    if (!s.Text().empty()) {
        canvas->SetFont(s.Font());
        if (onTop) {
            t.Left += 2;
            DrawPanelText(canvas, s.Text(), t, TextStyle(false, -1), ptmPaint);
        } else {
            DrawTurnedText(canvas, StripCaptionTags(s.Text()), s.Font(), t, t.Left + 2,
                           FCollaps || !FCanSize ? t.Bottom - 2 : t.Bottom - 16);
        }
    }
    if (s.BorderStyle() != bsNone && s.BorderColor() != clNone) {
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(s.BorderColor());
        canvas->Brush()->SetStyle(bsClear);
        if (onTop)
            canvas->Rectangle(0, r.Top, r.Right + 1, r.Bottom + 1);
        else
            canvas->Rectangle(r.Left, r.Top, r.Right + 1, FHeight);
    }
    if (s.BevelInner()) {
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(TColor(0x808080));
        canvas->MoveTo(r.Left, r.Bottom - 1);
        canvas->LineTo(r.Left, r.Top);
        canvas->LineTo(r.Right, r.Top);
        canvas->Pen()->SetColor(clWhite);
        canvas->MoveTo(r.Right - 1, r.Top + 1);
        canvas->LineTo(r.Right - 1, r.Bottom - 1);
        canvas->LineTo(r.Left, r.Bottom - 1);
    }
}

void TCustomLumPanel::PaintSizeGrip(TCanvas* canvas) {
    if (FCollaps || !FCanSize) return;
    TRect r = ClientRect();
    if (BevelOuter() != bvNone || BevelInner() != bvNone) r = Shrink(r, 2 * BevelWidth());
    if (FBorderShadow) {
        r.Right -= 4;
        r.Bottom -= 4;
    }
    const int R = r.Right, B = r.Bottom;
    auto line = [&](int x1, int y1, int x2, int y2) {
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    canvas->Pen()->SetColor(TColor(0x808080));
    canvas->Pen()->SetWidth(2);
    line(R, B - 11, R - 11, B);
    line(R, B - 6, R - 7, B);
    line(R, B - 3, R - 3, B);
    canvas->Pen()->SetColor(clWhite);
    canvas->Pen()->SetWidth(1);
    line(R, B - 12, R - 12, B);
    line(R, B - 8, R - 8, B);
    line(R, B - 4, R - 4, B);
}
