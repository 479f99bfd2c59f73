#include "app/file_lists.h"

#include "classlib/core/sysutils.h"

const TFileListKind kLayoutList = {"Layouts", ".dat", "No layout files (*.dat) found in"};
const TFileListKind kColorSchemeList = {"Color Schemes", ".col", "No color scheme files (*.col) found in"};

String ExtractBaseName(const String& fileName) {
    String name = ExtractFileName(fileName);
    const std::size_t dot = name.rfind('.');
    if (dot != String::npos) name.erase(dot);
    return name;
}

String FileListMask(const TFileListKind& kind, const String& programFolder) {
    return programFolder + kind.Folder + "\\*" + kind.Extension;
}

bool HasListExtension(const TFileListKind& kind, const String& fileName) { return EndsText(kind.Extension, fileName); }

std::vector<String> FileListEntries(const TFileListKind& kind, const std::vector<String>& namesFound) {
    std::vector<String> entries{kListPlaceholder};
    for (const String& name : namesFound)
        if (HasListExtension(kind, name)) entries.push_back(ExtractBaseName(name));
    return entries;
}

String NoFilesFoundMessage(const TFileListKind& kind, const String& programFolder) {
    return String(kind.NoneFoundMessage) + "\n\r" + programFolder + kind.Folder + "\\ folder.";
}

String ProgramLayoutFile(const String& programFolder, const String& layout) {
    return programFolder + "Layouts\\" + layout + kLayoutList.Extension;
}

String CompilerLayoutFile(const String& compilerFolder, const String& layout) {
    return compilerFolder + "Layouts\\" + layout + kLayoutList.Extension;
}
