#include "classlib/ui/hints.h"

#include <algorithm>

#include "classlib/ui/forms.h"
#include "classlib/ui/gdi_helpers.h"
#include "classlib/ui/timers.h"

// ============================================================================
// THintWindow
// ============================================================================

TClass THintWindow::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<THintWindow>("THintWindow")
            .Publish({"Action",         "Align",          "Anchors",     "Caption",     "Color",      "Cursor",
                      "DragCursor",     "DragKind",       "DragMode",    "Enabled",     "Font",       "Hint",
                      "ParentShowHint", "PopupMenu",      "ShowHint",    "OnClick",     "OnDblClick", "OnDragDrop",
                      "OnDragOver",     "OnEndDrag",      "OnMouseDown", "OnMouseMove", "OnMouseUp",  "OnMouseEnter",
                      "OnMouseLeave",   "OnResize",       "OnStartDrag", "TabOrder",    "TabStop",    "DoubleBuffered",
                      "DockSite",       "UseDockManager", "OnEnter",     "OnExit",      "OnKeyDown",  "OnKeyPress",
                      "OnKeyUp"})
            // Its own colours and font, hidden until shown.
            .Publish("ParentColor")
            .Default(false)
            .Publish("ParentFont")
            .Default(false)
            .Publish("Visible")
            .Default(false)
            .Build();
    return &info;
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
    FColor = clInfoBk;
    FParentColor = false;
    FParentFont = false;
    FVisible = false;
    FFont->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    // A pop-up window; a parent, when the hint window has one, owns it.
    p.Style = WS_POPUP | WS_BORDER;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    p.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
}

TRect THintWindow::CalcHintRect(int maxWidth, const String& hint, void*) {
    TScreenDC screen;
    HDC dc = screen.Handle();
    HGDIOBJ old = SelectObject(dc, FFont->Handle());
    RECT r{0, 0, maxWidth, 0};
    DrawTextA(dc, hint.c_str(), int(hint.size()), &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    return Rect(0, 0, r.right + 6, r.bottom + 4);
}

void THintWindow::ActivateHint(TRect rect, const String& hint) {
    SetText(hint);
    HandleNeeded();
    SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
    SetWindowPos(FHandle, HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::ActivateHintData(TRect rect, const String& hint, void* data) {
    FHintData = data;
    ActivateHint(rect, hint);
}

void THintWindow::ReleaseHandle() {
    if (FHandle) ShowWindow(FHandle, SW_HIDE);
}

void THintWindow::Paint() {
    TRect r = ClientRect();
    r.Left += 2;
    r.Top += 2;
    FCanvas->Font()->Assign(FFont);
    FCanvas->Brush()->SetStyle(bsClear);
    RECT rr{r.Left, r.Top, r.Right, r.Bottom};
    String text = GetText();
    HDC dc = FCanvas->Handle();
    DrawTextA(dc, text.c_str(), int(text.size()), &rr, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

void THintWindow::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCHITTEST: return WMNCHitTest(m);
    default: TCustomControl::WndProc(m);
    }
}

// The mouse goes through the hint to what lies below it.
void THintWindow::WMNCHitTest(TMessage& m) { m.Result = HTTRANSPARENT; }

// ============================================================================
// When a hint shows and hides
// ============================================================================

THintStep HintMouseStep(THintState& state, TControl* control, TPoint pos, int hintPause) {
    THintStep step;
    // Still the same hint: the same control, not asked yet or the cursor
    // still in the part the answer was for.
    if (control == state.Control && (!state.Asked || state.CursorRect.Contains(pos))) return step;
    step.Hide = state.Active;
    state.Active = false;
    state.Asked = false;
    state.Control = control;
    state.Timer = control ? htmShow : htmNone;
    step.RestartTimer = true;
    step.Interval = hintPause;
    return step;
}

THintStep HintTimerStep(THintState& state) {
    THintStep step;
    THintTimerMode mode = state.Timer;
    state.Timer = htmNone;
    step.RestartTimer = true;
    if (mode == htmShow && state.Control) {
        step.Ask = true;
    } else if (mode == htmHide) {
        step.Hide = state.Active;
        state.Active = false;
    }
    return step;
}

THintStep HintShownStep(THintState& state, bool shown, TRect cursorRect, int hideTimeout) {
    THintStep step;
    state.Asked = true;
    state.CursorRect = cursorRect;
    state.Active = shown;
    step.Hide = !shown;
    step.RestartTimer = true;
    state.Timer = shown && hideTimeout > 0 ? htmHide : htmNone;
    step.Interval = hideTimeout;
    return step;
}

THintStep HintCancelStep(THintState& state) {
    THintStep step;
    step.Hide = state.Active;
    step.RestartTimer = true;
    state = THintState();
    return step;
}

// ============================================================================
// TApplication: hints
// ============================================================================

namespace {

// The control whose hint applies over control: the nearest one, from it
// up, that shows hints.
TControl* HintControlOf(TControl* control) {
    while (control && !control->ShowHint()) control = control->Parent();
    return control;
}

// A control without a hint of its own shows its parent's.
String HintOf(const TControl* control) {
    for (; control; control = control->Parent())
        if (!control->Hint().empty()) return control->Hint();
    return String();
}

}  // namespace

void TApplication::SetShowHint(bool v) {
    FShowHint = v;
    if (!v) CancelHint();
}

void TApplication::CancelHint() { ApplyHintStep(HintCancelStep(FHint)); }

void TApplication::HintMouseAt(TControl* control, TPoint pos) {
    ApplyHintStep(HintMouseStep(FHint, FShowHint ? HintControlOf(control) : nullptr, pos, FHintPause));
}

void TApplication::HintTimerExpired(TObject*) {
    FHintTimer->SetEnabled(false);
    ApplyHintStep(HintTimerStep(FHint));
}

void TApplication::ApplyHintStep(const THintStep& step) {
    if (step.Hide && FHintWindow) FHintWindow->ReleaseHandle();
    if (step.RestartTimer && FHintTimer) {
        FHintTimer->SetEnabled(false);
        if (FHint.Timer != htmNone) {
            FHintTimer->SetInterval(unsigned(std::max(step.Interval, 1)));
            FHintTimer->SetEnabled(true);
        }
    }
    if (step.Ask) ShowHintNow();
}

void TApplication::ActivateHint(TPoint cursorPos) {
    TControl* control = FShowHint ? HintControlOf(FindDragTarget(cursorPos, true)) : nullptr;
    CancelHint();
    if (!control) return;
    FHint.Control = control;
    ShowHintNow();
}

void TApplication::ShowHintNow() {
    TControl* control = FHint.Control;
    if (!control) return;
    POINT p;
    GetCursorPos(&p);
    TPoint cursor = Point(p.x, p.y);
    THintInfo info;
    info.HintControl = control;
    info.CursorPos = control->ScreenToClient(cursor);
    info.CursorRect = control->ClientRect();
    info.HintPos = Point(cursor.X, cursor.Y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4);
    info.HintStr = HintOf(control);
    info.HintMaxWidth = Screen ? Screen->Width() : 1024;
    info.HintColor = FHintColor;
    info.HintWindowClass = THintWindow::StaticClass();
    info.HideTimeout = FHintHidePause;
    bool canShow = control->Perform(CM_HINTSHOW, 0, LPARAM(&info)) == 0;
    if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
    // A handler cancelled the hint (or freed the control) meanwhile.
    if (FHint.Control != control) return;
    TPoint topLeft = control->ClientToScreen(info.CursorRect.TopLeft());
    TRect cursorRect = Bounds(topLeft.X, topLeft.Y, info.CursorRect.Width(), info.CursorRect.Height());
    bool shown = canShow && !info.HintStr.empty();
    if (shown) {
        THintWindow* window = HintWindowOfClass(info.HintWindowClass);
        window->SetColor(info.HintColor);
        TRect size = window->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
        TRect r = Bounds(info.HintPos.X, info.HintPos.Y, size.Width(), size.Height());
        // Kept on the desktop.
        if (Screen) {
            TRect desk =
                Bounds(Screen->DesktopLeft(), Screen->DesktopTop(), Screen->DesktopWidth(), Screen->DesktopHeight());
            int dx = std::max(desk.Left - r.Left, std::min(0, desk.Right - r.Right));
            int dy = std::max(desk.Top - r.Top, std::min(0, desk.Bottom - r.Bottom));
            r = Bounds(r.Left + dx, r.Top + dy, r.Width(), r.Height());
        }
        window->ActivateHintData(r, info.HintStr, info.HintData);
    }
    ApplyHintStep(HintShownStep(FHint, shown, cursorRect, info.HideTimeout));
}

THintWindow* TApplication::HintWindowOfClass(TClass cls) {
    if (!cls || !cls->InheritsFrom(THintWindow::StaticClass()) || !cls->CreateComponent)
        cls = THintWindow::StaticClass();
    if (FHintWindow && FHintWindow->ClassType() == cls) return FHintWindow;
    FreeAndNil(FHintWindow);
    TComponent* made = cls->CreateComponent(nullptr);
    FHintWindow = dynamic_cast<THintWindow*>(made);
    if (!FHintWindow) {
        delete made;
        FHintWindow = new THintWindow(nullptr);
    }
    return FHintWindow;
}
