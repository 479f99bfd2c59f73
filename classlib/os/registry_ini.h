// TRegistryIniFile: the INI-file interface over a registry key, for code
// that stores its settings either in an INI file or in the registry.
//
// The "file name" is a key below HKEY_CURRENT_USER, each section is a
// subkey of it and each ident a value of that subkey:
//   TRegistryIniFile ini("Software\\Vendor\\Product");
//   ini.WriteInteger("Panel1", "Top", 10);  // ...\Product\Panel1, Top = 10
//
// Reading never creates a key; writing creates the section's key when it
// is missing. Changes are in the registry at once (UpdateFile does
// nothing).
#pragma once

#include "classlib/core/inifiles.h"
#include "classlib/os/registry.h"

class TRegistryIniFile : public TCustomIniFile {
public:
    explicit TRegistryIniFile(const String& fileName, LongWord access = KEY_ALL_ACCESS);

    // The registry object: its root (HKEY_CURRENT_USER unless changed) is
    // where the key is looked for.
    TRegistry& RegIniFile() { return FRegistry; }

    // A string value as it is, an integer value (REG_DWORD) as decimal
    // text; a missing value, or one of another type, reads as the default.
    String ReadString(const String& section, const String& ident, const String& defaultValue) override;
    void WriteString(const String& section, const String& ident, const String& value) override;
    // Stores a REG_DWORD value. (Through a TCustomIniFile reference the
    // number is stored as text; both read back through ReadInteger.)
    void WriteInteger(const String& section, const String& ident, int value);
    using TCustomIniFile::ReadInteger;

    void ReadSection(const String& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void ReadSectionValues(const String& section, TStrings* strings) override;
    // A section exists when its key does, even with no values in it.
    bool SectionExists(const String& section) override;
    bool ValueExists(const String& section, const String& ident) override;
    void EraseSection(const String& section) override;
    void DeleteKey(const String& section, const String& ident) override;
    void UpdateFile() override {}

private:
    String SectionPath(const String& section) const;
    bool OpenSection(const String& section, bool forWriting);

    TRegistry FRegistry;
};
