// The glow button's Paint: the state, colours, picture and font of this
// paint, the auto-size measuring, the renderer, OnDrawButton and the
// corner pixels taken from the parent.
#include <initializer_list>

#include "components/controls/glow_button_render_win.h"
#include "components/controls/glow_button_win.h"
#include "components/foundation/visual_styles_win.h"

namespace {

// Paints what the parent shows under the given rectangles (the button's
// client coordinates) into dc, in one paint of the parent through a clip
// region: its background and its own painting, windowless children
// included, not its child windows.
void PaintParentBackground(TWinControl* parent, TControl* control, HDC dc, std::initializer_list<TRect> rects) {
    if (rects.size() == 0) return;
    const int saved = SaveDC(dc);
    POINT org;
    GetWindowOrgEx(dc, &org);
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    for (const TRect& r : rects) {
        // Regions are in device coordinates.
        POINT corners[2] = {{r.Left, r.Top}, {r.Right, r.Bottom}};
        LPtoDP(dc, corners, 2);
        HRGN part = CreateRectRgn(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
        CombineRgn(clip, clip, part, RGN_OR);
        DeleteObject(part);
    }
    ExtSelectClipRgn(dc, clip, RGN_AND);
    DeleteObject(clip);
    SetWindowOrgEx(dc, org.x + control->Left(), org.y + control->Top(), nullptr);
    parent->Perform(WM_PRINTCLIENT, WPARAM(dc), LPARAM(PRF_ERASEBKGND | PRF_CLIENT));
    RestoreDC(dc, saved);
}

// The font of a paint: a copy of the button's, or the system's dialog font
// when it does not follow the parent's and the appearance asks for it.
void PaintFonts(const TLumCustomGlowButton& button, TFont& font, TGlowRenderInput& input) {
    font.Assign(button.Font());
    if (!button.ParentFont() && button.Appearance()->SystemFont()) font.SetName(IsVista() ? "Segoe UI" : "Tahoma");
    input.Font = &font;
    input.NotesFont = button.NotesFont();
}

}  // namespace

TGlowRenderInput TLumCustomGlowButton::RenderInput() {
    TGlowPaintInput paint = PaintInput();
    TGlowRenderInput r;
    r.State = GlowPaintState(paint);
    if (r.State == gsDisabled) FPendingPress = false;
    r.Colors = ChooseGlowColors(*FAppearance, paint);
    r.ClientRect = ClientRect();
    r.Caption = FShowCaption ? Caption() : String();
    r.Notes = FNotes->Text();
    r.Layout = FLayout;
    r.Position = FPosition;
    r.Rounded = FRounded;
    r.Border = HasBorder();
    r.FocusBorder = HasFocusBorder();
    r.Enabled = FEnabled;
    r.Hot = FHot;
    r.DrawFace = !(FTransparent && !FHot && !GlowFocusHot(paint) && r.State != gsPressed);
    r.DropDown = FDropDownButton;
    r.DropDownSplit = FDropDownSplit;
    r.DropDownPosition = FDropDownPosition;
    r.DropDownDirection = FDropDownDirection;
    r.DropDownHotPart = !FDropDownButton ? 0 : FDropDownHot ? 2 : (FHot || FHeld) ? 1 : 0;
    r.DownColors = r.State == gsPressed || r.State == gsCheckedDown;
    r.Spacing = FSpacing;
    r.WordWrap = FWordWrap;
    r.Trimming = FTrimming;
    r.AntiAlias = FAntiAlias;
    // The picture: disabled or hot lists first, else the button's list;
    // an action with images gives its own.
    TCustomImageList* images = FImages;
    if (!FEnabled && FDisabledImages)
        images = FDisabledImages;
    else if (FHot && FHotImages)
        images = FHotImages;
    int imageIndex = FImageIndex;
    if (auto* action = dynamic_cast<TCustomAction*>(Action()); action && action->Images()) {
        images = action->Images();
        imageIndex = action->ImageIndex();
    }
    const bool hasImage = images && imageIndex >= 0 && imageIndex < images->Count();
    if (hasImage) {
        r.Images = images;
        r.ImageIndex = imageIndex;
    }
    r.ImageCache = &FImageCache;
    r.ListImageCached = images && (images == FImages || images == FDisabledImages || images == FHotImages);
    // The picture: the disabled or hot one when not empty, else Picture;
    // it goes before the image list's image.
    TGDIPPicture* picture = FPicture;
    if (!FEnabled && !FDisabledPicture->Empty())
        picture = FDisabledPicture;
    else if (FHot && !FHotPicture->Empty())
        picture = FHotPicture;
    if (!picture->Empty()) r.Picture = picture;
    // The small size states draw a 16 x 16 picture (the image list's when
    // an image is set), bsGlyph no caption.
    if (FAutoSize && FButtonSizeState != bsLarge) {
        r.FixedImageSize = true;
        if (hasImage) r.Picture = nullptr;
        if (FButtonSizeState == bsGlyph) r.Caption.clear();
    }
    return r;
}

void TLumCustomGlowButton::Paint() {
    if (FPainting) return;
    TTempChange<bool> painting(FPainting, true);
    HDC dc = FCanvas->Handle();
    const TRect client = ClientRect();
    const bool transparentCold = FTransparent && !FHot;
    if (transparentCold && FParent) PaintParentBackground(FParent, this, dc, {client});

    TGlowRenderInput input = RenderInput();
    TFont font;
    PaintFonts(*this, font, input);

    if (FAutoSize) {
        const TSize content = FDrawing.Measure(dc, input);
        const TSize size =
            GlowAutoSize(content, FSpacing, FMarginHorz, FMarginVert, FDropDownButton, FDropDownPosition);
        if (size.cx != FWidth || size.cy != FHeight) SetBounds(FLeft, FTop, size.cx, size.cy);
    }
    FDrawing.Draw(dc, input);
    OnDrawButton(this, FCanvas, client, input.State == gsPressed ? 2 : FHot ? 1 : 0);

    if (FRounded && FParent && !transparentCold) {
        const int w = client.Width(), h = client.Height();
        const bool left = FPosition == bpStandalone || FPosition == bpLeft;
        const bool right = FPosition == bpStandalone || FPosition == bpRight;
        const TRect tl = Rect(0, 0, 1, 1), bl = Rect(0, h - 1, 1, h);
        const TRect tr = Rect(w - 1, 0, w, 1), br = Rect(w - 1, h - 1, w, h);
        if (left && right)
            PaintParentBackground(FParent, this, dc, {tl, bl, tr, br});
        else if (left)
            PaintParentBackground(FParent, this, dc, {tl, bl});
        else if (right)
            PaintParentBackground(FParent, this, dc, {tr, br});
    }
}

void TLumCustomGlowButton::AdjustAutoSize() {
    if (!FAutoSize || !FParent || IsLoading() || IsDesigning()) return;
    TGlowRenderInput input = RenderInput();
    TFont font;
    PaintFonts(*this, font, input);
    HDC dc = GetDC(nullptr);
    const TSize content = FDrawing.Measure(dc, input);
    ReleaseDC(nullptr, dc);
    const TSize size = GlowAutoSize(content, FSpacing, FMarginHorz, FMarginVert, FDropDownButton, FDropDownPosition);
    if (size.cx != FWidth || size.cy != FHeight) SetBounds(FLeft, FTop, size.cx, size.cy);
}
