// What the office check box and the office radio button share: a glyph
// (from the visual style when asked for and usable, else one of the
// program's 13 x 13 bitmaps) beside a caption, painted over the parent's
// background; the caption's look (shadow, link colour, ellipsis, images),
// the focus rectangle, the hot and pressed states, anchors under the mouse
// and Enter as Tab. Each of the two adds its own check state and input.
#pragma once

#include "classlib/ui/imagelist.h"
#include "classlib/ui/stdctrls.h"
#include "components/controls/office_button_layout.h"
#include "components/controls/office_caption_win.h"

// An anchor of the caption was clicked, entered or left.
using TAnchorClick = TEvent<TObject* /*Sender*/, String /*Anchor*/>;

class TLumOfficeButtonControl : public TCustomControl {
    QL_CLASS(TLumOfficeButtonControl, TCustomControl)
public:
    explicit TLumOfficeButtonControl(TComponent* owner);
    ~TLumOfficeButtonControl() override;

    // The caption's side: taRightJustify puts the glyph at the right (a
    // centred alignment is not taken). A control that lays out right to
    // left (BiDiMode bdRightToLeft) has its glyph at the right whatever
    // the alignment, and its caption beside it, measured from the right.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout ButtonVertAlign() const { return FButtonVertAlign; }
    void SetButtonVertAlign(TTextLayout value);
    TColor DisabledFontColor() const { return FDisabledFontColor; }
    void SetDisabledFontColor(TColor value);
    // The glyph is drawn pressed.
    bool Down() const { return FDown; }
    void SetDown(bool value) { FDown = value; }
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value);
    // The image list of the caption's image tags.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    // The named pictures of the caption's picture tags.
    TPictureContainer* PictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(TPictureContainer* value);
    // Enter moves on as Tab does.
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool value) { FReturnIsTab = value; }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value);
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int value);
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool value) { FShowFocus = value; }
    // Ask the visual style for the glyph.
    bool Themed() const { return FThemed; }
    void SetThemed(bool value);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor value);
    // The version packed one byte a part, major part first ($01020401).
    virtual LongWord GetVersionNr() const { return 0x01020401; }
    // Read only ("1.2.4.1"): a stored value is ignored.
    String Version() const;
    void SetVersion(const String&) {}

    TAnchorClick OnAnchorClick;
    TAnchorClick OnAnchorEnter;
    TAnchorClick OnAnchorExit;

    // State of the mouse and the focus, as the glyph shows them.
    bool Hot() const { return FHot; }
    bool HasFocus() const { return FFocused; }
    // The glyph is drawn from the visual style now.
    bool ThemedGlyph() const;

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    void KeyDown(Word& key, TShiftState shift) override;
    // While the mouse holds the control the glyph shows it down only with
    // the cursor inside; the anchors follow the cursor while focused.
    void MouseMove(TShiftState shift, int x, int y) override;

    // What the two controls tell the painting.
    virtual bool IsRadio() const = 0;
    virtual TGlyphCheck GlyphCheck() const = 0;
    // The focus rectangle is drawn now (the caption at text, width x height).
    virtual void DrawFocus(const TRect& text, TSize caption) = 0;

    TOfficeCaptionStyle CaptionStyle() const;
    // Where the caption goes in the canvas's font, and the size it takes
    // there: beside the glyph, against it from the right when laid out
    // right to left, moved down by the radio button's vertical alignment.
    // The paint, the focus rectangle and the anchor under the mouse use it.
    TRect CaptionPlace(const TOfficeCaptionStyle& style, TSize& size);
    // The glyph's strip repainted: width pixels at the glyph's side.
    void InvalidateGlyph(int width);
    // The anchor at a point of the client area ("" for none).
    String AnchorAt(TPoint point);
    // The mouse moved over the caption while focused: the hand cursor and
    // the anchor events follow the anchor under it.
    void TrackAnchor(TPoint point);
    // Opens a link anchor in the shell, or fires OnAnchorClick.
    void FollowAnchor(const String& anchor);
    // A left press at x, y: when onAnchor, an anchor there is followed;
    // otherwise the glyph goes down and the control holds the mouse.
    void PressAt(TShiftState shift, int x, int y, bool onAnchor);
    // The glyph is at the right.
    bool RightSide() const { return FAlignment == taRightJustify || UseRightToLeftAlignment(); }
    bool PointInside(int x, int y) const { return x >= 0 && x <= FWidth && y >= 0 && y <= FHeight; }
    void DrawGlyph();

    // ---- Message handlers ----
    void WMEraseBkgnd(TMessage& message);
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    void CMTextChanged(TMessage& message);
    void CMEnter(TMessage& message);
    void CMExit(TMessage& message);

    TAlignment FAlignment = taLeftJustify;
    TTextLayout FButtonVertAlign = tlTop;
    TColor FDisabledFontColor{0x808080};
    bool FDown = false;
    bool FEllipsis = false;
    TCustomImageList* FImages = nullptr;
    TPictureContainer* FPictureContainer = nullptr;
    // The pictures the caption's image tags loaded, kept between paints.
    THTMLPictureCache* FPictureCache;
    bool FReturnIsTab = false;
    TColor FShadowColor{0x808080};
    int FShadowOffset = 1;
    bool FShowFocus = true;
    bool FThemed = false;
    TColor FURLColor{0xFF0000};

    bool FHot = false;
    bool FFocused = false;
    bool FPressed = false;  // a mouse press began on the control
    String FLastAnchor;
    TCursor FSavedCursor = crDefault;
};

// The program's glyph bitmap of that name, loaded once; the class
// library's resource error when the program has no such resource.
class TBitmap;
TBitmap* OfficeGlyphBitmap(const char* name);
// Draws glyph at x, y of canvas with its key colour transparent, as its
// Draw does through TransparentBlt, from masks made once for each kind of
// device context (two blits instead of TransparentBlt's work on every call).
class TCanvas;
void DrawOfficeGlyph(TCanvas* canvas, int x, int y, TBitmap* glyph);
// Frees the loaded glyph bitmaps and their masks (at the end of the program).
void FreeOfficeGlyphBitmaps();
