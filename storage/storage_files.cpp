#include "storage/storage_files.h"

#include "classlib/core/exceptions.h"

#include <sys/stat.h>

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#ifdef _WIN32
#include <direct.h>

#include "classlib/os/files.h"
#else
#include <fcntl.h>
#include <unistd.h>
#endif

// The C library's calls rather than std::filesystem: on Windows the latter
// brings the whole of the standard library's locale and stream machinery
// into the program, and it reads names in UTF-8 where the program's are in
// the system code page.
namespace {

bool StatOf(const String& name, struct stat& st) { return !name.empty() && ::stat(name.c_str(), &st) == 0; }

bool IsFolder(const String& name) {
    struct stat st;
    return StatOf(name, st) && S_ISDIR(st.st_mode);
}

bool IsSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

bool MakeFolder(const String& name) {
#ifdef _WIN32
    return ::_mkdir(name.c_str()) == 0;
#else
    return ::mkdir(name.c_str(), 0777) == 0;
#endif
}

}  // namespace

bool TZvStorageFileSystem::FileExists(const String& fileName) {
    struct stat st;
    return StatOf(fileName, st) && S_ISREG(st.st_mode);
}

bool TZvStorageFileSystem::FileIsReadOnly(const String& fileName) {
    struct stat st;
    return StatOf(fileName, st) && S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
}

bool TZvStorageFileSystem::ForceDirectories(const String& folder) {
    String dir = folder;
    while (dir.size() > 1 && IsSeparator(dir.back()) && dir[dir.size() - 2] != ':') dir.pop_back();
    if (dir.empty()) return false;
    // Each folder from the top down; one that is there already is fine.
    for (size_t i = 1; i <= dir.size(); ++i) {
        if (i < dir.size() && !IsSeparator(dir[i])) continue;
        if (IsSeparator(dir[i - 1])) continue;
        const String part = dir.substr(0, i);
#ifdef _WIN32
        if (part.size() == 2 && part[1] == ':') continue;  // a drive
#endif
        if (!IsFolder(part)) MakeFolder(part);
    }
    return IsFolder(dir);
}

String TZvStorageFileSystem::ReadWholeFile(const String& fileName) {
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (!file) throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    String content;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0) content.append(buffer, n);
    bool failed = std::ferror(file) != 0;
    int error = errno;
    std::fclose(file);
    if (failed) throw EReadError("Cannot read file \"" + fileName + "\". " + std::strerror(error));
    return content;
}

void TZvStorageFileSystem::WriteWholeFile(const String& fileName, const String& content) {
    // The new content goes into a file beside the old one and takes its
    // place in one step, so that a write cut short (a kill, a crash, a full
    // disk) leaves the old file whole. This is done here, without any
    // installed service, because a store may write its file at the very end
    // of the program, after the start-up units have gone.
#ifdef _WIN32
    ReplaceFileContents(fileName, content);
#else
    const auto fail = [&](int error) {
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(error));
    };
    struct stat old;
    const bool existed = ::stat(fileName.c_str(), &old) == 0;
    if (existed && (!S_ISREG(old.st_mode) || (old.st_mode & S_IWUSR) == 0)) fail(EACCES);
    String temp = fileName + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) fail(errno);
    bool ok = true;
    for (size_t done = 0; ok && done < content.size();) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += size_t(n);
    }
    ok = ok && (!existed || ::fchmod(fd, old.st_mode & 07777) == 0) && ::fsync(fd) == 0;
    int error = errno;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temp.c_str(), fileName.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        fail(error);
    }
#endif
}

String TZvStorageFileSystem::WindowsFolder() { return String(); }

String TZvStorageFileSystem::TempFolder() {
    // Where the system's own look-up finds it.
#ifdef _WIN32
    const char* const names[] = {"TMP", "TEMP", "USERPROFILE"};
#else
    const char* const names[] = {"TMPDIR", "TMP", "TEMP", "TEMPDIR"};
#endif
    String dir;
    for (const char* name : names)
        if (const char* value = std::getenv(name); value && *value) {
            dir = value;
            break;
        }
#ifndef _WIN32
    if (dir.empty()) dir = "/tmp";
#endif
    while (dir.size() > 1 && IsSeparator(dir.back())) dir.pop_back();
    return IsFolder(dir) ? dir : String();
}

String TZvStorageFileSystem::ExeFolder() { return String(); }

String TZvStorageFileSystem::UserAppDataFolder() { return String(); }

namespace {

// A lock by name within this process: what the portable services offer in
// place of a named mutex.
class TProcessNamedLock : public TZvNamedLock {
public:
    explicit TProcessNamedLock(const String& name) : FName(name) {}
    ~TProcessNamedLock() override {
        if (FHeld) Unlock();
    }
    bool Lock() override {
        std::unique_lock guard(Table().Mutex);
        Table().Released.wait(guard, [&] { return Table().Held.count(FName) == 0; });
        Table().Held[FName] = true;
        FHeld = true;
        return true;
    }
    void Unlock() override {
        std::lock_guard guard(Table().Mutex);
        Table().Held.erase(FName);
        FHeld = false;
        Table().Released.notify_all();
    }

private:
    struct TTable {
        std::mutex Mutex;
        std::condition_variable Released;
        std::map<String, bool> Held;
    };
    static TTable& Table() {
        static TTable table;
        return table;
    }
    String FName;
    bool FHeld = false;
};

TZvStorageFileSystem* Installed = nullptr;

}  // namespace

std::unique_ptr<TZvNamedLock> TZvStorageFileSystem::CreateNamedLock(const String& name) {
    return std::make_unique<TProcessNamedLock>(name);
}

TZvStorageFileSystem& ZvStorageFileSystem() {
    static TZvStorageFileSystem portable;
    return Installed ? *Installed : portable;
}

void ZvInstallStorageFileSystem(TZvStorageFileSystem* fileSystem) { Installed = fileSystem; }
