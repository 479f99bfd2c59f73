#include "storage/support/file_version_info.h"

#include "classlib/core/strings.h"
#include "classlib/core/sysutils.h"
#include "classlib/os/files.h"
#include "classlib/os/win.h"
#include "storage/support/errors.h"
#include "storage/support/folders.h"

namespace {

// UTF-16 text of the resource in the system code page.
String WideToSystemCodePage(std::u16string_view text) {
    if (text.empty()) return String();
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
    int n = WideCharToMultiByte(CP_ACP, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return String();
    String result(size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, int(text.size()), result.data(), n, nullptr, nullptr);
    return result;
}

}  // namespace

TZevFileVersionInfo::TZevFileVersionInfo(const String& fileName) {
    if (!FileIsPresent(fileName)) throw EZevFileVersionInfoError(Format(ZevText::FileDoesNotExist, {fileName}));
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &handle);
    if (size == 0) throw EZevFileVersionInfoError(ZevText::NoVersionInfo);
    FResource.resize(size);
    if (!GetFileVersionInfoA(fileName.c_str(), handle, size, FResource.data())) RaiseLastOSError();
    Parse(WideToSystemCodePage);
}
