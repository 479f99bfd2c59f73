// The settings updater on Windows: the registry in its 32-bit view, the
// file system, and the application's message boxes.
#pragma once

#include "app/updater_system.h"

class TWindowsUpdaterSystem : public TUpdaterSystem {
public:
    // The program's folder (ending in "\") is the folder of the program file
    // unless one is given.
    TWindowsUpdaterSystem();
    explicit TWindowsUpdaterSystem(String programFolder);

    String ReadKeyDefault(TRegistryRoot root, const String& key) override;
    bool DirectoryExists(const String& dir) override;
    bool FileExists(const String& fileName) override;
    std::vector<String> FindNames(const String& mask) override;
    bool CopyNewFile(const String& source, const String& target) override;
    String ReadFile(const String& fileName) override;
    void ReplaceFile(const String& fileName, const String& data) override;
    String ProgramFolder() override { return FProgramFolder; }
    void SetProgramFolder(const String& folder) { FProgramFolder = folder; }
    // Through Application->MessageBox (ShowMessage), which tests can answer.
    void ShowMessage(const String& text) override;

private:
    String FProgramFolder;
};
