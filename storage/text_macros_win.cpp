#include "storage/text_macros.h"

#include "classlib/core/sysutils.h"
#include "classlib/os/files.h"
#include "classlib/os/win.h"
#include "storage/file_version_info.h"

namespace {

// The running program: its executable and version resource, the screen,
// and message boxes.
class TSystemMacroSource : public TZvMacroSource {
public:
    String ExeName() override { return ApplicationExeName(); }

    String VersionValue(int key) override {
        TZevFileVersionInfo info(ApplicationExeName());
        return info.VersionKeyValue(key);
    }

    void GetScreenSize(int& width, int& height) override {
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
    }

    void GetDesktopSize(int& width, int& height) override {
        width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
        height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    }

    void ShowInformation(const String& text) override {
        MessageBoxA(GetActiveWindow(), text.c_str(), ApplicationTitle().c_str(), MB_OK | MB_ICONINFORMATION);
    }

private:
    static String ApplicationTitle() { return ChangeFileExt(ExtractFileName(ApplicationExeName()), ""); }
};

}  // namespace

void ZvInstallSystemMacroSource() {
    static TSystemMacroSource source;
    ZvInstallMacroSource(&source);
}
