#include "storage/support/windows_version.h"

#include "classlib/core/sysutils.h"

namespace {

TZevWindowsVersion Classify9x(const TZevWindowsVersionFacts& f) {
    String service = Trim(f.ServicePack);
    if (f.Minor < 10) return service == "B" || service == "C" ? wvWin95OSR2 : wvWin95;
    if (f.Minor == 90) return wvWinME;
    if (f.Minor > 90) return wvUnknown;
    if (f.Kernel32Major == 4 && f.Kernel32Minor == 90) return wvWinME;
    return service == "A" || service == "B" ? wvWin98SE : wvWin98;
}

TZevWindowsVersion ClassifyNT(const TZevWindowsVersionFacts& f) {
    switch (f.Major) {
    case 3:
        switch (f.Minor) {
        case 10: return wvWinNT31;
        case 50: return wvWinNT35;
        case 51: return wvWinNT351;
        default: return wvUnknown;
        }
    case 4: return wvWinNT4;
    case 5:
        switch (f.Minor) {
        case 0: return wvWin2000;
        case 1: return wvWinXP;
        case 2:
            if (f.ServerR2) return wvWin2003R2;
            if (!f.NativeX86 && f.Workstation) return wvWinXP64;
            return wvWin2003;
        default: return wvUnknown;
        }
    case 6:
        switch (f.Minor) {
        case 0: return f.Workstation ? wvWinVista : wvWinServer2008;
        case 1: return f.Workstation ? wvWin7 : wvWinServer2008R2;
        default: return wvUnknown;
        }
    default: return wvUnknown;
    }
}

}  // namespace

TZevWindowsVersion ClassifyWindowsVersion(const TZevWindowsVersionFacts& facts) {
    switch (facts.Platform) {
    case zpWindows9x: return Classify9x(facts);
    case zpWindowsNT: return ClassifyNT(facts);
    default: return wvUnknown;
    }
}
