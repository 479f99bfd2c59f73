// The pager's button settings: the pictures from the program's resources,
// the "replaced" flags, the writers and Assign.
#include "components/pager/page_button_settings_win.h"

#include <gtest/gtest.h>

#include "classlib/core/streams.h"
#include "pager_test_support_win.h"

namespace {

class PageButtonSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { pager_test::StartUnits(); }
};

struct TChangeCounter : TObject {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
    TNotifyEvent Event() { return TNotifyEvent::Bind<&TChangeCounter::Changed>(this); }
};

TEST_F(PageButtonSettingsTest, PicturesComeFromTheProgramsResources) {
    TPageButtonSettings s;
    struct {
        TGDIPPicture* Picture;
        int Width, Height;
    } expected[] = {
        {s.CloseButtonPicture(), 9, 9},           {s.PageListButtonPicture(), 9, 9},
        {s.ScrollButtonPrevPicture(), 9, 9},      {s.ScrollButtonNextPicture(), 9, 9},
        {s.ScrollButtonFirstPicture(), 16, 9},    {s.ScrollButtonLastPicture(), 16, 9},
        {s.ScrollButtonDownPicture(), 9, 9},      {s.ScrollButtonUpPicture(), 9, 9},
        {s.ScrollButtonDownLastPicture(), 9, 16}, {s.ScrollButtonUpFirstPicture(), 9, 16},
    };
    for (auto& e : expected) {
        ASSERT_FALSE(e.Picture->Empty());
        EXPECT_EQ(e.Picture->Width(), e.Width);
        EXPECT_EQ(e.Picture->Height(), e.Height);
    }
    // Loading set no flag.
    EXPECT_FALSE(s.NextPictureChanged());
    EXPECT_FALSE(s.PrevPictureChanged());
    EXPECT_FALSE(s.FirstPictureChanged());
    EXPECT_FALSE(s.LastPictureChanged());
}

TEST_F(PageButtonSettingsTest, StartsWithItsDefaults) {
    TPageButtonSettings s;
    EXPECT_FALSE(s.CloseButton());
    EXPECT_FALSE(s.PageListButton());
    EXPECT_FALSE(s.ScrollButtonsAlways());
    EXPECT_FALSE(s.FirstButton());
    EXPECT_FALSE(s.LastButton());
    EXPECT_EQ(s.CloseButtonHint(), "Close");
    EXPECT_EQ(s.PageListButtonHint(), "Page List");
    EXPECT_EQ(s.ScrollButtonNextHint(), "Next");
    EXPECT_EQ(s.ScrollButtonPrevHint(), "Previous");
    EXPECT_EQ(s.ScrollButtonFirstHint(), "First");
    EXPECT_EQ(s.ScrollButtonLastHint(), "Last");
}

TEST_F(PageButtonSettingsTest, FlagsNotifyOnlyADifference) {
    TPageButtonSettings s;
    TChangeCounter counter;
    s.OnChange = counter.Event();
    s.SetCloseButton(false);
    s.SetCloseButtonHint("Shut");  // a plain field
    EXPECT_EQ(counter.Count, 0);
    s.SetCloseButton(true);
    s.SetPageListButton(true);
    s.SetScrollButtonsAlways(true);
    s.SetFirstButton(true);
    s.SetLastButton(true);
    EXPECT_EQ(counter.Count, 5);
}

TEST_F(PageButtonSettingsTest, ANewNextPictureSetsItsFlagForGood) {
    TPageButtonSettings s;
    TChangeCounter counter;
    s.OnChange = counter.Event();
    TPageButtonSettings other;
    // The picture's own change notifies once; the writer once more.
    s.SetScrollButtonNextPicture(other.CloseButtonPicture());
    EXPECT_TRUE(s.NextPictureChanged());
    EXPECT_FALSE(s.PrevPictureChanged());
    EXPECT_EQ(counter.Count, 2);
    s.SetScrollButtonNextPicture(other.ScrollButtonNextPicture());
    EXPECT_TRUE(s.NextPictureChanged());
    s.ScrollButtonFirstPicture()->Assign(nullptr);
    EXPECT_TRUE(s.FirstPictureChanged());
    EXPECT_TRUE(s.ScrollButtonFirstPicture()->Empty());
    s.CloseButtonPicture()->Assign(nullptr);
    EXPECT_FALSE(s.LastPictureChanged());
}

TEST_F(PageButtonSettingsTest, AssignCopiesPicturesAndFlagsButNotHints) {
    TPageButtonSettings source, target;
    source.SetCloseButton(true);
    source.SetPageListButton(true);
    source.SetScrollButtonsAlways(true);
    source.SetFirstButton(true);
    source.SetCloseButtonHint("Shut");
    source.ScrollButtonLastPicture()->Assign(nullptr);
    TChangeCounter counter;
    target.OnChange = counter.Event();
    target.Assign(&source);
    EXPECT_TRUE(target.CloseButton());
    EXPECT_TRUE(target.PageListButton());
    EXPECT_TRUE(target.ScrollButtonsAlways());
    EXPECT_FALSE(target.FirstButton());
    EXPECT_EQ(target.CloseButtonHint(), "Close");
    EXPECT_TRUE(target.ScrollButtonLastPicture()->Empty());
    // Copies of the default pictures count as replaced too.
    EXPECT_TRUE(target.NextPictureChanged());
    EXPECT_TRUE(target.PrevPictureChanged());
    EXPECT_TRUE(target.FirstPictureChanged());
    EXPECT_TRUE(target.LastPictureChanged());
    // One notification per copied picture.
    EXPECT_EQ(counter.Count, 6);
    TGDIPPicture picture;
    EXPECT_THROW(target.Assign(&picture), EConvertError);
}

}  // namespace
