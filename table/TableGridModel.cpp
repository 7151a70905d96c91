// Cell texts, labels and edits of a loaded table, served to the grid on demand.
#include "TableGridModel.h"

#include <charconv>

#include <wx/strconv.h>

#include "CellText.h"
#include "Utf8.h"

namespace {

// Decode UTF-8, replacing each byte that does not start a valid sequence with U+FFFD.
wxString DecodeUtf8Leniently(const unsigned char* p, std::size_t size)
{
    wxString out;
    out.reserve(size);
    for (std::size_t i = 0; i < size;)
        out += wxUniChar(static_cast<unsigned>(NextCodePoint(p, size, i)));
    return out;
}

wxString NumberText(long value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return wxString::FromAscii(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

}  // namespace

std::int32_t RowNames::Add(std::string_view utf8)
{
    if (IsValidUtf8(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size()))
        m_bytes.append(utf8);
    else
        m_bytes.append(TextFromUtf8(utf8.data(), utf8.size()).utf8_string());
    m_ends.push_back(m_bytes.size());
    return static_cast<std::int32_t>(m_ends.size() - 1);
}

wxString TextFromUtf8(const char* data, std::size_t size)
{
    if (size == 0)
        return wxString();
    wxString text = wxString::FromUTF8(data, size);
    if (!text.empty())
        return text;
    return DecodeUtf8Leniently(reinterpret_cast<const unsigned char*>(data), size);
}

wxString ColumnLabelFromBytes(std::string_view name)
{
    if (name.empty())
        return wxString();
    const wxString label(name.data(), wxConvLibc, name.size());
    if (!label.empty())
        return label;
    const auto* bytes = reinterpret_cast<const unsigned char*>(name.data());
    if (IsValidUtf8(bytes, name.size()))
        return wxString::FromUTF8(name.data(), name.size());
    // Tables made on Chinese Windows carry their names in its code page.
    static const wxCSConv chineseWindows("GB18030");
    const wxString chinese(name.data(), chineseWindows, name.size());
    if (!chinese.empty())
        return chinese;
    return TextFromUtf8(name.data(), name.size());
}

TableGridModel::TableGridModel(TableView table)
    : m_table(std::move(table)),
      m_rowCount(static_cast<int>(m_table.RowCount())),
      m_columnCount(static_cast<int>(m_table.ColumnCount() + 1))
{
    SetAttrProvider(new wxGridCellAttrProvider);
    m_columnLabels.reserve(m_columnCount);
    m_columnLabels.push_back(wxS("_nRow"));
    for (const ColumnDescriptor& column : m_table.Columns())
        m_columnLabels.push_back(ColumnLabelFromBytes(ColumnName(column)));
}

namespace {

wxGridCellAttr* FormatAttr(wxGrid& grid, const wxString& typeName)
{
    auto* attr = new wxGridCellAttr;
    attr->SetRenderer(grid.GetDefaultRendererForType(typeName));
    attr->SetEditor(grid.GetDefaultEditorForType(typeName));
    attr->SetKind(wxGridCellAttr::Col);
    return attr;
}

}  // namespace

void TableGridModel::SetColumnFormats(wxGrid& grid)
{
    m_numberFormat = wxGridCellAttrPtr(FormatAttr(grid, wxGRID_VALUE_NUMBER));
    m_floatFormat = wxGridCellAttrPtr(FormatAttr(grid, wxString::Format("%s:%d,%d", wxGRID_VALUE_FLOAT, -1, -1)));
    m_columnFormats.assign(m_columnCount, nullptr);
    if (m_columnCount > 0)
        m_columnFormats[0] = m_numberFormat.get();
    for (std::size_t k = 0; k < m_table.ColumnCount() && k + 1 < m_columnFormats.size(); ++k) {
        const std::int32_t type = m_table.Columns()[k].type;
        if (IsNumberType(type))
            m_columnFormats[k + 1] = m_numberFormat.get();
        else if (IsRealType(type))
            m_columnFormats[k + 1] = m_floatFormat.get();
    }
}

wxGridCellAttr* TableGridModel::GetAttr(int row, int col, wxGridCellAttr::wxAttrKind kind)
{
    // Attributes set through the grid come first; there are none unless someone sets them.
    if (wxGridCellAttr* attr = wxGridTableBase::GetAttr(row, col, kind))
        return attr;
    if (kind != wxGridCellAttr::Any && kind != wxGridCellAttr::Col)
        return nullptr;
    if (col < 0 || col >= static_cast<int>(m_columnFormats.size()) || !m_columnFormats[col])
        return nullptr;
    m_columnFormats[col]->IncRef();
    return m_columnFormats[col];
}

wxString TableGridModel::StoredCellText(int row, int col) const
{
    if (col == 0) {
        char buffer[kMaxNumberTextSize];
        return wxString::FromAscii(buffer, FormatUnsigned(m_table.RowId(row), buffer));
    }
    const CellBytes cell = m_table.Cell(row, col - 1);
    if (cell.type == ColumnTypeText)
        return TextFromUtf8(reinterpret_cast<const char*>(cell.data), cell.size);
    char buffer[kMaxRealTextSize];
    const std::size_t length = IsNumberType(cell.type) ? FormatUnsigned(ByteReader::LoadU32(cell.data), buffer)
                                                       : FormatReal(LoadReal(cell.data), buffer);
    return wxString::FromAscii(buffer, length);
}

wxString TableGridModel::GetValue(int row, int col)
{
    if (!m_edits.empty()) {
        const auto edit = m_edits.find(CellKey(row, col));
        if (edit != m_edits.end())
            return edit->second;
    }
    return StoredCellText(row, col);
}

void TableGridModel::SetValue(int row, int col, const wxString& value)
{
    m_edits[CellKey(row, col)] = value;
}

bool TableGridModel::IsEmptyCell(int row, int col)
{
    if (!m_edits.empty()) {
        const auto edit = m_edits.find(CellKey(row, col));
        if (edit != m_edits.end())
            return edit->second.empty();
    }
    if (col == 0)
        return false;
    const CellBytes cell = m_table.Cell(row, col - 1);
    return cell.type == ColumnTypeText && cell.size == 0;
}

void TableGridModel::Clear()
{
    m_edits.clear();
}

// Only the loader deletes rows and columns, and always all of them.
bool TableGridModel::DeleteRows(size_t pos, size_t numRows)
{
    if (pos > static_cast<size_t>(m_rowCount) || numRows > m_rowCount - pos)
        return false;
    if (pos + numRows != static_cast<size_t>(m_rowCount))
        return false;
    m_rowCount = static_cast<int>(pos);
    m_edits.clear();
    if (m_nameOfRow.size() > pos)
        m_nameOfRow.resize(pos);
    if (GetView()) {
        wxGridTableMessage message(this, wxGRIDTABLE_NOTIFY_ROWS_DELETED, static_cast<int>(pos), static_cast<int>(numRows));
        GetView()->ProcessTableMessage(message);
    }
    return true;
}

bool TableGridModel::DeleteCols(size_t pos, size_t numCols)
{
    if (pos > static_cast<size_t>(m_columnCount) || numCols > m_columnCount - pos)
        return false;
    if (pos + numCols != static_cast<size_t>(m_columnCount))
        return false;
    m_columnCount = static_cast<int>(pos);
    m_columnLabels.resize(pos);
    if (m_columnFormats.size() > pos)
        m_columnFormats.resize(pos);
    m_edits.clear();
    if (GetView()) {
        wxGridTableMessage message(this, wxGRIDTABLE_NOTIFY_COLS_DELETED, static_cast<int>(pos), static_cast<int>(numCols));
        GetView()->ProcessTableMessage(message);
    }
    return true;
}

wxString TableGridModel::GetRowLabelValue(int row)
{
    if (IsRowNamed(row)) {
        const std::string_view name = RowName(row);
        return TextFromUtf8(name.data(), name.size());
    }
    return NumberText(static_cast<long>(row) + 1);
}

wxString TableGridModel::GetColLabelValue(int col)
{
    return m_columnLabels[col];
}

void TableGridModel::SetRowLabelValue(int row, const wxString& label)
{
    if (m_nameOfRow.empty())
        m_nameOfRow.assign(m_rowCount, -1);
    m_nameOfRow[row] = m_names.Add(label.utf8_string());
}

void TableGridModel::SetColLabelValue(int col, const wxString& label)
{
    m_columnLabels[col] = label;
}

void TableGridModel::SetRowNames(std::vector<std::int32_t> nameOfRow, RowNames names)
{
    m_nameOfRow = std::move(nameOfRow);
    m_names = std::move(names);
}

TableGridModel::LabelMatcher::LabelMatcher(const TableGridModel& model, const wxString& text)
    : m_model(model), m_utf8(text.utf8_string())
{
    // Row numbers are written without sign or leading zeros: only such a text can equal one.
    if (text.empty() || text.length() > 10 || text[0] == '0')
        return;
    long number = 0;
    for (const wxUniChar c : text) {
        if (c < '0' || c > '9')
            return;
        number = number * 10 + (c - '0');
    }
    m_number = number;
}

bool TableGridModel::LabelMatcher::operator()(int row) const
{
    if (m_model.IsRowNamed(row))
        return m_model.RowName(row) == m_utf8;
    return m_number == static_cast<long>(row) + 1;
}
