// Controls under real mouse input: capture, mouse enter and leave, the wheel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ui/forms.h"

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

// A windowed control that fills its top-left 10 x 10 pixels with Fill.
class TPad : public TCustomControl {
    QL_CLASS(TPad, TCustomControl)
public:
    explicit TPad(TComponent* owner) : TCustomControl(owner) { FControlStyle.Include(csAcceptsControls); }
    TColor Fill = clNone;

protected:
    void Paint() override {
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

}  // namespace
