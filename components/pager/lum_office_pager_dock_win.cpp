// The pager as a dock site: every client docked into it gets a page of its
// own, owned by the pager, with the client filling the page. The tab's
// caption is a docked form's text (or another control's first line of
// text once it changes), the tab shows while the client is visible, and
// the page goes when its client leaves or is freed. A double click on the
// tab floats the client; pressing the tab of a client that drags itself
// to dock starts its docking drag.
#include <memory>

#include "classlib/ui/forms.h"
#include "components/pager/lum_office_pager_win.h"

TLumOfficePage* TLumOfficePager::PageOfClient(const TControl* client) const {
    auto* page = client ? dynamic_cast<TLumOfficePage*>(client->Parent()) : nullptr;
    return page && IndexOfPage(page) >= 0 ? page : nullptr;
}

TControl* TLumOfficePager::DockClientAtTab(int x, int y) {
    if (!DockSite() || !GetTabAreaRect().Contains({x, y})) return nullptr;
    const int tab = TabAtPoint(x, y);
    if (tab < 0) return nullptr;
    TLumOfficePage* page = Pages(tab);
    if (page->ControlCount() == 0) return nullptr;
    TControl* client = page->Controls(0);
    return client->HostDockSite() == this ? client : nullptr;
}

void TLumOfficePager::WMLButtonDown(TMessage& m) {
    TCustomControl::WndProc(m);
    const int x = short(LOWORD(m.LParam)), y = short(HIWORD(m.LParam));
    TControl* client = DockClientAtTab(x, y);
    if (!client || client->DragMode() != dmAutomatic || client->DragKind() != dkDock) return;
    // The drag takes the mouse from here: the press ends for the pager as a release would end it.
    if (FControlState.Contains(csLButtonDown)) Perform(WM_LBUTTONUP, m.WParam & ~WPARAM(MK_LBUTTON), m.LParam);
    client->BeginDrag(false, -1);
}

void TLumOfficePager::CMDockClient(TMessage& m) {
    auto* rec = reinterpret_cast<TDockClientRec*>(m.LParam);
    m.Result = 0;
    TControl* client = rec && rec->DockSource ? rec->DockSource->Control() : nullptr;
    if (!client) return;
    if (TLumOfficePage* page = PageOfClient(client)) {
        page->SetPageIndex(PageCount() - 1);
        return;
    }
    // A failure while the client docks frees its new page and passes on.
    auto page = std::make_unique<TLumOfficePage>(this);
    TTempChange<TLumOfficePage*> docking(FNewDockPage, page.get());
    page->SetTabVisible(client->Visible());
    page->SetPager(this);
    TCustomControl::WndProc(m);
    client->SetAlign(alClient);
    if (auto* form = dynamic_cast<TCustomForm*>(client)) page->SetCaption(form->Caption());
    if (client->Visible()) SetActivePage(page.get());
    page.release();
}

void TLumOfficePager::DoAddDockClient(TControl* client, const TRect& rect) {
    if (!FNewDockPage) return TCustomControl::DoAddDockClient(client, rect);
    client->SetParent(FNewDockPage);
}

void TLumOfficePager::CMDockNotification(TMessage& m) {
    auto* client = reinterpret_cast<TControl*>(m.WParam);
    auto* rec = reinterpret_cast<TDockNotifyRec*>(m.LParam);
    TLumOfficePage* page = rec ? PageOfClient(client) : nullptr;
    if (page && rec->ClientMsg == WM_SETTEXT) {
        String text = rec->MsgLParam ? reinterpret_cast<const char*>(rec->MsgLParam) : "";
        if (auto* form = dynamic_cast<TCustomForm*>(client))
            text = form->Caption();
        else if (const size_t end = text.find_first_of("\r\n"); end != String::npos)
            text.resize(end);
        page->SetCaption(text);
    } else if (page && rec->ClientMsg == CM_VISIBLECHANGED) {
        page->SetTabVisible(rec->MsgWParam != 0);
    }
    TCustomControl::WndProc(m);
}

void TLumOfficePager::CMUnDockClient(TMessage& m) {
    m.Result = 0;
    auto* client = reinterpret_cast<TControl*>(m.LParam);
    if (TLumOfficePage* page = PageOfClient(client)) {
        FUndockPage = page;
        client->SetAlign(alNone);
    }
}

void TLumOfficePager::DoRemoveDockClient(TControl* client) {
    TLumOfficePage* page = std::exchange(FUndockPage, nullptr);
    // A page freed with its client (its children go with it) is on its way already.
    if (IsDestroying() || !page || page->IsDestroying() || page->ContainsControl(client)) return;
    // Only the active page hands the selection on; another page's going keeps it.
    if (page == ActivePage()) SelectNextPage(true);
    delete page;
}

void TLumOfficePager::DockOver(TDragDockObject* source, int x, int y, TDragState state, bool& accept) {
    RECT r{};
    GetWindowRect(Handle(), &r);
    source->DockRect = Rect(r.left, r.top, r.right, r.bottom);
    TCustomControl::DockOver(source, x, y, state, accept);
}
