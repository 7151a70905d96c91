// The grid the main window shows tables in: a wxGrid that can also set the sizes of all its
// rows or columns in one pass (one by one, the toolkit's cost grows with the square of their
// number). Sizes below the toolkit's minimal acceptable size are ignored, as it ignores them.
#pragma once

#include <utility>
#include <vector>

#include <wx/grid.h>

class TableGrid : public wxGrid {
public:
    using wxGrid::wxGrid;

    // Every row gets `common` height except those listed as (row, height).
    void SetRowHeights(int common, const std::vector<std::pair<int, int>>& others);
    // Column `col` gets `widths[col]`.
    void SetColumnWidths(const std::vector<int>& widths);

    // Drop the minimal widths and heights of the last table: the toolkit keeps them by
    // index even after its rows and columns are gone, and they would bind the next table.
    void ForgetMinimalSizes();
};
