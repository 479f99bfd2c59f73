#include "components/controls/glow_button_geometry.h"

#include <algorithm>

TRect GlowUpperHalf(const TRect& face) {
    const int half = face.Height() / 2;
    return Rect(face.Left, face.Top, face.Right, face.Bottom - half);
}

TRect GlowLowerHalf(const TRect& face) {
    const int half = face.Height() / 2;
    return Rect(face.Left, face.Top + half - 1, face.Right, face.Bottom);
}

TGlowEllipse GlowUpperEllipse(const TRect& upper) {
    const int raise = upper.Height() / 2 - 2;
    return {Bounds(upper.Left, upper.Top - raise, upper.Width(), upper.Height()),
            Point(upper.Left + upper.Width() / 2, upper.Top)};
}

TGlowEllipse GlowLowerEllipse(const TRect& lower) {
    return {lower, Point(lower.Left + lower.Width() / 2, lower.Bottom)};
}

TRect GlowDropDownPart(const TRect& client, TDropDownPosition position) {
    if (position == dpRight) return Rect(client.Right - 12, client.Top, client.Right, client.Bottom);
    return Rect(client.Left, client.Bottom - 12, client.Right, client.Bottom);
}

TRect GlowMainPart(const TRect& client, TDropDownPosition position) {
    if (position == dpRight) return Rect(client.Left, client.Top, client.Right - 12, client.Bottom);
    return Rect(client.Left, client.Top, client.Right, client.Bottom - 12);
}

TRect GlowContentArea(const TRect& client, bool dropDown, TDropDownPosition position) {
    TRect r = client;
    if (dropDown) (position == dpRight ? r.Right : r.Bottom) -= 14 + 8;
    return r;
}

TGlowContentPlace GlowPlaceContent(TButtonLayout layout, const TRect& area, TSize picture, bool hasCaption) {
    TGlowContentPlace place;
    place.Text = area;
    const int centreX = area.Left + std::max(0, (area.Width() - picture.cx) / 2);
    const int centreY = area.Top + std::max(0, (area.Height() - picture.cy) / 2);
    if (!hasCaption) {
        place.Picture = Point(centreX, centreY);
        return place;
    }
    if (picture.cx <= 0 || picture.cy <= 0) return place;
    switch (layout) {
    case blGlyphLeft:
    case blGlyphLeftAdjusted:
        place.Picture = Point(area.Left + 2, centreY);
        place.Text.Left = area.Left + picture.cx + 2;
        break;
    case blGlyphRight:
    case blGlyphRightAdjusted:
        place.Picture = Point(std::max(area.Left + 2, area.Right - picture.cx - 2), centreY);
        place.Text.Right = area.Right - picture.cx - 2;
        break;
    case blGlyphTop:
    case blGlyphTopAdjusted:
        place.Picture = Point(centreX, area.Top + 2);
        place.Text.Top = area.Top + picture.cy + 2;
        break;
    case blGlyphBottom:
    case blGlyphBottomAdjusted:
        place.Picture = Point(centreX, std::max(area.Top + 2, area.Bottom - picture.cy - 2));
        place.Text.Bottom = area.Bottom - picture.cy - 2;
        break;
    }
    return place;
}

TGlowArrow GlowDropDownArrow(TDropDownDirection direction, TPoint c) {
    TGlowArrow arrow;
    // Three rows of 5, 3 and 1 pixels, the widest towards the button, each
    // with a highlight pixel after its end, and one past the tip.
    for (int row = 0; row < 3; ++row) {
        const int along = row - 1;  // -1, 0, 1 from the centre
        for (int across = -2 + row; across <= 2 - row; ++across)
            arrow.Ink.push_back(direction == ddDown ? Point(c.X + across, c.Y + along)
                                                    : Point(c.X + along, c.Y + across));
        const int after = 3 - row;
        arrow.Highlight.push_back(direction == ddDown ? Point(c.X + after, c.Y + along)
                                                      : Point(c.X + along, c.Y + after));
    }
    arrow.Highlight.push_back(direction == ddDown ? Point(c.X, c.Y + 2) : Point(c.X + 2, c.Y));
    return arrow;
}
