#include "components/controls/glow_button_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ui/actions.h"
#include "classlib/ui/forms.h"

namespace {

class GlowEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ClasslibUiInitialize();
        RegisterGlowButtonClasses();
    }
    void TearDown() override { ClasslibUiFinalize(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new GlowEnvironment);

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct TLog : TObject {
    std::vector<std::string> Events;
    void Click(TObject* s) { Events.push_back("click " + dynamic_cast<TComponent*>(s)->Name()); }
    void DropDown(TObject* s) { Events.push_back("dropdown " + dynamic_cast<TComponent*>(s)->Name()); }
    void FreeTimer(TObject*) {}
};

// A form far from the cursor with glow buttons on it; time is a manual
// clock, so fades and repeats run only when the test advances it.
class GlowButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(1270, 1010);
        form = new TForm(Application);
        form->SetBounds(40, 40, 400, 200);
        first = Add("First", 10);
        second = Add("Second", 120);
    }
    void TearDown() override {
        FreeAndNil(form);
        Pump();
    }
    TLumGlowButton* Add(const char* name, int left) {
        auto* b = new TLumGlowButton(form);
        b->SetName(name);
        b->SetParent(form);
        b->SetBounds(left, 10, 100, 41);
        b->OnClick = TNotifyEvent::Bind<&TLog::Click>(&log);
        b->OnDropDown = TNotifyEvent::Bind<&TLog::DropDown>(&log);
        return b;
    }
    static void Press(TControl* c, int x, int y) { c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    static void Release(TControl* c, int x, int y) { c->Perform(WM_LBUTTONUP, 0, MAKELPARAM(short(x), short(y))); }
    static void Move(TControl* c, int x, int y) {
        c->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(short(x), short(y)));
    }
    static void Enter(TControl* c) { c->Perform(CM_MOUSEENTER, 0, LPARAM(c)); }
    static void Leave(TControl* c) { c->Perform(CM_MOUSELEAVE, 0, LPARAM(c)); }

    TManualClock clock;
    TClockScope scope{clock};
    TLog log;
    TForm* form = nullptr;
    TLumGlowButton* first = nullptr;
    TLumGlowButton* second = nullptr;
};

TEST_F(GlowButtonTest, DefaultsAsPublished) {
    TLumGlowButton* b = first;
    EXPECT_EQ(b->Version(), "1.9.1.1");
    EXPECT_EQ(b->InitRepeatPause(), 400);
    EXPECT_EQ(b->RepeatPause(), 100);
    EXPECT_EQ(b->ImageIndex(), -1);
    EXPECT_TRUE(b->Rounded());
    EXPECT_TRUE(b->DropDownSplit());
    EXPECT_EQ(b->MaxButtonSizeState(), bsLarge);
    auto* fresh = new TLumGlowButton(form);
    EXPECT_EQ(fresh->Width(), 100);
    EXPECT_EQ(fresh->Height(), 41);
    for (const String& drift : FindDefaultDrifts(fresh)) ADD_FAILURE() << drift;
    EXPECT_EQ(GetEnumProp(fresh, "AntiAlias"), "aaClearType");
    EXPECT_NE(Supports<IStylePreset>(static_cast<TComponent*>(fresh)), nullptr);
}

TEST_F(GlowButtonTest, HoverFadesInAndLeavingFadesOutFromFullGlow) {
    Enter(first);
    EXPECT_TRUE(first->Hot());
    ASSERT_TRUE(first->Fade().Running());
    clock.Advance(5 * kGlowFadeInterval);
    EXPECT_EQ(first->Fade().GlowValue, 100);
    clock.Advance(kGlowFadeInterval);
    EXPECT_FALSE(first->Fade().Running());  // the timer freed itself in its tick
    Leave(first);
    EXPECT_FALSE(first->Hot());
    EXPECT_EQ(first->Fade().GlowValue, 100);
    clock.Advance(2 * kGlowFadeInterval);
    EXPECT_EQ(first->Fade().GlowValue, 60);
    Enter(first);  // back mid-fade: the step turns
    clock.Advance(kGlowFadeInterval);
    EXPECT_EQ(first->Fade().GlowValue, 80);
    EXPECT_EQ(clock.TimerCount(), 1);
}

TEST_F(GlowButtonTest, APushButtonClicksOnReleaseInsideOnly) {
    Enter(first);
    Press(first, 5, 5);
    EXPECT_TRUE(first->PendingPress());
    EXPECT_EQ(first->VisualState(), gsPressed);
    Move(first, 200, 5);  // held outside: drawn up
    EXPECT_EQ(first->VisualState(), gsNormal);
    Move(first, 5, 5);
    EXPECT_EQ(first->VisualState(), gsPressed);
    Release(first, 5, 5);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click First"}));
    EXPECT_FALSE(first->PendingPress());
    Press(first, 5, 5);
    Release(first, 300, 5);
    EXPECT_EQ(log.Events.size(), 1u);
}

TEST_F(GlowButtonTest, LeavingWhileHeldRemembersItAndComingBackPressesAgain) {
    Enter(first);
    Press(first, 5, 5);
    Leave(first);
    EXPECT_TRUE(first->LeftWhileHeld());
    EXPECT_FALSE(first->Pressed());
    Enter(first);
    EXPECT_TRUE(first->Pressed());
}

TEST_F(GlowButtonTest, DownOnAnUngroupedPushButtonStaysUp) {
    first->SetDown(true);
    EXPECT_FALSE(first->Down());
}

TEST_F(GlowButtonTest, GroupButtonsAreExclusiveAndStayDownUnlessAllowAllUp) {
    first->SetGroupIndex(1);
    second->SetGroupIndex(1);
    first->SetDown(true);
    second->SetDown(true);
    EXPECT_FALSE(first->Down());
    EXPECT_TRUE(second->Down());
    EXPECT_EQ(second->VisualState(), gsCheckedDown);
    // Clicking the down one again changes nothing...
    Press(second, 5, 5);
    Release(second, 5, 5);
    EXPECT_TRUE(second->Down());
    // ...unless all may be up.
    second->SetAllowAllUp(true);
    Press(second, 5, 5);
    Release(second, 5, 5);
    EXPECT_FALSE(second->Down());
    // A release outside leaves a group button as it was.
    Press(first, 5, 5);
    Release(first, -20, 5);
    EXPECT_FALSE(first->Down());
}

// How a press ends.
enum TPressEnd { peReleaseInside, peReleaseOutside, peKeyUp, peFocusExit };

struct TPressCase {
    TLumButtonStyle Style;
    bool Down;
    int GroupIndex;
    TPressEnd End;
    bool DownAfter;  // and the button rests in its state for that Down
};

// Style x Down x GroupIndex x the ways a press ends: Down afterwards, and
// the state a paint then draws (GlowPaintState) is the resting one of that
// Down: a down group button checked-down, a down bsCheck button pressed.
TEST_F(GlowButtonTest, APressEndsInTheRestingStateOfTheDownItLeaves) {
    const TPressCase cases[] = {
        {bsButton, false, 0, peReleaseInside, false}, {bsButton, false, 0, peReleaseOutside, false},
        {bsButton, false, 0, peKeyUp, false},         {bsButton, false, 0, peFocusExit, false},
        {bsButton, false, 1, peReleaseInside, true},  {bsButton, false, 1, peReleaseOutside, false},
        {bsButton, false, 1, peKeyUp, false},         {bsButton, false, 1, peFocusExit, false},
        {bsButton, true, 1, peReleaseInside, true},   {bsButton, true, 1, peReleaseOutside, true},
        {bsButton, true, 1, peKeyUp, true},           {bsButton, true, 1, peFocusExit, true},
        {bsCheck, false, 0, peReleaseInside, true},   {bsCheck, false, 0, peReleaseOutside, false},
        {bsCheck, false, 0, peKeyUp, false},          {bsCheck, true, 0, peReleaseInside, false},
        {bsCheck, true, 0, peReleaseOutside, true},   {bsCheck, true, 0, peKeyUp, true},
        {bsCheck, false, 1, peReleaseInside, true},   {bsCheck, false, 1, peReleaseOutside, false},
        {bsCheck, true, 1, peReleaseInside, false},   {bsCheck, true, 1, peReleaseOutside, true},
        {bsCheck, true, 1, peFocusExit, false},  // the press took its new Down already
    };
    form->Show();
    Pump();
    for (const TPressCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << int(c.Style) << " down " << c.Down << " group " << c.GroupIndex
                                        << " end " << int(c.End));
        TLumGlowButton* b = Add("Probe", 230);
        b->SetStyle(c.Style);
        b->SetGroupIndex(c.GroupIndex);
        b->SetDown(c.Down);
        ASSERT_EQ(b->Down(), c.Down);
        second->SetFocus();
        if (c.End == peKeyUp) {
            b->SetFocus();
            b->Perform(WM_KEYDOWN, VK_SPACE, 1);
            EXPECT_EQ(b->VisualState(), gsPressed);
            b->Perform(WM_KEYUP, VK_SPACE, LPARAM(0xC0000001));
        } else {
            Press(b, 5, 5);
            Move(b, 6, 5);  // a one-pixel move while held
            if (c.End == peReleaseInside) Release(b, 6, 5);
            if (c.End == peReleaseOutside) {
                Move(b, 6, 80);
                Release(b, 6, 80);
            }
            if (c.End == peFocusExit) second->SetFocus();
        }
        clock.Advance(6 * kGlowFadeInterval);  // the press fades out
        EXPECT_EQ(b->Down(), c.DownAfter);
        EXPECT_FALSE(b->Pressed());
        EXPECT_EQ(GlowPaintState(b->PaintInput()), GlowRestingState(c.Style, c.DownAfter));
        b->Free();
    }
}

TEST_F(GlowButtonTest, ASplitButtonDropsDownOnlyWithin14PixelsAndLightsWithin12) {
    first->SetDropDownButton(true);
    Press(first, 85, 5);
    Release(first, 85, 5);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click First"}));
    log.Events.clear();
    Press(first, 87, 5);
    Release(first, 87, 5);
    EXPECT_EQ(log.Events.front(), "dropdown First");
    Move(first, 88, 5);
    EXPECT_FALSE(first->DropDownHot());
    Move(first, 89, 5);
    EXPECT_TRUE(first->DropDownHot());
    // Without the split the whole button drops down.
    log.Events.clear();
    first->SetDropDownSplit(false);
    Press(first, 5, 5);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"dropdown First"}));
}

TEST_F(GlowButtonTest, HoldingARepeatButtonClicksAfter400AndThenEvery100Ms) {
    form->Show();
    Pump();
    first->SetRepeatClick(true);
    Press(first, 5, 5);
    ASSERT_TRUE(first->MouseCapture());
    clock.Advance(399);
    EXPECT_TRUE(log.Events.empty());
    clock.Advance(1);
    EXPECT_EQ(log.Events.size(), 1u);
    clock.Advance(300);
    EXPECT_EQ(log.Events.size(), 4u);
    Release(first, 300, 5);  // outside: the release itself is no click
    clock.Advance(1000);
    EXPECT_EQ(log.Events.size(), 4u);
    // Held, but the capture went elsewhere: the repeat ticks click nothing.
    Press(first, 5, 5);
    ReleaseCapture();
    clock.Advance(1000);
    EXPECT_EQ(log.Events.size(), 4u);
    Release(first, 5, 5);
}

TEST_F(GlowButtonTest, EnterClicksTheFocusedButtonAndEscapeTheCancelButton) {
    form->Show();
    Pump();
    second->SetCancel(true);
    first->SetFocus();
    Pump();
    EXPECT_TRUE(first->IsDefaultNow());
    EXPECT_FALSE(second->IsDefaultNow());
    EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
    EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click First", "click Second"}));
    // Space on the focused button: pressed while down, a click from its character.
    log.Events.clear();
    PostMessageA(first->Handle(), WM_KEYDOWN, VK_SPACE, 1);  // its character follows from the translation
    Pump();
    EXPECT_EQ(first->VisualState(), gsPressed);
    PostMessageA(first->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
    Pump();
    EXPECT_EQ(first->VisualState(), gsNormal);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click First"}));
}

TEST_F(GlowButtonTest, ClickCopiesModalResultToTheForm) {
    first->SetModalResult(mrOk);
    first->Click();
    EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(GlowButtonTest, SizeStatesMoveWithTheirLimits) {
    first->SetMinButtonSizeState(bsLabel);
    EXPECT_EQ(first->ButtonSizeState(), bsLarge);
    first->SetMaxButtonSizeState(bsGlyph);
    EXPECT_EQ(first->ButtonSizeState(), bsGlyph);
    first->SetMinButtonSizeState(bsGlyph);
    first->SetMinButtonSizeState(bsLabel);
    EXPECT_EQ(first->ButtonSizeState(), bsLabel);
}

TEST_F(GlowButtonTest, AppearanceChangesRecolourTheKeyTipWindow) {
    TShortCutHintWindow* tip = first->ShortCutHintWindow();
    first->Appearance()->SetColor(TColor(0x123456));
    EXPECT_EQ(tip->Color(), clWhite);
    EXPECT_EQ(tip->ColorTo(), TColor(0x123456));
    first->ApplyStylePreset(4);
    EXPECT_EQ(tip->ColorTo(), TColor(0xEEDBC8));
    EXPECT_EQ(first->Appearance()->Color(), TColor(0xEEDBC8));
}

TEST_F(GlowButtonTest, ReadsAndWritesItsStoredLayout) {
    first->SetCaption("&Open");
    first->SetGroupIndex(3);
    first->SetLayout(blGlyphTop);
    first->Appearance()->SetColorHot(TColor(0x010203));
    const String text = TWriter().WriteRootComponent(form);
    EXPECT_NE(text.find("Appearance.ColorHot = 66051"), String::npos) << text;
    auto* copy = new TForm(Application);
    copy->ReadLayout(text, "test");
    auto* b = dynamic_cast<TLumGlowButton*>(copy->FindComponent("First"));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Caption(), "&Open");
    EXPECT_EQ(b->GroupIndex(), 3);
    EXPECT_EQ(b->Layout(), blGlyphTop);
    EXPECT_EQ(b->Appearance()->ColorHot(), TColor(0x010203));
    copy->Free();
}

TEST_F(GlowButtonTest, TheActionLinkCarriesCheckedGroupAndCaption) {
    auto* actions = new TActionList(form);
    auto* action = new TAction(form);
    action->SetName("Act1");
    action->SetActionList(actions);
    action->SetCaption("Act");
    action->SetGroupIndex(2);
    action->SetOnExecute(TNotifyEvent::Bind<&TLog::Click>(&log));
    first->SetAction(action);
    EXPECT_EQ(first->Caption(), "Act");
    EXPECT_EQ(first->GroupIndex(), 2);
    action->SetChecked(true);
    EXPECT_TRUE(first->Down());
    first->SetAllowAllUp(true);
    action->SetChecked(false);
    EXPECT_FALSE(first->Down());
    first->Click();
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click Act1"}));
}

TEST_F(GlowButtonTest, AnImageListOfAnotherOwnerThatIsFreedLeavesNoPropertyNamingIt) {
    auto* shared = new TCustomImageList(nullptr);
    TCustomImageList other(nullptr);
    first->SetImages(shared);
    first->SetHotImages(shared);
    first->SetDisabledImages(shared);
    first->SetImages(&other);  // the other two still name it
    first->SetDisabledImages(nullptr);
    delete shared;
    EXPECT_EQ(first->HotImages(), nullptr);
    EXPECT_EQ(first->Images(), &other);
    first->SetImages(nullptr);
}

TEST_F(GlowButtonTest, AssignCopiesTheButtonsSettings) {
    first->SetCaption("Copied");
    first->SetSpacing(7);
    first->SetRepeatClick(true);
    first->SetPosition(bpLeft);
    first->SetModalResult(mrCancel);
    first->Notes()->Add("a note");
    second->Assign(first);
    EXPECT_EQ(second->Caption(), "Copied");
    EXPECT_EQ(second->Spacing(), 7);
    EXPECT_TRUE(second->RepeatClick());
    EXPECT_EQ(second->Position(), bpLeft);
    EXPECT_EQ(second->ModalResult(), mrCancel);
    EXPECT_EQ(second->Notes()->Count(), 1);
}

}  // namespace
