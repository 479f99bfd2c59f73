// The glow button: a windowed push or toggle button drawn with GDI+, whose
// face is two gradient halves in the colours of its Appearance for each
// look (normal, hot, down, checked, disabled). Hover and press fade on a
// 30 ms timer; buttons of one GroupIndex on a parent are exclusive toggles;
// a held button can repeat its click (RepeatClick: after InitRepeatPause,
// then every RepeatPause); a drop-down button shows DropDownMenu from its
// drop-down part (DropDownSplit) or the whole button.
//
// The rules that need no window (fade, hit zones, colour choice, sizes) are
// in glow_button_logic.h; the painting is in glow_button_paint_win.cpp.
// This unit also holds TShortCutHintWindow, the key-tip popup of a button
// (the pager shows key tips), and TWinCtrl.
#pragma once

#include <memory>

#include "classlib/core/strings.h"
#include "classlib/ui/actions.h"
#include "classlib/ui/forms.h"
#include "classlib/ui/hints.h"
#include "classlib/ui/imagelist.h"
#include "classlib/ui/menus.h"
#include "classlib/ui/timers.h"
#include "components/controls/glow_button_appearance.h"
#include "components/controls/glow_button_logic.h"
#include "components/controls/glow_button_render_win.h"
#include "components/foundation/gdip_picture_win.h"
#include "components/foundation/lum_hint_info_win.h"
#include "components/foundation/style_preset.h"

class TLumCustomGlowButton;

// (Sender, Canvas, Rect, State): State 0 normal, 1 hot, 2 down.
using TGlowButtonDrawEvent = TEvent<TObject*, TCanvas*, const TRect&, int>;

// A window control that lends out the class library's painting of its
// windowless children, from a given first one, into a DC.
class TWinCtrl : public TWinControl {
    QL_CLASS(TWinCtrl, TWinControl)
public:
    explicit TWinCtrl(TComponent* owner) : TWinControl(owner) {}
    static void PaintChildControls(TWinControl* control, HDC dc, TControl* first) { control->PaintControls(dc, first); }
};

// The key-tip popup: a borderless hint window with a vertical gradient from
// Color to ColorTo, its text centred on one line and a grey rounded frame.
class TShortCutHintWindow : public THintWindow {
    QL_CLASS(TShortCutHintWindow, THintWindow)
public:
    explicit TShortCutHintWindow(TComponent* owner);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    TRect CalcHintRect(int maxWidth, const String& hint, void* data) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void WndProc(TMessage& message) override;

private:
    TColor FColorTo = clWhite;
};

// The link of a glow button to its action: also its checked state, group
// and image.
class TLumGlowButtonActionLink : public TControlActionLink {
public:
    explicit TLumGlowButtonActionLink(TLumCustomGlowButton* client);
    bool IsCheckedLinked() override;
    bool IsGroupIndexLinked() override;
    bool IsImageIndexLinked() override;
    void SetChecked(bool value) override;
    void SetGroupIndex(int value) override;
    void SetImageIndex(int value) override;

private:
    TLumCustomGlowButton* FButton;
    int FImageIndex = -1;  // the index last set through the link
};

class TLumCustomGlowButton : public TCustomControl, public IStylePreset {
    QL_CLASS(TLumCustomGlowButton, TCustomControl)
public:
    explicit TLumCustomGlowButton(TComponent* owner);
    ~TLumCustomGlowButton() override;

    void Assign(TPersistent* source) override;
    void Click() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;

    // Sets the appearance to style preset style (numbered as the pager's
    // style enumeration), then repaints and recolours the key-tip window.
    void ApplyButtonStylePreset(int style);
    void ApplyStylePreset(int style) override { ApplyButtonStylePreset(style); }

    // ---- Properties ----
    TAntiAlias AntiAlias() const { return FAntiAlias; }
    void SetAntiAlias(TAntiAlias value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool value) { FDefault = value; }
    TFocusType FocusType() const { return FFocusType; }
    void SetFocusType(TFocusType value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* value);
    TCustomImageList* HotImages() const { return FHotImages; }
    void SetHotImages(TCustomImageList* value);
    int MarginVert() const { return FMarginVert; }
    void SetMarginVert(int value);
    int MarginHorz() const { return FMarginHorz; }
    void SetMarginHorz(int value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // The picture beside the caption, and the ones a disabled or a hot
    // button shows instead when they are not empty; written by copy.
    TGDIPPicture* Picture() const { return FPicture; }
    void SetPicture(TGDIPPicture* value) { FPicture->Assign(value); }
    TGDIPPicture* DisabledPicture() const { return FDisabledPicture; }
    void SetDisabledPicture(TGDIPPicture* value);
    TGDIPPicture* HotPicture() const { return FHotPicture; }
    void SetHotPicture(TGDIPPicture* value) { FHotPicture->Assign(value); }
    // How often a picture or a list image was decoded for painting: once,
    // and again only when it changed, not on every paint.
    int PictureDecodes() const { return FImageCache.Decodes(); }
    // How often a paint drew the button's look, or measured it for
    // AutoSize, anew: once for each look, not on every paint.
    int LookRenders() const { return FDrawing.Renders(); }
    int LookMeasures() const { return FDrawing.Measures(); }
    // The office-style hint of the button; written by copy.
    TLumHintInfo* OfficeHint() const { return FOfficeHint; }
    void SetOfficeHint(TLumHintInfo* value) { FOfficeHint->Assign(value); }
    TStringList* Notes() const { return FNotes; }
    void SetNotes(TStringList* value);
    TFont* NotesFont() const { return FNotesFont; }
    void SetNotesFont(TFont* value);
    TButtonPosition Position() const { return FPosition; }
    void SetPosition(TButtonPosition value);
    int InitRepeatPause() const { return FInitRepeatPause; }
    void SetInitRepeatPause(int value) { FInitRepeatPause = value; }
    int RepeatPause() const { return FRepeatPause; }
    void SetRepeatPause(int value) { FRepeatPause = value; }
    bool RepeatClick() const { return FRepeatClick; }
    void SetRepeatClick(bool value) { FRepeatClick = value; }
    bool Rounded() const { return FRounded; }
    void SetRounded(bool value);
    const String& ShortCutHint() const { return FShortCutHint; }
    void SetShortCutHint(const String& value) { FShortCutHint = value; }
    TShortCutHintPos ShortCutHintPos() const { return FShortCutHintPos; }
    void SetShortCutHintPos(TShortCutHintPos value) { FShortCutHintPos = value; }
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    bool ShowDisabled() const { return FShowDisabled; }
    void SetShowDisabled(bool value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; }
    StringTrimming Trimming() const { return FTrimming; }
    void SetTrimming(StringTrimming value);
    String Version() const;
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    TGlowButtonDrawEvent OnDrawButton;

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    TGlowButtonAppearance* Appearance() const { return FAppearance; }
    void SetAppearance(TGlowButtonAppearance* value);
    bool Down() const { return FDown; }
    virtual void SetDown(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    TLumButtonStyle Style() const { return FStyle; }
    void SetStyle(TLumButtonStyle value) { FStyle = value; }
    TButtonSizeState MaxButtonSizeState() const { return FMaxButtonSizeState; }
    void SetMaxButtonSizeState(TButtonSizeState value);
    TButtonSizeState MinButtonSizeState() const { return FMinButtonSizeState; }
    void SetMinButtonSizeState(TButtonSizeState value);
    TButtonSizeState ButtonSizeState() const { return FButtonSizeState; }
    void SetButtonSizeState(TButtonSizeState value);
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool value);
    TDropDownPosition DropDownPosition() const { return FDropDownPosition; }
    void SetDropDownPosition(TDropDownPosition value);
    TDropDownDirection DropDownDirection() const { return FDropDownDirection; }
    void SetDropDownDirection(TDropDownDirection value);
    bool DropDownSplit() const { return FDropDownSplit; }
    void SetDropDownSplit(bool value) { FDropDownSplit = value; }
    TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* value);
    TNotifyEvent OnDropDown;

    // The key-tip window the button owns (made on first use), in the
    // appearance's colours.
    TShortCutHintWindow* ShortCutHintWindow();

    // ---- Run-time state (read by the painting and by tests) ----
    int VisualState() const { return FState; }
    bool Hot() const { return FHot; }
    bool Pressed() const { return FPressed; }
    bool Held() const { return FHeld; }
    bool PendingPress() const { return FPendingPress; }
    bool LeftWhileHeld() const { return FLeftWhileHeld; }
    bool DropDownHot() const { return FDropDownHot; }
    bool MenuShowing() const { return FMenuShowing; }
    bool HasFocus() const { return FFocused; }
    const TGlowFade& Fade() const { return FFade; }
    TTimer* RepeatTimer() const { return FRepeatTimer; }
    // Enter acts on this button now (it has the focus, or is the default).
    bool IsDefaultNow() const { return FDefaultNow; }
    // What a paint reads of the button to choose its colours.
    TGlowPaintInput PaintInput() const;
    // Measures the content and sets the size AutoSize gives (when set).
    void AdjustAutoSize();
    // What the renderer draws for the button's current state.
    TGlowRenderInput RenderInput();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyUp(Word& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void Paint() override;
    TControlActionLink* CreateActionLink() override;
    void ActionChange(TObject* sender, bool checkDefaults) override;

    // Virtual operations of the button, in this order.
    virtual void RepeatTimerExpired(TObject* sender);
    virtual void DoDropDownHookBefore() {}
    virtual void DoDropDownHookAfter() {}
    virtual int GetVersionNr() const;
    // Every press and accelerator opens the drop-down (none here).
    virtual bool DropDownOnWholeButton() const { return false; }
    virtual bool HasBorder() const { return FBorderStyle == bsSingle; }
    virtual bool HasFocusBorder() const { return FFocused && (FFocusType == ftBorder || FFocusType == ftHotBorder); }

    // Repaints, or with AutoSize measures again, after a content change.
    void ContentChanged();
    // Shows the drop-down menu below (ddDown) or right of (ddRight) the
    // button and waits for it to close.
    void ShowDropDownMenu();
    // The state the button rests in now that no press holds it.
    int RestingState() const { return GlowRestingState(FStyle, FDown); }
    // Performs the button's action as Enter, Escape or an accelerator do.
    void PerformAction();
    void UpdateHotFromCursor();

    // ---- Message handlers ----
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMButtonPressed(TMessage& message);
    void CMDialogKey(TMessage& message);
    void CMDialogChar(TMessage& message);
    void CMFocusChanged(TMessage& message);
    void CMEnter(TMessage& message);
    void CMExit(TMessage& message);
    void CMTextChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    void CNCommand(TMessage& message);
    void WMEraseBkgnd(TMessage& message);

    friend class TLumGlowButtonActionLink;
    friend class TGlowButtonPainter;

    TAntiAlias FAntiAlias = aaClearType;
    bool FAutoSize = false;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCancel = false;
    bool FDefault = false;
    TFocusType FFocusType = ftBorder;
    int FImageIndex = -1;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
    TCustomImageList* FHotImages = nullptr;
    TChangeLink FImagesLink, FDisabledImagesLink, FHotImagesLink;
    // The pictures and list images of the paints, decoded once.
    TGlowImageCache FImageCache;
    // The look of the last paint, kept for the next.
    TGlowKeptDrawing FDrawing;
    int FMarginVert = 1;
    int FMarginHorz = 1;
    TModalResult FModalResult = 0;
    TGDIPPicture* FPicture;
    TGDIPPicture* FDisabledPicture;
    TGDIPPicture* FHotPicture;
    TLumHintInfo* FOfficeHint;
    TStringList* FNotes;
    TFont* FNotesFont;
    TButtonPosition FPosition = bpStandalone;
    int FInitRepeatPause = 400;
    int FRepeatPause = 100;
    bool FRepeatClick = false;
    bool FRounded = true;
    String FShortCutHint;
    TShortCutHintPos FShortCutHintPos = shpTop;
    bool FShowCaption = true;
    bool FShowDisabled = true;
    int FSpacing = 2;
    bool FTransparent = false;
    StringTrimming FTrimming = StringTrimmingNone;
    bool FWordWrap = true;
    bool FAllowAllUp = false;
    TGlowButtonAppearance* FAppearance;
    bool FDown = false;
    int FGroupIndex = 0;
    TButtonLayout FLayout = blGlyphLeft;
    TLumButtonStyle FStyle = bsButton;
    TButtonSizeState FMaxButtonSizeState = bsLarge;
    TButtonSizeState FMinButtonSizeState = bsGlyph;
    TButtonSizeState FButtonSizeState = bsLarge;
    TButtonLayout FLargeLayout = blGlyphLeft;
    TDropDownPosition FLargeDropDownPosition = dpRight;
    bool FDropDownButton = false;
    TDropDownPosition FDropDownPosition = dpRight;
    TDropDownDirection FDropDownDirection = ddDown;
    bool FDropDownSplit = true;
    TPopupMenu* FDropDownMenu = nullptr;

    int FState = gsNormal;
    bool FHot = false;
    bool FPressed = false;
    bool FHeld = false;
    bool FPendingPress = false;
    bool FLeftWhileHeld = false;
    bool FDropDownHot = false;
    bool FFocused = false;
    bool FDefaultNow = false;
    bool FMenuShowing = false;
    bool FPainting = false;
    bool FLoadedDown = false;
    bool FDownAtPress = false;  // Down when the pending press began
    bool FHasLoadedDown = false;
    TGlowFade FFade;
    TTimer* FRepeatTimer = nullptr;
    TCustomForm* FParentForm = nullptr;
    TShortCutHintWindow* FShortCutHintWindow = nullptr;

private:
    void AppearanceChanged(TObject* sender);
    void ImageListChanged(TObject* sender) {
        FImageCache.Clear();
        Invalidate();
    }
    void NotesChanged(TObject* sender) { Invalidate(); }
    void PictureChanged(TObject* sender) { ContentChanged(); }
    void MoveImageLink(TCustomImageList*& field, TCustomImageList* value, TChangeLink& link);
    void BroadcastGroup();
    void RecolourShortCutHint();
    // Down without the group broadcast (the action link's checked update).
    bool FUpdatingFromAction = false;
};

class TLumGlowButton : public TLumCustomGlowButton {
    QL_CLASS(TLumGlowButton, TLumCustomGlowButton)
public:
    explicit TLumGlowButton(TComponent* owner) : TLumCustomGlowButton(owner) {}
};

// Registers the glow button classes for stored layouts.
void RegisterGlowButtonClasses();
