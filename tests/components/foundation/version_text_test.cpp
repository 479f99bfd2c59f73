#include "components/foundation/version_text.h"

#include <gtest/gtest.h>

TEST(VersionText, OneBytePerPartMajorFirst) {
    EXPECT_EQ(PackedVersionText(0x01000000), "1.0.0.0");
    EXPECT_EQ(PackedVersionText(0x0102030A), "1.2.3.10");
    EXPECT_EQ(PackedVersionText(0xFFFFFFFF), "255.255.255.255");
}
