// Character tables for the 256 8-bit character codes: the character type of
// each code and its lower-case, upper-case and swapped-case forms.
//
// Until the program's start-up installs the tables of the user's locale
// (ZevSupportInitialize, Windows), the tables hold the plain ASCII rules,
// which is also what the portable build uses.
#pragma once

#include "classlib/core/types.h"

// Character-type bits, with the values of the platform's CT_CTYPE1 bits.
enum TZevCharType : Word {
    ctUpper = 0x0001,
    ctLower = 0x0002,
    ctDigit = 0x0004,
    ctSpace = 0x0008,
    ctPunct = 0x0010,
    ctCntrl = 0x0020,
    ctBlank = 0x0040,
    ctXDigit = 0x0080,
    ctAlpha = 0x0100,
};

struct TZevCharTables {
    Word CharTypes[256];
    char LowerMap[256];
    char UpperMap[256];
    // An upper-case letter maps to lower case, a lower-case letter to upper
    // case, anything else to itself.
    char SwapMap[256];
};

const TZevCharTables& ZevCharTables();
// Replaces the tables; start-up code calls it once, before other threads run.
void ZevInstallCharTables(const TZevCharTables& tables);
// The ASCII tables.
TZevCharTables ZevAsciiCharTables();
// Fills SwapMap from CharTypes, LowerMap and UpperMap.
void ZevFillSwapMap(TZevCharTables& tables);

inline char ZevCharUpper(char c) { return ZevCharTables().UpperMap[static_cast<Byte>(c)]; }
inline char ZevCharLower(char c) { return ZevCharTables().LowerMap[static_cast<Byte>(c)]; }
