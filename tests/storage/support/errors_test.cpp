// The error classes, the character tables and the Windows version
// classification.
#include <gtest/gtest.h>

#include "storage/support/char_tables.h"
#include "storage/support/errors.h"
#include "storage/support/windows_version.h"

namespace {

template <class E>
bool IsZevError() {
    try {
        throw E("x");
    } catch (const EZevError&) {
        return true;
    } catch (...) {
        return false;
    }
}

TEST(ZevErrors, EveryClassIsAZevErrorAndAnException) {
    EXPECT_TRUE(IsZevError<EZevStringError>());
    EXPECT_TRUE(IsZevError<ESharedMemError>());
    EXPECT_TRUE(IsZevError<EZevInternalError>());
    EXPECT_TRUE(IsZevError<EZevFileVersionInfoError>());
    EXPECT_TRUE(IsZevError<EZevRTTIError>());
    EXPECT_TRUE((std::is_base_of_v<Exception, EZevError>));
    EXPECT_TRUE((std::is_base_of_v<EZevWin32Error, EZevMutexError>));
    EXPECT_TRUE((std::is_base_of_v<EZevError, EZevWin32Error>));
}

TEST(ZevErrors, Win32ErrorKeepsTheCodeAndTheSystemText) {
    EZevMutexError e(5, "Access denied", "Failed to create mutex");
    EXPECT_EQ(e.Message(), "Win32 error: Access denied (5)\r\nFailed to create mutex");
    EXPECT_EQ(e.LastError(), 5u);
    EXPECT_EQ(e.LastErrorMsg(), "Access denied");
    EZevWin32Error big(0xFFFFFFFF, "?", "");
    EXPECT_EQ(big.Message(), "Win32 error: ? (4294967295)\r\n");
}

TEST(ZevErrors, Texts) {
    EXPECT_STREQ(ZevText::BlankSearchString, "Search string cannot be blank");
    EXPECT_STREQ(ZevText::CreateMutexFailed, "Failed to create mutex");
    EXPECT_STREQ(ZevText::NoReplacementChar, "Failed to get ANSI replacement character");
    EXPECT_STREQ(ZevText::FileDoesNotExist, "The file %s does not exist");
    EXPECT_STREQ(ZevText::NoVersionInfo, "File contains no version information");
}

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

TEST(ZevWindowsVersion, Classification) {
    struct Case {
        TZevPlatform Platform;
        LongWord Major, Minor;
        const char* Service;
        LongWord KernelMajor, KernelMinor;
        bool ServerR2, NativeX86, Workstation;
        TZevWindowsVersion Expected;
    } cases[] = {
        {zpWin32s, 3, 10, "", 0, 0, false, true, false, wvUnknown},
        // 9x
        {zpWindows9x, 4, 0, "", 0, 0, false, true, false, wvWin95},
        {zpWindows9x, 4, 0, " A ", 0, 0, false, true, false, wvWin95},
        {zpWindows9x, 4, 0, " B ", 0, 0, false, true, false, wvWin95OSR2},
        {zpWindows9x, 4, 3, "C", 0, 0, false, true, false, wvWin95OSR2},
        {zpWindows9x, 4, 10, "", 0, 0, false, true, false, wvWin98},
        {zpWindows9x, 4, 10, "C", 0, 0, false, true, false, wvWin98},
        {zpWindows9x, 4, 10, " A ", 0, 0, false, true, false, wvWin98SE},
        {zpWindows9x, 4, 89, "B", 0, 0, false, true, false, wvWin98SE},
        {zpWindows9x, 4, 10, "A", 4, 90, false, true, false, wvWinME},
        {zpWindows9x, 4, 90, "", 0, 0, false, true, false, wvWinME},
        {zpWindows9x, 4, 91, "", 4, 90, false, true, false, wvUnknown},
        // NT
        {zpWindowsNT, 3, 10, "", 0, 0, false, true, true, wvWinNT31},
        {zpWindowsNT, 3, 50, "", 0, 0, false, true, true, wvWinNT35},
        {zpWindowsNT, 3, 51, "", 0, 0, false, true, true, wvWinNT351},
        {zpWindowsNT, 3, 0, "", 0, 0, false, true, true, wvUnknown},
        {zpWindowsNT, 4, 0, "Service Pack 6", 0, 0, false, true, true, wvWinNT4},
        {zpWindowsNT, 5, 0, "", 0, 0, false, true, true, wvWin2000},
        {zpWindowsNT, 5, 1, "", 0, 0, false, true, true, wvWinXP},
        {zpWindowsNT, 5, 2, "", 0, 0, false, true, false, wvWin2003},
        {zpWindowsNT, 5, 2, "", 0, 0, false, true, true, wvWin2003},
        {zpWindowsNT, 5, 2, "", 0, 0, false, false, true, wvWinXP64},
        {zpWindowsNT, 5, 2, "", 0, 0, false, false, false, wvWin2003},
        {zpWindowsNT, 5, 2, "", 0, 0, true, false, true, wvWin2003R2},
        {zpWindowsNT, 5, 3, "", 0, 0, false, true, true, wvUnknown},
        {zpWindowsNT, 6, 0, "", 0, 0, false, true, true, wvWinVista},
        {zpWindowsNT, 6, 0, "", 0, 0, false, true, false, wvWinServer2008},
        {zpWindowsNT, 6, 1, "", 0, 0, false, true, true, wvWin7},
        {zpWindowsNT, 6, 1, "", 0, 0, false, true, false, wvWinServer2008R2},
        {zpWindowsNT, 6, 2, "", 0, 0, false, true, true, wvUnknown},
        {zpWindowsNT, 10, 0, "", 0, 0, false, true, true, wvUnknown},
    };
    for (const Case& c : cases) {
        TZevWindowsVersionFacts f;
        f.Platform = c.Platform;
        f.Major = c.Major;
        f.Minor = c.Minor;
        f.ServicePack = c.Service;
        f.Kernel32Major = c.KernelMajor;
        f.Kernel32Minor = c.KernelMinor;
        f.ServerR2 = c.ServerR2;
        f.NativeX86 = c.NativeX86;
        f.Workstation = c.Workstation;
        EXPECT_EQ(ClassifyWindowsVersion(f), c.Expected)
            << c.Platform << " " << c.Major << "." << c.Minor << " '" << c.Service << "'";
    }
    EXPECT_EQ(int(wvWin2000), 10);
    EXPECT_EQ(int(wvWinServer2008R2), 18);
}

}  // namespace
