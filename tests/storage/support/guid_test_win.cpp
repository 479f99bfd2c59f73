// GUID comparison.
#include "storage/support/guid_win.h"

#include <gtest/gtest.h>

namespace {
TEST(ZevGuid, SameGUID) {
    const GUID a = {0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
    GUID b = a;
    EXPECT_TRUE(SameGUID(a, b));
    b.Data4[7] = 9;
    EXPECT_FALSE(SameGUID(a, b));
}

}  // namespace
