#include <gtest/gtest.h>

#include "storage/support/paths.h"

namespace {

TEST(ZevPaths, Separators) {
    EXPECT_EQ(PathWithSeparator("C:\\data"), "C:\\data\\");
    EXPECT_EQ(PathWithSeparator("C:\\data\\"), "C:\\data\\");
    EXPECT_EQ(PathWithSeparator(""), "\\");
    EXPECT_EQ(PathWithoutSeparator("C:\\data\\"), "C:\\data");
    EXPECT_EQ(PathWithoutSeparator("C:\\data\\\\"), "C:\\data\\");
    EXPECT_EQ(PathWithoutSeparator("C:\\data"), "C:\\data");
    EXPECT_EQ(PathWithoutSeparator(""), "");
}

TEST(ZevPaths, PathWithExtension) {
    struct Case {
        const char* Path;
        const char* Extension;
        const char* Expected;
    } cases[] = {
        {"Settings", "ini", "Settings.ini"},
        {"Settings.", "ini", "Settings.ini"},
        {"Settings.INI", "ini", "Settings.INI"},
        {"Settings.txt", "ini", "Settings.txt.ini"},
        {"Settings", ".ini", "Settings.ini"},
        {"Settings.ini", ".INI", "Settings.ini"},
        {"C:\\cfg.d\\Settings", "ini", "C:\\cfg.d\\Settings.ini"},
        {"", "ini", ""},
        {"Settings", "", "Settings"},
    };
    for (const Case& c : cases) EXPECT_EQ(PathWithExtension(c.Path, c.Extension), c.Expected) << c.Path;
}

TEST(ZevPaths, PathIsRooted) {
    struct Case {
        const char* Path;
        bool Rooted;
    } cases[] = {
        {"C:\\x", true},
        {"c:\\", true},
        {"C:x", false},
        {"C:", false},
        {"x\\y", false},
        {"\\x", false},
        {"1:\\x", false},
        {"", false},
        {"\\\\server\\share", true},
        {"\\\\server\\share\\dir\\file.ini", true},
        {"\\\\my-server.corp_1\\share$", true},
        {"\\\\192.168.1.1\\share", true},
        {"\\\\123\\share", false},
        {"\\\\server", false},
        {"\\\\server\\", false},
        {"\\\\ser ver\\share", false},
        {"\\\\server\\sh:are", false},
        {"\\\\server\\sh*re", false},
        {"\\\\server\\a=b", false},
        {"\\\\.\\C:\\x", true},
        {"\\\\.\\C:", false},
        {"\\\\.\\C:x", false},
        {"\\\\?\\C:\\x", true},
        {"\\\\?\\UNC\\server\\share\\x", true},
        {"\\\\?\\UNC\\123\\share", false},
    };
    for (const Case& c : cases) EXPECT_EQ(PathIsRooted(c.Path), c.Rooted) << c.Path;
}

}  // namespace
