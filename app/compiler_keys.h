// The three compilers, where their installers record their folders, and
// the texts that report a rewrite.
#pragma once

#include <vector>

#include "classlib/core/types.h"

// The captions of the compiler buttons, left to right; each names its
// compiler in the registry key.
inline constexpr const char* kCompilerCaptions[3] = {"mikroC PRO", "mikroPascal PRO", "mikroBasic PRO"};

// The target families, as the "Compilers" group lists them.
inline constexpr const char* kTargetFamilies[6] = {"for PIC", "for dsPIC", "for PIC32",
                                                   "for ARM", "for AVR",   "for 8051"};

// The key whose default value is the compiler's folder, below
// HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER:
// "Software\zodozElektronika\mikroC PRO for PIC\".
String CompilerRegistryKey(const String& compilerCaption, const String& family);

// The item at index, or "" when the index names no item (-1: nothing
// selected).
String ItemAt(const std::vector<String>& items, int index);

// "mikroC PRO for PIC settings succesfully changed."
String CompilerChangedMessage(const String& compilerCaption, const String& family);
// "2 out of 3 settings succesfully changed." from the sum of the three
// results (1 for each failure).
String AllCompilersChangedMessage(int failures);
// The layout file could not be put into the compiler's "Layouts" folder.
String LayoutNotCopiedMessage(const String& sourceFile, const String& targetFile);
