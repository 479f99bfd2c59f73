#include "classlib/os/shell.h"

#include <shellapi.h>

bool ShellOpen(HWND owner, const String& pathOrUrl) {
    HINSTANCE result = ShellExecuteA(owner, "open", pathOrUrl.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success; smaller ones are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}
