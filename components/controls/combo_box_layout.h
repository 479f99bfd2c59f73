// The arithmetic of the combo box with its own border: the drop button's
// width range, the visual-style state of the drop button and where the
// attached label goes in each of its thirteen positions. Portable: the
// control (combo_box_win.h) measures and draws.
#pragma once

#include "classlib/core/typinfo.h"
#include "classlib/ui/geometry.h"

// Where the attached label sits beside the box. The last name is spelled
// as the stored layouts spell it.
enum TLabelPosition {
    lpLeftTop,
    lpLeftCenter,
    lpLeftBottom,
    lpTopLeft,
    lpBottomLeft,
    lpLeftTopLeft,
    lpLeftCenterLeft,
    lpLeftBottomLeft,
    lpTopCenter,
    lpBottomCenter,
    lpRightTop,
    lpRightCenter,
    lpRighBottom
};
QL_DECLARE_ENUM(TLabelPosition);

// The drop button is 14 to 32 pixels wide; other widths are refused.
inline constexpr int kComboButtonWidthMin = 14;
inline constexpr int kComboButtonWidthMax = 32;
constexpr bool IsComboButtonWidthAllowed(int width) {
    return width >= kComboButtonWidthMin && width <= kComboButtonWidthMax;
}

// The state of the visual style's drop-button part (part 1 of "combobox"):
// 4 disabled, 3 pressed (a mouse button down on the open list), 1 normal
// (a button down, not hot or the list open), 2 hot.
int ComboDropButtonState(bool enabled, bool mouseButtonDown, bool droppedDown, bool hot);

// The label's top-left corner for a box at box, a label of size label
// whose text is textWidth wide, margin pixels away.
TPoint ComboLabelPlace(TLabelPosition position, const TRect& box, TSize label, int textWidth, int margin);
