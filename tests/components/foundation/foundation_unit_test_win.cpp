// The foundation's unit: the test program runs between its initialisation
// and its finalisation, as the program's components do.
#include "components/foundation/foundation_unit_win.h"

#include <gtest/gtest.h>

#include "components/foundation/gdiplus_base_win.h"
#include "components/foundation/visual_styles_win.h"

namespace {

class TFoundationEnvironment : public ::testing::Environment {
public:
    void SetUp() override { FoundationInitialize(); }
    void TearDown() override { FoundationFinalize(); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new TFoundationEnvironment);

}  // namespace

TEST(FoundationUnit, StartsGdiplusAndBindsTheVisualStyles) {
    EXPECT_TRUE(GdiplusSession().Started());
    EXPECT_EQ(GdiplusSession().StartupStatus(), TStatus::Ok);
    EXPECT_NE(GdiplusSession().StartupToken(), 0u);
    EXPECT_TRUE(VisualStyles().Loaded());
    EXPECT_NE(VisualStyles().IsThemeActive, nullptr);
}

TEST(FoundationUnit, ANestedInitialisationIsUndoneByItsOwnFinalisation) {
    ULONG_PTR token = GdiplusSession().StartupToken();
    FoundationInitialize();
    EXPECT_EQ(GdiplusSession().UseCount(), 2);
    EXPECT_EQ(VisualStyles().UseCount(), 2);
    EXPECT_EQ(GdiplusSession().StartupToken(), token);  // not started twice
    FoundationFinalize();
    EXPECT_EQ(GdiplusSession().UseCount(), 1);
    EXPECT_TRUE(GdiplusSession().Started());
    EXPECT_TRUE(VisualStyles().Loaded());
}
