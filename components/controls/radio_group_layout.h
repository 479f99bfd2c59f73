// The arithmetic of the office radio group: the clamps of its columns and
// of its item index, and the place of each of its buttons. Portable: the
// group (office_radio_group_win.h) moves the windows.
#pragma once

#include "classlib/ui/geometry.h"

// 1 to 16 columns.
int ClampRadioColumns(int columns);
// -1 (none) to count - 1.
int ClampRadioItemIndex(int index, int count);

// What the group's size and font give its buttons.
struct TRadioGroupGrid {
    int Rows = 1;
    int ColumnWidth = 0;
    int RowHeight = 0;
    int Top = 0;  // of the first row
};

// count buttons in columns columns of a group width x height whose font is
// fontHeight high; without a caption the rows start half a line higher.
TRadioGroupGrid RadioGroupGrid(int count, int columns, int width, int height, int fontHeight, bool hasCaption);

// Button index's rectangle: the first column top to bottom, then the next;
// right to left the columns run from the right edge of clientWidth.
TRect RadioGroupButtonRect(const TRadioGroupGrid& grid, int index, bool rightToLeft, int clientWidth);
