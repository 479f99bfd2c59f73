// The tab colours: which writers notify, the font event, the background,
// and what Assign copies and announces.
#include "components/pager/tab_appearance_win.h"

#include <gtest/gtest.h>

namespace {

struct TEventLog : TObject {
    int Changes = 0;
    int FontChanges = 0;
    void Changed(TObject*) { ++Changes; }
    void FontChanged(TObject*) { ++FontChanges; }
    void Listen(TCustomTabAppearance& a) {
        a.OnChange = TNotifyEvent::Bind<&TEventLog::Changed>(this);
        a.OnFontChange = TNotifyEvent::Bind<&TEventLog::FontChanged>(this);
    }
};

TEST(TabAppearanceTest, StartsWithItsInitialValues) {
    TTabAppearance a;
    EXPECT_EQ(a.BorderColor(), clBtnFace);
    EXPECT_EQ(a.BorderColorHot(), TColor(0xFF0000));
    EXPECT_EQ(a.BorderColorSelectedHot(), clNone);
    EXPECT_EQ(a.ColorHot(), TColor(0x00FFFF));
    EXPECT_EQ(a.ColorSelectedTo(), clBtnFace);
    EXPECT_EQ(a.TextColorDisabled(), clWhite);
    EXPECT_EQ(a.ShadowColor(), TColor(0xE8C7AE));
    EXPECT_EQ(a.HighLightColorDown(), TColor(0xFFFBD0));
    EXPECT_EQ(a.GradientMirrorDisabled(), ggVertical);
    EXPECT_EQ(a.Font()->Name(), "Tahoma");
    EXPECT_EQ(a.Font()->Size(), 8);
    EXPECT_TRUE(a.Font()->Style().Empty());
    EXPECT_EQ(a.BackGround()->Color(), clWhite);
}

TEST(TabAppearanceTest, NotifyingWritersAnnounceOnlyADifference) {
    TTabAppearance a;
    TEventLog log;
    log.Listen(a);
    a.SetColor(clBtnFace);
    a.SetGradientHot(ggVertical);
    EXPECT_EQ(log.Changes, 0);
    a.SetColor(clRed);
    a.SetTextColor(clBlack);
    a.SetGradientHot(ggRadial);
    a.SetBorderColorDown(clRed);
    EXPECT_EQ(log.Changes, 4);
}

TEST(TabAppearanceTest, HotBorderShadowAndHighlightsStoreQuietly) {
    TTabAppearance a;
    TEventLog log;
    log.Listen(a);
    a.SetBorderColorHot(clRed);
    a.SetShadowColor(clRed);
    a.SetHighLightColor(clRed);
    a.SetHighLightColorHot(clRed);
    a.SetHighLightColorSelected(clRed);
    a.SetHighLightColorSelectedHot(clRed);
    a.SetHighLightColorDown(clRed);
    EXPECT_EQ(log.Changes, 0);
    EXPECT_EQ(a.HighLightColorSelectedHot(), clRed);
    EXPECT_EQ(a.BorderColorHot(), clRed);
}

TEST(TabAppearanceTest, TheFontAndTheBackgroundHaveTheirOwnRoutes) {
    TTabAppearance a;
    TEventLog log;
    log.Listen(a);
    a.Font()->SetSize(10);
    EXPECT_EQ(log.FontChanges, 1);
    EXPECT_EQ(log.Changes, 0);
    a.BackGround()->SetColor(clWhite);  // the background notifies every write
    EXPECT_EQ(log.Changes, 1);
    TGradientBackground other;
    other.SetColor(clRed);
    a.SetBackGround(&other);  // copied quietly
    EXPECT_EQ(a.BackGround()->Color(), clRed);
    EXPECT_EQ(log.Changes, 1);
}

TEST(TabAppearanceTest, AssignAnnouncesOnlyTheTwoTextColours) {
    TTabAppearance source, target;
    source.SetColorHot(clRed);
    source.SetBorderColorHot(clLime);
    source.SetGradientSelected(ggRadial);
    source.SetTextColorSelected(clNavy);
    source.SetHighLightColor(clTeal);
    source.Font()->SetName("Arial");
    source.BackGround()->SetColorTo(clNone);
    TEventLog log;
    log.Listen(target);
    target.Assign(&source);
    EXPECT_EQ(log.Changes, 0);
    EXPECT_EQ(log.FontChanges, 1);
    EXPECT_EQ(target.ColorHot(), clRed);
    EXPECT_EQ(target.BorderColorHot(), clLime);
    EXPECT_EQ(target.GradientSelected(), ggRadial);
    EXPECT_EQ(target.TextColorSelected(), clNavy);
    EXPECT_EQ(target.HighLightColor(), clTeal);
    EXPECT_EQ(target.Font()->Name(), "Arial");
    EXPECT_EQ(target.BackGround()->ColorTo(), clNone);

    source.SetTextColor(clRed);
    source.SetTextColorHot(clRed);
    target.Assign(&source);
    EXPECT_EQ(log.Changes, 2);
    EXPECT_EQ(target.TextColorHot(), clRed);

    TVistaBackground other;
    EXPECT_THROW(target.Assign(&other), EConvertError);
}

TEST(TabAppearanceTest, OnlyTheTabAppearancePublishesItsBackground) {
    auto published = [](TClass cls, const char* name) {
        for (const TPropInfo& p : cls->Props)
            if (p.Name == name) return p.Published;
        return false;
    };
    EXPECT_FALSE(published(TCustomTabAppearance::StaticClass(), "BackGround"));
    EXPECT_TRUE(published(TTabAppearance::StaticClass(), "BackGround"));
    int count = 0;
    for (const TPropInfo& p : TCustomTabAppearance::StaticClass()->Props) count += p.Published;
    EXPECT_EQ(count, 41);
}

}  // namespace
