// The pager's unit: the registered message and the classes of the stored
// layout.
#include "components/pager/pager_unit_win.h"

#include <gtest/gtest.h>

#include "classlib/core/typinfo.h"

namespace {

TEST(PagerUnitTest, RegistersTheCloseButtonMessageOnce) {
    PagerInitialize();
    const UINT message = DestroyCloseButtonMessage();
    EXPECT_EQ(message, RegisterWindowMessageA("OPDESTROYCLOSEBTN"));
    EXPECT_GE(message, 0xC000u);
    PagerInitialize();
    EXPECT_EQ(DestroyCloseButtonMessage(), message);
    EXPECT_NE(GetClass("TTabAppearance"), nullptr);
    EXPECT_NE(GetClass("TPageButtonSettings"), nullptr);
    EXPECT_NE(GetClass("TPagerTabSettings"), nullptr);
    PagerFinalize();
    PagerFinalize();
    PagerFinalize();  // one more than started: nothing
    EXPECT_EQ(DestroyCloseButtonMessage(), message);
}

}  // namespace
