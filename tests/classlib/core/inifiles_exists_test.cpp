#include <gtest/gtest.h>

#include "classlib/core/inifiles.h"

namespace {

TEST(MemIniFileExists, SectionsAndValuesIgnoreCase) {
    TMemIniFile ini("");
    TStringList lines;
    lines.SetText("[Main]\r\nShowCmd=1\r\nbare line\r\n[Empty]\r\n[Keyless]\r\njust text\r\n");
    ini.SetStrings(&lines);
    EXPECT_TRUE(ini.SectionExists("main"));
    EXPECT_FALSE(ini.SectionExists("Empty"));    // no keys
    EXPECT_FALSE(ini.SectionExists("Keyless"));  // a line without "=" is no key
    EXPECT_FALSE(ini.SectionExists("None"));
    EXPECT_TRUE(ini.ValueExists("MAIN", "showcmd"));
    EXPECT_FALSE(ini.ValueExists("Main", "bare line"));
    EXPECT_FALSE(ini.ValueExists("Keyless", "just text"));
    EXPECT_FALSE(ini.ValueExists("Main", "Show"));
    EXPECT_FALSE(ini.ValueExists("None", "ShowCmd"));
}

}  // namespace
