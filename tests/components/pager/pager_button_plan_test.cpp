#include "components/pager/pager_button_plan.h"

#include <gtest/gtest.h>

namespace {

struct Fixture {
    TFixedPitchMeasurer measurer;
    TPagerLayoutInput in;
    TPagerTabLayout layout{in, measurer};

    explicit Fixture(int width = 471) {
        in.Client = Rect(0, 0, width, 238);
        for (const char* caption : {"Editor Settings", "IDE Style", "Output Settings"}) {
            TPagerLayoutPage page;
            page.Caption = caption;
            in.Pages.push_back(page);
        }
        in.ActivePageIndex = 0;
    }
    TPagerButtonPlan Plan(TReplacedPictures replaced = {}) {
        layout.UpdateScroller();
        return PlanPagerButtons(layout, in, replaced);
    }
};

TEST(PagerButtonPlan, NoButtonsByDefault) {
    Fixture f;
    const TPagerButtonPlan plan = f.Plan();
    EXPECT_FALSE(plan.SharedClose.Exists);
    EXPECT_FALSE(plan.PageList.Exists);
    EXPECT_FALSE(plan.Prev.Exists);
    for (const TPagerButtonSlot& slot : plan.TabClose) EXPECT_FALSE(slot.Exists);
}

TEST(PagerButtonPlan, CloseAndPageListButtonsAreDisabledWithoutVisibleTabs) {
    Fixture f;
    f.in.CloseButton = f.in.PageListButton = true;
    TPagerButtonPlan plan = f.Plan();
    EXPECT_TRUE(plan.SharedClose.Exists);
    EXPECT_TRUE(plan.SharedClose.Enabled);
    EXPECT_EQ(plan.SharedClose.Picture, bpicClose);
    EXPECT_EQ(plan.PageList.Place, f.layout.PageListButtonRect());
    EXPECT_TRUE(plan.PageList.Enabled);
    for (TPagerLayoutPage& p : f.in.Pages) p.TabVisible = false;
    plan = f.Plan();
    EXPECT_FALSE(plan.SharedClose.Enabled);
    EXPECT_FALSE(plan.PageList.Enabled);
    // The active page without ShowClose: the shared button is disabled.
    for (TPagerLayoutPage& p : f.in.Pages) p.TabVisible = true;
    f.in.Pages[0].ShowClose = false;
    EXPECT_FALSE(f.Plan().SharedClose.Enabled);
}

// The shared close button is enabled by the active page's ShowClose, by
// CloseButton alone while no page is active, and whenever close glyphs show
// on every tab.
TEST(PagerButtonPlan, TheSharedCloseButtonsEnabledRule) {
    const struct {
        int Active;
        bool ShowClose, OnNonSelected, Enabled;
    } cases[] = {
        {0, true, false, true},  {0, false, false, false}, {0, false, true, true},
        {-1, true, false, true}, {-1, false, false, true}, {-1, false, true, true},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.in.CloseButton = true;
        f.in.ActivePageIndex = c.Active;
        f.in.ShowCloseOnNonSelectedTabs = c.OnNonSelected;
        for (TPagerLayoutPage& p : f.in.Pages) p.ShowClose = c.ShowClose;
        EXPECT_EQ(f.Plan().SharedClose.Enabled, c.Enabled) << c.Active << " " << c.ShowClose << " " << c.OnNonSelected;
    }
}

TEST(PagerButtonPlan, CloseGlyphsOnTabsShowOnTheActiveTabOrOnAll) {
    Fixture f;
    f.in.CloseButton = f.in.CloseOnTab = true;
    f.in.Pages[2].ShowClose = false;
    TPagerButtonPlan plan = f.Plan();
    EXPECT_FALSE(plan.SharedClose.Exists);
    EXPECT_TRUE(plan.TabClose[0].Exists);
    EXPECT_TRUE(plan.TabClose[0].Visible);
    EXPECT_EQ(plan.TabClose[0].Place, f.layout.TabCloseButtonRect(0));
    EXPECT_TRUE(plan.TabClose[1].Exists);
    EXPECT_FALSE(plan.TabClose[1].Visible);
    EXPECT_FALSE(plan.TabClose[2].Exists);
    f.in.ShowCloseOnNonSelectedTabs = true;
    EXPECT_TRUE(f.Plan().TabClose[1].Visible);
}

TEST(PagerButtonPlan, ScrollButtonsFollowTheScroller) {
    Fixture f(200);
    TPagerButtonPlan plan = f.Plan();
    ASSERT_TRUE(f.in.Scroller.Visible);
    EXPECT_TRUE(plan.Prev.Exists);
    EXPECT_FALSE(plan.Prev.Enabled);  // at the start
    EXPECT_TRUE(plan.Next.Enabled);
    EXPECT_FALSE(plan.First.Visible);  // only with FirstButton
    EXPECT_FALSE(plan.Last.Visible);
    EXPECT_EQ(plan.Prev.Place, f.layout.PrevButtonRect());
    EXPECT_EQ(plan.Next.Picture, bpicNext);
    f.in.Scroller.Position = 2;
    plan = PlanPagerButtons(f.layout, f.in, {});
    EXPECT_TRUE(plan.Prev.Enabled);
    EXPECT_FALSE(plan.Next.Enabled);
    // Left and right tabs show the up and down pictures, unless the user
    // replaced one.
    f.in.TabPosition = tpLeft;
    f.in.Client = Rect(0, 0, 200, 100);
    plan = f.Plan({false, false, false, true});
    EXPECT_EQ(plan.Prev.Picture, bpicUp);
    EXPECT_EQ(plan.Next.Picture, bpicNext);
    EXPECT_EQ(plan.First.Picture, bpicUpFirst);
    EXPECT_EQ(plan.Last.Picture, bpicDownLast);
}

TEST(PagerButtonPlan, ThePageListOpensBelowOrUpwardNearTheScreensBottom) {
    const TRect button = Rect(425, 7, 443, 25);
    EXPECT_EQ(PageListPopupPoint(tpTop, button, {100, 200}, 20, 3, 18, 1024), (TPoint{525, 225}));
    EXPECT_EQ(PageListPopupPoint(tpBottom, button, {100, 200}, 20, 3, 18, 1024), (TPoint{525, 225}));
    // 225 + 3 * 20 + 10 runs past 280: up by the items, the button and 4.
    EXPECT_EQ(PageListPopupPoint(tpBottom, button, {100, 200}, 20, 3, 18, 280), (TPoint{525, 225 - 60 - 18 - 4}));
    // Top tabs never open upward; left and right tabs open beside the button.
    EXPECT_EQ(PageListPopupPoint(tpTop, button, {100, 200}, 20, 3, 18, 280), (TPoint{525, 225}));
    EXPECT_EQ(PageListPopupPoint(tpLeft, button, {100, 200}, 20, 3, 18, 280), (TPoint{543, 207}));
}

}  // namespace
