#include "components/controls/panel_layout.h"

#include <algorithm>
#include <cctype>

namespace LumPanel {
QL_DEFINE_ENUM(TCaptionPosition, "cpTop", "cpLeft")
}  // namespace LumPanel
QL_DEFINE_ENUM(TCaptionButtonPosition, "cbpRight", "cbpLeft")
QL_DEFINE_ENUM(TBackGroundPosition, "bpTopLeft", "bpTopRight", "bpBottomLeft", "bpBottomRight", "bpTiled",
               "bpStretched", "bpCenter")
QL_DEFINE_ENUM(TTextVAlignment, "tvaTop", "tvaCenter", "tvaBottom")
QL_DEFINE_ENUM(TPanelPositionLocation, "clRegistry", "clInifile")
QL_DEFINE_ENUM(TGroupStyle, "gsVertical", "gsHorizontal")

using LumPanel::cpLeft;
using LumPanel::cpTop;
using LumPanel::TCaptionPosition;

int CaptionButtonSize(const TCaptionButtonSizeInput& input) {
    int w = 12;
    if (input.CloseGlyphWidth > 0) w = input.CloseGlyphWidth;
    if (input.MinMaxGlyphWidth > 0) w = input.MinMaxGlyphWidth;
    if (input.ThemedXPCaption) w = 16;
    return w;
}

TRect CaptionBandRect(const TRect& client, TCaptionPosition position, int captionHeight) {
    if (position == cpTop) return Rect(client.Left, client.Top, client.Right - 2, client.Top + captionHeight);
    return Rect(client.Left, client.Top, client.Left + captionHeight, client.Bottom);
}

TRect CaptionButtonRect(const TRect& a, int w, TCaptionButtonPosition buttons, TCaptionPosition position) {
    if (buttons == cbpRight) {
        if (position == cpTop) return Rect(a.Right - w - 2, a.Top + 2, a.Right - 2, a.Top + w + 2);
        return Rect(a.Left + 2, a.Top + 2, a.Left + w + 2, a.Top + w + 2);
    }
    if (position == cpTop) return Rect(a.Left + 2, a.Top + 2, a.Left + w + 2, a.Top + w + 2);
    return Rect(a.Left + 2, a.Bottom - w - 2, a.Left + w + 2, a.Bottom - 2);
}

TPoint ThemedCaptionButtonOrigin(const TRect& area, TCaptionButtonPosition buttons, TCaptionPosition position) {
    const bool left = buttons == cbpLeft;
    if (position == cpTop) return left ? Point(area.Left + 2, area.Top + 4) : Point(area.Right - 16, area.Top + 4);
    return left ? Point(area.Left + 4, area.Bottom - 16) : Point(area.Left + 4, area.Top + 2);
}

TRect AfterCaptionButton(const TRect& area, int w, TCaptionButtonPosition buttons, TCaptionPosition position) {
    TRect r = area;
    if (buttons == cbpRight) {
        if (position == cpTop)
            r.Right -= w;
        else
            r.Top += w;
    } else {
        if (position == cpTop)
            r.Left += w;
        else
            r.Bottom -= w;
    }
    return r;
}

TCaptionButtonRects CaptionButtonRects(const TRect& client, int size, TCaptionButtonPosition buttons,
                                       TCaptionPosition position, bool closeButton, bool minMaxButton) {
    TCaptionButtonRects result;
    TRect area = client;
    if (closeButton) {
        result.Close = CaptionButtonRect(area, size, buttons, position);
        area = AfterCaptionButton(area, size, buttons, position);
    }
    if (minMaxButton) result.MinMax = CaptionButtonRect(area, size, buttons, position);
    return result;
}

TRect CaptionDragRect(const TRect& client, TCaptionPosition position, int captionHeight, int buttonSize,
                      TCaptionButtonPosition buttons, int shownButtons) {
    TRect band = CaptionBandRect(client, position, captionHeight);
    for (int i = 0; i < shownButtons; ++i) band = AfterCaptionButton(band, buttonSize, buttons, position);
    return band;
}

int CollapseExtra(const TCollapseGeometry& g) { return g.BorderWidth != 0 && g.BorderShadow ? g.BorderWidth + 4 : 0; }

int CollapsedExtent(const TCollapseGeometry& g) {
    int extent = CollapseExtra(g) + g.CaptionHeight + g.StatusHeight;
    return g.Position == cpTop ? extent - 2 : extent;
}

int CollapseStep(const TCollapseGeometry& g, int currentExtent, int steps) {
    if (steps <= 0) return 0;
    if (g.Position == cpTop) return (currentExtent - g.CaptionHeight - g.StatusHeight - 2 * g.BorderWidth) / steps;
    return (currentExtent - g.CaptionHeight - g.StatusHeight) / steps;
}

int ExpandStep(const TCollapseGeometry& g, int fullExtent, int steps) {
    if (steps <= 0) return 0;
    return (fullExtent - g.CaptionHeight - g.StatusHeight) / steps;
}

TRect AutoSizeMeasureRect(const TAutoSizeInput& in, bool sizeWidth, bool sizeHeight) {
    int w = sizeWidth ? 65535 : in.Width - 2 * in.BevelWidth;
    int h = sizeHeight ? 65535 : in.Height - 2 * in.BevelWidth;
    return Rect(0, 0, w, h);
}

TSize AutoSizeExtent(const TAutoSizeInput& in, bool sizeWidth, bool sizeHeight, TSize text) {
    int extra = 2 * in.BorderWidth + (in.BorderShadow ? 2 : 0);
    text.cx += extra;
    text.cy += extra;
    const int e = 2 * in.BevelWidth;
    const int status = in.StatusVisible ? in.StatusHeight : 0;
    TSize size{in.Width, in.Height};
    if (sizeWidth) {
        if (in.Position == cpTop)
            size.cx = e + text.cx + in.Indent;
        else if (in.CaptionVisible)
            size.cx = in.CaptionHeight + text.cx + status + e + in.Indent;
        else
            size.cx = status + text.cx + e + in.Indent;
    }
    if (sizeHeight) {
        if (in.Position == cpLeft)
            size.cy = e + text.cy + in.TopIndent;
        else if (in.CaptionVisible)
            size.cy = in.CaptionHeight + text.cy + e + in.TopIndent +
                      (in.StatusVisible ? in.StatusHeight + 2 * in.BorderWidth : 0);
        else
            size.cy = status + text.cy + e + in.TopIndent;
    }
    return size;
}

TRect TopCaptionTextRect(const TRect& area, TCaptionButtonPosition buttons, int shownButtons, int captionHeight,
                         int indent, int topIndent) {
    TRect r = area;
    if (buttons == cbpLeft)
        r.Left += 20 * shownButtons;
    else
        r.Right -= 20 * shownButtons;
    r.Bottom = r.Top + captionHeight;
    r.Left += indent;
    r.Top += topIndent;
    return r;
}

TRect LeftCaptionTextRect(const TRect& area, TCaptionButtonPosition buttons, int shownButtons, int captionHeight,
                          int indent, int topIndent) {
    TRect r = area;
    if (buttons == cbpLeft)
        r.Bottom -= 20 * shownButtons;
    else
        r.Top += 20 * shownButtons;
    r.Right = r.Left + captionHeight;
    r.Bottom -= indent;
    r.Left += topIndent;
    return r;
}

namespace {

String Upper(const String& s) {
    String u = s;
    for (char& c : u) c = char(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

// Removes every piece from open to the next close (close included); an open
// without a close drops the rest.
String DropBetween(const String& s, const String& open, const String& close) {
    String out;
    std::size_t at = 0;
    for (;;) {
        std::size_t start = s.find(open, at);
        if (start == String::npos) break;
        out.append(s, at, start - at);
        std::size_t end = s.find(close, start + open.size());
        if (end == String::npos) return out;
        at = end + close.size();
    }
    out.append(s, at, String::npos);
    return out;
}

}  // namespace

String StripCaptionTags(const String& text) {
    // Line breaks first, in any case.
    String s;
    for (std::size_t i = 0; i < text.size();) {
        String four = Upper(text.substr(i, 4));
        if (four == "<BR>" || four == "<HR>") {
            s += "\r\n";
            i += 4;
        } else {
            s += text[i++];
        }
    }
    s = DropBetween(s, "<z>", "</z>");
    s = DropBetween(s, "<Z>", "</Z>");
    String out;
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] == '<') {
            std::size_t end = s.find('>', i);
            if (end == String::npos) {
                // A "<" that opens no tag is text ("Min < Max").
                out.append(s, i, String::npos);
                break;
            }
            i = end + 1;
        } else {
            out += s[i++];
        }
    }
    return out;
}

std::vector<int> GroupOrder(const std::vector<TGroupItem>& items, TGroupStyle style) {
    std::vector<int> order(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return style == gsVertical ? items[a].Top < items[b].Top : items[a].Left < items[b].Left;
    });
    return order;
}

namespace {

// What one row of the vertical arrangement takes: the tallest visible panel of
// the row starting at first, plus the padding below it; a row of hidden panels
// takes nothing.
int RowAdvance(const std::vector<TGroupItem>& ordered, std::size_t first, int columns, int padding) {
    int tallest = -1;
    for (std::size_t i = first; i < ordered.size() && i < first + std::size_t(columns); ++i)
        if (ordered[i].Visible) tallest = std::max(tallest, ordered[i].Height);
    return tallest < 0 ? 0 : tallest + padding;
}

}  // namespace

std::vector<TRect> ArrangeVertical(const std::vector<TGroupItem>& ordered, const TGroupGeometry& g) {
    const int columns = std::max(g.Columns, 1);
    const int scroll = g.ScrollVisible ? g.ScrollSize : 0;
    int y = g.VertPadding - (g.ScrollVisible ? g.ScrollPosition : 0) + g.CaptionHeight;
    const int available = g.Width - scroll;
    const int width = (g.Width - 2 * g.HorzPadding - scroll) / columns;
    std::vector<TRect> bounds;
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        const int n = int(i) + 1;
        const TGroupItem& item = ordered[i];
        int left = g.HorzPadding + ((available - g.HorzPadding) / columns) * ((n - 1) % columns);
        bounds.push_back(Bounds(left, y, width, item.Height));
        if (n % columns == 0 || i + 1 == ordered.size())
            y += RowAdvance(ordered, i - std::size_t((n - 1) % columns), columns, g.VertPadding);
    }
    return bounds;
}

std::vector<TRect> ArrangeHorizontal(const std::vector<TGroupItem>& ordered, const TGroupGeometry& g) {
    const int scroll = g.ScrollVisible ? g.ScrollSize : 0;
    int x = g.HorzPadding - (g.ScrollVisible ? g.ScrollPosition : 0);
    const int height = g.Height - 2 * g.VertPadding - scroll;
    std::vector<TRect> bounds;
    for (const TGroupItem& item : ordered) {
        bounds.push_back(Bounds(x, g.VertPadding, item.Width, height));
        if (item.Visible) x += item.Width + g.HorzPadding;
    }
    return bounds;
}

int GroupExtent(const std::vector<TGroupItem>& ordered, const TGroupGeometry& g, TGroupStyle style) {
    if (style == gsHorizontal) {
        int extent = g.HorzPadding;
        for (const TGroupItem& item : ordered)
            if (item.Visible) extent += item.Width + g.HorzPadding;
        return extent;
    }
    const int columns = std::max(g.Columns, 1);
    int extent = g.VertPadding;
    for (std::size_t first = 0; first < ordered.size(); first += std::size_t(columns))
        extent += RowAdvance(ordered, first, columns, g.VertPadding);
    return extent;
}
