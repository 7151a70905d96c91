// Bulk row sizing for the table grid.
#include "TableGrid.h"

void TableGrid::SetRowHeights(int common, const std::vector<std::pair<int, int>>& others)
{
    SetDefaultRowSize(common, true);
    if (others.empty())
        return;
    InitRowHeights();
    for (const auto& [row, height] : others)
        m_rowHeights[row] = height;
    int bottom = 0;
    for (int pos = 0; pos < m_numRows; ++pos) {
        const int row = GetRowAt(pos);
        bottom += m_rowHeights[row];
        m_rowBottoms[row] = bottom;
    }
    InvalidateBestSize();
    CalcDimensions();
}

void TableGrid::ForgetMinimalSizes()
{
    m_colMinWidths.clear();
    m_rowMinHeights.clear();
}
