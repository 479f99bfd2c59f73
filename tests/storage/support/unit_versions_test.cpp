#include <gtest/gtest.h>

#include "storage/support/unit_versions.h"

namespace {

const TUnitVersionInfo InfoA = {"$URL: a $", "$Revision: 1 $", "$Date: x $", "ZEV\\source\\common", "", nullptr};
const TUnitVersionInfo InfoB = {"$URL: b $", "$Revision: 2 $", "$Date: y $", "ZEV\\source\\windows", "", nullptr};

class TRecordingProvider : public TUnitVersioningProvider {
public:
    explicit TRecordingProvider(std::vector<TZevModuleInstance>& released) : FReleased(released) {}
    void ReleaseModuleInfo(TZevModuleInstance instance) override { FReleased.push_back(instance); }

private:
    std::vector<TZevModuleInstance>& FReleased;
};

TEST(ZevUnitVersioning, SameRecordListedOnce) {
    TUnitVersioning registry;
    int moduleA = 0, moduleB = 0;
    registry.Add(&moduleA, &InfoA);
    registry.Add(&moduleA, &InfoA);
    registry.Add(&moduleA, &InfoB);
    registry.Add(&moduleB, &InfoA);
    ASSERT_EQ(registry.ModuleCount(), 2);
    EXPECT_EQ(registry.Modules(0).Count(), 2);
    EXPECT_EQ(registry.Modules(0).Items(1).Revision(), "$Revision: 2 $");
    EXPECT_EQ(registry.Modules(0).IndexOfInfo(&InfoB), 1);
    EXPECT_EQ(registry.FindModule(&moduleB)->Count(), 1);
    EXPECT_EQ(registry.FindModule(nullptr), nullptr);
}

TEST(ZevUnitVersioning, UnregisterDropsTheModuleAndTellsProviders) {
    TUnitVersioning registry;
    std::vector<TZevModuleInstance> released;
    registry.RegisterProvider(std::make_unique<TRecordingProvider>(released));
    int moduleA = 0, moduleB = 0;
    registry.Add(&moduleA, &InfoA);
    registry.Add(&moduleB, &InfoB);
    registry.UnregisterModule(&moduleA);
    ASSERT_EQ(registry.ModuleCount(), 1);
    EXPECT_EQ(registry.Modules(0).Instance(), &moduleB);
    registry.UnregisterModule(&moduleA);  // nothing left to drop
    EXPECT_EQ(registry.ModuleCount(), 1);
    EXPECT_EQ(released, (std::vector<TZevModuleInstance>{&moduleA, &moduleA}));
}

TEST(ZevUnitVersioning, UnitTableInLinkOrder) {
    ASSERT_EQ(ZevUnitVersionCount(), 27);
    EXPECT_STREQ(ZevUnitVersionName(0), "ZevResources");
    EXPECT_STREQ(ZevUnitVersionName(23), "ZevUnitVersioning");
    EXPECT_STREQ(ZevUnitVersionName(26), "ZevMime");
    EXPECT_EQ(ZevUnitVersionName(27), nullptr);
    for (int i = 0; i < ZevUnitVersionCount(); ++i) {
        const TUnitVersionInfo* info = ZevUnitVersionRecord(i);
        ASSERT_NE(info, nullptr);
        String log = info->LogPath;
        EXPECT_TRUE(log == "ZEV\\source\\common" || log == "ZEV\\source\\windows") << log;
        EXPECT_STREQ(info->Extra, "");
    }
}

}  // namespace
