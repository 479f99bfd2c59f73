#include "components/controls/combo_box_layout.h"

QL_DEFINE_ENUM(TLabelPosition, "lpLeftTop", "lpLeftCenter", "lpLeftBottom", "lpTopLeft", "lpBottomLeft",
               "lpLeftTopLeft", "lpLeftCenterLeft", "lpLeftBottomLeft", "lpTopCenter", "lpBottomCenter", "lpRightTop",
               "lpRightCenter", "lpRighBottom")

int ComboDropButtonState(bool enabled, bool mouseButtonDown, bool droppedDown, bool hot) {
    if (!enabled) return 4;
    if (mouseButtonDown && droppedDown) return 3;
    if (mouseButtonDown || !hot || droppedDown) return 1;
    return 2;
}

namespace {

// A span of size centred on one of length at start; a longer span reaches
// out equally on both sides (halves toward zero).
int Centred(int start, int length, int size) {
    return size < length ? start + (length - size) / 2 : start - (size - length) / 2;
}

}  // namespace

TPoint ComboLabelPlace(TLabelPosition position, const TRect& box, TSize label, int textWidth, int margin) {
    const int left = box.Left, top = box.Top, width = box.Width(), height = box.Height();
    const int above = top - label.cy - margin, below = top + height + margin, bottomAligned = top + height - label.cy;
    const int middle = Centred(top, height, label.cy);
    const int leftOfBox = left - textWidth - margin, right = left + width + margin;
    switch (position) {
    case lpLeftTop: return {leftOfBox, top};
    case lpLeftCenter: return {leftOfBox, middle};
    case lpLeftBottom: return {leftOfBox, bottomAligned};
    case lpTopLeft: return {left, above};
    case lpBottomLeft: return {left, below};
    case lpLeftTopLeft: return {left - margin, top};
    case lpLeftCenterLeft: return {left - margin, middle};
    case lpLeftBottomLeft: return {left - margin, bottomAligned};
    case lpTopCenter: return {Centred(left, width, label.cx), above};
    case lpBottomCenter: return {Centred(left, width, label.cx), below};
    case lpRightTop: return {right, top};
    case lpRightCenter: return {right, middle};
    case lpRighBottom: return {right, bottomAligned};
    }
    return {leftOfBox, top};
}
