// Path routines of the support library. Paths use "\" as the separator.
#pragma once

#include "classlib/core/types.h"

// The path with "\" appended unless it already ends with one ("" gives "\").
String PathWithSeparator(const String& path);
// The path without one trailing "\".
String PathWithoutSeparator(const String& path);
// The path with the extension ("ini" or ".ini"), unless its extension is
// that one already, ignoring case: "Settings" and "Settings." give
// "Settings.ini", "Settings.txt" gives "Settings.txt.ini". Either text
// empty: the path unchanged.
String PathWithExtension(const String& path, const String& extension);
// True for a drive path ("C:\...", also behind the "\\.\" or "\\?\"
// prefixes) and for a network share ("\\server\share...", also as
// "\\?\UNC\server\share...").
bool PathIsRooted(const String& path);
