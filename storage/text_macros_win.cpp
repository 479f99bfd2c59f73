#include "storage/text_macros.h"

#include "classlib/core/sysutils.h"
#include "classlib/os/files.h"
#include "classlib/os/win.h"
#include "classlib/ui/forms.h"
#include "storage/support/file_version_info.h"

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

    // Through the application's message box, which tests can answer.
    void ShowInformation(const String& text) override {
        if (Application)
            Application->MessageBox(text, Application->Title(), MB_OK | MB_ICONINFORMATION);
        else
            MessageBoxA(nullptr, text.c_str(), ChangeFileExt(ExtractFileName(ApplicationExeName()), "").c_str(),
                        MB_OK | MB_ICONINFORMATION);
    }
};

}  // namespace

void ZvInstallSystemMacroSource() {
    static TSystemMacroSource source;
    ZvInstallMacroSource(&source);
}
