#include "components/pager/lum_office_page_win.h"

#include <algorithm>

#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/core/scopes.h"
#include "classlib/ui/forms.h"
#include "components/pager/lum_office_pager_win.h"
#include "components/pager/pager_draw_win.h"

TClass TLumOfficePage::StaticClass() {
    using C = TLumOfficePage;
    static const TClassInfo info = TClassBuilder<C>("TLumOfficePage")
                                       .Publish(kControlProperties)
                                       .Publish(kWinControlProperties)
                                       .Publish("DoubleBuffered")
                                       .Default(true)
                                       .Prop("WideCaption", &C::WideCaption, &C::SetWideCaption)
                                       .Prop("DisabledPicture", &C::DisabledPicture, &C::SetDisabledPicture)
                                       .Prop("ImageIndex", &C::ImageIndex, &C::SetImageIndex)
                                       .Default(-1)
                                       .Prop("PageAppearance", &C::PageAppearance, &C::SetPageAppearance)
                                       .Prop("UsePageAppearance", &C::UsePageAppearance, &C::SetUsePageAppearance)
                                       .Default(false)
                                       .Prop("Picture", &C::Picture, &C::SetPicture)
                                       .Prop("TabHint", &C::TabHint, &C::SetTabHint)
                                       .Prop("TabVisible", &C::TabVisible, &C::SetTabVisible)
                                       .Default(true)
                                       .Prop("TabEnabled", &C::TabEnabled, &C::SetTabEnabled)
                                       .Default(true)
                                       .Prop("ShowClose", &C::ShowClose, &C::SetShowClose)
                                       .Default(true)
                                       .Prop("OfficeHint", &C::OfficeHint, &C::SetOfficeHint)
                                       .Prop("ShortCutHint", &C::ShortCutHint, &C::SetShortCutHint)
                                       .Prop("ShortCutHintPos", &C::ShortCutHintPos, &C::SetShortCutHintPos)
                                       .Default(shpTop)
                                       .Prop("TabAppearance", &C::TabAppearance, &C::SetTabAppearance)
                                       .Prop("UseTabAppearance", &C::UseTabAppearance, &C::SetUseTabAppearance)
                                       .Default(false)
                                       .Prop("ShowCheckBox", &C::ShowCheckBox, &C::SetShowCheckBox)
                                       .Default(false)
                                       .Prop("Checked", &C::Checked, &C::SetChecked)
                                       .Default(false)
                                       .Prop("OnHide", &C::OnHide, &C::OnHide)
                                       .Prop("OnShow", &C::OnShow, &C::OnShow)
                                       .Build();
    return &info;
}

TLumOfficePage::TLumOfficePage(TComponent* owner)
    : TCustomControl(owner), FPicture(new TGDIPPicture), FDisabledPicture(new TGDIPPicture),
      FPageAppearance(new TVistaBackground), FTabAppearance(new TTabAppearance), FOfficeHint(new TLumHintInfo) {
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Exclude(csOpaque);
    FPicture->OnChange = TNotifyEvent::Bind<&TLumOfficePage::PictureChanged>(this);
    FDisabledPicture->OnChange = TNotifyEvent::Bind<&TLumOfficePage::PictureChanged>(this);
    FTabAppearance->OnChange = TNotifyEvent::Bind<&TLumOfficePage::TabAppearanceChanged>(this);
    FTabAppearance->OnFontChange = TNotifyEvent::Bind<&TLumOfficePage::TabAppearanceFontChanged>(this);
    FPageAppearance->OnChange = TNotifyEvent::Bind<&TLumOfficePage::PageAppearanceChanged>(this);
    SetDoubleBuffered(true);
}

TLumOfficePage::~TLumOfficePage() {
    if (FPager) FPager->RemovePage(this);
    FGlow.Stop();
    delete FOfficeHint;
    delete FPicture;
    delete FDisabledPicture;
    delete FTabAppearance;
    delete FPageAppearance;
}

String TLumOfficePage::TabCaption() const {
    String caption = Caption();
    return caption.empty() ? FWideCaption : caption;
}

void TLumOfficePage::InvalidatePager() {
    if (FPager) FPager->Invalidate();
}

void TLumOfficePage::RebuildIfActiveWithCloseOnTab() {
    if (FPager && FPager->CloseOnTab() && FPager->ActivePage() == this) FPager->UpdateButtons();
}

void TLumOfficePage::SetPager(TLumOfficePager* pager) {
    if (pager == FPager) return;
    if (FPager) FPager->RemovePage(this);
    FMovingPager = true;
    TCustomControl::SetParent(pager);
    FMovingPager = false;
    if (pager) pager->AddPage(this);
    TabAppearanceFontChanged(nullptr);
}

void TLumOfficePage::SetParent(TWinControl* parent) {
    auto* parentPage = dynamic_cast<TLumOfficePage*>(parent);
    auto* parentPager = dynamic_cast<TLumOfficePager*>(parent);
    if (FMovingPager || !FPager || (!parentPage && !parentPager)) {
        TCustomControl::SetParent(parent);
        return;
    }
    TLumOfficePager* target = parentPager ? parentPager : parentPage->FPager;
    if (target && FPager != target) SetPager(target);
    if (FPager != target) throw Exception("Invalid Parent");
    if (parentPage) {
        const int own = PageIndex(), other = parentPage->PageIndex();
        const int count = FPager->PageCount();
        if (own < 0 || own >= count || other < 0 || other >= count)
            throw Exception("Invalid Parent " + std::to_string(own) + ":" + std::to_string(other));
        FPager->MovePage(own, other);
    }
    FPager->Invalidate();
    Invalidate();
    FMovingPager = true;
    TCustomControl::SetParent(FPager);
    FMovingPager = false;
}

void TLumOfficePage::ReadState(TReader* reader) {
    TCustomControl::ReadState(reader);
    if (auto* pager = dynamic_cast<TLumOfficePager*>(reader->Parent())) SetPager(pager);
}

void TLumOfficePage::AdjustClientRect(TRect& rect) {
    rect = Rect(2, 2, Width() - 2, Height() - 2);
    TCustomControl::AdjustClientRect(rect);
}

void TLumOfficePage::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_SHOWINGCHANGED:
        TCustomControl::WndProc(m);
        // The pager's selection fires OnShow itself; this is for a page
        // that comes into sight by other means (its form shows).
        if (Showing() && !(FPager && FPager->FSelectingPage)) OnShow(this);
        return;
    case CM_TEXTCHANGED:
        TCustomControl::WndProc(m);
        Invalidate();
        if (FPager) {
            FPager->Invalidate();
            RebuildIfActiveWithCloseOnTab();
            FPager->UpdateScroller();
        }
        return;
    case CM_ENABLEDCHANGED:
        TCustomControl::WndProc(m);
        InvalidatePager();
        Invalidate();
        return;
    default: break;
    }
    TCustomControl::WndProc(m);
}

void TLumOfficePage::SelectFirst() {
    TCustomForm* form = GetParentForm(this);
    if (!form) return;
    if (TWinControl* first = FindNextControl(nullptr, true, true, false)) form->FocusControl(first);
}

// ---- Property writers -------------------------------------------------------------

void TLumOfficePage::SetWideCaption(const String& value) {
    if (value == FWideCaption) return;
    FWideCaption = value;
    Invalidate();
    if (FPager && Caption().empty()) {
        FPager->Invalidate();
        RebuildIfActiveWithCloseOnTab();
        FPager->UpdateScroller();
    }
}

void TLumOfficePage::SetPicture(TGDIPPicture* value) {
    FPicture->Assign(value);
    InvalidatePager();
    Invalidate();
}

void TLumOfficePage::SetDisabledPicture(TGDIPPicture* value) {
    FDisabledPicture->Assign(value);
    InvalidatePager();
    Invalidate();
}

void TLumOfficePage::SetImageIndex(int value) {
    FImageIndex = value;
    if (!FPager) return;
    if (!IsLoading() && !IsDesigning()) {
        FPager->UpdateButtons();
        FPager->UpdateScroller();
    }
    FPager->Invalidate();
}

void TLumOfficePage::SetUsePageAppearance(bool value) {
    FUsePageAppearance = value;
    Invalidate();
}

void TLumOfficePage::SetUseTabAppearance(bool value) {
    FUseTabAppearance = value;
    TabAppearanceFontChanged(nullptr);
    InvalidatePager();
    Invalidate();
}

void TLumOfficePage::SetTabVisible(bool value) {
    if (value == FTabVisible) return;
    FTabVisible = value;
    if (FPager) {
        if (FPager->CloseOnTab()) FPager->UpdateButtons();
        if (TLumOfficePage* active = FPager->ActivePage()) active->Invalidate();
        FPager->Invalidate();
        FPager->UpdateScroller();
    }
    Invalidate();
}

void TLumOfficePage::SetTabEnabled(bool value) {
    if (value == FTabEnabled) return;
    FTabEnabled = value;
    Invalidate();
    InvalidatePager();
}

void TLumOfficePage::SetShowClose(bool value) {
    if (value == FShowClose) return;
    FShowClose = value;
    // The button may be the one whose click turned ShowClose off: the pager
    // frees it once the click has returned.
    if (!value && FCloseButton) {
        if (FPager) {
            FPager->PostFreeCloseButton(this);
        } else {
            delete FCloseButton;
            FCloseButton = nullptr;
        }
    }
    if (FPager) {
        FPager->UpdateButtons();
        FPager->Invalidate();
    }
    Invalidate();
}

void TLumOfficePage::SetShowCheckBox(bool value) {
    if (value == FShowCheckBox) return;
    FShowCheckBox = value;
    if (FPager) {
        FPager->UpdateButtons();
        FPager->Invalidate();
    }
    Invalidate();
}

void TLumOfficePage::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    InvalidatePager();
    Invalidate();
}

int TLumOfficePage::PageIndex() const { return FPager ? FPager->IndexOfPage(this) : -1; }

void TLumOfficePage::SetPageIndex(int value) {
    if (!FPager || value < 0 || value >= FPager->PageCount()) return;
    FPager->MovePage(PageIndex(), value);
    FPager->Invalidate();
    Invalidate();
}

void TLumOfficePage::PictureChanged(TObject*) {
    if (FPager) {
        FPager->Invalidate();
        if (!IsLoading()) {
            RebuildIfActiveWithCloseOnTab();
            FPager->UpdateScroller();
        }
    }
    Invalidate();
}

void TLumOfficePage::TabAppearanceChanged(TObject*) {
    InvalidatePager();
    Invalidate();
}

void TLumOfficePage::TabAppearanceFontChanged(TObject*) {
    if (!FUseTabAppearance) return;
    Invalidate();
    if (!FPager) return;
    FPager->Invalidate();
    RebuildIfActiveWithCloseOnTab();
    FPager->UpdateScroller();
}

// ---- Key tip and hover ------------------------------------------------------------

void TLumOfficePage::ShowKeyTip() {
    if (!FPager) return;
    if (!FKeyTipWindow) FKeyTipWindow = FPager->CreateShortCutHintWindow();
    FKeyTipWindow->Hide();
    FKeyTipWindow->SetCaption(FShortCutHint);
    const TRect tab = FPager->GetTabRectOfPage(this);
    const TPoint p = FPager->ClientToScreen(tab.TopLeft());
    const TRect size = FKeyTipWindow->CalcHintRect(1000, FShortCutHint, nullptr);
    const int w = size.Width(), h = size.Height();
    const int tw = tab.Width(), th = tab.Height();
    TPoint at{FKeyTipWindow->Left(), FKeyTipWindow->Top()};
    switch (FShortCutHintPos) {
    case shpLeft: at = {p.X - w / 2, p.Y + (th - h) / 2}; break;
    case shpTop: at = {p.X + (tw - w) / 2, p.Y - h / 2}; break;
    case shpRight: at = {p.X + tw - w / 2, p.Y + (th - h) / 2}; break;
    case shpBottom: at = {p.X + (tw - w) / 2, p.Y + th - h / 2}; break;
    default: break;
    }
    FKeyTipWindow->ActivateHint(Bounds(at.X, at.Y, w, h), FShortCutHint);
}

void TLumOfficePage::HideKeyTip() {
    if (!FKeyTipWindow || !FPager) return;
    FKeyTipWindow->Hide();
    FPager->FreeShortCutHintWindow(FKeyTipWindow);
    FKeyTipWindow = nullptr;
}

void TLumOfficePage::RepaintTabs() {
    if (FPager) FPager->InvalidateTab(-1);
}

bool TLumOfficePage::CursorOnTab() {
    if (!FPager) return false;
    POINT screen{};
    GetCursorPos(&screen);
    const TPoint p = FPager->ScreenToClient({screen.x, screen.y});
    return FPager->GetTabRectOfPage(this).Contains(p);
}

void TLumOfficePage::ClearHotTab() {
    if (FPager) FPager->SetHotTabIndex(-1);
}

// ---- Painting ----------------------------------------------------------------------

void TLumOfficePage::PaintBackground(TVistaBackground* a, bool curved) {
    const TTabPosition pos = FPager->TabPosition();
    const auto rgb = [](TColor color) -> std::int64_t {
        return color == clNone ? -1 : std::int64_t(ColorToRGB(color));
    };
    // Everything the rendering depends on, colours as drawn (system
    // colours resolved).
    const TPaintCache::TKey key{rgb(Color()),
                                rgb(a->Color()),
                                rgb(a->ColorTo()),
                                rgb(a->ColorMirror()),
                                rgb(a->ColorMirrorTo()),
                                rgb(a->BorderColor()),
                                a->Gradient(),
                                a->GradientMirror(),
                                pos,
                                curved,
                                FPager->AntiAlias(),
                                Enabled()};
    const auto render = [&](TCanvas* canvas) {
        PaintTwoPartBackground(canvas, Rect(0, 0, Width(), Height()), a->Color(), pos, true, curved,
                               FPager->AntiAlias(), Enabled(), Font(), a->GradientMirror(), a->Gradient(),
                               a->BorderColor(), a->ColorMirrorTo(), a->ColorMirror(), a->ColorTo());
    };
    if (HDC dc = FBackground.Repaint(Width(), Height(), key)) {
        // Over the page's erase colour, as a paint of the page's window has
        // it under the gradient.
        TCanvas picture;
        picture.SetHandle(dc);
        TScopeExit release([&] { picture.SetHandle(nullptr); });
        picture.Brush()->SetStyle(bsSolid);
        picture.Brush()->SetColor(Color());
        picture.FillRect(Rect(0, 0, Width(), Height()));
        render(&picture);
    }
    if (FBackground.Empty())
        render(FCanvas);  // no picture could be made: rendered in place
    else
        FBackground.CopyTo(FCanvas->Handle());
}

void TLumOfficePage::Paint() {
    if (!FPager || !FPager->CurrentStyler()) return;
    TCustomLumOfficePagerStyler* styler = FPager->CurrentStyler();
    TVistaBackground* a = FUsePageAppearance ? FPageAppearance : styler->PageAppearance();
    if (a->Color() != Color()) SetColor(a->Color());
    TCanvas* c = FCanvas;
    const TTabPosition pos = FPager->TabPosition();
    const bool curved = styler->CurvedCorners();
    PaintBackground(a, curved);
    const TRect R = ClientRect();
    const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    auto line = [c](int x1, int y1, int x2, int y2, TColor color) {
        c->Pen()->SetStyle(psSolid);
        c->Pen()->SetColor(color);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    if (a->BorderColor() != clNone) {
        const TColor light = MixColors(clWhite, a->BorderColor(), styler->BlendPercent());
        const int d = curved ? 3 : 2;
        switch (pos) {
        case tpTop:
            line(L + 1, T + d, L + 1, B - 2, light);
            line(Rt - 2, T + d, Rt - 2, B - 2, light);
            line(L + 3, B - 2, Rt - 2, B - 2, light);
            break;
        case tpBottom:
            line(L + 1, T + 2, L + 1, B - d, light);
            line(Rt - 2, T + 2, Rt - 2, B - d, light);
            line(L + 3, T + 1, Rt - 2, T + 1, light);
            break;
        case tpLeft:
            line(L + d, T + 1, Rt - 2, T + 1, light);
            line(L + d, B - 2, Rt - 2, B - 2, light);
            line(Rt - 2, T + 3, Rt - 2, B - 2, light);
            break;
        case tpRight:
            line(L + 2, T + 1, Rt - d, T + 1, light);
            line(L + 2, B - 2, Rt - d, B - 2, light);
            line(L + 1, T + 3, L + 1, B - 2, light);
            break;
        }
    }
    // The gap in the border where the active tab joins the page.
    if (FPager->ActivePage() == this && FPager->TabSettings()->Height() > 0) {
        const TRect tab = FPager->GetTabRectOfPage(this);
        if (tab != NoTabRect) {
            const bool across = pos == tpTop || pos == tpBottom;
            const int margin = FPager->PageMargin();
            int start = (across ? tab.Left : tab.Top) - margin;
            int end = (across ? tab.Right : tab.Bottom) - margin;
            const TRect area = FPager->GetButtonAreaRect();
            if (FPager->LayoutInput().Scroller.Visible) end = std::min(end, (across ? area.Left : area.Top) - margin);
            const int rounding = FPager->TabSettings()->Rounding();
            const bool plain = (FPager->TabSettings()->Shape() == tsRectangle && rounding == 1) ||
                               (!across && !FPager->RotateTabLeftRight() && rounding == 1);
            if (!plain) {
                const int r = rounding / 2;
                switch (FPager->TabSettings()->Shape()) {
                case tsRectangle: start += 1; break;
                case tsLeftRamp:
                    if (pos == tpLeft) {
                        start += 1;
                        end -= r + 1;
                    } else {
                        start += pos == tpRight ? r + 1 : r + 2;
                    }
                    break;
                case tsRightRamp:
                    if (pos == tpLeft) {
                        start += r + 2;
                    } else {
                        start += 1;
                        end -= pos == tpBottom ? r : r + 1;
                    }
                    break;
                case tsLeftRightRamp:
                    start += pos == tpBottom ? r + 1 : r + 2;
                    end -= pos == tpBottom ? r : r + 1;
                    break;
                }
            }
            switch (pos) {
            case tpTop: line(start, 0, end, 0, a->Color()); break;
            case tpBottom: line(start, Height() - 1, end, Height() - 1, a->Color()); break;
            case tpLeft: line(0, start - 1, 0, end - 1, a->Color()); break;
            case tpRight: line(Width() - 1, start - 1, Width() - 1, end - 1, a->Color()); break;
            }
        }
    }
    // Curved corners take the pager's pixels just outside the page.
    if (curved && FPager->PageMargin() > 0) {
        TCanvas* pc = FPager->Canvas();
        const int X = Left(), Y = Top(), W = Width(), H = Height();
        const TColor tl = pc->Pixels(X - 1, Y - 1), tl2 = pc->Pixels(X + 1, Y - 1), tl3 = pc->Pixels(X - 1, Y);
        const TColor bl = pc->Pixels(X - 1, Y + H), tr = pc->Pixels(X + W, Y), br = pc->Pixels(X + W, Y + H);
        c->SetPixels(L, T, tl);
        c->SetPixels(L + 1, T, tl2);
        c->SetPixels(L, T + 1, tl3);
        c->SetPixels(L, B - 1, bl);
        c->SetPixels(L + 1, B - 1, bl);
        c->SetPixels(L, B - 2, bl);
        c->SetPixels(Rt - 1, T, tr);
        c->SetPixels(Rt - 2, T, tr);
        c->SetPixels(Rt - 1, T + 1, tr);
        c->SetPixels(Rt - 1, B - 1, br);
        c->SetPixels(Rt - 2, B - 1, br);
        c->SetPixels(Rt - 1, B - 2, br);
    }
}
