#include "classlib/os/registry.h"

#include "classlib/core/strings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// Every test works below a key of its own, removed again afterwards. Keys
// are written with the raw API in the 32-bit view, the way the compilers'
// installers write theirs, and read back through TRegistry.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        FBase = "Software\\QuillmereTests\\" + std::to_string(GetCurrentProcessId()) + "_" + info->name();
        RemoveAll();  // Wine reuses process ids: an aborted run may have left keys
    }
    void TearDown() override { RemoveAll(); }
    void RemoveAll() {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) RemoveTree(root, FBase, view);
    }

    static HKEY CreateRaw(HKEY root, const String& path) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    static void SetRaw(HKEY root, const String& path, const String& name, DWORD type, const void* data, DWORD size) {
        HKEY key = CreateRaw(root, path);
        ASSERT_EQ(RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static void SetRawString(HKEY root, const String& path, const String& name, const String& value) {
        SetRaw(root, path, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
    }
    static bool RawKeyExists(HKEY root, const String& path, REGSAM view) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    static void RemoveTree(HKEY root, const String& path, REGSAM view) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
            RegDeleteTreeA(key, nullptr);
            RegCloseKey(key);
            RegDeleteKeyExA(root, path.c_str(), view, 0);
        }
    }

    String FBase;
};

// The compiler look-up: HKEY_LOCAL_MACHINE first, then HKEY_CURRENT_USER on
// the same object, reading the default value of a key given with a
// trailing "\".
TEST_F(RegistryTest, ReadsDefaultValueUnderLocalMachine) {
    SetRawString(HKEY_LOCAL_MACHINE, FBase + "\\mikroC PRO for PIC", "", "C:\\Compilers\\mikroC");
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKeyReadOnly(FBase + "\\mikroC PRO for PIC\\"));
    EXPECT_EQ(reg.ReadString(""), "C:\\Compilers\\mikroC");
}

TEST_F(RegistryTest, FallsBackToCurrentUserOnTheSameObject) {
    SetRawString(HKEY_CURRENT_USER, FBase + "\\Tool", "", "D:\\Tool");
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.OpenKeyReadOnly(FBase + "\\Tool\\"));
    EXPECT_EQ(reg.ReadString(""), "");
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKeyReadOnly(FBase + "\\Tool\\"));
    EXPECT_EQ(reg.ReadString(""), "D:\\Tool");
}

TEST_F(RegistryTest, RootIsCurrentUserByDefault) {
    TRegistry reg;
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg.CurrentKey(), nullptr);
}

TEST_F(RegistryTest, ChangingTheRootClosesTheKey) {
    SetRawString(HKEY_CURRENT_USER, FBase, "", "value");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(FBase));
    EXPECT_NE(reg.CurrentKey(), nullptr);
    EXPECT_EQ(reg.CurrentPath(), FBase);

    reg.SetRootKey(HKEY_CURRENT_USER);  // the same root: nothing changes
    EXPECT_NE(reg.CurrentKey(), nullptr);

    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.CurrentKey(), nullptr);
    EXPECT_EQ(reg.CurrentPath(), "");
    EXPECT_EQ(reg.ReadString(""), "");
}

TEST_F(RegistryTest, MissingKeyOrValueReadsAsEmptyText) {
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists(FBase));
    EXPECT_FALSE(reg.OpenKeyReadOnly(FBase + "\\Missing\\"));
    EXPECT_EQ(reg.ReadString(""), "");
    EXPECT_FALSE(reg.ValueExists(""));

    // A key without a default value.
    RegCloseKey(CreateRaw(HKEY_CURRENT_USER, FBase));
    ASSERT_TRUE(reg.OpenKeyReadOnly(FBase));
    EXPECT_FALSE(reg.ValueExists(""));
    EXPECT_EQ(reg.ReadString(""), "");
    EXPECT_EQ(reg.ReadString("NoSuchValue"), "");
}

TEST_F(RegistryTest, NonStringValueRaisesInvalidDataType) {
    const DWORD number = 5;
    const BYTE bytes[] = {1, 2, 3, 4, 5, 6};
    const char multi[] = "a\0b\0";
    struct Case {
        const char* name;
        DWORD type;
        const void* data;
        DWORD size;
    };
    const Case cases[] = {
        {"", REG_DWORD, &number, sizeof(number)},
        {"Binary", REG_BINARY, bytes, sizeof(bytes)},
        {"Multi", REG_MULTI_SZ, multi, sizeof(multi)},
    };
    for (const Case& c : cases) SetRaw(HKEY_CURRENT_USER, FBase, c.name, c.type, c.data, c.size);

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(FBase + "\\"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            reg.ReadString(c.name);
            ADD_FAILURE() << "no exception";
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.Message(), "Invalid data type for '" + String(c.name) + "'");
        }
    }
}

TEST_F(RegistryTest, StringValuesReadUnexpandedAndEndAtTheFirstNul) {
    const char unterminated[] = {'a', 'b', 'c'};
    const char embedded[] = "left\0right";
    SetRaw(HKEY_CURRENT_USER, FBase, "Unterminated", REG_SZ, unterminated, sizeof(unterminated));
    SetRaw(HKEY_CURRENT_USER, FBase, "Embedded", REG_SZ, embedded, sizeof(embedded));
    SetRaw(HKEY_CURRENT_USER, FBase, "Expand", REG_EXPAND_SZ, "%WINDIR%\\x", 11);
    SetRaw(HKEY_CURRENT_USER, FBase, "Empty", REG_SZ, "", 1);

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(FBase));
    EXPECT_EQ(reg.ReadString("Unterminated"), "abc");
    EXPECT_EQ(reg.ReadString("Embedded"), "left");
    EXPECT_EQ(reg.ReadString("Expand"), "%WINDIR%\\x");
    EXPECT_TRUE(reg.ValueExists("Empty"));
    EXPECT_EQ(reg.ReadString("Empty"), "");
}

TEST_F(RegistryTest, KeysLiveInThe32BitView) {
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(FBase + "\\Written", true));
    reg.WriteString("", "from TRegistry");
    reg.CloseKey();

    EXPECT_TRUE(RawKeyExists(HKEY_LOCAL_MACHINE, FBase + "\\Written", KEY_WOW64_32KEY));
#ifdef _WIN64
    // Seen from a 64-bit program the 32-bit view is a separate tree.
    EXPECT_FALSE(RawKeyExists(HKEY_LOCAL_MACHINE, FBase + "\\Written", KEY_WOW64_64KEY));
#endif
}

TEST_F(RegistryTest, WritesAndReadsTypedValues) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(FBase, true));
    reg.WriteString("Name", "text");
    reg.WriteInteger("Count", -7);
    reg.WriteBool("Flag", true);
    EXPECT_EQ(reg.ReadString("Name"), "text");
    EXPECT_EQ(reg.ReadInteger("Count"), -7);
    EXPECT_TRUE(reg.ReadBool("Flag"));
    EXPECT_TRUE(reg.ValueExists("Count"));

    EXPECT_THROW(reg.ReadInteger("Name"), ERegistryException);
    try {
        reg.ReadInteger("Missing");
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Failed to get data for 'Missing'");
    }

    EXPECT_TRUE(reg.DeleteValue("Count"));
    EXPECT_FALSE(reg.ValueExists("Count"));
    EXPECT_FALSE(reg.DeleteValue("Count"));
}

TEST_F(RegistryTest, WritingThroughAReadOnlyKeyRaises) {
    RegCloseKey(CreateRaw(HKEY_CURRENT_USER, FBase));
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(FBase));
    try {
        reg.WriteString("Name", "x");
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Failed to set data for 'Name'");
    }
    TRegistry closed;
    EXPECT_THROW(closed.WriteInteger("Name", 1), ERegistryException);
}

TEST_F(RegistryTest, RelativeAndAbsolutePaths) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(FBase, true));
    ASSERT_TRUE(reg.OpenKey("Child\\Grandchild", true));  // below the open key
    EXPECT_EQ(reg.CurrentPath(), FBase + "\\Child\\Grandchild");
    reg.WriteString("", "deep");

    ASSERT_TRUE(reg.OpenKey("\\" + FBase, false));  // from the root again
    EXPECT_EQ(reg.CurrentPath(), FBase);
    EXPECT_TRUE(reg.KeyExists("Child\\Grandchild\\"));
    EXPECT_TRUE(reg.HasSubKeys());
    EXPECT_EQ(reg.CurrentPath(), FBase);  // KeyExists leaves the open key alone
}

TEST_F(RegistryTest, DeleteKeyRemovesTheWholeTree) {
    SetRawString(HKEY_CURRENT_USER, FBase + "\\Tree\\A\\A1", "v", "1");
    SetRawString(HKEY_CURRENT_USER, FBase + "\\Tree\\B", "v", "2");
    TRegistry reg;
    ASSERT_TRUE(reg.DeleteKey(FBase + "\\Tree"));
    EXPECT_FALSE(reg.KeyExists(FBase + "\\Tree"));
    EXPECT_TRUE(reg.KeyExists(FBase));
    EXPECT_FALSE(reg.DeleteKey(FBase + "\\Tree"));
}

TEST_F(RegistryTest, ListsKeyAndValueNames) {
    SetRawString(HKEY_CURRENT_USER, FBase + "\\Alpha", "", "");
    SetRawString(HKEY_CURRENT_USER, FBase + "\\Beta", "", "");
    SetRawString(HKEY_CURRENT_USER, FBase, "One", "1");
    SetRawString(HKEY_CURRENT_USER, FBase, "Two", "2");
    TRegistry reg;
    EXPECT_TRUE(reg.KeyNames().empty());  // no key open
    ASSERT_TRUE(reg.OpenKeyReadOnly(FBase));
    EXPECT_THAT(reg.KeyNames(), ::testing::UnorderedElementsAre("Alpha", "Beta"));
    EXPECT_THAT(reg.ValueNames(), ::testing::UnorderedElementsAre("One", "Two"));

    TStringList list;
    list.Add("stale");
    reg.GetKeyNames(&list);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_GE(list.IndexOf("Alpha"), 0);
    EXPECT_GE(list.IndexOf("Beta"), 0);
    reg.GetValueNames(&list);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_GE(list.IndexOf("One"), 0);
    EXPECT_GE(list.IndexOf("Two"), 0);
    reg.CloseKey();
    reg.GetValueNames(&list);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(RegistryTest, ReportsDataTypeAndSize) {
    const DWORD number = 1;
    const BYTE bytes[] = {9, 8, 7};
    SetRaw(HKEY_CURRENT_USER, FBase, "Number", REG_DWORD, &number, sizeof(number));
    SetRaw(HKEY_CURRENT_USER, FBase, "Bytes", REG_BINARY, bytes, sizeof(bytes));
    SetRawString(HKEY_CURRENT_USER, FBase, "Text", "abc");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(FBase));
    EXPECT_EQ(reg.GetDataType("Number"), rdInteger);
    EXPECT_EQ(reg.GetDataType("Bytes"), rdBinary);
    EXPECT_EQ(reg.GetDataType("Text"), rdString);
    EXPECT_EQ(reg.GetDataType("Missing"), rdUnknown);
    EXPECT_EQ(reg.GetDataSize("Bytes"), 3);
    EXPECT_EQ(reg.GetDataSize("Text"), 4);
    EXPECT_EQ(reg.GetDataSize("Missing"), -1);
}

}  // namespace
