// The placement values with a stand-in form and store: the texts written,
// the screen-size names, the fields read back, the position rules and the
// show states.
#include <gtest/gtest.h>

#include <limits>
#include <map>

#include "classlib/core/sysutils.h"
#include "placement_stand_in_store.h"
#include "storage/placement_values.h"

namespace {

// Records the order of writes as well.
class TFakeStore : public TPlacementMapStore {
public:
    std::vector<String> Order;  // the order of writes

    void WriteString(const String& path, const String& value) override {
        Order.push_back(path);
        TPlacementMapStore::WriteString(path, value);
    }
};

class TFakeForm : public TZvPlacementTarget {
public:
    TZvWindowPlacement Placement{0, zvShowNormal, -1, -1, -8, -8, 100, 50, 400, 350};
    std::vector<TZvWindowPlacement> SetPlacements;
    bool Visible = true;
    int FormLeft = 100, FormTop = 50, FormWidth = 300, FormHeight = 300;
    int FormPosition = zppDesigned;
    std::vector<int> PositionChanges;
    bool Designing = false, MainForm = true, NoMainForm = false, AppMinimized = false;
    bool MDIForm = false, MDIChild = false, NormalStyle = true;
    std::vector<TZvPlacementState> States;        // through the state property
    std::vector<TZvPlacementState> StoredStates;  // stored directly (MDI forms)
    int Minimizes = 0, Repaints = 0;
    int ScreenW = 1280, ScreenH = 1024, Ppi = 96;

    TZvWindowPlacement GetPlacement() override { return Placement; }
    void SetPlacement(const TZvWindowPlacement& p) override {
        SetPlacements.push_back(p);
        Placement = p;
    }
    bool IsVisible() override { return Visible; }
    int Left() override { return FormLeft; }
    int Top() override { return FormTop; }
    int Width() override { return FormWidth; }
    int Height() override { return FormHeight; }
    int Position() override { return FormPosition; }
    void SetPositionAsDesigned(int position) override {
        PositionChanges.push_back(position);
        FormPosition = position;
    }
    bool IsDesigning() override { return Designing; }
    bool IsMainForm() override { return MainForm; }
    bool HasNoMainForm() override { return NoMainForm; }
    bool IsApplicationMinimized() override { return AppMinimized; }
    bool IsMDIForm() override { return MDIForm; }
    bool IsMDIChild() override { return MDIChild; }
    bool IsNormalStyle() override { return NormalStyle; }
    void SetWindowState(TZvPlacementState state) override { States.push_back(state); }
    void StoreWindowState(TZvPlacementState state) override { StoredStates.push_back(state); }
    void MinimizeApplication() override { ++Minimizes; }
    void Repaint() override { ++Repaints; }
    int ScreenWidth() override { return ScreenW; }
    int ScreenHeight() override { return ScreenH; }
    int ScreenPixelsPerInch() override { return Ppi; }
};

const TPlacementOptions StateAndSize{fpState, fpSize};
const TPlacementOptions Everything{fpState, fpSize, fpLocation};

TEST(PlacementTexts, PathsSuffixesAndPoints) {
    EXPECT_EQ(PlacementValuePath("frmMain\\", "NormPos"), "frmMain\\NormPos");
    EXPECT_EQ(PlacementValuePath("frmMain", "NormPos"), "frmMain\\NormPos");
    EXPECT_EQ(PlacementValuePath("", "NormPos"), "NormPos");
    EXPECT_EQ(PlacementScreenSuffix(1280, 1024), "(1280x1024)");
    EXPECT_EQ(FormatPlacementPoints(-1, -1, -8, -8), "-1,-1,-8,-8");
}

TEST(PlacementTexts, FieldsByComma) {
    struct Case {
        const char* text;
        int n;
        int expected;
    } cases[] = {
        {"10,20,30,40", 1, 10}, {"10,20,30,40", 4, 40}, {"10,20", 3, -5},    {"10,x,30", 2, -5}, {"", 1, -5},
        {" 7 , 8 ", 2, 8},      {"-3,-4", 2, -4},       {"1,2,3,4,5", 5, 5},
    };
    for (const Case& c : cases) EXPECT_EQ(PlacementField(c.text, c.n, -5), c.expected) << c.text << " " << c.n;
}

TEST(PlacementTexts, ShowStates) {
    struct Case {
        int showCmd;
        TZvPlacementState expected;
    } cases[] = {{1, zpsNormal},    {5, zpsNormal},    {9, zpsNormal},     {2, zpsMinimized},
                 {6, zpsMinimized}, {7, zpsMinimized}, {3, zpsMaximized},  {0, zpsMaximized},
                 {4, zpsMaximized}, {8, zpsMaximized}, {10, zpsMaximized}, {-1, zpsMaximized}};
    for (const Case& c : cases) EXPECT_EQ(PlacementShowCmdToState(c.showCmd, zpsMaximized), c.expected) << c.showCmd;
}

TEST(PlacementTexts, PositionRules) {
    const int centred = 4;  // poScreenCenter
    struct Case {
        int position;
        TPlacementOptions options;
        int expected;
    } cases[] = {
        {zppDefault, {fpSize, fpLocation}, zppDesigned},    {centred, {fpSize, fpLocation}, zppDesigned},
        {zppDefault, {fpLocation}, zppDefaultSizeOnly},     {centred, {fpLocation}, zppDesigned},
        {zppDefaultPosOnly, {fpLocation}, zppDesigned},     {zppDesigned, {fpLocation}, zppDesigned},
        {zppDefault, {fpSize}, zppDefaultPosOnly},          {centred, {fpSize}, centred},
        {zppDefaultSizeOnly, {fpSize}, zppDefaultSizeOnly}, {zppDefault, {fpState}, zppDefault},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AdjustPlacementPosition(c.position, c.options), c.expected) << c.position << " " << c.options.Bits();
}

TEST(StoreWindowPlacement, WritesTheValuesInOrderWithTheirScreenSizeForms) {
    TFakeForm form;
    TFakeStore store;
    StoreWindowPlacement(form, store, "frmMain\\", StateAndSize);
    EXPECT_EQ(store.Order, (std::vector<String>{"frmMain\\ShowCmd", "frmMain\\Flags", "frmMain\\PixelsPerInch",
                                                "frmMain\\MinMaxPos(1280x1024)", "frmMain\\MinMaxPos",
                                                "frmMain\\NormPos(1280x1024)", "frmMain\\NormPos"}));
    EXPECT_EQ(store.Values["frmMain\\ShowCmd"], "1");
    EXPECT_EQ(store.Values["frmMain\\Flags"], "0");
    EXPECT_EQ(store.Values["frmMain\\PixelsPerInch"], "96");
    EXPECT_EQ(store.Values["frmMain\\MinMaxPos"], "-1,-1,-8,-8");
    EXPECT_EQ(store.Values["frmMain\\NormPos(1280x1024)"], "100,50,400,350");
    EXPECT_EQ(store.Values["frmMain\\NormPos"], "100,50,400,350");
}

TEST(StoreWindowPlacement, WhatEachOptionWrites) {
    struct Case {
        TPlacementOptions options;
        size_t count;
    } cases[] = {
        {{fpState}, 1}, {{fpSize}, 6}, {{fpLocation}, 6}, {{fpActiveControl}, 0}, {{fpActiveControl, fpState}, 1}};
    for (const Case& c : cases) {
        TFakeForm form;
        TFakeStore store;
        StoreWindowPlacement(form, store, "f\\", c.options);
        EXPECT_EQ(store.Order.size(), c.count) << c.options.Bits();
    }
}

TEST(StoreWindowPlacement, MinimisedApplicationAndMinimisedMdiChild) {
    TFakeForm form;
    form.AppMinimized = true;
    TFakeStore store;
    StoreWindowPlacement(form, store, "f", Everything);
    EXPECT_EQ(store.Values["f\\ShowCmd"], "2");

    TFakeForm child;
    child.MainForm = false;
    child.AppMinimized = true;  // not the main form: its own state counts
    child.MDIChild = true;
    child.Placement.ShowCmd = zvShowMinimized;
    child.Placement.Flags = 2;
    TFakeStore childStore;
    StoreWindowPlacement(child, childStore, "c", Everything);
    EXPECT_EQ(childStore.Values["c\\ShowCmd"], "2");
    EXPECT_EQ(childStore.Values["c\\Flags"], "3");
}

TEST(LoadWindowPlacement, NothingStoredChangesNothing) {
    TFakeForm form;
    form.FormPosition = 4;  // poScreenCenter
    TFakeStore store;
    LoadWindowPlacement(form, store, "frmMain\\", StateAndSize);
    EXPECT_TRUE(form.SetPlacements.empty());
    EXPECT_TRUE(form.PositionChanges.empty());
    EXPECT_EQ(form.States, (std::vector<TZvPlacementState>{zpsNormal}));
    EXPECT_EQ(form.Repaints, 1);
}

TEST(LoadWindowPlacement, SizeAloneKeepsThePlaceAndTakesTheStoredSize) {
    TFakeForm form;
    form.Visible = false;
    form.FormPosition = zppDefault;
    TFakeStore store;
    store.Values = {{"frmMain\\NormPos", "500,400,800,900"},
                    {"frmMain\\MinMaxPos", "11,12,-4,-5"},
                    {"frmMain\\PixelsPerInch", "96"},
                    {"frmMain\\Flags", "2"}};
    LoadWindowPlacement(form, store, "frmMain\\", StateAndSize);
    ASSERT_EQ(form.SetPlacements.size(), 1u);
    const TZvWindowPlacement& p = form.SetPlacements[0];
    EXPECT_EQ(p.ShowCmd, zvShowHide);  // a hidden window stays hidden
    EXPECT_EQ(p.Flags, 2u);
    EXPECT_EQ(p.Left, 100);  // the form's own place
    EXPECT_EQ(p.Top, 50);
    EXPECT_EQ(p.Right - p.Left, 300);  // the stored width and height
    EXPECT_EQ(p.Bottom - p.Top, 500);
    EXPECT_EQ(p.MinX, -1);  // location not restored
    EXPECT_EQ(p.MaxX, -4);
    EXPECT_EQ(p.MaxY, -5);
    EXPECT_EQ(form.PositionChanges, (std::vector<int>{zppDefaultPosOnly}));
}

TEST(LoadWindowPlacement, LocationAloneKeepsTheSize) {
    TFakeForm form;
    TFakeStore store;
    store.Values = {{"f\\NormPos", "500,400,800,900"}, {"f\\MinMaxPos", "11,12,-4,-5"}};
    LoadWindowPlacement(form, store, "f", {fpLocation});
    ASSERT_EQ(form.SetPlacements.size(), 1u);
    const TZvWindowPlacement& p = form.SetPlacements[0];
    EXPECT_EQ(p, (TZvWindowPlacement{0, zvShowNormal, 11, 12, -8, -8, 500, 400, 800, 700}));
    EXPECT_TRUE(form.PositionChanges.empty());  // already designed
    EXPECT_TRUE(form.States.empty());           // no fpState
    EXPECT_EQ(form.Repaints, 1);
}

TEST(LoadWindowPlacement, BadOrMissingFieldsFallBackFieldByField) {
    TFakeForm form;
    TFakeStore store;
    store.Values = {{"f\\NormPos", "x,20"}, {"f\\MinMaxPos", "1"}};
    LoadWindowPlacement(form, store, "f", {fpSize, fpLocation});
    ASSERT_EQ(form.SetPlacements.size(), 1u);
    const TZvWindowPlacement& p = form.SetPlacements[0];
    // Left: the form's left; top 20; width and height: the form's.
    EXPECT_EQ(p.Left, 100);
    EXPECT_EQ(p.Top, 20);
    EXPECT_EQ(p.Right, 100 + 300);
    EXPECT_EQ(p.Bottom, 20 + 300);
    EXPECT_EQ(p.MinX, 1);
    EXPECT_EQ(p.MinY, 0);
    EXPECT_EQ(p.MaxX, 0);
}

TEST(LoadWindowPlacement, EdgesFarOffTheScreenAreHeldToTheIntRange) {
    // The form sits at (100, 50) and is 300 by 300.
    const int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    struct Case {
        TPlacementOptions options;
        const char* normPos;
        bool applied;
        int left, top, right, bottom;
    } cases[] = {
        // Far off, but every edge an int: taken as it is.
        {Everything, "-30000,-30000,-29000,-29500", true, -30000, -30000, -29000, -29500},
        {Everything, "-2147483648,-2147483648,2147483647,2147483647", true, lo, lo, hi, hi},
        // The form's own width and height past the int range.
        {Everything, "2147483600,2147483647", true, 2147483600, hi, hi, hi},
        {{fpLocation}, "2147483000,2147483647,0,0", true, 2147483000, hi, 2147483300, hi},
        {{fpLocation}, "-2147483648,-2147483648", true, lo, lo, lo + 300, lo + 300},
        // A stored width or height that no int holds, at the form's place.
        {{fpSize}, "-2147483648,-2147483648,2147483647,2147483647", true, 100, 50, hi, hi},
        {{fpSize}, "0,2147483647,300,-2147483648", true, 100, 50, 400, lo},
        // Held at the edge of the range, the rectangle is empty.
        {{fpLocation}, "2147483647,0", false, 0, 0, 0, 0},
        {{fpSize}, "2147483647,0,-2147483648,300", false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TFakeForm form;
        TFakeStore store;
        store.Values = {{"f\\NormPos", c.normPos}};
        LoadWindowPlacement(form, store, "f", c.options);
        if (!c.applied) {
            EXPECT_TRUE(form.SetPlacements.empty()) << c.normPos;
            continue;
        }
        ASSERT_EQ(form.SetPlacements.size(), 1u) << c.normPos;
        const TZvWindowPlacement& p = form.SetPlacements[0];
        EXPECT_EQ(p.Left, c.left) << c.normPos;
        EXPECT_EQ(p.Top, c.top) << c.normPos;
        EXPECT_EQ(p.Right, c.right) << c.normPos;
        EXPECT_EQ(p.Bottom, c.bottom) << c.normPos;
    }
}

TEST(LoadWindowPlacement, TheCurrentScreenSizesValueWins) {
    struct Case {
        std::map<String, String> values;
        int expectedWidth;
    } cases[] = {
        {{{"f\\NormPos(1280x1024)", "0,0,640,480"}, {"f\\NormPos", "0,0,200,200"}}, 640},
        {{{"f\\NormPos(800x600)", "0,0,640,480"}, {"f\\NormPos", "0,0,200,200"}}, 200},
        {{{"f\\NormPos(1280x1024)", "0,0,640,480"}}, 640},
    };
    for (const Case& c : cases) {
        TFakeForm form;
        TFakeStore store;
        store.Values = c.values;
        LoadWindowPlacement(form, store, "f", {fpSize});
        ASSERT_EQ(form.SetPlacements.size(), 1u);
        EXPECT_EQ(form.SetPlacements[0].Right - form.SetPlacements[0].Left, c.expectedWidth);
    }
}

TEST(LoadWindowPlacement, OtherPixelsPerInchOrAnEmptyRectangleAppliesOnlyTheState) {
    struct Case {
        const char* normPos;
        const char* ppi;
    } cases[] = {{"0,0,640,480", "120"}, {"640,0,640,480", "96"}, {"700,0,640,480", "96"}};
    for (const Case& c : cases) {
        TFakeForm form;
        TFakeStore store;
        store.Values = {{"f\\NormPos", c.normPos}, {"f\\PixelsPerInch", c.ppi}, {"f\\ShowCmd", "3"}};
        LoadWindowPlacement(form, store, "f", Everything);
        EXPECT_TRUE(form.SetPlacements.empty()) << c.normPos << " " << c.ppi;
        EXPECT_TRUE(form.PositionChanges.empty());
        EXPECT_EQ(form.States, (std::vector<TZvPlacementState>{zpsMaximized}));
    }
}

TEST(LoadWindowPlacement, AtDesignTimeThePositionStays) {
    TFakeForm form;
    form.Designing = true;
    form.FormPosition = zppDefault;
    TFakeStore store;
    store.Values = {{"f\\NormPos", "0,0,640,480"}};
    LoadWindowPlacement(form, store, "f", Everything);
    EXPECT_EQ(form.SetPlacements.size(), 1u);
    EXPECT_TRUE(form.PositionChanges.empty());
}

TEST(LoadWindowPlacement, StoredShowStates) {
    struct Case {
        const char* showCmd;  // nullptr: not stored
        bool mainForm, noMainForm, mdiForm;
        int position;
        std::vector<TZvPlacementState> states;
        int minimizes;
    } cases[] = {
        {"3", true, false, false, zppDesigned, {zpsMaximized}, 0},
        {"1", true, false, false, zppDesigned, {zpsNormal}, 0},
        {"2", true, false, false, zppDesigned, {zpsNormal}, 1},      // through the application
        {"2", false, false, false, zppDesigned, {zpsMinimized}, 0},  // another form: directly
        {nullptr, true, false, false, zppDesigned, {zpsNormal}, 0},
        {nullptr, true, false, false, zppDefault, {zpsMaximized}, 0},
        {nullptr, false, true, false, zppDefault, {zpsMaximized}, 0},
        {nullptr, false, false, false, zppDefault, {zpsNormal}, 0},
        {"0", true, false, true, zppDesigned, {zpsMaximized}, 0},
        {"12", false, false, true, zppDesigned, {zpsNormal}, 0},
    };
    for (const Case& c : cases) {
        TFakeForm form;
        form.MainForm = c.mainForm;
        form.NoMainForm = c.noMainForm;
        form.MDIForm = c.mdiForm;
        form.NormalStyle = !c.mdiForm;
        form.FormPosition = c.position;
        TFakeStore store;
        if (c.showCmd) store.Values["f\\ShowCmd"] = c.showCmd;
        LoadWindowPlacement(form, store, "f", {fpState});
        // MDI forms get the state stored directly, others through the property.
        EXPECT_EQ(c.mdiForm ? form.StoredStates : form.States, c.states)
            << (c.showCmd ? c.showCmd : "none") << " main " << c.mainForm;
        EXPECT_TRUE((c.mdiForm ? form.States : form.StoredStates).empty());
        EXPECT_EQ(form.Minimizes, c.minimizes);
        // A minimised main form ends the routine before the repaint.
        EXPECT_EQ(form.Repaints, c.minimizes ? 0 : 1);
    }
    TFakeForm child;
    child.MainForm = false;
    child.MDIChild = true;
    child.NormalStyle = false;
    TFakeStore store;
    store.Values["f\\ShowCmd"] = "2";
    LoadWindowPlacement(child, store, "f", {fpState});
    EXPECT_EQ(child.StoredStates, (std::vector<TZvPlacementState>{zpsMinimized}));
    EXPECT_TRUE(child.States.empty());
}

TEST(LoadWindowPlacement, ActiveControlAloneReadsNothing) {
    TFakeForm form;
    TFakeStore store;
    store.Values = {{"f\\NormPos", "0,0,640,480"}, {"f\\ShowCmd", "3"}};
    LoadWindowPlacement(form, store, "f", {fpActiveControl});
    EXPECT_TRUE(form.SetPlacements.empty());
    EXPECT_TRUE(form.States.empty());
    EXPECT_EQ(form.Repaints, 0);
}

TEST(PlacementRoundTrip, WhatIsStoredComesBack) {
    TFakeForm first;
    first.Placement = {0, zvShowMaximized, -1, -1, -4, -4, 120, 80, 620, 480};
    TFakeStore store;
    StoreWindowPlacement(first, store, "frmMain\\", Everything);
    TFakeForm second;
    LoadWindowPlacement(second, store, "frmMain\\", Everything);
    ASSERT_EQ(second.SetPlacements.size(), 1u);
    TZvWindowPlacement expected = first.Placement;
    expected.ShowCmd = zvShowNormal;  // the show state goes through the window state
    EXPECT_EQ(second.SetPlacements[0], expected);
    EXPECT_EQ(second.States, (std::vector<TZvPlacementState>{zpsMaximized}));
}

}  // namespace
