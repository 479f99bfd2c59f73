#include "app/updater_system_win.h"

#include "classlib/core/streams.h"
#include "classlib/os/files.h"
#include "classlib/os/registry.h"
#include "classlib/ui/forms.h"

TWindowsUpdaterSystem::TWindowsUpdaterSystem() : FProgramFolder(ApplicationFolder()) {}

TWindowsUpdaterSystem::TWindowsUpdaterSystem(String programFolder) : FProgramFolder(std::move(programFolder)) {}

String TWindowsUpdaterSystem::ReadKeyDefault(TRegistryRoot root, const String& key) {
    TRegistry registry(KEY_READ);
    registry.SetRootKey(root == rrLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
    if (!registry.OpenKeyReadOnly(key)) return String();
    // A default value of another type (a number, binary data) names no
    // folder: it reads as "not recorded" instead of raising.
    const TRegDataType type = registry.GetDataType("");
    if (type != rdString && type != rdExpandString) return String();
    return registry.ReadString("");
}

bool TWindowsUpdaterSystem::DirectoryExists(const String& dir) { return ::DirectoryExists(dir); }

bool TWindowsUpdaterSystem::FileExists(const String& fileName) { return ::FileExists(fileName); }

std::vector<String> TWindowsUpdaterSystem::FindNames(const String& mask) {
    std::vector<String> names;
    TSearchRec rec;
    if (FindFirst(mask, faAnyFile, rec) == 0) {
        do names.push_back(rec.Name);
        while (FindNext(rec) == 0);
        FindClose(rec);
    }
    return names;
}

bool TWindowsUpdaterSystem::CopyNewFile(const String& source, const String& target) {
    return CopyFileTo(source, target, true);
}

String TWindowsUpdaterSystem::ReadFile(const String& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    // Only the whole file will do: a part of it would be rewritten and
    // saved in its place.
    const Int64 size = stream.Size();
    if (size < 0) throw EReadError("Stream read error");
    String data(std::size_t(size), '\0');
    stream.ReadBuffer(data.data(), size);
    return data;
}

void TWindowsUpdaterSystem::ReplaceFile(const String& fileName, const String& data) {
    ReplaceFileContents(fileName, data);
}

void TWindowsUpdaterSystem::ShowMessage(const String& text) { ::ShowMessage(text); }
