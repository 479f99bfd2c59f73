// Dragging under Wine with the real mouse: a control that starts a drag
// when pressed (past a threshold, as a tab strip reorders its tabs), drops
// on another control or on itself, drags that are refused or cancelled,
// automatic dragging, and the docking flags of the stored layout.
#include <gtest/gtest.h>

#include "classlib/ui/forms.h"
#include "stdctrls_test_support.h"
#include "tests/classlib/ui/support/real_mouse_support.h"

using namespace stdctrls_test;
using namespace real_mouse_test;

namespace {

const auto* const environment = ::testing::AddGlobalTestEnvironment(new TUiUnitsEnvironment);

// A windowed control that logs what a drag does to it. A left press
// begins a drag of it past 4 pixels when StartsDrag; it accepts drops from
// AcceptFrom, on its right half only when RightHalfOnly.
class TDragBox : public TCustomControl {
    QL_CLASS(TDragBox, TCustomControl)
public:
    explicit TDragBox(TComponent* owner) : TCustomControl(owner) {
        FWidth = 100;
        FHeight = 40;
    }
    bool StartsDrag = false;
    TControl* AcceptFrom = nullptr;
    bool RightHalfOnly = false;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
        TCustomControl::MouseDown(button, shift, x, y);
        Log().push_back("down " + Name());
        if (StartsDrag && button == mbLeft) BeginDrag(false, 4);
    }
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
        TCustomControl::MouseUp(button, shift, x, y);
        Log().push_back("up " + Name());
    }
    void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override {
        TCustomControl::DragOver(source, x, y, state, accept);
        accept = source == AcceptFrom && (!RightHalfOnly || x >= Width() / 2);
        static const char* const states[] = {"enter", "leave", "move"};
        Log().push_back(std::string("over ") + Name() + " " + states[state] + " " + NameOf(source) +
                        (accept ? " yes" : " no"));
    }
    void DragDrop(TObject* source, int x, int y) override {
        Log().push_back("drop " + Name() + " " + NameOf(source) + " " + std::to_string(x) + "," + std::to_string(y));
        TCustomControl::DragDrop(source, x, y);
    }
    void DoEndDrag(TObject* target, int x, int y) override {
        Log().push_back("end " + Name() + " " + NameOf(target) + " " + std::to_string(x) + "," + std::to_string(y));
        TCustomControl::DoEndDrag(target, x, y);
    }
};

TClass TDragBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TDragBox>("TDragBox")
                                       .Publish({"DockSite", "DragCursor", "DragKind", "DragMode", "UseDockManager",
                                                 "OnDragDrop", "OnDragOver", "OnEndDrag", "OnStartDrag"})
                                       .Build();
    return &info;
}

const char* const DragLayout = R"(object Form1: TForm
  Left = 50
  Top = 50
  BorderStyle = bsNone
  ClientHeight = 200
  ClientWidth = 300
  object Source1: TDragBox
    Left = 10
    Top = 10
    DockSite = True
    UseDockManager = True
  end
  object Target1: TDragBox
    Left = 10
    Top = 100
  end
  object Auto1: TDragBox
    Left = 150
    Top = 10
    DragMode = dmAutomatic
    DragCursor = crMultiDrag
  end
end
)";

class DragTest : public LayoutFormTest {
protected:
    void SetUp() override {
        RegisterClasses({TDragBox::StaticClass()});
        Load(DragLayout);
        ShowForm();
        source = Find<TDragBox>("Source1");
        target = Find<TDragBox>("Target1");
        automatic = Find<TDragBox>("Auto1");
        Log().clear();
    }
    void TearDown() override {
        // Never leave a button down for the next test.
        if (GetKeyState(VK_LBUTTON) < 0) Button(MOUSEEVENTF_LEFTUP);
        LayoutFormTest::TearDown();
    }
    // Moves the real mouse to p of control.
    static void MoveTo(TControl* control, TPoint p) {
        const TPoint s = control->ClientToScreen(p);
        MoveToScreen(s);
        POINT at;
        GetCursorPos(&at);
        EXPECT_EQ(Point(at.x, at.y), s);
    }
    static void Press(TControl* control, TPoint p) {
        MoveTo(control, p);
        Button(MOUSEEVENTF_LEFTDOWN);
    }
    static std::vector<std::string> Taken() {
        std::vector<std::string> log;
        log.swap(Log());
        return log;
    }
    TDragBox* source = nullptr;
    TDragBox* target = nullptr;
    TDragBox* automatic = nullptr;
};

TEST_F(DragTest, ADragPastTheThresholdDropsOnTheControlThatAccepts) {
    source->StartsDrag = true;
    target->AcceptFrom = source;
    int clicks = 0;
    struct Counter : TObject {
        int* Clicks;
        void Click(TObject*) { ++*Clicks; }
    } counter;
    counter.Clicks = &clicks;
    source->OnClick = TNotifyEvent::Bind<&Counter::Click>(&counter);
    Press(source, Point(20, 20));
    // The drag takes the mouse: the press ends for the control at once.
    EXPECT_EQ(Taken(), (std::vector<std::string>{"down Source1", "up Source1"}));
    EXPECT_TRUE(source->Dragging());
    // Within the threshold nothing is asked.
    MoveTo(source, Point(23, 23));
    EXPECT_TRUE(Taken().empty());
    MoveTo(target, Point(30, 10));
    EXPECT_EQ(Taken(), (std::vector<std::string>{"over Target1 enter Source1 yes", "over Target1 move Source1 yes"}));
    MoveTo(target, Point(31, 12));
    EXPECT_EQ(Taken(), (std::vector<std::string>{"over Target1 move Source1 yes"}));
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(Taken(), (std::vector<std::string>{"over Target1 leave Source1 yes", "drop Target1 Source1 31,12",
                                                 "end Source1 Target1 31,12"}));
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(clicks, 1);
}

TEST_F(DragTest, AControlDropsOnItselfWhereItAccepts) {
    source->StartsDrag = true;
    source->AcceptFrom = source;
    source->RightHalfOnly = true;
    Press(source, Point(10, 20));
    MoveTo(source, Point(30, 20));
    MoveTo(source, Point(80, 20));
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(Taken(), (std::vector<std::string>{"down Source1", "up Source1", "over Source1 enter Source1 no",
                                                 "over Source1 move Source1 no", "over Source1 move Source1 yes",
                                                 "over Source1 leave Source1 yes", "drop Source1 Source1 80,20",
                                                 "end Source1 Source1 80,20"}));
}

TEST_F(DragTest, ARefusedDropEndsWithoutTarget) {
    source->StartsDrag = true;
    Press(source, Point(20, 20));
    MoveTo(target, Point(30, 10));
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(Taken(), (std::vector<std::string>{"down Source1", "up Source1", "over Target1 enter Source1 no",
                                                 "over Target1 move Source1 no", "over Target1 leave Source1 no",
                                                 "end Source1 none 0,0"}));
    // A release before the mouse passed the threshold ends the drag too.
    Press(source, Point(20, 20));
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(Taken(), (std::vector<std::string>{"down Source1", "up Source1", "end Source1 none 0,0"}));
    EXPECT_FALSE(source->Dragging());
}

TEST_F(DragTest, TheRightButtonOrEndDragCancels) {
    source->StartsDrag = true;
    target->AcceptFrom = source;
    Press(source, Point(20, 20));
    MoveTo(target, Point(30, 10));
    Taken();
    Button(MOUSEEVENTF_RIGHTDOWN);
    EXPECT_EQ(Taken(), (std::vector<std::string>{"over Target1 leave Source1 yes", "end Source1 none 0,0"}));
    // The releases that follow reach the control under the cursor.
    Button(MOUSEEVENTF_RIGHTUP);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(Taken(), (std::vector<std::string>{"up Target1", "up Target1"}));
    Press(source, Point(20, 20));
    MoveTo(target, Point(30, 10));
    Taken();
    source->EndDrag(true);
    EXPECT_EQ(Taken(), (std::vector<std::string>{"over Target1 leave Source1 yes", "drop Target1 Source1 30,10",
                                                 "end Source1 Target1 30,10"}));
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(Taken(), (std::vector<std::string>{"up Target1"}));
}

TEST_F(DragTest, FreeingTheTargetOrTheSourceDuringADragIsSafe) {
    source->StartsDrag = true;
    target->AcceptFrom = source;
    Press(source, Point(20, 20));
    MoveTo(target, Point(30, 10));
    FreeAndNil(target);
    Taken();
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(Taken(), (std::vector<std::string>{"end Source1 none 0,0"}));
    Press(source, Point(20, 20));
    MoveTo(source, Point(40, 30));
    FreeAndNil(source);
    EXPECT_EQ(GetCapture(), nullptr);
    Button(MOUSEEVENTF_LEFTUP);
}

TEST_F(DragTest, AnAutomaticControlDragsAtOnceWithItsCursor) {
    automatic->AcceptFrom = automatic;
    Press(automatic, Point(20, 20));
    EXPECT_TRUE(automatic->Dragging());
    // No press reaches the control; the drag asks it at once.
    EXPECT_EQ(Taken(), (std::vector<std::string>{"over Auto1 enter Auto1 yes", "over Auto1 move Auto1 yes"}));
    EXPECT_EQ(GetCursor(), Screen->Cursors(crMultiDrag));
    MoveTo(target, Point(30, 10));
    EXPECT_EQ(GetCursor(), Screen->Cursors(crNoDrop));
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_FALSE(automatic->Dragging());
}

TEST_F(DragTest, ACMDragThatTheDragDidNotSendIsIgnored) {
    TDragRec forged;
    forged.Source = source;
    target->AcceptFrom = source;
    EXPECT_EQ(target->Perform(CM_DRAG, dmDragMove, LPARAM(&forged)), 0);
    target->Perform(CM_DRAG, dmDragDrop, LPARAM(&forged));
    EXPECT_TRUE(Taken().empty());
}

TEST_F(DragTest, DockingFlagsAreStoredAndADockingDragStarts) {
    EXPECT_TRUE(source->DockSite());
    EXPECT_TRUE(source->UseDockManager());
    EXPECT_FALSE(target->DockSite());
    EXPECT_EQ(automatic->DragMode(), dmAutomatic);
    String text = Written();
    EXPECT_NE(text.find("DockSite = True"), String::npos);
    EXPECT_NE(text.find("DragCursor = crMultiDrag"), String::npos);
    EXPECT_EQ(text.find("DragKind"), String::npos);
    // Docking itself is tested in docking_test.cpp.
    source->SetDragKind(dkDock);
    source->BeginDrag(true);
    EXPECT_TRUE(source->Dragging());
    source->EndDrag(false);
    EXPECT_FALSE(source->Dragging());
    EXPECT_THROW(form->BeginDrag(true), EInvalidOperation);
}

}  // namespace
