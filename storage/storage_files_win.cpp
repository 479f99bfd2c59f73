// The Windows services of the file stores: attributes, the system folders,
// and named mutexes.
#include "storage/storage_files.h"

#include "classlib/core/sysutils.h"
#include "classlib/os/files.h"
#include "storage/support/folders.h"
#include "storage/support/sync_objects.h"

namespace {

class TMutexLock : public TZvNamedLock {
public:
    explicit TMutexLock(const String& name) : FMutex(nullptr, false, name) {}
    // A wait that ends abandoned hands the mutex over, as a signalled one.
    bool Lock() override { return FMutex.Lock(); }
    void Unlock() override { FMutex.Unlock(); }

private:
    TZevMutex FMutex;
};

class TSystemStorageFileSystem : public TZvStorageFileSystem {
public:
    bool FileExists(const String& fileName) override { return FileIsPresent(fileName); }
    bool FileIsReadOnly(const String& fileName) override {
        int attr = FileGetAttr(fileName);
        return attr != -1 && !(attr & faDirectory) && (attr & faReadOnly);
    }
    bool ForceDirectories(const String& dir) override {
        try {
            return ::ForceDirectories(dir);
        } catch (const EInOutError&) {
            return false;
        }
    }
    String WindowsFolder() override { return ::WindowsFolder(); }
    String TempFolder() override { return ::TempFolder(); }
    String ExeFolder() override { return ExtractFileDir(ApplicationExeName()); }
    String UserAppDataFolder() override { return ::UserAppDataFolder(); }
    std::unique_ptr<TZvNamedLock> CreateNamedLock(const String& name) override {
        return std::make_unique<TMutexLock>(name);
    }
};

}  // namespace

void ZvInstallSystemStorageFileSystem() {
    static TSystemStorageFileSystem system;
    ZvInstallStorageFileSystem(&system);
}
