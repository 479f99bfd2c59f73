#include "storage/ini_file_storage.h"

#include <cmath>
#include <cstring>

#include "classlib/core/inifiles.h"
#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"
#include "storage/storage_files.h"
#include "storage/support/hex.h"
#include "storage/support/paths.h"
#include "storage/text_macros.h"

QL_DEFINE_ENUM(TFileLocation, "flCustom", "flWindows", "flTemp", "flExeFile", "flUserFolder")

namespace {
constexpr const char* SectionUndefined = "TZvAppIniFileStorage.ReadValue: Section undefined";
}

// ---- Value texts ------------------------------------------------------------------------

namespace ZvIniText {

String EncodeValue(const String& value, bool replaceCRLF, bool preserveBlanks) {
    String text = value;
    if (replaceCRLF && text.find_first_of("\r\n") != String::npos) {
        String escaped;
        for (size_t i = 0; i < text.size(); ++i) {
            char c = text[i];
            if (c == '\\') {
                escaped += "\\\\";
            } else if (c == '\r') {
                escaped += "\\n";
                if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            } else if (c == '\n') {
                escaped += "\\n";
            } else {
                escaped += c;
            }
        }
        text = escaped;
    }
    if (preserveBlanks && !text.empty()) {
        auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
        if (blank(text.front()) || blank(text.back()) || (text.front() == '"' && text.back() == '"'))
            text = "\"" + text + "\"";
    }
    return text;
}

String DecodeValue(const String& text, bool replaceCRLF, bool preserveBlanks) {
    String value = text;
    if (preserveBlanks && value.size() > 1 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    if (replaceCRLF) {
        String plain;
        for (size_t i = 0; i < value.size(); ++i) {
            if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == '\\') {
                plain += '\\';
                ++i;
            } else if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == 'n') {
                plain += "\r\n";
                ++i;
            } else {
                plain += value[i];
            }
        }
        value = plain;
    }
    return value;
}

void DoubleToExtended(double value, Byte bytes[10]) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    unsigned sign = unsigned(bits >> 63);
    unsigned exponent = unsigned((bits >> 52) & 0x7FF);
    std::uint64_t fraction = bits & ((std::uint64_t(1) << 52) - 1);
    std::uint64_t mantissa = 0;
    unsigned extExponent = 0;
    if (exponent == 0x7FF) {
        extExponent = 0x7FFF;
        mantissa = (std::uint64_t(1) << 63) | (fraction << 11);
        if (fraction) mantissa |= std::uint64_t(1) << 62;  // a quiet NaN
    } else if (exponent == 0) {
        if (fraction) {
            // A subnormal double is a normal extended value.
            int top = 51;
            while (!((fraction >> top) & 1)) --top;
            mantissa = fraction << (63 - top);
            extExponent = unsigned(16383 - 1074 + top);
        }
    } else {
        mantissa = (std::uint64_t(1) << 63) | (fraction << 11);
        extExponent = exponent - 1023 + 16383;
    }
    for (int i = 0; i < 8; ++i) bytes[i] = Byte(mantissa >> (8 * i));
    unsigned top = extExponent | (sign << 15);
    bytes[8] = Byte(top);
    bytes[9] = Byte(top >> 8);
}

double ExtendedToDouble(const Byte bytes[10]) {
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | bytes[i];
    unsigned top = unsigned(bytes[8]) | (unsigned(bytes[9]) << 8);
    bool negative = (top & 0x8000) != 0;
    int exponent = int(top & 0x7FFF);
    double value;
    if (exponent == 0x7FFF)
        value = (mantissa << 1) == 0 ? HUGE_VAL : std::nan("");
    else if (mantissa == 0)
        value = 0.0;
    else
        value = std::ldexp(double(mantissa), (exponent == 0 ? 1 : exponent) - 16383 - 63);
    return negative ? -value : value;
}

bool IsListItemName(const String& name) {
    return name.size() > 4 && SameText(name.substr(0, 4), "Item") && name[4] >= '0' && name[4] <= '9';
}

}  // namespace ZvIniText

// ---- The memory-file layer ------------------------------------------------------------------

TClass TZvCustomAppMemoryFileStorage::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvCustomAppMemoryFileStorage>("TZvCustomAppMemoryFileStorage").Build();
    return &info;
}

TZvCustomAppMemoryFileStorage::TZvCustomAppMemoryFileStorage(TComponent* owner) : TZvCustomAppStorage(owner) {}

TZvCustomAppMemoryFileStorage::TZvCustomAppMemoryFileStorage(TComponent* owner, TZvCustomAppStorageOptions* options)
    : TZvCustomAppStorage(owner, options) {}

bool TZvCustomAppMemoryFileStorage::ReadOnly() const {
    if (IsDesigning()) return TZvCustomAppStorage::ReadOnly();
    return TZvCustomAppStorage::ReadOnly() || FPhysicalReadOnly;
}

void TZvCustomAppMemoryFileStorage::FileNameChanging() {
    // The old file is written back only when it was read: the content of a
    // store that never loaded it would replace what the file holds.
    if (!IsLoading() && !IsUpdating() && FFileLoaded) Flush();
}

void TZvCustomAppMemoryFileStorage::FileNameChanged() {
    RecalculateFullFileName();
    if (!IsLoading() && !IsUpdating()) Reload();
}

void TZvCustomAppMemoryFileStorage::SetFileName(const String& value) {
    String name = value;
    String extension = DefaultExtension();
    if (!name.empty() && !extension.empty()) {
        String current = ExtractFileExt(name);
        if (current.empty() || current == ".") name = PathWithExtension(name, extension);
    }
    if (name == FFileName) return;
    FileNameChanging();
    FFileName = name;
    FileNameChanged();
}

void TZvCustomAppMemoryFileStorage::SetLocation(TFileLocation value) {
    if (value == FLocation) return;
    FileNameChanging();
    FLocation = value;
    FileNameChanged();
}

void TZvCustomAppMemoryFileStorage::SetOnGetFileName(const TZvAppStorageGetFileNameEvent& value) {
    if (value == FOnGetFileName) return;
    FileNameChanging();
    FOnGetFileName = value;
    FileNameChanged();
}

void TZvCustomAppMemoryFileStorage::RecalculateFullFileName() {
    TZvStorageFileSystem& files = ZvStorageFileSystem();
    String full;
    if (!FFileName.empty() || FLocation == flCustom) {
        String expanded = ActiveTranslateStringEngine()->ExpandText(FFileName);
        String name = ExtractFileName(expanded);
        auto join = [](const String& folder, const String& file) {
            return folder.empty() ? file : PathWithSeparator(folder) + file;
        };
        switch (FLocation) {
        case flCustom:
            full = expanded;
            FOnGetFileName(this, full);
            break;
        case flWindows: full = join(files.WindowsFolder(), name); break;
        case flTemp: full = join(files.TempFolder(), name); break;
        case flExeFile: full = join(files.ExeFolder(), name); break;
        case flUserFolder: full = join(files.UserAppDataFolder(), PathIsRooted(expanded) ? name : expanded); break;
        }
    }
    FFullFileName = full;
    FPhysicalReadOnly = !full.empty() && files.FileIsReadOnly(full);
}

bool TZvCustomAppMemoryFileStorage::NeedsReload() const { return (!FFileLoaded || AutoReload()) && !IsUpdating(); }

void TZvCustomAppMemoryFileStorage::Loaded() {
    // The translate engine may have been set after the file name.
    RecalculateFullFileName();
    TZvCustomAppStorage::Loaded();
}

void TZvCustomAppMemoryFileStorage::Reload() {
    if (IsUpdating() || IsDesigning()) return;
    // Values written before the file was first read stay, laid over what
    // the file holds: a store keeps what was written to it.
    String pending = FFileLoaded ? String() : AsString();
    FFileLoaded = true;
    TZvStorageFileSystem& files = ZvStorageFileSystem();
    FPhysicalReadOnly = !FFullFileName.empty() && files.FileIsReadOnly(FFullFileName);
    if (FFullFileName.empty() || !files.FileExists(FFullFileName)) {
        ClearContent();
    } else {
        // A file that cannot be read (locked, no access) leaves the store
        // empty: the program goes on with its defaults.
        String fileName = FFullFileName;
        try {
            if (SynchronizeFlushReload())
                Synchronize(fileName, [&] { LoadContent(fileName); });
            else
                LoadContent(fileName);
        } catch (const Exception& e) {
            ClearContent();
            DoError(e.Message());
        }
    }
    if (!pending.empty()) OverlayContent(pending);
}

void TZvCustomAppMemoryFileStorage::Flush() {
    // A name without a file part (a folder) is no file to write.
    if (FFullFileName.empty() || ExtractFileName(FFullFileName).empty() || ReadOnly() || IsDesigning()) return;
    String fileName = FFullFileName;
    try {
        String folder = ExtractFileDir(fileName);
        if (!folder.empty()) ZvStorageFileSystem().ForceDirectories(folder);
        if (SynchronizeFlushReload())
            Synchronize(fileName, [&] { SaveContent(fileName); });
        else
            SaveContent(fileName);
    } catch (const Exception& e) {
        DoError(e.Message());
    }
}

// ---- INI options ------------------------------------------------------------------------------

TClass TZvAppIniStorageOptions::StaticClass() {
    using O = TZvAppIniStorageOptions;
    static const TClassInfo info = TClassBuilder<TZvAppIniStorageOptions>("TZvAppIniStorageOptions")
                                       .Prop("ReplaceCRLF", &O::ReplaceCRLF, &O::SetReplaceCRLF)
                                       .Default(false)
                                       .Prop("PreserveLeadingTrailingBlanks", &O::PreserveLeadingTrailingBlanks,
                                             &O::SetPreserveLeadingTrailingBlanks)
                                       .Default(false)
                                       .Build();
    return &info;
}

TZvAppIniStorageOptions::TZvAppIniStorageOptions() { SetFloatAsString(false); }

void TZvAppIniStorageOptions::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TZvAppIniStorageOptions*>(source)) {
        FReplaceCRLF = other->FReplaceCRLF;
        FPreserveLeadingTrailingBlanks = other->FPreserveLeadingTrailingBlanks;
    }
    TZvAppStorageOptions::Assign(source);
}

// ---- The INI store ----------------------------------------------------------------------------

TClass TZvCustomAppIniStorage::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvCustomAppIniStorage>("TZvCustomAppIniStorage").Build();
    return &info;
}

TZvCustomAppIniStorage::TZvCustomAppIniStorage(TComponent* owner)
    : TZvCustomAppMemoryFileStorage(owner, new TZvAppIniStorageOptions), FIniFile(std::make_unique<TMemIniFile>("")) {}

TZvCustomAppIniStorage::~TZvCustomAppIniStorage() {
    // The content goes with this object: flush while it is still here.
    FlushForDestruction();
}

TClass TZvCustomAppIniStorage::StorageOptionsClass() const { return TZvAppIniStorageOptions::StaticClass(); }

TZvAppIniStorageOptions* TZvCustomAppIniStorage::IniStorageOptions() const {
    return static_cast<TZvAppIniStorageOptions*>(StorageOptions());
}

String TZvCustomAppIniStorage::AsString() {
    TStringList lines;
    FIniFile->GetStrings(&lines);
    return lines.Text();
}

void TZvCustomAppIniStorage::SetAsString(const String& value) {
    TStringList lines;
    lines.SetText(value);
    FIniFile->SetStrings(&lines);
}

void TZvCustomAppIniStorage::ClearContent() { FIniFile->Clear(); }

void TZvCustomAppIniStorage::LoadContent(const String& fileName) {
    // Read first: a file that cannot be read leaves the content as it was.
    String content = ZvStorageFileSystem().ReadWholeFile(fileName);
    FIniFile->Rename(fileName, false);
    SetAsString(content);
}

void TZvCustomAppIniStorage::SaveContent(const String& fileName) {
    FIniFile->Rename(fileName, false);
    ZvStorageFileSystem().WriteWholeFile(fileName, AsString());
}

void TZvCustomAppIniStorage::OverlayContent(const String& content) {
    TMemIniFile written("");
    TStringList lines;
    lines.SetText(content);
    written.SetStrings(&lines);
    TStringList sections, keys;
    written.ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i) {
        const String section = sections.Strings(i);
        keys.Clear();
        written.ReadSection(section, &keys);
        for (int k = 0; k < keys.Count(); ++k)
            FIniFile->WriteString(section, keys.Strings(k), written.ReadString(section, keys.Strings(k), String()));
    }
}

String TZvCustomAppIniStorage::FolderSection(const String& folder) const {
    if (folder.empty()) return FDefaultSection;
    if (folder[0] == '.') return FDefaultSection + folder;
    return folder;
}

void TZvCustomAppIniStorage::SplitKeyPath(const String& key, String& section, String& valueName) const {
    size_t p = key.rfind('\\');
    String folder = p == String::npos ? String() : key.substr(0, p);
    valueName = p == String::npos ? key : key.substr(p + 1);
    section = FolderSection(folder);
    if (section.empty() || section[0] == '.') throw EZVLAppStorageError(SectionUndefined);
}

bool TZvCustomAppIniStorage::ValueExists(const String& section, const String& key) {
    return FIniFile->ValueExists(section, key);
}

String TZvCustomAppIniStorage::ReadValue(const String& section, const String& key) {
    return FIniFile->ReadString(section, key, String());
}

void TZvCustomAppIniStorage::WriteValue(const String& section, const String& key, const String& value) {
    FIniFile->WriteString(section, key, value);
}

void TZvCustomAppIniStorage::RemoveValue(const String& section, const String& key) {
    FIniFile->DeleteKey(section, key);
}

namespace {

bool HasSection(TMemIniFile& ini, const String& section) {
    TStringList sections;
    ini.ReadSections(&sections);
    return sections.IndexOf(section) >= 0;
}

}  // namespace

bool TZvCustomAppIniStorage::ValueStoredInt(const String& key) {
    String section, name;
    SplitKeyPath(key, section, name);
    return ValueExists(section, name);
}

bool TZvCustomAppIniStorage::IsFolderInt(const String& key, bool listIsValue) {
    String section = key.empty() ? FDefaultSection : key;
    if (!section.empty() && FIniFile->SectionExists(section)) {
        if (!listIsValue || !ValueExists(section, "Count")) return true;
        TStringList names;
        FIniFile->ReadSection(section, &names);
        for (int i = 0; i < names.Count(); ++i)
            if (!SameText(names[i], "Count") && !ZvIniText::IsListItemName(names[i])) return true;
    }
    if (key.empty()) return false;
    String prefix = key + "\\";
    TStringList sections;
    FIniFile->ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i)
        if (StartsText(prefix, sections[i])) return true;
    return false;
}

void TZvCustomAppIniStorage::EnumFolders(const String& key, TStrings* strings, bool reportListAsValue) {
    TStringList sections;
    FIniFile->ReadSections(&sections);
    String prefix = key.empty() ? String() : key + "\\";
    TUpdateScope update(*strings);
    strings->Clear();
    for (int i = 0; i < sections.Count(); ++i) {
        const String section = sections[i];
        if (key.empty() && !FDefaultSection.empty() && SameText(section, FDefaultSection)) continue;
        if (!prefix.empty() && !StartsText(prefix, section)) continue;
        if (reportListAsValue && ValueExists(section, "Count")) continue;
        String rest = section.substr(prefix.size());
        String first = rest.substr(0, rest.find('\\'));
        if (!first.empty() && strings->IndexOf(first) < 0) strings->Add(first);
    }
}

void TZvCustomAppIniStorage::EnumValues(const String& key, TStrings* strings, bool reportListAsValue) {
    String section = key.empty() ? FDefaultSection : key;
    TUpdateScope update(*strings);
    strings->Clear();
    if (!section.empty()) {
        FIniFile->ReadSection(section, strings);
        if (reportListAsValue && ValueExists(section, "Count")) {
            for (int i = strings->Count() - 1; i >= 0; --i)
                if (SameText((*strings)[i], "Count") || ZvIniText::IsListItemName((*strings)[i])) strings->Delete(i);
            strings->Add(String());
        }
    }
}

void TZvCustomAppIniStorage::DeleteValueInt(const String& key) {
    String section, name;
    SplitKeyPath(key, section, name);
    if (ValueExists(section, name)) {
        RemoveValue(section, name);
        return;
    }
    String sub = section + "\\" + name;
    if (HasSection(*FIniFile, sub)) FIniFile->EraseSection(sub);
}

void TZvCustomAppIniStorage::DeleteSubTreeInt(const String& key) {
    if (key.empty()) {
        FIniFile->Clear();
        return;
    }
    // The folder and what lies below it, not every section whose name
    // merely begins with the same letters.
    String below = key + "\\";
    TStringList sections;
    FIniFile->ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i)
        if (SameText(sections[i], key) || StartsText(below, sections[i])) FIniFile->EraseSection(sections[i]);
}

int TZvCustomAppIniStorage::DoReadInteger(const String& key, int defaultValue) {
    String section, name;
    SplitKeyPath(key, section, name);
    if (!ValueExists(section, name)) return defaultValue;
    String text = Trim(ReadValue(section, name));
    return text.empty() ? 0 : StrToInt(text);
}

void TZvCustomAppIniStorage::DoWriteInteger(const String& key, int value) {
    String section, name;
    SplitKeyPath(key, section, name);
    WriteValue(section, name, IntToStr(value));
}

double TZvCustomAppIniStorage::DoReadFloat(const String& key, double defaultValue) {
    String section, name;
    SplitKeyPath(key, section, name);
    if (!ValueExists(section, name)) return defaultValue;
    Byte bytes[10] = {};
    if (HexToBytes(ReadValue(section, name), bytes, sizeof(bytes)) != sizeof(bytes)) return defaultValue;
    return ZvIniText::ExtendedToDouble(bytes);
}

void TZvCustomAppIniStorage::DoWriteFloat(const String& key, double value) {
    String section, name;
    SplitKeyPath(key, section, name);
    Byte bytes[10];
    ZvIniText::DoubleToExtended(value, bytes);
    WriteValue(section, name, BytesToHex(bytes, sizeof(bytes)));
}

String TZvCustomAppIniStorage::DoReadString(const String& key, const String& defaultValue) {
    String section, name;
    SplitKeyPath(key, section, name);
    if (!ValueExists(section, name)) return defaultValue;
    TZvAppIniStorageOptions* options = IniStorageOptions();
    return ZvIniText::DecodeValue(ReadValue(section, name), options->ReplaceCRLF(),
                                  options->PreserveLeadingTrailingBlanks());
}

void TZvCustomAppIniStorage::DoWriteString(const String& key, const String& value) {
    String section, name;
    SplitKeyPath(key, section, name);
    TZvAppIniStorageOptions* options = IniStorageOptions();
    WriteValue(section, name,
               ZvIniText::EncodeValue(value, options->ReplaceCRLF(), options->PreserveLeadingTrailingBlanks()));
}

int TZvCustomAppIniStorage::DoReadBinary(const String& key, void* buffer, int bufferSize) {
    String section, name;
    SplitKeyPath(key, section, name);
    if (bufferSize <= 0 || !ValueExists(section, name)) return 0;
    return int(HexToBytes(ReadValue(section, name), buffer, size_t(bufferSize)));
}

void TZvCustomAppIniStorage::DoWriteBinary(const String& key, const void* buffer, int bufferSize) {
    String section, name;
    SplitKeyPath(key, section, name);
    WriteValue(section, name, BytesToHex(buffer, bufferSize > 0 ? size_t(bufferSize) : 0));
}

// ---- The published INI store ------------------------------------------------------------------

TClass TZvAppIniFileStorage::StaticClass() {
    using B = TZvCustomAppStorage;
    using M = TZvCustomAppMemoryFileStorage;
    using I = TZvCustomAppIniStorage;
    static const TClassInfo info =
        TClassBuilder<TZvAppIniFileStorage>("TZvAppIniFileStorage")
            .Prop("AutoFlush", &B::AutoFlush, &B::SetAutoFlush)
            .Default(false)
            .Prop("AutoReload", &B::AutoReload, &B::SetAutoReload)
            .Default(false)
            .Prop("FileName", &M::FileName, &M::SetFileName)
            .Prop("FlushOnDestroy", &B::FlushOnDestroy, &B::SetFlushOnDestroy)
            .Default(true)
            .Prop("Location", &M::Location, &M::SetLocation)
            .Default(flExeFile)
            .Prop("DefaultSection", &I::DefaultSection, &I::SetDefaultSection)
            .Prop("SubStorages", &B::SubStorages, &B::SetSubStorages)
            .Prop("OnGetFileName", &M::OnGetFileName, &M::SetOnGetFileName)
            .Prop("SynchronizeFlushReload", &B::SynchronizeFlushReload, &B::SetSynchronizeFlushReload)
            .Default(false)
            .Prop("StorageOptions", &I::IniStorageOptions, &B::SetStorageOptions)
            .Prop("ReadOnly", &B::StoredReadOnly, &B::SetReadOnly)
            .Default(false)
            .Prop("TranslateStringEngine", &B::TranslateStringEngine, &B::SetTranslateStringEngine)
            .Prop("OnTranslatePropertyName", &B::OnTranslatePropertyName, &B::OnTranslatePropertyName)
            .Prop("OnEncryptPropertyValue", &B::OnEncryptPropertyValue, &B::OnEncryptPropertyValue)
            .Prop("OnDecryptPropertyValue", &B::OnDecryptPropertyValue, &B::OnDecryptPropertyValue)
            .Prop("OnError", &B::OnError, &B::OnError)
            .Build();
    return &info;
}

TZvAppIniFileStorage::TZvAppIniFileStorage(TComponent* owner) : TZvCustomAppIniStorage(owner) {}

// ---- The unit -----------------------------------------------------------------------------------

void ZvAppStorageInitialize() { RegisterClasses({TZvAppIniFileStorage::StaticClass()}); }

void ZvAppStorageFinalize() { ClearAppStoragePropertyEngines(); }
