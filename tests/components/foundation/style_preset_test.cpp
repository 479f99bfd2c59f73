#include "components/foundation/style_preset.h"

#include <gtest/gtest.h>

#include "classlib/core/classes.h"

namespace {

// A component that takes presets, as the stylers and the glow button do.
class TPresetComponent : public TComponent, public IStylePreset {
    QL_CLASS(TPresetComponent, TComponent)
public:
    using TComponent::TComponent;
    ~TPresetComponent() override {
        if (FFreed) *FFreed = true;
    }
    void ApplyStylePreset(int style) override { FApplied.push_back(style); }

    std::vector<int> FApplied;
    bool* FFreed = nullptr;
};

}  // namespace

TClass TPresetComponent::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TPresetComponent>("TPresetComponent").Implements<IStylePreset>().Build();
    return &info;
}

TEST(StylePreset, TheNumberingIsFixedAndNamedForTheStoredLayout) {
    const TTypeInfo* type = TypeInfoFor<TOfficePagerStyle>();
    const char* names[] = {"psOffice2003Blue", "psOffice2003Silver",   "psOffice2003Olive", "psOffice2003Classic",
                           "psOffice2007Luna", "psOffice2007Obsidian", "psWindowsXP",       "psWhidbey",
                           "psCustom",         "psOffice2007Silver",   "psWindowsVista",    "psWindows7",
                           "psTerminal"};
    ASSERT_EQ(std::size(names), std::size_t(OfficePagerStyleCount));
    for (int n = 0; n < OfficePagerStyleCount; ++n) {
        EXPECT_EQ(GetEnumName(type, n), names[n]);
        EXPECT_EQ(GetEnumValue(type, names[n]), n);
    }
    EXPECT_EQ(psCustom, 8);
    EXPECT_EQ(psTerminal, 12);
}

TEST(StylePreset, TheInterfaceHasItsPublishedIdentifier) {
    EXPECT_EQ(IStylePreset::IID.ToString(), "{11AC2DDC-C087-4298-AB6E-EA1B5017511B}");
}

TEST(StylePreset, OnlyComponentsThatTakePresetsAnswerTheQuery) {
    TComponent owner(nullptr);
    auto* styled = new TPresetComponent(&owner);
    auto* plain = new TComponent(&owner);

    void* found = nullptr;
    ASSERT_TRUE(Supports(static_cast<TObject*>(styled), IStylePreset::IID, &found));
    static_cast<IStylePreset*>(found)->ApplyStylePreset(psOffice2007Luna);
    EXPECT_EQ(styled->FApplied, std::vector<int>{psOffice2007Luna});

    EXPECT_FALSE(Supports(static_cast<TObject*>(plain), IStylePreset::IID, &found));
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(Supports<IStylePreset>(static_cast<TObject*>(plain)), nullptr);
}

TEST(StylePreset, LettingGoOfTheLastReferenceLeavesTheComponentToItsOwner) {
    bool freed = false;
    {
        TComponent owner(nullptr);
        auto* styled = new TPresetComponent(&owner);
        styled->FFreed = &freed;
        {
            TIntfPtr<IStylePreset> preset = IntfCast<IStylePreset>(static_cast<TObject*>(styled));
            ASSERT_TRUE(preset);
            TIntfPtr<IStylePreset> copy = preset;
            copy->ApplyStylePreset(psWindows7);
        }
        EXPECT_FALSE(freed);
        EXPECT_EQ(styled->FApplied, std::vector<int>{psWindows7});
    }
    EXPECT_TRUE(freed);  // by its owner
}
