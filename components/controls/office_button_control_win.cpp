#include "components/controls/office_button_control_win.h"

#include <map>
#include <memory>
#include <string>

#include "classlib/os/shell.h"
#include "classlib/ui/bitmaps.h"
#include "classlib/ui/themes.h"
#include "components/controls/system_tests_win.h"
#include "components/foundation/version_text.h"
#include "components/foundation/visual_styles_win.h"

namespace {

std::map<std::string, std::unique_ptr<TBitmap>>& GlyphBitmaps() {
    static std::map<std::string, std::unique_ptr<TBitmap>> bitmaps;
    return bitmaps;
}

TGlyphLayout GlyphLayout(TTextLayout layout) { return TGlyphLayout(int(layout)); }

}  // namespace

static_assert(int(tlTop) == int(TGlyphLayout::Top) && int(tlBottom) == int(TGlyphLayout::Bottom));
static_assert(int(cbGrayed) == int(TGlyphCheck::Grayed) && int(cbChecked) == int(TGlyphCheck::Checked));

TBitmap* OfficeGlyphBitmap(const char* name) {
    auto& bitmaps = GlyphBitmaps();
    auto it = bitmaps.find(name);
    if (it != bitmaps.end()) return it->second.get();
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName(GetModuleHandleA(nullptr), name);
    // The bottom-left pixel's colour shows what is behind.
    bitmap->SetTransparent(true);
    return bitmaps.emplace(name, std::move(bitmap)).first->second.get();
}

void FreeOfficeGlyphBitmaps() { GlyphBitmaps().clear(); }

TClass TLumOfficeButtonControl::StaticClass() {
    using C = TLumOfficeButtonControl;
    static const TClassInfo info = TClassBuilder<C>("TLumOfficeButtonControl")
                                       .Declare("Alignment", &C::FAlignment, &C::SetAlignment)
                                       .Default(taLeftJustify)
                                       .Declare("ButtonVertAlign", &C::FButtonVertAlign, &C::SetButtonVertAlign)
                                       .Default(tlTop)
                                       .Declare("DisabledFontColor", &C::FDisabledFontColor, &C::SetDisabledFontColor)
                                       .Default(TColor(0x808080))
                                       .Declare("Down", &C::FDown, &C::SetDown)
                                       .Default(false)
                                       .Declare("Ellipsis", &C::FEllipsis, &C::SetEllipsis)
                                       .Default(false)
                                       .Declare("Images", &C::FImages, &C::SetImages)
                                       .Declare("PictureContainer", &C::FPictureContainer, &C::SetPictureContainer)
                                       .Declare("ReturnIsTab", &C::FReturnIsTab, &C::SetReturnIsTab)
                                       .Default(false)
                                       .Declare("ShadowColor", &C::FShadowColor, &C::SetShadowColor)
                                       .Default(TColor(0x808080))
                                       .Declare("ShadowOffset", &C::FShadowOffset, &C::SetShadowOffset)
                                       .Default(1)
                                       .Declare("ShowFocus", &C::FShowFocus, &C::SetShowFocus)
                                       .Default(true)
                                       .Declare("Themed", &C::FThemed, &C::SetThemed)
                                       .Default(false)
                                       .Declare("URLColor", &C::FURLColor, &C::SetURLColor)
                                       .Default(TColor(0xFF0000))
                                       .Declare("Version", &C::Version, &C::SetVersion)
                                       .Stored(false)
                                       .Declare("OnAnchorClick", &C::OnAnchorClick, &C::OnAnchorClick)
                                       .Declare("OnAnchorEnter", &C::OnAnchorEnter, &C::OnAnchorEnter)
                                       .Declare("OnAnchorExit", &C::OnAnchorExit, &C::OnAnchorExit)
                                       .Build();
    return &info;
}

TLumOfficeButtonControl::TLumOfficeButtonControl(TComponent* owner) : TCustomControl(owner) {
    // The controls turn presses into clicks themselves, and capture the
    // mouse only while a press lasts.
    FControlStyle = {csSetCaption, csDoubleClicks};
    FPictureCache = new THTMLPictureCache;
}

TLumOfficeButtonControl::~TLumOfficeButtonControl() { delete FPictureCache; }

String TLumOfficeButtonControl::Version() const { return PackedVersionText(GetVersionNr()); }

// ---- Writers ----

void TLumOfficeButtonControl::SetAlignment(TAlignment value) {
    if (value == taCenter || value == FAlignment) return;
    FAlignment = value;
    Invalidate();
}

void TLumOfficeButtonControl::SetButtonVertAlign(TTextLayout value) {
    if (value == FButtonVertAlign) return;
    FButtonVertAlign = value;
    Invalidate();
}

void TLumOfficeButtonControl::SetDisabledFontColor(TColor value) {
    if (value == FDisabledFontColor) return;
    FDisabledFontColor = value;
    Invalidate();
}

void TLumOfficeButtonControl::SetEllipsis(bool value) {
    if (value == FEllipsis) return;
    FEllipsis = value;
    Invalidate();
}

void TLumOfficeButtonControl::SetImages(TCustomImageList* value) {
    ReplaceReference(FImages, value);
    Invalidate();
}

void TLumOfficeButtonControl::SetPictureContainer(TPictureContainer* value) {
    ReplaceReference(FPictureContainer, value);
    Invalidate();
}

void TLumOfficeButtonControl::SetShadowColor(TColor value) {
    if (value == FShadowColor) return;
    FShadowColor = value;
    Invalidate();
}

void TLumOfficeButtonControl::SetShadowOffset(int value) {
    if (value == FShadowOffset) return;
    FShadowOffset = value;
    Invalidate();
}

void TLumOfficeButtonControl::SetThemed(bool value) {
    if (value == FThemed) return;
    FThemed = value;
    Invalidate();
}

void TLumOfficeButtonControl::SetURLColor(TColor value) {
    if (value == FURLColor && !IsRadio()) return;
    FURLColor = value;
    Invalidate();
}

void TLumOfficeButtonControl::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FImages) FImages = nullptr;
    if (component == FPictureContainer) FPictureContainer = nullptr;
}

void TLumOfficeButtonControl::SetBounds(int left, int top, int width, int height) {
    TCustomControl::SetBounds(left, top, width, height);
    Invalidate();
}

void TLumOfficeButtonControl::Loaded() {
    TCustomControl::Loaded();
    FSavedCursor = FCursor;
}

// ---- Painting ----

TOfficeCaptionStyle TLumOfficeButtonControl::CaptionStyle() const {
    TOfficeCaptionStyle s;
    s.Images = FImages;
    s.PictureContainer = FPictureContainer;
    s.PictureCache = FPictureCache;
    s.ShadowColor = FShadowColor;
    s.ShadowOffset = FShadowOffset;
    s.URLColor = FURLColor;
    s.Ellipsis = FEllipsis;
    return s;
}

bool TLumOfficeButtonControl::ThemedGlyph() const {
    return IsWinXP() && FThemed && ControlsThemeActive() && CommonControlsMajorVersion() > 5;
}

void TLumOfficeButtonControl::DrawGlyph() {
    const bool radio = IsRadio();
    const TGlyphLook look{GlyphCheck(), FEnabled, FDown, FHot};
    const TSize client{ClientWidth(), ClientHeight()};
    const int textHeight = FCanvas->TextHeight("gh");
    if (ThemedGlyph()) {
        TThemeData theme(FHandle, "BUTTON");
        if (theme.IsOpen()) {
            const TPoint p =
                OfficeGlyphPlace(radio, true, RightSide(), GlyphLayout(FButtonVertAlign), client, textHeight, TSize{});
            theme.DrawBackground(FCanvas->Handle(), radio ? 2 : 3,
                                 radio ? RadioButtonThemeState(look) : CheckBoxThemeState(look),
                                 Bounds(p.X, p.Y, kThemedGlyphSize, kThemedGlyphSize));
            return;
        }
    }
    TBitmap* glyph = OfficeGlyphBitmap(radio ? RadioButtonGlyphResource(look) : CheckBoxGlyphResource(look));
    const TPoint p = OfficeGlyphPlace(radio, false, RightSide(), GlyphLayout(FButtonVertAlign), client, textHeight,
                                      TSize{glyph->Width(), glyph->Height()});
    FCanvas->Draw(p.X, p.Y, glyph);
}

void TLumOfficeButtonControl::Paint() {
    DrawParentBackground(this, FCanvas->Handle());
    FCanvas->SetFont(FFont);
    DrawGlyph();

    const String caption = Caption();
    TOfficeCaptionStyle style = CaptionStyle();
    TSize size;
    const TRect text = CaptionPlace(style, size);
    if (FEnabled) {
        DrawOfficeCaption(FCanvas, caption, text, style, false);
    } else {
        // Engraved: a white copy one pixel right and down, then the grey.
        TOfficeCaptionStyle engraved = style;
        engraved.URLColor = clWhite;
        FCanvas->Font()->SetColor(clWhite);
        DrawOfficeCaption(FCanvas, caption, Rect(text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1),
                          engraved, false);
        style.URLColor = TColor(0x808080);
        FCanvas->Font()->SetColor(FDisabledFontColor);
        DrawOfficeCaption(FCanvas, caption, text, style, false);
    }
    DrawFocus(text, size);
}

TRect TLumOfficeButtonControl::CaptionPlace(const TOfficeCaptionStyle& style, TSize& size) {
    const bool radio = IsRadio();
    const String caption = Caption();
    TRect text = OfficeCaptionRect(radio, RightSide(), ClientRect());
    size = DrawOfficeCaption(FCanvas, caption, text, style, true);
    if (UseRightToLeftAlignment()) {
        // The width of the lines the paint shows.
        size.cx = OfficeCaptionShownSize(FCanvas, caption, text, style).cx;
        text = OfficeCaptionRightToLeft(text, size.cx);
    }
    if (radio) text = RadioCaptionAligned(text, GlyphLayout(FButtonVertAlign), size.cy);
    return text;
}

void TLumOfficeButtonControl::InvalidateGlyph(int width) {
    if (!FHandle || !FParent) return;
    const RECT r = RightSide() ? RECT{FWidth - width, 0, FWidth, FHeight} : RECT{0, 0, width, FHeight};
    InvalidateRect(FHandle, &r, FALSE);
}

// ---- Anchors ----

String TLumOfficeButtonControl::AnchorAt(TPoint point) {
    if (!FHandle) return String();
    FCanvas->SetFont(FFont);
    const TOfficeCaptionStyle style = CaptionStyle();
    TSize size;
    const TRect text = CaptionPlace(style, size);
    return OfficeCaptionAnchorAt(FCanvas, Caption(), text, style, point);
}

void TLumOfficeButtonControl::FollowAnchor(const String& anchor) {
    if (anchor.find("://") != String::npos || anchor.find("mailto:") != String::npos)
        ShellOpen(FHandle, anchor);
    else
        OnAnchorClick(this, anchor);
}

void TLumOfficeButtonControl::PressAt(TShiftState shift, int x, int y, bool onAnchor) {
    FPressed = true;
    const String anchor = onAnchor ? AnchorAt(Point(x, y)) : String();
    if (!anchor.empty()) {
        FollowAnchor(anchor);
    } else {
        TCustomControl::MouseDown(mbLeft, shift, x, y);
        SetMouseCapture(true);
        FDown = true;
    }
    InvalidateGlyph(16);
}

void TLumOfficeButtonControl::MouseMove(TShiftState shift, int x, int y) {
    if (MouseCapture()) {
        const bool down = PointInside(x, y);
        if (down != FDown) {
            FDown = down;
            InvalidateGlyph(16);
        }
    }
    if (FFocused) TrackAnchor(Point(x, y));
    TCustomControl::MouseMove(shift, x, y);
}

void TLumOfficeButtonControl::TrackAnchor(TPoint point) {
    const String anchor = AnchorAt(point);
    if (!anchor.empty()) {
        if (anchor != FLastAnchor || FCursor == FSavedCursor) {
            FLastAnchor = anchor;
            SetCursor(crHandPoint);
            OnAnchorEnter(this, anchor);
        }
    } else if (FCursor == crHandPoint) {
        SetCursor(FSavedCursor);
        OnAnchorExit(this, FLastAnchor);
        FLastAnchor.clear();
    }
}

// ---- Keys and messages ----

void TLumOfficeButtonControl::KeyDown(Word& key, TShiftState shift) {
    if (key == VK_RETURN && FReturnIsTab) {
        key = VK_TAB;
        if (FHandle) PostMessageA(FHandle, WM_KEYDOWN, VK_TAB, 0);
    }
    TCustomControl::KeyDown(key, shift);
}

void TLumOfficeButtonControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND: return WMEraseBkgnd(m);
    // The press itself decides when it takes the focus (the class
    // library's windowed controls take it before the press is seen).
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return TControl::WndProc(m);
    case CM_MOUSEENTER: return CMMouseEnter(m);
    case CM_MOUSELEAVE: return CMMouseLeave(m);
    case CM_ENABLEDCHANGED: return CMEnabledChanged(m);
    case CM_TEXTCHANGED: return CMTextChanged(m);
    case CM_ENTER: return CMEnter(m);
    case CM_EXIT: return CMExit(m);
    default: return TCustomControl::WndProc(m);
    }
}

// The whole control paints over the parent's background itself.
void TLumOfficeButtonControl::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TLumOfficeButtonControl::CMMouseEnter(TMessage& m) {
    TCustomControl::WndProc(m);
    if (m.LParam != 0 && m.LParam != LPARAM(this)) return;
    FHot = true;
    InvalidateGlyph(20);
    Update();
}

void TLumOfficeButtonControl::CMMouseLeave(TMessage& m) {
    TCustomControl::WndProc(m);
    if (m.LParam != 0 && m.LParam != LPARAM(this)) return;
    FHot = false;
    InvalidateGlyph(20);
    Update();
}

void TLumOfficeButtonControl::CMEnabledChanged(TMessage& m) {
    TCustomControl::WndProc(m);
    Invalidate();
}

void TLumOfficeButtonControl::CMTextChanged(TMessage& m) {
    TCustomControl::WndProc(m);
    Invalidate();
}

void TLumOfficeButtonControl::CMEnter(TMessage& m) {
    TCustomControl::WndProc(m);
    FFocused = true;
    Invalidate();
}

void TLumOfficeButtonControl::CMExit(TMessage& m) {
    TCustomControl::WndProc(m);
    FFocused = false;
    Invalidate();
}
