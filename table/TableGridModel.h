// The grid's view of a loaded table: cells are made from the file's bytes when the grid
// asks for them, so a table of millions of cells needs no string per cell.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <wx/grid.h>

#include "TableDecoder.h"

// Names of rows, kept as UTF-8 in one block: a table can have hundreds of thousands.
class RowNames {
public:
    // Returns the name's index. Text that is not valid UTF-8 is kept as the grid shows it.
    std::int32_t Add(std::string_view utf8);
    std::string_view operator[](std::int32_t index) const
    {
        const std::size_t begin = index == 0 ? 0 : m_ends[index - 1];
        return std::string_view(m_bytes).substr(begin, m_ends[index] - begin);
    }
    void Reserve(std::size_t names, std::size_t bytes)
    {
        m_ends.reserve(names);
        m_bytes.reserve(bytes);
    }

private:
    std::string m_bytes;
    std::vector<std::size_t> m_ends;
};

class TableGridModel : public wxGridTableBase {
public:
    // An empty table (no rows, no columns).
    TableGridModel() = default;
    // `table` points into bytes that must outlive the model.
    explicit TableGridModel(TableView table);

    const TableView& Table() const { return m_table; }

    int GetNumberRows() override { return m_rowCount; }
    int GetNumberCols() override { return m_columnCount; }
    wxString GetValue(int row, int col) override;
    void SetValue(int row, int col, const wxString& value) override;
    bool IsEmptyCell(int row, int col) override;
    void Clear() override;
    bool DeleteRows(size_t pos, size_t numRows) override;
    bool DeleteCols(size_t pos, size_t numCols) override;

    wxString GetRowLabelValue(int row) override;
    wxString GetColLabelValue(int col) override;
    void SetRowLabelValue(int row, const wxString& label) override;
    void SetColLabelValue(int col, const wxString& label) override;

    // Number format for _nRow and integer columns, float format for real columns, as
    // SetColFormatNumber/SetColFormatFloat(col, -1, -1) give them. The model hands them out
    // itself: the toolkit keeps column attributes in a list it searches linearly, which for a
    // table of many columns costs the square of their number.
    void SetColumnFormats(wxGrid& grid);
    wxGridCellAttr* GetAttr(int row, int col, wxGridCellAttr::wxAttrKind kind) override;

    // Row naming: `nameOfRow[r]` indexes `names`, or is negative where the row keeps its number.
    void SetRowNames(std::vector<std::int32_t> nameOfRow, RowNames names);
    bool IsRowNamed(int row) const { return !m_nameOfRow.empty() && m_nameOfRow[row] >= 0; }
    // A named row's label in UTF-8.
    std::string_view RowName(int row) const { return m_names[m_nameOfRow[row]]; }

    // Whether row's label equals `text` exactly, without making a string for numbered rows.
    class LabelMatcher {
    public:
        LabelMatcher(const TableGridModel& model, const wxString& text);
        bool operator()(int row) const;

    private:
        const TableGridModel& m_model;
        std::string m_utf8;
        long m_number = -1;  // the row number the text spells in canonical "%d" form, or -1
    };

    // The cell's text straight from the file, ignoring edits (used for sizing).
    wxString StoredCellText(int row, int col) const;
    bool HasEdits() const { return !m_edits.empty(); }

private:
    static std::uint64_t CellKey(int row, int col)
    {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32) | static_cast<std::uint32_t>(col);
    }

    TableView m_table;
    int m_rowCount = 0;
    int m_columnCount = 0;
    std::vector<wxString> m_columnLabels;
    std::vector<wxGridCellAttr*> m_columnFormats;  // shared, not owned; null for plain text
    wxGridCellAttrPtr m_numberFormat;
    wxGridCellAttrPtr m_floatFormat;
    std::unordered_map<std::uint64_t, wxString> m_edits;
    std::vector<std::int32_t> m_nameOfRow;
    RowNames m_names;
};

// Stored bytes as the grid shows them: UTF-8, with bytes that are not valid UTF-8 shown
// as U+FFFD rather than dropping the whole text.
wxString TextFromUtf8(const char* data, std::size_t size);
// A column name in the platform's locale encoding; where the locale cannot read it, as UTF-8,
// then as the Chinese Windows code page, and at worst with U+FFFD for each bad byte, so that
// a name never shows as empty.
wxString ColumnLabelFromBytes(std::string_view name);
