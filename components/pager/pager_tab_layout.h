// Where the office pager puts its page area, its tab row, its tabs, the
// parts inside a tab and its own buttons; how long each tab is, how the row
// scrolls when the tabs do not fit, and which tab a point is on. Portable:
// the pager (lum_office_pager_win.h) fills a TPagerLayoutInput from its
// properties and pages, and captions are measured through the text-measurer
// seam, so a test knows every width:
//
//   TFixedPitchMeasurer measurer;         // 7 px a character, 16 high
//   TPagerLayoutInput in;                 // the pager's defaults
//   in.Client = Rect(0, 0, 471, 238);
//   TPagerTabLayout layout(in, measurer);
//   layout.PageRect();                    // 1, 26, 470, 236
//
// A tab rectangle of -1, -1, -1, -1 (NoTabRect) means the tab is not shown
// in the current layout: hidden, scrolled out or not fitting.
#pragma once

#include <vector>

#include "classlib/core/textmeasure.h"
#include "classlib/core/typinfo.h"
#include "classlib/ui/geometry.h"
#include "components/foundation/gdiplus_types.h"

// The edge of the pager that carries the tab row.
enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
QL_DECLARE_ENUM(TTabPosition);

namespace LumPager {
// Which end of a tab carries its close glyph.
enum TCloseOnTabPos { cpRight, cpLeft };
QL_DECLARE_ENUM(TCloseOnTabPos);
// The layout's view of the tab settings' shape, picture place and caption
// alignment, in the settings' own order.
enum TTabShape { tsRectangle, tsLeftRamp, tsRightRamp, tsLeftRightRamp };
enum TPicturePlace { ipLeft, ipTop, ipRight, ipBottom };
enum TTabAlignment { taLeftJustify, taRightJustify, taCenter };
}  // namespace LumPager

constexpr TRect NoTabRect{-1, -1, -1, -1};

// What the layout reads of one page.
struct TPagerLayoutPage {
    String Caption;  // Caption, or WideCaption when Caption is empty
    TMeasureFont Font;
    bool TabVisible = true;
    bool TabEnabled = true;
    bool Enabled = true;
    TSize Picture;  // the picture the tab shows (picture, disabled picture or image list)
    bool ShowClose = true;
    bool ShowCheckBox = false;
};

// The scroll state of the tab row: Position visible tabs are scrolled out at
// the start of the row. Max is only stored at or above Min, Min only at or
// below Max.
struct TPagerScrollState {
    int Min = 0;
    int Max = 0;
    int Position = 0;
    bool Visible = false;

    bool CanGoBack() const { return Min < Position; }
    bool CanGoForward() const { return Position < Max; }
    void SetMax(int v) {
        if (v >= Min) Max = v;
    }
    void SetMin(int v) {
        if (Max >= v) Min = v;
    }
};

struct TPagerLayoutInput {
    TRect Client;
    TTabPosition TabPosition = tpTop;
    // Tab settings.
    int LeftMargin = 4;
    int RightMargin = 4;
    int StartMargin = 4;
    int Height = 26;
    int Spacing = 4;
    int Width = 0;
    int EndMargin = 0;
    bool WordWrap = false;
    LumPager::TPicturePlace ImagePosition = LumPager::ipLeft;
    LumPager::TTabShape Shape = LumPager::tsRectangle;
    int Rounding = 1;
    LumPager::TTabAlignment Alignment = LumPager::taLeftJustify;
    // The pager.
    int PageMargin = 1;
    bool RotateTabLeftRight = true;
    bool CloseOnTab = false;
    LumPager::TCloseOnTabPos CloseOnTabPosition = LumPager::cpRight;
    bool ShowCloseOnNonSelectedTabs = false;
    TAntiAlias AntiAlias = aaClearType;
    int ActivePageIndex = -1;
    // Button settings.
    bool CloseButton = false;
    bool PageListButton = false;
    bool FirstButton = false;
    bool LastButton = false;
    bool ScrollButtonsAlways = false;

    std::vector<TPagerLayoutPage> Pages;
    TPagerScrollState Scroller;
    bool UseFullRow = false;
};

// Where the content of a fixed-width centred tab goes (empty rectangles for
// parts the tab does not show).
struct TTabPartRects {
    TRect Close;
    TRect Picture;
    TRect Text;
};

// Where everything inside one tab goes, as the painter draws it: the
// check box, the close glyph, the picture and the caption (empty rectangles
// for parts the tab does not show).
struct TTabContentLayout {
    TRect CheckBox;
    TRect Close;
    // The picture's place, of the picture's size.
    TRect Picture;
    // The caption: drawn by the caption routine in Text, aligned by
    // TextAlignment as a caption of a tab on TextSide; or, with RotatedText,
    // as plain text in a font of escapement TextEscapement from TextOrigin,
    // centred across the tab and placed along it in Text.
    TRect Text;
    LumPager::TTabAlignment TextAlignment = LumPager::taLeftJustify;
    TTabPosition TextSide = tpTop;
    bool RotatedText = false;
    int TextEscapement = 0;
    TPoint TextOrigin;
};

class TPagerTabLayout {
public:
    // Keeps references to both; the measurer is asked for the captions.
    TPagerTabLayout(TPagerLayoutInput& input, ITextMeasurer& measurer) : FIn(input), FMeasurer(measurer) {}

    bool Vertical() const { return FIn.TabPosition == tpLeft || FIn.TabPosition == tpRight; }
    // Left and right tabs that are not rotated are laid out as a stack of
    // horizontal tabs.
    bool Rotated() const { return Vertical() && FIn.RotateTabLeftRight; }
    bool TabIsRectangular() const;
    int TabLeftRampWidth() const;
    int TabRightRampWidth() const;
    int VisibleTabCount() const;
    bool IsTabVisible(int index) const;

    TRect TabAreaRect() const;
    TRect PageRect() const;
    TRect ButtonAreaRect() const;
    TRect TabsRect() const;
    // True when the button area holds any button (scroller shown, a
    // page-list button or a shared close button).
    bool ButtonAreaInUse() const;

    // The tab's length along the row.
    int TabLength(int index);
    // Lays out the visible pages from first up to target and gives target's
    // rectangle, NoTabRect when it is not placed.
    TRect LayoutTabs(int first, int target, bool scrolled);
    // The current, scrolled layout.
    TRect TabRect(int index) { return LayoutTabs(0, index, true); }
    int TabAtPoint(TPoint p);
    // Counts how far the row must scroll for the last visible tab to fit,
    // and sets the scroller's range, visibility and UseFullRow.
    void UpdateScroller();

    // The 15 x 15 check box of a tab.
    TRect CheckBoxRect(int index);
    bool PointOnTabCheckBox(int index, TPoint p);
    // True when the tab shows a close glyph of its own.
    bool TabShowsCloseGlyph(int index) const;
    // The 18 x 18 close glyph of a tab (CloseOnTab), an empty rectangle when
    // the tab shows none.
    TRect TabCloseButtonRect(int index);
    TTabPartRects TabPartRects(int index);
    // Everything inside the tab; all empty when the tab is not shown.
    TTabContentLayout TabContent(int index);
    TSize TabTextSize(int index);

    // The pager's own 18 x 18 buttons at the far end of the row.
    TRect ScrollButtonsRect() const;
    TRect FirstButtonRect() const;
    TRect PrevButtonRect() const;
    TRect NextButtonRect() const;
    TRect LastButtonRect() const;
    TRect PageListButtonRect() const;
    TRect SharedCloseButtonRect() const;

private:
    TTextExtent Measure(int index);
    int CountScrolledTabs(bool& fitFound);
    int VisibleTabsBefore(int index) const;
    // A rectangle along the row (start .. start + length) at the cross
    // position of ref; for left and right tabs "along" is downward.
    TRect AlongRow(const TRect& ref, int start, int length) const;
    int RowStart(const TRect& r) const { return Vertical() ? r.Top : r.Left; }
    int RowEnd(const TRect& r) const { return Vertical() ? r.Bottom : r.Right; }

    TPagerLayoutInput& FIn;
    ITextMeasurer& FMeasurer;
};
