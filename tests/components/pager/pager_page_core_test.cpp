#include "components/pager/pager_page_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Page : IPagerPageState {
    std::string Name;
    bool Visible = true;
    bool Enabled = true;
    explicit Page(std::string name) : Name(std::move(name)) {}
    bool TabVisible() const override { return Visible; }
    bool TabEnabled() const override { return Enabled; }
};

std::string NameOf(IPagerPageState* p) { return p ? static_cast<Page*>(p)->Name : "-"; }

// Logs the events a pager would fire.
struct Host : IPagerPageHost {
    std::vector<std::string> Log;
    bool AllowChange = true;
    bool AllowClose = true;
    TPagerPageCore* Core = nullptr;
    std::vector<std::unique_ptr<Page>>* Owned = nullptr;

    void Changing(int from, int to, bool& allow) override {
        Log.push_back("changing " + std::to_string(from) + ">" + std::to_string(to));
        allow = AllowChange;
    }
    void LeavePage(IPagerPageState* p) override { Log.push_back("hide " + NameOf(p)); }
    void EnterPage(IPagerPageState*, IPagerPageState* p, bool fireShow) override {
        Log.push_back((fireShow ? "show " : "enter ") + NameOf(p));
    }
    void Changed() override { Log.push_back("change"); }
    void TabMoved(int from, int to) override {
        Log.push_back("moved " + std::to_string(from) + ">" + std::to_string(to));
    }
    void ClosePage(int index, bool& allow) override {
        Log.push_back("close? " + std::to_string(index));
        allow = AllowClose;
    }
    void ClosedPage(int index) override { Log.push_back("closed " + std::to_string(index)); }
    void HideClosedPage(IPagerPageState* p) override {
        static_cast<Page*>(p)->Visible = false;
        Log.push_back("tab hidden " + NameOf(p));
    }
    void FreePage(IPagerPageState* p) override {
        // As a page's destructor does: it leaves the pager first.
        Log.push_back("free " + NameOf(p));
        Core->RemovePage(p);
        Owned->erase(std::find_if(Owned->begin(), Owned->end(), [p](auto& o) { return o.get() == p; }));
    }
};

struct Fixture : ::testing::Test {
    Host host;
    TPagerPageCore core{host};
    std::vector<std::unique_ptr<Page>> pages;

    Fixture() {
        host.Core = &core;
        host.Owned = &pages;
    }
    Page* Add(const std::string& name) {
        pages.push_back(std::make_unique<Page>(name));
        core.AddPage(pages.back().get());
        return pages.back().get();
    }
    void Three(int active = 0) {
        Add("a");
        Add("b");
        Add("c");
        core.SetLoaded(true);
        core.SelectPage(active);
        host.Log.clear();
    }
    std::string Active() { return NameOf(core.ActivePage()); }
};

using Log = std::vector<std::string>;

// A core of its own with three loaded pages a, b and c, active selected
// and the log cleared: one row of a removal table.
struct TThreePages {
    Host h;
    TPagerPageCore core{h};
    Page a{"a"}, b{"b"}, c{"c"};
    Page* all[3] = {&a, &b, &c};
    explicit TThreePages(int active) {
        for (Page* p : all) core.AddPage(p);
        core.SetLoaded(true);
        core.SelectPage(active);
        h.Log.clear();
    }
};

TEST_F(Fixture, SelectingFiresChangingThenHideShowChange) {
    Three();
    core.SelectPage(2);
    EXPECT_EQ(host.Log, (Log{"changing 0>2", "hide a", "show c", "change"}));
    EXPECT_EQ(core.ActivePageIndex(), 2);
    host.Log.clear();
    core.SelectPage(2);  // already active: nothing
    core.SelectPage(3);
    core.SelectPage(-1);
    EXPECT_TRUE(host.Log.empty());
}

TEST_F(Fixture, AVetoKeepsEverything) {
    Three();
    host.AllowChange = false;
    core.SelectPage(1);
    EXPECT_EQ(host.Log, (Log{"changing 0>1"}));
    EXPECT_EQ(core.ActivePageIndex(), 0);
}

TEST_F(Fixture, TheOnlyPageCanBeSelectedAgain) {
    Add("a");
    core.SetLoaded(true);
    core.SelectPage(0);
    host.Log.clear();
    core.SelectPage(0);
    EXPECT_EQ(host.Log, (Log{"changing 0>0", "hide a", "show a", "change"}));
}

TEST_F(Fixture, EventsAreHeldBackUntilLoaded) {
    Add("a");
    Add("b");
    core.SetLoading(true);
    core.SelectPage(1);
    EXPECT_EQ(host.Log, (Log{"enter b"}));  // no OnChanging, OnShow or OnChange
    host.Log.clear();
    core.SetLoading(false);
    core.SelectPage(0);  // not loaded yet: not asked, but shown and told
    EXPECT_EQ(host.Log, (Log{"hide b", "show a", "change"}));
    host.Log.clear();
    core.SetLoaded(true);
    core.SetDestroying(true);
    core.SelectPage(1);
    EXPECT_EQ(host.Log, (Log{"hide a", "show b"}));
}

TEST_F(Fixture, NextPageSkipsHiddenAndDisabledTabsAndWraps) {
    Three();
    pages[1]->Enabled = false;
    core.SelectNextPage(true);
    EXPECT_EQ(Active(), "c");
    core.SelectNextPage(true);
    EXPECT_EQ(Active(), "a");
    pages[2]->Visible = false;
    core.SelectNextPage(false);  // b disabled, c hidden: stays
    EXPECT_EQ(Active(), "a");
    pages[1]->Enabled = true;
    core.SelectNextPage(false);
    EXPECT_EQ(Active(), "b");
    // No active page: nothing.
    TPagerPageCore empty(host);
    empty.SelectNextPage(true);
    EXPECT_EQ(empty.ActivePageIndex(), -1);
}

TEST_F(Fixture, RemovingBeforeAtAndAfterTheActivePage) {
    struct Case {
        int Active, Removed;
        std::string Then;
        int Index;
        Log Events;
    };
    const Case cases[] = {
        {1, 0, "b", 0, {}},                                              // before: same page, one lower, no events
        {1, 2, "b", 1, {}},                                              // after: unchanged
        {1, 1, "c", 1, {"changing 1>2", "hide b", "show c", "change"}},  // at: the next page
        {2, 2, "a", 0, {"changing 2>0", "hide c", "show a", "change"}},  // at the end: wraps
    };
    for (const Case& c : cases) {
        TThreePages t(c.Active);
        t.core.RemovePage(t.all[c.Removed]);
        EXPECT_EQ(NameOf(t.core.ActivePage()), c.Then) << c.Active << " " << c.Removed;
        EXPECT_EQ(t.core.ActivePageIndex(), c.Index) << c.Active << " " << c.Removed;
        EXPECT_EQ(t.h.Log, c.Events) << c.Active << " " << c.Removed;
        EXPECT_EQ(t.core.PageCount(), 2);
    }
}

// Removal before, at and after the active page while the other pages are
// disabled or hidden: a shown page stays selected whenever one is left.
TEST_F(Fixture, RemovingWithTheOtherPagesDisabledOrHidden) {
    struct Case {
        int Active, Removed;
        const char* Others;  // per page: '.' as it is, 'd' disabled, 'h' hidden
        std::string Then;
    };
    const Case cases[] = {
        {1, 1, "d.d", "c"},  // at: the page now at its place, disabled or not
        {2, 2, "dd.", "b"},  // at the end: the nearest before
        {0, 0, ".hd", "c"},  // at: the hidden one is passed over
        {1, 1, "h.h", "-"},  // at, every other tab hidden: none
        {1, 1, "d.h", "a"},  // at: the hidden one after, the disabled one before
        {1, 0, "d.d", "b"},  // before: unchanged
        {1, 2, "h.d", "b"},  // after: unchanged
        {0, 2, ".hh", "a"},  // after, the others hidden: unchanged
    };
    for (const Case& c : cases) {
        TThreePages t(c.Active);
        for (int i = 0; i < 3; ++i) {
            t.all[i]->Enabled = c.Others[i] != 'd';
            t.all[i]->Visible = c.Others[i] != 'h';
        }
        t.core.RemovePage(t.all[c.Removed]);
        const std::string where = std::to_string(c.Active) + " " + std::to_string(c.Removed) + " " + c.Others;
        EXPECT_EQ(NameOf(t.core.ActivePage()), c.Then) << where;
        EXPECT_EQ(t.core.ActivePageIndex(), t.core.IndexOfPage(t.core.ActivePage())) << where;
    }
}

TEST_F(Fixture, TheActiveIndexNeverNamesARemovedPage) {
    Three(1);
    // Vetoed hand-over: the removed page cannot stay selected.
    host.AllowChange = false;
    core.RemovePage(pages[1].get());
    EXPECT_EQ(core.ActivePageIndex(), -1);
    EXPECT_EQ(core.ActivePage(), nullptr);
    host.AllowChange = true;
    // Every other tab hidden: nothing to hand over to.
    core.SelectPage(0);
    pages[2]->Visible = false;
    core.RemovePage(pages[0].get());
    EXPECT_EQ(core.ActivePageIndex(), -1);
    core.SelectPage(0);
    core.RemovePage(pages[2].get());
    EXPECT_EQ(core.PageCount(), 0);
    EXPECT_EQ(core.ActivePageIndex(), -1);
    core.RemovePage(pages[2].get());  // not listed: nothing
}

TEST_F(Fixture, MovingKeepsTheActivePageWithoutEvents) {
    Three(0);
    core.MovePage(0, 2);
    EXPECT_EQ(host.Log, (Log{"moved 0>2"}));
    EXPECT_EQ(core.ActivePageIndex(), 2);
    EXPECT_EQ(Active(), "a");
    EXPECT_EQ(NameOf(core.Page(0)), "b");
    host.Log.clear();
    core.MovePage(1, 0);
    EXPECT_EQ(core.ActivePageIndex(), 2);
    core.MovePage(0, 3);  // out of range
    core.MovePage(-1, 0);
    EXPECT_EQ(host.Log, (Log{"moved 1>0"}));
}

TEST_F(Fixture, ClosingWithoutFreeOnCloseHidesTheTab) {
    Three(1);
    core.ClosePage(1);
    EXPECT_EQ(host.Log, (Log{"close? 1", "changing 1>2", "hide b", "show c", "change", "tab hidden b", "closed 1"}));
    EXPECT_EQ(Active(), "c");
    EXPECT_EQ(core.PageCount(), 3);
    EXPECT_FALSE(pages[1]->Visible);
}

TEST_F(Fixture, AVetoedCloseChangesNothing) {
    Three(1);
    host.AllowClose = false;
    core.ClosePage(1);
    EXPECT_EQ(host.Log, (Log{"close? 1"}));
    EXPECT_TRUE(pages[1]->Visible);
    core.ClosePage(-1);
    core.ClosePage(5);
    EXPECT_EQ(host.Log.size(), 1u);
}

TEST_F(Fixture, ClosingWithFreeOnCloseFreesThePage) {
    Three(1);
    core.SetFreeOnClose(true);
    core.ClosePage(1);
    EXPECT_EQ(core.PageCount(), 2);
    EXPECT_EQ(Active(), "c");
    EXPECT_EQ(core.ActivePageIndex(), 1);
    EXPECT_EQ(host.Log.back(), "closed 1");
    // Closing a page that is not active keeps the active one.
    host.Log.clear();
    core.ClosePage(0);
    EXPECT_EQ(Active(), "c");
    EXPECT_EQ(core.ActivePageIndex(), 0);
}

TEST_F(Fixture, AClosedPageThatStaysRememberedCountsAsNone) {
    // The only selectable page is closed and freed: it cannot hand over,
    // and the freed page is not selected again.
    Add("a");
    core.SetLoaded(true);
    core.SelectPage(0);
    core.SetFreeOnClose(true);
    host.Log.clear();
    core.ClosePage(0);
    EXPECT_EQ(core.PageCount(), 0);
    EXPECT_EQ(core.ActivePageIndex(), -1);
    EXPECT_EQ(host.Log, (Log{"close? 0", "free a", "closed 0"}));
}

TEST_F(Fixture, ACloseRequestDuringACloseIsIgnored) {
    struct Reentrant : Host {
        void ClosePage(int index, bool& allow) override {
            Host::ClosePage(index, allow);
            Core->ClosePage(0);
        }
    } h;
    TPagerPageCore c(h);
    h.Core = &c;
    Page a("a"), b("b");
    c.AddPage(&a);
    c.AddPage(&b);
    c.ClosePage(1);
    EXPECT_EQ(h.Log, (Log{"close? 1", "tab hidden b", "closed 1"}));
    EXPECT_FALSE(c.Closing());
}

}  // namespace
