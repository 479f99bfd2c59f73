// The portable file services of the stores: files and folders as the C
// library sees them, on the host and under Wine alike.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "classlib/core/exceptions.h"
#include "storage/storage_files.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

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

    static String Bytes(const String& name) {
        std::FILE* f = std::fopen(name.c_str(), "rb");
        if (!f) return "(missing)";
        String out;
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        std::fclose(f);
        return out;
    }
    size_t FilesInRoot() const { return size_t(std::distance(fs::directory_iterator(Root), fs::directory_iterator())); }

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

TEST_F(StorageFiles, WriteWholeFileReplacesTheFileAndLeavesNothingBeside) {
    Files.WriteWholeFile(In("Settings.ini"), "[frmMain]\r\nTag=1\r\n");
    EXPECT_EQ(Bytes(In("Settings.ini")), "[frmMain]\r\nTag=1\r\n");
    Files.WriteWholeFile(In("Settings.ini"), "short");
    EXPECT_EQ(Bytes(In("Settings.ini")), "short");
    Files.WriteWholeFile(In("Settings.ini"), "");
    EXPECT_EQ(Bytes(In("Settings.ini")), "");
    EXPECT_EQ(FilesInRoot(), 1u);
}

TEST_F(StorageFiles, WriteWholeFileRefusesAReadOnlyFileAndKeepsIt) {
    Files.WriteWholeFile(In("readonly.txt"), "old");
    fs::permissions(Root / "readonly.txt", fs::perms::owner_read);
    EXPECT_THROW(Files.WriteWholeFile(In("readonly.txt"), "new"), EFCreateError);
    EXPECT_EQ(Bytes(In("readonly.txt")), "old");
    EXPECT_EQ(FilesInRoot(), 1u);
    EXPECT_THROW(Files.WriteWholeFile(In("no-such-folder") + "/x.ini", "new"), EFCreateError);
}

#ifndef _WIN32
// A write cut off at any byte, as a kill or a full disk cuts it: the file
// size limit of a child process stops its write there (the system ends the
// child, as a kill would). The file must then hold the old content whole,
// and a write that is not cut off the new content whole.
TEST_F(StorageFiles, WriteCutOffAnywhereLeavesTheOldFileOrTheNew) {
    const String name = In("Settings.ini");
    const String old(50000, 'o');
    String fresh;
    for (int i = 0; fresh.size() < 120000; ++i) fresh += "LumOfficeCheckBox" + std::to_string(i) + "_Checked=TRUE\r\n";
    const size_t limits[] = {0, 1, 4096, old.size() - 1, old.size(), fresh.size() / 2, fresh.size() - 1};
    for (size_t limit : limits) {
        Files.WriteWholeFile(name, old);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit cap{rlim_t(limit), rlim_t(limit)};
            ::setrlimit(RLIMIT_FSIZE, &cap);
            try {
                Files.WriteWholeFile(name, fresh);
            } catch (...) {
                ::_exit(3);
            }
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << limit << ": the write was not cut off";
        const String now = Bytes(name);
        EXPECT_EQ(now.size(), old.size()) << limit;
        EXPECT_TRUE(now == old) << limit << ": neither the old content nor the new";
    }
    Files.WriteWholeFile(name, fresh);
    EXPECT_TRUE(Bytes(name) == fresh);
}
#endif

}  // namespace
