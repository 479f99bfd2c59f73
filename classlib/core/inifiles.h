// INI files: TCustomIniFile (typed reads and writes over texts),
// TMemIniFile (the whole file in memory, written by UpdateFile) and
// TIniFile (every change written to the file at once).
//
// File form, as UpdateFile writes it: for each section "[name]", one
// "key=value" line per key in the order the keys were first added, and an
// empty line; CR LF breaks. Section and key names ignore case.
#pragma once

#include "classlib/core/strings.h"

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(const String& fileName) : FFileName(fileName) {}

    const String& FileName() const { return FFileName; }

    virtual String ReadString(const String& section, const String& ident, const String& defaultValue) = 0;
    virtual void WriteString(const String& section, const String& ident, const String& value) = 0;
    // Decimal, or hexadecimal after "$" or "0x"; anything else reads as the
    // default.
    int ReadInteger(const String& section, const String& ident, int defaultValue);
    void WriteInteger(const String& section, const String& ident, int value);
    // An integer: non-zero is true. Written as "1" or "0".
    bool ReadBool(const String& section, const String& ident, bool defaultValue);
    void WriteBool(const String& section, const String& ident, bool value);
    // FloatToStr text; a text that is no number reads as the default.
    double ReadFloat(const String& section, const String& ident, double defaultValue);
    void WriteFloat(const String& section, const String& ident, double value);
    // DateToStr / DateTimeToStr / TimeToStr texts; bad ones read as the
    // default.
    TDateTime ReadDate(const String& section, const String& ident, TDateTime defaultValue);
    TDateTime ReadDateTime(const String& section, const String& ident, TDateTime defaultValue);
    TDateTime ReadTime(const String& section, const String& ident, TDateTime defaultValue);
    void WriteDate(const String& section, const String& ident, TDateTime value);
    void WriteDateTime(const String& section, const String& ident, TDateTime value);
    void WriteTime(const String& section, const String& ident, TDateTime value);

    // Each of these clears strings first.
    // The key names of section.
    virtual void ReadSection(const String& section, TStrings* strings) = 0;
    // The section names.
    virtual void ReadSections(TStrings* strings) = 0;
    // The "key=value" lines of section.
    virtual void ReadSectionValues(const String& section, TStrings* strings) = 0;
    // True when section holds at least one key.
    virtual bool SectionExists(const String& section);
    virtual bool ValueExists(const String& section, const String& ident);
    virtual void EraseSection(const String& section) = 0;
    virtual void DeleteKey(const String& section, const String& ident) = 0;
    // Writes what is not on disk yet.
    virtual void UpdateFile() = 0;

protected:
    String FFileName;
};

class TMemIniFile : public TCustomIniFile {
public:
    // Reads fileName when it exists; a missing file gives an empty INI.
    explicit TMemIniFile(const String& fileName);
    ~TMemIniFile() override;

    String ReadString(const String& section, const String& ident, const String& defaultValue) override;
    void WriteString(const String& section, const String& ident, const String& value) override;
    void ReadSection(const String& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void ReadSectionValues(const String& section, TStrings* strings) override;
    void EraseSection(const String& section) override;
    void DeleteKey(const String& section, const String& ident) override;
    // The same answers as TCustomIniFile's, without copying the keys.
    bool SectionExists(const String& section) override;
    bool ValueExists(const String& section, const String& ident) override;
    // Writes the whole INI to FileName (see the file form above); raises
    // EFCreateError or EWriteError on failure.
    void UpdateFile() override;

    void Clear();
    // The INI as lines in the file form.
    void GetStrings(TStrings* list);
    // Replaces the INI by lines: "[name]" starts a section (a name seen
    // before continues that section), "key=value" lines lose the blanks
    // around key and value, blank lines, lines starting with ';' and lines
    // before the first section are skipped.
    void SetStrings(TStrings* list);
    // Changes FileName; with reload, reads the new file (or empties the INI
    // when it does not exist).
    void Rename(const String& fileName, bool reload);

    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool on);

protected:
    // The section's key lines; nullptr when there is no such section.
    TStringList* FindSection(const String& section) const;
    TStringList* AddSection(const String& section);
    void LoadValues();

private:
    TStringList FSections;  // names, each with its TStringList of lines (owned)
    bool FCaseSensitive = false;
};

// An INI file that reads the file as it is now on every read and writes it
// after every change, so that two objects (or programs) on one file see
// each other's changes. Writing raises EIniFileException "Unable to write
// to %s" on failure. A value in matching double or single quotes reads
// without them.
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const String& fileName);
    ~TIniFile() override;

    String ReadString(const String& section, const String& ident, const String& defaultValue) override;
    void WriteString(const String& section, const String& ident, const String& value) override;
    void ReadSection(const String& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void ReadSectionValues(const String& section, TStrings* strings) override;
    void EraseSection(const String& section) override;
    void DeleteKey(const String& section, const String& ident) override;
    // Nothing is pending: every change is on disk already.
    void UpdateFile() override;

private:
    TMemIniFile& Fresh();
    void Store();

    TMemIniFile FCache;
};
