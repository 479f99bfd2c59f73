#include "components/controls/glow_button_render_win.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "classlib/core/streams.h"
#include "classlib/ui/bitmaps.h"
#include "components/controls/glow_button_geometry.h"
#include "components/foundation/gdiplus_win.h"
#include "imaging/png/png_imagelist_win.h"

#include <objbase.h>

namespace {

TGPRectF RectF(const TRect& r) { return MakeRect(float(r.Left), float(r.Top), float(r.Width()), float(r.Height())); }

// clNone is no colour: fully transparent.
ARGB Argb(TColor color) { return color == clNone ? 0 : ColorToARGB(color); }
TColor Resolved(TColor color) { return color == clNone ? color : TColor(ColorToRGB(color)); }

TLinearGradientMode LinearMode(TGDIPGradient g) {
    switch (g) {
    case ggDiagonalForward: return LinearGradientModeForwardDiagonal;
    case ggDiagonalBackward: return LinearGradientModeBackwardDiagonal;
    default: return LinearGradientModeVertical;
    }
}

// One half of a face: its base colour, then its gradient: linear from "from"
// at the start edge to "to", radial with centre in the middle of the
// ellipse's edge and surround around it.
struct TGlowHalfColors {
    TColor Base, From, To, Centre, Surround;
};

void FillHalf(TGPGraphics& g, const TRect& half, const TGlowHalfColors& c, TGDIPGradient gradient,
              const TGlowEllipse& ellipse) {
    const TColor base = c.Base;
    if (half.IsEmpty()) return;
    if (base != clNone) {
        TGPSolidBrush brush(Argb(base));
        g.FillRectangle(&brush, RectF(half));
    }
    if (gradient == ggRadial) {
        TGPGraphicsPath path;
        path.AddEllipse(float(ellipse.Bounds.Left), float(ellipse.Bounds.Top), float(ellipse.Bounds.Width()),
                        float(ellipse.Bounds.Height()));
        TGPPathGradientBrush brush(&path);
        brush.SetCenterColor(Argb(c.Centre));
        const ARGB surround = Argb(c.Surround);
        int count = 1;
        brush.SetSurroundColors(&surround, count);
        brush.SetCenterPoint(MakePoint(ellipse.Centre.X, ellipse.Centre.Y));
        g.FillRectangle(&brush, RectF(half));
    } else {
        // One pixel more than the half, so the brush does not wrap round
        // onto the half's last row.
        TGPRectF area = RectF(half);
        area.Height += 1;
        area.Width += 1;
        TGPLinearGradientBrush brush(area, Argb(c.From), Argb(c.To), LinearMode(gradient));
        g.FillRectangle(&brush, RectF(half));
    }
}

void FillFace(TGPGraphics& g, const TRect& face, const TGlowColorSet& c) {
    const TRect upper = GlowUpperHalf(face), lower = GlowLowerHalf(face);
    // The upper half runs from Color to ColorTo and lights ColorTo from its
    // top; the lower one runs from ColorMirrorTo to ColorMirror and lights
    // ColorMirrorTo from its bottom.
    FillHalf(g, upper, {c.Color, c.Color, c.ColorTo, c.ColorTo, c.Color}, c.Gradient, GlowUpperEllipse(upper));
    FillHalf(g, lower, {c.Mirror, c.MirrorTo, c.Mirror, c.MirrorTo, c.Mirror}, c.MirrorGradient,
             GlowLowerEllipse(lower));
}

// Each colour of a set darkened by 10% (a zero channel stays 0).
TGlowColorSet Darkened(const TGlowColorSet& c) {
    TGlowColorSet d = c;
    for (TColor* p : {&d.Color, &d.ColorTo, &d.Mirror, &d.MirrorTo})
        if (*p != clNone) *p = AdjustColor(Resolved(*p), -10);
    return d;
}

// A rectangle outline x, y, w, h (pixel centres) with the given corners
// rounded by radius r.
void AddOutline(TGPGraphicsPath& path, float x, float y, float w, float h, float r, bool topLeft, bool topRight,
                bool bottomRight, bool bottomLeft) {
    const float d = 2 * r;
    if (topLeft)
        path.AddArc(x, y, d, d, 180, 90);
    else
        path.AddLine(x, y, x, y);
    if (topRight)
        path.AddArc(x + w - d, y, d, d, 270, 90);
    else
        path.AddLine(x + w, y, x + w, y);
    if (bottomRight)
        path.AddArc(x + w - d, y + h - d, d, d, 0, 90);
    else
        path.AddLine(x + w, y + h, x + w, y + h);
    if (bottomLeft)
        path.AddArc(x, y + h - d, d, d, 90, 90);
    else
        path.AddLine(x, y + h, x, y + h);
    path.CloseFigure();
}

void DrawLine(TGPGraphics& g, TColor color, float x1, float y1, float x2, float y2) {
    TGPPen pen(Argb(color));
    TGPGraphicsPath path;
    path.AddLine(x1, y1, x2, y2);
    g.DrawPath(&pen, &path);
}

void DrawBorder(TGPGraphics& g, const TGlowRenderInput& in) {
    const TRect& r = in.ClientRect;
    const float x = float(r.Left), y = float(r.Top), w = float(r.Width() - 1), h = float(r.Height() - 1);
    const float radius = in.Rounded ? 3.0f : 0.0f;
    const bool round = in.Rounded;
    const TColor border = in.Colors.Border;
    const TColor darker = AdjustColor(Resolved(border), -5);
    const TColor topEdge = in.Hot || in.DownColors ? darker : AdjustColor(clWhite, -10);
    TGPPen pen(Argb(border));
    switch (in.Position) {
    case bpStandalone: {
        TGPGraphicsPath path;
        AddOutline(path, x, y, w, h, radius, round, round, round, round);
        g.DrawPath(&pen, &path);
        break;
    }
    case bpLeft: {
        // Rounded towards the outside, square where the next button joins.
        TGPGraphicsPath path;
        AddOutline(path, x, y, w, h, radius, round, false, false, round);
        g.DrawPath(&pen, &path);
        DrawLine(g, darker, x + radius, y + h, x + w, y + h);
        break;
    }
    case bpMiddle:
        DrawLine(g, border, x, y, x, y + h);
        DrawLine(g, border, x + w, y, x + w, y + h);
        DrawLine(g, darker, x, y + h, x + w, y + h);
        DrawLine(g, topEdge, x, y, x + w, y);
        break;
    case bpRight: {
        TGPGraphicsPath path;
        AddOutline(path, x, y, w, h, radius, false, round, round, false);
        g.DrawPath(&pen, &path);
        DrawLine(g, topEdge, x, y, x + w - radius, y);
        break;
    }
    }
}

void DrawFocusBorder(TGPGraphics& g, const TRect& r) {
    {
        TGPPen pen(MakeARGB(0x89, 0xAD, 0xE4));  // $E4AD89
        TGPGraphicsPath path;
        AddOutline(path, r.Left + 1.0f, r.Top + 1.0f, r.Width() - 3.0f, r.Height() - 3.0f, 3, true, true, true, true);
        g.DrawPath(&pen, &path);
    }
    TGPPen dotted(MakeARGB(0x80, 0x80, 0x80));
    dotted.SetDashStyle(DashStyleDot);
    TGPGraphicsPath path;
    AddOutline(path, r.Left + 2.0f, r.Top + 2.0f, r.Width() - 5.0f, r.Height() - 5.0f, 3, true, true, true, true);
    g.DrawPath(&dotted, &path);
}

// ---- Text ------------------------------------------------------------------------

// The caption as drawn: a "\n" in it is a line break, or a blank while the
// picture has a fixed size.
String CaptionText(const TGlowRenderInput& in) {
    String text;
    text.reserve(in.Caption.size());
    for (std::size_t i = 0; i < in.Caption.size(); ++i) {
        if (in.Caption[i] == '\\' && i + 1 < in.Caption.size() && in.Caption[i + 1] == 'n') {
            text += in.FixedImageSize ? ' ' : '\n';
            ++i;
        } else {
            text += in.Caption[i];
        }
    }
    return text;
}

TStringAlignment Horizontal(TButtonLayout layout) {
    return layout == blGlyphLeftAdjusted    ? StringAlignmentNear
           : layout == blGlyphRightAdjusted ? StringAlignmentFar
                                            : StringAlignmentCenter;
}
TStringAlignment Vertical(TButtonLayout layout) {
    return layout == blGlyphTopAdjusted      ? StringAlignmentNear
           : layout == blGlyphBottomAdjusted ? StringAlignmentFar
                                             : StringAlignmentCenter;
}

int StyleFlags(TFont* font) {
    int style = FontStyleRegular;
    if (font->Style().Contains(fsBold)) style |= FontStyleBold;
    if (font->Style().Contains(fsItalic)) style |= FontStyleItalic;
    if (font->Style().Contains(fsUnderline)) style |= FontStyleUnderline;
    return style;
}

// The GDI+ font of a class-library font: its family, else "Arial"; none
// when neither is an installed vector font (then GDI draws the text).
struct TGlowFont {
    std::unique_ptr<TGPFontFamily> Family;
    std::unique_ptr<TGPFont> Font;
    explicit TGlowFont(TFont* font) {
        Family = std::make_unique<TGPFontFamily>(GdipWideString(font->Name()).c_str());
        if (Family->GetLastStatus() != TStatus::Ok) Family = std::make_unique<TGPFontFamily>(L"Arial");
        if (Family->GetLastStatus() != TStatus::Ok) return;
        auto f = std::make_unique<TGPFont>(Family.get(), float(font->Size()), StyleFlags(font), UnitPoint);
        if (f->GetLastStatus() == TStatus::Ok) Font = std::move(f);
    }
};

struct TGlowFormat {
    TGPStringFormat Format;
    TGlowFormat(const TGlowRenderInput& in, TButtonLayout layout) : Format(in.WordWrap ? 0 : StringFormatFlagsNoWrap) {
        Format.SetAlignment(Horizontal(layout));
        Format.SetLineAlignment(Vertical(layout));
        Format.SetHotkeyPrefix(HotkeyPrefixShow);
        Format.SetTrimming(in.Trimming);
    }
};

TSize MeasureText(TGPGraphics& g, TGPFont* font, TGPStringFormat* format, const String& text, float width) {
    if (text.empty()) return {};
    const std::wstring wide = GdipWideString(text);
    TGPRectF box;
    g.MeasureString(wide.c_str(), int(wide.size()), font, MakeRect(0, 0, width, 10000), format, box);
    return {int(box.Width + 0.999f), int(box.Height + 0.999f)};
}

// The size DrawText gives text in font within width, drawn with flags.
TSize MeasureTextGdi(HDC dc, TFont* font, const String& text, int width, UINT flags) {
    if (text.empty()) return {};
    HGDIOBJ old = SelectObject(dc, font->Handle());
    RECT r{0, 0, width, 0};
    DrawTextA(dc, text.c_str(), -1, &r, flags | DT_CALCRECT);
    SelectObject(dc, old);
    return {r.right - r.left, r.bottom - r.top};
}

UINT GdiLayoutFlags(TButtonLayout layout, bool wordWrap) {
    UINT flags = wordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    switch (layout) {
    case blGlyphTop:
    case blGlyphTopAdjusted: return flags | DT_CENTER;
    case blGlyphLeftAdjusted: return flags | DT_LEFT | DT_VCENTER;
    case blGlyphRightAdjusted: return flags | DT_RIGHT | DT_VCENTER;
    case blGlyphBottomAdjusted: return flags | DT_CENTER | DT_BOTTOM;
    default: return flags | DT_CENTER | DT_VCENTER;
    }
}

// GDI draws the notes from the left, line by line, wrapped with WordWrap.
UINT GdiNotesFlags(bool wordWrap) { return DT_LEFT | (wordWrap ? DT_WORDBREAK : 0); }

// The GDI+ fonts and format of caption and notes; no caption font when its
// font is one GDI+ cannot use (GDI then draws caption and notes).
struct TGlowTextFonts {
    TGlowFont Caption;
    std::optional<TGlowFont> Notes;
    TGlowFormat Format;
    TGlowTextFonts(const TGlowRenderInput& in, TButtonLayout layout) : Caption(in.Font), Format(in, layout) {
        if (Caption.Font && !in.Notes.empty()) Notes.emplace(in.NotesFont);
    }
    bool Gdip() const { return Caption.Font != nullptr; }
    TGPFont* NotesFont() const { return Notes ? Notes->Font.get() : nullptr; }
};

// ---- Pictures --------------------------------------------------------------------------

}  // namespace

// An IStream over a copy of bytes, released with the stream.
struct TGlowStream {
    IStream* Stream = nullptr;
    TGlowStream(const void* data, std::size_t size) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
        if (!memory) throw EOutOfMemory("Could not allocate memory for image");
        void* p = GlobalLock(memory);
        if (!p) {
            GlobalFree(memory);
            throw EOutOfMemory("Could not allocate memory for image");
        }
        std::memcpy(p, data, size);
        GlobalUnlock(memory);
        if (CreateStreamOnHGlobal(memory, TRUE, &Stream) != S_OK) {
            GlobalFree(memory);
            throw EOutOfMemory("Could not allocate memory for image");
        }
    }
    ~TGlowStream() {
        if (Stream) Stream->Release();
    }
    TGlowStream(const TGlowStream&) = delete;
    TGlowStream& operator=(const TGlowStream&) = delete;
};

// A picture decoded for GDI+, with the stream GDI+ reads it from while it
// lives, and how it is drawn.
struct TGlowDecodedImage {
    std::unique_ptr<TGlowStream> Stream;
    std::unique_ptr<TGPImage> Image;  // a TGPBitmap; a TGPImage for a metafile
    bool Metafile = false;
    bool Keyed = false;  // drawn with its bottom-left pixel's colour as transparent key
    ARGB Key = 0;
    int Width = 0, Height = 0;
};

namespace {

using TDecoded = std::unique_ptr<TGlowDecodedImage>;

// Image index of a list: a PNG image list hands over the image's own PNG
// bytes, so its alpha channel reaches GDI+ as it is and blends the edges
// into the face (the index counts the list's images, which its items with
// an empty picture do not add to). Any other list gives a bitmap of the image, drawn with its
// bottom-left pixel's colour as transparent key. Null when there is none
// or it is no bigger than a pixel.
TDecoded DecodeListImage(TCustomImageList* list, int index) {
    TMemoryStream bytes;
    bool keyed = false;
    if (auto* png = dynamic_cast<TPngImageList*>(list)) {
        TPngImageCollectionItem* item = png->ItemOfNativeIndex(index);
        if (!item || !item->PngObject()) return nullptr;
        item->PngObject()->SaveToStream(bytes);
    } else {
        TBitmap bitmap;
        if (!list->GetBitmap(index, &bitmap)) return nullptr;
        bitmap.SaveToStream(bytes);
        keyed = true;
    }
    if (bytes.Size() == 0) return nullptr;
    auto d = std::make_unique<TGlowDecodedImage>();
    d->Stream = std::make_unique<TGlowStream>(bytes.Memory(), std::size_t(bytes.Size()));
    auto image = std::make_unique<TGPBitmap>(d->Stream->Stream);
    if (image->GetLastStatus() != TStatus::Ok) return nullptr;
    d->Width = int(image->GetWidth());
    d->Height = int(image->GetHeight());
    if (d->Width <= 1 || d->Height <= 1) return nullptr;
    if (keyed) {
        d->Keyed = true;
        image->GetPixel(0, d->Height - 1, d->Key);
    }
    d->Image = std::move(image);
    return d;
}

// A picture's own bytes: a bitmap with its bottom-left pixel's colour as
// transparent key, other formats as they are.
TDecoded DecodePicture(std::span<const Byte> bytes) {
    if (bytes.empty()) return nullptr;
    auto d = std::make_unique<TGlowDecodedImage>();
    d->Stream = std::make_unique<TGlowStream>(bytes.data(), bytes.size());
    auto image = std::make_unique<TGPBitmap>(d->Stream->Stream);
    if (image->GetLastStatus() != TStatus::Ok) {
        // Not a raster format (a metafile): drawn as an image.
        image.reset();
        d->Stream = std::make_unique<TGlowStream>(bytes.data(), bytes.size());
        auto other = std::make_unique<TGPImage>(d->Stream->Stream);
        if (other->GetLastStatus() != TStatus::Ok) return nullptr;
        d->Metafile = true;
        d->Image = std::move(other);
        return d;
    }
    d->Width = int(image->GetWidth());
    d->Height = int(image->GetHeight());
    if (image->GetFormat() == ifBMP) {
        d->Keyed = true;
        image->GetPixel(0, d->Height - 1, d->Key);
    }
    d->Image = std::move(image);
    return d;
}

void DrawDecoded(TGPGraphics& g, const TGlowDecodedImage& d, const TRect& dest) {
    if (d.Metafile) {
        g.DrawImage(d.Image.get(), dest.Left, dest.Top, dest.Width(), dest.Height());
        return;
    }
    if (!d.Keyed) {
        g.DrawImage(d.Image.get(), RectF(dest), 0, 0, float(d.Width), float(d.Height), UnitPixel);
        return;
    }
    TGPImageAttributes attributes;
    attributes.SetColorKey(d.Key, d.Key);
    g.DrawImage(d.Image.get(), RectF(dest), 0, 0, float(d.Width), float(d.Height), UnitPixel, &attributes);
}

// Draws image index of a list, or a picture, at dest: from the cache when
// there is one, else decoded for this paint.
void DrawListImage(TGPGraphics& g, TCustomImageList* list, int index, const TRect& dest, TGlowImageCache* cache) {
    if (cache) {
        if (const TGlowDecodedImage* d = cache->ForList(list, index)) DrawDecoded(g, *d, dest);
        return;
    }
    if (TDecoded d = DecodeListImage(list, index)) DrawDecoded(g, *d, dest);
}

void DrawPicture(TGPGraphics& g, TGDIPPicture* picture, const TRect& dest, TGlowImageCache* cache) {
    if (cache) {
        if (const TGlowDecodedImage* d = cache->ForPicture(picture)) DrawDecoded(g, *d, dest);
        return;
    }
    if (TDecoded d = DecodePicture(picture->Bytes())) DrawDecoded(g, *d, dest);
}

// The picture's size, or the image list's when only an image is set; a
// fixed 16 x 16 in the small size states.
TSize PictureSize(const TGlowRenderInput& in) {
    if (!in.Picture && !in.Images) return {};
    if (in.FixedImageSize) return {16, 16};
    if (in.Picture) return {in.Picture->Width(), in.Picture->Height()};
    return {in.Images->Width(), in.Images->Height()};
}

// ---- Layout shared by measuring and drawing --------------------------------------------

struct TGlowTextLayout {
    TSize Caption, Notes;
    TSize Text() const { return {std::max(Caption.cx, Notes.cx), Caption.cy + Notes.cy}; }
};

// The sizes of caption and notes laid out in a text rectangle width wide,
// as the paint draws them: by GDI+ in the fonts' format, or by DrawText
// with the flags the paint draws with (the notes line by line). The
// measuring for AutoSize and the paint both take their sizes from here.
TGlowTextLayout LayOutText(HDC dc, TGPGraphics& g, const TGlowRenderInput& in, TButtonLayout layout,
                           const String& caption, TGlowTextFonts& fonts, int width) {
    TGlowTextLayout text;
    if (fonts.Gdip()) {
        text.Caption = MeasureText(g, fonts.Caption.Font.get(), &fonts.Format.Format, caption, float(width));
        if (TGPFont* notes = fonts.NotesFont())
            text.Notes = MeasureText(g, notes, &fonts.Format.Format, in.Notes, float(width));
    } else {
        text.Caption = MeasureTextGdi(dc, in.Font, caption, width, GdiLayoutFlags(layout, in.WordWrap));
        text.Notes = MeasureTextGdi(dc, in.NotesFont, in.Notes, width, GdiNotesFlags(in.WordWrap));
    }
    return text;
}

void DrawArrow(HDC dc, const TGlowRenderInput& in) {
    const TRect& r = in.ClientRect;
    const TPoint centre = in.DropDownPosition == dpRight ? Point(r.Right - 7, r.Top + r.Height() / 2)
                                                         : Point(r.Left + r.Width() / 2, r.Bottom - 7);
    const TGlowArrow arrow = GlowDropDownArrow(in.DropDownDirection, centre);
    const COLORREF ink = in.Enabled ? RGB(0, 0, 0) : RGB(0x80, 0x80, 0x80);
    for (TPoint p : arrow.Ink) SetPixel(dc, p.X, p.Y, ink);
    for (TPoint p : arrow.Highlight) SetPixel(dc, p.X, p.Y, RGB(255, 255, 255));
}

}  // namespace

TSize MeasureGlowButton(HDC dc, const TGlowRenderInput& in) {
    const String caption = CaptionText(in);
    const TButtonLayout layout = in.Notes.empty() ? in.Layout : blGlyphLeftAdjusted;
    TGPGraphics g(dc);
    TGlowTextFonts fonts(in, layout);
    const TGlowTextLayout text = LayOutText(dc, g, in, layout, caption, fonts, 10000);
    return GlowContentSize(layout, text.Text(), PictureSize(in), in.Spacing);
}

void RenderGlowButton(HDC dc, const TGlowRenderInput& in) {
    const TRect& client = in.ClientRect;
    TGPGraphics g(dc);
    g.SetSmoothingMode(SmoothingModeAntiAlias);

    // 1, 2: the face, a split button in its down colours in two parts.
    if (in.DrawFace) {
        if (in.DropDown && in.DropDownSplit && in.DownColors) {
            const bool dropDownHot = in.DropDownHotPart == 2;
            const TGlowColorSet dark = Darkened(in.Colors);
            FillFace(g, GlowMainPart(client, in.DropDownPosition), dropDownHot ? in.Colors : dark);
            FillFace(g, GlowDropDownPart(client, in.DropDownPosition), dropDownHot ? dark : in.Colors);
        } else {
            FillFace(g, client, in.Colors);
        }
    }
    // 3, 4: the border and the focus border.
    if (in.Border && in.DrawFace) DrawBorder(g, in);
    if (in.FocusBorder) DrawFocusBorder(g, client);

    // 5 to 8: picture, caption and notes.
    const TRect area = GlowContentArea(client, in.DropDown, in.DropDownPosition);
    const String caption = CaptionText(in);
    const TButtonLayout layout = in.Notes.empty() ? in.Layout : blGlyphLeftAdjusted;
    const TSize picture = PictureSize(in);
    const bool hasText = !caption.empty() || !in.Notes.empty();
    const TGlowContentPlace place = GlowPlaceContent(layout, area, picture, hasText);
    if (picture.cx > 1 && picture.cy > 1) {
        const TRect dest = Bounds(place.Picture.X, place.Picture.Y, picture.cx, picture.cy);
        if (in.Picture)
            DrawPicture(g, in.Picture, dest, in.ImageCache);
        else if (in.Images && in.ImageIndex >= 0)
            DrawListImage(g, in.Images, in.ImageIndex, dest, in.ListImageCached ? in.ImageCache : nullptr);
    }
    if (hasText) {
        const TColor textColor = in.Enabled ? in.Font->Color() : TColor(0x808080);
        const TColor notesColor = in.Enabled ? in.NotesFont->Color() : TColor(0x808080);
        TGlowTextFonts fonts(in, layout);
        if (fonts.Gdip()) {
            g.SetTextRenderingHint(in.AntiAlias == aaAntiAlias ? TextRenderingHintAntiAliasGridFit
                                                               : TextRenderingHintClearTypeGridFit);
            TGPSolidBrush brush(Argb(textColor));
            TRect captionRect = place.Text;
            if (!in.Notes.empty()) {
                // Caption and notes as one block, vertically centred.
                const TGlowTextLayout text = LayOutText(dc, g, in, layout, caption, fonts, place.Text.Width());
                const TSize c = text.Caption, n = text.Notes;
                const int top = place.Text.Top + std::max(0, (place.Text.Height() - c.cy - n.cy) / 2);
                captionRect = Rect(place.Text.Left, top, place.Text.Right, top + c.cy);
                if (TGPFont* notesFont = fonts.NotesFont()) {
                    TGPSolidBrush notesBrush(Argb(notesColor));
                    g.DrawString(in.Notes, -1, notesFont,
                                 RectF(Rect(place.Text.Left, top + c.cy, place.Text.Right, top + c.cy + n.cy)),
                                 &fonts.Format.Format, &notesBrush);
                }
            }
            if (!caption.empty())
                g.DrawString(caption, -1, fonts.Caption.Font.get(), RectF(captionRect), &fonts.Format.Format, &brush);
        } else {
            HGDIOBJ old = SelectObject(dc, in.Font->Handle());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, ColorToRGB(textColor));
            RECT r{place.Text.Left, place.Text.Top, place.Text.Right, place.Text.Bottom};
            if (layout == blGlyphLeftAdjusted) r.left += 2;
            UINT flags = GdiLayoutFlags(layout, in.WordWrap);
            // Sizes are needed to place notes or a wrapped block; a single
            // line is placed by DrawText itself.
            const bool placed = !in.Notes.empty() || (flags & DT_WORDBREAK);
            const TGlowTextLayout text =
                placed ? LayOutText(dc, g, in, layout, caption, fonts, r.right - r.left) : TGlowTextLayout{};
            if (!in.Notes.empty()) {
                // Caption and notes as one block, placed by their measured
                // heights: the caption on top, the notes in their own font
                // and colour below it.
                flags &= ~UINT(DT_VCENTER);
                const int ch = text.Caption.cy, nh = text.Notes.cy;
                r.top += std::max(0, int(r.bottom - r.top - ch - nh) / 2);
                RECT notes{r.left, r.top + ch, r.right, r.top + ch + nh};
                SelectObject(dc, in.NotesFont->Handle());
                SetTextColor(dc, ColorToRGB(notesColor));
                DrawTextA(dc, in.Notes.c_str(), -1, &notes, GdiNotesFlags(in.WordWrap));
                SelectObject(dc, in.Font->Handle());
                SetTextColor(dc, ColorToRGB(textColor));
                r.bottom = r.top + ch;
            } else if (flags & DT_WORDBREAK) {
                // DrawText centres or bottoms single lines only: place the
                // wrapped block by its measured height.
                const int h = text.Caption.cy, room = r.bottom - r.top;
                if (flags & DT_VCENTER)
                    r.top += std::max(0, (room - h) / 2);
                else if (flags & DT_BOTTOM)
                    r.top += std::max(0, room - h);
            }
            if (!caption.empty()) DrawTextA(dc, caption.c_str(), -1, &r, flags);
            SelectObject(dc, old);
        }
    }

    // 9: the drop-down arrow, with a separator while the split part shows.
    if (in.DropDown) {
        if (in.DropDownSplit && in.DropDownHotPart > 0) {
            const TRect part = GlowDropDownPart(client, in.DropDownPosition);
            if (in.DropDownPosition == dpRight)
                DrawLine(g, in.Colors.Border, float(part.Left), float(part.Top + 2), float(part.Left),
                         float(part.Bottom - 3));
            else
                DrawLine(g, in.Colors.Border, float(part.Left + 2), float(part.Top), float(part.Right - 3),
                         float(part.Top));
        }
        DrawArrow(dc, in);
    }
}

// ---- TGlowImageCache ----

struct TGlowImageCache::TEntry {
    TCustomImageList* List = nullptr;  // null: a picture's bytes
    int Index = -1;
    std::vector<Byte> Bytes;
    TDecoded Decoded;  // null: it could not be decoded
    int Serial = 0;
};

TGlowImageCache::TGlowImageCache() = default;

TGlowImageCache::~TGlowImageCache() {
    // GDI+ shuts down after every component is gone; should a cache outlive
    // it, its wrappers are left, not freed through a GDI+ that is not there.
    if (!GdiplusSession().Started())
        for (auto& e : FEntries) (void)e->Decoded.release();
}

void TGlowImageCache::Clear() { FEntries.clear(); }

TGlowImageCache::TEntry* TGlowImageCache::Keep(std::unique_ptr<TEntry> entry) {
    entry->Serial = ++FDecodes;
    constexpr std::size_t kKept = 4;
    if (FEntries.size() >= kKept) FEntries.erase(FEntries.begin());
    FEntries.push_back(std::move(entry));
    return FEntries.back().get();
}

TGlowImageCache::TEntry* TGlowImageCache::PictureEntry(TGDIPPicture* picture) {
    const std::span<const Byte> bytes = picture->Bytes();
    for (auto& e : FEntries)
        if (!e->List && e->Bytes.size() == bytes.size() && std::equal(bytes.begin(), bytes.end(), e->Bytes.begin()))
            return e.get();
    auto entry = std::make_unique<TEntry>();
    entry->Bytes.assign(bytes.begin(), bytes.end());
    entry->Decoded = DecodePicture(bytes);
    return Keep(std::move(entry));
}

TGlowImageCache::TEntry* TGlowImageCache::ListEntry(TCustomImageList* list, int index) {
    for (auto& e : FEntries)
        if (e->List == list && e->Index == index) return e.get();
    auto entry = std::make_unique<TEntry>();
    entry->List = list;
    entry->Index = index;
    entry->Decoded = DecodeListImage(list, index);
    return Keep(std::move(entry));
}

const TGlowDecodedImage* TGlowImageCache::ForPicture(TGDIPPicture* picture) {
    return PictureEntry(picture)->Decoded.get();
}

const TGlowDecodedImage* TGlowImageCache::ForList(TCustomImageList* list, int index) {
    return ListEntry(list, index)->Decoded.get();
}

int TGlowImageCache::PictureSerial(TGDIPPicture* picture) { return PictureEntry(picture)->Serial; }

int TGlowImageCache::ListSerial(TCustomImageList* list, int index) { return ListEntry(list, index)->Serial; }

// ---- TGlowKeptDrawing ----

namespace {

TGlowFontLook FontLook(TFont* font) {
    if (!font) return {};
    return {font->Name(),         font->Height(),     font->Style().Bits(), font->Color(),
            int(font->Charset()), int(font->Pitch()), font->PixelsPerInch()};
}

// The kind of DC drawn into: a window's (0), or a memory DC's bitmap by its
// depth, a DIB section apart from a device bitmap.
int TargetKind(HDC dc) {
    if (GetObjectType(dc) != OBJ_MEMDC) return 0;
    DIBSECTION dib{};
    const int size = GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof dib, &dib);
    return (size == int(sizeof dib) ? 1000 : 0) + dib.dsBm.bmBitsPixel;
}

// The look's drawing covers every pixel of the button with its own opaque
// face, so it shows nothing of what lay under it.
bool CoversItsArea(const TGlowRenderInput& in) {
    const TGlowColorSet& c = in.Colors;
    return in.DrawFace && c.Color != clNone && c.ColorTo != clNone && c.Mirror != clNone && c.MirrorTo != clNone;
}

}  // namespace

TGlowKeptDrawing::~TGlowKeptDrawing() {
    FreeBitmap();
    if (FDC) DeleteDC(FDC);
}

void TGlowKeptDrawing::FreeBitmap() {
    if (!FBitmap) return;
    SelectObject(FDC, FOldBitmap);
    DeleteObject(FBitmap);
    FBitmap = nullptr;
    FKept = false;
}

TGlowKeptDrawing::TLook TGlowKeptDrawing::LookOf(const TGlowRenderInput& in) {
    TLook look;
    look.Input = in;
    look.Input.Font = look.Input.NotesFont = nullptr;
    look.Input.Picture = nullptr;
    look.Input.ImageCache = nullptr;
    look.Font = FontLook(in.Font);
    look.NotesFont = FontLook(in.NotesFont);
    look.Picture = PictureSize(in);
    return look;
}

TSize TGlowKeptDrawing::Measure(HDC dc, const TGlowRenderInput& in) {
    TLook look = LookOf(in);
    // What a measure reads: not the size, state or colours.
    look.Input.ClientRect = {};
    look.Input.State = 0;
    look.Input.Colors = {};
    look.Input.Hot = look.Input.DownColors = look.Input.DrawFace = false;
    look.Input.FocusBorder = look.Input.Border = false;
    look.Input.DropDownHotPart = 0;
    look.Input.Images = nullptr;
    look.Input.ImageIndex = -1;
    look.Input.ListImageCached = false;
    if (FMeasuredKept && look == FMeasuredLook) return FMeasured;
    ++FMeasures;
    FMeasured = MeasureGlowButton(dc, in);
    FMeasuredLook = std::move(look);
    FMeasuredKept = true;
    return FMeasured;
}

void TGlowKeptDrawing::Draw(HDC dc, const TGlowRenderInput& in) {
    const int w = in.ClientRect.Width(), h = in.ClientRect.Height();
    bool keepable = w > 0 && h > 0 && in.ClientRect.Left == 0 && in.ClientRect.Top == 0 && CoversItsArea(in);
    int image = 0;
    if (keepable && in.Picture) {
        if (in.ImageCache)
            image = in.ImageCache->PictureSerial(in.Picture);
        else
            keepable = false;
    } else if (keepable && in.Images && in.ImageIndex >= 0 && PictureSize(in).cx > 1 && PictureSize(in).cy > 1) {
        if (in.ImageCache && in.ListImageCached)
            image = in.ImageCache->ListSerial(in.Images, in.ImageIndex);
        else
            keepable = false;
    }
    if (!keepable) {
        ++FRenders;
        RenderGlowButton(dc, in);
        return;
    }
    TLook look = LookOf(in);
    look.Image = image;
    look.Target = TargetKind(dc);
    if (!(FKept && look == FLook)) {
        if (FBitmap && (FLook.Input.ClientRect != in.ClientRect || FLook.Target != look.Target)) FreeBitmap();
        if (!FDC) FDC = CreateCompatibleDC(dc);
        if (!FBitmap) {
            FBitmap = CreateCompatibleBitmap(dc, w, h);
            if (!FDC || !FBitmap) {
                if (FBitmap) DeleteObject(FBitmap);
                FBitmap = nullptr;
                ++FRenders;
                RenderGlowButton(dc, in);
                return;
            }
            FOldBitmap = SelectObject(FDC, FBitmap);
        }
        ++FRenders;
        FKept = false;
        RenderGlowButton(FDC, in);
        FLook = std::move(look);
        FKept = true;
    }
    BitBlt(dc, 0, 0, w, h, FDC, 0, 0, SRCCOPY);
}
