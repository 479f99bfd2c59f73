// The settings a panel owns, from their own headers (without the panel's):
// what Assign copies from another object of the same class and what it
// leaves.
#include "components/controls/auto_size_win.h"
#include "components/controls/panel_caption_win.h"
#include "components/controls/panel_position_win.h"
#include "components/controls/panel_status_bar_win.h"

#include <gtest/gtest.h>

namespace {

TEST(PanelSettings, CaptionAssignCopiesTheLookButNotTheTextStateOrPlace) {
    TPanelCaption source, copy;
    source.SetColor(clRed);
    source.SetHeight(31);
    source.SetIndent(4);
    source.SetCloseButton(true);
    source.SetButtonPosition(cbpLeft);
    source.SetText("not copied");
    source.SetVisible(true);
    source.SetPosition(LumPanel::cpLeft);
    source.SetTopIndent(6);
    source.SetMinMaxCaption(true);
    copy.Assign(&source);
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_EQ(copy.Height(), 31);
    EXPECT_EQ(copy.Indent(), 4);
    EXPECT_TRUE(copy.CloseButton());
    EXPECT_EQ(copy.ButtonPosition(), cbpLeft);
    EXPECT_EQ(copy.Text(), "");
    EXPECT_FALSE(copy.Visible());
    EXPECT_EQ(copy.Position(), LumPanel::cpTop);
    EXPECT_EQ(copy.TopIndent(), TPanelCaption().TopIndent());
    EXPECT_FALSE(copy.MinMaxCaption());
}

TEST(PanelSettings, StatusBarAssignCopiesColoursBorderAndFontOnly) {
    TPanelStatusBar source, copy;
    source.SetColor(clAqua);
    source.SetColorTo(clNavy);
    source.SetGradientDirection(gdVertical);
    source.SetBorderStyle(bsSingle);
    source.SetBorderColor(clLime);
    source.Font()->SetName("Courier New");
    source.SetVisible(true);
    source.SetHeight(30);
    source.SetText("not copied");
    source.SetImageIndex(2);
    source.SetBevelInner(true);
    copy.Assign(&source);
    EXPECT_EQ(copy.Color(), clAqua);
    EXPECT_EQ(copy.ColorTo(), clNavy);
    EXPECT_EQ(copy.GradientDirection(), gdVertical);
    EXPECT_EQ(copy.BorderStyle(), bsSingle);
    EXPECT_EQ(copy.BorderColor(), clLime);
    EXPECT_EQ(copy.Font()->Name(), "Courier New");
    EXPECT_FALSE(copy.Visible());
    EXPECT_EQ(copy.Height(), 18);
    EXPECT_EQ(copy.Text(), "");
    EXPECT_EQ(copy.ImageIndex(), -1);
    EXPECT_FALSE(copy.BevelInner());
}

TEST(PanelSettings, PositionAndAutoSizeAssignCopyEverything) {
    TPanelPosition where, whereCopy;
    where.SetSave(true);
    where.SetKey("Software\\Test");
    where.SetSection("Panel");
    where.SetLocation(clInifile);
    whereCopy.Assign(&where);
    EXPECT_TRUE(whereCopy.Save());
    EXPECT_EQ(whereCopy.Key(), "Software\\Test");
    EXPECT_EQ(whereCopy.Section(), "Panel");
    EXPECT_EQ(whereCopy.Location(), clInifile);

    TAutoSize size, sizeCopy;  // of no panel: nothing to size
    size.SetHeight(false);
    size.SetWidth(false);
    size.SetEnabled(true);
    sizeCopy.Assign(&size);
    EXPECT_FALSE(sizeCopy.Height());
    EXPECT_FALSE(sizeCopy.Width());
    EXPECT_TRUE(sizeCopy.Enabled());
}

}  // namespace
