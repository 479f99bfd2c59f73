#include "components/controls/glow_button_win.h"

#include "classlib/core/sysutils.h"
#include "classlib/ui/stdctrls.h"
#include "components/foundation/version_text.h"
#include "components/foundation/visual_styles_win.h"

QL_DEFINE_ENUM(TAntiAlias, "aaNone", "aaClearType", "aaAntiAlias")
QL_DEFINE_ENUM(StringTrimming, "StringTrimmingNone", "StringTrimmingCharacter", "StringTrimmingWord",
               "StringTrimmingEllipsisCharacter", "StringTrimmingEllipsisWord", "StringTrimmingEllipsisPath")

// ============================================================================
// TShortCutHintWindow
// ============================================================================

TClass TShortCutHintWindow::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TShortCutHintWindow>("TShortCutHintWindow")
            .Prop("Color", &TShortCutHintWindow::Color, &TShortCutHintWindow::SetColor)
            .Prop("ColorTo", &TShortCutHintWindow::FColorTo, &TShortCutHintWindow::SetColorTo)
            .Build();
    return &info;
}

TShortCutHintWindow::TShortCutHintWindow(TComponent* owner) : THintWindow(owner) {
    FColor = clWhite;
    FParentColor = false;
}

void TShortCutHintWindow::SetColorTo(TColor value) {
    if (FColorTo == value) return;
    FColorTo = value;
    Invalidate();
}

void TShortCutHintWindow::CreateParams(TCreateParams& p) {
    THintWindow::CreateParams(p);
    p.Style &= ~DWORD(WS_BORDER);
    if (IsWinXP()) p.WindowClass.style &= ~UINT(CS_DROPSHADOW);
}

TRect TShortCutHintWindow::CalcHintRect(int maxWidth, const String& hint, void* data) {
    TRect r = THintWindow::CalcHintRect(maxWidth, hint, data);
    const int least = FCanvas->TextWidth("O") + 8;
    if (r.Width() < least) r.Right = r.Left + least;
    return r;
}

void TShortCutHintWindow::WndProc(TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        return;
    }
    THintWindow::WndProc(m);
}

void TShortCutHintWindow::Paint() {
    const TRect r = ClientRect();
    // Sixteen bands from Color at the top to ColorTo at the bottom.
    const TColor from = TColor(ColorToRGB(FColor)), to = TColor(ColorToRGB(FColorTo));
    constexpr int kBands = 16;
    for (int i = 0; i < kBands; ++i) {
        const int top = r.Top + r.Height() * i / kBands, bottom = r.Top + r.Height() * (i + 1) / kBands;
        FCanvas->Brush()->SetColor(Blend(to, from, i * 100 / (kBands - 1)));
        FCanvas->FillRect(Rect(r.Left, top, r.Right, bottom));
    }
    FCanvas->Font()->Assign(Font());
    FCanvas->Brush()->SetStyle(bsClear);
    TRect text = r;
    DrawTextA(FCanvas->Handle(), Caption().c_str(), -1, reinterpret_cast<RECT*>(&text),
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    FCanvas->Pen()->SetColor(TColor(0x808080));
    FCanvas->Brush()->SetStyle(bsClear);
    FCanvas->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 3, 3);
}

// ============================================================================
// TLumGlowButtonActionLink
// ============================================================================

TLumGlowButtonActionLink::TLumGlowButtonActionLink(TLumCustomGlowButton* client)
    : TControlActionLink(client), FButton(client) {}

bool TLumGlowButtonActionLink::IsCheckedLinked() {
    TCustomAction* a = CustomAction();
    return TControlActionLink::IsCheckedLinked() && a && a->Checked() == FButton->Down();
}

bool TLumGlowButtonActionLink::IsGroupIndexLinked() {
    TCustomAction* a = CustomAction();
    return a && a->GroupIndex() == FButton->GroupIndex();
}

bool TLumGlowButtonActionLink::IsImageIndexLinked() {
    TCustomAction* a = CustomAction();
    return TControlActionLink::IsImageIndexLinked() && a && a->ImageIndex() == FImageIndex;
}

void TLumGlowButtonActionLink::SetChecked(bool value) {
    if (!IsCheckedLinked()) return;
    TTempChange<bool> updating(FButton->FUpdatingFromAction, true);
    FButton->SetDown(value);
}

void TLumGlowButtonActionLink::SetGroupIndex(int value) {
    if (IsGroupIndexLinked()) FButton->SetGroupIndex(value);
}

void TLumGlowButtonActionLink::SetImageIndex(int value) {
    if (!IsGroupIndexLinked()) return;
    FImageIndex = value;
    FButton->Invalidate();
    if (TCustomAction* a = CustomAction(); a && a->Images()) FButton->SetImageIndex(value);
}

// ============================================================================
// TLumCustomGlowButton
// ============================================================================

namespace {
constexpr int kVersionNr = 0x01090101;  // 1.9.1.1
}

TClass TLumCustomGlowButton::StaticClass() {
    using B = TLumCustomGlowButton;
    static const TClassInfo info = TClassBuilder<B>("TLumCustomGlowButton")
                                       .Implements<IStylePreset>()
                                       .Declare("AntiAlias", &B::FAntiAlias, &B::SetAntiAlias)
                                       .Default(aaClearType)
                                       .Declare("AutoSize", &B::FAutoSize, &B::SetAutoSize)
                                       .Default(false)
                                       .Declare("BorderStyle", &B::FBorderStyle, &B::SetBorderStyle)
                                       .Default(bsSingle)
                                       .Declare("Cancel", &B::FCancel, &B::SetCancel)
                                       .Default(false)
                                       .Declare("Default", &B::FDefault, &B::SetDefault)
                                       .Default(false)
                                       .Declare("FocusType", &B::FFocusType, &B::SetFocusType)
                                       .Default(ftBorder)
                                       .Declare("ImageIndex", &B::FImageIndex, &B::SetImageIndex)
                                       .Default(-1)
                                       .Declare("Images", &B::FImages, &B::SetImages)
                                       .Declare("DisabledImages", &B::FDisabledImages, &B::SetDisabledImages)
                                       .Declare("HotImages", &B::FHotImages, &B::SetHotImages)
                                       .Declare("MarginVert", &B::FMarginVert, &B::SetMarginVert)
                                       .Default(1)
                                       .Declare("MarginHorz", &B::FMarginHorz, &B::SetMarginHorz)
                                       .Default(1)
                                       .Declare("ModalResult", &B::FModalResult, &B::SetModalResult)
                                       .Default(0)
                                       .Declare("Picture", &B::FPicture, &B::SetPicture)
                                       .Declare("DisabledPicture", &B::FDisabledPicture, &B::SetDisabledPicture)
                                       .Declare("HotPicture", &B::FHotPicture, &B::SetHotPicture)
                                       .Declare("OfficeHint", &B::FOfficeHint, &B::SetOfficeHint)
                                       .Declare("Notes", &B::FNotes, &B::SetNotes)
                                       .Declare("NotesFont", &B::FNotesFont, &B::SetNotesFont)
                                       .Declare("Position", &B::FPosition, &B::SetPosition)
                                       .Default(bpStandalone)
                                       .Declare("InitRepeatPause", &B::FInitRepeatPause, &B::SetInitRepeatPause)
                                       .Default(400)
                                       .Declare("RepeatPause", &B::FRepeatPause, &B::SetRepeatPause)
                                       .Default(100)
                                       .Declare("RepeatClick", &B::FRepeatClick, &B::SetRepeatClick)
                                       .Default(false)
                                       .Declare("Rounded", &B::FRounded, &B::SetRounded)
                                       .Default(true)
                                       .Declare("ShortCutHint", &B::FShortCutHint, &B::SetShortCutHint)
                                       .Declare("ShortCutHintPos", &B::FShortCutHintPos, &B::SetShortCutHintPos)
                                       .Default(shpTop)
                                       .Declare("ShowCaption", &B::FShowCaption, &B::SetShowCaption)
                                       .Default(true)
                                       .Declare("ShowDisabled", &B::FShowDisabled, &B::SetShowDisabled)
                                       .Default(true)
                                       .Declare("Spacing", &B::FSpacing, &B::SetSpacing)
                                       .Default(2)
                                       .Declare("Transparent", &B::FTransparent, &B::SetTransparent)
                                       .Default(false)
                                       .Declare("Trimming", &B::FTrimming, &B::SetTrimming)
                                       .Default(StringTrimmingNone)
                                       // Read-only: a value found in a stored layout is ignored.
                                       .Declare("Version", &B::Version, [](B*, const String&) {})
                                       .Stored(false)
                                       .Declare("WordWrap", &B::FWordWrap, &B::SetWordWrap)
                                       .Default(true)
                                       .Declare("OnDrawButton", &B::OnDrawButton, &B::OnDrawButton)
                                       .Declare("TabStop", &B::FTabStop, &B::SetTabStop)
                                       .Default(true)
                                       .Build();
    return &info;
}

TClass TLumGlowButton::StaticClass() {
    using B = TLumGlowButton;
    static const TClassInfo info =
        TClassBuilder<B>("TLumGlowButton")
            .Publish(kControlProperties)
            .Publish(kWinControlProperties)
            .Publish("DoubleBuffered")
            .Default(true)
            .Publish({"AntiAlias",       "AutoSize",        "BorderStyle",  "Cancel",         "Default",
                      "FocusType",       "ImageIndex",      "Images",       "DisabledImages", "HotImages",
                      "Picture",         "DisabledPicture", "HotPicture",   "OfficeHint",     "MarginVert",
                      "MarginHorz",      "ModalResult",     "Notes",        "NotesFont",      "Position",
                      "InitRepeatPause", "RepeatPause",     "RepeatClick",  "Rounded",        "ShortCutHint",
                      "ShortCutHintPos", "ShowCaption",     "ShowDisabled", "Spacing",        "Transparent",
                      "Trimming",        "Version",         "WordWrap",     "OnDrawButton",   "TabStop"})
            .Prop("AllowAllUp", &B::FAllowAllUp, &B::SetAllowAllUp)
            .Default(false)
            .Prop("Appearance", &B::FAppearance, &B::SetAppearance)
            .Prop("Down", &B::FDown, &B::SetDown)
            .Default(false)
            .Prop("GroupIndex", &B::FGroupIndex, &B::SetGroupIndex)
            .Default(0)
            .Prop("Layout", &B::FLayout, &B::SetLayout)
            .Default(blGlyphLeft)
            .Prop("Style", &B::FStyle, &B::SetStyle)
            .Default(bsButton)
            .Prop("MaxButtonSizeState", &B::FMaxButtonSizeState, &B::SetMaxButtonSizeState)
            .Default(bsLarge)
            .Prop("MinButtonSizeState", &B::FMinButtonSizeState, &B::SetMinButtonSizeState)
            .Default(bsGlyph)
            .Prop("DropDownButton", &B::FDropDownButton, &B::SetDropDownButton)
            .Default(false)
            .Prop("DropDownPosition", &B::FDropDownPosition, &B::SetDropDownPosition)
            .Default(dpRight)
            .Prop("DropDownDirection", &B::FDropDownDirection, &B::SetDropDownDirection)
            .Default(ddDown)
            .Prop("DropDownSplit", &B::FDropDownSplit, &B::SetDropDownSplit)
            .Default(true)
            .Prop("DropDownMenu", &B::FDropDownMenu, &B::SetDropDownMenu)
            .Prop("OnDropDown", &B::OnDropDown, &B::OnDropDown)
            .Build();
    return &info;
}

void RegisterGlowButtonClasses() {
    RegisterClasses({TLumGlowButton::StaticClass(), TShortCutHintWindow::StaticClass()});
}

TLumCustomGlowButton::TLumCustomGlowButton(TComponent* owner)
    : TCustomControl(owner), FPicture(NewObject<TGDIPPicture>()), FDisabledPicture(NewObject<TGDIPPicture>()),
      FHotPicture(NewObject<TGDIPPicture>()), FOfficeHint(NewObject<TLumHintInfo>()), FNotes(NewObject<TStringList>()),
      FNotesFont(NewObject<TFont>()), FAppearance(NewObject<TGlowButtonAppearance>()) {
    FWidth = 100;
    FHeight = 41;
    FTabStop = true;
    FDoubleBuffered = true;
    FControlStyle.Exclude(csDoubleClicks);
    FControlStyle.Include(csOpaque);
    FNotesFont->SetName("Tahoma");
    FNotesFont->SetSize(8);
    FAppearance->OnChange = TNotifyEvent::Bind<&TLumCustomGlowButton::AppearanceChanged>(this);
    FNotes->OnChange = TNotifyEvent::Bind<&TLumCustomGlowButton::NotesChanged>(this);
    // The picture and the disabled picture repaint through their change
    // events; the hot one shows at the next hover's paint anyway.
    FPicture->OnChange = TNotifyEvent::Bind<&TLumCustomGlowButton::PictureChanged>(this);
    FDisabledPicture->OnChange = TNotifyEvent::Bind<&TLumCustomGlowButton::PictureChanged>(this);
    FNotesFont->OnChange = TNotifyEvent::Bind<&TLumCustomGlowButton::NotesChanged>(this);
    for (TChangeLink* link : {&FImagesLink, &FDisabledImagesLink, &FHotImagesLink})
        link->OnChange = TNotifyEvent::Bind<&TLumCustomGlowButton::ImageListChanged>(this);
    FFade.OnInvalidate = [this] { Invalidate(); };
    FFade.OnPressFadedOut = [this] {
        FPressed = false;
        FLeftWhileHeld = false;
    };
}

// The change links leave their lists by themselves; the key-tip window and
// the repeat timer are owned components.
TLumCustomGlowButton::~TLumCustomGlowButton() {
    FFade.Stop();
    FAppearance->Free();
    FPicture->Free();
    FDisabledPicture->Free();
    FHotPicture->Free();
    FOfficeHint->Free();
    FNotes->Free();
    FNotesFont->Free();
}

String TLumCustomGlowButton::Version() const { return PackedVersionText(LongWord(GetVersionNr())); }

int TLumCustomGlowButton::GetVersionNr() const { return kVersionNr; }

void TLumCustomGlowButton::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    // No double clicks: a quick second click is a second click.
    p.WindowClass.style &= ~UINT(CS_DBLCLKS);
}

void TLumCustomGlowButton::CreateWnd() {
    TCustomControl::CreateWnd();
    FDefaultNow = FDefault;
    FParentForm = GetParentForm(this);
}

void TLumCustomGlowButton::Loaded() {
    TCustomControl::Loaded();
    if (FHasLoadedDown && FLoadedDown != FDown) SetDown(FLoadedDown);
    FHasLoadedDown = false;
}

// ---- Writers -----------------------------------------------------------------------

void TLumCustomGlowButton::ContentChanged() {
    if (FAutoSize && FParent && !IsDesigning() && !IsLoading() && FHandle) {
        Repaint();
        AdjustAutoSize();
    } else {
        Invalidate();
    }
}

void TLumCustomGlowButton::SetAntiAlias(TAntiAlias value) {
    if (FAntiAlias == value) return;
    FAntiAlias = value;
    Invalidate();
}

void TLumCustomGlowButton::SetAutoSize(bool value) {
    if (FAutoSize == value) return;
    FAutoSize = value;
    ContentChanged();
}

void TLumCustomGlowButton::SetBorderStyle(TBorderStyle value) {
    FBorderStyle = value;
    Invalidate();
}

void TLumCustomGlowButton::SetFocusType(TFocusType value) {
    if (FFocusType == value) return;
    FFocusType = value;
    Invalidate();
}

void TLumCustomGlowButton::SetImageIndex(int value) {
    FImageIndex = value;
    ContentChanged();
}

void TLumCustomGlowButton::MoveImageLink(TCustomImageList*& field, TCustomImageList* value, TChangeLink& link) {
    FImageCache.Clear();
    if (field) field->UnRegisterChanges(&link);
    // The list stays watched while another of the three names it.
    ReplaceReference(field, value);
    if (field) field->RegisterChanges(&link);
}

void TLumCustomGlowButton::SetImages(TCustomImageList* value) {
    if (FImages == value) return;
    MoveImageLink(FImages, value, FImagesLink);
    ContentChanged();
    Invalidate();
}

void TLumCustomGlowButton::SetDisabledImages(TCustomImageList* value) {
    if (FDisabledImages == value) return;
    MoveImageLink(FDisabledImages, value, FDisabledImagesLink);
    Invalidate();
}

void TLumCustomGlowButton::SetHotImages(TCustomImageList* value) {
    if (FHotImages == value) return;
    MoveImageLink(FHotImages, value, FHotImagesLink);
    Invalidate();
}

void TLumCustomGlowButton::SetMarginVert(int value) {
    if (FMarginVert == value) return;
    FMarginVert = value;
    ContentChanged();
}

void TLumCustomGlowButton::SetMarginHorz(int value) {
    if (FMarginHorz == value) return;
    FMarginHorz = value;
    ContentChanged();
}

void TLumCustomGlowButton::SetDisabledPicture(TGDIPPicture* value) {
    FDisabledPicture->Assign(value);
    Invalidate();
}

void TLumCustomGlowButton::SetNotes(TStringList* value) {
    FNotes->Assign(value);
    Invalidate();
}

void TLumCustomGlowButton::SetNotesFont(TFont* value) {
    FNotesFont->Assign(value);
    Invalidate();
}

void TLumCustomGlowButton::SetPosition(TButtonPosition value) {
    FPosition = value;
    Invalidate();
}

void TLumCustomGlowButton::SetRounded(bool value) {
    if (FRounded == value) return;
    FRounded = value;
    Invalidate();
}

void TLumCustomGlowButton::SetShowCaption(bool value) {
    FShowCaption = value;
    ContentChanged();
    Invalidate();
}

void TLumCustomGlowButton::SetShowDisabled(bool value) {
    FShowDisabled = value;
    Invalidate();
}

void TLumCustomGlowButton::SetSpacing(int value) {
    if (FSpacing == value) return;
    FSpacing = value;
    Invalidate();
}

void TLumCustomGlowButton::SetTrimming(StringTrimming value) {
    if (FTrimming == value) return;
    FTrimming = value;
    Invalidate();
}

void TLumCustomGlowButton::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    Invalidate();
}

void TLumCustomGlowButton::SetAllowAllUp(bool value) {
    if (FAllowAllUp == value) return;
    FAllowAllUp = value;
    BroadcastGroup();
}

void TLumCustomGlowButton::SetGroupIndex(int value) {
    if (FGroupIndex == value) return;
    FGroupIndex = value;
    BroadcastGroup();
}

void TLumCustomGlowButton::SetLayout(TButtonLayout value) {
    FLayout = value;
    Invalidate();
}

void TLumCustomGlowButton::SetAppearance(TGlowButtonAppearance* value) {
    FAppearance->Assign(value);
    RecolourShortCutHint();
}

void TLumCustomGlowButton::AppearanceChanged(TObject*) {
    Invalidate();
    RecolourShortCutHint();
}

void TLumCustomGlowButton::RecolourShortCutHint() {
    if (!FShortCutHintWindow) return;
    FShortCutHintWindow->SetColor(clWhite);
    FShortCutHintWindow->SetColorTo(FAppearance->Color());
}

TShortCutHintWindow* TLumCustomGlowButton::ShortCutHintWindow() {
    if (!FShortCutHintWindow) {
        FShortCutHintWindow = NewObject<TShortCutHintWindow>(this);
        RecolourShortCutHint();
    }
    return FShortCutHintWindow;
}

void TLumCustomGlowButton::ApplyButtonStylePreset(int style) {
    ApplyGlowButtonStylePreset(*FAppearance, style);
    Invalidate();
    RecolourShortCutHint();
}

void TLumCustomGlowButton::SetDown(bool value) {
    if (IsLoading()) {
        FLoadedDown = value;
        FHasLoadedDown = true;
    }
    if (value && FGroupIndex == 0 && FStyle == bsButton) value = false;
    if (FStyle == bsCheck) {
        FDown = value;
        FState = value ? gsPressed : gsNormal;
        Repaint();
        return;
    }
    if (value == FDown || (FDown && !value && !FAllowAllUp)) return;
    FDown = value;
    if (value) {
        if (FState == gsNormal) Invalidate();
        FState = gsCheckedDown;
    } else {
        FState = gsNormal;
        Repaint();
    }
    if (value && !FUpdatingFromAction) BroadcastGroup();
}

void TLumCustomGlowButton::BroadcastGroup() {
    if (FParent) FParent->Perform(CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(this));
}

void TLumCustomGlowButton::CMButtonPressed(TMessage& m) {
    auto* sender = reinterpret_cast<TControl*>(m.LParam);
    if (int(m.WParam) != FGroupIndex || sender == this) return;
    auto* other = dynamic_cast<TLumCustomGlowButton*>(sender);
    if (other && FDown && other->FDown) {
        FDown = false;
        FState = gsNormal;
        Invalidate();
    }
}

void TLumCustomGlowButton::SetMaxButtonSizeState(TButtonSizeState value) {
    if (FMaxButtonSizeState == value) return;
    FMaxButtonSizeState = value;
    SetButtonSizeState(value);
}

void TLumCustomGlowButton::SetMinButtonSizeState(TButtonSizeState value) {
    if (FMinButtonSizeState == value) return;
    FMinButtonSizeState = value;
    if (value > FButtonSizeState) SetButtonSizeState(value);
}

void TLumCustomGlowButton::SetButtonSizeState(TButtonSizeState value) {
    if (value == FButtonSizeState) return;
    if (FAutoSize) {
        if (FButtonSizeState == bsLarge) {
            FLargeLayout = FLayout;
            FLargeDropDownPosition = FDropDownPosition;
        }
        if (value == bsLarge) {
            FLayout = FLargeLayout;
            FDropDownPosition = FLargeDropDownPosition;
        } else {
            FLayout = blGlyphLeft;
            FDropDownPosition = dpRight;
        }
    }
    FButtonSizeState = value;
    AdjustAutoSize();
    Repaint();
}

void TLumCustomGlowButton::SetDropDownButton(bool value) {
    if (FDropDownButton == value) return;
    FDropDownButton = value;
    AdjustAutoSize();
    Invalidate();
}

void TLumCustomGlowButton::SetDropDownPosition(TDropDownPosition value) {
    if (FDropDownPosition == value) return;
    FDropDownPosition = value;
    if (FDropDownButton) AdjustAutoSize();
    Invalidate();
}

void TLumCustomGlowButton::SetDropDownDirection(TDropDownDirection value) {
    if (FDropDownDirection == value) return;
    FDropDownDirection = value;
    Invalidate();
}

void TLumCustomGlowButton::SetDropDownMenu(TPopupMenu* value) { ReplaceReference(FDropDownMenu, value); }

void TLumCustomGlowButton::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FImages) SetImages(nullptr);
    if (component == FDisabledImages) SetDisabledImages(nullptr);
    if (component == FHotImages) SetHotImages(nullptr);
    if (component == FDropDownMenu) FDropDownMenu = nullptr;
    if (component == FShortCutHintWindow) FShortCutHintWindow = nullptr;
    if (component == FRepeatTimer) FRepeatTimer = nullptr;
}

void TLumCustomGlowButton::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TLumCustomGlowButton*>(source);
    if (!s) return TCustomControl::Assign(source);
    SetAlign(s->Align());
    SetAction(s->Action());
    SetAnchors(s->Anchors());
    SetAntiAlias(s->FAntiAlias);
    SetAutoSize(s->FAutoSize);
    SetBorderStyle(s->FBorderStyle);
    SetCancel(s->FCancel);
    SetCaption(s->Caption());
    SetDefault(s->FDefault);
    SetFont(s->Font());
    SetImageIndex(s->FImageIndex);
    SetImages(s->FImages);
    SetDisabledImages(s->FDisabledImages);
    SetDisabledPicture(s->FDisabledPicture);
    SetDragMode(s->DragMode());
    SetDragKind(s->DragKind());
    SetFocusType(s->FFocusType);
    SetHotImages(s->FHotImages);
    SetHotPicture(s->FHotPicture);
    SetMarginVert(s->FMarginVert);
    SetMarginHorz(s->FMarginHorz);
    SetModalResult(s->FModalResult);
    SetNotes(s->FNotes);
    SetNotesFont(s->FNotesFont);
    SetOfficeHint(s->FOfficeHint);
    SetParentFont(s->ParentFont());
    SetPicture(s->FPicture);
    SetPopupMenu(s->PopupMenu());
    SetPosition(s->FPosition);
    SetInitRepeatPause(s->FInitRepeatPause);
    SetRepeatPause(s->FRepeatPause);
    SetRepeatClick(s->FRepeatClick);
    SetRounded(s->FRounded);
    SetShortCutHint(s->FShortCutHint);
    SetShortCutHintPos(s->FShortCutHintPos);
    SetShowCaption(s->FShowCaption);
    SetShowDisabled(s->FShowDisabled);
    SetSpacing(s->FSpacing);
    SetTransparent(s->FTransparent);
    SetTrimming(s->FTrimming);
    SetWordWrap(s->FWordWrap);
    SetShowHint(s->ShowHint());
    SetParentShowHint(s->ParentShowHint());
    SetTabOrder(s->TabOrder());
    SetTabStop(s->TabStop());
    SetVisible(s->Visible());
}

// ---- Action ------------------------------------------------------------------------

TControlActionLink* TLumCustomGlowButton::CreateActionLink() { return new TLumGlowButtonActionLink(this); }

void TLumCustomGlowButton::ActionChange(TObject* sender, bool checkDefaults) {
    TCustomControl::ActionChange(sender, checkDefaults);
    if (auto* a = dynamic_cast<TCustomAction*>(sender)) {
        if (!checkDefaults || FGroupIndex == 0) SetGroupIndex(a->GroupIndex());
        if (!checkDefaults || FImageIndex == -1) SetImageIndex(a->ImageIndex());
        if (FAutoSize) AdjustAutoSize();
    }
}

void TLumCustomGlowButton::Click() {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    TCustomControl::Click();
}

// ---- Messages ----------------------------------------------------------------------

void TLumCustomGlowButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_MOUSEENTER: return CMMouseEnter(m);
    case CM_MOUSELEAVE: return CMMouseLeave(m);
    case CM_BUTTONPRESSED: return CMButtonPressed(m);
    case CM_DIALOGKEY: return CMDialogKey(m);
    case CM_DIALOGCHAR: return CMDialogChar(m);
    case CM_FOCUSCHANGED: return CMFocusChanged(m);
    case CM_ENTER: return CMEnter(m);
    case CM_EXIT: return CMExit(m);
    case CM_TEXTCHANGED: return CMTextChanged(m);
    case CM_ENABLEDCHANGED: return CMEnabledChanged(m);
    case CN_COMMAND: return CNCommand(m);
    case WM_ERASEBKGND: return WMEraseBkgnd(m);
    default: return TCustomControl::WndProc(m);
    }
}

void TLumCustomGlowButton::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TLumCustomGlowButton::CMMouseEnter(TMessage& m) {
    TCustomControl::WndProc(m);  // OnMouseEnter first
    if (m.LParam != 0 && m.LParam != LPARAM(this)) return;
    if (IsDesigning() || FHot) return;
    FHot = true;
    if (FLeftWhileHeld) FPressed = true;
    FFade.EnsureTimer();
    if (!FPressed && FFade.Mode != fmPress) {
        FFade.Step = +20;
        FFade.Mode = fmGlow;
    }
    Invalidate();
}

void TLumCustomGlowButton::CMMouseLeave(TMessage& m) {
    TCustomControl::WndProc(m);  // OnMouseLeave first
    if (m.LParam != 0 && m.LParam != LPARAM(this)) return;
    if (IsDesigning() || !FHot) return;
    FHot = false;
    FDropDownHot = false;
    if (FPressed && FHeld) {
        FPressed = false;
        FLeftWhileHeld = true;
    } else {
        FPressed = false;
        FFade.GlowValue = 100;  // the glow fades out from full
    }
    FFade.Start(-20, fmGlow);
    Invalidate();
}

void TLumCustomGlowButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    if (FRepeatClick) {
        if (!FRepeatTimer) {
            FRepeatTimer = NewObject<TTimer>(this);
            FRepeatTimer->SetOnTimer(TNotifyEvent::Bind<&TLumCustomGlowButton::RepeatTimerExpired>(this));
        }
        FRepeatTimer->SetEnabled(false);
        FRepeatTimer->SetInterval(unsigned(FInitRepeatPause));
        FRepeatTimer->SetEnabled(true);
    }
    FPressed = true;
    FHeld = true;
    if (FTabStop && CanFocus() && !Focused()) SetFocus();
    FFade.Start(+20, fmPress);
    const bool inDropDownPart = DropDownPressHit(FDropDownPosition, x, y, FWidth, FHeight);
    const bool dropDown = (!FDropDownButton && DropDownOnWholeButton()) ||
                          (FDropDownButton && FDropDownSplit && inDropDownPart) ||
                          (FDropDownButton && !FDropDownSplit && FStyle == bsButton && FGroupIndex < 1);
    if (dropDown) {
        OnDropDown(this);
        if (FDropDownMenu) {
            FPressed = false;
            FMenuShowing = true;
            Repaint();
            ShowDropDownMenu();
            FMenuShowing = false;
            POINT cursor;
            GetCursorPos(&cursor);
            if (!FHandle || WindowFromPoint(cursor) != FHandle) {
                FHot = false;
                FDropDownHot = false;
            }
            Repaint();
        }
        Invalidate();
        return;
    }
    FDownAtPress = FDown;
    if (FStyle == bsCheck) SetDown(!FDown);
    if (!FDown) {
        FState = gsPressed;
        Invalidate();
    }
    if (FStyle == bsCheck) {
        FState = gsPressed;
        Repaint();
    }
    FPendingPress = true;
}

void TLumCustomGlowButton::ShowDropDownMenu() {
    if (!FDropDownMenu) return;
    const TPoint corner =
        FDropDownDirection == ddDown ? ClientToScreen(Point(0, FHeight)) : ClientToScreen(Point(FWidth, 0));
    DoDropDownHookBefore();
    FDropDownMenu->SetPopupComponent(this);
    FDropDownMenu->Popup(corner.X, corner.Y);
    DoDropDownHookAfter();
}

void TLumCustomGlowButton::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (FDropDownButton) {
        const bool dropDownHot = DropDownHotHit(FDropDownPosition, x, y, FWidth, FHeight);
        if (dropDownHot != FDropDownHot) {
            FDropDownHot = dropDownHot;
            Invalidate();
        }
    }
    if (FPendingPress) {
        const int state = InsideForPress(x, y, ClientWidth(), ClientHeight()) ? gsPressed : RestingState();
        if (state != FState) {
            FState = state;
            Invalidate();
        }
    } else if (!FHot) {
        UpdateHotFromCursor();
    }
}

void TLumCustomGlowButton::UpdateHotFromCursor() {
    POINT cursor;
    if (!FHandle || !GetCursorPos(&cursor)) return;
    const bool over = WindowFromPoint(cursor) == FHandle;
    if (over && !FHot)
        Perform(CM_MOUSEENTER, 0, LPARAM(this));
    else if (!over && FHot)
        Perform(CM_MOUSELEAVE, 0, LPARAM(this));
}

void TLumCustomGlowButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
    if (button != mbLeft) return TCustomControl::MouseUp(button, shift, x, y);
    FFade.Start(-20, fmPress);
    FHeld = false;
    if (FPendingPress) {
        FPendingPress = false;
        const bool inside = InsideForPress(x, y, ClientWidth(), ClientHeight());
        auto* link = dynamic_cast<TLumGlowButtonActionLink*>(ActionLink());
        if (FGroupIndex != 0) {
            if (!(link && (link->IsCheckedLinked() || link->IsGroupIndexLinked()))) {
                // A bsCheck button took its new Down at the press; released
                // outside, it goes back to the Down it had.
                if (inside && FStyle == bsButton)
                    SetDown(!FDown);
                else if (!inside && FStyle == bsCheck && FDown != FDownAtPress)
                    SetDown(FDownAtPress);
                FState = RestingState();
                Repaint();
            }
        } else {
            FState = gsNormal;
            FHot = false;
            bool passOn = false;
            if (FStyle == bsCheck && link) {
                auto* action = dynamic_cast<TCustomAction*>(link->Action());
                passOn = link->IsCheckedLinked() || link->IsGroupIndexLinked() ||
                         (action && action->Is<TAction>() && action->AutoCheck());
            }
            if (!passOn) {
                if (!inside && FDown != FDownAtPress) SetDown(FDownAtPress);
                FState = RestingState();
                Repaint();
                if (inside && FState != gsPressed && FState != gsCheckedDown) Invalidate();
            }
        }
        UpdateHotFromCursor();
    }
    TCustomControl::MouseUp(button, shift, x, y);
    if (FStyle == bsCheck || FGroupIndex != 0) Repaint();
    Invalidate();
}

void TLumCustomGlowButton::RepeatTimerExpired(TObject*) {
    if (!FRepeatTimer) return;
    FRepeatTimer->SetInterval(unsigned(FRepeatPause));
    if (FPressed && MouseCapture()) {
        try {
            Click();
        } catch (...) {
            if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
            throw;
        }
    }
}

// ---- Keys and focus -------------------------------------------------------------------

void TLumCustomGlowButton::KeyDown(Word& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == VK_RETURN || key == VK_SPACE) {
        FPressed = true;
        FState = gsPressed;
        Repaint();
    } else if (key == VK_F4 && FDropDownMenu) {
        FState = gsPressed;
        OnDropDown(this);
        Invalidate();
        ShowDropDownMenu();
        FState = gsNormal;
        Repaint();
    }
}

void TLumCustomGlowButton::KeyPress(char& key) {
    TCustomControl::KeyPress(key);
    if (key == ' ' || key == '\r') {
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
        OnClick(this);
    }
}

void TLumCustomGlowButton::KeyUp(Word& key, TShiftState shift) {
    TCustomControl::KeyUp(key, shift);
    FPressed = false;
    FState = RestingState();
    Repaint();
}

void TLumCustomGlowButton::PerformAction() {
    const bool dropDownOnly = (FDropDownButton && !FDropDownSplit) || DropDownOnWholeButton();
    if (dropDownOnly && FDropDownMenu) {
        OnDropDown(this);
        ShowDropDownMenu();
        return;
    }
    if (FStyle == bsCheck) SetDown(!FDown);
    Click();
}

void TLumCustomGlowButton::CMDialogKey(TMessage& m) {
    if (((m.WParam == VK_RETURN && FDefaultNow) || (m.WParam == VK_ESCAPE && FCancel)) &&
        KeyDataToShiftState(m.LParam).Empty() && CanFocus()) {
        PerformAction();
        FState = gsNormal;
        m.Result = 1;
        return;
    }
    TCustomControl::WndProc(m);
}

void TLumCustomGlowButton::CMDialogChar(TMessage& m) {
    const bool alt = GetKeyState(VK_MENU) < 0;
    if (alt && IsAccel(Word(m.WParam), Caption()) && CanFocus()) {
        if (DropDownOnWholeButton() || FDropDownMenu) {
            OnDropDown(this);
            ShowDropDownMenu();
        } else {
            Click();
        }
        m.Result = 1;
        return;
    }
    TCustomControl::WndProc(m);
}

void TLumCustomGlowButton::CMFocusChanged(TMessage& m) {
    auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
    FDefaultNow = dynamic_cast<TLumCustomGlowButton*>(focused) ? focused == this : FDefault;
    TCustomControl::WndProc(m);
}

void TLumCustomGlowButton::CMEnter(TMessage& m) {
    FFocused = true;
    Invalidate();
    TCustomControl::WndProc(m);
}

void TLumCustomGlowButton::CMExit(TMessage& m) {
    FFocused = false;
    FPressed = false;
    FState = RestingState();
    Invalidate();
    TCustomControl::WndProc(m);
}

void TLumCustomGlowButton::CMTextChanged(TMessage& m) {
    TCustomControl::WndProc(m);
    Invalidate();
    if (FAutoSize) AdjustAutoSize();
}

void TLumCustomGlowButton::CMEnabledChanged(TMessage& m) {
    TCustomControl::WndProc(m);
    Invalidate();
}

void TLumCustomGlowButton::CNCommand(TMessage& m) {
    if (HIWORD(m.WParam) == BN_CLICKED) Click();
}

// ---- Painting input ---------------------------------------------------------------------

TGlowPaintInput TLumCustomGlowButton::PaintInput() const {
    TGlowPaintInput in;
    in.Enabled = FEnabled;
    in.ShowDisabled = FShowDisabled;
    in.State = FState;
    in.Style = FStyle;
    in.Down = FDown;
    in.GroupIndex = FGroupIndex;
    in.Hot = FHot;
    in.Pressed = FPressed;
    in.Held = FHeld;
    in.Transparent = FTransparent;
    in.FadeRunning = FFade.Running();
    in.GlowValue = FFade.GlowValue;
    in.PressValue = FFade.PressValue;
    in.Position = FPosition;
    in.Focused = FFocused;
    in.FocusType = FFocusType;
    return in;
}
