#include "classlib/ui/comctrls.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// The common controls' window classes are there once this has run.
void InitCommonControlClasses() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{};
        icc.dwSize = sizeof icc;
        icc.dwICC = ICC_TAB_CLASSES | ICC_STANDARD_CLASSES;
        InitCommonControlsEx(&icc);
        return true;
    }();
    (void)done;
}

}  // namespace

// ============================================================================
// TPageControl
// ============================================================================

TClass TPageControl::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPageControl>("TPageControl")
                                       .Publish(kControlProperties)
                                       .Publish(kWinControlProperties)
                                       .Prop("ActivePage", &TPageControl::FActivePage, &TPageControl::SetActivePage)
                                       .Prop("TabStop", &TPageControl::FTabStop, &TPageControl::SetTabStop)
                                       .Default(true)
                                       .Prop("OnChange", &TPageControl::OnChange, &TPageControl::OnChange)
                                       .Prop("OnChanging", &TPageControl::OnChanging, &TPageControl::OnChanging)
                                       .Build();
    return &info;
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    FControlStyle = {csAcceptsControls, csDoubleClicks};
    FWidth = 289;
    FHeight = 193;
    FTabStop = true;
}

TPageControl::~TPageControl() {
    // The pages outlive this part of the control (the windowed control
    // frees its children): they must not come back to it.
    for (TTabSheet* page : FPages) page->FPageControl = nullptr;
    FPages.clear();
    FActivePage = nullptr;
}

void TPageControl::CreateParams(TCreateParams& p) {
    InitCommonControlClasses();
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TABCONTROLA);
    p.Style |= TCS_TABS | WS_CLIPCHILDREN;
}

void TPageControl::CreateWnd() {
    TWinControl::CreateWnd();
    UpdateTabs();
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) RaiseListIndexError(index);
    return FPages[size_t(index)];
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(index >= 0 && index < PageCount() ? FPages[size_t(index)] : nullptr);
}

int TPageControl::TabIndex() const {
    if (FHandle) return int(SendMessageA(FHandle, TCM_GETCURSEL, 0, 0));
    return FActivePage ? FActivePage->TabIndex() : -1;
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const {
    if (tabIndex < 0) return nullptr;
    for (TTabSheet* page : FPages)
        if (page->FTabVisible && tabIndex-- == 0) return page;
    return nullptr;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
    int n = PageCount();
    if (n == 0) return nullptr;
    auto it = std::find(FPages.begin(), FPages.end(), current);
    int start = it == FPages.end() ? (goForward ? n - 1 : 0) : int(it - FPages.begin());
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        TTabSheet* page = FPages[size_t(i)];
        if (!checkTabVisible || page->FTabVisible) return page;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
    TTabSheet* page = FindNextPage(FActivePage, goForward, checkTabVisible);
    if (page && page != FActivePage && CanChange()) {
        ChangeActivePage(page);
        Change();
    }
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->FPageControl != this) return;
    ChangeActivePage(page);
}

void TPageControl::ChangeActivePage(TTabSheet* page) {
    if (FActivePage != page) {
        TCustomForm* form = GetParentForm(this);
        // The focus leaves a page that goes out of sight.
        if (form && FActivePage && FActivePage->ContainsControl(form->ActiveControl())) {
            if (CanFocus() && form->Showing())
                form->FocusControl(this);
            else
                form->DefocusControl(FActivePage, false);
        }
        TTabSheet* old = FActivePage;
        FActivePage = page;
        if (page) page->SetVisible(true);
        if (old) old->SetVisible(false);
    }
    if (FHandle) SendMessageA(FHandle, TCM_SETCURSEL, WPARAM(page ? page->TabIndex() : -1), 0);
}

void TPageControl::InsertPage(TTabSheet* page) {
    if (std::find(FPages.begin(), FPages.end(), page) != FPages.end()) return;
    FPages.push_back(page);
    page->FPageControl = this;
    UpdateTabs();
    // A page control with pages shows one of them.
    if (!FActivePage && !IsLoading() && !page->IsLoading() && page->FTabVisible) ChangeActivePage(page);
}

void TPageControl::RemovePage(TControl* control) {
    auto it = std::find_if(FPages.begin(), FPages.end(),
                           [control](TTabSheet* p) { return static_cast<TControl*>(p) == control; });
    if (it == FPages.end()) return;
    TTabSheet* page = *it;
    TTabSheet* next = nullptr;
    if (page == FActivePage && !IsDestroying()) {
        next = FindNextPage(page, true, true);
        if (next == page) next = nullptr;
    }
    FPages.erase(it);
    page->FPageControl = nullptr;
    if (page == FActivePage) {
        FActivePage = nullptr;
        if (next) ChangeActivePage(next);
    }
    UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end()) return;
    index = std::clamp(index, 0, PageCount() - 1);
    FPages.erase(it);
    FPages.insert(FPages.begin() + index, page);
    UpdateTabs();
}

void TPageControl::UpdateTabs() {
    if (!FHandle) return;
    SendMessageA(FHandle, TCM_DELETEALLITEMS, 0, 0);
    int tab = 0;
    for (TTabSheet* page : FPages) {
        if (!page->FTabVisible) continue;
        String caption = page->Caption();
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageA(FHandle, TCM_INSERTITEMA, WPARAM(tab++), LPARAM(&item));
    }
    SendMessageA(FHandle, TCM_SETCURSEL, WPARAM(FActivePage ? FActivePage->TabIndex() : -1), 0);
    // The tabs may take more or less room now.
    Realign();
}

void TPageControl::AdjustClientRect(TRect& rect) {
    TWinControl::AdjustClientRect(rect);
    if (FHandle) {
        RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
        SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, LPARAM(&r));
        rect = Rect(r.left, r.top, r.right, r.bottom);
        return;
    }
    // Until the window can tell: a row of tabs and a thin frame.
    int tabHeight = MeasureText(FFont, "Wg").cy + 8;
    rect = Rect(rect.Left + 4, rect.Top + tabHeight, rect.Right - 4, rect.Bottom - 4);
}

void TPageControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
    // Pages in page order, then anything else placed on the control.
    for (TTabSheet* page : FPages)
        if (page->Owner() == root) proc(page);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Owner() == root && std::find(FPages.begin(), FPages.end(), c) == FPages.end()) proc(c);
    }
}

void TPageControl::Loaded() {
    TWinControl::Loaded();
    if (!FActivePage)
        if (TTabSheet* first = FindNextPage(nullptr, true, true)) ChangeActivePage(first);
}

bool TPageControl::CanChange() {
    bool allow = true;
    OnChanging(this, allow);
    return allow;
}

void TPageControl::Change() { OnChange(this); }

void TPageControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_CONTROLCHANGE: return CMControlChange(m);
    case CN_NOTIFY: return CNNotify(m);
    case CM_DIALOGKEY: return CMDialogKey(m);
    case CM_FONTCHANGED: return CMFontChanged(m);
    default: return TWinControl::WndProc(m);
    }
}

// Pages join and leave with their parent.
void TPageControl::CMControlChange(TMessage& m) {
    if (m.LParam) {
        if (auto* page = dynamic_cast<TTabSheet*>(reinterpret_cast<TControl*>(m.WParam))) InsertPage(page);
    } else {
        RemovePage(reinterpret_cast<TControl*>(m.WParam));
    }
}

void TPageControl::CNNotify(TMessage& m) {
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    if (header->code == UINT(TCN_SELCHANGING)) {
        m.Result = CanChange() ? FALSE : TRUE;
        return;
    }
    if (header->code == UINT(TCN_SELCHANGE)) {
        ChangeActivePage(PageForTab(int(SendMessageA(FHandle, TCM_GETCURSEL, 0, 0))));
        Change();
        return;
    }
    TWinControl::WndProc(m);
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages.
void TPageControl::CMDialogKey(TMessage& m) {
    if (m.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && FActivePage && IsChild(FHandle, GetFocus())) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        m.Result = 1;
        return;
    }
    TWinControl::WndProc(m);
}

void TPageControl::CMFontChanged(TMessage& m) {
    TWinControl::WndProc(m);
    Realign();
}

// ============================================================================
// TTabSheet
// ============================================================================

TClass TTabSheet::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TTabSheet>("TTabSheet")
            .Publish({"Action",         "Caption",        "Color",       "Cursor",      "DragCursor",  "DragKind",
                      "DragMode",       "Enabled",        "Font",        "Hint",        "ParentColor", "ParentFont",
                      "ParentShowHint", "PopupMenu",      "ShowHint",    "OnClick",     "OnDblClick",  "OnDragDrop",
                      "OnDragOver",     "OnEndDrag",      "OnMouseDown", "OnMouseMove", "OnMouseUp",   "OnMouseEnter",
                      "OnMouseLeave",   "OnResize",       "OnStartDrag", "TabOrder",    "TabStop",     "DoubleBuffered",
                      "DockSite",       "UseDockManager", "OnEnter",     "OnExit",      "OnKeyDown",   "OnKeyPress",
                      "OnKeyUp"})
            // The page control places its pages.
            .Prop("Align", &TTabSheet::FAlign, &TTabSheet::SetAlign)
            .Stored(false)
            .Prop("Anchors", &TTabSheet::FAnchors, &TTabSheet::SetAnchors)
            .Stored(false)
            .Prop("Left", &TTabSheet::FLeft, &TTabSheet::SetLeft)
            .Stored(false)
            .Prop("Top", &TTabSheet::FTop, &TTabSheet::SetTop)
            .Stored(false)
            .Prop("Width", &TTabSheet::FWidth, &TTabSheet::SetWidth)
            .Stored(false)
            .Prop("Height", &TTabSheet::FHeight, &TTabSheet::SetHeight)
            .Stored(false)
            .Prop("Visible", &TTabSheet::FVisible, &TTabSheet::SetVisible)
            .Stored(false)
            .Prop("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex)
            .Stored(false)
            .Prop("TabVisible", &TTabSheet::FTabVisible, &TTabSheet::SetTabVisible)
            .Default(true)
            .Build();
    return &info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FAlign = alClient;
    FAnchors = {akLeft, akTop, akRight, akBottom};
    FVisible = false;
}

TTabSheet::~TTabSheet() {
    if (FPageControl) FPageControl->RemovePage(this);
}

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    auto& pages = FPageControl->FPages;
    return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
    if (FPageControl) FPageControl->MovePage(this, index);
}

int TTabSheet::TabIndex() const {
    if (!FPageControl || !FTabVisible) return -1;
    int tab = 0;
    for (TTabSheet* page : FPageControl->FPages) {
        if (page == this) return tab;
        if (page->FTabVisible) ++tab;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value) {
    if (FTabVisible == value) return;
    FTabVisible = value;
    if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::SetParentComponent(TComponent* parent) {
    if (auto* pageControl = dynamic_cast<TPageControl*>(parent))
        SetPageControl(pageControl);
    else
        TWinControl::SetParentComponent(parent);
}

void TTabSheet::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_TEXTCHANGED: return CMTextChanged(m);
    default: return TWinControl::WndProc(m);
    }
}

// The caption is the tab's text.
void TTabSheet::CMTextChanged(TMessage&) {
    if (FPageControl) FPageControl->UpdateTabs();
}
