#include "components/controls/group_box_layout.h"

#include <algorithm>

namespace LumGroupBox {
QL_DEFINE_ENUM(TBorderStyle, "bsNone", "bsSingle", "bsDouble")
}  // namespace LumGroupBox
QL_DEFINE_ENUM(TCaptionPosition, "cpTopLeft", "cpTopRight", "cpTopCenter", "cpBottomLeft", "cpBottomRight",
               "cpBottomCenter")

namespace {
constexpr int kSideMargin = 8;
constexpr int kImageTextGap = 3;
}  // namespace

int GroupBoxBorderWidth(LumGroupBox::TBorderStyle style, bool ctl3D) {
    switch (style) {
    case LumGroupBox::bsNone: return 1;
    case LumGroupBox::bsSingle: return ctl3D ? 2 : 1;
    case LumGroupBox::bsDouble: return ctl3D ? 4 : 2;
    }
    return 1;
}

TRect GroupBoxCaptionRect(TCaptionPosition position, int width, int height, TSize text, TSize image) {
    const int gap = text.cx > 0 && image.cx > 0 ? kImageTextGap : 0;
    const int w = image.cx + gap + text.cx;
    const int a = std::max(text.cy, image.cy) + 2;
    TRect r;
    switch (position) {
    case cpTopLeft:
    case cpBottomLeft: r.Left = kSideMargin; break;
    case cpTopRight:
    case cpBottomRight: r.Left = width - kSideMargin - w; break;
    case cpTopCenter:
    case cpBottomCenter: r.Left = (width - w) / 2; break;
    }
    r.Right = r.Left + w;
    r.Top = IsTopCaption(position) ? 0 : height - a;
    r.Bottom = r.Top + a;
    return r;
}

int GroupBoxCaptionHeight(const TRect& caption, int borderWidth) { return std::max(caption.Height(), borderWidth); }

TRect GroupBoxChildArea(TRect r, TCaptionPosition position, int captionHeight, int borderWidth) {
    if (IsTopCaption(position)) {
        r.Top += captionHeight;
        r.Left += borderWidth;
        r.Right -= borderWidth;
        r.Bottom -= borderWidth;
    } else {
        r.Bottom -= captionHeight;
        r.Left += borderWidth;
        r.Top += borderWidth;
        r.Right -= borderWidth;
    }
    return Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
}

TRect GroupBoxBorderRect(TRect client, TCaptionPosition position, int captionHeight, bool hasCaption,
                         LumGroupBox::TBorderStyle style) {
    if (IsTopCaption(position))
        client.Top += captionHeight / 2;
    else if (hasCaption)
        client.Bottom -= style == LumGroupBox::bsDouble ? captionHeight / 2 - 1 : captionHeight / 2;
    return client;
}
