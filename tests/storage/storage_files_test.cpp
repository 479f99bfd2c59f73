// The portable file services of the stores: files and folders as the C
// library sees them, on the host and under Wine alike.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "storage/storage_files.h"

namespace fs = std::filesystem;

namespace {

class StorageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        Root = fs::temp_directory_path() /
               ("qm-storage-files-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::remove_all(Root);
        fs::create_directories(Root);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(Root / "readonly.txt", fs::perms::owner_all, ec);
        fs::remove_all(Root, ec);
    }
    String In(const char* name) const { return (Root / name).make_preferred().string(); }
    static void Touch(const String& name) {
        std::FILE* f = std::fopen(name.c_str(), "wb");
        ASSERT_NE(f, nullptr) << name;
        std::fclose(f);
    }

    fs::path Root;
    TZvStorageFileSystem Files;
};

TEST_F(StorageFiles, FileExistsOnlyForFiles) {
    Touch(In("file.txt"));
    EXPECT_TRUE(Files.FileExists(In("file.txt")));
    EXPECT_FALSE(Files.FileExists(In("missing.txt")));
    EXPECT_FALSE(Files.FileExists(Root.string()));  // a folder
    EXPECT_FALSE(Files.FileExists(""));
}

TEST_F(StorageFiles, ReadOnlyIsTheFilesWritePermission) {
    Touch(In("file.txt"));
    Touch(In("readonly.txt"));
    fs::permissions(Root / "readonly.txt", fs::perms::owner_read);
    EXPECT_FALSE(Files.FileIsReadOnly(In("file.txt")));
    EXPECT_TRUE(Files.FileIsReadOnly(In("readonly.txt")));
    EXPECT_FALSE(Files.FileIsReadOnly(In("missing.txt")));
}

TEST_F(StorageFiles, ForceDirectoriesMakesEveryMissingFolder) {
    const String sep(1, char(fs::path::preferred_separator));
    struct TCase {
        String Dir;
        bool Made;
    } cases[] = {
        {In("a") + sep + "b" + sep + "c", true},
        {In("a") + sep + "b" + sep + "d" + sep, true},  // a trailing separator
        {In("a"), true},                                // there already
        {"", false},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Files.ForceDirectories(c.Dir), c.Made) << c.Dir;
        if (c.Made) {
            EXPECT_TRUE(fs::is_directory(fs::path(c.Dir))) << c.Dir;
        }
    }
    // A file where a folder should be.
    Touch(In("file.txt"));
    EXPECT_FALSE(Files.ForceDirectories(In("file.txt") + sep + "below"));
}

TEST_F(StorageFiles, TempFolderIsAFolderWithoutATrailingSeparator) {
    const String temp = Files.TempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_TRUE(fs::is_directory(fs::path(temp))) << temp;
    EXPECT_NE(temp.back(), '/');
    EXPECT_NE(temp.back(), '\\');
}

}  // namespace
