// The office check box and radio button laid out right to left: with
// BiDiMode bdRightToLeft the glyph sits at the right and the caption beside
// it, measured from the right; the other modes keep the left-to-right
// places. Painted into a 32-bit picture and probed; the anchor under the
// mouse (also of a radio button's caption moved down by its vertical
// alignment), the radio button's focus rectangle and the glyph's repaint
// follow the drawn places.
#include "components/controls/office_check_box_win.h"
#include "components/controls/office_radio_button_win.h"
#include "office_buttons_test_support_win.h"

using namespace option_controls_test;

namespace {

const char* const kLayout = R"(object Form1: TForm
  BorderStyle = bsNone
  ClientHeight = 200
  ClientWidth = 400
  Color = clRed
  object Box: TLumOfficeCheckBox
    Left = 10
    Top = 10
    Width = 190
    Height = 20
    Caption = 'Use layouts'
  end
  object Radio: TLumOfficeRadioButton
    Left = 10
    Top = 40
    Width = 190
    Height = 20
    Caption = 'Use layouts'
  end
  object Other: TButton
    Left = 300
    Top = 160
  end
end
)";

constexpr TColor kRed{0x0000FF}, kInk{0};
constexpr int kWidth = 190, kHeight = 20, kGlyph = 13;

std::string ModeName(TBiDiMode mode) {
    static const char* const names[] = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                        "bdRightToLeftReadingOnly"};
    return names[mode];
}

// The columns the caption's ink covers, the glyph's columns left out.
struct TInk {
    int First = -1, Last = -1;
};

TInk CaptionInk(const TPaintTarget& target, int glyphLeft) {
    TInk ink;
    for (int x = 0; x < kWidth; ++x) {
        if (x >= glyphLeft && x < glyphLeft + kGlyph) continue;
        if (target.CountPixels(Rect(x, 0, x + 1, kHeight), kInk) == 0) continue;
        if (ink.First < 0) ink.First = x;
        ink.Last = x;
    }
    return ink;
}

class OfficeButtonsMirrorTest : public LayoutFormTest {
protected:
    void SetUp() override {
        LayoutFormTest::SetUp();
        Load(kLayout);
        box = Find<TLumOfficeCheckBox>("Box");
        radio = Find<TLumOfficeRadioButton>("Radio");
        ShowForm();
        Find<TButton>("Other")->SetFocus();
        Pump();
    }
    TLumOfficeButtonControl* Control(bool isRadio) {
        return isRadio ? static_cast<TLumOfficeButtonControl*>(radio) : box;
    }
    TLumOfficeCheckBox* box = nullptr;
    TLumOfficeRadioButton* radio = nullptr;
};

}  // namespace

TEST_F(OfficeButtonsMirrorTest, RightToLeftPutsTheGlyphAtTheRightAndTheCaptionAgainstIt) {
    const int textHeight = MeasureText(box->Font(), "gh").cy;
    for (bool isRadio : {false, true}) {
        TLumOfficeButtonControl* c = Control(isRadio);
        const int indent = isRadio ? 18 : 16;
        // The caption as left-to-right, left-aligned paints it.
        c->SetBiDiMode(bdLeftToRight);
        c->SetAlignment(taLeftJustify);
        TPaintTarget plain(kWidth, kHeight, clBlack);
        plain.PaintInParents(c);
        const TInk plainInk = CaptionInk(plain, 0);
        ASSERT_GE(plainInk.First, indent);
        ASSERT_LE(plainInk.First, indent + 2);

        for (TBiDiMode mode : {bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly})
            for (TAlignment alignment : {taLeftJustify, taRightJustify}) {
                SCOPED_TRACE(std::string(isRadio ? "radio " : "check box ") + ModeName(mode) +
                             (alignment == taLeftJustify ? " left" : " right"));
                c->SetBiDiMode(mode);
                c->SetAlignment(alignment);
                const bool mirrored = mode == bdRightToLeft;
                const bool glyphRight = mirrored || alignment == taRightJustify;
                const TPoint glyph = OfficeGlyphPlace(isRadio, false, glyphRight, TGlyphLayout::Top,
                                                      TSize{kWidth, kHeight}, textHeight, TSize{kGlyph, kGlyph});
                EXPECT_EQ(glyph.X, glyphRight ? kWidth - kGlyph - 1 : 0);
                TPaintTarget target(kWidth, kHeight, clBlack);
                target.PaintInParents(c);
                std::string why;
                EXPECT_TRUE(GlyphMatches(target, isRadio ? "QOROFRU" : "QOROFCU", kRed, glyph, &why)) << why;

                const TInk ink = CaptionInk(target, glyph.X);
                ASSERT_GE(ink.First, 0);
                // The same caption, only moved.
                EXPECT_EQ(ink.Last - ink.First, plainInk.Last - plainInk.First);
                const int shift = ink.First - plainInk.First;
                int differing = 0;
                for (int x = plainInk.First; x <= plainInk.Last; ++x)
                    for (int y = 0; y < kHeight; ++y)
                        differing += (plain.PixelAt(x, y) == kInk) != (target.PixelAt(x + shift, y) == kInk);
                EXPECT_EQ(differing, 0);
                if (mirrored) {
                    // It ends short of the text's right edge (the glyph's
                    // strip) by 3 pixels and the 2 the measure adds, less
                    // what the font draws narrower than it measures.
                    const int right = kWidth - indent;
                    EXPECT_LE(ink.Last, right - 3 - 2);
                    EXPECT_GE(ink.Last, right - 3 - 2 - 4);
                } else if (alignment == taRightJustify) {
                    EXPECT_EQ(shift, -indent);
                } else {
                    EXPECT_EQ(shift, 0);
                }
            }
    }
}

TEST_F(OfficeButtonsMirrorTest, TheAnchorIsWhereTheCaptionDrawsIt) {
    struct TAnchors : TObject {
        std::vector<std::string> Clicked;
        void Click(TObject*, String anchor) { Clicked.push_back(anchor); }
    } anchors;
    const String caption = "Use <A href=\"layouts\">layouts</A>";
    for (bool isRadio : {false, true})
        for (TBiDiMode mode : {bdLeftToRight, bdRightToLeft})
            for (TTextLayout layout : {tlTop, tlBottom}) {
                SCOPED_TRACE(std::string(isRadio ? "radio " : "check box ") + ModeName(mode) +
                             (layout == tlTop ? " top" : " bottom"));
                TLumOfficeButtonControl* c = Control(isRadio);
                const int indent = isRadio ? 18 : 16, height = 40;
                c->SetHeight(height);
                c->SetCaption(caption);
                c->OnAnchorClick = TAnchorClick::Bind<&TAnchors::Click>(&anchors);
                c->SetBiDiMode(mode);
                c->SetButtonVertAlign(layout);
                c->SetFocus();
                Pump();
                anchors.Clicked.clear();
                // The radio button's caption moves down with its glyph.
                TBitmap measuring;
                measuring.SetSize(kWidth, height);
                measuring.Canvas()->SetFont(c->Font());
                const int captionHeight =
                    DrawOfficeCaption(measuring.Canvas(), caption, Rect(indent, 4, kWidth, height), {}, true).cy;
                const bool lowered = isRadio && layout == tlBottom;
                const int y = (lowered ? height - captionHeight - 3 : 4) + 6, otherY = (lowered ? 4 : 24) + 6;
                // Left to right the anchor follows "Use "; right to left it
                // ends the caption, against the glyph.
                const int leftToRight = indent + MeasureText(c->Font(), "Use ").cx + 6;
                const int rightToLeft = kWidth - indent - 3 - 2 - MeasureText(c->Font(), "layouts").cx / 2;
                const int x = mode == bdRightToLeft ? rightToLeft : leftToRight;
                const int otherX = mode == bdRightToLeft ? leftToRight : rightToLeft;
                for (TPoint miss : {TPoint{otherX, y}, TPoint{x, otherY}}) {
                    Press(c, miss.X, miss.Y);
                    Release(c, miss.X, miss.Y);
                }
                EXPECT_TRUE(anchors.Clicked.empty());
                Press(c, x, y);
                Release(c, x, y);
                EXPECT_EQ(anchors.Clicked, std::vector<std::string>{"layouts"});
                c->SetHeight(kHeight);
                c->SetButtonVertAlign(tlTop);
            }
}

TEST_F(OfficeButtonsMirrorTest, TheFocusedRadioButtonsRectangleRunsFromItsGlyphSide) {
    radio->SetChecked(true);
    for (TBiDiMode mode : {bdLeftToRight, bdRightToLeft}) {
        SCOPED_TRACE(ModeName(mode));
        radio->SetBiDiMode(mode);
        const bool mirrored = mode == bdRightToLeft;
        const int glyphLeft = mirrored ? kWidth - kGlyph - 1 : 0;
        Find<TButton>("Other")->SetFocus();
        Pump();
        TPaintTarget unfocused(kWidth, kHeight, clBlack), focused(kWidth, kHeight, clBlack);
        unfocused.PaintInParents(radio);
        const TInk ink = CaptionInk(unfocused, glyphLeft);
        ASSERT_GE(ink.First, 0);
        radio->SetFocus();
        Pump();
        focused.PaintInParents(radio);
        // The edge at the glyph's side: dotted below the glyph.
        const int glyphSide = mirrored ? kWidth - 1 : 0, farSide = kWidth - 1 - glyphSide;
        EXPECT_EQ(unfocused.CountPixels(Rect(glyphSide, 17, glyphSide + 1, kHeight), kInk), 0);
        EXPECT_GT(focused.CountPixels(Rect(glyphSide, 17, glyphSide + 1, kHeight), kInk), 0);
        EXPECT_EQ(focused.CountPixels(Rect(farSide, 0, farSide + 1, kHeight), kInk), 0);
        // The other upright edge: a dotted column where the caption has no
        // ink, just past the caption's far end.
        std::vector<int> edges;
        for (int x = 0; x < kWidth; ++x) {
            if (x == glyphSide || (x >= glyphLeft && x < glyphLeft + kGlyph)) continue;
            const TRect column = Rect(x, 5, x + 1, 18);
            if (focused.CountPixels(column, kInk) > 4 && unfocused.CountPixels(column, kInk) == 0) edges.push_back(x);
        }
        ASSERT_EQ(edges.size(), 1u);
        // Two pixels past the measured caption's far end: its right end
        // left to right, its left end right to left.
        TBitmap measuring;
        measuring.SetSize(kWidth, kHeight);
        measuring.Canvas()->SetFont(radio->Font());
        const int w =
            DrawOfficeCaption(measuring.Canvas(), radio->Caption(), Rect(18, 4, kWidth, kHeight), {}, true).cx;
        EXPECT_EQ(edges[0], mirrored ? kWidth - 18 - w - 3 - 2 : 18 + w + 1);
        EXPECT_TRUE(mirrored ? edges[0] < ink.First : edges[0] > ink.Last);
    }
}

TEST_F(OfficeButtonsMirrorTest, ACheckChangeRepaintsTheGlyphWhereItIs) {
    for (bool isRadio : {false, true})
        for (TBiDiMode mode : {bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly})
            for (TAlignment alignment : {taLeftJustify, taRightJustify}) {
                SCOPED_TRACE(std::string(isRadio ? "radio " : "check box ") + ModeName(mode) +
                             (alignment == taLeftJustify ? " left" : " right"));
                TLumOfficeButtonControl* c = Control(isRadio);
                c->SetBiDiMode(mode);
                c->SetAlignment(alignment);
                radio->SetChecked(false);
                box->SetState(cbUnchecked);
                Pump();
                ValidateRect(c->Handle(), nullptr);
                if (isRadio)
                    radio->SetChecked(true);
                else
                    box->SetState(cbChecked);
                RECT r{};
                ASSERT_TRUE(GetUpdateRect(c->Handle(), &r, FALSE));
                const int strip = isRadio ? 16 : 20;
                const bool glyphRight = mode == bdRightToLeft || alignment == taRightJustify;
                EXPECT_EQ(r.left, glyphRight ? kWidth - strip : 0);
                EXPECT_EQ(r.right, glyphRight ? kWidth : strip);
            }
}
