// The visual-styles binding against Wine's uxtheme.dll, the version tests
// and the dotted focus rectangle drawn into a 32-bit DIB.
#include "components/foundation/visual_styles_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "classlib/ui/graphics.h"
#include "object_tally.h"
#include "paint_harness.h"

namespace {

// GetProcAddress that leaves one name out, as a library without that
// export would.
const char* omittedName = nullptr;
FARPROC WINAPI LookupAllBut(HMODULE module, LPCSTR name) {
    if (std::strcmp(name, omittedName) == 0) return nullptr;
    return GetProcAddress(module, name);
}

int BoundCount(const TVisualStylesBinding& binding) {
    int bound = 0;
    for (int i = 0; i < TVisualStylesBinding::FunctionCount; ++i) bound += binding.Function(i) != nullptr;
    return bound;
}

}  // namespace

TEST(VisualStylesBinding, BindsAllFortySixFunctionsInTheirOrder) {
    EXPECT_STREQ(TVisualStylesBinding::FunctionNames[0], "OpenThemeData");
    EXPECT_STREQ(TVisualStylesBinding::FunctionNames[34], "IsThemeActive");
    EXPECT_STREQ(TVisualStylesBinding::FunctionNames[43], "GetThemePartSize");
    EXPECT_STREQ(TVisualStylesBinding::FunctionNames[45], "EnableTheming");

    TVisualStylesBinding binding;
    EXPECT_FALSE(binding.Loaded());
    binding.BindThemeLibrary();
    ASSERT_TRUE(binding.Loaded());
    EXPECT_EQ(BoundCount(binding), TVisualStylesBinding::FunctionCount);
    HMODULE uxtheme = GetModuleHandleA("uxtheme.dll");
    ASSERT_NE(uxtheme, nullptr);
    EXPECT_EQ(binding.Library(), uxtheme);
    for (int i = 0; i < TVisualStylesBinding::FunctionCount; ++i)
        EXPECT_EQ(binding.Function(i),
                  reinterpret_cast<void*>(GetProcAddress(uxtheme, TVisualStylesBinding::FunctionNames[i])))
            << TVisualStylesBinding::FunctionNames[i];
    EXPECT_EQ(reinterpret_cast<void*>(binding.IsThemeActive), binding.Function(34));
    binding.IsThemeActive();  // callable; its answer depends on the prefix's theme
}

TEST(VisualStylesBinding, AMissingExportLeavesOnlyThatFunctionEmpty) {
    omittedName = "GetThemePartSize";
    TVisualStylesBinding binding;
    binding.BindThemeLibrary(&LookupAllBut);
    ASSERT_TRUE(binding.Loaded());
    EXPECT_EQ(binding.GetThemePartSize, nullptr);
    EXPECT_EQ(BoundCount(binding), TVisualStylesBinding::FunctionCount - 1);
    EXPECT_NE(binding.IsThemeActive, nullptr);
    EXPECT_NE(binding.DrawThemeParentBackground, nullptr);
    EXPECT_NE(binding.EnableTheming, nullptr);
}

TEST(VisualStylesBinding, WithoutTheLibraryNothingIsBound) {
    TVisualStylesBinding binding("qm-no-such-uxtheme.dll");
    binding.BindThemeLibrary();
    EXPECT_FALSE(binding.Loaded());
    EXPECT_EQ(binding.Library(), nullptr);
    EXPECT_EQ(BoundCount(binding), 0);
    binding.Release();
    EXPECT_EQ(binding.UseCount(), 0);
}

TEST(VisualStylesBinding, TheLastReleaseFreesTheLibrary) {
    TVisualStylesBinding binding;
    binding.BindThemeLibrary();
    binding.BindThemeLibrary();  // a second unit's initialisation: no second load
    EXPECT_EQ(binding.UseCount(), 2);
    binding.Release();
    EXPECT_TRUE(binding.Loaded());
    EXPECT_NE(binding.IsThemeActive, nullptr);
    binding.Release();
    EXPECT_EQ(binding.UseCount(), 0);
    EXPECT_FALSE(binding.Loaded());
    EXPECT_EQ(binding.Library(), nullptr);
    EXPECT_EQ(BoundCount(binding), 0);
    binding.Release();  // one release too many changes nothing
    EXPECT_EQ(binding.UseCount(), 0);

    binding.BindThemeLibrary();  // bound again after it was freed
    EXPECT_TRUE(binding.Loaded());
    EXPECT_EQ(BoundCount(binding), TVisualStylesBinding::FunctionCount);
    binding.Release();
}

TEST(SystemTests, WineReportsALaterWindowsThanVista) {
    // Wine reports Windows 7 or later: both tests are true. The XP and 2000
    // answers are the decision's own tests (system_version_test.cpp).
    EXPECT_TRUE(IsVista());
    EXPECT_TRUE(IsWinXP());
}

TEST(SystemTests, GetDllVersionReadsTheFixedFileInfo) {
    // The answer is the same upper half that the version resource holds.
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    String kernel = String(system) + "\\kernel32.dll";
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(kernel.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<Byte> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(kernel.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length));
    EXPECT_EQ(GetDllVersion(kernel), int(info->dwFileVersionMS));
    EXPECT_GT(GetDllVersion(kernel) >> 16, 0);
}

TEST(SystemTests, AModuleOfVersionSixReportsSixInTheHighWord) {
    // Wine's own common controls 6 carry a 5.x file version, so the test
    // program carries the version resource of comctl32 6.0 itself
    // (dll_version_fixture.rc).
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_EQ(GetDllVersion(self), 0x00060000);
    EXPECT_EQ(GetDllVersion(self) >> 16, 6);
}

TEST(SystemTests, AFileWithoutVersionInformationGivesMinusOne) {
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "qmv", 0, path);
    if (FILE* f = std::fopen(path, "wb")) {
        std::fputs("not a module", f);
        std::fclose(f);
    }
    EXPECT_EQ(GetDllVersion(path), -1);
    DeleteFileA(path);
    EXPECT_EQ(GetDllVersion(path), -1);  // and one that is not there at all
}

TEST(DottedFocusRect, EveryOtherPixelOfTheFourEdgesInTheColour) {
    TPaintTarget target(40, 30, clWhite);
    TCanvas canvas;
    canvas.SetHandle(target.DC());
    const TRect r = Rect(5, 4, 25, 20);
    canvas.Handle();  // the canvas's own font, pen and brush
    TObjectBalance balance;
    DrawDottedFocusRect(&canvas, r, clRed);
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
    EXPECT_EQ(canvas.Pen()->Color(), clRed);
    canvas.SetHandle(nullptr);

    auto onEdge = [&](int x0, int y0, int x1, int y1) {
        int red = 0, white = 0;
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y) (target.PixelAt(x, y) == clRed ? red : white)++;
        return std::pair{red, white};
    };
    // Each edge runs 20 or 16 pixels: half of them dotted, with one pixel's
    // latitude for where the pattern starts and the shared corners.
    auto [topRed, topWhite] = onEdge(r.Left + 1, r.Top, r.Right - 1, r.Top);
    EXPECT_NEAR(topRed, (r.Width() - 1) / 2, 1);
    auto [rightRed, rightWhite] = onEdge(r.Right, r.Top + 1, r.Right, r.Bottom - 1);
    EXPECT_NEAR(rightRed, (r.Height() - 1) / 2, 1);
    auto [bottomRed, bottomWhite] = onEdge(r.Left + 1, r.Bottom, r.Right - 1, r.Bottom);
    EXPECT_NEAR(bottomRed, (r.Width() - 1) / 2, 1);
    auto [leftRed, leftWhite] = onEdge(r.Left, r.Top + 1, r.Left, r.Bottom - 1);
    EXPECT_NEAR(leftRed, (r.Height() - 1) / 2, 1);
    // Dots, not a line: no two neighbours on the top edge are both red.
    for (int x = r.Left; x < r.Right; ++x)
        EXPECT_FALSE(target.PixelAt(x, r.Top) == clRed && target.PixelAt(x + 1, r.Top) == clRed) << x;
    // Nothing inside or outside the rectangle.
    EXPECT_EQ(target.CountPixels(Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom), clRed), 0);
    EXPECT_EQ(target.CountPixels(Rect(0, 0, 40, r.Top), clRed), 0);
    EXPECT_EQ(target.CountPixels(Rect(r.Right + 1, 0, 40, 30), clRed), 0);
}

TEST(DottedFocusRect, LeavesNoGdiObjectOverManyCalls) {
    TPaintTarget target(40, 30, clWhite);
    TCanvas canvas;
    canvas.SetHandle(target.DC());
    canvas.Handle();
    TObjectBalance balance;
    for (int i = 0; i < 500; ++i) DrawDottedFocusRect(&canvas, Rect(2, 2, 30, 20), i % 2 ? clBlue : clBtnText);
    canvas.SetHandle(nullptr);
    EXPECT_LE(balance.Leaked(okGdi), 1) << balance.Describe();  // the canvas's own pen at most
    EXPECT_GE(balance.Created(okGdi), 500);
}
