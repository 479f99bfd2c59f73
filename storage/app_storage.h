// TZvCustomAppStorage: a hierarchical key/value store for settings.
//
// Values are addressed by paths whose segments are separated by "\": the
// last segment names the value, the rest its folder. Paths are relative to
// the store's current path; one that begins with "\" starts from the root,
// and ".." climbs. The store offers typed reads and writes (integers,
// booleans, floats, date-times, texts, binary buffers, enumerations, sets,
// string lists, collections, whole objects by their published properties)
// over a few primitive operations that a concrete store implements (the INI
// store in ini_file_storage.h). It routes paths below a sub-store's root
// to that sub-store, runs the value-encryption hooks and can serialise file
// access between processes.
//
// A typed read returns its default when the value does not exist (with
// DefaultIfValueNotExists, the default), and when a stored text cannot be
// converted (with DefaultIfReadConvertError; otherwise EConvertError passes
// on). Writes and deletions do nothing on a read-only store.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "classlib/core/classes.h"
#include "classlib/core/events.h"
#include "classlib/core/interfaces.h"
#include "classlib/core/sets.h"
#include "classlib/core/typinfo.h"
#include "storage/storage_component.h"

class TStrings;
class TStringList;
class TZvCustomAppStorage;
class TZvTranslateString;

// The store's errors: "Invalid path", "'%s' is not a unique root path",
// "Circular reference of storages", "Invalid type", "Unknown base type for
// given set", and the INI store's "TZvAppIniFileStorage.ReadValue: Section
// undefined".
QL_EXCEPTION(EZVLAppStorageError, Exception);

namespace ZvAppStorageText {
inline constexpr const char* InvalidPath = "Invalid path";
inline constexpr const char* NotAUniqueRootPath = "'%s' is not a unique root path";
inline constexpr const char* CircularReferenceOfStorages = "Circular reference of storages";
inline constexpr const char* MutexTimeout = "%s: Mutex Timeout";
inline constexpr const char* InvalidType = "Invalid type";
inline constexpr const char* UnknownBaseType = "Unknown base type for given set";
inline constexpr const char* SynchronizePrefix = "TZvCustomAppStorage.Synchronize:";
// What an enumeration read yields when its value is missing.
inline constexpr const char* EnumNotKnown = " #!@not known@!# ";
}  // namespace ZvAppStorageText

// The joined, optimised path of the pieces: a piece that begins with "\"
// restarts from the root (earlier pieces are ignored); empty segments and
// "." are dropped; a segment of n dots (n >= 2) removes the last n - 1
// segments (never below the root). The result has no leading or trailing
// "\": {"a\b", "..\c"} gives "a\c".
String CompactPath(const std::vector<String>& pieces);

// ---- Options ---------------------------------------------------------------------

class TZvCustomAppStorageOptions : public TPersistent {
    QL_CLASS(TZvCustomAppStorageOptions, TPersistent)
public:
    static constexpr const char* DefaultBooleanTrueValues = "TRUE, YES, Y";
    static constexpr const char* DefaultBooleanFalseValues = "FALSE, NO, N";
    TZvCustomAppStorageOptions();

    // Copies every option of another options object; other sources go to
    // TPersistent.
    void Assign(TPersistent* source) override;

    // Comma lists of the texts read as true and false; the first item of
    // each, trimmed, is what a boolean writes.
    const String& BooleanStringTrueValues() const { return FBooleanStringTrueValues; }
    void SetBooleanStringTrueValues(const String& value);
    const String& BooleanStringFalseValues() const { return FBooleanStringFalseValues; }
    void SetBooleanStringFalseValues(const String& value);
    // Stays true only while both lists have a non-empty first item.
    bool BooleanAsString() const { return FBooleanAsString; }
    void SetBooleanAsString(bool value);
    bool EnumerationAsString() const { return FEnumerationAsString; }
    void SetEnumerationAsString(bool value) { FEnumerationAsString = value; }
    bool TypedIntegerAsString() const { return FTypedIntegerAsString; }
    void SetTypedIntegerAsString(bool value) { FTypedIntegerAsString = value; }
    bool SetAsString() const { return FSetAsString; }
    void SetSetAsString(bool value) { FSetAsString = value; }
    bool DateTimeAsString() const { return FDateTimeAsString; }
    void SetDateTimeAsString(bool value) { FDateTimeAsString = value; }
    bool FloatAsString() const { return FFloatAsString; }
    void SetFloatAsString(bool value) { FFloatAsString = value; }
    bool DefaultIfReadConvertError() const { return FDefaultIfReadConvertError; }
    void SetDefaultIfReadConvertError(bool value) { FDefaultIfReadConvertError = value; }
    bool DefaultIfValueNotExists() const { return FDefaultIfValueNotExists; }
    void SetDefaultIfValueNotExists(bool value) { FDefaultIfValueNotExists = value; }
    bool StoreDefaultValues() const { return FStoreDefaultValues; }
    void SetStoreDefaultValues(bool value) { FStoreDefaultValues = value; }
    bool UseOldItemNameFormat() const { return FUseOldItemNameFormat; }
    void SetUseOldItemNameFormat(bool value) { FUseOldItemNameFormat = value; }
    bool UseTranslateStringEngineDateTimeFormats() const { return FUseTranslateStringEngineDateTimeFormats; }
    void SetUseTranslateStringEngineDateTimeFormats(bool value) { FUseTranslateStringEngineDateTimeFormats = value; }
    // Not published: a string list is written as its whole text in one
    // value instead of one value per line.
    bool StoreStringListAsSingleString() const { return FStoreStringListAsSingleString; }
    void SetStoreStringListAsSingleString(bool value) { FStoreStringListAsSingleString = value; }

    String DefaultTrueString() const;
    String DefaultFalseString() const;
    // Whether value (compared upper-cased with the trimmed items) is in
    // the true or the false list.
    bool IsValueTrueString(const String& value) const;
    bool IsValueFalseString(const String& value) const;

private:
    void CheckBooleanAsString();

    String FBooleanStringTrueValues = DefaultBooleanTrueValues;
    String FBooleanStringFalseValues = DefaultBooleanFalseValues;
    bool FBooleanAsString = true;
    bool FEnumerationAsString = true;
    bool FTypedIntegerAsString = true;
    bool FSetAsString = false;
    bool FDateTimeAsString = true;
    bool FFloatAsString = false;
    bool FDefaultIfReadConvertError = false;
    bool FDefaultIfValueNotExists = true;
    bool FStoreDefaultValues = true;
    bool FUseOldItemNameFormat = true;
    bool FUseTranslateStringEngineDateTimeFormats = false;
    bool FStoreStringListAsSingleString = false;
};

// The published form of the options.
class TZvAppStorageOptions : public TZvCustomAppStorageOptions {
    QL_CLASS(TZvAppStorageOptions, TZvCustomAppStorageOptions)
};

// ---- Sub-stores ------------------------------------------------------------------

class TZvAppSubStorage : public TCollectionItem {
    QL_CLASS(TZvAppSubStorage, TCollectionItem)
public:
    explicit TZvAppSubStorage(TCollection* collection);
    ~TZvAppSubStorage() override;

    // The store that owns the sub-store list.
    TZvCustomAppStorage* OwnerStore() const;
    TZvCustomAppStorage* AppStorage() const { return FAppStorage; }
    // Raises EZVLAppStorageError "Circular reference of storages" for the
    // owner itself or a store that (through its own sub-stores) holds the
    // owner.
    void SetAppStorage(TZvCustomAppStorage* value);
    // Optimised on assignment; raises EZVLAppStorageError "'%s' is not a
    // unique root path" when another sub-store's root lies at or under it.
    const String& RootPath() const { return FRootPath; }
    void SetRootPath(const String& value);
    String GetDisplayName() override;
    // Copies the root path and the store of another sub-store.
    void Assign(TPersistent* source) override;

private:
    TZvCustomAppStorage* FAppStorage = nullptr;
    String FRootPath;
};

class TZvAppSubStorages : public TOwnedCollection {
    QL_CLASS(TZvAppSubStorages, TOwnedCollection)
public:
    explicit TZvAppSubStorages(TZvCustomAppStorage* owner);

    TZvCustomAppStorage* AppStorage() const { return FOwnerStore; }
    TZvAppSubStorage* Items(int index) const;
    TZvAppSubStorage* Add();
    // True when no sub-store but the one at ignoreIndex has its root at or
    // under rootPath (names compared ignoring case).
    bool RootUnique(const String& rootPath, int ignoreIndex = -1) const;
    // The sub-store with the longest root that path (optimised, without
    // its leading "\") equals or continues with "\"; nullptr when none.
    TZvAppSubStorage* MatchFor(const String& path) const;
    // Drops every sub-store that uses store (compared by address: it may
    // be a component that is being destroyed).
    void RemoveStorage(const TComponent* store);

private:
    TZvCustomAppStorage* FOwnerStore;
};

// ---- Interfaces an object may implement to take part in persistence ---------------

// An object asked to read or write itself before (or instead of) its
// published properties.
class IZvAppStorageHandler : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{E3754817-49A3-4612-A228-5D44A088681D}");
    virtual void ReadFromAppStorage(TZvCustomAppStorage* appStorage, const String& basePath) = 0;
    virtual void WriteToAppStorage(TZvCustomAppStorage* appStorage, const String& basePath) = 0;

protected:
    ~IZvAppStorageHandler() = default;
};

// Marks a storage handler whose published properties are stored too.
class IZvAppStoragePublishedProps : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{0211AEF7-CCE9-4F13-B3CE-287251C89182}");

protected:
    ~IZvAppStoragePublishedProps() = default;
};

// ---- Property stores ---------------------------------------------------------------

// An object that saves and loads its own published properties under a path
// of a store; a class-typed property holding one is handed the store and
// the property's path and asked to do so. Its two ignore lists name
// properties it leaves out; CombinedIgnoreList joins them.
class TZvCustomPropertyStore : public TZvComponent {
    QL_CLASS(TZvCustomPropertyStore, TZvComponent)
public:
    explicit TZvCustomPropertyStore(TComponent* owner);
    ~TZvCustomPropertyStore() override;

    TZvCustomAppStorage* AppStorage() const { return FAppStorage; }
    void SetAppStorage(TZvCustomAppStorage* value) { FAppStorage = value; }
    const String& AppStoragePath() const { return FAppStoragePath; }
    void SetAppStoragePath(const String& value) { FAppStoragePath = value; }
    // The properties a user of the class leaves out, and the ones the class
    // itself leaves out ("Name", "Tag" and its own settings).
    TStringList* IgnoreProperties() const { return FIgnoreProperties; }
    TStringList* InternalIgnoreProperties() const { return FInternalIgnoreProperties; }
    // Both lists, one after the other.
    TStringList* CombinedIgnoreList();

    // Write or read the published properties (but the ignored ones) under
    // AppStoragePath; nothing without a store.
    virtual void StoreProperties();
    virtual void LoadProperties();

private:
    TZvCustomAppStorage* FAppStorage = nullptr;
    String FAppStoragePath;
    TStringList* FIgnoreProperties;
    TStringList* FInternalIgnoreProperties;
    TStringList* FCombinedIgnoreList;
};

// ---- Property engines ------------------------------------------------------------

// Takes over reading and writing class-typed properties it accepts. The
// process-wide list is empty in this program; the first registered engine
// that accepts an object and property handles it.
class TZvAppStoragePropertyBaseEngine {
public:
    virtual ~TZvAppStoragePropertyBaseEngine() = default;
    virtual bool Supports(TObject* instance, TObject* property) = 0;
    virtual void ReadProperty(TZvCustomAppStorage* appStorage, const String& path, TObject* instance, TObject* property,
                              bool recursive, bool clearFirst) = 0;
    virtual void WriteProperty(TZvCustomAppStorage* appStorage, const String& path, TObject* instance,
                               TObject* property, bool recursive) = 0;
};

// The list owns what is registered; unregistering frees the engine.
void RegisterAppStoragePropertyEngine(TZvAppStoragePropertyBaseEngine* engine);
void UnregisterAppStoragePropertyEngine(TZvAppStoragePropertyBaseEngine* engine);
// Frees every engine (the unit's finalisation).
void ClearAppStoragePropertyEngines();

// ---- The store -------------------------------------------------------------------

// Sender, the object, whether it is being read, the property name (which
// the handler may change).
using TZvAppStoragePropTranslateEvent = TEvent<TObject*, TPersistent*, bool, String&>;
// The text to encrypt or decrypt, changed in place.
using TZvAppStorageCryptEvent = TEvent<String&>;
// Sender and message.
using TZvAppStorageErrorEvent = TEvent<TObject*, const String&>;

// A list handled item by item: (store, list path, list, index, item name).
using TZvAppStorageListItemEvent =
    std::function<void(TZvCustomAppStorage*, const String&, TObject*, int, const String&)>;
// (store, list path, list, first index, last index, item name): deletes the
// items from first to last.
using TZvAppStorageListDeleteEvent =
    std::function<void(TZvCustomAppStorage*, const String&, TObject*, int, int, const String&)>;

// The component of exactly that name among the components of level, then
// of its owner, and so on outwards; nullptr for an empty name or none.
TComponent* FindComponentOutwards(TComponent* level, const String& name);
// Whether objects of the class are components (stored by name).
bool IsComponentClass(TClass cls);
// A component reference read back by name: the property of instance is
// set to the component of that name found outwards from level, when that
// one is of the property's class; else the property keeps its value.
void AssignComponentByName(TObject* instance, const TPropInfo* prop, TComponent* level, const String& name);

class TZvCustomAppStorage : public TZvComponent {
    QL_CLASS(TZvCustomAppStorage, TZvComponent)
public:
    explicit TZvCustomAppStorage(TComponent* owner);
    ~TZvCustomAppStorage() override;

    // Flushes first when FlushOnDestroy.
    void BeforeDestruction() override;
    // Reloads unless updating, so a file store reads its file as the form
    // that holds it finishes loading.
    void Loaded() override;

    // The optimised join of the pieces (CompactPath).
    static String ConcatPaths(const std::vector<String>& paths) { return CompactPath(paths); }

    // ---- Queries ----
    bool ValueStored(const String& path);
    bool PathExists(const String& path);
    // True when a "Count" value exists under path.
    bool ListStored(const String& path, const String& itemName = "Item");
    // The value names, and the folder names, directly under path; with
    // reportListAsValue a stored list is reported as one value (an empty
    // name) instead of its "Count" and items, and not as a folder.
    void GetStoredValues(const String& path, TStrings* strings, bool reportListAsValue = true);
    void GetStoredFolders(const String& path, TStrings* strings);
    // True when store is one of this store's sub-stores, at any depth.
    bool HasSubStorage(const TZvCustomAppStorage* store) const;

    // ---- Typed reads ----
    int ReadInteger(const String& path, int defaultValue = 0);
    bool ReadBoolean(const String& path, bool defaultValue = false);
    double ReadFloat(const String& path, double defaultValue = 0.0);
    TDateTime ReadDateTime(const String& path, TDateTime defaultValue = 0.0);
    String ReadString(const String& path, const String& defaultValue = String());
    // Stored as its UTF-8 text.
    std::u16string ReadWideString(const String& path, const std::u16string& defaultValue = std::u16string());
    // Returns the number of bytes read into buffer (at most bufferSize).
    int ReadBinary(const String& path, void* buffer, int bufferSize);
    // An ordinal of typeInfo: a Boolean, an integer type (by registered
    // name with TypedIntegerAsString), an enumeration (by value name with
    // EnumerationAsString) or a character. Any other kind raises
    // EZVLAppStorageError "Invalid type".
    Int64 ReadEnumeration(const String& path, const TTypeInfo* typeInfo, Int64 defaultValue);
    template <class E>
    E ReadEnumeration(const String& path, E defaultValue) {
        return static_cast<E>(ReadEnumeration(path, TypeInfoFor<E>(), Int64(defaultValue)));
    }
    // A set of setType, as bytes (ZevSetSize(setType) of them at value and
    // defaultValue, which may be the same buffer).
    void ReadSet(const String& path, const TTypeInfo* setType, const void* defaultValue, void* value);
    // A set as the bits a set property holds (element v at bit v).
    std::uint64_t ReadSet(const String& path, const TTypeInfo* setType, std::uint64_t defaultBits);
    template <class E>
    TSet<E> ReadSet(const String& path, TSet<E> defaultValue) {
        return TSet<E>::FromBits(ReadSet(path, TypeInfoFor<TSet<E>>(), defaultValue.Bits()));
    }
    // Returns the number of items read.
    int ReadStringList(const String& path, TStrings* list, bool clearFirst = true, const String& itemName = "Item");
    int ReadCollection(const String& path, TCollection* collection, bool clearFirst = true,
                       const String& itemName = "Item");
    // One published property of instance, under path.
    void ReadProperty(const String& path, TPersistent* instance, const String& propName, bool recursive,
                      bool clearFirst);
    // Every published property of instance (but the ones in
    // ignoreProperties), each under path joined with its name.
    void ReadPersistent(const String& path, TPersistent* instance, bool recursive = true, bool clearFirst = true,
                        TStrings* ignoreProperties = nullptr);
    // A list of "Count" items: reads the count and calls onReadItem for each
    // index; returns the count.
    int ReadList(const String& path, TObject* list, const TZvAppStorageListItemEvent& onReadItem,
                 const String& itemName = "Item");

    // ---- Typed writes ----
    void WriteInteger(const String& path, int value);
    void WriteBoolean(const String& path, bool value);
    void WriteFloat(const String& path, double value);
    void WriteDateTime(const String& path, TDateTime value);
    void WriteString(const String& path, const String& value);
    void WriteWideString(const String& path, const std::u16string& value);
    void WriteBinary(const String& path, const void* buffer, int bufferSize);
    void WriteEnumeration(const String& path, const TTypeInfo* typeInfo, Int64 value);
    template <class E>
    void WriteEnumeration(const String& path, E value) {
        WriteEnumeration(path, TypeInfoFor<E>(), Int64(value));
    }
    void WriteSet(const String& path, const TTypeInfo* setType, const void* value);
    void WriteSet(const String& path, const TTypeInfo* setType, std::uint64_t bits);
    template <class E>
    void WriteSet(const String& path, TSet<E> value) {
        WriteSet(path, TypeInfoFor<TSet<E>>(), value.Bits());
    }
    void WriteStringList(const String& path, TStrings* list, const String& itemName = "Item");
    void WriteCollection(const String& path, TCollection* collection, const String& itemName = "Item");
    void WriteProperty(const String& path, TPersistent* instance, const String& propName, bool recursive);
    void WritePersistent(const String& path, TPersistent* instance, bool recursive = true,
                         TStrings* ignoreProperties = nullptr);
    // Writes items 0 to itemCount - 1 through onWriteItem, deletes the old
    // items from itemCount on through onDeleteItems (or, without one, as
    // values), and writes "Count".
    void WriteList(const String& path, TObject* list, int itemCount, const TZvAppStorageListItemEvent& onWriteItem,
                   const TZvAppStorageListDeleteEvent& onDeleteItems = nullptr, const String& itemName = "Item");

    // ---- Removal ----
    void DeleteValue(const String& path);
    // The folder at path with everything below it.
    void DeleteSubTree(const String& path);

    // ---- File hooks (nothing in this store; the file stores fill them) ----
    virtual void Flush() {}
    virtual void Reload() {}

    // ---- Updates: no automatic reload or flush while updating ----
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate() {
        if (FUpdateCount > 0) --FUpdateCount;
    }
    bool IsUpdating() const { return FUpdateCount > 0; }

    // ---- Encryption: the hooks run only while enabled (counted) ----
    void EnablePropertyValueCrypt() { ++FCryptEnabledStatus; }
    void DisablePropertyValueCrypt() { --FCryptEnabledStatus; }
    bool IsPropertyValueCryptEnabled() const { return FCryptEnabledStatus > 0; }
    // With OnEncryptPropertyValue set and encryption enabled: the event's
    // text, Base64-encoded on one line; else value unchanged. Decrypt
    // reverses it.
    String EncryptPropertyValue(const String& value);
    String DecryptPropertyValue(const String& value);

    // The name a list item is stored under: "Item0", or "Item[0]" without
    // UseOldItemNameFormat.
    virtual String GetItemName(const String& baseName, int index);

    // ---- Properties ----
    TZvCustomAppStorageOptions* StorageOptions() const { return FStorageOptions; }
    // Copies value's options into the owned object (nothing for nullptr or
    // the owned object itself).
    void SetStorageOptions(TZvCustomAppStorageOptions* value);
    // The class of the options object this store makes.
    virtual TClass StorageOptionsClass() const;
    TZvAppSubStorages* SubStorages() const { return FSubStorages; }
    void SetSubStorages(TZvAppSubStorages* value);

    const String& RootPath() const { return FRootPath; }
    void SetRootPath(const String& value) { FRootPath = value; }
    const String& CurrentPath() const { return FCurrentPath; }
    void SetCurrentPath(const String& value) { FCurrentPath = value; }

    // Writes and deletions do nothing while this is true.
    virtual bool ReadOnly() const { return FReadOnly; }
    // The flag as set (ReadOnly may add the file's own state).
    bool StoredReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    bool FlushOnDestroy() const { return FFlushOnDestroy; }
    void SetFlushOnDestroy(bool value) { FFlushOnDestroy = value; }
    bool AutoFlush() const { return FAutoFlush; }
    void SetAutoFlush(bool value) { FAutoFlush = value; }
    bool AutoReload() const { return FAutoReload; }
    void SetAutoReload(bool value) { FAutoReload = value; }
    bool SynchronizeFlushReload() const { return FSynchronizeFlushReload; }
    void SetSynchronizeFlushReload(bool value) { FSynchronizeFlushReload = value; }

    TZvTranslateString* TranslateStringEngine() const { return FTranslateStringEngine; }
    void SetTranslateStringEngine(TZvTranslateString* value);
    // The engine set, or the store's own.
    TZvTranslateString* ActiveTranslateStringEngine() const;

    TZvAppStoragePropTranslateEvent OnTranslatePropertyName;
    TZvAppStorageCryptEvent OnEncryptPropertyValue;
    TZvAppStorageCryptEvent OnDecryptPropertyValue;
    TZvAppStorageErrorEvent OnError;

protected:
    // For stores whose options are of a derived class: the store owns
    // options from here on.
    TZvCustomAppStorage(TComponent* owner, TZvCustomAppStorageOptions* options);

    void Notification(TComponent* component, TOperation operation) override;

    // ---- Path routing ----
    // The store that holds path and the path within it (absolute, with a
    // leading "\"). Raises EZVLAppStorageError "Invalid path" for the root of
    // a sub-store itself.
    void ResolvePath(const String& path, TZvCustomAppStorage*& targetStore, String& targetPath);
    // The routing step of every public operation: the store that path lies
    // in when that is another one (the operation is then repeated there
    // with targetPath), else nullptr with targetPath the path in this one.
    TZvCustomAppStorage* OtherStoreFor(const String& path, String& targetPath);
    // The key a primitive gets for a resolved path of this store: the root
    // path joined with it, without a leading "\".
    String PrimitiveKey(const String& targetPath) const;

    // ---- Reload and flush rules ----
    virtual bool NeedsReload() const { return FAutoReload && !IsUpdating(); }
    virtual bool NeedsFlush() const { return FAutoFlush && !IsUpdating(); }
    void ReloadIfNeeded();
    void FlushIfNeeded();
    // Runs operation while holding the named mutex of fileName; raises
    // Exception "%s: Mutex Timeout" when the wait does not acquire it.
    void Synchronize(const String& fileName, const std::function<void()>& operation);
    // Hands message to OnError.
    void DoError(const String& message);
    // Flushes once when FlushOnDestroy: from BeforeDestruction, or from the
    // destructor of a store whose content would be gone by the time this
    // class's destructor runs. Errors are dropped: nothing may escape a
    // destructor.
    void FlushForDestruction();

    // ---- Optional overrides ----
    virtual String FloatToStorageText(double value);
    virtual double StorageTextToFloat(const String& text);
    virtual String DateTimeToStorageText(TDateTime value);
    virtual TDateTime StorageTextToDateTime(const String& text);

    // ---- Primitives: keys are full paths without a leading "\" ----
    virtual bool ValueStoredInt(const String& key) = 0;
    // With listIsValue, a folder that holds nothing but a stored list
    // counts as a value, not a folder.
    virtual bool IsFolderInt(const String& key, bool listIsValue = true) = 0;
    virtual void EnumFolders(const String& key, TStrings* strings, bool reportListAsValue = true) = 0;
    virtual void EnumValues(const String& key, TStrings* strings, bool reportListAsValue = true) = 0;
    virtual void DeleteValueInt(const String& key) = 0;
    virtual void DeleteSubTreeInt(const String& key) = 0;
    virtual int DoReadInteger(const String& key, int defaultValue) = 0;
    virtual void DoWriteInteger(const String& key, int value) = 0;
    virtual double DoReadFloat(const String& key, double defaultValue) = 0;
    virtual void DoWriteFloat(const String& key, double value) = 0;
    virtual String DoReadString(const String& key, const String& defaultValue) = 0;
    virtual void DoWriteString(const String& key, const String& value) = 0;
    virtual int DoReadBinary(const String& key, void* buffer, int bufferSize) = 0;
    virtual void DoWriteBinary(const String& key, const void* buffer, int bufferSize) = 0;

private:
    void Construct(TZvCustomAppStorageOptions* options);
    String TranslatePropertyName(TPersistent* instance, const String& name, bool reading);
    bool IsBooleanType(const TTypeInfo* typeInfo) const;
    // The typed read rule: the default when the value is missing, the
    // conversion's result otherwise (the default on a conversion error with
    // DefaultIfReadConvertError).
    template <class T, class Read>
    T ReadWithDefault(const String& key, const T& defaultValue, Read read);
    void WriteSetElements(const String& path, const TTypeInfo* setType, const void* value);
    void ReadSetElements(const String& path, const TTypeInfo* setType, const void* defaultValue, void* value);

    TZvCustomAppStorageOptions* FStorageOptions = nullptr;
    TZvAppSubStorages* FSubStorages = nullptr;
    TZvTranslateString* FTranslateStringEngine = nullptr;
    TZvTranslateString* FInternalTranslateStringEngine = nullptr;
    String FRootPath;
    String FCurrentPath;
    bool FReadOnly = false;
    bool FFlushOnDestroy = true;
    bool FAutoFlush = false;
    bool FAutoReload = false;
    bool FSynchronizeFlushReload = false;
    bool FFlushedOnDestroy = false;
    int FUpdateCount = 0;
    int FCryptEnabledStatus = 0;
};
