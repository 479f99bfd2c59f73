#include "classlib/ui/graphics.h"

#include <cstring>
#include <utility>
#include <vector>

#include "classlib/ui/gdi_helpers.h"
#include "classlib/ui/pictures.h"

LongWord ColorToRGB(TColor color) {
    if (IsSystemColor(color)) return LongWord(GetSysColor(int(unsigned(color) & 0xFF)));
    return LongWord(unsigned(color));
}

int ScreenPixelsPerInch() {
    static const int ppi = [] {
        TScreenDC screen;
        int v = screen.Handle() ? GetDeviceCaps(screen.Handle(), LOGPIXELSY) : 0;
        return v > 0 ? v : 96;
    }();
    return ppi;
}

// ---- TGraphicsObject ----------------------------------------------------------------

TClass TGraphicsObject::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGraphicsObject>("TGraphicsObject").Build();
    return &info;
}

void TGraphicsObject::Changed() { Announce(ReleaseHandle()); }

void TGraphicsObject::Announce(HGDIOBJ oldHandle) {
    struct TFreeAfter {
        HGDIOBJ Handle;
        ~TFreeAfter() {
            if (Handle) DeleteObject(Handle);
        }
    } old{oldHandle};
    OnChange(this);
}

// ---- TFont ---------------------------------------------------------------------------

TClass TFont::StaticClass() {
    static const TClassInfo info = TClassBuilder<TFont>("TFont")
                                       .Prop("Charset", &TFont::Charset, &TFont::SetCharset)
                                       .Type(&TypeInfoFontCharset)
                                       .Prop("Color", &TFont::Color, &TFont::SetColor)
                                       .Prop("Height", &TFont::Height, &TFont::SetHeight)
                                       .Prop("Name", &TFont::Name, &TFont::SetName)
                                       .Default(TFont::DefaultName)
                                       .Prop("Pitch", &TFont::Pitch, &TFont::SetPitch)
                                       .Default(fpDefault)
                                       .Prop("Size", &TFont::Size, &TFont::SetSize)
                                       .Stored(false)
                                       .Prop("Style", &TFont::Style, &TFont::SetStyle)
                                       .Build();
    return &info;
}

TFont::TFont() : FPixelsPerInch(ScreenPixelsPerInch()) {}

TFont::~TFont() {
    if (HGDIOBJ handle = ReleaseHandle()) DeleteObject(handle);
}

HGDIOBJ TFont::ReleaseHandle() { return std::exchange(FHandle, nullptr); }

void TFont::Assign(TPersistent* source) {
    if (auto* f = dynamic_cast<TFont*>(source)) {
        if (f == this) return;
        FColor = f->FColor;
        FName = f->FName;
        FPitch = f->FPitch;
        FCharset = f->FCharset;
        FStyle = f->FStyle;
        // Keep the point size when the two fonts are for different devices.
        FHeight = FPixelsPerInch == f->FPixelsPerInch ? f->FHeight : -MulDiv(f->Size(), FPixelsPerInch, 72);
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

// The quality the system's font smoothing setting gives a font of default
// quality, named explicitly: the same glyphs, without the system looking
// its setting up again each time the font is selected.
static BYTE SystemFontQuality() {
    static const BYTE quality = [] {
        BOOL smoothing = FALSE;
        if (!SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &smoothing, 0)) return BYTE(DEFAULT_QUALITY);
        if (!smoothing) return BYTE(NONANTIALIASED_QUALITY);
        UINT type = 0;
        if (!SystemParametersInfoA(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0)) return BYTE(DEFAULT_QUALITY);
        return BYTE(type == FE_FONTSMOOTHINGCLEARTYPE ? CLEARTYPE_QUALITY : ANTIALIASED_QUALITY);
    }();
    return quality;
}

HFONT TFont::Handle() {
    if (!FHandle) {
        LOGFONTA lf{};
        lf.lfHeight = FHeight;
        lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = FStyle.Contains(fsItalic);
        lf.lfUnderline = FStyle.Contains(fsUnderline);
        lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
        lf.lfCharSet = FCharset;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = SystemFontQuality();
        lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
        std::strncpy(lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
        FHandle = CreateFontIndirectA(&lf);
    }
    return FHandle;
}

void TFont::SetHandle(HFONT value) {
    if (value == FHandle) return;
    LOGFONTA lf{};
    if (value && GetObjectA(value, sizeof lf, &lf) != 0) {
        FHeight = lf.lfHeight;
        FName = lf.lfFaceName;
        FCharset = lf.lfCharSet;
        FPitch = (lf.lfPitchAndFamily & 3) == FIXED_PITCH      ? fpFixed
                 : (lf.lfPitchAndFamily & 3) == VARIABLE_PITCH ? fpVariable
                                                               : fpDefault;
        FStyle = {};
        if (lf.lfWeight >= FW_BOLD) FStyle.Include(fsBold);
        if (lf.lfItalic) FStyle.Include(fsItalic);
        if (lf.lfUnderline) FStyle.Include(fsUnderline);
        if (lf.lfStrikeOut) FStyle.Include(fsStrikeOut);
    }
    HGDIOBJ old = ReleaseHandle();
    FHandle = value;
    Announce(old);
}

void TFont::SetColor(TColor value) {
    if (FColor == value) return;
    FColor = value;
    // The colour is not part of the GDI font: keep the handle.
    OnChange(this);
}

void TFont::SetHeight(int value) {
    if (FHeight == value) return;
    FHeight = value;
    Changed();
}

void TFont::SetName(const String& value) {
    if (FName == value || value.empty()) return;
    FName = value;
    Changed();
}

void TFont::SetPitch(TFontPitch value) {
    if (FPitch == value) return;
    FPitch = value;
    Changed();
}

void TFont::SetCharset(TFontCharset value) {
    if (FCharset == value) return;
    FCharset = value;
    Changed();
}

void TFont::SetStyle(TFontStyles value) {
    if (FStyle == value) return;
    FStyle = value;
    Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int value) { SetHeight(-MulDiv(value, FPixelsPerInch, 72)); }

// ---- TPen ------------------------------------------------------------------------------

TClass TPen::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPen>("TPen")
                                       .Prop("Color", &TPen::Color, &TPen::SetColor)
                                       .Default(clBlack)
                                       .Prop("Mode", &TPen::Mode, &TPen::SetMode)
                                       .Default(pmCopy)
                                       .Prop("Style", &TPen::Style, &TPen::SetStyle)
                                       .Default(psSolid)
                                       .Prop("Width", &TPen::Width, &TPen::SetWidth)
                                       .Default(1)
                                       .Build();
    return &info;
}

TPen::~TPen() {
    if (HGDIOBJ handle = ReleaseHandle()) DeleteObject(handle);
}

HGDIOBJ TPen::ReleaseHandle() { return std::exchange(FHandle, nullptr); }

void TPen::Assign(TPersistent* source) {
    if (auto* p = dynamic_cast<TPen*>(source)) {
        if (p == this) return;
        FColor = p->FColor;
        FMode = p->FMode;
        FStyle = p->FStyle;
        FWidth = p->FWidth;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

HPEN TPen::Handle() {
    if (!FHandle) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        FHandle = CreatePen(styles[FStyle], FWidth, ColorToRGB(FColor));
    }
    return FHandle;
}

void TPen::SetHandle(HPEN value) {
    if (value == FHandle) return;
    LOGPEN lp{};
    if (value && GetObjectA(value, sizeof lp, &lp) == sizeof lp) {
        FWidth = lp.lopnWidth.x;
        FColor = TColor(int(lp.lopnColor));
        switch (lp.lopnStyle & PS_STYLE_MASK) {
        case PS_DASH: FStyle = psDash; break;
        case PS_DOT: FStyle = psDot; break;
        case PS_DASHDOT: FStyle = psDashDot; break;
        case PS_DASHDOTDOT: FStyle = psDashDotDot; break;
        case PS_NULL: FStyle = psClear; break;
        case PS_INSIDEFRAME: FStyle = psInsideFrame; break;
        default: FStyle = psSolid; break;
        }
    }
    HGDIOBJ old = ReleaseHandle();
    FHandle = value;
    Announce(old);
}

void TPen::SetColor(TColor value) {
    if (FColor == value) return;
    FColor = value;
    Changed();
}

void TPen::SetMode(TPenMode value) {
    if (FMode == value) return;
    FMode = value;
    // The mode is the DC's, not the pen's: keep the handle.
    OnChange(this);
}

void TPen::SetStyle(TPenStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    Changed();
}

void TPen::SetWidth(int value) {
    if (FWidth == value || value < 0) return;
    FWidth = value;
    Changed();
}

// ---- TBrush -----------------------------------------------------------------------------

TClass TBrush::StaticClass() {
    static const TClassInfo info = TClassBuilder<TBrush>("TBrush")
                                       .Prop("Color", &TBrush::Color, &TBrush::SetColor)
                                       .Default(clWhite)
                                       .Prop("Style", &TBrush::Style, &TBrush::SetStyle)
                                       .Default(bsSolid)
                                       .Build();
    return &info;
}

TBrush::~TBrush() {
    if (HGDIOBJ handle = ReleaseHandle()) DeleteObject(handle);
}

HGDIOBJ TBrush::ReleaseHandle() {
    HGDIOBJ owned = FOwnsHandle ? FHandle : nullptr;
    FHandle = nullptr;
    FOwnsHandle = false;
    return owned;
}

void TBrush::Assign(TPersistent* source) {
    if (auto* b = dynamic_cast<TBrush*>(source)) {
        if (b == this) return;
        FColor = b->FColor;
        FStyle = b->FStyle;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

HBRUSH TBrush::Handle() {
    if (!FHandle) {
        if (FStyle == bsClear || FColor == clNone) {
            FHandle = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
            FOwnsHandle = false;
        } else if (FStyle == bsSolid) {
            FHandle = CreateSolidBrush(ColorToRGB(FColor));
            FOwnsHandle = true;
        } else {
            static const int hatches[] = {0,        0,           HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL,
                                          HS_CROSS, HS_DIAGCROSS};
            FHandle = CreateHatchBrush(hatches[FStyle], ColorToRGB(FColor));
            FOwnsHandle = true;
        }
    }
    return FHandle;
}

void TBrush::SetColor(TColor value) {
    if (FColor == value && !(FStyle == bsClear && value != clNone)) return;
    FColor = value;
    if (value == clNone)
        FStyle = bsClear;
    else if (FStyle == bsClear)
        FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    Changed();
}

// ---- TCanvas ----------------------------------------------------------------------------

TClass TCanvas::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCanvas>("TCanvas").Build();
    return &info;
}

TCanvas::TCanvas() {
    FFont = new TFont;
    FFont->OnChange = TNotifyEvent::Bind<&TCanvas::FontChanged>(this);
    FPen = new TPen;
    FPen->OnChange = TNotifyEvent::Bind<&TCanvas::PenChanged>(this);
    FBrush = new TBrush;
    FBrush->OnChange = TNotifyEvent::Bind<&TCanvas::BrushChanged>(this);
}

TCanvas::~TCanvas() {
    SetHandle(nullptr);
    delete FFont;
    delete FPen;
    delete FBrush;
}

HDC TCanvas::Handle() {
    Changing();
    RequiredState(csAllValid);
    return FHandle;
}

void TCanvas::SetHandle(HDC value) {
    if (FHandle == value) return;
    if (FHandle) {
        DeselectHandles();
        FPenPos = PenPos();
        FHandle = nullptr;
        FState.Exclude(csHandleValid);
    }
    if (value) {
        FState.Include(csHandleValid);
        FHandle = value;
        SetPenPos(FPenPos);
    }
}

void TCanvas::DeselectHandles() {
    if (!FHandle) return;
    if (FState.Contains(csPenValid)) SelectObject(FHandle, GetStockObject(BLACK_PEN));
    if (FState.Contains(csBrushValid)) SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
    if (FState.Contains(csFontValid)) SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    FState -= TCanvasState{csPenValid, csBrushValid, csFontValid};
}

void TCanvas::RequiredState(TCanvasState state) {
    TCanvasState needed = state - FState;
    if (needed.Empty()) return;
    if (needed.Contains(csHandleValid)) {
        CreateHandle();
        if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
        FState.Include(csHandleValid);
    }
    if (needed.Contains(csFontValid)) CreateFont();
    if (needed.Contains(csPenValid)) CreatePen();
    if (needed.Contains(csBrushValid)) CreateBrush();
}

void TCanvas::CreateFont() {
    SelectObject(FHandle, FFont->Handle());
    SetTextColor(FHandle, ColorToRGB(FFont->Color()));
    FState.Include(csFontValid);
}

void TCanvas::CreatePen() {
    static const int modes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
    SelectObject(FHandle, FPen->Handle());
    SetROP2(FHandle, modes[FPen->Mode()]);
    FState.Include(csPenValid);
}

void TCanvas::CreateBrush() {
    HBRUSH brush = FBrush->Handle();
    UnrealizeObject(brush);
    SelectObject(FHandle, brush);
    if (FBrush->Style() == bsSolid && FBrush->Color() != clNone) {
        SetBkColor(FHandle, ColorToRGB(FBrush->Color()));
        SetBkMode(FHandle, OPAQUE);
    } else {
        // Hatched brushes draw their lines only.
        SetBkColor(FHandle, ~ColorToRGB(FBrush->Color()) & 0xFFFFFF);
        SetBkMode(FHandle, TRANSPARENT);
    }
    FState.Include(csBrushValid);
}

void TCanvas::FontChanged(TObject*) {
    if (FState.Contains(csFontValid)) {
        FState.Exclude(csFontValid);
        SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    }
}

void TCanvas::PenChanged(TObject*) {
    if (FState.Contains(csPenValid)) {
        FState.Exclude(csPenValid);
        SelectObject(FHandle, GetStockObject(BLACK_PEN));
    }
}

void TCanvas::BrushChanged(TObject*) {
    if (FState.Contains(csBrushValid)) {
        FState.Exclude(csBrushValid);
        SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
    }
}

void TCanvas::Changing() { OnChanging(this); }

void TCanvas::Changed() { OnChange(this); }

TPoint TCanvas::PenPos() {
    if (!FHandle) return FPenPos;
    POINT p{};
    GetCurrentPositionEx(FHandle, &p);
    return {int(p.x), int(p.y)};
}

TColor TCanvas::Pixels(int x, int y) {
    RequiredState({csHandleValid});
    return TColor(int(GetPixel(FHandle, x, y)));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    Changing();
    RequiredState({csHandleValid, csPenValid});
    ::SetPixel(FHandle, x, y, ColorToRGB(color));
    Changed();
}

TRect TCanvas::ClipRect() {
    RequiredState({csHandleValid});
    RECT r{};
    GetClipBox(FHandle, &r);
    return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
}

void TCanvas::MoveTo(int x, int y) {
    RequiredState({csHandleValid});
    MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::LineTo(FHandle, x, y);
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Rectangle(FHandle, x1, y1, x2, y2);
    Changed();
}

void TCanvas::FillRect(const TRect& rect) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ::FillRect(FHandle, &r, FBrush->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ::FrameRect(FHandle, &r, FBrush->Handle());
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Ellipse(FHandle, x1, y1, x2, y2);
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::RoundRect(FHandle, x1, y1, x2, y2, x3, y3);
    Changed();
}

namespace {
std::vector<POINT> ToPoints(std::span<const TPoint> points) {
    std::vector<POINT> out;
    out.reserve(points.size());
    for (const TPoint& p : points) out.push_back({p.X, p.Y});
    return out;
}
}  // namespace

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.empty()) return;
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    std::vector<POINT> pts = ToPoints(points);
    ::Polygon(FHandle, pts.data(), int(pts.size()));
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    if (points.empty()) return;
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    std::vector<POINT> pts = ToPoints(points);
    ::Polyline(FHandle, pts.data(), int(pts.size()));
    Changed();
}

void TCanvas::TextOut(int x, int y, const String& text) {
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    ExtTextOutA(FHandle, x, y, FTextFlags, nullptr, text.data(), UINT(text.size()), nullptr);
    MoveTo(x + TextWidth(text), y);
    Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const String& text) {
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    UINT options = ETO_CLIPPED | FTextFlags;
    if (FBrush->Style() != bsClear && FBrush->Color() != clNone) options |= ETO_OPAQUE;
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ExtTextOutA(FHandle, x, y, options, &r, text.data(), UINT(text.size()), nullptr);
    Changed();
}

TSize TCanvas::TextExtent(const String& text) {
    RequiredState({csHandleValid, csFontValid});
    SIZE s{};
    GetTextExtentPoint32A(FHandle, text.data(), int(text.size()), &s);
    return {int(s.cx), int(s.cy)};
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ::DrawFocusRect(FHandle, &r);
    Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    Changing();
    RequiredState({csHandleValid});
    // Monochrome pictures take these two colours.
    if (FBrush->Color() != clNone) SetBkColor(FHandle, ColorToRGB(FBrush->Color()));
    SetTextColor(FHandle, ColorToRGB(FFont->Color()));
    graphic->Draw(this, rect);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
    if (!canvas) return;
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
    StretchBlt(FHandle, dest.Left, dest.Top, dest.Width(), dest.Height(), canvas->FHandle, source.Left, source.Top,
               source.Width(), source.Height(), FCopyMode);
    Changed();
}

void TCanvas::Lock() {
    FLock.lock();
    ++FLockCount;
}

bool TCanvas::TryLock() {
    if (!FLock.try_lock()) return false;
    ++FLockCount;
    return true;
}

void TCanvas::Unlock() {
    --FLockCount;
    FLock.unlock();
}
