// Bulk sizing of rows and columns for the table grid.
#include "TableGrid.h"

namespace {

// Where each row ends (or each column), adding up the sizes in display order.
template <typename IndexAt>
void AddUpEnds(const wxArrayInt& sizes, wxArrayInt& ends, int count, IndexAt indexAt)
{
    int end = 0;
    for (int pos = 0; pos < count; ++pos) {
        const int index = indexAt(pos);
        end += sizes[index];
        ends[index] = end;
    }
}

}  // namespace

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
    AddUpEnds(m_rowHeights, m_rowBottoms, m_numRows, [this](int pos) { return GetRowAt(pos); });
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
    AddUpEnds(m_colWidths, m_colRights, m_numCols, [this](int pos) { return GetColAt(pos); });
    InvalidateBestSize();
    CalcDimensions();
}

void TableGrid::ForgetMinimalSizes()
{
    m_colMinWidths.clear();
    m_rowMinHeights.clear();
}
