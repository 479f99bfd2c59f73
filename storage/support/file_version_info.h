// TZevFileVersionInfo: the version resource of a file, with its string
// values by name.
#pragma once

#include <memory>
#include <vector>

#include "classlib/core/object.h"
#include "classlib/core/sets.h"
#include "storage/support/version_resource.h"

class TStringList;

// The predefined keys, numbered from 1.
enum TZevVersionKey {
    vkComments = 1,
    vkCompanyName,
    vkFileDescription,
    vkFileVersion,
    vkInternalName,
    vkLegalCopyright,
    vkLegalTradeMarks,
    vkOriginalFilename,
    vkProductName,
    vkProductVersion,
    vkSpecialBuild,
    vkPrivateBuild,
};
// "Comments", "CompanyName"...; empty for a number outside 1 to 12.
String ZevVersionKeyName(int key);

enum TZevFileFlag { ffDebug, ffInfoInferred, ffPatched, ffPreRelease, ffPrivateBuild, ffSpecialBuild };
using TZevFileFlags = TSet<TZevFileFlag>;

class TZevFileVersionInfo : public TObject {
public:
    // Windows: reads the version resource of the file. Raises
    // EZevFileVersionInfoError "The file %s does not exist" or "File
    // contains no version information", and the class library's
    // operating-system error when the system cannot hand out the resource.
    explicit TZevFileVersionInfo(const String& fileName);
    // A version resource already in memory; raises EZevFileVersionInfoError
    // "File contains no version information" when it is no valid one.
    explicit TZevFileVersionInfo(std::vector<Byte> resource, TZevWideToText wideToText = ZevWideToLatin1);
    ~TZevFileVersionInfo() override;

    const std::vector<Byte>& Resource() const { return FResource; }
    const TZevFixedFileInfo& FixedFileInfo() const { return FParsed.FixedInfo; }
    TZevFileFlags FileFlags() const { return FFileFlags; }
    // "key=value" for every string of every string table, in resource order.
    const TStringList& Items() const { return *FItems; }
    // The string table of each item (from 0), parallel to Items.
    int ItemTable(int index) const { return FParsed.Strings.at(size_t(index)).Table; }
    // The items of the current language, the first string table.
    const TStringList& LanguageItems() const { return *FLanguageItems; }
    const std::vector<TZevVersionLanguage>& Languages() const { return FParsed.Languages; }
    int LanguageIndex() const { return FLanguageIndex; }
    const std::vector<LongWord>& Translations() const { return FParsed.Translations; }

    // The value of a predefined key in the current language, found ignoring
    // case; empty when absent.
    String VersionKeyValue(int key) const;

private:
    void Parse(TZevWideToText wideToText);

    std::vector<Byte> FResource;
    TZevVersionResource FParsed;
    TZevFileFlags FFileFlags;
    std::unique_ptr<TStringList> FItems;
    std::unique_ptr<TStringList> FLanguageItems;
    int FLanguageIndex = 0;
};
