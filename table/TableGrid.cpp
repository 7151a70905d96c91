// Bulk row sizing for the table grid.
#include "TableGrid.h"

void TableGrid::SetRowHeights(int common, const std::vector<std::pair<int, int>>& others)
{
    SetDefaultRowSize(common, true);
    if (others.empty())
        return;
    InitRowHeights();
    for (const auto& [row, height] : others) {
        if (height >= GetRowMinimalAcceptableHeight())
            m_rowHeights[row] = height;
    }
    int bottom = 0;
    for (int pos = 0; pos < m_numRows; ++pos) {
        const int row = GetRowAt(pos);
        bottom += m_rowHeights[row];
        m_rowBottoms[row] = bottom;
    }
    InvalidateBestSize();
    CalcDimensions();
}

void TableGrid::SetColumnWidths(const std::vector<int>& widths)
{
    InitColWidths();
    for (int col = 0; col < m_numCols && col < static_cast<int>(widths.size()); ++col) {
        if (widths[col] >= GetColMinimalAcceptableWidth())
            m_colWidths[col] = widths[col];
    }
    int right = 0;
    for (int pos = 0; pos < m_numCols; ++pos) {
        const int col = GetColAt(pos);
        right += m_colWidths[col];
        m_colRights[col] = right;
    }
    InvalidateBestSize();
    CalcDimensions();
}

void TableGrid::ForgetMinimalSizes()
{
    m_colMinWidths.clear();
    m_rowMinHeights.clear();
}
