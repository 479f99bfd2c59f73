// A folder of a test's own below the system's folder for temporary files,
// for the files the test writes: removed, with what is in it, when the
// folder object goes.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>

#include "classlib/core/types.h"

namespace testfiles {

class TTempFolder {
public:
    explicit TTempFolder(const char* prefix)
        : FPath(std::filesystem::temp_directory_path() /
                (std::string(prefix) + "-" +
                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {
        std::filesystem::create_directories(FPath);
    }
    ~TTempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(FPath, ec);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // The full name of a file in the folder.
    String File(const char* name) const { return (FPath / name).string(); }
    const std::filesystem::path& Path() const { return FPath; }

private:
    std::filesystem::path FPath;
};

}  // namespace testfiles
