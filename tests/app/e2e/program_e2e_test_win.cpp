// The real program, driven from outside: a copy of quillmere.exe in a
// folder of its own with a few layouts and colour schemes, two compilers
// recorded in the registry with their folders and "settings.ini", and a
// driver that clicks, chooses, answers the message boxes and checks what
// ends up on disk byte for byte.
#include "program_driver_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
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

void WriteBytes(const std::string& name, const std::string& bytes) { std::ofstream(name, std::ios::binary) << bytes; }

std::string Fixture(const std::string& name) { return ReadBytes(WindowsPath(QM_FIXTURE_DIR) + "\\" + name); }

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

std::string CompilerKey(const std::string& compiler) { return "Software\\zodozElektronika\\" + compiler + " for PIC"; }

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
        for (const char* compiler : kCompilers)
            RegDeleteKeyExA(root, CompilerKey(compiler).c_str(), KEY_WOW64_32KEY, 0);
}

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
    HWND Button(const char* caption) const { return driver->Need(caption, "TLumGlowButton"); }
    // The expand button: the one button without a caption.
    HWND ExpandButton() const { return driver->Need("", "TLumGlowButton"); }
    HWND Group(const char* caption) const { return driver->Need(caption, "TLumGroupBox"); }
    HWND RadioGroup(const char* caption) const { return driver->Need(caption, "TLumOfficeRadioGroup"); }
    HWND Pager() const { return driver->FindClass("TLumOfficePager", nullptr); }
    // The pager's tabs, as the window shows them.
    void SelectTab(int index) const {
        driver->SelectTab(Pager(), {"Editor Settings", "IDE Style", "Output Settings"}, index);
    }
    HWND CheckBox(const char* caption) const { return driver->Need(caption, "TLumOfficeCheckBox"); }
    HWND LayoutList() const { return driver->FindClass("TLumComboBox", Group("Select layout to use")); }
    HWND SchemeList() const { return driver->FindClass("TLumComboBox", Group("Select color scheme to use")); }
    HWND LevelList() const { return driver->FindClass("TLumComboBox", Group("Output")); }
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
    // The separator beside the expand button, as the screen shows it: the
    // bevel's lowered line, shadow over highlight (the panel is at 3, 3).
    {
        POINT line{3 + 298 + 60, 3 + 216};
        ClientToScreen(driver->Window(), &line);
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(GetPixel(screen, line.x, line.y), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(GetPixel(screen, line.x, line.y + 1), GetSysColor(COLOR_BTNHIGHLIGHT));
        ReleaseDC(nullptr, screen);
    }
    // A compiler button under the real cursor, hovered and then held: the
    // glow rises from the middle of its bottom edge, lighter there than at
    // the lower half's side.
    {
        HWND button = Button("mikroC PRO");
        const auto glowsFromTheBottom = [button] {
            POINT bottom{55, 21}, side{4, 14};  // inside the focus border
            ClientToScreen(button, &bottom);
            ClientToScreen(button, &side);
            HDC screen = GetDC(nullptr);
            const COLORREF b = GetPixel(screen, bottom.x, bottom.y), s = GetPixel(screen, side.x, side.y);
            ReleaseDC(nullptr, screen);
            return GetRValue(b) + GetGValue(b) + GetBValue(b) > GetRValue(s) + GetGValue(s) + GetBValue(s) + 30;
        };
        driver->HoverOver(button);
        Sleep(300);  // the glow fades in over five 30 ms steps
        EXPECT_TRUE(glowsFromTheBottom());
        EXPECT_TRUE(driver->Screenshot(ScreenshotFile("compiler-button-hovered.png")));
        driver->LeftButton(true);
        Sleep(300);
        EXPECT_TRUE(glowsFromTheBottom());
        EXPECT_TRUE(driver->Screenshot(ScreenshotFile("compiler-button-held.png")));
        // Let go elsewhere: no click.
        driver->HoverOver(ExpandButton());
        driver->LeftButton(false);
    }
    driver->Click(ExpandButton());
    const int expanded = WindowHeight();
    EXPECT_GT(expanded, collapsed);
    // The clicked button has the focus: Space and Enter press it too.
    driver->Press(VK_SPACE);
    EXPECT_EQ(WindowHeight(), collapsed);
    driver->Press(VK_RETURN);
    EXPECT_EQ(WindowHeight(), expanded);
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

TEST_F(Program, RemembersItsChoicesBetweenRuns) {
    // First run: no "Settings.ini"; collapsed, centred, the layout's defaults.
    ASSERT_FALSE(std::filesystem::exists(StoreFile()));
    Start();
    ASSERT_TRUE(driver->Window());
    const RECT first = WindowRect();
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(first.left + first.right, screenWidth, 1);
    EXPECT_NEAR(first.top + first.bottom, screenHeight, 1);
    const int collapsed = first.bottom - first.top;

    // Change options on every page, expand, leave the output page showing,
    // pick another family and move the window. What the window shows when
    // it closes is what "Settings.ini" holds, checked whole below.
    // The option pages are in the part of the window that expands.
    driver->Click(ExpandButton());
    const int expanded = WindowHeight();
    driver->Click(CheckBox("Restore Last Opened Project"));
    EXPECT_GT(expanded, collapsed);
    SelectTab(1);
    EXPECT_EQ(TProgramDriver::VisiblePage(Pager()), "IDE Style");
    EXPECT_TRUE(driver->Screenshot(ScreenshotFile("main-window-ide-style.png")));
    driver->Click(driver->Need("Always show on build", nullptr, RadioGroup("Build Messages")));
    SelectTab(2);
    EXPECT_EQ(TProgramDriver::VisiblePage(Pager()), "Output Settings");
    EXPECT_TRUE(driver->Screenshot(ScreenshotFile("main-window-output-settings.png")));
    driver->Click(CheckBox("Long HEX format"));
    // With the focus on the page, Ctrl+Tab goes on round the tabs and
    // Ctrl+Shift+Tab back.
    driver->PressWith({VK_CONTROL}, VK_TAB);
    EXPECT_EQ(TProgramDriver::VisiblePage(Pager()), "Editor Settings");
    driver->PressWith({VK_CONTROL, VK_SHIFT}, VK_TAB);
    EXPECT_EQ(TProgramDriver::VisiblePage(Pager()), "Output Settings");
    ASSERT_TRUE(driver->Choose(LevelList(), "Two"));
    driver->Click(Family("for dsPIC"));
    driver->MoveTo(37, 41);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(driver->Window(), &placement);
    Close();

    // Exactly the placement and the 33 stored properties, in their order.
    char screen[32];
    std::snprintf(screen, sizeof screen, "(%dx%d)", screenWidth, screenHeight);
    const auto normalPosition = [](const WINDOWPLACEMENT& p) {
        const RECT& n = p.rcNormalPosition;
        char text[64];
        std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", n.left, n.top, n.right, n.bottom);
        return std::string(text);
    };
    const std::string normal = normalPosition(placement);
    EXPECT_EQ(normal, "37,41," + std::to_string(37 + first.right - first.left) + "," + std::to_string(41 + expanded));
    const auto storeFile = [&](const std::string& normal, int family) {
        std::string text = "[frmMain]\r\nFormVersion=0\r\nShowCmd=1\r\nFlags=0\r\nPixelsPerInch=96\r\n"
                           "MinMaxPos" +
                           std::string(screen) +
                           "=-1,-1,-1,-1\r\nMinMaxPos=-1,-1,-1,-1\r\n"
                           "NormPos" +
                           std::string(screen) + "=" + normal + "\r\nNormPos=" + normal + "\r\n";
        const auto checkBox = [&](int i, bool checked) {
            text += "LumOfficeCheckBox" + std::to_string(i) + "_Checked=" + (checked ? "TRUE" : "FALSE") + "\r\n";
        };
        for (int i = 1; i <= 8; ++i) checkBox(i, i != 1);
        text += "LumOfficeRadioGroup4_ItemIndex=0\r\nLumOfficeRadioGroup5_ItemIndex=0\r\n";
        for (int i = 9; i <= 23; ++i) checkBox(i, i != 20 && i != 22 && i != 23);
        text += "LumComboBox1_ItemIndex=2\r\nLumOfficeRadioGroup1_ItemIndex=1\r\nLumOfficeRadioGroup2_ItemIndex=0\r\n"
                "LumOfficeRadioGroup3_ItemIndex=1\r\nAdvSettingsBTN_ImageIndex=1\r\nAdvSettingsBTN_Tag=1\r\n"
                "LumOfficePager1_ActivePage=LumOfficePager11\r\nRadioGroup1_ItemIndex=" +
                std::to_string(family) + "\r\n\r\n";
        return text;
    };
    EXPECT_EQ(ReadBytes(StoreFile()), storeFile(normal, 1));

    // The next start shows all of it: expanded on the output page, the
    // options as they were left (the stored size, not the position:
    // the window opens centred again).
    Start();
    ASSERT_TRUE(driver->Window());
    EXPECT_EQ(WindowHeight(), expanded);
    const RECT second = WindowRect();
    EXPECT_NEAR(second.left + second.right, screenWidth, 1);
    EXPECT_EQ(TProgramDriver::VisiblePage(Pager()), "Output Settings");
    EXPECT_EQ(TProgramDriver::Text(LevelList()), "Two");
    // "for dsPIC": no compiler of the test is installed for it.
    EXPECT_FALSE(IsWindowEnabled(Button("mikroC PRO")));

    // ...a compiler rewrite writes the restored options...
    driver->Click(Family("for PIC"));
    ChooseLayoutAndScheme();
    EXPECT_EQ(driver->ClickAndAnswer(Button("mikroC PRO")), Texts{"mikroC PRO for PIC settings succesfully changed."});
    std::string rewritten = Fixture("mikroc_pic_settings.expected.ini");
    rewritten = WithLine(rewritten, "CheckBox2=", "False");
    rewritten = WithLine(rewritten, "rgBuildMessages_ItemIndex=", "0");
    rewritten = WithLine(rewritten, "AdvOfficeCheckBox15_Checked=", "True");
    rewritten = WithLine(rewritten, "ComboBox3_ItemIndex=", "2");
    EXPECT_EQ(ReadBytes(CompilerFolder(0) + "settings.ini"), rewritten);

    // ...and closing writes them back as they were read, with the family
    // chosen now and the window where it opened.
    GetWindowPlacement(driver->Window(), &placement);
    Close();
    EXPECT_EQ(ReadBytes(StoreFile()), storeFile(normalPosition(placement), 0));
}

// Whatever a hand-edited or damaged "Settings.ini" holds, the program
// starts without a message, with the layout's defaults for every value it
// cannot read, and writes a sound file when it closes.
TEST_F(Program, StartsWithADamagedSettingsFile) {
    std::mt19937 random(7);
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = char(random());
    const struct {
        const char* Name;
        std::string Bytes;
        bool FamilyChosen;
    } files[] = {
        {"bad values",
         "[frmMain]\r\nShowCmd=often\r\nNormPos=1,2\r\nPixelsPerInch=x\r\nLumOfficeCheckBox1_Checked=maybe\r\n"
         "LumComboBox1_ItemIndex=four\r\nLumOfficePager1_ActivePage=LumOfficeCheckBox3\r\nAdvSettingsBTN_Tag=\r\n"
         "RadioGroup1_ItemIndex=-1\r\n",
         false},
        {"other sections only", "[frmOther]\r\nShowCmd=3\r\n\r\n[frmMain\\Sub]\r\nTag=1\r\n", true},
        {"garbage bytes", garbage, true},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.Name);
        WriteBytes(StoreFile(), file.Bytes);
        Start();
        ASSERT_TRUE(driver->Window());
        Sleep(300);
        EXPECT_EQ(driver->AnswerBoxes(), Texts{});
        EXPECT_EQ(IsWindowEnabled(Button("mikroC PRO")) != FALSE, file.FamilyChosen);
        driver->Click(ExpandButton());
        EXPECT_EQ(TProgramDriver::VisiblePage(Pager()), "Editor Settings");
        SelectTab(2);
        EXPECT_EQ(TProgramDriver::Text(LevelList()), "Four");
        SelectTab(0);
        Close();
        // Keys that were there keep their lines; the others follow them.
        const std::string saved = ReadBytes(StoreFile());
        EXPECT_NE(saved.find("[frmMain]\r\n"), std::string::npos) << saved.substr(0, 200);
        EXPECT_NE(saved.find("\r\nFormVersion=0\r\n"), std::string::npos);
        EXPECT_NE(saved.find("\r\nLumOfficeCheckBox1_Checked=TRUE\r\n"), std::string::npos);
        EXPECT_NE(saved.find("\r\nLumComboBox1_ItemIndex=4\r\n"), std::string::npos);
        EXPECT_NE(saved.find("\r\nLumOfficePager1_ActivePage=LumOfficePager12\r\n"), std::string::npos);
        EXPECT_NE(saved.find(std::string("\r\nRadioGroup1_ItemIndex=") + (file.FamilyChosen ? "0" : "-1") + "\r\n"),
                  std::string::npos);
    }
}

// "Open Layouts Folder" and "Open Schemes Folder" show the folders in the
// system's file browser, a program of its own that stays open.
TEST_F(Program, FolderButtonsOpenTheFoldersInTheFileBrowser) {
    Start();
    ASSERT_TRUE(driver->Window());
    const struct {
        const char* Button;
        const char* Folder;
    } buttons[] = {{"Open Layouts Folder", "Layouts"}, {"Open Schemes Folder", "Color Schemes"}};
    for (const auto& [button, folder] : buttons) {
        SCOPED_TRACE(button);
        const std::set<HWND> before = TProgramDriver::OtherWindows(driver->ProcessId());
        driver->Click(Button(button));
        HWND browser = nullptr;
        for (int i = 0; i < 500 && !browser; ++i) {
            for (HWND w : TProgramDriver::OtherWindows(driver->ProcessId()))
                if (!before.count(w)) browser = w;
            if (!browser) Sleep(20);
        }
        ASSERT_NE(browser, nullptr) << "no file browser appeared";
        EXPECT_EQ(TProgramDriver::Text(browser), folder);
        // Closed as a user closes it; the browser's process may serve
        // other windows, so it is not ended.
        PostMessageA(browser, WM_CLOSE, 0, 0);
        for (int i = 0; i < 250 && IsWindow(browser) && IsWindowVisible(browser); ++i) Sleep(20);
        EXPECT_FALSE(IsWindow(browser) && IsWindowVisible(browser));
    }
    EXPECT_EQ(driver->AnswerBoxes(), Texts{});
    Close();
}

// Another program holds "Settings.ini" open without sharing: the program
// starts with the layout's defaults and closes without a message; the
// file is left as it was.
TEST_F(Program, StartsAndClosesWhileTheSettingsFileIsLocked) {
    const std::string content = "[frmMain]\r\nAdvSettingsBTN_Tag=1\r\n";
    WriteBytes(StoreFile(), content);
    HANDLE lock = CreateFileA(StoreFile().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Start();
    ASSERT_TRUE(driver->Window());
    EXPECT_EQ(driver->AnswerBoxes(), Texts{});
    const int opened = WindowHeight();
    driver->Click(ExpandButton());
    EXPECT_GT(WindowHeight(), opened);  // it opened collapsed, the default
    PostMessageA(driver->Window(), WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && driver->Running(); ++i) {
        EXPECT_EQ(driver->AnswerBoxes(), Texts{});
        Sleep(20);
    }
    EXPECT_EQ(driver->Close(), 0u);
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(StoreFile()), content);
}

// Tab goes round the collapsed window and comes back where it started
// without ever reaching the option pages below the window's edge; Space
// on the way changes nothing the user cannot see.
TEST_F(Program, TabGoesRoundTheCollapsedWindowOnly) {
    Start();
    ASSERT_TRUE(driver->Window());
    const int collapsed = WindowHeight();
    // Expanded and collapsed again: the expand button has the focus.
    driver->Click(ExpandButton());
    driver->Click(ExpandButton());
    ASSERT_EQ(WindowHeight(), collapsed);
    const DWORD thread = GetWindowThreadProcessId(driver->Window(), nullptr);
    const auto focus = [thread] {
        GUITHREADINFO info{sizeof(info)};
        return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
    };
    const HWND start = focus();
    ASSERT_EQ(start, ExpandButton());
    const HWND pager = Pager();
    std::vector<HWND> reached;
    for (int i = 0; i < 40; ++i) {
        driver->Press(VK_TAB);
        const HWND now = focus();
        ASSERT_NE(now, nullptr) << "after " << i + 1 << " presses";
        EXPECT_FALSE(now == pager || IsChild(pager, now))
            << TProgramDriver::ClassOf(now) << " \"" << TProgramDriver::Text(now) << "\" on a hidden page";
        if (now == start) break;
        reached.push_back(now);
    }
    EXPECT_EQ(focus(), start) << "Tab did not come back round";
    EXPECT_GE(reached.size(), 4u);  // the lists, their buttons, the compiler buttons
    EXPECT_EQ(WindowHeight(), collapsed);
    EXPECT_EQ(driver->AnswerBoxes(), Texts{});
    Close();
    // Every option as the layout has it.
    const std::string saved = ReadBytes(StoreFile());
    for (int box = 1; box <= 17; ++box)
        EXPECT_NE(saved.find("\r\nLumOfficeCheckBox" + std::to_string(box) + "_Checked=TRUE\r\n"), std::string::npos)
            << box;
    EXPECT_NE(saved.find("\r\nAdvSettingsBTN_Tag=0\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\nAdvSettingsBTN_ImageIndex=0\r\n"), std::string::npos);
}

// A "Settings.ini" that chooses the disabled "for 8051" (or an item past
// the last) opens with the layout's family, and the compiler buttons
// rewrite the compilers of that family.
TEST_F(Program, StartsWithTheLayoutsFamilyWhenTheStoredOneCannotBeChosen) {
    const std::string expected = Fixture("mikroc_pic_settings.expected.ini");
    for (const char* stored : {"5", "99"}) {
        SCOPED_TRACE(stored);
        WriteBytes(CompilerFolder(0) + "settings.ini", Fixture("mikroc_pic_settings.ini"));
        WriteBytes(StoreFile(), std::string("[frmMain]\r\nRadioGroup1_ItemIndex=") + stored +
                                    "\r\nAdvSettingsBTN_Tag=0\r\nAdvSettingsBTN_ImageIndex=7\r\n");
        Start();
        ASSERT_TRUE(driver->Window());
        EXPECT_EQ(driver->AnswerBoxes(), Texts{});
        EXPECT_FALSE(IsWindowEnabled(Family("for 8051")));
        EXPECT_TRUE(IsWindowEnabled(Button("mikroC PRO"))) << "the compilers of \"for PIC\" are found";
        ChooseLayoutAndScheme();
        EXPECT_EQ(driver->ClickAndAnswer(Button("mikroC PRO")),
                  Texts{"mikroC PRO for PIC settings succesfully changed."});
        Close();
        EXPECT_EQ(ReadBytes(CompilerFolder(0) + "settings.ini"), expected);
        const std::string saved = ReadBytes(StoreFile());
        EXPECT_NE(saved.find("\r\nRadioGroup1_ItemIndex=0\r\n"), std::string::npos) << saved.substr(0, 300);
        EXPECT_NE(saved.find("\r\nAdvSettingsBTN_ImageIndex=0\r\n"), std::string::npos);
    }
}

// "All three" with the first compiler's file damaged: its error is shown,
// the other two are rewritten and the count says so; the damaged file is
// left as it was.
TEST_F(Program, AllThreeGoesOnPastADamagedFirstCompiler) {
    std::filesystem::create_directories(CompilerFolder(2) + "Layouts");
    WriteBytes(CompilerFolder(2) + "settings.ini", Fixture("mikroc_pic_settings.ini"));
    SetCompilerFolder(HKEY_LOCAL_MACHINE, kCompilers[2], Root + kCompilerFolders[2]);
    std::string damaged = Fixture("mikroc_pic_settings.ini");
    damaged.erase(damaged.find("[frmOptions2]\r\n"), 15);
    WriteBytes(CompilerFolder(0) + "settings.ini", damaged);
    Start();
    ASSERT_TRUE(driver->Window());
    ASSERT_TRUE(IsWindowEnabled(Button("All three")));
    ChooseLayoutAndScheme();
    EXPECT_EQ(driver->ClickAndAnswer(Button("All three")),
              (Texts{"List index out of bounds (-1)", "2 out of 3 settings succesfully changed."}));
    EXPECT_EQ(ReadBytes(CompilerFolder(0) + "settings.ini"), damaged);
    EXPECT_FALSE(std::filesystem::exists(CompilerFolder(0) + "Layouts\\Debug Wide.dat"));
    const std::string expected = Fixture("mikroc_pic_settings.expected.ini");
    for (int i : {1, 2}) {
        EXPECT_EQ(ReadBytes(CompilerFolder(i) + "settings.ini"), expected) << kCompilers[i];
        EXPECT_EQ(ReadBytes(CompilerFolder(i) + "Layouts\\Debug Wide.dat"), "debug wide layout") << kCompilers[i];
    }
    Close();
    EXPECT_NE(ReadBytes(StoreFile()).find("\r\nRadioGroup1_ItemIndex=0\r\n"), std::string::npos);
}
