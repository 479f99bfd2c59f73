// The panel without painting: its stored properties, the collapse and expand
// stepped through a manual clock, the caption buttons, closing, position
// storage, Assign and ApplySettings, auto-size.
#include <gtest/gtest.h>

#include "classlib/core/clock.h"
#include "classlib/os/registry.h"
#include "classlib/os/registry_ini.h"
#include "panel_test_support_win.h"

using namespace panel_test;
using LumPanel::cpLeft;
using LumPanel::cpTop;

namespace {

class LumPanelTest : public PanelFormTest {};

TEST_F(LumPanelTest, ANewPanelHoldsItsDeclaredDefaults) {
    std::unique_ptr<TLumPanel> fresh(NewObject<TLumPanel>(nullptr));
    EXPECT_EQ(FindDefaultDrifts(fresh.get()), std::vector<String>{});
    TLumPanel* p = NewPanel();
    EXPECT_EQ(p->Color(), clBtnFace);
    EXPECT_EQ(p->BevelOuter(), bvRaised);
    EXPECT_EQ(p->CollapsColor(), TColor(0x808080));
    EXPECT_EQ(p->CollapsDelay(), 20);
    EXPECT_EQ(p->URLColor(), clBlue);
    EXPECT_TRUE(p->Buffered());
    EXPECT_TRUE(p->DoubleBuffered());
    EXPECT_EQ(p->Caption()->Height(), 20);
    EXPECT_EQ(p->Caption()->Font()->Color(), clHighlightText);
    EXPECT_EQ(p->StatusBar()->Font()->Name(), "Tahoma");
    EXPECT_EQ(p->StatusBar()->Height(), 18);
    // The window text stays empty: the panel paints no caption of its own.
    EXPECT_FALSE(p->ControlStyle().Contains(csSetCaption));
}

TEST_F(LumPanelTest, VersionAndShadeLightGuards) {
    TLumPanel* p = NewPanel();
    SetStrProp(p, "Version", "2.0");
    EXPECT_EQ(GetStrProp(p, "Version"), "1.9.1.0");
    p->Caption()->SetShadeLight(100);
    EXPECT_EQ(p->Caption()->ShadeLight(), 200);
    p->Caption()->SetShadeLight(255);
    EXPECT_EQ(p->Caption()->ShadeLight(), 255);
}

const char* const kLayout = R"(object Form1: TForm
  ClientHeight = 300
  ClientWidth = 400
  object Panel1: TLumPanel
    Left = 10
    Top = 10
    Width = 200
    Height = 100
    Caption.Color = clNone
    Caption.ColorTo = clHighlight
    Caption.Visible = True
    FullHeight = 0
  end
  object Panel2: TLumPanel
    Left = 10
    Top = 150
    Width = 200
    Height = 18
    Caption.Visible = True
    Collaps = True
    CollapsSteps = 5
    FullHeight = 90
  end
end
)";

TEST_F(LumPanelTest, CaptionColoursAndFullHeightSurviveTheLayout) {
    Load(kLayout);
    auto* p1 = Find<TLumPanel>("Panel1");
    EXPECT_EQ(p1->Caption()->Color(), clNone);
    EXPECT_EQ(p1->Caption()->ColorTo(), clHighlight);
    EXPECT_EQ(p1->FullHeight(), 0);
    EXPECT_EQ(Find<TLumPanel>("Panel2")->FullHeight(), 90);
    String text = Written();
    EXPECT_NE(text.find("FullHeight = 90"), String::npos) << text;
    Load(text);
    p1 = Find<TLumPanel>("Panel1");
    EXPECT_EQ(p1->Caption()->Color(), clNone);
    EXPECT_EQ(p1->Caption()->ColorTo(), clHighlight);
    EXPECT_EQ(Find<TLumPanel>("Panel2")->FullHeight(), 90);
    // A layout that names neither colour gives the initial ones.
    Load("object Form1: TForm\n  object P: TLumPanel\n  end\nend\n");
    EXPECT_EQ(Find<TLumPanel>("P")->Caption()->Color(), clHighlight);
    EXPECT_EQ(Find<TLumPanel>("P")->Caption()->ColorTo(), clNone);
}

TEST_F(LumPanelTest, ALoadedCollapsedPanelNeitherAnimatesNorResizes) {
    TManualClock clock;
    TClockScope scope(clock);
    Load(kLayout);
    auto* p2 = Find<TLumPanel>("Panel2");
    EXPECT_TRUE(p2->Collaps());
    EXPECT_EQ(p2->Height(), 18);
    EXPECT_EQ(clock.PausedTime(), 0u);
    // Expanding goes back to the stored full height.
    p2->SetCollaps(false);
    EXPECT_EQ(p2->Height(), 90);
}

TEST_F(LumPanelTest, APanelStoredCollapsedKeepsItsHiddenChildrenHiddenAtItsFirstExpand) {
    Load(R"(object Form1: TForm
  object Outer: TLumPanel
    Height = 18
    Caption.Visible = True
    Collaps = True
    FullHeight = 90
    object Shown: TLumPanel
      Top = 20
    end
    object Hidden: TLumPanel
      Top = 40
      Visible = False
    end
  end
end
)");
    auto* outer = Find<TLumPanel>("Outer");
    ASSERT_TRUE(outer->Collaps());
    outer->SetCollaps(false);
    EXPECT_TRUE(Find<TLumPanel>("Shown")->Visible());
    EXPECT_FALSE(Find<TLumPanel>("Hidden")->Visible());
}

// Records the panel's height at every resize.
struct THeights : TObject {
    std::vector<int> Values;
    TCustomLumPanel* Panel = nullptr;
    bool Reenter = false;
    void Resized(TObject*) {
        Values.push_back(Panel->Caption()->Position() == cpTop ? Panel->Height() : Panel->Width());
        if (Reenter) Panel->SetCollaps(!Panel->Collaps());
    }
    void Watch(TCustomLumPanel* p) {
        Panel = p;
        p->OnResize = TNotifyEvent::Bind<&THeights::Resized>(this);
    }
};

TEST_F(LumPanelTest, AnimatedCollapseStepsShrinkAndPause) {
    TManualClock clock;
    TClockScope scope(clock);
    TLumPanel* p = NewPanel();
    p->Caption()->SetVisible(true);
    p->SetCollapsSteps(4);
    p->SetCollapsColor(clRed);
    p->SetColor(clYellow);
    auto* child = NewObject<TPanel>(form);
    child->SetParent(p);
    auto* hidden = NewObject<TPanel>(form);
    hidden->SetParent(p);
    hidden->Hide();
    THeights heights;
    heights.Watch(p);
    TEventLog log;
    log.Watch(p);

    p->SetCollaps(true);
    // d = (100 - 20) div 4; then caption height - 2.
    EXPECT_EQ(heights.Values, (std::vector<int>{80, 60, 40, 20, 18}));
    EXPECT_EQ(clock.PausedTime(), 80u);
    EXPECT_EQ(p->Height(), 18);
    EXPECT_EQ(p->FullHeight(), 100);
    EXPECT_EQ(p->Color(), clRed);  // kept while collapsed
    EXPECT_FALSE(child->Visible());
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"minimize", "end"}));

    heights.Values.clear();
    p->SetCollaps(false);
    // d = (100 - 20) div 4 from 18; then the full height.
    EXPECT_EQ(heights.Values, (std::vector<int>{38, 58, 78, 98, 100}));
    EXPECT_EQ(p->Color(), clYellow);
    EXPECT_TRUE(child->Visible());
    EXPECT_FALSE(hidden->Visible());  // hidden before the collapse
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"maximize", "end"}));
}

TEST_F(LumPanelTest, AChildFreedWhileCollapsedIsForgotten) {
    TLumPanel* p = NewPanel();
    auto* hidden = NewObject<TPanel>(form);
    hidden->SetParent(p);
    hidden->Hide();
    p->SetCollaps(true);
    delete hidden;
    // A new child hidden by the collapse (it may even take the freed one's
    // memory) comes back with the expand.
    auto* later = NewObject<TPanel>(form);
    later->SetParent(p);
    later->Hide();
    p->SetCollaps(false);
    EXPECT_TRUE(later->Visible());
}

TEST_F(LumPanelTest, WithoutStepsTheSizeJumpsAndTheColourStays) {
    TManualClock clock;
    TClockScope scope(clock);
    TLumPanel* p = NewPanel();
    p->Caption()->SetVisible(true);
    p->SetCollapsColor(clRed);
    p->SetColor(clYellow);
    THeights heights;
    heights.Watch(p);
    p->SetCollaps(true);
    EXPECT_EQ(heights.Values, (std::vector<int>{18}));
    EXPECT_EQ(p->Color(), clYellow);
    EXPECT_EQ(clock.PausedTime(), 0u);
    // Resized while collapsed: expanding still gives the recorded height.
    p->SetBounds(10, 10, 250, 30);
    p->SetCollaps(false);
    EXPECT_EQ(p->Height(), 100);
}

TEST_F(LumPanelTest, LeftCaptionCollapsesTheWidth) {
    TLumPanel* p = NewPanel();
    p->Caption()->SetVisible(true);
    p->Caption()->SetPosition(cpLeft);
    p->SetCollaps(true);
    EXPECT_EQ(p->Width(), 20);
    EXPECT_EQ(p->Height(), 100);
    EXPECT_EQ(p->FullHeight(), 200);
    p->SetCollaps(false);
    EXPECT_EQ(p->Width(), 200);
}

TEST_F(LumPanelTest, StatusBarAndShadowedBorderCollapse) {
    TLumPanel* p = NewPanel();
    p->StatusBar()->SetVisible(true);
    p->SetBorderWidth(2);
    p->SetBorderShadow(true);
    p->SetCollaps(true);
    // 2 + 4 + 20 + 18 - 2.
    EXPECT_EQ(p->Height(), 42);
}

TEST_F(LumPanelTest, TheSameValueStillEndsAndARunningAnimationIsNotReentered) {
    TManualClock clock;
    TClockScope scope(clock);
    TLumPanel* p = NewPanel();
    TEventLog log;
    log.Watch(p);
    p->SetCollaps(false);
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"end"}));

    p->SetCollapsSteps(2);
    THeights heights;
    heights.Watch(p);
    heights.Reenter = true;  // every resize asks to expand again
    p->SetCollaps(true);
    heights.Reenter = false;
    EXPECT_TRUE(p->Collaps());
    EXPECT_EQ(p->Height(), 18);
    // The inner requests fired their event and changed nothing.
    std::vector<std::string> events = log.Take();
    EXPECT_EQ(events.front(), "minimize");
    EXPECT_EQ(events.back(), "end");
    EXPECT_EQ(std::count(events.begin(), events.end(), "maximize"), 3);
    EXPECT_EQ(std::count(events.begin(), events.end(), "end"), 1);
}

// Frees the form when the animation processes its messages.
struct TFormKiller : TObject {
    TForm* Form = nullptr;
    bool Posted = false;
    void Resized(TObject*) {
        if (!Posted) PostMessageA(Form->Handle(), CM_RELEASE, 0, 0);
        Posted = true;
    }
};

TEST_F(LumPanelTest, TheAnimationStopsWhenItsFormGoesAway) {
    TManualClock clock;
    TClockScope scope(clock);
    TLumPanel* p = NewPanel();
    form->Show();
    Pump();
    p->SetCollapsSteps(10);
    TFormKiller killer;
    killer.Form = form;
    p->OnResize = TNotifyEvent::Bind<&TFormKiller::Resized>(&killer);
    TEventLog log;
    log.Watch(p);
    p->SetCollaps(true);
    // The form and the panel are gone after the first step's messages: no
    // more steps ran (one pause at most) and nothing fired on the panel.
    form = nullptr;
    EXPECT_LE(clock.PausedTime(), 20u);
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"minimize"}));
}

TEST_F(LumPanelTest, ButtonHitRectanglesAndGlyphPairs) {
    TLumPanel* p = NewPanel();
    p->Caption()->SetVisible(true);
    p->Caption()->SetCloseButton(true);
    p->Caption()->SetMinMaxButton(true);
    auto r = p->CaptionButtonHitRects();
    EXPECT_EQ(*r.Close, Rect(186, 2, 198, 14));
    EXPECT_EQ(*r.MinMax, Rect(174, 2, 186, 14));
    // One glyph of a pair is not enough.
    TBitmap glyph(16, 16);
    p->Caption()->SetCloseMinGlyph(&glyph);
    EXPECT_EQ(p->CaptionButtonSize(), 12);
    p->Caption()->SetCloseMaxGlyph(&glyph);
    EXPECT_EQ(p->CaptionButtonSize(), 16);
}

TEST_F(LumPanelTest, ClickingTheButtons) {
    TLumPanel* p = NewPanel();
    form->Show();
    Pump();
    p->Caption()->SetVisible(true);
    p->Caption()->SetCloseButton(true);
    p->Caption()->SetMinMaxButton(true);
    TEventLog log;
    log.Watch(p);
    // The collapse button toggles, then the band reports the click.
    Click(p, 180, 8);
    EXPECT_TRUE(p->Collaps());
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"minimize", "end", "caption"}));
    // The caption band elsewhere: only the click.
    Click(p, 50, 8);
    EXPECT_TRUE(p->Collaps());
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"caption"}));
    // With MinMaxCaption the band toggles; the button still toggles once.
    p->Caption()->SetMinMaxCaption(true);
    Click(p, 50, 8);
    EXPECT_FALSE(p->Collaps());
    log.Take();
    Click(p, 180, 8);
    EXPECT_TRUE(p->Collaps());
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"minimize", "end", "caption"}));
    // Below the band nothing happens.
    p->SetCollaps(false);
    log.Take();
    Click(p, 50, 60);
    EXPECT_TRUE(log.Take().empty());
    // The close button hides, reports, then the band's click.
    Click(p, 190, 8);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"close", "caption"}));
}

TEST_F(LumPanelTest, FreeOnCloseFreesAfterTheHandlerReturns) {
    TLumPanel* p = NewPanel();
    p->SetName("Closing");
    form->Show();
    Pump();
    p->Caption()->SetVisible(true);
    p->Caption()->SetCloseButton(true);
    p->SetFreeOnClose(true);
    TEventLog log;
    log.Watch(p);
    Click(p, 190, 8);
    // Still there while the click is handled; nothing after OnClose.
    EXPECT_EQ(form->FindComponent("Closing"), p);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(log.Take(), (std::vector<std::string>{"close"}));
    Pump();
    EXPECT_EQ(form->FindComponent("Closing"), nullptr);
}

// Posts the panel's own release while its animation runs.
struct TReleaser : TObject {
    TCustomLumPanel* Panel = nullptr;
    int Steps = 0;
    void Resized(TObject*) {
        if (Steps++ == 0) PostMessageA(Panel->Handle(), CM_RELEASE, 0, 0);
    }
};

TEST_F(LumPanelTest, AReleaseWaitsForTheAnimation) {
    TManualClock clock;
    TClockScope scope(clock);
    TLumPanel* p = NewPanel();
    p->SetName("Animated");
    form->Show();
    Pump();
    p->SetCollapsSteps(3);
    TReleaser releaser;
    releaser.Panel = p;
    p->OnResize = TNotifyEvent::Bind<&TReleaser::Resized>(&releaser);
    p->SetCollaps(true);
    // The animation ran to its end on a live panel.
    EXPECT_EQ(p->Height(), 18);
    EXPECT_EQ(clock.PausedTime(), 60u);
    EXPECT_EQ(form->FindComponent("Animated"), p);
    Pump();
    EXPECT_EQ(form->FindComponent("Animated"), nullptr);
}

// An INI file that logs what is read and written.
class TLoggedIni : public TMemIniFile {
public:
    TLoggedIni() : TMemIniFile("") {}
    std::vector<String> Log;
    String ReadString(const String& section, const String& ident, const String& def) override {
        Log.push_back("read " + ident);
        return TMemIniFile::ReadString(section, ident, def);
    }
    void WriteString(const String& section, const String& ident, const String& value) override {
        Log.push_back("write " + ident + "=" + value);
        TMemIniFile::WriteString(section, ident, value);
    }
};

TEST_F(LumPanelTest, PositionIsReadAndWrittenInItsOrder) {
    TLumPanel* p = NewPanel();
    p->Caption()->SetVisible(true);
    p->Position()->SetSection("P");
    TLoggedIni ini;
    p->WritePosition(ini);
    EXPECT_EQ(ini.Log, (std::vector<String>{"write Top=10", "write Left=10", "write Height=100", "write FullHeight=100",
                                            "write Width=200", "write Collaps=0"}));
    ini.Log.clear();
    ini.WriteString("P", "Top", "40");
    ini.WriteString("P", "Collaps", "1");
    ini.WriteString("P", "FullHeight", "120");
    ini.Log.clear();
    p->SetCollapsSteps(5);
    TManualClock clock;
    TClockScope scope(clock);
    p->ReadPosition(ini);
    EXPECT_EQ(ini.Log, (std::vector<String>{"read Top", "read Left", "read Height", "read Width", "read Collaps",
                                            "read FullHeight"}));
    EXPECT_EQ(p->Top(), 40);
    EXPECT_TRUE(p->Collaps());
    EXPECT_EQ(p->Height(), 18);
    EXPECT_EQ(p->FullHeight(), 120);
    EXPECT_EQ(p->CollapsSteps(), 5);
    EXPECT_EQ(clock.PausedTime(), 0u);  // no animation
    // A missing section leaves the panel where it was.
    TLumPanel* q = NewPanel();
    q->Position()->SetSection("Nowhere");
    q->ReadPosition(ini);
    EXPECT_EQ(q->BoundsRect(), Bounds(10, 10, 200, 100));
    EXPECT_FALSE(q->Collaps());
    // ... and collapsed where it was collapsed.
    q->SetCollaps(true);
    q->ReadPosition(ini);
    EXPECT_TRUE(q->Collaps());
    EXPECT_EQ(q->Height(), 18);
    q->SetCollaps(false);
    EXPECT_EQ(q->Height(), 100);
}

TEST_F(LumPanelTest, PositionRoundTripsThroughTheRegistryAndAnIniFile) {
    const String key = "Software\\QuillmereTests\\PanelPosition";
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const String iniName = String(dir) + "quillmere_panel_position.ini";
    DeleteFileA(iniName.c_str());
    for (TPanelPositionLocation where : {clRegistry, clInifile}) {
        SCOPED_TRACE(int(where));
        const String layout = String("object Form1: TForm\n  object P: TLumPanel\n    Left = 5\n    Top = 6\n") +
                              "    Width = 150\n    Height = 80\n    Position.Save = True\n" + "    Position.Key = '" +
                              (where == clRegistry ? key : iniName) + "'\n" +
                              "    Position.Section = 'Panel'\n    Position.Location = " +
                              (where == clRegistry ? "clRegistry" : "clInifile") + "\n  end\nend\n";
        Load(layout);
        auto* p = Find<TLumPanel>("P");
        p->HandleNeeded();
        p->SetBounds(30, 40, 160, 80);
        p->SetHeight(90);
        FreeAndNil(form);  // writes the position
        Load(layout);
        p = Find<TLumPanel>("P");
        EXPECT_EQ(p->BoundsRect(), Bounds(30, 40, 160, 90));
        EXPECT_EQ(p->FullHeight(), 90);
        FreeAndNil(form);
    }
    TRegistry reg;
    reg.DeleteKey(key);
    DeleteFileA(iniName.c_str());
}

// The hit test of a point in the panel's client coordinates.
LRESULT HitTest(TLumPanel* p, int x, int y) {
    TPoint at = p->ClientToScreen({x, y});
    return p->Perform(WM_NCHITTEST, 0, MAKELPARAM(at.X, at.Y));
}

TEST_F(LumPanelTest, MovingByTheCaptionAndSizingByTheEdges) {
    TLumPanel* p = NewPanel();
    form->Show();
    Pump();
    p->Caption()->SetVisible(true);
    p->Caption()->SetCloseButton(true);
    EXPECT_EQ(HitTest(p, 50, 8), HTCLIENT);
    p->SetCanMove(true);
    EXPECT_EQ(HitTest(p, 50, 8), HTCAPTION);
    // The button's column is no drag area, nor is the body.
    EXPECT_EQ(HitTest(p, 190, 8), HTCLIENT);
    EXPECT_EQ(HitTest(p, 50, 50), HTCLIENT);
    const int cx = GetSystemMetrics(SM_CXFRAME), cy = GetSystemMetrics(SM_CYFRAME);
    EXPECT_EQ(HitTest(p, 199, 99), HTCLIENT);
    p->SetCanSize(true);
    EXPECT_EQ(HitTest(p, 199, 99), HTBOTTOMRIGHT);
    EXPECT_EQ(HitTest(p, 50, 100 - cy + 1), HTBOTTOM);
    EXPECT_EQ(HitTest(p, 200 - cx + 1, 50), HTRIGHT);
    p->SetFixedHeight(true);
    EXPECT_EQ(HitTest(p, 199, 99), HTRIGHT);
    EXPECT_EQ(HitTest(p, 50, 99), HTCLIENT);
    p->SetFixedHeight(false);
    p->SetCollaps(true);
    EXPECT_EQ(HitTest(p, 199, 17), HTCLIENT);  // a collapsed panel is not sized
    p->SetCollaps(false);
    p->SetCanSize(false);

    // With both collapse glyphs, the drag area ends at the button columns
    // as wide as MinGlyph (the buttons' own hit areas take MaxGlyph's).
    p->Caption()->SetMinMaxButton(true);
    TBitmap wide(30, 16), narrow(14, 16);
    p->Caption()->SetMaxGlyph(&wide);
    p->Caption()->SetMinGlyph(&narrow);
    EXPECT_EQ(p->CaptionButtonSize(), 30);
    for (const auto& [x, result] : std::vector<std::pair<int, LRESULT>>{
             {200 - 2 - 2 * 14 - 1, HTCAPTION}, {200 - 2 - 2 * 14 + 1, HTCLIENT}, {200 - 2 - 2 * 30 - 1, HTCAPTION}})
        EXPECT_EQ(HitTest(p, x, 8), result) << x;
    p->Caption()->SetMinMaxButton(false);

    // Sizing with a fixed width keeps the width; the full height follows.
    p->SetFixedWidth(true);
    p->Perform(WM_ENTERSIZEMOVE, 0, 0);
    RECT r{0, 0, 300, 150};
    p->Perform(WM_SIZING, WMSZ_BOTTOMRIGHT, LPARAM(&r));
    EXPECT_EQ(r.right, 200);
    EXPECT_EQ(p->FullHeight(), 150);
    // Moving with a fixed left keeps the left edge where the move began.
    p->SetFixedLeft(true);
    TPoint origin = p->ClientToScreen({0, 0});
    RECT m{origin.X + 40, origin.Y + 5, origin.X + 240, origin.Y + 105};
    p->Perform(WM_MOVING, WMSZ_LEFT, LPARAM(&m));
    EXPECT_EQ(m.left, origin.X);
    EXPECT_EQ(m.right, origin.X + 200);
    EXPECT_EQ(m.top, origin.Y + 5);
    struct TEnd : TObject {
        int Count = 0;
        void Ended(TObject*) { ++Count; }
    } end;
    p->OnEndMoveSize = TNotifyEvent::Bind<&TEnd::Ended>(&end);
    p->Perform(WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(end.Count, 1);
}

TEST_F(LumPanelTest, ScalingScalesTheCaption) {
    TLumPanel* p = NewPanel();
    p->Caption()->Font()->SetSize(8);
    p->ChangeScale(3, 2);
    EXPECT_EQ(p->Caption()->Height(), 30);
    EXPECT_EQ(p->Caption()->Font()->Size(), 12);
}

TEST_F(LumPanelTest, AssignCopiesThePanelsLook) {
    TLumPanel* a = NewPanel();
    TLumPanel* b = NewPanel();
    a->SetColorTo(clRed);
    a->SetBorderColor(clLime);
    a->SetCollapsSteps(7);
    a->SetText("body");
    a->Caption()->SetColor(clBlue);
    a->Caption()->SetText("not copied");
    a->StatusBar()->SetColor(clAqua);
    a->SetHeight(77);
    a->SetTag(5);
    b->Assign(a);
    EXPECT_EQ(b->ColorTo(), clRed);
    EXPECT_EQ(b->BorderColor(), clLime);
    EXPECT_EQ(b->CollapsSteps(), 7);
    EXPECT_EQ(b->Text(), "body");
    EXPECT_EQ(b->Caption()->Color(), clBlue);
    EXPECT_EQ(b->Caption()->Text(), "");
    EXPECT_EQ(b->StatusBar()->Color(), clAqua);
    EXPECT_EQ(b->Height(), 77);
    EXPECT_EQ(b->Tag(), 5);
}

TEST_F(LumPanelTest, ApplySettingsKeepsThePanelsOwnButtonsAndSize) {
    TLumPanel* p = NewPanel();
    p->Caption()->SetCloseButton(true);
    TLumPanelSettings s;
    s.SetColor(clRed);
    s.SetColorTo(clBlue);
    s.Caption()->SetColor(clLime);
    s.Caption()->SetMinMaxButton(true);
    s.StatusBar()->SetColor(clAqua);
    s.StatusBar()->SetBevelInner(true);
    s.SetHeight(300);
    s.SetText("not applied");
    p->ApplySettings(&s);
    EXPECT_EQ(p->Color(), clRed);
    EXPECT_EQ(p->ColorTo(), clBlue);
    EXPECT_EQ(p->Caption()->Color(), clLime);
    EXPECT_TRUE(p->Caption()->CloseButton());
    EXPECT_FALSE(p->Caption()->MinMaxButton());
    EXPECT_EQ(p->StatusBar()->Color(), clAqua);
    EXPECT_FALSE(p->StatusBar()->BevelInner());  // not carried by the status bar's Assign
    EXPECT_EQ(p->BorderStyle(), bsSingle);
    EXPECT_EQ(p->Height(), 100);
    EXPECT_EQ(p->Text(), "");
}

TEST_F(LumPanelTest, AutoSizeFollowsTheText) {
    TLumPanel* p = NewPanel();
    p->SetBevelOuter(bvNone);
    p->SetText("Some text");
    p->Caption()->SetVisible(true);
    p->AutoSize()->SetEnabled(true);
    // Measured as the panel measures: the renderer, the same font, a screen DC.
    HDC dc = CreateCompatibleDC(nullptr);
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.SetFont(p->Font());
    TSize text = DrawPanelText(&canvas, "Some text", Rect(0, 0, 65535, 65535), TPanelTextStyle{}, ptmMeasure).Extent;
    // Placing centred or bottom-aligned text takes the height its paint
    // lays out in the box: the lines that start inside it.
    const TRect box = Rect(0, 0, 100, 5 * text.cy / 2);
    EXPECT_EQ(DrawPanelText(&canvas, "a<BR>b<BR>c", box, TPanelTextStyle{}, ptmMeasure).Extent.cy, 3 * text.cy);
    EXPECT_EQ(DrawPanelText(&canvas, "a<BR>b<BR>c", box, TPanelTextStyle{}, ptmPlace).Extent.cy, 2 * text.cy);
    canvas.SetHandle(nullptr);
    DeleteDC(dc);
    ASSERT_GT(text.cx, 0);
    EXPECT_EQ(p->Width(), 2 + text.cx);
    EXPECT_EQ(p->Height(), 20 + text.cy + 2);
}

struct TAnchorLog : TObject {
    std::vector<String> Clicked;
    void Click(TObject*, String anchor) { Clicked.push_back(anchor); }
    void Hint(TObject*, String& anchor) { anchor = "hint for " + anchor; }
};

TEST_F(LumPanelTest, AnchorsAreFoundClickedAndHinted) {
    TLumPanel* p = NewPanel();
    p->SetBevelOuter(bvNone);
    p->SetText("<A href=\"go\">link</A> and more");
    form->Show();
    Pump();
    EXPECT_EQ(p->AnchorAt(6, 6), "go");
    EXPECT_EQ(p->AnchorAt(150, 80), "");
    TAnchorLog log;
    p->OnAnchorClick = TAnchorClickEvent::Bind<&TAnchorLog::Click>(&log);
    Click(p, 6, 6);
    Click(p, 150, 80);
    EXPECT_EQ(log.Clicked, (std::vector<String>{"go"}));
    // The anchor as the hint, through OnAnchorHint.
    p->SetAnchorHint(true);
    p->OnAnchorHint = TAnchorHintEvent::Bind<&TAnchorLog::Hint>(&log);
    THintInfo info;
    info.CursorPos = {6, 6};
    EXPECT_EQ(p->Perform(CM_HINTSHOW, 0, LPARAM(&info)), 0);
    EXPECT_EQ(info.HintStr, "hint for go");
    // Moving onto the anchor shows the hand; off it the cursor comes back.
    p->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
    EXPECT_EQ(p->Cursor(), crHandPoint);
    p->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(150, 80));
    EXPECT_EQ(p->Cursor(), crDefault);
}

TEST_F(LumPanelTest, ImagesAndStylerReferencesClearWhenFreed) {
    TLumPanel* p = NewPanel();
    auto* images = NewObject<TImageList>(form);
    auto* styler = NewObject<TLumPanelStyler>(form);
    p->SetImages(images);
    p->SetStyler(styler);
    delete images;
    delete styler;
    EXPECT_EQ(p->Images(), nullptr);
    EXPECT_EQ(p->Styler(), nullptr);
}

}  // namespace
