#include "components/controls/system_tests_win.h"

#include "components/foundation/visual_styles_win.h"

bool ControlsThemeActive() {
    const TVisualStylesBinding& styles = VisualStyles();
    return styles.IsThemeActive && styles.IsThemeActive();
}

int CommonControlsMajorVersion() {
    // Asked on every themed paint of a check box or radio button, so it is
    // read once the library is loaded: a loaded library stays, and keeps
    // its version, for the life of the process.
    static int known = 0;  // 0: not read from a loaded library yet
    if (known) return known;
    // The loaded module's file: a program whose manifest asks for version
    // 6 has that one loaded, while the name alone finds the system
    // folder's older copy.
    HMODULE module = GetModuleHandleA("COMCTL32.DLL");
    char path[MAX_PATH] = {};
    const String file = module && GetModuleFileNameA(module, path, MAX_PATH) ? String(path) : String("COMCTL32.DLL");
    const int version = GetDllVersion(file);
    const int major = version < 0 ? -1 : int(unsigned(version) >> 16);
    if (module) known = major;
    return major;
}
