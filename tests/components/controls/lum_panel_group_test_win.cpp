// The panel group: rows and columns, hidden panels, its scroll bar and the
// wheel, re-arranging when a child changes, and its list of panels.
#include <gtest/gtest.h>

#include "classlib/core/clock.h"
#include "components/controls/lum_panel_group_win.h"
#include "panel_test_support_win.h"

using namespace panel_test;

namespace {

class LumPanelGroupTest : public PanelFormTest {
protected:
    void SetUp() override {
        PanelFormTest::SetUp();
        form = new TForm(Application);
        form->SetBounds(0, 0, 500, 400);
        group = NewObject<TLumPanelGroup>(form);
        group->SetParent(form);
        group->SetBevelOuter(bvNone);
        group->SetBounds(0, 0, 200, 100);
    }
    TLumPanel* Add(int top, int height, bool visible = true) {
        group->BeginUpdate();
        auto* p = NewObject<TLumPanel>(form);
        p->SetVisible(visible);
        p->SetParent(group);
        p->SetBounds(0, top, 50, height);
        group->EndUpdate();
        return p;
    }
    void Rearrange() {
        group->UpdateScrollBar();
        group->Arrange();
    }
    TLumPanelGroup* group = nullptr;
};

TEST_F(LumPanelGroupTest, OneColumnStacksFromTheTopAndScrolls) {
    TLumPanel* c = Add(30, 70);
    TLumPanel* a = Add(10, 50);
    TLumPanel* b = Add(20, 60);
    Rearrange();
    // The bar is shown (212 needed in 100): the panels leave room for it.
    EXPECT_EQ(a->BoundsRect(), Bounds(8, 8, 200 - 16 - 16, 50));
    EXPECT_EQ(b->Top(), 66);
    EXPECT_EQ(c->Top(), 134);
    TScrollBar* bar = group->ScrollBar();
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(bar->Kind(), sbVertical);
    EXPECT_EQ(bar->Max(), 212);
    EXPECT_EQ(bar->PageSize(), 100);
    EXPECT_EQ(bar->LargeChange(), 33);
    // The wheel moves the bar by twice its small step and the panels with it.
    group->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
    EXPECT_EQ(bar->Position(), 4);
    EXPECT_EQ(a->Top(), 8 - 4);
    group->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(bar->Position(), 0);
    // Room enough: no bar.
    group->SetHeight(300);
    Rearrange();
    EXPECT_FALSE(bar->Visible());
}

TEST_F(LumPanelGroupTest, TwoColumns) {
    TLumPanel* a = Add(1, 40);
    TLumPanel* b = Add(2, 40);
    TLumPanel* c = Add(3, 30);
    group->SetColumns(2);
    EXPECT_EQ(a->BoundsRect(), Bounds(8, 8, 92, 40));
    EXPECT_EQ(b->BoundsRect(), Bounds(104, 8, 92, 40));
    EXPECT_EQ(c->BoundsRect(), Bounds(8, 56, 92, 30));
    // The last, partial row counts: 94 needed in a 60-pixel group shows the bar.
    group->SetHeight(60);
    Rearrange();
    EXPECT_TRUE(group->ScrollBar()->Visible());
    EXPECT_EQ(group->ScrollBar()->Max(), 8 + 48 + 38);
    group->SetColumns(0);
    EXPECT_EQ(group->Columns(), 2);
    group->SetColumns(-3);
    EXPECT_EQ(group->Columns(), 2);
}

TEST_F(LumPanelGroupTest, HiddenPanelsAddNoHeight) {
    TLumPanel* a = Add(1, 50);
    TLumPanel* hidden = Add(2, 60, false);
    TLumPanel* c = Add(3, 70);
    group->SetHeight(300);
    Rearrange();
    EXPECT_EQ(a->Top(), 8);
    EXPECT_EQ(hidden->Top(), 66);
    EXPECT_EQ(c->Top(), 66);
}

TEST_F(LumPanelGroupTest, HorizontalStyle) {
    TLumPanel* a = Add(0, 10);
    a->SetLeft(50);
    TLumPanel* b = Add(0, 10);
    b->SetLeft(5);
    group->SetGroupStyle(gsHorizontal);
    EXPECT_EQ(b->BoundsRect(), Bounds(8, 8, 50, 84));
    EXPECT_EQ(a->BoundsRect(), Bounds(66, 8, 50, 84));
    // 8 + 58 + 58 = 124 fits in 200; at 100 wide the bar shows at the bottom.
    EXPECT_FALSE(group->ScrollBar()->Visible());
    group->SetWidth(100);
    Rearrange();
    EXPECT_TRUE(group->ScrollBar()->Visible());
    EXPECT_EQ(group->ScrollBar()->Kind(), sbHorizontal);
    EXPECT_EQ(group->ScrollBar()->Align(), alBottom);
    EXPECT_EQ(group->ScrollBar()->Max(), 124);
}

TEST_F(LumPanelGroupTest, ACollapsingChildRearrangesTheGroupAtEveryStep) {
    TManualClock clock;
    TClockScope scope(clock);
    TLumPanel* a = Add(1, 80);
    TLumPanel* b = Add(2, 40);
    group->SetHeight(300);
    Rearrange();
    ASSERT_EQ(b->Top(), 96);
    a->SetCollapsSteps(4);
    // Where b is at every millisecond of the pauses between the steps.
    std::vector<int> tops;
    auto timer = clock.StartTimer(1, [&] {
        if (tops.empty() || tops.back() != b->Top()) tops.push_back(b->Top());
    });
    a->SetCollaps(true);
    timer.reset();
    // a shrinks by (80 - 20) div 4 = 15 a step: 65, 50, 35, 20, then 18.
    EXPECT_EQ(tops, (std::vector<int>{8 + 65 + 8, 8 + 50 + 8, 8 + 35 + 8, 8 + 20 + 8}));
    EXPECT_EQ(b->Top(), 8 + 18 + 8);
}

TEST_F(LumPanelGroupTest, APanelFreedElsewhereLeavesTheList) {
    TLumPanel* a = Add(1, 40);
    TLumPanel* b = Add(2, 40);
    group->ChildPanelChanged(a);
    group->ChildPanelChanged(b);
    ASSERT_EQ(group->Panels().size(), 2u);
    delete a;
    EXPECT_EQ(group->Panels(), (std::vector<TCustomLumPanel*>{b}));
    group->Arrange();
    EXPECT_EQ(b->Top(), 8);
}

const char* const kLayout = R"(object Form1: TForm
  ClientHeight = 300
  ClientWidth = 400
  object Group1: TLumPanelGroup
    Width = 200
    Height = 300
    BevelOuter = bvNone
    Columns = 1
    VertPadding = 4
    object P2: TLumPanel
      Top = 100
      Height = 30
    end
    object P1: TLumPanel
      Top = 10
      Height = 20
    end
  end
end
)";

TEST_F(LumPanelGroupTest, ALoadedGroupArrangesAndKnowsItsPanels) {
    Load(kLayout);
    auto* g = Find<TLumPanelGroup>("Group1");
    auto* p1 = Find<TLumPanel>("P1");
    auto* p2 = Find<TLumPanel>("P2");
    EXPECT_EQ(p1->BoundsRect(), Bounds(8, 4, 184, 20));
    EXPECT_EQ(p2->Top(), 4 + 20 + 4);
    EXPECT_EQ(g->Panels().size(), 2u);
    std::unique_ptr<TLumPanelGroup> fresh(NewObject<TLumPanelGroup>(nullptr));
    EXPECT_EQ(FindDefaultDrifts(fresh.get()), std::vector<String>{});
    // Freed with the form: the panels once, by their parent.
}

}  // namespace
