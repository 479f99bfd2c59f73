// Controls, forms and the application under Wine: windows made on demand,
// message routing, painting into a DC, focus with CM_ENTER/CM_EXIT, keys,
// alignment, timers and exception handling; real mouse input (capture,
// enter and leave, the wheel) and painting into given DCs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/core/filer.h"
#include "classlib/ui/comctrls.h"
#include "classlib/ui/extctrls.h"
#include "classlib/ui/forms.h"
#include "classlib/ui/gdi_helpers.h"
#include "classlib/ui/stdctrls.h"
#include "classlib/ui/timers.h"
#include "paint_harness.h"
#include "tests/classlib/core/defaults_check.h"

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
    static const TClassInfo info = TClassBuilder<TFocusBox>("TFocusBox")
                                       .Publish({"Align", "Anchors", "OnClick", "OnEnter", "OnExit"})
                                       .Publish("TabStop")
                                       .Default(true)
                                       .Build();
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
    static const TClassInfo info = TClassBuilder<TSwatch>("TSwatch").Publish({"Color", "OnClick"}).Build();
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

// A stored state does not show the window; the form shows it in that state
// when it next shows its window.
TEST(FormCreation, StoredWindowStateTakesEffectWhenTheFormShows) {
    auto* form = new TForm(Application);
    form->HandleNeeded();
    form->StoreWindowState(wsMaximized);
    EXPECT_EQ(form->WindowState(), wsMaximized);
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    form->Show();
    Application->ProcessMessages();
    EXPECT_TRUE(IsZoomed(form->Handle()));
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

// A form that holds the focus itself (nothing on it takes the focus) has no
// active control; it never names itself, which its layout could not read
// back.
TEST(FormCreation, AFormFocusedItselfHasNoActiveControl) {
    auto* form = new TForm(Application);
    form->Show();
    Application->ProcessMessages();
    SetFocus(form->Handle());
    Application->ProcessMessages();
    EXPECT_EQ(GetFocus(), form->Handle());
    EXPECT_EQ(form->ActiveControl(), nullptr);
    form->Free();
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

// The child windows of parent, from the top of the stack down.
std::vector<HWND> StackOrder(HWND parent) {
    std::vector<HWND> order;
    for (HWND h = GetTopWindow(parent); h; h = GetWindow(h, GW_HWNDNEXT)) order.push_back(h);
    return order;
}

TEST_F(ControlsTest, LaterSiblingsStackAboveEarlierOnes) {
    auto* box3 = new TFocusBox(form);
    box3->SetParent(form);
    form->Show();
    Pump();
    // Walking down from the top: the last in the parent's list first.
    EXPECT_EQ(StackOrder(form->Handle()),
              (std::vector<HWND>{box3->Handle(), form->Box2->Handle(), form->Box1->Handle()}));
    // A sibling that comes while the parent shows goes on top too, and one
    // whose window is made again goes back to its place.
    auto* box4 = new TFocusBox(form);
    box4->SetParent(form);
    Pump();
    form->Box2->DestroyHandle();
    form->Box2->HandleNeeded();
    EXPECT_EQ(StackOrder(form->Handle()),
              (std::vector<HWND>{box4->Handle(), box3->Handle(), form->Box2->Handle(), form->Box1->Handle()}));
}

TEST_F(ControlsTest, FindControlKnowsOnlyTheWindowsOfItsControls) {
    form->Show();
    Pump();
    TWinControl* inner = dynamic_cast<TWinControl*>(form->FindComponent("Inner"));
    ASSERT_NE(inner, nullptr);
    for (TWinControl* c : {static_cast<TWinControl*>(form), static_cast<TWinControl*>(form->Box1), inner})
        EXPECT_EQ(TWinControl::FindControl(c->Handle()), c) << c->Name();
    EXPECT_EQ(TWinControl::FindControl(nullptr), nullptr);
    // A window of this process that no control made.
    HWND plain = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, form->Handle(), nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(TWinControl::FindControl(plain), nullptr);
    DestroyWindow(plain);
    // A window of another process (the desktop's, under Wine its own
    // program's).
    DWORD desktopProcess = 0;
    GetWindowThreadProcessId(GetDesktopWindow(), &desktopProcess);
    EXPECT_NE(desktopProcess, GetCurrentProcessId());
    EXPECT_EQ(TWinControl::FindControl(GetDesktopWindow()), nullptr);
    // A window destroyed from outside the class library, or made again, is
    // forgotten; the new one is found.
    HWND old = inner->Handle();
    DestroyWindow(old);
    EXPECT_FALSE(inner->HandleAllocated());
    EXPECT_EQ(TWinControl::FindControl(old), nullptr);
    old = form->Box1->Handle();
    form->SetBorderStyle(bsSizeable);
    ASSERT_NE(form->Box1->Handle(), old);
    EXPECT_EQ(TWinControl::FindControl(old), nullptr);
    EXPECT_EQ(TWinControl::FindControl(form->Box1->Handle()), form->Box1);
}

TEST_F(ControlsTest, AFreedControlIsNotFoundByItsWindow) {
    form->Show();
    Pump();
    HWND box = form->Box1->Handle();
    form->Box1->Free();
    form->Box1 = nullptr;
    EXPECT_EQ(TWinControl::FindControl(box), nullptr);
    EXPECT_FALSE(IsWindow(box));
}

}  // namespace

// ---- Real mouse input and painting into given DCs: capture, enter and
// leave, the wheel, the z-order of windowed controls, see-through children
// that have their parents paint for them, double buffering, WM_PRINTCLIENT
// and WM_PRINT ----

namespace {

// A plain window that holds controls and erases with its colour.
class TPlainBox : public TWinControl {
    QL_CLASS(TPlainBox, TWinControl)
public:
    explicit TPlainBox(TComponent* owner) : TWinControl(owner) { FControlStyle.Include(csAcceptsControls); }
};

TClass TPlainBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPlainBox>("TPlainBox").Build();
    return &info;
}

// A windowed control that fills its top-left 10 x 10 pixels with Fill, or
// that has its parent paint its background for it (SeeThrough).
class TPad : public TCustomControl {
    QL_CLASS(TPad, TCustomControl)
public:
    explicit TPad(TComponent* owner) : TCustomControl(owner) { FControlStyle.Include(csAcceptsControls); }
    TColor Fill = clNone;
    bool SeeThrough = false;
    bool Border = false;

protected:
    void CreateParams(TCreateParams& params) override {
        TCustomControl::CreateParams(params);
        if (Border) params.Style |= WS_BORDER;
    }
    void Paint() override {
        HDC dc = Canvas()->Handle();
        if (SeeThrough) {
            int saved = SaveDC(dc);
            POINT org;
            GetWindowOrgEx(dc, &org);
            SetWindowOrgEx(dc, org.x + Left(), org.y + Top(), nullptr);
            SendMessageA(Parent()->Handle(), WM_ERASEBKGND, WPARAM(dc), 0);
            SendMessageA(Parent()->Handle(), WM_PAINT, WPARAM(dc), 0);
            RestoreDC(dc, saved);
        }
        if (Fill != clNone) {
            Canvas()->Brush()->SetColor(Fill);
            Canvas()->FillRect(Rect(0, 0, 10, 10));
        }
    }
};

TClass TPad::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPad>("TPad").Build();
    return &info;
}

// A windowless control filled with one colour.
class TDot : public TGraphicControl {
    QL_CLASS(TDot, TGraphicControl)
public:
    explicit TDot(TComponent* owner) : TGraphicControl(owner) {}
    TColor Fill = clRed;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(Fill);
        Canvas()->FillRect(ClientRect());
    }
};

TClass TDot::StaticClass() {
    static const TClassInfo info = TClassBuilder<TDot>("TDot").Build();
    return &info;
}

// Records what the controls it is bound to are told.
struct TInputLog : TObject {
    std::vector<std::string> Events;
    TObject* HandlesWheel = nullptr;  // answers OnMouseWheel with Handled
    TObject* HandlesNotch = nullptr;  // answers OnMouseWheelDown and Up with Handled
    static std::string NameOf(TObject* sender) { return static_cast<TComponent*>(sender)->Name(); }
    void Enter(TObject* s) { Events.push_back("enter " + NameOf(s)); }
    void Leave(TObject* s) { Events.push_back("leave " + NameOf(s)); }
    void Wheel(TObject* s, TShiftState, int delta, TPoint, bool& handled) {
        Events.push_back("wheel " + NameOf(s) + " " + std::to_string(delta));
        handled = s == HandlesWheel;
    }
    void Down(TObject* s, TShiftState, TPoint, bool& handled) {
        Events.push_back("down " + NameOf(s));
        handled = s == HandlesNotch;
    }
    void Up(TObject* s, TShiftState, TPoint, bool& handled) {
        Events.push_back("up " + NameOf(s));
        handled = s == HandlesNotch;
    }
    void Watch(TControl* c) {
        c->OnMouseEnter = TNotifyEvent::Bind<&TInputLog::Enter>(this);
        c->OnMouseLeave = TNotifyEvent::Bind<&TInputLog::Leave>(this);
        c->OnMouseWheel = TMouseWheelEvent::Bind<&TInputLog::Wheel>(this);
        c->OnMouseWheelDown = TMouseWheelUpDownEvent::Bind<&TInputLog::Down>(this);
        c->OnMouseWheelUp = TMouseWheelUpDownEvent::Bind<&TInputLog::Up>(this);
    }
    std::vector<std::string> Take() { return std::exchange(Events, {}); }
};

// Real mouse input, as the system gets it from the device.
void SendMouse(DWORD flags, int data = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = DWORD(data);
    SendInput(1, &input, sizeof(input));
}

void DispatchOnly();

// Moves the cursor to screen, and again while it does not stay there: on a
// busy machine the display may report an older pointer position late.
void MoveMouse(TPoint screen) {
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (screen.X * 65536 + w - 1) / w;
    input.mi.dy = (screen.Y * 65536 + h - 1) / h;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    POINT p{};
    for (int attempt = 0; attempt < 20; ++attempt) {
        SendInput(1, &input, sizeof(input));
        DispatchOnly();
        GetCursorPos(&p);
        if (Point(p.x, p.y) == screen) return;
    }
    ADD_FAILURE() << "the cursor stays at " << p.x << "," << p.y << ", not at " << screen.X << "," << screen.Y;
}

TPoint CentreOf(TControl* c) { return c->ClientToScreen(Point(c->Width() / 2, c->Height() / 2)); }

// The messages waiting, without the idle-time checks of the message loop.
void DispatchOnly() {
    MSG msg;
    for (int i = 0; i < 3; ++i) {
        while (Application->ProcessMessage(msg)) {}
        Sleep(10);
    }
}

// Messages and the idle-time checks, as the message loop does.
void Pump() {
    for (int i = 0; i < 5; ++i) {
        Application->ProcessMessages();
        Sleep(5);
    }
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetName("Form");
        form->SetBorderStyle(bsSingle);
        form->SetBounds(40, 40, 420, 320);
        log.Watch(form);
    }
    void TearDown() override {
        SendMouse(MOUSEEVENTF_LEFTUP);
        FreeAndNil(form);
        Pump();
    }
    template <class T>
    T* Add(TWinControl* parent, const char* name, int left, int top, int width, int height) {
        auto* c = new T(form);
        c->SetName(name);
        c->SetBounds(left, top, width, height);
        c->SetParent(parent);
        log.Watch(c);
        return c;
    }
    // Shows the form and waits until the display has it where it is.
    void ShowForm() {
        form->Show();
        SetForegroundWindow(form->Handle());
        POINT centre{form->ClientWidth() / 2, form->ClientHeight() / 2};
        ClientToScreen(form->Handle(), &centre);
        for (int i = 0; i < 50; ++i) {
            Pump();
            HWND h = WindowFromPoint(centre);
            if (h == form->Handle() || IsChild(form->Handle(), h)) break;
        }
    }
    TForm* form = nullptr;
    TInputLog log;
};

// ---- Capture, mouse enter and leave ----

struct CaptureCase {
    const char* What;
    bool Windowed;  // the pressed control has a window of its own
};

class CaptureTest : public InputTest, public ::testing::WithParamInterface<CaptureCase> {};

TEST_P(CaptureTest, OnlyTheCapturingControlIsEnteredAndLeftWhileTheButtonIsHeld) {
    TControl *a, *b;
    if (GetParam().Windowed) {
        a = Add<TPad>(form, "A", 20, 20, 60, 40);
        b = Add<TPad>(form, "B", 120, 20, 60, 40);
    } else {
        a = Add<TDot>(form, "A", 20, 120, 60, 40);
        b = Add<TDot>(form, "B", 120, 120, 60, 40);
    }
    ShowForm();
    MoveMouse(CentreOf(a));
    Pump();
    EXPECT_EQ(Application->MouseControl(), a);
    log.Take();

    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pump();
    EXPECT_TRUE(a->MouseCapture());
    EXPECT_FALSE(b->MouseCapture());
    // Over the other control the pressed one is left; the other stays unlit.
    MoveMouse(CentreOf(b));
    Pump();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"leave A"}));
    EXPECT_TRUE(a->MouseCapture());
    MoveMouse(CentreOf(a));
    Pump();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"enter A"}));
    MoveMouse(CentreOf(b));
    Pump();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"leave A"}));
    // Released over the other one: it is entered now.
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pump();
    EXPECT_FALSE(a->MouseCapture());
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"enter B"}));
    EXPECT_EQ(Application->MouseControl(), b);
}

INSTANTIATE_TEST_SUITE_P(Controls, CaptureTest,
                         ::testing::Values(CaptureCase{"windowed", true}, CaptureCase{"windowless", false}),
                         [](const auto& info) { return std::string(info.param.What); });

TEST_F(InputTest, EnterAndLeaveComeWithTheMovesNotOnlyWhenTheQueueIsEmpty) {
    TDot* dot = Add<TDot>(form, "Dot", 20, 120, 60, 40);
    TPad* pad = Add<TPad>(form, "Pad", 120, 20, 60, 40);
    ShowForm();
    MoveMouse(form->ClientToScreen(Point(300, 250)));
    Pump();
    log.Take();
    MoveMouse(CentreOf(dot));
    DispatchOnly();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"leave Form", "enter Dot"}));
    MoveMouse(CentreOf(pad));
    DispatchOnly();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"leave Dot", "enter Pad"}));
    // Out of the program's windows no move comes: the window says when the
    // cursor left it.
    MoveMouse(Point(1200, 950));
    for (int i = 0; i < 100 && log.Events.empty(); ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        DispatchOnly();
    }
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"leave Pad"}));
    EXPECT_EQ(Application->MouseControl(), nullptr);
}

// ---- The wheel ----

struct WheelCase {
    const char* What;
    int Delta;
    const char* HandlesWheel;  // the control whose OnMouseWheel takes it
    const char* HandlesNotch;  // the control whose OnMouseWheelDown/Up takes it
    std::vector<std::string> Expected;
};

class WheelTest : public InputTest, public ::testing::WithParamInterface<WheelCase> {};

// A group of panels: the wheel over a panel that does not use it scrolls
// the group, whichever control has the focus.
TEST_P(WheelTest, GoesFromTheControlUnderTheCursorUpToTheFirstThatUsesIt) {
    const WheelCase& c = GetParam();
    TPad* other = Add<TPad>(form, "Other", 300, 20, 40, 20);
    other->SetTabStop(true);
    TPad* group = Add<TPad>(form, "Group", 20, 20, 200, 200);
    TPad* panel = Add<TPad>(group, "Panel", 10, 10, 100, 60);
    TDot* dot = Add<TDot>(panel, "Dot", 10, 10, 20, 20);
    ShowForm();
    other->SetFocus();
    ASSERT_TRUE(other->Focused());
    for (TObject* o : std::vector<TObject*>{form, other, group, panel, dot}) {
        if (c.HandlesWheel && TInputLog::NameOf(o) == c.HandlesWheel) log.HandlesWheel = o;
        if (c.HandlesNotch && TInputLog::NameOf(o) == c.HandlesNotch) log.HandlesNotch = o;
    }
    MoveMouse(CentreOf(dot));
    Pump();
    log.Take();
    SendMouse(MOUSEEVENTF_WHEEL, c.Delta);
    Pump();
    EXPECT_EQ(log.Take(), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, WheelTest,
    ::testing::Values(
        WheelCase{"GroupScrollsDown",
                  -WHEEL_DELTA,
                  nullptr,
                  "Group",
                  {"wheel Dot -120", "down Dot", "wheel Panel -120", "down Panel", "wheel Group -120", "down Group"}},
        WheelCase{"GroupScrollsUp",
                  WHEEL_DELTA,
                  nullptr,
                  "Group",
                  {"wheel Dot 120", "up Dot", "wheel Panel 120", "up Panel", "wheel Group 120", "up Group"}},
        WheelCase{
            "PanelTakesItWhole", -WHEEL_DELTA, "Panel", nullptr, {"wheel Dot -120", "down Dot", "wheel Panel -120"}},
        WheelCase{"NobodyUsesIt",
                  -2 * WHEEL_DELTA,
                  nullptr,
                  nullptr,
                  {"wheel Dot -240", "down Dot", "down Dot", "wheel Panel -240", "down Panel", "down Panel",
                   "wheel Group -240", "down Group", "down Group", "wheel Form -240", "down Form", "down Form"}}),
    [](const auto& info) { return std::string(info.param.What); });

TEST(MouseWheel, NotchesAreCountedOverFineSteps) {
    TPlainBox box(nullptr);
    box.SetName("Box");
    TInputLog log;
    log.Watch(&box);
    log.HandlesNotch = &box;
    for (int delta : {40, 40, 40, 40, -80, -80, -80, -40})
        box.Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(delta))), 0);
    // Three steps up make a notch up; from the 40 up left, two steps down
    // make a notch down, and the next two another.
    std::vector<std::string> notches;
    for (auto& e : log.Events)
        if (e.rfind("wheel", 0) != 0) notches.push_back(e);
    EXPECT_EQ(notches, (std::vector<std::string>{"up Box", "down Box", "down Box"}));
}

// ---- Z-order ----

TEST_F(InputTest, BringToFrontAndSendToBackMoveAWindowAndItsPlaceInTheList) {
    TPad* a = Add<TPad>(form, "A", 20, 20, 60, 40);
    TPad* b = Add<TPad>(form, "B", 50, 30, 60, 40);
    ShowForm();
    POINT overlap{60, 40};
    ClientToScreen(form->Handle(), &overlap);
    auto last = [&] { return form->Controls(form->ControlCount() - 1); };
    EXPECT_EQ(WindowFromPoint(overlap), b->Handle());
    a->BringToFront();
    EXPECT_EQ(WindowFromPoint(overlap), a->Handle());
    EXPECT_EQ(GetTopWindow(form->Handle()), a->Handle());
    EXPECT_EQ(last(), a);
    a->SendToBack();
    EXPECT_EQ(WindowFromPoint(overlap), b->Handle());
    EXPECT_EQ(GetWindow(b->Handle(), GW_HWNDNEXT), a->Handle());
    EXPECT_EQ(last(), b);
    // A window made again takes its place from the list.
    a->BringToFront();
    form->DestroyHandle();
    ShowForm();
    EXPECT_EQ(GetTopWindow(form->Handle()), a->Handle());
    // Windowless controls keep doing it too.
    TDot* d1 = Add<TDot>(form, "D1", 200, 200, 20, 20);
    TDot* d2 = Add<TDot>(form, "D2", 210, 210, 20, 20);
    EXPECT_EQ(form->ControlAtPos(Point(215, 215), false), d2);
    d1->BringToFront();
    EXPECT_EQ(form->ControlAtPos(Point(215, 215), false), d1);
    d1->SendToBack();
    EXPECT_EQ(form->ControlAtPos(Point(215, 215), false), d2);
}

// ---- Painting into given DCs ----

// A colour nothing the tests paint uses.
constexpr COLORREF Sentinel = RGB(255, 0, 255);

COLORREF Pixel(const TPaintTarget& target, int x, int y) { return COLORREF(target.PixelAt(x, y)); }

const COLORREF Red = RGB(255, 0, 0), Green = RGB(0, 128, 0), Blue = RGB(0, 0, 255), Yellow = RGB(255, 255, 0);

// A check box on a group box on a page on a panel: each see-through one has
// its parent paint into its DC, down to the plain panel, whose own pending
// paint must survive.
TEST_F(InputTest, AParentPaintingIntoAChildsDcKeepsItsOwnPaintPending) {
    auto* panel = Add<TPlainBox>(form, "Panel", 10, 10, 300, 200);
    panel->SetColor(clGreen);
    auto* mark = Add<TDot>(panel, "Mark", 30, 30, 10, 10);
    mark->Fill = clBlue;
    auto* page = Add<TPad>(panel, "Page", 10, 10, 200, 150);
    auto* group = Add<TPad>(page, "Group", 10, 10, 150, 100);
    auto* check = Add<TPad>(group, "Check", 5, 5, 60, 30);
    for (TPad* p : {page, group, check}) p->SeeThrough = true;
    check->Fill = clYellow;
    ShowForm();
    TPaintTarget mem(60, 30, TColor(Sentinel));
    mem.Paint(check);
    // The check box is at 25,25 on the panel: the panel's mark at 30,30 shows at 5,5
    // under the check box's own 10 x 10 pixels.
    EXPECT_EQ(Pixel(mem, 2, 2), Yellow);
    EXPECT_EQ(Pixel(mem, 12, 2), Green);
    EXPECT_EQ(Pixel(mem, 20, 20), Green);
    EXPECT_EQ(Pixel(mem, 12, 12), Blue);
    EXPECT_EQ(Pixel(mem, 55, 25), Green);

    // The same through the system's paint: the panel and the check box both
    // need painting, the check box paints first.
    Pump();
    InvalidateRect(panel->Handle(), nullptr, TRUE);
    check->Repaint();
    RECT pending;
    EXPECT_TRUE(GetUpdateRect(panel->Handle(), &pending, FALSE));
    Pump();
    EXPECT_FALSE(GetUpdateRect(panel->Handle(), &pending, FALSE));
}

// Watches the erase messages of a control: the DC gets the sentinel colour
// first, and afterwards the pixel at 1,1 tells whether it was erased.
struct TEraseWatch : TObject {
    TWndMethod Old;
    std::vector<COLORREF> Seen;
    void Proc(TMessage& m) {
        if (m.Msg != WM_ERASEBKGND) return Old(m);
        auto dc = reinterpret_cast<HDC>(m.WParam);
        RECT r{0, 0, 4, 4};
        HBRUSH brush = CreateSolidBrush(Sentinel);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        Old(m);
        Seen.push_back(GetPixel(dc, 1, 1));
    }
};

TEST_F(InputTest, ADoubleBufferedWindowErasesOnlyWhenAskedToPaintIntoADc) {
    auto* box = Add<TPlainBox>(form, "Box", 10, 10, 100, 80);
    box->SetColor(clBlue);
    box->SetDoubleBuffered(true);
    ShowForm();
    TEraseWatch watch;
    watch.Old = box->WindowProc;
    box->WindowProc = TWndMethod::Bind<&TEraseWatch::Proc>(&watch);
    // The system's erase before a paint: nothing, the buffered paint
    // draws the background.
    InvalidateRect(box->Handle(), nullptr, TRUE);
    UpdateWindow(box->Handle());
    ASSERT_FALSE(watch.Seen.empty());
    EXPECT_EQ(watch.Seen.front(), Sentinel);
    // A child asking for the background in its own DC, or a caller's DC.
    auto* child = Add<TPad>(box, "Child", 20, 20, 30, 30);
    Pump();
    watch.Seen.clear();
    HDC childDc = GetDC(child->Handle());
    SendMessageA(box->Handle(), WM_ERASEBKGND, WPARAM(childDc), 0);
    ReleaseDC(child->Handle(), childDc);
    TPaintTarget mem(100, 80, TColor(Sentinel));
    SendMessageA(box->Handle(), WM_ERASEBKGND, WPARAM(mem.DC()), 0);
    mem.Paint(box);
    EXPECT_EQ(watch.Seen, (std::vector<COLORREF>{Blue, Blue, Blue}));
    EXPECT_EQ(Pixel(mem, 60, 60), Blue);
    box->WindowProc = watch.Old;
}

struct PrintCase {
    const char* What;
    DWORD Flags;
    COLORREF Painted, Background, Child;  // at 5,5 / 40,5 / 25,25
};

class PrintClientTest : public InputTest, public ::testing::WithParamInterface<PrintCase> {};

TEST_P(PrintClientTest, PaintsWhatItsFlagsAskFor) {
    const PrintCase& c = GetParam();
    auto* box = Add<TPad>(form, "Box", 10, 10, 60, 40);
    box->SetColor(clGreen);
    box->Fill = clRed;
    auto* inner = Add<TPad>(box, "Inner", 20, 20, 10, 10);
    inner->Fill = clBlue;
    ShowForm();
    TPaintTarget mem(60, 40, TColor(Sentinel));
    SendMessageA(box->Handle(), WM_PRINTCLIENT, WPARAM(mem.DC()), LPARAM(c.Flags));
    EXPECT_EQ(Pixel(mem, 5, 5), c.Painted);
    EXPECT_EQ(Pixel(mem, 40, 5), c.Background);
    EXPECT_EQ(Pixel(mem, 25, 25), c.Child);
}

constexpr COLORREF None = Sentinel;

INSTANTIATE_TEST_SUITE_P(Controls, PrintClientTest,
                         ::testing::Values(PrintCase{"Client", PRF_CLIENT, Red, None, None},
                                           PrintCase{"Erase", PRF_ERASEBKGND, Green, Green, Green},
                                           PrintCase{"ClientAndChildren", PRF_CLIENT | PRF_CHILDREN, Red, None, Blue},
                                           PrintCase{"Everything", PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN, Red,
                                                     Green, Blue}),
                         [](const auto& info) { return std::string(info.param.What); });

TEST_F(InputTest, PrintCapturesTheWholeWindowFrameClientAndChildren) {
    auto* box = new TPad(form);
    box->Border = true;
    box->SetBounds(10, 10, 60, 40);
    box->SetParent(form);
    box->SetColor(clGreen);
    box->Fill = clRed;
    auto* inner = new TPad(form);
    inner->Border = true;
    inner->SetBounds(20, 20, 10, 10);
    inner->SetParent(box);
    inner->Fill = clBlue;
    ShowForm();
    RECT client;
    GetClientRect(box->Handle(), &client);
    ASSERT_EQ(client.right, 58);  // a one-pixel border
    TPaintTarget mem(60, 40, TColor(Sentinel));
    SendMessageA(box->Handle(), WM_PRINT, WPARAM(mem.DC()), PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN);
    EXPECT_EQ(Pixel(mem, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(Pixel(mem, 1 + 5, 1 + 5), Red);
    EXPECT_EQ(Pixel(mem, 1 + 40, 1 + 5), Green);
    // The child's own frame comes with it.
    EXPECT_EQ(Pixel(mem, 1 + 20, 1 + 20), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(Pixel(mem, 1 + 25, 1 + 25), Blue);
    EXPECT_EQ(Pixel(mem, 1 + 31, 1 + 31), Green);
    EXPECT_EQ(Pixel(mem, 59, 39), Pixel(mem, 0, 0));
}

}  // namespace

// ---- What each control class publishes ----

namespace {

struct Published {
    TClass (*Class)();
    const char* Names;  // comma-separated, in property-list order
};

String Names(TClass cls) {
    String names;
    for (const TPropInfo* p : GetPropList(cls)) names += (names.empty() ? "" : ",") + p->Name;
    return names;
}

const Published Expected[] = {
    {&TControl::StaticClass, "Name,Tag,Left,Top,Width,Height"},
    {&TWinControl::StaticClass, "Name,Tag,Left,Top,Width,Height"},
    {&TGraphicControl::StaticClass, "Name,Tag,Left,Top,Width,Height"},
    {&TCustomControl::StaticClass, "Name,Tag,Left,Top,Width,Height"},
    {&TCustomPanel::StaticClass, "Name,Tag,Left,Top,Width,Height"},
    {&TPanel::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp,Alignment,BevelInner,"
     "BevelOuter,BevelWidth,BorderWidth,BorderStyle,ParentBackground"},
    {&TImage::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,AutoSize,"
     "Center,Picture,Proportional,Stretch,Transparent"},
    {&TBevel::StaticClass, "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,"
                           "DragKind,DragMode,Enabled,Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,"
                           "ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,OnDragOver,OnEndDrag,OnMouseDown,"
                           "OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,Shape,Style"},
    {&TGroupButton::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp,Alignment,Checked"},
    {&TCustomRadioGroup::StaticClass, "Name,Tag,Left,Top,Width,Height"},
    {&TRadioGroup::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp,Ctl3D,"
     "ParentBackground,Columns,ItemIndex,Items"},
    {&TPaintBox::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,OnPaint"},
    {&TCustomForm::StaticClass, "Name,Tag,Left,Top,Width,Height"},
    {&TForm::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp,BorderIcons,"
     "BorderStyle,ClientHeight,ClientWidth,FormStyle,KeyPreview,PixelsPerInch,Position,Scaled,WindowState,"
     "ActiveControl,Menu,OnActivate,OnClose,OnCloseQuery,OnCreate,OnDeactivate,OnDestroy,OnHide,OnPaint,OnShow"},
    {&TCustomLabel::StaticClass, "Name,Tag,Left,Top,Width,Height"},
    {&TLabel::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,Alignment,"
     "AutoSize,FocusControl,Layout,ShowAccelChar,Transparent,WordWrap"},
    {&TButtonControl::StaticClass, "Name,Tag,Left,Top,Width,Height"},
    {&TButton::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp,Cancel,Default,"
     "ModalResult,Images,ImageIndex"},
    {&TCustomCheckBox::StaticClass, "Name,Tag,Left,Top,Width,Height"},
    {&TCheckBox::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp,Alignment,AllowGrayed,"
     "Checked,State"},
    {&TRadioButton::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp,Alignment,Checked"},
    {&TCustomGroupBox::StaticClass, "Name,Tag,Left,Top,Width,Height"},
    {&TGroupBox::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp,Ctl3D,"
     "ParentBackground"},
    {&TCustomComboBox::StaticClass, "Name,Tag,Left,Top,Width,Height"},
    {&TComboBox::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp,Style,Ctl3D,"
     "DropDownCount,Sorted,ItemIndex,Text,Items,OnChange,OnCloseUp,OnDropDown,OnSelect"},
    {&TScrollBar::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp,Kind,LargeChange,Max,"
     "Min,PageSize,Position,SmallChange,OnChange,OnScroll"},
    {&TCustomEdit::StaticClass, "Name,Tag,Left,Top,Width,Height"},
    {&TEdit::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp,MaxLength,ReadOnly,"
     "Text,OnChange"},
    {&TPageControl::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp,ActivePage,OnChange,"
     "OnChanging"},
    {&TTabSheet::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp,PageIndex,TabVisible"},
    {&THintWindow::StaticClass,
     "Name,Tag,Action,Align,Anchors,Left,Top,Width,Height,Caption,Color,Cursor,DragCursor,DragKind,DragMode,Enabled,"
     "Font,Hint,ParentColor,ParentFont,ParentShowHint,PopupMenu,ShowHint,Visible,OnClick,OnDblClick,OnDragDrop,"
     "OnDragOver,OnEndDrag,OnMouseDown,OnMouseMove,OnMouseUp,OnMouseEnter,OnMouseLeave,OnResize,OnStartDrag,TabOrder,"
     "TabStop,DoubleBuffered,DockSite,UseDockManager,OnEnter,OnExit,OnKeyDown,OnKeyPress,OnKeyUp"},
};

TEST(Publishing, EachControlClassPublishesItsOwnList) {
    for (const Published& p : Expected) EXPECT_EQ(Names(p.Class()), p.Names) << p.Class()->Name;
    // The form storage's look-ups by name see the same.
    EXPECT_EQ(GetPropInfo(TCustomControl::StaticClass(), "Caption"), nullptr);
    EXPECT_EQ(GetPropInfo(TCustomPanel::StaticClass(), "PopupMenu"), nullptr);
    EXPECT_NE(GetPropInfo(TPanel::StaticClass(), "PopupMenu"), nullptr);
    EXPECT_NE(GetDeclaredPropInfo(TCustomControl::StaticClass(), "Caption"), nullptr);
}

TEST(Publishing, RegisteredControlsHoldTheirDeclaredDefaults) {
    ClasslibUiInitialize();
    EXPECT_GE(ExpectRegisteredClassesHoldTheirDefaults(), 15);
}

}  // namespace

// The screen's cursors, loaded when first asked for, are the system's own;
// one set by the program stays until it is set again.
TEST(ScreenCursorsTest, StandardCursorsAreTheSystemsAndASetOneIsKept) {
    TScreen screen(nullptr);
    const struct {
        TCursor Cursor;
        LPCSTR Id;
    } cases[] = {{crArrow, IDC_ARROW},    {crIBeam, IDC_IBEAM},  {crHourGlass, IDC_WAIT},
                 {crHandPoint, IDC_HAND}, {crDrag, IDC_ARROW},   {crNoDrop, IDC_NO},
                 {crHSplit, IDC_SIZEWE},  {crSQLWait, IDC_WAIT}, {TCursor(7), IDC_ARROW}};
    for (const auto& c : cases) {
        EXPECT_EQ(screen.Cursors(c.Cursor), LoadCursorA(nullptr, c.Id)) << int(c.Cursor);
        EXPECT_EQ(screen.Cursors(c.Cursor), LoadCursorA(nullptr, c.Id)) << int(c.Cursor) << ", asked again";
    }
    EXPECT_EQ(ArrowCursor(), LoadCursorA(nullptr, IDC_ARROW));
    const HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    screen.SetCursors(crIBeam, cross);
    EXPECT_EQ(screen.Cursors(crIBeam), cross);
    screen.SetCursors(crHelp, cross);  // before it was ever asked for
    EXPECT_EQ(screen.Cursors(crHelp), cross);
}
