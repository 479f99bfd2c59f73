// The classification of the running Windows version that the support
// library keeps for the rest of the run. The numbers are part of the
// library's interface: callers compare them (below wvWin2000: an old
// system).
#pragma once

#include "classlib/core/types.h"

enum TZevWindowsVersion {
    wvUnknown,          // 0
    wvWin95,            // 1
    wvWin95OSR2,        // 2
    wvWin98,            // 3
    wvWin98SE,          // 4
    wvWinME,            // 5
    wvWinNT31,          // 6
    wvWinNT35,          // 7
    wvWinNT351,         // 8
    wvWinNT4,           // 9
    wvWin2000,          // 10
    wvWinXP,            // 11
    wvWin2003,          // 12
    wvWinXP64,          // 13
    wvWin2003R2,        // 14
    wvWinVista,         // 15
    wvWinServer2008,    // 16
    wvWin7,             // 17
    wvWinServer2008R2,  // 18
};

enum TZevPlatform { zpWin32s, zpWindows9x, zpWindowsNT };

// What the classification looks at; the Windows part fills it from the
// system (GetVersionEx and friends).
struct TZevWindowsVersionFacts {
    TZevPlatform Platform = zpWin32s;
    LongWord Major = 0;
    LongWord Minor = 0;
    String ServicePack;  // the service text (CSD version), trimmed by the classification
    // 9x only: kernel32.dll's product version from its version resource,
    // 0.0 when it could not be read.
    LongWord Kernel32Major = 0;
    LongWord Kernel32Minor = 0;
    // NT 5.2 and later:
    bool ServerR2 = false;     // GetSystemMetrics(SM_SERVERR2) is not 0
    bool NativeX86 = true;     // the native processor architecture is x86
    bool Workstation = false;  // the extended version record reports a workstation
};

TZevWindowsVersion ClassifyWindowsVersion(const TZevWindowsVersionFacts& facts);
