// Helpers of the program's tests under Windows (Wine): a sandbox with a
// temporary folder and compiler keys of its own, and message boxes answered
// by the test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "app/compiler_keys.h"
#include "app/program_units_win.h"
#include "app_test_support.h"
#include "classlib/os/files.h"
#include "classlib/os/win.h"
#include "classlib/ui/forms.h"
#include "storage/form_placement.h"
#include "storage/ini_file_storage.h"
#include "storage/support/rtti.h"
#include "storage/support/system_info.h"
#include "storage/support/unit_versions.h"

// A folder below the temporary folder and registry keys for a target
// family of the test's own ("for QMTEST-<process>-<test>"), so that runs
// sharing a registry never meet. Everything is removed again at the end.
// Root holds "Quillmere\" (the program's folder, with "Layouts\Debug
// Wide.dat" and "Color Schemes\Dark.col") and "mikroC\" (a compiler with
// the realistic settings file and a "Layouts" folder).
class TTestSandbox {
public:
    TTestSandbox() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        const String unique = std::to_string(GetCurrentProcessId()) + "-" + info->name();
        Family = "for QMTEST-" + unique;
        Root = GetTempDir() + "qm-app-" + unique + "\\";
        Program = Root + "Quillmere\\";
        RemoveAll();  // Wine reuses process ids: an aborted run may have left things
        ForceDirectories(Program + "Layouts");
        ForceDirectories(Program + "Color Schemes");
        ForceDirectories(Root + "mikroC\\Layouts");
        WriteFile(Program + "Layouts\\Debug Wide.dat", "layout bytes");
        WriteFile(Program + "Color Schemes\\Dark.col", "scheme bytes");
        WriteFile(Root + "mikroC\\settings.ini", ReadFixture("mikroc_pic_settings.ini"));
    }
    ~TTestSandbox() { RemoveAll(); }
    TTestSandbox(const TTestSandbox&) = delete;
    TTestSandbox& operator=(const TTestSandbox&) = delete;

    String Key(const String& caption) const { return CompilerRegistryKey(caption, Family); }

    // Writes the compiler key's default value as the installers do: in the
    // 32-bit view.
    void SetDefault(HKEY root, const String& caption, DWORD type, const void* data, DWORD size,
                    REGSAM view = KEY_WOW64_32KEY) const {
        HKEY key = nullptr;
        ASSERT_EQ(
            RegCreateKeyExA(root, Key(caption).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, "", 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void SetFolder(HKEY root, const String& caption, const String& folder, DWORD type = REG_SZ,
                   REGSAM view = KEY_WOW64_32KEY) const {
        SetDefault(root, caption, type, folder.c_str(), DWORD(folder.size() + 1), view);
    }

    static void WriteFile(const String& name, const String& bytes) { std::ofstream(name, std::ios::binary) << bytes; }
    static String ReadBytes(const String& name) {
        std::ifstream in(name, std::ios::binary);
        return String(std::istreambuf_iterator<char>(in), {});
    }

    String Family, Root, Program;

private:
    void RemoveAll() const {
        for (const char* caption : kCompilerCaptions)
            for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
                for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
                    RegDeleteKeyExA(root, Key(caption).c_str(), view, 0);
        std::error_code ec;
        if (std::filesystem::exists(Root, ec)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(Root, ec))
                SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
            std::filesystem::remove_all(Root, ec);
        }
    }
};

// Answers every message box of the application with OK and keeps its text.
class TMessageLog {
public:
    TMessageLog() {
        if (!Application) {
            // Started once for the test program and never stopped, as the
            // program's units are for the program.
            static TUnitList* units = new TUnitList(ProgramUnits());
            units->InitializeAll();
        }
        Application->MessageBoxFunction = [this](HWND, const String& text, const String&, UINT) {
            Messages.push_back(text);
            return IDOK;
        };
    }
    ~TMessageLog() { Application->MessageBoxFunction = nullptr; }
    TMessageLog(const TMessageLog&) = delete;
    TMessageLog& operator=(const TMessageLog&) = delete;

    std::vector<String> Messages;
};
