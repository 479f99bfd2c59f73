// Controls: TControl (anything with bounds on a parent), TWinControl (a
// control with a window of its own, created when first needed),
// TGraphicControl (painted by its parent) and TCustomControl (a windowed
// control with a canvas and Paint).
//
// How messages arrive: the procedure of a control's window (MainWndProc)
// wraps each message in a TMessage and hands it to the control's
// WindowProc, and hands any exception to Application->HandleException;
// Perform delivers a message the same way, at once and without the window
// server. WindowProc is an assignable method reference that starts out as
// the control's own virtual WndProc, so that others can sit in front of it.
//
// How they are handled: every WndProc is an index, a switch whose cases
// each name the handler method of their message,
//
//     case WM_SETCURSOR:
//         return WMSetCursor(m);
//
// and whose default passes the message on to the base class's WndProc.
// Handlers are named after the message (WMPaint, CMFontChanged, CNCommand;
// one handler may take a group, as WMMouse does) and are declared in the
// class's "Message handlers" block. A handler that wants the inherited
// handling too calls the base class's WndProc(m) itself, before or after
// its own work or only in some cases. TControl::WndProc is the end of the
// chain: window messages go on to DefaultHandler (for a windowed control,
// the window class's own procedure); component messages (CM_*) and
// reflected notifications (CN_*) that no class handled end there.
#pragma once

#include <initializer_list>
#include <vector>

#include "classlib/core/classes.h"
#include "classlib/ui/dragdrop.h"
#include "classlib/ui/graphics.h"
#include "classlib/ui/messages.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;
class TControlActionLink;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
QL_DECLARE_ENUM(TAlign);

// The reading order and the alignment a control uses: left to right; right
// to left in both; right-to-left reading with the alignment left as it is;
// right-to-left reading only.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
QL_DECLARE_ENUM(TBiDiMode);

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
QL_DECLARE_ENUM(TAnchorKind);
using TAnchors = TSet<TAnchorKind>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
QL_DECLARE_ENUM(TMouseButton);

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
QL_DECLARE_ENUM(TShiftStateItem);
using TShiftState = TSet<TShiftStateItem>;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
    csNeedsBorderPaint,
    csParentBackground
};
QL_DECLARE_ENUM(TControlStyleItem);
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking
};
QL_DECLARE_ENUM(TControlStateItem);
using TControlState = TSet<TControlStateItem>;

// Mouse cursors: the standard ones are negative, as Screen->Cursors() knows them.
enum TCursor : short {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
    crSize = -22
};
const TTypeInfo* TypeInfoOf(TCursor*);
// The system's arrow cursor, loaded once.
HCURSOR ArrowCursor();

using TMouseEvent = TEvent<TObject* /*Sender*/, TMouseButton, TShiftState, int /*X*/, int /*Y*/>;
using TMouseMoveEvent = TEvent<TObject* /*Sender*/, TShiftState, int /*X*/, int /*Y*/>;
using TKeyEvent = TEvent<TObject* /*Sender*/, Word& /*Key*/, TShiftState>;
using TKeyPressEvent = TEvent<TObject* /*Sender*/, char& /*Key*/>;
using TWndMethod = TEvent<TMessage&>;
// The wheel turned by WheelDelta (WHEEL_DELTA a notch, negative towards the
// user) with the cursor at MousePos (screen coordinates); set Handled to stop it.
using TMouseWheelEvent =
    TEvent<TObject* /*Sender*/, TShiftState, int /*WheelDelta*/, TPoint /*MousePos*/, bool& /*Handled*/>;
using TMouseWheelUpDownEvent = TEvent<TObject* /*Sender*/, TShiftState, TPoint /*MousePos*/, bool& /*Handled*/>;

TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyDataToShiftState(LPARAM keyData);

// The hint the application is about to show, sent to its control with
// CM_HINTSHOW (LParam), which may change any of it; a non-zero result
// cancels the hint.
struct THintInfo {
    class TControl* HintControl = nullptr;
    // The cursor in the control's client coordinates.
    TPoint CursorPos;
    // The part of the control (client coordinates) this hint is for: when
    // the cursor leaves it, still inside the control, the hint is asked for
    // again. The whole client area unless the control narrows it.
    TRect CursorRect;
    // Where the hint window's top-left corner goes, in screen coordinates.
    TPoint HintPos;
    String HintStr;
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    // The class of hint window to show it in (a THintWindow descendant).
    TClass HintWindowClass = nullptr;
    int ReshowTimeout = 0;
    // Milliseconds until the shown hint hides; 0 or less: it stays.
    int HideTimeout = 0;
    // Passed to the hint window's CalcHintRect and ActivateHintData.
    void* HintData = nullptr;
};

// A control's canvas: its handle is a DC of the control (a windowless
// control draws on its parent's window at its own origin).
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(class TControl* control) : FControl(control) {}
    ~TControlCanvas() override;
    TControl* Control() const { return FControl; }
    // Gives back a DC this canvas obtained itself.
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* FControl;
    HDC FDeviceContext = nullptr;
    HWND FWindowHandle = nullptr;
};

// Lends a DC to a canvas for one paint: the canvas is locked and gets the
// DC, and gives it back (unlocked) when the scope ends, also when painting
// raises.
class TCanvasPaintScope {
public:
    TCanvasPaintScope(TControlCanvas* canvas, HDC dc) : FCanvas(canvas) {
        FCanvas->Lock();
        FCanvas->FreeHandle();
        FCanvas->SetHandle(dc);
    }
    ~TCanvasPaintScope() {
        FCanvas->SetHandle(nullptr);
        FCanvas->Unlock();
    }
    TCanvasPaintScope(const TCanvasPaintScope&) = delete;
    TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

private:
    TControlCanvas* FCanvas;
};

// What TControl declares and almost every control class publishes; a
// windowed class publishes kWinControlProperties (what TWinControl declares)
// too. Each class's table names these lists and then its own additions.
inline const std::initializer_list<const char*> kControlProperties = {
    "Action",      "Align",      "Anchors",        "Caption",      "Color",     "Cursor",
    "DragCursor",  "DragKind",   "DragMode",       "Enabled",      "Font",      "Hint",
    "ParentColor", "ParentFont", "ParentShowHint", "PopupMenu",    "ShowHint",  "Visible",
    "OnClick",     "OnDblClick", "OnDragDrop",     "OnDragOver",   "OnEndDrag", "OnMouseDown",
    "OnMouseMove", "OnMouseUp",  "OnMouseEnter",   "OnMouseLeave", "OnResize",  "OnStartDrag"};
inline const std::initializer_list<const char*> kWinControlProperties = {"TabOrder",       "DoubleBuffered", "DockSite",
                                                                         "UseDockManager", "OnEnter",        "OnExit",
                                                                         "OnKeyDown",      "OnKeyPress",     "OnKeyUp"};

class TControl : public TComponent {
    QL_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // ---- Place ----
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // The client area in the control's own coordinates.
    virtual TRect ClientRect() const;
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int width);
    void SetClientHeight(int height);
    virtual void SetClientSize(int width, int height);
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    // The origin of the client area in its window's client coordinates
    // (a windowless control lives in its parent's window).
    virtual TPoint ClientOrigin() const;
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors anchors);

    // ---- State ----
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool enabled);
    // Visible here and in every parent up to a visible window.
    virtual bool Showing() const;
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle style) { FControlStyle = style; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState state) { FControlState = state; }

    // ---- Look ----
    TFont* Font() const { return FFont; }
    void SetFont(TFont* font) { FFont->Assign(font); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool parentFont);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool parentColor);
    String Caption() const { return GetText(); }
    void SetCaption(const String& text) { SetText(text); }
    String Text() const { return GetText(); }
    virtual void SetText(const String& text);
    virtual String GetText() const { return FText; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor);
    const String& Hint() const { return FHint; }
    void SetHint(const String& hint) { FHint = hint; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool showHint);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool parentShowHint);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* menu);
    // The reading order and alignment; setting it clears ParentBiDiMode.
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode mode);
    // The control takes its parent's BiDiMode, and every change of it.
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool parentBiDiMode);
    // Any right-to-left mode.
    bool IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }
    // The control lays itself out mirrored: bdRightToLeft only.
    bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }

    // ---- Action (actions.h) ----
    // The action whose caption, enabled state, hint and visibility this
    // control shows and which its Click executes; nullptr: none. Freeing
    // the action clears it.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* action);

    // ---- Dragging (dragdrop.h) ----
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode mode) { FDragMode = mode; }
    TDragKind DragKind() const { return FDragKind; }
    void SetDragKind(TDragKind kind) { FDragKind = kind; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor cursor) { FDragCursor = cursor; }
    // Starts dragging this control: at once, or when the mouse has moved
    // more than threshold pixels (negative: DefaultDragThreshold).
    void BeginDrag(bool immediate, int threshold = -1);
    // Ends this control's drag: dropped on the target when drop is true
    // and the target accepts, else cancelled.
    void EndDrag(bool drop);
    bool Dragging() const;
    // A drag was dropped on this control (fires OnDragDrop).
    virtual void DragDrop(TObject* source, int x, int y);
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;

    // ---- Docking (docking.cpp) ----
    // The site this control is docked into, or nullptr (floating or never
    // docked). The control's parent may lie inside the site (a pager puts
    // each client on a page of its own).
    TWinControl* HostDockSite() const { return FHostDockSite; }
    // True while the control floats: a form without a parent, any other
    // control on the floating host form made for it.
    bool Floating() const;
    // Docks the control into newDockSite as a dock drag dropped there would
    // (OnUnDock of the old site may refuse), or floats it when
    // newDockSite is nullptr. True when it is docked there (or floats)
    // afterwards.
    bool ManualDock(TWinControl* newDockSite);
    // Floats the control at screenPos: a form by itself, any other control
    // on a floating host form of its own, made the first time, whose window
    // goes to screenPos's top-left with a client area of screenPos's size.
    void ManualFloat(const TRect& screenPos);
    // The size the control floats with: what it had when it last docked
    // from a floating (or undocked) state.
    int UndockWidth() const { return FUndockWidth > 0 ? FUndockWidth : FWidth; }
    int UndockHeight() const { return FUndockHeight > 0 ? FUndockHeight : FHeight; }
    TStartDockEvent OnStartDock;
    TEndDragEvent OnEndDock;

    // ---- Messages and painting ----
    // Delivers a message to this control at once (through WindowProc).
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The handler every message goes through; assignable so that others can
    // sit in front of the control's own WndProc.
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& message);
    // What a message without a handler gets (windowed controls: the window
    // class's procedure).
    virtual void DefaultHandler(TMessage& message);
    virtual void Invalidate();
    virtual void Repaint();
    virtual void Update();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();
    // Paints the control into dc at its own origin (a windowless control)
    // or as the window would (a windowed one).
    virtual void PaintTo(HDC dc, int x, int y);

    bool MouseCapture() const;
    void SetMouseCapture(bool capture);

    // ---- Events ----
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TNotifyEvent OnResize;

    virtual void Click();
    virtual void DblClick();

    // ---- Component ----
    bool HasParent() const override { return FParent != nullptr; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void SetName(const String& name) override;
    void Loaded() override;
    // Scales position, size and font by m/d (pixels per inch changes).
    virtual void ChangeScale(int m, int d);

protected:
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    // The wheel turned over the control: true when it was used. Without an
    // OnMouseWheel that takes it, every whole notch turned so far goes to
    // DoMouseWheelDown or DoMouseWheelUp.
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
    virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);
    virtual void Resize();
    // A size or position change that the parent must lay out again.
    void RequestAlign();
    virtual void AdjustSize() {}
    virtual void FontChanged(TObject* sender);
    // The parent's font or colour, for ParentFont and ParentColor.
    void ParentFontChanged();
    void ParentColorChanged();
    // The parent's BiDiMode, for ParentBiDiMode.
    void ParentBiDiModeChanged();
    TCustomForm* ParentForm() const;
    void InvalidateControl(bool isVisible, bool isOpaque);

    // The link to Action (nullptr without one), made by CreateActionLink:
    // a control that shows more of an action (checked, image index) makes
    // a link of its own class there.
    TControlActionLink* ActionLink() const { return FActionLink; }
    virtual TControlActionLink* CreateActionLink();
    // The action changed, or was just set: copy what the control shows of
    // it. With checkDefaults (while loading), only over values the control
    // still has at their defaults.
    virtual void ActionChange(TObject* sender, bool checkDefaults);

    // A drag is over this control: accept tells whether it would take the
    // drop. By default it accepts only when OnDragOver is set and lets it.
    virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void DoStartDrag(TDragObject*& dragObject);
    virtual void DoEndDrag(TObject* target, int x, int y);
    // A docking drag of this control starts (OnStartDock may give the
    // object) and ends on the site that took it, or none.
    virtual void DoStartDock(TDragDockObject*& dragObject);
    virtual void DoEndDock(TObject* target, int x, int y);
    // Tells the host dock site that message changed the control (its text
    // or its visibility), as CM_DOCKNOTIFICATION.
    void NotifyHostDockSite(UINT msg, WPARAM wParam, LPARAM lParam);

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    // Distances kept for anchoring to the right or the bottom.
    int FAnchorRight = 0, FAnchorBottom = 0, FOriginalParentWidth = 0, FOriginalParentHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    TFont* FFont;
    bool FParentFont = true;
    TColor FColor = clWindow;
    bool FParentColor = true;
    String FText;
    TCursor FCursor = crDefault;
    String FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    TPopupMenu* FPopupMenu = nullptr;
    TControlActionLink* FActionLink = nullptr;
    TDragMode FDragMode = dmManual;
    TDragKind FDragKind = dkDrag;
    TCursor FDragCursor = crDrag;
    TWinControl* FHostDockSite = nullptr;
    // The form this control floats on (owned by the control), or nullptr.
    TCustomForm* FFloatingHost = nullptr;
    int FUndockWidth = 0, FUndockHeight = 0;
    TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState FControlState;
    int FWheelAccumulator = 0;  // wheel turned but less than a notch

    friend class TWinControl;
    friend class TDragSession;
    void UpdateAnchorRules();
    // Moves the control into site as the drop of source there; false when
    // the old site refused to let it go.
    bool DockInto(TWinControl* site, TDragDockObject* source);
    // The control is being freed: its site lets it go.
    void UndockOnDestroy();
    void Notification(TComponent* component, TOperation operation) override;

    // ---- Message handlers ----
    // All mouse button messages: capture, clicks, MouseDown and MouseUp.
    void WMMouseButton(TMessage& message);
    void WMMouseMove(TMessage& message);
    void WMContextMenu(TMessage& message);
    void WMCancelMode(TMessage& message);
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    // The wheel: DoMouseWheel, else on to the parent; Result 1 when used.
    void CMMouseWheel(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    void CMColorChanged(TMessage& message);
    void CMTextChanged(TMessage& message);
    void CMVisibleChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMParentFontChanged(TMessage& message);
    void CMParentColorChanged(TMessage& message);
    void CMParentShowHintChanged(TMessage& message);
    void CMBiDiModeChanged(TMessage& message);
    void CMParentBiDiModeChanged(TMessage& message);
    void CMHitTest(TMessage& message);
    void CMHintShow(TMessage& message);
    // A drag asks or drops (dragdrop.cpp).
    void CMDrag(TMessage& message);

private:
    void DoActionChange(TObject* sender);
    void HandleMouseButton(TMessage& message, TMouseButton button, bool down, bool dbl);
    // Moves the control to the top or the bottom of its siblings.
    void SetZOrder(bool topMost);
    bool IsAnchorsStored() const;
    bool IsCaptionStored() const;
    bool IsColorStored() const;
    bool IsFontStored() const;
    bool IsShowHintStored() const;
    bool IsBiDiModeStored() const;
};

struct TCreateParams {
    String Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSA WindowClass{};
    String WinClassName;
};

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
QL_DECLARE_ENUM(TBorderStyle);

class TWinControl : public TControl {
    QL_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // ---- The window ----
    // The window, created now if it does not exist yet.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    // Destroys the window and makes it again with the current parameters.
    void RecreateWnd();
    void DestroyHandle();
    // The control whose window is handle, or nullptr (also for any window
    // of another process). Kept in this process: asks nothing of the
    // window server.
    static TWinControl* FindControl(HWND handle);
    // The window's parent to use when this control has no Parent.
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND window) { FParentWindow = window; }

    // ---- Children ----
    // Windowless children first, then windowed ones, each in z-order.
    int ControlCount() const { return int(FControls.size() + FWinControls.size()); }
    TControl* Controls(int index) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(TControl* control) const;
    TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls = false) const;
    // Lays out the aligned and anchored children.
    void Realign();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    virtual void AlignControls(TControl* control, TRect& rect);
    // The area the aligned children share; a container may keep a border.
    virtual void AdjustClientRect(TRect& rect) {}
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, int order) override;
    // Paints the windowless children into dc (the window's DC or a
    // caller's), from first on in z-order.
    void PaintControls(HDC dc, TControl* first);
    void ScaleControls(int m, int d);

    // ---- Focus and keys ----
    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool tabStop);
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // The windowed children in tab order.
    std::vector<TWinControl*> TabOrderList() const;
    // The next or previous focusable control after current among this
    // control's descendants, wrapping round.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool v) { FDoubleBuffered = v; }
    // Whether other controls may dock into this one (docking.cpp).
    bool DockSite() const { return FDockSite; }
    void SetDockSite(bool v) { FDockSite = v; }
    bool UseDockManager() const { return FUseDockManager; }
    void SetUseDockManager(bool v) { FUseDockManager = v; }
    TBrush* Brush() const { return FBrush; }
    // The controls docked into this site, in the order they came.
    int DockClientCount() const { return int(FDockClients.size()); }
    TControl* DockClients(int index) const;
    // A docking drag was dropped here (or ManualDock chose this site):
    // docks source's control, then fires OnDockDrop.
    virtual void DockDrop(TDragDockObject* source, int x, int y);
    TDockOverEvent OnDockOver;
    TDockDropEvent OnDockDrop;
    TUnDockEvent OnUnDock;

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    void SetText(const String& text) override;
    String GetText() const override;
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    bool Showing() const override;
    void Invalidate() override;
    void Repaint() override;
    void Update() override;
    void PaintTo(HDC dc, int x, int y) override;
    void ChangeScale(int m, int d) override;

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    // Makes this control a subclass of a native window class ("BUTTON").
    void CreateSubClass(TCreateParams& params, const char* controlClassName);
    void CreateHandle();
    // Called once the window exists (and again after re-creation).
    virtual void CreateHandleDone() {}
    // What WM_PAINT paints: the window class's own drawing by default.
    virtual void PaintWindow(HDC dc);
    virtual void KeyDown(Word& key, TShiftState shift);
    virtual void KeyUp(Word& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void DoEnter();
    virtual void DoExit();
    // The window reports its size or place: the control follows it.
    void UpdateBounds();
    void UpdateShowing();
    virtual void ColorChanged();
    // A docking drag is over this site: by default it takes it (OnDockOver
    // may refuse); source->DockRect is where the control would go.
    virtual void DockOver(TDragDockObject* source, int x, int y, TDragState state, bool& accept);
    // Puts a docking client in place (rect: client coordinates): by
    // default it becomes a child at rect.
    virtual void DoAddDockClient(TControl* client, const TRect& rect);
    // A client has left this site (after it was given its new parent).
    virtual void DoRemoveDockClient(TControl* client) {}
    // OnUnDock: whether client may leave for newTarget (nullptr: floating).
    virtual bool DoUnDock(TWinControl* newTarget, TControl* client);
    bool IsControlMouseMsg(TMessage& message);
    void Notification(TComponent* component, TOperation operation) override;

    // ---- Message handlers ----
    void WMPaint(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    // WM_PRINTCLIENT: background, client and child windows as its flags ask.
    void WMPrintClient(TMessage& message);
    // WM_PRINT: the frame, then the client as WM_PRINTCLIENT at its place.
    void WMPrint(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    // All mouse messages: offered to the windowless child under the mouse first.
    void WMMouse(TMessage& message);
    // The cursor left the window (asked for when the mouse entered it).
    void WMMouseLeave(TMessage& message);
    // The wheel goes to the control under the cursor as CM_MOUSEWHEEL.
    void WMMouseWheel(TMessage& message);
    void WMSize(TMessage& message);
    void WMMove(TMessage& message);
    void WMWindowPosChanged(TMessage& message);
    void WMSetCursor(TMessage& message);
    void WMCommand(TMessage& message);
    void WMNotify(TMessage& message);
    void WMDrawItem(TMessage& message);
    void WMScroll(TMessage& message);    // WM_HSCROLL, WM_VSCROLL
    void WMCtlColor(TMessage& message);  // WM_CTLCOLOR*
    void WMKeyDown(TMessage& message);   // WM_KEYDOWN, WM_SYSKEYDOWN
    void WMKeyUp(TMessage& message);     // WM_KEYUP, WM_SYSKEYUP
    void WMChar(TMessage& message);
    void CNKeyDown(TMessage& message);  // CN_KEYDOWN, CN_SYSKEYDOWN
    void CNChar(TMessage& message);     // CN_CHAR, CN_SYSCHAR
    void CMDialogKey(TMessage& message);
    void CMDialogChar(TMessage& message);
    void CMEnter(TMessage& message);
    void CMExit(TMessage& message);
    void CMFocusChanged(TMessage& message);
    void CMButtonPressed(TMessage& message);
    void CMShowingChanged(TMessage& message);
    void CMVisibleChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    void CMColorChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMShowHintChanged(TMessage& message);
    // The children that follow the parent's mode take the new one.
    void CMBiDiModeChanged(TMessage& message);
    // LParam: TDockClientRec*; puts the client in place (DoAddDockClient).
    void CMDockClient(TMessage& message);

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr;  // the window class's procedure
    HWND FParentWindow = nullptr;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FWinControls;
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    bool FDoubleBuffered = false;
    bool FDockSite = false;
    bool FUseDockManager = false;
    std::vector<TControl*> FDockClients;
    int FAlignLevel = 0;
    TBrush* FBrush;
    bool FShowing = false;
    bool FShowingChildren = false;

private:
    friend class TControl;
    friend class TApplication;
    static LRESULT CALLBACK InitWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void AttachHandle(HWND hwnd);
    void DispatchFromSystem(TMessage& message);
    void DetachHandle(HWND hwnd);
    void AlignList(TAlign align, TRect& rect);
    // The window a new child window goes behind, to keep the list's order.
    HWND PrecedingWindow(TWinControl* control) const;
    void DoAnchors(TControl* control);
    void ReflectNotification(TMessage& message, HWND child);
    void ReflectFromChild(TMessage& message);
    void OfferToChildren(TMessage& message);
    void HandleKey(TMessage& message, bool down);
    void PrintFrame(HDC dc, const TRect& clientArea);
};

// A windowless control: its parent paints it into the parent's window.
class TGraphicControl : public TControl {
    QL_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return FCanvas; }
    void WndProc(TMessage& message) override;

protected:
    virtual void Paint() {}
    TControlCanvas* FCanvas;

    // ---- Message handlers ----
    void WMPaint(TMessage& message);
};

// A windowed control that paints itself on a canvas.
class TCustomControl : public TWinControl {
    QL_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return FCanvas; }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;
    TControlCanvas* FCanvas;
};

// The form a control is on, or nullptr.
TCustomForm* GetParentForm(const TControl* control);
// A hidden window whose messages go to method (timers, theme notifiers).
HWND AllocateHWnd(const TWndMethod& method);
void DeallocateHWnd(HWND window);
// Sizes at 96 pixels per inch scaled to a device: rounded, halves to even.
int MulDivRound(int value, int numerator, int denominator);
