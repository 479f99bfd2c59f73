// The combo box with its own border: its stored properties, the drop
// button's width range, the attached label (made on demand, placed, kept
// enabled and visible with the box, never freed twice), the focus colours,
// the flat look's colour through disable and enable, and OnDropUp.
#include "components/controls/combo_box_win.h"

#include "object_tally.h"
#include "option_controls_test_support_win.h"

using namespace option_controls_test;

namespace {

const char* const kLayout = R"(object Form1: TForm
  BorderStyle = bsNone
  ClientHeight = 200
  ClientWidth = 400
  Color = clRed
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 400
    Height = 200
    BevelOuter = bvNone
    object Levels: TLumComboBox
      Left = 150
      Top = 50
      Width = 96
      Height = 21
      Style = csDropDownList
      ItemIndex = 4
      Items.Strings = (
        'Zero'
        'One'
        'Two'
        'Three'
        'Four'
        'Five')
    end
    object Labelled: TLumComboBox
      Left = 150
      Top = 100
      Width = 96
      Height = 21
      Style = csDropDownList
      LabelCaption = 'Optimization level'
      LabelMargin = 6
      Version = '0.0'
    end
  end
  object Other: TButton
    Left = 300
    Top = 160
  end
end
)";

constexpr TColor kRed{0x0000FF}, kLime{0x00FF00}, kYellow{0x00FFFF};

class LumComboBoxTest : public LayoutFormTest {
protected:
    void SetUp() override {
        LayoutFormTest::SetUp();
        Load(kLayout);
        levels = Find<TLumComboBox>("Levels");
        labelled = Find<TLumComboBox>("Labelled");
    }
    TLumComboBox* levels = nullptr;
    TLumComboBox* labelled = nullptr;
};

}  // namespace

TEST_F(LumComboBoxTest, DefaultsVersionAndTheClassLibrarysLinesAndSelection) {
    EXPECT_EQ(levels->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 2);
    EXPECT_EQ(levels->Version(), "1.3.1.0");
    EXPECT_EQ(labelled->Version(), "1.3.1.0");
    EXPECT_EQ(levels->Color(), clWindow);
    EXPECT_TRUE(levels->AutoComplete());
    EXPECT_TRUE(levels->DisabledBorder());
    EXPECT_TRUE(levels->FlatParentColor());
    EXPECT_EQ(levels->FlatLineColor(), clBlack);
    EXPECT_EQ(levels->FocusColor(), clNone);
    EXPECT_EQ(levels->FocusBorderColor(), clNone);
    EXPECT_EQ(levels->LabelMargin(), 4);
    EXPECT_EQ(levels->LabelPosition(), lpLeftTop);
    EXPECT_EQ(levels->ItemIndex(), 4);
    EXPECT_EQ(levels->Items()->Count(), 6);
    ShowForm();
    EXPECT_EQ(levels->ItemIndex(), 4);
    EXPECT_EQ(levels->Text(), "Four");
    const String written = Written();
    EXPECT_EQ(written.find("Version"), String::npos);
    EXPECT_NE(written.find("LabelCaption = 'Optimization level'"), String::npos) << written;
}

TEST_F(LumComboBoxTest, ButtonWidthTakesOnlyFourteenToThirtyTwo) {
    const int before = levels->ButtonWidth();
    for (int refused : {13, 33, 0, -4}) {
        levels->SetButtonWidth(refused);
        EXPECT_EQ(levels->ButtonWidth(), before) << refused;
    }
    levels->SetButtonWidth(14);
    EXPECT_EQ(levels->ButtonWidth(), 14);
    levels->SetButtonWidth(32);
    EXPECT_EQ(levels->ButtonWidth(), 32);
}

TEST_F(LumComboBoxTest, WithoutLabelCaptionThereIsNoLabelAndNothingTouchesOne) {
    ShowForm();
    EXPECT_EQ(levels->AttachedLabel(), nullptr);
    levels->SetLabelPosition(lpRightCenter);
    levels->SetLabelMargin(10);
    EXPECT_EQ(levels->LabelPosition(), lpRightCenter);
    EXPECT_EQ(levels->LabelMargin(), 10);
    levels->SetFocusLabel(true);
    levels->SetEnabled(false);
    levels->SetEnabled(true);
    levels->SetVisible(false);
    levels->SetVisible(true);
    levels->SetFocus();
    Pump();
    levels->SetBounds(10, 10, 80, 21);
    Find<TButton>("Other")->SetFocus();
    Pump();
    EXPECT_EQ(levels->AttachedLabel(), nullptr);
    EXPECT_EQ(levels->LabelCaption(), "");
}

TEST_F(LumComboBoxTest, TheLabelSitsBesideTheBoxOnItsParentAndFollowsIt) {
    TLabel* label = labelled->AttachedLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Owner(), labelled);
    EXPECT_EQ(label->Parent(), labelled->Parent());
    EXPECT_EQ(label->FocusControl(), labelled);
    EXPECT_EQ(labelled->LabelCaption(), "Optimization level");
    const int tw = label->TextSize().cx;
    EXPECT_EQ(label->Left(), 150 - tw - 6);
    EXPECT_EQ(label->Top(), 100);
    labelled->SetBounds(160, 120, 96, 21);
    EXPECT_EQ(label->Left(), 160 - tw - 6);
    EXPECT_EQ(label->Top(), 120);
    labelled->SetLabelPosition(lpTopLeft);
    EXPECT_EQ(label->Left(), 160);
    EXPECT_EQ(label->Top(), 120 - label->Height() - 6);
    labelled->SetLabelPosition(lpRightCenter);
    EXPECT_EQ(label->Left(), 160 + 96 + 6);
    EXPECT_EQ(label->Top(), 120 + (21 - label->Height()) / 2);
    // Setting a caption on a box without label makes one.
    levels->SetLabelCaption("Level");
    ASSERT_NE(levels->AttachedLabel(), nullptr);
    EXPECT_EQ(levels->AttachedLabel()->Left(), 150 - levels->AttachedLabel()->TextSize().cx - 4);
}

TEST_F(LumComboBoxTest, TheLabelFollowsEnabledAndVisibleUnlessAlwaysEnabled) {
    TLabel* label = labelled->AttachedLabel();
    ASSERT_NE(label, nullptr);
    labelled->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    labelled->SetEnabled(true);
    EXPECT_TRUE(label->Enabled());
    labelled->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    labelled->SetVisible(true);
    EXPECT_TRUE(label->Visible());
    labelled->SetLabelAlwaysEnabled(true);
    labelled->SetEnabled(false);
    EXPECT_TRUE(label->Enabled());
}

TEST_F(LumComboBoxTest, ALabelFreedByItsParentIsForgottenAndNotFreedAgain) {
    TLabel* label = labelled->AttachedLabel();
    ASSERT_NE(label, nullptr);
    delete label;
    EXPECT_EQ(labelled->AttachedLabel(), nullptr);
    EXPECT_EQ(labelled->LabelCaption(), "");
    labelled->SetEnabled(false);
    labelled->SetBounds(10, 10, 90, 21);
    // The parent frees its children (the label among them) before the
    // owner frees the box: each goes once.
    levels->SetLabelCaption("Level");
    delete Find<TPanel>("Panel1");
    EXPECT_EQ(form->FindComponent("Levels"), nullptr);
    EXPECT_EQ(form->FindComponent("Labelled"), nullptr);
}

TEST_F(LumComboBoxTest, FocusColourAndBoldLabelWhileFocusedAndOnEnterStillFires) {
    TEventLog log;
    labelled->OnEnter = log.OnEnter();
    labelled->SetFocusColor(kYellow);
    labelled->SetFocusLabel(true);
    ShowForm();
    const TColor normal = labelled->Color();
    labelled->SetFocus();
    Pump();
    EXPECT_EQ(log.Take(), std::vector<std::string>{"enter Labelled"});
    EXPECT_EQ(labelled->Color(), kYellow);
    EXPECT_TRUE(labelled->AttachedLabel()->Font()->Style().Contains(fsBold));
    Find<TButton>("Other")->SetFocus();
    Pump();
    EXPECT_EQ(labelled->Color(), normal);
    EXPECT_FALSE(labelled->AttachedLabel()->Font()->Style().Contains(fsBold));
}

TEST_F(LumComboBoxTest, AFlatBoxGetsItsColourAndParentColourBackAfterDisableAndEnable) {
    ShowForm();
    levels->SetComboColor(kLime);
    levels->SetFlatParentColor(false);
    levels->SetFlat(true);
    EXPECT_FALSE(levels->Ctl3D());
    levels->SetComboColor(kLime);
    EXPECT_FALSE(levels->ParentColor());
    levels->SetEnabled(false);
    EXPECT_TRUE(levels->ParentColor());
    levels->SetEnabled(true);
    EXPECT_EQ(levels->Color(), kLime);
    EXPECT_FALSE(levels->ParentColor());
    // Flat with the parent's colour: the panel's.
    levels->SetFlat(false);
    EXPECT_TRUE(levels->Ctl3D());
    levels->SetFlatParentColor(true);
    levels->SetFlat(true);
    EXPECT_EQ(levels->Color(), Find<TPanel>("Panel1")->Brush()->Color());
}

TEST_F(LumComboBoxTest, ClosingTheListFiresOnDropUpOnceAndOpeningNothing) {
    TEventLog log;
    levels->OnDropUp = log.OnDropUp();
    ShowForm();
    levels->SetFocus();
    Pump();
    levels->SetDroppedDown(true);
    Pump();
    EXPECT_TRUE(log.Take().empty());
    levels->SetDroppedDown(false);
    Pump();
    EXPECT_EQ(log.Take(), std::vector<std::string>{"dropup Levels"});
}

TEST_F(LumComboBoxTest, AFlatBoxDrawsItsBorderInTheParentsColourAndTheLineUnderTheText) {
    auto* panel = Find<TPanel>("Panel1");
    panel->SetColor(kRed);
    levels->SetFlat(true);
    levels->SetFlatLineColor(TColor(0x00FF00));
    ShowForm();
    TPaintTarget target(96, 21, clBlack);
    target.Paint(levels);
    HDC dc = GetWindowDC(levels->Handle());
    // The border goes straight to the window: read it back from there.
    const COLORREF outer = GetPixel(dc, 0, 10), line = GetPixel(dc, 20, 20);
    ReleaseDC(levels->Handle(), dc);
    EXPECT_EQ(outer, COLORREF(0x0000FF));
    EXPECT_EQ(line, COLORREF(0x00FF00));
    TObjectBalance balance;
    for (int i = 0; i < 200; ++i) {
        levels->Invalidate();
        levels->Update();
    }
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
}

// Typing into a drop-down box completes the text with the first line that
// begins with what was typed, ignoring case, and selects that line; the
// completed rest is selected, so the next character replaces it. What no
// line begins with is typed as it is; without AutoComplete nothing is
// completed.
TEST_F(LumComboBoxTest, TypingInADropDownBoxCompletesFromTheFirstLineThatBeginsSo) {
    auto* box = new TLumComboBox(form);
    box->SetParent(Find<TPanel>("Panel1"));
    box->SetBounds(10, 10, 96, 21);
    for (const char* line : {"Red", "Green", "Grey", "Blue"}) box->Items()->Add(line);
    TEventLog log;
    box->OnChange = log.OnClick();  // logged as a click
    ShowForm();
    box->SetFocus();
    Pump();
    HWND edit = FindWindowExA(box->Handle(), nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    const auto type = [&](char c) {
        PostMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
        Pump();
    };
    const auto selection = [&] {
        DWORD start = 0, end = 0;
        SendMessageA(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
        return std::pair<int, int>(int(start), int(end));
    };
    struct TStep {
        char Typed;
        const char* Text;
        int ItemIndex;
        std::pair<int, int> Selection;
    };
    const TStep steps[] = {
        {'g', "Green", 1, {1, 5}}, {'R', "Green", 1, {2, 5}},  {'e', "Green", 1, {3, 5}},
        {'y', "Grey", 2, {4, 4}},  {'x', "Greyx", -2, {5, 5}},  // no line begins so: typed as it is (the edit's own)
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.Typed);
        type(step.Typed);
        EXPECT_EQ(box->Text(), step.Text);
        if (step.ItemIndex != -2) EXPECT_EQ(box->ItemIndex(), step.ItemIndex);
        EXPECT_EQ(selection(), step.Selection);
    }
    EXPECT_EQ(log.Take().size(), 5u);  // each step changed the text once
    box->SetText("");
    log.Take();
    box->SetAutoComplete(false);
    type('b');
    EXPECT_EQ(box->Text(), "b");
    EXPECT_EQ(selection(), (std::pair<int, int>(1, 1)));
}
