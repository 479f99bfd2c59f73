#include "classlib/ui/controls.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "classlib/core/scopes.h"
#include "classlib/ui/actions.h"
#include "classlib/ui/forms.h"
#include "classlib/ui/menus.h"

// ============================================================================
// Type descriptions
// ============================================================================

QL_DEFINE_ENUM(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom")
QL_DEFINE_ENUM(TBiDiMode, "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly")
QL_DEFINE_ENUM(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom")
QL_DEFINE_ENUM(TMouseButton, "mbLeft", "mbRight", "mbMiddle")
QL_DEFINE_ENUM(TShiftStateItem, "ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble")
QL_DEFINE_ENUM(TControlStyleItem, "csAcceptsControls", "csCaptureMouse", "csDesignInteractive", "csClickEvents",
               "csFramed", "csSetCaption", "csOpaque", "csDoubleClicks", "csFixedWidth", "csFixedHeight",
               "csNoDesignVisible", "csReplicatable", "csNoStdEvents", "csDisplayDragImage", "csReflector",
               "csActionClient", "csMenuEvents", "csNeedsBorderPaint", "csParentBackground")
QL_DEFINE_ENUM(TControlStateItem, "csLButtonDown", "csClicked", "csPalette", "csReadingState", "csAlignmentNeeded",
               "csFocusing", "csCreating", "csPaintCopy", "csCustomPaint", "csDestroyingHandle", "csDocking")
QL_DEFINE_ENUM(TBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin")

const TTypeInfo* TypeInfoOf(TCursor*) {
    static const TTypeInfo* info = [] {
        static const TTypeInfo t = MakeOrdinalTypeInfo(tkInteger, "TCursor", -32768, 32767);
        RegisterIntegerIdents(&t,
                              {{crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
                               {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
                               {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
                               {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
                               {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
                               {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
                               {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
                               {crSizeAll, "crSizeAll"}});
        return &t;
    }();
    return info;
}

HCURSOR ArrowCursor() {
    static const HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    return arrow;
}

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (keyData & 0x20000000) s.Include(ssAlt);
    return s;
}

int MulDivRound(int value, int numerator, int denominator) {
    if (denominator == 0) return value;
    return int(std::nearbyint(double(value) * numerator / denominator));
}

// ============================================================================
// TControlCanvas
// ============================================================================

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::FreeHandle() {
    if (!FDeviceContext) return;
    SetHandle(nullptr);
    ReleaseDC(FWindowHandle, FDeviceContext);
    FDeviceContext = nullptr;
    FWindowHandle = nullptr;
}

void TControlCanvas::CreateHandle() {
    if (!FControl) return;
    if (auto* win = dynamic_cast<TWinControl*>(FControl)) {
        FWindowHandle = win->Handle();
        FDeviceContext = GetDC(FWindowHandle);
    } else {
        TWinControl* parent = FControl->Parent();
        if (!parent) return;
        FWindowHandle = parent->Handle();
        FDeviceContext = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
        SetWindowOrgEx(FDeviceContext, -FControl->Left(), -FControl->Top(), nullptr);
        IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
    }
    SetHandle(FDeviceContext);
}

// ============================================================================
// TControl
// ============================================================================

TClass TControl::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TControl>("TControl")
            .Declare("Action", &TControl::Action, &TControl::SetAction)
            .Declare("Align", &TControl::FAlign, &TControl::SetAlign)
            .Default(alNone)
            .Declare("Anchors", &TControl::FAnchors, &TControl::SetAnchors)
            .Stored(&TControl::IsAnchorsStored)
            .Declare("BiDiMode", &TControl::FBiDiMode, &TControl::SetBiDiMode)
            .Stored(&TControl::IsBiDiModeStored)
            .Prop("Left", &TControl::FLeft, &TControl::SetLeft)
            .Prop("Top", &TControl::FTop, &TControl::SetTop)
            .Prop("Width", &TControl::FWidth, &TControl::SetWidth)
            .Prop("Height", &TControl::FHeight, &TControl::SetHeight)
            .Declare("Caption", &TControl::GetText, &TControl::SetText)
            .Stored(&TControl::IsCaptionStored)
            .Declare("Color", &TControl::FColor, &TControl::SetColor)
            .Stored(&TControl::IsColorStored)
            .Declare("Cursor", &TControl::FCursor, &TControl::SetCursor)
            .Default(crDefault)
            .Declare("DragCursor", &TControl::FDragCursor, &TControl::SetDragCursor)
            .Default(crDrag)
            .Declare("DragKind", &TControl::FDragKind, &TControl::SetDragKind)
            .Default(dkDrag)
            .Declare("DragMode", &TControl::FDragMode, &TControl::SetDragMode)
            .Default(dmManual)
            .Declare("Enabled", &TControl::FEnabled, &TControl::SetEnabled)
            .Default(true)
            .Declare("Font", &TControl::Font, &TControl::SetFont)
            .Stored(&TControl::IsFontStored)
            .Declare("Hint", &TControl::FHint, &TControl::SetHint)
            .Declare("ParentBiDiMode", &TControl::FParentBiDiMode, &TControl::SetParentBiDiMode)
            .Default(true)
            .Declare("ParentColor", &TControl::FParentColor, &TControl::SetParentColor)
            .Default(true)
            .Declare("ParentFont", &TControl::FParentFont, &TControl::SetParentFont)
            .Default(true)
            .Declare("ParentShowHint", &TControl::FParentShowHint, &TControl::SetParentShowHint)
            .Default(true)
            .Declare("PopupMenu", &TControl::FPopupMenu, &TControl::SetPopupMenu)
            .Declare("ShowHint", &TControl::FShowHint, &TControl::SetShowHint)
            .Stored(&TControl::IsShowHintStored)
            .Declare("Visible", &TControl::FVisible, &TControl::SetVisible)
            .Default(true)
            .Declare("OnClick", &TControl::OnClick, &TControl::OnClick)
            .Declare("OnDblClick", &TControl::OnDblClick, &TControl::OnDblClick)
            .Declare("OnDragDrop", &TControl::OnDragDrop, &TControl::OnDragDrop)
            .Declare("OnDragOver", &TControl::OnDragOver, &TControl::OnDragOver)
            .Declare("OnEndDrag", &TControl::OnEndDrag, &TControl::OnEndDrag)
            .Declare("OnMouseDown", &TControl::OnMouseDown, &TControl::OnMouseDown)
            .Declare("OnMouseMove", &TControl::OnMouseMove, &TControl::OnMouseMove)
            .Declare("OnMouseUp", &TControl::OnMouseUp, &TControl::OnMouseUp)
            .Declare("OnMouseEnter", &TControl::OnMouseEnter, &TControl::OnMouseEnter)
            .Declare("OnMouseLeave", &TControl::OnMouseLeave, &TControl::OnMouseLeave)
            .Declare("OnResize", &TControl::OnResize, &TControl::OnResize)
            .Declare("OnStartDrag", &TControl::OnStartDrag, &TControl::OnStartDrag)
            .Declare("OnEndDock", &TControl::OnEndDock, &TControl::OnEndDock)
            .Declare("OnStartDock", &TControl::OnStartDock, &TControl::OnStartDock)
            .Build();
    return &info;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = TWndMethod::Bind<&TControl::WndProc>(this);
    FFont = new TFont;
    FFont->OnChange = TNotifyEvent::Bind<&TControl::FontChanged>(this);
}

TControl::~TControl() {
    UndockOnDestroy();
    if (Application && Application->FMouseControl == this) Application->FMouseControl = nullptr;
    if (Application && Application->FHint.Control == this) Application->CancelHint();
    if (FParent) FParent->RemoveControl(this);
    SetAction(nullptr);
    DragControlDestroyed(this);
    delete FFont;
}

// An aligned control follows the sides it is aligned to.
static TAnchors AnchorsForAlign(TAlign align) {
    static const TAnchors anchors[] = {{akLeft, akTop},
                                       {akLeft, akTop, akRight},
                                       {akLeft, akRight, akBottom},
                                       {akLeft, akTop, akBottom},
                                       {akRight, akTop, akBottom},
                                       {akLeft, akTop, akRight, akBottom},
                                       {akLeft, akTop}};
    return anchors[align];
}

bool TControl::IsAnchorsStored() const { return FAnchors != AnchorsForAlign(FAlign); }

bool TControl::IsCaptionStored() const { return FControlStyle.Contains(csSetCaption) || !FText.empty(); }
bool TControl::IsColorStored() const { return !FParentColor; }
bool TControl::IsFontStored() const { return !FParentFont; }
bool TControl::IsShowHintStored() const { return !FParentShowHint; }
bool TControl::IsBiDiModeStored() const { return !FParentBiDiMode; }

void TControl::SetParent(TWinControl* parent) {
    if (FParent == parent) return;
    if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* p = dynamic_cast<TWinControl*>(parent))
        SetParent(p);
    else if (!parent)
        SetParent(nullptr);
}

void TControl::SetName(const String& name) {
    String old = Name();
    bool changeText = FControlStyle.Contains(csSetCaption) && !IsLoading() && GetText() == old;
    TComponent::SetName(name);
    if (changeText) SetText(name);
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (TBasicAction* action = Action()) ActionChange(action, true);
    if (FParent) {
        if (FParentColor) ParentColorChanged();
        if (FParentFont) ParentFontChanged();
        if (FParentShowHint) FShowHint = FParent->FShowHint;
        if (FParentBiDiMode) ParentBiDiModeChanged();
        UpdateAnchorRules();
    }
    // A container lays out the children it was given while it was read.
    if (auto* win = dynamic_cast<TWinControl*>(this); win && FControlState.Contains(csAlignmentNeeded)) win->Realign();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    bool sizeChanged = width != FWidth || height != FHeight;
    InvalidateControl(FVisible, false);
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    UpdateAnchorRules();
    Invalidate();
    RequestAlign();
    if (sizeChanged && !IsLoading()) Resize();
}

TRect TControl::ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
int TControl::ClientWidth() const { return ClientRect().Width(); }
int TControl::ClientHeight() const { return ClientRect().Height(); }
void TControl::SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
void TControl::SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }

void TControl::SetClientSize(int width, int height) {
    TRect client = ClientRect();
    SetBounds(FLeft, FTop, FWidth - client.Width() + width, FHeight - client.Height() + height);
}

TPoint TControl::ClientOrigin() const {
    if (!FParent) return Point(FLeft, FTop);
    TPoint p = FParent->ClientOrigin();
    return Point(p.X + FLeft, p.Y + FTop);
}

TPoint TControl::ClientToScreen(TPoint p) const {
    TPoint o = ClientOrigin();
    return Point(p.X + o.X, p.Y + o.Y);
}

TPoint TControl::ScreenToClient(TPoint p) const {
    TPoint o = ClientOrigin();
    return Point(p.X - o.X, p.Y - o.Y);
}

void TControl::SetAlign(TAlign align) {
    if (FAlign == align) return;
    TAlign old = FAlign;
    FAlign = align;
    FAnchors = AnchorsForAlign(align);
    if (old != alNone || align != alNone) RequestAlign();
}

void TControl::SetAnchors(TAnchors anchors) {
    if (FAnchors == anchors) return;
    FAnchors = anchors;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
    if (!FParent || IsLoading() || FParent->FControlState.Contains(csAlignmentNeeded)) return;
    TRect client = FParent->HandleAllocated() ? FParent->ClientRect() : Rect(0, 0, FParent->FWidth, FParent->FHeight);
    FOriginalParentWidth = client.Width();
    FOriginalParentHeight = client.Height();
    FAnchorRight = client.Width() - (FLeft + FWidth);
    FAnchorBottom = client.Height() - (FTop + FHeight);
}

void TControl::RequestAlign() {
    if (FParent) FParent->Realign();
}

void TControl::Resize() { OnResize(this); }

void TControl::SetVisible(bool visible) {
    if (FVisible == visible) return;
    InvalidateControl(true, false);
    FVisible = visible;
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
    RequestAlign();
    NotifyHostDockSite(CM_VISIBLECHANGED, visible ? 1 : 0, 0);
}

void TControl::SetEnabled(bool enabled) {
    if (FEnabled == enabled) return;
    FEnabled = enabled;
    Perform(CM_ENABLEDCHANGED);
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::FontChanged(TObject*) {
    FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool parentFont) {
    if (FParentFont == parentFont) return;
    FParentFont = parentFont;
    if (parentFont && FParent && !IsLoading()) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!FParentFont || !FParent) return;
    FFont->Assign(FParent->Font());
    FParentFont = true;  // Assign's change event cleared it
}

void TControl::SetColor(TColor color) {
    if (FColor == color) return;
    FColor = color;
    FParentColor = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool parentColor) {
    if (FParentColor == parentColor) return;
    FParentColor = parentColor;
    if (parentColor && FParent && !IsLoading()) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!FParentColor || !FParent) return;
    SetColor(FParent->Color());
    FParentColor = true;
}

void TControl::SetText(const String& text) {
    if (FText == text) return;
    FText = text;
    Perform(CM_TEXTCHANGED);
    NotifyHostDockSite(WM_SETTEXT, 0, LPARAM(text.c_str()));
}

void TControl::SetCursor(TCursor cursor) {
    if (FCursor == cursor) return;
    FCursor = cursor;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool showHint) {
    if (FShowHint == showHint && !FParentShowHint) return;
    FShowHint = showHint;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool parentShowHint) {
    if (FParentShowHint == parentShowHint) return;
    FParentShowHint = parentShowHint;
    if (parentShowHint && FParent && !IsLoading()) {
        FShowHint = FParent->FShowHint;
        Perform(CM_SHOWHINTCHANGED);
        FParentShowHint = true;
    }
}

void TControl::SetBiDiMode(TBiDiMode mode) {
    if (FBiDiMode == mode && !FParentBiDiMode) return;
    const bool changed = FBiDiMode != mode;
    FBiDiMode = mode;
    FParentBiDiMode = false;
    if (changed) Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool parentBiDiMode) {
    if (FParentBiDiMode == parentBiDiMode) return;
    FParentBiDiMode = parentBiDiMode;
    if (parentBiDiMode && !IsLoading()) ParentBiDiModeChanged();
}

void TControl::ParentBiDiModeChanged() {
    if (!FParent || FParent->FBiDiMode == FBiDiMode) return;
    FBiDiMode = FParent->FBiDiMode;
    Perform(CM_BIDIMODECHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    FPopupMenu = menu;
    if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FPopupMenu) FPopupMenu = nullptr;
    if (operation == opRemove && component && component == Action()) SetAction(nullptr);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    if (WindowProc)
        WindowProc(m);
    else
        WndProc(m);
    return m.Result;
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
    if (!isVisible || !FParent || !FParent->HandleAllocated()) return;
    RECT r{FLeft, FTop, FLeft + FWidth, FTop + FHeight};
    InvalidateRect(FParent->Handle(), &r, !isOpaque);
}

void TControl::Repaint() {
    if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
    Invalidate();
    FParent->Update();
}

void TControl::Update() {
    if (FParent) FParent->Update();
}

void TControl::BringToFront() { SetZOrder(true); }
void TControl::SendToBack() { SetZOrder(false); }

// The parent's lists keep the z-order, the last on top: a windowed control
// moves in its list and its window with it.
void TControl::SetZOrder(bool topMost) {
    if (!FParent) return;
    auto move = [topMost](auto& list, auto* control) {
        auto it = std::find(list.begin(), list.end(), control);
        if (it == list.end()) return false;
        list.erase(it);
        list.insert(topMost ? list.end() : list.begin(), control);
        return true;
    };
    if (auto* win = dynamic_cast<TWinControl*>(this)) {
        if (move(FParent->FWinControls, win) && win->FHandle)
            SetWindowPos(win->FHandle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    } else if (move(FParent->FControls, this)) {
        Invalidate();
    }
}

void TControl::PaintTo(HDC dc, int x, int y) {
    int saved = SaveDC(dc);
    POINT org;
    GetWindowOrgEx(dc, &org);
    SetWindowOrgEx(dc, org.x - x, org.y - y, nullptr);
    IntersectClipRect(dc, 0, 0, FWidth, FHeight);
    Perform(WM_PAINT, WPARAM(dc), 0);
    RestoreDC(dc, saved);
}

// A windowed control captures the mouse with its own window, a windowless
// one with its parent's.
bool TControl::MouseCapture() const {
    if (!Application || Application->FCaptureControl != this) return false;
    const TWinControl* window = dynamic_cast<const TWinControl*>(this);
    if (!window) window = FParent;
    return window && window->FHandle && GetCapture() == window->FHandle;
}

void TControl::SetMouseCapture(bool capture) {
    if (!Application) return;
    if (capture) {
        Application->FCaptureControl = this;
        if (auto* win = dynamic_cast<TWinControl*>(this))
            SetCapture(win->Handle());
        else if (FParent)
            SetCapture(FParent->Handle());
    } else if (Application->FCaptureControl == this) {
        Application->FCaptureControl = nullptr;
        ReleaseCapture();
    }
}

// The action runs unless OnClick is bound to a handler of its own.
void TControl::Click() {
    TBasicAction* action = Action();
    if (OnClick && action && OnClick != action->OnExecute())
        OnClick(this);
    else if (action && !IsDesigning())
        FActionLink->Execute();
    else
        OnClick(this);
}

void TControl::DblClick() { OnDblClick(this); }

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { OnMouseUp(this, button, shift, x, y); }
void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    bool handled = false;
    OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    if (handled) return true;
    // A fine-grained wheel turns less than a notch at a time: count whole notches.
    FWheelAccumulator += wheelDelta;
    while (FWheelAccumulator >= WHEEL_DELTA || FWheelAccumulator <= -WHEEL_DELTA) {
        bool down = FWheelAccumulator < 0;
        FWheelAccumulator += down ? WHEEL_DELTA : -WHEEL_DELTA;
        if (down ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos)) handled = true;
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
    bool handled = false;
    OnMouseWheelDown(this, shift, mousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
    bool handled = false;
    OnMouseWheelUp(this, shift, mousePos, handled);
    return handled;
}

void TControl::HandleMouseButton(TMessage& m, TMouseButton button, bool down, bool dbl) {
    TShiftState shift = KeysToShiftState(m.WParam);
    int x = m.XPos(), y = m.YPos();
    if (down) {
        if (button == mbLeft) {
            if (FDragMode == dmAutomatic && !IsDesigning()) {
                // A docking drag waits for the mouse to move: a click leaves the control docked.
                BeginDrag(FDragKind != dkDock);
                return;
            }
            FControlState.Include(csLButtonDown);
            if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
            if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
            if (dbl && FControlStyle.Contains(csDoubleClicks)) DblClick();
        }
        if (dbl) shift.Include(ssDouble);
        MouseDown(button, shift, x, y);
    } else {
        if (button == mbLeft) {
            FControlState.Exclude(csLButtonDown);
            if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
            if (FControlState.Contains(csClicked)) {
                FControlState.Exclude(csClicked);
                if (ClientRect().Contains(Point(x, y))) Click();
            }
        }
        MouseUp(button, shift, x, y);
    }
}

void TControl::ChangeScale(int m, int d) {
    if (m == d) return;
    SetBounds(MulDivRound(FLeft, m, d), MulDivRound(FTop, m, d), MulDivRound(FWidth, m, d), MulDivRound(FHeight, m, d));
    if (!FParentFont) FFont->SetSize(MulDivRound(FFont->Size(), m, d));
}

TCustomForm* TControl::ParentForm() const { return GetParentForm(this); }

TCustomForm* GetParentForm(const TControl* control) {
    const TControl* c = control;
    while (c && c->Parent()) c = c->Parent();
    return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(c));
}

void TControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP: return WMMouseButton(m);
    case WM_MOUSEMOVE: return WMMouseMove(m);
    case WM_CONTEXTMENU: return WMContextMenu(m);
    case WM_CANCELMODE: return WMCancelMode(m);
    case CM_MOUSEENTER: return CMMouseEnter(m);
    case CM_MOUSELEAVE: return CMMouseLeave(m);
    case CM_MOUSEWHEEL: return CMMouseWheel(m);
    case CM_ENABLEDCHANGED: return CMEnabledChanged(m);
    case CM_COLORCHANGED: return CMColorChanged(m);
    case CM_TEXTCHANGED: return CMTextChanged(m);
    case CM_VISIBLECHANGED: return CMVisibleChanged(m);
    case CM_FONTCHANGED: return CMFontChanged(m);
    case CM_PARENTFONTCHANGED: return CMParentFontChanged(m);
    case CM_PARENTCOLORCHANGED: return CMParentColorChanged(m);
    case CM_PARENTSHOWHINTCHANGED: return CMParentShowHintChanged(m);
    case CM_BIDIMODECHANGED: return CMBiDiModeChanged(m);
    case CM_PARENTBIDIMODECHANGED: return CMParentBiDiModeChanged(m);
    case CM_HITTEST: return CMHitTest(m);
    case CM_HINTSHOW: return CMHintShow(m);
    case CM_DRAG: return CMDrag(m);
    default:
        // Component messages end here; the system's go to the default handling.
        if (m.Msg < CM_BASE) DefaultHandler(m);
        return;
    }
}

// ---- Message handlers ----

void TControl::WMMouseButton(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN: HandleMouseButton(m, mbLeft, true, false); break;
    case WM_LBUTTONDBLCLK: HandleMouseButton(m, mbLeft, true, true); break;
    case WM_LBUTTONUP: HandleMouseButton(m, mbLeft, false, false); break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: HandleMouseButton(m, mbRight, true, m.Msg == WM_RBUTTONDBLCLK); break;
    case WM_RBUTTONUP: HandleMouseButton(m, mbRight, false, false); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: HandleMouseButton(m, mbMiddle, true, m.Msg == WM_MBUTTONDBLCLK); break;
    case WM_MBUTTONUP: HandleMouseButton(m, mbMiddle, false, false); break;
    default: break;
    }
    DefaultHandler(m);
}

void TControl::WMMouseMove(TMessage& m) {
    MouseMove(KeysToShiftState(m.WParam), m.XPos(), m.YPos());
    DefaultHandler(m);
}

void TControl::WMContextMenu(TMessage& m) {
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        TPoint p = Point(m.XPos(), m.YPos());
        if (p.X == -1 && p.Y == -1) p = ClientToScreen(Point(0, 0));
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(p.X, p.Y);
        m.Result = 1;
        return;
    }
    DefaultHandler(m);
}

void TControl::WMCancelMode(TMessage& m) {
    if (MouseCapture()) SetMouseCapture(false);
    FControlState.Exclude(csClicked);
    DefaultHandler(m);
}

void TControl::CMMouseEnter(TMessage& m) {
    if (m.LParam == 0 || m.LParam == LPARAM(this)) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage& m) {
    if (m.LParam == 0 || m.LParam == LPARAM(this)) OnMouseLeave(this);
}

// WParam and LParam as WM_MOUSEWHEEL has them: keys and delta, the cursor
// on the screen.
void TControl::CMMouseWheel(TMessage& m) {
    TShiftState shift = KeysToShiftState(LOWORD(m.WParam));
    if (DoMouseWheel(shift, short(HIWORD(m.WParam)), Point(m.XPos(), m.YPos())))
        m.Result = 1;
    else if (FParent)
        m.Result = FParent->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) { Invalidate(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage&) {
    if (FParentFont) ParentFontChanged();
}

void TControl::CMParentColorChanged(TMessage&) {
    if (FParentColor) ParentColorChanged();
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (FParentShowHint && FParent) {
        FShowHint = FParent->FShowHint;
        Perform(CM_SHOWHINTCHANGED);
        FParentShowHint = true;
    }
}

void TControl::CMBiDiModeChanged(TMessage&) { Invalidate(); }

void TControl::CMParentBiDiModeChanged(TMessage&) {
    if (FParentBiDiMode) ParentBiDiModeChanged();
}

void TControl::CMHitTest(TMessage& m) { m.Result = HTCLIENT; }

// Result 0: the hint may show.
void TControl::CMHintShow(TMessage& m) { m.Result = 0; }

void TControl::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case WM_GETTEXT:
        if (m.WParam > 0 && m.LParam) {
            size_t n = std::min<size_t>(FText.size(), size_t(m.WParam) - 1);
            std::copy_n(FText.data(), n, reinterpret_cast<char*>(m.LParam));
            reinterpret_cast<char*>(m.LParam)[n] = '\0';
            m.Result = LRESULT(n);
        }
        break;
    case WM_GETTEXTLENGTH: m.Result = LRESULT(FText.size()); break;
    case WM_SETTEXT:
        FText = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
        m.Result = 1;
        break;
    default: break;
    }
}

// ============================================================================
// TWinControl
// ============================================================================

namespace {

thread_local TWinControl* CreationControl = nullptr;

// The control of each window the class library made in this process. Every
// message looks its control up here: a window property would cost a
// request to the window server each time (tens of microseconds under
// Wine), this costs none, and a window of another process is never in it.
class TWindowControls {
public:
    void Add(HWND window, TWinControl* control) {
        std::lock_guard lock(FLock);
        FControls[window] = control;
    }
    // Forgets the window, if it still belongs to control.
    void Remove(HWND window, TWinControl* control) {
        std::lock_guard lock(FLock);
        auto it = FControls.find(window);
        if (it != FControls.end() && it->second == control) FControls.erase(it);
    }
    TWinControl* Find(HWND window) const {
        std::lock_guard lock(FLock);
        auto it = FControls.find(window);
        return it == FControls.end() ? nullptr : it->second;
    }

private:
    mutable std::mutex FLock;
    std::unordered_map<HWND, TWinControl*> FControls;
};

// Never destroyed: windows may still go after static objects have.
TWindowControls& WindowControls() {
    static auto* controls = new TWindowControls;
    return *controls;
}

}  // namespace

TClass TWinControl::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TWinControl>("TWinControl")
            .Declare("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
            .Default(-1)
            .Declare("TabStop", &TWinControl::FTabStop, &TWinControl::SetTabStop)
            .Default(false)
            .Declare("DoubleBuffered", &TWinControl::FDoubleBuffered, &TWinControl::SetDoubleBuffered)
            .Default(false)
            .Declare("DockSite", &TWinControl::FDockSite, &TWinControl::SetDockSite)
            .Default(false)
            .Declare("UseDockManager", &TWinControl::FUseDockManager, &TWinControl::SetUseDockManager)
            .Default(false)
            .Declare("OnEnter", &TWinControl::OnEnter, &TWinControl::OnEnter)
            .Declare("OnExit", &TWinControl::OnExit, &TWinControl::OnExit)
            .Declare("OnKeyDown", &TWinControl::OnKeyDown, &TWinControl::OnKeyDown)
            .Declare("OnKeyPress", &TWinControl::OnKeyPress, &TWinControl::OnKeyPress)
            .Declare("OnKeyUp", &TWinControl::OnKeyUp, &TWinControl::OnKeyUp)
            .Declare("OnDockDrop", &TWinControl::OnDockDrop, &TWinControl::OnDockDrop)
            .Declare("OnDockOver", &TWinControl::OnDockOver, &TWinControl::OnDockOver)
            .Declare("OnUnDock", &TWinControl::OnUnDock, &TWinControl::OnUnDock)
            .Build();
    return &info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    FBrush = new TBrush;
    FBrush->SetColor(FColor);
}

TWinControl::~TWinControl() {
    Destroying();
    UndockOnDestroy();
    // Clients docked here elsewhere than among the children keep no site.
    for (TControl* client : FDockClients) client->FHostDockSite = nullptr;
    FDockClients.clear();
    // Leave the parent while this object is still a TWinControl: the parent
    // keeps windowed children in a list of their own.
    if (FParent) FParent->RemoveControl(this);
    if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this, true);
    if (FHandle) DestroyWindowHandle();
    // A windowed control frees the controls it holds, whoever owns them.
    while (ControlCount() > 0) {
        TControl* c = Controls(ControlCount() - 1);
        RemoveControl(c);
        c->Free();
    }
    delete FBrush;
}

TWinControl* TWinControl::FindControl(HWND handle) { return handle ? WindowControls().Find(handle) : nullptr; }

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle) return;
    if (FParent) FParent->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateHandle() {
    if (FHandle) return;
    CreateWnd();
    if (!FHandle) return;
    // Siblings stack in the order of the parent's list, the last on top.
    // The system puts a new child window below its siblings: its place, when
    // no sibling before it in the list has a window yet (the parent makes
    // its children's windows from the last one on), and otherwise it moves.
    if (FParent) {
        const auto& siblings = FParent->FWinControls;
        const auto self = std::find(siblings.begin(), siblings.end(), this);
        if (std::any_of(siblings.begin(), self, [](const TWinControl* c) { return c->FHandle != nullptr; }))
            SetWindowPos(FHandle, FParent->PrecedingWindow(this), 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    for (TControl* c : FControls) c->UpdateAnchorRules();
    for (TWinControl* c : FWinControls) c->UpdateAnchorRules();
    CreateHandleDone();
}

HWND TWinControl::PrecedingWindow(TWinControl* control) const {
    auto it = std::find(FWinControls.begin(), FWinControls.end(), control);
    if (it != FWinControls.end())
        for (++it; it != FWinControls.end(); ++it)
            if ((*it)->FHandle) return (*it)->FHandle;
    return HWND_TOP;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = FText;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls)) {
        p.Style |= WS_CLIPCHILDREN;
        p.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (!FEnabled) p.Style |= WS_DISABLED;
    if (FTabStop) p.Style |= WS_TABSTOP;
    p.X = FLeft;
    p.Y = FTop;
    p.Width = FWidth;
    p.Height = FHeight;
    p.WndParent = FParent ? FParent->FHandle : FParentWindow;
    p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    p.WindowClass.lpfnWndProc = DefWindowProcA;
    p.WindowClass.hCursor = ArrowCursor();
    p.WindowClass.hbrBackground = nullptr;
    p.WindowClass.hInstance = GetModuleHandleA(nullptr);
    p.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& p, const char* controlClassName) {
    WNDCLASSA wc{};
    if (!GetClassInfoA(nullptr, controlClassName, &wc) &&
        !GetClassInfoA(GetModuleHandleA(nullptr), controlClassName, &wc))
        throw EOSError(String("Cannot find the window class ") + controlClassName, GetLastError());
    p.WindowClass = wc;
    p.WindowClass.hInstance = GetModuleHandleA(nullptr);
    p.WindowClass.style &= ~(CS_GLOBALCLASS);
    p.WindowClass.style |= CS_VREDRAW | CS_HREDRAW;
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    FDefWndProc = params.WindowClass.lpfnWndProc;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (!GetClassInfoA(instance, params.WinClassName.c_str(), &existing)) {
        WNDCLASSA wc = params.WindowClass;
        wc.lpfnWndProc = &TWinControl::InitWndProc;
        wc.hInstance = instance;
        wc.lpszClassName = params.WinClassName.c_str();
        if (!RegisterClassA(&wc))
            throw EOSError("Cannot register the window class " + params.WinClassName, GetLastError());
    }
    CreationControl = this;
    CreateWindowHandle(params);
    CreationControl = nullptr;
    if (!FHandle) throw EOSError("Error creating window for " + String(ClassName()), GetLastError());
    SendMessageA(FHandle, WM_SETFONT, WPARAM(FFont->Handle()), 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
    HWND h = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width, p.Height,
                             p.WndParent, nullptr, GetModuleHandleA(nullptr), p.Param);
    if (!FHandle) FHandle = h;
}

// The window class's procedure: the first message of a new window binds it
// to the control being created, then MainWndProc takes over.
LRESULT CALLBACK TWinControl::InitWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = std::exchange(CreationControl, nullptr);
    if (!control) return DefWindowProcA(hwnd, msg, wParam, lParam);
    control->AttachHandle(hwnd);
    return MainWndProc(hwnd, msg, wParam, lParam);
}

// Every message of a control's window: through WindowProc to the control.
LRESULT CALLBACK TWinControl::MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = FindControl(hwnd);
    if (!control) return DefWindowProcA(hwnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam};
    control->DispatchFromSystem(m);
    if (msg == WM_NCDESTROY) control->DetachHandle(hwnd);
    return m.Result;
}

void TWinControl::AttachHandle(HWND hwnd) {
    FHandle = hwnd;
    WindowControls().Add(hwnd, this);
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, LONG_PTR(&TWinControl::MainWndProc));
}

void TWinControl::DispatchFromSystem(TMessage& m) {
    // No exception may pass back into the system.
    try {
        if (WindowProc)
            WindowProc(m);
        else
            WndProc(m);
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
}

// The window is gone (its last message): the control has none now.
void TWinControl::DetachHandle(HWND hwnd) {
    WindowControls().Remove(hwnd, this);
    if (FHandle == hwnd) {
        FHandle = nullptr;
        FShowing = false;
    }
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (!FHandle) {
        TControl::DefaultHandler(m);
        return;
    }
    m.Result = CallWindowProcA(FDefWndProc ? FDefWndProc : DefWindowProcA, FHandle, m.Msg, m.WParam, m.LParam);
}

void TWinControl::DestroyWnd() {
    // Keep the text the window held.
    FText = GetText();
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
    FControlState.Include(csDestroyingHandle);
    HWND h = FHandle;
    if (h && !DestroyWindow(h)) {
        // The window belongs to another thread or is gone: forget it.
    }
    if (FHandle == h) {
        WindowControls().Remove(h, this);
        FHandle = nullptr;
    }
    FShowing = false;
    FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    for (TWinControl* c : FWinControls) c->DestroyHandle();
    DestroyWnd();
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    bool wasShowing = FShowing;
    DestroyHandle();
    UpdateShowing();
    if (!FHandle && wasShowing) HandleNeeded();
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) RaiseListIndexError(index);
    if (index < int(FControls.size())) return FControls[size_t(index)];
    return FWinControls[size_t(index) - FControls.size()];
}

bool TWinControl::ContainsControl(TControl* control) const {
    for (TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

void TWinControl::InsertControl(TControl* control) {
    if (!FControlStyle.Contains(csAcceptsControls) && !IsLoading() && !control->IsLoading() &&
        !dynamic_cast<TCustomForm*>(this)) {
        // Containers say so; everything else still takes run-time children
        // (a radio group's buttons, a combo's label), as the class library
        // allows.
    }
    Perform(CM_CONTROLLISTCHANGE, WPARAM(control), 1);
    control->FParent = this;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        FWinControls.push_back(win);
        FTabList.push_back(win);
    } else {
        FControls.push_back(control);
    }
    if (!control->ComponentState().Contains(csReading)) {
        control->Perform(CM_PARENTCOLORCHANGED);
        control->Perform(CM_PARENTFONTCHANGED);
        control->Perform(CM_PARENTSHOWHINTCHANGED);
        control->Perform(CM_PARENTBIDIMODECHANGED);
        if (auto* win = dynamic_cast<TWinControl*>(control)) {
            if (FHandle) win->UpdateShowing();
        } else if (FHandle) {
            control->Invalidate();
        }
        control->UpdateAnchorRules();
        Realign();
    }
    Perform(CM_CONTROLCHANGE, WPARAM(control), 1);
}

void TWinControl::RemoveControl(TControl* control) {
    Perform(CM_CONTROLCHANGE, WPARAM(control), 0);
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(win, true);
        std::erase(FWinControls, win);
        std::erase(FTabList, win);
        if (win->FHandle && !IsDestroying()) win->DestroyHandle();
    } else {
        if (FHandle) control->InvalidateControl(control->FVisible, false);
        std::erase(FControls, control);
    }
    if (Application && Application->FCaptureControl == control) Application->FCaptureControl = nullptr;
    control->FParent = nullptr;
    Perform(CM_CONTROLLISTCHANGE, WPARAM(control), 0);
    if (!IsDestroying()) Realign();
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) const {
    auto hit = [&](TControl* c) {
        if (!c->FVisible || (!c->FEnabled && !allowDisabled)) return false;
        TPoint local = Point(p.X - c->FLeft, p.Y - c->FTop);
        if (!c->ClientRect().Contains(local) && !Rect(0, 0, c->FWidth, c->FHeight).Contains(local)) return false;
        return c->Perform(CM_HITTEST, 0, MAKELPARAM(local.X, local.Y)) != 0;
    };
    if (allowWinControls)
        for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
            if (hit(*it)) return *it;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
        if (hit(*it)) return *it;
    return nullptr;
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
    for (TControl* c : FControls)
        if (c->Owner() == root) proc(c);
    for (TWinControl* c : FWinControls)
        if (c->Owner() == root) proc(c);
}

void TWinControl::SetChildOrder(TComponent* child, int order) {
    if (auto* win = dynamic_cast<TWinControl*>(child)) win->SetTabOrder(order);
}

// ---- Alignment ----

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0) --FAlignLevel;
    if (FAlignLevel == 0) Realign();
}

void TWinControl::Realign() {
    if (FAlignLevel > 0 || IsLoading() || IsDestroying()) {
        FControlState.Include(csAlignmentNeeded);
        return;
    }
    if (FControlState.Contains(csAlignmentNeeded) && FAlignLevel < 0) return;
    DisableAlign();
    FControlState.Include(csAlignmentNeeded);
    TScopeExit done([this] {
        FControlState.Exclude(csAlignmentNeeded);
        --FAlignLevel;
    });
    TRect r = HandleAllocated() ? ClientRect() : Rect(0, 0, FWidth, FHeight);
    AlignControls(nullptr, r);
}

void TWinControl::AlignControls(TControl*, TRect& rect) {
    AdjustClientRect(rect);
    AlignList(alTop, rect);
    AlignList(alBottom, rect);
    AlignList(alLeft, rect);
    AlignList(alRight, rect);
    AlignList(alClient, rect);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->FAlign == alNone && c->FVisible) DoAnchors(c);
    }
}

void TWinControl::AlignList(TAlign align, TRect& rect) {
    std::vector<TControl*> list;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->FAlign == align && c->FVisible) list.push_back(c);
    }
    auto before = [align](TControl* a, TControl* b) {
        switch (align) {
        case alTop: return a->FTop < b->FTop;
        case alBottom: return a->FTop + a->FHeight > b->FTop + b->FHeight;
        case alLeft: return a->FLeft < b->FLeft;
        case alRight: return a->FLeft + a->FWidth > b->FLeft + b->FWidth;
        default: return false;
        }
    };
    std::stable_sort(list.begin(), list.end(), before);
    for (TControl* c : list) {
        int w = c->FWidth, h = c->FHeight;
        switch (align) {
        case alTop:
            c->SetBounds(rect.Left, rect.Top, rect.Width(), h);
            rect.Top += c->FHeight;
            break;
        case alBottom:
            c->SetBounds(rect.Left, rect.Bottom - h, rect.Width(), h);
            rect.Bottom -= c->FHeight;
            break;
        case alLeft:
            c->SetBounds(rect.Left, rect.Top, w, rect.Height());
            rect.Left += c->FWidth;
            break;
        case alRight:
            c->SetBounds(rect.Right - w, rect.Top, w, rect.Height());
            rect.Right -= c->FWidth;
            break;
        case alClient: c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); break;
        default: break;
        }
    }
}

void TWinControl::DoAnchors(TControl* c) {
    if (c->FOriginalParentWidth == 0 && c->FOriginalParentHeight == 0) return;
    TRect client = HandleAllocated() ? ClientRect() : Rect(0, 0, FWidth, FHeight);
    int left = c->FLeft, top = c->FTop, width = c->FWidth, height = c->FHeight;
    if (c->FAnchors.Contains(akRight)) {
        if (c->FAnchors.Contains(akLeft))
            width = client.Width() - c->FAnchorRight - left;
        else
            left = client.Width() - c->FAnchorRight - width;
    }
    if (c->FAnchors.Contains(akBottom)) {
        if (c->FAnchors.Contains(akTop))
            height = client.Height() - c->FAnchorBottom - top;
        else
            top = client.Height() - c->FAnchorBottom - height;
    }
    c->SetBounds(left, top, width, height);
}

void TWinControl::ScaleControls(int m, int d) {
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->ChangeScale(m, d);
}

void TWinControl::ChangeScale(int m, int d) {
    DisableAlign();
    ScaleControls(m, d);
    TControl::ChangeScale(m, d);
    EnableAlign();
}

// ---- Bounds, text, showing ----

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    bool sizeChanged = width != FWidth || height != FHeight;
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (FHandle && !IsIconic(FHandle)) {
        SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (sizeChanged) {
        Realign();
        if (!IsLoading()) Resize();
    }
    UpdateAnchorRules();
    RequestAlign();
}

void TWinControl::UpdateBounds() {
    if (!FHandle) return;
    RECT r;
    GetWindowRect(FHandle, &r);
    if (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD) {
        HWND parent = GetParent(FHandle);
        if (parent) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    }
    bool sizeChanged = (r.right - r.left) != FWidth || (r.bottom - r.top) != FHeight;
    bool moved = r.left != FLeft || r.top != FTop;
    FLeft = r.left;
    FTop = r.top;
    FWidth = r.right - r.left;
    FHeight = r.bottom - r.top;
    if (moved || sizeChanged) UpdateAnchorRules();
    if (sizeChanged) RequestAlign();
}

TRect TWinControl::ClientRect() const {
    if (FHandle) {
        RECT r;
        GetClientRect(FHandle, &r);
        return Rect(r.left, r.top, r.right, r.bottom);
    }
    return Rect(0, 0, FWidth, FHeight);
}

void TWinControl::SetText(const String& text) {
    if (GetText() == text) return;
    FText = text;
    if (FHandle) SetWindowTextA(FHandle, text.c_str());
    Perform(CM_TEXTCHANGED);
    NotifyHostDockSite(WM_SETTEXT, 0, LPARAM(text.c_str()));
}

String TWinControl::GetText() const {
    if (!FHandle) return FText;
    int n = GetWindowTextLengthA(FHandle);
    String s(size_t(n) + 1, '\0');
    n = GetWindowTextA(FHandle, s.data(), n + 1);
    s.resize(size_t(std::max(n, 0)));
    return s;
}

TPoint TWinControl::ClientOrigin() const {
    if (!FHandle) return TControl::ClientOrigin();
    POINT p{0, 0};
    ::ClientToScreen(FHandle, &p);
    return Point(p.x, p.y);
}

bool TWinControl::Showing() const { return FShowing; }

void TWinControl::SetParent(TWinControl* parent) {
    if (FParent == parent) return;
    if (FHandle && !parent && !FParentWindow) DestroyHandle();
    TControl::SetParent(parent);
    if (FHandle && parent && parent->FHandle && GetParent(FHandle) != parent->FHandle)
        ::SetParent(FHandle, parent->FHandle);
    if (parent && parent->FHandle) UpdateShowing();
}

void TWinControl::UpdateShowing() {
    // A child shows while its parent shows; a window of its own (a form, or
    // a control placed on a foreign window) while it is visible.
    bool show = FVisible && !FControlState.Contains(csReadingState) && !IsLoading();
    if (FParent)
        show = show && (FParent->FShowing || FParent->FShowingChildren);
    else
        show = show && (FParentWindow || dynamic_cast<TCustomForm*>(this));
    if (show) {
        if (!FHandle) CreateHandle();
        // The children get their windows before this one appears, the last
        // in the list first: so they stack in the list's order as they come
        // (see CreateHandle).
        TScopeExit done([this] { FShowingChildren = false; });
        FShowingChildren = true;
        for (TWinControl* c : std::vector<TWinControl*>(FWinControls.rbegin(), FWinControls.rend())) c->UpdateShowing();
    }
    if (FHandle && FShowing != show) {
        FShowing = show;
        {
            TOnFailure undo([&] { FShowing = !show; });
            Perform(CM_SHOWINGCHANGED);
        }
        if (!show)
            for (TWinControl* c : std::vector<TWinControl*>(FWinControls)) c->UpdateShowing();
    }
}

void TWinControl::Invalidate() {
    if (FHandle) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::Update() {
    if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
    if (!FHandle) return;
    int saved = SaveDC(dc);
    POINT org;
    GetWindowOrgEx(dc, &org);
    SetWindowOrgEx(dc, org.x - x, org.y - y, nullptr);
    IntersectClipRect(dc, 0, 0, FWidth, FHeight);
    Perform(WM_ERASEBKGND, WPARAM(dc), LPARAM(dc));
    Perform(WM_PAINT, WPARAM(dc), 0);
    for (TWinControl* c : FWinControls)
        if (c->FVisible) c->PaintTo(dc, c->FLeft, c->FTop);
    RestoreDC(dc, saved);
}

// ---- Painting ----

void TWinControl::PaintWindow(HDC dc) {
    // A plain window has nothing of its own to draw; its default WM_PAINT
    // would begin and end a paint of the window itself, and so validate
    // the window when it was asked to paint into another DC.
    if (!FDefWndProc || FDefWndProc == DefWindowProcA) return;
    TMessage m;
    m.Msg = WM_PAINT;
    m.WParam = WPARAM(dc);
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    auto it = FControls.begin();
    if (first) it = std::find(FControls.begin(), FControls.end(), first);
    for (; it != FControls.end(); ++it) {
        TControl* c = *it;
        if (!c->FVisible) continue;
        RECT r{c->FLeft, c->FTop, c->FLeft + c->FWidth, c->FTop + c->FHeight};
        RECT clip;
        if (GetClipBox(dc, &clip) != NULLREGION) {
            RECT tmp;
            if (!IntersectRect(&tmp, &r, &clip)) continue;
        }
        c->PaintTo(dc, c->FLeft, c->FTop);
    }
}

void TWinControl::WMPaint(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    PAINTSTRUCT ps{};
    bool own = dc == nullptr;
    if (own) dc = BeginPaint(FHandle, &ps);
    TScopeExit endPaint([&] {
        if (own) EndPaint(FHandle, &ps);
    });
    if (own && FDoubleBuffered) {
        TRect client = ClientRect();
        HDC mem = CreateCompatibleDC(dc);
        HBITMAP bmp = CreateCompatibleBitmap(dc, std::max(client.Width(), 1), std::max(client.Height(), 1));
        HGDIOBJ old = SelectObject(mem, bmp);
        Perform(WM_ERASEBKGND, WPARAM(mem), LPARAM(mem));
        int saved = SaveDC(mem);
        PaintWindow(mem);
        RestoreDC(mem, saved);
        PaintControls(mem, nullptr);
        BitBlt(dc, 0, 0, client.Width(), client.Height(), mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
    } else {
        int saved = SaveDC(dc);
        // Opaque windowless children paint over their area themselves.
        for (TControl* c : FControls)
            if (c->FVisible && c->FControlStyle.Contains(csOpaque))
                ExcludeClipRect(dc, c->FLeft, c->FTop, c->FLeft + c->FWidth, c->FTop + c->FHeight);
        PaintWindow(dc);
        RestoreDC(dc, saved);
        PaintControls(dc, nullptr);
    }
}

void TWinControl::ColorChanged() {
    FBrush->SetColor(FColor);
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTCOLORCHANGED);
    Invalidate();
}

// ---- Mouse over windowless children ----

bool TWinControl::IsControlMouseMsg(TMessage& m) {
    TControl* target = nullptr;
    TPoint p = Point(m.XPos(), m.YPos());
    if (Application && Application->FCaptureControl && Application->FCaptureControl->Parent() == this &&
        GetCapture() == FHandle)
        target = Application->FCaptureControl;
    else if (!(Application && Application->FCaptureControl == this))
        target = ControlAtPos(p, false);
    if (!target || dynamic_cast<TWinControl*>(target)) return false;
    TMessage local = m;
    local.LParam = MAKELPARAM(p.X - target->FLeft, p.Y - target->FTop);
    target->WindowProc(local);
    m.Result = local.Result;
    return true;
}

// ---- Focus and keys ----

int TWinControl::TabOrder() const {
    if (!FParent) return -1;
    auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!FParent) return;
    auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    if (order < 0 || order > int(list.size())) order = int(list.size());
    list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool tabStop) {
    if (FTabStop == tabStop) return;
    FTabStop = tabStop;
    if (FHandle) {
        LONG style = GetWindowLongA(FHandle, GWL_STYLE);
        SetWindowLongA(FHandle, GWL_STYLE, tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
    Perform(CM_TABSTOPCHANGED);
}

std::vector<TWinControl*> TWinControl::TabOrderList() const { return FTabList; }

bool TWinControl::CanFocus() const {
    const TCustomForm* form = GetParentForm(this);
    if (!form) return false;
    for (const TControl* c = this; c; c = c->Parent()) {
        if (!c->Visible() || !c->Enabled()) return false;
        if (c == form) break;
    }
    return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
    if (TCustomForm* form = GetParentForm(this))
        form->FocusControl(this);
    else if (FParent)
        FParent->SetFocus();
    else if (FHandle)
        ::SetFocus(FHandle);
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
    // Every windowed descendant in tab order, depth first.
    std::vector<TWinControl*> all;
    std::function<void(const TWinControl*)> collect = [&](const TWinControl* parent) {
        for (TWinControl* c : parent->FTabList) {
            all.push_back(c);
            collect(c);
        }
    };
    collect(this);
    if (all.empty()) return nullptr;
    int start = -1;
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i] == current) start = int(i);
    int n = int(all.size());
    int i = start;
    for (int step = 0; step < n; ++step) {
        if (goForward)
            i = (i + 1) % n;
        else
            i = (i <= 0 ? n : i) - 1;
        TWinControl* c = all[size_t(i)];
        if (c == current) break;
        if ((!checkTabStop || c->FTabStop) && (!checkParent || c->FParent == this) && c->CanFocus()) {
            // Containers that hold focusable children pass the focus on.
            bool container = false;
            for (TWinControl* child : c->FTabList)
                if (child->CanFocus()) container = true;
            if (!container || c->FTabStop) return c;
        }
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop);
    if (next) next->SetFocus();
}

void TWinControl::KeyDown(Word& key, TShiftState shift) { OnKeyDown(this, key, shift); }
void TWinControl::KeyUp(Word& key, TShiftState shift) { OnKeyUp(this, key, shift); }
void TWinControl::KeyPress(char& key) { OnKeyPress(this, key); }
void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }

void TWinControl::HandleKey(TMessage& m, bool down) {
    Word key = Word(m.WParam);
    TShiftState shift = KeyDataToShiftState(m.LParam);
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview()) {
        form->Perform(down ? CM_CHILDKEY : CM_CHILDKEY, m.WParam, LPARAM(this));
        if (down)
            form->OnKeyDown(form, key, shift);
        else
            form->OnKeyUp(form, key, shift);
        if (key == 0) return;
    }
    if (down)
        KeyDown(key, shift);
    else
        KeyUp(key, shift);
    if (key == 0) return;
    m.WParam = key;
    DefaultHandler(m);
}

void TWinControl::ReflectNotification(TMessage& m, HWND child) {
    TWinControl* c = FindControl(child);
    if (c && c != this) {
        m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
    }
    DefaultHandler(m);
}

// A notification whose LParam is the child window it comes from; without a
// child it is the window's own.
void TWinControl::ReflectFromChild(TMessage& m) {
    if (m.LParam) return ReflectNotification(m, reinterpret_cast<HWND>(m.LParam));
    TControl::WndProc(m);
}

void TWinControl::OfferToChildren(TMessage& m) {
    for (int i = 0; i < ControlCount() && m.Result == 0; ++i) {
        TControl* c = Controls(i);
        if (c->FVisible && c->FEnabled) m.Result = c->Perform(m.Msg, m.WParam, m.LParam);
    }
}

void TWinControl::Notification(TComponent* component, TOperation operation) {
    TControl::Notification(component, operation);
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: return WMPaint(m);
    case WM_ERASEBKGND: return WMEraseBkgnd(m);
    case WM_PRINTCLIENT: return WMPrintClient(m);
    case WM_PRINT: return WMPrint(m);
    case WM_SETFOCUS: return WMSetFocus(m);
    case WM_KILLFOCUS: return WMKillFocus(m);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: return WMMouse(m);
    case WM_MOUSELEAVE: return WMMouseLeave(m);
    case WM_MOUSEWHEEL: return WMMouseWheel(m);
    case WM_SIZE: return WMSize(m);
    case WM_MOVE: return WMMove(m);
    case WM_WINDOWPOSCHANGED: return WMWindowPosChanged(m);
    case WM_SETCURSOR: return WMSetCursor(m);
    case WM_COMMAND: return WMCommand(m);
    case WM_NOTIFY: return WMNotify(m);
    case WM_DRAWITEM: return WMDrawItem(m);
    case WM_HSCROLL:
    case WM_VSCROLL: return WMScroll(m);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return WMCtlColor(m);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return WMKeyDown(m);
    case WM_KEYUP:
    case WM_SYSKEYUP: return WMKeyUp(m);
    case WM_CHAR: return WMChar(m);
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: return CNKeyDown(m);
    case CN_CHAR:
    case CN_SYSCHAR: return CNChar(m);
    case CM_DIALOGKEY: return CMDialogKey(m);
    case CM_DIALOGCHAR: return CMDialogChar(m);
    case CM_ENTER: return CMEnter(m);
    case CM_EXIT: return CMExit(m);
    case CM_FOCUSCHANGED: return CMFocusChanged(m);
    case CM_BUTTONPRESSED: return CMButtonPressed(m);
    case CM_SHOWINGCHANGED: return CMShowingChanged(m);
    case CM_VISIBLECHANGED: return CMVisibleChanged(m);
    case CM_ENABLEDCHANGED: return CMEnabledChanged(m);
    case CM_COLORCHANGED: return CMColorChanged(m);
    case CM_FONTCHANGED: return CMFontChanged(m);
    case CM_SHOWHINTCHANGED: return CMShowHintChanged(m);
    case CM_BIDIMODECHANGED: return CMBiDiModeChanged(m);
    case CM_DOCKCLIENT: return CMDockClient(m);
    default: return TControl::WndProc(m);
    }
}

// ---- Message handlers ----

void TWinControl::WMEraseBkgnd(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    // A double-buffered window paints its background with the rest in
    // WM_PAINT: the system's erase of its own window would only flicker.
    // Asked to paint into a DC (WParam = LParam, or another window's DC),
    // it erases.
    if (FDoubleBuffered && WPARAM(m.LParam) != m.WParam && WindowFromDC(dc) == FHandle) {
        m.Result = 1;
        return;
    }
    TRect r = ClientRect();
    RECT rr{r.Left, r.Top, r.Right, r.Bottom};
    FBrush->SetColor(FColor);
    FillRect(dc, &rr, FBrush->Handle());
    m.Result = 1;
}

void TWinControl::WMPrintClient(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    auto flags = DWORD(m.LParam);
    if ((flags & PRF_CHECKVISIBLE) && !FShowing) return;
    if (flags & PRF_ERASEBKGND) Perform(WM_ERASEBKGND, m.WParam, m.WParam);
    if (flags & PRF_CLIENT) Perform(WM_PAINT, m.WParam, 0);
    if (flags & PRF_CHILDREN)
        for (TWinControl* c : FWinControls) {
            if (!c->FHandle || !c->FShowing) continue;
            int saved = SaveDC(dc);
            POINT org;
            GetWindowOrgEx(dc, &org);
            SetWindowOrgEx(dc, org.x - c->FLeft, org.y - c->FTop, nullptr);
            IntersectClipRect(dc, 0, 0, c->FWidth, c->FHeight);
            // A child's frame is part of what the client area shows.
            c->Perform(WM_PRINT, m.WParam, LPARAM((flags & ~PRF_CHECKVISIBLE) | PRF_NONCLIENT));
            RestoreDC(dc, saved);
        }
}

// The whole window into WParam at its origin: the frame (PRF_NONCLIENT),
// then the client area at its place in the window.
void TWinControl::WMPrint(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    auto flags = DWORD(m.LParam);
    if (!FHandle || ((flags & PRF_CHECKVISIBLE) && !FShowing)) return;
    RECT window, client;
    GetWindowRect(FHandle, &window);
    GetClientRect(FHandle, &client);
    POINT origin{0, 0};
    ::ClientToScreen(FHandle, &origin);
    int dx = origin.x - window.left, dy = origin.y - window.top;
    if (flags & PRF_NONCLIENT) PrintFrame(dc, Rect(dx, dy, dx + client.right, dy + client.bottom));
    if (!(flags & (PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN))) return;
    int saved = SaveDC(dc);
    POINT org;
    GetWindowOrgEx(dc, &org);
    SetWindowOrgEx(dc, org.x - dx, org.y - dy, nullptr);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    Perform(WM_PRINTCLIENT, m.WParam, LPARAM(flags & ~(PRF_NONCLIENT | PRF_CHECKVISIBLE)));
    RestoreDC(dc, saved);
}

void TWinControl::WMSetFocus(TMessage& m) {
    if (TCustomForm* form = GetParentForm(this); form && !form->SetFocusedControl(this)) return;
    TControl::WndProc(m);
}

void TWinControl::WMKillFocus(TMessage& m) {
    if (FControlState.Contains(csFocusing)) return;
    TControl::WndProc(m);
}

// The mouse over a windowless child is that child's; a click on a control
// that takes the focus gives it the focus. A move tells the application
// which control the mouse is over at once.
void TWinControl::WMMouse(TMessage& m) {
    if (m.Msg == WM_MOUSEMOVE && Application) Application->MouseMoved(this, Point(m.XPos(), m.YPos()));
    if (IsControlMouseMsg(m)) return;
    if (m.Msg == WM_LBUTTONDOWN && FTabStop && CanFocus() && !Focused()) {
        FControlState.Include(csFocusing);
        SetFocus();
        FControlState.Exclude(csFocusing);
    }
    TControl::WndProc(m);
}

// The border and edges of the window around clientArea (window
// coordinates); the system's own drawing of the frame comes on top where
// it has one (Wine draws none).
void TWinControl::PrintFrame(HDC dc, const TRect& clientArea) {
    int saved = SaveDC(dc);
    ExcludeClipRect(dc, clientArea.Left, clientArea.Top, clientArea.Right, clientArea.Bottom);
    RECT r{0, 0, FWidth, FHeight};
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    auto style = DWORD(GetWindowLongA(FHandle, GWL_STYLE));
    auto exStyle = DWORD(GetWindowLongA(FHandle, GWL_EXSTYLE));
    if ((style & WS_CAPTION) == WS_BORDER) FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    RECT edge{clientArea.Left, clientArea.Top, clientArea.Right, clientArea.Bottom};
    if (exStyle & WS_EX_CLIENTEDGE) {
        InflateRect(&edge, 2, 2);
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    }
    if (exStyle & WS_EX_STATICEDGE) {
        InflateRect(&edge, 1, 1);
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
    RestoreDC(dc, saved);
    TMessage frame{WM_PRINT, WPARAM(dc), LPARAM(PRF_NONCLIENT)};
    DefaultHandler(frame);
}

void TWinControl::WMMouseLeave(TMessage& m) {
    if (Application) Application->MouseLeftWindow(FHandle);
    TControl::WndProc(m);
}

namespace {
// Set while a wheel message is routed: the same message passed up by a
// child window's default handling is not routed again.
thread_local bool WheelRouting = false;
}  // namespace

void TWinControl::WMMouseWheel(TMessage& m) {
    if (WheelRouting) return DefaultHandler(m);
    TTempChange<bool> routing(WheelRouting, true);
    // The control under the cursor, when it is one of this program's.
    TControl* target = this;
    POINT p{m.XPos(), m.YPos()};
    HWND h = WindowFromPoint(p);
    TWinControl* win = nullptr;
    while (h && !(win = FindControl(h))) h = GetParent(h);
    if (win) {
        POINT local = p;
        ::ScreenToClient(win->FHandle, &local);
        TControl* child = win->ControlAtPos(Point(local.x, local.y), false);
        target = child ? child : win;
    }
    if (target->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam) != 0) {
        m.Result = 0;
        return;
    }
    DefaultHandler(m);
}

void TWinControl::WMSize(TMessage& m) {
    UpdateBounds();
    DefaultHandler(m);
    Realign();
    if (!IsLoading()) Resize();
}

void TWinControl::WMMove(TMessage& m) {
    UpdateBounds();
    TControl::WndProc(m);
}

void TWinControl::WMWindowPosChanged(TMessage& m) {
    DefaultHandler(m);
    UpdateBounds();
}

void TWinControl::WMSetCursor(TMessage& m) {
    if (LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == FHandle) {
        TCursor cursor = Screen ? Screen->Cursor() : crDefault;
        if (cursor == crDefault) {
            POINT p;
            GetCursorPos(&p);
            ::ScreenToClient(FHandle, &p);
            TControl* c = ControlAtPos(Point(p.x, p.y), false);
            cursor = (c ? c : static_cast<TControl*>(this))->Cursor();
        }
        if (cursor != crDefault && Screen) {
            ::SetCursor(Screen->Cursors(cursor));
            m.Result = 1;
            return;
        }
    }
    TControl::WndProc(m);
}

// Notifications from a child window go back to the child as CN_ messages.
void TWinControl::WMCommand(TMessage& m) { ReflectFromChild(m); }
void TWinControl::WMScroll(TMessage& m) { ReflectFromChild(m); }
void TWinControl::WMCtlColor(TMessage& m) { ReflectFromChild(m); }

void TWinControl::WMNotify(TMessage& m) { ReflectNotification(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom); }

void TWinControl::WMDrawItem(TMessage& m) {
    ReflectNotification(m, reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem);
}

void TWinControl::WMKeyDown(TMessage& m) { HandleKey(m, true); }
void TWinControl::WMKeyUp(TMessage& m) { HandleKey(m, false); }

void TWinControl::WMChar(TMessage& m) {
    char key = char(m.WParam);
    KeyPress(key);
    if (key == 0) return;
    m.WParam = WPARAM(static_cast<unsigned char>(key));
    TControl::WndProc(m);
}

// A key before it reaches the focused window: Result 1 when the form's
// dialog keys (Tab, the arrows, Enter, Escape) took it.
void TWinControl::CNKeyDown(TMessage& m) {
    m.Result = 1;
    WPARAM key = m.WParam;
    if (Perform(CM_CHILDKEY, key, LPARAM(this)) != 0) return;
    LRESULT mask = 0;
    switch (key) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
    }
    if (mask && Perform(CM_WANTSPECIALKEY, key) == 0 && (Perform(WM_GETDLGCODE) & mask) == 0) {
        if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGKEY, key, m.LParam) != 0) return;
    }
    m.Result = 0;
}

void TWinControl::CNChar(TMessage& m) {
    if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0 || m.Msg == CN_SYSCHAR) {
        if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) {
            m.Result = 1;
            return;
        }
    }
    m.Result = 0;
}

// Dialog keys and characters are offered to every child until one takes it.
void TWinControl::CMDialogKey(TMessage& m) { OfferToChildren(m); }
void TWinControl::CMDialogChar(TMessage& m) { OfferToChildren(m); }

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::CMFocusChanged(TMessage& m) {
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_FOCUSCHANGED, m.WParam, m.LParam);
}

void TWinControl::CMButtonPressed(TMessage& m) {
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_BUTTONPRESSED, m.WParam, m.LParam);
}

void TWinControl::CMShowingChanged(TMessage&) {
    if (FHandle)
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage& m) {
    UpdateShowing();
    TControl::WndProc(m);
}

void TWinControl::CMEnabledChanged(TMessage&) {
    if (!FEnabled && FParent)
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
    if (FHandle) EnableWindow(FHandle, FEnabled);
    Invalidate();
}

void TWinControl::CMColorChanged(TMessage&) { ColorChanged(); }

void TWinControl::CMFontChanged(TMessage&) {
    if (FHandle) SendMessageA(FHandle, WM_SETFONT, WPARAM(FFont->Handle()), 1);
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTFONTCHANGED);
    Invalidate();
}

void TWinControl::CMShowHintChanged(TMessage&) {
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTSHOWHINTCHANGED);
}

void TWinControl::CMBiDiModeChanged(TMessage& m) {
    TControl::WndProc(m);
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTBIDIMODECHANGED);
}

// ============================================================================
// TGraphicControl, TCustomControl
// ============================================================================

TClass TGraphicControl::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGraphicControl>("TGraphicControl").Build();
    return &info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) { FCanvas = new TControlCanvas(this); }

TGraphicControl::~TGraphicControl() {
    UndockOnDestroy();
    if (FParent) FParent->RemoveControl(this);
    delete FCanvas;
}

void TGraphicControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: return WMPaint(m);
    default: return TControl::WndProc(m);
    }
}

// The parent paints its windowless children with WParam its DC.
void TGraphicControl::WMPaint(TMessage& m) {
    if (!m.WParam) return TControl::WndProc(m);
    TCanvasPaintScope scope(FCanvas, reinterpret_cast<HDC>(m.WParam));
    Paint();
}

TClass TCustomControl::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCustomControl>("TCustomControl").Build();
    return &info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) { FCanvas = new TControlCanvas(this); }

TCustomControl::~TCustomControl() {
    // The window goes first: its last messages must still find the canvas.
    if (FHandle) DestroyWindowHandle();
    delete FCanvas;
}

void TCustomControl::PaintWindow(HDC dc) {
    TCanvasPaintScope scope(FCanvas, dc);
    Paint();
}

// ============================================================================
// Utility windows
// ============================================================================

namespace {

LRESULT CALLBACK UtilWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!method) return DefWindowProcA(hwnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam};
    // No exception may pass back into the system.
    try {
        (*method)(m);
    } catch (...) {
        if (Application) Application->HandleException(nullptr);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        delete method;
        return 0;
    }
    return m.Result;
}

const char* UtilWindowClass() {
    static const char* name = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = UtilWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TPUtilWindow";
        RegisterClassA(&wc);
        return "TPUtilWindow";
    }();
    return name;
}

}  // namespace

HWND AllocateHWnd(const TWndMethod& method) {
    HWND h = CreateWindowExA(WS_EX_TOOLWINDOW, UtilWindowClass(), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    if (!h) throw EOSError("Cannot create a utility window", GetLastError());
    SetWindowLongPtrA(h, GWLP_USERDATA, LONG_PTR(new TWndMethod(method)));
    return h;
}

void DeallocateHWnd(HWND window) {
    if (window) DestroyWindow(window);
}
