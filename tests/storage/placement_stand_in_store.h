// A settings store for the placement routines that holds its values in a
// map by path, for the placement tests and the placement fuzzer.
#pragma once

#include <map>

#include "classlib/core/sysutils.h"
#include "storage/placement_values.h"

class TPlacementMapStore : public TZvPlacementStore {
public:
    std::map<String, String> Values;  // keys as given, in sorted order

    bool ValueStored(const String& path) override { return Values.count(path) != 0; }
    String ReadString(const String& path, const String& def) override {
        auto it = Values.find(path);
        return it == Values.end() ? def : it->second;
    }
    // A stored text that is no number reads as the default.
    int ReadInteger(const String& path, int def) override {
        auto it = Values.find(path);
        return it == Values.end() ? def : StrToIntDef(it->second, def);
    }
    void WriteString(const String& path, const String& value) override { Values[path] = value; }
    void WriteInteger(const String& path, int value) override { WriteString(path, IntToStr(value)); }
};
