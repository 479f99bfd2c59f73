#include "classlib/os/files.h"

#include "classlib/os/win.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The folder part of a path, up to and including its last separator or
// drive colon ("" when there is none).
String FolderOf(const String& path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        char c = path[i - 1];
        if (IsSeparator(c) || c == ':') return path.substr(0, i);
    }
    return String();
}

String WithoutTrailingSeparators(String path) {
    while (!path.empty() && IsSeparator(path.back())) path.pop_back();
    return path;
}

// "C:" and "\\server\share" are roots: nothing above them can be created.
bool IsRoot(const String& path) {
    if (path.size() == 2 && path[1] == ':') return true;
    if (path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        std::size_t server = path.find_first_of("\\/", 2);
        return server == String::npos || path.find_first_of("\\/", server + 1) == String::npos;
    }
    return false;
}

// Packs a file time as local MS-DOS date (high word) and time (low word).
int DosTimeOf(const FILETIME& time) {
    FILETIME local;
    WORD date = 0, dosTime = 0;
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToDosDateTime(&local, &date, &dosTime)) return 0;
    return static_cast<int>((static_cast<LongWord>(date) << 16) | dosTime);
}

// Skips the entries the search's attribute filter excludes and copies the
// first remaining one into rec.
int MatchingFile(TSearchRec& rec, WIN32_FIND_DATAA& data) {
    while (data.dwFileAttributes & static_cast<DWORD>(rec.ExcludeAttr)) {
        if (!FindNextFileA(rec.FindHandle, &data)) return static_cast<int>(GetLastError());
    }
    rec.Time = DosTimeOf(data.ftLastWriteTime);
    rec.Size = (static_cast<Int64>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    rec.Attr = static_cast<int>(data.dwFileAttributes);
    rec.Name = data.cFileName;
    return 0;
}

[[noreturn]] void RaiseCreateError(const String& fileName, DWORD code) {
    throw EFCreateError("Cannot create file \"" + fileName + "\". " + SysErrorMessage(code));
}

// Writes the data to an open file; false (with the system's error set) on
// a short write.
bool WriteAll(HANDLE file, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, p, chunk, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        p += written;
        size -= written;
    }
    return true;
}

// The new content of a file is written beside it under the file's own name
// followed by ".~", eight hexadecimal digits and ".tmp"
// ("Settings.ini.~0012AB34.tmp"), so that what a write cut short leaves is
// known as its own and nobody else's.
const char* const ReplacementSuffix = ".tmp";
constexpr std::size_t ReplacementDigits = 8;

String ReplacementName(const String& fileName, DWORD number) {
    static const char hex[] = "0123456789ABCDEF";
    String name = fileName + ".~";
    for (int shift = 28; shift >= 0; shift -= 4) name += hex[(number >> shift) & 0xF];
    return name + ReplacementSuffix;
}

// Whether name (a file name without its folder) is one of baseName's
// replacements.
bool IsReplacementOf(const String& name, const String& baseName) {
    const String head = baseName + ".~";
    const std::size_t tail = std::strlen(ReplacementSuffix);
    if (name.size() != head.size() + ReplacementDigits + tail) return false;
    if (CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, name.data(), int(head.size()), head.data(),
                       int(head.size())) != CSTR_EQUAL)
        return false;
    for (std::size_t i = head.size(); i < head.size() + ReplacementDigits; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
    return lstrcmpiA(name.c_str() + head.size() + ReplacementDigits, ReplacementSuffix) == 0;
}

// A new replacement file, open for writing and shared with nobody while it
// is written.
HANDLE CreateReplacement(const String& fileName, String& temp) {
    DWORD number = GetTickCount() ^ (GetCurrentProcessId() << 12) ^ GetCurrentThreadId();
    for (int attempt = 0; attempt < 64; ++attempt, number = number * 1664525u + 1013904223u) {
        temp = ReplacementName(fileName, number);
        HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Removes the replacements of fileName that writes cut short (a kill, a
// crash) left beside it. One that another write holds open cannot be
// deleted and stays.
void RemoveStaleReplacements(const String& fileName) {
    const String folder = FolderOf(fileName);
    const String baseName = fileName.substr(folder.size());
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((fileName + ".~*" + ReplacementSuffix).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsReplacementOf(data.cFileName, baseName))
            DeleteFileA((folder + data.cFileName).c_str());
    } while (FindNextFileA(find, &data));
    ::FindClose(find);
}

}  // namespace

bool FileExists(const String& fileName) {
    DWORD attr = GetFileAttributesA(fileName.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const String& dir) {
    if (dir.empty()) return false;
    DWORD attr = GetFileAttributesA(dir.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const String& dir) {
    if (dir.empty()) throw EInOutError("Unable to create directory");
    String path = WithoutTrailingSeparators(dir);
    if (path.empty() || DirectoryExists(path)) return true;
    if (IsRoot(path)) return DirectoryExists(path + "\\");
    String parent = FolderOf(path);
    if (!parent.empty() && !ForceDirectories(parent)) return false;
    // Another process may create the folder at the same moment.
    return CreateDir(path) || DirectoryExists(path);
}

bool CreateDir(const String& dir) { return CreateDirectoryA(dir.c_str(), nullptr) != 0; }

bool RemoveDir(const String& dir) { return RemoveDirectoryA(dir.c_str()) != 0; }

bool DeleteFile(const String& fileName) { return DeleteFileA(fileName.c_str()) != 0; }

bool RenameFile(const String& oldName, const String& newName) {
    return MoveFileA(oldName.c_str(), newName.c_str()) != 0;
}

int FileGetAttr(const String& fileName) {
    DWORD attr = GetFileAttributesA(fileName.c_str());
    return attr == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<int>(attr);
}

int FileSetAttr(const String& fileName, int attr) {
    if (SetFileAttributesA(fileName.c_str(), static_cast<DWORD>(attr))) return 0;
    return static_cast<int>(GetLastError());
}

TSearchRec::~TSearchRec() { FindClose(*this); }

int FindFirst(const String& path, int attr, TSearchRec& rec) {
    const int special = faHidden | faSysFile | faVolumeID | faDirectory;
    FindClose(rec);
    rec.ExcludeAttr = ~attr & special;
    WIN32_FIND_DATAA data;
    HANDLE handle = FindFirstFileA(path.c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
    rec.FindHandle = handle;
    int result = MatchingFile(rec, data);
    if (result != 0) FindClose(rec);
    return result;
}

int FindNext(TSearchRec& rec) {
    if (!rec.FindHandle) return ERROR_NO_MORE_FILES;
    WIN32_FIND_DATAA data;
    if (!FindNextFileA(rec.FindHandle, &data)) return static_cast<int>(GetLastError());
    return MatchingFile(rec, data);
}

void FindClose(TSearchRec& rec) {
    if (rec.FindHandle) {
        ::FindClose(rec.FindHandle);
        rec.FindHandle = nullptr;
    }
}

bool CopyFileTo(const String& source, const String& target, bool failIfExists) {
    return CopyFileA(source.c_str(), target.c_str(), failIfExists ? TRUE : FALSE) != 0;
}

void ReplaceFileContents(const String& fileName, const void* data, std::size_t size) {
    DWORD oldAttr = GetFileAttributesA(fileName.c_str());
    if (oldAttr != INVALID_FILE_ATTRIBUTES && (oldAttr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        RaiseCreateError(fileName, ERROR_ACCESS_DENIED);

    // The new content goes into a file of its own in the same folder, so
    // that putting it in place is a rename within one volume.
    String temp;
    HANDLE file = CreateReplacement(fileName, temp);
    if (file == INVALID_HANDLE_VALUE) RaiseCreateError(fileName, GetLastError());
    bool written = WriteAll(file, data, size) && FlushFileBuffers(file);
    DWORD code = written ? 0 : GetLastError();
    CloseHandle(file);
    if (!written) {
        DeleteFileA(temp.c_str());
        RaiseCreateError(fileName, code);
    }

    if (oldAttr != INVALID_FILE_ATTRIBUTES) {
        const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        SetFileAttributesA(temp.c_str(), (oldAttr & kept) | FILE_ATTRIBUTE_ARCHIVE);
    }
    if (!MoveFileExA(temp.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        code = GetLastError();
        DeleteFileA(temp.c_str());
        RaiseCreateError(fileName, code);
    }
    // The file is whole: what earlier writes of it left behind goes.
    RemoveStaleReplacements(fileName);
}

void ReplaceFileContents(const String& fileName, const String& data) {
    ReplaceFileContents(fileName, data.data(), data.size());
}

namespace {

// The command line split as the class library does it: blanks (and
// control characters) separate arguments, double quotes group and vanish.
std::vector<String> CommandLineArguments() {
    std::vector<String> args;
    const char* p = GetCommandLineA();
    while (true) {
        while (*p && static_cast<unsigned char>(*p) <= ' ') ++p;
        if (!*p) break;
        String arg;
        bool quoted = false;
        while (*p && (quoted || static_cast<unsigned char>(*p) > ' ')) {
            if (*p == '"')
                quoted = !quoted;
            else
                arg += *p;
            ++p;
        }
        args.push_back(arg);
    }
    return args;
}

}  // namespace

String ParamStr(int index) {
    if (index == 0) return ApplicationExeName();
    std::vector<String> args = CommandLineArguments();
    if (index < 0 || static_cast<std::size_t>(index) >= args.size()) return String();
    return args[static_cast<std::size_t>(index)];
}

int ParamCount() {
    std::size_t n = CommandLineArguments().size();
    return n > 0 ? static_cast<int>(n - 1) : 0;
}

String ApplicationExeName() {
    std::vector<char> buffer(MAX_PATH);
    while (true) {
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return String();
        if (n < buffer.size()) return String(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

String ApplicationFolder() { return FolderOf(ApplicationExeName()); }

String GetWindowsDir() {
    char buffer[MAX_PATH];
    UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? String(buffer, n) : String();
}

String GetTempDir() {
    char buffer[MAX_PATH + 1];
    DWORD n = GetTempPathA(MAX_PATH + 1, buffer);
    return n > 0 && n <= MAX_PATH ? String(buffer, n) : String();
}

String SysErrorMessage(LongWord errorCode) {
    char* text = nullptr;
    DWORD n =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, errorCode, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    String result;
    if (n > 0 && text) {
        result.assign(text, n);
        while (!result.empty() && (static_cast<unsigned char>(result.back()) <= ' ' || result.back() == '.'))
            result.pop_back();
    }
    if (text) LocalFree(text);
    return result;
}

void RaiseLastOSError() { RaiseLastOSError(GetLastError()); }

void RaiseLastOSError(LongWord errorCode) {
    if (errorCode == 0) throw EOSError("A call to an OS function failed", 0);
    throw EOSError("System Error.  Code: " + std::to_string(errorCode) + ".\r\n" + SysErrorMessage(errorCode),
                   errorCode);
}
