// Panel settings and the panel styler: nested updates, presets written into
// the settings and pushed to the bound panels, the shared style numbers,
// copying, the stored layout and the theme follower.
#include <gtest/gtest.h>

#include "panel_test_support_win.h"

using namespace panel_test;
using S = TLumPanelStyle;

namespace {

// Counts a settings object's change events, passing them on to whoever
// listened before.
struct TChangeCount : TObject {
    int Count = 0;
    TNotifyEvent Before;
    void Changed(TObject* sender) {
        ++Count;
        Before(sender);
    }
    void Watch(TLumPanelSettings& s) {
        Before = s.OnChange;
        s.OnChange = TNotifyEvent::Bind<&TChangeCount::Changed>(this);
    }
};

TEST(LumPanelSettings, NestedUpdatesNotifyOnceAtTheOutermostEnd) {
    TLumPanelSettings s;
    TChangeCount count;
    count.Watch(s);
    s.SetIndent(3);
    EXPECT_EQ(count.Count, 1);
    s.BeginUpdate();
    s.BeginUpdate();
    s.SetIndent(4);
    s.Caption()->SetHeight(30);
    s.EndUpdate();
    EXPECT_EQ(count.Count, 1);
    s.EndUpdate();
    EXPECT_EQ(count.Count, 2);
    // An end without a beginning does nothing.
    s.EndUpdate();
    EXPECT_EQ(count.Count, 2);
    EXPECT_EQ(s.UpdateCount(), 0);
}

TEST(LumPanelSettings, WhichWritersNotify) {
    TLumPanelSettings s;
    TChangeCount count;
    count.Watch(s);
    // Plain fields.
    s.SetColor(clRed);
    s.SetHeight(5);
    s.SetShadowColor(clRed);
    s.SetFixedTop(true);
    EXPECT_EQ(count.Count, 0);
    // The mirror colours only on a change.
    s.SetColorTo(clNone);
    EXPECT_EQ(count.Count, 0);
    s.SetColorTo(clRed);
    EXPECT_EQ(count.Count, 1);
    // The caption notifies; the font and the status bar do not.
    s.Caption()->SetIndent(7);
    EXPECT_EQ(count.Count, 2);
    s.Font()->SetColor(clRed);
    s.StatusBar()->SetColor(clRed);
    EXPECT_EQ(count.Count, 2);
}

TEST(LumPanelSettings, InitialValues) {
    TLumPanelSettings s;
    EXPECT_EQ(s.BorderStyle(), bsSingle);
    EXPECT_EQ(s.BevelOuter(), bvNone);
    EXPECT_EQ(s.CollapsColor(), clBtnFace);
    EXPECT_EQ(s.Height(), 120);
    EXPECT_EQ(s.ShadowColor(), clBlack);
    EXPECT_EQ(s.URLColor(), clBlue);
    EXPECT_EQ(s.Position(), nullptr);
    EXPECT_TRUE(s.AutoHideChildren());
}

TEST(LumPanelSettings, CopyingCopiesEverythingInOneUpdate) {
    TLumPanelSettings a, b;
    a.SetColor(clRed);
    a.SetColorMirror(clLime);
    a.SetHeight(33);
    a.SetText("text");
    a.Font()->SetColor(clAqua);
    a.Caption()->SetVisible(true);
    a.Caption()->SetText("caption");
    a.Caption()->SetColor(clBlue);
    a.StatusBar()->SetBevelInner(true);
    a.StatusBar()->SetVisible(true);
    TChangeCount count;
    count.Watch(b);
    b.Assign(&a);
    EXPECT_EQ(count.Count, 1);
    EXPECT_EQ(b.Color(), clRed);
    EXPECT_EQ(b.ColorMirror(), clLime);
    EXPECT_EQ(b.Height(), 33);
    EXPECT_EQ(b.Text(), "text");
    EXPECT_EQ(b.Font()->Color(), clAqua);
    EXPECT_TRUE(b.Caption()->Visible());
    EXPECT_EQ(b.Caption()->Text(), "caption");
    EXPECT_EQ(b.Caption()->Color(), clBlue);
    EXPECT_TRUE(b.StatusBar()->BevelInner());
    EXPECT_TRUE(b.StatusBar()->Visible());
}

class LumPanelStylerTest : public PanelFormTest {
protected:
    void SetUp() override {
        PanelFormTest::SetUp();
        NewPanel();
        styler = NewObject<TLumPanelStyler>(form);
        count.Watch(*styler->Settings());
    }
    TLumPanelStyler* styler = nullptr;
    TChangeCount count;
};

TEST_F(LumPanelStylerTest, AStylerStartsAsXP) {
    auto* fresh = NewObject<TLumPanelStyler>(form);
    TLumPanelSettings* s = fresh->Settings();
    EXPECT_EQ(fresh->Style(), S::psXP);
    EXPECT_EQ(s->Color(), TColor(0xFFFFFF));
    EXPECT_EQ(s->ColorTo(), TColor(0xE3F0F2));
    EXPECT_TRUE(s->BorderShadow());
    EXPECT_EQ(s->BorderStyle(), bsNone);
    EXPECT_EQ(s->Caption()->Indent(), 2);
    EXPECT_EQ(s->Caption()->ColorTo(), TColor(0xFF0000));
    EXPECT_EQ(s->StatusBar()->BorderStyle(), bsSingle);
    EXPECT_EQ(s->StatusBar()->BorderColor(), TColor(0xC0C0C0));
    EXPECT_FALSE(fresh->AutoThemeAdapt());
}

TEST_F(LumPanelStylerTest, LunaAfterXPKeepsWhatLunaDoesNotSet) {
    auto* bound = NewPanel();
    auto* other = NewPanel();
    bound->SetStyler(styler);
    bound->Caption()->SetCloseButton(true);
    styler->SetStyle(S::psOffice2007Luna);
    TLumPanelSettings* s = styler->Settings();
    EXPECT_EQ(s->Caption()->Height(), 20);
    EXPECT_EQ(s->Caption()->Indent(), 2);
    EXPECT_EQ(s->Caption()->Font()->Color(), TColor(0));
    EXPECT_EQ(s->StatusBar()->Font()->Color(), TColor(0x723708));
    // The bound panel took it; the other did not.
    EXPECT_EQ(bound->Color(), TColor(0xFAF1E9));
    EXPECT_EQ(bound->ColorTo(), TColor(0xEDD8C7));
    EXPECT_EQ(bound->ColorMirror(), TColor(0xEDD8C7));
    EXPECT_EQ(bound->ColorMirrorTo(), TColor(0xFFF2E7));
    EXPECT_EQ(bound->BorderColor(), TColor(0xFFD2AF));
    EXPECT_EQ(bound->BevelOuter(), bvNone);
    EXPECT_EQ(bound->BorderStyle(), bsNone);
    EXPECT_EQ(bound->Font()->Color(), TColor(0x723708));
    EXPECT_EQ(bound->Caption()->Color(), TColor(0xFFEFE3));
    EXPECT_EQ(bound->Caption()->GradientDirection(), gdVertical);
    EXPECT_EQ(bound->StatusBar()->Color(), TColor(0xF7E3D3));
    EXPECT_EQ(bound->CollapsColor(), clNone);
    EXPECT_TRUE(bound->Caption()->CloseButton());  // the panel's own
    EXPECT_EQ(other->Color(), clBtnFace);
    EXPECT_EQ(count.Count, 1);
}

TEST_F(LumPanelStylerTest, CustomChangesNothingAndStillNotifiesOnce) {
    styler->Settings()->SetColor(clRed);
    styler->SetStyle(S::psCustom);
    EXPECT_EQ(styler->Settings()->Color(), clRed);
    EXPECT_EQ(styler->Style(), S::psCustom);
    EXPECT_EQ(count.Count, 1);
}

TEST_F(LumPanelStylerTest, StyleNumbersThroughTheInterface) {
    IStylePreset* preset = Supports<IStylePreset>(static_cast<TComponent*>(styler));
    ASSERT_NE(preset, nullptr);
    preset->ApplyStylePreset(psOffice2007Luna);
    EXPECT_EQ(styler->Style(), S::psOffice2007Luna);
    EXPECT_EQ(count.Count, 1);
    for (int n : {8, 13, 20}) preset->ApplyStylePreset(n);
    EXPECT_EQ(styler->Style(), S::psOffice2007Luna);
    EXPECT_EQ(count.Count, 1);
    preset->ApplyStylePreset(128);
    EXPECT_EQ(styler->Style(), S::psOffice2003Blue);
    // A panel is no style preset.
    EXPECT_EQ(Supports<IStylePreset>(static_cast<TComponent*>(NewPanel())), nullptr);
}

TEST_F(LumPanelStylerTest, AssignCopiesFromStylersOnly) {
    auto* source = NewObject<TLumPanelStyler>(form);
    source->SetComments("notes");
    source->SetStyle(S::psTerminal);
    source->Settings()->SetIndent(9);
    styler->Assign(source);
    EXPECT_EQ(styler->Comments(), "notes");
    EXPECT_EQ(styler->Style(), S::psTerminal);
    EXPECT_EQ(styler->Settings()->Indent(), 9);
    EXPECT_EQ(styler->Settings()->CollapsColor(), clHighlight);
    styler->Assign(NewPanel());
    EXPECT_EQ(styler->Style(), S::psTerminal);
}

const char* const kLayout = R"(object Form1: TForm
  ClientHeight = 300
  ClientWidth = 400
  object LumPanel1: TLumPanel
    Left = 3
    Top = 3
    Width = 300
    Height = 200
    Styler = LumPanelStyler1
    FullHeight = 0
  end
  object LumPanel2: TLumPanel
    Top = 250
    Width = 300
    Height = 43
    Align = alBottom
    Styler = LumPanelStyler1
    FullHeight = 43
  end
  object LumPanelStyler1: TLumPanelStyler
    Style = psOffice2007Luna
  end
end
)";

TEST_F(LumPanelStylerTest, TheStoredStylerStylesBothPanels) {
    Load(kLayout);
    for (const char* name : {"LumPanel1", "LumPanel2"}) {
        auto* p = Find<TLumPanel>(name);
        EXPECT_EQ(p->Color(), TColor(0xFAF1E9)) << name;
        EXPECT_EQ(p->ColorMirrorTo(), TColor(0xFFF2E7)) << name;
        EXPECT_EQ(p->BevelOuter(), bvNone) << name;
    }
    EXPECT_EQ(Find<TLumPanel>("LumPanel1")->Height(), 200);
    EXPECT_EQ(Find<TLumPanel>("LumPanel2")->Height(), 43);
    // Written back: the style by name, the panels' reference to it.
    String text = Written();
    EXPECT_NE(text.find("Style = psOffice2007Luna"), String::npos) << text;
    EXPECT_NE(text.find("Styler = LumPanelStyler1"), String::npos) << text;
}

TEST_F(LumPanelStylerTest, CustomSettingsSurviveTheLayout) {
    Load(kLayout);
    auto* s = Find<TLumPanelStyler>("LumPanelStyler1");
    s->SetStyle(S::psCustom);
    // Values a panel caption would leave out as its defaults, which a new
    // styler (psXP) does not hold.
    s->Settings()->Caption()->SetColorTo(clNone);
    s->Settings()->Caption()->SetIndent(0);
    s->Settings()->StatusBar()->SetBorderStyle(bsNone);
    s->SetComments("kept");
    Load(Written());
    s = Find<TLumPanelStyler>("LumPanelStyler1");
    EXPECT_EQ(s->Style(), S::psCustom);
    EXPECT_EQ(s->Settings()->Caption()->ColorTo(), clNone);
    EXPECT_EQ(s->Settings()->Caption()->Indent(), 0);
    EXPECT_EQ(s->Settings()->StatusBar()->BorderStyle(), bsNone);
    EXPECT_EQ(s->Settings()->Color(), TColor(0xFAF1E9));
    EXPECT_EQ(s->Comments(), "kept");
}

TEST_F(LumPanelStylerTest, ThemeChangesSelectTheSchemesStyle) {
    styler->SetAutoThemeAdapt(true);
    styler->SetStyle(S::psWindows7);
    ASSERT_TRUE(styler->NotifierWindow()->HandleAllocated());
    SendMessageA(styler->NotifierWindow()->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(styler->Style(), PanelStyleForXPColorScheme(CurrentXPColorScheme()));
    // Without AutoThemeAdapt the message changes nothing.
    styler->SetAutoThemeAdapt(false);
    styler->SetStyle(S::psWindows7);
    SendMessageA(styler->NotifierWindow()->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(styler->Style(), S::psWindows7);
}

}  // namespace
