// The two lists of files beside the program that the main window offers:
// window layouts ("Layouts\*.dat") and colour schemes
// ("Color Schemes\*.col").
#pragma once

#include <vector>

#include "classlib/core/types.h"

// Entry 0 of both lists: "nothing chosen yet" (twelve hyphens).
inline constexpr const char* kListPlaceholder = "------------";

struct TFileListKind {
    const char* Folder;     // below the program's folder, without "\"
    const char* Extension;  // with its "."
    // Shown when the folder holds no such file: Message + LF + CR +
    // program folder + Folder + "\ folder.".
    const char* NoneFoundMessage;
};

extern const TFileListKind kLayoutList;
extern const TFileListKind kColorSchemeList;

// The file-name part of a path without its final extension:
// "C:\x\my.layout.dat" gives "my.layout", "Dark.col" gives "Dark", a name
// without "." stays as it is.
String ExtractBaseName(const String& fileName);

// The search mask for the list's files below the program's folder (which
// ends in "\").
String FileListMask(const TFileListKind& kind, const String& programFolder);

// Whether a name found by the search really has the list's extension. The
// system's search also matches a short-name alias, so "*.dat" finds
// "x.data" too; such names are no layouts. Case is ignored.
bool HasListExtension(const TFileListKind& kind, const String& fileName);

// The list's entries from the names the search found, in the search's
// order: the placeholder, then the base name of every name that has the
// list's extension.
std::vector<String> FileListEntries(const TFileListKind& kind, const std::vector<String>& namesFound);

// The message for a folder with no such file. The line feed comes before
// the carriage return.
String NoFilesFoundMessage(const TFileListKind& kind, const String& programFolder);

// Where the layout of that name lies beside the program, and where a
// compiler (folder ending in "\") keeps it.
String ProgramLayoutFile(const String& programFolder, const String& layout);
String CompilerLayoutFile(const String& compilerFolder, const String& layout);
