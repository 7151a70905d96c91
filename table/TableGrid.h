// The grid the main window shows tables in: a wxGrid that can also set the heights of
// all its rows in one pass (row by row, the toolkit's cost grows with the square of the rows).
#pragma once

#include <utility>
#include <vector>

#include <wx/grid.h>

class TableGrid : public wxGrid {
public:
    using wxGrid::wxGrid;

    // Every row gets `common` height except those listed as (row, height).
    void SetRowHeights(int common, const std::vector<std::pair<int, int>>& others);

    // Drop the minimal widths and heights of the last table: the toolkit keeps them by
    // index even after its rows and columns are gone, and they would bind the next table.
    void ForgetMinimalSizes();
};
