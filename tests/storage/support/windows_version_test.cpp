// The classification of the running Windows version.
#include "storage/support/windows_version.h"

#include <gtest/gtest.h>

namespace {
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
