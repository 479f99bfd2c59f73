// What the file-backed settings stores ask of the file system: whether a
// file exists and is read-only, folder creation, the folders a store's file
// may live in, and a named lock that serialises file access between
// processes.
//
// The portable services (used until the Windows start-up installs the
// system's own) work on the standard file system, know no Windows or
// user folder, and lock by name within this process only.
#pragma once

#include <memory>

#include "classlib/core/types.h"

// A named lock shared by everyone who opens one of the same name.
class TZvNamedLock {
public:
    virtual ~TZvNamedLock() = default;
    // Waits without time-out; true when the caller now holds the lock.
    virtual bool Lock() = 0;
    virtual void Unlock() = 0;
};

class TZvStorageFileSystem {
public:
    virtual ~TZvStorageFileSystem() = default;

    virtual bool FileExists(const String& fileName);
    // True when the file exists and may not be written (its read-only
    // attribute is set).
    virtual bool FileIsReadOnly(const String& fileName);
    // Creates the folder and the missing folders above it; true when it
    // exists afterwards.
    virtual bool ForceDirectories(const String& dir);
    // The whole file; a file that cannot be opened raises EFOpenError, one
    // that cannot be read EReadError.
    virtual String ReadWholeFile(const String& fileName);
    // Writes the whole file: the new content is written beside it and put
    // in place in one step, so the file is always the old or the new
    // content, whichever services are installed. A failure (a read-only
    // file among them) raises EFCreateError and leaves the old file.
    virtual void WriteWholeFile(const String& fileName, const String& content);

    // Each without a trailing separator; empty when unknown.
    virtual String WindowsFolder();
    virtual String TempFolder();
    // The folder of the program file.
    virtual String ExeFolder();
    virtual String UserAppDataFolder();

    // A lock by name (for the Windows services: a named mutex, raising
    // EZevMutexError when it cannot be made).
    virtual std::unique_ptr<TZvNamedLock> CreateNamedLock(const String& name);
};

// The installed services, or the portable ones.
TZvStorageFileSystem& ZvStorageFileSystem();
// nullptr puts the portable services back.
void ZvInstallStorageFileSystem(TZvStorageFileSystem* fileSystem);
// Windows: installs the system's services (attributes, folders, named
// mutexes). The start-up of the support routines calls it.
void ZvInstallSystemStorageFileSystem();
