#include "storage/support/folders.h"

#include "classlib/os/files.h"
#include "classlib/os/win.h"

#include <shlobj.h>

#include "storage/support/paths.h"
#include "storage/support/text_routines.h"

bool FileIsPresent(const String& fileName) {
    if (fileName.empty()) return false;
    DWORD attributes = GetFileAttributesA(fileName.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

String WindowsFolder() { return GetWindowsDir(); }

String TempFolder() { return PathWithoutSeparator(GetTempDir()); }

String UserAppDataFolder() {
    const int appDataFolder = 26;  // CSIDL_APPDATA
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, appDataFolder, &items)) || !items) return String();
    String path(MAX_PATH, '\0');
    bool found = SHGetPathFromIDListA(items, path.data()) != FALSE;
    CoTaskMemFree(items);
    if (!found) return String();
    TrimAtNul(path);
    return path;
}
