// The real program, driven from outside: a copy of quillmere.exe in a
// folder of its own with a few layouts and colour schemes, two compilers
// recorded in the registry with their folders and "settings.ini", and a
// driver that clicks, chooses, answers the message boxes and checks what
// ends up on disk byte for byte.
#include "program_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace {

using Texts = std::vector<std::string>;

// Paths of the build, given as the build machine's; Wine sees its root as Z:.
std::string WindowsPath(std::string unixPath) {
    for (char& c : unixPath)
        if (c == '/') c = '\\';
    return "Z:" + unixPath;
}

std::string ReadBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

std::string Fixture(const std::string& name) {
    return ReadBytes(WindowsPath(QM_FIXTURE_DIR) + "\\" + name);
}

// The line of the text that begins with key replaced by key + value.
std::string WithLine(std::string text, const std::string& key, const std::string& value) {
    const auto at = text.find("\r\n" + key);
    EXPECT_NE(at, std::string::npos) << key;
    if (at == std::string::npos) return text;
    const auto end = text.find("\r\n", at + 2);
    return text.replace(at + 2, end - at - 2, key + value);
}

const char* const kCompilers[3] = {"mikroC PRO", "mikroPascal PRO", "mikroBasic PRO"};
const char* const kCompilerFolders[3] = {"mikroC", "mikroPascal", "mikroBasic"};

std::string CompilerKey(const std::string& compiler) {
    return "Software\\zodozElektronika\\" + compiler + " for PIC";
}

void SetCompilerFolder(HKEY root, const std::string& compiler, const std::string& folder) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, CompilerKey(compiler).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()), DWORD(folder.size() + 1));
    RegCloseKey(key);
}

void RemoveCompilerKeys() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (const char* compiler : kCompilers) RegDeleteKeyExA(root, CompilerKey(compiler).c_str(), KEY_WOW64_32KEY, 0);
}

bool Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class Program : public testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        Root = std::string(temp) + "qm-e2e-" + std::to_string(GetCurrentProcessId()) + "\\";
        RemoveAll();
        Folder = Root + "Quillmere\\";
        std::filesystem::create_directories(Folder + "Layouts");
        std::filesystem::create_directories(Folder + "Color Schemes");
        ASSERT_TRUE(CopyFileA(WindowsPath(QM_PROGRAM).c_str(), (Folder + "quillmere.exe").c_str(), FALSE));
        WriteBytes(Folder + "Layouts\\Debug Wide.dat", "debug wide layout");
        WriteBytes(Folder + "Layouts\\Compact.dat", "compact layout");
        WriteBytes(Folder + "Color Schemes\\Dark.col", "dark scheme");
        WriteBytes(Folder + "Color Schemes\\Classic.col", "classic scheme");
        // mikroC PRO installed for the machine, mikroPascal PRO for the
        // user; mikroBasic PRO not at all.
        RemoveCompilerKeys();
        for (int i = 0; i < 2; ++i) {
            std::filesystem::create_directories(CompilerFolder(i) + "Layouts");
            WriteBytes(CompilerFolder(i) + "settings.ini", Fixture("mikroc_pic_settings.ini"));
        }
        SetCompilerFolder(HKEY_LOCAL_MACHINE, kCompilers[0], Root + kCompilerFolders[0]);
        SetCompilerFolder(HKEY_CURRENT_USER, kCompilers[1], Root + kCompilerFolders[1]);
    }
    void TearDown() override {
        driver.reset();
        RemoveCompilerKeys();
        RemoveAll();
    }
    void RemoveAll() {
        std::error_code ec;
        std::filesystem::remove_all(Root, ec);
    }
    std::string CompilerFolder(int i) const { return Root + kCompilerFolders[i] + "\\"; }
    std::string StoreFile() const { return Folder + "Settings.ini"; }

    TProgramDriver& Start() {
        driver = std::make_unique<TProgramDriver>(Folder + "quillmere.exe");
        EXPECT_TRUE(driver->Start(kMainCaption)) << "the window did not appear";
        return *driver;
    }
    void Close() {
        EXPECT_EQ(driver->Close(), 0u);
        driver.reset();
    }
    HWND Button(const char* caption) const { return driver->Need(caption, "TButton"); }
    // The expand button: the one button without a caption.
    HWND ExpandButton() const { return driver->Need("", "TButton"); }
    HWND Group(const char* caption) const { return driver->Need(caption, "TGroupBox"); }
    HWND RadioGroup(const char* caption) const { return driver->Need(caption, "TRadioGroup"); }
    HWND Pager() const { return driver->FindClass("TPageControl", nullptr); }
    HWND CheckBox(const char* caption) const { return driver->Need(caption, "TCheckBox"); }
    HWND LayoutList() const { return driver->FindClass("TComboBox", Group("Select layout to use")); }
    HWND SchemeList() const { return driver->FindClass("TComboBox", Group("Select color scheme to use")); }
    HWND LevelList() const { return driver->FindClass("TComboBox", Group("Output")); }
    HWND Family(const char* item) const { return driver->Need(item, nullptr, RadioGroup("Compilers")); }
    void ChooseLayoutAndScheme() {
        ASSERT_TRUE(driver->Choose(LayoutList(), "Debug Wide"));
        ASSERT_TRUE(driver->Choose(SchemeList(), "Dark"));
    }
    RECT WindowRect() const {
        RECT r{};
        GetWindowRect(driver->Window(), &r);
        return r;
    }
    int WindowHeight() const {
        const RECT r = WindowRect();
        return r.bottom - r.top;
    }
    static std::string ScreenshotFile(const char* name) {
        std::filesystem::create_directories(WindowsPath(QM_SCREENSHOT_DIR));
        return WindowsPath(QM_SCREENSHOT_DIR) + "\\" + name;
    }

    std::string Root, Folder;
    std::unique_ptr<TProgramDriver> driver;
};

}  // namespace

TEST_F(Program, CompilerButtonsRewriteTheSettingsAndReport) {
    Start();
    ASSERT_TRUE(driver->Window());
    // The compilers of the family that are there, and "All three" only
    // when all three are.
    EXPECT_TRUE(IsWindowEnabled(Button("mikroC PRO")));
    EXPECT_TRUE(IsWindowEnabled(Button("mikroPascal PRO")));
    EXPECT_FALSE(IsWindowEnabled(Button("mikroBasic PRO")));
    EXPECT_FALSE(IsWindowEnabled(Button("All three")));

    const int collapsed = WindowHeight();
    EXPECT_TRUE(driver->Screenshot(ScreenshotFile("main-window-collapsed.png")));
    driver->Click(ExpandButton());
    EXPECT_GT(WindowHeight(), collapsed);
    EXPECT_TRUE(driver->Screenshot(ScreenshotFile("main-window-expanded.png")));

    // The placeholder of the layout list is no layout.
    EXPECT_EQ(driver->ClickAndAnswer(Button("mikroC PRO")), Texts{"Select layout."});
    ChooseLayoutAndScheme();
    EXPECT_EQ(driver->ClickAndAnswer(Button("mikroC PRO")), Texts{"mikroC PRO for PIC settings succesfully changed."});
    const std::string expected = Fixture("mikroc_pic_settings.expected.ini");
    EXPECT_EQ(ReadBytes(CompilerFolder(0) + "settings.ini"), expected);
    EXPECT_EQ(ReadBytes(CompilerFolder(0) + "Layouts\\Debug Wide.dat"), "debug wide layout");
    EXPECT_EQ(ReadBytes(CompilerFolder(1) + "settings.ini"), Fixture("mikroc_pic_settings.ini"));

    // mikroBasic PRO appears, without a "settings.ini"; choosing the family
    // again finds it.
    std::filesystem::create_directories(CompilerFolder(2));
    SetCompilerFolder(HKEY_LOCAL_MACHINE, kCompilers[2], Root + kCompilerFolders[2]);
    driver->Click(Family("for dsPIC"));
    EXPECT_FALSE(IsWindowEnabled(Button("mikroC PRO")));
    driver->Click(Family("for PIC"));
    EXPECT_TRUE(IsWindowEnabled(Button("mikroBasic PRO")));
    ASSERT_TRUE(IsWindowEnabled(Button("All three")));

    EXPECT_EQ(driver->ClickAndAnswer(Button("All three")), Texts{"2 out of 3 settings succesfully changed."});
    EXPECT_EQ(ReadBytes(CompilerFolder(0) + "settings.ini"), expected);
    EXPECT_EQ(ReadBytes(CompilerFolder(1) + "settings.ini"), expected);
    EXPECT_EQ(ReadBytes(CompilerFolder(1) + "Layouts\\Debug Wide.dat"), "debug wide layout");
    EXPECT_FALSE(std::filesystem::exists(CompilerFolder(2) + "settings.ini"));
    EXPECT_FALSE(std::filesystem::exists(CompilerFolder(2) + "Layouts"));
    Close();
}
