// The office check box: its stored properties, Checked and State, OnClick
// for the user's toggles only (mouse, Space, accelerator) and never for a
// write, the read-only box, the action link, and its painting: the glyph
// from the program's bitmaps for every state, the disabled caption and
// the GDI balance.
#include "components/controls/office_check_box_win.h"

#include "classlib/ui/bitmaps.h"
#include "components/controls/system_tests_win.h"
#include "object_tally.h"
#include "office_buttons_test_support_win.h"

using namespace option_controls_test;

namespace {

const char* const kLayout = R"(object Form1: TForm
  BorderStyle = bsNone
  ClientHeight = 200
  ClientWidth = 400
  Color = clRed
  object Box1: TLumOfficeCheckBox
    Left = 10
    Top = 10
    Width = 190
    Height = 20
    Caption = 'Generate &ASM file'
    Checked = True
    Version = '0.0.0.0'
  end
  object Box2: TLumOfficeCheckBox
    Left = 10
    Top = 40
    Width = 190
    Height = 20
    Caption = 'Include HEX opcodes'
  end
  object Other: TButton
    Left = 300
    Top = 160
  end
end
)";

constexpr TColor kRed{0x0000FF};

class OfficeCheckBoxTest : public LayoutFormTest {
protected:
    void SetUp() override {
        LayoutFormTest::SetUp();
        Load(kLayout);
        box1 = Find<TLumOfficeCheckBox>("Box1");
        box2 = Find<TLumOfficeCheckBox>("Box2");
        box1->OnClick = log.OnClick();
        box2->OnClick = log.OnClick();
    }
    TEventLog log;
    TLumOfficeCheckBox* box1 = nullptr;
    TLumOfficeCheckBox* box2 = nullptr;
};

using Events = std::vector<std::string>;

}  // namespace

TEST_F(OfficeCheckBoxTest, DefaultsAndAVersionThatIsReadOnly) {
    TLumOfficeCheckBox fresh(nullptr);
    EXPECT_EQ(fresh.Width(), 120);
    EXPECT_EQ(fresh.Height(), 20);
    EXPECT_EQ(fresh.Alignment(), taLeftJustify);
    EXPECT_EQ(fresh.ButtonVertAlign(), tlTop);
    EXPECT_EQ(fresh.State(), cbUnchecked);
    EXPECT_EQ(fresh.DisabledFontColor(), TColor(0x808080));
    EXPECT_EQ(fresh.ShadowColor(), TColor(0x808080));
    EXPECT_EQ(fresh.ShadowOffset(), 1);
    EXPECT_EQ(fresh.URLColor(), TColor(0xFF0000));
    EXPECT_TRUE(fresh.ShowFocus());
    EXPECT_FALSE(fresh.Themed());
    EXPECT_FALSE(fresh.ReadOnly());
    EXPECT_TRUE(fresh.TabStop());
    EXPECT_EQ(box1->Version(), "1.2.4.1");
    EXPECT_TRUE(box1->Checked());
    EXPECT_TRUE(log.Take().empty());  // reading the layout fired nothing
    const String written = Written();
    EXPECT_EQ(written.find("Version"), String::npos);
    EXPECT_NE(written.find("Checked = True"), String::npos) << written;
}

TEST_F(OfficeCheckBoxTest, CheckedAndStateWritesNeverFireOnClick) {
    box2->SetChecked(true);
    EXPECT_EQ(box2->State(), cbChecked);
    box2->SetState(cbGrayed);
    EXPECT_FALSE(box2->Checked());
    // False on a grayed box leaves it grayed; True checks it.
    box2->SetChecked(false);
    EXPECT_EQ(box2->State(), cbGrayed);
    box2->SetChecked(true);
    EXPECT_EQ(box2->State(), cbChecked);
    box2->Toggle();
    EXPECT_EQ(box2->State(), cbUnchecked);
    EXPECT_TRUE(log.Take().empty());
}

TEST_F(OfficeCheckBoxTest, AUserClickTogglesAndFiresOnceAReadOnlyClickOnlyFires) {
    ShowForm();
    Click(box2);
    EXPECT_TRUE(box2->Checked());
    EXPECT_TRUE(box2->Focused());
    EXPECT_EQ(log.Take(), Events{"click Box2"});
    Click(box2);
    EXPECT_FALSE(box2->Checked());
    EXPECT_EQ(log.Take(), Events{"click Box2"});
    box2->SetReadOnly(true);
    Click(box2);
    EXPECT_FALSE(box2->Checked());
    EXPECT_EQ(log.Take(), Events{"click Box2"});
}

TEST_F(OfficeCheckBoxTest, ReleasingOutsideNeitherTogglesNorFires) {
    ShowForm();
    Press(box2, 20, 10);
    EXPECT_TRUE(box2->Down());
    Move(box2, 300, 10);
    EXPECT_FALSE(box2->Down());
    Move(box2, 30, 10);
    EXPECT_TRUE(box2->Down());
    Release(box2, 300, 10);
    EXPECT_FALSE(box2->Down());
    EXPECT_FALSE(box2->Checked());
    EXPECT_TRUE(log.Take().empty());
}

TEST_F(OfficeCheckBoxTest, SpaceAndTheAcceleratorToggleAndFireOnce) {
    ShowForm();
    box2->SetFocus();
    Pump();
    Key(box2, VK_SPACE);
    EXPECT_TRUE(box2->Checked());
    EXPECT_FALSE(box2->Down());
    EXPECT_EQ(log.Take(), Events{"click Box2"});
    // Alt+A: "Generate &ASM file" toggles and takes the focus.
    EXPECT_NE(form->Perform(CM_DIALOGCHAR, 'A', 0), 0);
    EXPECT_FALSE(box1->Checked());
    EXPECT_TRUE(box1->Focused());
    EXPECT_EQ(log.Take(), Events{"click Box1"});
}

TEST_F(OfficeCheckBoxTest, EnterMovesOnAsTabWhenReturnIsTab) {
    ShowForm();
    box1->SetReturnIsTab(true);
    box1->SetFocus();
    Pump();
    Key(box1, VK_RETURN);
    EXPECT_TRUE(box2->Focused());
    // Tab itself moves on too, through the class library.
    Key(box2, VK_TAB);
    EXPECT_TRUE(Find<TButton>("Other")->Focused());
}

TEST_F(OfficeCheckBoxTest, AnActionSetsCheckedWithoutOnClick) {
    auto* action = new TAction(form);
    action->SetCaption("Case Sensitive");
    box2->SetAction(action);
    EXPECT_EQ(box2->Caption(), "Case Sensitive");
    action->SetChecked(true);
    EXPECT_TRUE(box2->Checked());
    action->SetChecked(false);
    EXPECT_FALSE(box2->Checked());
    action->SetEnabled(false);
    EXPECT_FALSE(box2->Enabled());
    EXPECT_TRUE(log.Take().empty());
}

TEST_F(OfficeCheckBoxTest, TheGlyphIsTheProgramsBitmapOfItsState) {
    ShowForm();
    // The parent's red shows in the bitmap's transparent corners.
    const struct {
        TCheckBoxState State;
        bool Hot, Down;
        const char* Bitmap;
    } cases[] = {{cbUnchecked, false, false, "QOROFCU"}, {cbChecked, false, false, "QOROFCC"},
                 {cbChecked, true, false, "QOROFCCH"},   {cbUnchecked, true, false, "QOROFCUH"},
                 {cbChecked, false, true, "QOROFCCD"},   {cbUnchecked, false, true, "QOROFCUD"},
                 {cbGrayed, false, false, "QOROFCU"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Bitmap);
        box2->SetState(c.State);
        box2->SetDown(c.Down);
        SetHot(box2, c.Hot);
        ExpectGlyph(box2, c.Bitmap, kRed, GlyphPlace(box2, false));
    }
}

TEST_F(OfficeCheckBoxTest, WithVisualStylesOffTheThemedBoxDrawsTheBitmapToo) {
    ShowForm();
    box2->SetThemed(true);
    {
        TThemeOff off;
        ExpectGlyph(box2, "QOROFCU", kRed, GlyphPlace(box2, false));
    }
    if (!box2->ThemedGlyph())
        GTEST_SKIP() << "visual styles are off here (comctl32 " << CommonControlsMajorVersion() << ")";
    // The visual style's 16 x 16 glyph is not the bitmap.
    TPaintTarget target(190, 20, clBlack);
    target.PaintInParents(box2);
    EXPECT_FALSE(GlyphMatches(target, "QOROFCU", kRed, GlyphPlace(box2, false)));
}

TEST_F(OfficeCheckBoxTest, ADisabledCaptionIsGreyOverAWhiteCopy) {
    ShowForm();
    TPaintTarget target(190, 20, clBlack);
    target.PaintInParents(box2);
    const TRect text = Rect(16, 0, 190, 20);
    const TColor white{0xFFFFFF}, grey{0x808080};
    EXPECT_EQ(target.CountPixels(text, white), 0);
    EXPECT_GT(target.CountPixels(text, TColor(0)), 0);
    box2->SetEnabled(false);
    target.PaintInParents(box2);
    EXPECT_EQ(target.CountPixels(text, TColor(0)), 0);
    EXPECT_GT(target.CountPixels(text, white), 10);
    EXPECT_GT(target.CountPixels(text, grey), 10);
    // The white copy lies one pixel right of and below the grey: the grey's
    // last column and row have white to their lower right.
    int right = -1, bottom = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 16; x < 190; ++x)
            if (target.PixelAt(x, y) == grey) right = std::max(right, x), bottom = std::max(bottom, y);
    ASSERT_GE(right, 0);
    EXPECT_GT(target.CountPixels(Rect(right + 1, 0, right + 2, 20), white), 0);
    EXPECT_GT(target.CountPixels(Rect(16, bottom + 1, 190, bottom + 2), white), 0);
}

TEST_F(OfficeCheckBoxTest, PaintingFreesWhatItMakes) {
    ShowForm();
    box2->SetFocus();
    Pump();
    TPaintTarget target(190, 20, clBlack);
    target.PaintInParents(box2);
    TObjectBalance balance;
    for (int i = 0; i < 1000; ++i) {
        box2->SetState(TCheckBoxState(i % 3));
        target.PaintInParents(box2);
    }
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
}

TEST_F(OfficeCheckBoxTest, AnAnchorIsFollowedOnlyOnceTheBoxHasTheFocus) {
    struct TAnchors : TObject {
        std::vector<std::string> Clicked;
        void Click(TObject*, String anchor) { Clicked.push_back(anchor); }
    } anchors;
    box2->SetCaption("Use <A href=\"layouts\">layouts</A>");
    box2->OnAnchorClick = TAnchorClick::Bind<&TAnchors::Click>(&anchors);
    ShowForm();
    Find<TButton>("Other")->SetFocus();
    Pump();
    // The anchor's text starts after "Use " (16 pixels for the glyph).
    const int x = 16 + MeasureText(box2->Font(), "Use ").cx + 6, y = 4 + 6;
    Press(box2, x, y);
    Release(box2, x, y);
    EXPECT_TRUE(box2->Focused());
    EXPECT_TRUE(anchors.Clicked.empty());
    log.Take();
    Press(box2, x, y);
    Release(box2, x, y);
    EXPECT_EQ(anchors.Clicked, std::vector<std::string>{"layouts"});
    // The release is still the user's click of the box.
    EXPECT_EQ(log.Take(), Events{"click Box2"});
}

TEST_F(OfficeCheckBoxTest, TheCaptionIsHtmlItsTagsAreNotShown) {
    ShowForm();
    TPaintTarget plain(190, 20, clBlack), tagged(190, 20, clBlack);
    box2->SetCaption("Bold");
    plain.PaintInParents(box2);
    box2->SetCaption("<B>Bold</B>");
    tagged.PaintInParents(box2);
    const TRect text = Rect(16, 0, 190, 20);
    // Bold text covers more pixels than plain, and no more columns than
    // the tags would take if they were shown.
    EXPECT_GT(tagged.CountPixels(text, TColor(0)), plain.CountPixels(text, TColor(0)));
    int last = 0;
    for (int x = 16; x < 190; ++x)
        if (tagged.CountPixels(Rect(x, 0, x + 1, 20), TColor(0)) > 0) last = x;
    EXPECT_LT(last, 16 + MeasureText(box2->Font(), "<B>Bold</B>").cx / 2 + 8);
}
