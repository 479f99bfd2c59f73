// The office radio button: checking unchecks the siblings of its
// GroupIndex and fires OnClick (never while loading), a click checks it
// and fires once, a release outside still fires, Space and the accelerator
// check it, and its glyph is the program's bitmap of its state.
#include "components/controls/office_radio_button_win.h"

#include "office_buttons_test_support_win.h"

using namespace option_controls_test;

namespace {

const char* const kLayout = R"(object Form1: TForm
  BorderStyle = bsNone
  ClientHeight = 200
  ClientWidth = 400
  Color = clRed
  object Radio1: TLumOfficeRadioButton
    Left = 10
    Top = 10
    Caption = '&Multiple Lines'
    Checked = True
  end
  object Radio2: TLumOfficeRadioButton
    Left = 10
    Top = 40
    Caption = 'Single Line'
  end
  object Radio3: TLumOfficeRadioButton
    Left = 10
    Top = 70
    Caption = 'Other group'
    GroupIndex = 1
    Checked = True
  end
end
)";

using Events = std::vector<std::string>;

class OfficeRadioButtonTest : public LayoutFormTest {
protected:
    void SetUp() override {
        LayoutFormTest::SetUp();
        Load(kLayout);
        radio1 = Find<TLumOfficeRadioButton>("Radio1");
        radio2 = Find<TLumOfficeRadioButton>("Radio2");
        radio3 = Find<TLumOfficeRadioButton>("Radio3");
        for (auto* r : {radio1, radio2, radio3}) r->OnClick = log.OnClick();
    }
    TEventLog log;
    TLumOfficeRadioButton *radio1 = nullptr, *radio2 = nullptr, *radio3 = nullptr;
};

}  // namespace

TEST_F(OfficeRadioButtonTest, DefaultsAndTheCheckReadFromTheLayout) {
    TLumOfficeRadioButton fresh(nullptr);
    EXPECT_EQ(fresh.Width(), 135);
    EXPECT_EQ(fresh.Height(), 20);
    EXPECT_EQ(fresh.GroupIndex(), 0);
    EXPECT_FALSE(fresh.Checked());
    EXPECT_FALSE(fresh.TabStop());
    EXPECT_EQ(fresh.Version(), "1.2.4.1");
    EXPECT_TRUE(radio1->Checked());
    EXPECT_TRUE(radio1->TabStop());
    EXPECT_TRUE(radio3->Checked());
    EXPECT_TRUE(log.Take().empty());
}

TEST_F(OfficeRadioButtonTest, CheckingFromCodeUnchecksItsGroupOnlyAndFiresOnClick) {
    radio2->SetChecked(true);
    EXPECT_EQ(log.Take(), Events{"click Radio2"});
    EXPECT_FALSE(radio1->Checked());
    EXPECT_FALSE(radio1->TabStop());
    EXPECT_TRUE(radio2->TabStop());
    EXPECT_TRUE(radio3->Checked());
    // Unchecking fires nothing; writing the same value nothing either.
    radio2->SetChecked(true);
    radio2->SetChecked(false);
    EXPECT_TRUE(log.Take().empty());
}

TEST_F(OfficeRadioButtonTest, AClickChecksAndFiresOnceAReleaseOutsideStillFires) {
    ShowForm();
    Click(radio2);
    EXPECT_TRUE(radio2->Checked());
    EXPECT_TRUE(radio2->Focused());
    EXPECT_FALSE(radio1->Checked());
    EXPECT_EQ(log.Take(), Events{"click Radio2"});
    // Pressed on Radio1 (which the press focuses and so checks, without a
    // click), released outside: the click still comes.
    Press(radio1, 20, 10);
    EXPECT_TRUE(radio1->Checked());
    EXPECT_TRUE(log.Take().empty());
    Release(radio1, 500, 10);
    EXPECT_EQ(log.Take(), Events{"click Radio1"});
    // On a focused, unchecked button a release outside leaves it unchecked.
    radio2->SetChecked(true);
    log.Take();
    Press(radio1, 20, 10);
    Release(radio1, 500, 10);
    EXPECT_FALSE(radio1->Checked());
    EXPECT_EQ(log.Take(), Events{"click Radio1"});
}

// One click inside fires OnClick once, whether the button had the focus or
// not and was checked or not; afterwards it is checked and focused.
TEST_F(OfficeRadioButtonTest, OneClickFiresOnClickOnceFocusedOrNotCheckedOrNot) {
    ShowForm();
    for (bool focused : {false, true})
        for (bool checked : {false, true}) {
            SCOPED_TRACE(std::string(focused ? "focused" : "unfocused") + (checked ? " checked" : " unchecked"));
            // Radio3 is of another group: focusing it checks neither.
            (focused ? static_cast<TWinControl*>(radio2) : radio3)->SetFocus();
            Pump();
            (checked ? radio2 : radio1)->SetChecked(true);
            ASSERT_EQ(radio2->Checked(), checked);
            ASSERT_EQ(radio2->Focused(), focused);
            log.Take();
            Click(radio2);
            EXPECT_TRUE(radio2->Checked());
            EXPECT_TRUE(radio2->Focused());
            EXPECT_EQ(log.Take(), Events{"click Radio2"});
        }
}

TEST_F(OfficeRadioButtonTest, SpaceTheAcceleratorAndTheFocusCheck) {
    ShowForm();
    radio2->SetFocus();
    Pump();
    // Reaching it checked it.
    EXPECT_TRUE(radio2->Checked());
    EXPECT_EQ(log.Take(), Events{"click Radio2"});
    EXPECT_NE(form->Perform(CM_DIALOGCHAR, 'm', 0), 0);
    EXPECT_TRUE(radio1->Checked());
    EXPECT_TRUE(radio1->Focused());
    EXPECT_EQ(log.Take(), Events{"click Radio1"});
    radio2->SetChecked(true);
    log.Take();
    Key(radio1, VK_SPACE);
    EXPECT_TRUE(radio1->Checked());
    EXPECT_EQ(log.Take(), Events{"click Radio1"});
}

TEST_F(OfficeRadioButtonTest, TheGlyphIsTheProgramsBitmapOfItsState) {
    ShowForm();
    // Unfocused: a focused, checked button's focus rectangle runs down its
    // left edge, over the glyph.
    radio3->SetFocus();
    Pump();
    const TColor red{0x0000FF};
    ExpectGlyph(radio1, "QOROFRC", red, GlyphPlace(radio1, true));
    ExpectGlyph(radio2, "QOROFRU", red, GlyphPlace(radio2, true));
    SetHot(radio2, true);
    ExpectGlyph(radio2, "QOROFRUH", red, GlyphPlace(radio2, true));
    radio2->SetDown(true);
    ExpectGlyph(radio2, "QOROFRUD", red, GlyphPlace(radio2, true));
    radio2->SetDown(false);
    radio2->SetChecked(true);
    ExpectGlyph(radio2, "QOROFRCH", red, GlyphPlace(radio2, true));
}

TEST_F(OfficeRadioButtonTest, TheFocusRectangleOfTheCheckedButtonRunsFromItsLeftEdge) {
    ShowForm();
    radio1->SetFocus();
    Pump();
    TPaintTarget target(radio1->Width(), radio1->Height(), clBlack);
    target.PaintInParents(radio1);
    // Dotted: every other pixel of the left edge below the caption's top.
    EXPECT_GT(target.CountPixels(Rect(0, 4, 1, 19), TColor(0)), 4);
    radio3->SetFocus();
    Pump();
    target.PaintInParents(radio1);
    EXPECT_EQ(target.CountPixels(Rect(0, 17, 1, 20), TColor(0)), 0);
}
