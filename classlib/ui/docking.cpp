// Docking: a control moves into a dock site (a window control whose
// DockSite is set) or floats, by ManualDock or by a docking drag
// (dragdrop.cpp). See dragdrop.h for what it leaves out.
//
// The order of one move: the old site is asked (OnUnDock) and told
// (CM_UNDOCKCLIENT) while the client is still in it; the new site puts the
// client in place (CM_DOCKCLIENT, DoAddDockClient); the old site hears
// that the client has gone (DoRemoveDockClient); the new site fires
// OnDockDrop. A floating host form the client leaves is freed last.
#include <algorithm>
#include <memory>

#include "classlib/core/exceptions.h"
#include "classlib/ui/forms.h"

// The form a control other than a form floats on: a small tool window
// sized to the control.
class TFloatingDockForm : public TCustomForm {
    QL_CLASS(TFloatingDockForm, TCustomForm)
public:
    explicit TFloatingDockForm(TComponent* owner) : TCustomForm(owner) {
        SetBorderStyle(bsSizeToolWin);
        SetBorderIcons({biSystemMenu});
    }
};

TClass TFloatingDockForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TFloatingDockForm>("TFloatingDockForm").Build();
    return &info;
}

namespace {

TRect ScreenClientRect(TWinControl* site) {
    TRect r = site->ClientRect();
    TPoint o = site->ClientToScreen(Point(0, 0));
    return Bounds(o.X, o.Y, r.Width(), r.Height());
}

}  // namespace

// ============================================================================
// TControl: the client side
// ============================================================================

bool TControl::Floating() const {
    if (dynamic_cast<const TCustomForm*>(this)) return FParent == nullptr;
    return FFloatingHost && FParent == FFloatingHost;
}

bool TControl::ManualDock(TWinControl* newDockSite) {
    if (!newDockSite) {
        TPoint at = ClientToScreen(Point(0, 0));
        ManualFloat(Bounds(at.X, at.Y, UndockWidth(), UndockHeight()));
        return Floating();
    }
    TDragDockObject source(this);
    source.DockRect = ScreenClientRect(newDockSite);
    TRect client = newDockSite->ClientRect();
    source.SetDragPos(newDockSite->ClientToScreen(Point(client.Width() / 2, client.Height() / 2)));
    newDockSite->DockDrop(&source, client.Width() / 2, client.Height() / 2);
    return FHostDockSite == newDockSite;
}

bool TControl::DockInto(TWinControl* site, TDragDockObject* source) {
    TWinControl* old = FHostDockSite;
    if (old && old != site) {
        if (!old->DoUnDock(site, this)) return false;
        old->Perform(CM_UNDOCKCLIENT, WPARAM(site), LPARAM(this));
    }
    if (!old || Floating()) {
        FUndockWidth = FWidth;
        FUndockHeight = FHeight;
    }
    TCustomForm* leftHost = FFloatingHost;
    auto* window = dynamic_cast<TWinControl*>(this);
    // A form's window changes between a frame of its own and a child's.
    if (window && dynamic_cast<TCustomForm*>(this) && !FParent) window->DestroyHandle();
    TDockClientRec rec;
    rec.DockSource = source;
    rec.MousePos = source->DragPos();
    {
        // A site that fails leaves the client where it was: a form shows its own window again.
        TOnFailure restore([&] {
            if (window && !FParent) window->UpdateShowing();
        });
        FControlState.Include(csDocking);
        TScopeExit docked([this] { FControlState.Exclude(csDocking); });
        site->Perform(CM_DOCKCLIENT, 0, LPARAM(&rec));
    }
    if (old != site) {
        if (old) {
            std::erase(old->FDockClients, this);
            FHostDockSite = nullptr;
            old->DoRemoveDockClient(this);
        }
        FHostDockSite = site;
        site->FDockClients.push_back(this);
    }
    if (leftHost && FParent != leftHost) {
        FFloatingHost = nullptr;
        delete leftHost;
    }
    return true;
}

void TControl::ManualFloat(const TRect& screenPos) {
    TWinControl* old = FHostDockSite;
    if (old) {
        if (!old->DoUnDock(nullptr, this)) return;
        old->Perform(CM_UNDOCKCLIENT, 0, LPARAM(this));
    }
    if (auto* form = dynamic_cast<TCustomForm*>(this)) {
        if (FParent) {
            form->DestroyHandle();
            SetParent(nullptr);
        }
        SetBoundsRect(screenPos);
        form->UpdateShowing();
    } else {
        if (!FFloatingHost) {
            auto host = std::make_unique<TFloatingDockForm>(this);
            host->SetCaption(Caption());
            FFloatingHost = host.release();
        }
        FFloatingHost->SetBounds(screenPos.Left, screenPos.Top, FFloatingHost->Width(), FFloatingHost->Height());
        FFloatingHost->SetClientSize(screenPos.Width(), screenPos.Height());
        SetAlign(alNone);
        SetParent(FFloatingHost);
        SetBounds(0, 0, screenPos.Width(), screenPos.Height());
        FFloatingHost->SetVisible(FVisible);
    }
    if (old) {
        std::erase(old->FDockClients, this);
        FHostDockSite = nullptr;
        old->DoRemoveDockClient(this);
    }
}

void TControl::UndockOnDestroy() {
    TWinControl* site = FHostDockSite;
    if (!site) return;
    FHostDockSite = nullptr;
    std::erase(site->FDockClients, this);
    site->Perform(CM_UNDOCKCLIENT, 0, LPARAM(this));
    if (FParent) FParent->RemoveControl(this);
    site->DoRemoveDockClient(this);
}

void TControl::NotifyHostDockSite(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!FHostDockSite) return;
    TDockNotifyRec rec;
    rec.ClientMsg = msg;
    rec.MsgWParam = wParam;
    rec.MsgLParam = lParam;
    FHostDockSite->Perform(CM_DOCKNOTIFICATION, WPARAM(this), LPARAM(&rec));
}

void TControl::DoStartDock(TDragDockObject*& dragObject) { OnStartDock(this, dragObject); }

void TControl::DoEndDock(TObject* target, int x, int y) { OnEndDock(this, target, x, y); }

// ============================================================================
// TWinControl: the site side
// ============================================================================

TControl* TWinControl::DockClients(int index) const {
    if (index < 0 || index >= DockClientCount()) RaiseListIndexError(index);
    return FDockClients[size_t(index)];
}

void TWinControl::DockOver(TDragDockObject* source, int x, int y, TDragState state, bool& accept) {
    accept = true;
    OnDockOver(this, source, x, y, state, accept);
}

void TWinControl::DockDrop(TDragDockObject* source, int x, int y) {
    TControl* client = source->Control();
    if (!client || client == this) return;
    if (!client->DockInto(this, source)) return;
    OnDockDrop(this, source, x, y);
}

bool TWinControl::DoUnDock(TWinControl* newTarget, TControl* client) {
    bool allow = true;
    OnUnDock(this, client, newTarget, allow);
    return allow;
}

void TWinControl::DoAddDockClient(TControl* client, const TRect& rect) {
    client->SetParent(this);
    client->SetBoundsRect(rect);
}

void TWinControl::CMDockClient(TMessage& m) {
    auto* rec = reinterpret_cast<TDockClientRec*>(m.LParam);
    m.Result = 0;
    if (!rec || !rec->DockSource || !rec->DockSource->Control()) return;
    const TRect r = rec->DockSource->DockRect;
    const TPoint at = ScreenToClient(r.TopLeft());
    DoAddDockClient(rec->DockSource->Control(), Bounds(at.X, at.Y, r.Width(), r.Height()));
}
