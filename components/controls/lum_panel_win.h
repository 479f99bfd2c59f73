// The gradient panel: a container with a plain, gradient or mirror-gradient
// body, an optional caption band along the top or the left edge with a
// close and a collapse button, body and caption text, a status bar, an
// animated collapse and expand, moving by the caption and sizing by the
// edges, sizing to its text, and its position kept in an INI file or the
// registry.
//
//   TLumPanel* panel = NewObject<TLumPanel>(form);
//   panel->Caption()->SetVisible(true);
//   panel->Caption()->SetMinMaxButton(true);  // a click on it collapses the panel
//   panel->SetCollapsSteps(10);                // in ten steps, CollapsDelay ms apart
//
// The settings it owns have headers of their own: the caption band
// (panel_caption_win.h), the status bar (panel_status_bar_win.h), where the
// position is kept (panel_position_win.h) and the sizing to the text
// (auto_size_win.h).
// The geometry (button places, collapse steps, auto-size) is portable, in
// panel_layout.h; the colour routines and shadings in panel_shading.h and
// panel_shading_win.h. A styler (lum_panel_styler_win.h) pushes one set of
// settings to many panels; a panel group (lum_panel_group_win.h) arranges
// panels. The collapse animation waits through the clock seam
// (classlib/core/clock.h), so tests step it instead of sleeping.
#pragma once

#include <memory>
#include <vector>

#include "classlib/core/inifiles.h"
#include "classlib/ui/bitmaps.h"
#include "classlib/ui/extctrls.h"
#include "classlib/ui/imagelist.h"
#include "components/controls/auto_size_win.h"
#include "components/controls/panel_caption_win.h"
#include "components/controls/panel_layout.h"
#include "components/controls/panel_position_win.h"
#include "components/controls/panel_shading.h"
#include "components/controls/panel_status_bar_win.h"
#include "components/foundation/html_picture_win.h"
#include "components/foundation/lum_image_win.h"
#include "components/foundation/paint_cache_win.h"
#include "components/foundation/picture_container_win.h"

class TCustomLumPanel;
class TLumPanelSettings;
class TLumPanelStyler;

using TAnchorClickEvent = TEvent<TObject* /*Sender*/, String /*Anchor*/>;
using TAnchorHintEvent = TEvent<TObject* /*Sender*/, String& /*Anchor*/>;
using TPanelPaintEvent = TEvent<TObject* /*Sender*/, TCanvas*, TRect>;

// ---- The panel's text ----------------------------------------------------------------

// What the panel's text drawing gets besides the text and its rectangle:
// the colours and the hover state of its anchors.
struct TPanelTextStyle {
    int LineSpacing = 0;
    TColor ShadowColor = TColor(0x808080);
    TColor HoverFontColor = clNone;
    TColor HoverColor = clNone;
    TColor URLColor = clBlue;
    bool WordWrap = true;
    bool Hover = false;
    int ShadowOffset = 2;
    int HoverIndex = -1;
    TCustomImageList* Images = nullptr;
    TPictureContainer* PictureContainer = nullptr;
    THTMLPictureCache* PictureCache = nullptr;
};

// What one call of the text drawing found.
struct TPanelTextResult {
    // The extent of the text as laid out.
    TSize Extent;
    // The anchor under the point asked about (empty: none), its index and
    // its rectangle.
    String Anchor;
    int AnchorIndex = -1;
    TRect AnchorRect;
};

// ptmPlace lays the text out as its paint does, without drawing, to learn
// the height it takes inside rect (for centring or bottom alignment).
enum TPanelTextMode { ptmPaint, ptmMeasure, ptmHitTest, ptmPlace };

// Draws, measures or hit-tests the panel's body, caption and status-bar text
// (the HTML subset of DrawHtmlText) in the canvas's font. The one place the
// panel's text goes through.
TPanelTextResult DrawPanelText(TCanvas* canvas, const String& text, const TRect& rect, const TPanelTextStyle& style,
                               TPanelTextMode mode, TPoint point = {});

// ---- The panel ------------------------------------------------------------------------

class TCustomLumPanel : public TCustomPanel {
    QL_CLASS(TCustomLumPanel, TCustomPanel)
public:
    explicit TCustomLumPanel(TComponent* owner);
    ~TCustomLumPanel() override;

    void Assign(TPersistent* source) override;
    void DefineProperties(TFiler* filer) override;
    void Loaded() override;
    void SetBounds(int left, int top, int width, int height) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void WndProc(TMessage& message) override;
    void ChangeScale(int m, int d) override;
    void BeforeDestruction() override;

    // ---- Virtual operations of the panel ----
    virtual void SetStyler(TLumPanelStyler* value);
    virtual void ApplySettings(TLumPanelSettings* settings);
    virtual void BuildCaptionShade();
    // A collapse, expand, close, auto-size, move or size changed the panel's
    // state (the panel group re-arranges).
    virtual void PanelStateChanged() {}
    // A child panel asks this one to re-arrange (the panel group does).
    virtual void ChildPanelChanged(TCustomLumPanel* child) {}

    // ---- Properties ----
    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool value) { FAnchorHint = value; }
    TAutoSize* AutoSize() const { return FAutoSize; }
    void SetAutoSize(TAutoSize* value);
    bool AutoHideChildren() const { return FAutoHideChildren; }
    void SetAutoHideChildren(bool value) { FAutoHideChildren = value; }
    TLumImage* Background() const { return FBackground; }
    void SetBackground(TLumImage* value);
    TBackGroundPosition BackgroundPosition() const { return FBackgroundPosition; }
    void SetBackgroundPosition(TBackGroundPosition value) { StoreAndRepaint(FBackgroundPosition, value); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { StoreAndRepaint(FBorderColor, value); }
    bool BorderShadow() const { return FBorderShadow; }
    void SetBorderShadow(bool value) { StoreAndRepaint(FBorderShadow, value); }
    bool Buffered() const { return FBuffered; }
    void SetBuffered(bool value) { FBuffered = value; }
    bool CanMove() const { return FCanMove; }
    void SetCanMove(bool value) { FCanMove = value; }
    bool CanSize() const { return FCanSize; }
    void SetCanSize(bool value) { StoreAndRepaint(FCanSize, value); }
    TPanelCaption* Caption() const { return FCaption; }
    void SetCaption(TPanelCaption* value) { FCaption->Assign(value); }
    bool Collaps() const { return FCollaps; }
    void SetCollaps(bool value);
    TColor CollapsColor() const { return FCollapsColor; }
    void SetCollapsColor(TColor value) { FCollapsColor = value; }
    int CollapsDelay() const { return FCollapsDelay; }
    void SetCollapsDelay(int value) { FCollapsDelay = value; }
    int CollapsSteps() const { return FCollapsSteps; }
    void SetCollapsSteps(int value) { FCollapsSteps = value; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value) { RepaintIfChanged(FColorTo, value); }
    TColor ColorMirror() const { return FColorMirror; }
    void SetColorMirror(TColor value) { RepaintIfChanged(FColorMirror, value); }
    TColor ColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(TColor value) { RepaintIfChanged(FColorMirrorTo, value); }
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value) { StoreAndRepaint(FEllipsis, value); }
    bool FixedTop() const { return FFixedTop; }
    void SetFixedTop(bool value) { FFixedTop = value; }
    bool FixedLeft() const { return FFixedLeft; }
    void SetFixedLeft(bool value) { FFixedLeft = value; }
    bool FixedHeight() const { return FFixedHeight; }
    void SetFixedHeight(bool value) { FFixedHeight = value; }
    bool FixedWidth() const { return FFixedWidth; }
    void SetFixedWidth(bool value) { FFixedWidth = value; }
    bool FreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool value) { FFreeOnClose = value; }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection value) { StoreAndRepaint(FGradientDirection, value); }
    // The size writers record the full (expanded) size too.
    void SetHeight(int value);
    void SetWidth(int value);
    bool Hover() const { return FHover; }
    void SetHover(bool value) { FHover = value; }
    TColor HoverColor() const { return FHoverColor; }
    void SetHoverColor(TColor value) { FHoverColor = value; }
    TColor HoverFontColor() const { return FHoverFontColor; }
    void SetHoverFontColor(TColor value) { FHoverFontColor = value; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    int Indent() const { return FIndent; }
    void SetIndent(int value) { StoreAndRepaint(FIndent, value); }
    int TopIndent() const { return FTopIndent; }
    void SetTopIndent(int value) { StoreAndRepaint(FTopIndent, value); }
    TPictureContainer* PictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(TPictureContainer* value);
    int LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(int value) { StoreAndRepaint(FLineSpacing, value); }
    TPanelPosition* Position() const { return FPosition; }
    void SetPosition(TPanelPosition* value) { FPosition->Assign(value); }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value) { StoreAndRepaint(FShadowColor, value); }
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int value) { StoreAndRepaint(FShadowOffset, value); }
    bool ShowMoveCursor() const { return FShowMoveCursor; }
    void SetShowMoveCursor(bool value) { FShowMoveCursor = value; }
    TPanelStatusBar* StatusBar() const { return FStatusBar; }
    void SetStatusBar(TPanelStatusBar* value) { FStatusBar->Assign(value); }
    TLumPanelStyler* Styler() const { return FStyler; }
    // The body text (the window text stays empty).
    const String& Text() const { return FBodyText; }
    void SetText(const String& value) override;
    TTextVAlignment TextVAlign() const { return FTextVAlign; }
    void SetTextVAlign(TTextVAlignment value) { StoreAndRepaint(FTextVAlign, value); }
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor value) { StoreAndRepaint(FURLColor, value); }
    String Version() const { return "1.9.1.0"; }

    TNotifyEvent OnCaptionClick;
    TNotifyEvent OnCaptionDBlClick;
    TNotifyEvent OnClose;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnMaximize;
    TNotifyEvent OnEndCollapsExpand;
    TNotifyEvent OnEndMoveSize;
    TAnchorClickEvent OnAnchorClick;
    TAnchorClickEvent OnAnchorEnter;
    TAnchorClickEvent OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;
    TPanelPaintEvent OnPaint;

    // ---- State ----
    // The expanded height (width for a left caption); 0 until known.
    int FullHeight() const { return FFullHeight; }
    void SetFullHeight(int value) { FFullHeight = value; }
    bool Collapsing() const { return FCollapsing; }
    // Visual styles are on (Windows XP or later, IsThemeActive).
    bool Themed() const;
    // The size of a caption button (12, a glyph's width, 16 themed). With
    // both collapse glyphs the buttons' hit areas take MaxGlyph's width and
    // the non-client hit test (forNonClientHitTest) MinGlyph's.
    int CaptionButtonSize(bool forNonClientHitTest = false) const;
    // The two buttons' hit rectangles in the client area.
    TCaptionButtonRects CaptionButtonHitRects() const;
    // The caption band in the client area.
    TRect CaptionRect() const;
    // The shading bitmap (empty until made).
    TBitmap* CaptionShade() const { return FShade; }
    // How often the shading was made (once per change, never per paint).
    int CaptionShadeBuilds() const { return FShadeBuilds; }
    bool CloseHovered() const { return FCloseHover; }
    bool MinMaxHovered() const { return FMinMaxHover; }
    // The anchor under a client point, or empty.
    String AnchorAt(int x, int y);
    // Sizes the panel to its text when AutoSize is enabled.
    void DoAutoSize();
    // Reads or writes the stored position in ini (Position's section).
    void ReadPosition(TCustomIniFile& ini);
    void WritePosition(TCustomIniFile& ini);
    // Asks a parent panel group to re-arrange.
    void NotifyGroup();

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void Resize() override;
    void Notification(TComponent* component, TOperation operation) override;

    // The style every paint of the text shares.
    TPanelTextStyle TextStyle(bool wordWrap, int hoverIndex) const;
    // The body text's rectangle for painting and searching (steps of the
    // paint and of AnchorAt).
    TRect BodyTextRect() const;

    // ---- Message handlers ----
    void WMNCHitTest(TMessage& message);
    void WMSizing(TMessage& message);
    void WMMoving(TMessage& message);
    void WMEnterSizeMove(TMessage& message);
    void WMExitSizeMove(TMessage& message);
    void WMSetCursor(TMessage& message);
    void WMLButtonDblClk(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMSize(TMessage& message);
    // The window goes: the position is written.
    void WMDestroy(TMessage& message);
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMHintShow(TMessage& message);
    // The posted release of a panel closed with FreeOnClose.
    void CMRelease(TMessage& message);

    template <class T>
    void StoreAndRepaint(T& field, const T& value) {
        field = value;
        Invalidate();
    }
    template <class T>
    void RepaintIfChanged(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }

private:
    friend class TAutoSize;
    friend class TLumPanelGroup;
    void CaptionChanged(TObject* sender);
    void CaptionShadeChanged(TObject* sender);
    void CaptionStateChanged(TObject* sender);
    void CaptionPositionChanged(TObject* sender);
    void StatusBarChanged(TObject* sender);
    void BackgroundChanged(TObject* sender);
    void ReadFullHeight(TReader* reader);
    void WriteFullHeight(TWriter* writer);
    void Collapse();
    // Remembers the children hidden already, which an expand leaves hidden.
    void RecordHiddenChildren();
    void Expand();
    // A pause between animation steps: messages, the group, the delay.
    // False when the panel or its form went away meanwhile.
    bool AnimationPause();
    void CloseClicked();
    void SetExtent(int value);
    int Extent() const;
    void SetHoverFlags(bool close, bool minMax);
    void RepaintAnchor(TRect rect, bool inflate);
    void StorePosition();
    // The panel as it would be styled now, for tests and the group.
    bool InMove() const { return FInMove; }

    // Paint steps (lum_panel_paint_win.cpp).
    void PaintBackground(TCanvas* canvas, TRect& r);
    void PaintBorderAndBevels(TCanvas* canvas, TRect& r);
    void PaintBody(TCanvas* canvas);
    void PaintCaption(TCanvas* canvas);
    void PaintStatusBar(TCanvas* canvas);
    void PaintSizeGrip(TCanvas* canvas);
    void PaintAll(TCanvas* canvas);

    bool FAnchorHint = false;
    TAutoSize* FAutoSize;
    bool FAutoHideChildren = true;
    TLumImage* FBackground;
    TBackGroundPosition FBackgroundPosition = bpTopLeft;
    TColor FBorderColor = clBlack;
    bool FBorderShadow = false;
    bool FBuffered = true;
    bool FCanMove = false;
    bool FCanSize = false;
    TPanelCaption* FCaption;
    bool FCollaps = false;
    TColor FCollapsColor = TColor(0x808080);
    int FCollapsDelay = 20;
    int FCollapsSteps = 0;
    TColor FColorTo = clNone;
    TColor FColorMirror = clNone;
    TColor FColorMirrorTo = clNone;
    bool FEllipsis = false;
    bool FFixedTop = false, FFixedLeft = false, FFixedHeight = false, FFixedWidth = false;
    bool FFreeOnClose = false;
    TGradientDirection FGradientDirection = gdVertical;
    bool FHover = false;
    TColor FHoverColor = clNone;
    TColor FHoverFontColor = clNone;
    TCustomImageList* FImages = nullptr;
    TPictureContainer* FPictureContainer = nullptr;
    THTMLPictureCache FPictureCache;
    int FIndent = 0;
    int FTopIndent = 0;
    int FLineSpacing = 0;
    TPanelPosition* FPosition;
    TColor FShadowColor = TColor(0x808080);
    int FShadowOffset = 2;
    bool FShowMoveCursor = false;
    TPanelStatusBar* FStatusBar;
    TLumPanelStyler* FStyler = nullptr;
    String FBodyText;
    TTextVAlignment FTextVAlign = tvaTop;
    TColor FURLColor = clBlue;

    int FFullHeight = 0;
    bool FCollapsing = false;
    TColor FOldColor = clBtnFace;
    TCursor FOldCursor = crDefault;
    std::vector<TControl*> FHiddenChildren;
    bool FCloseHover = false;
    bool FMinMaxHover = false;
    int FBodyHoverIndex = -1;
    int FCaptionHoverIndex = -1;
    TRect FBodyAnchorRect, FCaptionAnchorRect;
    String FCurrentAnchor;
    bool FInMove = false;
    TPoint FMoveOrigin;
    int FMoveWidth = 0, FMoveHeight = 0;
    int FLastBoundsWidth = -1, FLastBoundsHeight = -1;
    bool FIsWinXP = true;
    TBitmap* FShade;
    int FShadeBuilds = 0;
    // The off-screen bitmap of a buffered paint, kept while the size stays.
    TPaintCache FBuffer;
    bool FReleasePosted = false;
    bool FReleasePending = false;
    // Shared with an animation running on the stack: cleared when the panel
    // is destroyed, so the loop stops without touching it again.
    std::shared_ptr<bool> FAlive;
};

class TLumPanel : public TCustomLumPanel {
    QL_CLASS(TLumPanel, TCustomLumPanel)
public:
    explicit TLumPanel(TComponent* owner) : TCustomLumPanel(owner) {}
};
