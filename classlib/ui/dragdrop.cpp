#include "classlib/ui/dragdrop.h"

#include <cstdlib>
#include <memory>

#include "classlib/core/scopes.h"
#include "classlib/ui/forms.h"

QL_DEFINE_ENUM(TDragMode, "dmManual", "dmAutomatic")
QL_DEFINE_ENUM(TDragKind, "dkDrag", "dkDock")
QL_DEFINE_ENUM(TDragState, "dsDragEnter", "dsDragLeave", "dsDragMove")

// The drag that runs (one at a time). A hidden window of its own holds the
// mouse capture and gets the moves and the release.
//
// Handlers that run during a drag may end it (EndDrag) or free the controls
// it names: every way in holds the session busy, and a finished session is
// freed when the outermost of them is done with it.
class TDragSession : public TObject {
public:
    TDragSession(TControl* control, TDragObject* object, bool ownsObject, int threshold)
        : Control(control), Object(object), OwnsObject(ownsObject), Threshold(threshold),
          DockObject(dynamic_cast<TDragDockObject*>(object)) {}
    ~TDragSession() override {
        if (OwnsObject) delete Object;
    }

    // Starts at pos (screen coordinates) and takes the mouse: from here on
    // the moves and the release come here.
    void Start(TPoint pos);
    // The cursor is at pos (screen coordinates).
    void MoveTo(TPoint pos);
    // Ends the drag, dropping on the target when drop is true and the
    // target accepts.
    void Finish(bool drop);
    void Forget(TControl* control);

    TControl* Control;
    TDragObject* Object;
    bool OwnsObject;
    int Threshold;
    // The object of a docking drag, or nullptr.
    TDragDockObject* DockObject;
    bool Started = false;
    bool Finishing = false;
    bool Finished = false;
    int Busy = 0;
    TPoint StartPos;
    TControl* Target = nullptr;
    bool Accepted = false;
    // The record of the CM_DRAG being sent (a CM_DRAG with any other one
    // did not come from here).
    const TDragRec* CurrentRec = nullptr;

private:
    void WndProc(TMessage& message);
    void WMMouseMove(TMessage& message);
    void WMLButtonUp(TMessage& message);
    void CancelDrag(TMessage& message);
    LRESULT Send(TControl* target, TDragMessage message);
    void ReleaseWindow();
    HWND FWindow = nullptr;
};

namespace {

TDragSession* ActiveDrag = nullptr;

// Holds a session while one way into it runs; frees it once it has
// finished and nothing holds it any more.
class TDragBusy {
public:
    explicit TDragBusy(TDragSession* session) : FSession(session) { ++FSession->Busy; }
    ~TDragBusy() {
        if (--FSession->Busy == 0 && FSession->Finished) delete FSession;
    }
    TDragBusy(const TDragBusy&) = delete;
    TDragBusy& operator=(const TDragBusy&) = delete;

private:
    TDragSession* FSession;
};

}  // namespace

void TDragSession::Start(TPoint pos) {
    StartPos = pos;
    Object->FDragPos = pos;
    FWindow = AllocateHWnd(TWndMethod::Bind<&TDragSession::WndProc>(this));
    SetCapture(FWindow);
}

void TDragSession::ReleaseWindow() {
    HWND window = FWindow;
    if (!window) return;
    FWindow = nullptr;
    if (GetCapture() == window) ReleaseCapture();
    DeallocateHWnd(window);
}

void TDragSession::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_MOUSEMOVE: return WMMouseMove(m);
    case WM_LBUTTONUP: return WMLButtonUp(m);
    case WM_RBUTTONDOWN:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE: return CancelDrag(m);
    default: m.Result = FWindow ? DefWindowProcA(FWindow, m.Msg, m.WParam, m.LParam) : 0; return;
    }
}

void TDragSession::WMMouseMove(TMessage& m) {
    if (Finishing) return;
    TDragBusy busy(this);
    POINT p{m.XPos(), m.YPos()};
    ClientToScreen(FWindow, &p);
    TPoint pos = Point(p.x, p.y);
    if (!Started) {
        if (std::abs(pos.X - StartPos.X) <= Threshold && std::abs(pos.Y - StartPos.Y) <= Threshold) return;
        Started = true;
    }
    MoveTo(pos);
}

void TDragSession::WMLButtonUp(TMessage&) {
    if (Finishing) return;
    TDragBusy busy(this);
    Finish(true);
}

void TDragSession::CancelDrag(TMessage&) {
    if (Finishing) return;
    TDragBusy busy(this);
    Finish(false);
}

LRESULT TDragSession::Send(TControl* target, TDragMessage message) {
    TDragRec rec;
    rec.Pos = Object->FDragPos;
    rec.Object = Object;
    rec.Source = OwnsObject && !DockObject ? static_cast<TObject*>(Control) : Object;
    rec.Target = target;
    TTempChange<const TDragRec*> current(CurrentRec, &rec);
    return target->Perform(CM_DRAG, message, LPARAM(&rec));
}

void TDragSession::MoveTo(TPoint pos) {
    Object->FDragPos = pos;
    TControl* target = nullptr;
    if (DockObject) {
        // Where the control would float; a site that takes it may say another place.
        DockObject->DockRect = Bounds(pos.X, pos.Y, Control->UndockWidth(), Control->UndockHeight());
        target = FindDockSite(pos, Control);
    } else {
        target = FindDragTarget(pos, false);
    }
    if (target != Target) {
        if (Target) Send(Target, dmDragLeave);
        if (Finishing) return;
        Target = target;
        Object->FDragTarget = target;
        Accepted = false;
        if (Target) Send(Target, dmDragEnter);
        if (Finishing) return;
    }
    Accepted = Target && Send(Target, dmDragMove) != 0;
    if (Finishing || !Screen || !Control) return;
    // A docking drag dropped off every site floats the control.
    ::SetCursor(Screen->Cursors(Accepted || DockObject ? Control->DragCursor() : crNoDrop));
}

void TDragSession::Finish(bool drop) {
    if (Finishing) return;
    Finishing = true;
    TScopeExit done([this] {
        ReleaseWindow();
        if (ActiveDrag == this) ActiveDrag = nullptr;
        Finished = true;
    });
    ReleaseWindow();
    // A docking drag released before it started leaves the control where it is.
    if (DockObject && !Started) drop = false;
    bool accepted = drop && Target && Accepted;
    TPoint at;
    if (Target) {
        Send(Target, dmDragLeave);
        // A handler may have freed the target (it is forgotten then).
        if (accepted && Target) {
            at = Target->ScreenToClient(Object->FDragPos);
            Object->FDropped = true;
            Send(Target, dmDragDrop);
        }
    }
    TControl* dropTarget = accepted ? Target : nullptr;
    if (!dropTarget) at = TPoint();
    if (DockObject && drop && !accepted && Control) Control->ManualFloat(DockObject->DockRect);
    if (Screen) ::SetCursor(Screen->Cursors(crArrow));
    if (!Control) return;
    if (DockObject)
        Control->DoEndDock(dropTarget, at.X, at.Y);
    else
        Control->DoEndDrag(dropTarget, at.X, at.Y);
}

void TDragSession::Forget(TControl* control) {
    if (Target == control) {
        Target = nullptr;
        Object->FDragTarget = nullptr;
        Accepted = false;
    }
    if (Control == control) {
        Control = nullptr;
        Finish(false);
    }
}

TControl* FindDragTarget(TPoint pos, bool allowDisabled) {
    HWND h = WindowFromPoint(POINT{pos.X, pos.Y});
    TWinControl* win = nullptr;
    while (h && !(win = TWinControl::FindControl(h))) h = GetParent(h);
    if (!win) return nullptr;
    TControl* child = win->ControlAtPos(win->ScreenToClient(pos), allowDisabled);
    return child ? child : win;
}

TWinControl* FindDockSite(TPoint pos, TControl* client) {
    HWND h = WindowFromPoint(POINT{pos.X, pos.Y});
    TWinControl* win = nullptr;
    while (h && !(win = TWinControl::FindControl(h))) h = GetParent(h);
    auto* own = dynamic_cast<TWinControl*>(client);
    for (; win; win = win->Parent()) {
        if (own && own->ContainsControl(win)) continue;
        if (win->DockSite() && win->Enabled()) return win;
    }
    return nullptr;
}

void DragControlDestroyed(TControl* control) {
    if (!ActiveDrag) return;
    TDragBusy busy(ActiveDrag);
    ActiveDrag->Forget(control);
}

// ============================================================================
// TControl: dragging
// ============================================================================

void TControl::BeginDrag(bool immediate, int threshold) {
    if (dynamic_cast<TCustomForm*>(this) && FDragKind != dkDock) throw EInvalidOperation("A form cannot be dragged");
    if (ActiveDrag) return;
    POINT p;
    GetCursorPos(&p);
    if (FControlState.Contains(csLButtonDown)) {
        // The drag takes the mouse from here: the press ends for the
        // control as a release would end it.
        TPoint c = ScreenToClient(Point(p.x, p.y));
        Perform(WM_LBUTTONUP, 0, MAKELPARAM(WORD(c.X), WORD(c.Y)));
    }
    if (threshold < 0) threshold = DefaultDragThreshold;
    TDragObject* given = nullptr;
    if (FDragKind == dkDock) {
        TDragDockObject* dock = nullptr;
        DoStartDock(dock);
        given = dock;
    } else {
        DoStartDrag(given);
    }
    if (ActiveDrag) return;
    std::unique_ptr<TDragObject> own;
    if (!given && FDragKind == dkDock)
        own = std::make_unique<TDragDockObject>(this);
    else if (!given)
        own = std::make_unique<TDragControlObject>(this);
    auto session = std::make_unique<TDragSession>(this, given ? given : own.get(), !given, threshold);
    session->Start(Point(p.x, p.y));
    own.release();
    TDragSession* s = session.release();
    ActiveDrag = s;
    if (!immediate) return;
    TDragBusy busy(s);
    s->Started = true;
    s->MoveTo(s->StartPos);
}

void TControl::EndDrag(bool drop) {
    if (!Dragging()) return;
    TDragBusy busy(ActiveDrag);
    ActiveDrag->Finish(drop);
}

bool TControl::Dragging() const { return ActiveDrag && !ActiveDrag->Finishing && ActiveDrag->Control == this; }

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    accept = false;
    if (!OnDragOver) return;
    accept = true;
    OnDragOver(this, source, x, y, state, accept);
}

void TControl::DragDrop(TObject* source, int x, int y) { OnDragDrop(this, source, x, y); }

void TControl::DoStartDrag(TDragObject*& dragObject) { OnStartDrag(this, dragObject); }

void TControl::DoEndDrag(TObject* target, int x, int y) { OnEndDrag(this, target, x, y); }

void TControl::CMDrag(TMessage& m) {
    // Only the running drag sends this, with a record it still holds.
    auto* rec = reinterpret_cast<const TDragRec*>(m.LParam);
    if (!rec || !ActiveDrag || ActiveDrag->CurrentRec != rec) return;
    TPoint p = ScreenToClient(rec->Pos);
    if (auto* dock = dynamic_cast<TDragDockObject*>(rec->Object)) {
        auto* site = dynamic_cast<TWinControl*>(this);
        if (!site) return;
        if (m.WParam <= dmDragMove) {
            static const TDragState states[] = {dsDragEnter, dsDragLeave, dsDragMove};
            bool accept = false;
            site->DockOver(dock, p.X, p.Y, states[m.WParam], accept);
            m.Result = accept ? 1 : 0;
        } else if (m.WParam == dmDragDrop) {
            site->DockDrop(dock, p.X, p.Y);
        }
        return;
    }
    switch (m.WParam) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
        static const TDragState states[] = {dsDragEnter, dsDragLeave, dsDragMove};
        bool accept = false;
        DragOver(rec->Source, p.X, p.Y, states[m.WParam], accept);
        m.Result = accept ? 1 : 0;
        return;
    }
    case dmDragDrop: DragDrop(rec->Source, p.X, p.Y); return;
    case dmFindTarget: m.Result = LRESULT(this); return;
    default: return;
    }
}
