// Files and system folders as the settings storage looks for them
// (Windows only).
#pragma once

#include "classlib/core/types.h"

// True when the name is not empty, its attributes can be read and it is not
// a folder.
bool FileIsPresent(const String& fileName);
// The Windows folder, empty when the system cannot say.
String WindowsFolder();
// The folder for temporary files, without a trailing "\".
String TempFolder();
// The user's application-data folder (special folder 26), empty when the
// shell cannot say.
String UserAppDataFolder();
