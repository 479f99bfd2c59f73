#include "components/pager/pager_page_core.h"

#include <algorithm>

IPagerPageState* TPagerPageCore::Page(int index) const {
    return index >= 0 && index < PageCount() ? FPages[size_t(index)] : nullptr;
}

int TPagerPageCore::IndexOfPage(const IPagerPageState* page) const {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    return it == FPages.end() ? -1 : int(it - FPages.begin());
}

int TPagerPageCore::VisibleTabCount() const {
    return int(std::count_if(FPages.begin(), FPages.end(), [](IPagerPageState* p) { return p->TabVisible(); }));
}

bool TPagerPageCore::IsTabVisible(int index) const {
    IPagerPageState* page = Page(index);
    return page && page->TabVisible();
}

void TPagerPageCore::SelectPage(int index) {
    if (index < 0 || index >= PageCount() || (index == FActivePageIndex && PageCount() != 1)) return;
    FHost.HideKeyTips();
    bool allow = true;
    if (FLoaded && !FDestroying) FHost.Changing(FActivePageIndex, index, allow);
    if (!allow) return;
    IPagerPageState* oldPage = ActivePage();
    if (oldPage) FHost.LeavePage(oldPage);
    FActivePageIndex = index;
    FHost.UpdateButtons();
    FHost.EnterPage(oldPage, FPages[size_t(index)], !FLoading);
    if (!FDestroying && !FLoading) FHost.Changed();
}

void TPagerPageCore::SetActivePageIndex(int index) {
    if (index >= 0 && index < PageCount()) FHost.BringTabIntoView(index);
    SelectPage(index);
    FHost.InvalidateTabs();
}

void TPagerPageCore::SetActivePage(IPagerPageState* page) {
    const int index = IndexOfPage(page);
    if (index >= 0) SetActivePageIndex(index);
}

void TPagerPageCore::SelectNextPage(bool goForward) {
    int n = FActivePageIndex;
    if (n < 0) return;
    const int count = PageCount();
    for (int step = 0; step < count; ++step) {
        n = goForward ? (n + 1) % count : (n + count - 1) % count;
        IPagerPageState* page = FPages[size_t(n)];
        if (n != FActivePageIndex && page->TabVisible() && page->TabEnabled()) {
            SetActivePageIndex(n);
            return;
        }
    }
}

int TPagerPageCore::AddPage(IPagerPageState* page) {
    int index = IndexOfPage(page);
    if (index < 0) {
        FPages.push_back(page);
        index = PageCount() - 1;
    }
    FHost.PageAdded(page);
    FHost.InvalidateTabs();
    FHost.UpdateScroller();
    return index;
}

void TPagerPageCore::RemovePage(IPagerPageState* page) {
    const int index = IndexOfPage(page);
    if (index < 0) return;
    // The active page hands the selection on first (with its events).
    if (index == FActivePageIndex && !FDestroying) SelectNextPage(true);
    IPagerPageState* active = ActivePage();
    FPages.erase(FPages.begin() + index);
    // The page that stays active keeps the selection at its new place; a
    // removed page that could hand it to no other leaves none.
    FActivePageIndex = active == page ? -1 : IndexOfPage(active);
    FHost.PageRemoved(page);
    // No enabled page took the selection: the page now at the removed one's
    // place takes it, or the nearest one whose tab shows (enabled or not).
    if (active == page && !FDestroying) {
        for (int distance = 0; distance < PageCount() + index; ++distance) {
            const int after = index + distance, before = index - distance - 1;
            const int target = IsTabVisible(after) ? after : IsTabVisible(before) ? before : -1;
            if (target >= 0) {
                SetActivePageIndex(target);
                break;
            }
        }
    }
    if (!FDestroying) {
        FHost.UpdateButtons();
        FHost.UpdateScroller();
    }
    FHost.InvalidateTabs();
}

void TPagerPageCore::MovePage(int fromIndex, int toIndex) {
    if (fromIndex < 0 || fromIndex >= PageCount() || toIndex < 0 || toIndex >= PageCount()) return;
    IPagerPageState* active = ActivePage();
    IPagerPageState* moved = FPages[size_t(fromIndex)];
    FPages.erase(FPages.begin() + fromIndex);
    FPages.insert(FPages.begin() + toIndex, moved);
    FActivePageIndex = IndexOfPage(active);
    FHost.UpdateScroller();
    FHost.InvalidateTabs();
    FHost.TabMoved(fromIndex, toIndex);
}

void TPagerPageCore::ClosePage(int pageIndex) {
    IPagerPageState* page = Page(pageIndex);
    if (!page || FClosing) return;
    FClosing = true;
    struct TGuard {
        bool& Flag;
        ~TGuard() { Flag = false; }
    } guard{FClosing};
    bool allow = true;
    FHost.ClosePage(pageIndex, allow);
    if (!allow) return;
    FHost.StopHover(page);
    if (pageIndex == FActivePageIndex) SelectNextPage(true);
    IPagerPageState* remembered = ActivePage();
    FHost.InvalidateTabs();
    if (FFreeOnClose) {
        FHost.FreePage(page);
        // The freed page was removed from the list; if it was still the
        // active one, no page is selected again.
        if (IndexOfPage(page) >= 0) RemovePage(page);
        if (remembered == page) remembered = nullptr;
        FActivePageIndex = -1;
        SetActivePage(remembered);
    } else {
        FHost.HideClosedPage(page);
    }
    FHost.UpdateScroller();
    FHost.ClosedPage(pageIndex);
}
