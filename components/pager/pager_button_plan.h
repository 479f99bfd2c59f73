// Which of the office pager's own buttons exist, where they sit, whether
// they are enabled and shown and which picture they carry, and where the
// page list opens. Portable: the pager (lum_office_pager_buttons_win.cpp)
// makes, frees and places its glow buttons by the plan.
#pragma once

#include <vector>

#include "components/pager/pager_tab_layout.h"

// The pictures of the button settings a button can carry.
enum TPagerButtonPicture {
    bpicNone,
    bpicClose,
    bpicPageList,
    bpicFirst,
    bpicLast,
    bpicPrev,
    bpicNext,
    bpicUpFirst,   // left and right tabs: First, unless replaced
    bpicDownLast,  // Last
    bpicUp,        // Previous
    bpicDown       // Next
};

struct TPagerButtonSlot {
    bool Exists = false;
    TRect Place;
    bool Enabled = false;
    bool Visible = true;  // an invisible button also gets width 0
    TPagerButtonPicture Picture = bpicNone;
};

// Which scroll pictures the user replaced (the button settings' flags).
struct TReplacedPictures {
    bool First = false, Last = false, Prev = false, Next = false;
};

struct TPagerButtonPlan {
    TPagerButtonSlot SharedClose;
    std::vector<TPagerButtonSlot> TabClose;  // one per page
    TPagerButtonSlot PageList;
    TPagerButtonSlot First, Last, Prev, Next;
};

// The plan for the layout's input (its scroller as UpdateScroller left it).
TPagerButtonPlan PlanPagerButtons(TPagerTabLayout& layout, const TPagerLayoutInput& in,
                                  const TReplacedPictures& replaced);

// The screen point the page list opens at: below the button for top and
// bottom tabs, right of it for left and right tabs; for bottom tabs a menu
// that would run past the monitor's bottom opens upward. buttonRect is in
// the pager's client coordinates, pagerOrigin the pager's top-left corner
// on the screen.
TPoint PageListPopupPoint(TTabPosition position, const TRect& buttonRect, TPoint pagerOrigin, int menuItemHeight,
                          int items, int buttonHeight, int monitorBottom);
