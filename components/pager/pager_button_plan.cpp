#include "components/pager/pager_button_plan.h"

TPagerButtonPlan PlanPagerButtons(TPagerTabLayout& layout, const TPagerLayoutInput& in,
                                  const TReplacedPictures& replaced) {
    TPagerButtonPlan plan;
    const bool anyTab = layout.VisibleTabCount() > 0;
    const int pages = int(in.Pages.size());
    plan.TabClose.resize(size_t(pages));
    if (in.CloseButton && in.CloseOnTab) {
        for (int i = 0; i < pages; ++i) {
            TPagerButtonSlot& slot = plan.TabClose[size_t(i)];
            if (!in.Pages[size_t(i)].ShowClose) continue;
            slot.Exists = true;
            slot.Place = layout.TabCloseButtonRect(i);
            slot.Enabled = anyTab;
            slot.Visible = in.ShowCloseOnNonSelectedTabs || i == in.ActivePageIndex;
            slot.Picture = bpicClose;
        }
    } else if (in.CloseButton) {
        const bool active = in.ActivePageIndex >= 0 && in.ActivePageIndex < pages;
        // The active page's ShowClose (none active: the button alone), or
        // close glyphs shown on every tab.
        const bool canShow =
            !active || in.Pages[size_t(in.ActivePageIndex)].ShowClose || (in.ShowCloseOnNonSelectedTabs && pages > 0);
        plan.SharedClose = {true, layout.SharedCloseButtonRect(), anyTab && canShow, true, bpicClose};
    }
    if (in.PageListButton) plan.PageList = {true, layout.PageListButtonRect(), anyTab, true, bpicPageList};
    if (!in.Scroller.Visible) return plan;
    const bool side = in.TabPosition == tpLeft || in.TabPosition == tpRight;
    const bool back = in.Scroller.CanGoBack(), forward = in.Scroller.CanGoForward();
    plan.First = {true, layout.FirstButtonRect(), back, in.FirstButton,
                  side && !replaced.First ? bpicUpFirst : bpicFirst};
    plan.Last = {true, layout.LastButtonRect(), forward, in.LastButton,
                 side && !replaced.Last ? bpicDownLast : bpicLast};
    plan.Prev = {true, layout.PrevButtonRect(), back, true, side && !replaced.Prev ? bpicUp : bpicPrev};
    plan.Next = {true, layout.NextButtonRect(), forward, true, side && !replaced.Next ? bpicDown : bpicNext};
    return plan;
}

TPoint PageListPopupPoint(TTabPosition position, const TRect& buttonRect, TPoint pagerOrigin, int menuItemHeight,
                          int items, int buttonHeight, int monitorBottom) {
    if (position == tpLeft || position == tpRight)
        return {pagerOrigin.X + buttonRect.Right, pagerOrigin.Y + buttonRect.Top};
    TPoint p{pagerOrigin.X + buttonRect.Left, pagerOrigin.Y + buttonRect.Bottom};
    if (position == tpBottom && p.Y + menuItemHeight * items + 10 > monitorBottom)
        p.Y -= menuItemHeight * items + buttonHeight + 4;
    return p;
}
