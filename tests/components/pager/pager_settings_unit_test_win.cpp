// The pager's settings unit: the registered message and the classes of the stored
// layout.
#include "components/pager/pager_settings_unit_win.h"

#include <gtest/gtest.h>

#include "classlib/core/typinfo.h"

namespace {

TEST(PagerSettingsUnitTest, RegistersTheCloseButtonMessageOnce) {
    PagerSettingsInitialize();
    const UINT message = DestroyCloseButtonMessage();
    EXPECT_EQ(message, RegisterWindowMessageA("OPDESTROYCLOSEBTN"));
    EXPECT_GE(message, 0xC000u);
    PagerSettingsInitialize();
    EXPECT_EQ(DestroyCloseButtonMessage(), message);
    EXPECT_NE(GetClass("TTabAppearance"), nullptr);
    EXPECT_NE(GetClass("TPageButtonSettings"), nullptr);
    EXPECT_NE(GetClass("TPagerTabSettings"), nullptr);
    PagerSettingsFinalize();
    PagerSettingsFinalize();
    PagerSettingsFinalize();  // one more than started: nothing
    EXPECT_EQ(DestroyCloseButtonMessage(), message);
}

}  // namespace
