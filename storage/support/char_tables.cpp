#include "storage/support/char_tables.h"

namespace {

TZevCharTables& Tables() {
    static TZevCharTables tables = ZevAsciiCharTables();
    return tables;
}

}  // namespace

const TZevCharTables& ZevCharTables() { return Tables(); }

void ZevInstallCharTables(const TZevCharTables& tables) { Tables() = tables; }

void ZevFillSwapMap(TZevCharTables& tables) {
    for (int c = 0; c < 256; ++c) {
        Word type = tables.CharTypes[c];
        if (type & ctUpper)
            tables.SwapMap[c] = tables.LowerMap[c];
        else if (type & ctLower)
            tables.SwapMap[c] = tables.UpperMap[c];
        else
            tables.SwapMap[c] = static_cast<char>(c);
    }
}

TZevCharTables ZevAsciiCharTables() {
    TZevCharTables t{};
    for (int c = 0; c < 256; ++c) {
        Word type = 0;
        bool upper = c >= 'A' && c <= 'Z';
        bool lower = c >= 'a' && c <= 'z';
        bool digit = c >= '0' && c <= '9';
        if (upper) type |= ctUpper | ctAlpha;
        if (lower) type |= ctLower | ctAlpha;
        if (digit) type |= ctDigit;
        if (digit || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')) type |= ctXDigit;
        if (c == ' ' || (c >= '\t' && c <= '\r')) type |= ctSpace;
        if (c == ' ' || c == '\t') type |= ctBlank;
        if (c < 0x20 || c == 0x7F) type |= ctCntrl;
        if (c > 0x20 && c < 0x7F && !upper && !lower && !digit) type |= ctPunct;
        t.CharTypes[c] = type;
        t.UpperMap[c] = static_cast<char>(lower ? c - 'a' + 'A' : c);
        t.LowerMap[c] = static_cast<char>(upper ? c - 'A' + 'a' : c);
    }
    ZevFillSwapMap(t);
    return t;
}
