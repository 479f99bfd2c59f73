#include "storage/support/system_info.h"

#include <vector>

#include "classlib/core/sysutils.h"
#include "classlib/os/win.h"
#include "storage/storage_files.h"
#include "storage/support/char_tables.h"
#include "storage/support/errors.h"
#include "storage/text_macros.h"

namespace {

TZevSystemInfo SystemInfo;
bool Started = false;

TZevCharTables LocaleCharTables() {
    TZevCharTables tables{};
    for (int code = 0; code < 256; ++code) {
        char c = static_cast<char>(code);
        WORD type = 0;
        if (GetStringTypeExA(LOCALE_USER_DEFAULT, CT_CTYPE1, &c, 1, &type)) tables.CharTypes[code] = type;
        char lower = c, upper = c;
        CharLowerBuffA(&lower, 1);
        CharUpperBuffA(&upper, 1);
        tables.LowerMap[code] = lower;
        tables.UpperMap[code] = upper;
    }
    ZevFillSwapMap(tables);
    return tables;
}

// kernel32.dll's product version from its version resource (read on the
// 9x platform only, where it tells Windows ME from Windows 98).
void ReadKernel32Version(TZevWindowsVersionFacts& facts) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA("kernel32.dll", &handle);
    if (size == 0) return;
    std::vector<Byte> buffer(size);
    if (!GetFileVersionInfoA("kernel32.dll", 0, size, buffer.data())) return;
    void* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(buffer.data(), "\\", &fixed, &length) || length != sizeof(VS_FIXEDFILEINFO)) return;
    DWORD productMS = static_cast<VS_FIXEDFILEINFO*>(fixed)->dwProductVersionMS;
    facts.Kernel32Major = HIWORD(productMS);
    facts.Kernel32Minor = LOWORD(productMS);
}

TZevWindowsVersionFacts WindowsVersionFacts() {
    TZevWindowsVersionFacts facts;
    OSVERSIONINFOEXA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    bool extended = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)) != FALSE;
    if (!extended) {
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) return facts;
    }
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS: facts.Platform = zpWindows9x; break;
    case VER_PLATFORM_WIN32_NT: facts.Platform = zpWindowsNT; break;
    default: facts.Platform = zpWin32s; break;
    }
    facts.Major = version.dwMajorVersion;
    facts.Minor = version.dwMinorVersion;
    facts.ServicePack = version.szCSDVersion;
    facts.Workstation = extended && version.wProductType == VER_NT_WORKSTATION;
    if (facts.Platform == zpWindows9x) ReadKernel32Version(facts);
    if (facts.Platform == zpWindowsNT) {
        facts.ServerR2 = GetSystemMetrics(SM_SERVERR2) != 0;
        SYSTEM_INFO native{};
        GetNativeSystemInfo(&native);
        facts.NativeX86 = native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL;
    }
    return facts;
}

}  // namespace

void ZevSupportInitialize() {
    if (Started) return;

    ZevInstallCharTables(LocaleCharTables());

    CPINFO codePage{};
    if (!GetCPInfo(CP_ACP, &codePage)) throw EZevInternalError(ZevText::NoReplacementChar);
    SystemInfo.AnsiReplacementChar = static_cast<char>(codePage.DefaultChar[0]);

    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    SystemInfo.ProcessorCount = system.dwNumberOfProcessors;
    SystemInfo.AllocationGranularity = system.dwAllocationGranularity;
    SystemInfo.PageSize = system.dwPageSize;
    TZevWindowsVersionFacts facts = WindowsVersionFacts();
    SystemInfo.IsWinNT = facts.Platform == zpWindowsNT;
    SystemInfo.WindowsVersion = ClassifyWindowsVersion(facts);

    ZvInstallSystemMacroSource();
    ZvInstallSystemStorageFileSystem();
    Started = true;
}

void ZevSupportFinalize() {
    if (!Started) return;
    ZvInstallMacroSource(nullptr);
    ZvInstallStorageFileSystem(nullptr);
    ZevInstallCharTables(ZevAsciiCharTables());
    Started = false;
}

const TZevSystemInfo& ZevSystemInfo() { return SystemInfo; }

int ZevCompareWideText(std::wstring_view a, std::wstring_view b) {
    if (SystemInfo.IsWinNT)
        return CompareStringW(LOCALE_USER_DEFAULT, 0, a.data(), int(a.size()), b.data(), int(b.size())) - 2;

    // The 9x platform compares 8-bit texts in the code page of the locale.
    UINT codePage = CP_ACP;
    char number[8];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof(number)) > 0)
        codePage = static_cast<UINT>(StrToIntDef(number, 0));
    if (codePage == 0) codePage = GetACP();
    auto narrow = [codePage](std::wstring_view w) {
        int n = WideCharToMultiByte(codePage, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
        String s(static_cast<size_t>(n > 0 ? n : 0), '\0');
        if (n > 0) WideCharToMultiByte(codePage, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
        return s;
    };
    String na = narrow(a), nb = narrow(b);
    return CompareStringA(LOCALE_USER_DEFAULT, 0, na.data(), int(na.size()), nb.data(), int(nb.size())) - 2;
}
