// The environment the Windows tests run in (scripts/wine-run.sh): a display
// that windows can be created on, the fonts the program's forms use, and
// the prefix settings that keep unattended runs unattended.
#include "classlib/os/win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER + 1) {
        ++*reinterpret_cast<int*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        return 42;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(WineEnvironment, TopLevelWindowCanBeCreatedAndShown) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QmEnvironmentTestWindow";
    ASSERT_NE(RegisterClassExA(&wc), 0);

    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "Environment test", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr,
                                nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hwnd, nullptr) << GetLastError();
    int calls = 0;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&calls));
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(SendMessageA(hwnd, WM_USER + 1, 0, 0), 42);
    EXPECT_EQ(calls, 1);

    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_GT(client.right, 0);
    EXPECT_GT(client.bottom, 0);

    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_TRUE(DestroyWindow(hwnd));
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

TEST(WineEnvironment, ScreenIsTheFixedTestScreen) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    ReleaseDC(nullptr, dc);
}

// A font the forms ask for by name must be there, not replaced.
std::string FaceOf(const char* name) {
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, name);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return face;
}

TEST(WineEnvironment, FormFontsAreInstalled) {
    for (const char* name : {"Tahoma", "MS Sans Serif"}) EXPECT_EQ(FaceOf(name), name);
}

std::string ReadUserString(const char* path, const char* name) {
    char value[64] = {};
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "<missing>";
    return value;
}

TEST(WineEnvironment, PrefixIsSetUpForUnattendedRuns) {
    EXPECT_EQ(ReadUserString("Software\\Wine\\X11 Driver", "Managed"), "N");
    DWORD value = 1, size = sizeof(value);
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\WineDbg", "ShowCrashDialog", RRF_RT_REG_DWORD, nullptr,
                           &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 0u);
}

}  // namespace
