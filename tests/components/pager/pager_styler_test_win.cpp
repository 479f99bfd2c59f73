// The pager stylers: the notifications attached pagers hear (through a pager
// that records them), the presets written through the writers, copying,
// the end of a styler with pagers attached, and the theme follower.
#include "components/pager/pager_styler_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "classlib/core/filer.h"
#include "components/pager/pager_presets.h"
#include "pager_test_support_win.h"

namespace {

// A pager as the styler sees it: it records what it is told and lets go of
// its styler as a pager does.
class TRecordingPager : public TComponent, public ILumOfficePagerStylerClient {
public:
    explicit TRecordingPager(TComponent* owner, TCustomLumOfficePagerStyler* styler = nullptr,
                             bool detachWhenFreed = true)
        : TComponent(owner), Styler(styler), DetachWhenFreed(detachWhenFreed) {
        if (styler) styler->AttachPager(this);
    }
    ~TRecordingPager() override {
        if (Styler && DetachWhenFreed) {
            Styler->DetachPager(this);
            if (ListedAfterFree) *ListedAfterFree = Styler->Pagers().IndexOf(this) >= 0;
        }
    }
    void StylerChanged(int kind) override { Kinds.push_back(kind); }
    void StylerDestroying(TCustomLumOfficePagerStyler* styler) override {
        ++Releases;
        if (Styler != styler) return;
        // Detaching now does nothing: the styler's list stays as it is.
        styler->DetachPager(this);
        ListedWhileReleased = styler->Pagers().IndexOf(this) >= 0;
        Styler = nullptr;
    }
    std::vector<int> Take() { return std::exchange(Kinds, {}); }

    TCustomLumOfficePagerStyler* Styler;
    bool DetachWhenFreed;
    std::vector<int> Kinds;
    int Releases = 0;
    bool ListedWhileReleased = false;
    bool* ListedAfterFree = nullptr;
};

class PagerStylerTest : public ::testing::Test {
protected:
    void SetUp() override { pager_test::StartUnits(); }
};

TEST_F(PagerStylerTest, ANewOfficeStylerHoldsTheOffice2003BluePreset) {
    TLumOfficePagerOfficeStyler styler(nullptr);
    EXPECT_EQ(styler.Style(), psOffice2003Blue);
    EXPECT_TRUE(styler.CurvedCorners());
    EXPECT_EQ(styler.BlendPercent(), 50);
    EXPECT_FALSE(styler.AutoThemeAdapt());
    EXPECT_EQ(styler.TabAppearance()->BackGround()->Color(), TColor(0xE4AE88));
    EXPECT_EQ(styler.TabAppearance()->BorderColorHot(), clHighlight);
    EXPECT_EQ(styler.TabAppearance()->ColorSelected(), TColor(0xFCDCC4));
    EXPECT_EQ(styler.PageAppearance()->BorderColor(), TColor(0xE3B28D));
    EXPECT_EQ(styler.GlowButtonAppearance()->Color(), TColor(0xEEDBC8));
}

TEST_F(PagerStylerTest, AStyleChangeNotifiesInTheOrderItWrites) {
    TLumOfficePagerOfficeStyler styler(nullptr);
    TRecordingPager pager(nullptr, &styler);
    styler.SetStyle(psOffice2003Blue);
    EXPECT_TRUE(pager.Take().empty());  // the same style: nothing

    // Office 2007 Luna writes CurvedCorners after the tab appearance.
    styler.SetStyle(psOffice2007Luna);
    std::vector<int> kinds = pager.Take();
    ASSERT_FALSE(kinds.empty());
    EXPECT_EQ(kinds.back(), 2);
    auto first = [&](int k) { return std::find(kinds.begin(), kinds.end(), k) - kinds.begin(); };
    auto last = [&](int k) { return std::find(kinds.rbegin(), kinds.rend(), k).base() - kinds.begin() - 1; };
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), 3), 1);
    EXPECT_LT(last(1), first(3));
    EXPECT_LT(first(3), first(2));
    EXPECT_LT(last(4), long(kinds.size()) - 1);
    EXPECT_GT(first(4), first(2));
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), 5), 0);

    // Office 2003 Olive writes it first.
    styler.SetStyle(psOffice2003Olive);
    kinds = pager.Take();
    EXPECT_EQ(kinds.front(), 3);
    EXPECT_EQ(kinds.back(), 2);
}

TEST_F(PagerStylerTest, CustomKeepsEveryColourAndNotifiesOnce) {
    TLumOfficePagerOfficeStyler styler(nullptr);
    styler.SetStyle(psWhidbey);
    TRecordingPager pager(nullptr, &styler);
    const TColor tab = styler.TabAppearance()->ColorSelected();
    styler.SetStyle(psCustom);
    EXPECT_EQ(pager.Take(), std::vector<int>{2});
    EXPECT_EQ(styler.TabAppearance()->ColorSelected(), tab);
    EXPECT_EQ(styler.Style(), psCustom);
    // Past the numbering: stored, nothing written, one notification.
    styler.ApplyStylePreset(40);
    EXPECT_EQ(pager.Take(), std::vector<int>{2});
    EXPECT_EQ(styler.TabAppearance()->ColorSelected(), tab);
}

TEST_F(PagerStylerTest, ADashKeepsTheValueOfTheStyleBefore) {
    TLumOfficePagerOfficeStyler styler(nullptr);
    const TColor initial = styler.GlowButtonAppearance()->BorderColorChecked();
    styler.SetStyle(psOffice2003Silver);  // no BorderColorChecked either
    EXPECT_EQ(styler.GlowButtonAppearance()->BorderColorChecked(), initial);
    styler.SetStyle(psOffice2007Luna);
    EXPECT_EQ(styler.GlowButtonAppearance()->BorderColorChecked(), TColor(0x45667B));
    styler.SetStyle(psOffice2003Blue);
    EXPECT_EQ(styler.GlowButtonAppearance()->BorderColorChecked(), TColor(0x45667B));
    // The Vista tab highlight is a dash too.
    const TColor highlight = styler.TabAppearance()->HighLightColor();
    styler.SetStyle(psWindowsVista);
    EXPECT_EQ(styler.TabAppearance()->HighLightColor(), highlight);
    EXPECT_EQ(styler.GlowButtonAppearance()->ColorHot(), clNone);
    EXPECT_FALSE(styler.CurvedCorners());
}

TEST_F(PagerStylerTest, TheClassicBlendLastsUntilTheNextStyle) {
    TLumOfficePagerOfficeStyler styler(nullptr);
    styler.SetStyle(psOffice2003Classic);
    EXPECT_EQ(styler.BlendPercent(), 80);
    styler.SetStyle(psCustom);
    EXPECT_EQ(styler.BlendPercent(), 50);
}

TEST_F(PagerStylerTest, ObsidianTurnsTheTabRowVertical) {
    TLumOfficePagerOfficeStyler styler(nullptr);
    EXPECT_EQ(styler.TabAppearance()->BackGround()->Direction(), gdHorizontal);
    styler.SetStyle(psOffice2007Obsidian);
    EXPECT_EQ(styler.TabAppearance()->BackGround()->Direction(), gdVertical);
    EXPECT_EQ(styler.TabAppearance()->GradientMirrorHot(), ggRadial);
    EXPECT_EQ(styler.TabAppearance()->BackGround()->ColorTo(), TColor(0x3A3A3A));
}

TEST_F(PagerStylerTest, EachAppearanceHasItsKind) {
    TCustomLumOfficePagerStyler styler(nullptr);
    TRecordingPager pager(nullptr, &styler);
    styler.TabAppearance()->SetColorHot(clRed);
    styler.PageAppearance()->SetColor(clRed);
    styler.SetCurvedCorners(true);  // unchanged, still told
    styler.GlowButtonAppearance()->SetColor(clRed);
    styler.TabAppearance()->Font()->SetSize(12);
    styler.TabAppearance()->SetShadowColor(clRed);  // quiet
    EXPECT_EQ(pager.Take(), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_F(PagerStylerTest, APagerAttachedTwiceHearsTwiceAndDetachesAtOnce) {
    TCustomLumOfficePagerStyler styler(nullptr);
    TRecordingPager pager(nullptr, &styler);
    styler.AttachPager(&pager);
    EXPECT_EQ(styler.Pagers().Count(), 2);
    styler.SetCurvedCorners(false);
    EXPECT_EQ(pager.Take(), (std::vector<int>{3, 3}));
    styler.DetachPager(&pager);
    EXPECT_EQ(styler.Pagers().Count(), 0);
    styler.DetachPager(&pager);  // not listed: nothing
    pager.Styler = nullptr;
}

TEST_F(PagerStylerTest, AStylerThatGoesReleasesItsPagersFirst) {
    auto* styler = new TLumOfficePagerOfficeStyler(nullptr);
    TRecordingPager pager(nullptr, styler);
    styler->AttachPager(&pager);
    TRecordingPager other(nullptr, styler);
    delete styler;
    // Once per attachment; the pager let go the first time.
    EXPECT_EQ(pager.Releases, 2);
    EXPECT_TRUE(pager.ListedWhileReleased);
    EXPECT_EQ(pager.Styler, nullptr);
    EXPECT_EQ(other.Releases, 1);
    EXPECT_EQ(other.Styler, nullptr);
    // Nothing was told of the end as a change.
    EXPECT_TRUE(pager.Kinds.empty());
}

TEST_F(PagerStylerTest, APagerFreedBeforeItsStylerByTheirOwnerLeavesTheList) {
    // The owner frees the last made first, after marking all as destroying.
    auto* owner = new TComponent(nullptr);
    auto* styler = new TLumOfficePagerOfficeStyler(owner);
    bool listedAfterFree = true;
    auto* pager = new TRecordingPager(owner, styler);
    pager->ListedAfterFree = &listedAfterFree;
    delete owner;
    EXPECT_FALSE(listedAfterFree);
}

TEST_F(PagerStylerTest, ARemovedComponentLeavesTheList) {
    TComponent owner(nullptr);
    auto* styler = new TCustomLumOfficePagerStyler(&owner);
    auto* pager = new TRecordingPager(&owner, styler, false);
    EXPECT_EQ(styler->Pagers().Count(), 1);
    delete pager;
    EXPECT_EQ(styler->Pagers().Count(), 0);
}

TEST_F(PagerStylerTest, AssignCopiesTabAndPageButNotTheGlowButtons) {
    TLumOfficePagerOfficeStyler luna(nullptr), target(nullptr);
    luna.SetStyle(psOffice2007Luna);
    luna.SetBlendPercent(70);
    luna.SetCurvedCorners(false);
    const TColor ownGlow = target.GlowButtonAppearance()->Color();
    TRecordingPager pager(nullptr, &target);
    target.Assign(&luna);
    EXPECT_EQ(target.TabAppearance()->BackGround()->Color(), TColor(0xFFDBBF));
    EXPECT_EQ(target.TabAppearance()->TextColor(), TColor(0x8B4215));
    EXPECT_EQ(target.PageAppearance()->ColorMirrorTo(), TColor(0xFFF2E7));
    EXPECT_FALSE(target.CurvedCorners());
    EXPECT_EQ(target.GlowButtonAppearance()->Color(), ownGlow);
    EXPECT_EQ(target.BlendPercent(), 50);
    EXPECT_EQ(target.Style(), psOffice2003Blue);
    EXPECT_EQ(pager.Take().back(), 3);
    TVistaBackground other;
    EXPECT_THROW(target.Assign(&other), EConvertError);
    pager.Styler = nullptr;
    target.DetachPager(&pager);
}

TEST_F(PagerStylerTest, TheStyleInterfaceSetsTheStyleByNumber) {
    TLumOfficePagerOfficeStyler styler(nullptr);
    IStylePreset* preset = Supports<IStylePreset>(static_cast<TComponent*>(&styler));
    ASSERT_NE(preset, nullptr);
    preset->ApplyStylePreset(psTerminal);
    EXPECT_EQ(styler.Style(), psTerminal);
    EXPECT_EQ(styler.TabAppearance()->HighLightColorSelected(), clBtnFace);
    TCustomLumOfficePagerStyler plain(nullptr);
    EXPECT_EQ(Supports<IStylePreset>(static_cast<TComponent*>(&plain)), nullptr);
}

TEST_F(PagerStylerTest, LoadedFollowsTheColourSchemeOnlyWithAutoThemeAdapt) {
    const TOfficePagerStyle themed = PagerStyleForXPColorScheme(GetXPThemeScheme());
    TLumOfficePagerOfficeStyler styler(nullptr);
    styler.SetStyle(psWhidbey);
    styler.Loaded();
    EXPECT_EQ(styler.Style(), psWhidbey);
    styler.SetAutoThemeAdapt(true);
    styler.Loaded();
    EXPECT_EQ(styler.Style(), themed);
}

TEST_F(PagerStylerTest, TheNotifierWindowHearsThemeChanges) {
    auto* form = new TForm(Application);
    TScopeExit free([form] { delete form; });
    auto* styler = new TLumOfficePagerOfficeStyler(form);
    ASSERT_EQ(styler->NotifierWindow()->Parent(), form);
    styler->NotifierWindow()->HandleNeeded();
    const HWND window = styler->NotifierWindow()->Handle();
    styler->SetStyle(psWhidbey);
    SendMessageA(window, WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(styler->Style(), psWhidbey);
    styler->SetAutoThemeAdapt(true);
    SendMessageA(window, WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(styler->Style(), PagerStyleForXPColorScheme(GetXPThemeScheme()));
}

TEST_F(PagerStylerTest, TheStoredLayoutPublishesStyleAndTheThreeAppearances) {
    std::vector<String> names;
    for (const TPropInfo& p : TLumOfficePagerOfficeStyler::StaticClass()->Props) names.push_back(p.Name);
    EXPECT_EQ(names, (std::vector<String>{"Style", "AutoThemeAdapt", "PageAppearance", "TabAppearance",
                                          "GlowButtonAppearance"}));
    for (const TPropInfo& p : TCustomLumOfficePagerStyler::StaticClass()->Props) EXPECT_FALSE(p.Published);
}

TEST_F(PagerStylerTest, AStoredStylerReadsBackItsOwnColours) {
    TComponent root(nullptr);
    root.SetName("Root");
    auto* styler = new TLumOfficePagerOfficeStyler(&root);
    styler->SetName("LumOfficePagerOfficeStyler1");
    styler->SetStyle(psOffice2007Luna);
    styler->TabAppearance()->SetColorHot(clRed);
    // A glow-button value equal to the glow button's own default is kept too.
    styler->GlowButtonAppearance()->SetColor(clWhite);
    const String text = TWriter().WriteRootComponent(&root);
    // The style comes first: reading it writes the preset, the stored colours follow.
    EXPECT_LT(text.find("Style = psOffice2007Luna"), text.find("PageAppearance.")) << text;

    TComponent read(nullptr);
    TReader(text).ReadRootComponent(&read);
    auto* copy = dynamic_cast<TLumOfficePagerOfficeStyler*>(read.FindComponent("LumOfficePagerOfficeStyler1"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Style(), psOffice2007Luna);
    EXPECT_EQ(copy->TabAppearance()->ColorHot(), clRed);
    EXPECT_EQ(copy->TabAppearance()->BackGround()->Color(), TColor(0xFFDBBF));
    EXPECT_EQ(copy->GlowButtonAppearance()->Color(), clWhite);
    EXPECT_EQ(copy->PageAppearance()->ColorMirrorTo(), TColor(0xFFF2E7));
}

}  // namespace
