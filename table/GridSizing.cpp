// Fitting column widths and row heights to a table's contents without measuring every cell.
#include "GridSizing.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>

#include <wx/dcclient.h>

#include "CellText.h"
#include "TableGrid.h"
#include "TableGridModel.h"
#include "TextMetrics.h"

namespace {

// The margins the toolkit adds around cell texts and labels when it autosizes.
int ColumnMargin(const wxGrid& grid) { return grid.FromDIP(10); }
int RowMargin(const wxGrid& grid) { return grid.FromDIP(6); }

// The cells whose estimated width comes near the widest; only those are measured exactly.
// The estimate misses kerning, so near means within a few pixels of the widest estimate.
// At most the 64 widest estimates are kept (a heap of them), however many cells tie.
class WidestCandidates {
public:
    void Offer(double estimate, int row)
    {
        if (m_heap.size() == kMeasuredAtMost && estimate <= m_heap.front().estimate)
            return;
        if (m_heap.size() == kMeasuredAtMost) {
            std::pop_heap(m_heap.begin(), m_heap.end(), Wider);
            m_heap.pop_back();
        }
        m_heap.push_back({estimate, row});
        std::push_heap(m_heap.begin(), m_heap.end(), Wider);
    }

    // Rows to measure, the most promising first.
    std::vector<int> Rows() const
    {
        std::vector<Item> items = m_heap;
        std::sort(items.begin(), items.end(), Wider);
        std::vector<int> rows;
        if (items.empty())
            return rows;
        const double best = items.front().estimate;
        const double threshold = best - (2.0 + 0.05 * best);
        for (const Item& item : items) {
            if (item.estimate >= threshold)
                rows.push_back(item.row);
        }
        return rows;
    }

private:
    static constexpr std::size_t kMeasuredAtMost = 64;
    struct Item {
        double estimate;
        int row;
    };
    // Orders the heap so that its front is the narrowest kept estimate.
    static bool Wider(const Item& a, const Item& b) { return a.estimate > b.estimate; }

    std::vector<Item> m_heap;
};

// What one pass learns of a column's cells to find its widest text.
class ColumnWidth {
public:
    ColumnWidth(std::int32_t type, bool tabularDigits) : m_type(type), m_tabularDigits(tabularDigits) {}

    // Returns the cell's height in the cell font.
    int Add(TextMetrics& metrics, int row, const CellBytes& cell, int numberHeight)
    {
        if (m_type == ColumnTypeText)
            return AddText(metrics, row, cell.data, cell.size);
        if (!m_tabularDigits) {
            const std::string text = Text(cell);
            AddText(metrics, row, reinterpret_cast<const unsigned char*>(text.data()), text.size());
            return numberHeight;
        }
        if (IsNumberType(m_type)) {
            m_largest = std::max(m_largest, ByteReader::LoadU32(cell.data));
            return numberHeight;
        }
        // With digits of one advance, a real column's widest text is that of the largest
        // magnitude of either sign, unless a NaN or an infinity spells wider.
        const float value = LoadReal(cell.data);
        if (!std::isfinite(value))
            m_specialTexts.insert(RealText(value));
        else if (std::signbit(value))
            m_largestNegative = std::max(m_largestNegative, -value);
        else
            m_largestPositive = std::max(m_largestPositive, value);
        return numberHeight;
    }

    // The widest cell text in pixels; `textOfRow` gives a candidate's text as the grid shows it.
    template <typename TextOfRow>
    int Widest(TextMetrics& metrics, bool anyRows, const TextOfRow& textOfRow)
    {
        if (!anyRows)
            return 0;
        int widest = m_exactWidest;
        if (m_type == ColumnTypeText || !m_tabularDigits) {
            for (const int row : m_candidates.Rows())
                widest = std::max(widest, metrics.Measure(textOfRow(row)).x);
            return widest;
        }
        std::set<std::string> texts = m_specialTexts;
        if (IsNumberType(m_type))
            texts.insert(UnsignedText(m_largest));
        if (m_largestPositive >= 0)
            texts.insert(RealText(m_largestPositive));
        if (m_largestNegative >= 0)
            texts.insert(RealText(-m_largestNegative));
        for (const std::string& text : texts)
            widest = std::max(widest, metrics.Measure(wxString::FromAscii(text.c_str())).x);
        return widest;
    }

private:
    int AddText(TextMetrics& metrics, int row, const unsigned char* data, std::size_t size)
    {
        const TextEstimate estimate = EstimateText(metrics, data, size);
        if (!estimate.exactOnly) {
            m_candidates.Offer(estimate.width, row);
            return estimate.height;
        }
        const wxSize exact = metrics.Measure(TextFromUtf8(reinterpret_cast<const char*>(data), size));
        m_exactWidest = std::max(m_exactWidest, exact.x);
        return exact.y;
    }

    std::string Text(const CellBytes& cell) const
    {
        return IsNumberType(m_type) ? UnsignedText(ByteReader::LoadU32(cell.data)) : RealText(LoadReal(cell.data));
    }

    std::int32_t m_type;
    bool m_tabularDigits;
    WidestCandidates m_candidates;
    int m_exactWidest = 0;
    std::uint32_t m_largest = 0;
    float m_largestPositive = -1;
    float m_largestNegative = -1;
    std::set<std::string> m_specialTexts;
};

// Height of a row name in the label font.
int LabelHeight(TextMetrics& metrics, std::string_view name)
{
    const TextEstimate estimate = EstimateText(metrics, reinterpret_cast<const unsigned char*>(name.data()), name.size());
    return estimate.exactOnly ? metrics.Measure(TextFromUtf8(name.data(), name.size())).y : estimate.height;
}

}  // namespace

TableSizer::TableSizer(wxGrid& grid, TableGridModel& model) : m_grid(grid), m_model(model) {}

void TableSizer::MeasureCells()
{
    const TableView& table = m_model.Table();
    wxClientDC dc(m_grid.GetGridWindow());
    TextMetrics metrics(dc, m_grid.GetDefaultCellFont());
    const bool tabular = metrics.HasTabularDigits();
    const int numberHeight = metrics.Of('0').height;

    std::vector<ColumnWidth> columns;
    columns.emplace_back(ColumnTypeNumber, tabular);  // _nRow
    for (const ColumnDescriptor& column : table.Columns())
        columns.emplace_back(column.type, tabular);

    const int rowCount = static_cast<int>(table.RowCount());
    m_cellHeights.assign(rowCount, numberHeight);
    unsigned char id[4];
    for (int row = 0; row < rowCount; ++row) {
        int& height = m_cellHeights[row];
        const std::uint32_t rowId = table.RowId(row);
        for (int k = 0; k < 4; ++k)
            id[k] = static_cast<unsigned char>(rowId >> (8 * k));
        columns[0].Add(metrics, row, CellBytes{ColumnTypeNumber, id, 4}, numberHeight);
        table.VisitRow(row, [&](std::size_t column, const CellBytes& cell) {
            height = std::max(height, columns[column + 1].Add(metrics, row, cell, numberHeight));
        });
    }

    m_measured = true;
    m_cellWidths.clear();
    for (std::size_t col = 0; col < columns.size(); ++col) {
        m_cellWidths.push_back(columns[col].Widest(metrics, rowCount > 0, [&](int row) {
            return m_model.StoredCellText(row, static_cast<int>(col));
        }));
    }
}

void TableSizer::SizeColumns()
{
    if (!m_measured)
        MeasureCells();
    wxClientDC dc(m_grid.GetGridWindow());
    dc.SetFont(m_grid.GetLabelFont());
    const int margin = ColumnMargin(m_grid);
    std::vector<int> widths(m_grid.GetNumberCols());
    for (int col = 0; col < m_grid.GetNumberCols(); ++col) {
        const int labelWidth = dc.GetMultiLineTextExtent(m_model.GetColLabelValue(col)).x + margin;
        const int cellWidth = m_cellWidths[col];
        widths[col] = cellWidth == 0 ? labelWidth : std::max(cellWidth + margin, labelWidth);
        m_grid.SetColMinimalWidth(col, widths[col]);
    }
    if (auto* tableGrid = dynamic_cast<TableGrid*>(&m_grid)) {
        tableGrid->SetColumnWidths(widths);
        return;
    }
    for (int col = 0; col < m_grid.GetNumberCols(); ++col)
        m_grid.SetColSize(col, widths[col]);
}

void TableSizer::SizeRows()
{
    const int rowCount = m_grid.GetNumberRows();
    if (rowCount == 0)
        return;
    wxClientDC dc(m_grid.GetGridWindow());
    TextMetrics labels(dc, m_grid.GetLabelFont());
    const int numberLabelHeight = labels.Of('0').height;
    const int margin = RowMargin(m_grid);

    std::vector<int> heights(rowCount);
    std::map<int, int> frequency;
    for (int row = 0; row < rowCount; ++row) {
        const int labelHeight =
            m_model.IsRowNamed(row) ? LabelHeight(labels, m_model.RowName(row)) : numberLabelHeight;
        heights[row] = std::max(m_cellHeights[row], labelHeight) + margin;
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
    if (auto* tableGrid = dynamic_cast<TableGrid*>(&m_grid)) {
        tableGrid->SetRowHeights(common, others);
    } else {
        for (int row = 0; row < rowCount; ++row)
            m_grid.SetRowSize(row, heights[row]);
    }
    for (int row = 0; row < rowCount; ++row)
        m_grid.SetRowMinimalHeight(row, heights[row]);
}
