// The office radio group: its buttons follow Items, sit in Columns and keep
// ItemIndex in step; a programmatic ItemIndex fires OnClick and a stored
// one does not; a stored index that names no button is clamped; a button
// disabled from outside stays disabled; clicks and the arrow keys choose.
#include "components/controls/office_radio_group_win.h"

#include "classlib/ui/gdi_helpers.h"
#include "components/controls/radio_group_layout.h"
#include "object_tally.h"
#include "office_buttons_test_support_win.h"

using namespace option_controls_test;

namespace {

const char* const kLayout = R"(object Form1: TForm
  BorderStyle = bsNone
  ClientHeight = 300
  ClientWidth = 400
  Color = clRed
  object Compilers: TLumOfficeRadioGroup
    Left = 8
    Top = 4
    Width = 110
    Height = 150
    Caption = 'Compilers'
    ItemIndex = 0
    Items.Strings = (
      'for PIC'
      'for dsPIC'
      'for PIC32'
      'for ARM'
      'for AVR'
      'for 8051')
  end
  object Build: TLumOfficeRadioGroup
    Left = 150
    Top = 4
    Width = 210
    Height = 62
    Caption = 'Build Messages'
    ItemIndex = 99
    Items.Strings = (
      'Always show on build'
      'Use layout setup')
  end
end
)";

using Events = std::vector<std::string>;

int FontHeight(TFont* font) {
    TScreenDC screen;
    HGDIOBJ old = SelectObject(screen.Handle(), font->Handle());
    TEXTMETRICA m{};
    GetTextMetricsA(screen.Handle(), &m);
    SelectObject(screen.Handle(), old);
    return m.tmHeight;
}

class OfficeRadioGroupTest : public LayoutFormTest {
protected:
    void SetUp() override {
        LayoutFormTest::SetUp();
        Load(kLayout);
        group = Find<TLumOfficeRadioGroup>("Compilers");
        build = Find<TLumOfficeRadioGroup>("Build");
        group->OnClick = log.OnClick();
        build->OnClick = log.OnClick();
    }
    TEventLog log;
    TLumOfficeRadioGroup* group = nullptr;
    TLumOfficeRadioGroup* build = nullptr;
};

}  // namespace

TEST_F(OfficeRadioGroupTest, ReadingTheLayoutBuildsAndChecksTheButtonsAndFiresNothing) {
    ASSERT_EQ(group->ButtonCount(), 6);
    EXPECT_EQ(group->ControlCount(), 6);
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_TRUE(group->Buttons(0)->Checked());
    EXPECT_EQ(group->Buttons(3)->Caption(), "for ARM");
    // The stored 99 names no button: the last one.
    EXPECT_EQ(build->ItemIndex(), 1);
    EXPECT_TRUE(build->Buttons(1)->Checked());
    ShowForm();
    EXPECT_TRUE(log.Take().empty());
    // The buttons are the group's: never written.
    const String written = Written();
    EXPECT_EQ(written.find("TLumGroupButton"), String::npos) << written;
    EXPECT_EQ(written.find("Version"), String::npos);
    EXPECT_NE(written.find("ItemIndex = 1"), String::npos);
}

TEST_F(OfficeRadioGroupTest, ItemIndexIsClampedAndAChangeChecksAndFiresOnClick) {
    ShowForm();
    group->SetItemIndex(99);
    EXPECT_EQ(group->ItemIndex(), 5);
    EXPECT_TRUE(group->Buttons(5)->Checked());
    EXPECT_FALSE(group->Buttons(0)->Checked());
    EXPECT_EQ(log.Take(), Events{"click Compilers"});
    group->SetItemIndex(5);
    EXPECT_TRUE(log.Take().empty());
    group->SetItemIndex(-5);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_FALSE(group->Buttons(5)->Checked());
    EXPECT_TRUE(log.Take().empty());
}

TEST_F(OfficeRadioGroupTest, ColumnsAreClamped) {
    group->SetColumns(0);
    EXPECT_EQ(group->Columns(), 1);
    group->SetColumns(-3);
    EXPECT_EQ(group->Columns(), 1);
    group->SetColumns(17);
    EXPECT_EQ(group->Columns(), 16);
    group->SetColumns(2);
    EXPECT_EQ(group->Columns(), 2);
}

TEST_F(OfficeRadioGroupTest, DeletingLinesKeepsOrMovesTheIndex) {
    ShowForm();
    group->SetItemIndex(2);
    log.Take();
    group->Items()->Delete(4);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(group->ButtonCount(), 5);
    group->SetItemIndex(4);
    group->Items()->Delete(4);
    EXPECT_EQ(group->ItemIndex(), 3);
    EXPECT_TRUE(group->Buttons(3)->Checked());
    EXPECT_EQ(group->ButtonCount(), 4);
}

TEST_F(OfficeRadioGroupTest, ButtonsFillOneColumnTopToBottom) {
    ShowForm();
    const int h = FontHeight(group->Font());
    for (bool caption : {true, false}) {
        group->SetCaption(caption ? "Compilers" : "");
        group->SetWidth(111);
        group->SetWidth(110);
        for (int i = 0; i < 6; ++i) {
            const int top = ((145 - h) % 6) / 2 + h + 1 - (caption ? 0 : h / 2);
            EXPECT_EQ(group->Buttons(i)->BoundsRect(), Bounds(8, top + i * ((145 - h) / 6), 100, (145 - h) / 6))
                << i << caption;
            EXPECT_TRUE(group->Buttons(i)->Visible());
        }
    }
    // Two columns: three rows, the second column 100 pixels on.
    group->SetColumns(2);
    EXPECT_EQ(group->Buttons(3)->Left(), 8 + 50);
    EXPECT_EQ(group->Buttons(3)->Top(), group->Buttons(0)->Top());
}

TEST_F(OfficeRadioGroupTest, AButtonDisabledFromOutsideStaysDisabledUntilTheGroupChanges) {
    ShowForm();
    group->Controls(5)->SetEnabled(false);
    group->SetHeight(160);
    group->Font()->SetHeight(-12);
    EXPECT_FALSE(group->Buttons(5)->Enabled());
    EXPECT_TRUE(group->Buttons(4)->Enabled());
    // "for 8051" cannot be chosen with the mouse: its window takes none.
    EXPECT_FALSE(IsWindowEnabled(group->Buttons(5)->Handle()));
    group->SetEnabled(false);
    group->SetEnabled(true);
    EXPECT_TRUE(group->Buttons(5)->Enabled());
}

TEST_F(OfficeRadioGroupTest, OnIsEnabledDecidesAtLayout) {
    struct TOnly : TObject {
        void IsEnabled(TObject*, int index, bool& enabled) { enabled = enabled && index != 2; }
    } only;
    group->OnIsEnabled = TEnabledEvent::Bind<&TOnly::IsEnabled>(&only);
    ShowForm();
    EXPECT_FALSE(group->Buttons(2)->Enabled());
    EXPECT_TRUE(group->Buttons(1)->Enabled());
}

TEST_F(OfficeRadioGroupTest, AClickOnAButtonSetsItemIndexAndFiresOnce) {
    ShowForm();
    Click(group->Buttons(1));
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_TRUE(group->Buttons(1)->Checked());
    EXPECT_FALSE(group->Buttons(0)->Checked());
    EXPECT_EQ(log.Take(), Events{"click Compilers"});
    // Focused but unchecked (the index moved from code): still once.
    group->SetItemIndex(0);
    log.Take();
    ASSERT_TRUE(group->Buttons(1)->Focused());
    Click(group->Buttons(1));
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(log.Take(), Events{"click Compilers"});
}

TEST_F(OfficeRadioGroupTest, TheArrowKeysMoveToTheNextButtonAndChooseIt) {
    ShowForm();
    group->Buttons(0)->SetFocus();
    Pump();
    log.Take();
    Key(group->Buttons(0), VK_DOWN);
    EXPECT_TRUE(group->Buttons(1)->Focused());
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(log.Take(), Events{"click Compilers"});
    Key(group->Buttons(1), VK_UP);
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_EQ(log.Take(), Events{"click Compilers"});
    // Tab leaves the group: only the checked button is a tab stop.
    Key(group->Buttons(0), VK_TAB);
    EXPECT_TRUE(build->Buttons(1)->Focused());
}

TEST_F(OfficeRadioGroupTest, PaintsItsFrameAndItsButtonsAndFreesWhatItMakes) {
    ShowForm();
    // Unfocused: the focus rectangle of a checked button runs down its
    // left edge, over the glyph.
    build->Buttons(1)->SetFocus();
    Pump();
    TPaintTarget target(110, 150, clBlack);
    target.Paint(group);
    const TColor red{0x0000FF}, border{0xC0C0C0};
    EXPECT_EQ(target.PixelAt(0, 100), border);
    EXPECT_EQ(target.PixelAt(109, 100), border);
    TLumGroupButton* first = group->Buttons(0);
    const TPoint glyph = GlyphPlace(first, true);
    std::string why;
    EXPECT_TRUE(GlyphMatches(target, "QOROFRC", red, Point(first->Left() + glyph.X, first->Top() + glyph.Y), &why))
        << why;
    TObjectBalance balance;
    for (int i = 0; i < 1000; ++i) target.Paint(group);
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
}

// The buttons' places over columns, counts and modes, and whether the mode
// is the group's own or its form's: right to left (bdRightToLeft) the
// first column is at the right; every button takes the group's mode.
TEST_F(OfficeRadioGroupTest, ButtonsMirrorTheirColumnsRightToLeft) {
    ShowForm();
    const int h = FontHeight(group->Font());
    static const char* const names[] = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                        "bdRightToLeftReadingOnly"};
    for (bool fromForm : {false, true})
        for (TBiDiMode mode : {bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly})
            for (int columns : {1, 2, 3})
                for (int count : {1, 4, 5, 6}) {
                    SCOPED_TRACE(std::string(fromForm ? "form " : "group ") + names[mode] + " " +
                                 std::to_string(columns) + " columns, " + std::to_string(count) + " buttons");
                    form->SetBiDiMode(bdLeftToRight);
                    group->SetBiDiMode(bdLeftToRight);
                    group->SetColumns(columns);
                    group->Items()->Clear();
                    for (int i = 0; i < count; ++i) group->Items()->Add("Item " + std::to_string(i));
                    if (fromForm) {
                        group->SetParentBiDiMode(true);
                        form->SetBiDiMode(mode);
                    } else {
                        group->SetBiDiMode(mode);
                    }
                    ASSERT_EQ(group->BiDiMode(), mode);
                    ASSERT_EQ(group->ButtonCount(), count);
                    const int rows = (count + columns - 1) / columns, columnWidth = 100 / columns;
                    const int avail = 150 - h - 5, rowHeight = avail / rows;
                    const int top = (avail % rows) / 2 + h + 1;
                    for (int i = 0; i < count; ++i) {
                        TLumGroupButton* b = group->Buttons(i);
                        EXPECT_EQ(b->BiDiMode(), mode) << i;
                        int x = (i / rows) * columnWidth + 8;
                        if (mode == bdRightToLeft) x = group->ClientWidth() - x - columnWidth;
                        EXPECT_EQ(b->BoundsRect(), Bounds(x, top + (i % rows) * rowHeight, columnWidth, rowHeight))
                            << i;
                    }
                }
}
