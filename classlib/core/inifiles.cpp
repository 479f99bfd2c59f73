// TCustomIniFile, TMemIniFile and TIniFile.
#include "classlib/core/inifiles.h"

#include <cerrno>
#include <cstdio>

#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"

// ---- TCustomIniFile --------------------------------------------------------------

int TCustomIniFile::ReadInteger(const String& section, const String& ident, int defaultValue) {
    return StrToIntDef(ReadString(section, ident, String()), defaultValue);
}

void TCustomIniFile::WriteInteger(const String& section, const String& ident, int value) {
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const String& section, const String& ident, bool defaultValue) {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& section, const String& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const String& section, const String& ident, double defaultValue) {
    String s = ReadString(section, ident, String());
    double v;
    return !s.empty() && TryStrToFloat(s, v) ? v : defaultValue;
}

void TCustomIniFile::WriteFloat(const String& section, const String& ident, double value) {
    WriteString(section, ident, FloatToStr(value));
}

TDateTime TCustomIniFile::ReadDate(const String& section, const String& ident, TDateTime defaultValue) {
    String s = ReadString(section, ident, String());
    TDateTime v;
    return !s.empty() && TryStrToDate(s, v) ? v : defaultValue;
}

TDateTime TCustomIniFile::ReadDateTime(const String& section, const String& ident, TDateTime defaultValue) {
    String s = ReadString(section, ident, String());
    TDateTime v;
    return !s.empty() && TryStrToDateTime(s, v) ? v : defaultValue;
}

TDateTime TCustomIniFile::ReadTime(const String& section, const String& ident, TDateTime defaultValue) {
    String s = ReadString(section, ident, String());
    TDateTime v;
    return !s.empty() && TryStrToTime(s, v) ? v : defaultValue;
}

void TCustomIniFile::WriteDate(const String& section, const String& ident, TDateTime value) {
    WriteString(section, ident, DateToStr(value));
}

void TCustomIniFile::WriteDateTime(const String& section, const String& ident, TDateTime value) {
    WriteString(section, ident, DateTimeToStr(value));
}

void TCustomIniFile::WriteTime(const String& section, const String& ident, TDateTime value) {
    WriteString(section, ident, TimeToStr(value));
}

bool TCustomIniFile::SectionExists(const String& section) {
    TStringList keys;
    ReadSection(section, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& section, const String& ident) {
    TStringList keys;
    ReadSection(section, &keys);
    return keys.IndexOf(ident) >= 0;
}

// ---- TMemIniFile -------------------------------------------------------------------

TMemIniFile::TMemIniFile(const String& fileName) : TCustomIniFile(fileName) {
    FSections.SetOwnsObjects(true);
    LoadValues();
}

TMemIniFile::~TMemIniFile() = default;

TStringList* TMemIniFile::FindSection(const String& section) const {
    int i = FSections.IndexOf(section);
    return i < 0 ? nullptr : static_cast<TStringList*>(FSections.Objects(i));
}

TStringList* TMemIniFile::AddSection(const String& section) {
    auto* keys = new TStringList;
    keys->SetCaseSensitive(FCaseSensitive);
    FSections.AddObject(section, keys);
    return keys;
}

void TMemIniFile::LoadValues() {
    if (FFileName.empty()) {
        Clear();
        return;
    }
    // A missing file is an empty INI; any other failure to read it raises.
    errno = 0;
    std::FILE* probe = std::fopen(FFileName.c_str(), "rb");
    if (!probe && errno == ENOENT) {
        Clear();
        return;
    }
    if (probe) std::fclose(probe);
    TStringList lines;
    lines.LoadFromFile(FFileName);
    SetStrings(&lines);
}

void TMemIniFile::Clear() { FSections.Clear(); }

void TMemIniFile::GetStrings(TStrings* list) {
    TUpdateScope update(*list);
    list->Clear();
    for (int i = 0; i < FSections.Count(); ++i) {
        list->Add(String("[").append(FSections[i]).append("]"));
        auto* keys = static_cast<TStringList*>(FSections.Objects(i));
        for (int k = 0; k < keys->Count(); ++k) list->Add((*keys)[k]);
        list->Add(String());
    }
}

void TMemIniFile::SetStrings(TStrings* list) {
    Clear();
    TStringList* keys = nullptr;
    for (int i = 0; i < list->Count(); ++i) {
        String s = Trim((*list)[i]);
        if (s.empty() || s[0] == ';') continue;
        if (s[0] == '[' && s.back() == ']') {
            String name = Trim(s.substr(1, s.size() - 2));
            // A section named twice is one section: its keys are all found.
            keys = FindSection(name);
            if (!keys) keys = AddSection(name);
        } else if (keys) {
            size_t p = s.find('=');
            if (p != String::npos)
                keys->Add(Trim(s.substr(0, p)) + "=" + Trim(s.substr(p + 1)));
            else
                keys->Add(s);
        }
    }
}

void TMemIniFile::Rename(const String& fileName, bool reload) {
    FFileName = fileName;
    if (reload) LoadValues();
}

void TMemIniFile::SetCaseSensitive(bool on) {
    if (on == FCaseSensitive) return;
    TStringList lines;
    GetStrings(&lines);
    FCaseSensitive = on;
    FSections.SetCaseSensitive(on);
    SetStrings(&lines);
}

String TMemIniFile::ReadString(const String& section, const String& ident, const String& defaultValue) {
    if (TStringList* keys = FindSection(section)) {
        int i = keys->IndexOfName(ident);
        if (i >= 0) return keys->ValueFromIndex(i);
    }
    return defaultValue;
}

void TMemIniFile::WriteString(const String& section, const String& ident, const String& value) {
    TStringList* keys = FindSection(section);
    if (!keys) keys = AddSection(section);
    String line = ident + "=" + value;
    int i = keys->IndexOfName(ident);
    if (i >= 0)
        keys->SetStrings(i, line);
    else
        keys->Add(line);
}

void TMemIniFile::ReadSection(const String& section, TStrings* strings) {
    TUpdateScope update(*strings);
    strings->Clear();
    if (TStringList* keys = FindSection(section))
        for (int i = 0; i < keys->Count(); ++i)
            if ((*keys)[i].find('=') != String::npos) strings->Add(keys->Names(i));
}

void TMemIniFile::ReadSections(TStrings* strings) {
    TUpdateScope update(*strings);
    strings->Clear();
    for (int i = 0; i < FSections.Count(); ++i) strings->Add(FSections[i]);
}

void TMemIniFile::ReadSectionValues(const String& section, TStrings* strings) {
    TUpdateScope update(*strings);
    strings->Clear();
    if (TStringList* keys = FindSection(section)) strings->AddStrings(keys);
}

void TMemIniFile::EraseSection(const String& section) {
    int i = FSections.IndexOf(section);
    if (i >= 0) FSections.Delete(i);
}

bool TMemIniFile::SectionExists(const String& section) {
    TStringList* keys = FindSection(section);
    if (!keys) return false;
    for (int i = 0; i < keys->Count(); ++i)
        if ((*keys)[i].find('=') != String::npos) return true;
    return false;
}

bool TMemIniFile::ValueExists(const String& section, const String& ident) {
    TStringList* keys = FindSection(section);
    if (!keys) return false;
    for (int i = 0; i < keys->Count(); ++i) {
        if ((*keys)[i].find('=') != String::npos && SameText(keys->Names(i), ident)) return true;
    }
    return false;
}

void TMemIniFile::DeleteKey(const String& section, const String& ident) {
    if (TStringList* keys = FindSection(section)) {
        int i = keys->IndexOfName(ident);
        if (i >= 0) keys->Delete(i);
    }
}

void TMemIniFile::UpdateFile() {
    TStringList lines;
    GetStrings(&lines);
    lines.SaveToFile(FFileName);
}

// ---- TIniFile ------------------------------------------------------------------------

TIniFile::TIniFile(const String& fileName) : TCustomIniFile(fileName), FCache(fileName) {}

TIniFile::~TIniFile() = default;

TMemIniFile& TIniFile::Fresh() {
    FCache.Rename(FFileName, true);
    return FCache;
}

void TIniFile::Store() {
    try {
        FCache.UpdateFile();
    } catch (const EStreamError&) {
        throw EIniFileException("Unable to write to " + FFileName);
    }
}

String TIniFile::ReadString(const String& section, const String& ident, const String& defaultValue) {
    TMemIniFile& ini = Fresh();
    TStringList keys;
    ini.ReadSection(section, &keys);
    if (keys.IndexOf(ident) < 0) return defaultValue;
    String v = ini.ReadString(section, ident, defaultValue);
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
    return v;
}

void TIniFile::WriteString(const String& section, const String& ident, const String& value) {
    Fresh().WriteString(section, ident, value);
    Store();
}

void TIniFile::ReadSection(const String& section, TStrings* strings) { Fresh().ReadSection(section, strings); }

void TIniFile::ReadSections(TStrings* strings) { Fresh().ReadSections(strings); }

void TIniFile::ReadSectionValues(const String& section, TStrings* strings) {
    Fresh().ReadSectionValues(section, strings);
}

void TIniFile::EraseSection(const String& section) {
    TStringList sections;
    Fresh().ReadSections(&sections);
    if (sections.IndexOf(section) < 0) return;
    FCache.EraseSection(section);
    Store();
}

void TIniFile::DeleteKey(const String& section, const String& ident) {
    if (!Fresh().ValueExists(section, ident)) return;
    FCache.DeleteKey(section, ident);
    Store();
}

void TIniFile::UpdateFile() {}
