#include "components/pager/pager_tab_layout.h"

#include <algorithm>

QL_DEFINE_ENUM(TTabPosition, "tpTop", "tpBottom", "tpLeft", "tpRight");
namespace LumPager {
QL_DEFINE_ENUM(TCloseOnTabPos, "cpRight", "cpLeft");
}  // namespace LumPager

using namespace LumPager;

// ---- Shapes and counts ----------------------------------------------------------

bool TPagerTabLayout::TabIsRectangular() const {
    return (FIn.Shape == tsRectangle && FIn.Rounding == 1) ||
           (Vertical() && !FIn.RotateTabLeftRight && FIn.Rounding == 1);
}

int TPagerTabLayout::TabLeftRampWidth() const {
    if (TabIsRectangular() || (Vertical() && !FIn.RotateTabLeftRight)) return 0;
    return FIn.Shape == tsLeftRamp || FIn.Shape == tsLeftRightRamp ? FIn.Rounding * 2 + 5 : 0;
}

int TPagerTabLayout::TabRightRampWidth() const {
    if (TabIsRectangular() || (Vertical() && !FIn.RotateTabLeftRight)) return 0;
    return FIn.Shape == tsRightRamp || FIn.Shape == tsLeftRightRamp ? FIn.Rounding * 2 + 5 : 0;
}

int TPagerTabLayout::VisibleTabCount() const {
    return int(
        std::count_if(FIn.Pages.begin(), FIn.Pages.end(), [](const TPagerLayoutPage& p) { return p.TabVisible; }));
}

bool TPagerTabLayout::IsTabVisible(int index) const {
    return index >= 0 && index < int(FIn.Pages.size()) && FIn.Pages[size_t(index)].TabVisible;
}

int TPagerTabLayout::VisibleTabsBefore(int index) const {
    int n = 0;
    for (int i = 0; i < index && i < int(FIn.Pages.size()); ++i)
        if (FIn.Pages[size_t(i)].TabVisible) ++n;
    return n;
}

// ---- Areas ----------------------------------------------------------------------

TRect TPagerTabLayout::TabAreaRect() const {
    TRect r = FIn.Client;
    switch (FIn.TabPosition) {
    case tpTop: r.Bottom = r.Top + FIn.Height; break;
    case tpBottom: r.Top = r.Bottom - FIn.Height; break;
    case tpLeft: r.Right = r.Left + FIn.Height; break;
    case tpRight: r.Left = r.Right - FIn.Height; break;
    }
    return r;
}

TRect TPagerTabLayout::PageRect() const {
    const TRect& c = FIn.Client;
    const int m = FIn.PageMargin, h = FIn.Height;
    switch (FIn.TabPosition) {
    case tpTop: return Rect(c.Left + m, c.Top + h, c.Right - m, c.Bottom - m - 1);
    case tpBottom: return Rect(c.Left + m, c.Top + m + 1, c.Right - m, c.Bottom - h);
    case tpLeft: return Rect(c.Left + h, c.Top + m + 1, c.Right - m, c.Bottom - m - 1);
    case tpRight: break;
    }
    return Rect(c.Left + m, c.Top + m + 1, c.Right - h, c.Bottom - m - 1);
}

bool TPagerTabLayout::ButtonAreaInUse() const {
    return FIn.Scroller.Visible || FIn.PageListButton || (FIn.CloseButton && !FIn.CloseOnTab);
}

TRect TPagerTabLayout::ButtonAreaRect() const {
    const TRect& c = FIn.Client;
    const int n = 2 + (FIn.FirstButton ? 1 : 0) + (FIn.LastButton ? 1 : 0);
    int reserve = 0;
    if (FIn.Scroller.Visible) reserve += 20 * n;
    if (FIn.PageListButton) reserve += 21;
    if (FIn.CloseButton && !FIn.CloseOnTab) reserve += 21;
    TRect r;
    if (!Vertical()) {
        if (FIn.TabPosition == tpTop) {
            r.Top = c.Top + 4;
            r.Bottom = r.Top + FIn.Height;
            r.Top = r.Bottom - 26;
        } else {
            r.Top = c.Bottom - FIn.Height - 4;
            r.Bottom = r.Top + 26;
        }
        r.Right = c.Right - FIn.EndMargin - FIn.PageMargin - 3;
        r.Left = r.Right - 3 - reserve;
    } else {
        r.Bottom = c.Bottom - FIn.EndMargin - FIn.PageMargin - 3;
        r.Top = r.Bottom - 3 - reserve;
        if (FIn.TabPosition == tpLeft) {
            r.Left = c.Left + 4;
            r.Right = r.Left + FIn.Height;
            r.Left = r.Right - 26;
        } else {
            r.Left = c.Right - FIn.Height - 4;
            r.Right = r.Left + 26;
        }
    }
    return r;
}

TRect TPagerTabLayout::TabsRect() const {
    const TRect& c = FIn.Client;
    const TRect area = ButtonAreaRect();
    switch (FIn.TabPosition) {
    case tpTop: return Rect(c.Left + FIn.StartMargin + FIn.PageMargin, c.Top + 4, area.Left, c.Top + 4 + FIn.Height);
    case tpBottom:
        return Rect(c.Left + FIn.StartMargin + FIn.PageMargin, c.Bottom - FIn.Height - 4, area.Left, c.Bottom - 4);
    case tpLeft: return Rect(c.Left + 4, c.Top + FIn.StartMargin + FIn.PageMargin, c.Left + 4 + FIn.Height, area.Top);
    case tpRight: break;
    }
    return Rect(c.Right - FIn.Height - 4, c.Top + FIn.StartMargin + FIn.PageMargin, c.Right - 4, area.Top);
}

// ---- Tabs -----------------------------------------------------------------------

TTextExtent TPagerTabLayout::Measure(int index) {
    const TPagerLayoutPage& page = FIn.Pages[size_t(index)];
    FMeasurer.SetFont(page.Font);
    return FMeasurer.TextExtent(page.Caption);
}

TSize TPagerTabLayout::TabTextSize(int index) {
    if (index < 0 || index >= int(FIn.Pages.size())) return {};
    TTextExtent e = Measure(index);
    if (FIn.AntiAlias == aaNone || FIn.AntiAlias == aaClearType)
        e.Width += int(FIn.Pages[size_t(index)].Caption.size()) / 3;
    return {e.Width, e.Height};
}

int TPagerTabLayout::TabLength(int index) {
    const TPagerLayoutPage& page = FIn.Pages[size_t(index)];
    const TTextExtent text = Measure(index);
    int length;
    if (!Vertical()) {
        length = TabLeftRampWidth() + FIn.LeftMargin + text.Width + FIn.RightMargin + TabRightRampWidth() + 3;
        if (FIn.ImagePosition == ipLeft || FIn.ImagePosition == ipRight)
            length += page.Picture.cx + (page.Picture.cx > 0 ? 2 : 0);
    } else {
        int w = FIn.LeftMargin + text.Width + 5 + FIn.RightMargin;
        int h = text.Height;
        if (FIn.ImagePosition == ipTop || FIn.ImagePosition == ipBottom) {
            h += page.Picture.cy + 2;
        } else {
            h = std::max(h, page.Picture.cy);
            w += page.Picture.cx + 2;
        }
        h += 12;
        if (!FIn.RotateTabLeftRight) return FIn.Width > 0 ? FIn.Width : h;
        length = w + TabLeftRampWidth() + TabRightRampWidth();
    }
    if (FIn.CloseButton && FIn.CloseOnTab && page.ShowClose) length += 22;
    if (FIn.Width >= 1)
        length = FIn.Width;
    else if (page.ShowCheckBox)
        length += 20;
    return length;
}

TRect TPagerTabLayout::AlongRow(const TRect& ref, int start, int length) const {
    if (Vertical()) return Rect(ref.Left, start, ref.Right, start + length);
    return Rect(start, ref.Top, start + length, ref.Bottom);
}

TRect TPagerTabLayout::LayoutTabs(int first, int target, bool scrolled) {
    const int count = int(FIn.Pages.size());
    if (target < 0 || target >= count) return NoTabRect;
    const TRect tabs = TabsRect();
    const int farEnd = (FIn.UseFullRow ? RowEnd(TabAreaRect()) : RowEnd(tabs)) - FIn.PageMargin;
    int skip = scrolled && FIn.Scroller.Visible ? FIn.Scroller.Position : 0;
    int pos = RowStart(tabs);
    for (int i = std::max(first, 0); i <= target; ++i) {
        if (!FIn.Pages[size_t(i)].TabVisible) continue;
        if (skip > 0) {
            --skip;
            continue;
        }
        const int length = TabLength(i);
        if (pos + length > farEnd) {
            if (!scrolled) return NoTabRect;
            // A tab longer than the row still shows when it is the first
            // one the scroller leaves in view (Position counts visible tabs).
            if (FIn.Scroller.Visible && i == target && FIn.Scroller.Position != VisibleTabsBefore(target))
                return NoTabRect;
        }
        if (i == target) return AlongRow(tabs, pos, length);
        pos += length + FIn.Spacing;
    }
    return NoTabRect;
}

int TPagerTabLayout::TabAtPoint(TPoint p) {
    for (int i = 0; i < int(FIn.Pages.size()); ++i) {
        const TRect r = TabRect(i);
        if (r != NoTabRect && r.Contains(p)) return i;
    }
    return -1;
}

// ---- Scrolling ------------------------------------------------------------------

int TPagerTabLayout::CountScrolledTabs(bool& fitFound) {
    fitFound = false;
    int last = -1;
    for (int i = int(FIn.Pages.size()) - 1; i >= 0; --i)
        if (FIn.Pages[size_t(i)].TabVisible) {
            last = i;
            break;
        }
    if (last < 0) return 0;
    for (int j = 0; j <= last; ++j) {
        if (LayoutTabs(j, last, false) != NoTabRect) {
            fitFound = true;
            return VisibleTabsBefore(j);
        }
        // From the second try on the buttons take their room.
        FIn.Scroller.Visible = true;
    }
    return 0;
}

void TPagerTabLayout::UpdateScroller() {
    TPagerScrollState& s = FIn.Scroller;
    FIn.UseFullRow = false;
    if (!FIn.ScrollButtonsAlways) s.Visible = false;
    s.SetMin(0);
    bool fit = false;
    s.SetMax(CountScrolledTabs(fit));
    if (s.Max == 0 && !fit) {
        FIn.UseFullRow = true;
        s.SetMax(CountScrolledTabs(fit));
        if (s.Max == 0) s.SetMax(std::max(VisibleTabCount() - 1, 0));
    } else if (fit) {
        s.Position = std::min(s.Position, s.Max);
        int nth = -1;
        for (int i = 0, seen = 0; i < int(FIn.Pages.size()); ++i) {
            if (!FIn.Pages[size_t(i)].TabVisible) continue;
            if (seen++ == s.Position) {
                nth = i;
                break;
            }
        }
        if (nth >= 0 && TabRect(nth) == NoTabRect && s.Position > 0) {
            FIn.UseFullRow = true;
            s.SetMax(CountScrolledTabs(fit));
            if (s.Max == 0) FIn.UseFullRow = false;
        }
    }
    s.Visible = s.Min < s.Max || FIn.ScrollButtonsAlways;
    s.Position = std::min(s.Position, s.Max);
}

// ---- Parts of a tab -------------------------------------------------------------

bool TPagerTabLayout::TabShowsCloseGlyph(int index) const {
    if (index < 0 || index >= int(FIn.Pages.size())) return false;
    return FIn.CloseOnTab && FIn.CloseButton && FIn.Pages[size_t(index)].ShowClose &&
           (FIn.ShowCloseOnNonSelectedTabs || index == FIn.ActivePageIndex);
}

TRect TPagerTabLayout::CheckBoxRect(int index) {
    const TRect tab = TabRect(index);
    if (tab == NoTabRect) return NoTabRect;
    const bool glyphLeft = FIn.CloseOnTabPosition == cpLeft && TabShowsCloseGlyph(index);
    const int cw = glyphLeft ? 18 : 0, ch = glyphLeft ? 18 : 0;
    switch (FIn.TabPosition) {
    case tpTop:
    case tpBottom: {
        const int top = tab.Top + (tab.Height() - 15) / 2;
        return Bounds(tab.Left + cw + 5, top, 15, 15);
    }
    case tpLeft: return Bounds(tab.Left + (tab.Width() - 15) / 2, tab.Bottom - ch - 20, 15, 15);
    case tpRight: break;
    }
    return Bounds(tab.Left + (tab.Width() - 15) / 2, tab.Top + 5 + ch, 15, 15);
}

bool TPagerTabLayout::PointOnTabCheckBox(int index, TPoint p) {
    if (index < 0 || index >= int(FIn.Pages.size()) || !FIn.Pages[size_t(index)].ShowCheckBox) return false;
    const TRect r = CheckBoxRect(index);
    return r != NoTabRect && r.Contains(p);
}

TTabPartRects TPagerTabLayout::TabPartRects(int index) {
    TTabPartRects parts;
    if (FIn.Height <= 0 || FIn.Width <= 0 || index < 0 || index >= int(FIn.Pages.size())) return parts;
    const TRect tab = TabRect(index);
    if (tab == NoTabRect) return parts;
    const TPagerLayoutPage& page = FIn.Pages[size_t(index)];
    const bool along = Rotated();
    const int closeLen = index == FIn.ActivePageIndex && FIn.CloseOnTab ? 22 : 0;
    const int pic = along ? page.Picture.cy : page.Picture.cx;
    const bool sidePicture = FIn.ImagePosition == ipLeft || FIn.ImagePosition == ipRight;
    const int picLen = sidePicture && pic > 0 ? pic + 2 : 0;
    const int textLen = TabTextSize(index).cx;
    // The parts run along the tab's text: down a rotated side tab, across
    // every other tab (side tabs that are not rotated read as top tabs).
    const auto part = [&](int from, int length) {
        return along ? Rect(tab.Left, from, tab.Right, from + length) : Rect(from, tab.Top, from + length, tab.Bottom);
    };
    int start = along ? tab.Top : tab.Left, end = along ? tab.Bottom : tab.Right;
    if (FIn.Shape != tsRectangle) end -= FIn.Rounding;
    const int content = closeLen + picLen + textLen;
    int pos = along && FIn.Alignment == LumPager::taRightJustify ? end - content
                                                                 : start + std::max(0, (end - start - content) / 2);
    pos = std::max(pos, start);
    if (closeLen && FIn.CloseOnTabPosition == cpLeft) {
        parts.Close = part(pos, 18);
        pos += 22;
    }
    if (picLen && FIn.ImagePosition == ipLeft) {
        parts.Picture = part(pos, pic);
        pos += picLen;
    }
    parts.Text = part(pos, textLen);
    pos += textLen;
    if (picLen && FIn.ImagePosition == ipRight) {
        parts.Picture = part(pos + 2, pic);
        pos += picLen;
    }
    if (closeLen && FIn.CloseOnTabPosition == cpRight) parts.Close = part(pos + 4, 18);
    return parts;
}

TRect TPagerTabLayout::TabCloseButtonRect(int index) {
    if (!TabShowsCloseGlyph(index)) return {};
    const TRect tab = TabRect(index);
    if (tab == NoTabRect) return {};
    const bool centredParts = FIn.Width > 0 && FIn.Alignment == LumPager::taCenter;
    const TRect part = centredParts ? TabPartRects(index).Close : TRect{};
    const bool left = FIn.CloseOnTabPosition == cpLeft;
    switch (FIn.TabPosition) {
    case tpTop:
    case tpBottom: {
        const int x = centredParts ? part.Left
                      : left       ? tab.Left + TabLeftRampWidth() + 4
                                   : tab.Right - TabRightRampWidth() - 22;
        const int top = FIn.TabPosition == tpTop ? tab.Bottom - 23 : tab.Top + 5;
        return Bounds(x, top, 18, 18);
    }
    case tpLeft:
        if (Rotated()) {
            const int y = centredParts ? part.Top
                          : left       ? tab.Bottom - TabLeftRampWidth() - 22
                                       : tab.Top + TabRightRampWidth() + 4;
            return Rect(tab.Right - 23, y, tab.Right - 5, y + 18);
        } else {
            const int x = centredParts ? part.Left : left ? tab.Left + 4 : tab.Right - 23;
            return Bounds(x, tab.Top + (tab.Height() - 18) / 2, 18, 18);
        }
    case tpRight: break;
    }
    if (Rotated()) {
        const int bottom = centredParts ? part.Bottom
                           : left       ? tab.Top + TabLeftRampWidth() + 22
                                        : tab.Bottom - TabRightRampWidth() - 4;
        return Rect(tab.Left + 5, bottom - 18, tab.Left + 23, bottom);
    }
    const int x = centredParts ? part.Left : left ? tab.Left + 5 : tab.Right - 21;
    return Bounds(x, tab.Top + (tab.Height() - 18) / 2, 18, 18);
}

// ---- What a tab shows ------------------------------------------------------------

namespace {

// A span along the text of a tab: u runs from the text's start, which is
// the bottom of a rotated left tab (its caption reads upward) and the
// left or top end of every other tab.
struct TAlong {
    TRect& R;
    bool Rotated, Upward;
    int Start() const { return Upward ? R.Bottom : Rotated ? R.Top : R.Left; }
    int Length() const { return Upward ? R.Bottom - R.Top : Rotated ? R.Bottom - R.Top : R.Right - R.Left; }
    void MoveStart(int n) { (Upward ? R.Bottom : Rotated ? R.Top : R.Left) += Upward ? -n : n; }
    void MoveEnd(int n) { (Upward ? R.Top : Rotated ? R.Bottom : R.Right) += Upward ? n : -n; }
};

// The picture of size pic placed at the content's start (ipLeft), end
// (ipRight), top or bottom as on a top tab; along and across a rotated
// tab's column the same way, turned with its caption. Takes its room from
// the content.
TRect PlacePicture(const TPagerLayoutInput& in, TSize pic, TRect& content, TAlong& along, const TTabPartRects& parts,
                   bool centredParts) {
    if (pic.cx <= 0 || pic.cy <= 0) return {};
    const bool rotated = along.Rotated;
    const int alongSize = rotated ? pic.cy : pic.cx, acrossSize = rotated ? pic.cx : pic.cy;
    // The cross extent: top to bottom on a horizontal tab; on a rotated
    // one from the caption's top (left for left tabs, right for right
    // tabs) to its foot.
    const int acrossFrom = rotated ? (along.Upward ? content.Left : content.Right) : content.Top;
    const int acrossTo = rotated ? (along.Upward ? content.Right : content.Left) : content.Bottom;
    const int acrossDir = acrossTo >= acrossFrom ? 1 : -1;
    const int acrossLength = (acrossTo - acrossFrom) * acrossDir;
    // u along from the text start, v across from the caption's top; the
    // picture's corner nearest the start and the top.
    int u = 0, v = (acrossLength - acrossSize) / 2;
    const int length = along.Length();
    switch (in.ImagePosition) {
    case ipLeft: break;
    case ipTop:
        u = (length - alongSize) / 2;
        v = in.StartMargin;
        break;
    case ipRight: u = length - alongSize - in.RightMargin; break;
    case ipBottom:
        u = (length - alongSize) / 2;
        v = acrossLength - in.StartMargin - acrossSize;
        break;
    }
    const int start = along.Start();
    if (centredParts && !parts.Picture.IsEmpty())
        u = rotated ? (along.Upward ? start - parts.Picture.Bottom : parts.Picture.Top - start)
                    : parts.Picture.Left - start;
    // Back to the tab's coordinates.
    int x, y;
    if (!rotated) {
        x = start + u;
        y = acrossFrom + v;
    } else {
        y = along.Upward ? start - u - alongSize : start + u;
        x = acrossDir > 0 ? acrossFrom + v : acrossFrom - v - acrossSize;
    }
    // What the picture takes from the content.
    switch (in.ImagePosition) {
    case ipLeft: along.MoveStart(alongSize + 2); break;
    case ipRight: along.MoveEnd(length - u + 2); break;
    case ipTop:
        if (!rotated)
            content.Top = y + pic.cy;
        else if (along.Upward)
            content.Left = x + pic.cx;
        else
            content.Right = x;
        break;
    case ipBottom:
        if (!rotated)
            content.Bottom = y;
        else if (along.Upward)
            content.Right = x;
        else
            content.Left = x + pic.cx;
        break;
    }
    return Bounds(x, y, pic.cx, pic.cy);
}

}  // namespace

TTabContentLayout TPagerTabLayout::TabContent(int index) {
    TTabContentLayout out;
    if (index < 0 || index >= int(FIn.Pages.size())) return out;
    const TRect r = TabRect(index);
    if (r == NoTabRect) return out;
    const TPagerLayoutPage& page = FIn.Pages[size_t(index)];
    const TTabPosition pos = FIn.TabPosition;
    const bool rotated = Rotated();
    const bool fixed = FIn.Width >= 1;
    const bool centredParts = fixed && FIn.Alignment == LumPager::taCenter;
    const TTabPartRects parts = centredParts ? TabPartRects(index) : TTabPartRects{};
    // The content starts LeftMargin in from the tab's start (after its
    // ramp); a close glyph and a check box take their room from it.
    TRect content = r;
    TAlong along{content, rotated, rotated && pos == tpLeft};
    along.MoveStart(TabLeftRampWidth() + FIn.LeftMargin);
    const bool shows = TabShowsCloseGlyph(index);
    if (FIn.CloseButton && FIn.CloseOnTab && page.ShowClose) {
        if (!shows && !FIn.ShowCloseOnNonSelectedTabs) along.MoveStart(11);
        if (shows && FIn.CloseOnTabPosition == cpLeft && !centredParts) along.MoveStart(22);
        if (shows && FIn.CloseOnTabPosition == cpRight && !centredParts) along.MoveEnd(22);
    }
    out.Close = TabCloseButtonRect(index);
    // The check box sits at the text's start, which on a rotated left tab
    // is its bottom end.
    if (page.ShowCheckBox) {
        out.CheckBox = CheckBoxRect(index);
        along.MoveStart(along.Upward ? 25 : 20);
    }
    out.Picture = PlacePicture(FIn, page.Picture, content, along, parts, centredParts);
    // Top and bottom tabs, side tabs that are not rotated and smoothed right
    // tabs of no fixed width go to the caption routine; other rotated tabs
    // draw plain rotated text.
    const bool captionRoutine = !rotated || (pos == tpRight && FIn.AntiAlias != aaNone && !fixed);
    if (!captionRoutine) {
        // Centred across the tab and, along it, in its part (fixed-width
        // centred), at the end (fixed-width right aligned), at the start
        // (fixed-width left aligned) or in the middle of what the content
        // leaves. -2700 reads upward, the glyphs' tops to the left of the
        // origin's column; -900 reads downward, their tops to the right.
        const TRect span = centredParts && !parts.Text.IsEmpty() ? parts.Text : content;
        int place = 0;  // 0 centred, -1 at the start, 1 at the end
        if (fixed && !centredParts) place = FIn.Alignment == LumPager::taRightJustify ? 1 : -1;
        const bool upward = pos == tpLeft;
        const TTextExtent size = Measure(index);
        int first;  // the text's first character along the column
        if (place < 0)
            first = upward ? span.Bottom : span.Top;
        else if (place > 0)
            first = upward ? span.Top + size.Width : span.Bottom - size.Width;
        else
            first = upward ? span.Top + (span.Height() + size.Width) / 2 : span.Top + (span.Height() - size.Width) / 2;
        const int x = upward ? r.Left + (r.Width() - size.Height) / 2 : r.Left + (r.Width() + size.Height) / 2;
        out.Text = span;
        out.TextSide = pos;
        out.RotatedText = true;
        out.TextEscapement = upward ? -2700 : -900;
        out.TextOrigin = Point(x, first);
        return out;
    }
    if (fixed && FIn.Alignment == LumPager::taRightJustify) {
        out.TextAlignment = LumPager::taRightJustify;
        along.MoveEnd(TabRightRampWidth());
    } else if (centredParts && !parts.Text.IsEmpty()) {
        if (rotated)
            content.Top = parts.Text.Top;
        else
            content.Left = parts.Text.Left;
    } else if (!fixed && (FIn.ImagePosition == ipTop || FIn.ImagePosition == ipBottom)) {
        out.TextAlignment = LumPager::taCenter;
    } else if (!fixed) {
        along.MoveEnd(-10);
    }
    out.Text = content;
    // Side tabs that are not rotated are drawn as top tabs.
    out.TextSide = rotated ? pos : pos == tpBottom ? tpBottom : tpTop;
    return out;
}

// ---- The pager's buttons --------------------------------------------------------

TRect TPagerTabLayout::ScrollButtonsRect() const {
    if (!FIn.Scroller.Visible) return {};
    const TRect a = ButtonAreaRect();
    const int n = 2 + (FIn.FirstButton ? 1 : 0) + (FIn.LastButton ? 1 : 0);
    const int length = 3 + 18 * n + 5;
    switch (FIn.TabPosition) {
    case tpTop: return Rect(a.Left, a.Bottom - 23, a.Left + length, a.Bottom - 5);
    case tpBottom: return Rect(a.Left, a.Top + 5, a.Left + length, a.Top + 23);
    case tpLeft: return Rect(a.Right - 23, a.Top, a.Right - 5, a.Top + length);
    case tpRight: break;
    }
    return Rect(a.Left + 5, a.Top, a.Left + 23, a.Top + length);
}

TRect TPagerTabLayout::FirstButtonRect() const {
    const TRect s = ScrollButtonsRect();
    return AlongRow(s, RowStart(s) + 3, 18);
}

TRect TPagerTabLayout::PrevButtonRect() const {
    const int gap = Vertical() ? 3 : 2;
    if (FIn.FirstButton) return AlongRow(ScrollButtonsRect(), RowEnd(FirstButtonRect()) + gap, 18);
    const TRect s = ScrollButtonsRect();
    return AlongRow(s, RowStart(s) + gap, 18);
}

TRect TPagerTabLayout::NextButtonRect() const {
    return AlongRow(ScrollButtonsRect(), RowEnd(PrevButtonRect()) + 2, 18);
}

TRect TPagerTabLayout::LastButtonRect() const {
    if (!FIn.LastButton) return NextButtonRect();
    return AlongRow(ScrollButtonsRect(), RowEnd(NextButtonRect()) + 2, 18);
}

namespace {

// A button at the start of the button area, on the row's cross line.
TRect AtAreaStart(TTabPosition position, const TRect& a) {
    switch (position) {
    case tpTop: return Rect(a.Left + 3, a.Bottom - 23, a.Left + 21, a.Bottom - 5);
    case tpBottom: return Rect(a.Left + 3, a.Top + 5, a.Left + 21, a.Top + 23);
    case tpLeft: return Rect(a.Right - 23, a.Top + 3, a.Right - 5, a.Top + 21);
    case tpRight: break;
    }
    return Rect(a.Left + 5, a.Top + 3, a.Left + 23, a.Top + 21);
}

}  // namespace

TRect TPagerTabLayout::PageListButtonRect() const {
    if (!FIn.PageListButton) return {};
    if (FIn.Scroller.Visible) return AlongRow(LastButtonRect(), RowEnd(LastButtonRect()) + 3, 18);
    return AtAreaStart(FIn.TabPosition, ButtonAreaRect());
}

TRect TPagerTabLayout::SharedCloseButtonRect() const {
    if (!FIn.CloseButton) return {};
    if (FIn.PageListButton) return AlongRow(PageListButtonRect(), RowEnd(PageListButtonRect()) + 2, 18);
    if (!FIn.Scroller.Visible) return AtAreaStart(FIn.TabPosition, ButtonAreaRect());
    return AlongRow(LastButtonRect(), RowEnd(LastButtonRect()) + 3, 18);
}
