#include "storage/storage_files.h"

#include "classlib/core/exceptions.h"

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

namespace fs = std::filesystem;

bool TZvStorageFileSystem::FileExists(const String& fileName) {
    std::error_code ec;
    return !fileName.empty() && fs::is_regular_file(fs::path(fileName), ec);
}

bool TZvStorageFileSystem::FileIsReadOnly(const String& fileName) {
    std::error_code ec;
    if (!FileExists(fileName)) return false;
    fs::perms p = fs::status(fs::path(fileName), ec).permissions();
    return !ec && (p & fs::perms::owner_write) == fs::perms::none;
}

bool TZvStorageFileSystem::ForceDirectories(const String& dir) {
    if (dir.empty()) return false;
    std::error_code ec;
    fs::create_directories(fs::path(dir), ec);
    return fs::is_directory(fs::path(dir), ec);
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
    std::FILE* file = std::fopen(fileName.c_str(), "wb");
    if (!file) throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
}

String TZvStorageFileSystem::WindowsFolder() { return String(); }

String TZvStorageFileSystem::TempFolder() {
    std::error_code ec;
    String dir = fs::temp_directory_path(ec).string();
    while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
    return ec ? String() : dir;
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
