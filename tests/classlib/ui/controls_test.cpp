// Controls, forms and the application under Wine: windows made on demand,
// message routing, painting into a DC, focus with CM_ENTER/CM_EXIT, keys,
// alignment, timers and exception handling.
#include <gtest/gtest.h>

#include "classlib/core/filer.h"
#include "classlib/ui/forms.h"
#include "classlib/ui/gdi_helpers.h"
#include "classlib/ui/timers.h"

namespace {

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

class UiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ClasslibUiInitialize(); }
    void TearDown() override { ClasslibUiFinalize(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new UiEnvironment);

// A windowed control that takes the focus and logs its enter and exit.
class TFocusBox : public TCustomControl {
    QL_CLASS(TFocusBox, TCustomControl)
public:
    explicit TFocusBox(TComponent* owner) : TCustomControl(owner) {
        FTabStop = true;
        FWidth = 40;
        FHeight = 20;
        FControlStyle.Include(csAcceptsControls);
    }
    TColor PaintColor = clNone;

protected:
    void DoEnter() override {
        Log().push_back("enter " + Name());
        TCustomControl::DoEnter();
    }
    void DoExit() override {
        Log().push_back("exit " + Name());
        TCustomControl::DoExit();
    }
    void Paint() override {
        if (PaintColor == clNone) return;
        Canvas()->Brush()->SetColor(PaintColor);
        Canvas()->FillRect(ClientRect());
    }
};

TClass TFocusBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TFocusBox>("TFocusBox").Build();
    return &info;
}

// A windowless control that fills itself with one colour.
class TSwatch : public TGraphicControl {
    QL_CLASS(TSwatch, TGraphicControl)
public:
    explicit TSwatch(TComponent* owner) : TGraphicControl(owner) {
        FWidth = 10;
        FHeight = 10;
    }
    TColor Fill = clRed;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(Fill);
        Canvas()->FillRect(ClientRect());
    }
};

TClass TSwatch::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSwatch>("TSwatch").Build();
    return &info;
}

class TTestForm : public TForm {
    QL_CLASS(TTestForm, TForm)
public:
    explicit TTestForm(TComponent* owner) : TForm(owner) {}
    TFocusBox* Box1 = nullptr;
    TFocusBox* Box2 = nullptr;
    TSwatch* Swatch1 = nullptr;
    int Clicks = 0;
    void SwatchClick(TObject*) { ++Clicks; }
    void BoxEnter(TObject* sender) { Log().push_back("OnEnter " + static_cast<TComponent*>(sender)->Name()); }
};

TClass TTestForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestForm>("TTestForm")
                                       .Field("Box1", &TTestForm::Box1)
                                       .Field("Box2", &TTestForm::Box2)
                                       .Field("Swatch1", &TTestForm::Swatch1)
                                       .Method<TNotifyEvent, &TTestForm::SwatchClick>("SwatchClick")
                                       .Method<TNotifyEvent, &TTestForm::BoxEnter>("BoxEnter")
                                       .Build();
    return &info;
}

const char* const FormLayout = R"(object TestForm: TTestForm
  Left = 10
  Top = 10
  BorderStyle = bsSingle
  Caption = 'Controls test'
  ClientHeight = 200
  ClientWidth = 300
  object Box1: TFocusBox
    Left = 8
    Top = 8
    OnEnter = BoxEnter
  end
  object Box2: TFocusBox
    Left = 8
    Top = 40
    object Inner: TFocusBox
      Left = 2
      Top = 2
      Width = 10
      Height = 10
    end
  end
  object Swatch1: TSwatch
    Left = 100
    Top = 100
    OnClick = SwatchClick
  end
end
)";

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterClasses({TFocusBox::StaticClass(), TSwatch::StaticClass(), TTestForm::StaticClass()});
        Log().clear();
        form = new TTestForm(Application);
        form->ReadLayout(FormLayout, "test");
        form->DoCreate();
    }
    void TearDown() override { FreeAndNil(form); }
    void Pump() {
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    TTestForm* form = nullptr;
};

TEST_F(ControlsTest, LayoutBuildsTheTreeAndWindowsComeWhenShown) {
    ASSERT_NE(form->Box1, nullptr);
    ASSERT_NE(form->Swatch1, nullptr);
    EXPECT_EQ(form->Box1->Parent(), form);
    TWinControl* inner = dynamic_cast<TWinControl*>(form->FindComponent("Inner"));
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->Parent(), form->Box2);
    EXPECT_FALSE(form->HandleAllocated());
    form->Show();
    Pump();
    ASSERT_TRUE(form->HandleAllocated());
    EXPECT_TRUE(inner->HandleAllocated());
    EXPECT_EQ(GetParent(inner->Handle()), form->Box2->Handle());
    EXPECT_EQ(form->ClientWidth(), 300);
    EXPECT_EQ(form->ClientHeight(), 200);
    char caption[64] = {};
    GetWindowTextA(form->Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Controls test");
    EXPECT_EQ(TWinControl::FindControl(form->Box1->Handle()), form->Box1);
}

TEST_F(ControlsTest, RecreatingAWindowKeepsItsTextAndChildren) {
    form->Show();
    Pump();
    HWND old = form->Handle();
    form->SetBorderStyle(bsSizeable);
    EXPECT_NE(form->Handle(), old);
    char caption[64] = {};
    GetWindowTextA(form->Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Controls test");
    EXPECT_EQ(GetParent(form->Box1->Handle()), form->Handle());
}

TEST_F(ControlsTest, WindowlessChildrenArePaintedIntoTheDcTheyAreGiven) {
    form->Show();
    Pump();
    form->Box1->PaintColor = clBlue;
    // Paint the whole form into a memory bitmap at an offset origin.
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(TScreenDC().Handle(), 400, 300);
    HGDIOBJ old = SelectObject(mem, bmp);
    form->PaintTo(mem, 20, 10);
    COLORREF swatch = GetPixel(mem, 20 + 105, 10 + 105);
    COLORREF box = GetPixel(mem, 20 + 8 + 5, 10 + 8 + 5);
    COLORREF face = GetPixel(mem, 20 + 200, 10 + 20);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    EXPECT_EQ(swatch, RGB(255, 0, 0));
    EXPECT_EQ(box, RGB(0, 0, 255));
    EXPECT_EQ(face, COLORREF(ColorToRGB(clBtnFace)));
}

TEST_F(ControlsTest, MouseClicksReachWindowlessChildrenThroughTheirParent) {
    form->Show();
    Pump();
    LPARAM at = MAKELPARAM(105, 105);
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(form->Clicks, 1);
    // Released outside the control: no click.
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(250, 20));
    EXPECT_EQ(form->Clicks, 1);
}

TEST_F(ControlsTest, EnterAndExitFollowTheFormsActiveControl) {
    form->Show();
    Pump();
    TWinControl* inner = static_cast<TWinControl*>(form->FindComponent("Inner"));
    form->Box1->SetFocus();
    Pump();
    Log().clear();
    inner->SetFocus();
    Pump();
    EXPECT_EQ(Log(), (std::vector<std::string>{"exit Box1", "enter Box2", "enter Inner"}));
    EXPECT_EQ(form->ActiveControl(), inner);
    Log().clear();
    form->Box1->SetFocus();
    Pump();
    EXPECT_EQ(Log(), (std::vector<std::string>{"exit Inner", "exit Box2", "enter Box1", "OnEnter Box1"}));
    // Focus coming back to the same control (after a message box, say) is
    // not a new entry.
    Log().clear();
    SetFocus(form->Handle());
    SetFocus(form->Box1->Handle());
    Pump();
    EXPECT_TRUE(Log().empty());
}

TEST_F(ControlsTest, TabKeyPostedToAControlMovesTheFocus) {
    form->Show();
    Pump();
    form->Box1->SetFocus();
    Pump();
    PostMessageA(form->Box1->Handle(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    EXPECT_EQ(Screen->ActiveControl(), form->Box2);
    PostMessageA(form->Box2->Handle(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    EXPECT_EQ(Screen->ActiveControl(), form->FindComponent("Inner"));
}

TEST_F(ControlsTest, WindowProcCanBeReplacedAndRestored) {
    form->Show();
    Pump();
    struct Spy : TObject {
        TWndMethod Saved;
        int Seen = 0;
        void Hook(TMessage& m) {
            if (m.Msg == CM_TEXTCHANGED) ++Seen;
            Saved(m);
        }
    } spy;
    spy.Saved = form->Box1->WindowProc;
    form->Box1->WindowProc = TWndMethod::Bind<&Spy::Hook>(&spy);
    form->Box1->SetText("a");
    EXPECT_EQ(spy.Seen, 1);
    form->Box1->WindowProc = spy.Saved;
    form->Box1->SetText("b");
    EXPECT_EQ(spy.Seen, 1);
}

TEST_F(ControlsTest, AlignmentSharesTheClientArea) {
    form->Show();
    Pump();
    form->Box1->SetAlign(alTop);
    form->Box2->SetAlign(alClient);
    auto* bottom = new TFocusBox(form);
    bottom->SetHeight(30);
    bottom->SetParent(form);
    bottom->SetAlign(alBottom);
    EXPECT_EQ(form->Box1->BoundsRect(), Rect(0, 0, 300, 20));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 170, 300, 200));
    EXPECT_EQ(form->Box2->BoundsRect(), Rect(0, 20, 300, 170));
    form->SetClientSize(400, 300);
    EXPECT_EQ(form->Box2->BoundsRect(), Rect(0, 20, 400, 270));
}

TEST_F(ControlsTest, AnchoredControlsFollowTheirRightEdge) {
    form->Show();
    Pump();
    form->Box1->SetAnchors({akTop, akRight});
    int right = form->ClientWidth() - form->Box1->Left();
    form->SetClientSize(400, 200);
    EXPECT_EQ(form->ClientWidth() - form->Box1->Left(), right);
}

TEST_F(ControlsTest, ExceptionsInHandlersGoToTheApplication) {
    std::vector<std::string> shown;
    TMessageBoxFunction saved = Application->MessageBoxFunction;
    Application->MessageBoxFunction = [&](HWND, const String& text, const String&, UINT) {
        shown.push_back(text);
        return IDOK;
    };
    form->Show();
    Pump();
    struct Thrower : TObject {
        void Click(TObject*) { throw EConvertError("Select compiler first."); }
        void Silent(TObject*) { throw EAbort("quiet"); }
    } thrower;
    form->Swatch1->OnClick = TNotifyEvent::Bind<&Thrower::Click>(&thrower);
    LPARAM at = MAKELPARAM(105, 105);
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, at);
    form->Swatch1->OnClick = TNotifyEvent::Bind<&Thrower::Silent>(&thrower);
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, at);
    Application->MessageBoxFunction = saved;
    EXPECT_EQ(shown, (std::vector<std::string>{"Select compiler first."}));
}

TEST_F(ControlsTest, MouseEnterAndLeaveFollowTheCursor) {
    form->Show();
    Pump();
    std::vector<std::string> events;
    struct Watch : TObject {
        std::vector<std::string>* Events;
        void Enter(TObject*) { Events->push_back("enter"); }
        void Leave(TObject*) { Events->push_back("leave"); }
    } watch;
    watch.Events = &events;
    form->Swatch1->OnMouseEnter = TNotifyEvent::Bind<&Watch::Enter>(&watch);
    form->Swatch1->OnMouseLeave = TNotifyEvent::Bind<&Watch::Leave>(&watch);
    TPoint in = form->Swatch1->ClientToScreen(Point(5, 5));
    TPoint out = form->ClientToScreen(Point(250, 150));
    POINT origin{0, 0};
    ClientToScreen(form->Handle(), &origin);
    EXPECT_EQ(in, Point(origin.x + 105, origin.y + 105));
    SetCursorPos(out.X, out.Y);
    Application->Idle();
    SetCursorPos(in.X, in.Y);
    Application->Idle();
    SetCursorPos(out.X, out.Y);
    Application->Idle();
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
}

TEST(Timer, MayBeFreedInsideItsOwnHandler) {
    struct Owner : TObject {
        TTimer* Timer = nullptr;
        int Ticks = 0;
        void Tick(TObject*) {
            ++Ticks;
            FreeAndNil(Timer);
        }
    } owner;
    owner.Timer = new TTimer(nullptr);
    owner.Timer->SetInterval(10);
    owner.Timer->OnTimer = TNotifyEvent::Bind<&Owner::Tick>(&owner);
    owner.Timer->SetEnabled(false);
    owner.Timer->SetEnabled(true);
    DWORD start = GetTickCount();
    while (owner.Timer && GetTickCount() - start < 5000) Application->HandleMessage();
    EXPECT_EQ(owner.Ticks, 1);
    EXPECT_EQ(owner.Timer, nullptr);
    Application->ProcessMessages();
}

// A show handler that sets the state the form already has (as a restored
// placement does) must not show the window before the handler is done;
// a new state shows it in that state.
TEST(FormCreation, WindowStateShowsTheWindowOnlyWhenItChanges) {
    struct Watcher : TObject {
        TForm* Form = nullptr;
        bool VisibleInHandler = true;
        void Shown(TObject*) {
            Form->SetWindowState(wsNormal);
            VisibleInHandler = IsWindowVisible(Form->Handle()) != FALSE;
        }
    } watcher;
    auto* form = new TForm(Application);
    watcher.Form = form;
    form->OnShow = TNotifyEvent::Bind<&Watcher::Shown>(&watcher);
    form->Show();
    Application->ProcessMessages();
    EXPECT_FALSE(watcher.VisibleInHandler);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    form->SetWindowState(wsMaximized);
    EXPECT_TRUE(IsZoomed(form->Handle()));
    form->SetWindowState(wsNormal);
    EXPECT_FALSE(IsZoomed(form->Handle()));
    // The window's own state counts: maximised by the user, normal again
    // by the program.
    ShowWindow(form->Handle(), SW_MAXIMIZE);
    form->SetWindowState(wsNormal);
    EXPECT_FALSE(IsZoomed(form->Handle()));
    form->Free();
}

TEST(FormCreation, ClosingTheMainFormEndsTheLoop) {
    auto* form = new TForm(Application);
    TCustomForm* savedMain = Application->MainForm();
    Application->SetMainForm(form);
    form->Show();
    Application->ProcessMessages();
    PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    Application->ProcessMessages();
    EXPECT_TRUE(Application->Terminated());
    form->Free();
    Application->SetMainForm(savedMain);
}

// A modal form that fails to show gives back what ShowModal took: the other
// forms are enabled again and the form is not modal any more.
TEST(FormCreation, ShowModalThatFailsToShowEnablesTheOtherFormsAgain) {
    struct Raiser : TObject {
        void Shown(TObject*) { throw Exception("Cannot show"); }
    } raiser;
    auto* other = new TForm(Application);
    other->Show();
    auto* dialog = new TForm(Application);
    dialog->OnShow = TNotifyEvent::Bind<&Raiser::Shown>(&raiser);
    EXPECT_THROW(dialog->ShowModal(), Exception);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    // A modal form's Close only sets ModalResult; this one hides.
    dialog->OnShow = {};
    dialog->Close();
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(dialog->ModalResult(), mrNone);
    dialog->Free();
    other->Free();
}

}  // namespace

namespace {

TEST_F(ControlsTest, AnchorsAreStoredOnlyWhenTheyDifferFromTheAlignment) {
    form->Box1->SetAlign(alTop);
    form->Box2->SetAnchors({akTop, akRight});
    String text = TWriter().WriteRootComponent(form);
    size_t box1 = text.find("object Box1"), box2 = text.find("object Box2");
    ASSERT_NE(box1, String::npos);
    ASSERT_NE(box2, String::npos);
    EXPECT_EQ(text.substr(box1, box2 - box1).find("Anchors"), String::npos) << text;
    EXPECT_NE(text.find("Anchors = [akTop, akRight]", box2), String::npos) << text;
}

}  // namespace

namespace {

TEST_F(ControlsTest, LaterSiblingsStackAboveEarlierOnes) {
    form->Show();
    Pump();
    // Walking down from the top: Box2 (later) comes before Box1.
    HWND top = GetTopWindow(form->Handle());
    std::vector<HWND> order;
    for (HWND h = top; h; h = GetWindow(h, GW_HWNDNEXT)) order.push_back(h);
    auto pos = [&](HWND h) { return std::find(order.begin(), order.end(), h) - order.begin(); };
    EXPECT_LT(pos(form->Box2->Handle()), pos(form->Box1->Handle()));
}

}  // namespace
