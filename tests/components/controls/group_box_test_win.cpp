// The self-drawn group box: its stored properties, the area it leaves its
// children, and its painting probed pixel by pixel (plain GDI: exact).
#include "components/controls/group_box_win.h"

#include "classlib/ui/imagelist.h"
#include "object_tally.h"
#include "option_controls_test_support_win.h"

using namespace option_controls_test;

namespace {

const char* const kLayout = R"(object Form1: TForm
  BorderStyle = bsNone
  ClientHeight = 200
  ClientWidth = 400
  Color = clRed
  object Group1: TLumGroupBox
    Left = 10
    Top = 10
    Width = 169
    Height = 100
    Caption = 'Project Files'
    BorderColor = clBlue
    object Inner: TPanel
      Align = alClient
      BevelOuter = bvNone
    end
  end
  object Group2: TLumGroupBox
    Left = 200
    Top = 10
    Width = 100
    Height = 60
    BorderColor = clBlue
    Version = '9.9'
  end
end
)";

constexpr TColor kRed{0x0000FF}, kBlue{0xFF0000}, kLime{0x00FF00};

class LumGroupBoxTest : public LayoutFormTest {
protected:
    void SetUp() override {
        LayoutFormTest::SetUp();
        Load(kLayout);
        group = Find<TLumGroupBox>("Group1");
        empty = Find<TLumGroupBox>("Group2");
    }
    int CaptionHeight() { return GroupBoxCaptionHeight(group->CaptionRect(), group->BorderWidth()); }
    TLumGroupBox* group = nullptr;
    TLumGroupBox* empty = nullptr;
};

}  // namespace

TEST_F(LumGroupBoxTest, DefaultsAndAReadOnlyVersionThatIsNeverStored) {
    TLumGroupBox fresh(nullptr);
    EXPECT_EQ(fresh.BorderColor(), TColor(0xC0C0C0));
    EXPECT_EQ(fresh.BorderStyle(), LumGroupBox::bsSingle);
    EXPECT_EQ(fresh.CaptionPosition(), cpTopLeft);
    EXPECT_EQ(fresh.ImageIndex(), -1);
    EXPECT_TRUE(fresh.Transparent());
    EXPECT_FALSE(fresh.RoundEdges());
    EXPECT_FALSE(fresh.Ctl3D());
    EXPECT_FALSE(fresh.ControlStyle().Contains(csOpaque));
    // The layout's "9.9" was read and ignored.
    EXPECT_EQ(empty->Version(), "1.0.0.2");
    const String written = Written();
    EXPECT_EQ(written.find("Version"), String::npos) << written;
    EXPECT_NE(written.find("BorderColor = clBlue"), String::npos);
    EXPECT_EQ(written.find("Ctl3D"), String::npos);
}

TEST_F(LumGroupBoxTest, ChildrenShareTheAreaInsideBorderAndCaption) {
    auto* inner = Find<TPanel>("Inner");
    const int ch = CaptionHeight();
    EXPECT_GT(ch, 10);
    EXPECT_EQ(inner->BoundsRect(), Rect(2, ch + 1, 167, 98));
    // A double 3D border (4) and the caption at the bottom.
    group->SetCtl3D(true);
    group->SetBorderStyle(LumGroupBox::bsDouble);
    group->SetCaptionPosition(cpBottomLeft);
    EXPECT_EQ(inner->BoundsRect(), Rect(5, 5, 164, 100 - CaptionHeight() - 1));
}

TEST_F(LumGroupBoxTest, TheBorderRunsBehindTheCaptionOnlyOutsideItsGap) {
    Find<TPanel>("Inner")->Free();
    ShowForm();
    const TRect c = group->CaptionRect();
    const int line = CaptionHeight() / 2;
    TPaintTarget target(169, 100, clBlack);
    target.Paint(group);
    // The parent's red shows through inside and in the gap; the border's
    // blue runs up to it on both sides.
    EXPECT_EQ(target.PixelAt(80, 60), kRed);
    EXPECT_EQ(target.PixelAt(c.Left - 1, line), kRed);
    EXPECT_EQ(target.PixelAt(c.Right, line), kRed);
    EXPECT_EQ(target.PixelAt(c.Left - 2, line), kBlue);
    EXPECT_EQ(target.PixelAt(c.Right + 1, line), kBlue);
    EXPECT_EQ(target.PixelAt(0, 50), kBlue);
    EXPECT_EQ(target.PixelAt(168, 50), kBlue);
    EXPECT_EQ(target.PixelAt(80, 99), kBlue);
    EXPECT_EQ(target.PixelAt(80, line - 1), kRed);
    // Some of the caption's text is drawn in the gap.
    EXPECT_LT(target.CountPixels(Rect(c.Left, c.Top, c.Right, c.Bottom), kRed), c.Width() * c.Height());
}

// The caption's measure is kept between paints: it follows every change
// of the text and of the font's face, size and style.
TEST_F(LumGroupBoxTest, TheCaptionsPlaceFollowsItsTextAndFont) {
    group->SetWidth(380);  // room for the longer captions
    const TRect first = group->CaptionRect();
    const String name = group->Font()->Name();
    const int height = group->Font()->Height();
    const auto expectWider = [&](const char* what, const TRect& before) {
        const TRect now = group->CaptionRect();
        EXPECT_GT(now.Width(), before.Width()) << what;
        EXPECT_EQ(now, group->CaptionRect()) << what;
        return now;
    };
    group->SetCaption("Project Files and more");
    TRect r = expectWider("longer text", first);
    group->Font()->SetStyle({fsBold});
    r = expectWider("bold", r);
    group->Font()->SetHeight(-16);
    const TRect tall = expectWider("taller", r);
    EXPECT_GT(tall.Height(), first.Height());
    group->Font()->SetName("Courier New");
    EXPECT_NE(group->CaptionRect().Width(), tall.Width());
    group->SetCaption("Project Files");
    group->Font()->SetName(name);
    group->Font()->SetHeight(height);
    group->Font()->SetStyle({});
    EXPECT_EQ(group->CaptionRect(), first);
}

TEST_F(LumGroupBoxTest, AnEmptyCaptionLeavesTheBorderUnbrokenOnePixelDown) {
    ShowForm();
    TPaintTarget target(100, 60, clBlack);
    target.Paint(empty);
    EXPECT_EQ(target.CountPixels(Rect(0, 1, 100, 2), kBlue), 100);
    EXPECT_EQ(target.CountPixels(Rect(0, 0, 100, 1), kRed), 100);
    EXPECT_EQ(target.PixelAt(50, 30), kRed);
}

TEST_F(LumGroupBoxTest, DoubleBordersEtchedOrInTheBorderColour) {
    ShowForm();
    empty->SetBorderStyle(LumGroupBox::bsDouble);
    TPaintTarget target(100, 60, clBlack);
    target.Paint(empty);
    // Plain: two outlines two pixels apart.
    EXPECT_EQ(target.PixelAt(0, 30), kBlue);
    EXPECT_EQ(target.PixelAt(1, 30), kRed);
    EXPECT_EQ(target.PixelAt(2, 30), kBlue);
    EXPECT_EQ(target.PixelAt(97, 30), kBlue);
    EXPECT_EQ(target.PixelAt(99, 30), kBlue);
    // 3D: grey with white right and below it, twice.
    empty->SetCtl3D(true);
    target.Fill(clBlack);
    target.Paint(empty);
    const TColor white{0xFFFFFF}, grey{0x808080};
    const TColor left[] = {grey, white, grey, white};
    const TColor right[] = {white, grey, white, grey};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(target.PixelAt(i, 30), left[i]) << i;
        EXPECT_EQ(target.PixelAt(99 - i, 30), right[i]) << i;
    }
}

TEST_F(LumGroupBoxTest, RoundCornersShowTheParent) {
    ShowForm();
    TPaintTarget target(100, 60, clBlack);
    target.Paint(empty);
    EXPECT_EQ(target.PixelAt(0, 59), kBlue);
    empty->SetRoundEdges(true);
    target.Fill(clBlack);
    target.Paint(empty);
    EXPECT_EQ(target.PixelAt(0, 59), kRed);
    EXPECT_EQ(target.PixelAt(0, 30), kBlue);
}

TEST_F(LumGroupBoxTest, WithoutTransparencyTheOwnBackgroundStays) {
    ShowForm();
    empty->SetTransparent(false);
    empty->SetParentBackground(false);
    empty->SetColor(kLime);
    TPaintTarget target(100, 60, clBlack);
    target.Paint(empty);
    EXPECT_EQ(target.PixelAt(50, 30), kLime);
    EXPECT_EQ(target.PixelAt(0, 30), kBlue);
}

TEST_F(LumGroupBoxTest, TheCaptionPictureComesFromTheImageListUntilItGoes) {
    auto* images = new TImageList(form);
    images->SetWidth(16);
    images->SetHeight(16);
    group->SetImages(images);
    group->SetImageIndex(0);
    const TRect withPicture = group->CaptionRect();
    EXPECT_EQ(withPicture.Height(), std::max(16, MeasureText(group->Font(), "Project Files").cy) + 2);
    delete images;
    EXPECT_EQ(group->Images(), nullptr);
    EXPECT_EQ(group->ImageIndex(), -1);
    EXPECT_EQ(group->CaptionRect().Width(), withPicture.Width() - 16 - 3);
    // Setting none resets the index too.
    auto* other = new TImageList(form);
    group->SetImages(other);
    group->SetImageIndex(2);
    group->SetImages(nullptr);
    EXPECT_EQ(group->ImageIndex(), -1);
}

TEST_F(LumGroupBoxTest, PaintingFreesWhatItMakes) {
    ShowForm();
    TPaintTarget target(169, 100, clBlack);
    target.Paint(group);
    TObjectBalance balance;
    for (int i = 0; i < 1000; ++i) target.Paint(group);
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
}
