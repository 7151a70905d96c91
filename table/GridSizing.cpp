// Fitting column widths and row heights to a table's contents without measuring every cell.
#include "GridSizing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <vector>

#include <wx/dcclient.h>

#include "CellText.h"
#include "TableGrid.h"
#include "TableGridModel.h"
#include "TextMetrics.h"

namespace {

// The margins the toolkit adds around cell texts and labels when it autosizes.
int ColumnMargin(const wxGrid& grid) { return grid.FromDIP(10); }
int RowMargin(const wxGrid& grid) { return grid.FromDIP(6); }

// The cells whose estimated width comes near the widest one; only those are measured
// exactly. The estimate misses kerning, so near means within a few pixels.
class WidestCandidates {
public:
    void Offer(double estimate, int row)
    {
        if (estimate < Threshold())
            return;
        m_items.push_back({estimate, row});
        m_best = std::max(m_best, estimate);
        if (m_items.size() > 4 * kMeasuredAtMost)
            Prune();
    }

    // Rows to measure, the most promising first.
    std::vector<int> Rows()
    {
        Prune();
        std::sort(m_items.begin(), m_items.end(),
                  [](const Item& a, const Item& b) { return a.estimate > b.estimate; });
        std::vector<int> rows;
        for (std::size_t i = 0; i < m_items.size() && i < kMeasuredAtMost; ++i)
            rows.push_back(m_items[i].row);
        return rows;
    }

private:
    static constexpr std::size_t kMeasuredAtMost = 64;
    struct Item {
        double estimate;
        int row;
    };

    double Threshold() const { return m_best - (2.0 + 0.05 * m_best); }
    void Prune()
    {
        const double threshold = Threshold();
        m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                                     [threshold](const Item& item) { return item.estimate < threshold; }),
                      m_items.end());
    }

    double m_best = 0;
    std::vector<Item> m_items;
};

int TypeOfGridColumn(const TableView& table, int col)
{
    return col == 0 ? ColumnTypeNumber : table.Columns()[col - 1].type;
}

std::uint32_t StoredNumber(const TableView& table, int row, int col)
{
    return col == 0 ? table.RowId(row) : ByteReader::LoadU32(table.Cell(row, col - 1).data);
}

// With digits of one advance, an integer column's widest text is that of its largest value.
int WidestNumberWidth(TextMetrics& metrics, const TableView& table, int col)
{
    std::uint32_t largest = 0;
    for (std::size_t row = 0; row < table.RowCount(); ++row)
        largest = std::max(largest, StoredNumber(table, static_cast<int>(row), col));
    return metrics.Measure(wxString::FromAscii(UnsignedText(largest).c_str())).x;
}

// Likewise a real column's widest text is that of the largest magnitude of either sign,
// unless a NaN or an infinity spells wider.
int WidestRealWidth(TextMetrics& metrics, const TableView& table, int col)
{
    std::set<std::string> texts;
    float largest = -1, largestNegative = -1;
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        const float value = LoadReal(table.Cell(row, col - 1).data);
        if (!std::isfinite(value)) {
            texts.insert(RealText(value));
            continue;
        }
        float& slot = std::signbit(value) ? largestNegative : largest;
        slot = std::max(slot, std::fabs(value));
    }
    if (largest >= 0)
        texts.insert(RealText(largest));
    if (largestNegative >= 0)
        texts.insert(RealText(-largestNegative));
    int widest = 0;
    for (const std::string& text : texts)
        widest = std::max(widest, metrics.Measure(wxString::FromAscii(text.c_str())).x);
    return widest;
}

// Any column: estimate every cell, then measure the candidates for widest exactly.
int WidestEstimatedWidth(TextMetrics& metrics, const TableGridModel& model, int col)
{
    const TableView& table = model.Table();
    const bool text = TypeOfGridColumn(table, col) == ColumnTypeText;
    WidestCandidates candidates;
    int widest = 0;
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
        const int row = static_cast<int>(r);
        TextEstimate estimate;
        if (text) {
            const CellBytes cell = table.Cell(r, col - 1);
            estimate = EstimateText(metrics, cell.data, cell.size);
        } else {
            const std::string number = col == 0 ? UnsignedText(table.RowId(r)) : table.CellText(r, col - 1);
            estimate = EstimateText(metrics, reinterpret_cast<const unsigned char*>(number.data()), number.size());
        }
        if (estimate.exactOnly)
            widest = std::max(widest, metrics.Measure(model.StoredCellText(row, col)).x);
        else
            candidates.Offer(estimate.width, row);
    }
    for (const int row : candidates.Rows())
        widest = std::max(widest, metrics.Measure(model.StoredCellText(row, col)).x);
    return widest;
}

int WidestCellWidth(TextMetrics& metrics, const TableGridModel& model, int col)
{
    const TableView& table = model.Table();
    if (table.RowCount() == 0)
        return 0;
    const int type = TypeOfGridColumn(table, col);
    if (metrics.HasTabularDigits() && IsNumberType(type))
        return WidestNumberWidth(metrics, table, col);
    if (metrics.HasTabularDigits() && IsRealType(type))
        return WidestRealWidth(metrics, table, col);
    return WidestEstimatedWidth(metrics, model, col);
}

// Height of a label or cell text held as a wxString.
int EstimatedHeight(TextMetrics& metrics, const wxString& text)
{
    const wxScopedCharBuffer utf8 = text.utf8_str();
    const TextEstimate estimate =
        EstimateText(metrics, reinterpret_cast<const unsigned char*>(utf8.data()), utf8.length());
    return estimate.exactOnly ? metrics.Measure(text).y : estimate.height;
}

}  // namespace

void SizeColumnsToContents(wxGrid& grid, TableGridModel& model)
{
    wxClientDC dc(grid.GetGridWindow());
    TextMetrics cells(dc, grid.GetDefaultCellFont());
    dc.SetFont(grid.GetLabelFont());
    const int margin = ColumnMargin(grid);
    for (int col = 0; col < grid.GetNumberCols(); ++col) {
        dc.SetFont(grid.GetLabelFont());
        const int labelWidth = dc.GetMultiLineTextExtent(model.GetColLabelValue(col)).x + margin;
        const int cellWidth = WidestCellWidth(cells, model, col);
        const int width = cellWidth == 0 ? labelWidth : std::max(cellWidth + margin, labelWidth);
        grid.SetColSize(col, width);
        grid.SetColMinimalWidth(col, width);
    }
}

void SizeRowsToContents(wxGrid& grid, TableGridModel& model)
{
    const TableView& table = model.Table();
    const int rowCount = grid.GetNumberRows();
    if (rowCount == 0)
        return;
    wxClientDC dc(grid.GetGridWindow());
    TextMetrics cells(dc, grid.GetDefaultCellFont());
    TextMetrics labels(dc, grid.GetLabelFont());

    // Numbers are one line in the cell font; every row has at least its _nRow number.
    std::vector<int> heights(rowCount, cells.Of('0').height);
    for (std::size_t column = 0; column < table.ColumnCount(); ++column) {
        if (table.Columns()[column].type != ColumnTypeText)
            continue;
        for (int row = 0; row < rowCount; ++row) {
            const CellBytes cell = table.Cell(row, column);
            const TextEstimate estimate = EstimateText(cells, cell.data, cell.size);
            const int height =
                estimate.exactOnly ? cells.Measure(model.StoredCellText(row, static_cast<int>(column) + 1)).y
                                   : estimate.height;
            heights[row] = std::max(heights[row], height);
        }
    }
    const int numberLabelHeight = labels.Of('0').height;
    const int margin = RowMargin(grid);
    std::map<int, int> frequency;
    for (int row = 0; row < rowCount; ++row) {
        const int labelHeight =
            model.IsRowNamed(row) ? EstimatedHeight(labels, model.GetRowLabelValue(row)) : numberLabelHeight;
        heights[row] = std::max(heights[row], labelHeight) + margin;
        ++frequency[heights[row]];
    }

    const int common = std::max_element(frequency.begin(), frequency.end(), [](const auto& a, const auto& b) {
                           return a.second < b.second;
                       })->first;
    std::vector<std::pair<int, int>> others;
    for (int row = 0; row < rowCount; ++row) {
        if (heights[row] != common)
            others.emplace_back(row, heights[row]);
    }
    if (auto* tableGrid = dynamic_cast<TableGrid*>(&grid)) {
        tableGrid->SetRowHeights(common, others);
    } else {
        for (int row = 0; row < rowCount; ++row)
            grid.SetRowSize(row, heights[row]);
    }
    for (int row = 0; row < rowCount; ++row)
        grid.SetRowMinimalHeight(row, heights[row]);
}
