// The start-up of the support routines and what it gathers about the system:
// the character tables of the locale, the system information and locale
// comparison. The start-up runs once for the whole test program, here.
#include <gtest/gtest.h>

#include "classlib/core/sysutils.h"
#include "classlib/os/files.h"
#include "classlib/os/win.h"
#include "classlib/ui/forms.h"
#include "storage/support/char_tables.h"
#include "storage/support/system_info.h"

namespace {

// The program entry runs the units' start-up; the tests do it once here.
class TSupportUnit : public ::testing::Environment {
public:
    void SetUp() override {
        ClasslibUiInitialize();
        ZevSupportInitialize();
    }
    void TearDown() override {
        ZevSupportFinalize();
        ClasslibUiFinalize();
    }
};
::testing::Environment* const SupportUnit = ::testing::AddGlobalTestEnvironment(new TSupportUnit);

TEST(ZevStartup, CharacterTablesFollowTheLocale) {
    const TZevCharTables& t = ZevCharTables();
    EXPECT_EQ(t.UpperMap[Byte('q')], 'Q');
    EXPECT_EQ(t.LowerMap[Byte('Q')], 'q');
    EXPECT_EQ(t.SwapMap[Byte('q')], 'Q');
    EXPECT_EQ(t.SwapMap[Byte('1')], '1');
    EXPECT_TRUE(t.CharTypes[Byte('Q')] & ctUpper);
    EXPECT_TRUE(t.CharTypes[Byte('Q')] & ctAlpha);
    EXPECT_TRUE(t.CharTypes[Byte('7')] & ctDigit);
    EXPECT_TRUE(t.CharTypes[Byte(' ')] & ctBlank);
    if (GetACP() == 1252) {
        // e acute and E acute of the Western code page.
        EXPECT_EQ(Byte(t.UpperMap[0xE9]), 0xC9);
        EXPECT_EQ(Byte(t.LowerMap[0xC9]), 0xE9);
        EXPECT_EQ(Byte(t.SwapMap[0xC9]), 0xE9);
        EXPECT_TRUE(t.CharTypes[0xE9] & ctLower);
    }
}

TEST(ZevStartup, SystemInformation) {
    const TZevSystemInfo& info = ZevSystemInfo();
    EXPECT_TRUE(info.IsWinNT);
    EXPECT_GE(info.ProcessorCount, 1u);
    EXPECT_EQ(info.PageSize, 4096u);
    EXPECT_EQ(info.AllocationGranularity, 65536u);
    EXPECT_NE(info.AnsiReplacementChar, '\0');

    OSVERSIONINFOEXA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)));
    bool workstation = version.wProductType == VER_NT_WORKSTATION;
    if (version.dwMajorVersion == 6 && version.dwMinorVersion == 1) {
        EXPECT_EQ(info.WindowsVersion, workstation ? wvWin7 : wvWinServer2008R2);
    } else if (version.dwMajorVersion == 5 && version.dwMinorVersion == 1) {
        EXPECT_EQ(info.WindowsVersion, wvWinXP);
    } else if (version.dwMajorVersion >= 7 || (version.dwMajorVersion == 6 && version.dwMinorVersion >= 2)) {
        EXPECT_EQ(info.WindowsVersion, wvUnknown);
    }
}

TEST(ZevStartup, InitialisingTwiceChangesNothing) {
    TZevSystemInfo before = ZevSystemInfo();
    ZevSupportInitialize();
    EXPECT_EQ(ZevSystemInfo().WindowsVersion, before.WindowsVersion);
    EXPECT_EQ(ZevSystemInfo().ProcessorCount, before.ProcessorCount);
}

TEST(ZevCompare, FollowsTheLocale) {
    EXPECT_LT(ZevCompareWideText(L"apple", L"banana"), 0);
    EXPECT_GT(ZevCompareWideText(L"banana", L"apple"), 0);
    EXPECT_EQ(ZevCompareWideText(L"same", L"same"), 0);
    EXPECT_EQ(ZevCompareWideText(L"", L""), 0);
}

}  // namespace
