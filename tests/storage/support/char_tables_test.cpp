// The character tables of the 256 8-bit codes.
#include "storage/support/char_tables.h"

#include <gtest/gtest.h>

namespace {
TEST(ZevCharTables, AsciiTables) {
    TZevCharTables t = ZevAsciiCharTables();
    EXPECT_EQ(t.UpperMap[Byte('a')], 'A');
    EXPECT_EQ(t.UpperMap[Byte('A')], 'A');
    EXPECT_EQ(t.UpperMap[Byte('_')], '_');
    EXPECT_EQ(t.LowerMap[Byte('Z')], 'z');
    EXPECT_EQ(t.SwapMap[Byte('a')], 'A');
    EXPECT_EQ(t.SwapMap[Byte('Q')], 'q');
    EXPECT_EQ(t.SwapMap[Byte('5')], '5');
    EXPECT_EQ(t.SwapMap[0xE9], char(0xE9));
    EXPECT_EQ(t.CharTypes[Byte('A')], ctUpper | ctAlpha | ctXDigit);
    EXPECT_EQ(t.CharTypes[Byte('g')], ctLower | ctAlpha);
    EXPECT_EQ(t.CharTypes[Byte('7')], ctDigit | ctXDigit);
    EXPECT_EQ(t.CharTypes[Byte(' ')], ctSpace | ctBlank);
    EXPECT_EQ(t.CharTypes[Byte('\n')], ctSpace | ctCntrl);
    EXPECT_EQ(t.CharTypes[Byte('%')], ctPunct);
}

TEST(ZevCharTables, SwapMapFollowsTheTypes) {
    TZevCharTables t = ZevAsciiCharTables();
    t.CharTypes[0xE9] = ctLower | ctAlpha;
    t.UpperMap[0xE9] = char(0xC9);
    t.CharTypes[0xC9] = ctUpper | ctAlpha;
    t.LowerMap[0xC9] = char(0xE9);
    ZevFillSwapMap(t);
    EXPECT_EQ(t.SwapMap[0xE9], char(0xC9));
    EXPECT_EQ(t.SwapMap[0xC9], char(0xE9));
}

TEST(ZevCharTables, InstalledTablesAreTheOnesInUse) {
    TZevCharTables t = ZevAsciiCharTables();
    t.UpperMap[0xE9] = char(0xC9);
    ZevInstallCharTables(t);
    EXPECT_EQ(ZevCharUpper(char(0xE9)), char(0xC9));
    ZevInstallCharTables(ZevAsciiCharTables());
    EXPECT_EQ(ZevCharUpper(char(0xE9)), char(0xE9));
    EXPECT_EQ(ZevCharLower('M'), 'm');
}

}  // namespace
