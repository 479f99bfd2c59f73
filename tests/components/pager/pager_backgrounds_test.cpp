// The tab row's gradient background and the page's Vista background.
#include "components/pager/pager_backgrounds.h"

#include <gtest/gtest.h>

namespace {

struct TChangeCounter : TObject {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
    TNotifyEvent Event() { return TNotifyEvent::Bind<&TChangeCounter::Changed>(this); }
};

TEST(GradientBackgroundTest, StartsWhiteToButtonFace) {
    TGradientBackground b;
    EXPECT_EQ(b.Color(), clWhite);
    EXPECT_EQ(b.ColorTo(), clBtnFace);
    EXPECT_EQ(b.Direction(), gdHorizontal);
    EXPECT_EQ(b.Steps(), 64);
}

TEST(GradientBackgroundTest, EveryWriteNotifiesEvenAnEqualValue) {
    TGradientBackground b;
    TChangeCounter counter;
    b.OnChange = counter.Event();
    b.SetColor(clWhite);
    b.SetColorTo(clBtnFace);
    b.SetDirection(gdHorizontal);
    b.SetSteps(64);
    EXPECT_EQ(counter.Count, 4);
}

TEST(GradientBackgroundTest, AssignCopiesQuietlyAndIgnoresOtherClasses) {
    TGradientBackground source, target;
    source.SetColor(TColor(0x123456));
    source.SetColorTo(clNone);
    source.SetDirection(gdVertical);
    source.SetSteps(7);
    TChangeCounter counter;
    target.OnChange = counter.Event();
    target.Assign(&source);
    EXPECT_EQ(target.Color(), TColor(0x123456));
    EXPECT_EQ(target.ColorTo(), clNone);
    EXPECT_EQ(target.Direction(), gdVertical);
    EXPECT_EQ(target.Steps(), 7);
    EXPECT_EQ(counter.Count, 0);
    TVistaBackground other;
    EXPECT_NO_THROW(target.Assign(&other));
    EXPECT_EQ(target.Color(), TColor(0x123456));
}

TEST(VistaBackgroundTest, StartsWithItsInitialColours) {
    TVistaBackground b;
    EXPECT_EQ(b.BorderColor(), TColor(0x808080));
    EXPECT_EQ(b.Color(), clWhite);
    EXPECT_EQ(b.ColorTo(), clWhite);
    EXPECT_EQ(b.ColorMirror(), TColor(0xC0C0C0));
    EXPECT_EQ(b.ColorMirrorTo(), clWhite);
    EXPECT_EQ(b.Gradient(), ggVertical);
    EXPECT_EQ(b.GradientMirror(), ggVertical);
    EXPECT_EQ(b.Steps(), 64);
}

TEST(VistaBackgroundTest, WritersNotifyOnlyADifferentValue) {
    TVistaBackground b;
    TChangeCounter counter;
    b.OnChange = counter.Event();
    b.SetColor(clWhite);
    b.SetGradient(ggVertical);
    b.SetSteps(64);
    EXPECT_EQ(counter.Count, 0);
    b.SetColor(clRed);
    b.SetBorderColor(clNone);
    b.SetGradientMirror(ggRadial);
    EXPECT_EQ(counter.Count, 3);
}

TEST(VistaBackgroundTest, AssignNotifiesOnlyForADifferentGradientKind) {
    TVistaBackground source, target;
    source.SetBorderColor(clNone);
    source.SetColor(TColor(1));
    source.SetColorTo(TColor(2));
    source.SetColorMirror(TColor(3));
    source.SetColorMirrorTo(TColor(4));
    source.SetSteps(9);
    TChangeCounter counter;
    target.OnChange = counter.Event();
    target.Assign(&source);
    EXPECT_EQ(counter.Count, 0);
    EXPECT_EQ(target.BorderColor(), clNone);
    EXPECT_EQ(target.Color(), TColor(1));
    EXPECT_EQ(target.ColorTo(), TColor(2));
    EXPECT_EQ(target.ColorMirror(), TColor(3));
    EXPECT_EQ(target.ColorMirrorTo(), TColor(4));
    EXPECT_EQ(target.Steps(), 9);
    source.SetGradient(ggRadial);
    source.SetGradientMirror(ggDiagonalForward);
    target.Assign(&source);
    EXPECT_EQ(counter.Count, 2);
    EXPECT_EQ(target.GradientMirror(), ggDiagonalForward);
    TGradientBackground other;
    EXPECT_THROW(target.Assign(&other), EConvertError);
}

}  // namespace
