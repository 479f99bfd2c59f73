#include "components/pager/lum_office_pager_win.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <new>
#include <string>
#include <vector>

#include "classlib/core/clock.h"
#include "classlib/os/dll_functions.h"
#include "classlib/ui/forms.h"
#include "tests/components/pager/pager_test_support_win.h"

namespace {

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct TLog : TObject {
    std::vector<std::string> Events;
    bool Allow = true;
    void Changing(TObject*, int from, int to, bool& allow) {
        Events.push_back("changing " + std::to_string(from) + ">" + std::to_string(to));
        allow = Allow;
    }
    void Change(TObject*) { Events.push_back("change"); }
    void Show(TObject* s) { Events.push_back("show " + dynamic_cast<TControl*>(s)->Caption()); }
    void Hide(TObject* s) { Events.push_back("hide " + dynamic_cast<TControl*>(s)->Caption()); }
    void Closed(TObject*, int index) { Events.push_back("closed " + std::to_string(index)); }
};

// Tells when a component it watches is freed.
class TFreeWatch : public TComponent {
public:
    TFreeWatch() : TComponent(nullptr) {}
    std::vector<TComponent*> Freed;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == opRemove) Freed.push_back(c);
    }
};

// A form far from the cursor with a 471 x 238 pager and three pages.
class OfficePagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        pager_test::StartUnits();
        SetCursorPos(1270, 1010);
        form = new TForm(Application);
        form->SetBounds(40, 40, 520, 320);
        pager = new TLumOfficePager(form);
        pager->SetParent(form);
        pager->SetBounds(4, 4, 471, 238);
        for (const char* caption : {"Editor Settings", "IDE Style", "Output Settings"}) {
            auto* page = new TLumOfficePage(form);
            page->SetCaption(caption);
            page->OnShow = TNotifyEvent::Bind<&TLog::Show>(&log);
            page->OnHide = TNotifyEvent::Bind<&TLog::Hide>(&log);
            page->SetPager(pager);
            pages.push_back(page);
        }
        pager->SetActivePageIndex(0);
        pager->OnChanging = TTabChangingEvent2::Bind<&TLog::Changing>(&log);
        pager->OnChange = TNotifyEvent::Bind<&TLog::Change>(&log);
        form->Show();
        Pump();
        log.Events.clear();
    }
    void TearDown() override {
        FreeAndNil(form);
        Pump();
    }
    // A left click of the mouse at x, y of the pager, as its window gets it.
    void ClickAt(int x, int y) {
        const LPARAM at = MAKELPARAM(x, y);
        pager->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
        pager->Perform(WM_LBUTTONUP, 0, at);
    }
    TPoint TabMiddle(int index) {
        const TRect r = pager->GetTabRect(index);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // Close buttons on the tabs, and the first page's one watched by watch.
    void WatchFirstTabCloseButton(TFreeWatch& watch, TLumGlowButton*& button) {
        pager->SetCloseOnTab(true);
        pager->ButtonSettings()->SetCloseButton(true);
        pager->UpdateButtons();
        button = pages[0]->CloseButton();
        ASSERT_NE(button, nullptr);
        button->FreeNotification(&watch);
    }

    TLog log;
    TForm* form = nullptr;
    TLumOfficePager* pager = nullptr;
    std::vector<TLumOfficePage*> pages;
};

TEST_F(OfficePagerTest, PagesFillThePageAreaUnderTheTabs) {
    for (TLumOfficePage* page : pages) EXPECT_EQ(page->BoundsRect(), Bounds(1, 26, 469, 210));
    EXPECT_EQ(pager->ActivePage(), pages[0]);
    EXPECT_TRUE(pages[0]->Visible());
    EXPECT_FALSE(pages[1]->Visible());
    EXPECT_EQ(pages[2]->PageIndex(), 2);
    EXPECT_EQ(pager->Version(), "1.8.2.12");
    // The tabs follow each other along the top, 26 high from 4 down.
    const TRect first = pager->GetTabRect(0), second = pager->GetTabRect(1);
    EXPECT_EQ(first.Top, 4);
    EXPECT_EQ(first.Bottom, 30);
    EXPECT_EQ(first.Left, 5);
    EXPECT_EQ(second.Left, first.Right + 4);
}

TEST_F(OfficePagerTest, AClickOnATabSelectsItsPage) {
    const TPoint p = TabMiddle(2);
    ClickAt(p.X, p.Y);
    EXPECT_EQ(pager->ActivePage(), pages[2]);
    EXPECT_EQ(log.Events,
              (std::vector<std::string>{"changing 0>2", "hide Editor Settings", "show Output Settings", "change"}));
    EXPECT_FALSE(pages[0]->Visible());
    EXPECT_TRUE(pages[2]->Visible());
    // A veto keeps the page.
    log.Allow = false;
    const TPoint q = TabMiddle(1);
    ClickAt(q.X, q.Y);
    EXPECT_EQ(pager->ActivePage(), pages[2]);
    // Outside the tabs nothing happens.
    log.Allow = true;
    ClickAt(460, 15);
    ClickAt(100, 100);
    EXPECT_EQ(pager->ActivePage(), pages[2]);
}

TEST_F(OfficePagerTest, ArrowKeysStepRoundTheSelectableTabs) {
    pages[1]->SetTabEnabled(false);
    pager->Perform(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(pager->ActivePageIndex(), 2);
    pager->Perform(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(pager->ActivePageIndex(), 0);
    pager->Perform(WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(pager->ActivePageIndex(), 2);
    EXPECT_EQ(pager->Perform(WM_GETDLGCODE), LRESULT(DLGC_WANTARROWS | DLGC_WANTCHARS));
}

TEST_F(OfficePagerTest, AFreedPageLeavesThePagerAndTheActiveIndexFollows) {
    pager->SetActivePageIndex(2);
    delete pages[0];
    pages.erase(pages.begin());
    EXPECT_EQ(pager->PageCount(), 2);
    EXPECT_EQ(pager->ActivePage(), pages[1]);
    EXPECT_EQ(pager->ActivePageIndex(), 1);
    delete pages[1];
    delete pages[0];
    pages.clear();
    EXPECT_EQ(pager->PageCount(), 0);
    EXPECT_EQ(pager->ActivePageIndex(), -1);
    EXPECT_EQ(pager->ActivePage(), nullptr);
}

TEST_F(OfficePagerTest, MovingAPageKeepsTheActivePage) {
    pager->SetActivePageIndex(1);
    log.Events.clear();
    pages[1]->SetPageIndex(0);
    EXPECT_EQ(pager->Pages(0), pages[1]);
    EXPECT_EQ(pager->ActivePage(), pages[1]);
    EXPECT_EQ(pager->ActivePageIndex(), 0);
    EXPECT_TRUE(log.Events.empty());
    pages[1]->SetPageIndex(3);  // out of range: unchanged
    pages[1]->SetPageIndex(-1);
    EXPECT_EQ(pager->Pages(0), pages[1]);
}

TEST_F(OfficePagerTest, OnlyAListedCloseButtonIsFreedByTheMessage) {
    TFreeWatch watch;
    pager->SetFreeOnClose(true);
    TLumGlowButton* button = nullptr;
    ASSERT_NO_FATAL_FAILURE(WatchFirstTabCloseButton(watch, button));
    pager->OnClosedPage = TPagerPageIndexEvent::Bind<&TLog::Closed>(&log);
    pager->CloseButtonClick(button);  // as its click does
    pages.erase(pages.begin());
    EXPECT_EQ(pager->PageCount(), 2);
    EXPECT_EQ(pager->ActivePage(), pages[0]);
    EXPECT_EQ(log.Events.back(), "closed 0");
    // The button outlives its own click: it is listed and posted.
    EXPECT_EQ(pager->PendingCloseButtons(), 1);
    EXPECT_TRUE(watch.Freed.empty());
    // A stranger's pointer posted with the message is not freed.
    int stranger = 0;
    PostMessageA(pager->Handle(), TLumOfficePager::DestroyCloseButtonMessage(), WPARAM(&stranger), 0);
    PostMessageA(pager->Handle(), TLumOfficePager::DestroyCloseButtonMessage(), 0, 0);
    Pump();
    EXPECT_EQ(pager->PendingCloseButtons(), 0);
    EXPECT_EQ(watch.Freed, (std::vector<TComponent*>{button}));
    // Posting the freed button again does nothing.
    PostMessageA(pager->Handle(), TLumOfficePager::DestroyCloseButtonMessage(), WPARAM(button), 0);
    Pump();
}

TEST_F(OfficePagerTest, ThePagerFreesTheCloseButtonsStillWaiting) {
    TFreeWatch watch;
    pager->SetFreeOnClose(true);
    TLumGlowButton* button = nullptr;
    ASSERT_NO_FATAL_FAILURE(WatchFirstTabCloseButton(watch, button));
    pager->CloseButtonClick(button);
    pages.erase(pages.begin());
    ASSERT_EQ(pager->PendingCloseButtons(), 1);
    delete pager;  // before the posted message is handled (its pages go with it)
    pager = nullptr;
    pages.clear();
    EXPECT_EQ(watch.Freed.front(), button);
    Pump();
}

TEST_F(OfficePagerTest, ClosingWithoutFreeOnCloseHidesTheTab) {
    pager->ButtonSettings()->SetCloseButton(true);
    pager->UpdateButtons();
    ASSERT_NE(pager->SharedCloseButton(), nullptr);
    pager->CloseButtonClick(pager->SharedCloseButton());
    EXPECT_FALSE(pages[0]->TabVisible());
    EXPECT_FALSE(pages[0]->Visible());
    EXPECT_EQ(pager->ActivePage(), pages[1]);
    EXPECT_EQ(pager->PageCount(), 3);
    EXPECT_EQ(pager->GetTabRect(0), NoTabRect);
    // The row closes up.
    EXPECT_EQ(pager->GetTabRect(1).Left, 5);
}

TEST_F(OfficePagerTest, HoverGlowRisesHoldsAndFadesOnTheClock) {
    TManualClock clock;
    TClockScope scope(clock);
    const TPoint p = TabMiddle(1);
    const TPoint screen = pager->ClientToScreen(p);
    SetCursorPos(screen.X, screen.Y);
    pager->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(p.X, p.Y));
    EXPECT_EQ(pager->HotTabIndex(), 1);
    EXPECT_TRUE(pages[1]->Glow().Running());
    clock.Advance(50 * 5);
    EXPECT_EQ(pages[1]->Glow().Position(), 100);
    clock.Advance(50 * 3);
    EXPECT_EQ(pages[1]->Glow().Position(), 120);
    EXPECT_TRUE(pages[1]->Glow().Running());
    // The cursor leaves the tab: the glow turns round and ends.
    SetCursorPos(1270, 1010);
    clock.Advance(50);
    EXPECT_EQ(pager->HotTabIndex(), -1);
    clock.Advance(50 * 7);
    EXPECT_FALSE(pages[1]->Glow().Running());
    EXPECT_EQ(pages[1]->Glow().Position(), -20);
    EXPECT_EQ(clock.TimerCount(), 0);
    // Without Glow no timer starts.
    pager->SetGlow(false);
    pager->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(p.X, p.Y));
    EXPECT_EQ(clock.TimerCount(), 0);
}

TEST_F(OfficePagerTest, AClickStartsTheClickPulse) {
    TManualClock clock;
    TClockScope scope(clock);
    const TPoint p = TabMiddle(2);
    ClickAt(p.X, p.Y);
    EXPECT_EQ(pages[2]->Glow().State(), TTabGlow::gsClick);
    clock.Advance(50 * 6);
    EXPECT_EQ(pages[2]->Glow().State(), TTabGlow::gsIdle);
    EXPECT_EQ(pages[2]->Glow().ClickPosition(), 0);
}

TEST_F(OfficePagerTest, KeyTipsTakeOverTheFormAndALetterThatMatchesNothingKeepsThem) {
    pager->SetShowShortCutHints(true);
    pages[0]->SetShortCutHint("E");
    pages[1]->SetShortCutHint("I");
    pages[2]->SetShortCutHint("O");
    const TMethod before = form->WindowProc.Method();
    pager->ShowShortCutHintWindows();
    EXPECT_TRUE(pager->ShortCutHintsShowing());
    EXPECT_FALSE(form->WindowProc.Method() == before);
    pager->ShortCutHintKey('x');
    EXPECT_TRUE(pager->ShortCutHintsShowing());
    for (TLumOfficePage* page : pages) EXPECT_NE(page->KeyTipWindow(), nullptr);
    pager->ShortCutHintKey('i');
    EXPECT_FALSE(pager->ShortCutHintsShowing());
    EXPECT_EQ(pager->ActivePage(), pages[1]);
    EXPECT_TRUE(form->WindowProc.Method() == before);
    for (TLumOfficePage* page : pages) EXPECT_EQ(page->KeyTipWindow(), nullptr);
}

TEST_F(OfficePagerTest, AStoredLayoutRestoresTheActivePageByName) {
    pages[2]->SetName("PageThree");
    SetObjectProp(pager, "ActivePage", pages[2]);
    EXPECT_EQ(pager->ActivePage(), pages[2]);
    EXPECT_EQ(GetObjectProp(pager, "ActivePage"), pages[2]);
    // A page of no pager is ignored.
    auto* stranger = new TLumOfficePage(form);
    pager->SetActivePage(stranger);
    EXPECT_EQ(pager->ActivePage(), pages[2]);
}

TEST_F(OfficePagerTest, APagerCannotHoldAPagerAndAPageDroppedOnAPageTakesItsPlace) {
    auto* other = new TLumOfficePager(form);
    EXPECT_THROW(other->SetParent(pager), Exception);
    pages[2]->SetParent(pages[0]);
    EXPECT_EQ(pager->Pages(0), pages[2]);
    EXPECT_EQ(pages[2]->Parent(), pager);
}

}  // namespace

namespace {

TEST_F(OfficePagerTest, ACaptionChangeReachesThePagerAndItsScroller) {
    const int before = pager->GetTabRect(1).Width();
    pages[1]->SetCaption("IDE Style and every colour of the editor and of the output");
    EXPECT_GT(pager->GetTabRect(1).Width(), before);
    // Too long for the row: the scroll buttons come.
    EXPECT_TRUE(pager->TabScroller()->Visible());
    ASSERT_NE(pager->NextButton(), nullptr);
    EXPECT_TRUE(pager->NextButton()->Visible());
    pages[1]->SetCaption("IDE");
    EXPECT_FALSE(pager->TabScroller()->Visible());
}

// A handler of the close request that takes the close glyph away from the
// page: its button is not freed inside its own click.
struct TCloseGlyphRemover : TObject {
    TLumOfficePager* Pager = nullptr;
    void ClosePage(TObject*, int index, bool& allow) {
        Pager->Pages(index)->SetShowClose(false);
        allow = false;
    }
};

TEST_F(OfficePagerTest, ATabCloseButtonOutlivesAClickThatTurnsItsGlyphOff) {
    TFreeWatch watch;
    TLumGlowButton* button = nullptr;
    ASSERT_NO_FATAL_FAILURE(WatchFirstTabCloseButton(watch, button));
    TCloseGlyphRemover remover;
    remover.Pager = pager;
    pager->OnClosePage = TPagerClosePageEvent::Bind<&TCloseGlyphRemover::ClosePage>(&remover);
    pager->CloseButtonClick(button);  // as its click does
    EXPECT_EQ(pages[0]->CloseButton(), nullptr);
    EXPECT_TRUE(watch.Freed.empty());
    EXPECT_EQ(pager->PendingCloseButtons(), 1);
    Pump();
    EXPECT_EQ(watch.Freed, (std::vector<TComponent*>{button}));
    EXPECT_EQ(pager->PageCount(), 3);
}

// A click handler that frees the clicked page.
struct TPageFreer : TObject {
    TLumOfficePager* Pager = nullptr;
    void TabClick(TObject*, int index) { delete Pager->Pages(index); }
};

TEST_F(OfficePagerTest, AClickHandlerMayFreeTheClickedPage) {
    TPageFreer freer;
    freer.Pager = pager;
    pager->OnTabClick = TPagerPageIndexEvent::Bind<&TPageFreer::TabClick>(&freer);
    const TPoint p = TabMiddle(2);
    EXPECT_NO_THROW(ClickAt(p.X, p.Y));
    pages.pop_back();
    EXPECT_EQ(pager->PageCount(), 2);
    EXPECT_EQ(pager->ActivePage(), pages[0]);
}

TEST_F(OfficePagerTest, TwoPagersKeyTipsGiveTheFormItsProcedureBackInAnyOrder) {
    auto* second = new TLumOfficePager(form);
    second->SetParent(form);
    second->SetBounds(4, 250, 200, 60);
    auto* page = new TLumOfficePage(form);
    page->SetCaption("Other");
    page->SetShortCutHint("T");
    page->SetPager(second);
    pages[0]->SetShortCutHint("E");
    pager->SetShowShortCutHints(true);
    second->SetShowShortCutHints(true);
    const TMethod before = form->WindowProc.Method();
    for (bool firstHidesFirst : {true, false}) {
        pager->ShowShortCutHintWindows();
        second->ShowShortCutHintWindows();
        EXPECT_FALSE(form->WindowProc.Method() == before);
        if (firstHidesFirst) {
            pager->HideShortCutHintWindows();
            // The other pager's key tips still go with the form.
            form->Perform(WM_SIZE, 0, 0);
            EXPECT_FALSE(second->ShortCutHintsShowing());
        } else {
            second->HideShortCutHintWindows();
            form->Perform(WM_SIZE, 0, 0);
            EXPECT_FALSE(pager->ShortCutHintsShowing());
        }
        EXPECT_TRUE(form->WindowProc.Method() == before) << firstHidesFirst;
    }
    // Key tips showing on a pager that goes: the form keeps working.
    pager->ShowShortCutHintWindows();
    second->ShowShortCutHintWindows();
    delete second;
    form->Perform(WM_SIZE, 0, 0);
    EXPECT_FALSE(pager->ShortCutHintsShowing());
    EXPECT_TRUE(form->WindowProc.Method() == before);
}

// A hook of the form's window procedure set by someone else after the
// key tips: it hands each message on to the procedure it found.
struct TLaterFormHook : TObject {
    TWndMethod Found;
    int Messages = 0;
    void Dispatch(TMessage& m) {
        ++Messages;
        Found(m);
    }
    TWndMethod Method() { return TWndMethod::Bind<&TLaterFormHook::Dispatch>(this); }
};

TEST_F(OfficePagerTest, KeyTipsUnderALaterHookOfTheFormLeaveItInPlace) {
    pager->SetShowShortCutHints(true);
    pages[0]->SetShortCutHint("E");
    const TMethod before = form->WindowProc.Method();
    pager->ShowShortCutHintWindows();
    TLaterFormHook later;
    later.Found = form->WindowProc;
    form->WindowProc = later.Method();
    // Hidden under the later hook: the form keeps that hook, which still
    // reaches the key tips' one.
    pager->HideShortCutHintWindows();
    EXPECT_TRUE(form->WindowProc.Method() == later.Method().Method());
    pager->ShowShortCutHintWindows();
    form->Perform(WM_SIZE, 0, 0);
    EXPECT_FALSE(pager->ShortCutHintsShowing());
    EXPECT_GT(later.Messages, 0);
    // The later hook gives back what it found: the next hide gives the
    // form its own procedure.
    form->WindowProc = later.Found;
    pager->ShowShortCutHintWindows();
    EXPECT_TRUE(form->WindowProc.Method() == later.Found.Method());
    pager->HideShortCutHintWindows();
    EXPECT_TRUE(form->WindowProc.Method() == before);
}

// A form freed while a later hook of it still holds the key tips' hook:
// the next form, made at the very same address, gets key tips of its own.
TEST_F(OfficePagerTest, AFormFreedUnderALaterHookLeavesNoKeyTipHookForTheNextForm) {
    void* storage = ::operator new(sizeof(TForm));
    TLaterFormHook later;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        auto* other = new (storage) TForm(Application);
        other->SetBounds(60, 60, 320, 200);
        auto* p = new TLumOfficePager(other);
        p->SetParent(other);
        p->SetBounds(4, 4, 300, 150);
        auto* page = new TLumOfficePage(other);
        page->SetCaption("Only");
        page->SetShortCutHint("O");
        page->SetPager(p);
        p->SetShowShortCutHints(true);
        other->Show();
        Pump();
        const TMethod own = other->WindowProc.Method();
        p->ShowShortCutHintWindows();
        EXPECT_FALSE(other->WindowProc.Method() == own);
        other->Perform(WM_SIZE, 0, 0);
        EXPECT_FALSE(p->ShortCutHintsShowing());
        // The key tips hide under a later hook, and then the form goes.
        p->ShowShortCutHintWindows();
        later.Found = other->WindowProc;
        other->WindowProc = later.Method();
        p->HideShortCutHintWindows();
        EXPECT_TRUE(other->WindowProc.Method() == later.Method().Method());
        other->~TForm();
        Pump();
    }
    ::operator delete(storage);
}

// A hook of the form set before the key tips: a WM_APP message hides the
// key tips of every pager it lists once the form has handled it.
struct TEarlierFormHook : TObject {
    TWndMethod Found;
    std::vector<TLumOfficePager*> Pagers;
    void Dispatch(TMessage& m) {
        Found(m);
        if (m.Msg == WM_APP)
            for (TLumOfficePager* p : Pagers) p->HideShortCutHintWindows();
    }
    TWndMethod Method() { return TWndMethod::Bind<&TEarlierFormHook::Dispatch>(this); }
};

// Key tips of several pagers let go of the form's hook inside a message
// that hook is dispatching: every pager hides them at once, or the form
// frees itself (Release). The message finishes, the form gets back the
// procedure the key tips found, and key tips shown again hook it anew.
TEST_F(OfficePagerTest, KeyTipsHiddenInsideAMessageToTheFormForSeveralPagers) {
    for (const bool release : {false, true}) {
        for (const int count : {1, 2, 3}) {
            SCOPED_TRACE(testing::Message() << "release " << release << " pagers " << count);
            auto* other = new TForm(Application);
            other->SetBounds(60, 60, 320, 40 + 70 * count);
            std::vector<TLumOfficePager*> pagers;
            for (int i = 0; i < count; ++i) {
                auto* p = new TLumOfficePager(other);
                p->SetParent(other);
                p->SetBounds(4, 4 + 70 * i, 300, 60);
                auto* page = new TLumOfficePage(other);
                page->SetCaption("Page");
                page->SetShortCutHint(String(1, char('A' + i)));
                page->SetPager(p);
                p->SetShowShortCutHints(true);
                pagers.push_back(p);
            }
            other->Show();
            Pump();
            TEarlierFormHook earlier;
            earlier.Found = other->WindowProc;
            earlier.Pagers = pagers;
            other->WindowProc = earlier.Method();
            for (TLumOfficePager* p : pagers) p->ShowShortCutHintWindows();
            EXPECT_FALSE(other->WindowProc.Method() == earlier.Method().Method());
            if (release) {
                TFreeWatch watch;
                other->FreeNotification(&watch);
                other->Release();
                Pump();
                EXPECT_EQ(watch.Freed.size(), 1u);
                continue;
            }
            other->Perform(WM_APP, 0, 0);
            for (TLumOfficePager* p : pagers) EXPECT_FALSE(p->ShortCutHintsShowing());
            EXPECT_TRUE(other->WindowProc.Method() == earlier.Method().Method());
            for (TLumOfficePager* p : pagers) p->ShowShortCutHintWindows();
            EXPECT_FALSE(other->WindowProc.Method() == earlier.Method().Method());
            other->Perform(WM_SIZE, 0, 0);
            for (TLumOfficePager* p : pagers) EXPECT_FALSE(p->ShortCutHintsShowing());
            EXPECT_TRUE(other->WindowProc.Method() == earlier.Method().Method());
            other->WindowProc = earlier.Found;
            delete other;
            Pump();
        }
    }
}

TEST_F(OfficePagerTest, TheThemedCheckBoxFollowsTheCommonControlsVersion) {
    HMODULE module = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(module, nullptr);
    using TGetVersion = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
    auto get = GetDllFunction<TGetVersion>(module, "DllGetVersion");
    ASSERT_NE(get, nullptr);
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(SUCCEEDED(get(&info)));
    EXPECT_EQ(pager->ComCtl6(), info.dwMajorVersion >= 6) << info.dwMajorVersion;
}

TEST_F(OfficePagerTest, TheFocusLeavesTheOldPageForAPageWithoutAFocusableControl) {
    auto* child = new TLumGlowButton(form);
    child->SetParent(pages[1]);
    child->SetEnabled(false);  // a control, but none that takes the focus
    form->SetActiveControl(pages[0]);
    ASSERT_EQ(form->ActiveControl(), pages[0]);
    pager->SetActivePageIndex(1);
    // The new page is not shown yet when the focus moves: the pager takes it.
    EXPECT_NE(form->ActiveControl(), pages[0]);
    EXPECT_TRUE(form->ActiveControl() == pager || form->ActiveControl() == pages[1]);
}

}  // namespace
