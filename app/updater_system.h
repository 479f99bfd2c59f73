// What the settings updater asks of the system: the registry, files,
// folders and message boxes. The program runs on the Windows services of
// the class library (TWindowsUpdaterSystem); tests may give a fake.
#pragma once

#include <vector>

#include "classlib/core/types.h"

enum TRegistryRoot { rrLocalMachine, rrCurrentUser };

class TUpdaterSystem {
public:
    virtual ~TUpdaterSystem() = default;

    // The default value (the value with the empty name) of the key below
    // the root, read-only, as text. "" when the key cannot be opened, has no
    // default value, or has one that is not text.
    virtual String ReadKeyDefault(TRegistryRoot root, const String& key) = 0;

    // Empty text is no folder.
    virtual bool DirectoryExists(const String& dir) = 0;
    virtual bool FileExists(const String& fileName) = 0;
    // The names (without folder) of every entry the mask matches, files and
    // folders alike, in the order of the search.
    virtual std::vector<String> FindNames(const String& mask) = 0;
    // Copies a file unless the target exists; true when it copied.
    virtual bool CopyNewFile(const String& source, const String& target) = 0;
    // The whole file's bytes; a file that cannot be read raises
    // EFOpenError.
    virtual String ReadFile(const String& fileName) = 0;
    // Puts the data in place of the file's content in one step, keeping its
    // name and attributes; on failure raises (EFCreateError) and the old
    // file stays as it was.
    virtual void ReplaceFile(const String& fileName, const String& data) = 0;

    // The program's own folder, ending in "\".
    virtual String ProgramFolder() = 0;
    // A modal message box with an OK button.
    virtual void ShowMessage(const String& text) = 0;
};
