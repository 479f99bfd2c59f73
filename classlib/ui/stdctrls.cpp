#include "classlib/ui/stdctrls.h"

#include <algorithm>
#include <cctype>

#include "classlib/core/sysutils.h"
#include "classlib/ui/comctrls.h"
#include "classlib/ui/extctrls.h"
#include "classlib/ui/gdi_helpers.h"

QL_DEFINE_ENUM(TTextLayout, "tlTop", "tlCenter", "tlBottom")
QL_DEFINE_ENUM(TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed")
QL_DEFINE_ENUM(TComboBoxStyle, "csDropDown", "csSimple", "csDropDownList")
QL_DEFINE_ENUM(TScrollBarKind, "sbHorizontal", "sbVertical")
QL_DEFINE_ENUM(TScrollCode, "scLineUp", "scLineDown", "scPageUp", "scPageDown", "scPosition", "scTrack", "scTop",
               "scBottom", "scEndScroll")

namespace {

const UINT kAlignmentFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};

// A control canvas drawing on a DC it was given, for one scope.
class TCanvasOnDC {
public:
    TCanvasOnDC(TControlCanvas* canvas, HDC dc) : FCanvas(canvas) {
        FCanvas->Lock();
        FCanvas->FreeHandle();
        FCanvas->SetHandle(dc);
    }
    ~TCanvasOnDC() {
        FCanvas->SetHandle(nullptr);
        FCanvas->Unlock();
    }
    TCanvasOnDC(const TCanvasOnDC&) = delete;
    TCanvasOnDC& operator=(const TCanvasOnDC&) = delete;

private:
    TControlCanvas* FCanvas;
};

void SetCtlColors(TMessage& m, TFont* font, TColor color, TBrush* brush) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    SetTextColor(dc, ColorToRGB(font->Color()));
    SetBkColor(dc, ColorToRGB(color));
    m.Result = reinterpret_cast<LRESULT>(brush->Handle());
}

}  // namespace

bool IsAccel(Word key, const String& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return std::toupper(static_cast<unsigned char>(caption[i + 1])) == std::toupper(int(key & 0xFF));
    }
    return false;
}

TSize MeasureText(TFont* font, const String& text, int wordWrapWidth, bool noPrefix) {
    TScreenDC dc;
    HGDIOBJ old = SelectObject(dc.Handle(), font->Handle());
    RECT r{0, 0, std::max(wordWrapWidth, 0), 0};
    UINT flags = DT_CALCRECT | DT_EXPANDTABS | (wordWrapWidth > 0 ? DT_WORDBREAK : 0) | (noPrefix ? DT_NOPREFIX : 0);
    String measured = text.empty() ? String(" ") : text;
    DrawTextA(dc.Handle(), measured.c_str(), int(measured.size()), &r, flags);
    SelectObject(dc.Handle(), old);
    return TSize{r.right - r.left, r.bottom - r.top};
}

void DrawParentBackground(TControl* control, HDC dc) {
    TWinControl* parent = control->Parent();
    if (!parent) return;
    int saved = SaveDC(dc);
    POINT org;
    GetWindowOrgEx(dc, &org);
    // The parent's client coordinates: the control sits at Left, Top there.
    SetWindowOrgEx(dc, org.x + control->Left(), org.y + control->Top(), nullptr);
    IntersectClipRect(dc, control->Left(), control->Top(), control->Left() + control->Width(),
                      control->Top() + control->Height());
    parent->Perform(WM_ERASEBKGND, WPARAM(dc), LPARAM(dc));
    if (parent->HandleAllocated()) parent->Perform(WM_PAINT, WPARAM(dc), 0);
    RestoreDC(dc, saved);
}

// ============================================================================
// TCustomLabel
// ============================================================================

TClass TCustomLabel::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TCustomLabel>("TCustomLabel")
            .Declare("Alignment", &TCustomLabel::FAlignment, &TCustomLabel::SetAlignment)
            .Default(taLeftJustify)
            .Declare("AutoSize", &TCustomLabel::FAutoSize, &TCustomLabel::SetAutoSize)
            .Default(true)
            .Declare("FocusControl", &TCustomLabel::FFocusControl, &TCustomLabel::SetFocusControl)
            .Declare("Layout", &TCustomLabel::FLayout, &TCustomLabel::SetLayout)
            .Default(tlTop)
            .Declare("ShowAccelChar", &TCustomLabel::FShowAccelChar, &TCustomLabel::SetShowAccelChar)
            .Default(true)
            .Declare("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent)
            .Default(false)
            .Declare("WordWrap", &TCustomLabel::FWordWrap, &TCustomLabel::SetWordWrap)
            .Default(false)
            .Build();
    return &info;
}

TClass TLabel::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TLabel>("TLabel")
            .Publish(kControlProperties)
            .Publish({"Alignment", "AutoSize", "FocusControl", "Layout", "ShowAccelChar", "Transparent", "WordWrap"})
            .Build();
    return &info;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    FControlStyle.Include(csOpaque);
    FControlStyle.Include(csReplicatable);
    FWidth = 65;
    FHeight = 17;
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
    if (FAutoSize == value) return;
    FAutoSize = value;
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool value) {
    if (Transparent() == value) return;
    if (value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (FLayout == value) return;
    FLayout = value;
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    FFocusControl = value;
    if (value) value->FreeNotification(this);
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (FShowAccelChar == value) return;
    FShowAccelChar = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

String TCustomLabel::GetLabelText() { return Caption(); }

UINT TCustomLabel::DrawFlags() const { return DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0); }

void TCustomLabel::DoDrawText(TRect& rect, UINT flags) {
    String text = GetLabelText();
    // An empty label still measures one line.
    if ((flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&"))) text += ' ';
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    FCanvas->SetFont(FFont);
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    if (!FEnabled && !(flags & DT_CALCRECT)) {
        // The engraved look of disabled text: a light copy below right.
        OffsetRect(&r, 1, 1);
        FCanvas->Font()->SetColor(clBtnHighlight);
        DrawTextA(FCanvas->Handle(), text.c_str(), int(text.size()), &r, flags);
        OffsetRect(&r, -1, -1);
        FCanvas->Font()->SetColor(clBtnShadow);
        DrawTextA(FCanvas->Handle(), text.c_str(), int(text.size()), &r, flags);
    } else {
        DrawTextA(FCanvas->Handle(), text.c_str(), int(text.size()), &r, flags);
    }
    rect = Rect(r.left, r.top, r.right, r.bottom);
}

TSize TCustomLabel::TextSize() {
    TScreenDC dc;
    TCanvasOnDC on(FCanvas, dc.Handle());
    TRect r = Rect(0, 0, FWordWrap ? FWidth : 0, 0);
    DoDrawText(r, DrawFlags() | DT_CALCRECT);
    return TSize{r.Width(), r.Height()};
}

void TCustomLabel::AdjustBounds() {
    if (IsLoading() || !FAutoSize) return;
    TSize size = TextSize();
    int left = FLeft;
    // A right-aligned label keeps its right edge.
    if (FAlignment == taRightJustify) left += FWidth - size.cx;
    SetBounds(left, FTop, size.cx, size.cy);
}

void TCustomLabel::Paint() {
    TRect r = ClientRect();
    if (!Transparent()) {
        FCanvas->Brush()->SetColor(FColor);
        FCanvas->Brush()->SetStyle(bsSolid);
        FCanvas->FillRect(r);
    }
    FCanvas->Brush()->SetStyle(bsClear);
    UINT flags = DrawFlags() | kAlignmentFlags[FAlignment];
    if (FLayout != tlTop) {
        TRect calc = r;
        DoDrawText(calc, flags | DT_CALCRECT);
        int offset = FLayout == tlBottom ? r.Height() - calc.Height() : (r.Height() - calc.Height()) / 2;
        r.Top += offset;
        r.Bottom += offset;
    }
    DoDrawText(r, flags);
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_TEXTCHANGED: return CMTextChanged(m);
    case CM_FONTCHANGED: return CMFontChanged(m);
    case CM_DIALOGCHAR: return CMDialogChar(m);
    default: return TGraphicControl::WndProc(m);
    }
}

void TCustomLabel::CMTextChanged(TMessage&) {
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::CMFontChanged(TMessage&) {
    AdjustBounds();
    Invalidate();
}

// The label's accelerator focuses its FocusControl.
void TCustomLabel::CMDialogChar(TMessage& m) {
    if (FFocusControl && FEnabled && FShowAccelChar && IsAccel(Word(m.WParam), GetLabelText()) &&
        FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        m.Result = 1;
    }
}

// ============================================================================
// TButtonControl
// ============================================================================

TClass TButtonControl::StaticClass() {
    static const TClassInfo info = TClassBuilder<TButtonControl>("TButtonControl").Build();
    return &info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    // The window draws itself, captures the mouse and reports clicks.
    FControlStyle = {csSetCaption, csDoubleClicks};
}

void TButtonControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return WMLButtonDown(m);
    case CN_COMMAND: return CNCommand(m);
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC: return CNCtlColor(m);
    default: return TWinControl::WndProc(m);
    }
}

// WM_LBUTTONDOWN and WM_LBUTTONDBLCLK.
void TButtonControl::WMLButtonDown(TMessage& m) {
    // A radio button reports a click when it gets the focus: that one
    // is not the user's click, which follows on the button's release.
    if (!IsDesigning() && FHandle && !Focused()) {
        FClicksDisabled = true;
        ::SetFocus(FHandle);
        FClicksDisabled = false;
        if (!Focused()) return;
    }
    TWinControl::WndProc(m);
}

void TButtonControl::CNCommand(TMessage& m) {
    if (!FClicksDisabled && FEnabled) ButtonNotify(HIWORD(m.WParam));
}

void TButtonControl::CNCtlColor(TMessage& m) { SetCtlColors(m, FFont, FColor, FBrush); }

// ============================================================================
// TButton
// ============================================================================

TClass TButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TButton>("TButton")
                                       .Publish(kControlProperties)
                                       .Publish(kWinControlProperties)
                                       .Prop("Cancel", &TButton::FCancel, &TButton::SetCancel)
                                       .Default(false)
                                       .Prop("Default", &TButton::FDefault, &TButton::SetDefault)
                                       .Default(false)
                                       .Prop("ModalResult", &TButton::FModalResult, &TButton::SetModalResult)
                                       .Default(0)
                                       .Prop("Images", &TButton::FImages, &TButton::SetImages)
                                       .Prop("ImageIndex", &TButton::FImageIndex, &TButton::SetImageIndex)
                                       .Default(-1)
                                       .Prop("TabStop", &TButton::FTabStop, &TButton::SetTabStop)
                                       .Default(true)
                                       .Build();
    return &info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
    FWidth = 75;
    FHeight = 25;
    FTabStop = true;
    FImageChangeLink.OnChange = TNotifyEvent::Bind<&TButton::ImagesChanged>(this);
}

// The change link leaves the list by itself as it goes.
TButton::~TButton() {
    if (FImageIcon) DestroyIcon(FImageIcon);
}

void TButton::SetImages(TCustomImageList* value) {
    if (FImages == value) return;
    if (FImages) {
        FImages->UnRegisterChanges(&FImageChangeLink);
        FImages->RemoveFreeNotification(this);
    }
    FImages = value;
    if (FImages) {
        FImages->RegisterChanges(&FImageChangeLink);
        FImages->FreeNotification(this);
    }
    UpdateImage();
}

void TButton::SetImageIndex(int value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    UpdateImage();
}

void TButton::Notification(TComponent* component, TOperation operation) {
    TButtonControl::Notification(component, operation);
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        UpdateImage();
    }
}

void TButton::CreateWnd() {
    TButtonControl::CreateWnd();
    UpdateImage();
}

void TButton::UpdateImage() {
    if (!FHandle) return;
    HICON icon = nullptr;
    if (FImages && FImageIndex >= 0) {
        TIcon image;
        FImages->GetIcon(FImageIndex, &image);
        icon = image.ReleaseHandle();
    }
    // A button without a caption shows its picture alone (BS_ICON); with a
    // caption the newer system buttons show both. The older ones take an
    // icon only while BS_ICON is set, so the style comes first when it is
    // set and last when it is cleared.
    const LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
    const bool iconOnly = icon && Caption().empty();
    if (iconOnly) SetWindowLongPtrA(FHandle, GWL_STYLE, style | BS_ICON);
    // The window keeps no copy: the old icon goes only once the new one is
    // in place.
    SendMessageA(FHandle, BM_SETIMAGE, IMAGE_ICON, LPARAM(icon));
    if (!iconOnly) SetWindowLongPtrA(FHandle, GWL_STYLE, style & ~LONG_PTR(BS_ICON));
    InvalidateRect(FHandle, nullptr, TRUE);
    if (FImageIcon) DestroyIcon(FImageIcon);
    FImageIcon = icon;
}

void TButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= FActive ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool value) {
    if (FDefault == value) return;
    FDefault = value;
    TCustomForm* form = GetParentForm(this);
    if (form && FHandle)
        Perform(CM_FOCUSCHANGED, 0, LPARAM(form->ActiveControl()));
    else
        FActive = value;
}

void TButton::SetButtonStyle(bool isDefault) {
    if (FActive == isDefault) return;
    FActive = isDefault;
    if (FHandle) SendMessageA(FHandle, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 1);
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this); form && FModalResult != mrNone) form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::ButtonNotify(WORD code) {
    if (code == BN_CLICKED) Click();
}

void TButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_FOCUSCHANGED: return CMFocusChanged(m);
    case CM_DIALOGKEY: return CMDialogKey(m);
    case CM_DIALOGCHAR: return CMDialogChar(m);
    case CM_TEXTCHANGED: return CMTextChanged(m);
    default: return TButtonControl::WndProc(m);
    }
}

void TButton::CMFocusChanged(TMessage& m) {
    // While a button has the focus Enter clicks that one; else the
    // default button.
    auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
    SetButtonStyle(dynamic_cast<TButton*>(focused) ? focused == this : FDefault);
}

void TButton::CMDialogKey(TMessage& m) {
    if (((m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel)) &&
        KeyDataToShiftState(m.LParam).Empty() && CanFocus()) {
        Click();
        m.Result = 1;
    }
}

void TButton::CMDialogChar(TMessage& m) {
    if (IsAccel(Word(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
    }
}

void TButton::CMTextChanged(TMessage& m) {
    TButtonControl::WndProc(m);
    if (FImages) UpdateImage();  // a picture-only button no more, or now
}

// ============================================================================
// TCustomCheckBox
// ============================================================================

TClass TCustomCheckBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TCustomCheckBox>("TCustomCheckBox")
            .Declare("Alignment", &TCustomCheckBox::FAlignment, &TCustomCheckBox::SetAlignment)
            .Default(taRightJustify)
            .Declare("AllowGrayed", &TCustomCheckBox::FAllowGrayed, &TCustomCheckBox::SetAllowGrayed)
            .Default(false)
            .Declare("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked)
            .Default(false)
            .Declare("State", &TCustomCheckBox::FState, &TCustomCheckBox::SetState)
            .Default(cbUnchecked)
            .Declare("TabStop", &TCustomCheckBox::FTabStop, &TCustomCheckBox::SetTabStop)
            .Default(true)
            .Build();
    return &info;
}

TClass TCheckBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCheckBox>("TCheckBox")
                                       .Publish(kControlProperties)
                                       .Publish(kWinControlProperties)
                                       .Publish({"TabStop", "Alignment", "AllowGrayed", "Checked", "State"})
                                       .Build();
    return &info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
    FWidth = 97;
    FHeight = 17;
    FTabStop = true;
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= BS_3STATE;
    if (FAlignment == taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateHandleDone() {
    TButtonControl::CreateHandleDone();
    SendMessageA(FHandle, BM_SETCHECK, WPARAM(FState), 0);
}

void TCustomCheckBox::SetAlignment(TAlignment value) {
    if (value == taCenter) value = taRightJustify;
    if (FAlignment == value) return;
    FAlignment = value;
    RecreateWnd();
}

void TCustomCheckBox::SetState(TCheckBoxState value) {
    if (FState == value) return;
    FState = value;
    if (FHandle) SendMessageA(FHandle, BM_SETCHECK, WPARAM(value), 0);
    if (!ClicksDisabled()) Click();
}

void TCustomCheckBox::Toggle() {
    switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::ButtonNotify(WORD code) {
    if (code == BN_CLICKED) Toggle();
}

void TCustomCheckBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_DIALOGCHAR: return CMDialogChar(m);
    default: return TButtonControl::WndProc(m);
    }
}

void TCustomCheckBox::CMDialogChar(TMessage& m) {
    if (IsAccel(Word(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        m.Result = 1;
    }
}

// ============================================================================
// TRadioButton
// ============================================================================

TClass TRadioButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TRadioButton>("TRadioButton")
                                       .Publish(kControlProperties)
                                       .Publish(kWinControlProperties)
                                       .Publish("TabStop")
                                       .Prop("Alignment", &TRadioButton::FAlignment, &TRadioButton::SetAlignment)
                                       .Default(taRightJustify)
                                       .Prop("Checked", &TRadioButton::FChecked, &TRadioButton::SetChecked)
                                       .Default(false)
                                       .Build();
    return &info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
    FWidth = 113;
    FHeight = 17;
}

void TRadioButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= BS_RADIOBUTTON;
    if (FAlignment == taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateHandleDone() {
    TButtonControl::CreateHandleDone();
    SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetAlignment(TAlignment value) {
    if (value == taCenter) value = taRightJustify;
    if (FAlignment == value) return;
    FAlignment = value;
    RecreateWnd();
}

void TRadioButton::SetChecked(bool value) {
    if (FChecked == value) return;
    FChecked = value;
    SetTabStop(value);
    if (FHandle) SendMessageA(FHandle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value) return;
    if (FParent)
        for (int i = 0; i < FParent->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(FParent->Controls(i)); sibling && sibling != this)
                sibling->SetChecked(false);
    if (!ClicksDisabled()) Click();
}

void TRadioButton::ButtonNotify(WORD code) {
    if (code == BN_CLICKED)
        SetChecked(true);
    else if (code == BN_DOUBLECLICKED)
        DblClick();
}

void TRadioButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_SETFOCUS: return WMSetFocus(m);
    case CM_DIALOGCHAR: return CMDialogChar(m);
    default: return TButtonControl::WndProc(m);
    }
}

void TRadioButton::WMSetFocus(TMessage& m) {
    // Reaching a radio button with the keyboard (the arrow keys) checks
    // it, as the system's dialogs do; a click checks it on release.
    TButtonControl::WndProc(m);
    if (!ClicksDisabled() && FEnabled && !FChecked && FHandle && GetFocus() == FHandle) SetChecked(true);
}

void TRadioButton::CMDialogChar(TMessage& m) {
    if (IsAccel(Word(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) SetChecked(true);
        m.Result = 1;
    }
}

// ============================================================================
// TCustomGroupBox
// ============================================================================

TClass TCustomGroupBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TCustomGroupBox>("TCustomGroupBox")
            .Declare("Ctl3D", &TCustomGroupBox::FCtl3D, &TCustomGroupBox::SetCtl3D)
            .Default(true)
            .Declare("ParentBackground", &TCustomGroupBox::ParentBackground, &TCustomGroupBox::SetParentBackground)
            .Default(true)
            .Build();
    return &info;
}

TClass TGroupBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TGroupBox>("TGroupBox")
            .Publish(
                {"Action",      "Align",      "Anchors",        "Caption",      "Color",          "Cursor",
                 "DragCursor",  "DragKind",   "DragMode",       "Enabled",      "Font",           "Hint",
                 "ParentColor", "ParentFont", "ParentShowHint", "PopupMenu",    "ShowHint",       "Visible",
                 "OnClick",     "OnDblClick", "OnDragDrop",     "OnDragOver",   "OnEndDrag",      "OnMouseDown",
                 "OnMouseMove", "OnMouseUp",  "OnMouseEnter",   "OnMouseLeave", "OnResize",       "OnStartDrag",
                 "TabOrder",    "TabStop",    "DoubleBuffered", "DockSite",     "UseDockManager", "OnEnter",
                 "OnExit",      "OnKeyDown",  "OnKeyPress",     "OnKeyUp",      "Ctl3D",          "ParentBackground"})
            .Build();
    return &info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents,
                     csSetCaption,      csDoubleClicks, csParentBackground};
    FWidth = 185;
    FHeight = 105;
}

void TCustomGroupBox::SetCtl3D(bool value) {
    if (FCtl3D == value) return;
    FCtl3D = value;
    Perform(CM_CTL3DCHANGED);
}

void TCustomGroupBox::SetParentBackground(bool value) {
    if (ParentBackground() == value) return;
    if (value)
        FControlStyle.Include(csParentBackground);
    else
        FControlStyle.Exclude(csParentBackground);
    Invalidate();
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) {
    TCustomControl::AdjustClientRect(rect);
    rect.Top += MeasureText(FFont, "0").cy;
    int border = FCtl3D ? 2 : 1;
    rect.Left += border;
    rect.Top += border;
    rect.Right -= border;
    rect.Bottom -= border;
}

void TCustomGroupBox::Paint() {
    FCanvas->SetFont(FFont);
    int h = FCanvas->TextHeight("0");
    HDC dc = FCanvas->Handle();
    // The caption sits on the frame's top line, which stops short of it.
    String text = Caption();
    RECT caption{8, 0, 8, h};
    if (!text.empty()) DrawTextA(dc, text.c_str(), int(text.size()), &caption, DT_SINGLELINE | DT_CALCRECT);
    int saved = SaveDC(dc);
    if (!text.empty()) ExcludeClipRect(dc, caption.left, caption.top, caption.right, caption.bottom);
    TRect r = Rect(0, h / 2 - 1, FWidth, FHeight);
    if (FCtl3D) {
        r.Left += 1;
        r.Top += 1;
        FCanvas->Brush()->SetColor(clBtnHighlight);
        FCanvas->FrameRect(r);
        r = Rect(r.Left - 1, r.Top - 1, r.Right - 1, r.Bottom - 1);
        FCanvas->Brush()->SetColor(clBtnShadow);
    } else {
        FCanvas->Brush()->SetColor(clWindowFrame);
    }
    FCanvas->FrameRect(r);
    RestoreDC(dc, saved);
    if (!text.empty()) {
        FCanvas->Brush()->SetStyle(bsClear);
        if (!FEnabled) FCanvas->Font()->SetColor(clGrayText);
        DrawTextA(FCanvas->Handle(), text.c_str(), int(text.size()), &caption, DT_SINGLELINE);
    }
}

void TCustomGroupBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND: return WMEraseBkgnd(m);
    case CM_TEXTCHANGED: return CMTextChanged(m);
    case CM_FONTCHANGED: return CMFontChanged(m);
    case CM_CTL3DCHANGED: return CMCtl3DChanged(m);
    case CM_DIALOGCHAR: return CMDialogChar(m);
    default: return TCustomControl::WndProc(m);
    }
}

void TCustomGroupBox::WMEraseBkgnd(TMessage& m) {
    if (ParentBackground() && FParent) {
        DrawParentBackground(this, reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
    }
    TCustomControl::WndProc(m);
}

void TCustomGroupBox::CMTextChanged(TMessage&) { Invalidate(); }

// The caption's height decides where the children go.
void TCustomGroupBox::CMFontChanged(TMessage& m) {
    TCustomControl::WndProc(m);
    Invalidate();
    Realign();
}

void TCustomGroupBox::CMCtl3DChanged(TMessage& m) {
    TCustomControl::WndProc(m);
    Invalidate();
    Realign();
}

// The group's accelerator focuses its first child.
void TCustomGroupBox::CMDialogChar(TMessage& m) {
    if (IsAccel(Word(m.WParam), Caption()) && CanFocus()) {
        SelectNext(nullptr, true, true);
        m.Result = 1;
        return;
    }
    TCustomControl::WndProc(m);
}

// ============================================================================
// TComboBoxStrings
// ============================================================================

TClass TComboBoxStrings::StaticClass() {
    static const TClassInfo info = TClassBuilder<TComboBoxStrings>("TComboBoxStrings").Build();
    return &info;
}

namespace {
const char* const kListIndexError = "List index out of bounds (%d)";
const char* const kSortedListError = "Operation not allowed on sorted list";
const char* const kInsertLineError = "Unable to insert a line";
}  // namespace

void TComboBoxStrings::CheckIndex(int index) const {
    if (index < 0 || index >= GetCount()) Error(kListIndexError, index);
}

int TComboBoxStrings::GetCount() const {
    if (FComboBox->FHandle) return int(SendMessageA(FComboBox->FHandle, CB_GETCOUNT, 0, 0));
    return FComboBox->FSaveItems->Count();
}

String TComboBoxStrings::Get(int index) const {
    CheckIndex(index);
    HWND h = FComboBox->FHandle;
    if (!h) return FComboBox->FSaveItems->Strings(index);
    LRESULT n = SendMessageA(h, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (n == CB_ERR) Error(kListIndexError, index);
    String s(size_t(n) + 1, '\0');
    n = SendMessageA(h, CB_GETLBTEXT, WPARAM(index), LPARAM(s.data()));
    s.resize(n == CB_ERR ? 0 : size_t(n));
    return s;
}

TObject* TComboBoxStrings::GetObject(int index) const {
    CheckIndex(index);
    HWND h = FComboBox->FHandle;
    if (!h) return FComboBox->FSaveItems->Objects(index);
    return reinterpret_cast<TObject*>(SendMessageA(h, CB_GETITEMDATA, WPARAM(index), 0));
}

void TComboBoxStrings::PutObject(int index, TObject* object) {
    CheckIndex(index);
    HWND h = FComboBox->FHandle;
    if (!h)
        FComboBox->FSaveItems->SetObjects(index, object);
    else
        SendMessageA(h, CB_SETITEMDATA, WPARAM(index), LPARAM(object));
}

int TComboBoxStrings::Add(const String& s) {
    HWND h = FComboBox->FHandle;
    if (h) {
        LRESULT r = SendMessageA(h, CB_ADDSTRING, 0, LPARAM(s.c_str()));
        if (r < 0) throw EOutOfResources(kInsertLineError);
        return int(r);
    }
    TStringList* list = FComboBox->FSaveItems;
    int index = list->Count();
    if (FComboBox->FSorted) {
        // Where the window of a sorted combo box would put it: after the
        // lines that sort before or with it.
        index = 0;
        while (index < list->Count() && CompareStrings(list->Strings(index), s) <= 0) ++index;
    }
    list->Insert(index, s);
    // The selection stays on its line (a layout being read gives it as a
    // plain index before the lines).
    if (!FComboBox->IsLoading() && index <= FComboBox->FSaveIndex) ++FComboBox->FSaveIndex;
    return index;
}

int TComboBoxStrings::AddObject(const String& s, TObject* object) {
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TComboBoxStrings::Insert(int index, const String& s) {
    if (FComboBox->FSorted) Error(kSortedListError, 0);
    if (index < 0 || index > GetCount()) Error(kListIndexError, index);
    HWND h = FComboBox->FHandle;
    if (h) {
        if (SendMessageA(h, CB_INSERTSTRING, WPARAM(index), LPARAM(s.c_str())) < 0)
            throw EOutOfResources(kInsertLineError);
        return;
    }
    FComboBox->FSaveItems->Insert(index, s);
    if (!FComboBox->IsLoading() && index <= FComboBox->FSaveIndex) ++FComboBox->FSaveIndex;
}

void TComboBoxStrings::Delete(int index) {
    CheckIndex(index);
    HWND h = FComboBox->FHandle;
    if (h) {
        SendMessageA(h, CB_DELETESTRING, WPARAM(index), 0);
        return;
    }
    FComboBox->FSaveItems->Delete(index);
    int& selected = FComboBox->FSaveIndex;
    if (index == selected)
        selected = -1;
    else if (index < selected)
        --selected;
}

void TComboBoxStrings::Clear() {
    HWND h = FComboBox->FHandle;
    if (h) {
        // The lines and the selection go; typed text stays.
        String text = FComboBox->GetText();
        SendMessageA(h, CB_RESETCONTENT, 0, 0);
        if (FComboBox->FStyle != csDropDownList) SetWindowTextA(h, text.c_str());
        InvalidateRect(h, nullptr, TRUE);
        return;
    }
    FComboBox->FSaveItems->Clear();
    // A layout being read gives the selection before the lines (which it
    // clears first): keep it for them.
    if (!FComboBox->IsLoading()) FComboBox->FSaveIndex = -1;
}

void TComboBoxStrings::SetUpdateState(bool updating) {
    HWND h = FComboBox->FHandle;
    if (!h) return;
    SendMessageA(h, WM_SETREDRAW, updating ? FALSE : TRUE, 0);
    if (!updating) InvalidateRect(h, nullptr, TRUE);
}

// ============================================================================
// TCustomComboBox
// ============================================================================

TClass TCustomComboBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TCustomComboBox>("TCustomComboBox")
            .Declare("Caption", &TCustomComboBox::Caption, &TCustomComboBox::SetCaption)
            .Stored(false)
            .Declare("Color", &TCustomComboBox::FColor, &TCustomComboBox::SetColor)
            .Default(clWindow)
            .Declare("ParentColor", &TCustomComboBox::FParentColor, &TCustomComboBox::SetParentColor)
            .Default(false)
            .Declare("Style", &TCustomComboBox::FStyle, &TCustomComboBox::SetStyle)
            .Default(csDropDown)
            .Declare("Ctl3D", &TCustomComboBox::FCtl3D, &TCustomComboBox::SetCtl3D)
            .Default(true)
            .Declare("AutoComplete", &TCustomComboBox::FAutoComplete, &TCustomComboBox::SetAutoComplete)
            .Default(true)
            .Declare("DropDownCount", &TCustomComboBox::FDropDownCount, &TCustomComboBox::SetDropDownCount)
            .Default(8)
            .Declare("Sorted", &TCustomComboBox::FSorted, &TCustomComboBox::SetSorted)
            .Default(false)
            .Declare("TabStop", &TCustomComboBox::FTabStop, &TCustomComboBox::SetTabStop)
            .Default(true)
            .Declare("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex)
            .Default(-1)
            .Declare("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText)
            .Stored(&TCustomComboBox::IsTextStored)
            .Declare("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems)
            .Declare("OnChange", &TCustomComboBox::OnChange, &TCustomComboBox::OnChange)
            .Declare("OnCloseUp", &TCustomComboBox::OnCloseUp, &TCustomComboBox::OnCloseUp)
            .Declare("OnDropDown", &TCustomComboBox::OnDropDown, &TCustomComboBox::OnDropDown)
            .Declare("OnSelect", &TCustomComboBox::OnSelect, &TCustomComboBox::OnSelect)
            .Build();
    return &info;
}

TClass TComboBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TComboBox>("TComboBox")
                                       .Publish(kControlProperties)
                                       .Publish(kWinControlProperties)
                                       .Publish({"TabStop", "Style", "Ctl3D", "DropDownCount", "Sorted", "ItemIndex",
                                                 "Text", "Items", "OnChange", "OnCloseUp", "OnDropDown", "OnSelect"})
                                       .Build();
    return &info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner) {
    FItems = new TComboBoxStrings(this);
    FSaveItems = new TStringList;
    // The window draws itself and handles the mouse; clicks come as
    // notifications.
    FControlStyle = {csSetCaption, csDoubleClicks, csFixedHeight};
    FWidth = 145;
    FHeight = 21;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    FBrush->SetColor(FColor);
}

TCustomComboBox::~TCustomComboBox() {
    // The window's last messages must still find the lists.
    Destroying();
    if (FHandle) DestroyWindowHandle();
    delete FItems;
    delete FSaveItems;
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "COMBOBOX");
    p.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
    static const DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST};
    p.Style |= styles[FStyle];
    if (FSorted) p.Style |= CBS_SORT;
}

void TCustomComboBox::CreateWnd() {
    TWinControl::CreateWnd();
    // The lines kept while there was no window go into the new one.
    SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < FSaveItems->Count(); ++i) {
        LRESULT index = SendMessageA(FHandle, CB_ADDSTRING, 0, LPARAM(FSaveItems->Strings(i).c_str()));
        if (index >= 0) SendMessageA(FHandle, CB_SETITEMDATA, WPARAM(index), LPARAM(FSaveItems->Objects(i)));
    }
    FSaveItems->Clear();
    if (FSaveIndex >= 0)
        SendMessageA(FHandle, CB_SETCURSEL, WPARAM(FSaveIndex), 0);
    else if (FStyle != csDropDownList)
        SetWindowTextA(FHandle, FText.c_str());
    FSaveIndex = -1;
    SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
    HookEdit();
}

void TCustomComboBox::SaveItems() {
    // The window goes: its lines, selection and text stay with the control.
    FText = TWinControl::GetText();
    FSaveItems->Clear();
    int n = int(SendMessageA(FHandle, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        LRESULT len = SendMessageA(FHandle, CB_GETLBTEXTLEN, WPARAM(i), 0);
        String s(size_t(std::max<LRESULT>(len, 0)) + 1, '\0');
        len = SendMessageA(FHandle, CB_GETLBTEXT, WPARAM(i), LPARAM(s.data()));
        s.resize(len < 0 ? 0 : size_t(len));
        auto* object = reinterpret_cast<TObject*>(SendMessageA(FHandle, CB_GETITEMDATA, WPARAM(i), 0));
        FSaveItems->AddObject(s, object);
    }
    FSaveIndex = int(SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::HookEdit() {
    FEditHandle = nullptr;
    FEditDefProc = nullptr;
    if (FStyle == csDropDownList) return;
    HWND edit = FindWindowExA(FHandle, nullptr, "Edit", nullptr);
    if (!edit) return;
    FEditHandle = edit;
    FEditDefProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(edit, GWLP_WNDPROC, LONG_PTR(&TCustomComboBox::EditWndProc)));
}

// The edit part's window procedure: the combo box hears of its focus and
// of its end; everything goes on to the edit's own procedure.
LRESULT CALLBACK TCustomComboBox::EditWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Its combo box is its parent (found without a request to the window
    // server, as a window property would be on every message).
    auto* combo = dynamic_cast<TCustomComboBox*>(FindControl(GetParent(hwnd)));
    if (!combo || combo->FEditHandle != hwnd || !combo->FEditDefProc) return DefWindowProcA(hwnd, msg, wParam, lParam);
    WNDPROC def = combo->FEditDefProc;
    if (msg == WM_SETFOCUS && !combo->EditFocusing()) return 0;
    if (msg == WM_CHAR && combo->CompleteTyped(char(wParam))) return 0;
    if (msg == WM_NCDESTROY) combo->UnhookEdit(hwnd);
    return CallWindowProcA(def, hwnd, msg, wParam, lParam);
}

// The edit part taking the focus is the combo box taking it; false when the
// form refuses it.
bool TCustomComboBox::EditFocusing() {
    // No exception may pass back into the system.
    try {
        if (TCustomForm* form = GetParentForm(this); form && !form->SetFocusedControl(this)) return false;
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
    return true;
}

bool TCustomComboBox::CompleteTyped(char typed) {
    if (!FAutoComplete || FStyle != csDropDown || !FEditHandle || static_cast<unsigned char>(typed) < ' ') return false;
    const String text = GetText();
    DWORD selStart = 0, selEnd = 0;
    SendMessageA(FEditHandle, EM_GETSEL, WPARAM(&selStart), LPARAM(&selEnd));
    // Only typing at the end completes: the selection (a completion shown
    // before, say) reaches the end of the text.
    if (selEnd != text.size() || selStart > selEnd) return false;
    const String typedText = text.substr(0, selStart) + typed;
    for (int i = 0; i < FItems->Count(); ++i) {
        if (!StartsText(typedText, FItems->Strings(i))) continue;
        // No exception may pass back into the system.
        try {
            SendMessageA(FHandle, CB_SETCURSEL, WPARAM(i), 0);
            SendMessageA(FHandle, CB_SETEDITSEL, 0, MAKELPARAM(typedText.size(), -1));
            Change();
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
        return true;
    }
    return false;
}

void TCustomComboBox::UnhookEdit(HWND edit) {
    SetWindowLongPtrA(edit, GWLP_WNDPROC, LONG_PTR(FEditDefProc));
    FEditHandle = nullptr;
    FEditDefProc = nullptr;
}

int TCustomComboBox::ItemIndex() const {
    if (FHandle) return int(SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
    return FSaveIndex;
}

void TCustomComboBox::SetItemIndex(int value) {
    if (!FHandle && IsLoading()) {
        // The lines may still follow in the layout.
        FSaveIndex = value;
        return;
    }
    if (value < -1 || value >= FItems->Count()) value = -1;
    if (FHandle) {
        if (ItemIndex() != value) SendMessageA(FHandle, CB_SETCURSEL, WPARAM(value), 0);
        return;
    }
    if (FSaveIndex == value) return;
    FSaveIndex = value;
    // The edit part shows the selected line, or nothing.
    FText = value >= 0 ? FSaveItems->Strings(value) : String();
}

void TCustomComboBox::ClampItemIndex() {
    if (!FHandle && (FSaveIndex < -1 || FSaveIndex >= FSaveItems->Count())) FSaveIndex = -1;
}

void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    ClampItemIndex();
}

String TCustomComboBox::GetText() const {
    if (FHandle) return TWinControl::GetText();
    if (FStyle == csDropDownList)
        return FSaveIndex >= 0 && FSaveIndex < FSaveItems->Count() ? FSaveItems->Strings(FSaveIndex) : String();
    return FText;
}

void TCustomComboBox::SetText(const String& text) {
    if (FStyle != csDropDownList) {
        TWinControl::SetText(text);
        return;
    }
    // A list's text is its selection: select the line of that text.
    if (GetText() == text) return;
    int index = FItems->IndexOf(text);
    if (index < 0) return;
    SetItemIndex(index);
    Perform(CM_TEXTCHANGED);
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    RecreateWnd();
}

void TCustomComboBox::SetSorted(bool value) {
    if (FSorted == value) return;
    FSorted = value;
    if (FHandle) {
        RecreateWnd();
        return;
    }
    if (!value) return;
    // Sort the kept lines as the window would, following the selection.
    String selected = FSaveIndex >= 0 ? FSaveItems->Strings(FSaveIndex) : String();
    TObject* selectedObject = FSaveIndex >= 0 ? FSaveItems->Objects(FSaveIndex) : nullptr;
    bool hadSelection = FSaveIndex >= 0;
    FSaveItems->Sort();
    if (hadSelection)
        for (int i = 0; i < FSaveItems->Count(); ++i)
            if (FSaveItems->Strings(i) == selected && FSaveItems->Objects(i) == selectedObject) {
                FSaveIndex = i;
                break;
            }
}

void TCustomComboBox::SetCtl3D(bool value) {
    if (FCtl3D == value) return;
    FCtl3D = value;
    Perform(CM_CTL3DCHANGED);
    RecreateWnd();
}

bool TCustomComboBox::DroppedDown() const { return FHandle && SendMessageA(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0; }

void TCustomComboBox::SetDroppedDown(bool value) {
    if (FHandle) SendMessageA(FHandle, CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
}

void TCustomComboBox::AdjustDropDown() {
    if (!FHandle || FStyle == csSimple) return;
    int count = std::clamp(FItems->Count(), 1, FDropDownCount);
    int itemHeight = int(SendMessageA(FHandle, CB_GETITEMHEIGHT, 0, 0));
    if (itemHeight <= 0) itemHeight = MeasureText(FFont, "Wg").cy;
    // A drop-down combo box takes the height it is given as the height of
    // its open list and keeps the selection field's own.
    SetWindowPos(FHandle, nullptr, 0, 0, FWidth, FHeight + itemHeight * count + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TCustomComboBox::Change() { OnChange(this); }

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::DropDown() { OnDropDown(this); }
void TCustomComboBox::CloseUp() { OnCloseUp(this); }

void TCustomComboBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND: return CNCommand(m);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: return WMCtlColor(m);
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORSTATIC: return CNCtlColor(m);
    case CM_WANTSPECIALKEY: return CMWantSpecialKey(m);
    case WM_DESTROY: return WMDestroy(m);
    case WM_ERASEBKGND: return WMEraseBkgnd(m);
    default: return TWinControl::WndProc(m);
    }
}

void TCustomComboBox::CNCommand(TMessage& m) {
    switch (HIWORD(m.WParam)) {
    case CBN_SELCHANGE: {
        // The edit part shows the new line only after this
        // notification: show it now for the handlers.
        int index = ItemIndex();
        if (index >= 0 && FStyle != csDropDownList) SetWindowTextA(FHandle, FItems->Strings(index).c_str());
        Click();
        Select();
        break;
    }
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN:
        DropDown();
        AdjustDropDown();
        break;
    case CBN_CLOSEUP: CloseUp(); break;
    default: break;
    }
}

void TCustomComboBox::WMCtlColor(TMessage& m) {
    // From the edit part and the list, which are the window's own.
    if (!FindControl(reinterpret_cast<HWND>(m.LParam))) {
        SetCtlColors(m, FFont, FColor, FBrush);
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomComboBox::CNCtlColor(TMessage& m) { SetCtlColors(m, FFont, FColor, FBrush); }

void TCustomComboBox::CMWantSpecialKey(TMessage& m) {
    // Enter and Escape close an open list rather than the dialog.
    if ((m.WParam == VK_RETURN || m.WParam == VK_ESCAPE) && DroppedDown()) {
        m.Result = 1;
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomComboBox::WMDestroy(TMessage& m) {
    if (!IsDestroying()) SaveItems();
    TWinControl::WndProc(m);
}

// The window paints all of itself.
void TCustomComboBox::WMEraseBkgnd(TMessage& m) { DefaultHandler(m); }

// ============================================================================
// TScrollBar
// ============================================================================

TClass TScrollBar::StaticClass() {
    static const TClassInfo info = TClassBuilder<TScrollBar>("TScrollBar")
                                       .Publish(kControlProperties)
                                       .Publish(kWinControlProperties)
                                       .Prop("Kind", &TScrollBar::FKind, &TScrollBar::SetKind)
                                       .Default(sbHorizontal)
                                       .Prop("LargeChange", &TScrollBar::FLargeChange, &TScrollBar::SetLargeChange)
                                       .Default(1)
                                       .Prop("Max", &TScrollBar::FMax, &TScrollBar::SetMax)
                                       .Default(100)
                                       .Prop("Min", &TScrollBar::FMin, &TScrollBar::SetMin)
                                       .Default(0)
                                       .Prop("PageSize", &TScrollBar::FPageSize, &TScrollBar::SetPageSize)
                                       .Default(0)
                                       .Prop("Position", &TScrollBar::FPosition, &TScrollBar::SetPosition)
                                       .Default(0)
                                       .Prop("SmallChange", &TScrollBar::FSmallChange, &TScrollBar::SetSmallChange)
                                       .Default(1)
                                       .Prop("TabStop", &TScrollBar::FTabStop, &TScrollBar::SetTabStop)
                                       .Default(true)
                                       .Prop("OnChange", &TScrollBar::OnChange, &TScrollBar::OnChange)
                                       .Prop("OnScroll", &TScrollBar::OnScroll, &TScrollBar::OnScroll)
                                       .Build();
    return &info;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    FControlStyle = {csFramed, csDoubleClicks, csOpaque};
    FWidth = 121;
    FHeight = GetSystemMetrics(SM_CYHSCROLL);
    FTabStop = true;
}

void TScrollBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "SCROLLBAR");
    p.Style |= FKind == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    UpdateScrollInfo();
}

void TScrollBar::UpdateScrollInfo() {
    if (!FHandle) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = FMin;
    si.nMax = FMax;
    si.nPage = UINT(FPageSize);
    si.nPos = FPosition;
    SetScrollInfo(FHandle, SB_CTL, &si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind value) {
    if (FKind == value) return;
    FKind = value;
    // Turning the bar round swaps its sides.
    if (!IsLoading()) SetBounds(FLeft, FTop, FHeight, FWidth);
    RecreateWnd();
}

int TScrollBar::MaxPosition() const { return std::max(FMin, FPageSize > 0 ? FMax - FPageSize + 1 : FMax); }

void TScrollBar::SetParams(int position, int min, int max) {
    if (IsLoading()) {
        FMin = min;
        FMax = max;
        FPosition = position;
        return;
    }
    if (max < min || (FPageSize > 0 && FPageSize > max - min + 1))
        throw EInvalidOperation("Scrollbar property out of range");
    FMin = min;
    FMax = max;
    position = std::clamp(position, FMin, MaxPosition());
    bool changed = position != FPosition;
    FPosition = position;
    UpdateScrollInfo();
    if (changed) Change();
}

void TScrollBar::SetPageSize(int value) {
    if (FPageSize == value) return;
    if (IsLoading()) {
        FPageSize = value;
        return;
    }
    if (value < 0 || value > FMax - FMin + 1) throw EInvalidOperation("Scrollbar property out of range");
    FPageSize = value;
    UpdateScrollInfo();
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::Loaded() {
    TWinControl::Loaded();
    // Bring what the layout gave into a shape the bar can show.
    if (FMax < FMin) FMax = FMin;
    FPageSize = std::clamp(FPageSize, 0, FMax - FMin + 1);
    FPosition = std::clamp(FPosition, FMin, MaxPosition());
    UpdateScrollInfo();
}

void TScrollBar::Change() { OnChange(this); }

void TScrollBar::Scroll(TScrollCode code, int& scrollPos) { OnScroll(this, code, scrollPos); }

void TScrollBar::DoScroll(TMessage& m) {
    int code = LOWORD(m.WParam);
    if (code < scLineUp || code > scEndScroll) return;
    int pos = FPosition;
    switch (TScrollCode(code)) {
    case scLineUp: pos -= FSmallChange; break;
    case scLineDown: pos += FSmallChange; break;
    case scPageUp: pos -= FLargeChange; break;
    case scPageDown: pos += FLargeChange; break;
    case scPosition:
    case scTrack: {
        // The 32-bit position of the thumb (the message carries 16 bits).
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        pos = GetScrollInfo(FHandle, SB_CTL, &si) ? si.nTrackPos : short(HIWORD(m.WParam));
        break;
    }
    case scTop: pos = FMin; break;
    case scBottom: pos = FMax; break;
    case scEndScroll: break;
    }
    pos = std::clamp(pos, FMin, MaxPosition());
    TScrollCode scrollCode = TScrollCode(code);
    Scroll(scrollCode, pos);
    SetPosition(pos);
}

void TScrollBar::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL: return CNScroll(m);
    case CN_CTLCOLORSCROLLBAR: return CNCtlColorScrollBar(m);
    default: return TWinControl::WndProc(m);
    }
}

void TScrollBar::CNScroll(TMessage& m) {
    DoScroll(m);
    m.Result = 0;
}

// The system's colours.
void TScrollBar::CNCtlColorScrollBar(TMessage& m) { DefaultHandler(m); }

// ============================================================================
// TCustomEdit
// ============================================================================

TClass TCustomEdit::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCustomEdit>("TCustomEdit")
                                       .Declare("Caption", &TCustomEdit::Caption, &TCustomEdit::SetCaption)
                                       .Stored(false)
                                       .Declare("Color", &TCustomEdit::FColor, &TCustomEdit::SetColor)
                                       .Default(clWindow)
                                       .Declare("ParentColor", &TCustomEdit::FParentColor, &TCustomEdit::SetParentColor)
                                       .Default(false)
                                       .Declare("MaxLength", &TCustomEdit::FMaxLength, &TCustomEdit::SetMaxLength)
                                       .Default(0)
                                       .Declare("ReadOnly", &TCustomEdit::FReadOnly, &TCustomEdit::SetReadOnly)
                                       .Default(false)
                                       .Declare("TabStop", &TCustomEdit::FTabStop, &TCustomEdit::SetTabStop)
                                       .Default(true)
                                       .Declare("Text", &TCustomEdit::Text, &TCustomEdit::SetText)
                                       .Declare("OnChange", &TCustomEdit::OnChange, &TCustomEdit::OnChange)
                                       .Build();
    return &info;
}

TClass TEdit::StaticClass() {
    static const TClassInfo info = TClassBuilder<TEdit>("TEdit")
                                       .Publish(kControlProperties)
                                       .Publish(kWinControlProperties)
                                       .Publish({"TabStop", "MaxLength", "ReadOnly", "Text", "OnChange"})
                                       .Build();
    return &info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    FWidth = 121;
    FHeight = 21;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    FBrush->SetColor(FColor);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "EDIT");
    p.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (FReadOnly) p.Style |= ES_READONLY;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::SetMaxLength(int value) {
    if (value < 0) value = 0;
    FMaxLength = value;
    if (FHandle) SendMessageA(FHandle, EM_LIMITTEXT, WPARAM(value), 0);
}

void TCustomEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    if (FHandle) SendMessageA(FHandle, EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TCustomEdit::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    if (FMaxLength > 0) SendMessageA(FHandle, EM_LIMITTEXT, WPARAM(FMaxLength), 0);
}

void TCustomEdit::SelectAll() {
    if (FHandle) SendMessageA(FHandle, EM_SETSEL, 0, -1);
}

void TCustomEdit::Change() { OnChange(this); }

void TCustomEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND: return CNCommand(m);
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: return CNCtlColor(m);
    case WM_ERASEBKGND: return WMEraseBkgnd(m);
    default: return TWinControl::WndProc(m);
    }
}

void TCustomEdit::CNCommand(TMessage& m) {
    if (HIWORD(m.WParam) == EN_CHANGE && !IsLoading()) Change();
}

void TCustomEdit::CNCtlColor(TMessage& m) { SetCtlColors(m, FFont, FColor, FBrush); }

// The window paints all of itself.
void TCustomEdit::WMEraseBkgnd(TMessage& m) { DefaultHandler(m); }

// ============================================================================
// Registration
// ============================================================================

void RegisterStandardControls() {
    RegisterClasses({TLabel::StaticClass(), TButton::StaticClass(), TCheckBox::StaticClass(),
                     TRadioButton::StaticClass(), TGroupBox::StaticClass(), TComboBox::StaticClass(),
                     TScrollBar::StaticClass(), TEdit::StaticClass(), TPanel::StaticClass(), TImage::StaticClass(),
                     TBevel::StaticClass(), TRadioGroup::StaticClass(), TPaintBox::StaticClass(),
                     TPageControl::StaticClass(), TTabSheet::StaticClass()});
}
