// Files and system folders as the settings storage looks for them.
#include "storage/support/folders.h"

#include <gtest/gtest.h>

#include "classlib/core/sysutils.h"
#include "classlib/os/files.h"

namespace {
TEST(ZevFolders, FileIsPresent) {
    EXPECT_TRUE(FileIsPresent(ApplicationExeName()));
    EXPECT_FALSE(FileIsPresent(ApplicationFolder()));
    EXPECT_FALSE(FileIsPresent(ExcludeTrailingPathDelimiter(ApplicationFolder())));
    EXPECT_FALSE(FileIsPresent(""));
    EXPECT_FALSE(FileIsPresent(ApplicationFolder() + "no such file.ini"));
}

TEST(ZevFolders, SystemFolders) {
    String windows = WindowsFolder();
    EXPECT_FALSE(windows.empty());
    EXPECT_TRUE(DirectoryExists(windows));
    String temp = TempFolder();
    EXPECT_FALSE(temp.empty());
    EXPECT_FALSE(temp.ends_with('\\'));
    EXPECT_TRUE(DirectoryExists(temp));
    String appData = UserAppDataFolder();
    EXPECT_FALSE(appData.empty());
    EXPECT_EQ(appData.find('\0'), String::npos);
    EXPECT_TRUE(DirectoryExists(appData));
}

}  // namespace
