// Files and folders: existence tests, folder creation, attributes, file
// search, copy, the write-beside-then-replace save, the program's own path,
// the system folders and operating-system errors.
//
// Names are 8-bit text in the system code page, passed to the ...A
// functions of Windows. "\" and "/" both separate folders, as they do for
// Windows itself.
#pragma once

#include <cstddef>

#include "classlib/core/exceptions.h"
#include "classlib/core/types.h"

// This header declares DeleteFile, which <windows.h> defines as a macro;
// classlib/os/win.h removes the macro. A file that included <windows.h>
// directly would rename the declaration below.
#ifdef DeleteFile
#error "include classlib/os/win.h instead of <windows.h>"
#endif

// File attributes, as FileGetAttr returns them and FindFirst filters by.
constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faAnyFile = 0x3F;

// True when the name is an existing file (not a folder).
bool FileExists(const String& fileName);
// True when the name is an existing folder. Empty text is no folder.
bool DirectoryExists(const String& dir);
// Creates the folder and every missing folder above it; true when the
// folder exists afterwards. Empty text raises EInOutError
// "Unable to create directory".
bool ForceDirectories(const String& dir);
// Creates one folder; its parent must exist.
bool CreateDir(const String& dir);
// Removes one empty folder.
bool RemoveDir(const String& dir);
bool DeleteFile(const String& fileName);
// Renames or moves a file or folder on the same volume; fails when the new
// name exists.
bool RenameFile(const String& oldName, const String& newName);

// The attributes of a file or folder, or -1 when it cannot be read.
int FileGetAttr(const String& fileName);
// Sets the attributes; 0 on success, else the system's error code.
int FileSetAttr(const String& fileName, int attr);

// One entry found by FindFirst/FindNext. Time is the last-write time in
// local time, packed as an MS-DOS date (high word) and time (low word).
// An open search is closed by FindClose, or at the latest when the record
// is destroyed.
struct TSearchRec {
    int Time = 0;
    Int64 Size = 0;
    int Attr = 0;
    String Name;
    int ExcludeAttr = 0;
    void* FindHandle = nullptr;

    TSearchRec() = default;
    TSearchRec(const TSearchRec&) = delete;
    TSearchRec& operator=(const TSearchRec&) = delete;
    ~TSearchRec();
};

// Starts a search for the files matching path (a folder and a mask with *
// and ?). Plain files are always found; folders, hidden and system files
// only when attr has faDirectory, faHidden, faSysFile (faAnyFile: all).
// Entries come in the order of the file system. Returns 0 and fills rec
// with the first entry, else the system's error code (no search is left
// open then).
int FindFirst(const String& path, int attr, TSearchRec& rec);
// The next entry: 0, or the system's error code at the end.
int FindNext(TSearchRec& rec);
// Ends the search; harmless when none is open.
void FindClose(TSearchRec& rec);

// Copies a file with its attributes. With failIfExists the copy fails, and
// changes nothing, when the target exists.
bool CopyFileTo(const String& source, const String& target, bool failIfExists);

// Saves a whole file in one step: writes the data to a new file beside it,
// flushes it to disk and then puts it in place of the old one, so that the
// file on disk is always either the old or the new content, never a
// truncated or half-written one. The old file's attributes (hidden, system)
// are kept. A read-only or unwritable target raises EFCreateError
// "Cannot create file "%s". %s" and leaves the file as it was. The new
// content's file is named after the file ("Settings.ini.~0012AB34.tmp");
// one that a write cut short left is removed by the next write that
// succeeds.
void ReplaceFileContents(const String& fileName, const void* data, std::size_t size);
void ReplaceFileContents(const String& fileName, const String& data);

// The program's full file name (index 0) or its command-line arguments
// (1 to ParamCount; quotes group blanks and are removed). Out of range: "".
String ParamStr(int index);
int ParamCount();
// The program's full file name, and its folder with a trailing "\".
String ApplicationExeName();
String ApplicationFolder();

// The Windows folder (no trailing "\"), "" when the system cannot say.
String GetWindowsDir();
// The folder for temporary files, with a trailing "\" as the system gives
// it, "" when the system cannot say.
String GetTempDir();

// The system's text for an error code, without a final full stop or line
// break.
String SysErrorMessage(LongWord errorCode);
// Raises EOSError "System Error.  Code: %d.\r\n%s" for the calling thread's
// last error (or the code given); for code 0 the message is
// "A call to an OS function failed".
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(LongWord errorCode);
