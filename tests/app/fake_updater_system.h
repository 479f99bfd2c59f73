// An updater system held in memory: registry values, folders and files the
// test sets up, and a record of the messages shown.
#pragma once

#include <map>
#include <set>
#include <vector>

#include "app/updater_system.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/sysutils.h"

class TFakeUpdaterSystem : public TUpdaterSystem {
public:
    std::map<std::pair<TRegistryRoot, String>, String> KeyDefaults;
    std::set<String> Folders;  // with a trailing "\"
    std::map<String, String> Files;
    std::set<String> ReadOnlyFiles;
    std::map<String, std::vector<String>> SearchResults;  // by mask
    std::vector<String> Messages;
    std::vector<String> RegistryReads;  // "HKLM key" / "HKCU key"
    int Copies = 0;
    String Program = "C:\\Quillmere\\";

    String ReadKeyDefault(TRegistryRoot root, const String& key) override {
        RegistryReads.push_back((root == rrLocalMachine ? "HKLM " : "HKCU ") + key);
        auto it = KeyDefaults.find({root, key});
        return it == KeyDefaults.end() ? String() : it->second;
    }
    bool DirectoryExists(const String& dir) override {
        if (dir.empty()) return false;
        return Folders.count(dir.back() == '\\' ? dir : dir + "\\") > 0;
    }
    bool FileExists(const String& fileName) override { return Files.count(fileName) > 0; }
    std::vector<String> FindNames(const String& mask) override {
        auto it = SearchResults.find(mask);
        return it == SearchResults.end() ? std::vector<String>() : it->second;
    }
    bool CopyNewFile(const String& source, const String& target) override {
        ++Copies;
        if (Files.count(target) || !Files.count(source) || !Folders.count(ExtractFilePath(target))) return false;
        Files[target] = Files[source];
        return true;
    }
    String ReadFile(const String& fileName) override {
        auto it = Files.find(fileName);
        if (it == Files.end()) throw EFOpenError("Cannot open file \"" + fileName + "\".");
        return it->second;
    }
    void ReplaceFile(const String& fileName, const String& data) override {
        if (ReadOnlyFiles.count(fileName)) throw EFCreateError("Cannot create file \"" + fileName + "\".");
        Files[fileName] = data;
    }
    String ProgramFolder() override { return Program; }
    void ShowMessage(const String& text) override { Messages.push_back(text); }
};
