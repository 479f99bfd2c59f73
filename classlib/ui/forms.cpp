#include "classlib/ui/forms.h"

#include <algorithm>

#include "classlib/core/filer.h"
#include "classlib/core/scopes.h"
#include "classlib/os/files.h"
#include "classlib/os/resources.h"
#include "classlib/ui/actions.h"
#include "classlib/ui/gdi_helpers.h"
#include "classlib/ui/menus.h"
#include "classlib/ui/stdctrls.h"
#include "classlib/ui/systemclock.h"
#include "classlib/ui/timers.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

QL_DEFINE_ENUM(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
QL_DEFINE_ENUM(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
               "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")
QL_DEFINE_ENUM(TWindowState, "wsNormal", "wsMinimized", "wsMaximized")
QL_DEFINE_ENUM(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")
QL_DEFINE_ENUM(TCloseAction, "caNone", "caHide", "caFree", "caMinimize")

// ============================================================================
// TCustomForm
// ============================================================================

TClass TCustomForm::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TCustomForm>("TCustomForm")
            .Declare("BorderIcons", &TCustomForm::FBorderIcons, &TCustomForm::SetBorderIcons)
            .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize})
            .Declare("BorderStyle", &TCustomForm::FBorderStyle, &TCustomForm::SetBorderStyle)
            .Default(bsSizeable)
            .Declare("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
            .Declare("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
            .Declare("FormStyle", &TCustomForm::FFormStyle, &TCustomForm::SetFormStyle)
            .Default(fsNormal)
            .Declare("KeyPreview", &TCustomForm::FKeyPreview, &TCustomForm::SetKeyPreview)
            .Default(false)
            .Declare("PixelsPerInch", &TCustomForm::FPixelsPerInch, &TCustomForm::SetPixelsPerInch)
            .Declare("Position", &TCustomForm::FPosition, &TCustomForm::SetPosition)
            .Default(poDesigned)
            .Declare("Scaled", &TCustomForm::FScaled, &TCustomForm::SetScaled)
            .Default(true)
            .Declare("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState)
            .Default(wsNormal)
            .Declare("ActiveControl", &TCustomForm::FActiveControl, &TCustomForm::SetActiveControl)
            .Declare("Menu", &TCustomForm::FMenu, &TCustomForm::SetMenu)
            .Declare("OnActivate", &TCustomForm::OnActivate, &TCustomForm::OnActivate)
            .Declare("OnClose", &TCustomForm::OnClose, &TCustomForm::OnClose)
            .Declare("OnCloseQuery", &TCustomForm::OnCloseQuery, &TCustomForm::OnCloseQuery)
            .Declare("OnCreate", &TCustomForm::OnCreate, &TCustomForm::OnCreate)
            .Declare("OnDeactivate", &TCustomForm::OnDeactivate, &TCustomForm::OnDeactivate)
            .Declare("OnDestroy", &TCustomForm::OnDestroy, &TCustomForm::OnDestroy)
            .Declare("OnHide", &TCustomForm::OnHide, &TCustomForm::OnHide)
            .Declare("OnPaint", &TCustomForm::OnPaint, &TCustomForm::OnPaint)
            .Declare("OnShow", &TCustomForm::OnShow, &TCustomForm::OnShow)
            // Forms store their client size, not their window's.
            .Prop("Left", &TCustomForm::FLeft, &TCustomForm::SetLeft)
            .Prop("Top", &TCustomForm::FTop, &TCustomForm::SetTop)
            .Prop("Width", &TCustomForm::FWidth, &TCustomForm::SetWidth)
            .Stored(false)
            .Prop("Height", &TCustomForm::FHeight, &TCustomForm::SetHeight)
            .Stored(false)
            .Declare("Visible", &TCustomForm::FVisible, &TCustomForm::SetVisible)
            .Default(false)
            .Build();
    return &info;
}

void TCustomForm::BeforeDestruction() {
    // Runs while the whole form, its handlers included, still exists.
    if (!IsDestroying()) {
        Destroying();
        OnDestroy(this);
    }
    TWinControl::BeforeDestruction();
}

TClass TForm::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TForm>("TForm")
            .Publish({"Action",         "Align",        "Anchors",        "Caption",     "Color",        "Cursor",
                      "DragCursor",     "DragKind",     "DragMode",       "Enabled",     "Font",         "Hint",
                      "ParentShowHint", "PopupMenu",    "ShowHint",       "Visible",     "OnClick",      "OnDblClick",
                      "OnDragDrop",     "OnDragOver",   "OnEndDrag",      "OnMouseDown", "OnMouseMove",  "OnMouseUp",
                      "OnMouseEnter",   "OnMouseLeave", "OnResize",       "OnStartDrag", "TabOrder",     "TabStop",
                      "DoubleBuffered", "DockSite",     "UseDockManager", "OnEnter",     "OnExit",       "OnKeyDown",
                      "OnKeyPress",     "OnKeyUp",      "BorderIcons",    "BorderStyle", "ClientHeight", "ClientWidth",
                      "FormStyle",      "KeyPreview",   "PixelsPerInch",  "Position",    "Scaled",       "WindowState",
                      "ActiveControl",  "Menu",         "OnActivate",     "OnClose",     "OnCloseQuery", "OnCreate",
                      "OnDeactivate",   "OnDestroy",    "OnHide",         "OnPaint",     "OnShow"})
            // A form takes neither its colour nor its font from a parent.
            .Publish("ParentColor")
            .Default(false)
            .Publish("ParentFont")
            .Default(false)
            .Build();
    return &info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    FVisible = false;
    FParentFont = false;
    FParentColor = false;
    FColor = clBtnFace;
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FWidth = 320;
    FHeight = 240;
    FCanvas = new TControlCanvas(this);
    if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    Destroying();
    if (Screen) Screen->RemoveForm(this);
    if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
    // The window and the components go while this class still stands.
    if (FHandle) DestroyWindowHandle();
    DestroyComponents();
    delete FCanvas;
    FCanvas = nullptr;
}

void TCustomForm::ReadLayoutResource() {
    String name = ClassName();
    std::unique_ptr<TStream> stream;
    try {
        stream = std::make_unique<TResourceStream>(GetModuleHandleA(nullptr), name,
                                                   reinterpret_cast<const char*>(RT_RCDATA));
    } catch (const Exception&) {
        throw EReadError("Resource " + name + " not found: the form has no stored layout");
    }
    String text(size_t(stream->Size()), '\0');
    stream->ReadBuffer(text.data(), Int64(text.size()));
    ReadLayout(text, name);
}

void TCustomForm::ReadLayout(const String& text, const String& sourceName) {
    FControlState.Include(csReadingState);
    TScopeExit done([this] { FControlState.Exclude(csReadingState); });
    TReader(text, sourceName).ReadRootComponent(this);
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    if (FClientWidthPending >= 0 || FClientHeightPending >= 0) {
        int w = FClientWidthPending >= 0 ? FClientWidthPending : ClientWidth();
        int h = FClientHeightPending >= 0 ? FClientHeightPending : ClientHeight();
        FClientWidthPending = FClientHeightPending = -1;
        SetClientSize(w, h);
    }
    Realign();
}

void TCustomForm::DoCreate() { OnCreate(this); }

void TCustomForm::SetClientSize(int width, int height) {
    if (IsLoading()) {
        // The frame is known once the border style is: apply at Loaded.
        FClientWidthPending = width;
        FClientHeightPending = height;
        return;
    }
    TCreateParams p;
    CreateParams(p);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, p.Style, FMenu != nullptr, p.ExStyle);
    SetBounds(FLeft, FTop, r.right - r.left, r.bottom - r.top);
}

TRect TCustomForm::ClientRect() const {
    if (FHandle) return TWinControl::ClientRect();
    if (FClientWidthPending >= 0 && FClientHeightPending >= 0)
        return Rect(0, 0, FClientWidthPending, FClientHeightPending);
    TCreateParams p;
    const_cast<TCustomForm*>(this)->CreateParams(p);
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, p.Style, FMenu != nullptr, p.ExStyle);
    return Rect(0, 0, std::max(0, FWidth - int(r.right - r.left)), std::max(0, FHeight - int(r.bottom - r.top)));
}

bool TCustomForm::Showing() const { return FShowing; }

void TCustomForm::SetBorderStyle(TBorderStyle style) {
    if (FBorderStyle == style) return;
    FBorderStyle = style;
    if (FHandle) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    if (FBorderIcons == icons) return;
    FBorderIcons = icons;
    if (FHandle) RecreateWnd();
}

void TCustomForm::SetPosition(TPosition position) { FPosition = position; }

TWindowState TCustomForm::WindowState() const {
    if (FHandle && IsWindowVisible(FHandle)) {
        if (IsIconic(FHandle)) return wsMinimized;
        if (IsZoomed(FHandle)) return wsMaximized;
        return wsNormal;
    }
    return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState state) {
    // Only a change shows the window in its new state: the form storage
    // restores the state from the form's show handler, before the form
    // has shown its window, and the same state must not show it early.
    const bool changed = WindowState() != state;
    FWindowState = state;
    if (changed && FHandle && FShowing) {
        static const int commands[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED};
        ShowWindow(FHandle, commands[state]);
    }
}

void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    if (FParent) {
        // Docked into a site: a child window without a frame.
        p.Style |= WS_CLIPCHILDREN;
        p.WindowClass.style = CS_DBLCLKS;
        return;
    }
    p.Style &= ~(WS_CHILD | WS_TABSTOP | WS_DISABLED);
    p.Style |= WS_CLIPCHILDREN;
    p.ExStyle &= ~WS_EX_CONTROLPARENT;
    p.WndParent = nullptr;
    if (Application && Application->MainForm() != this && Application->MainForm() &&
        Application->MainForm()->HandleAllocated())
        p.WndParent = Application->MainForm()->FHandle;
    else if (Application && !Application->MainFormOnTaskBar())
        p.WndParent = Application->Handle();
    switch (FBorderStyle) {
    case bsNone: p.Style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: p.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        p.Style |= WS_POPUP | WS_CAPTION;
        p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (FBorderStyle != bsNone) {
        if (FBorderIcons.Contains(biSystemMenu)) p.Style |= WS_SYSMENU;
        if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
            if (FBorderIcons.Contains(biMinimize)) p.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons.Contains(biMaximize)) p.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) p.ExStyle |= WS_EX_TOOLWINDOW;
    if (FFormStyle == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    if (Application && Application->MainForm() == this && Application->MainFormOnTaskBar())
        p.ExStyle |= WS_EX_APPWINDOW;
    if (FPosition == poDefault || FPosition == poDefaultPosOnly) p.X = p.Y = CW_USEDEFAULT;
    p.WindowClass.style = CS_DBLCLKS;
    p.WindowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    if (!p.WindowClass.hIcon) p.WindowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    if (FMenu) FMenu->SetWindowHandle(FHandle);
    UpdateBounds();
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (FMenu == menu) return;
    if (FMenu && FHandle && FMenu->WindowHandle() == FHandle) FMenu->SetWindowHandle(nullptr);
    ReplaceReference(FMenu, menu);
    if (FMenu && FHandle) FMenu->SetWindowHandle(FHandle);
}

void TCustomForm::PaintWindow(HDC dc) {
    TCanvasPaintScope scope(FCanvas, dc);
    OnPaint(this);
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root) {
    TWinControl::GetChildren(proc, root);
    if (root == this)
        for (int i = 0; i < ComponentCount(); ++i) {
            TComponent* c = Components(i);
            if (!c->HasParent()) proc(c);
        }
}

void TCustomForm::ApplyPosition() {
    if (FPositionApplied) return;
    FPositionApplied = true;
    int x = FLeft, y = FTop;
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TRect area = Screen ? Rect(0, 0, Screen->Width(), Screen->Height()) : Rect(0, 0, 1024, 768);
        if (FPosition == poDesktopCenter && Screen)
            area = Bounds(Screen->DesktopLeft(), Screen->DesktopTop(), Screen->DesktopWidth(), Screen->DesktopHeight());
        TCustomForm* center = nullptr;
        if (FPosition == poMainFormCenter && Application) center = Application->MainForm();
        if (FPosition == poOwnerFormCenter) center = dynamic_cast<TCustomForm*>(Owner());
        if (center && center != this) area = center->BoundsRect();
        x = area.Left + (area.Width() - FWidth) / 2;
        y = area.Top + (area.Height() - FHeight) / 2;
        if (x < area.Left && center == nullptr) x = area.Left;
        if (y < area.Top && center == nullptr) y = area.Top;
        SetBounds(x, y, FWidth, FHeight);
        break;
    }
    default: break;
    }
}

void TCustomForm::SetVisible(bool visible) {
    if (FVisible == visible) return;
    FVisible = visible;
    UpdateShowing();
    NotifyHostDockSite(CM_VISIBLECHANGED, visible ? 1 : 0, 0);
}

void TCustomForm::CMShowingChanged(TMessage&) {
    if (FShowing) {
        DoShow();
        ApplyPosition();
        static const int commands[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
        ShowWindow(FHandle, commands[FWindowState]);
        if (!FActiveControl) {
            if (TWinControl* first = FindNextControl(nullptr, true, true, false)) SetActiveControl(first);
        }
        if (FActiveControl && FActiveControl->HandleAllocated()) ::SetFocus(FActiveControl->Handle());
    } else {
        DoHide();
        ShowWindow(FHandle, SW_HIDE);
    }
}

void TCustomForm::DoShow() { OnShow(this); }
void TCustomForm::DoHide() { OnHide(this); }

void TCustomForm::DoClose(TCloseAction& action) { OnClose(this, action); }

void TCustomForm::Show() {
    SetVisible(true);
    if (FHandle) SetForegroundWindow(FHandle);
}

void TCustomForm::Hide() { SetVisible(false); }

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (FModalLevel > 0) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = (Application && Application->MainForm() == this) ? caFree : caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

TModalResult TCustomForm::ShowModal() {
    if (FVisible) throw EInvalidOperation("Cannot make a visible window modal");
    std::vector<HWND> disabled;
    if (Application)
        for (int i = 0; i < (Screen ? Screen->FormCount() : 0); ++i) {
            TCustomForm* f = Screen->Forms(i);
            if (f != this && f->HandleAllocated() && IsWindowEnabled(f->FHandle)) {
                EnableWindow(f->FHandle, FALSE);
                disabled.push_back(f->FHandle);
            }
        }
    {
        // Also when the form fails to show.
        ++FModalLevel;
        TScopeExit done([&] {
            --FModalLevel;
            for (HWND h : disabled) EnableWindow(h, TRUE);
        });
        FModalResult = mrNone;
        Show();
        while (FModalResult == mrNone && Application && !Application->Terminated()) {
            Application->HandleMessage();
            if (FModalResult != mrNone) {
                if (!CloseQuery()) FModalResult = mrNone;
            }
        }
    }
    Hide();
    return FModalResult;
}

void TCustomForm::Release() {
    if (FHandle) PostMessageA(FHandle, CM_RELEASE, 0, 0);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (FActiveControl == control) return;
    if (control && (control == this || GetParentForm(control) != this))
        throw EInvalidOperation("Invalid active control");
    if (IsLoading() || !FShowing || !control) {
        FActiveControl = control;
        return;
    }
    FocusControl(control);
}

void TCustomForm::FocusControl(TWinControl* control) {
    if (!control->CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    bool wasActive = FActive;
    if (!FShowing || !control->HandleAllocated()) {
        FActiveControl = control;
        return;
    }
    ::SetFocus(control->Handle());
    if (GetFocus() != control->Handle() || !wasActive) SetFocusedControl(control);
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
    if (IsDestroying()) return false;
    if (control->ControlState().Contains(csFocusing) && FFocusedControl == control && FActiveControl == control)
        return true;
    FFocusedControl = control;
    if (Screen) {
        Screen->FActiveControl = control;
        Screen->FActiveForm = this;
    }
    if (FActiveControl == control) return true;
    // Leave the controls that do not hold the new one...
    TWinControl* previous = FActiveControl;
    while (FActiveControl && FActiveControl != this && !FActiveControl->ContainsControl(control)) {
        TWinControl* leaving = FActiveControl;
        FActiveControl = leaving->Parent() == this ? nullptr : leaving->Parent();
        leaving->Perform(CM_EXIT);
        if (FFocusedControl != control) return false;  // a handler moved the focus on
    }
    if (FActiveControl == this) FActiveControl = nullptr;
    // ...then enter, from the outermost, the ones that do. The form itself
    // holding the focus has no active control: a form is never its own.
    while (control != this && FActiveControl != control) {
        TWinControl* entering = control;
        while (entering->Parent() && entering->Parent() != this && entering->Parent() != FActiveControl)
            entering = entering->Parent();
        FActiveControl = entering;
        entering->Perform(CM_ENTER);
        if (FFocusedControl != control) return false;
    }
    (void)previous;
    Perform(CM_FOCUSCHANGED, 0, LPARAM(control));
    return true;
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
    if (removing && control->ContainsControl(FFocusedControl)) FFocusedControl = control->Parent();
    if (control->ContainsControl(FActiveControl)) {
        TWinControl* parent = control->Parent();
        FActiveControl = (parent == this) ? nullptr : parent;
    }
    if (Screen && control->ContainsControl(Screen->FActiveControl)) Screen->FActiveControl = nullptr;
}

void TCustomForm::CMDialogKey(TMessage& m) {
    if (GetKeyState(VK_MENU) >= 0) {
        switch (m.WParam) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
                m.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (FActiveControl && FActiveControl->Parent()) {
                FActiveControl->Parent()->SelectNext(FActiveControl, m.WParam == VK_RIGHT || m.WParam == VK_DOWN,
                                                     false);
                m.Result = 1;
            }
            return;
        default: break;
        }
    }
    TWinControl::WndProc(m);
}

void TCustomForm::WMGetMinMaxInfo(TMessage& m) { DefaultHandler(m); }

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove) {
        if (component == FActiveControl) FActiveControl = nullptr;
        if (component == FFocusedControl) FFocusedControl = nullptr;
        // The menu took its bar off the window as it went.
        if (component == FMenu) FMenu = nullptr;
    }
}

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_SHOWINGCHANGED: return CMShowingChanged(m);
    case CM_DIALOGKEY: return CMDialogKey(m);
    case CM_RELEASE: return CMRelease(m);
    case WM_CLOSE: return WMClose(m);
    case WM_ACTIVATE: return WMActivate(m);
    case WM_SETFOCUS: return WMSetFocus(m);
    case WM_GETMINMAXINFO: return WMGetMinMaxInfo(m);
    case WM_SYSCOMMAND: return WMSysCommand(m);
    case WM_INITMENUPOPUP: return WMInitMenuPopup(m);
    case WM_COMMAND: return WMCommand(m);
    case WM_DESTROY: return WMDestroy(m);
    default: return TWinControl::WndProc(m);
    }
}

// Posted by Release: the form goes once the messages before it are handled.
void TCustomForm::CMRelease(TMessage&) { Free(); }

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMActivate(TMessage& m) {
    FActive = LOWORD(m.WParam) != WA_INACTIVE;
    if (FActive) {
        if (Screen) Screen->FActiveForm = this;
        OnActivate(this);
        if (FActiveControl && FActiveControl->HandleAllocated() && LOWORD(m.WParam) != WA_INACTIVE) {
            ::SetFocus(FActiveControl->Handle());
            m.Result = 0;
            return;
        }
    } else {
        OnDeactivate(this);
    }
    TWinControl::WndProc(m);
}

// The form's window taking the focus hands it on to the active control.
void TCustomForm::WMSetFocus(TMessage& m) {
    if (FActiveControl && FActiveControl != this && FActiveControl->HandleAllocated()) {
        ::SetFocus(FActiveControl->Handle());
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomForm::WMSysCommand(TMessage& m) {
    if ((m.WParam & 0xFFF0) == SC_MINIMIZE && Application && Application->MainForm() == this) {
        DefaultHandler(m);
        return;
    }
    TWinControl::WndProc(m);
}

// A sub-menu of the menu bar about to open: its item may set the sub-items
// up first. The system menu (high word of lParam set) is none of the bar's.
void TCustomForm::WMInitMenuPopup(TMessage& m) {
    if (FMenu && !HIWORD(m.LParam)) FMenu->DispatchPopup(reinterpret_cast<HMENU>(m.WParam));
    TWinControl::WndProc(m);
}

// A command from a menu comes without a notification code and without a
// control's window; every other WM_COMMAND is a control's.
void TCustomForm::WMCommand(TMessage& m) {
    if (FMenu && HIWORD(m.WParam) == 0 && m.LParam == 0 && FMenu->DispatchCommand(LOWORD(m.WParam))) {
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

// A window destroys the menu bar it holds: the bar is the menu's, so it
// comes off first (the window may be made again, or the menu go later).
void TCustomForm::WMDestroy(TMessage& m) {
    if (FMenu && FMenu->WindowHandle() == FHandle) FMenu->SetWindowHandle(nullptr);
    TWinControl::WndProc(m);
}

// ============================================================================
// TScreen
// ============================================================================

TClass TScreen::StaticClass() {
    static const TClassInfo info = TClassBuilder<TScreen>("TScreen").Build();
    return &info;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {
    FPixelsPerInch = GetDeviceCaps(TScreenDC().Handle(), LOGPIXELSY);
    if (FPixelsPerInch <= 0) FPixelsPerInch = 96;
}

TScreen::~TScreen() = default;

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }
int TScreen::DesktopLeft() const { return GetSystemMetrics(SM_XVIRTUALSCREEN); }
int TScreen::DesktopTop() const { return GetSystemMetrics(SM_YVIRTUALSCREEN); }
int TScreen::DesktopWidth() const { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
int TScreen::DesktopHeight() const { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }

TRect TScreen::WorkAreaRect() const {
    RECT r{0, 0, Width(), Height()};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return Rect(r.left, r.top, r.right, r.bottom);
}

// The standard cursors are loaded when first asked for (each load is a
// round trip to the system); one set by SetCursors is kept from then on.
HCURSOR TScreen::Cursors(TCursor cursor) const {
    for (auto& [c, h] : FCursorList)
        if (c == cursor) return h;
    static const std::pair<TCursor, LPCSTR> standard[] = {{crArrow, IDC_ARROW},          {crCross, IDC_CROSS},
                                                          {crIBeam, IDC_IBEAM},          {crSizeNESW, IDC_SIZENESW},
                                                          {crSizeNS, IDC_SIZENS},        {crSizeNWSE, IDC_SIZENWSE},
                                                          {crSizeWE, IDC_SIZEWE},        {crUpArrow, IDC_UPARROW},
                                                          {crHourGlass, IDC_WAIT},       {crNo, IDC_NO},
                                                          {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
                                                          {crHandPoint, IDC_HAND},       {crSizeAll, IDC_SIZEALL},
                                                          {crDrag, IDC_ARROW},           {crNoDrop, IDC_NO},
                                                          {crHSplit, IDC_SIZEWE},        {crVSplit, IDC_SIZENS},
                                                          {crMultiDrag, IDC_ARROW},      {crSQLWait, IDC_WAIT}};
    for (auto& [c, id] : standard)
        if (c == cursor) return FCursorList.emplace_back(cursor, LoadCursorA(nullptr, id)).second;
    return ArrowCursor();
}

void TScreen::SetCursors(TCursor cursor, HCURSOR handle) {
    for (auto& [c, h] : FCursorList)
        if (c == cursor) {
            h = handle;
            return;
        }
    FCursorList.emplace_back(cursor, handle);
}

void TScreen::SetCursor(TCursor cursor) {
    if (FCursor == cursor) return;
    FCursor = cursor;
    POINT p;
    GetCursorPos(&p);
    SetCursorPos(p.x, p.y);  // let the window under the mouse set its cursor again
}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount()) RaiseListIndexError(index);
    return FForms[size_t(index)];
}

void TScreen::AddForm(TCustomForm* form) { FForms.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) {
    std::erase(FForms, form);
    if (FActiveForm == form) FActiveForm = nullptr;
    if (FActiveControl && GetParentForm(FActiveControl) == form) FActiveControl = nullptr;
}

// ============================================================================
// TApplication
// ============================================================================

TClass TApplication::StaticClass() {
    static const TClassInfo info = TClassBuilder<TApplication>("TApplication").Build();
    return &info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    FTitle = ExtractFileName(ApplicationExeName());
    if (auto dot = FTitle.rfind('.'); dot != String::npos) FTitle.resize(dot);
    MessageBoxFunction = [](HWND owner, const String& text, const String& caption, UINT flags) {
        return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
    };
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TApplication::AppWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TApplication";
    wc.hIcon = LoadIconA(wc.hInstance, "MAINICON");
    RegisterClassA(&wc);
    FHandle = CreateWindowExA(0, "TApplication", FTitle.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                              nullptr, nullptr, wc.hInstance, nullptr);
    if (FHandle) SetWindowLongPtrA(FHandle, GWLP_USERDATA, LONG_PTR(this));
    FHintTimer = new TTimer(this);
    FHintTimer->SetEnabled(false);
    FHintTimer->OnTimer = TNotifyEvent::Bind<&TApplication::HintTimerExpired>(this);
}

TApplication::~TApplication() {
    Destroying();
    CancelHint();
    DestroyComponents();
    delete FHintWindow;
    if (FHandle) {
        SetWindowLongPtrA(FHandle, GWLP_USERDATA, 0);
        DestroyWindow(FHandle);
    }
}

// The application window's procedure.
LRESULT CALLBACK TApplication::AppWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!app) return DefWindowProcA(hwnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam};
    // No exception may pass back into the system.
    try {
        app->WndProc(m);
    } catch (...) {
        app->HandleException(app);
        return 0;
    }
    return m.Result;
}

void TApplication::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_SYSCOMMAND: return WMSysCommand(m);
    case WM_CLOSE: return WMClose(m);
    default: return DefaultHandler(m);
    }
}

void TApplication::DefaultHandler(TMessage& m) { m.Result = DefWindowProcA(FHandle, m.Msg, m.WParam, m.LParam); }

// The main form owns the task-bar button: minimising or restoring the
// application minimises or restores it.
void TApplication::WMSysCommand(TMessage& m) {
    if (FMainForm && FMainForm->HandleAllocated()) {
        switch (m.WParam & 0xFFF0) {
        case SC_MINIMIZE: ShowWindow(FMainForm->Handle(), SW_MINIMIZE); return;
        case SC_RESTORE: ShowWindow(FMainForm->Handle(), SW_RESTORE); return;
        default: break;
        }
    }
    DefaultHandler(m);
}

void TApplication::WMClose(TMessage&) {
    if (FMainForm) FMainForm->Close();
}

void TApplication::Initialize() {}

void TApplication::SetTitle(const String& title) {
    FTitle = title;
    if (FHandle) SetWindowTextA(FHandle, title.c_str());
}

String TApplication::ExeName() const { return ApplicationExeName(); }

void TApplication::Run() {
    if (FMainForm && !FTerminated) FMainForm->Show();
    while (!FTerminated) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    }
}

bool TApplication::IsKeyMsg(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND h = msg.hwnd;
    TWinControl* control = nullptr;
    while (h && !(control = TWinControl::FindControl(h))) h = GetParent(h);
    if (!control) return false;
    return control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    if ((msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_KEYDOWN) && FHint.Control)
        CancelHint();
    if (!IsKeyMsg(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {}
    Idle();
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) {
        Idle();
        if (!FTerminated) WaitMessage();
    }
}

void TApplication::Terminate() {
    FTerminated = true;
    PostQuitMessage(0);
}

void TApplication::Idle() {
    DoMouseIdle();
    OnIdle(this);
}

void TApplication::DoMouseIdle() {
    POINT p;
    if (!GetCursorPos(&p)) return;
    // A capture the system ended (another window took it) is over here too.
    if (FCaptureControl && !FCaptureControl->MouseCapture()) FCaptureControl = nullptr;
    TControl* target = nullptr;
    HWND h = WindowFromPoint(p);
    TWinControl* win = nullptr;
    while (h && !(win = TWinControl::FindControl(h))) h = GetParent(h);
    if (win) {
        POINT local = p;
        ScreenToClient(win->FHandle, &local);
        TControl* child = win->ControlAtPos(Point(local.x, local.y), false);
        target = child ? child : win;
    }
    SetMouseControl(target);
    HintMouseAt(FMouseControl, Point(p.x, p.y));
}

void TApplication::MouseMoved(TWinControl* window, TPoint p) {
    // A window that has the mouse captured hears of moves outside it too.
    TControl* target = nullptr;
    if (!FCaptureControl || window->ClientRect().Contains(p)) {
        TControl* child = window->ControlAtPos(p, false);
        target = child ? child : window;
    }
    SetMouseControl(target);
}

void TApplication::MouseLeftWindow(HWND window) {
    // A window left after the mouse went on to another one says nothing new.
    if (window != FMouseTrackWindow) return;
    FMouseTrackWindow = nullptr;
    DoMouseIdle();
}

void TApplication::SetMouseControl(TControl* target) {
    if (FCaptureControl && target != FCaptureControl) {
        auto* captureWindow = dynamic_cast<TWinControl*>(FCaptureControl);
        target = captureWindow && target && captureWindow->ContainsControl(target) ? FCaptureControl : nullptr;
    }
    if (target == FMouseControl) return;
    TControl* old = FMouseControl;
    FMouseControl = target;
    if (old) old->Perform(CM_MOUSELEAVE, 0, LPARAM(old));
    if (target) target->Perform(CM_MOUSEENTER, 0, LPARAM(target));
    // The window under the mouse reports when the cursor leaves it, also
    // for a window of another program, where no move would tell.
    if (target != FMouseControl) return;  // a handler moved it on already
    auto* window = dynamic_cast<TWinControl*>(target);
    if (!window && target) window = target->Parent();
    if (window && window->FHandle && window->FHandle != FMouseTrackWindow) {
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window->FHandle, 0};
        if (TrackMouseEvent(&track)) FMouseTrackWindow = window->FHandle;
    }
}

int TApplication::MessageBox(const String& text, const String& caption, UINT flags) {
    HWND owner = nullptr;
    if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated())
        owner = Screen->ActiveForm()->Handle();
    else if (FMainForm && FMainForm->HandleAllocated())
        owner = FMainForm->Handle();
    CancelHint();
    return MessageBoxFunction ? MessageBoxFunction(owner, text, caption, flags) : IDOK;
}

void TApplication::ShowException(const Exception& e) {
    String text = e.Message();
    if (!text.empty() && text.back() > '.') text += '.';
    MessageBox(text, FTitle, MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException(TObject* sender) {
    // Called from a catch block: look at what is being handled.
    if (FHandleException) return;  // an error while reporting an error
    FHandleException = true;
    try {
        try {
            throw;
        } catch (const EAbort&) {
        } catch (const Exception& e) {
            if (OnException)
                OnException(sender, e);
            else
                ShowException(e);
        } catch (const std::exception& e) {
            Exception wrapped(e.what());
            if (OnException)
                OnException(sender, wrapped);
            else
                ShowException(wrapped);
        } catch (...) {
            ShowException(Exception("Unknown error"));
        }
    } catch (...) {}
    FHandleException = false;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove) {
        if (component == FMainForm) FMainForm = nullptr;
        if (component == FMouseControl) FMouseControl = nullptr;
        if (component == FHint.Control) CancelHint();
        if (component == FCaptureControl) FCaptureControl = nullptr;
    }
}

// ============================================================================
// Units and helpers
// ============================================================================

void ClasslibUiInitialize() {
    // Timers run on the system's clock unless a test has put its own in place.
    if (&Clock() == &PortableClock()) SetClock(&SystemClock());
    if (!Application) Application = new TApplication(nullptr);
    if (!Screen) Screen = new TScreen(nullptr);
    RegisterClasses({TForm::StaticClass()});
    RegisterStandardControls();
    RegisterActionClasses();
    RegisterMenuClasses();
}

void ClasslibUiFinalize() {
    UnregisterClass(TForm::StaticClass());
    TApplication* app = Application;
    Application = nullptr;
    delete app;
    TScreen* screen = Screen;
    Screen = nullptr;
    delete screen;
    if (&Clock() == &SystemClock()) SetClock(nullptr);
    SystemClock().ReleaseWindow();
}

void ShowMessage(const String& text) {
    if (Application) Application->MessageBox(text, Application->Title(), MB_OK);
}
