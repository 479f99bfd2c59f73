#include <gtest/gtest.h>
#include "png_test_support.h"
TEST(PngSmoke, Empty) { TPNGObjectCore p; EXPECT_TRUE(p.Empty()); }
