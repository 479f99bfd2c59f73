#include "components/controls/panel_shading_win.h"

#include <algorithm>
#include <vector>

namespace {

LongWord Resolve(TColor color) { return ColorToRGB(color); }

// Regions are in device units: the offset of the canvas's logical origin.
POINT DeviceOffset(HDC dc) {
    POINT p{0, 0};
    LPtoDP(dc, &p, 1);
    return p;
}

HRGN MakeRegion(HDC dc, HRGN region) {
    POINT o = DeviceOffset(dc);
    OffsetRgn(region, o.x, o.y);
    return region;
}

// Limits drawing to region (and whatever clipping the DC already has).
void ClipTo(HDC dc, HRGN region) {
    ExtSelectClipRgn(dc, region, RGN_AND);
    DeleteObject(region);
}

void Line(TCanvas* canvas, TColor color, std::initializer_list<TPoint> points) {
    canvas->Pen()->SetColor(color);
    auto it = points.begin();
    canvas->MoveTo(it->X, it->Y);
    for (++it; it != points.end(); ++it) canvas->LineTo(it->X, it->Y);
}

// A round rectangle outline in color, limited to the upper or lower half.
void HalfRoundOutline(TCanvas* canvas, const TRect& r, TColor color, bool lower) {
    HDC dc = canvas->Handle();
    int saved = SaveDC(dc);
    int middle = r.Top + r.Height() / 2;
    HRGN round = MakeRegion(dc, CreateRoundRectRgn(r.Left, r.Top, r.Right + 1, r.Bottom + 1, 32, 32));
    HRGN half = MakeRegion(dc, lower ? CreateRectRgn(r.Left, middle, r.Right + 1, r.Bottom + 1)
                                     : CreateRectRgn(r.Left, r.Top, r.Right + 1, middle));
    CombineRgn(round, round, half, RGN_AND);
    DeleteObject(half);
    ClipTo(dc, round);
    canvas->Pen()->SetColor(color);
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(bsClear);
    canvas->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 32, 32);
    RestoreDC(dc, saved);
}

void DrawPictureBand(TCanvas* canvas, const TShadedBand& b) {
    TBitmap* pic = b.Background;
    const TRect& r = b.Band;
    const int bw = pic->Width(), bh = pic->Height();
    TCanvas* src = pic->Canvas();
    switch (b.Type) {
    case stBitmap: canvas->StretchDraw(r, pic); break;
    case stBitmapRStretch:
        if (!b.CaptionOnLeft) {
            canvas->Draw(r.Left, r.Top, pic);
            canvas->CopyRect(Rect(bw, r.Top, r.Right, r.Bottom), src, Rect(bw - 3, 0, bw, bh));
        } else {
            canvas->Draw(r.Left, r.Bottom - bh, pic);
            canvas->CopyRect(Rect(r.Left, r.Top, r.Right, r.Bottom - bh), src, Rect(0, 0, bw, 3));
        }
        break;
    case stBitmapLStretch:
        if (!b.CaptionOnLeft) {
            int d = std::max(0, b.PanelWidth - bw);
            canvas->Draw(r.Left + d, r.Top, pic);
            canvas->CopyRect(Rect(0, r.Top, d, r.Bottom), src, Rect(0, 0, 2, bh));
        } else {
            canvas->Draw(r.Left, r.Top, pic);
            canvas->CopyRect(Rect(0, r.Bottom - std::max(0, b.PanelHeight - bh), r.Right, r.Bottom), src,
                             Rect(0, bh - 3, bw, bh));
        }
        break;
    default: break;
    }
}

}  // namespace

TColor BlendColor(TColor c1, TColor c2, int percent) { return BlendColor(c1, c2, percent, &Resolve); }

void DrawPanelGradient(TCanvas* canvas, TColor startColor, TColor endColor, bool horizontal, const TRect& rect,
                       int steps) {
    // Bands the clip leaves out are not filled (nor a brush made for them):
    // a see-through child's paint of the panel behind it clips to its own
    // rectangle. The pen and brush end in the last band's colour all the same.
    RECT clip{};
    const bool clipped = GetClipBox(canvas->Handle(), &clip) != ERROR;
    const std::vector<TPanelGradientBand> bands =
        PanelGradientBands(ColorToRGB(startColor), ColorToRGB(endColor), horizontal, rect, steps);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const TPanelGradientBand& band = bands[i];
        const bool shown = !clipped || (band.Rect.Right > clip.left && band.Rect.Left < clip.right &&
                                        band.Rect.Bottom > clip.top && band.Rect.Top < clip.bottom);
        if (!shown && i + 1 < bands.size()) continue;
        TColor c = TColor(int(band.Color));
        canvas->Pen()->SetColor(c);
        canvas->Brush()->SetColor(c);
        if (shown) canvas->FillRect(band.Rect);
    }
}

void DrawMirrorGradient(TCanvas* canvas, const TRect& rect, TColor colorFrom, TColor colorTo, TColor mirrorFrom,
                        TColor mirrorTo, TGradientDirection direction) {
    if (colorFrom == clNone) return;
    const bool horizontal = direction == gdHorizontal;
    auto [first, second] = MirrorHalves(rect, horizontal);
    DrawPanelGradient(canvas, colorFrom, colorTo, horizontal, first, kMaxGradientSteps);
    DrawPanelGradient(canvas, mirrorFrom, mirrorTo, horizontal, second, kMaxGradientSteps);
}

void ShadeToBitmap(const TShadePixels& pixels, TBitmap* bitmap) {
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(pixels.Width(), pixels.Height());
    for (int y = 0; y < pixels.Height(); ++y) {
        auto* row = static_cast<LongWord*>(bitmap->ScanLine(y));
        for (int x = 0; x < pixels.Width(); ++x) {
            LongWord c = pixels.At(x, y);
            // 0x00BBGGRR to the DIB's blue, green, red byte order.
            row[x] = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
        }
    }
}

void DrawShadedBand(TCanvas* canvas, const TShadedBand& b) {
    const bool pictureType = b.Type == stBitmap || b.Type == stBitmapRStretch || b.Type == stBitmapLStretch;
    if (pictureType && b.Background && !b.Background->Empty()) {
        DrawPictureBand(canvas, b);
        return;
    }
    HDC dc = canvas->Handle();
    TRect r = b.Band;
    const int saved = SaveDC(dc);
    canvas->Pen()->SetWidth(1);
    HRGN clip = nullptr;
    switch (b.Shape) {
    case csRectangle:
        if (!b.Flat) {
            Line(canvas, TColor(0x808080), {{r.Left, r.Bottom - 1}, {r.Right - 1, r.Bottom - 1}, {r.Right - 1, r.Top}});
            canvas->Pen()->SetColor(clWhite);
            canvas->LineTo(r.Left, r.Top);
            canvas->LineTo(r.Left, r.Bottom - 1);
            r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        }
        clip = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
        break;
    case csRounded:
    case csSemiRounded: {
        HalfRoundOutline(canvas, r, TColor(0x808080), true);
        HalfRoundOutline(canvas, r, clWhite, false);
        int inner = SaveDC(dc);
        ClipTo(dc, MakeRegion(dc, CreateRectRgn(b.Client.Left, b.Client.Top, b.Client.Right, b.Client.Bottom)));
        if (b.Shape == csRounded) {
            Line(canvas, TColor(0x808080), {{r.Left + 16, r.Bottom - 1}, {r.Right - 16, r.Bottom - 1}});
            r.Top += 1;
            RestoreDC(dc, inner);
            clip = CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom, 32, 32);
        } else {
            Line(canvas, clWhite, {{r.Left + r.Width() / 2, r.Top}, {r.Left, r.Top}, {r.Left, r.Bottom - 1}});
            canvas->Pen()->SetColor(TColor(0x808080));
            canvas->LineTo(r.Right - 16, r.Bottom - 1);
            r.Left += 1;
            r.Top += 1;
            RestoreDC(dc, inner);
            clip = CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom, 32, 32);
            HRGN square = CreateRectRgn(r.Left, r.Top, r.Right - r.Width() / 2, r.Bottom - 1);
            CombineRgn(clip, clip, square, RGN_OR);
            DeleteObject(square);
        }
        break;
    }
    }
    RECT box{};
    GetRgnBox(clip, &box);
    ClipTo(dc, MakeRegion(dc, clip));
    if (b.Shade && !b.Shade->Empty()) canvas->Draw(box.left, box.top, b.Shade);
    RestoreDC(dc, saved);
}
