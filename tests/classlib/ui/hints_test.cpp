// Hints: the rules of when a hint shows and hides, called directly; and
// the application's hints under Wine, with the real cursor over a shown
// form and a manual clock for the pauses.
#include <gtest/gtest.h>

#include "classlib/core/clock.h"
#include "classlib/ui/forms.h"

namespace {

class HintsEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ClasslibUiInitialize(); }
    void TearDown() override { ClasslibUiFinalize(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new HintsEnvironment);

// ============================================================================
// The rules
// ============================================================================

// Two controls to point at (the rules only compare them).
TControl* const A = reinterpret_cast<TControl*>(0x1000);
TControl* const B = reinterpret_cast<TControl*>(0x2000);
const TRect LeftHalf = Rect(0, 0, 50, 20);

struct MouseCase {
    const char* Name;
    THintState Before;
    TControl* Control;
    TPoint Pos;
    // What the step must do and leave.
    bool Hide;
    bool Restart;
    THintTimerMode Timer;
    TControl* ControlAfter;
};

const MouseCase MouseCases[] = {
    {"comes to a control", {}, A, {5, 5}, false, true, htmShow, A},
    {"moves on the control it waits for", {A, false, {}, false, htmShow}, A, {40, 5}, false, false, htmShow, A},
    {"moves to another while waiting", {A, false, {}, false, htmShow}, B, {60, 5}, false, true, htmShow, B},
    {"moves inside the part of a shown hint",
     {A, true, LeftHalf, true, htmHide},
     A,
     {49, 19},
     false,
     false,
     htmHide,
     A},
    {"leaves the part within the control", {A, true, LeftHalf, true, htmHide}, A, {50, 5}, true, true, htmShow, A},
    {"leaves the part of a refused hint", {A, true, LeftHalf, false, htmNone}, A, {70, 5}, false, true, htmShow, A},
    {"stays in the part of a hidden hint", {A, true, LeftHalf, false, htmNone}, A, {10, 5}, false, false, htmNone, A},
    {"moves to another control", {A, true, LeftHalf, true, htmHide}, B, {10, 5}, true, true, htmShow, B},
    {"leaves every control", {A, true, LeftHalf, true, htmHide}, nullptr, {10, 5}, true, true, htmNone, nullptr},
    {"stays off every control", {}, nullptr, {10, 5}, false, false, htmNone, nullptr},
};

TEST(HintRules, MouseMoves) {
    for (const MouseCase& c : MouseCases) {
        THintState state = c.Before;
        THintStep step = HintMouseStep(state, c.Control, c.Pos, 500);
        EXPECT_EQ(step.Hide, c.Hide) << c.Name;
        EXPECT_EQ(step.RestartTimer, c.Restart) << c.Name;
        if (c.Restart && c.Timer != htmNone) {
            EXPECT_EQ(step.Interval, 500) << c.Name;
        }
        EXPECT_EQ(state.Timer, c.Timer) << c.Name;
        EXPECT_EQ(state.Control, c.ControlAfter) << c.Name;
        EXPECT_FALSE(step.Ask) << c.Name;
        if (c.Restart) {
            EXPECT_FALSE(state.Active) << c.Name;
        }
    }
}

TEST(HintRules, PauseAskShowHideAndCancel) {
    THintState state;
    HintMouseStep(state, A, Point(5, 5), 500);
    // The pause ends: ask the control.
    THintStep step = HintTimerStep(state);
    EXPECT_TRUE(step.Ask);
    EXPECT_EQ(state.Timer, htmNone);
    // Shown, for 2500 ms, for the left half.
    step = HintShownStep(state, true, LeftHalf, 2500);
    EXPECT_FALSE(step.Hide);
    EXPECT_TRUE(step.RestartTimer);
    EXPECT_EQ(state.Timer, htmHide);
    EXPECT_EQ(step.Interval, 2500);
    EXPECT_TRUE(state.Active);
    // The hide pause ends.
    step = HintTimerStep(state);
    EXPECT_TRUE(step.Hide);
    EXPECT_FALSE(step.Ask);
    EXPECT_FALSE(state.Active);
    EXPECT_EQ(state.Control, A);
    // Shown without a time limit: no timer.
    HintShownStep(state, true, LeftHalf, 0);
    EXPECT_EQ(state.Timer, htmNone);
    // Refused: nothing shows, the part still counts.
    step = HintShownStep(state, false, LeftHalf, 2500);
    EXPECT_TRUE(step.Hide);
    EXPECT_EQ(state.Timer, htmNone);
    EXPECT_TRUE(state.Asked);
    // Cancelled: hidden, and the control is asked again once the mouse
    // moves, even where it was.
    HintShownStep(state, true, LeftHalf, 2500);
    step = HintCancelStep(state);
    EXPECT_TRUE(step.Hide);
    EXPECT_EQ(state.Control, nullptr);
    step = HintMouseStep(state, A, Point(5, 5), 500);
    EXPECT_EQ(state.Timer, htmShow);
    // A timer that expires after the cursor left asks nobody.
    HintMouseStep(state, nullptr, Point(5, 5), 500);
    state.Timer = htmShow;
    EXPECT_FALSE(HintTimerStep(state).Ask);
}

// ============================================================================
// The application's hints
// ============================================================================

// A control with a hint per half ("tabs"), or one it refuses.
class THalves : public TCustomControl {
    QL_CLASS(THalves, TCustomControl)
public:
    explicit THalves(TComponent* owner) : TCustomControl(owner) {
        FWidth = 200;
        FHeight = 40;
    }
    std::vector<std::string> Asked;
    bool Refuse = false;
    TPoint HintPos{-1, -1};
    void* Data = nullptr;
    TClass WindowClass = nullptr;

protected:
    void WndProc(TMessage& m) override {
        switch (m.Msg) {
        case CM_HINTSHOW: return CMHintShow(m);
        default: TCustomControl::WndProc(m);
        }
    }

private:
    void CMHintShow(TMessage& m) {
        auto* info = reinterpret_cast<THintInfo*>(m.LParam);
        bool left = info->CursorPos.X < Width() / 2;
        info->CursorRect = left ? Rect(0, 0, Width() / 2, Height()) : Rect(Width() / 2, 0, Width(), Height());
        info->HintStr = Hint() + (left ? " left" : " right");
        Asked.push_back(info->HintStr);
        if (HintPos.X >= 0) info->HintPos = HintPos;
        if (WindowClass) info->HintWindowClass = WindowClass;
        info->HintData = Data;
        m.Result = Refuse ? 1 : 0;
    }
};

TClass THalves::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<THalves>("THalves").Publish({"Hint", "ParentShowHint", "ShowHint"}).Build();
    return &info;
}

// A hint window of its own class that records what it was given.
class TRecordingHintWindow : public THintWindow {
    QL_CLASS(TRecordingHintWindow, THintWindow)
public:
    explicit TRecordingHintWindow(TComponent* owner) : THintWindow(owner) {}
    static inline void* SizedFor = nullptr;
    TRect CalcHintRect(int maxWidth, const String& hint, void* data) override {
        SizedFor = data;
        return Rect(0, 0, 120, 30);
    }
};

TClass TRecordingHintWindow::StaticClass() {
    static const TClassInfo info = TClassBuilder<TRecordingHintWindow>("TRecordingHintWindow").Build();
    return &info;
}

const char* const HintLayout = R"(object Form1: TForm
  Left = 100
  Top = 100
  BorderStyle = bsNone
  ClientHeight = 200
  ClientWidth = 300
  object Halves1: THalves
    Left = 20
    Top = 20
    Hint = 'tab'
    ShowHint = True
  end
  object Panel1: TPanel
    Left = 20
    Top = 100
    Width = 200
    Height = 60
    Hint = 'panel'
    ShowHint = True
    object Label1: TLabel
      Left = 10
      Top = 10
      Caption = 'label'
      ParentShowHint = False
      ShowHint = False
    end
  end
end
)";

class HintsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterClasses({THalves::StaticClass()});
        savedPause = Application->HintPause();
        savedHide = Application->HintHidePause();
        Application->SetHintPause(500);
        Application->SetHintHidePause(2500);
        form = new TForm(Application);
        form->ReadLayout(HintLayout, "test");
        form->Show();
        Pump();
        halves = static_cast<THalves*>(form->FindComponent("Halves1"));
    }
    void TearDown() override {
        Application->CancelHint();
        FreeAndNil(form);
        Application->SetHintPause(savedPause);
        Application->SetHintHidePause(savedHide);
        Application->OnShowHint = nullptr;
    }
    void Pump() {
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    // The cursor rests at p of control.
    void PointAt(TControl* control, TPoint p) {
        TPoint s = control->ClientToScreen(p);
        SetCursorPos(s.X, s.Y);
        Pump();
    }
    // Time passes.
    void Wait(TClockTicks ms) {
        clock.Advance(ms);
        Pump();
    }
    // The hint pause (or the hide pause) runs out, and not a moment before.
    void Elapse(TClockTicks pause = 500) {
        size_t asked = halves->Asked.size();
        HWND shown = ShownHint();
        Wait(pause - 1);
        EXPECT_EQ(halves->Asked.size(), asked);
        EXPECT_EQ(ShownHint(), shown);
        Wait(1);
    }
    // The shown hint window, or nullptr.
    static HWND ShownHint() {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &TakeShownHint, LPARAM(&found));
        return found;
    }
    static BOOL CALLBACK TakeShownHint(HWND h, LPARAM found) {
        if (IsWindowVisible(h) && dynamic_cast<THintWindow*>(TWinControl::FindControl(h))) {
            *reinterpret_cast<HWND*>(found) = h;
            return FALSE;
        }
        return TRUE;
    }
    static String TextOf(HWND h) {
        char text[64] = {};
        GetWindowTextA(h, text, sizeof text);
        return text;
    }
    TManualClock clock;
    TClockScope useClock{clock};
    TForm* form = nullptr;
    THalves* halves = nullptr;
    int savedPause = 0, savedHide = 0;
};

TEST_F(HintsTest, LeavingTheCursorRectInsideTheControlAsksAgain) {
    PointAt(halves, Point(20, 20));
    EXPECT_TRUE(halves->Asked.empty());
    Elapse();
    ASSERT_EQ(halves->Asked, (std::vector<std::string>{"tab left"}));
    HWND hint = ShownHint();
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(TextOf(hint), "tab left");
    // Within the left half: the same hint stays, nobody is asked.
    PointAt(halves, Point(80, 25));
    EXPECT_EQ(ShownHint(), hint);
    EXPECT_EQ(halves->Asked.size(), 1u);
    // Into the right half: the hint goes, and after the pause the control
    // is asked again.
    PointAt(halves, Point(150, 20));
    EXPECT_EQ(ShownHint(), nullptr);
    EXPECT_EQ(halves->Asked.size(), 1u);
    Elapse();
    EXPECT_EQ(halves->Asked, (std::vector<std::string>{"tab left", "tab right"}));
    ASSERT_NE(ShownHint(), nullptr);
    EXPECT_EQ(TextOf(ShownHint()), "tab right");
    // The hide pause: the hint goes and does not come back while the
    // cursor stays in its part.
    Elapse(2500);
    EXPECT_EQ(ShownHint(), nullptr);
    PointAt(halves, Point(160, 30));
    Wait(10000);
    EXPECT_EQ(ShownHint(), nullptr);
    EXPECT_EQ(halves->Asked.size(), 2u);
}

TEST_F(HintsTest, TheControlAndOnShowHintMayRefuseOrChangeTheHint) {
    halves->Refuse = true;
    PointAt(halves, Point(20, 20));
    Elapse();
    EXPECT_EQ(halves->Asked.size(), 1u);
    EXPECT_EQ(ShownHint(), nullptr);
    halves->Refuse = false;
    struct Handler : TObject {
        bool Allow = true;
        void Show(String& text, bool& canShow, THintInfo& info) {
            text = "changed " + text;
            info.HintColor = clLime;
            canShow = Allow;
        }
    } handler;
    Application->OnShowHint = TShowHintEvent::Bind<&Handler::Show>(&handler);
    PointAt(halves, Point(150, 20));
    Elapse();
    HWND hint = ShownHint();
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(TextOf(hint), "changed tab right");
    EXPECT_EQ(static_cast<TControl*>(TWinControl::FindControl(hint))->Color(), clLime);
    handler.Allow = false;
    PointAt(halves, Point(20, 20));
    Elapse();
    EXPECT_EQ(ShownHint(), nullptr);
}

TEST_F(HintsTest, TheControlChoosesThePlaceTheWindowClassAndTheData) {
    RegisterClasses({TRecordingHintWindow::StaticClass()});
    int data = 0;
    halves->HintPos = halves->ClientToScreen(Point(30, -15));
    halves->WindowClass = TRecordingHintWindow::StaticClass();
    halves->Data = &data;
    Application->SetHintColor(clYellow);
    PointAt(halves, Point(20, 20));
    Elapse();
    Application->SetHintColor(clInfoBk);
    HWND hint = ShownHint();
    ASSERT_NE(hint, nullptr);
    auto* window = dynamic_cast<TRecordingHintWindow*>(TWinControl::FindControl(hint));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(TRecordingHintWindow::SizedFor, &data);
    EXPECT_EQ(window->HintData(), &data);
    EXPECT_EQ(window->Color(), clYellow);
    RECT r;
    GetWindowRect(hint, &r);
    EXPECT_EQ(Point(r.left, r.top), halves->HintPos);
    EXPECT_EQ(Point(r.right - r.left, r.bottom - r.top), Point(120, 30));
    // Back to the plain window when the control names none.
    halves->WindowClass = nullptr;
    PointAt(halves, Point(150, 20));
    Elapse();
    ASSERT_NE(ShownHint(), nullptr);
    EXPECT_EQ(TWinControl::FindControl(ShownHint())->ClassType(), THintWindow::StaticClass());
}

TEST_F(HintsTest, CancelHintHidesItAndAsksAgainAfterANewPause) {
    PointAt(halves, Point(20, 20));
    Elapse();
    ASSERT_NE(ShownHint(), nullptr);
    Application->CancelHint();
    EXPECT_EQ(ShownHint(), nullptr);
    Pump();
    Elapse();
    EXPECT_EQ(halves->Asked.size(), 2u);
    EXPECT_NE(ShownHint(), nullptr);
    // A click hides it too.
    TPoint s = halves->ClientToScreen(Point(22, 20));
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SetCursorPos(s.X, s.Y);
    SendInput(2, input, sizeof(INPUT));
    Pump();
    EXPECT_EQ(ShownHint(), nullptr);
}

TEST_F(HintsTest, AControlThatShowsNoHintShowsItsParentsHint) {
    auto* label = static_cast<TControl*>(form->FindComponent("Label1"));
    PointAt(label, Point(2, 2));
    Elapse();
    ASSERT_NE(ShownHint(), nullptr);
    EXPECT_EQ(TextOf(ShownHint()), "panel");
}

}  // namespace
