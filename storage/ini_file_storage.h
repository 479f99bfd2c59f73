// The file-backed settings stores.
//
// TZvCustomAppMemoryFileStorage keeps its content in memory and touches the
// file only in Reload and Flush: where the file lives (FileName, Location,
// OnGetFileName), when it is read and written. TZvCustomAppIniStorage maps
// store paths to the sections and keys of an in-memory INI file, and
// TZvAppIniFileStorage publishes it.
//
// Path to section and key: the resolved path is split at its last "\": the
// folder is the section (keeping its inner "\": a\b\c is the key c of the
// section a\b), the last segment the key. An empty folder is DefaultSection,
// a folder beginning with "." is DefaultSection followed by the folder.
//
// Value texts: integers in decimal; floats (without FloatAsString) as the
// 10 bytes of the extended-precision value in 20 hexadecimal digits;
// binary values in hexadecimal; booleans "TRUE"/"FALSE" (the first items of
// the option lists); texts as they are, or quoted and escaped as the INI
// options say.
#pragma once

#include <memory>

#include "classlib/core/events.h"
#include "storage/app_storage.h"

class TMemIniFile;

enum TFileLocation { flCustom, flWindows, flTemp, flExeFile, flUserFolder };
QL_DECLARE_ENUM(TFileLocation);

// Sender and the file name, which the handler may change.
using TZvAppStorageGetFileNameEvent = TEvent<TObject*, String&>;

class TZvCustomAppMemoryFileStorage : public TZvCustomAppStorage {
    QL_CLASS(TZvCustomAppMemoryFileStorage, TZvCustomAppStorage)
public:
    explicit TZvCustomAppMemoryFileStorage(TComponent* owner);

    // Writes the content to FullFileName (creating its folder). Nothing when
    // the name is empty, the store is read-only or at design time. A failure
    // goes to OnError and no further.
    void Flush() override;
    // Replaces the content by the file's. Nothing while updating or at
    // design time. A missing file gives an empty store; a file that cannot
    // be read (locked, no access) gives an empty store too, and its error
    // goes to OnError.
    void Reload() override;

    const String& FileName() const { return FFileName; }
    // Flushes the old file (when it was loaded) and reloads the new one
    // (neither while loading or updating); a name without an extension gets
    // the default extension.
    void SetFileName(const String& value);
    TFileLocation Location() const { return FLocation; }
    void SetLocation(TFileLocation value);
    const TZvAppStorageGetFileNameEvent& OnGetFileName() const { return FOnGetFileName; }
    void SetOnGetFileName(const TZvAppStorageGetFileNameEvent& value);
    // Where the file is read from and written to; empty when FileName is
    // empty and the location is not flCustom.
    const String& FullFileName() const { return FFullFileName; }
    bool FileLoaded() const { return FFileLoaded; }
    // The file exists and has the read-only attribute.
    bool PhysicalReadOnly() const { return FPhysicalReadOnly; }
    // At run time the stored flag or the file's read-only attribute.
    bool ReadOnly() const override;

    // The content as one text, and the reverse.
    virtual String AsString() = 0;
    virtual void SetAsString(const String& value) = 0;

protected:
    TZvCustomAppMemoryFileStorage(TComponent* owner, TZvCustomAppStorageOptions* options);

    // "" here; "ini" for the INI store.
    virtual String DefaultExtension() const { return String(); }
    // Recomputes FullFileName and the read-only flag.
    void RecalculateFullFileName();
    // The content store's side of Reload and Flush.
    virtual void ClearContent() = 0;
    virtual void LoadContent(const String& fileName) = 0;
    virtual void SaveContent(const String& fileName) = 0;
    // Lays content (in the form AsString gives) over the current content:
    // each of its values replaces the current one or is added.
    virtual void OverlayContent(const String& content) = 0;

    bool NeedsReload() const override;
    void Loaded() override;

private:
    void FileNameChanging();
    void FileNameChanged();

    String FFileName;
    String FFullFileName;
    TFileLocation FLocation = flExeFile;
    TZvAppStorageGetFileNameEvent FOnGetFileName;
    bool FFileLoaded = false;
    bool FPhysicalReadOnly = false;
};

class TZvAppIniStorageOptions : public TZvAppStorageOptions {
    QL_CLASS(TZvAppIniStorageOptions, TZvAppStorageOptions)
public:
    TZvAppIniStorageOptions();
    void Assign(TPersistent* source) override;

    // Texts with a line break are stored on one line: "\" as "\\", each
    // line break as "\n".
    bool ReplaceCRLF() const { return FReplaceCRLF; }
    void SetReplaceCRLF(bool value) { FReplaceCRLF = value; }
    // Texts that begin or end with a blank (or both begin and end with a
    // double quote) are stored between double quotes.
    bool PreserveLeadingTrailingBlanks() const { return FPreserveLeadingTrailingBlanks; }
    void SetPreserveLeadingTrailingBlanks(bool value) { FPreserveLeadingTrailingBlanks = value; }

private:
    bool FReplaceCRLF = false;
    bool FPreserveLeadingTrailingBlanks = false;
};

class TZvCustomAppIniStorage : public TZvCustomAppMemoryFileStorage {
    QL_CLASS(TZvCustomAppIniStorage, TZvCustomAppMemoryFileStorage)
public:
    explicit TZvCustomAppIniStorage(TComponent* owner);
    ~TZvCustomAppIniStorage() override;

    TClass StorageOptionsClass() const override;
    TZvAppIniStorageOptions* IniStorageOptions() const;

    const String& DefaultSection() const { return FDefaultSection; }
    void SetDefaultSection(const String& value) { FDefaultSection = value; }
    TMemIniFile* IniFile() const { return FIniFile.get(); }

    String AsString() override;
    void SetAsString(const String& value) override;

    // The section and key of a key path; raises EZVLAppStorageError
    // "TZvAppIniFileStorage.ReadValue: Section undefined" when the section
    // is empty or still begins with ".".
    void SplitKeyPath(const String& key, String& section, String& valueName) const;

protected:
    String DefaultExtension() const override { return "ini"; }
    void ClearContent() override;
    void LoadContent(const String& fileName) override;
    void SaveContent(const String& fileName) override;
    void OverlayContent(const String& content) override;

    // The raw value text, and its existence.
    bool ValueExists(const String& section, const String& key);
    String ReadValue(const String& section, const String& key);
    void WriteValue(const String& section, const String& key, const String& value);
    void RemoveValue(const String& section, const String& key);

    bool ValueStoredInt(const String& key) override;
    bool IsFolderInt(const String& key, bool listIsValue = true) override;
    void EnumFolders(const String& key, TStrings* strings, bool reportListAsValue = true) override;
    void EnumValues(const String& key, TStrings* strings, bool reportListAsValue = true) override;
    void DeleteValueInt(const String& key) override;
    void DeleteSubTreeInt(const String& key) override;
    int DoReadInteger(const String& key, int defaultValue) override;
    void DoWriteInteger(const String& key, int value) override;
    double DoReadFloat(const String& key, double defaultValue) override;
    void DoWriteFloat(const String& key, double value) override;
    String DoReadString(const String& key, const String& defaultValue) override;
    void DoWriteString(const String& key, const String& value) override;
    int DoReadBinary(const String& key, void* buffer, int bufferSize) override;
    void DoWriteBinary(const String& key, const void* buffer, int bufferSize) override;

private:
    String FolderSection(const String& key) const;
    std::unique_ptr<TMemIniFile> FIniFile;
    String FDefaultSection;
};

// The INI store as the stored layout uses it (the main form's
// ZvAppIniFileStorage1 with FileName "Settings.ini").
class TZvAppIniFileStorage : public TZvCustomAppIniStorage {
    QL_CLASS(TZvAppIniFileStorage, TZvCustomAppIniStorage)
public:
    explicit TZvAppIniFileStorage(TComponent* owner);
};

// The settings stores' unit (see classlib/core/units.h): initialising
// registers TZvAppIniFileStorage for the stored layout; finalising frees the
// registered property engines.
void ZvAppStorageInitialize();
void ZvAppStorageFinalize();

// The INI value texts (also used by the tests and the fuzzer).
namespace ZvIniText {
// The INI form of a text and back, by the two INI options.
String EncodeValue(const String& value, bool replaceCRLF, bool preserveBlanks);
String DecodeValue(const String& text, bool replaceCRLF, bool preserveBlanks);
// A double as the 10 bytes of the extended-precision value, and back (an
// exponent of all ones gives infinity or NaN).
void DoubleToExtended(double value, Byte bytes[10]);
double ExtendedToDouble(const Byte bytes[10]);
// True for "Item" (any case) followed by a digit: a list item's name.
bool IsListItemName(const String& name);
}  // namespace ZvIniText
