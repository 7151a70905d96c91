// Column widths and row heights fitted to a loaded table's contents. The results equal
// what the toolkit's own autosizing (with the sizes kept as minimums) gives, but come from
// one pass over the file's bytes: character advances are measured once per character, and
// only each column's widest candidates are measured as whole texts.
#pragma once

#include <vector>

#include <wx/grid.h>

class TableGridModel;

class TableSizer {
public:
    TableSizer(wxGrid& grid, TableGridModel& model);

    // Measures every cell's text (for columns and rows); needs no row names.
    void MeasureCells();
    // Sets each column's width and minimum (measuring the cells first if that was not done).
    void SizeColumns();
    // Sets each row's height and minimum, from the cells and the row labels.
    void SizeRows();

private:
    bool m_measured = false;

    wxGrid& m_grid;
    TableGridModel& m_model;
    std::vector<int> m_cellWidths;   // widest cell text per grid column
    std::vector<int> m_cellHeights;  // tallest cell text per row
};
