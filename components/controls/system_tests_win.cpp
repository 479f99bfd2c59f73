#include "components/controls/system_tests_win.h"

#include <vector>

#include "classlib/os/win.h"
#include "classlib/ui/themes.h"

bool ControlsThemeActive() { return ThemesActive(); }

int CommonControlsMajorVersion() {
    static const int major = [] {
        HMODULE module = GetModuleHandleA("COMCTL32.DLL");
        if (!module) module = LoadLibraryA("COMCTL32.DLL");
        char path[MAX_PATH] = {};
        if (!module || !GetModuleFileNameA(module, path, MAX_PATH)) return -1;
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
        if (size == 0) return -1;
        std::vector<char> block(size);
        VS_FIXEDFILEINFO* info = nullptr;
        UINT length = 0;
        if (!GetFileVersionInfoA(path, 0, size, block.data()) ||
            !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
            info->dwSignature != 0xFEEF04BD)
            return -1;
        return int(HIWORD(info->dwFileVersionMS));
    }();
    return major;
}

bool IsWindowsXPOrLater() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&version);
#pragma GCC diagnostic pop
    return version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion != 0);
}
