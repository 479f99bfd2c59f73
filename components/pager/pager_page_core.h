// The office pager's page management without a window: the ordered page
// list, the active page, selection (with the OnChanging veto), stepping to
// the next selectable page, adding, removing and moving pages and closing a
// page (with the OnClosePage veto and FreeOnClose). The pager
// (lum_office_pager_win.h) is the host that shows and hides the page
// windows and fires the events; a test is a host that logs them:
//
//   TPagerPageCore core(host);
//   core.AddPage(&a); core.AddPage(&b);
//   core.SetLoaded(true);             // OnChanging is asked from here on
//   core.SelectPage(1);               // host: Changing(-1, 1), Enter, Changed
//
// Removing or moving a page while the active page stays sets the active
// index to that page's new place directly: no events, no veto. The active
// index never names a removed page, and is -1 with no pages.
#pragma once

#include <vector>

// What the page list reads of a page.
class IPagerPageState {
public:
    virtual ~IPagerPageState() = default;
    virtual bool TabVisible() const = 0;
    virtual bool TabEnabled() const = 0;
};

// What the page list asks of its pager. Every call has a do-nothing
// default, so a test host overrides only what it watches.
class IPagerPageHost {
public:
    virtual ~IPagerPageHost() = default;
    // OnChanging: only asked once the pager is loaded and not destroying.
    virtual void Changing(int fromPage, int toPage, bool& allowChange) {}
    // The old active page goes out of sight (Visible false, then OnHide).
    virtual void LeavePage(IPagerPageState* page) {}
    // The new active page comes into sight and takes the focus from old;
    // fireShow: OnShow is due (not while loading).
    virtual void EnterPage(IPagerPageState* oldPage, IPagerPageState* newPage, bool fireShow) {}
    // OnChange: only while neither loading nor destroying.
    virtual void Changed() {}
    virtual void HideKeyTips() {}
    virtual void UpdateButtons() {}
    virtual void UpdateScroller() {}
    virtual void InvalidateTabs() {}
    // Scrolls the row so that the page's tab is shown (SetActivePageIndex).
    virtual void BringTabIntoView(int index) {}
    virtual void PageAdded(IPagerPageState* page) {}
    // The page has left the list: clear its back reference and free its
    // tab close button.
    virtual void PageRemoved(IPagerPageState* page) {}
    virtual void TabMoved(int fromPos, int toPos) {}
    // OnClosePage.
    virtual void ClosePage(int pageIndex, bool& allow) {}
    // Stops the page's hover animation before it closes.
    virtual void StopHover(IPagerPageState* page) {}
    // FreeOnClose: frees the page; its destruction calls RemovePage.
    virtual void FreePage(IPagerPageState* page) {}
    // Without FreeOnClose: the page's tab and the page are hidden.
    virtual void HideClosedPage(IPagerPageState* page) {}
    // OnClosedPage.
    virtual void ClosedPage(int pageIndex) {}
};

class TPagerPageCore {
public:
    explicit TPagerPageCore(IPagerPageHost& host) : FHost(host) {}

    int PageCount() const { return int(FPages.size()); }
    // nullptr for a bad index.
    IPagerPageState* Page(int index) const;
    int IndexOfPage(const IPagerPageState* page) const;
    int ActivePageIndex() const { return FActivePageIndex; }
    IPagerPageState* ActivePage() const { return Page(FActivePageIndex); }
    int VisibleTabCount() const;
    bool IsTabVisible(int index) const;

    // States that hold events back: OnChanging is asked only once loaded,
    // OnShow and OnChange not while loading, neither while destroying.
    bool Loaded() const { return FLoaded; }
    void SetLoaded(bool value) { FLoaded = value; }
    bool Loading() const { return FLoading; }
    void SetLoading(bool value) { FLoading = value; }
    bool Destroying() const { return FDestroying; }
    void SetDestroying(bool value) { FDestroying = value; }
    bool FreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool value) { FFreeOnClose = value; }
    bool Closing() const { return FClosing; }

    // The selection routine; a single page can be selected again.
    void SelectPage(int index);
    // Brings the tab into view, selects it and repaints the row.
    void SetActivePageIndex(int index);
    // Pages not in the list are ignored.
    void SetActivePage(IPagerPageState* page);
    // The next (or previous) page, round the end, whose tab is visible and
    // enabled; nothing when no page is active or none qualifies.
    void SelectNextPage(bool goForward);

    // Returns the page's index (appended when new).
    int AddPage(IPagerPageState* page);
    void RemovePage(IPagerPageState* page);
    void MovePage(int fromIndex, int toIndex);
    // A close request for pageIndex; ignored while a close runs.
    void ClosePage(int pageIndex);

    // Forgets every page (the pager's destruction).
    void Clear() {
        FPages.clear();
        FActivePageIndex = -1;
    }

private:
    IPagerPageHost& FHost;
    std::vector<IPagerPageState*> FPages;
    int FActivePageIndex = -1;
    bool FLoaded = false;
    bool FLoading = false;
    bool FDestroying = false;
    bool FFreeOnClose = false;
    bool FClosing = false;
};
