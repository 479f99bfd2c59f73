#include "storage/support/file_version_info.h"

#include "classlib/core/strings.h"
#include "storage/support/errors.h"

namespace {

const char* const VersionKeyNames[] = {
    "Comments",        "CompanyName",      "FileDescription", "FileVersion",    "InternalName", "LegalCopyright",
    "LegalTradeMarks", "OriginalFilename", "ProductName",     "ProductVersion", "SpecialBuild", "PrivateBuild",
};

// The fixed part's flag bits, one per TZevFileFlag.
const LongWord FileFlagBits[] = {0x01, 0x10, 0x04, 0x02, 0x08, 0x20};

}  // namespace

String ZevVersionKeyName(int key) {
    return key >= 1 && key <= int(std::size(VersionKeyNames)) ? VersionKeyNames[key - 1] : String();
}

TZevFileVersionInfo::TZevFileVersionInfo(std::vector<Byte> resource, TZevWideToText wideToText)
    : FResource(std::move(resource)) {
    Parse(wideToText);
}

TZevFileVersionInfo::~TZevFileVersionInfo() = default;

void TZevFileVersionInfo::Parse(TZevWideToText wideToText) {
    FItems = std::make_unique<TStringList>();
    FLanguageItems = std::make_unique<TStringList>();
    if (!ParseVersionResource(FResource.data(), FResource.size(), FParsed, wideToText))
        throw EZevFileVersionInfoError(ZevText::NoVersionInfo);

    LongWord flags = FParsed.FixedInfo.FileFlags & FParsed.FixedInfo.FileFlagsMask;
    for (int f = ffDebug; f <= ffSpecialBuild; ++f)
        if (flags & FileFlagBits[f]) FFileFlags.Include(TZevFileFlag(f));

    for (const TZevVersionString& item : FParsed.Strings) {
        String line = item.Key + "=" + item.Value;
        FItems->Add(line);
        if (item.Table == FLanguageIndex) FLanguageItems->Add(line);
    }
}

String TZevFileVersionInfo::VersionKeyValue(int key) const {
    String name = ZevVersionKeyName(key);
    return name.empty() ? String() : FLanguageItems->Values(name);
}
