// What the office pager paints: the tab row's background, every tab
// (colours by state and glow, body, check box, picture, caption) and the
// frame round the button area (a page paints itself, lum_office_page_win.cpp),
// and the measure the tab layout takes captions with. The shapes,
// gradients, text and colour blends are the pager's drawing primitives.
#include <algorithm>

#include "classlib/core/scopes.h"
#include "classlib/ui/forms.h"
#include "classlib/ui/themes.h"
#include "components/controls/system_tests_win.h"
#include "components/pager/lum_office_pager_win.h"
#include "components/pager/pager_draw_win.h"
#include "components/pager/pager_tab_colors.h"
#include <vsstyle.h>  // the theme parts and states, after themes.h

namespace {

bool IsNone(TColor c) { return c == clNone; }

// x at p >= 100, y at p <= 0, else mixed (system colours resolved); a
// missing colour takes the other.
TColor PagerBlend(TColor x, TColor y, int p) { return MixPresentColors(x, y, p, &MixColors); }

TTabStateColors StateColors(TColor color, TColor colorTo, TColor mirror, TColor mirrorTo, TColor border, TColor text,
                            TColor highLight, TGDIPGradient gradient, TGDIPGradient gradientMirror) {
    TTabStateColors c;
    c.Color = color;
    c.ColorTo = colorTo;
    c.ColorMirror = mirror;
    c.ColorMirrorTo = mirrorTo;
    c.Border = border;
    c.Text = text;
    c.HighLight = highLight;
    c.Gradient = gradient;
    c.GradientMirror = gradientMirror;
    return c;
}

TTabAppearanceColors ColorsOfAppearance(const TTabAppearance* a) {
    TTabAppearanceColors c;
    c.Normal = StateColors(a->Color(), a->ColorTo(), a->ColorMirror(), a->ColorMirrorTo(), a->BorderColor(),
                           a->TextColor(), a->HighLightColor(), a->Gradient(), a->GradientMirror());
    c.Hot = StateColors(a->ColorHot(), a->ColorHotTo(), a->ColorMirrorHot(), a->ColorMirrorHotTo(), a->BorderColorHot(),
                        a->TextColorHot(), a->HighLightColorHot(), a->GradientHot(), a->GradientMirrorHot());
    c.Selected = StateColors(a->ColorSelected(), a->ColorSelectedTo(), a->ColorMirrorSelected(),
                             a->ColorMirrorSelectedTo(), a->BorderColorSelected(), a->TextColorSelected(),
                             a->HighLightColor(), a->GradientSelected(), a->GradientMirrorSelected());
    c.Disabled = StateColors(a->ColorDisabled(), a->ColorDisabledTo(), a->ColorMirrorDisabled(),
                             a->ColorMirrorDisabledTo(), a->BorderColorDisabled(), a->TextColorDisabled(), clNone,
                             a->GradientDisabled(), a->GradientMirrorDisabled());
    c.BorderColorSelectedHot = a->BorderColorSelectedHot();
    c.BorderColorDown = a->BorderColorDown();
    c.HighLightColorSelected = a->HighLightColorSelected();
    c.HighLightColorSelectedHot = a->HighLightColorSelectedHot();
    c.HighLightColorDown = a->HighLightColorDown();
    c.BackGroundColor = a->BackGround()->Color();
    c.BackGroundColorTo = a->BackGround()->ColorTo();
    return c;
}

}  // namespace

// The painting steps, with the pager's private state at hand.
class TOfficePagerPainter {
public:
    TOfficePagerPainter(TLumOfficePager& pager, TCanvas* canvas)
        : P(pager), C(canvas), L(pager.Layout()), S(pager.FCurrentStyler) {}

    void Paint() {
        if (!S) return;
        DrawTabArea();
        DrawButtonAreaFrame();
    }

private:
    TLumOfficePager& P;
    TCanvas* C;
    TPagerTabLayout& L;
    TCustomLumOfficePagerStyler* S;

    bool ButtonAreaInUse() const { return L.ButtonAreaInUse(); }

    void DrawTabArea() {
        const TRect client = P.ClientRect();
        if (!P.FTransparent) {
            TGradientBackground* bg = S->TabAppearance()->BackGround();
            if (!IsNone(bg->Color()) && !IsNone(bg->ColorTo())) {
                PaintBandedGradient(C, bg->Color(), bg->ColorTo(), bg->Direction() != gdHorizontal, client,
                                    bg->Steps());
            } else if (!IsNone(bg->Color())) {
                C->Brush()->SetStyle(bsSolid);
                C->Brush()->SetColor(bg->Color());
                C->FillRect(client);
            }
        }
        if (ButtonAreaInUse()) {
            const TRect area = L.ButtonAreaRect();
            P.FButtonAreaBitmap->SetSize(area.Width(), area.Height());
            P.FButtonAreaBitmap->Canvas()->CopyRect(Rect(0, 0, area.Width(), area.Height()), C, area);
        }
        if (P.FTabSettings->Height() <= 0) return;
        for (int i = 0; i < P.PageCount(); ++i) DrawTab(i, true);
    }

    void DrawButtonAreaFrame() {
        if (!ButtonAreaInUse()) return;
        const TRect r = L.ButtonAreaRect();
        C->Brush()->SetStyle(bsClear);
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetColor(S->PageAppearance()->BorderColor());
        C->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 5, 5);
    }

    // The visible tab nearest the active one on either side.
    bool IsActiveNeighbour(int index) const {
        const int active = P.ActivePageIndex();
        if (active < 0 || index == active) return false;
        for (int i = active - 1; i >= 0; --i)
            if (P.IsTabVisible(i)) {
                if (i == index) return true;
                break;
            }
        for (int i = active + 1; i < P.PageCount(); ++i)
            if (P.IsTabVisible(i)) return i == index;
        return false;
    }

    TTabColors ColorsOf(int index, const TTabAppearance* a) const {
        TLumOfficePage* page = P.Pages(index);
        const TTabGlow& glow = page->Glow();
        TTabColorState st;
        st.Active = index == P.ActivePageIndex();
        st.Hot = index == P.FHotTabIndex;
        st.Down = index == P.FDownTabIndex && !P.IsDesigning();
        st.PagerFocused = P.Focused();
        st.Enabled = page->TabEnabled() && page->Enabled();
        st.TabEnabled = page->TabEnabled();
        st.ShowNonSelectedTabs = P.FShowNonSelectedTabs;
        st.Transparent = P.FTransparent;
        st.Fading = glow.Running() && glow.State() == TTabGlow::gsHover;
        st.Pulsing = glow.Running() && glow.State() == TTabGlow::gsClick;
        st.GlowPosition = glow.Position();
        st.ClickPosition = glow.ClickPosition();
        return ChooseTabColors(ColorsOfAppearance(a), st, &MixColors);
    }

    void DrawTab(int index, bool allowNeighbourRedraw) {
        TLumOfficePage* page = P.Pages(index);
        if (!page->TabVisible()) return;
        const TRect r = L.TabRect(index);
        if (r == NoTabRect) return;
        const TTabAppearance* a = P.TabAppearanceOf(index);
        const TTabColors c = ColorsOf(index, a);
        if (c.Body) DrawBody(index, r, c, a);
        if (P.OnDrawTab)
            P.OnDrawTab(&P, index, r);
        else
            DrawContent(index, c, a);
        if (ButtonAreaInUse()) {
            const TRect area = L.ButtonAreaRect();
            TRect overlap{std::max(area.Left, r.Left), std::max(area.Top, r.Top), std::min(area.Right, r.Right),
                          std::min(area.Bottom, r.Bottom)};
            if (!overlap.IsEmpty()) {
                const TRect source = Rect(overlap.Left - area.Left, overlap.Top - area.Top, overlap.Right - area.Left,
                                          overlap.Bottom - area.Top);
                C->CopyRect(overlap, P.FButtonAreaBitmap->Canvas(), source);
            }
        }
        // The active tab lies over its neighbours.
        if (allowNeighbourRedraw && IsActiveNeighbour(index)) DrawTab(P.ActivePageIndex(), false);
    }

    void DrawBody(int index, const TRect& r, const TTabColors& c, const TTabAppearance* a) {
        const TTabPosition pos = P.FTabPosition;
        const bool plainSide = (pos == tpLeft || pos == tpRight) && !P.FRotateTabLeftRight;
        const TTabPosition drawPos = plainSide ? tpTop : pos;
        if (L.TabIsRectangular()) {
            PaintTwoPartBackground(C, r, c.Color, drawPos, false, false, P.FAntiAlias, P.Enabled(),
                                   const_cast<TTabAppearance*>(a)->Font(), c.GradientMirror, c.Gradient, c.Border,
                                   c.ColorMirrorTo, c.ColorMirror, c.ColorTo);
            TabDetails(index, r, drawPos, c, a);
            return;
        }
        TRect body = r;
        switch (pos) {
        case tpTop: body.Bottom -= 3; break;
        case tpLeft: body.Right -= 3; break;
        case tpBottom: body.Top += 2; break;
        case tpRight: body.Left += 2; break;
        }
        PaintTabFace(C, body, c.Color, pos, P.FRotateTabLeftRight, P.FTabSettings->Rounding(), P.FTabSettings->Shape(),
                     P.Enabled(), c.GradientMirror, c.Gradient, c.Border, c.ColorMirrorTo, c.ColorMirror, c.ColorTo);
    }

    void Line(int x1, int y1, int x2, int y2, TColor color) {
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetColor(color);
        C->MoveTo(x1, y1);
        C->LineTo(x2, y2);
    }

    // A point of a tab given from its closed edge: u along the edge from
    // its start (left, or top for tabs on the sides), v from the edge
    // toward the page. A tab on top reads them as x - Left, y - Top; the
    // other sides turn the same drawing toward their own open edge.
    struct TTabFrame {
        TRect R;
        TTabPosition Pos;
        int Length() const { return Pos == tpTop || Pos == tpBottom ? R.Right - R.Left : R.Bottom - R.Top; }
        int Depth() const { return Pos == tpTop || Pos == tpBottom ? R.Bottom - R.Top : R.Right - R.Left; }
        TPoint At(int u, int v) const {
            switch (Pos) {
            case tpBottom: return Point(R.Left + u, R.Bottom - 1 - v);
            case tpLeft: return Point(R.Left + v, R.Top + u);
            case tpRight: return Point(R.Right - 1 - v, R.Top + u);
            default: return Point(R.Left + u, R.Top + v);
            }
        }
    };

    // A line from (u1, v1) up to, not including, (u2, v2) of the frame.
    void FrameLine(const TTabFrame& f, int u1, int v1, int u2, int v2, TColor color) {
        const TPoint a = f.At(u1, v1), b = f.At(u2, v2);
        Line(a.X, a.Y, b.X, b.Y, color);
    }

    // The rounded-off corners, the inner light, the shadow and the
    // highlight of a rectangular tab, drawn for a tab on top and turned
    // toward the open edge of a tab on another side.
    void TabDetails(int index, const TRect& r, TTabPosition pos, const TTabColors& c, const TTabAppearance* a) {
        const TTabFrame f{r, pos};
        const int W = f.Length(), H = f.Depth();
        // The neighbouring pixels just outside the tab, read before any is
        // replaced.
        const TPoint outsideStart = f.At(-1, 0), outsideEnd = f.At(W, 0);
        const TColor before = C->Pixels(outsideStart.X, outsideStart.Y);
        const TColor after = C->Pixels(outsideEnd.X, outsideEnd.Y);
        for (int u : {0, 1}) {
            const TPoint p = f.At(u, 0);
            C->SetPixels(p.X, p.Y, before);
        }
        for (int u : {W - 1, W - 2}) {
            const TPoint p = f.At(u, 0);
            C->SetPixels(p.X, p.Y, after);
        }
        TLumOfficePage* page = P.Pages(index);
        const bool lighter = (index == P.ActivePageIndex() && P.Focused()) ||
                             (page->Glow().Running() && page->Glow().State() == TTabGlow::gsHover);
        FrameLine(f, 3, 3, W - 3, 3, PagerBlend(clWhite, c.Color, lighter ? 20 : 50));
        if (!IsNone(a->ShadowColor())) {
            FrameLine(f, W, 3, W, H - 4, a->ShadowColor());
            FrameLine(f, W + 1, 4, W + 1, H - 4, PagerBlend(a->ShadowColor(), a->BackGround()->Color(), 40));
        }
        if (!IsNone(c.HighLight)) {
            FrameLine(f, 3, 1, W - 3, 1, PagerBlend(c.Color, c.Border, 80));
            FrameLine(f, 1, 3, 1, H - 5, c.HighLight);
            FrameLine(f, W - 2, 3, W - 2, H - 5, c.HighLight);
        }
    }

    void DrawCheckBox(TLumOfficePage* page, const TRect& box) {
        // The visual style's check box where the common controls draw
        // themed, else the system's frame control.
        bool themed = false;
        if (P.FComCtl6 && ControlsThemeActive() && !P.IsDesigning()) {
            TThemeData theme(P.Handle(), "BUTTON");
            const int part = page->Checked() ? (page->Enabled() ? CBS_CHECKEDNORMAL : CBS_CHECKEDDISABLED) : 0;
            themed = theme.DrawBackground(C->Handle(), BP_CHECKBOX, part, box);
        }
        RECT rc{box.Left, box.Top, box.Right, box.Bottom};
        UINT state = DFCS_BUTTONCHECK | (page->Checked() ? DFCS_CHECKED : 0) | (page->Enabled() ? 0 : DFCS_INACTIVE);
        if (!themed) DrawFrameControl(C->Handle(), &rc, DFC_BUTTON, state);
    }

    // What the layout placed inside the tab: the check box, the picture
    // and the caption.
    void DrawContent(int index, const TTabColors& c, const TTabAppearance* a) {
        TLumOfficePage* page = P.Pages(index);
        const TTabContentLayout content = L.TabContent(index);
        if (page->ShowCheckBox()) DrawCheckBox(page, content.CheckBox);
        if (!content.Picture.IsEmpty()) {
            const TTabPicture picture = P.TabPictureOf(index);
            const int x = content.Picture.Left, y = content.Picture.Top;
            if (picture.List)
                picture.List->Draw(C, x, y, page->ImageIndex(), page->Enabled() || P.FDisabledImages);
            else if (picture.Picture)
                C->Draw(x, y, picture.Picture);
        }
        const String caption = page->TabCaption();
        if (caption.empty()) return;
        TFont* font = const_cast<TTabAppearance*>(a)->Font();
        C->Font()->Assign(font);
        C->Font()->SetColor(c.Text);
        C->Brush()->SetStyle(bsClear);
        if (content.RotatedText) {
            DrawRotatedCaption(caption, content.TextOrigin, content.TextEscapement);
            return;
        }
        const TPagerTabSettings* ts = P.FTabSettings;
        TRect out;
        TFont drawFont;
        drawFont.Assign(font);
        drawFont.SetColor(c.Text);
        RenderTabCaption(C, TAlignment(int(content.TextAlignment)), content.Text, out, ts->WordWrap(),
                         ts->Width() >= 1 && !ts->WordWrap(), content.TextSide, P.FAntiAlias, true, page->Enabled(),
                         &drawFont, std::wstring(), caption);
    }

    // Plain text in the canvas font turned by escapement, from origin.
    void DrawRotatedCaption(const String& caption, TPoint origin, int escapement) {
        LOGFONTA lf{};
        GetObjectA(C->Font()->Handle(), sizeof lf, &lf);
        lf.lfEscapement = escapement;
        lf.lfOrientation = 30;
        HFONT font = CreateFontIndirectA(&lf);
        HDC dc = C->Handle();
        HGDIOBJ old = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(C->Font()->Color()));
        TextOutA(dc, origin.X, origin.Y, caption.data(), int(caption.size()));
        SelectObject(dc, old);
        DeleteObject(font);
    }
};

// ============================================================================
// Measuring captions for the tab layout
// ============================================================================

// Top and bottom tabs, and side tabs that are not rotated (drawn as top
// tabs), measure their captions with the caption primitive (GDI+ unless the
// pager draws plain GDI text), rotated side tabs with the system's
// single-line measure, on a memory canvas so that measuring
// needs no window.
class TTabCaptionMeasurer : public ITextMeasurer {
public:
    explicit TTabCaptionMeasurer(TLumOfficePager& pager) : FPager(pager), FBitmap(1, 1), FGdi(FBitmap.Canvas()) {}

    void SetFont(const TMeasureFont& font) override {
        FGdi.SetFont(font);
        FFont.SetName(font.Name);
        FFont.SetHeight(font.Height);
        TFontStyles style;
        if (font.Bold) style.Include(fsBold);
        if (font.Italic) style.Include(fsItalic);
        if (font.Underline) style.Include(fsUnderline);
        if (font.StrikeOut) style.Include(fsStrikeOut);
        FFont.SetStyle(style);
    }
    TTextExtent TextExtent(const String& text) override {
        const TTabPosition pos = FPager.TabPosition();
        const bool rotated = (pos == tpLeft || pos == tpRight) && FPager.RotateTabLeftRight();
        if (rotated || text.empty()) return FGdi.TextExtent(text);
        TRect out;
        RenderTabCaption(FBitmap.Canvas(), taLeftJustify, Rect(0, 0, 1000, 100), out, FPager.TabSettings()->WordWrap(),
                         false, pos == tpBottom ? tpBottom : tpTop, FPager.AntiAlias(), false, true, &FFont,
                         std::wstring(), text);
        return {out.Width(), out.Height()};
    }
    TFontMeasures FontMeasures() override { return FGdi.FontMeasures(); }

private:
    TLumOfficePager& FPager;
    TBitmap FBitmap;
    TCanvasTextMeasurer FGdi;
    TFont FFont;
};

std::unique_ptr<ITextMeasurer> MakeTabCaptionMeasurer(TLumOfficePager& pager) {
    return std::make_unique<TTabCaptionMeasurer>(pager);
}

void TLumOfficePager::Paint() {
    if (FTransparent && Parent()) {
        HDC dc = FCanvas->Handle();
        const int saved = SaveDC(dc);
        POINT origin{};
        OffsetViewportOrgEx(dc, -Left(), -Top(), &origin);
        Parent()->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
        Parent()->Perform(WM_PAINT, WPARAM(dc), 0);
        TWinCtrl::PaintChildControls(Parent(), dc, nullptr);
        RestoreDC(dc, saved);
    }
    TOfficePagerPainter(*this, FCanvas).Paint();
}

void TLumOfficePager::PaintTabsTo(TCanvas* canvas) { TOfficePagerPainter(*this, canvas).Paint(); }
