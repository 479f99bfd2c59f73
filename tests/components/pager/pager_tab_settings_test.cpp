// The tab geometry settings and the tab row's scroll state.
#include "components/pager/pager_tab_settings.h"

#include <gtest/gtest.h>

#include "classlib/core/filer.h"

namespace {

struct TChangeCounter : TObject {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
    TNotifyEvent Event() { return TNotifyEvent::Bind<&TChangeCounter::Changed>(this); }
};

TEST(PagerTabSettingsTest, StartsWithItsDefaults) {
    TPagerTabSettings s;
    EXPECT_EQ(s.Alignment(), taLeftJustify);
    EXPECT_EQ(s.LeftMargin(), 4);
    EXPECT_EQ(s.RightMargin(), 4);
    EXPECT_EQ(s.StartMargin(), 4);
    EXPECT_EQ(s.EndMargin(), 0);
    EXPECT_EQ(s.Height(), 26);
    EXPECT_EQ(s.Spacing(), 4);
    EXPECT_EQ(s.Width(), 0);
    EXPECT_FALSE(s.WordWrap());
    EXPECT_EQ(s.ImagePosition(), ipLeft);
    EXPECT_EQ(s.Shape(), tsRectangle);
    EXPECT_EQ(s.Rounding(), 1);
}

TEST(PagerTabSettingsTest, WritersNotifyOnlyADifferentValue) {
    TPagerTabSettings s;
    TChangeCounter counter;
    s.OnChange = counter.Event();
    s.SetHeight(26);
    s.SetAlignment(taLeftJustify);
    s.SetShape(tsRectangle);
    EXPECT_EQ(counter.Count, 0);
    s.SetHeight(30);
    s.SetEndMargin(2);
    s.SetShape(tsLeftRamp);
    s.SetWordWrap(true);
    EXPECT_EQ(counter.Count, 4);
    s.SetHeight(30);
    EXPECT_EQ(counter.Count, 4);
}

TEST(PagerTabSettingsTest, RoundingIsHeldToItsRange) {
    TPagerTabSettings s;
    s.SetRounding(8);
    EXPECT_EQ(s.Rounding(), 8);
    s.SetRounding(200);
    EXPECT_EQ(s.Rounding(), 8);
    s.SetRounding(0);
    EXPECT_EQ(s.Rounding(), 0);
}

TEST(PagerTabSettingsTest, AssignCopiesEverythingButSpacing) {
    TPagerTabSettings source, target;
    source.SetAlignment(taCenter);
    source.SetLeftMargin(1);
    source.SetRightMargin(2);
    source.SetStartMargin(3);
    source.SetEndMargin(5);
    source.SetHeight(40);
    source.SetSpacing(9);
    source.SetWidth(70);
    source.SetWordWrap(true);
    source.SetImagePosition(ipBottom);
    source.SetShape(tsLeftRightRamp);
    source.SetRounding(6);
    target.SetSpacing(2);
    TChangeCounter counter;
    target.OnChange = counter.Event();
    target.Assign(&source);
    EXPECT_EQ(target.Alignment(), taCenter);
    EXPECT_EQ(target.LeftMargin(), 1);
    EXPECT_EQ(target.RightMargin(), 2);
    EXPECT_EQ(target.StartMargin(), 3);
    EXPECT_EQ(target.EndMargin(), 5);
    EXPECT_EQ(target.Height(), 40);
    EXPECT_EQ(target.Width(), 70);
    EXPECT_TRUE(target.WordWrap());
    EXPECT_EQ(target.ImagePosition(), ipBottom);
    EXPECT_EQ(target.Shape(), tsLeftRightRamp);
    EXPECT_EQ(target.Rounding(), 6);
    EXPECT_EQ(target.Spacing(), 2);
    // Through the writers: one notification per value that differed.
    EXPECT_EQ(counter.Count, 11);
}

TEST(PagerTabSettingsTest, AssignFromAnotherClassIsAConversionError) {
    TPagerTabSettings s;
    TPagerTabScroller scroller;
    EXPECT_THROW(s.Assign(&scroller), EConvertError);
}

TEST(PagerTabSettingsTest, PublishesItsValuesWithTheirDefaults) {
    TClass cls = TPagerTabSettings::StaticClass();
    const char* names[] = {"Alignment", "LeftMargin", "RightMargin",   "StartMargin", "Height",  "Spacing",
                           "Width",     "WordWrap",   "ImagePosition", "Shape",       "Rounding"};
    ASSERT_EQ(cls->Props.size(), std::size(names));
    for (size_t i = 0; i < std::size(names); ++i) EXPECT_EQ(cls->Props[i].Name, names[i]);
    EXPECT_EQ(GetEnumName(TypeInfoOf(static_cast<TLumTabShape*>(nullptr)), tsLeftRightRamp), "tsLeftRightRamp");
    EXPECT_EQ(GetEnumName(TypeInfoOf(static_cast<TImagePosition*>(nullptr)), ipTop), "ipTop");
}

TEST(PagerTabScrollerTest, MaxAndMinKeepTheirOrder) {
    TPagerTabScroller s;
    s.SetMax(3);
    EXPECT_EQ(s.Max(), 3);
    EXPECT_FALSE(s.CanGoBack());
    EXPECT_TRUE(s.CanGoForward());
    s.SetMin(1);
    s.SetMax(0);  // below Min: ignored
    EXPECT_EQ(s.Max(), 3);
    s.SetMin(4);  // above Max: ignored
    EXPECT_EQ(s.Min(), 1);
    s.SetPosition(3);
    EXPECT_TRUE(s.CanGoBack());
    EXPECT_FALSE(s.CanGoForward());
    s.SetPosition(-7);  // stored without a test
    EXPECT_EQ(s.Position(), -7);
    EXPECT_FALSE(s.Visible());
    s.SetVisible(true);
    EXPECT_TRUE(s.Visible());
}

}  // namespace
