#include "classlib/os/registry_ini.h"

#include "classlib/core/strings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Each test works below a key of its own in HKEY_CURRENT_USER.
class RegistryIniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        FKey = "Software\\QuillmereTests\\" + std::to_string(GetCurrentProcessId()) + "_ini_" + info->name();
        TearDown();  // Wine reuses process ids: an aborted run may have left keys
    }
    void TearDown() override {
        TRegistry reg;
        reg.DeleteKey(FKey);
    }
    String FKey;
};

TEST_F(RegistryIniFileTest, SectionsAreSubkeysAndIdentsAreValues) {
    TRegistryIniFile ini(FKey);
    ini.WriteInteger("Panel1", "Top", 10);
    ini.WriteString("Panel1", "Name", "left");
    ini.WriteBool("Panel1", "Collaps", true);

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(FKey + "\\Panel1"));
    EXPECT_EQ(reg.GetDataType("Top"), rdInteger);
    EXPECT_EQ(reg.ReadInteger("Top"), 10);
    EXPECT_EQ(reg.ReadString("Name"), "left");

    EXPECT_EQ(ini.ReadInteger("Panel1", "Top", -1), 10);
    EXPECT_EQ(ini.ReadString("Panel1", "Top", ""), "10");
    EXPECT_EQ(ini.ReadString("Panel1", "Name", ""), "left");
    EXPECT_TRUE(ini.ReadBool("Panel1", "Collaps", false));
}

TEST_F(RegistryIniFileTest, MissingValuesReadAsDefaultWithoutCreatingKeys) {
    TRegistryIniFile ini(FKey);
    EXPECT_EQ(ini.ReadInteger("Panel1", "Top", 42), 42);
    EXPECT_EQ(ini.ReadString("Panel1", "Name", "dflt"), "dflt");
    EXPECT_FALSE(ini.SectionExists("Panel1"));
    EXPECT_FALSE(ini.ValueExists("Panel1", "Top"));
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists(FKey));

    TCustomIniFile& base = ini;  // through the common interface
    base.WriteInteger("Panel1", "Width", 250);
    EXPECT_EQ(base.ReadInteger("Panel1", "Width", 0), 250);
    EXPECT_TRUE(ini.SectionExists("Panel1"));
    EXPECT_TRUE(ini.ValueExists("Panel1", "Width"));
}

TEST_F(RegistryIniFileTest, ListsErasesAndDeletes) {
    TRegistryIniFile ini(FKey);
    ini.WriteString("A", "x", "1");
    ini.WriteString("A", "y", "2");
    ini.WriteString("B", "z", "3");

    TStringList list;
    ini.ReadSections(&list);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_GE(list.IndexOf("A"), 0);
    EXPECT_GE(list.IndexOf("B"), 0);
    ini.ReadSectionValues("A", &list);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_GE(list.IndexOf("x=1"), 0);
    EXPECT_GE(list.IndexOf("y=2"), 0);

    ini.DeleteKey("A", "x");
    ini.ReadSection("A", &list);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], "y");
    ini.DeleteKey("Missing", "x");  // no key is made for it
    EXPECT_FALSE(ini.SectionExists("Missing"));

    ini.EraseSection("B");
    EXPECT_FALSE(ini.SectionExists("B"));
    EXPECT_TRUE(ini.SectionExists("A"));
}

}  // namespace
