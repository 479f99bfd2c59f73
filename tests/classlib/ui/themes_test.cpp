// Theme drawing over uxtheme.dll bound at run time: nothing drawn (and
// "not drawn" answered) without the library, without its functions or with
// visual styles off for the program; parts drawn when Wine has them on.
#include "classlib/ui/themes.h"

#include <gtest/gtest.h>

#include <vsstyle.h>

#include "classlib/core/scopes.h"
#include "classlib/os/dll_functions.h"
#include "classlib/ui/forms.h"
#include "paint_harness.h"

namespace {

const TRect Area = Rect(0, 0, 80, 30);

// Every drawing call of theme, into target: how many answered "drawn".
int DrawEverything(TThemeData& theme, TPaintTarget& target) {
    TSize size{-1, -1};
    TRect content;
    return int(theme.DrawBackground(target.DC(), BP_PUSHBUTTON, PBS_NORMAL, Area)) +
           int(theme.DrawEdge(target.DC(), BP_PUSHBUTTON, PBS_NORMAL, Area, EDGE_RAISED, BF_RECT, &content)) +
           int(theme.DrawText(target.DC(), BP_PUSHBUTTON, PBS_NORMAL, "MMMM", DT_SINGLELINE, Area)) +
           int(theme.PartSize(target.DC(), BP_CHECKBOX, CBS_CHECKEDNORMAL, TS_TRUE, size));
}

class ThemesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClasslibUiInitialize();
        form = new TForm(Application);
        form->SetBounds(0, 0, 100, 60);
    }
    void TearDown() override { delete form; }
    TForm* form = nullptr;
};

TEST(ThemeServices, WithoutTheLibraryNothingIsBoundOpenedOrDrawn) {
    TThemeServices missing("qm-no-such-uxtheme.dll");
    EXPECT_EQ(missing.Library(), nullptr);
    EXPECT_FALSE(missing.Available());
    EXPECT_FALSE(missing.Active());
    EXPECT_EQ(missing.Function("OpenThemeData"), nullptr);
    TThemeData theme(nullptr, "BUTTON", missing);
    EXPECT_FALSE(theme.IsOpen());
    TPaintTarget target(80, 30, clFuchsia);
    EXPECT_EQ(DrawEverything(theme, target), 0);
    EXPECT_EQ(target.CountPixels(Area, clFuchsia), 80 * 30);
}

TEST(ThemeServices, ALibraryWithoutTheThemeFunctionsCountsAsMissing) {
    TThemeServices other("kernel32.dll");
    EXPECT_NE(other.Library(), nullptr);
    EXPECT_FALSE(other.Available());
    EXPECT_FALSE(other.Active());
    TThemeData theme(nullptr, "BUTTON", other);
    EXPECT_FALSE(theme.IsOpen());
}

TEST(ThemeServices, TheProgramsBindingIsMadeOnceAndFindsFunctionsByName) {
    TThemeServices& services = ThemeServices();
    EXPECT_EQ(&services, &ThemeServices());
    ASSERT_TRUE(services.Available());
    EXPECT_EQ(services.Library(), GetModuleHandleA("uxtheme.dll"));
    EXPECT_NE(services.Function("GetCurrentThemeName"), nullptr);
    EXPECT_EQ(services.Function("NoSuchThemeFunction"), nullptr);
}

TEST_F(ThemesTest, WithVisualStylesOffForTheProgramNothingIsOpenedOrDrawn) {
    TThemeServices& services = ThemeServices();
    auto getProperties = DllFunctionCast<DWORD(WINAPI*)()>(services.Function("GetThemeAppProperties"));
    auto setProperties = DllFunctionCast<void(WINAPI*)(DWORD)>(services.Function("SetThemeAppProperties"));
    ASSERT_TRUE(getProperties && setProperties);
    const DWORD before = getProperties();
    TScopeExit restore([&] { setProperties(before); });
    setProperties(0);
    EXPECT_FALSE(ThemesActive());
    TThemeData theme(form->Handle(), "BUTTON");
    EXPECT_FALSE(theme.IsOpen());
    TPaintTarget target(80, 30, clFuchsia);
    EXPECT_EQ(DrawEverything(theme, target), 0);
    EXPECT_EQ(target.CountPixels(Area, clFuchsia), 80 * 30);
}

TEST_F(ThemesTest, DrawsPartsWhileVisualStylesAreOnAndNothingOnceClosed) {
    if (!ThemesActive()) GTEST_SKIP() << "visual styles are off in this Wine prefix";
    TThemeData theme(form->Handle(), "BUTTON");
    ASSERT_TRUE(theme.IsOpen());
    TPaintTarget target(80, 30, clFuchsia);

    EXPECT_TRUE(theme.DrawBackground(target.DC(), BP_PUSHBUTTON, PBS_NORMAL, Area));
    EXPECT_LT(target.CountPixels(Area, clFuchsia), 80 * 30 / 10);

    target.Fill(clFuchsia);
    TRect clip = Rect(0, 0, 40, 30);
    EXPECT_TRUE(theme.DrawBackground(target.DC(), BP_PUSHBUTTON, PBS_NORMAL, Area, &clip));
    EXPECT_EQ(target.CountPixels(Rect(40, 0, 80, 30), clFuchsia), 40 * 30);

    target.Fill(clFuchsia);
    EXPECT_TRUE(theme.DrawText(target.DC(), BP_PUSHBUTTON, PBS_NORMAL, "MMMM", DT_SINGLELINE, Area));
    EXPECT_GT(80 * 30 - target.CountPixels(Area, clFuchsia), 10);

    TRect content;
    EXPECT_TRUE(
        theme.DrawEdge(target.DC(), BP_PUSHBUTTON, PBS_NORMAL, Area, EDGE_RAISED, BF_RECT | BF_ADJUST, &content));
    EXPECT_GT(content.Left, Area.Left);
    EXPECT_LT(content.Right, Area.Right);

    TSize box;
    EXPECT_TRUE(theme.PartSize(target.DC(), BP_CHECKBOX, CBS_CHECKEDNORMAL, TS_TRUE, box));
    EXPECT_GE(box.cx, 8);
    EXPECT_LE(box.cx, 32);
    EXPECT_EQ(box.cx, box.cy);

    theme.Close();
    EXPECT_FALSE(theme.IsOpen());
    target.Fill(clFuchsia);
    EXPECT_EQ(DrawEverything(theme, target), 0);
    EXPECT_EQ(target.CountPixels(Area, clFuchsia), 80 * 30);
}

}  // namespace
