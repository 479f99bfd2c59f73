// The start-up work of the support routines and what it gathers about the
// system (Windows only).
#pragma once

#include <string_view>

#include "storage/support/windows_version.h"

struct TZevSystemInfo {
    LongWord ProcessorCount = 1;
    LongWord AllocationGranularity = 0x10000;
    LongWord PageSize = 0x1000;
    bool IsWinNT = true;
    TZevWindowsVersion WindowsVersion = wvUnknown;
    // The replacement character of the system code page.
    char AnsiReplacementChar = '?';
};

// The support routines' unit (see classlib/core/units.h). Initialising
// builds the character tables from the user's locale, records the system
// information and installs the program's macro source and the file stores'
// services (storage/storage_files.h); a second call does
// nothing. It raises EZevInternalError "Failed to get ANSI replacement
// character" when the system code page cannot be read. Finalising puts the
// ASCII tables and the empty macro source back.
void ZevSupportInitialize();
void ZevSupportFinalize();

const TZevSystemInfo& ZevSystemInfo();

// Compares two texts by the rules of the user's locale: < 0, 0 or > 0
// (CompareString's result less 2).
int ZevCompareWideText(std::wstring_view a, std::wstring_view b);
