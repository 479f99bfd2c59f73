// Start-up and shut-down with their two tokens, the wrappers' allocation
// through GdipAlloc, and the colour conversion. Where the real library
// never does what is tested (a failing start-up or allocation, tokens that
// can be told apart), the entry points are replaced by fakes.
#include "components/foundation/gdiplus_base_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/ui/graphics.h"
#include "components/foundation/gdip_brushes_win.h"
#include "components/foundation/gdip_pen_win.h"

namespace {

// What the fakes saw.
struct TSeen {
    int Startups = 0;
    int Hooks = 0;
    std::vector<ULONG_PTR> Unhooked;
    std::vector<ULONG_PTR> ShutDown;
    TGdiplusStartupInput Input;
    bool OutputClearedOnEntry = false;
    TStatus StartupAnswer = TStatus::Ok;
    TStatus HookAnswer = TStatus::Ok;
    bool GiveHooks = true;
    int Allocations = 0;
    int AllocationsToFail = 0;
    std::vector<void*> Freed;
} seen;

constexpr ULONG_PTR FakeStartupToken = 0x5157A27;
constexpr ULONG_PTR FakeHookToken = 0x400C;

TStatus WINAPI FakeHook(ULONG_PTR* token) {
    ++seen.Hooks;
    *token = FakeHookToken;
    return seen.HookAnswer;
}
void WINAPI FakeUnhook(ULONG_PTR token) { seen.Unhooked.push_back(token); }

TStatus WINAPI FakeStartup(ULONG_PTR* token, const TGdiplusStartupInput* input, TGdiplusStartupOutput* output) {
    ++seen.Startups;
    seen.Input = *input;
    seen.OutputClearedOnEntry = !output->NotificationHook && !output->NotificationUnhook;
    *token = FakeStartupToken;
    if (seen.GiveHooks) {
        output->NotificationHook = &FakeHook;
        output->NotificationUnhook = &FakeUnhook;
    }
    return seen.StartupAnswer;
}
void WINAPI FakeShutdown(ULONG_PTR token) { seen.ShutDown.push_back(token); }

// Start-up that does nothing: the program's session keeps its token.
TStatus WINAPI CountingStartup(ULONG_PTR*, const TGdiplusStartupInput* input, TGdiplusStartupOutput*) {
    ++seen.Startups;
    seen.Input = *input;
    return TStatus::Ok;
}

void* WINAPI FailingAlloc(SIZE_T size) {
    ++seen.Allocations;
    if (seen.AllocationsToFail > 0) {
        --seen.AllocationsToFail;
        return nullptr;
    }
    return GdipAlloc(size);
}
void WINAPI CountingFree(void* memory) {
    seen.Freed.push_back(memory);
    GdipFree(memory);
}

class GdiplusSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        seen = TSeen{};
        fakes.GdiplusStartup = &FakeStartup;
        fakes.GdiplusShutdown = &FakeShutdown;
    }
    TGdiplusApi fakes;  // the imports, but for start-up and shut-down
};

}  // namespace

TEST_F(GdiplusSessionTest, EachTokenGoesOnlyWhereItBelongs) {
    TGdiplusSession session(fakes);
    EXPECT_EQ(session.Startup(), TStatus::Ok);
    EXPECT_EQ(seen.Startups, 1);
    EXPECT_EQ(seen.Hooks, 1);
    EXPECT_EQ(session.StartupToken(), FakeStartupToken);
    EXPECT_EQ(session.HookToken(), FakeHookToken);
    EXPECT_TRUE(session.Started());
    EXPECT_TRUE(session.Hooked());

    session.Shutdown();
    EXPECT_EQ(seen.Unhooked, std::vector<ULONG_PTR>{FakeHookToken});
    EXPECT_EQ(seen.ShutDown, std::vector<ULONG_PTR>{FakeStartupToken});
    EXPECT_FALSE(session.Started());
}

TEST_F(GdiplusSessionTest, StartsVersionOneWithoutBackgroundThreadOrDebugCallback) {
    TGdiplusSession session(fakes);
    session.Startup();
    EXPECT_EQ(seen.Input.GdiplusVersion, 1u);
    EXPECT_EQ(seen.Input.DebugEventCallback, nullptr);
    EXPECT_TRUE(seen.Input.SuppressBackgroundThread);
    EXPECT_FALSE(seen.Input.SuppressExternalCodecs);
    EXPECT_TRUE(seen.OutputClearedOnEntry);
    session.Shutdown();
}

TEST_F(GdiplusSessionTest, AFailedStartupIsNeitherHookedNorShutDown) {
    seen.StartupAnswer = TStatus::GenericError;  // and it hands out hooks all the same
    TGdiplusSession session(fakes);
    EXPECT_EQ(session.Startup(), TStatus::GenericError);
    EXPECT_EQ(seen.Hooks, 0);
    EXPECT_FALSE(session.Started());
    session.Shutdown();
    EXPECT_TRUE(seen.Unhooked.empty());
    EXPECT_TRUE(seen.ShutDown.empty());
}

TEST_F(GdiplusSessionTest, WithoutAHookOnlyTheStartupIsUndone) {
    seen.GiveHooks = false;
    TGdiplusSession session(fakes);
    session.Startup();
    EXPECT_FALSE(session.Hooked());
    session.Shutdown();
    EXPECT_TRUE(seen.Unhooked.empty());
    EXPECT_EQ(seen.ShutDown, std::vector<ULONG_PTR>{FakeStartupToken});
}

TEST_F(GdiplusSessionTest, AHookThatFailedIsNotUnhooked) {
    seen.HookAnswer = TStatus::GenericError;
    TGdiplusSession session(fakes);
    session.Startup();
    EXPECT_EQ(seen.Hooks, 1);
    EXPECT_FALSE(session.Hooked());
    session.Shutdown();
    EXPECT_TRUE(seen.Unhooked.empty());
    EXPECT_EQ(seen.ShutDown, std::vector<ULONG_PTR>{FakeStartupToken});
}

TEST_F(GdiplusSessionTest, OnlyTheFirstStartupAndTheLastShutdownReachGdiplus) {
    TGdiplusSession session(fakes);
    session.Startup();
    session.Startup();
    EXPECT_EQ(seen.Startups, 1);
    session.Shutdown();
    EXPECT_TRUE(seen.ShutDown.empty());
    session.Shutdown();
    EXPECT_EQ(seen.ShutDown.size(), 1u);
    session.Shutdown();  // one too many
    EXPECT_EQ(seen.ShutDown.size(), 1u);
}

TEST(GdiplusSession, TheRealLibraryStartsAndShutsDown) {
    TGdiplusSession session;
    ASSERT_EQ(session.Startup(), TStatus::Ok);
    EXPECT_TRUE(session.Started());
    EXPECT_NE(session.StartupToken(), 0u);
    session.Shutdown();
    EXPECT_FALSE(session.Started());
    // The program's own session still draws.
    TGPSolidBrush brush(MakeARGB(1, 2, 3));
    EXPECT_EQ(brush.GetLastStatus(), TStatus::Ok);
    EXPECT_NE(brush.Native(), nullptr);
}

TEST(GdiplusAllocation, WrappersMadeWithNewComeFromGdipAlloc) {
    seen = TSeen{};
    TGdiplusApiOverride api;
    api->GdipAlloc = &FailingAlloc;
    api->GdipFree = &CountingFree;
    auto* brush = new TGPSolidBrush(MakeARGB(10, 20, 30));
    EXPECT_EQ(seen.Allocations, 1);
    EXPECT_NE(brush->Native(), nullptr);
    delete brush;
    EXPECT_EQ(seen.Freed, std::vector<void*>{brush});
}

TEST(GdiplusAllocation, NothingFromGdipAllocStartsGdiplusAndTriesOnceMore) {
    seen = TSeen{};
    seen.AllocationsToFail = 1;
    TGdiplusApiOverride api;
    api->GdipAlloc = &FailingAlloc;
    api->GdiplusStartup = &CountingStartup;
    auto* pen = new TGPPen(MakeARGB(0, 0, 0), 2);
    EXPECT_EQ(seen.Allocations, 2);
    EXPECT_EQ(seen.Startups, 1);
    EXPECT_EQ(seen.Input.GdiplusVersion, 1u);  // the same records as at start-up
    EXPECT_TRUE(seen.Input.SuppressBackgroundThread);
    EXPECT_NE(pen->Native(), nullptr);
    delete pen;
}

TEST(GdiplusAllocation, WhenTheSecondTryFailsTooItRaisesOutOfMemory) {
    seen = TSeen{};
    seen.AllocationsToFail = 2;
    TGdiplusApiOverride api;
    api->GdipAlloc = &FailingAlloc;
    api->GdiplusStartup = &CountingStartup;
    TGPPen* pen = nullptr;
    EXPECT_THROW(pen = new TGPPen(MakeARGB(0, 0, 0)), EOutOfMemory);
    EXPECT_EQ(pen, nullptr);
    EXPECT_EQ(seen.Allocations, 2);
    EXPECT_EQ(seen.Startups, 1);
}

TEST(GdiplusColors, ColorToARGBResolvesSystemColours) {
    EXPECT_EQ(ColorToARGB(clRed), 0xFFFF0000u);
    EXPECT_EQ(ColorToARGB(TColor(0x00C08040)), 0xFF4080C0u);
    for (TColor system : {clBtnFace, clHighlight, clWindowText, clInfoBk}) {
        COLORREF rgb = GetSysColor(int(unsigned(system) & 0xFF));
        EXPECT_EQ(ColorToARGB(system), MakeARGB(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)));
        EXPECT_EQ(ColorToARGB(system), RGBToARGB(ColorToRGB(system)));
    }
}

TEST(GdiplusText, EightBitTextBecomesWideInTheSystemCodePage) {
    EXPECT_EQ(GdipWideString("Abc"), L"Abc");
    EXPECT_EQ(GdipWideString(""), L"");
    std::wstring expected(1, L'\0');
    char e9 = char(0xE9);
    MultiByteToWideChar(CP_ACP, 0, &e9, 1, expected.data(), 1);
    EXPECT_EQ(GdipWideString(String(1, e9)), expected);
}
