#include "classlib/os/registry_ini.h"

#include "classlib/core/scopes.h"
#include "classlib/core/strings.h"

TRegistryIniFile::TRegistryIniFile(const String& fileName, LongWord access)
    : TCustomIniFile(fileName), FRegistry(access) {}

String TRegistryIniFile::SectionPath(const String& section) const {
    String key = FileName();
    while (!key.empty() && key[0] == '\\') key.erase(0, 1);
    String path = "\\" + key;
    if (!section.empty()) path += "\\" + section;
    return path;
}

bool TRegistryIniFile::OpenSection(const String& section, bool forWriting) {
    return forWriting ? FRegistry.OpenKey(SectionPath(section), true) : FRegistry.OpenKeyReadOnly(SectionPath(section));
}

String TRegistryIniFile::ReadString(const String& section, const String& ident, const String& defaultValue) {
    String result = defaultValue;
    if (OpenSection(section, false)) {
        TScopeExit close([this] { FRegistry.CloseKey(); });
        switch (FRegistry.GetDataType(ident)) {
        case rdString:
        case rdExpandString: result = FRegistry.ReadString(ident); break;
        case rdInteger: result = std::to_string(FRegistry.ReadInteger(ident)); break;
        default: break;
        }
    }
    return result;
}

void TRegistryIniFile::WriteString(const String& section, const String& ident, const String& value) {
    if (!OpenSection(section, true)) throw ERegistryException("Failed to set data for '" + ident + "'");
    TScopeExit close([this] { FRegistry.CloseKey(); });
    FRegistry.WriteString(ident, value);
}

void TRegistryIniFile::WriteInteger(const String& section, const String& ident, int value) {
    if (!OpenSection(section, true)) throw ERegistryException("Failed to set data for '" + ident + "'");
    TScopeExit close([this] { FRegistry.CloseKey(); });
    FRegistry.WriteInteger(ident, value);
}

void TRegistryIniFile::ReadSection(const String& section, TStrings* strings) {
    strings->Clear();
    if (OpenSection(section, false)) {
        TScopeExit close([this] { FRegistry.CloseKey(); });
        FRegistry.GetValueNames(strings);
    }
}

void TRegistryIniFile::ReadSections(TStrings* strings) {
    strings->Clear();
    if (OpenSection(String(), false)) {
        TScopeExit close([this] { FRegistry.CloseKey(); });
        FRegistry.GetKeyNames(strings);
    }
}

void TRegistryIniFile::ReadSectionValues(const String& section, TStrings* strings) {
    strings->Clear();
    TStringList names;
    ReadSection(section, &names);
    TUpdateScope update(*strings);
    for (int i = 0; i < names.Count(); ++i) strings->Add(names[i] + "=" + ReadString(section, names[i], String()));
}

bool TRegistryIniFile::SectionExists(const String& section) { return FRegistry.KeyExists(SectionPath(section)); }

bool TRegistryIniFile::ValueExists(const String& section, const String& ident) {
    bool exists = false;
    if (OpenSection(section, false)) {
        TScopeExit close([this] { FRegistry.CloseKey(); });
        exists = FRegistry.ValueExists(ident);
    }
    return exists;
}

void TRegistryIniFile::EraseSection(const String& section) {
    if (!section.empty()) FRegistry.DeleteKey(SectionPath(section));
}

void TRegistryIniFile::DeleteKey(const String& section, const String& ident) {
    if (FRegistry.OpenKey(SectionPath(section), false)) {
        TScopeExit close([this] { FRegistry.CloseKey(); });
        FRegistry.DeleteValue(ident);
    }
}
