// Docking under Wine: ManualDock into a site and out to float, a form as a
// client, what the sites hear (CM_UNDOCKCLIENT, CM_DOCKNOTIFICATION,
// DoRemoveDockClient) and their events, a docking drag with the real
// mouse, and clients or sites freed while docked.
#include <gtest/gtest.h>

#include "classlib/ui/forms.h"
#include "stdctrls_test_support.h"
#include "tests/classlib/ui/support/real_mouse_support.h"

using namespace stdctrls_test;
using namespace real_mouse_test;

namespace {

const auto* const environment = ::testing::AddGlobalTestEnvironment(new TUiUnitsEnvironment);

std::vector<std::string> Taken() {
    std::vector<std::string> log;
    log.swap(Log());
    return log;
}

// A dock site that logs what it hears.
class TLogSite : public TCustomControl {
    QL_CLASS(TLogSite, TCustomControl)
public:
    explicit TLogSite(TComponent* owner) : TCustomControl(owner) {
        FControlStyle.Include(csAcceptsControls);
        SetDockSite(true);
    }
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_UNDOCKCLIENT)
            Log().push_back("undock " + Name() + " " + NameOf(reinterpret_cast<TControl*>(m.LParam)) + " to " +
                            NameOf(reinterpret_cast<TWinControl*>(m.WParam)));
        if (m.Msg == CM_DOCKCLIENT)
            Log().push_back("dock " + Name() + " " +
                            NameOf(reinterpret_cast<TDockClientRec*>(m.LParam)->DockSource->Control()));
        if (m.Msg == CM_DOCKNOTIFICATION) {
            auto* rec = reinterpret_cast<TDockNotifyRec*>(m.LParam);
            std::string what = rec->ClientMsg == WM_SETTEXT
                                   ? std::string("text ") + reinterpret_cast<const char*>(rec->MsgLParam)
                                   : "visible " + std::to_string(rec->MsgWParam);
            Log().push_back("notify " + Name() + " " + NameOf(reinterpret_cast<TControl*>(m.WParam)) + " " + what);
        }
        TCustomControl::WndProc(m);
    }

protected:
    void DoRemoveDockClient(TControl* client) override {
        Log().push_back("removed " + Name() + " " + NameOf(client) +
                        (client->Parent() && ContainsControl(client) ? " still here" : ""));
    }
};

TClass TLogSite::StaticClass() {
    static const TClassInfo info = TClassBuilder<TLogSite>("TLogSite").Build();
    return &info;
}

// The site's and the client's events.
struct TDockEvents : TObject {
    bool AllowUndock = true;
    bool AcceptDock = true;
    void UnDock(TObject* sender, TControl* client, TWinControl* target, bool& allow) {
        Log().push_back("OnUnDock " + NameOf(sender) + " " + NameOf(client) + " to " + NameOf(target));
        allow = AllowUndock;
    }
    void DockDrop(TObject* sender, TDragDockObject* source, int, int) {
        Log().push_back("OnDockDrop " + NameOf(sender) + " " + NameOf(source->Control()));
    }
    void DockOver(TObject* sender, TDragDockObject*, int, int, TDragState state, bool& accept) {
        if (state == dsDragEnter) Log().push_back("OnDockOver " + NameOf(sender));
        accept = AcceptDock;
    }
    void StartDock(TObject* sender, TDragDockObject*&) { Log().push_back("OnStartDock " + NameOf(sender)); }
    void EndDock(TObject* sender, TObject* target, int, int) {
        Log().push_back("OnEndDock " + NameOf(sender) + " " + NameOf(target));
    }
};

const char* const DockLayout = R"(object Form1: TForm
  Left = 40
  Top = 40
  BorderStyle = bsNone
  ClientHeight = 300
  ClientWidth = 400
  object Site1: TLogSite
    Left = 0
    Top = 0
    Width = 200
    Height = 150
  end
  object Site2: TLogSite
    Left = 200
    Top = 0
    Width = 200
    Height = 150
  end
  object Panel1: TPanel
    Left = 20
    Top = 180
    Width = 90
    Height = 60
    Caption = 'Tools'
  end
end
)";

class DockTest : public LayoutFormTest {
protected:
    void SetUp() override {
        RegisterClasses({TLogSite::StaticClass()});
        Load(DockLayout);
        ShowForm();
        site1 = Find<TLogSite>("Site1");
        site2 = Find<TLogSite>("Site2");
        panel = Find<TPanel>("Panel1");
        for (TLogSite* s : {site1, site2}) {
            s->OnUnDock = TUnDockEvent::Bind<&TDockEvents::UnDock>(&events);
            s->OnDockDrop = TDockDropEvent::Bind<&TDockEvents::DockDrop>(&events);
            s->OnDockOver = TDockOverEvent::Bind<&TDockEvents::DockOver>(&events);
        }
        panel->OnStartDock = TStartDockEvent::Bind<&TDockEvents::StartDock>(&events);
        panel->OnEndDock = TEndDragEvent::Bind<&TDockEvents::EndDock>(&events);
        forms = Screen->FormCount();
        Log().clear();
    }
    void TearDown() override {
        if (GetKeyState(VK_LBUTTON) < 0) Button(MOUSEEVENTF_LEFTUP);
        LayoutFormTest::TearDown();
        Log().clear();
    }
    static void MoveTo(TControl* control, TPoint p) { MoveToScreen(control->ClientToScreen(p)); }
    TCustomForm* FloatingHost() const {
        return panel->Floating() ? dynamic_cast<TCustomForm*>(panel->Parent()) : nullptr;
    }
    TLogSite* site1 = nullptr;
    TLogSite* site2 = nullptr;
    TPanel* panel = nullptr;
    TDockEvents events;
    int forms = 0;
};

TEST_F(DockTest, AControlDocksFromSiteToSiteAndFloatsOnAHostFormOfItsOwn) {
    EXPECT_TRUE(panel->ManualDock(site1));
    EXPECT_EQ(Taken(), (std::vector<std::string>{"dock Site1 Panel1", "OnDockDrop Site1 Panel1"}));
    EXPECT_EQ(panel->HostDockSite(), site1);
    EXPECT_EQ(panel->Parent(), site1);
    ASSERT_EQ(site1->DockClientCount(), 1);
    EXPECT_EQ(site1->DockClients(0), panel);
    EXPECT_FALSE(panel->Floating());
    EXPECT_EQ(GetParent(panel->Handle()), site1->Handle());

    EXPECT_TRUE(panel->ManualDock(site2));
    // The old site hears of the move while the client is still in it, and
    // that it has gone once it sits in the new one.
    EXPECT_EQ(Taken(),
              (std::vector<std::string>{"OnUnDock Site1 Panel1 to Site2", "undock Site1 Panel1 to Site2",
                                        "dock Site2 Panel1", "removed Site1 Panel1", "OnDockDrop Site2 Panel1"}));
    EXPECT_EQ(site1->DockClientCount(), 0);
    EXPECT_EQ(panel->HostDockSite(), site2);

    EXPECT_TRUE(panel->ManualDock(nullptr));
    EXPECT_EQ(Taken(), (std::vector<std::string>{"OnUnDock Site2 Panel1 to none", "undock Site2 Panel1 to none",
                                                 "removed Site2 Panel1"}));
    EXPECT_EQ(panel->HostDockSite(), nullptr);
    TCustomForm* host = FloatingHost();
    ASSERT_NE(host, nullptr);
    Pump();
    EXPECT_TRUE(IsWindowVisible(host->Handle()));
    EXPECT_EQ(host->Caption(), "Tools");
    // It floats with the size it had before it first docked.
    EXPECT_EQ(panel->Width(), 90);
    EXPECT_EQ(panel->Height(), 60);
    EXPECT_EQ(Screen->FormCount(), forms + 1);

    // Docking again frees the host form.
    EXPECT_TRUE(panel->ManualDock(site1));
    EXPECT_EQ(Screen->FormCount(), forms);
    EXPECT_FALSE(panel->Floating());
    EXPECT_EQ(panel->Parent(), site1);
}

TEST_F(DockTest, TheOldSiteMayRefuseToLetItsClientGo) {
    panel->ManualDock(site1);
    Taken();
    events.AllowUndock = false;
    EXPECT_FALSE(panel->ManualDock(site2));
    EXPECT_FALSE(panel->ManualDock(nullptr));
    EXPECT_EQ(Taken(), (std::vector<std::string>{"OnUnDock Site1 Panel1 to Site2", "OnUnDock Site1 Panel1 to none"}));
    EXPECT_EQ(panel->HostDockSite(), site1);
    EXPECT_EQ(panel->Parent(), site1);
}

TEST_F(DockTest, ADockedClientTellsItsSiteOfItsTextAndVisibility) {
    panel->SetCaption("Before");
    EXPECT_TRUE(Taken().empty());
    panel->ManualDock(site1);
    Taken();
    panel->SetCaption("After");
    panel->Hide();
    panel->Show();
    EXPECT_EQ(Taken(), (std::vector<std::string>{"notify Site1 Panel1 text After", "notify Site1 Panel1 visible 0",
                                                 "notify Site1 Panel1 visible 1"}));
}

TEST_F(DockTest, AFormDocksAsAChildWindowAndFloatsWithItsFrameAgain) {
    auto* tool = new TForm(Application);
    tool->SetName("Tool1");
    tool->SetCaption("Tool window");
    tool->SetBounds(500, 100, 160, 120);
    tool->Show();
    Pump();
    EXPECT_EQ(GetWindowLongA(tool->Handle(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_TRUE(tool->Floating());
    EXPECT_TRUE(tool->ManualDock(site1));
    Pump();
    EXPECT_EQ(tool->Parent(), site1);
    EXPECT_FALSE(tool->Floating());
    EXPECT_NE(GetWindowLongA(tool->Handle(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetParent(tool->Handle()), site1->Handle());
    EXPECT_TRUE(IsWindowVisible(tool->Handle()));
    tool->SetCaption("Renamed");
    EXPECT_EQ(Taken().back(), "notify Site1 Tool1 text Renamed");

    EXPECT_TRUE(tool->ManualDock(nullptr));
    Pump();
    EXPECT_TRUE(tool->Floating());
    EXPECT_EQ(GetWindowLongA(tool->Handle(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_TRUE(IsWindowVisible(tool->Handle()));
    EXPECT_EQ(tool->Caption(), "Renamed");
    EXPECT_EQ(Screen->FormCount(), forms + 1);
    delete tool;
}

TEST_F(DockTest, AClientFreedWhileDockedLeavesItsSite) {
    panel->ManualDock(site1);
    Taken();
    delete panel;
    panel = nullptr;
    EXPECT_EQ(Taken(), (std::vector<std::string>{"undock Site1 Panel1 to none", "removed Site1 Panel1"}));
    EXPECT_EQ(site1->DockClientCount(), 0);
}

TEST_F(DockTest, AFloatingClientFreedTakesItsHostFormWithIt) {
    panel->ManualDock(site1);
    panel->ManualDock(nullptr);
    EXPECT_EQ(Screen->FormCount(), forms + 1);
    delete panel;
    panel = nullptr;
    EXPECT_EQ(Screen->FormCount(), forms);
}

TEST_F(DockTest, ASiteFreedForgetsItsClients) {
    // A client docked into a site whose place for it is elsewhere (here:
    // moved back onto the form by hand) outlives the site.
    panel->ManualDock(site1);
    panel->SetParent(form);
    delete site1;
    site1 = nullptr;
    EXPECT_EQ(panel->HostDockSite(), nullptr);
    panel->SetCaption("Still here");
    EXPECT_TRUE(panel->ManualDock(site2));
}

TEST_F(DockTest, ADockingDragDocksWhereASiteTakesItAndFloatsElsewhere) {
    panel->SetDragKind(dkDock);
    panel->SetDragMode(dmAutomatic);
    // A click without a move leaves the control where it is.
    MoveTo(panel, Point(10, 10));
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(panel->Parent(), form);
    EXPECT_EQ(Taken(), (std::vector<std::string>{"OnStartDock Panel1", "OnEndDock Panel1 none"}));

    Button(MOUSEEVENTF_LEFTDOWN);
    MoveTo(site2, Point(50, 50));
    MoveTo(site2, Point(60, 50));
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(Taken(), (std::vector<std::string>{"OnStartDock Panel1", "OnDockOver Site2", "dock Site2 Panel1",
                                                 "OnDockDrop Site2 Panel1", "OnEndDock Panel1 Site2"}));
    EXPECT_EQ(panel->HostDockSite(), site2);
    // The site put it where the drag left it.
    EXPECT_EQ(panel->BoundsRect(), Bounds(60, 50, 90, 60));

    // Dragged off to where no site is, it floats there.
    MoveTo(panel, Point(10, 10));
    Button(MOUSEEVENTF_LEFTDOWN);
    MoveToScreen(form->ClientToScreen(Point(300, 250)));
    MoveToScreen(form->ClientToScreen(Point(320, 260)));
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(panel->Floating());
    EXPECT_EQ(FloatingHost()->BoundsRect().TopLeft(), form->ClientToScreen(Point(320, 260)));
    EXPECT_EQ(Taken(), (std::vector<std::string>{"OnStartDock Panel1", "OnUnDock Site2 Panel1 to none",
                                                 "undock Site2 Panel1 to none", "removed Site2 Panel1",
                                                 "OnEndDock Panel1 none"}));

    // A site that refuses is passed over like empty space; the right
    // button cancels and leaves the control floating where it is.
    events.AcceptDock = false;
    Pump();
    MoveTo(panel, Point(10, 10));
    Button(MOUSEEVENTF_LEFTDOWN);
    MoveTo(site1, Point(40, 40));
    MoveTo(site1, Point(50, 40));
    Button(MOUSEEVENTF_RIGHTDOWN);
    Button(MOUSEEVENTF_RIGHTUP);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(panel->Floating());
    EXPECT_EQ(FloatingHost()->BoundsRect().TopLeft(), form->ClientToScreen(Point(320, 260)));
    EXPECT_EQ(Taken(), (std::vector<std::string>{"OnStartDock Panel1", "OnDockOver Site1", "OnEndDock Panel1 none"}));
}

}  // namespace
