// The pager as a dock site under Wine: a form and a plain control docked
// into it and floated again (captions, tabs and the active page after each
// step, GDI objects balanced), captions and tabs following their clients,
// the failure rule, clients and pages freed while docked, and the double
// click and the drag from a tab with the real mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ui/extctrls.h"
#include "classlib/ui/forms.h"
#include "components/pager/lum_office_pager_win.h"
#include "tests/classlib/ui/support/object_tally.h"
#include "tests/classlib/ui/support/real_mouse_support.h"
#include "tests/components/pager/pager_test_support_win.h"

using namespace real_mouse_test;

namespace {

void Pump() {
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
}

// A control that will not sit on a page.
class TRefusingPanel : public TPanel {
public:
    using TPanel::TPanel;
    void SetParent(TWinControl* parent) override {
        if (dynamic_cast<TLumOfficePage*>(parent)) throw Exception("No pages for me");
        TPanel::SetParent(parent);
    }
};

class PagerDockTest : public ::testing::Test {
protected:
    void SetUp() override {
        pager_test::StartUnits();
        TObjectTally::CountGdiObjects();
        SetCursorPos(1270, 1010);
        form = new TForm(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(40, 40, 520, 320);
        pager = new TLumOfficePager(form);
        pager->SetParent(form);
        pager->SetBounds(4, 4, 471, 238);
        pager->SetDockSite(true);
        auto* page = new TLumOfficePage(form);
        page->SetCaption("Editor Settings");
        page->SetPager(pager);
        pager->SetActivePageIndex(0);
        form->Show();
        Pump();
    }
    void TearDown() override {
        if (GetKeyState(VK_LBUTTON) < 0) Button(MOUSEEVENTF_LEFTUP);
        FreeAndNil(form);
        Pump();
    }
    std::vector<std::string> Tabs() {
        std::vector<std::string> tabs;
        for (int i = 0; i < pager->PageCount(); ++i)
            tabs.push_back(pager->Pages(i)->TabCaption() + (pager->Pages(i)->TabVisible() ? "" : " (hidden)"));
        return tabs;
    }
    String ActiveCaption() { return pager->ActivePage() ? pager->ActivePage()->TabCaption() : String("none"); }
    TForm* MakeToolForm(const char* caption) {
        auto* tool = new TForm(Application);
        tool->SetCaption(caption);
        tool->SetBounds(600, 100, 200, 150);
        tool->Show();
        Pump();
        return tool;
    }
    TPanel* MakePanel(const char* caption) {
        auto* panel = new TPanel(form);
        panel->SetCaption(caption);
        panel->SetParent(form);
        panel->SetBounds(10, 250, 120, 60);
        return panel;
    }
    // The middle of the tab of page index on the screen.
    TPoint TabPoint(int index) {
        const TRect r = pager->GetTabRect(index);
        return pager->ClientToScreen(Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    }
    TForm* form = nullptr;
    TLumOfficePager* pager = nullptr;
};

TEST_F(PagerDockTest, AFormAndAPlainControlDockIntoPagesOfTheirOwnAndFloatAgain) {
    TForm* tool = MakeToolForm("Messages");
    TPanel* panel = MakePanel("Tools\r\nand more");

    ASSERT_TRUE(tool->ManualDock(pager));
    Pump();
    // A form's text is its tab's caption; a visible client's page is active.
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings", "Messages"}));
    EXPECT_EQ(pager->ActivePageIndex(), 1);
    EXPECT_EQ(tool->Parent(), pager->Pages(1));
    EXPECT_EQ(tool->HostDockSite(), pager);
    EXPECT_EQ(tool->Align(), alClient);
    const TRect page = pager->Pages(1)->ClientRect();
    EXPECT_EQ(tool->BoundsRect(), Rect(2, 2, page.Right - 2, page.Bottom - 2));
    EXPECT_EQ(pager->Pages(1)->Owner(), pager);

    ASSERT_TRUE(panel->ManualDock(pager));
    Pump();
    // Another control's page starts without a caption.
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings", "Messages", ""}));
    EXPECT_EQ(pager->ActivePageIndex(), 2);
    EXPECT_EQ(pager->DockClientCount(), 2);

    // Docked again, a client's page moves to the end.
    ASSERT_TRUE(tool->ManualDock(pager));
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings", "", "Messages"}));
    EXPECT_EQ(pager->Pages(2)->Controls(0), tool);

    // Floating the active page's client takes its page away and selects the next.
    pager->SetActivePageIndex(2);
    ASSERT_TRUE(tool->ManualDock(nullptr));
    Pump();
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings", ""}));
    EXPECT_EQ(ActiveCaption(), "Editor Settings");
    EXPECT_TRUE(tool->Floating());
    EXPECT_EQ(tool->Align(), alNone);
    EXPECT_EQ(GetWindowLongA(tool->Handle(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_TRUE(IsWindowVisible(tool->Handle()));
    EXPECT_EQ(pager->DockClientCount(), 1);

    // Floating a client whose page is not the active one keeps the active page.
    ASSERT_TRUE(panel->ManualDock(nullptr));
    Pump();
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings"}));
    EXPECT_EQ(ActiveCaption(), "Editor Settings");
    EXPECT_TRUE(panel->Floating());
    EXPECT_TRUE(IsWindowVisible(panel->Parent()->Handle()));
    EXPECT_EQ(pager->DockClientCount(), 0);

    // Docking and floating again, with the paints between, leave no GDI object behind.
    TObjectBalance balance;
    for (int i = 0; i < 20; ++i) {
        tool->ManualDock(pager);
        panel->ManualDock(pager);
        pager->Repaint();
        tool->ManualDock(nullptr);
        panel->ManualDock(nullptr);
        Pump();
    }
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings"}));
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
    delete tool;
    delete panel;
}

TEST_F(PagerDockTest, TheTabFollowsItsClientsTextAndVisibility) {
    TForm* tool = MakeToolForm("Messages");
    TPanel* panel = MakePanel("Tools");
    tool->ManualDock(pager);
    panel->ManualDock(pager);
    tool->SetCaption("Output");
    panel->SetCaption("First line\nsecond line");
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings", "Output", "First line"}));
    panel->SetCaption("One\r\nTwo");
    EXPECT_EQ(Tabs()[2], "One");
    tool->Hide();
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings", "Output (hidden)", "One"}));
    tool->Show();
    EXPECT_EQ(Tabs()[1], "Output");

    // A hidden client docks with its tab hidden and its page not selected.
    TPanel* hidden = MakePanel("Hidden");
    hidden->Hide();
    hidden->ManualDock(pager);
    EXPECT_EQ(Tabs().back(), " (hidden)");
    EXPECT_EQ(pager->ActivePageIndex(), 2);
    delete tool;
}

TEST_F(PagerDockTest, AFailureWhileDockingFreesTheNewPageAndPassesOn) {
    auto* refusing = new TRefusingPanel(form);
    refusing->SetParent(form);
    const int components = pager->ComponentCount();
    EXPECT_THROW(refusing->ManualDock(pager), Exception);
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings"}));
    EXPECT_EQ(pager->ComponentCount(), components);
    EXPECT_EQ(pager->ActivePageIndex(), 0);
    EXPECT_EQ(refusing->Parent(), form);
    EXPECT_EQ(refusing->HostDockSite(), nullptr);
    // The pager still takes other clients.
    TPanel* panel = MakePanel("Tools");
    EXPECT_TRUE(panel->ManualDock(pager));
    EXPECT_EQ(pager->PageCount(), 2);
}

TEST_F(PagerDockTest, AClientFreedWhileDockedTakesItsPageWithIt) {
    TForm* tool = MakeToolForm("Messages");
    TPanel* panel = MakePanel("Tools");
    tool->ManualDock(pager);
    panel->ManualDock(pager);
    pager->SetActivePageIndex(1);
    delete tool;
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings", ""}));
    EXPECT_EQ(pager->ActivePageIndex(), 1);
    EXPECT_EQ(pager->DockClientCount(), 1);
    delete panel;
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings"}));
    EXPECT_EQ(pager->ActivePageIndex(), 0);
    Pump();
}

TEST_F(PagerDockTest, APageFreedWithItsClientAndAPagerFreedWithClientsFreeEachOnce) {
    TForm* tool = MakeToolForm("Messages");
    TPanel* panel = MakePanel("Tools");
    tool->ManualDock(pager);
    panel->ManualDock(pager);
    const int forms = Screen->FormCount();
    // Freeing the page frees the client on it (the pager's page, its child).
    delete pager->Pages(1);
    EXPECT_EQ(Screen->FormCount(), forms - 1);
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings", ""}));
    EXPECT_EQ(pager->DockClientCount(), 1);
    // Closing a docked client's page with FreeOnClose does the same.
    pager->SetFreeOnClose(true);
    pager->SetActivePageIndex(1);
    pager->CloseButtonClick(nullptr);
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings"}));
    EXPECT_EQ(pager->DockClientCount(), 0);
    // The pager goes with its docked clients.
    tool = MakeToolForm("Again");
    tool->ManualDock(pager);
    delete pager;
    pager = nullptr;
    EXPECT_EQ(Screen->FormCount(), forms - 1);
    Pump();
}

TEST_F(PagerDockTest, ADoubleClickOnTheTabFloatsItsClient) {
    TForm* tool = MakeToolForm("Messages");
    int dblClicks = 0;
    struct Counter : TObject {
        int* N;
        void Dbl(TObject*, int) { ++*N; }
    } counter;
    counter.N = &dblClicks;
    pager->OnTabDblClick = TPagerPageIndexEvent::Bind<&Counter::Dbl>(&counter);
    tool->ManualDock(pager);
    Pump();
    MoveToScreen(TabPoint(1));
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(tool->HostDockSite(), pager);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(tool->Floating());
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings"}));
    EXPECT_EQ(ActiveCaption(), "Editor Settings");
    // The tab that was double-clicked is gone: no event names it.
    EXPECT_EQ(dblClicks, 0);
    // A double click on a tab of its own page still reports it.
    MoveToScreen(TabPoint(0));
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(dblClicks, 1);
    delete tool;
}

TEST_F(PagerDockTest, AClientDraggedFromItsTabFloatsAndDocksBackWhenDroppedOnThePager) {
    TPanel* panel = MakePanel("Tools");
    panel->SetDragKind(dkDock);
    panel->SetDragMode(dmAutomatic);
    panel->ManualDock(pager);
    Pump();
    ASSERT_EQ(pager->PageCount(), 2);
    MoveToScreen(TabPoint(1));
    Button(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(panel->Dragging());
    const TPoint away = form->ClientToScreen(Point(300, 270));
    MoveToScreen(Point(away.X - 20, away.Y));
    MoveToScreen(away);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(panel->Floating());
    EXPECT_EQ(panel->Parent()->BoundsRect().TopLeft(), away);
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings"}));

    // Pressed on the floating control and dropped on the pager, it docks.
    MoveToScreen(panel->ClientToScreen(Point(30, 30)));
    Button(MOUSEEVENTF_LEFTDOWN);
    MoveToScreen(pager->ClientToScreen(Point(200, 100)));
    MoveToScreen(pager->ClientToScreen(Point(210, 110)));
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(panel->HostDockSite(), pager);
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Editor Settings", ""}));
    EXPECT_EQ(pager->ActivePageIndex(), 1);
}

}  // namespace
