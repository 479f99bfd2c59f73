#include "components/pager/pager_tab_glow.h"

#include <algorithm>

void TTabGlow::Start(int step, TGlowState state, bool glow) {
    FStep = step;
    FState = state;
    if (glow && !FTimer) FTimer = Clock().StartTimer(Interval, [this] { TimerStep(); });
}

void TTabGlow::Finish() {
    FTimer.reset();
    FState = gsIdle;
}

void TTabGlow::TimerStep() {
    if (FState == gsClick) {
        FClickPosition += FStep;
        if ((FStep > 0 && FClickPosition > 100) || (FStep < 0 && FClickPosition < 0)) {
            Finish();
            FClickPosition = 0;
            return;
        }
        FHost.RepaintTabs();
        return;
    }
    if (FState != gsHover) return;
    FPosition += FStep;
    const bool top = FStep > 0 && FPosition > 100 && FHost.HasPager();
    const bool bottom = FStep < 0 && FPosition < 0;
    if (!top && !bottom) {
        FHost.RepaintTabs();
        return;
    }
    if (top) {
        FPosition = 120;
        // Full glow: it holds while the cursor stays on the tab.
        if (!FHost.CursorOnTab()) {
            FStep = -20;
            FHost.ClearHotTab();
        }
    } else {
        Finish();
        FHost.RepaintTabs();
    }
    FClickPosition = 0;
    FPosition = std::clamp(FPosition, -20, 120);
}
