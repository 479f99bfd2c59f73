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

// A glyph drawn with its key colour transparent, premade for one kind of
// device context: the glyph as that kind shows it with the key colour's
// pixels black, and the monochrome mask of those pixels, which
// TransparentBlt makes on every call (and in the same way). A draw is
// then two blits: the mask ANDed in, the glyph ORed.
struct TGlyphMasks {
    HBITMAP Image = nullptr;
    HBITMAP Mask = nullptr;
    ~TGlyphMasks() {
        if (Image) DeleteObject(Image);
        if (Mask) DeleteObject(Mask);
    }
};

// The kind of a device context as TransparentBlt tells them apart: a 32-bit
// window or device bitmap gets a 24-bit copy of the glyph, anything else
// one compatible with it (its depth, a DIB section apart).
int GlyphTargetKind(HDC dc) {
    DIBSECTION dib{};
    const bool memory = GetObjectType(dc) == OBJ_MEMDC;
    const int size = memory ? GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof dib, &dib) : 0;
    const bool isDib = size == int(sizeof dib);
    if (!isDib && GetDeviceCaps(dc, BITSPIXEL) == 32) return 24;
    return (isDib ? 1000 : 0) + (memory ? dib.dsBm.bmBitsPixel : GetDeviceCaps(dc, BITSPIXEL));
}

struct TGlyphMasksKey {
    const TBitmap* Glyph;
    int Kind;
    COLORREF Key;
    auto operator<=>(const TGlyphMasksKey&) const = default;
};

std::map<TGlyphMasksKey, std::unique_ptr<TGlyphMasks>>& GlyphMasks() {
    static std::map<TGlyphMasksKey, std::unique_ptr<TGlyphMasks>> masks;
    return masks;
}

// The glyph's masks for dc's kind, made the first time.
const TGlyphMasks* MasksFor(TBitmap* glyph, HDC dc, COLORREF key) {
    const TGlyphMasksKey id{glyph, GlyphTargetKind(dc), key};
    auto& masks = GlyphMasks();
    if (auto it = masks.find(id); it != masks.end()) return it->second.get();
    const int w = glyph->Width(), h = glyph->Height();
    auto made = std::make_unique<TGlyphMasks>();
    if (id.Kind == 24) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        made->Image = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    } else {
        made->Image = CreateCompatibleBitmap(dc, w, h);
    }
    HDC work = CreateCompatibleDC(dc);
    HDC mask = CreateCompatibleDC(dc);
    made->Mask = CreateCompatibleBitmap(mask, w, h);
    bool ok = made->Image && made->Mask && work && mask;
    if (ok) {
        const HGDIOBJ oldWork = SelectObject(work, made->Image);
        const HGDIOBJ oldMask = SelectObject(mask, made->Mask);
        HDC source = glyph->Canvas()->Handle();
        const int oldMode = GetStretchBltMode(source);
        if (oldMode == BLACKONWHITE || oldMode == WHITEONBLACK) SetStretchBltMode(source, COLORONCOLOR);
        ok = StretchBlt(work, 0, 0, w, h, source, 0, 0, w, h, SRCCOPY);
        SetStretchBltMode(source, oldMode);
        SetBkColor(work, key);
        ok = ok && BitBlt(mask, 0, 0, w, h, work, 0, 0, SRCCOPY);
        SetBkColor(work, RGB(0, 0, 0));
        SetTextColor(work, RGB(255, 255, 255));
        ok = ok && BitBlt(work, 0, 0, w, h, mask, 0, 0, SRCAND);
        SelectObject(work, oldWork);
        SelectObject(mask, oldMask);
    }
    if (work) DeleteDC(work);
    if (mask) DeleteDC(mask);
    if (!ok) return nullptr;
    return masks.emplace(id, std::move(made)).first->second.get();
}

}  // namespace

void DrawOfficeGlyph(TCanvas* canvas, int x, int y, TBitmap* glyph) {
    HDC dc = canvas->Handle();
    const TColor key = glyph->Transparent() ? glyph->TransparentColor() : clNone;
    const TGlyphMasks* masks = key == clNone ? nullptr : MasksFor(glyph, dc, ColorToRGB(key));
    if (!masks) {
        canvas->Draw(x, y, glyph);
        return;
    }
    const int w = glyph->Width(), h = glyph->Height();
    HDC source = CreateCompatibleDC(dc);
    if (!source) {
        canvas->Draw(x, y, glyph);
        return;
    }
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const HGDIOBJ old = SelectObject(source, masks->Mask);
    BitBlt(dc, x, y, w, h, source, 0, 0, SRCAND);
    SelectObject(source, masks->Image);
    BitBlt(dc, x, y, w, h, source, 0, 0, SRCPAINT);
    SelectObject(source, old);
    DeleteDC(source);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

namespace {
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

void FreeOfficeGlyphBitmaps() {
    GlyphMasks().clear();
    GlyphBitmaps().clear();
}

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
    DrawOfficeGlyph(FCanvas, p.X, p.Y, glyph);
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
