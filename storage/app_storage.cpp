#include "storage/app_storage.h"

#include <algorithm>

#include <cstring>
#include <memory>

#include "classlib/core/scopes.h"
#include "classlib/core/strings.h"
#include "classlib/core/sysutils.h"
#include "storage/storage_files.h"
#include "storage/support/base64.h"
#include "storage/support/errors.h"
#include "storage/support/rtti.h"
#include "storage/text_macros.h"

// ---- Paths ------------------------------------------------------------------------------

String CompactPath(const std::vector<String>& pieces) {
    size_t start = 0;
    for (size_t i = 0; i < pieces.size(); ++i)
        if (!pieces[i].empty() && pieces[i][0] == '\\') start = i;
    std::vector<String> segments;
    for (size_t i = start; i < pieces.size(); ++i) {
        const String& piece = pieces[i];
        size_t from = 0;
        while (from <= piece.size()) {
            size_t to = piece.find('\\', from);
            if (to == String::npos) to = piece.size();
            String segment = piece.substr(from, to - from);
            from = to + 1;
            if (segment.empty() || segment == ".") continue;
            if (segment.size() >= 2 && segment.find_first_not_of('.') == String::npos) {
                for (size_t n = segment.size() - 1; n > 0 && !segments.empty(); --n) segments.pop_back();
                continue;
            }
            segments.push_back(std::move(segment));
        }
    }
    String result;
    for (size_t i = 0; i < segments.size(); ++i) {
        if (i > 0) result += '\\';
        result += segments[i];
    }
    return result;
}

namespace {

// The absolute path of name under a resolved (absolute) path.
String SubPath(const String& targetPath, const String& name) {
    String path(1, '\\');
    path += CompactPath({targetPath, name});
    return path;
}

String FirstListItem(const String& list) { return Trim(list.substr(0, list.find(','))); }

bool InList(const String& list, const String& value) {
    String upperValue = AnsiUpperCase(value);
    String upperList = AnsiUpperCase(list);
    size_t from = 0;
    while (from <= upperList.size()) {
        size_t to = upperList.find(',', from);
        if (to == String::npos) to = upperList.size();
        if (Trim(upperList.substr(from, to - from)) == upperValue) return true;
        from = to + 1;
    }
    return false;
}

// UTF-16 <-> UTF-8 for wide texts; unpaired surrogates and malformed bytes
// become U+FFFD.
String Utf16ToUtf8(const std::u16string& text) {
    String out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(const String& text) {
    std::u16string out;
    size_t i = 0, n = text.size();
    while (i < n) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool ok = extra >= 0 && i + size_t(extra) < n;
        for (int k = 1; ok && k <= extra; ++k) {
            unsigned char cb = static_cast<unsigned char>(text[i + size_t(k)]);
            if ((cb & 0xC0) != 0x80)
                ok = false;
            else
                c = (c << 6) | (cb & 0x3F);
        }
        static const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) ok = false;
        if (!ok) {
            out += char16_t(0xFFFD);
            ++i;
            continue;
        }
        i += size_t(extra) + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

std::vector<std::unique_ptr<TZvAppStoragePropertyBaseEngine>>& PropertyEngines() {
    static std::vector<std::unique_ptr<TZvAppStoragePropertyBaseEngine>> engines;
    return engines;
}

TZvAppStoragePropertyBaseEngine* EngineFor(TObject* instance, TObject* property) {
    for (auto& engine : PropertyEngines())
        if (engine->Supports(instance, property)) return engine.get();
    return nullptr;
}

}  // namespace

// ---- Property engines --------------------------------------------------------------------

void RegisterAppStoragePropertyEngine(TZvAppStoragePropertyBaseEngine* engine) {
    if (engine) PropertyEngines().emplace_back(engine);
}

void UnregisterAppStoragePropertyEngine(TZvAppStoragePropertyBaseEngine* engine) {
    auto& engines = PropertyEngines();
    for (auto it = engines.begin(); it != engines.end(); ++it)
        if (it->get() == engine) {
            engines.erase(it);
            return;
        }
}

void ClearAppStoragePropertyEngines() { PropertyEngines().clear(); }

// ---- Property stores -------------------------------------------------------------------

TClass TZvCustomPropertyStore::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvCustomPropertyStore>("TZvCustomPropertyStore").Build();
    return &info;
}

TZvCustomPropertyStore::TZvCustomPropertyStore(TComponent* owner)
    : TZvComponent(owner), FIgnoreProperties(new TStringList), FInternalIgnoreProperties(new TStringList),
      FCombinedIgnoreList(new TStringList) {
    FInternalIgnoreProperties->SetCommaText("Name,Tag,AppStorage,AppStoragePath,IgnoreProperties");
}

TZvCustomPropertyStore::~TZvCustomPropertyStore() {
    delete FCombinedIgnoreList;
    delete FInternalIgnoreProperties;
    delete FIgnoreProperties;
}

TStringList* TZvCustomPropertyStore::CombinedIgnoreList() {
    FCombinedIgnoreList->Clear();
    FCombinedIgnoreList->AddStrings(FIgnoreProperties);
    FCombinedIgnoreList->AddStrings(FInternalIgnoreProperties);
    return FCombinedIgnoreList;
}

void TZvCustomPropertyStore::StoreProperties() {
    if (FAppStorage) FAppStorage->WritePersistent(FAppStoragePath, this, true, CombinedIgnoreList());
}

void TZvCustomPropertyStore::LoadProperties() {
    if (FAppStorage) FAppStorage->ReadPersistent(FAppStoragePath, this, true, true, CombinedIgnoreList());
}

// ---- Options ----------------------------------------------------------------------------

TClass TZvCustomAppStorageOptions::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvCustomAppStorageOptions>("TZvCustomAppStorageOptions").Build();
    return &info;
}

TClass TZvAppStorageOptions::StaticClass() {
    using O = TZvCustomAppStorageOptions;
    static const TClassInfo info =
        TClassBuilder<TZvAppStorageOptions>("TZvAppStorageOptions")
            .Prop("BooleanStringTrueValues", &O::BooleanStringTrueValues, &O::SetBooleanStringTrueValues)
            .Default(O::DefaultBooleanTrueValues)
            .Prop("BooleanStringFalseValues", &O::BooleanStringFalseValues, &O::SetBooleanStringFalseValues)
            .Default(O::DefaultBooleanFalseValues)
            .Prop("BooleanAsString", &O::BooleanAsString, &O::SetBooleanAsString)
            .Default(true)
            .Prop("EnumerationAsString", &O::EnumerationAsString, &O::SetEnumerationAsString)
            .Default(true)
            .Prop("TypedIntegerAsString", &O::TypedIntegerAsString, &O::SetTypedIntegerAsString)
            .Default(true)
            .Prop("SetAsString", &O::SetAsString, &O::SetSetAsString)
            .Default(false)
            .Prop("DateTimeAsString", &O::DateTimeAsString, &O::SetDateTimeAsString)
            .Default(true)
            .Prop("FloatAsString", &O::FloatAsString, &O::SetFloatAsString)
            .Default(false)
            .Prop("DefaultIfReadConvertError", &O::DefaultIfReadConvertError, &O::SetDefaultIfReadConvertError)
            .Default(false)
            .Prop("DefaultIfValueNotExists", &O::DefaultIfValueNotExists, &O::SetDefaultIfValueNotExists)
            .Default(true)
            .Prop("StoreDefaultValues", &O::StoreDefaultValues, &O::SetStoreDefaultValues)
            .Default(true)
            .Prop("UseOldItemNameFormat", &O::UseOldItemNameFormat, &O::SetUseOldItemNameFormat)
            .Default(true)
            .Prop("UseTranslateStringEngineDateTimeFormats", &O::UseTranslateStringEngineDateTimeFormats,
                  &O::SetUseTranslateStringEngineDateTimeFormats)
            .Default(false)
            .Build();
    return &info;
}

TZvCustomAppStorageOptions::TZvCustomAppStorageOptions() = default;

void TZvCustomAppStorageOptions::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TZvCustomAppStorageOptions*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    FBooleanStringTrueValues = other->FBooleanStringTrueValues;
    FBooleanStringFalseValues = other->FBooleanStringFalseValues;
    FBooleanAsString = other->FBooleanAsString;
    FEnumerationAsString = other->FEnumerationAsString;
    FTypedIntegerAsString = other->FTypedIntegerAsString;
    FSetAsString = other->FSetAsString;
    FDateTimeAsString = other->FDateTimeAsString;
    FFloatAsString = other->FFloatAsString;
    FDefaultIfReadConvertError = other->FDefaultIfReadConvertError;
    FDefaultIfValueNotExists = other->FDefaultIfValueNotExists;
    FStoreDefaultValues = other->FStoreDefaultValues;
    FUseOldItemNameFormat = other->FUseOldItemNameFormat;
    FUseTranslateStringEngineDateTimeFormats = other->FUseTranslateStringEngineDateTimeFormats;
    FStoreStringListAsSingleString = other->FStoreStringListAsSingleString;
}

void TZvCustomAppStorageOptions::CheckBooleanAsString() {
    FBooleanAsString = FBooleanAsString && !DefaultTrueString().empty() && !DefaultFalseString().empty();
}

void TZvCustomAppStorageOptions::SetBooleanStringTrueValues(const String& value) {
    FBooleanStringTrueValues = value;
    CheckBooleanAsString();
}

void TZvCustomAppStorageOptions::SetBooleanStringFalseValues(const String& value) {
    FBooleanStringFalseValues = value;
    CheckBooleanAsString();
}

void TZvCustomAppStorageOptions::SetBooleanAsString(bool value) {
    FBooleanAsString = value;
    CheckBooleanAsString();
}

String TZvCustomAppStorageOptions::DefaultTrueString() const { return FirstListItem(FBooleanStringTrueValues); }
String TZvCustomAppStorageOptions::DefaultFalseString() const { return FirstListItem(FBooleanStringFalseValues); }
bool TZvCustomAppStorageOptions::IsValueTrueString(const String& value) const {
    return InList(FBooleanStringTrueValues, value);
}
bool TZvCustomAppStorageOptions::IsValueFalseString(const String& value) const {
    return InList(FBooleanStringFalseValues, value);
}

// ---- Sub-stores --------------------------------------------------------------------------

TClass TZvAppSubStorage::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvAppSubStorage>("TZvAppSubStorage")
            .Prop("RootPath", &TZvAppSubStorage::RootPath, &TZvAppSubStorage::SetRootPath)
            .Prop("AppStorage", &TZvAppSubStorage::AppStorage, &TZvAppSubStorage::SetAppStorage)
            .Build();
    return &info;
}

TZvAppSubStorage::TZvAppSubStorage(TCollection* collection) : TCollectionItem(collection) {}

TZvAppSubStorage::~TZvAppSubStorage() = default;

TZvCustomAppStorage* TZvAppSubStorage::OwnerStore() const {
    auto* list = dynamic_cast<TZvAppSubStorages*>(Collection());
    return list ? list->AppStorage() : nullptr;
}

void TZvAppSubStorage::SetAppStorage(TZvCustomAppStorage* value) {
    if (value == FAppStorage) return;
    TZvCustomAppStorage* owner = OwnerStore();
    if (value && owner && (value == owner || value->HasSubStorage(owner)))
        throw EZVLAppStorageError(ZvAppStorageText::CircularReferenceOfStorages);
    FAppStorage = value;
    if (value && owner) value->FreeNotification(owner);
}

void TZvAppSubStorage::SetRootPath(const String& value) {
    String root = CompactPath({value});
    auto* list = dynamic_cast<TZvAppSubStorages*>(Collection());
    if (list && !list->RootUnique(root, Index()))
        throw EZVLAppStorageError(Format(ZvAppStorageText::NotAUniqueRootPath, {root}));
    FRootPath = root;
}

String TZvAppSubStorage::GetDisplayName() {
    String name = FAppStorage ? FAppStorage->Name() : String();
    return "\\" + FRootPath + "=" + (name.empty() ? "(none)" : name);
}

void TZvAppSubStorage::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TZvAppSubStorage*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    SetRootPath(other->RootPath());
    SetAppStorage(other->AppStorage());
}

TClass TZvAppSubStorages::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvAppSubStorages>("TZvAppSubStorages").Build();
    return &info;
}

TZvAppSubStorages::TZvAppSubStorages(TZvCustomAppStorage* owner)
    : TOwnedCollection(owner, TZvAppSubStorage::StaticClass()), FOwnerStore(owner) {}

TZvAppSubStorage* TZvAppSubStorages::Items(int index) const {
    return static_cast<TZvAppSubStorage*>(TCollection::Items(index));
}

TZvAppSubStorage* TZvAppSubStorages::Add() { return static_cast<TZvAppSubStorage*>(TCollection::Add()); }

bool TZvAppSubStorages::RootUnique(const String& rootPath, int ignoreIndex) const {
    for (int i = 0; i < Count(); ++i) {
        if (i == ignoreIndex) continue;
        const String& other = Items(i)->RootPath();
        if (SameText(other, rootPath)) return false;
        if (other.size() > rootPath.size() && other[rootPath.size()] == '\\' &&
            SameText(other.substr(0, rootPath.size()), rootPath))
            return false;
    }
    return true;
}

TZvAppSubStorage* TZvAppSubStorages::MatchFor(const String& path) const {
    String p = CompactPath({path});
    TZvAppSubStorage* best = nullptr;
    for (int i = 0; i < Count(); ++i) {
        TZvAppSubStorage* item = Items(i);
        const String& root = item->RootPath();
        if (root.empty() || !item->AppStorage() || root.size() > p.size()) continue;
        if (!SameText(p.substr(0, root.size()), root)) continue;
        if (p.size() != root.size() && p[root.size()] != '\\') continue;
        if (!best || root.size() > best->RootPath().size()) best = item;
    }
    return best;
}

void TZvAppSubStorages::RemoveStorage(const TComponent* store) {
    for (int i = Count() - 1; i >= 0; --i)
        if (static_cast<const TComponent*>(Items(i)->AppStorage()) == store) Delete(i);
}

// ---- The store -----------------------------------------------------------------------------

TClass TZvCustomAppStorage::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvCustomAppStorage>("TZvCustomAppStorage").Build();
    return &info;
}

TZvCustomAppStorage::TZvCustomAppStorage(TComponent* owner) : TZvComponent(owner) { Construct(nullptr); }

TZvCustomAppStorage::TZvCustomAppStorage(TComponent* owner, TZvCustomAppStorageOptions* options) : TZvComponent(owner) {
    Construct(options);
}

void TZvCustomAppStorage::Construct(TZvCustomAppStorageOptions* options) {
    FStorageOptions = options ? options : new TZvAppStorageOptions;
    FSubStorages = new TZvAppSubStorages(this);
    FInternalTranslateStringEngine = new TZvTranslateString(this);
}

TZvCustomAppStorage::~TZvCustomAppStorage() {
    FlushForDestruction();
    // The internal engine is owned (and freed) as a component.
    delete FSubStorages;
    FSubStorages = nullptr;
    delete FStorageOptions;
    FStorageOptions = nullptr;
}

void TZvCustomAppStorage::BeforeDestruction() {
    FlushForDestruction();
    TZvComponent::BeforeDestruction();
}

void TZvCustomAppStorage::FlushForDestruction() {
    if (FFlushedOnDestroy) return;
    FFlushedOnDestroy = true;
    if (!FFlushOnDestroy) return;
    try {
        Flush();
    } catch (...) {}
}

void TZvCustomAppStorage::Loaded() {
    TZvComponent::Loaded();
    if (!IsUpdating()) Reload();
}

void TZvCustomAppStorage::Notification(TComponent* component, TOperation operation) {
    TZvComponent::Notification(component, operation);
    if (operation != opRemove || !component) return;
    if (component == FTranslateStringEngine) FTranslateStringEngine = nullptr;
    if (component == FInternalTranslateStringEngine) FInternalTranslateStringEngine = nullptr;
    // The component may be half destroyed already: compared by address.
    if (FSubStorages) FSubStorages->RemoveStorage(component);
}

void TZvCustomAppStorage::SetStorageOptions(TZvCustomAppStorageOptions* value) {
    if (value && value != FStorageOptions) FStorageOptions->Assign(value);
}

TClass TZvCustomAppStorage::StorageOptionsClass() const { return TZvAppStorageOptions::StaticClass(); }

void TZvCustomAppStorage::SetSubStorages(TZvAppSubStorages* value) {
    if (value && value != FSubStorages) FSubStorages->Assign(value);
}

void TZvCustomAppStorage::SetTranslateStringEngine(TZvTranslateString* value) {
    if (value == FTranslateStringEngine) return;
    if (FTranslateStringEngine) FTranslateStringEngine->RemoveFreeNotification(this);
    FTranslateStringEngine = value;
    if (value) value->FreeNotification(this);
}

TZvTranslateString* TZvCustomAppStorage::ActiveTranslateStringEngine() const {
    return FTranslateStringEngine ? FTranslateStringEngine : FInternalTranslateStringEngine;
}

bool TZvCustomAppStorage::HasSubStorage(const TZvCustomAppStorage* store) const {
    for (int i = 0; i < FSubStorages->Count(); ++i) {
        TZvCustomAppStorage* sub = FSubStorages->Items(i)->AppStorage();
        if (sub && (sub == store || sub->HasSubStorage(store))) return true;
    }
    return false;
}

// ---- Components stored by name ----------------------------------------------------------------

TComponent* FindComponentOutwards(TComponent* level, const String& name) {
    if (name.empty()) return nullptr;
    for (; level; level = level->Owner())
        for (int i = 0; i < level->ComponentCount(); ++i)
            if (level->Components(i)->Name() == name) return level->Components(i);
    return nullptr;
}

bool IsComponentClass(TClass cls) { return cls && cls->InheritsFrom(TComponent::StaticClass()); }

void AssignComponentByName(TObject* instance, const TPropInfo* prop, TComponent* level, const String& name) {
    TComponent* found = FindComponentOutwards(level, name);
    if (found && found->InheritsFrom(prop->PropType()->ClassType())) SetObjectProp(instance, prop, found);
}

// ---- Routing and rules ----------------------------------------------------------------------

void TZvCustomAppStorage::ResolvePath(const String& path, TZvCustomAppStorage*& targetStore, String& targetPath) {
    String absolute = CompactPath({FCurrentPath, path});
    TZvAppSubStorage* sub = FSubStorages->MatchFor(absolute);
    if (!sub) {
        targetStore = this;
        targetPath = "\\" + absolute;
        return;
    }
    String rest = absolute.substr(sub->RootPath().size());
    if (!rest.empty() && rest[0] == '\\') rest.erase(0, 1);
    if (rest.empty()) throw EZVLAppStorageError(ZvAppStorageText::InvalidPath);
    targetStore = sub->AppStorage();
    targetPath = "\\" + rest;
}

TZvCustomAppStorage* TZvCustomAppStorage::OtherStoreFor(const String& path, String& targetPath) {
    TZvCustomAppStorage* target = nullptr;
    ResolvePath(path, target, targetPath);
    return target != this ? target : nullptr;
}

String TZvCustomAppStorage::PrimitiveKey(const String& targetPath) const {
    String root = CompactPath({FRootPath});
    String rest = CompactPath({targetPath});
    if (root.empty()) return rest;
    return rest.empty() ? root : root + "\\" + rest;
}

void TZvCustomAppStorage::ReloadIfNeeded() {
    if (NeedsReload()) Reload();
}

void TZvCustomAppStorage::FlushIfNeeded() {
    if (NeedsFlush()) Flush();
}

void TZvCustomAppStorage::DoError(const String& message) { OnError(this, message); }

void TZvCustomAppStorage::Synchronize(const String& fileName, const std::function<void()>& operation) {
    String id = String(ZvAppStorageText::SynchronizePrefix) + fileName;
    std::unique_ptr<TZvNamedLock> lock = ZvStorageFileSystem().CreateNamedLock(Base64Text(id));
    if (!lock->Lock()) throw Exception(Format(ZvAppStorageText::MutexTimeout, {id}));
    TScopeExit unlock([&lock] { lock->Unlock(); });
    operation();
}

String TZvCustomAppStorage::EncryptPropertyValue(const String& value) {
    if (!OnEncryptPropertyValue || !IsPropertyValueCryptEnabled()) return value;
    String text = value;
    OnEncryptPropertyValue(text);
    // One line: a stored value cannot hold a line break (the decoder skips
    // line breaks, so values written in lines still read).
    return Base64Text(text);
}

String TZvCustomAppStorage::DecryptPropertyValue(const String& value) {
    if (!OnDecryptPropertyValue || !IsPropertyValueCryptEnabled()) return value;
    String text = Base64DecodeText(value);
    OnDecryptPropertyValue(text);
    return text;
}

String TZvCustomAppStorage::GetItemName(const String& baseName, int index) {
    if (FStorageOptions->UseOldItemNameFormat()) return baseName + IntToStr(index);
    return baseName + "[" + IntToStr(index) + "]";
}

String TZvCustomAppStorage::TranslatePropertyName(TPersistent* instance, const String& name, bool reading) {
    String result = name;
    OnTranslatePropertyName(this, instance, reading, result);
    return result;
}

template <class T, class Read>
T TZvCustomAppStorage::ReadWithDefault(const String& key, const T& defaultValue, Read read) {
    if (FStorageOptions->DefaultIfValueNotExists() && !ValueStoredInt(key)) return defaultValue;
    try {
        return read();
    } catch (const EConvertError&) {
        if (FStorageOptions->DefaultIfReadConvertError()) return defaultValue;
        throw;
    }
}

String TZvCustomAppStorage::FloatToStorageText(double value) { return FloatToStr(value); }

double TZvCustomAppStorage::StorageTextToFloat(const String& text) { return StrToFloat(text); }

namespace {

TFormatSettings EngineDateTimeSettings(TZvTranslateString* engine) {
    TFormatSettings settings = FormatSettings;
    if (!engine->DateFormat().empty()) settings.ShortDateFormat = settings.LongDateFormat = engine->DateFormat();
    if (!engine->TimeFormat().empty()) settings.ShortTimeFormat = settings.LongTimeFormat = engine->TimeFormat();
    return settings;
}

}  // namespace

String TZvCustomAppStorage::DateTimeToStorageText(TDateTime value) {
    if (FStorageOptions->UseTranslateStringEngineDateTimeFormats())
        return DateTimeToStr(value, EngineDateTimeSettings(ActiveTranslateStringEngine()));
    return DateTimeToStr(value);
}

TDateTime TZvCustomAppStorage::StorageTextToDateTime(const String& text) {
    if (FStorageOptions->UseTranslateStringEngineDateTimeFormats()) {
        TDateTime value;
        if (TryStrToDateTime(text, value, EngineDateTimeSettings(ActiveTranslateStringEngine()))) return value;
    }
    return StrToDateTime(text);
}

// ---- Queries ----------------------------------------------------------------------------------

bool TZvCustomAppStorage::ValueStored(const String& path) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->ValueStored(tp);
    ReloadIfNeeded();
    return ValueStoredInt(PrimitiveKey(tp));
}

bool TZvCustomAppStorage::PathExists(const String& path) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->PathExists(tp);
    ReloadIfNeeded();
    return IsFolderInt(PrimitiveKey(tp), false);
}

bool TZvCustomAppStorage::ListStored(const String& path, const String& itemName) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->ListStored(tp, itemName);
    return ValueStored(SubPath(tp, "Count"));
}

void TZvCustomAppStorage::GetStoredValues(const String& path, TStrings* strings, bool reportListAsValue) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp))
        return other->GetStoredValues(tp, strings, reportListAsValue);
    ReloadIfNeeded();
    EnumValues(PrimitiveKey(tp), strings, reportListAsValue);
}

void TZvCustomAppStorage::GetStoredFolders(const String& path, TStrings* strings) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->GetStoredFolders(tp, strings);
    ReloadIfNeeded();
    EnumFolders(PrimitiveKey(tp), strings, true);
}

// ---- Plain values --------------------------------------------------------------------------------

int TZvCustomAppStorage::ReadInteger(const String& path, int defaultValue) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->ReadInteger(tp, defaultValue);
    ReloadIfNeeded();
    String key = PrimitiveKey(tp);
    return ReadWithDefault(key, defaultValue, [&] { return DoReadInteger(key, defaultValue); });
}

void TZvCustomAppStorage::WriteInteger(const String& path, int value) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->WriteInteger(tp, value);
    if (ReadOnly()) return;
    DoWriteInteger(PrimitiveKey(tp), value);
    FlushIfNeeded();
}

bool TZvCustomAppStorage::ReadBoolean(const String& path, bool defaultValue) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->ReadBoolean(tp, defaultValue);
    ReloadIfNeeded();
    String key = PrimitiveKey(tp);
    return ReadWithDefault(key, defaultValue, [&] {
        if (!FStorageOptions->BooleanAsString()) return DoReadInteger(key, defaultValue ? 1 : 0) != 0;
        String text = DecryptPropertyValue(DoReadString(key, defaultValue ? FStorageOptions->DefaultTrueString()
                                                                          : FStorageOptions->DefaultFalseString()));
        if (FStorageOptions->IsValueTrueString(text)) return true;
        if (FStorageOptions->IsValueFalseString(text)) return false;
        return StrToInt(text) != 0;
    });
}

void TZvCustomAppStorage::WriteBoolean(const String& path, bool value) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->WriteBoolean(tp, value);
    if (ReadOnly()) return;
    String key = PrimitiveKey(tp);
    if (FStorageOptions->BooleanAsString())
        DoWriteString(key, EncryptPropertyValue(value ? FStorageOptions->DefaultTrueString()
                                                      : FStorageOptions->DefaultFalseString()));
    else
        DoWriteInteger(key, value ? 1 : 0);
    FlushIfNeeded();
}

double TZvCustomAppStorage::ReadFloat(const String& path, double defaultValue) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->ReadFloat(tp, defaultValue);
    ReloadIfNeeded();
    String key = PrimitiveKey(tp);
    auto asText = [&] { return StorageTextToFloat(DecryptPropertyValue(DoReadString(key, String()))); };
    return ReadWithDefault(key, defaultValue, [&] {
        if (FStorageOptions->FloatAsString()) {
            try {
                return asText();
            } catch (const EConvertError&) {
                return DoReadFloat(key, defaultValue);
            }
        }
        try {
            return DoReadFloat(key, defaultValue);
        } catch (const EConvertError&) {
            return asText();
        }
    });
}

void TZvCustomAppStorage::WriteFloat(const String& path, double value) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->WriteFloat(tp, value);
    if (ReadOnly()) return;
    String key = PrimitiveKey(tp);
    if (FStorageOptions->FloatAsString())
        DoWriteString(key, EncryptPropertyValue(FloatToStorageText(value)));
    else
        DoWriteFloat(key, value);
    FlushIfNeeded();
}

TDateTime TZvCustomAppStorage::ReadDateTime(const String& path, TDateTime defaultValue) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->ReadDateTime(tp, defaultValue);
    ReloadIfNeeded();
    String key = PrimitiveKey(tp);
    return ReadWithDefault(key, defaultValue, [&] {
        if (!FStorageOptions->DateTimeAsString()) return DoReadFloat(key, defaultValue);
        return StorageTextToDateTime(DecryptPropertyValue(DoReadString(key, DateTimeToStorageText(defaultValue))));
    });
}

void TZvCustomAppStorage::WriteDateTime(const String& path, TDateTime value) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->WriteDateTime(tp, value);
    if (ReadOnly()) return;
    String key = PrimitiveKey(tp);
    if (FStorageOptions->DateTimeAsString())
        DoWriteString(key, EncryptPropertyValue(DateTimeToStorageText(value)));
    else
        DoWriteFloat(key, value);
    FlushIfNeeded();
}

String TZvCustomAppStorage::ReadString(const String& path, const String& defaultValue) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->ReadString(tp, defaultValue);
    ReloadIfNeeded();
    String key = PrimitiveKey(tp);
    return ReadWithDefault(key, defaultValue, [&] { return DecryptPropertyValue(DoReadString(key, defaultValue)); });
}

void TZvCustomAppStorage::WriteString(const String& path, const String& value) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->WriteString(tp, value);
    if (ReadOnly()) return;
    DoWriteString(PrimitiveKey(tp), EncryptPropertyValue(value));
    FlushIfNeeded();
}

std::u16string TZvCustomAppStorage::ReadWideString(const String& path, const std::u16string& defaultValue) {
    return Utf8ToUtf16(ReadString(path, Utf16ToUtf8(defaultValue)));
}

void TZvCustomAppStorage::WriteWideString(const String& path, const std::u16string& value) {
    WriteString(path, Utf16ToUtf8(value));
}

int TZvCustomAppStorage::ReadBinary(const String& path, void* buffer, int bufferSize) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->ReadBinary(tp, buffer, bufferSize);
    ReloadIfNeeded();
    String key = PrimitiveKey(tp);
    return ReadWithDefault(key, 0, [&] { return DoReadBinary(key, buffer, bufferSize); });
}

void TZvCustomAppStorage::WriteBinary(const String& path, const void* buffer, int bufferSize) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->WriteBinary(tp, buffer, bufferSize);
    if (ReadOnly()) return;
    DoWriteBinary(PrimitiveKey(tp), buffer, bufferSize);
    FlushIfNeeded();
}

// ---- Enumerations and sets ---------------------------------------------------------------------

bool TZvCustomAppStorage::IsBooleanType(const TTypeInfo* typeInfo) const {
    return typeInfo == TypeInfoFor<bool>() ||
           (typeInfo->Kind == tkEnumeration && (typeInfo->Name == "Boolean" || typeInfo->MinValue < 0));
}

Int64 TZvCustomAppStorage::ReadEnumeration(const String& path, const TTypeInfo* typeInfo, Int64 defaultValue) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->ReadEnumeration(tp, typeInfo, defaultValue);
    if (IsBooleanType(typeInfo)) {
        bool value = ReadBoolean(tp, defaultValue != 0);
        return value ? (typeInfo->MinValue < 0 ? -1 : 1) : 0;
    }
    ReloadIfNeeded();
    String key = PrimitiveKey(tp);
    int intDefault = int(defaultValue);
    switch (typeInfo->Kind) {
    case tkInteger:
        return ReadWithDefault(key, defaultValue, [&]() -> Int64 {
            if (FStorageOptions->TypedIntegerAsString() && HasIntegerIdents(typeInfo)) {
                Int64 value;
                if (IdentToInt(typeInfo, DecryptPropertyValue(DoReadString(key, String())), value)) return value;
            }
            return DoReadInteger(key, intDefault);
        });
    case tkChar: return ReadWithDefault(key, defaultValue, [&]() -> Int64 { return DoReadInteger(key, intDefault); });
    case tkEnumeration:
        return ReadWithDefault(key, defaultValue, [&]() -> Int64 {
            Int64 value = -1;
            if (FStorageOptions->EnumerationAsString())
                value = GetEnumValue(typeInfo, DecryptPropertyValue(DoReadString(key, ZvAppStorageText::EnumNotKnown)));
            if (value == -1) {
                value = DoReadInteger(key, intDefault);
                if (value == -1) return defaultValue;
            }
            // A number outside the type would give the property a value it
            // cannot have.
            if (value < typeInfo->MinValue || value > typeInfo->MaxValue)
                throw EConvertError(Format("'%d' is not a valid %s value", {value, typeInfo->Name}));
            return value;
        });
    default: throw EZVLAppStorageError(ZvAppStorageText::InvalidType);
    }
}

void TZvCustomAppStorage::WriteEnumeration(const String& path, const TTypeInfo* typeInfo, Int64 value) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->WriteEnumeration(tp, typeInfo, value);
    if (IsBooleanType(typeInfo)) {
        WriteBoolean(tp, value != 0);
        return;
    }
    if (typeInfo->Kind != tkInteger && typeInfo->Kind != tkChar && typeInfo->Kind != tkEnumeration)
        throw EZVLAppStorageError(ZvAppStorageText::InvalidType);
    if (ReadOnly()) return;
    String key = PrimitiveKey(tp);
    String ident;
    if (typeInfo->Kind == tkInteger && FStorageOptions->TypedIntegerAsString() && IntToIdent(typeInfo, value, ident))
        DoWriteString(key, EncryptPropertyValue(ident));
    else if (typeInfo->Kind == tkEnumeration && FStorageOptions->EnumerationAsString())
        DoWriteString(key, EncryptPropertyValue(GetEnumName(typeInfo, value)));
    else
        DoWriteInteger(key, int(value));
    FlushIfNeeded();
}

namespace {

// The value name of a character in the folder form of a set: "Char_" and
// the character for the codes 33 to 122, else "Char#" and the decimal code.
// INI keys ignore case and end at the first "=", so "Char_a" would be the
// key of "A" as well and "Char_=" could not be read back: lower-case
// letters and "=" take the "Char#" form too ("Char#97", "Char#61"). Every
// other character keeps its "Char_" name, so sets stored before read the
// same.
String CharElementName(Int64 code) {
    bool plain = code >= 33 && code <= 122 && !(code >= 'a' && code <= 'z') && code != '=';
    return plain ? String("Char_") + char(code) : "Char#" + IntToStr(code);
}

// The names of a set's elements in the folder form, in element order.
std::vector<std::pair<Int64, String>> SetElementNames(const TTypeInfo* setType) {
    const TTypeInfo* element = setType->CompType;
    if (!element || (element->Kind != tkInteger && element->Kind != tkChar && element->Kind != tkEnumeration))
        throw EZVLAppStorageError(ZvAppStorageText::UnknownBaseType);
    ZevSetSize(setType);  // rejects a range no set can have
    std::vector<std::pair<Int64, String>> names;
    for (Int64 v = element->MinValue; v <= element->MaxValue; ++v) {
        String name;
        if (element->Kind == tkInteger)
            name = "Int_" + IntToStr(v);
        else if (element->Kind == tkChar)
            name = CharElementName(v);
        else
            name = GetEnumName(element, v);
        names.emplace_back(v, std::move(name));
    }
    return names;
}

bool SetHas(const TTypeInfo* setType, const void* value, Int64 element) {
    int bit = ZevSetBitOf(setType, element);
    return (static_cast<const Byte*>(value)[bit / 8] >> (bit % 8)) & 1;
}

}  // namespace

void TZvCustomAppStorage::WriteSetElements(const String& path, const TTypeInfo* setType, const void* value) {
    for (const auto& [element, name] : SetElementNames(setType))
        WriteBoolean(SubPath(path, name), SetHas(setType, value, element));
}

void TZvCustomAppStorage::ReadSetElements(const String& path, const TTypeInfo* setType, const void* defaultValue,
                                          void* value) {
    auto names = SetElementNames(setType);
    std::vector<Byte> result(size_t(ZevSetSize(setType)), 0);
    for (const auto& [element, name] : names)
        if (ReadBoolean(SubPath(path, name), SetHas(setType, defaultValue, element))) {
            int bit = ZevSetBitOf(setType, element);
            result[size_t(bit / 8)] |= Byte(1u << (bit % 8));
        }
    if (!result.empty()) std::memcpy(value, result.data(), result.size());
}

void TZvCustomAppStorage::ReadSet(const String& path, const TTypeInfo* setType, const void* defaultValue, void* value) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->ReadSet(tp, setType, defaultValue, value);
    if (setType->Kind != tkSet) throw EZVLAppStorageError(ZvAppStorageText::InvalidType);
    size_t size = size_t(ZevSetSize(setType));
    if (!FStorageOptions->SetAsString()) {
        ReadSetElements(tp, setType, defaultValue, value);
        return;
    }
    ReloadIfNeeded();
    String key = PrimitiveKey(tp);
    std::vector<Byte> result(static_cast<const Byte*>(defaultValue), static_cast<const Byte*>(defaultValue) + size);
    if (!FStorageOptions->DefaultIfValueNotExists() || ValueStoredInt(key)) {
        try {
            std::vector<Byte> parsed(size);
            TextToSetValue(setType, parsed.data(),
                           DecryptPropertyValue(DoReadString(key, SetValueToText(setType, defaultValue))));
            result = parsed;
        } catch (const EConvertError&) {
            if (!FStorageOptions->DefaultIfReadConvertError()) throw;
        } catch (const EZevRTTIError&) {
            if (!FStorageOptions->DefaultIfReadConvertError()) throw;
        }
    }
    if (size) std::memcpy(value, result.data(), size);
}

std::uint64_t TZvCustomAppStorage::ReadSet(const String& path, const TTypeInfo* setType, std::uint64_t defaultBits) {
    std::vector<Byte> value(size_t(ZevSetSize(setType)) + 1);
    ZevSetFromBits(setType, defaultBits, value.data());
    ReadSet(path, setType, value.data(), value.data());
    return ZevSetToBits(setType, value.data());
}

void TZvCustomAppStorage::WriteSet(const String& path, const TTypeInfo* setType, const void* value) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->WriteSet(tp, setType, value);
    if (setType->Kind != tkSet) throw EZVLAppStorageError(ZvAppStorageText::InvalidType);
    if (ReadOnly()) return;
    if (!FStorageOptions->SetAsString()) {
        WriteSetElements(tp, setType, value);
        return;
    }
    DoWriteString(PrimitiveKey(tp), EncryptPropertyValue(SetValueToText(setType, value, true, false)));
    FlushIfNeeded();
}

void TZvCustomAppStorage::WriteSet(const String& path, const TTypeInfo* setType, std::uint64_t bits) {
    std::vector<Byte> value(size_t(ZevSetSize(setType)) + 1);
    ZevSetFromBits(setType, bits, value.data());
    WriteSet(path, setType, value.data());
}

// ---- Lists ---------------------------------------------------------------------------------------

int TZvCustomAppStorage::ReadList(const String& path, TObject* list, const TZvAppStorageListItemEvent& onReadItem,
                                  const String& itemName) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->ReadList(tp, list, onReadItem, itemName);
    int count = std::max(ReadInteger(SubPath(tp, "Count"), 0), 0);
    if (count > 0) {
        // The count may have been edited by hand: no more items are read
        // than the list's folder holds values (the count among them) and
        // folders.
        ReloadIfNeeded();
        TStringList values, folders;
        EnumValues(PrimitiveKey(tp), &values, false);
        EnumFolders(PrimitiveKey(tp), &folders, false);
        count = std::min(count, values.Count() - 1 + folders.Count());
    }
    for (int i = 0; i < count; ++i) onReadItem(this, tp, list, i, itemName);
    return count;
}

void TZvCustomAppStorage::WriteList(const String& path, TObject* list, int itemCount,
                                    const TZvAppStorageListItemEvent& onWriteItem,
                                    const TZvAppStorageListDeleteEvent& onDeleteItems, const String& itemName) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp))
        return other->WriteList(tp, list, itemCount, onWriteItem, onDeleteItems, itemName);
    if (ReadOnly()) return;
    int oldCount = ReadInteger(SubPath(tp, "Count"), 0);
    for (int i = 0; i < itemCount; ++i) onWriteItem(this, tp, list, i, itemName);
    if (oldCount > itemCount) {
        if (onDeleteItems)
            onDeleteItems(this, tp, list, itemCount, oldCount - 1, itemName);
        else
            for (int i = itemCount; i < oldCount; ++i) DeleteValue(SubPath(tp, GetItemName(itemName, i)));
    }
    WriteInteger(SubPath(tp, "Count"), itemCount);
}

int TZvCustomAppStorage::ReadStringList(const String& path, TStrings* list, bool clearFirst, const String& itemName) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp))
        return other->ReadStringList(tp, list, clearFirst, itemName);
    TUpdateScope update(*list);
    if (clearFirst) list->Clear();
    int count = 0;
    if (ListStored(tp, itemName)) {
        ReadPersistent(tp, list, true, false);
        count = ReadList(
            tp, list,
            [](TZvCustomAppStorage* store, const String& p, TObject* l, int i, const String& name) {
                static_cast<TStrings*>(l)->Add(store->ReadString(SubPath(p, store->GetItemName(name, i))));
            },
            itemName);
    } else if (ValueStored(tp)) {
        list->SetText(ReadString(tp));
        count = list->Count();
    }
    return count;
}

void TZvCustomAppStorage::WriteStringList(const String& path, TStrings* list, const String& itemName) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->WriteStringList(tp, list, itemName);
    if (ReadOnly()) return;
    if (FStorageOptions->StoreStringListAsSingleString()) {
        if (ListStored(tp, itemName)) DeleteSubTree(tp);
        WriteString(tp, list->Text());
        return;
    }
    WriteList(
        tp, list, list->Count(),
        [](TZvCustomAppStorage* store, const String& p, TObject* l, int i, const String& name) {
            store->WriteString(SubPath(p, store->GetItemName(name, i)), static_cast<TStrings*>(l)->Strings(i));
        },
        nullptr, itemName);
    WritePersistent(tp, list, true);
}

int TZvCustomAppStorage::ReadCollection(const String& path, TCollection* collection, bool clearFirst,
                                        const String& itemName) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp))
        return other->ReadCollection(tp, collection, clearFirst, itemName);
    if (!ListStored(tp, itemName) && FStorageOptions->DefaultIfValueNotExists()) return 0;
    TUpdateScope update(*collection);
    if (clearFirst) collection->Clear();
    ReadPersistent(tp, collection, true, false);
    return ReadList(
        tp, collection,
        [clearFirst](TZvCustomAppStorage* store, const String& p, TObject* l, int i, const String& name) {
            TCollectionItem* item = static_cast<TCollection*>(l)->Add();
            store->ReadPersistent(SubPath(p, store->GetItemName(name, i)), item, true, clearFirst);
        },
        itemName);
}

void TZvCustomAppStorage::WriteCollection(const String& path, TCollection* collection, const String& itemName) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->WriteCollection(tp, collection, itemName);
    if (ReadOnly()) return;
    WriteList(
        tp, collection, collection->Count(),
        [](TZvCustomAppStorage* store, const String& p, TObject* l, int i, const String& name) {
            store->WritePersistent(SubPath(p, store->GetItemName(name, i)), static_cast<TCollection*>(l)->Items(i),
                                   true);
        },
        [](TZvCustomAppStorage* store, const String& p, TObject*, int first, int last, const String& name) {
            for (int i = first; i <= last; ++i) store->DeleteSubTree(SubPath(p, store->GetItemName(name, i)));
        },
        itemName);
    WritePersistent(tp, collection, true);
}

// ---- Objects by their published properties --------------------------------------------------------

namespace {

// Whether a property holds the value the store leaves out when it does not
// store defaults: an ordinal its declared default, an empty string, a zero
// float, and a 64-bit integer of 0 (64-bit properties declare no default).
bool HoldsStoreDefault(TObject* instance, const TPropInfo* prop) {
    if (prop->PropType()->Kind == tkInt64 && prop->GetOrd && prop->GetOrd(instance) == 0) return true;
    return IsDefaultPropValue(instance, prop);
}

}  // namespace

void TZvCustomAppStorage::WriteProperty(const String& path, TPersistent* instance, const String& propName,
                                        bool recursive) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp))
        return other->WriteProperty(tp, instance, propName, recursive);
    if (ReadOnly() || !instance) return;
    const TPropInfo* prop = GetPropInfo(instance, propName);
    if (!prop) return;
    const TTypeInfo* type = prop->PropType();
    if (type->Kind == tkMethod) return;
    if (!FStorageOptions->StoreDefaultValues()) {
        if (!prop->HasGetter() || !prop->HasSetter() || !IsStoredProp(instance, prop)) return;
        if (HoldsStoreDefault(instance, prop)) {
            // A value stored earlier must not outlive the default written
            // over it: the next read would give the old value back.
            if (type->Kind != tkClass) DeleteValue(tp);
            return;
        }
    }
    switch (type->Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration: WriteEnumeration(tp, type, GetOrdProp(instance, prop)); break;
    case tkSet: WriteSet(tp, type, std::uint64_t(GetOrdProp(instance, prop))); break;
    case tkFloat:
        if (type == TypeInfoDateTime())
            WriteDateTime(tp, GetFloatProp(instance, prop));
        else
            WriteFloat(tp, GetFloatProp(instance, prop));
        break;
    case tkString:
        if (prop->GetStr) WriteString(tp, GetStrProp(instance, prop));
        break;
    case tkVariant: WriteString(tp, VarToStr(GetVariantProp(instance, prop))); break;
    case tkInt64: WriteString(tp, IntToStr(GetOrdProp(instance, prop))); break;
    case tkClass: {
        TObject* value = GetObjectProp(instance, prop);
        if (TZvAppStoragePropertyBaseEngine* engine = EngineFor(instance, value)) {
            engine->WriteProperty(this, tp, instance, value, recursive);
        } else if (auto* store = dynamic_cast<TZvCustomPropertyStore*>(value)) {
            store->SetAppStoragePath(tp);
            store->SetAppStorage(this);
            store->StoreProperties();
        } else if (IsComponentClass(type->ClassType())) {
            // A reference to another component: stored by name.
            WriteString(tp, value ? static_cast<TComponent*>(value)->Name() : String());
        } else if (auto* strings = dynamic_cast<TStrings*>(value)) {
            WriteStringList(tp, strings);
        } else if (auto* collection = dynamic_cast<TCollection*>(value)) {
            WriteCollection(tp, collection);
        } else if (auto* persistent = dynamic_cast<TPersistent*>(value); persistent && recursive) {
            WritePersistent(tp, persistent, true);
        }
        break;
    }
    default: break;
    }
}

void TZvCustomAppStorage::ReadProperty(const String& path, TPersistent* instance, const String& propName,
                                       bool recursive, bool clearFirst) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp))
        return other->ReadProperty(tp, instance, propName, recursive, clearFirst);
    if (!instance) return;
    const TPropInfo* prop = GetPropInfo(instance, propName);
    if (!prop) return;
    const TTypeInfo* type = prop->PropType();
    if (type->Kind == tkMethod) return;
    if (type->Kind != tkClass && (!prop->HasSetter() || !prop->HasGetter())) return;
    switch (type->Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration: SetOrdProp(instance, prop, ReadEnumeration(tp, type, GetOrdProp(instance, prop))); break;
    case tkSet: SetOrdProp(instance, prop, Int64(ReadSet(tp, type, std::uint64_t(GetOrdProp(instance, prop))))); break;
    case tkFloat:
        if (type == TypeInfoDateTime())
            SetFloatProp(instance, prop, ReadDateTime(tp, GetFloatProp(instance, prop)));
        else
            SetFloatProp(instance, prop, ReadFloat(tp, GetFloatProp(instance, prop)));
        break;
    case tkString:
        if (prop->GetStr && prop->SetStr) SetStrProp(instance, prop, ReadString(tp, GetStrProp(instance, prop)));
        break;
    case tkVariant:
        // Read as text, as it is written.
        SetVariantProp(instance, prop, Variant(ReadString(tp, VarToStr(GetVariantProp(instance, prop)))));
        break;
    case tkInt64: {
        Int64 current = GetOrdProp(instance, prop);
        String text = ReadString(tp, IntToStr(current));
        Int64 value;
        if (TryStrToInt64(Trim(text), value))
            SetOrdProp(instance, prop, value);
        else if (!FStorageOptions->DefaultIfReadConvertError())
            throw EConvertError(Format("'%s' is not a valid integer value", {text}));
        break;
    }
    case tkClass: {
        TObject* value = GetObjectProp(instance, prop);
        if (TZvAppStoragePropertyBaseEngine* engine = EngineFor(instance, value)) {
            engine->ReadProperty(this, tp, instance, value, recursive, clearFirst);
        } else if (auto* store = dynamic_cast<TZvCustomPropertyStore*>(value)) {
            store->SetAppStoragePath(tp);
            store->SetAppStorage(this);
            store->LoadProperties();
        } else if (IsComponentClass(type->ClassType())) {
            // A stored component name: assigned only when the component it
            // names is of the property's class.
            if (!prop->SetObj || !ValueStored(tp)) break;
            auto* component = dynamic_cast<TComponent*>(instance);
            AssignComponentByName(instance, prop, component ? component->Owner() : nullptr, ReadString(tp));
        } else if (auto* strings = dynamic_cast<TStrings*>(value)) {
            ReadStringList(tp, strings, clearFirst);
        } else if (auto* collection = dynamic_cast<TCollection*>(value)) {
            ReadCollection(tp, collection, clearFirst);
        } else if (auto* persistent = dynamic_cast<TPersistent*>(value); persistent && recursive) {
            ReadPersistent(tp, persistent, true, clearFirst);
        }
        break;
    }
    default: break;
    }
}

void TZvCustomAppStorage::WritePersistent(const String& path, TPersistent* instance, bool recursive,
                                          TStrings* ignoreProperties) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp))
        return other->WritePersistent(tp, instance, recursive, ignoreProperties);
    if (!instance || ReadOnly()) return;
    if (auto* handler = Supports<IZvAppStorageHandler>(instance)) {
        handler->WriteToAppStorage(this, path);
        if (!Supports<IZvAppStoragePublishedProps>(instance)) return;
    }
    for (const TPropInfo* prop : GetPropList(instance->ClassType())) {
        if (prop->PropType()->Kind == tkMethod) continue;
        if (ignoreProperties && ignoreProperties->IndexOf(prop->Name) >= 0) continue;
        String name = TranslatePropertyName(instance, prop->Name, false);
        WriteProperty(SubPath(tp, name), instance, prop->Name, recursive);
    }
}

void TZvCustomAppStorage::ReadPersistent(const String& path, TPersistent* instance, bool recursive, bool clearFirst,
                                         TStrings* ignoreProperties) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp))
        return other->ReadPersistent(tp, instance, recursive, clearFirst, ignoreProperties);
    if (!instance) return;
    if (auto* handler = Supports<IZvAppStorageHandler>(instance)) {
        handler->ReadFromAppStorage(this, path);
        if (!Supports<IZvAppStoragePublishedProps>(instance)) return;
    }
    for (const TPropInfo* prop : GetPropList(instance->ClassType())) {
        if (prop->PropType()->Kind == tkMethod) continue;
        if (ignoreProperties && ignoreProperties->IndexOf(prop->Name) >= 0) continue;
        String name = TranslatePropertyName(instance, prop->Name, true);
        ReadProperty(SubPath(tp, name), instance, prop->Name, recursive, clearFirst);
    }
}

// ---- Removal --------------------------------------------------------------------------------------

void TZvCustomAppStorage::DeleteValue(const String& path) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->DeleteValue(tp);
    if (ReadOnly()) return;
    // What the file holds is read first, so that a value deleted before the
    // first read does not come back with it.
    ReloadIfNeeded();
    DeleteValueInt(PrimitiveKey(tp));
    FlushIfNeeded();
}

void TZvCustomAppStorage::DeleteSubTree(const String& path) {
    String tp;
    if (TZvCustomAppStorage* other = OtherStoreFor(path, tp)) return other->DeleteSubTree(tp);
    if (ReadOnly()) return;
    ReloadIfNeeded();
    DeleteSubTreeInt(PrimitiveKey(tp));
    FlushIfNeeded();
}
