#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "classlib/ui/forms.h"
#include "components/controls/group_box_win.h"
#include "components/controls/office_check_box_win.h"
#include "components/pager/lum_office_pager_win.h"
#include "components/pager/pager_draw_win.h"
#include "imaging/png/png_object_win.h"
#include "tests/classlib/ui/support/object_tally.h"
#include "tests/classlib/ui/support/paint_harness.h"
#include "tests/components/pager/pager_test_support_win.h"

namespace {

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Each channel within tolerance (GDI+ smooths its lines and gradients).
::testing::AssertionResult Near(TColor got, TColor want, int tolerance = 6) {
    const TColor w = TColor(ColorToRGB(want));
    for (int shift : {0, 8, 16}) {
        const int a = int((got >> shift) & 0xFF), b = int((w >> shift) & 0xFF);
        if (std::abs(a - b) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "got " << got << ", want " << w;
    }
    return ::testing::AssertionSuccess();
}

// A 471 x 238 pager with three pages, in its internal styler's look.
class OfficePagerPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        pager_test::StartUnits();
        SetCursorPos(1270, 1010);
        form = new TForm(Application);
        form->SetBounds(40, 40, 520, 320);
        pager = new TLumOfficePager(form);
        pager->SetParent(form);
        pager->SetBounds(0, 0, 471, 238);
        for (const char* caption : {"Editor Settings", "IDE Style", "Output Settings"}) {
            auto* page = new TLumOfficePage(form);
            page->SetCaption(caption);
            page->SetPager(pager);
            pages.push_back(page);
        }
        pager->SetActivePageIndex(1);
        form->Show();
        Pump();
    }
    void TearDown() override {
        FreeAndNil(form);
        Pump();
    }
    TVistaBackground* PageLook() const { return pager->CurrentStyler()->PageAppearance(); }
    TGradientBackground* RowLook() const { return pager->CurrentStyler()->TabAppearance()->BackGround(); }

    TForm* form = nullptr;
    TLumOfficePager* pager = nullptr;
    std::vector<TLumOfficePage*> pages;
};

TEST_F(OfficePagerPaintTest, TheRowGradientRunsFromItsColourAtTheTopToItsEndAtTheBottom) {
    TPaintTarget target(471, 238, clFuchsia);
    // The Luna look has no second row colour: the row is one colour.
    ASSERT_EQ(RowLook()->ColorTo(), clNone);
    target.Paint(pager);
    EXPECT_TRUE(Near(target.PixelAt(465, 0), RowLook()->Color(), 0));
    EXPECT_TRUE(Near(target.PixelAt(0, 237), RowLook()->Color(), 0));
    // With one, the bands run down from the first to the last.
    RowLook()->SetColorTo(clBlack);
    target.Paint(pager);
    // Right of the last tab, above the page: the top of the row.
    EXPECT_TRUE(Near(target.PixelAt(465, 0), RowLook()->Color(), 8));
    // Below the page, the last band.
    EXPECT_TRUE(Near(target.PixelAt(0, 237), clBlack, 8));
}

TEST_F(OfficePagerPaintTest, ThePageBorderHasAGapUnderTheActiveTab) {
    TPaintTarget target(471, 238, clFuchsia);
    target.Paint(pager);
    const TRect tab = pager->GetTabRect(1);
    const TRect page = pages[1]->BoundsRect();
    const int middle = (tab.Left + tab.Right) / 2;
    // Under the active tab the page's top row is the page colour; beside it
    // (under the first tab) it is the frame colour.
    EXPECT_TRUE(Near(target.PixelAt(middle, page.Top), PageLook()->Color()));
    const TRect first = pager->GetTabRect(0);
    EXPECT_TRUE(Near(target.PixelAt((first.Left + first.Right) / 2, page.Top), PageLook()->BorderColor(), 24));
    // The frame down the page's left edge.
    EXPECT_TRUE(Near(target.PixelAt(page.Left, page.Top + 100), PageLook()->BorderColor(), 24));
}

TEST_F(OfficePagerPaintTest, ThePageHighlightLinesAreInTheMixedColour) {
    TPaintTarget target(469, 210, clFuchsia);
    target.Paint(pages[1]);
    const TColor light = MixColors(clWhite, PageLook()->BorderColor(), pager->CurrentStyler()->BlendPercent());
    EXPECT_TRUE(Near(target.PixelAt(1, 100), light, 2));
    EXPECT_TRUE(Near(target.PixelAt(469 - 2, 100), light, 2));
    EXPECT_TRUE(Near(target.PixelAt(200, 210 - 2), light, 2));
}

// A rectangular tab's inner light and rounded-off corners lie along its
// closed edge on every side: 3 pixels in from it, and its two end pixels
// taken from just outside the tab.
TEST_F(OfficePagerPaintTest, TabDetailsFollowTheClosedEdgeOnEverySide) {
    pager->TabSettings()->SetRounding(1);
    pager->TabSettings()->SetShape(tsRectangle);
    TPaintTarget target(471, 238, clFuchsia);
    target.Paint(pager);
    TRect r = pager->GetTabRect(1);  // the active tab, which has a body
    const int middle = (r.Left + r.Right) / 2;
    const TColor innerLight = target.PixelAt(middle, r.Top + 3);
    // The light is not the body's colour just below it.
    EXPECT_NE(innerLight, target.PixelAt(middle, r.Top + 5));
    EXPECT_EQ(target.PixelAt(r.Left, r.Top), target.PixelAt(r.Left - 1, r.Top));
    struct TSide {
        TTabPosition Position;
        bool Rotated;
    };
    for (const TSide side : {TSide{tpBottom, true}, TSide{tpLeft, true}, TSide{tpRight, true}}) {
        SCOPED_TRACE(int(side.Position));
        pager->SetRotateTabLeftRight(side.Rotated);
        pager->SetTabPosition(side.Position);
        Pump();
        target.Fill(clFuchsia);
        target.Paint(pager);
        r = pager->GetTabRect(1);
        ASSERT_FALSE(r.IsEmpty());
        TPoint light, end, outside;
        switch (side.Position) {
        case tpBottom:
            light = Point((r.Left + r.Right) / 2, r.Bottom - 1 - 3);
            end = Point(r.Left, r.Bottom - 1);
            outside = Point(r.Left - 1, r.Bottom - 1);
            break;
        case tpLeft:
            light = Point(r.Left + 3, (r.Top + r.Bottom) / 2);
            end = Point(r.Left, r.Top);
            outside = Point(r.Left, r.Top - 1);
            break;
        default:
            light = Point(r.Right - 1 - 3, (r.Top + r.Bottom) / 2);
            end = Point(r.Right - 1, r.Top);
            outside = Point(r.Right - 1, r.Top - 1);
            break;
        }
        EXPECT_EQ(target.PixelAt(light.X, light.Y), innerLight);
        EXPECT_EQ(target.PixelAt(end.X, end.Y), target.PixelAt(outside.X, outside.Y));
    }
}

// A see-through group box on the active page with see-through check boxes
// on it: each paints the page behind itself.
TLumGroupBox* AddOptions(TLumOfficePage* page, int boxes) {
    auto* group = new TLumGroupBox(page);
    group->SetParent(page);
    group->SetBounds(20, 30, 200, 40 + 22 * boxes);
    for (int i = 0; i < boxes; ++i) {
        auto* box = new TLumOfficeCheckBox(group);
        box->SetParent(group);
        box->SetBounds(10, 20 + 22 * i, 180, 17);
        box->SetCaption("Option");
    }
    return group;
}

TEST_F(OfficePagerPaintTest, ASeeThroughChildShowsThePageBehindItAsThePagePaintsIt) {
    TLumOfficePage* page = pages[1];
    TLumGroupBox* group = AddOptions(page, 3);
    auto* box = static_cast<TControl*>(group->Controls(0));
    // The page alone, without the group.
    group->SetVisible(false);
    TPaintTarget alone(page->Width(), page->Height(), clFuchsia);
    alone.Paint(page);
    group->SetVisible(true);
    Pump();
    // The group's inside, and the check box's right end (right of its
    // caption), show the page's own pixels there: the page's gradient
    // runs down the page, so rows apart differ.
    const int groupX = group->Left(), groupY = group->Top();
    const int boxX = groupX + box->Left(), boxY = groupY + box->Top();
    ASSERT_NE(alone.PixelAt(groupX + 100, groupY + 18), alone.PixelAt(groupX + 100, groupY + group->Height() - 4));
    TPaintTarget behind(group->Width(), group->Height(), clFuchsia);
    behind.PaintInParents(group);
    for (const TPoint& p : {Point(100, 18), Point(3, group->Height() - 4), Point(196, 60)})
        EXPECT_EQ(behind.PixelAt(p.X, p.Y), alone.PixelAt(groupX + p.X, groupY + p.Y)) << p.X << ", " << p.Y;
    TPaintTarget behindBox(box->Width(), box->Height(), clFuchsia);
    behindBox.PaintInParents(box);
    for (const TPoint& p : {Point(175, 1), Point(178, 8), Point(179, 16)})
        EXPECT_EQ(behindBox.PixelAt(p.X, p.Y), alone.PixelAt(boxX + p.X, boxY + p.Y)) << p.X << ", " << p.Y;
}

TEST_F(OfficePagerPaintTest, ThePageRendersItsGradientOnceForAllItsSeeThroughChildren) {
    TLumOfficePage* page = pages[1];
    AddOptions(page, 6);
    TPaintTarget target(471, 238, clFuchsia);
    target.Paint(pager);
    // Six check boxes and their group each paint the page behind them, on
    // every repaint of the pager; the gradient is rendered once.
    const int first = page->BackgroundRenders();
    EXPECT_EQ(first, 1);
    for (int i = 0; i < 5; ++i) target.Paint(pager);
    page->Repaint();
    EXPECT_EQ(page->BackgroundRenders(), first);
    // A new look, or a new size, renders it once more.
    PageLook()->SetColorTo(clRed);
    target.Paint(pager);
    target.Paint(pager);
    EXPECT_EQ(page->BackgroundRenders(), first + 1);
    pager->SetBounds(0, 0, 400, 200);
    target.Paint(pager);
    target.Paint(pager);
    EXPECT_EQ(page->BackgroundRenders(), first + 2);
}

TEST_F(OfficePagerPaintTest, PaintingLeavesNoObjectsBehind) {
    TPaintTarget target(471, 238, clFuchsia);
    target.Paint(pager);
    TObjectBalance balance;
    for (int i = 0; i < 50; ++i) target.Paint(pager);
    EXPECT_EQ(balance.Leaked(okGdi), 0);
    EXPECT_EQ(balance.Leaked(okGdiPlus), 0);
}

}  // namespace

// ---- What a tab shows, over the pager's own settings ---------------------------

namespace {

// A 16 x 16 blue picture with a white border: a bitmap picture leaves out
// its bottom-left colour, so 14 x 14 blue pixels show.
void LoadBluePicture(TGDIPPicture* picture) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(16, 16);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(Rect(0, 0, 16, 16));
    bitmap.Canvas()->Brush()->SetColor(clBlue);
    bitmap.Canvas()->FillRect(Rect(1, 1, 15, 15));
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    stream.SetPosition(0);
    picture->LoadFromStream(stream);
}

// The caption's ink: the red of the selected tab's text, or close to it
// where the text is smoothed.
bool IsInk(TColor c) {
    const int r = int(c & 0xFF), g = int((c >> 8) & 0xFF), b = int((c >> 16) & 0xFF);
    return r >= 140 && r - std::max(g, b) >= 90;
}

struct TInk {
    int Count = 0;
    int Outside = 0;  // of Count, outside the tab
    TRect Box{10000, 10000, -1, -1};
};

TInk InkOf(const TPaintTarget& t, const TRect& tab, const std::vector<TRect>& skip) {
    TInk ink;
    for (int y = 0; y < t.Height(); ++y)
        for (int x = 0; x < t.Width(); ++x) {
            const TPoint p{x, y};
            bool skipped = false;
            for (const TRect& r : skip) skipped = skipped || (!r.IsEmpty() && r.Contains(p));
            if (skipped || !IsInk(t.PixelAt(x, y))) continue;
            ++ink.Count;
            if (!tab.Contains(p)) ++ink.Outside;
            ink.Box.Left = std::min(ink.Box.Left, x);
            ink.Box.Top = std::min(ink.Box.Top, y);
            ink.Box.Right = std::max(ink.Box.Right, x + 1);
            ink.Box.Bottom = std::max(ink.Box.Bottom, y + 1);
        }
    return ink;
}

struct TTabCase {
    TTabPosition Side;
    bool Rotated;
    TAntiAlias AntiAlias;
    bool Picture, CheckBox, Close;
    int Fixed;  // -1 no fixed width, else the alignment of a fixed-width tab
    String Name() const {
        static const char* sides[] = {"top", "bottom", "left", "right"};
        String name = String(sides[Side]) + (Rotated ? " rotated" : "") + " aa" + std::to_string(int(AntiAlias));
        if (Picture) name += " picture";
        if (CheckBox) name += " check box";
        if (Close) name += " close";
        if (Fixed >= 0) name += " fixed " + std::to_string(Fixed);
        return name;
    }
};

class TabContentPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        pager_test::StartUnits();
        SetCursorPos(1270, 1010);
        form = new TForm(Application);
        form->SetBounds(40, 40, 420, 320);
        pager = new TLumOfficePager(form);
        pager->SetParent(form);
        pager->SetBounds(0, 0, 360, 260);
        page = new TLumOfficePage(form);
        page->SetCaption("Output Settings");
        page->SetPager(pager);
        pager->SetActivePageIndex(0);
        pager->CurrentStyler()->TabAppearance()->SetTextColorSelected(clRed);
        form->Show();
        Pump();
    }
    void TearDown() override {
        FreeAndNil(form);
        Pump();
    }
    void Configure(const TTabCase& c) {
        const bool side = c.Side == tpLeft || c.Side == tpRight;
        pager->SetTabPosition(c.Side);
        pager->SetRotateTabLeftRight(c.Rotated);
        pager->SetAntiAlias(c.AntiAlias);
        // Side tabs that are not rotated are a column of horizontal tabs:
        // wide enough for the caption.
        pager->TabSettings()->SetHeight(side && !c.Rotated ? 150 : 26);
        pager->TabSettings()->SetWidth(c.Fixed < 0 ? 0 : side && !c.Rotated ? 30 : 170);
        if (c.Fixed >= 0) pager->TabSettings()->SetAlignment(TAlignment(c.Fixed));
        if (c.Picture)
            LoadBluePicture(page->Picture());
        else
            page->Picture()->Assign(nullptr);
        page->SetShowCheckBox(c.CheckBox);
        pager->ButtonSettings()->SetCloseButton(c.Close);
        pager->SetCloseOnTab(c.Close);
        pager->UpdateScroller();
    }

    TForm* form = nullptr;
    TLumOfficePager* pager = nullptr;
    TLumOfficePage* page = nullptr;
};

}  // namespace

// Every side, rotated or not, each smoothing, with and without a picture,
// a check box and a close glyph, free or fixed width in each alignment: the
// caption's ink lies inside its tab; a picture shows inside the tab beside
// it; rotated captions are centred across their tab, and fixed-width
// centred captions along it.
TEST_F(TabContentPaintTest, TheCaptionAndPictureLieInsideTheirTabOnEverySide) {
    std::vector<TTabCase> cases;
    for (TTabPosition side : {tpTop, tpBottom, tpLeft, tpRight})
        for (bool rotated : {true, false}) {
            if (!rotated && (side == tpTop || side == tpBottom)) continue;
            for (TAntiAlias aa : {aaNone, aaClearType, aaAntiAlias})
                for (int flags = 0; flags < 8; ++flags)
                    for (int fixed = -1; fixed <= 2; ++fixed)
                        cases.push_back({side, rotated, aa, bool(flags & 1), bool(flags & 2), bool(flags & 4), fixed});
        }
    TPaintTarget target(360, 260, clFuchsia);
    for (const TTabCase& c : cases) {
        Configure(c);
        target.Fill(clFuchsia);
        target.Paint(pager);
        const TRect tab = pager->GetTabRect(0);
        ASSERT_NE(tab, NoTabRect) << c.Name();
        const TRect close = pager->LayoutInput().CloseOnTab ? pager->GetTabRect(0) : TRect{};
        std::vector<TRect> skip{pager->GetCheckBoxRect(0)};
        if (TLumGlowButton* button = page->CloseButton()) skip.push_back(button->BoundsRect());
        if (c.Close && !page->CloseButton()) skip.push_back(close);
        const TInk ink = InkOf(target, tab, c.CheckBox ? skip : std::vector<TRect>(skip.begin() + 1, skip.end()));
        EXPECT_GE(ink.Count, 40) << c.Name();
        EXPECT_EQ(ink.Outside, 0) << c.Name() << " ink " << ink.Box.Left << "," << ink.Box.Top << " - " << ink.Box.Right
                                  << "," << ink.Box.Bottom;
        if (c.Picture) EXPECT_GE(target.CountPixels(tab, clBlue), 14 * 14 * 3 / 4) << c.Name();
        const bool side = c.Side == tpLeft || c.Side == tpRight;
        const bool plainRotated = side && c.Rotated && !(c.Side == tpRight && c.AntiAlias != aaNone && c.Fixed < 0);
        if (plainRotated && ink.Count > 0) {
            const int inkAcross = ink.Box.Left + ink.Box.Right, tabAcross = tab.Left + tab.Right;
            EXPECT_LE(std::abs(inkAcross - tabAcross), 2 * 2) << c.Name() << " across";
        }
        if (c.Fixed == int(taCenter) && !c.Picture && !c.CheckBox && !c.Close && ink.Count > 0) {
            const bool along = side && c.Rotated;
            const int inkMid = along ? ink.Box.Top + ink.Box.Bottom : ink.Box.Left + ink.Box.Right;
            const int tabMid = along ? tab.Top + tab.Bottom : tab.Left + tab.Right;
            // The text part takes the measure, which adds a third of the
            // caption's length for plain and ClearType text.
            const int slack = c.AntiAlias == aaAntiAlias ? 2 : 4;
            EXPECT_LE(std::abs(inkMid - tabMid), 2 * slack) << c.Name() << " along";
        }
    }
}

// Pictures of a pager with pictures on its tabs on each side, rotated and
// not, beside the program's own screenshots.
TEST_F(TabContentPaintTest, LeavesAPictureOfAPagerOnEachSide) {
    for (const char* caption : {"IDE Style", "Editor"}) {
        auto* more = new TLumOfficePage(form);
        more->SetCaption(caption);
        more->SetPager(pager);
        LoadBluePicture(more->Picture());
    }
    CreateDirectoryA(QM_SCREENSHOT_DIR, nullptr);
    const struct {
        TTabPosition Side;
        bool Rotated;
        const char* File;
        TAntiAlias AntiAlias = aaClearType;
    } shots[] = {
        {tpTop, true, "pager-top.png"},
        {tpBottom, true, "pager-bottom.png"},
        {tpLeft, true, "pager-left-rotated.png"},
        {tpLeft, false, "pager-left.png"},
        {tpRight, true, "pager-right-rotated.png"},
        {tpRight, false, "pager-right.png"},
        // Smoothed right tabs take the caption primitive's vertical text,
        // which Wine's GDI+ lays out horizontally; plain text is rotated.
        {tpRight, true, "pager-right-rotated-plain.png", aaNone},
    };
    TPaintTarget target(360, 260, clFuchsia);
    for (const auto& shot : shots) {
        Configure({shot.Side, shot.Rotated, shot.AntiAlias, true, false, false, -1});
        pager->SetActivePageIndex(1);
        target.Fill(clFuchsia);
        target.Paint(pager);
        EXPECT_NE(pager->GetTabRect(1), NoTabRect) << shot.File;
        TPNGObject png;
        png.AssignBitmapHandle(HBITMAP(GetCurrentObject(target.DC(), OBJ_BITMAP)), false, 0);
        png.SaveToFile(String(QM_SCREENSHOT_DIR) + "/" + shot.File);
    }
}
