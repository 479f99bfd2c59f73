#include "components/controls/radio_group_layout.h"

#include <algorithm>

int ClampRadioColumns(int columns) { return std::clamp(columns, 1, 16); }

int ClampRadioItemIndex(int index, int count) { return std::clamp(index, -1, std::max(count, 0) - 1); }

TRadioGroupGrid RadioGroupGrid(int count, int columns, int width, int height, int fontHeight, bool hasCaption) {
    TRadioGroupGrid g;
    columns = ClampRadioColumns(columns);
    g.Rows = std::max((count + columns - 1) / columns, 1);
    g.ColumnWidth = (width - 10) / columns;
    const int avail = height - fontHeight - 5;
    g.RowHeight = avail / g.Rows;
    g.Top = (avail % g.Rows) / 2 + fontHeight + 1;
    if (!hasCaption) g.Top -= fontHeight / 2;
    return g;
}

TRect RadioGroupButtonRect(const TRadioGroupGrid& g, int index, bool rightToLeft, int clientWidth) {
    int x = (index / g.Rows) * g.ColumnWidth + 8;
    if (rightToLeft) x = clientWidth - x - g.ColumnWidth;
    const int y = (index % g.Rows) * g.RowHeight + g.Top;
    return Bounds(x, y, g.ColumnWidth, g.RowHeight);
}
