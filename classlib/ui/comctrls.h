// Common controls: the page control, a set of pages under tabs, drawn by
// the system's tab control (comctl32's "SysTabControl32").
#pragma once

#include <vector>

#include "classlib/ui/stdctrls.h"

class TTabSheet;

// OnChanging: AllowChange false keeps the current page.
using TTabChangingEvent = TEvent<TObject* /*Sender*/, bool& /*AllowChange*/>;

// Pages (TTabSheet children) of which one, the active page, shows in the
// area under the tabs. Every page whose TabVisible is set has a tab, in
// page order.
class TPageControl : public TWinControl {
    QL_CLASS(TPageControl, TWinControl)
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return int(FPages.size()); }
    // Raises EListError "List index out of bounds (%d)" for a bad index.
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    // Shows page (one of this control's, or nullptr for none).
    void SetActivePage(TTabSheet* page);
    // The active page's index, -1 for none; an index out of range shows no
    // page.
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // The selected tab, -1 for none.
    int TabIndex() const;
    // The page after (or before) current, wrapping round; with
    // checkTabVisible only pages that have a tab.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
    void SelectNextPage(bool goForward, bool checkTabVisible = true);

    // The user is about to choose another tab.
    TTabChangingEvent OnChanging;
    // The user chose another tab; ActivePage is the new page.
    TNotifyEvent OnChange;

    void AdjustClientRect(TRect& rect) override;
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void Loaded() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    virtual bool CanChange();
    virtual void Change();

    // ---- Message handlers ----
    void CMControlChange(TMessage& message);
    void CNNotify(TMessage& message);
    void CMDialogKey(TMessage& message);
    void CMFontChanged(TMessage& message);

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TControl* page);
    void MovePage(TTabSheet* page, int index);
    void ChangeActivePage(TTabSheet* page);
    // Makes the window's tabs those of the pages again.
    void UpdateTabs();
    TTabSheet* PageForTab(int tabIndex) const;

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};

// A page of a page control: a container that fills the area under the
// tabs. The layout places a page in its page control by nesting it there.
class TTabSheet : public TWinControl {
    QL_CLASS(TTabSheet, TWinControl)
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* pageControl) { SetParent(pageControl); }
    // The place among the page control's pages (-1 without one).
    int PageIndex() const;
    void SetPageIndex(int index);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    // The tab's index among the shown tabs, -1 while it has none.
    int TabIndex() const;

    void SetParentComponent(TComponent* parent) override;
    void WndProc(TMessage& message) override;

protected:
    // ---- Message handlers ----
    void CMTextChanged(TMessage& message);

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};
