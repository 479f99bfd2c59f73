// Parsing a file's version resource (the bytes GetFileVersionInfo gives):
// the fixed part, every string table with its language, every string and
// the "Translation" list.
//
// Both layouts of the resource are read: the 32-bit one (UTF-16 keys and a
// value type in every block header) and the older 16-bit one (8-bit keys,
// every value text). Every block must lie inside the block that holds it
// and inside the buffer; a resource that breaks that, or whose root, fixed
// part or string tables are not what they should be, is rejected as a
// whole, and nothing outside the buffer is ever read.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "classlib/core/sets.h"
#include "classlib/core/types.h"

// VS_FIXEDFILEINFO, 52 bytes.
struct TZevFixedFileInfo {
    LongWord Signature;
    LongWord StrucVersion;
    LongWord FileVersionMS;
    LongWord FileVersionLS;
    LongWord ProductVersionMS;
    LongWord ProductVersionLS;
    LongWord FileFlagsMask;
    LongWord FileFlags;
    LongWord FileOS;
    LongWord FileType;
    LongWord FileSubtype;
    LongWord FileDateMS;
    LongWord FileDateLS;
};
static_assert(sizeof(TZevFixedFileInfo) == 52);

inline constexpr LongWord ZevFixedFileInfoSignature = 0xFEEF04BD;

// A string table's language: its language identifier and code page.
struct TZevVersionLanguage {
    Word LanguageId = 0;
    Word CodePage = 0;
    bool operator==(const TZevVersionLanguage&) const = default;
};

// One string of a string table; Table counts the string tables from 0.
struct TZevVersionString {
    int Table = 0;
    String Key;
    String Value;
};

struct TZevVersionResource {
    TZevFixedFileInfo FixedInfo{};
    std::vector<TZevVersionLanguage> Languages;  // one per string table, in resource order
    std::vector<TZevVersionString> Strings;
    std::vector<LongWord> Translations;  // the entries of "Translation"
};

// Turns UTF-16 text of the resource into the program's 8-bit text.
using TZevWideToText = String (*)(std::u16string_view text);
// The portable conversion: characters up to U+00FF as themselves, any other
// as "?". The Windows build converts to the system code page instead.
String ZevWideToLatin1(std::u16string_view text);

// Parses size bytes at data into resource; false when the bytes are no
// valid version resource (resource is then unspecified).
bool ParseVersionResource(const void* data, size_t size, TZevVersionResource& resource,
                          TZevWideToText wideToText = ZevWideToLatin1);
